#pragma once
// The draws of an automatic cast. Lines are not cast with coins: each line is
// one random bit, and a four-bit pattern per line, partly shared between lines,
// decides the one moving line (the lowest whose pattern is "1111" or "0000").

#include "core/six.h"

#include <array>
#include <functional>
#include <optional>
#include <string>

namespace lotgrid {

inline constexpr int CastBitCount = 18;

// Bits d1..d18, stored at index 0..17.
using CastBits = std::array<int, CastBitCount>;

// One bit from one uniform value r in [0, 1): the integer part of 2r, so 1
// when r >= 0.5. A value outside [0, 1) still gives a bit (0 below, 1 above).
int castBit(double r);

// Draws d1..d18 in order from `uniform`.
CastBits drawCastBits(const std::function<double()> &uniform);

// Pattern TZDn of each line: four characters "0"/"1" made of the bits the
// pattern table names; the first is the line's own bit, its cast value.
Six<std::u16string> castPatterns(const CastBits &bits);

struct MovingLine {
    int line = 0;         // 1..6
    bool oldYang = false; // "1111": old yang (太阳, box co); "0000": old yin (太阴, box cx)
};

// The lowest line whose pattern is "1111" or "0000"; lines above it are not looked at.
std::optional<MovingLine> findMovingLine(const Six<std::u16string> &patterns);

} // namespace lotgrid
