#pragma once
// The 64 hexagrams in the received order (乾 first, 未济 last), each with its
// display text and the chart that is a constant of the hexagram: palace, soul
// status, world and response lines and the najia branch of every line.
//
// Palaces follow Jing Fang's eight-palace generations and the branches his
// najia system; chart/rules.h holds those rules and a test proves this table
// equal to them for every row.

#include "chart/relatives.h"

#include <array>
#include <string>
#include <string_view>

namespace lotgrid {

// Trigrams by their lines, bottom first: 乾 111, 兑 110, 离 101, 震 100, 巽 011, 坎 010, 艮 001, 坤 000.
enum class Trigram : std::uint8_t { Qian, Dui, Li, Zhen, Xun, Kan, Gen, Kun };

enum class Soul : std::uint8_t { None, Wandering, Returning }; // —, 游魂, 归魂

struct HexagramRow {
    std::u16string_view key;  // LineKey: line 1 (bottom) first, "1" yang, "0" yin
    std::u16string_view text; // name, soul status, palace: "火天大有 归魂 乾宫"
    Trigram palace;
    Soul soul;
    int world;                      // [1, 6]
    int response;                   // [1, 6], three lines from the world line
    std::array<Branch, 6> branches; // najia branch of lines 1..6
};

inline constexpr std::u16string_view TrigramNames = u"乾兑离震巽坎艮坤";

// Palace element: 乾 金, 兑 金, 离 火, 震 木, 巽 木, 坎 水, 艮 土, 坤 土.
inline constexpr std::array<Element, 8> PalaceElements{Element::Metal, Element::Metal, Element::Fire,  Element::Wood,
                                                       Element::Wood,  Element::Water, Element::Earth, Element::Earth};

constexpr Element palaceElement(Trigram t)
{
    return PalaceElements[static_cast<int>(t)];
}

namespace hexagram_detail {
using enum Branch;
// clang-format off
inline constexpr std::array<HexagramRow, 64> Rows{{
    {u"111111", u"乾为天 乾宫", Trigram::Qian, Soul::None, 6, 3, {Zi, Yin, Chen, Wu, Shen, Xu}},
    {u"000000", u"坤为地 坤宫", Trigram::Kun, Soul::None, 6, 3, {Wei, Si, Mao, Chou, Hai, You}},
    {u"100010", u"水雷屯 坎宫", Trigram::Kan, Soul::None, 2, 5, {Zi, Yin, Chen, Shen, Xu, Zi}},
    {u"010001", u"山水蒙 离宫", Trigram::Li, Soul::None, 4, 1, {Yin, Chen, Wu, Xu, Zi, Yin}},
    {u"111010", u"水天需 游魂 坤宫", Trigram::Kun, Soul::Wandering, 4, 1, {Zi, Yin, Chen, Shen, Xu, Zi}},
    {u"010111", u"天水讼 游魂 离宫", Trigram::Li, Soul::Wandering, 4, 1, {Yin, Chen, Wu, Wu, Shen, Xu}},
    {u"010000", u"地水师 归魂 坎宫", Trigram::Kan, Soul::Returning, 3, 6, {Yin, Chen, Wu, Chou, Hai, You}},
    {u"000010", u"水地比 归魂 坤宫", Trigram::Kun, Soul::Returning, 3, 6, {Wei, Si, Mao, Shen, Xu, Zi}},
    {u"111011", u"风天小畜 巽宫", Trigram::Xun, Soul::None, 1, 4, {Zi, Yin, Chen, Wei, Si, Mao}},
    {u"110111", u"天泽履 艮宫", Trigram::Gen, Soul::None, 5, 2, {Si, Mao, Chou, Wu, Shen, Xu}},
    {u"111000", u"地天泰 坤宫", Trigram::Kun, Soul::None, 3, 6, {Zi, Yin, Chen, Chou, Hai, You}},
    {u"000111", u"天地否 乾宫", Trigram::Qian, Soul::None, 3, 6, {Wei, Si, Mao, Wu, Shen, Xu}},
    {u"101111", u"天火同人 归魂 离宫", Trigram::Li, Soul::Returning, 3, 6, {Mao, Chou, Hai, Wu, Shen, Xu}},
    {u"111101", u"火天大有 归魂 乾宫", Trigram::Qian, Soul::Returning, 3, 6, {Zi, Yin, Chen, You, Wei, Si}},
    {u"001000", u"地山谦 兑宫", Trigram::Dui, Soul::None, 5, 2, {Chen, Wu, Shen, Chou, Hai, You}},
    {u"000100", u"雷地豫 震宫", Trigram::Zhen, Soul::None, 1, 4, {Wei, Si, Mao, Wu, Shen, Xu}},
    {u"100110", u"泽雷随 归魂 震宫", Trigram::Zhen, Soul::Returning, 3, 6, {Zi, Yin, Chen, Hai, You, Wei}},
    {u"011001", u"山风蛊 归魂 巽宫", Trigram::Xun, Soul::Returning, 3, 6, {Chou, Hai, You, Xu, Zi, Yin}},
    {u"110000", u"地泽临 坤宫", Trigram::Kun, Soul::None, 2, 5, {Si, Mao, Chou, Chou, Hai, You}},
    {u"000011", u"风地观 乾宫", Trigram::Qian, Soul::None, 4, 1, {Wei, Si, Mao, Wei, Si, Mao}},
    {u"100101", u"火雷噬嗑 巽宫", Trigram::Xun, Soul::None, 5, 2, {Zi, Yin, Chen, You, Wei, Si}},
    {u"101001", u"山火贲 艮宫", Trigram::Gen, Soul::None, 1, 4, {Mao, Chou, Hai, Xu, Zi, Yin}},
    {u"000001", u"山地剥 乾宫", Trigram::Qian, Soul::None, 5, 2, {Wei, Si, Mao, Xu, Zi, Yin}},
    {u"100000", u"地雷复 坤宫", Trigram::Kun, Soul::None, 1, 4, {Zi, Yin, Chen, Chou, Hai, You}},
    {u"100111", u"天雷无妄 巽宫", Trigram::Xun, Soul::None, 4, 1, {Zi, Yin, Chen, Wu, Shen, Xu}},
    {u"111001", u"山天大畜 艮宫", Trigram::Gen, Soul::None, 2, 5, {Zi, Yin, Chen, Xu, Zi, Yin}},
    {u"100001", u"山雷颐 游魂 巽宫", Trigram::Xun, Soul::Wandering, 4, 1, {Zi, Yin, Chen, Xu, Zi, Yin}},
    {u"011110", u"泽风大过 游魂 震宫", Trigram::Zhen, Soul::Wandering, 4, 1, {Chou, Hai, You, Hai, You, Wei}},
    {u"010010", u"坎为水 坎宫", Trigram::Kan, Soul::None, 6, 3, {Yin, Chen, Wu, Shen, Xu, Zi}},
    {u"101101", u"离为火 离宫", Trigram::Li, Soul::None, 6, 3, {Mao, Chou, Hai, You, Wei, Si}},
    {u"001110", u"泽山咸 兑宫", Trigram::Dui, Soul::None, 3, 6, {Chen, Wu, Shen, Hai, You, Wei}},
    {u"011100", u"雷风恒 震宫", Trigram::Zhen, Soul::None, 3, 6, {Chou, Hai, You, Wu, Shen, Xu}},
    {u"001111", u"天山遁 乾宫", Trigram::Qian, Soul::None, 2, 5, {Chen, Wu, Shen, Wu, Shen, Xu}},
    {u"111100", u"雷天大壮 坤宫", Trigram::Kun, Soul::None, 4, 1, {Zi, Yin, Chen, Wu, Shen, Xu}},
    {u"000101", u"火地晋 游魂 乾宫", Trigram::Qian, Soul::Wandering, 4, 1, {Wei, Si, Mao, You, Wei, Si}},
    {u"101000", u"地火明夷 游魂 坎宫", Trigram::Kan, Soul::Wandering, 4, 1, {Mao, Chou, Hai, Chou, Hai, You}},
    {u"101011", u"风火家人 巽宫", Trigram::Xun, Soul::None, 2, 5, {Mao, Chou, Hai, Wei, Si, Mao}},
    {u"110101", u"火泽睽 艮宫", Trigram::Gen, Soul::None, 4, 1, {Si, Mao, Chou, You, Wei, Si}},
    {u"001010", u"水山蹇 兑宫", Trigram::Dui, Soul::None, 4, 1, {Chen, Wu, Shen, Shen, Xu, Zi}},
    {u"010100", u"雷水解 震宫", Trigram::Zhen, Soul::None, 2, 5, {Yin, Chen, Wu, Wu, Shen, Xu}},
    {u"110001", u"山泽损 艮宫", Trigram::Gen, Soul::None, 3, 6, {Si, Mao, Chou, Xu, Zi, Yin}},
    {u"100011", u"风雷益 巽宫", Trigram::Xun, Soul::None, 3, 6, {Zi, Yin, Chen, Wei, Si, Mao}},
    {u"111110", u"泽天夬 坤宫", Trigram::Kun, Soul::None, 5, 2, {Zi, Yin, Chen, Hai, You, Wei}},
    {u"011111", u"天风姤 乾宫", Trigram::Qian, Soul::None, 1, 4, {Chou, Hai, You, Wu, Shen, Xu}},
    {u"000110", u"泽地萃 兑宫", Trigram::Dui, Soul::None, 2, 5, {Wei, Si, Mao, Hai, You, Wei}},
    {u"011000", u"地风升 震宫", Trigram::Zhen, Soul::None, 4, 1, {Chou, Hai, You, Chou, Hai, You}},
    {u"010110", u"泽水困 兑宫", Trigram::Dui, Soul::None, 1, 4, {Yin, Chen, Wu, Hai, You, Wei}},
    {u"011010", u"水风井 震宫", Trigram::Zhen, Soul::None, 5, 2, {Chou, Hai, You, Shen, Xu, Zi}},
    {u"101110", u"泽火革 坎宫", Trigram::Kan, Soul::None, 4, 1, {Mao, Chou, Hai, Hai, You, Wei}},
    {u"011101", u"火风鼎 离宫", Trigram::Li, Soul::None, 2, 5, {Chou, Hai, You, You, Wei, Si}},
    {u"100100", u"震为雷 震宫", Trigram::Zhen, Soul::None, 6, 3, {Zi, Yin, Chen, Wu, Shen, Xu}},
    {u"001001", u"艮为山 艮宫", Trigram::Gen, Soul::None, 6, 3, {Chen, Wu, Shen, Xu, Zi, Yin}},
    {u"001011", u"风山渐 归魂 艮宫", Trigram::Gen, Soul::Returning, 3, 6, {Chen, Wu, Shen, Wei, Si, Mao}},
    {u"110100", u"雷泽归妹 归魂 兑宫", Trigram::Dui, Soul::Returning, 3, 6, {Si, Mao, Chou, Wu, Shen, Xu}},
    {u"101100", u"雷火丰 坎宫", Trigram::Kan, Soul::None, 5, 2, {Mao, Chou, Hai, Wu, Shen, Xu}},
    {u"001101", u"火山旅 离宫", Trigram::Li, Soul::None, 1, 4, {Chen, Wu, Shen, You, Wei, Si}},
    {u"011011", u"巽为风 巽宫", Trigram::Xun, Soul::None, 6, 3, {Chou, Hai, You, Wei, Si, Mao}},
    {u"110110", u"兑为泽 兑宫", Trigram::Dui, Soul::None, 6, 3, {Si, Mao, Chou, Hai, You, Wei}},
    {u"010011", u"风水涣 离宫", Trigram::Li, Soul::None, 5, 2, {Yin, Chen, Wu, Wei, Si, Mao}},
    {u"110010", u"水泽节 坎宫", Trigram::Kan, Soul::None, 1, 4, {Si, Mao, Chou, Shen, Xu, Zi}},
    {u"110011", u"风泽中孚 游魂 艮宫", Trigram::Gen, Soul::Wandering, 4, 1, {Si, Mao, Chou, Wei, Si, Mao}},
    {u"001100", u"雷山小过 游魂 兑宫", Trigram::Dui, Soul::Wandering, 4, 1, {Chen, Wu, Shen, Wu, Shen, Xu}},
    {u"101010", u"水火既济 坎宫", Trigram::Kan, Soul::None, 3, 6, {Mao, Chou, Hai, Shen, Xu, Zi}},
    {u"010101", u"火水未济 离宫", Trigram::Li, Soul::None, 3, 6, {Yin, Chen, Wu, You, Wei, Si}},
}};
// clang-format on
} // namespace hexagram_detail

inline constexpr const std::array<HexagramRow, 64> &HexagramTable = hexagram_detail::Rows;

// The row whose LineKey equals `key` exactly, or nullptr. Only the 64 strings
// of six "0"/"1" characters are keys.
const HexagramRow *FindHexagramByKey(std::u16string_view key);

// The row whose display text equals `text` exactly, or nullptr.
const HexagramRow *FindHexagramByText(std::u16string_view text);

// Line name (爻名) of line 1..6 for value '1' or '0': "初九", "上六", ...;
// empty for anything else.
std::u16string_view lineName(int line, char16_t value);

// Value of a line in the changed hexagram: a moving line flips, any other keeps its value.
constexpr char16_t changedValue(char16_t value, bool moving)
{
    if (!moving)
        return value;
    return value == u'1' ? u'0' : value == u'0' ? u'1' : value;
}

// "妻财子水", "戌土" and the like.
std::u16string relativeLabel(Relative relative, Branch branch);
std::u16string branchElementLabel(Branch branch);

// The hexagram's name alone, the text up to its first space: "火天大有".
constexpr std::u16string_view hexagramName(const HexagramRow &row)
{
    return row.text.substr(0, row.text.find(u' '));
}

// Branch and its element of line 1..6, "戌土".
std::u16string branchLabel(const HexagramRow &row, int line);

// Relative, branch and element of line 1..6 against the row's own palace, "父母戌土".
std::u16string lineLabel(const HexagramRow &row, int line);

} // namespace lotgrid
