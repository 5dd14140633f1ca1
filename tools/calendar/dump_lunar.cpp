// Prints the program's lunar date of every day from 1900-01-31 to 2100-12-31 as
// "JDN year month day" (a leap month negative), the layout of
// `chinese_calendar.py days`, for comparing the two line by line:
//   g++ -std=c++20 -O2 -I ../../src dump_lunar.cpp ../../src/calendar/lunar.cpp -o /tmp/dump_lunar
#include "calendar/lunar.h"

#include <cstdio>

int main()
{
    using namespace lotgrid;
    for (auto d = dayNumber(LunarFirstDay); d <= dayNumber(LunarLastDay); ++d) {
        const CivilDate c = civilFromDays(d);
        const auto l = SolarToLunar(c.year, c.month, c.day);
        if (!l)
            return 1;
        std::printf("%lld %d %d %d\n", static_cast<long long>(d + 2440588), l->year, l->month, l->day);
    }
}
