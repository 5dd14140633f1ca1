#pragma once
// The today line: the Gregorian date, the lunar date with the stem-branch name of
// the lunar year, the zodiac animal, and the day's festivals and solar term,
// "今天是2014年8月8日   农历:甲午年七月十三  属象:马年  今天是：父亲节 ".

#include "calendar/civil.h"
#include "calendar/lunar.h"
#include "calendar/termdata.h"

#include <array>
#include <string>
#include <string_view>

namespace lotgrid {

// Festival rows: a four-character key, then the name. Empty slots match nothing.
// Rows are searched in slot order and the first match wins.

// Keyed by Gregorian month and day; characters 5 to 10 are shown.
// clang-format off
inline constexpr std::array<std::u16string_view, 25> SolarFestivals{
    u"0101元旦", u"0214情人节", u"0308国际劳动妇女节", u"0312中国植树节", u"0315权益日",
    u"", u"0401国际愚人节", u"0501国际劳动节", u"0504五四青年节", u"0512护士节",
    u"0601儿童节", u"0701中国建党节,香港回归", u"", u"0801中国建军节", u"0808父亲节",
    u"", u"0910教师节", u"", u"1001中国国庆节", u"1006老人节",
    u"1024联合国日", u"", u"1220澳门回归", u"1225圣诞节", u"",
};

// Keyed by lunar month and day ("0-9.." in a leap month matches nothing); characters
// 5 to 7 are shown. Slot 11 only lends its text to New Year's Eve.
inline constexpr std::array<std::u16string_view, 11> LunarFestivals{
    u"0101春节", u"0115元宵节", u"0505端午节", u"0707七夕节", u"0715中元节", u"0815中秋节",
    u"0909重阳节", u"", u"1208腊八节", u"1224小年", u"0100除夕",
};

// Keyed by GetMonthWeek: month, which occurrence of the weekday it is (1 for
// days 1-7, 2 for 8-14, ...), weekday (0 Sunday .. 6 Saturday); characters 5 to
// 7 are shown. 0520: the second Sunday of May; 1144: the fourth Thursday of November.
inline constexpr std::array<std::u16string_view, 11> WeekFestivals{
    u"", u"0231总统日", u"0520母亲节", u"0630父亲节", u"0531胜利日", u"0716合作节",
    u"0730被奴周", u"", u"", u"", u"1144感恩节",
};
// clang-format on

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
    const std::array<std::u16string_view, 25> &solarFestivals;
    const std::array<std::u16string_view, 11> &lunarFestivals;
    const std::array<std::u16string_view, 11> &weekFestivals;
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
