#pragma once
// Where the words of the 卦盘 go: runs of text, line bars and highlights placed
// in the units of the style's font (one unit a pixel at the zoom in force, so
// that the screen shows the layout as it stands and a picture or a page scales
// it). From the top: the header's fields, a rule, the title, the six rows from
// line 6 down in columns (六神 | 伏神 | 六亲纳甲 空 | bar | 世应 | ○× | the
// line's marks | → 变卦's line, bar, 世应 | the changed line's marks), a rule and
// the foot. A hexagram without a moving line has no changed columns at all.

#include "guapan/guapanmodel.h"

#include <QFont>
#include <QLineF>
#include <QPointF>
#include <QRectF>
#include <QSizeF>

namespace lotgrid {

enum class GuapanPart : std::uint8_t { Header, Title, Row, Foot, Note };
enum class GuapanInk : std::uint8_t { Ink, Secondary, Accent };
enum class GuapanType : std::uint8_t { Body, Small, Title };

// Which column of a row a run stands in.
enum class GuapanCell : std::uint8_t {
    None,
    Spirit,
    Hidden,
    HiddenVoid,
    Label,
    Void,
    Role,
    Moving,
    Arrow,
    Changed,
    ChangedVoid,
    ChangedRole,
    Mark,        // of the original line, before the arrow
    ChangedMark, // of the changed line, after it
};

struct GuapanRun {
    QString text;
    QPointF origin; // the left end of the baseline
    QRectF box;     // the run's advance by the font's ascent and descent
    GuapanPart part = GuapanPart::Header;
    GuapanInk ink = GuapanInk::Ink;
    GuapanType type = GuapanType::Body;
    int line = 0; // rows: [1, 6]; 0 elsewhere
    GuapanCell cell = GuapanCell::None;
};

struct GuapanBar {
    QRectF box;
    bool yang = false;
    GuapanInk ink = GuapanInk::Ink;
    int line = 0;         // [1, 6]
    bool changed = false; // a line of the changed hexagram
};

struct GuapanStyle {
    QFont font;       // the application's font
    qreal zoom = 1.0; // the zoom in force, 1 = 100 %
    // The room across, in the layout's units; 0 for as wide as the drawing
    // wants. A drawing wider than its room first takes smaller type, down to
    // the floor of 9 px, then wraps its header, title words and foot into it.
    qreal width = 0;
};

struct GuapanLayout {
    QSizeF size;
    QFont body, small, title;
    bool fits = true; // within the style's width, when it has one
    QList<GuapanRun> runs;
    QList<GuapanBar> bars;
    QList<QRectF> highlights; // behind the use god
    QList<QLineF> rules;      // between the header, the rows and the foot

    const QFont &font(GuapanType type) const
    {
        return type == GuapanType::Small ? small : type == GuapanType::Title ? title : body;
    }
    // The texts of one part, in the order they are placed (reading order).
    QStringList texts(GuapanPart part) const;
    // The runs of line 1..6.
    QList<GuapanRun> rowRuns(int line) const;
};

GuapanLayout layOutGuapan(const GuapanModel &model, const GuapanStyle &style);

inline GuapanLayout guapanLayout(const Chart &chart, const GuapanWords &words, const GuapanStyle &style)
{
    return layOutGuapan(guapanModel(chart, words), style);
}

} // namespace lotgrid
