#pragma once
// The chart's words: how every view of a chart (the sheet, the copied text, the
// JSON, the drawn 卦盘, the AI question, the 应期 window, the command line and
// the MCP server) names a line's place, the pillars, the moment, a part picked
// by hand, the way the lines were cast, the marks, 卦身, the 神煞 and the
// reading's lines. Each word is written here once, so the views agree.

#include "calendar/moment.h"
#include "calendar/pillars.h"
#include "chart/cast.h"
#include "chart/chart.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace lotgrid {

// Line 1 (the bottom) to line 6.
inline constexpr std::array<std::u16string_view, 6> LinePlaceNames{u"初爻", u"二爻", u"三爻",
                                                                   u"四爻", u"五爻", u"上爻"};

// "初爻" for line 1 … "上爻" for line 6; empty outside [1, 6].
constexpr std::u16string_view linePlaceName(int line)
{
    return line >= 1 && line <= 6 ? LinePlaceNames[static_cast<std::size_t>(line - 1)] : std::u16string_view{};
}

// The note beside a day stem or build picked by hand rather than taken from the moment.
inline constexpr std::u16string_view ByHandWord = u"手选";

inline constexpr std::array<std::u16string_view, 6> CastMethodNames{u"",         u"手工",     u"手动摇卦",
                                                                    u"时间起卦", u"数字起卦", u"自动卜卦"};

// "手动摇卦" …; empty for CastMethod::None.
constexpr std::u16string_view castMethodName(CastMethod m)
{
    return CastMethodNames[static_cast<std::size_t>(m)];
}

// The four pillars: "丙午年 己亥月 乙卯日 庚辰时".
std::u16string pillarsWords(const Pillars &p);

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
// What follows "用神：" in that line: "妻财（二爻）  两现：五爻", "未定（婚恋需性别）", or empty.
std::u16string useGodValueWords(const Chart &chart);
// "伏神：有阻（得：…；阻：…）" for a hidden use god, else empty.
std::u16string fuShenWords(const Chart &chart);
std::u16string relationWords(const Chart &chart);
std::u16string relatedHexagramWords(const Chart &chart);

} // namespace lotgrid
