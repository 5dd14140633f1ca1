#pragma once
// Where the schools of the craft part ways and the user chooses which one the
// program follows. Each school (增删卜易, 卜筮正宗, and 通行: the modern
// books, the readings the program took before it offered the schools) is a set
// of the options; the options default to 增删卜易's. The options travel with the
// cast (CastInput::options), so a Chart value says by itself which readings made it.

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

// Which line of a relative present twice or more (两现) decides the matter.
enum class TwiceRule : std::uint8_t {
    Common, // moving, then strong, not broken, not void, holding 世 or 应, then the lower
    Ancient, // 增删卜易: strong, moving, not broken, not void, the lower; another void or broken one times the matter
    WorldHeld // 卜筮正宗: holding 世, at the month or day build, broken, void, moving, the lower
};

inline constexpr std::array<std::u16string_view, 3> TwiceRuleNames{u"通行", u"古法取旺·空破定应期", u"持世为先"};

// Where the use god stands when no line carries its relative (用神不上卦).
enum class AbsentRule : std::uint8_t {
    Hidden,  // its hidden spirit (伏神)
    Builds,  // 增删卜易: the month build, else the day build, carrying it; else its hidden spirit
    Changed, // 卜筮正宗: a moving line's changed line carrying it; else its hidden spirit
};

inline constexpr std::array<std::u16string_view, 3> AbsentRuleNames{u"取伏神", u"取日月", u"取变爻"};

// The school (流派) a set of options follows; Custom when it matches none.
enum class School : std::uint8_t { ZengShan, BuShi, Common, Custom }; // 增删卜易 卜筮正宗 通行 自定义

inline constexpr std::array<std::u16string_view, 4> SchoolNames{u"增删卜易", u"卜筮正宗", u"通行", u"自定义"};

constexpr std::u16string_view schoolName(School s)
{
    return SchoolNames[static_cast<int>(s)];
}

struct SchoolOptions {
    BladeRule blade = BladeRule::AfterSalary;
    // 反吟 of a half also when its trigram turns into the one facing it across
    // the later-heaven circle (乾巽, 坎离, 艮坤, 震兑), as 卜筮正宗 reads it; the
    // branches' clash alone decides otherwise.
    bool facingTrigramsReverse = false;
    TimeCastDay timeCastDay = TimeCastDay::FollowsChart;
    bool numberCastAddsHour = false; // 数字起卦: the hour's number joins the moving-line sum

    TwiceRule twice = TwiceRule::Ancient;
    AbsentRule absent = AbsentRule::Builds;
    // 旺 as 增删卜易 defines it: at the month or day build, generated or helped
    // by either or by a moving line or its own change, or at 长生 or 帝旺 on the
    // day; otherwise 旺 or 相 in the month, or helped by the day, and not 月破.
    bool bookStrength = true;
    bool voidKinds = true;         // 真空/假空 and 真破/目下破 beside 空 and 月破
    bool movingFillByClash = true; // 冲实 of a moving void line too (冲空则实)
    bool bookHarmonies = true; // 三合 only in the four forms of 增删卜易; else any with a mover, the month or the day
    bool changeCombine = true; // 化合 among the change words
    bool loneLine = true;      // 独发 / 独静 among the hexagram's types
    bool bookYingqi = true;    // the 应期 rules of 各门类应期总注 the modern list leaves out

    // The school these options were chosen from: the JSON names it and lists
    // the options that differ from it.
    School base = School::ZengShan;

    friend constexpr bool operator==(const SchoolOptions &, const SchoolOptions &) = default;
};

// The options of a school; Custom gives 增删卜易's.
constexpr SchoolOptions schoolPreset(School s)
{
    SchoolOptions o;
    switch (s) {
    case School::BuShi:
        o.facingTrigramsReverse = true;
        o.twice = TwiceRule::WorldHeld;
        o.absent = AbsentRule::Changed;
        o.movingFillByClash = false;
        o.base = School::BuShi;
        break;
    case School::Common:
        o.twice = TwiceRule::Common;
        o.absent = AbsentRule::Hidden;
        o.bookStrength = o.voidKinds = o.movingFillByClash = o.bookHarmonies = false;
        o.changeCombine = o.loneLine = o.bookYingqi = false;
        o.base = School::Common;
        break;
    case School::ZengShan:
    case School::Custom:
        break;
    }
    return o;
}

// The options with `base` set aside equal those of the school.
constexpr bool sameAsPreset(SchoolOptions o, School s)
{
    o.base = s;
    return o == schoolPreset(s);
}

// The school the options match, Custom when none.
constexpr School schoolOf(const SchoolOptions &o)
{
    for (const School s : {School::ZengShan, School::BuShi, School::Common})
        if (sameAsPreset(o, s))
            return s;
    return School::Custom;
}

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
