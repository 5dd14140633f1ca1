#pragma once
// What a user puts on the sheet for one chart: the six lines as cast, the day
// stem, the month and day builds, the use-god or hidden-spirit mark, the
// moment of the cast, the school options in force, what the question is
// about and the asker's sex. The Chart value is computed from this alone.

#include "calendar/moment.h"
#include "calendar/pillars.h"
#include "chart/categories.h"
#include "chart/schooloptions.h"
#include "core/elements.h"

#include <array>
#include <optional>
#include <string>

namespace lotgrid {

struct CastLine {
    char16_t value = 0;  // u'1' yang, u'0' yin, 0 not entered
    bool moving = false; // ticked: 太阳 on a yang line, 太阴 on a yin line
    friend constexpr bool operator==(const CastLine &, const CastLine &) = default;
};

// The three parts of a chart that belong to the day rather than to the lines.
enum class DayPart : std::uint8_t { DayStem, MonthBuild, DayBuild };
using DayParts = std::array<bool, 3>; // one flag per DayPart

// How the lines of a case came about: typed by hand, tossed coins, the moment
// (梅花 time cast), two numbers, or the automatic cast; None when not told.
enum class CastMethod : std::uint8_t { None, Hand, Coins, Time, Numbers, Auto };

enum class MarkKind : std::uint8_t { None, UseGod, Hidden }; // —, 用神, 伏神

struct LineMark {
    MarkKind kind = MarkKind::None;
    int line = 0; // [1, 6] when kind is not None
    friend constexpr bool operator==(const LineMark &, const LineMark &) = default;
};

// How the moment of a cast was given, when not simply in China Standard Time:
// on another zone's clock, on a summer-time day of 北京时间, or with the hour
// and the day read on true solar time at a place. CastInput::moment is always
// the instant in China Standard Time.
struct MomentOrigin {
    std::string zone;                // IANA name; empty for 北京时间
    std::u16string zoneName;         // as the header names it: "纽约", or the IANA name
    Moment typed;                    // as typed on that clock
    bool summerTime = false;         // the clock ran on summer time (an hour ahead)
    std::optional<double> longitude; // 真太阳时 at this longitude, degrees east
    std::u16string place;            // the city of that longitude, or empty when typed in degrees
    std::optional<Moment> solar;     // the true solar time the hour and the day are read on
    friend bool operator==(const MomentOrigin &, const MomentOrigin &) = default;
};

struct CastInput {
    std::array<CastLine, 6> lines{}; // line 1 (bottom) first
    std::optional<int> dayStem;      // 0 = 甲 .. 9 = 癸
    std::optional<Branch> monthBuild;
    std::optional<Branch> dayBuild;
    LineMark mark;
    std::optional<Moment> moment;                    // China Standard Time
    std::optional<MomentOrigin> origin;              // with a moment: how it was given, when not as China Standard Time
    DayBoundary dayBoundary = DayBoundary::Midnight; // 子初换日: the day turns at 23:00
    SchoolOptions options;
    std::optional<Category> category; // 占类: picks the use god
    std::optional<Sex> sex;           // of the asker; 婚恋 needs it
    DayParts byHand{};                // picked by hand (手选) rather than taken from the moment
    friend bool operator==(const CastInput &, const CastInput &) = default;

    // The clock the day and the hour are read on: the true solar time when one is set.
    std::optional<Moment> clockMoment() const { return origin && origin->solar ? origin->solar : moment; }

    // The part stands and was picked by hand.
    bool pickedByHand(DayPart part) const
    {
        const bool stands = part == DayPart::DayStem      ? dayStem.has_value()
                            : part == DayPart::MonthBuild ? monthBuild.has_value()
                                                          : dayBuild.has_value();
        return stands && byHand[static_cast<std::size_t>(part)];
    }

    const CastLine &line(int n) const { return lines.at(static_cast<std::size_t>(n - 1)); }
    CastLine &line(int n) { return lines.at(static_cast<std::size_t>(n - 1)); }
};

// The LineKey of the lines that have a value, line 1 first ("101000"), each as
// cast or, with `changed`, as it changes.
std::u16string lineKeyOf(const CastInput &cast, bool changed);

// The cast with each day part that `follows` taken from its moment: the day
// stem and the day build from the day pillar (the day boundary applies), the
// month build from the month pillar; none without a moment in the calendar's
// span. A part so taken is no longer by hand; the others stay as they are.
CastInput followingMoment(CastInput cast, DayParts follows);

} // namespace lotgrid
