#pragma once
// lotgrid-chart: a chart from the command line, as the text the window copies
// or as JSON. The whole command is one function of its arguments so that tests
// run it without a process; main() only hands over argv and the two streams.

#include "calendar/ganzhientry.h"
#include "calendar/moment.h"
#include "chart/cast.h"
#include "chart/castmoment.h"

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lotgrid::cli {

// Exit statuses.
inline constexpr int ExitOk = 0;
inline constexpr int ExitBadInput = 2;

struct CliResult {
    int status = ExitOk;
    std::string out; // for stdout; empty on bad input
    std::string err; // for stderr: one line saying what is wrong, or empty
};

// Runs `lotgrid-chart` on its arguments (without the program name); `today`
// orders the dates --ganzhi lists. The first form takes today's date in China
// Standard Time from the system clock.
CliResult runChartCli(std::span<const std::string_view> args);
CliResult runChartCli(std::span<const std::string_view> args, const CivilDate &today);

// Today's date in China Standard Time by the system clock.
CivilDate todayInChina();

// The text --help prints.
std::string_view chartCliHelp();

// The pieces of the command that other front ends of the engine share. On bad
// text each returns none and `error` says what is wrong, starting with the
// quoted text or a verb, so the caller names the argument before it
// ("LINES must be six digits, not 5: \"97878\"").

// Six digits 6/7/8/9, line 1 first: 6 old yin, 7 young yang, 8 young yin, 9 old yang.
std::optional<std::array<CastLine, 6>> parseLines(std::string_view text, std::string &error);

// "YYYY-MM-DD HH:MM" in China Standard Time, within the chart's span.
std::optional<Moment> parseTime(std::string_view text, std::string &error);

// Sets the moment of the cast, and the day stem and the month and day builds
// from its pillars (reckoned with the cast's day boundary, so set that first).
void setMoment(CastInput &input, const Moment &moment);

// The clock of --tz, --standard-time and --longitude/--city (any may be
// empty): the zone by its IANA name or its Chinese name in the zone list, the
// place by a city of the city table or degrees east (west negative).
std::optional<MomentClock> parseClock(std::optional<std::string_view> zone, bool standardTime,
                                      std::optional<std::string_view> longitude, std::optional<std::string_view> city,
                                      std::string &error);

// The moment typed on that clock, in China Standard Time with its origin.
std::optional<CastMoment> resolveMoment(const Moment &typed, const MomentClock &clock, std::string_view typedText,
                                        std::string &error);

// The lines a hexagram name gives ("贲之艮", "火山旅 二五爻动").
std::optional<std::array<CastLine, 6>> parseGuaName(std::string_view text, std::string &error);

// The day stem, the day build and the month build from 干支 alone, for a
// chart without a date: the query must give the day in full and the month.
bool setPillarsWithoutDate(CastInput &input, const GanzhiQuery &query, std::string &error);

// The dates of a 干支 query as text, one line each, or as JSON.
std::string ganzhiListText(std::string_view text, const GanzhiQuery &query, const std::vector<GanzhiMatch> &matches,
                           int firstYear, int lastYear);
std::string ganzhiListJson(std::string_view text, const GanzhiQuery &query, const std::vector<GanzhiMatch> &matches);

// The 占类 and the sex named by their words (UTF-8); none for any other text.
std::optional<Category> categoryOf(std::string_view text);
std::optional<Sex> sexOf(std::string_view text);

} // namespace lotgrid::cli
