#pragma once
// The rules the hexagram table follows, written as rules: the trigram of three
// lines, Jing Fang's najia branches and his eight-palace generations. The
// program charts from the constant table in chart/hexagrams.h; these functions
// exist so that the table can be proved equal to the tradition it comes from.

#include "chart/hexagrams.h"

#include <array>
#include <optional>
#include <string>

namespace lotgrid::rules {

// Lines of each trigram, bottom first, in Trigram order.
inline constexpr std::array<std::u16string_view, 8> TrigramLines{u"111", u"110", u"101", u"100",
                                                                 u"011", u"010", u"001", u"000"};

// Image of each trigram in hexagram names: 天 泽 火 雷 风 水 山 地.
inline constexpr std::u16string_view TrigramImages = u"天泽火雷风水山地";

constexpr std::optional<Trigram> trigramOf(std::u16string_view lines)
{
    for (std::size_t i = 0; i < TrigramLines.size(); ++i)
        if (TrigramLines[i] == lines)
            return static_cast<Trigram>(i);
    return std::nullopt;
}

struct NajiaRow {
    std::array<Branch, 3> inner; // lines 1-3 when the trigram is below
    std::array<Branch, 3> outer; // lines 4-6 when the trigram is above
};

// Najia branches of the eight trigrams (Jing Fang): yang trigrams run forward
// from 子 (乾, 震), 寅 (坎), 辰 (艮); yin trigrams backward from 未 (坤), 丑 (巽), 卯 (离), 巳 (兑).
// clang-format off
inline constexpr std::array<NajiaRow, 8> Najia{{
    /* 乾 */ {{Branch::Zi,   Branch::Yin,  Branch::Chen}, {Branch::Wu,   Branch::Shen, Branch::Xu}},
    /* 兑 */ {{Branch::Si,   Branch::Mao,  Branch::Chou}, {Branch::Hai,  Branch::You,  Branch::Wei}},
    /* 离 */ {{Branch::Mao,  Branch::Chou, Branch::Hai},  {Branch::You,  Branch::Wei,  Branch::Si}},
    /* 震 */ {{Branch::Zi,   Branch::Yin,  Branch::Chen}, {Branch::Wu,   Branch::Shen, Branch::Xu}},
    /* 巽 */ {{Branch::Chou, Branch::Hai,  Branch::You},  {Branch::Wei,  Branch::Si,   Branch::Mao}},
    /* 坎 */ {{Branch::Yin,  Branch::Chen, Branch::Wu},   {Branch::Shen, Branch::Xu,   Branch::Zi}},
    /* 艮 */ {{Branch::Chen, Branch::Wu,   Branch::Shen}, {Branch::Xu,   Branch::Zi,   Branch::Yin}},
    /* 坤 */ {{Branch::Wei,  Branch::Si,   Branch::Mao},  {Branch::Chou, Branch::Hai,  Branch::You}},
}};
// clang-format on

// The branches follow each other two steps apart, forward for yang trigrams and backward for yin ones.
static_assert([] {
    for (const NajiaRow &r : Najia) {
        const int step = (static_cast<int>(r.inner[1]) - static_cast<int>(r.inner[0]) + 12) % 12;
        if (step != 2 && step != 10)
            return false;
        const std::array<Branch, 6> all{r.inner[0], r.inner[1], r.inner[2], r.outer[0], r.outer[1], r.outer[2]};
        for (std::size_t i = 1; i < all.size(); ++i)
            if ((static_cast<int>(all[i]) - static_cast<int>(all[i - 1]) + 12) % 12 != step)
                return false;
    }
    return true;
}());

constexpr Branch najiaBranch(Trigram lower, Trigram upper, int line)
{
    return line <= 3 ? Najia[static_cast<int>(lower)].inner[line - 1] : Najia[static_cast<int>(upper)].outer[line - 4];
}

struct PalacePlace {
    Trigram palace;
    Soul soul;
    int world;
};

constexpr char16_t flipped(char16_t c)
{
    return c == u'1' ? u'0' : u'1';
}

// Place of a LineKey in the eight palaces: the doubled trigram (world 6), five
// generations flipping lines 1..k cumulatively (world k), the wandering soul
// (fifth generation with line 4 flipped back, world 4) and the returning soul
// (wandering soul with the palace trigram restored below, world 3).
inline std::optional<PalacePlace> palaceOf(std::u16string_view key)
{
    for (std::size_t t = 0; t < TrigramLines.size(); ++t) {
        const auto palace = static_cast<Trigram>(t);
        std::u16string k = std::u16string(TrigramLines[t]) + std::u16string(TrigramLines[t]);
        if (k == key)
            return PalacePlace{palace, Soul::None, 6};
        for (int g = 1; g <= 5; ++g) {
            k[g - 1] = flipped(k[g - 1]);
            if (k == key)
                return PalacePlace{palace, Soul::None, g};
        }
        k[3] = flipped(k[3]);
        if (k == key)
            return PalacePlace{palace, Soul::Wandering, 4};
        k.replace(0, 3, TrigramLines[t]);
        if (k == key)
            return PalacePlace{palace, Soul::Returning, 3};
    }
    return std::nullopt;
}

constexpr int responseOf(int world)
{
    return world <= 3 ? world + 3 : world - 3;
}

// The display text the naming rule gives: upper image + lower image + name for
// mixed trigrams, trigram + "为" + image for doubled ones; then the soul and the palace.
inline std::u16string textOf(std::u16string_view ownName, Trigram lower, Trigram upper, PalacePlace place)
{
    std::u16string text;
    if (lower == upper) {
        text += TrigramNames[static_cast<int>(upper)];
        text += u'为';
        text += TrigramImages[static_cast<int>(upper)];
    } else {
        text += TrigramImages[static_cast<int>(upper)];
        text += TrigramImages[static_cast<int>(lower)];
        text += ownName;
    }
    if (place.soul == Soul::Wandering)
        text += u" 游魂";
    else if (place.soul == Soul::Returning)
        text += u" 归魂";
    text += u' ';
    text += TrigramNames[static_cast<int>(place.palace)];
    text += u'宫';
    return text;
}

} // namespace lotgrid::rules
