#pragma once
// The reading summed up (断卦要点): a few short items a practitioner reads off
// the chart, each a fact, the lines it rests on and the book and chapter it
// comes from, in the order a reading goes: the use god and its strength, what
// helps and what harms it, how its 原神 and 忌神 stand, the conditions it
// still waits for (each with its first 应期 candidate), 世 and 应, and the
// hexagram as a whole; then one word for the trend with the sentence that
// decides it. It is built from the Chart alone and adds no rule of its own
// beyond the weighing of the trend (see docs/decisions.md). A reading aid,
// never a verdict.

#include "chart/chart.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lotgrid {

enum class SummaryKind : std::uint8_t {
    UseGod,        // 用神: which line and why, and its strength
    Help,          // 生扶: what helps the use god
    Harm,          // 克害: what harms it
    Role,          // 原忌: a 原神 or 忌神, 有力 or 无力
    Condition,     // 待条件: what it still waits for, with the first 应期
    WorldResponse, // 世应
    Hexagram,      // 卦象: 六冲/六合, 反吟/伏吟, 独发/独静, 三合
};

inline constexpr std::array<std::u16string_view, 7> SummaryKindNames{u"用神",   u"生扶", u"克害", u"原忌",
                                                                     u"待条件", u"世应", u"卦象"};

constexpr std::u16string_view summaryKindName(SummaryKind k)
{
    return SummaryKindNames[static_cast<std::size_t>(k)];
}

enum class Trend : std::uint8_t { Favourable, Unfavourable, Conditional, Undecided }; // 有利 不利 待条件 难断

inline constexpr std::array<std::u16string_view, 4> TrendNames{u"有利", u"不利", u"待条件", u"难断"};

constexpr std::u16string_view trendName(Trend t)
{
    return TrendNames[static_cast<std::size_t>(t)];
}

// The weight of one force on the use god in the trend: the month or the day
// build counts most (日月为重), a moving line next (动爻次之), the use god's own
// change least (变爻再次).
inline constexpr int BuildWeight = 3;
inline constexpr int MoverWeight = 2;
inline constexpr int ChangeWeight = 1;

struct SummaryItem {
    SummaryKind kind = SummaryKind::UseGod;
    std::u16string text;        // a short line, whole in itself: "用神：二爻妻财丑土（求财）"
    std::vector<int> positions; // the lines it rests on, 1..6, bottom first; none for a build
    std::u16string_view source; // "增删卜易·旬空章"; empty for a use god picked by hand
    std::u16string_view rule;   // the rule itself, one sentence, for a tooltip
    int weight = 0;             // its signed share of the trend; 0 for items that only inform
};

struct Summary {
    std::vector<SummaryItem> items;
    std::optional<Trend> trend; // none without a use god
    std::u16string reason;      // the sentence that decides the trend, or why there is none

    // The items of one kind, in order.
    std::vector<const SummaryItem *> ofKind(SummaryKind kind) const;
};

// The summary of a chart; empty unless six lines stand.
Summary summaryOf(const Chart &chart);

// The one line panels show about what the summary is: "要点由规则汇总，供断卦参考，不是断语。"
inline constexpr std::u16string_view SummaryDisclaimer = u"要点由规则汇总，供断卦参考，不是断语。";

// "趋势：待条件——用神得日建生扶，尚待出空。", or empty without a trend or a reason.
std::u16string trendLine(const Summary &summary);

} // namespace lotgrid
