#include "chart/yingqihits.h"

#include "calendar/pillars.h"

namespace lotgrid {

namespace {

// A month by its 节 lasts no more than 32 days.
constexpr std::int64_t LongestMonth = 32;

bool inMonth(const Sexagenary &month, std::int64_t dayNo)
{
    const std::optional<Pillars> p = pillarsOf(Moment{civilFromDays(dayNo), 12, 0}, DayBoundary::Midnight);
    return p && p->month == month;
}

} // namespace

YingqiHit yingqiHit(const YingqiCandidate &candidate, const CivilDate &day)
{
    const std::int64_t start = dayNumber(candidate.date);
    const std::int64_t d = dayNumber(day);
    if (candidate.unit == YingqiUnit::Day || d <= start)
        return {d == start, d >= start ? d - start : start - d};
    std::int64_t last = start;
    while (last + 1 - start < LongestMonth && inMonth(candidate.pillar, last + 1))
        ++last;
    return {d <= last, d <= last ? 0 : d - last};
}

std::vector<YingqiHit> yingqiHits(const std::vector<YingqiCandidate> &candidates, const CivilDate &day)
{
    std::vector<YingqiHit> hits;
    hits.reserve(candidates.size());
    for (const YingqiCandidate &c : candidates)
        hits.push_back(yingqiHit(c, day));
    return hits;
}

} // namespace lotgrid
