#pragma once
// The 卦盘, the chart as practitioners exchange it, drawn once from the Chart
// value and used wherever a chart leaves the entry form: the pane beside the
// sheet, the exported picture, the printed page and the PDF, the journal's
// preview. Three steps, each reading only the one before:
//
//   GuapanModel  (guapanmodel.h)   what is said: the words of the header, the
//                                  title, the six rows from line 6 down and the
//                                  foot, every one taken from the engine's words
//                                  that the copied text uses;
//   GuapanLayout (guapanlayout.h)  where it goes: positioned runs of text, line
//                                  bars and highlights, from the model and a font;
//   paintGuapan  (guapanpaint.h)   the layout on any QPaintDevice in two inks and
//                                  one accent, light or dark.
//
// No step reads a widget. Facts the Chart does not carry yet (互/错/综, 反吟 and
// 伏吟 of whole trigrams, relations, strength) have their places in the model
// and are drawn when filled.

#include "chart/chart.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>

namespace lotgrid {

// What the case says besides the cast.
struct GuapanWords {
    QString question;        // 卜问何事
    QString castMethod;      // how the lines were cast: "手动摇卦", "时间起卦" …
    bool najiaStems = false; // 纳甲带天干: "己卯木" rather than "卯木"
    // 输出繁体: every word in Traditional characters (through OpenCC; where it
    // cannot load, the words stay as they are, so ask toTraditional first).
    bool traditional = false;
    bool fullSummary = false; // every 要点 item at the foot (print, PDF), not only the trend and the open conditions
    QList<int> picked{};      // lines 1..6 picked in the 断卦要点 pane, highlighted
};

// One label and its value, with an optional remark in small type after it:
// "起卦时间 2026-12-07 12:37 农历丙午年十月廿八". Either side may be empty.
struct GuapanField {
    QString label;
    QString value;
    QString note;
};

// A line of fields; when it wraps, with `hanging` the later lines start under
// the first value rather than under the first label.
struct GuapanFieldLine {
    QList<GuapanField> fields;
    bool hanging = false;
};

struct GuapanHexagramTitle {
    QString name;   // "山火贲"
    QString detail; // "艮宫·六合": palace, soul, type
};

struct GuapanRowModel {
    int line = 0;   // [1, 6]
    QString spirit; // 六神, empty without a day stem
    QString hidden; // 伏神, "子孙亥水"
    bool hiddenVoid = false;
    QString label; // 六亲 and 纳甲, "妻财卯木" or "妻财己卯木"
    bool isVoid = false;
    bool yang = false;
    bool moving = false;
    QString role;       // 世 / 应
    QString movingMark; // ○ old yang, × old yin
    // Of the changed hexagram, on every row when there is one.
    QString changedLabel;
    bool changedYang = false;
    bool changedVoid = false;
    QString changedRole;
    // Small type after each line, so that every word reads with the line it is
    // about: the original line's (原/忌/仇 or 用神, strength, 月破, 暗动, 日破,
    // 冲实 …) before the arrow, the changed line's (化进神, 回头生, 化合 …, its
    // strength) after the changed line.
    QStringList marks;
    QStringList changedMarks;
    bool useGod = false;       // this line is the use god
    bool hiddenUseGod = false; // the hidden spirit under it is
    bool picked = false;       // an item of the 断卦要点 pane picked rests on it
};

struct GuapanModel {
    bool complete = false; // six lines stand; otherwise only the header is said
    QList<GuapanFieldLine> header;
    GuapanHexagramTitle original;
    GuapanHexagramTitle changed; // empty without a moving line
    QStringList titleWords;      // 六冲变六合, 反吟, 伏吟
    QList<GuapanField> minor;    // small type under the title: 互, 错, 综
    bool hasChanged = false;
    bool hasSpirits = false;
    bool hasHidden = false;
    std::array<GuapanRowModel, 6> rows{}; // line 6 first
    QList<GuapanFieldLine> foot;          // 卦身, 神煞, relations, the first 应期 candidates, then the 要点:
                                          // the trend and the open conditions, or every item
};

// The words of the 卦盘 of `chart` and the case.
GuapanModel guapanModel(const Chart &chart, const GuapanWords &words);

} // namespace lotgrid
