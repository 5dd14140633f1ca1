#include "chart/hexagrams.h"

#include <algorithm>

namespace lotgrid {

const HexagramRow *FindHexagramByKey(std::u16string_view key)
{
    const auto it = std::ranges::find(HexagramTable, key, &HexagramRow::key);
    return it == HexagramTable.end() ? nullptr : &*it;
}

const HexagramRow *FindHexagramByText(std::u16string_view text)
{
    const auto it = std::ranges::find(HexagramTable, text, &HexagramRow::text);
    return it == HexagramTable.end() ? nullptr : &*it;
}

std::u16string_view lineName(int line, char16_t value)
{
    // clang-format off
    static constexpr std::array<std::array<std::u16string_view, 2>, 6> names{{
        {u"初九", u"初六"}, {u"九二", u"六二"}, {u"九三", u"六三"},
        {u"九四", u"六四"}, {u"九五", u"六五"}, {u"上九", u"上六"},
    }};
    // clang-format on
    if (line < 1 || line > 6 || (value != u'1' && value != u'0'))
        return {};
    return names[line - 1][value == u'1' ? 0 : 1];
}

std::u16string branchElementLabel(Branch branch)
{
    std::u16string label(branchName(branch));
    label += elementName(branchElement(branch));
    return label;
}

std::u16string relativeLabel(Relative relative, Branch branch)
{
    return std::u16string(relativeName(relative)) + branchElementLabel(branch);
}

std::u16string branchLabel(const HexagramRow &row, int line)
{
    return branchElementLabel(row.branches[line - 1]);
}

std::u16string lineLabel(const HexagramRow &row, int line)
{
    const Branch b = row.branches[line - 1];
    return relativeLabel(relativeOf(palaceElement(row.palace), branchElement(b)), b);
}

} // namespace lotgrid
