#pragma once
// The Chinese lunisolar calendar (农历) from 31 January 1900 (lunar 1900, month 1,
// day 1) to 31 December 2100.
//
// Months begin on the day of the new moon in China Standard Time (UTC+8); the
// month holding the winter solstice is month 11; in a year from one month 11 to
// the next that has 13 months, the first month without a principal term is the
// leap month and repeats the number of the month before it.
//
// LunarBitsTable describes every year, one packed word each; the conversion
// counts days from 31 January 1900 and walks its months.

#include "calendar/civil.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace lotgrid {

struct LunarDate {
    int year = 0;  // numbered by the Gregorian year in which its month 1 day 1 falls
    int month = 0; // 1 to 12; a leap month is the negative of the month it repeats (-9: 闰九月)
    int day = 0;   // 1 to 30
    friend constexpr bool operator==(const LunarDate &, const LunarDate &) = default;
};

// One LunarBitsTable literal, "ox" and five lowercase hexadecimal digits, to its
// number ("ox04bd8" is 19416). Anything else is none.
constexpr std::optional<std::int32_t> c16to10(std::u16string_view literal)
{
    if (literal.size() != 7 || literal[0] != u'o' || literal[1] != u'x')
        return std::nullopt;
    std::int32_t value = 0;
    for (std::size_t i = 2; i < 7; ++i) {
        const char16_t c = literal[i];
        int digit;
        if (c >= u'0' && c <= u'9')
            digit = c - u'0';
        else if (c >= u'a' && c <= u'f')
            digit = c - u'a' + 10;
        else
            return std::nullopt;
        value = value * 16 + digit; // the first digit ends up weighing 65536
    }
    return value;
}

// Lunar years 1900 + r, r = 0..200, one number each:
//   bits 0-3   the month after which the leap month comes, 0 when the year has none;
//   bits 4-15  months 12 (bit 4) up to 1 (bit 15): month m is bit 16 - m, set = 30 days;
//   bit 16     the leap month has 30 days.
// Lunar 1900 began on 31 January 1900.
//
// 1900-2049 are the program's long-standing rows with these true-calendar
// corrections, each confirmed by the new moons computed in China Standard Time
// (tools/calendar/chinese_calendar.py) and, for 1921-2020, by the program's
// earlier year table of month lengths, which tst_lunar keeps and holds these rows to:
//   1914 "ox1d255" -> "ox1d295"  month 10 began 18 Nov 1914, not 17 Nov (new moon 00:01 UTC+8)
//   1915 "ox0b540" -> "ox0b550"  month 12 has 30 days: lunar 1916 began 4 Feb 1916, not 3 Feb
//                                (new moon 00:05 UTC+8)
//   1916 "ox0d6a0" -> "ox056a0"  so month 1 of 1916 has 29 days
//   1920 "ox04970" -> "ox049b0"  month 10 began 11 Nov 1920, not 10 Nov (new moon 00:04 UTC+8)
//   1933 "ox06e95" -> "ox16a95"  month 6 began 23 Jul 1933, not 22 Jul (new moon 00:03)
//   1954 "ox0a5d0" -> "ox0a5b0"  month 11 began 25 Nov 1954, not 26 Nov (new moon 20:30)
//   1956 "ox052d0" -> "ox052b0"  month 11 began 2 Dec 1956, not 3 Dec (new moon 16:12)
//   1978 "ox0b5a0" -> "ox0b6a0"  month 8 began 3 Sep 1978, not 2 Sep (new moon 00:08)
//   1996 "ox055c0" -> "ox05ac0"  month 6 began 16 Jul 1996 (new moon 00:14), month 8
//                                13 Sep 1996 (new moon 07:07), each a day later
//   2033 "ox04bd7" -> "ox04afb"  the leap month follows month 11, not month 7: month 11
//                                must hold the winter solstice (22 Dec 2033 begins 闰十一月)
// The earlier rows of 1914-1920 followed the calendars of their day, reckoned on
// Beijing's local mean time (UTC+7:46); this table keeps China Standard Time throughout.
//
// 2050-2100 are computed from the new moons of Meeus, Astronomical Algorithms,
// ch. 49 (all periodic and planetary terms) and the sun's apparent longitude from
// VSOP87 with nutation and aberration, Delta T after Espenak and Meeus, in China
// Standard Time (tools/calendar/chinese_calendar.py). Every day from 1900 to 2100
// was checked against the 寿星 ephemeris calendar (tools/calendar/
// crosscheck_shouxing.js) and the rows against the Hong Kong Observatory's
// conversion tables as carried by the calendar.js lunar tables. The new moon of
// 28 September 2057 falls within seconds of midnight; the Observatory and these
// rows begin month 9 on that day, the 寿星 calendar on the next.
// clang-format off
inline constexpr std::array<std::u16string_view, 201> LunarBitsTable{
    u"ox04bd8", u"ox04ae0", u"ox0a570", u"ox054d5", u"ox0d260", u"ox0d950", u"ox16554", u"ox056a0", u"ox09ad0", u"ox055d2", // 1900-1909
    u"ox04ae0", u"ox0a5b6", u"ox0a4d0", u"ox0d250", u"ox1d295", u"ox0b550", u"ox056a0", u"ox0ada2", u"ox095b0", u"ox14977", // 1910-1919
    u"ox049b0", u"ox0a4b0", u"ox0b4b5", u"ox06a50", u"ox06d40", u"ox1ab54", u"ox02b60", u"ox09570", u"ox052f2", u"ox04970", // 1920-1929
    u"ox06566", u"ox0d4a0", u"ox0ea50", u"ox16a95", u"ox05ad0", u"ox02b60", u"ox186e3", u"ox092e0", u"ox1c8d7", u"ox0c950", // 1930-1939
    u"ox0d4a0", u"ox1d8a6", u"ox0b550", u"ox056a0", u"ox1a5b4", u"ox025d0", u"ox092d0", u"ox0d2b2", u"ox0a950", u"ox0b557", // 1940-1949
    u"ox06ca0", u"ox0b550", u"ox15355", u"ox04da0", u"ox0a5b0", u"ox14573", u"ox052b0", u"ox0a9a8", u"ox0e950", u"ox06aa0", // 1950-1959
    u"ox0aea6", u"ox0ab50", u"ox04b60", u"ox0aae4", u"ox0a570", u"ox05260", u"ox0f263", u"ox0d950", u"ox05b57", u"ox056a0", // 1960-1969
    u"ox096d0", u"ox04dd5", u"ox04ad0", u"ox0a4d0", u"ox0d4d4", u"ox0d250", u"ox0d558", u"ox0b540", u"ox0b6a0", u"ox195a6", // 1970-1979
    u"ox095b0", u"ox049b0", u"ox0a974", u"ox0a4b0", u"ox0b27a", u"ox06a50", u"ox06d40", u"ox0af46", u"ox0ab60", u"ox09570", // 1980-1989
    u"ox04af5", u"ox04970", u"ox064b0", u"ox074a3", u"ox0ea50", u"ox06b58", u"ox05ac0", u"ox0ab60", u"ox096d5", u"ox092e0", // 1990-1999
    u"ox0c960", u"ox0d954", u"ox0d4a0", u"ox0da50", u"ox07552", u"ox056a0", u"ox0abb7", u"ox025d0", u"ox092d0", u"ox0cab5", // 2000-2009
    u"ox0a950", u"ox0b4a0", u"ox0baa4", u"ox0ad50", u"ox055d9", u"ox04ba0", u"ox0a5b0", u"ox15176", u"ox052b0", u"ox0a930", // 2010-2019
    u"ox07954", u"ox06aa0", u"ox0ad50", u"ox05b52", u"ox04b60", u"ox0a6e6", u"ox0a4e0", u"ox0d260", u"ox0ea65", u"ox0d530", // 2020-2029
    u"ox05aa0", u"ox076a3", u"ox096d0", u"ox04afb", u"ox04ad0", u"ox0a4d0", u"ox1d0b6", u"ox0d250", u"ox0d520", u"ox0dd45", // 2030-2039
    u"ox0b5a0", u"ox056d0", u"ox055b2", u"ox049b0", u"ox0a577", u"ox0a4b0", u"ox0aa50", u"ox1b255", u"ox06d20", u"ox0ada0", // 2040-2049
    u"ox14b63", u"ox09370", u"ox049f8", u"ox04970", u"ox064b0", u"ox168a6", u"ox0ea50", u"ox06aa0", u"ox1a6c4", u"ox0aae0", // 2050-2059
    u"ox092e0", u"ox0d2e3", u"ox0c960", u"ox0d557", u"ox0d4a0", u"ox0da50", u"ox05d55", u"ox056a0", u"ox0a6d0", u"ox055d4", // 2060-2069
    u"ox052d0", u"ox0a9b8", u"ox0a950", u"ox0b4a0", u"ox0b6a6", u"ox0ad50", u"ox055a0", u"ox0aba4", u"ox0a5b0", u"ox052b0", // 2070-2079
    u"ox0b273", u"ox06930", u"ox07337", u"ox06aa0", u"ox0ad50", u"ox14b55", u"ox04b60", u"ox0a570", u"ox054e4", u"ox0d160", // 2080-2089
    u"ox0e968", u"ox0d520", u"ox0daa0", u"ox16aa6", u"ox056d0", u"ox04ae0", u"ox0a9d4", u"ox0a2d0", u"ox0d150", u"ox0f252", // 2090-2099
    u"ox0d520",                                                                                                           // 2100
};
// clang-format on
inline constexpr int LunarBitsFirstYear = 1900;
inline constexpr int LunarBitsLastYear = 1900 + static_cast<int>(LunarBitsTable.size()) - 1; // 2100

// The dates the conversion covers.
inline constexpr CivilDate LunarFirstDay{1900, 1, 31};
inline constexpr CivilDate LunarLastDay{2100, 12, 31};

namespace lunar_detail {

// The numbers of LunarBitsTable, through c16to10.
inline constexpr auto Words = [] {
    std::array<std::int32_t, LunarBitsTable.size()> words{};
    for (std::size_t i = 0; i < LunarBitsTable.size(); ++i)
        words[i] = c16to10(LunarBitsTable[i]).value_or(-1);
    return words;
}();

constexpr int leapMonth(std::int32_t word)
{
    return word & 0xf;
}
constexpr int monthDays(std::int32_t word, int month)
{
    return (word >> (16 - month)) & 1 ? 30 : 29;
}
constexpr int leapDays(std::int32_t word)
{
    return (word >> 16) & 1 ? 30 : 29;
}

constexpr int yearDays(std::int32_t word)
{
    int days = leapMonth(word) ? leapDays(word) : 0;
    for (int m = 1; m <= 12; ++m)
        days += monthDays(word, m);
    return days;
}

// Day number of month 1, day 1 of each lunar year 1900..2101.
inline constexpr auto YearStarts = [] {
    std::array<std::int64_t, Words.size() + 1> starts{};
    starts[0] = dayNumber({1900, 1, 31});
    for (std::size_t i = 0; i < Words.size(); ++i)
        starts[i + 1] = starts[i] + yearDays(Words[i]);
    return starts;
}();

} // namespace lunar_detail

static_assert(std::ranges::all_of(LunarBitsTable, [](std::u16string_view s) { return c16to10(s).has_value(); }),
              "every LunarBitsTable row is \"ox\" and five lowercase hexadecimal digits");
static_assert(std::ranges::all_of(lunar_detail::Words,
                                  [](std::int32_t w) { return w < (1 << 17) && (w & 0xf) <= 12; }));
static_assert(std::ranges::all_of(lunar_detail::Words,
                                  [](std::int32_t w) {
                                      const int d = lunar_detail::yearDays(w);
                                      return (w & 0xf) ? d >= 383 && d <= 385 : d >= 353 && d <= 355;
                                  }),
              "a lunar year has 353-355 days, or 383-385 with a leap month");
static_assert(lunar_detail::YearStarts.back() > dayNumber(LunarLastDay));

// Length of month 12 (29 or 30) of a lunar year, by LunarBitsTable. Years
// before 1900 read the row of 1900, years after 2100 the row of 2100.
std::int16_t lMonthDays(std::int16_t year);

// The lunar date of a Gregorian date from 31 January 1900 to 31 December 2100;
// none for any other date or for a date that does not exist.
std::optional<LunarDate> SolarToLunar(int year, int month, int day);

} // namespace lotgrid
