#pragma once
// When the matter asked may come about (应期): the days and months after the
// moment of the cast on which the line that stands for the matter meets what
// its state in the chart waits for. The line is the use god, or the world line
// when the chart has none. Each rule names the branches it waits for:
//
//   值    every line: its own branch (days and months);
//   冲    a static strong line (冲起) or a line held by a 合 (冲开): the branch clashing it;
//   合    a moving line, or a line clashed by the day or the month (逢冲待合): the branch combining with it;
//   出空  a void line: the first day of the next 旬;
//   填实  a void line: its own branch;
//   补破  a line in 月破: its own branch (days and months), and the first day of the next month (出月);
//   冲墓  a line in its tomb (日墓, 动墓): the branch clashing the tomb;
//   生旺  a weak line: its element's 长生 and 帝旺 branches.
//
// With the bookYingqi option, the rules of 增删卜易 各门类应期总注 the list
// above leaves out: a void line's clash (旬空最爱填冲), days and months; the
// clash of a 化墓 (入三墓俱喜冲开); the clash of the branch holding a line in a
// 合 (遇六合亦宜相击); a very strong line's tomb and the tomb's clash (太旺者逢墓
// 逢冲); a moving line's change: the void changed branch's own day (出空之日),
// the 补破 of a 化月破, the changed branch of 化进神 / 化退神 (days and months).
// The void or broken line of 两现 that times the matter (TwiceRule::Ancient)
// gets the same rules, and a moving 忌神 its own day and, void or changing
// into a void branch, that branch's day, as when the harm comes; each of these
// candidates names its line.
//
// The line's state (strong or weak, void, held, clashed, in its tomb) is the
// chart's, from its builds; the dates come from the moment: days by the day
// pillar of each civil day (the day boundary applies), months by their 节.
// They are candidates for the reader to weigh, not a verdict.

#include "calendar/civil.h"
#include "chart/relatives.h"
#include "core/sexagenary.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lotgrid {

struct Chart;

enum class YingqiRule : std::uint8_t {
    Value,
    Clash,
    Combine,
    LeaveVoid,
    FillVoid,
    MendBreak,
    ClashTomb,
    BirthPeak,
    MeetTomb,       // 逢墓: a very strong line's tomb
    AdvanceRetreat, // 进退: the changed branch of 化进神 / 化退神
};

inline constexpr std::array<std::u16string_view, 10> YingqiRuleNames{u"值",   u"冲",   u"合",   u"出空", u"填实",
                                                                     u"补破", u"冲墓", u"生旺", u"逢墓", u"进退"};

// Whose candidate it is: the use god's (or the world line's), the timing line
// of 两现, or a moving 忌神's.
enum class YingqiLine : std::uint8_t { UseGod, Timing, Taboo };

inline constexpr std::array<std::u16string_view, 3> YingqiLineNames{u"", u"两现", u"忌神"};

constexpr std::u16string_view yingqiRuleName(YingqiRule r)
{
    return YingqiRuleNames[static_cast<int>(r)];
}

enum class YingqiUnit : std::uint8_t { Day, Month }; // 日 月

constexpr std::u16string_view yingqiUnitName(YingqiUnit u)
{
    return u == YingqiUnit::Day ? u"日" : u"月";
}

// Days are looked for in the 60 days after the day of the cast, months among
// the 12 that open (by their 节) after the moment; each branch a rule waits
// for is listed at most twice.
inline constexpr int YingqiDays = 60;
inline constexpr int YingqiMonths = 12;
inline constexpr int YingqiRepeats = 2;

struct YingqiCandidate {
    CivilDate date;                    // the day; for a month, the day its 节 falls on
    YingqiUnit unit = YingqiUnit::Day; //
    Sexagenary pillar;                 // of the day, or of the month
    YingqiRule rule = YingqiRule::Value;
    int position = 0;   // [1, 6]: the line, or the line a hidden use god lies under; 0 for a build
    std::u16string why; // one sentence: the line's state and what the date brings to it
    YingqiLine line = YingqiLine::UseGod;

    Branch branch() const { return pillar.branch(); }
};

// The line the timing is read for, with the state the rules look at.
struct TimingLine {
    int position = 0;          // [1, 6]; 0 when the use god is the month or day build
    bool useGod = false;       // the use god; otherwise the world line
    bool hidden = false;       // the use god is the hidden spirit under `position`
    std::u16string_view build; // "月建" or "日建" when the use god is that build
    bool changedLine = false;  // the use god is the changed line of `position`
    YingqiLine line = YingqiLine::UseGod;
    Relative relative{};
    Branch branch{};
    bool moving = false;
    std::optional<bool> strong; // none without a month or day build
    bool isVoid = false;
    bool monthBroken = false;             // the month build clashes it
    bool dayClashed = false;              // the day build clashes it
    std::optional<std::u16string> heldBy; // who combines with it (合住): "日建", "月建", "三爻", "变爻"
    std::optional<Branch> tomb;           // its element's tomb, when the day build or a moving line holds it
    std::u16string_view tombBy;           // "日墓" or "动墓" with `tomb`; "化墓" as well with bookYingqi
    std::optional<Branch> changed;        // a moving line's changed branch
    bool veryStrong = false;              // 旺 in the month and helped by the day (太旺)
};

// The use god, or the world line; none unless six lines stand.
std::optional<TimingLine> timingLineOf(const Chart &chart);

// The day after which no day or month can be told: the chart's last day,
// when the days or months looked for run past it; none otherwise.
std::optional<CivilDate> yingqiCutOff(const Chart &chart);

// The candidates sorted by date, then by rule; empty without a moment in the
// chart's span or without six lines.
std::vector<YingqiCandidate> yingqiOf(const Chart &chart);

// The first `count` dates of a sorted list, the rules of a date together, a
// timing line's marked as its: "2026-12-15 乙卯日（值、填实）", "…（值、两现出空）".
std::vector<std::u16string> yingqiFirst(const std::vector<YingqiCandidate> &list, std::size_t count);

// "2026-12-15".
std::u16string isoDate(const CivilDate &d);

} // namespace lotgrid
