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

// The twelve stages (十二长生) an element passes through, one branch each, in
// order forward along the branches: 长生 沐浴 冠带 临官 帝旺 衰 病 死 墓 绝 胎 养.
enum class Stage : std::uint8_t {
    Birth,
    Bath,
    Cap,
    Office,
    Peak,
    Decline,
    Sickness,
    Death,
    Tomb,
    Extinction,
    Womb,
    Nurture
};

// The branch where each element is born (长生), 金 木 水 火 土: 巳 亥 申 寅 申.
// 土 follows 水 (水土同宫), so both lie in the tomb at 辰 and are cut off at 巳.
inline constexpr std::array<Branch, 5> BirthBranches{Branch::Si, Branch::Hai, Branch::Shen, Branch::Yin, Branch::Shen};

constexpr Branch stageBranch(Element e, Stage s)
{
    return branchAt(static_cast<int>(BirthBranches[static_cast<int>(e)]) + static_cast<int>(s));
}

// Three harmonies (三合): 申子辰 水, 寅午戌 火, 巳酉丑 金, 亥卯未 木, each group the
// 长生, 帝旺 and 墓 of its element, so four branches apart; indexed by place mod 4.
inline constexpr std::array<Element, 4> HarmonyElements{Element::Water, Element::Metal, Element::Fire, Element::Wood};

constexpr Element harmonyElement(Branch b)
{
    return HarmonyElements[static_cast<int>(b) % 4];
}

static_assert([] {
    for (int i = 0; i < 12; ++i) {
        const Branch b = branchAt(i);
        const Element e = harmonyElement(b);
        if (b != stageBranch(e, Stage::Birth) && b != stageBranch(e, Stage::Peak) && b != stageBranch(e, Stage::Tomb))
            return false;
    }
    return stageBranch(Element::Wood, Stage::Tomb) == Branch::Wei
           && stageBranch(Element::Earth, Stage::Extinction) == Branch::Si;
}());

} // namespace lotgrid
