#include "cli/chartcli.h"

#include "calendar/pillars.h"
#include "chart/castingrules.h"
#include "chart/charttext.h"
#include "chart/zhouyi.h"
#include "cli/quote.h"

#include <nlohmann/json.hpp>

#include <charconv>
#include <optional>
#include <vector>

namespace lotgrid::cli {

namespace {

constexpr std::string_view Help =
    R"(Usage: lotgrid-chart LINES [--time "YYYY-MM-DD HH:MM"] [--zi23] [--category WORD] [--sex 男|女] [--json] [school options]
       lotgrid-chart --time-cast --time "YYYY-MM-DD HH:MM" [options]
       lotgrid-chart --numbers A,B [--time "YYYY-MM-DD HH:MM"] [options]

Prints the six-line chart of a cast: the same text the program copies with
复制卦象文本 (its 经文 block only with --texts), or with --json one JSON object (UTF-8).

  LINES        six digits, line 1 (the bottom line) first:
                 6 old yin (moving), 7 young yang, 8 young yin, 9 old yang (moving)
  --time-cast  the lines from the moment of --time (时间起卦: year, month, day
               and hour numbers; the year turns at the lunar new year)
  --numbers A,B  the lines from two whole numbers 1 to 99999999 (数字起卦)
  --time T     the moment of the cast in China Standard Time, "YYYY-MM-DD HH:MM",
               from 1900-01-31 00:00 to 2100-12-31 23:59; gives the four pillars,
               the day's void branches (旬空), the six spirits from the day stem,
               the month and day builds and every mark that needs them
  --zi23       the day turns at 23:00 (子初换日) instead of midnight
  --category W what the question is about (占类), which picks the use god (用神):
                 自身 出行 疾病 (the world line), 求财 失物 (妻财),
                 工作 功名 官司 (官鬼), 考试 文书 家宅 父母 (父母), 子女 (子孙),
                 兄弟朋友 (兄弟), 婚恋 (妻财 for a man, 官鬼 for a woman: needs --sex)
  --sex S      the asker's sex, 男 or 女
  --json       print JSON instead of text; its "texts" holds the 周易 texts the
               cast reads (朱熹's rule), as --texts prints them
  --texts      add the 经文 block: the 卦辞, 爻辞 and 象 the cast reads, by the
               number of moving lines (朱熹《易学启蒙·考变占》)
  --help       print this help

School options (each off by default, the program's usual reading):
  --yangren R  where 羊刃 stands: "after" the branch after 禄 for every stem
               (default), or "yang-after-yin-before" (阳前阴后: before 禄 for
               the yin stems, 乙寅 丁巳 己巳 辛申 癸亥)
  --fanyin-facing
               a half (内卦/外卦) is 反吟 also when its trigram turns into the
               one facing it on the later-heaven circle, 乾巽 坎离 艮坤 震兑
               (卜筮正宗); by default only when its three branches clash
  --time-cast-day R
               the lunar day of a time cast from 23:00: "chart" as --zi23 says
               (default), "midnight" the same date (子正换日), "zi23" the next
               day (子初换日)
  --number-hour  a number cast adds the hour's number (子 1 .. 亥 12, from
               --time) to the moving-line sum

Exit status: 0 on success, 2 on bad input (one line on stderr says what is wrong).

Example: lotgrid-chart 978788 --time "2000-01-01 12:00"
)";

struct Options {
    std::string_view lines;
    std::optional<std::string_view> time;
    std::optional<std::string_view> numbers;
    bool timeCast = false;
    bool zi23 = false;
    bool json = false;
    bool texts = false;
    bool help = false;
    SchoolOptions school;
};

// The chart's JSON object with "texts" as its last member.
std::string withTexts(std::string json, const Chart &chart)
{
    const std::size_t end = json.rfind('}');
    if (end == std::string::npos)
        return json;
    const std::string texts = textsJson(chart).dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
    json.insert(end, (json.find(':') < end ? ",\"texts\":" : "\"texts\":") + texts);
    return json;
}

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

} // namespace

std::optional<std::array<CastLine, 6>> parseLines(std::string_view text, std::string &error)
{
    // Counted and named in whole characters, so that a full-width digit is one.
    const std::vector<std::string_view> characters = utf8Characters(text);
    if (characters.size() != 6) {
        error = "must be six digits, not " + std::to_string(characters.size()) + ": " + quoted(text);
        return std::nullopt;
    }
    std::array<CastLine, 6> lines;
    for (std::size_t i = 0; i < 6; ++i) {
        const std::string_view c = characters[i];
        if (c.size() != 1 || c[0] < '6' || c[0] > '9') {
            error = "may hold only the digits 6, 7, 8 and 9; line " + std::to_string(i + 1) + " is " + quoted(c);
            return std::nullopt;
        }
        lines[i] = {c[0] == '7' || c[0] == '9' ? u'1' : u'0', c[0] == '6' || c[0] == '9'};
    }
    return lines;
}

// Checked field by field, so the message says what is wrong.
std::optional<Moment> parseTime(std::string_view text, std::string &error)
{
    const bool shape = text.size() == 16 && text[4] == '-' && text[7] == '-' && text[10] == ' ' && text[13] == ':';
    const auto y = shape ? digits(text, 0, 4) : std::nullopt;
    const auto mo = shape ? digits(text, 5, 2) : std::nullopt;
    const auto d = shape ? digits(text, 8, 2) : std::nullopt;
    const auto h = shape ? digits(text, 11, 2) : std::nullopt;
    const auto mi = shape ? digits(text, 14, 2) : std::nullopt;
    if (!y || !mo || !d || !h || !mi) {
        error = quoted(text) + " is not of the form \"YYYY-MM-DD HH:MM\"";
        return std::nullopt;
    }
    const Moment m{{*y, *mo, *d}, *h, *mi};
    if (!isValid(m)) {
        error = quoted(text) + " is not a date and time of the calendar";
        return std::nullopt;
    }
    if (!inChartRange(m)) {
        error = quoted(text) + " lies outside 1900-01-31 00:00 .. 2100-12-31 23:59";
        return std::nullopt;
    }
    return m;
}

namespace {

// "A,B": two whole numbers of a number cast, each 1..LargestCastNumber.
std::optional<std::pair<std::int64_t, std::int64_t>> parseNumbers(std::string_view text)
{
    const auto comma = text.find(',');
    if (comma == std::string_view::npos)
        return std::nullopt;
    const auto number = [](std::string_view t) -> std::optional<std::int64_t> {
        std::int64_t n = 0;
        const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), n);
        if (t.empty() || ec != std::errc{} || end != t.data() + t.size() || n < 1 || n > LargestCastNumber)
            return std::nullopt;
        return n;
    };
    const auto a = number(text.substr(0, comma));
    const auto b = number(text.substr(comma + 1));
    if (!a || !b)
        return std::nullopt;
    return std::pair{*a, *b};
}

} // namespace

void setMoment(CastInput &input, const Moment &moment)
{
    input.moment = moment;
    // The spirits, the builds and the void branches all come from the moment's pillars.
    input = followingMoment(input, {true, true, true});
}

// The category whose word is `text` (UTF-8).
std::optional<Category> categoryOf(std::string_view text)
{
    for (const CategoryRow &row : Categories)
        if (toUtf8(row.name) == text)
            return row.category;
    return std::nullopt;
}

std::optional<Sex> sexOf(std::string_view text)
{
    for (const Sex s : {Sex::Male, Sex::Female})
        if (toUtf8(sexName(s)) == text)
            return s;
    return std::nullopt;
}

std::string_view chartCliHelp()
{
    return Help;
}

CliResult runChartCli(std::span<const std::string_view> args)
{
    Options o;
    bool haveLines = false;
    std::optional<std::string_view> yangren, timeCastDay, category, sex;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view a = args[i];
        // An option with a value, given as "--name VALUE" or "--name=VALUE".
        std::string valueError;
        const auto valued = [&](std::string_view name, std::optional<std::string_view> &value) {
            if (a != name && !(a.starts_with(name) && a.substr(name.size()).starts_with('=')))
                return false;
            if (value)
                valueError = std::string(name) + " is given twice";
            else if (a.size() > name.size())
                value = a.substr(name.size() + 1);
            else if (i + 1 < args.size())
                value = args[++i];
            else
                valueError = std::string(name) + " needs a value; see --help";
            return true;
        };
        if (valued("--yangren", yangren) || valued("--time-cast-day", timeCastDay) || valued("--numbers", o.numbers)
            || valued("--category", category) || valued("--sex", sex)) {
            if (!valueError.empty())
                return bad(valueError);
        } else if (a == "--fanyin-facing") {
            o.school.facingTrigramsReverse = true;
        } else if (a == "--number-hour") {
            o.school.numberCastAddsHour = true;
        } else if (a == "--time-cast") {
            o.timeCast = true;
        } else if (a == "--help" || a == "-h") {
            o.help = true;
        } else if (a == "--json") {
            o.json = true;
        } else if (a == "--texts") {
            o.texts = true;
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
    if (yangren) {
        if (*yangren == "after")
            o.school.blade = BladeRule::AfterSalary;
        else if (*yangren == "yang-after-yin-before")
            o.school.blade = BladeRule::YangAfterYinBefore;
        else
            return bad("--yangren takes \"after\" or \"yang-after-yin-before\", not " + quoted(*yangren));
    }
    if (timeCastDay) {
        if (*timeCastDay == "chart")
            o.school.timeCastDay = TimeCastDay::FollowsChart;
        else if (*timeCastDay == "midnight")
            o.school.timeCastDay = TimeCastDay::Midnight;
        else if (*timeCastDay == "zi23")
            o.school.timeCastDay = TimeCastDay::At23;
        else
            return bad("--time-cast-day takes \"chart\", \"midnight\" or \"zi23\", not " + quoted(*timeCastDay));
    }
    if (haveLines + o.timeCast + o.numbers.has_value() > 1)
        return bad("give one of LINES, --time-cast and --numbers; see --help");
    if (!haveLines && !o.timeCast && !o.numbers)
        return bad("no LINES given: six digits 6/7/8/9, line 1 first; see --help");
    std::string error;
    CastInput input;
    input.options = o.school;
    input.dayBoundary = o.zi23 ? DayBoundary::Zi23 : DayBoundary::Midnight;
    if (category && !(input.category = categoryOf(*category)))
        return bad(
            "--category " + quoted(*category)
            + " is not a category: 自身 出行 疾病 求财 失物 工作 功名 官司 考试 文书 家宅 父母 子女 兄弟朋友 婚恋");
    if (sex && !(input.sex = sexOf(*sex)))
        return bad("--sex " + quoted(*sex) + " is neither 男 nor 女");
    if (haveLines) {
        const auto lines = parseLines(o.lines, error);
        if (!lines)
            return bad("LINES " + error);
        input.lines = *lines;
    }
    std::optional<Moment> moment;
    if (o.time) {
        moment = parseTime(*o.time, error);
        if (!moment)
            return bad("--time " + error);
    }
    if (o.timeCast || o.numbers) {
        std::optional<PlumCast> plum;
        if (o.timeCast) {
            if (!moment)
                return bad("--time-cast needs --time, the moment to cast from");
            const bool at23 = timeCastDayTurnsAt23(o.school.timeCastDay, input.dayBoundary);
            const auto numbers = timeNumbers(*moment, YearTurn::LunarNewYear, at23);
            if (!numbers) // the moment lies in the calendar; from 23:00 its day is the next one, which may not
                return bad("--time-cast from 23:00 takes the lunar day of the next day, "
                           + toUtf8(isoDate(dayOf(*moment, DayBoundary::Zi23)))
                           + ", past the lunar calendar's last day " + toUtf8(isoDate(LunarLastDay)));
            plum = timeCast(*numbers);
        } else {
            const auto pair = parseNumbers(*o.numbers);
            if (!pair)
                return bad("--numbers takes two whole numbers from 1 to 99999999 as \"A,B\", not "
                           + quoted(*o.numbers));
            if (o.school.numberCastAddsHour && !moment)
                return bad("--number-hour needs --time, whose hour it adds");
            const auto hour = o.school.numberCastAddsHour ? hourNumber(moment->hour) : std::nullopt;
            plum = numberCast(pair->first, pair->second, hour);
        }
        const auto lines = plum ? linesOf(*plum) : std::nullopt;
        if (!lines)
            return bad("the moment of --time lies outside the lunar calendar");
        input.lines = *lines;
    }
    if (moment)
        setMoment(input, *moment);
    const Chart chart = chartOf(input);
    if (o.json)
        return {ExitOk, withTexts(chartJson(chart), chart), {}};
    std::u16string text = chartText(chart);
    if (o.texts)
        text += textsBlock(chart);
    return {ExitOk, toUtf8(text), {}};
}

} // namespace lotgrid::cli
