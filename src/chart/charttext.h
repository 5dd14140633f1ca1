#pragma once
// The chart written out as the plain text practitioners paste into forums and
// notes (its JSON for scripts is in chartjson.h). It reads the Chart value only.
//
// The text is laid out for a CJK monospace reader: every column is a run of
// full-width characters padded with the ideographic space (U+3000). From the
// top: the moment with its four pillars and 旬空 (or the builds chosen by
// hand), the question and the sex when given, the category (占类) and the
// use god, the two hexagrams with their palaces and types (and 反吟/伏吟 of a
// half or the whole hexagram), the six lines from line 6 down to line 1, then
// 卦身, the 神煞, the three harmonies and tombs, the 互/错/综 hexagrams, the
// school (流派) unless it is 通行, the first 应期 candidates (and a
// moving 忌神's), and last the 要点 block (the summary). A
// line row holds, each column only when some line fills it: the spirit, the
// hidden spirit (and 空, and 用 when the use god hides there), the line's bar,
// relative+branch+element (and 空), 世/应, the moving mark (○ old yang, × old
// yin), "→" and the changed relative+branch+element (and 空), 用神 or
// 原神/忌神/仇神, the strength ("旺·长生"), then the line's marks and
// 化长生/化帝旺.

#include "chart/chart.h"
#include "chart/chartjson.h" // the same chart as JSON, for the callers of both
#include "chart/summary.h"
#include "chart/words.h"

#include <string>
#include <string_view>
#include <vector>

namespace lotgrid {

// The chart as text, lines separated by "\n" and ending with one; empty
// unless six lines stand. `question` and `sex` are shown when not empty.
// Without `withSummary` the 要点 block is left out (for a view that gives it itself).
std::u16string chartText(const Chart &chart, std::u16string_view question = {}, std::u16string_view sex = {},
                         bool withSummary = true);

// The 要点 block of the text: "要点：", then each item and the trend on a line
// of its own; none for an empty summary.
std::vector<std::u16string> summaryLines(const Summary &summary);

} // namespace lotgrid
