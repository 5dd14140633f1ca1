#pragma once
// Stems, branches and the five elements: their names, the element of each
// branch, the generating and overcoming cycles, and the clashes (六冲) and
// combinations (六合) of branches. The one place for these names and rules.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace lotgrid {

enum class Element : std::uint8_t { Metal, Wood, Water, Fire, Earth }; // 金 木 水 火 土

enum class Branch : std::uint8_t { Zi, Chou, Yin, Mao, Chen, Si, Wu, Wei, Shen, You, Xu, Hai };

inline constexpr std::u16string_view StemNames = u"甲乙丙丁戊己庚辛壬癸";
inline constexpr std::u16string_view BranchNames = u"子丑寅卯辰巳午未申酉戌亥";
inline constexpr std::u16string_view ElementNames = u"金木水火土";

constexpr std::u16string_view branchName(Branch b)
{
    return BranchNames.substr(static_cast<int>(b), 1);
}
constexpr std::u16string_view elementName(Element e)
{
    return ElementNames.substr(static_cast<int>(e), 1);
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

// Six clashes (六冲): branches six apart, 子午 丑未 寅申 卯酉 辰戌 巳亥.
constexpr bool clashes(Branch a, Branch b)
{
    return (static_cast<int>(a) + 12 - static_cast<int>(b)) % 12 == 6;
}

// Six combinations (六合): 子丑 寅亥 卯戌 辰酉 巳申 午未, the pairs whose places sum to 1 or 13.
constexpr bool combines(Branch a, Branch b)
{
    return (static_cast<int>(a) + static_cast<int>(b)) % 12 == 1;
}

constexpr Branch branchAt(int index)
{
    return static_cast<Branch>(((index % 12) + 12) % 12);
}

} // namespace lotgrid
