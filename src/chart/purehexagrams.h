#pragma once
// The eight pure hexagrams (八纯卦) that head the palaces, each line written as
// relative + branch + element against its own palace element: the hidden
// spirits (伏神) the user looks up when a chart lacks the use god. Kept as
// constant texts; a test holds every row to the najia branches and relatives
// of the same hexagram in the hexagram table.

#include <array>
#include <string_view>

namespace lotgrid {

struct PureHexagramRow {
    std::u16string_view palace;               // the palace text that ends a hexagram's label: "乾宫"
    std::u16string_view name;                 // "乾为天"
    std::array<std::u16string_view, 6> lines; // lines 1 (bottom) .. 6
};

// In the order the query compares the palace keys.
// clang-format off
inline constexpr std::array<PureHexagramRow, 8> PureHexagramTable{{
    {u"乾宫", u"乾为天", {u"子孙子水", u"妻财寅木", u"父母辰土", u"官鬼午火", u"兄弟申金", u"父母戌土"}},
    {u"坤宫", u"坤为地", {u"兄弟未土", u"父母巳火", u"官鬼卯木", u"兄弟丑土", u"妻财亥水", u"子孙酉金"}},
    {u"兑宫", u"兑为泽", {u"官鬼巳火", u"妻财卯木", u"父母丑土", u"子孙亥水", u"兄弟酉金", u"父母未土"}},
    {u"巽宫", u"巽为风", {u"妻财丑土", u"父母亥水", u"官鬼酉金", u"妻财未土", u"子孙巳火", u"兄弟卯木"}},
    {u"坎宫", u"坎为水", {u"子孙寅木", u"官鬼辰土", u"妻财午火", u"父母申金", u"官鬼戌土", u"兄弟子水"}},
    {u"艮宫", u"艮为山", {u"兄弟辰土", u"父母午火", u"子孙申金", u"兄弟戌土", u"妻财子水", u"官鬼寅木"}},
    {u"震宫", u"震为雷", {u"父母子水", u"兄弟寅木", u"妻财辰土", u"子孙午火", u"官鬼申金", u"妻财戌土"}},
    {u"离宫", u"离为火", {u"父母卯木", u"子孙丑土", u"官鬼亥水", u"妻财酉金", u"子孙未土", u"兄弟巳火"}},
}};
// clang-format on

static_assert([] {
    for (const PureHexagramRow &row : PureHexagramTable) {
        if (row.palace.size() != 2 || row.palace[1] != u'宫' || row.name.size() != 3)
            return false;
        for (std::u16string_view line : row.lines)
            if (line.size() != 4)
                return false;
    }
    return true;
}());

// The palace key of a hexagram label: its last two characters, or the whole
// label when it is shorter ("火天大有 归魂 乾宫" -> "乾宫").
constexpr std::u16string_view palaceKeyOf(std::u16string_view label)
{
    return label.size() <= 2 ? label : label.substr(label.size() - 2);
}

// The pure hexagram of the palace that ends `label`, the first row whose key
// equals the label's last two characters exactly, or nullptr.
constexpr const PureHexagramRow *findPureHexagram(std::u16string_view label)
{
    const std::u16string_view key = palaceKeyOf(label);
    for (const PureHexagramRow &row : PureHexagramTable)
        if (row.palace == key)
            return &row;
    return nullptr;
}

static_assert(findPureHexagram(u"地火明夷 游魂 坎宫") == &PureHexagramTable[4]);
static_assert(findPureHexagram(u"") == nullptr && findPureHexagram(u"宫") == nullptr);

} // namespace lotgrid
