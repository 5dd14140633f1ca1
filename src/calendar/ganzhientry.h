#pragma once
// 干支 entry: a moment written as practitioners copy it from books and forums,
// by its pillars rather than its date — "卯月戊寅日", "丙午年 己亥月 乙卯日 庚辰时",
// "戊寅日". Each pillar is a stem and a branch, or a branch alone ("卯月"),
// followed by 年, 月, 日 or 时; without those words three or four pairs are
// read as year, month, day (and hour). Spaces and commas between them do not
// matter.
//
// The search lists every stretch of time in a range of years in which all the
// given pillars hold, nearest to a given day first.

#include "calendar/moment.h"
#include "calendar/pillars.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lotgrid {

// One pillar as written: its branch, and its stem when given.
struct PillarPattern {
    std::optional<int> stem; // 0 = 甲 .. 9 = 癸
    Branch branch{};
    friend constexpr bool operator==(const PillarPattern &, const PillarPattern &) = default;

    constexpr bool matches(Sexagenary s) const { return s.branch() == branch && (!stem || *stem == s.stem()); }
};

struct GanzhiQuery {
    std::optional<PillarPattern> year, month, day, hour;
    friend constexpr bool operator==(const GanzhiQuery &, const GanzhiQuery &) = default;
};

enum class GanzhiErrorKind : std::uint8_t {
    Empty,          // nothing given
    Unreadable,     // `text` is not a stem, a branch or one of 年月日时
    NotInCycle,     // `text` pairs a stem and a branch of different parity ("甲丑")
    Twice,          // `text` names 年, 月, 日 or 时 a second time
    Unplaced,       // pillars without 年/月/日/时 that are not three or four
    YearMonthStems, // the month's stem does not follow the year's (五虎遁)
    DayHourStems,   // the hour's stem does not follow the day's (五鼠遁)
    NoDate,         // no moment in the range carries those pillars
};

struct GanzhiError {
    GanzhiErrorKind kind = GanzhiErrorKind::Empty;
    std::u16string text; // the words at fault, when there are such
};

// The query the text writes, or the error.
std::optional<GanzhiQuery> parseGanzhi(std::u16string_view text, GanzhiError &error);

// A stretch of time, to the minute, in which every pillar of a query holds.
struct GanzhiMatch {
    Moment from, to; // both inside it, `to` its last minute
    Pillars pillars; // at `from`
    friend constexpr bool operator==(const GanzhiMatch &, const GanzhiMatch &) = default;
};

// Every match from the first day of `firstYear` to the last of `lastYear`
// (within the chart's span), the ones nearest to `today` first. Empty with
// NoDate in `error` when there are none, or with the stem error when the
// query cannot hold at all.
std::vector<GanzhiMatch> findGanzhi(const GanzhiQuery &query, DayBoundary b, int firstYear, int lastYear,
                                    const CivilDate &today, GanzhiError &error);

// The moment to chart a match on: the start of the hour when an hour is
// given, noon when the match holds it, its first minute otherwise.
Moment chartMomentOf(const GanzhiMatch &match, const GanzhiQuery &query);

// The error in words, for a message: "「甲丑」不是六十甲子中的一对".
std::u16string ganzhiErrorText(const GanzhiError &error, int firstYear, int lastYear);

// A pattern as written: "卯", "戊寅".
std::u16string patternText(const PillarPattern &p);

} // namespace lotgrid
