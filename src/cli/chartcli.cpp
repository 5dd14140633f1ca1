#include "cli/chartcli.h"

#include "calendar/pillars.h"
#include "chart/charttext.h"
#include "cli/quote.h"

#include <optional>
#include <vector>

namespace lotgrid::cli {

namespace {

constexpr std::string_view Help =
    R"(Usage: lotgrid-chart LINES [--time "YYYY-MM-DD HH:MM"] [--zi23] [--json]

Prints the six-line chart of a cast: the same text the program copies with
复制卦象文本, or with --json one JSON object (UTF-8).

  LINES        six digits, line 1 (the bottom line) first:
                 6 old yin (moving), 7 young yang, 8 young yin, 9 old yang (moving)
  --time T     the moment of the cast in China Standard Time, "YYYY-MM-DD HH:MM",
               from 1900-01-31 00:00 to 2100-12-31 23:59; gives the four pillars,
               the day's void branches (旬空), the six spirits from the day stem,
               the month and day builds and every mark that needs them
  --zi23       the day turns at 23:00 (子初换日) instead of midnight
  --json       print JSON instead of text
  --help       print this help

Exit status: 0 on success, 2 on bad input (one line on stderr says what is wrong).

Example: lotgrid-chart 978788 --time "2000-01-01 12:00"
)";

struct Options {
    std::string_view lines;
    std::optional<std::string_view> time;
    bool zi23 = false;
    bool json = false;
    bool help = false;
};

CliResult bad(std::string message)
{
    return {ExitBadInput, {}, "lotgrid-chart: " + message + "\n"};
}

// Digits of `text` at [at, at + count) as a number, or none if any is not a digit.
std::optional<int> digits(std::string_view text, std::size_t at, std::size_t count)
{
    int n = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
        n = n * 10 + (text[i] - '0');
    }
    return n;
}

// "YYYY-MM-DD HH:MM", checked field by field; the message says what is wrong.
std::optional<Moment> parseTime(std::string_view text, std::string &error)
{
    const bool shape = text.size() == 16 && text[4] == '-' && text[7] == '-' && text[10] == ' ' && text[13] == ':';
    const auto y = shape ? digits(text, 0, 4) : std::nullopt;
    const auto mo = shape ? digits(text, 5, 2) : std::nullopt;
    const auto d = shape ? digits(text, 8, 2) : std::nullopt;
    const auto h = shape ? digits(text, 11, 2) : std::nullopt;
    const auto mi = shape ? digits(text, 14, 2) : std::nullopt;
    if (!y || !mo || !d || !h || !mi) {
        error = "--time " + quoted(text) + " is not of the form \"YYYY-MM-DD HH:MM\"";
        return std::nullopt;
    }
    const Moment m{{*y, *mo, *d}, *h, *mi};
    if (!isValid(m)) {
        error = "--time " + quoted(text) + " is not a date and time of the calendar";
        return std::nullopt;
    }
    if (!inChartRange(m)) {
        error = "--time " + quoted(text) + " lies outside 1900-01-31 00:00 .. 2100-12-31 23:59";
        return std::nullopt;
    }
    return m;
}

} // namespace

std::string_view chartCliHelp()
{
    return Help;
}

CliResult runChartCli(std::span<const std::string_view> args)
{
    Options o;
    bool haveLines = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view a = args[i];
        if (a == "--help" || a == "-h") {
            o.help = true;
        } else if (a == "--json") {
            o.json = true;
        } else if (a == "--zi23") {
            o.zi23 = true;
        } else if (a == "--time" || a.starts_with("--time=")) {
            if (o.time)
                return bad("--time is given twice");
            if (a == "--time") {
                if (i + 1 >= args.size())
                    return bad("--time needs a value, \"YYYY-MM-DD HH:MM\"");
                o.time = args[++i];
            } else {
                o.time = a.substr(7);
            }
        } else if (a.starts_with("-")) {
            return bad("unknown option " + quoted(a) + "; see --help");
        } else {
            if (haveLines)
                return bad("more than one LINES given: " + quoted(o.lines) + " and " + quoted(a));
            o.lines = a;
            haveLines = true;
        }
    }
    if (o.help)
        return {ExitOk, std::string(Help), {}};
    if (!haveLines)
        return bad("no LINES given: six digits 6/7/8/9, line 1 first; see --help");
    // Counted and named in whole characters, so that a full-width digit is one.
    const std::vector<std::string_view> characters = utf8Characters(o.lines);
    if (characters.size() != 6)
        return bad("LINES must be six digits, not " + std::to_string(characters.size()) + ": " + quoted(o.lines));

    CastInput input;
    for (int n = 1; n <= 6; ++n) {
        const std::string_view c = characters[static_cast<std::size_t>(n - 1)];
        if (c.size() != 1 || c[0] < '6' || c[0] > '9')
            return bad("LINES may hold only the digits 6, 7, 8 and 9; line " + std::to_string(n) + " is " + quoted(c));
        input.line(n) = {c[0] == '7' || c[0] == '9' ? u'1' : u'0', c[0] == '6' || c[0] == '9'};
    }
    input.dayBoundary = o.zi23 ? DayBoundary::Zi23 : DayBoundary::Midnight;
    if (o.time) {
        std::string error;
        const auto m = parseTime(*o.time, error);
        if (!m)
            return bad(error);
        input.moment = *m;
        // The spirits, the builds and the void branches all come from the moment's pillars.
        if (const auto p = pillarsOf(*m, input.dayBoundary)) {
            input.dayStem = p->day.stem();
            input.dayBuild = p->day.branch();
            input.monthBuild = p->month.branch();
        }
    }
    const Chart chart = chartOf(input);
    return {ExitOk, o.json ? chartJson(chart) : toUtf8(chartText(chart)), {}};
}

} // namespace lotgrid::cli
