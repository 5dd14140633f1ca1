#pragma once
// The today line: the Gregorian date, the lunar date with the stem-branch name of
// the lunar year, the zodiac animal, and the day's festivals and solar term,
// "今天是2014年8月8日   农历:甲午年七月十三  属象:马年  今天是：父亲节 ".

#include "calendar/civil.h"
#include "calendar/lunar.h"
#include "calendar/termdata.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

namespace lotgrid {

// A festival on a fixed day of the Gregorian or of the lunar calendar.
struct DateFestival {
    int month; // [1, 12]
    int day;   // [1, 31]
    std::u16string_view name;
};

// A festival on the nth given weekday of a Gregorian month: {5, 2, 0} is the
// second Sunday of May.
struct WeekdayFestival {
    int month;   // [1, 12]
    int nth;     // [1, 5]
    int weekday; // 0 Sunday .. 6 Saturday
    std::u16string_view name;
};

// The line shows at most this many characters of a festival's name.
inline constexpr std::size_t SolarNameLength = 6;
inline constexpr std::size_t LunarNameLength = 3;
inline constexpr std::size_t WeekNameLength = 3;

// Searched in order; the first match wins.
// clang-format off
inline constexpr std::array<DateFestival, 19> SolarFestivals{{
    {1, 1, u"元旦"},        {2, 14, u"情人节"},       {3, 8, u"国际劳动妇女节"}, {3, 12, u"中国植树节"},
    {3, 15, u"权益日"},     {4, 1, u"国际愚人节"},    {5, 1, u"国际劳动节"},     {5, 4, u"五四青年节"},
    {5, 12, u"护士节"},     {6, 1, u"儿童节"},        {7, 1, u"中国建党节,香港回归"}, {8, 1, u"中国建军节"},
    {8, 8, u"父亲节"},      {9, 10, u"教师节"},       {10, 1, u"中国国庆节"},    {10, 6, u"老人节"},
    {10, 24, u"联合国日"},  {12, 20, u"澳门回归"},    {12, 25, u"圣诞节"},
}};

// By lunar month and day; a day of a leap month matches none.
inline constexpr std::array<DateFestival, 9> LunarFestivals{{
    {1, 1, u"春节"},   {1, 15, u"元宵节"}, {5, 5, u"端午节"},   {7, 7, u"七夕节"}, {7, 15, u"中元节"},
    {8, 15, u"中秋节"}, {9, 9, u"重阳节"},  {12, 8, u"腊八节"}, {12, 24, u"小年"},
}};

// The last day of lunar month 12, the 29th or the 30th.
inline constexpr std::u16string_view NewYearsEve = u"除夕";

inline constexpr std::array<WeekdayFestival, 7> WeekFestivals{{
    {2, 3, 1, u"总统日"}, {5, 2, 0, u"母亲节"}, {6, 3, 0, u"父亲节"}, {5, 3, 1, u"胜利日"},
    {7, 1, 6, u"合作节"}, {7, 3, 0, u"被奴周"}, {11, 4, 4, u"感恩节"},
}};
// clang-format on

static_assert(std::ranges::all_of(SolarFestivals, [](const DateFestival &f) {
    return f.month >= 1 && f.month <= 12 && f.day >= 1 && f.day <= 31 && !f.name.empty();
}));
static_assert(std::ranges::all_of(LunarFestivals, [](const DateFestival &f) {
    return f.month >= 1 && f.month <= 12 && f.day >= 1 && f.day <= 30 && f.name.size() <= LunarNameLength;
}));
static_assert(std::ranges::all_of(WeekFestivals, [](const WeekdayFestival &f) {
    return f.month >= 1 && f.month <= 12 && f.nth >= 1 && f.nth <= 5 && f.weekday >= 0 && f.weekday <= 6
           && f.name.size() <= WeekNameLength;
}));

// The week key of a date, four characters ("0520" for the second Sunday of May).
std::u16string GetMonthWeek(const CivilDate &date);

// The name tables of the line.
inline constexpr std::u16string_view AnimalNames = u"鼠牛虎兔龙蛇马羊猴鸡狗猪"; // paired with the branches
inline constexpr std::array<std::u16string_view, 12> LunarMonthNames{u"正", u"二", u"三", u"四", u"五",   u"六",
                                                                     u"七", u"八", u"九", u"十", u"十一", u"腊"};
// clang-format off
inline constexpr std::array<std::u16string_view, 30> LunarDayNames{
    u"初一", u"初二", u"初三", u"初四", u"初五", u"初六", u"初七", u"初八", u"初九", u"初十",
    u"十一", u"十二", u"十三", u"十四", u"十五", u"十六", u"十七", u"十八", u"十九", u"二十",
    u"廿一", u"廿二", u"廿三", u"廿四", u"廿五", u"廿六", u"廿七", u"廿八", u"廿九", u"三十",
};
// clang-format on

// Stands in for the lunar part of the line outside 1900-01-31 .. 2100-12-31.
inline constexpr std::u16string_view OutOfRangeLunarText = u"农历:超出历表范围";
// The whole line for a date that does not exist.
inline constexpr std::u16string_view InvalidDateText = u"今天是: 日期无效";

// Everything the line is built from. All of it is constant data, cut from its
// literals at compile time.
struct CalendarTables {
    const std::array<std::u16string_view, 25> &termNames;
    const std::array<double, 25> &termMinutes; // the mean-sun reckoning, outside 1900-2100
    const decltype(TermDataMinutes) &termDataMinutes;
    const std::array<DateFestival, 19> &solarFestivals;
    const std::array<DateFestival, 9> &lunarFestivals;
    const std::array<WeekdayFestival, 7> &weekFestivals;
    const std::array<std::u16string_view, 201> &lunarBits;
};
CalendarTables InitCalendarTables();

// The whole today line for the date.
std::u16string ShowToday(const CivilDate &date);

// A lunar date as the line writes it: the stem-branch name of the lunar year,
// the month (闰 before a leap month) and the day, "甲午年七月十三"; empty for a
// date outside 1 to 12 (or -12 to -1) and 1 to 30.
std::u16string lunarDateWords(const LunarDate &date);

} // namespace lotgrid
