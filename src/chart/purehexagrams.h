#pragma once
// The eight pure hexagrams (八纯卦) that head the palaces, as the hidden-spirit
// query shows them: the hexagram's name and each line as relative + branch +
// element against its own palace element, the hidden spirits (伏神) the user
// looks up when a chart lacks the use god. The texts come from the chart of the
// palace's pure hexagram in the hexagram table, as the chart's own 伏神 do.

#include "chart/hexagrams.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace lotgrid {

// The palace key of a hexagram label: its last two characters, or the whole
// label when it is shorter ("火天大有 归魂 乾宫" -> "乾宫").
constexpr std::u16string_view palaceKeyOf(std::u16string_view label)
{
    return label.size() <= 2 ? label : label.substr(label.size() - 2);
}

// The palace whose key ("乾宫" .. "坤宫") equals the label's key exactly, or none.
constexpr std::optional<Trigram> palaceOfLabel(std::u16string_view label)
{
    const std::u16string_view key = palaceKeyOf(label);
    if (key.size() != 2 || key[1] != u'宫')
        return std::nullopt;
    const std::size_t t = TrigramNames.find(key[0]);
    if (t == std::u16string_view::npos)
        return std::nullopt;
    return static_cast<Trigram>(t);
}

static_assert(palaceOfLabel(u"地火明夷 游魂 坎宫") == Trigram::Kan);
static_assert(!palaceOfLabel(u"") && !palaceOfLabel(u"宫") && !palaceOfLabel(u"乾宫 "));

struct PureHexagramTexts {
    std::u16string palace;               // "乾宫"
    std::u16string name;                 // "乾为天"
    std::array<std::u16string, 6> lines; // lines 1 (bottom) .. 6: "子孙子水"
};

// The pure hexagram that heads `palace`.
PureHexagramTexts pureHexagramTexts(Trigram palace);

// The pure hexagram of the palace that ends `label` (its key equal to the
// label's last two characters exactly), or none.
std::optional<PureHexagramTexts> findPureHexagram(std::u16string_view label);

} // namespace lotgrid
