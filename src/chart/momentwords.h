#pragma once
// The words every view of a chart uses for where and when it was cast: the
// moment on the clock it was typed on and in 北京时间, China's summer time, the
// true solar time and the warnings of a moment near a boundary. The text, the
// JSON and the drawn chart take them from here so that they agree.

#include "chart/chart.h"

#include <string>
#include <vector>

namespace lotgrid {

// The moment as the 起卦时间 line gives it: "2026-12-07 21:30" alone; on a
// zone's clock "纽约 2026-12-07 08:30 = 北京时间 2026-12-07 21:30"; on a
// summer-time day of 北京时间 "1988-07-01 09:00（夏令时，已减一小时）".
std::u16string momentOriginWords(const Chart &chart);

// "真太阳时：2026-12-07 19:11（乌鲁木齐，东经87.62°）", or empty when off.
std::u16string solarTimeWords(const Chart &chart);

// One line for each warning: "临界：起卦在大雪（2026-12-07 11:52）前8分钟，另一侧为戊子月".
std::vector<std::u16string> warningLines(const Chart &chart);

// The pillars on the other side of a warning's boundary that differ from the
// chart's own: "乙巳年 戊子月".
std::u16string otherPillarsWords(const Chart &chart, const BoundaryWarning &warning);

} // namespace lotgrid
