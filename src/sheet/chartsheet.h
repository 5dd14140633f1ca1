#pragma once
// The ChartSheet: every named field of the main window, a view of the
// ChartDocument. Shown fields are widgets carrying their name as objectName();
// working fields that are never shown are plain members. Families of six are
// indexed by line, 1 at the bottom. What the user picks on the sheet itself
// (a day stem, the moment) comes out as a signal, never when the sheet is
// showing the document.

#include "chart/chart.h"
#include "core/six.h"

#include <QImage>
#include <QString>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QDateTimeEdit;
class QFrame;
class QPushButton;
class QGridLayout;
class QBoxLayout;
class QHBoxLayout;
class QLayout;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace lotgrid {

class ChartDocument;
class LineField;
class LineGlyph;
class ZoomStyle;

class ChartSheet : public QWidget
{
    Q_OBJECT
public:
    explicit ChartSheet(QWidget *parent = nullptr);

    // Top bands.
    QLabel *Lnongli;                           // today line, at start-up and after each midnight
    QComboBox *Combo1;                         // sex: "男" / "女"
    QLabel *Lyuejian;                          // "月建：" + branch, of the document
    QLabel *Lrijian;                           // "日建：" + branch, of the document
    QLineEdit *TextWHS;                        // the question asked
    QComboBox *zhanlei;                        // 占类: （未选） then the categories in Category order
    std::array<QRadioButton *, 10> dayStems{}; // OPj OPY OPB OPD OPW OPJI OPG OPX OPR OPGUI
    QLabel *Lxunkong;                          // "旬空：" + the day's two void branches, from the chart

    // The moment of the cast.
    // The moment reads China Standard Time (UTC+8, no daylight saving) wherever the
    // program runs. The field keeps that reading on a UTC clock: Qt's date-time
    // field holds no fixed offset but UTC's, and UTC skips or repeats no minute,
    // so every minute of the range can be typed whatever the local time zone.
    QDateTimeEdit *qgsj; // to the minute, 1900-01-31 .. 2100-12-31; now at start, New and Clear data
    QLabel *Lsizhu;      // its four pillars, "丙午年 庚子月 乙丑日 庚辰时", and which day parts
                         // are picked by hand apart from them
    QPushButton *ansj;   // 按时间排盘: day stem and builds follow the moment
    QCheckBox *zdsj;     // 自动: they follow it from the start of every chart (remembered)

    // The clock and the place of the moment, and entry as practitioners write it
    // (momentfields.cpp). qgsj reads the clock of the zone picked in shiqu.
    QLabel *Lqgsj;          // the caption before qgsj, naming its clock: "起卦时间(北京时间)："
    QComboBox *shiqu;       // the zone: 北京时间, the zone list, a zone picked by "其他…", "其他…"
    QCheckBox *biaozhunshi; // 北京时间 typed on a summer-time day of 1986-1991 is standard time already
    QComboBox *chengshi;    // 真太阳时: "不用真太阳时", the cities, degrees typed, "输入经度…"
    QLineEdit *ganzhi;      // 干支 entry: lists the dates with those pillars to pick from
    QLineEdit *guaming;     // 卦名 entry: the lines by the hexagrams' names
    QLabel *Lshiqu;         // the moment on its zone's clock and in 北京时间, the true solar time
    QLabel *Llinjie;        // the warnings of a moment near a 节, a 时辰 or the turn of the day

    // The panel that holds the chart grid (header row and line rows), as exported as a picture.
    QFrame *chartPanel;

    // Header row.
    QLabel *bengua;     // the original hexagram's text, "雷泽归妹 归魂 兑宫", by TimerBengua
    QLabel *Lbengualei; // beside bengua: "六冲" / "六合" when the original hexagram is of that type
    QLabel *biangua;    // the changed hexagram's text, by TimerSBG / TimerSBG2 (emptied by Timerai on a miss)
    QLabel *Lbianlei;   // beside biangua, when a line moves: "六冲变六合" / "六合变六冲", else the
                        // changed hexagram's own type ("六冲" / "六合")
    QLabel *Lfanfu; // after the types: the 反吟/伏吟 of a half or the whole hexagram, "内卦反吟 外卦伏吟"

    // Line rows.
    Six<LineField *> Text; // the line as typed, "1" or "0"; line handling on every change
    Six<QLabel *> Lyao;    // line name, "初九", by the line handling
    Six<QCheckBox *> co;   // 太阳: a moving yang line
    Six<QCheckBox *> cx;   // 太阴: a moving yin line
    Six<QLabel *> liushen; // six spirits of the document's day stem
    Six<QLabel *> Lfushen; // hidden spirit under the line, from the chart
    Six<QLabel *> Lfkong;  // "空" when that hidden spirit is void
    Six<LineGlyph *> yan;  // original glyphs, shown by the line handling
    Six<LineGlyph *> yin;
    Six<QLabel *> sy;         // moving mark "○" / "×", by the tick handling
    Six<QLabel *> LSY;        // 世 / 应 of the original hexagram, by Tsy
    Six<QLabel *> Lyongshen;  // "用神" / "伏神" mark of the document; else the use god of the
                              // category ("用神", "用(伏)" when it hides under the line) in its own colour
    Six<QLabel *> Lyuanji;    // "原" / "忌" / "仇": the line against the use god
    Six<QLabel *> Lliuqin;    // relative + branch + element, by Tsy
    Six<QLabel *> Lkong;      // "空" when the line's branch is void, from the chart
    Six<QLabel *> Lwangshuai; // the verdict, season and day stage, "旺 · 相 · 长生"; the facts in the tooltip
    Six<QLabel *> Lsha;       // quiet one-character markers of the 卦身 and 神煞 the line carries
                              // ("身马"); their full names in the tooltip
    Six<QLabel *> Lbiaoji;    // a static line: "月破" / "暗动" / "日破"; a moving line: its changes,
                              // "化进神 回头生"; from the chart
    Six<LineGlyph *> Byan;    // changed glyphs, by the line and tick handling
    Six<LineGlyph *> Byin;
    Six<QLabel *> Bsy;      // 世 / 应 of the changed hexagram, by Timerai
    Six<QLabel *> L;        // relative of the changed line against the original palace, by TX1..TX6
    Six<QLabel *> BGLiuqin; // branch + element of the changed line, by Timerai
    Six<QLabel *> LBkong;   // "空" when the changed line's branch is void

    // Under the chart.
    QLabel *Lguashen; // "卦身：" + branch when six lines stand; the lines carrying it in the tooltip
    QLabel *Lshensha; // the known 神煞 by short names, "贵人：丑未  禄：寅 …"; the day stem's on the
                      // first line, the day branch's and 天医 on the second; full names in the tooltip

    // Working fields, never shown.
    QString TextBengua; // LineKey of Text1..Text6
    QString TextSBG2;   // LineKey of BY1..BY6
    QString XX;         // palace element of the original hexagram
    Six<QString> BY;    // changed line values
    Six<QString> X;     // element of each changed line
    QImage Image1;      // the last captured picture

    // Size of the sheet's type, and with it of every field, glyph and column:
    // 1 is the desktop's own size. Every field inherits the sheet's font.
    void setZoom(qreal factor);
    qreal zoom() const { return m_zoom; }
    // How the sheet meets a window narrower than it at its zoom: Wide as drawn;
    // Narrow, the columns closed up; Stacked, closed up with the changed
    // hexagram under the original and 卦身 and the 神煞 in lines of their own.
    enum class Fit : std::uint8_t { Wide, Narrow, Stacked };
    void setFit(Fit fit);
    Fit fit() const { return m_fit; }

    // The moment on the field's clock (China Standard Time), and the field set to one.
    static Moment momentOf(const QDateTime &reading);
    static QDateTime readingOf(const Moment &moment);

    // Shows what the document holds beyond the lines: the day stem (its option
    // and the six spirits), the builds (a build or stem picked by hand in its
    // own colour, with a tooltip), the mark, the moment and its pillars, and
    // the chart's extras.
    void showDocument(const ChartDocument &document);
    // Writes 卜问何事 as the document holds it; the field is never read back for it.
    void showQuestion(const QString &question);

    // The clearing steps that New, Clear data and an automatic cast share.
    // Each writes through the fields, so the line handling runs where a box
    // or a line changes.

    // Empties L1..L6, bengua and biangua; unticks and locks every box (co1..co6,
    // then cx1..cx6); empties X1..X6 and XX; enables Text1 and empties Text1..Text6.
    void emptyChartAndLines();
    // Writes the fields the chart value gives beyond the steps: the void
    // branches, the void marks, the hidden spirits, the line marks, the
    // hexagram types, 卦身 and 神煞. Only changes are written.
    void showChartExtras(const Chart &chart);
    // Writes the reading: the category and sex the document holds, the use god
    // of the category where no mark is set by hand, 原/忌/仇, each line's
    // strength and the 反吟/伏吟 words. Only changes are written.
    void showReading(const Chart &chart);

    // Empties the two LineKeys, hides all 24 glyphs and empties the moving marks,
    // both world/response columns and both label columns.
    void emptyLineDisplays();

signals:
    void dayStemPicked(int stem); // 0 = 甲 .. 9 = 癸
    void momentEdited(const Moment &moment);
    void categoryPicked(std::optional<Category> category);
    void sexPicked(std::optional<Sex> sex);
    // 卜问何事 typed or pasted into.
    void questionEdited(const QString &question);
    void relativeClicked(int line); // a line's relative label (Lliuqin1..6) clicked

protected:
    void changeEvent(QEvent *event) override;

private:
    void fitToFont();
    void addMomentFields(QBoxLayout *outer);
    void showMomentFields(const ChartDocument &document);
    void showMark(const LineMark &mark);
    void addReadingFields();
    void fitFanfu();
    void placeChangedHexagram();
    void writeShensha();

    QGridLayout *m_grid = nullptr;
    QBoxLayout *m_extrasRow = nullptr; // 卦身 and 神煞 under the chart
    // The changed hexagram's title, its 六亲 heading and its lines' fields, placed
    // beside the original or under it.
    QLayout *m_bianguaTitle = nullptr;
    QLabel *m_bianguaHeading = nullptr;
    Six<QWidget *> m_changedGlyphs{};
    Six<QHBoxLayout *> m_changedRelatives{}; // L and BGLiuqin side by side when stacked
    QStringList m_shenshaParts[2];           // the day stem's 神煞, and the day branch's with 天医
    ZoomStyle *m_style = nullptr;            // the boxes of the sheet's check boxes and options, zoomed
    qreal m_basePointSize = 0;               // the desktop's type, in points
    qreal m_zoom = 1.0;
    Fit m_fit = Fit::Wide;
    bool m_showing = false; // showDocument writing the fields
};

} // namespace lotgrid
