#pragma once
// The six spirits (六神) run upward from line 1 in the cycle 青龙 朱雀 勾陈 腾蛇
// 白虎 玄武; the day stem fixes the spirit of line 1: 甲乙 青龙, 丙丁 朱雀,
// 戊 勾陈, 己 腾蛇, 庚辛 白虎, 壬癸 玄武.

#include <array>
#include <string_view>

namespace lotgrid {

inline constexpr std::array<std::u16string_view, 6> SpiritCycle{u"青龙", u"朱雀", u"勾陈", u"腾蛇", u"白虎", u"玄武"};

// Place in the cycle of line 1's spirit for stems 甲 .. 癸 (index 0..9).
inline constexpr std::array<int, 10> SpiritStart{0, 0, 1, 1, 2, 3, 4, 4, 5, 5};

// Spirits of lines 1..6 (index 0..5) for day stem `stem` in [0, 9].
constexpr std::array<std::u16string_view, 6> spiritsForStem(int stem)
{
    std::array<std::u16string_view, 6> spirits{};
    for (int k = 0; k < 6; ++k)
        spirits[k] = SpiritCycle[(SpiritStart.at(stem) + k) % 6];
    return spirits;
}

static_assert(spiritsForStem(4)[0] == u"勾陈" && spiritsForStem(4)[5] == u"朱雀");

} // namespace lotgrid
