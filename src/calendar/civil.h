#pragma once
// Gregorian dates as day numbers and back, proleptic Gregorian calendar with a
// year 0 (astronomical numbering). Day 0 is 1970-01-01. Howard Hinnant's
// days_from_civil / civil_from_days.

#include <cstdint>

namespace lotgrid {

struct CivilDate {
    int year = 0;
    int month = 0; // [1, 12]
    int day = 0;   // [1, 31]
    friend constexpr bool operator==(const CivilDate &, const CivilDate &) = default;
};

// Years the calendar takes at all; the day arithmetic stays far from overflow.
inline constexpr int MinCivilYear = -999999;
inline constexpr int MaxCivilYear = 999999;

constexpr bool isLeapYear(std::int64_t y)
{
    return y % 4 == 0 && (y % 100 != 0 || y % 400 == 0);
}

constexpr int daysInMonth(std::int64_t y, int m)
{
    constexpr int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (m < 1 || m > 12)
        return 0;
    return m == 2 && isLeapYear(y) ? 29 : days[m - 1];
}

constexpr bool isValid(const CivilDate &d)
{
    return d.year >= MinCivilYear && d.year <= MaxCivilYear && d.month >= 1 && d.month <= 12 && d.day >= 1
           && d.day <= daysInMonth(d.year, d.month);
}

constexpr std::int64_t dayNumber(const CivilDate &d)
{
    const std::int64_t y = d.month <= 2 ? std::int64_t{d.year} - 1 : d.year;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;                         // [0, 399]
    const std::int64_t mp = (d.month + 9) % 12;                     // [0, 11], March first
    const std::int64_t doy = (153 * mp + 2) / 5 + d.day - 1;        // [0, 365]
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy; // [0, 146096]
    return era * 146097 + doe - 719468;
}

constexpr CivilDate civilFromDays(std::int64_t z)
{
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;                                      // [0, 146096]
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365; // [0, 399]
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);               // [0, 365]
    const std::int64_t mp = (5 * doy + 2) / 153;                                    // [0, 11]
    const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);                 // [1, 31]
    const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);                  // [1, 12]
    const std::int64_t year = yoe + era * 400 + (month <= 2 ? 1 : 0);
    return {static_cast<int>(year), month, day};
}

// 0 = Sunday ... 6 = Saturday; 1970-01-01 was a Thursday.
constexpr int weekday(std::int64_t dayNo)
{
    const std::int64_t w = (dayNo + 4) % 7;
    return static_cast<int>(w < 0 ? w + 7 : w);
}

static_assert(dayNumber({1970, 1, 1}) == 0);
static_assert(dayNumber({2000, 3, 1}) == 11017);
static_assert(civilFromDays(dayNumber({1900, 2, 28}) + 1) == CivilDate{1900, 3, 1});
static_assert(weekday(dayNumber({2014, 5, 1})) == 4);

} // namespace lotgrid
