#pragma once
// Warnings for a moment that lies close to a boundary of its pillars: a cast a
// few minutes from a 节 (the month changes, and at 立春 the year), from the
// start of a 时辰, or from the turn of the day under the chart's 子时 choice
// (23:00 with 子初换日, midnight otherwise) may have been meant for the other
// side, and a clock a few minutes off would give another chart. Each warning
// carries the pillars of the other side.

#include "calendar/moment.h"
#include "calendar/pillars.h"

#include <array>
#include <optional>
#include <string_view>
#include <vector>

namespace lotgrid {

enum class BoundaryKind : std::uint8_t { Term, Hour, Day }; // 节, 时辰, 日

inline constexpr std::array<std::u16string_view, 3> BoundaryKindNames{u"节", u"时辰", u"日"};

constexpr std::u16string_view boundaryKindName(BoundaryKind k)
{
    return BoundaryKindNames[static_cast<std::size_t>(k)];
}

// A moment this many minutes or fewer from a boundary is warned about.
inline constexpr int BoundaryWindow = 15;

struct BoundaryWarning {
    BoundaryKind kind = BoundaryKind::Term;
    std::u16string_view name; // 节: "大雪"; 时辰: the hour it opens, "子时"; 日: "子初换日" or "子正换日"
    Moment at;                // the boundary: in China Standard Time for a 节, on the chart's clock otherwise
    int minutes = 0;          // the moment minus the boundary, [-15, 15]: negative before it
    Pillars other;            // the pillars just across the boundary
    friend constexpr bool operator==(const BoundaryWarning &, const BoundaryWarning &) = default;
};

// The warnings of a moment, 节 first, then 时辰, then 日. `standard` is the
// moment in China Standard Time; `clock`, when given, the true solar time the
// day and the hour are read on. None outside the chart's span.
std::vector<BoundaryWarning> boundaryWarnings(const Moment &standard, const std::optional<Moment> &clock,
                                              DayBoundary b);

} // namespace lotgrid
