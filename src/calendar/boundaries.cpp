#include "calendar/boundaries.h"

#include "calendar/solarterms.h"

#include <cstdlib>

namespace lotgrid {

namespace {

// The names of the hours by the branch they open, 子 first.
constexpr std::array<std::u16string_view, 12> HourNames{u"子时", u"丑时", u"寅时", u"卯时", u"辰时", u"巳时",
                                                        u"午时", u"未时", u"申时", u"酉时", u"戌时", u"亥时"};

struct Reading {
    std::int64_t standard; // minute numbers
    std::int64_t clock;
    DayBoundary boundary;

    std::optional<Pillars> pillarsShiftedBy(std::int64_t shift) const
    {
        return pillarsOf(momentFromMinutes(standard + shift), momentFromMinutes(clock + shift), boundary);
    }

    // A warning about the boundary at `at` (a minute number on the clock `now` is read on), when near.
    void add(std::vector<BoundaryWarning> &out, BoundaryKind kind, std::u16string_view name, std::int64_t now,
             std::int64_t at) const
    {
        const std::int64_t minutes = now - at;
        if (std::llabs(minutes) > BoundaryWindow)
            return;
        // The other side: the boundary's own minute when before it, the minute before it otherwise.
        const std::int64_t shift = minutes < 0 ? -minutes : -minutes - 1;
        if (const auto other = pillarsShiftedBy(shift))
            out.push_back({kind, name, momentFromMinutes(at), static_cast<int>(minutes), *other});
    }
};

} // namespace

std::vector<BoundaryWarning> boundaryWarnings(const Moment &standard, const std::optional<Moment> &clock, DayBoundary b)
{
    std::vector<BoundaryWarning> out;
    const Moment onClock = clock.value_or(standard);
    if (!pillarsOf(standard, onClock, b))
        return out;
    const Reading r{minuteNumber(standard), minuteNumber(onClock), b};

    // The 节 are the odd terms; the nearest lie in this year or at its edges.
    for (int year = standard.date.year - 1; year <= standard.date.year + 1; ++year)
        for (int n = 1; n <= 23; n += 2)
            if (const auto term = termMoment(year, n))
                r.add(out, BoundaryKind::Term, TermNames[static_cast<std::size_t>(n)], r.standard, minuteNumber(*term));

    // 时辰 begin at the odd hours; the day turns at 23:00 or at midnight.
    const std::int64_t midnight = dayNumber(onClock.date) * 1440;
    for (std::int64_t at = midnight - 60; at <= midnight + 1440 + 60; at += 120) {
        const int hour = static_cast<int>((at - midnight + 1440) % 1440 / 60);
        r.add(out, BoundaryKind::Hour, HourNames[static_cast<std::size_t>((hour + 1) / 2 % 12)], r.clock, at);
    }
    const bool zi23 = b == DayBoundary::Zi23;
    for (std::int64_t at = midnight - (zi23 ? 60 : 0); at <= midnight + 1440; at += 1440)
        r.add(out, BoundaryKind::Day, zi23 ? u"子初换日" : u"子正换日", r.clock, at);
    return out;
}

} // namespace lotgrid
