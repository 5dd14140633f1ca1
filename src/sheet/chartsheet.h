#pragma once
// The ChartSheet: every named field of the main window, and the only place
// where the state of a chart lives. Shown fields are widgets carrying their
// name as objectName(); working fields that are never shown are plain members.
// Families of six are indexed by line, 1 at the bottom.

#include "core/six.h"

#include <QImage>
#include <QString>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace lotgrid {

class LineField;
class LineGlyph;
class ZoomStyle;

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

    // Size of the sheet's type, and with it of every field, glyph and column:
    // 1 is the desktop's own size. Every field inherits the sheet's font.
    void setZoom(qreal factor);
    qreal zoom() const { return m_zoom; }

    // "1" / "0" / "" of line n, as typed.
    QString lineValue(int line) const;

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

protected:
    void changeEvent(QEvent *event) override;

private:
    void fitToFont();

    QGridLayout *m_grid = nullptr;
    ZoomStyle *m_style = nullptr; // the boxes of the sheet's check boxes and options, zoomed
    qreal m_basePointSize = 0;    // the desktop's type, in points
    qreal m_zoom = 1.0;
};

} // namespace lotgrid
