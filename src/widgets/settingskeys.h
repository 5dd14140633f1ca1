#pragma once
// The keys of the program's settings file (an INI file), all in one place.

#include <QStringView>

namespace lotgrid::settingskeys {

inline constexpr QStringView ChartZoom = u"chart/zoom";                   // the chart's zoom, in percent
inline constexpr QStringView DayTurnsAt23 = u"chart/dayTurnsAt23";        // 子初换日
inline constexpr QStringView AutoFromMoment = u"chart/autoFromMoment";    // 自动 beside 按时间排盘
inline constexpr QStringView CoinFacesSwapped = u"cast/coinFacesSwapped"; // 手动摇卦: 字 counts 3
inline constexpr QStringView YearAtLichun = u"cast/yearAtLichun";         // 时间起卦: the year turns at 立春
inline constexpr QStringView NumberAddsHour = u"cast/numberAddsHour";     // 数字起卦: the hour joins the sum
inline constexpr QStringView BladeRule = u"school/blade";                 // 羊刃: 0 禄后一位, 1 阳前阴后
inline constexpr QStringView FacingTrigramsReverse = u"school/facingTrigramsReverse"; // 反吟 also by facing trigrams
inline constexpr QStringView TimeCastDay = u"school/timeCastDay"; // 时间起卦 from 23:00: 0 随子初换日, 1 子正, 2 子初

} // namespace lotgrid::settingskeys
