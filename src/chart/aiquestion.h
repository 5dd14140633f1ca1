#pragma once
// The chart as a question to put to a language model: the question with its
// 占类 and the asker's sex, the chart text, then the facts the program has
// reckoned (the use god and its other places, 原神/忌神/仇神, every line's
// strength with its month and day ties, the marks and changes of the lines,
// 三合 and 入墓, 反吟/伏吟, the 应期 candidates with their reasons, the 要点 items with
// their sources and the trend) and an
// instruction to read the chart from these facts alone and to name the rule
// behind every step; the 周易 texts the cast reads stand before the
// instruction. The words are the chart text's, so the two never disagree.

#include "chart/chart.h"

#include <string>
#include <string_view>

namespace lotgrid {

// Empty unless six lines stand. An empty `question` is said to be unwritten.
std::u16string aiQuestionText(const Chart &chart, std::u16string_view question);

} // namespace lotgrid
