#pragma once
// What the journal keeps of a case's chart to find and count it without
// charting it again: the first 应期 candidate (a case whose outcome is still
// open once that day has passed is waiting to be checked), how strong the
// line read for the matter is, and which kind of hexagram it is.

#include "calendar/civil.h"

#include <array>
#include <optional>
#include <string_view>

namespace lotgrid {

struct Chart;

// One group per chart, the first that applies: the original hexagram 六冲,
// 六合, a half or the whole hexagram turning 反吟 or 伏吟 (the analysis's
// fanFu), or none of these.
enum class HexagramGroup : std::uint8_t { SixClash, SixCombine, FanFu, Other };

inline constexpr std::array<std::u16string_view, 4> HexagramGroupNames{u"六冲", u"六合", u"反吟/伏吟", u"其他"};

constexpr std::u16string_view hexagramGroupName(HexagramGroup g)
{
    return HexagramGroupNames[static_cast<int>(g)];
}

// None unless six lines stand.
std::optional<HexagramGroup> hexagramGroupOf(const Chart &chart);

// Whether the use god (or the world line without one) is strong; none
// without six lines or without a month or day build.
std::optional<bool> useGodStrong(const Chart &chart);

// The date of the first 应期 candidate of the matter (not a 忌神's); none without one.
std::optional<CivilDate> firstYingqi(const Chart &chart);

} // namespace lotgrid
