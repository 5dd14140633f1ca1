#pragma once
// Whether an 应期 candidate came true: the day the matter came about set
// against it. A day candidate comes true on its own day; a month candidate on
// any day of its month, from the day its 节 falls on to the day before the
// next 节 (months read on the day pillar's noon, so a 节 in the afternoon
// still counts its own day). How far off a candidate was is the number of
// days between the day and the candidate's day, or its month's nearer end.

#include "calendar/civil.h"
#include "chart/yingqi.h"

#include <cstdint>
#include <vector>

namespace lotgrid {

struct YingqiHit {
    bool hit = false;
    std::int64_t daysOff = 0; // 0 on a hit
    friend constexpr bool operator==(const YingqiHit &, const YingqiHit &) = default;
};

YingqiHit yingqiHit(const YingqiCandidate &candidate, const CivilDate &day);

// One per candidate, in the candidates' order.
std::vector<YingqiHit> yingqiHits(const std::vector<YingqiCandidate> &candidates, const CivilDate &day);

} // namespace lotgrid
