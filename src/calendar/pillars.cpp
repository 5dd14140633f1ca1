#include "calendar/pillars.h"

#include "calendar/solarterms.h"

namespace lotgrid {

namespace {

std::int64_t termMinute(int year, int n)
{
    return minuteNumber(*termMoment(year, n)); // the chart's span lies within the term data
}

void setDayAndHour(Pillars &p, const Moment &m, DayBoundary b)
{
    p.day = dayPillar(dayOf(m, b));
    // The hour count runs on from the 子 hour of the day it opens: 23:00 belongs to
    // the next day whatever the day boundary.
    const Sexagenary hourDay = dayPillar(m.hour >= 23 ? civilFromDays(dayNumber(m.date) + 1) : m.date);
    p.hour = sexagenaryAt(12LL * hourDay.index + (m.hour + 1) / 2 % 12);
}

} // namespace

std::optional<Pillars> pillarsOf(const Moment &m, DayBoundary b)
{
    if (!inChartRange(m))
        return std::nullopt;
    const std::int64_t now = minuteNumber(m);
    const int civilYear = m.date.year;

    // The last 节 at or before the moment: months counted from 寅 = 0 .. 丑 = 11
    // within the year that 立春 opens. Before 小寒 the moment is still in the 子
    // month that 大雪 of the year before opened.
    int year = civilYear - 1;
    int month = 10; // 子
    if (now >= termMinute(civilYear, 1))
        month = 11; // 丑, still the year before
    for (int n = 3; n <= 23 && now >= termMinute(civilYear, n); n += 2) {
        year = civilYear;
        month = (n - 3) / 2;
    }

    Pillars p;
    p.year = sexagenaryAt(year - 4);                        // 1984 甲子
    p.month = sexagenaryAt(12 * (year - 1984) + month + 2); // 1984 寅 month: 丙寅
    setDayAndHour(p, m, b);
    return p;
}

std::optional<Pillars> pillarsOf(const Moment &standard, const Moment &clock, DayBoundary b)
{
    std::optional<Pillars> p = pillarsOf(standard, b);
    if (!p || !inChartRange(clock))
        return std::nullopt;
    setDayAndHour(*p, clock, b);
    return p;
}

std::optional<LunarDate> lunarDateOf(const Moment &m, DayBoundary b)
{
    if (!inChartRange(m))
        return std::nullopt;
    const CivilDate day = dayOf(m, b);
    return SolarToLunar(day.year, day.month, day.day);
}

} // namespace lotgrid
