#include "chart/castdraw.h"

#include <algorithm>

namespace lotgrid {

namespace {

// Bit numbers (d1..d18) of the four pattern characters of lines 1..6. Bits
// d9..d12 are drawn but enter no pattern.
// clang-format off
constexpr std::array<std::array<int, 4>, 6> PatternBits{{
    {1, 13, 7,  1},
    {2, 14, 8,  7},
    {3, 15, 7,  5},
    {4, 16, 8, 15},
    {5, 17, 8, 13},
    {6, 18, 7,  6},
}};
// clang-format on

constexpr bool leadsWithOwnBit()
{
    for (int n = 1; n <= 6; ++n)
        if (PatternBits[n - 1][0] != n)
            return false;
    return true;
}
static_assert(leadsWithOwnBit(), "a line's pattern starts with its own value");
static_assert(std::ranges::all_of(PatternBits, [](const auto &row) {
    return std::ranges::all_of(row, [](int bit) { return bit >= 1 && bit <= CastBitCount; });
}));

} // namespace

int castBit(double r)
{
    return r >= 0.5 ? 1 : 0;
}

CastBits drawCastBits(const std::function<double()> &uniform)
{
    CastBits bits{};
    for (int &bit : bits)
        bit = castBit(uniform());
    return bits;
}

Six<std::u16string> castPatterns(const CastBits &bits)
{
    Six<std::u16string> patterns;
    for (int n = 1; n <= 6; ++n)
        for (int bit : PatternBits[n - 1])
            patterns(n) += bits[bit - 1] ? u'1' : u'0';
    return patterns;
}

std::optional<MovingLine> findMovingLine(const Six<std::u16string> &patterns)
{
    for (int n = 1; n <= 6; ++n) {
        if (patterns(n) == u"1111")
            return MovingLine{n, true};
        if (patterns(n) == u"0000")
            return MovingLine{n, false};
    }
    return std::nullopt;
}

} // namespace lotgrid
