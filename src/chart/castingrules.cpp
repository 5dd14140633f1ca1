#include "chart/castingrules.h"

#include "calendar/pillars.h"
#include "calendar/solarterms.h"

#include "calendar/lunar.h"

namespace lotgrid {

namespace {

// The line of a sum of three coins: 6 老阴, 7 少阳, 8 少阴, 9 老阳.
// clang-format off
constexpr std::array<CastLine, 4> LinesBySum{{
    {u'0', true},  // 6
    {u'1', false}, // 7
    {u'0', false}, // 8
    {u'1', true},  // 9
}};
// clang-format on

// Lines of the trigrams 乾 .. 坤, bottom first.
// clang-format off
constexpr std::array<std::array<char16_t, 3>, 8> TrigramLines{{
    {u'1', u'1', u'1'}, // 乾
    {u'1', u'1', u'0'}, // 兑
    {u'1', u'0', u'1'}, // 离
    {u'1', u'0', u'0'}, // 震
    {u'0', u'1', u'1'}, // 巽
    {u'0', u'1', u'0'}, // 坎
    {u'0', u'0', u'1'}, // 艮
    {u'0', u'0', u'0'}, // 坤
}};
// clang-format on

// A remainder of 0 counts as the divisor: [1, divisor].
constexpr int wrapped(std::int64_t sum, int divisor)
{
    const int r = static_cast<int>(sum % divisor);
    return r == 0 ? divisor : r;
}

static_assert(wrapped(8, 8) == 8 && wrapped(9, 8) == 1 && wrapped(12, 6) == 6);

// The lunar date that counts for a moment. Only the civil date enters; from
// 23:00 under 子初换日 the next day's.
std::optional<LunarDate> castLunarDate(const Moment &moment, bool dayTurnsAt23)
{
    return lunarDateOf(moment, dayTurnsAt23 ? DayBoundary::Zi23 : DayBoundary::Midnight);
}

// The Gregorian year whose 立春 last began at or before the moment, to the minute.
std::int64_t lichunYear(const Moment &moment)
{
    const std::int64_t year = moment.date.year;
    const std::optional<Moment> lichun = termMoment(static_cast<int>(year), 3);
    return lichun && minuteNumber(moment) < minuteNumber(*lichun) ? year - 1 : year;
}

// 子 1 .. 亥 12 for a year: 4 CE was a 子 year.
constexpr int yearBranchNumber(std::int64_t year)
{
    return static_cast<int>(((year - 4) % 12 + 12) % 12) + 1;
}

static_assert(yearBranchNumber(1984) == 1 && yearBranchNumber(2019) == 12 && yearBranchNumber(1899) == 12);

} // namespace

std::optional<CastLine> coinLine(int backs, bool facesSwapped)
{
    if (backs < 0 || backs > 3)
        return std::nullopt;
    const int threes = facesSwapped ? 3 - backs : backs; // coins on the face that counts 3
    const int sum = 3 * threes + 2 * (3 - threes);       // [6, 9]
    return LinesBySum[static_cast<std::size_t>(sum - 6)];
}

std::optional<CastLines> coinCast(const std::array<int, 6> &backs, bool facesSwapped)
{
    CastLines lines;
    for (std::size_t i = 0; i < 6; ++i) {
        const auto line = coinLine(backs[i], facesSwapped);
        if (!line)
            return std::nullopt;
        lines[i] = *line;
    }
    return lines;
}

std::optional<CastLines> linesOf(const PlumCast &cast)
{
    const auto lower = trigramOfNumber(cast.lower);
    const auto upper = trigramOfNumber(cast.upper);
    if (!lower || !upper || cast.moving < 1 || cast.moving > 6)
        return std::nullopt;
    CastLines lines;
    for (std::size_t i = 0; i < 3; ++i) {
        lines[i].value = TrigramLines[static_cast<std::size_t>(*lower)][i];
        lines[i + 3].value = TrigramLines[static_cast<std::size_t>(*upper)][i];
    }
    lines[static_cast<std::size_t>(cast.moving - 1)].moving = true;
    return lines;
}

std::optional<PlumCast> numberCast(std::int64_t first, std::int64_t second, std::optional<int> hour)
{
    const auto inRange = [](std::int64_t n) { return n >= 1 && n <= LargestCastNumber; };
    if (!inRange(first) || !inRange(second) || (hour && (*hour < 1 || *hour > 12)))
        return std::nullopt;
    const std::int64_t sum = first + second + hour.value_or(0); // [2, 200'000'010]
    return PlumCast{wrapped(first, 8), wrapped(second, 8), wrapped(sum, 6)};
}

std::optional<TimeNumbers> timeNumbers(const Moment &moment, YearTurn turn, bool dayTurnsAt23)
{
    if (!isValid(moment))
        return std::nullopt;
    const std::optional<LunarDate> lunar = castLunarDate(moment, dayTurnsAt23);
    if (!lunar)
        return std::nullopt;
    const std::int64_t year = turn == YearTurn::Lichun ? lichunYear(moment) : lunar->year;
    return TimeNumbers{yearBranchNumber(year), lunar->month < 0 ? -lunar->month : lunar->month, lunar->day,
                       *hourNumber(moment.hour)};
}

PlumCast timeCast(const TimeNumbers &n)
{
    const int sum = n.year + n.month + n.day;
    return PlumCast{wrapped(sum, 8), wrapped(sum + n.hour, 8), wrapped(sum + n.hour, 6)};
}

} // namespace lotgrid
