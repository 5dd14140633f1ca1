// The calendar's own costs, without windows: the four pillars of a moment and the
// 24 term moments of a year, each in microseconds per call, averaged over many
// calls spread across 1900-2100. Target: well under 50 µs each.
#include "calendar/pillars.h"
#include "calendar/solarterms.h"

#include <chrono>
#include <cstdint>
#include <cstdio>

using namespace lotgrid;

namespace {

template<typename F>
double microsecondsPerCall(int calls, F &&f)
{
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < calls; ++i)
        f(i);
    const std::chrono::duration<double, std::micro> spent = std::chrono::steady_clock::now() - start;
    return spent.count() / calls;
}

} // namespace

int main()
{
    constexpr int Calls = 2'000'000;
    const std::int64_t first = minuteNumber(FirstChartMoment);
    const std::int64_t span = minuteNumber(LastChartMoment) - first + 1;

    // A moment every 52,631 minutes or so (a prime step) walks the whole span.
    std::int64_t checksum = 0;
    const double pillars = microsecondsPerCall(Calls, [&](int i) {
        const Moment m = momentFromMinutes(first + (static_cast<std::int64_t>(i) * 52631) % span);
        const auto p = pillarsOf(m, i % 2 ? DayBoundary::Zi23 : DayBoundary::Midnight);
        checksum += p ? p->year.index + p->month.index + p->day.index + p->hour.index : -1;
    });

    const double terms = microsecondsPerCall(Calls / 24, [&](int i) {
        const int year = 1900 + i % 201;
        for (int n = 1; n <= 24; ++n) {
            const auto m = termMoment(year, n);
            checksum += m ? m->date.day + m->minute : -1;
        }
    });

    std::printf("pillars of a moment:         %.3f us\n", pillars);
    std::printf("24 term moments of a year:   %.3f us\n", terms);
    std::printf("(checksum %lld)\n", static_cast<long long>(checksum));
    return 0;
}
