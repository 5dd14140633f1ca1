#pragma once
// The rules of the hand casts: three coins per line, and the plum-blossom (梅花)
// casts from the moment or from two numbers. Each gives the six lines of a cast
// as CastLine values, line 1 (the bottom line of the lower trigram) first, with
// its moving lines ticked.
//
// Coins: the face 背 counts 3 and 字 counts 2, so three coins sum to 6 老阴
// (moving yin), 7 少阳, 8 少阴 or 9 老阳 (moving yang). People label the faces
// differently; with the faces swapped, 字 counts 3 instead.
//
// Plum blossom: two trigram numbers in the Earlier Heaven order (乾1 兑2 离3 震4
// 巽5 坎6 艮7 坤8), a remainder of 0 counting as 8, and one moving line, a
// remainder of 0 counting as 6.

#include "calendar/moment.h"
#include "chart/cast.h"
#include "chart/hexagrams.h"

#include <array>
#include <cstdint>
#include <optional>

namespace lotgrid {

using CastLines = std::array<CastLine, 6>; // line 1 first

// The line of one toss of three coins from how many show 背 (0 to 3); none for
// any other count.
std::optional<CastLine> coinLine(int backs, bool facesSwapped = false);

// Six tosses, line 1 first; none when any count is out of range.
std::optional<CastLines> coinCast(const std::array<int, 6> &backs, bool facesSwapped = false);

// The trigram of an Earlier Heaven number 1..8 (乾1 .. 坤8).
constexpr std::optional<Trigram> trigramOfNumber(int number)
{
    if (number < 1 || number > 8)
        return std::nullopt;
    return static_cast<Trigram>(number - 1); // Trigram lists the trigrams in that order
}

// A plum-blossom cast: two trigram numbers and the moving line.
struct PlumCast {
    int upper = 0;  // [1, 8]
    int lower = 0;  // [1, 8]
    int moving = 0; // [1, 6]
    friend constexpr bool operator==(const PlumCast &, const PlumCast &) = default;
};

// The lines of a plum-blossom cast: the lower trigram's lines, then the upper
// trigram's, the moving line ticked. None when a number is out of range.
std::optional<CastLines> linesOf(const PlumCast &cast);

// The number of the two-hour branch of a time of day (0..23): 子 1 from 23:00
// to 00:59, 丑 2 from 01:00, .. 亥 12 from 21:00. None outside [0, 23].
constexpr std::optional<int> hourNumber(int hour)
{
    if (hour < 0 || hour > 23)
        return std::nullopt;
    return (hour + 1) / 2 % 12 + 1;
}

// Number casting: two whole numbers from 1 to 99,999,999. Upper = first mod 8,
// lower = second mod 8, moving = (first + second [+ hour]) mod 6. `hour` is the
// hour's branch number (1..12) when the option to add it is on. None for
// numbers out of range or an hour number outside [1, 12].
inline constexpr std::int64_t LargestCastNumber = 99'999'999;
std::optional<PlumCast> numberCast(std::int64_t first, std::int64_t second, std::optional<int> hour = std::nullopt);

// Where the year of a time cast turns.
enum class YearTurn : std::uint8_t { LunarNewYear, Lichun }; // 正月初一 (classical), 立春

// The four numbers of a time cast.
struct TimeNumbers {
    int year = 0;  // branch of the year, 子 1 .. 亥 12
    int month = 0; // lunar month 1..12, a leap month counting as its month
    int day = 0;   // lunar day 1..30
    int hour = 0;  // branch of the hour, 子 1 .. 亥 12
    friend constexpr bool operator==(const TimeNumbers &, const TimeNumbers &) = default;
};

// The numbers of a moment in China Standard Time. From 23:00 the lunar day is
// that of the same civil date unless `dayTurnsAt23` (子初换日), which takes the
// next civil date's. None outside the lunar calendar's span, which is also the
// case from 2100-12-31 23:00 with `dayTurnsAt23`: the day read (dayOf) is then
// 2101-01-01, past the calendar, though the moment lies inside it.
std::optional<TimeNumbers> timeNumbers(const Moment &moment, YearTurn turn, bool dayTurnsAt23);

// Time casting: upper = (Y + M + D) mod 8, lower = (Y + M + D + H) mod 8,
// moving = (Y + M + D + H) mod 6.
PlumCast timeCast(const TimeNumbers &numbers);

} // namespace lotgrid
