#pragma once
// The sexagenary cycle (六十甲子): sixty stem-branch pairs, 甲子 first, each
// stem paired with the branches of its own parity.

#include "core/elements.h"

#include <array>
#include <optional>
#include <string>

namespace lotgrid {

// A place in the cycle, 0 = 甲子 .. 59 = 癸亥.
struct Sexagenary {
    int index = 0;

    constexpr int stem() const { return index % 10; }
    constexpr Branch branch() const { return static_cast<Branch>(index % 12); }
    constexpr bool operator==(const Sexagenary &) const = default;
};

// The pair of a stem (0 = 甲 .. 9 = 癸) and a branch, when they share their parity.
constexpr std::optional<Sexagenary> sexagenaryOf(int stem, Branch branch)
{
    const int b = static_cast<int>(branch);
    if (stem < 0 || stem > 9 || stem % 2 != b % 2)
        return std::nullopt;
    // The index i with i = stem (mod 10) and i = b (mod 12).
    for (int i = stem; i < 60; i += 10)
        if (i % 12 == b)
            return Sexagenary{i};
    return std::nullopt;
}

constexpr Sexagenary sexagenaryAt(long long index)
{
    return Sexagenary{static_cast<int>(((index % 60) + 60) % 60)};
}

// The two void branches (旬空) of a day: the branches left over by the ten days
// of its decade (旬), the two after the one paired with its 癸. 甲子旬 → 戌亥.
constexpr std::array<Branch, 2> voidBranches(Sexagenary day)
{
    const int first = day.index - day.stem(); // the 甲 day that opens the decade
    return {branchAt(first + 10), branchAt(first + 11)};
}

// "甲子".
inline std::u16string sexagenaryName(Sexagenary s)
{
    std::u16string name;
    name += StemNames[static_cast<std::size_t>(s.stem())];
    name += BranchNames[static_cast<std::size_t>(s.branch())];
    return name;
}

} // namespace lotgrid
