#pragma once
// The Chart value: everything the program shows of one cast, computed from the
// cast alone by one pure function. The window, the copied text, the command
// line and the journal all read it; nothing is parsed back from widget texts.

#include "calendar/boundaries.h"
#include "calendar/pillars.h"
#include "chart/analysis.h"
#include "chart/cast.h"
#include "chart/hexagrams.h"
#include "chart/reading.h"
#include "chart/yingqi.h"
#include "core/sexagenary.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lotgrid {

enum class Role : std::uint8_t { None, World, Response }; // —, 世, 应

constexpr std::u16string_view roleName(Role r)
{
    return r == Role::World ? u"世" : r == Role::Response ? u"应" : u"";
}

// A relative missing from the original hexagram, found on its palace's pure
// hexagram (伏神); the original line at the same place is its 飞神.
struct HiddenSpirit {
    Relative relative;
    Branch branch;
    friend constexpr bool operator==(const HiddenSpirit &, const HiddenSpirit &) = default;
};

struct ChartLine {
    CastLine cast;

    // Of the original hexagram; meaningful when Chart::original is set.
    Branch branch{};
    Element element{};
    Relative relative{};
    Role role = Role::None;
    std::u16string_view spirit;         // 六神, empty without a day stem
    std::optional<HiddenSpirit> hidden; // 伏神 under this line
    bool isVoid = false;                // the branch is void (旬空) on the day
    bool hiddenVoid = false;

    // Of the changed hexagram; meaningful when Chart::changed is set. Its
    // relative is reckoned against the original hexagram's palace.
    Branch changedBranch{};
    Element changedElement{};
    Relative changedRelative{};
    Role changedRole = Role::None;
    bool changedVoid = false;
};

struct Chart {
    CastInput input;
    const HexagramRow *original = nullptr; // when six lines stand
    const HexagramRow *changed = nullptr;  // when six lines stand: the original itself without a moving line
    std::array<ChartLine, 6> lines{};      // line 1 first
    std::optional<Sexagenary> day;         // when the day stem and day build form a day of the cycle
    std::optional<std::array<Branch, 2>> voids;
    std::optional<Pillars> pillars;        // of the moment, when one is set and in range
    std::vector<BoundaryWarning> warnings; // the moment lies near a 节, a 时辰 or the turn of the day
    Analysis analysis;                     // marks, changes, types, 卦身 and 神煞
    Reading reading;                       // use god, 原忌仇, strength, 三合 and 入墓, 互错综
    std::vector<YingqiCandidate> yingqi;   // 应期 of the use god (or the world line), sorted by date

    const ChartLine &line(int n) const { return lines.at(static_cast<std::size_t>(n - 1)); }
    bool hasMovingLine() const;
    Element palaceElement() const;
};

// The chart of the two hexagrams as named (either may be missing): the
// per-line results of each, the changed lines reckoned against the original's palace.
Chart chartOfRows(const HexagramRow *original, const HexagramRow *changed);

// The whole chart of a cast.
Chart chartOf(const CastInput &input);

// The pure hexagram (八纯卦) that heads a palace.
const HexagramRow &pureHexagramOf(Trigram palace);

} // namespace lotgrid
