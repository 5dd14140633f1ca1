#pragma once
// The stems of najia (纳甲的天干): besides its branches every trigram takes
// stems, 乾 甲 below and 壬 above, 坤 乙 below and 癸 above, and the six
// children one stem each, 震 庚, 巽 辛, 坎 戊, 离 己, 艮 丙, 兑 丁. A line shown
// with its stem reads "己卯木".

#include "chart/hexagrams.h"
#include "chart/rules.h"
#include "core/sexagenary.h"

#include <array>
#include <string>

namespace lotgrid {

struct NajiaStemRow {
    int inner; // 0 = 甲 .. 9 = 癸, lines 1-3 when the trigram is below
    int outer; // lines 4-6 when the trigram is above
};

// In Trigram order: 乾 兑 离 震 巽 坎 艮 坤.
inline constexpr std::array<NajiaStemRow, 8> NajiaStems{
    {{0, 8}, {3, 3}, {5, 5}, {6, 6}, {7, 7}, {4, 4}, {2, 2}, {1, 9}}};

// A stem joins every branch of its trigram in a pair of the sexagenary cycle.
static_assert([] {
    for (std::size_t t = 0; t < NajiaStems.size(); ++t)
        for (int i = 0; i < 3; ++i)
            if (!sexagenaryOf(NajiaStems[t].inner, rules::Najia[t].inner[i])
                || !sexagenaryOf(NajiaStems[t].outer, rules::Najia[t].outer[i]))
                return false;
    return true;
}());

// The stem (0 = 甲 .. 9 = 癸) of line 1..6 of a hexagram.
constexpr int najiaStem(const HexagramRow &row, int line)
{
    const bool inner = line <= 3;
    const auto trigram = rules::trigramOf(row.key.substr(inner ? 0 : 3, 3));
    const NajiaStemRow &stems = NajiaStems[static_cast<std::size_t>(trigram.value_or(Trigram::Qian))];
    return inner ? stems.inner : stems.outer;
}

// Stem, branch and element of line 1..6: "己卯木".
inline std::u16string stemBranchLabel(const HexagramRow &row, int line)
{
    // Built in one string from its start: one label appended to the other,
    // never one inserted before the other's characters.
    std::u16string label(StemNames.substr(static_cast<std::size_t>(najiaStem(row, line)), 1));
    label += branchLabel(row, line);
    return label;
}

} // namespace lotgrid
