#pragma once
// The ChartSheet: every named field of the main window, and the only place
// where the state of a chart lives. Shown fields are widgets carrying their
// name as objectName(); working fields that are never shown are plain members.
// Families of six are indexed by line, 1 at the bottom.

#include "chart/cast.h"
#include "core/six.h"

#include <QImage>
#include <QString>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace lotgrid {

class LineField;
class LineGlyph;

class ChartSheet : public QWidget
{
    Q_OBJECT
public:
    explicit ChartSheet(QWidget *parent = nullptr);

    // Top bands.
    QLabel *Lnongli;                           // today line
    QComboBox *Combo1;                         // sex: "男" / "女"
    QLabel *Lyuejian;                          // "月建：" + branch
    QLabel *Lrijian;                           // "日建：" + branch
    QLineEdit *TextWHS;                        // the question asked
    std::array<QRadioButton *, 10> dayStems{}; // OPj OPY OPB OPD OPW OPJI OPG OPX OPR OPGUI

    // Header row.
    QLabel *bengua;
    QLabel *biangua;

    // Line rows.
    Six<LineField *> Text;
    Six<QLabel *> Lyao;
    Six<QCheckBox *> co;
    Six<QCheckBox *> cx;
    Six<QLabel *> liushen;
    Six<LineGlyph *> yan;
    Six<LineGlyph *> yin;
    Six<QLabel *> sy;
    Six<QLabel *> LSY;
    Six<QLabel *> Lyongshen;
    Six<QLabel *> Lliuqin;
    Six<LineGlyph *> Byan;
    Six<LineGlyph *> Byin;
    Six<QLabel *> Bsy;
    Six<QLabel *> L;
    Six<QLabel *> BGLiuqin;

    // Working fields, never shown.
    QString TextBengua; // LineKey of Text1..Text6
    QString TextSBG2;   // LineKey of BY1..BY6
    QString XX;         // palace element of the original hexagram
    Six<QString> BY;    // changed line values
    Six<QString> X;     // element of each changed line
    Six<QString> TZD;   // casting pattern of each line
    Six<QString> TZDD;  // first character of TZD: the cast value
    QImage Image1;      // the last captured picture

    // "1" / "0" / "" of line n, as typed.
    QString lineValue(int line) const;

    // The cast on screen: the lines up to the first that is not "1" or "0",
    // with the tick of each line's own kind, the day stem, the builds and the mark.
    CastInput input() const;

    // The clearing steps that New, Clear data and an automatic cast share.
    // Each writes through the fields, so the line handling runs where a box
    // or a line changes.

    // Hides the six mark fields and clears their bold flag; their texts stay.
    void hideMarks();
    // Empties L1..L6, bengua and biangua; unticks and locks every box (co1..co6,
    // then cx1..cx6); empties X1..X6 and XX; enables Text1 and empties Text1..Text6.
    void emptyChartAndLines();
    // Empties the two LineKeys, hides all 24 glyphs and empties the moving marks,
    // both world/response columns and both label columns.
    void emptyLineDisplays();
};

} // namespace lotgrid
