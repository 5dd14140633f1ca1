#pragma once
// A moment of a cast: a civil date and a time of day to the minute, in China
// Standard Time (UTC+8, no daylight saving time), the clock the calendar and
// the solar terms are reckoned in.

#include "calendar/civil.h"

#include <cstdint>

namespace lotgrid {

struct Moment {
    CivilDate date;
    int hour = 0;   // [0, 23]
    int minute = 0; // [0, 59]
    friend constexpr bool operator==(const Moment &, const Moment &) = default;
};

// The span the chart takes moments from: the span of the lunar calendar.
inline constexpr Moment FirstChartMoment{{1900, 1, 31}, 0, 0};
inline constexpr Moment LastChartMoment{{2100, 12, 31}, 23, 59};

constexpr bool isValid(const Moment &m)
{
    return isValid(m.date) && m.hour >= 0 && m.hour <= 23 && m.minute >= 0 && m.minute <= 59;
}

// Minutes since 1970-01-01 00:00 on the moment's own clock.
constexpr std::int64_t minuteNumber(const Moment &m)
{
    return (dayNumber(m.date) * 24 + m.hour) * 60 + m.minute;
}

constexpr Moment momentFromMinutes(std::int64_t minutes)
{
    std::int64_t days = minutes / 1440;
    std::int64_t rest = minutes % 1440;
    if (rest < 0) {
        rest += 1440;
        --days;
    }
    return {civilFromDays(days), static_cast<int>(rest / 60), static_cast<int>(rest % 60)};
}

constexpr bool inChartRange(const Moment &m)
{
    return isValid(m) && minuteNumber(m) >= minuteNumber(FirstChartMoment)
           && minuteNumber(m) <= minuteNumber(LastChartMoment);
}

static_assert(momentFromMinutes(minuteNumber(Moment{{2026, 12, 7}, 8, 30})) == Moment{{2026, 12, 7}, 8, 30});
static_assert(momentFromMinutes(-1) == Moment{{1969, 12, 31}, 23, 59});

} // namespace lotgrid
