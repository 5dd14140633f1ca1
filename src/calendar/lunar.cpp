#include "calendar/lunar.h"

#include <algorithm>

namespace lotgrid {

using namespace lunar_detail;

std::int16_t lMonthDays(std::int16_t year)
{
    const int y = std::clamp<int>(year, LunarBitsFirstYear, LunarBitsLastYear);
    return (Words[y - LunarBitsFirstYear] & 16) ? 30 : 29;
}

namespace {

// Walk the months of LunarBitsTable year by year.
LunarDate walkBitsTable(std::int64_t dayNo)
{
    // the last year whose first day is not after dayNo
    const auto after = std::upper_bound(YearStarts.begin(), YearStarts.end() - 1, dayNo);
    const std::size_t r = static_cast<std::size_t>(after - YearStarts.begin()) - 1;
    const std::int32_t word = Words[r];
    std::int64_t offset = dayNo - YearStarts[r]; // [0, 384]
    const int year = LunarBitsFirstYear + static_cast<int>(r);
    for (int m = 1; m <= 12; ++m) {
        const int days = monthDays(word, m);
        if (offset < days)
            return {year, m, static_cast<int>(offset) + 1};
        offset -= days;
        if (m == leapMonth(word)) {
            if (offset < leapDays(word))
                return {year, -m, static_cast<int>(offset) + 1};
            offset -= leapDays(word);
        }
    }
    return {}; // not reached: YearStarts bounds every year
}

} // namespace

std::optional<LunarDate> SolarToLunar(int year, int month, int day)
{
    const CivilDate date{year, month, day};
    if (!isValid(date))
        return std::nullopt;
    const std::int64_t dayNo = dayNumber(date);
    if (dayNo < dayNumber(LunarFirstDay) || dayNo > dayNumber(LunarLastDay))
        return std::nullopt;
    return walkBitsTable(dayNo);
}

} // namespace lotgrid
