#pragma once
// The four pillars (四柱) of a moment in China Standard Time, and the lunar date
// a moment is read on.
//
// - Year: changes at the minute of 立春 (term 3), not at the lunar New Year.
// - Month: changes at the minute of each 节, the odd-numbered terms: 立春 opens 寅,
//   惊蛰 卯 ... 大雪 子, 小寒 丑. Its stem follows from the year's by 五虎遁 (甲己之年
//   丙作首: the 寅 month of a 甲 or 己 year is 丙寅, and the months count on).
// - Day: the unbroken count of days, index (JDN + 49) mod 60 with 0 = 甲子.
// - Hour: two-hour branches, 子 from 23:00 to 00:59, 丑 from 01:00 ...; its stem
//   follows from the day's by 五鼠遁 (甲己还加甲: the 子 hour of a 甲 or 己 day is 甲子).
//
// A term counts from its minute on: a moment at or after it is in the new month
// and, for 立春, the new year.
//
// Where the day begins is a school matter, so it is a choice: at midnight, or at
// 23:00 (子初换日), when the moments from 23:00 take the next civil day's pillar.
// The hour pillar runs on unbroken either way: the 子 hour that starts at 23:00 is
// the first hour of the following day, so it takes the stem 五鼠遁 gives for that
// day under both choices. Only the day pillar depends on the choice.

#include "calendar/lunar.h"
#include "calendar/moment.h"
#include "core/sexagenary.h"

#include <optional>

namespace lotgrid {

enum class DayBoundary { Midnight, Zi23 };

struct Pillars {
    Sexagenary year, month, day, hour;
    friend constexpr bool operator==(const Pillars &, const Pillars &) = default;
};

// The civil day a moment is read on, for its day pillar and its lunar date:
// its own, or with Zi23 from 23:00 the next one.
constexpr CivilDate dayOf(const Moment &m, DayBoundary b)
{
    if (b == DayBoundary::Zi23 && m.hour >= 23)
        return civilFromDays(dayNumber(m.date) + 1);
    return m.date;
}

// The day pillar of a civil date (any valid date).
constexpr Sexagenary dayPillar(const CivilDate &date)
{
    const std::int64_t jdn = dayNumber(date) + 2440588; // 1970-01-01 is JDN 2440588
    return sexagenaryAt(jdn + 49);
}

static_assert(dayPillar({2000, 1, 1}).index == 54); // 戊午
static_assert(dayPillar({1949, 10, 1}).index == 0); // 甲子

// The four pillars of a moment; none outside FirstChartMoment .. LastChartMoment.
std::optional<Pillars> pillarsOf(const Moment &m, DayBoundary b);

// The four pillars with the day and the hour read on another clock (true solar
// time): the year and the month from `standard`, the day and the hour from
// `clock`. None when either lies outside the chart's span.
std::optional<Pillars> pillarsOf(const Moment &standard, const Moment &clock, DayBoundary b);

// The lunar date of the civil day a moment is read on: its own, or with Zi23 from
// 23:00 the next one. None outside the chart's span or where that day lies past the
// lunar calendar (2100-12-31 from 23:00 with Zi23).
std::optional<LunarDate> lunarDateOf(const Moment &m, DayBoundary b);

} // namespace lotgrid
