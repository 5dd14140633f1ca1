#pragma once
// The six relatives (六亲) of a line: how its element stands to the element of
// the hexagram's palace.

#include "core/elements.h"

#include <array>
#include <string_view>

namespace lotgrid {

enum class Relative : std::uint8_t { Parents, Siblings, Officials, Wealth, Offspring }; // 父母 兄弟 官鬼 妻财 子孙

inline constexpr std::array<std::u16string_view, 5> RelativeNames{u"父母", u"兄弟", u"官鬼", u"妻财", u"子孙"};

constexpr std::u16string_view relativeName(Relative r)
{
    return RelativeNames[static_cast<int>(r)];
}

// The relative of a line with element `line` in a palace of element `palace`, by the cycles.
constexpr Relative relativeByCycles(Element palace, Element line)
{
    if (palace == line)
        return Relative::Siblings;
    if (generates(palace, line))
        return Relative::Offspring;
    if (generates(line, palace))
        return Relative::Parents;
    if (overcomes(palace, line))
        return Relative::Wealth;
    return Relative::Officials;
}

// The same relation written out, palace element by row, line element by column
// (金 木 水 火 土 in both). Lookups use this table; a test holds it to the cycles.
// clang-format off
inline constexpr std::array<std::array<Relative, 5>, 5> RelativeTable{{
    //              金                   木                  水                    火                   土
    /* 金 */ {{Relative::Siblings,  Relative::Wealth,    Relative::Offspring, Relative::Officials, Relative::Parents}},
    /* 木 */ {{Relative::Officials, Relative::Siblings,  Relative::Parents,   Relative::Offspring, Relative::Wealth}},
    /* 水 */ {{Relative::Parents,   Relative::Offspring, Relative::Siblings,  Relative::Wealth,    Relative::Officials}},
    /* 火 */ {{Relative::Wealth,    Relative::Parents,   Relative::Officials, Relative::Siblings,  Relative::Offspring}},
    /* 土 */ {{Relative::Offspring, Relative::Officials, Relative::Wealth,    Relative::Parents,   Relative::Siblings}},
}};
// clang-format on

constexpr Relative relativeOf(Element palace, Element line)
{
    return RelativeTable[static_cast<int>(palace)][static_cast<int>(line)];
}

static_assert(relativeOf(Element::Metal, Element::Earth) == relativeByCycles(Element::Metal, Element::Earth));

} // namespace lotgrid
