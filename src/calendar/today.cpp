#include "calendar/today.h"

#include "calendar/lunar.h"
#include "calendar/solarterms.h"
#include "core/elements.h"

#include <algorithm>

namespace lotgrid {

namespace {

void appendNumber(std::u16string &out, std::int64_t value, int width = 1)
{
    std::u16string digits;
    const bool negative = value < 0;
    std::uint64_t v = negative ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    do {
        digits.push_back(static_cast<char16_t>(u'0' + v % 10));
        v /= 10;
    } while (v != 0);
    while (static_cast<int>(digits.size()) < width)
        digits.push_back(u'0');
    if (negative)
        digits.push_back(u'-');
    out.append(digits.rbegin(), digits.rend());
}

// The name of the first festival of `festivals` that `matches`, cut to `length` characters; empty for none.
template<typename Festivals, typename Match>
std::u16string_view festival(const Festivals &festivals, Match matches, std::size_t length)
{
    for (const auto &f : festivals)
        if (matches(f))
            return f.name.substr(0, length);
    return {};
}

} // namespace

CalendarTables InitCalendarTables()
{
    return {TermNames, TermMinutes, TermDataMinutes, SolarFestivals, LunarFestivals, WeekFestivals, LunarBitsTable};
}

std::u16string GetMonthWeek(const CivilDate &date)
{
    std::u16string key;
    if (!isValid(date))
        return key;
    appendNumber(key, date.month, 2);
    appendNumber(key, (date.day - 1) / 7 + 1); // [1, 5]
    appendNumber(key, weekday(dayNumber(date)));
    return key;
}

std::u16string ShowToday(const CivilDate &date)
{
    if (!isValid(date))
        return std::u16string(InvalidDateText);
    const CalendarTables tables = InitCalendarTables();
    const std::u16string_view term = GetTerm(date);

    std::u16string line = u"今天是";
    appendNumber(line, date.year);
    line += u"年";
    appendNumber(line, date.month);
    line += u"月";
    appendNumber(line, date.day);
    line += u"日   ";

    std::u16string_view lunarFestival;
    if (const auto lunar = SolarToLunar(date.year, date.month, date.day)) {
        const int i = (lunar->year - 4) % 60; // [0, 59]: lunar years run from 1900
        line += u"农历:";
        line += lunarDateWords(*lunar);
        line += u"  属象:";
        line += AnimalNames.substr(i % 12, 1);
        line += u"年";

        // A leap month's days match no festival.
        if (lunar->month > 0)
            lunarFestival = festival(
                tables.lunarFestivals,
                [&](const DateFestival &f) { return f.month == lunar->month && f.day == lunar->day; }, LunarNameLength);
        // New Year's Eve: the last day of month 12, 29 or 30 by LunarBitsTable.
        if (lunar->month == 12 && lunar->day == lMonthDays(static_cast<std::int16_t>(lunar->year)))
            lunarFestival = NewYearsEve;
    } else {
        line += OutOfRangeLunarText;
    }

    std::u16string extras;
    extras += lunarFestival;
    const int nth = (date.day - 1) / 7 + 1; // [1, 5]
    const int weekdayOf = weekday(dayNumber(date));
    extras += festival(
        tables.weekFestivals,
        [&](const WeekdayFestival &f) { return f.month == date.month && f.nth == nth && f.weekday == weekdayOf; },
        WeekNameLength);
    extras += festival(
        tables.solarFestivals, [&](const DateFestival &f) { return f.month == date.month && f.day == date.day; },
        SolarNameLength);
    extras += term;
    if (extras != u" ") {
        line += u"  今天是：";
        line += extras;
    }
    return line;
}

std::u16string lunarDateWords(const LunarDate &date)
{
    const int monthNo = date.month < 0 ? -date.month : date.month;
    if (monthNo < 1 || monthNo > 12 || date.day < 1 || date.day > 30)
        return {};
    const int i = ((date.year - 4) % 60 + 60) % 60; // [0, 59]: 4 CE was a 甲子 year
    std::u16string words;
    words += StemNames.substr(static_cast<std::size_t>(i % 10), 1);
    words += BranchNames.substr(static_cast<std::size_t>(i % 12), 1);
    words += u"年";
    if (date.month < 0)
        words += u"闰";
    words += LunarMonthNames[static_cast<std::size_t>(monthNo - 1)];
    words += u"月";
    words += LunarDayNames[static_cast<std::size_t>(date.day - 1)];
    return words;
}

} // namespace lotgrid
