#pragma once
// The 24 solar terms (节气), numbered 1 = 小寒 .. 24 = 冬至 within a Gregorian year.
//
// From 1900 to 2100 each term is the minute, in China Standard Time (UTC+8), at
// which the sun's apparent longitude reaches its value (termdata.h), and a term
// falls on the civil day of that minute. Outside those years the program keeps its
// mean-sun reckoning: each term lies a fixed number of minutes into a tropical year
// of 31556925.9747 seconds that is counted from 小寒 of 1900, 1900-01-06 02:05:00;
// it may put a term a day off.

#include "calendar/civil.h"
#include "calendar/moment.h"
#include "calendar/termdata.h"

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

// The mean-sun reckoning.
inline constexpr CivilDate TermBaseDay{1900, 1, 6};              // 小寒 of 1900
inline constexpr double TermBaseSecondOfDay = 2 * 3600 + 5 * 60; // 2:05
inline constexpr double TermYearSeconds = 31556925.9747;

namespace terms_detail {

// Every exact term lies in its own Gregorian month (term n in month (n + 1) / 2),
// which GetTerm relies on, and follows the one before it by 14 to 16 days.
constexpr bool termDataInOrder()
{
    std::int64_t previous = 0;
    for (int year = TermDataFirstYear; year <= TermDataLastYear; ++year) {
        const std::int64_t jan1 = dayNumber({year, 1, 1}) * 1440;
        for (int n = 1; n <= 24; ++n) {
            const std::int64_t minute = jan1
                                        + TermDataMinutes[static_cast<std::size_t>(year - TermDataFirstYear)]
                                                         [static_cast<std::size_t>(n - 1)];
            const CivilDate day = civilFromDays(minute / 1440);
            if (day.year != year || day.month != (n + 1) / 2)
                return false;
            if (previous != 0 && (minute - previous < 14 * 1440 || minute - previous > 16 * 1440))
                return false;
            previous = minute;
        }
    }
    return true;
}

} // namespace terms_detail

static_assert(terms_detail::termDataInOrder());

// The minute of term n (1 to 24) of a year from 1900 to 2100, China Standard Time;
// none for any other year or n.
std::optional<Moment> termMoment(int year, int n);

// The date on which term n (1 to 24) of a Gregorian year falls: the civil day of
// termMoment from 1900 to 2100, the mean-sun reckoning outside them; none when n
// is not a term number.
std::optional<CivilDate> sTerm(int year, int n);

// The date of term n by the mean-sun reckoning alone, for any year.
std::optional<CivilDate> meanTermDate(int year, int n);

// The name of the term that falls on the date, or " " when none does.
std::u16string_view GetTerm(const CivilDate &date);

} // namespace lotgrid
