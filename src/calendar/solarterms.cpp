#include "calendar/solarterms.h"

#include <cmath>

namespace lotgrid {

std::optional<Moment> termMoment(int year, int n)
{
    if (n < 1 || n > 24 || year < TermDataFirstYear || year > TermDataLastYear)
        return std::nullopt;
    const std::int32_t minutes
        = TermDataMinutes[static_cast<std::size_t>(year - TermDataFirstYear)][static_cast<std::size_t>(n - 1)];
    return momentFromMinutes(dayNumber({year, 1, 1}) * 1440 + minutes);
}

std::optional<CivilDate> sTerm(int year, int n)
{
    if (const auto exact = termMoment(year, n))
        return exact->date;
    return meanTermDate(year, n);
}

std::optional<CivilDate> meanTermDate(int year, int n)
{
    if (n < 1 || n > 24 || year < MinCivilYear || year > MaxCivilYear)
        return std::nullopt;
    // Seconds since the midnight that starts the base day. Fractions of a second
    // count: a moment at 23:59:59.6 still falls on its day.
    const double seconds = TermYearSeconds * (year - 1900) + 60.0 * TermMinutes[n] + TermBaseSecondOfDay;
    const auto days = static_cast<std::int64_t>(std::floor(seconds / 86400.0));
    return civilFromDays(dayNumber(TermBaseDay) + days);
}

std::u16string_view GetTerm(const CivilDate &date)
{
    if (!isValid(date))
        return u" ";
    for (const int n : {2 * date.month - 1, 2 * date.month})
        if (sTerm(date.year, n) == date)
            return TermNames[n];
    return u" ";
}

} // namespace lotgrid
