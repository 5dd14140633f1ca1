#include "chart/casefacts.h"

#include "chart/chart.h"
#include "chart/yingqi.h"

namespace lotgrid {

namespace {

// A half (lines 1-3 or 4-6) with a moving line turns 反吟 when each changed
// branch clashes the original one at its place, 伏吟 when it is the same branch.
bool halfTurns(const Chart &chart, int first)
{
    bool moved = false, reverse = true, repeat = true;
    for (int n = first; n < first + 3; ++n) {
        const ChartLine &l = chart.line(n);
        moved = moved || l.cast.moving;
        reverse = reverse && clashes(l.branch, l.changedBranch);
        repeat = repeat && l.branch == l.changedBranch;
    }
    return moved && (reverse || repeat);
}

} // namespace

std::optional<HexagramGroup> hexagramGroupOf(const Chart &chart)
{
    if (!chart.original)
        return std::nullopt;
    if (chart.analysis.originalType == HexagramType::SixClash)
        return HexagramGroup::SixClash;
    if (chart.analysis.originalType == HexagramType::SixCombine)
        return HexagramGroup::SixCombine;
    if (chart.changed && chart.hasMovingLine() && (halfTurns(chart, 1) || halfTurns(chart, 4)))
        return HexagramGroup::FanFu;
    return HexagramGroup::Other;
}

std::optional<bool> useGodStrong(const Chart &chart)
{
    const auto t = timingLineOf(chart);
    return t ? t->strong : std::nullopt;
}

std::optional<CivilDate> firstYingqi(const Chart &chart)
{
    const auto candidates = yingqiOf(chart);
    if (candidates.empty())
        return std::nullopt;
    return candidates.front().date;
}

} // namespace lotgrid
