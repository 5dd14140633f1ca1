#include "chart/casefacts.h"

#include "chart/chart.h"
#include "chart/yingqi.h"

namespace lotgrid {

std::optional<HexagramGroup> hexagramGroupOf(const Chart &chart)
{
    if (!chart.original)
        return std::nullopt;
    if (chart.analysis.originalType == HexagramType::SixClash)
        return HexagramGroup::SixClash;
    if (chart.analysis.originalType == HexagramType::SixCombine)
        return HexagramGroup::SixCombine;
    if (!chart.analysis.fanFu.empty())
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
    // A moving 忌神's days say when harm comes, not when the matter does.
    for (const YingqiCandidate &c : chart.yingqi)
        if (c.line != YingqiLine::Taboo)
            return c.date;
    return std::nullopt;
}

} // namespace lotgrid
