#pragma once
// The 24 solar terms (节气) by the program's mean-sun reckoning: each term lies a
// fixed number of minutes into a tropical year of 31556925.9747 seconds that is
// counted from 小寒 of 1900, 1900-01-06 02:05:00. The clock is the base's own:
// no time zone or daylight saving time enters, so a term near midnight stays on
// its day.

#include "calendar/civil.h"

#include <array>
#include <optional>
#include <string_view>

namespace lotgrid {

namespace terms_detail {

// Term n (1..24) is characters 2n-1 and 2n; Gregorian month m holds terms 2m-1 and 2m.
inline constexpr std::u16string_view NamesLiteral
    = u"小寒大寒立春雨水惊蛰春分清明谷雨立夏小满芒种夏至小暑大暑立秋处暑白露秋分寒露霜降立冬小雪大雪冬至";
// Term n is the six digits starting at character 7(n-1)+1: minutes after 小寒.
inline constexpr std::u16string_view MinutesLiteral
    = u"000000,021208,042467,063836,085337,107014,128867,150921,173149,195551,218072,240693,"
      u"263343,285989,308563,331033,353350,375494,397447,419210,440795,462224,483532,504758";

static_assert(NamesLiteral.size() == 48);
static_assert(MinutesLiteral.size() == 24 * 7 - 1);

} // namespace terms_detail

// Index 0 is unused so that term n is entry n, as the terms are numbered.
inline constexpr auto TermNames = [] {
    std::array<std::u16string_view, 25> names{};
    for (std::size_t n = 1; n <= 24; ++n)
        names[n] = terms_detail::NamesLiteral.substr(2 * (n - 1), 2);
    return names;
}();

inline constexpr auto TermMinutes = [] {
    std::array<double, 25> minutes{};
    for (std::size_t n = 1; n <= 24; ++n) {
        int value = 0;
        for (std::size_t i = 0; i < 6; ++i)
            value = value * 10 + (terms_detail::MinutesLiteral[7 * (n - 1) + i] - u'0');
        minutes[n] = value;
    }
    return minutes;
}();

static_assert(TermNames[1] == u"小寒" && TermNames[24] == u"冬至");
static_assert(TermMinutes[2] == 21208.0 && TermMinutes[24] == 504758.0);
static_assert([] {
    for (std::size_t n = 2; n <= 24; ++n)
        if (!(TermMinutes[n] > TermMinutes[n - 1]))
            return false;
    return true;
}());

inline constexpr CivilDate TermBaseDay{1900, 1, 6};              // 小寒 of 1900
inline constexpr double TermBaseSecondOfDay = 2 * 3600 + 5 * 60; // 2:05
inline constexpr double TermYearSeconds = 31556925.9747;

// The date on which term n (1 to 24) of a Gregorian year falls; none when n is
// not a term number.
std::optional<CivilDate> sTerm(int year, int n);

// The name of the term that falls on the date, or " " when none does.
std::u16string_view GetTerm(const CivilDate &date);

} // namespace lotgrid
