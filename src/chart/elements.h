#pragma once
// Stems, branches, the five elements and the six relatives, with the
// generating and overcoming cycles the relatives are reckoned from.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace lotgrid {

enum class Element : std::uint8_t { Metal, Wood, Water, Fire, Earth }; // 金 木 水 火 土

enum class Branch : std::uint8_t { Zi, Chou, Yin, Mao, Chen, Si, Wu, Wei, Shen, You, Xu, Hai };

enum class Relative : std::uint8_t { Parents, Siblings, Officials, Wealth, Offspring }; // 父母 兄弟 官鬼 妻财 子孙

inline constexpr std::u16string_view StemNames = u"甲乙丙丁戊己庚辛壬癸";
inline constexpr std::u16string_view BranchNames = u"子丑寅卯辰巳午未申酉戌亥";
inline constexpr std::u16string_view ElementNames = u"金木水火土";

inline constexpr std::array<std::u16string_view, 5> RelativeNames{u"父母", u"兄弟", u"官鬼", u"妻财", u"子孙"};

constexpr std::u16string_view branchName(Branch b)
{
    return BranchNames.substr(static_cast<int>(b), 1);
}
constexpr std::u16string_view elementName(Element e)
{
    return ElementNames.substr(static_cast<int>(e), 1);
}
constexpr std::u16string_view relativeName(Relative r)
{
    return RelativeNames[static_cast<int>(r)];
}

// Element of each branch, 子 first: 水 土 木 木 土 火 火 土 金 金 土 水.
inline constexpr std::array<Element, 12> BranchElements{Element::Water, Element::Earth, Element::Wood,  Element::Wood,
                                                        Element::Earth, Element::Fire,  Element::Fire,  Element::Earth,
                                                        Element::Metal, Element::Metal, Element::Earth, Element::Water};

constexpr Element branchElement(Branch b)
{
    return BranchElements[static_cast<int>(b)];
}

// One element character (金 木 水 火 土) to its element; anything else is none.
constexpr std::optional<Element> elementFromText(std::u16string_view text)
{
    if (text.size() != 1)
        return std::nullopt;
    const auto at = ElementNames.find(text.front());
    if (at == std::u16string_view::npos)
        return std::nullopt;
    return static_cast<Element>(at);
}

// Generating cycle 木→火→土→金→水→木; `generates(a, b)` when b follows a.
constexpr bool generates(Element a, Element b)
{
    constexpr std::array<Element, 5> cycle{Element::Wood, Element::Fire, Element::Earth, Element::Metal,
                                           Element::Water};
    for (std::size_t i = 0; i < cycle.size(); ++i)
        if (cycle[i] == a)
            return cycle[(i + 1) % cycle.size()] == b;
    return false;
}

// Overcoming cycle 木→土→水→火→金→木; `overcomes(a, b)` when a overcomes b.
constexpr bool overcomes(Element a, Element b)
{
    constexpr std::array<Element, 5> cycle{Element::Wood, Element::Earth, Element::Water, Element::Fire,
                                           Element::Metal};
    for (std::size_t i = 0; i < cycle.size(); ++i)
        if (cycle[i] == a)
            return cycle[(i + 1) % cycle.size()] == b;
    return false;
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
