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
// 卦身, the 神煞, the three harmonies and tombs, the 互/错/综 hexagrams, and
// last the first 应期 candidates. A
// line row holds, each column only when some line fills it: the spirit, the
// hidden spirit (and 空, and 用 when the use god hides there), the line's bar,
// relative+branch+element (and 空), 世/应, the moving mark (○ old yang, × old
// yin), "→" and the changed relative+branch+element (and 空), 用神 or
// 原神/忌神/仇神, the strength ("旺·长生"), then the line's marks and
// 化长生/化帝旺.

#include "chart/chart.h"
#include "chart/chartjson.h" // the same chart as JSON, for the callers of both

#include <string>
#include <string_view>
#include <vector>

namespace lotgrid {

// The chart as text, lines separated by "\n" and ending with one; empty
// unless six lines stand. `question` and `sex` are shown when not empty.
std::u16string chartText(const Chart &chart, std::u16string_view question = {}, std::u16string_view sex = {});

// The six lines in the traditional notation: 6 old yin, 7 young yang, 8 young
// yin, 9 old yang; empty unless all six lines have a value.
std::u16string lineNotation(const CastInput &input);

// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string toUtf8(std::u16string_view text);

// Pieces of the text above, for the other views of a chart (the drawn chart)
// that must say the same.

// "2000-01-01 12:00".
std::u16string chartMomentWords(const Moment &moment);

// "兑宫".
std::u16string palaceWords(const HexagramRow &row);

// "游魂", "归魂", or empty.
std::u16string_view soulWords(Soul soul);

// The words after line 1..6: 月破 / 暗动 / 日破 of a static line, the changes of a moving one.
std::vector<std::u16string_view> lineMarkWords(const Chart &chart, int line);

// 卦身 without its title: "申（五爻）", "亥" when no line carries it.
std::u16string guaShenWords(const GuaShen &guaShen);

// The 神煞 as the text lists them, one "贵人：丑未" per entry.
std::vector<std::u16string> shenShaWords(const std::vector<ShenShaEntry> &entries);

// The reading's lines of the copied text, each empty when it has nothing to say:
// "占类：求财  用神：妻财（二爻）", "三合：…  入墓：…", "互卦：…  错卦：…  综卦：…".
std::u16string useGodWords(const Chart &chart);
std::u16string relationWords(const Chart &chart);
std::u16string relatedHexagramWords(const Chart &chart);

} // namespace lotgrid
