#pragma once
// Where the schools of the craft part ways and the user chooses which one the
// program follows. Each option defaults to the reading the program has always
// taken, so a cast without options charts as it always did. The options travel
// with the cast (CastInput::options), so a Chart value says by itself which
// readings made it.

#include "calendar/pillars.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace lotgrid {

// Where 羊刃 stands against 禄.
enum class BladeRule : std::uint8_t {
    AfterSalary,        // the branch after 禄, for all ten stems
    YangAfterYinBefore, // 阳前阴后: after 禄 for a yang stem, before it for a yin stem
};

inline constexpr std::array<std::u16string_view, 2> BladeRuleNames{u"禄后一位", u"阳前阴后"};

// The day from which a time cast (时间起卦) takes its lunar day when cast from
// 23:00 on: the sheet's own 子初换日 choice, or one fixed rule for the cast.
enum class TimeCastDay : std::uint8_t {
    FollowsChart, // as the chart's day turns (子初换日 on or off)
    Midnight,     // the civil date's lunar day until midnight
    At23,         // the next day's lunar day from 23:00
};

inline constexpr std::array<std::u16string_view, 3> TimeCastDayNames{u"随子初换日", u"子正换日", u"子初换日"};

struct SchoolOptions {
    BladeRule blade = BladeRule::AfterSalary;
    // 反吟 of a half also when its trigram turns into the one facing it across
    // the later-heaven circle (乾巽, 坎离, 艮坤, 震兑), as 卜筮正宗 reads it; the
    // branches' clash alone decides otherwise.
    bool facingTrigramsReverse = false;
    TimeCastDay timeCastDay = TimeCastDay::FollowsChart;
    bool numberCastAddsHour = false; // 数字起卦: the hour's number joins the moving-line sum

    constexpr bool isDefault() const { return *this == SchoolOptions{}; }
    friend constexpr bool operator==(const SchoolOptions &, const SchoolOptions &) = default;
};

// Whether a time cast at or after 23:00 takes the next day's lunar day.
constexpr bool timeCastDayTurnsAt23(TimeCastDay rule, DayBoundary chartBoundary)
{
    switch (rule) {
    case TimeCastDay::Midnight:
        return false;
    case TimeCastDay::At23:
        return true;
    case TimeCastDay::FollowsChart:
        break;
    }
    return chartBoundary == DayBoundary::Zi23;
}

} // namespace lotgrid
