#include "chart/cast.h"

#include "chart/hexagrams.h"

namespace lotgrid {

std::u16string lineKeyOf(const CastInput &cast, bool changed)
{
    std::u16string key;
    for (const CastLine &l : cast.lines)
        if (l.value)
            key += changed ? changedValue(l.value, l.moving) : l.value;
    return key;
}

CastInput followingMoment(CastInput cast, DayParts follows)
{
    std::optional<Pillars> pillars;
    if (cast.moment)
        pillars = pillarsOf(*cast.moment, *cast.clockMoment(), cast.dayBoundary); // true solar time, when set
    const auto follow = [&](DayPart part, auto &value, auto taken) {
        const auto i = static_cast<std::size_t>(part);
        if (!follows[i])
            return;
        value = pillars ? std::optional(taken(*pillars)) : std::nullopt;
        cast.byHand[i] = false;
    };
    follow(DayPart::DayStem, cast.dayStem, [](const Pillars &p) { return p.day.stem(); });
    follow(DayPart::MonthBuild, cast.monthBuild, [](const Pillars &p) { return p.month.branch(); });
    follow(DayPart::DayBuild, cast.dayBuild, [](const Pillars &p) { return p.day.branch(); });
    return cast;
}

} // namespace lotgrid
