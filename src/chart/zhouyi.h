#pragma once
// The text of the 周易 beside the chart, and which of it a cast reads.
//
// Each hexagram of HexagramTable has its judgement (卦辞) with the 彖传 and
// the 大象 on it, and six lines, each with its 爻辞 and 小象; 乾 and 坤 add
// 用九 / 用六. The text is compiled in (chart/zhouyitext.h) and keyed by the
// row of HexagramTable, so it follows the table's lines and cannot drift from it.
//
// Which texts a cast reads follows 朱熹《易学启蒙·考变占》, by the number of
// moving lines: none, the original's judgement; one, the original's moving
// line; two, the original's two moving lines, the upper one the main; three,
// the judgements of the original (贞) and of the changed hexagram (悔), the
// original the main when line 1 moves (the first ten of the twenty in 启蒙's
// table of changes) and the changed one otherwise; four, the changed
// hexagram's two static lines, the lower the main; five, the changed
// hexagram's static line; six, 用九 on 乾, 用六 on 坤, and the changed
// hexagram's judgement on any other.

#include "chart/hexagrams.h"

#include <nlohmann/json_fwd.hpp>

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lotgrid {

struct Chart;

struct ZhouyiLine {
    std::u16string_view text;  // 爻辞, opening with the line's name: "初九：潜龙勿用。"
    std::u16string_view xiang; // 小象
};

struct ZhouyiText {
    std::u16string_view name;          // as the text names the hexagram: "乾", "小畜"
    std::u16string_view judgement;     // 卦辞, as printed: "乾：元亨利贞。", "履虎尾，不咥人，亨。"
    std::u16string_view tuan;          // 彖传
    std::u16string_view image;         // 大象
    std::array<ZhouyiLine, 6> lines{}; // line 1 first
    ZhouyiLine allLines{};             // 用九 / 用六; empty on every other hexagram
};

// The text of a row of HexagramTable (any other pointer gives 乾's).
const ZhouyiText &zhouyiText(const HexagramRow &row);

// The row whose short name is `name` ("乾", "小畜"), or nullptr.
const HexagramRow *FindHexagramByShortName(std::u16string_view name);

enum class TextPart : std::uint8_t { Judgement, Line, AllLines }; // 卦辞, 爻辞, 用九/用六

// One text a cast reads.
struct TextToRead {
    const HexagramRow *hexagram = nullptr;
    TextPart part = TextPart::Judgement;
    int line = 0;             // [1, 6] for a line, 0 otherwise
    std::u16string_view role; // "贞" / "悔" under the three-line rule, empty otherwise
    friend constexpr bool operator==(const TextToRead &, const TextToRead &) = default;
};

struct TextsToRead {
    int moving = 0;               // [0, 6] moving lines
    std::vector<TextToRead> read; // one or two texts, lower line first
    int main = 0;                 // index into `read` of the main text
};

// "静卦" (no moving line), "一爻变" .. "六爻变".
std::u16string_view readingRuleName(int moving);

// The texts the hexagram `original` reads with the moving lines `moving`
// (line 1 first), by 朱熹's rule.
TextsToRead textsToRead(const HexagramRow &original, const std::array<bool, 6> &moving);

// The texts of a chart's cast; none unless six lines stand.
std::optional<TextsToRead> textsToRead(const Chart &chart);

// The words of a part: "卦辞", "爻辞", "用九", "用六".
std::u16string_view textPartName(const TextToRead &t);

// The text read, and the 小象 of a line (for a judgement, the 大象).
std::u16string_view textOf(const TextToRead &t);
std::u16string_view xiangOf(const TextToRead &t);

// The 经文 block of the copied text, empty unless six lines stand: a head
// naming the rule, then each text read, the main one marked 【主】, a line's
// 小象 and a judgement's 彖 and 大象 under it; lines end with "\n".
//   经文（一爻变）：
//   【主】归妹 初九：归妹以娣，跛能履，征吉。
//   　　　　象曰：归妹以娣，以恒也。跛能履吉，相承也。
std::u16string textsBlock(const Chart &chart);

// The texts read as one JSON object: {rule, read: [{hexagram (the short name),
// part ("卦辞"|"爻辞"|"用九"|"用六"), line (1..6 or null), role ("贞"|"悔"|null),
// text, tuan (of a judgement, else null), xiang (小象, or the 大象 of a
// judgement)}], main (index into read)}.
nlohmann::ordered_json textsJson(const TextsToRead &texts);

// The same for a chart's cast; null unless six lines stand.
nlohmann::ordered_json textsJson(const Chart &chart);

// Where a search over the whole text found a phrase.
struct TextHit {
    const HexagramRow *hexagram = nullptr;
    TextPart part = TextPart::Judgement; // a hit in the 彖 or 大象 counts as the judgement
    int line = 0;                        // [1, 6] for a line, 0 otherwise
};

// Every place whose text (the hexagram's full name such as 天泽履, which holds
// the short one, or its 卦辞, 彖, 大象, 爻辞 or 小象) contains `phrase`, in the
// order of the text, one hit per place; none for an empty phrase.
std::vector<TextHit> searchZhouyi(std::u16string_view phrase);

} // namespace lotgrid
