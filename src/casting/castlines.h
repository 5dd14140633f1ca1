#pragma once
// Writing a cast onto the sheet. Every cast first empties the chart the same
// way, then puts its lines into the line fields and ticks the moving-line boxes,
// so the line handling echoes them as if typed and the chart, the marks and the
// enabled commands follow as for any other entry.

#include "chart/cast.h"

#include <array>

namespace lotgrid {

class ChartSheet;
class ChartSteps;

// Empties the chart in the order the line handling needs: boxes before lines,
// so that an untick restores its line before the line is emptied. The changed
// values BY1..BY6, the enabled lines 2..6, the spirits, the builds, the question
// and the chart steps are left as they are.
void clearSheetForCast(ChartSheet &sheet);

// Clears the sheet, writes Text1..Text6 (line 1 first), then ticks the box of
// each moving line: 太阳 (co) on a yang line, 太阴 (cx) on a yin line; the chart
// is complete on return. Returns false, and changes nothing, when a line has no
// value "1" or "0".
bool writeCast(ChartSheet &sheet, ChartSteps &steps, const std::array<CastLine, 6> &lines);

} // namespace lotgrid
