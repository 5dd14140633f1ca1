#pragma once
// The keys of the program's settings file (an INI file), all in one place.

#include <QStringView>

namespace lotgrid::settingskeys {

inline constexpr QStringView ChartZoom = u"chart/zoom";                   // the chart's zoom, in percent
inline constexpr QStringView DayTurnsAt23 = u"chart/dayTurnsAt23";        // 子初换日
inline constexpr QStringView AutoFromMoment = u"chart/autoFromMoment";    // 自动 beside 按时间排盘
inline constexpr QStringView GuapanShown = u"view/guapanShown";           // the 卦盘 pane beside the sheet
inline constexpr QStringView AnliSize = u"view/anliSize";                 // 案例库's size as last left
inline constexpr QStringView YaodianShown = u"view/yaodianShown";         // the 断卦要点 pane
inline constexpr QStringView DarkPicture = u"view/darkPicture";           // 导出图片 in the dark variant
inline constexpr QStringView Traditional = u"view/traditional";           // 输出繁体
inline constexpr QStringView CoinFacesSwapped = u"cast/coinFacesSwapped"; // 手动摇卦: 字 counts 3
inline constexpr QStringView YearAtLichun = u"cast/yearAtLichun";         // 时间起卦: the year turns at 立春
inline constexpr QStringView NumberAddsHour = u"cast/numberAddsHour";     // 数字起卦: the hour joins the sum
inline constexpr QStringView BladeRule = u"school/blade";                 // 羊刃: 0 禄后一位, 1 阳前阴后
inline constexpr QStringView FacingTrigramsReverse = u"school/facingTrigramsReverse"; // 反吟 also by facing trigrams
inline constexpr QStringView TimeCastDay = u"school/timeCastDay"; // 时间起卦 from 23:00: 0 随子初换日, 1 子正, 2 子初
inline constexpr QStringView SchoolPreset
    = u"school/preset"; // 流派: 0 增删卜易, 1 卜筮正宗, 2 通行 (the options' base)
inline constexpr QStringView TwiceRule = u"school/twice";           // 两现: 0 通行, 1 古法, 2 持世为先
inline constexpr QStringView AbsentRule = u"school/absent";         // 用神不上卦: 0 伏神, 1 日月, 2 变爻
inline constexpr QStringView BookStrength = u"school/bookStrength"; // 旺 as 增删卜易 reckons it
inline constexpr QStringView VoidKinds = u"school/voidKinds";       // 真空/假空, 真破/目下破
inline constexpr QStringView MovingFillByClash = u"school/movingFillByClash"; // 冲实 of a moving void line
inline constexpr QStringView BookHarmonies = u"school/bookHarmonies";         // 三合 in 三合章's four forms
inline constexpr QStringView ChangeCombine = u"school/changeCombine";         // 化合
inline constexpr QStringView LoneLine = u"school/loneLine";                   // 独发/独静
inline constexpr QStringView BookYingqi = u"school/bookYingqi";               // 应期 by 各门类应期总注

} // namespace lotgrid::settingskeys
