#pragma once
// The engine's tools: the chart of six lines (chart), the plum-blossom casts
// from a moment (cast_by_time) and from two numbers (cast_by_numbers), each
// with the chart of its lines, and the 周易 texts a hexagram reads with its
// moving lines (texts). The chart is the object `lotgrid-chart
// --json` prints and its text the one the program copies.

#include "chart/chart.h"
#include "mcp/tool.h"

#include <vector>

namespace lotgrid::mcp {

std::vector<Tool> chartTools();

// The chart as a structured result: the engine's JSON of the chart, the one
// `lotgrid-chart --json` writes, read back as a value.
Json chartValue(const Chart &chart);

// chartValue as JSON text appended to `out`: the chart's writer writes the
// chart straight into it, then "texts" follows.
void appendChartValueJson(std::string &out, const Chart &chart);

// The JSON text of the object `structured` with chartValue as its last
// member, "chart", written as appendChartValueJson writes it.
std::string withChartJson(const Json &structured, const Chart &chart);

// The schema of chartValue.
const Json &chartSchema();

} // namespace lotgrid::mcp
