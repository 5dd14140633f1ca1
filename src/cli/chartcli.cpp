#include "cli/chartcli.h"

#include "calendar/cities.h"
#include "calendar/pillars.h"
#include "calendar/solartime.h"
#include "chart/castingrules.h"
#include "chart/charttext.h"
#include "chart/guaname.h"
#include "chart/zhouyi.h"
#include "cli/quote.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <optional>
#include <vector>

namespace lotgrid::cli {

namespace {

constexpr std::string_view Help =
    R"(Usage: lotgrid-chart LINES [--time "YYYY-MM-DD HH:MM"] [--zi23] [--category WORD] [--sex 男|女] [--json] [school options]
       lotgrid-chart --gua NAME [options]
       lotgrid-chart --time-cast --time "YYYY-MM-DD HH:MM" [options]
       lotgrid-chart --numbers A,B [--time "YYYY-MM-DD HH:MM"] [options]
       lotgrid-chart --ganzhi PILLARS [--years A-B] [--json]
       lotgrid-chart LINES|--gua NAME --ganzhi PILLARS --no-date [options]

Prints the six-line chart of a cast: the same text the program copies with
复制卦象文本 (its 经文 block only with --texts), or with --json one JSON object (UTF-8).

  LINES        six digits, line 1 (the bottom line) first:
                 6 old yin (moving), 7 young yang, 8 young yin, 9 old yang (moving)
  --gua NAME   the lines from the hexagrams' names, as books write them:
               "山火贲", "贲", "贲之艮", "山火贲 初爻动", "火山旅 二五爻动"
  --time-cast  the lines from the moment of --time (时间起卦: year, month, day
               and hour numbers; the year turns at the lunar new year)
  --numbers A,B  the lines from two whole numbers 1 to 99999999 (数字起卦)
  --time T     the moment of the cast in China Standard Time, "YYYY-MM-DD HH:MM",
               from 1900-01-31 00:00 to 2100-12-31 23:59; gives the four pillars,
               the day's void branches (旬空), the six spirits from the day stem,
               the month and day builds and every mark that needs them
  --zi23       the day turns at 23:00 (子初换日) instead of midnight
  --tz ZONE    --time is on the clock of this zone: an IANA name
               ("America/New_York") or a name of the program's zone list
               (纽约, 伦敦, 东京 ...); the chart converts it to China Standard Time.
               Without it --time is 北京时间: on a summer-time day of 1986-1991
               the clock ran an hour ahead, and the hour is taken off
  --standard-time  --time in 北京时间 is standard time even on those days
  --longitude DEG  真太阳时: the hour, and across midnight the day, follow the
               true solar time at this longitude (degrees east, west negative)
  --city NAME  the same at a city of the program's list (石家庄, 乌鲁木齐, 纽约 ...)
  --ganzhi P   list the dates whose pillars are P, as books write them:
               "卯月戊寅日", "丙午年 己亥月 乙卯日 庚辰时"; nearest to today first
  --years A-B  the years --ganzhi searches, 1900-2100 by default
  --no-date    with --ganzhi giving the day and the month: chart LINES from
               those pillars alone, without a date (no 应期 dates)
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

School options: --school sets them all, the options after it change one each.
  --school S   增删卜易 (default), 卜筮正宗, or 通行 (the modern books' rules,
               which the program followed before it offered the schools)
  --yangren R  where 羊刃 stands: "after" the branch after 禄 for every stem
               (every school), or "yang-after-yin-before" (阳前阴后: before 禄 for
               the yin stems, 乙寅 丁巳 己巳 辛申 癸亥)
  --fanyin R   when a half (内卦/外卦) is 反吟: "clash" its three branches clash
               (增删卜易, 通行), "facing" also when its trigram turns into the one
               facing it on the later-heaven circle, 乾巽 坎离 艮坤 震兑 (卜筮正宗);
               --fanyin-facing is --fanyin facing
  --twice R    which of two lines of the relative is the use god (两现):
               "ancient" strong, moving, not broken, not void, lower, another
               void or broken one timing the matter (增删卜易); "world" 持世, at a
               build, broken, void, moving, lower (卜筮正宗); "common" moving,
               strong, not broken, not void, 世/应, lower (通行)
  --absent R   the use god missing from the lines: "builds" the month or day
               build carrying it (增删卜易), "changed" a changed line carrying it
               (卜筮正宗), else, and with "hidden" (通行), its hidden spirit
  --strength R "book" strong at, generated or helped by the builds or a moving
               line, or at 长生/帝旺 on the day (增删卜易, 卜筮正宗); "month-day"
               旺相 in the month or helped by the day, not 月破 (通行)
  --void-kinds yes|no      真空/假空 and 真破/目下破 among the marks
  --moving-fill yes|no     冲实 of a moving void line clashed by the day too
  --harmony R  "book" the four forms of 三合章 only; "wide" any with a moving
               line, the month or the day (通行)
  --change-combine yes|no  化合 among the change words
  --lone yes|no            独发/独静 among the hexagram's types
  --yingqi R   "book" adds the 应期 rules of 各门类应期总注 and the 忌神's days;
               "modern" the modern list alone (通行)
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
    std::optional<std::string_view> zone, longitude, city, ganzhi, years, gua;
    bool standardTime = false;
    bool noDate = false;
    bool timeCast = false;
    bool zi23 = false;
    bool json = false;
    bool texts = false;
    bool help = false;
    SchoolOptions school;
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

// The value of a flag among its words, each giving the option's value in turn.
template<typename T>
bool pick(std::optional<std::string_view> value, std::string_view flag,
          std::initializer_list<std::pair<std::string_view, T>> words, T &out, std::string &problem)
{
    if (!value)
        return true;
    std::string names;
    for (const auto &[word, v] : words) {
        if (word == *value) {
            out = v;
            return true;
        }
        names += (names.empty() ? "\"" : ", \"") + std::string(word) + "\"";
    }
    problem = std::string(flag) + " takes " + names + ", not " + quoted(*value);
    return false;
}

struct SchoolFlags {
    std::optional<std::string_view> fanyin, twice, absent, strength, voidKinds, movingFill, harmony, changeCombine,
        lone, yingqi;
};

// The options after --school onto `o`; what is wrong, or empty.
std::string applySchoolFlags(SchoolOptions &o, const SchoolFlags &f)
{
    std::string problem;
    const auto yesNo = [&problem](std::optional<std::string_view> v, std::string_view flag, bool &out) {
        return pick<bool>(v, flag, {{"yes", true}, {"no", false}}, out, problem);
    };
    const bool ok
        = pick<bool>(f.fanyin, "--fanyin", {{"clash", false}, {"facing", true}}, o.facingTrigramsReverse, problem)
          && pick<TwiceRule>(
              f.twice, "--twice",
              {{"ancient", TwiceRule::Ancient}, {"world", TwiceRule::WorldHeld}, {"common", TwiceRule::Common}},
              o.twice, problem)
          && pick<AbsentRule>(
              f.absent, "--absent",
              {{"builds", AbsentRule::Builds}, {"changed", AbsentRule::Changed}, {"hidden", AbsentRule::Hidden}},
              o.absent, problem)
          && pick<bool>(f.strength, "--strength", {{"book", true}, {"month-day", false}}, o.bookStrength, problem)
          && yesNo(f.voidKinds, "--void-kinds", o.voidKinds)
          && yesNo(f.movingFill, "--moving-fill", o.movingFillByClash)
          && pick<bool>(f.harmony, "--harmony", {{"book", true}, {"wide", false}}, o.bookHarmonies, problem)
          && yesNo(f.changeCombine, "--change-combine", o.changeCombine) && yesNo(f.lone, "--lone", o.loneLine)
          && pick<bool>(f.yingqi, "--yingqi", {{"book", true}, {"modern", false}}, o.bookYingqi, problem);
    return ok ? std::string() : problem;
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

CivilDate todayInChina()
{
    using namespace std::chrono;
    const auto minutesNow = duration_cast<minutes>(system_clock::now().time_since_epoch()).count();
    return momentFromMinutes(minutesNow + 8 * 60).date;
}

std::optional<MomentClock> parseClock(std::optional<std::string_view> zone, bool standardTime,
                                      std::optional<std::string_view> longitude, std::optional<std::string_view> city,
                                      std::string &error)
{
    MomentClock clock;
    clock.standardTime = standardTime;
    if (zone) {
        const std::u16string name = toUtf16(*zone);
        if (const auto common = commonZone(name)) {
            clock.zone = common->iana;
        } else if (!haveZoneDatabase()) {
            error = "--tz " + quoted(*zone) + ": this build has no time zone database; it takes 北京时间 only";
            return std::nullopt;
        } else if (isKnownZone(*zone)) {
            clock.zone = *zone;
        } else {
            error = "--tz " + quoted(*zone) + " is not a time zone: give an IANA name such as \"America/New_York\"";
            return std::nullopt;
        }
        if (!clock.zone.empty() && !haveZoneDatabase()) {
            error = "--tz " + quoted(*zone) + ": this build has no time zone database; it takes 北京时间 only";
            return std::nullopt;
        }
        if (!clock.zone.empty() && standardTime) {
            error = "--standard-time is for 北京时间; the clock of --tz keeps its own summer time";
            return std::nullopt;
        }
    }
    if (longitude && city) {
        error = "give --longitude or --city, not both";
        return std::nullopt;
    }
    if (longitude) {
        double degrees = 0;
        const auto [end, ec] = std::from_chars(longitude->data(), longitude->data() + longitude->size(), degrees);
        if (longitude->empty() || ec != std::errc{} || end != longitude->data() + longitude->size()
            || !isLongitude(degrees)) {
            error = "--longitude takes degrees from -180 to 180 (east positive), not " + quoted(*longitude);
            return std::nullopt;
        }
        clock.longitude = degrees;
    }
    if (city) {
        const auto found = findCity(toUtf16(*city));
        if (!found) {
            error = "--city " + quoted(*city) + " is not in the program's list of cities; give --longitude instead";
            return std::nullopt;
        }
        clock.longitude = found->longitude;
        clock.place = std::u16string(found->name);
    }
    return clock;
}

std::optional<CastMoment> resolveMoment(const Moment &typed, const MomentClock &clock, std::string_view typedText,
                                        std::string &error)
{
    const CastMomentResult r = castMomentOf(typed, clock);
    if (r.value)
        return r.value;
    switch (r.error) {
    case ZoneError::NoDatabase:
        error = quoted(typedText) + ": this build has no time zone database; it takes 北京时间 only";
        break;
    case ZoneError::OutOfRange:
        error = quoted(typedText)
                + " in China Standard Time (or its true solar time) lies outside 1900-01-31 00:00 .. "
                  "2100-12-31 23:59";
        break;
    case ZoneError::UnknownZone:
    case ZoneError::InvalidMoment:
        error = quoted(typedText) + " cannot be read on that clock";
        break;
    }
    return std::nullopt;
}

std::optional<std::array<CastLine, 6>> parseGuaName(std::string_view text, std::string &error)
{
    GuaNameError e;
    const auto lines = linesFromGuaName(toUtf16(text), e);
    if (!lines)
        error = quoted(text) + ": " + toUtf8(guaNameErrorText(e));
    return lines;
}

bool setPillarsWithoutDate(CastInput &input, const GanzhiQuery &query, std::string &error)
{
    const auto day = query.day && query.day->stem ? sexagenaryOf(*query.day->stem, query.day->branch) : std::nullopt;
    if (!day || !query.month) {
        error = "needs the day's stem and branch and the month's branch (\"卯月戊寅日\")";
        return false;
    }
    input.moment.reset();
    input.origin.reset();
    input.dayStem = day->stem();
    input.dayBuild = day->branch();
    input.monthBuild = query.month->branch;
    return true;
}

namespace {

std::u16string matchPillars(const GanzhiQuery &query, const GanzhiMatch &m)
{
    const Pillars &p = m.pillars;
    std::u16string out = sexagenaryName(p.year) + u"年 " + sexagenaryName(p.month) + u"月";
    if (query.day || query.hour)
        out.append(u" ").append(sexagenaryName(p.day)).append(u"日");
    if (query.hour)
        out.append(u" ").append(sexagenaryName(p.hour)).append(u"时");
    return out;
}

} // namespace

std::string ganzhiListText(std::string_view text, const GanzhiQuery &query, const std::vector<GanzhiMatch> &matches,
                           int firstYear, int lastYear)
{
    std::string out = std::string(text) + "：" + std::to_string(firstYear) + "—" + std::to_string(lastYear) + "年间共"
                      + std::to_string(matches.size()) + "处，由近及远：\n";
    for (const GanzhiMatch &m : matches)
        out += toUtf8(chartMomentWords(m.from)) + " — " + toUtf8(chartMomentWords(m.to)) + "  "
               + toUtf8(matchPillars(query, m)) + "\n";
    return out;
}

std::string ganzhiListJson(std::string_view text, const GanzhiQuery &query, const std::vector<GanzhiMatch> &matches)
{
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const GanzhiMatch &m : matches)
        list.push_back({{"from", toUtf8(chartMomentWords(m.from))},
                        {"to", toUtf8(chartMomentWords(m.to))},
                        {"chartTime", toUtf8(chartMomentWords(chartMomentOf(m, query)))},
                        {"pillars",
                         {{"year", toUtf8(sexagenaryName(m.pillars.year))},
                          {"month", toUtf8(sexagenaryName(m.pillars.month))},
                          {"day", toUtf8(sexagenaryName(m.pillars.day))},
                          {"hour", toUtf8(sexagenaryName(m.pillars.hour))}}}});
    const nlohmann::ordered_json j{{"ganzhi", std::string(text)}, {"matches", std::move(list)}};
    return j.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

std::string_view chartCliHelp()
{
    return Help;
}

CliResult runChartCli(std::span<const std::string_view> args)
{
    return runChartCli(args, todayInChina());
}

CliResult runChartCli(std::span<const std::string_view> args, const CivilDate &today)
{
    Options o;
    bool haveLines = false;
    std::optional<std::string_view> yangren, timeCastDay, category, sex, school, fanyin, twice, absent, strength,
        voidKinds, movingFill, harmony, changeCombine, lone, yingqi;
    bool fanyinFacing = false, numberHour = false;
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
            || valued("--category", category) || valued("--sex", sex) || valued("--school", school)
            || valued("--fanyin", fanyin) || valued("--twice", twice) || valued("--absent", absent)
            || valued("--strength", strength) || valued("--void-kinds", voidKinds)
            || valued("--moving-fill", movingFill) || valued("--harmony", harmony)
            || valued("--change-combine", changeCombine) || valued("--lone", lone) || valued("--yingqi", yingqi)
            || valued("--tz", o.zone) || valued("--longitude", o.longitude) || valued("--city", o.city)
            || valued("--ganzhi", o.ganzhi) || valued("--years", o.years) || valued("--gua", o.gua)) {
            if (!valueError.empty())
                return bad(valueError);
        } else if (a == "--fanyin-facing") {
            fanyinFacing = true;
        } else if (a == "--number-hour") {
            numberHour = true;
        } else if (a == "--standard-time") {
            o.standardTime = true;
        } else if (a == "--no-date") {
            o.noDate = true;
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
    if (school) {
        std::optional<School> found;
        for (const School k : {School::ZengShan, School::BuShi, School::Common})
            if (toUtf8(schoolName(k)) == *school)
                found = k;
        if (!found)
            return bad("--school takes 增删卜易, 卜筮正宗 or 通行, not " + quoted(*school));
        o.school = schoolPreset(*found);
    }
    if (const std::string problem = applySchoolFlags(
            o.school, {fanyin, twice, absent, strength, voidKinds, movingFill, harmony, changeCombine, lone, yingqi});
        !problem.empty())
        return bad(problem);
    if (fanyinFacing)
        o.school.facingTrigramsReverse = true;
    if (numberHour)
        o.school.numberCastAddsHour = true;
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
    std::string error;
    const DayBoundary boundary = o.zi23 ? DayBoundary::Zi23 : DayBoundary::Midnight;
    std::optional<GanzhiQuery> ganzhi;
    if (o.ganzhi) {
        GanzhiError ganzhiError;
        ganzhi = parseGanzhi(toUtf16(*o.ganzhi), ganzhiError);
        if (!ganzhi)
            return bad("--ganzhi " + quoted(*o.ganzhi) + ": " + toUtf8(ganzhiErrorText(ganzhiError, 1900, 2100)));
    } else if (o.noDate) {
        return bad("--no-date needs --ganzhi, the pillars to chart from");
    }
    if (ganzhi && !o.noDate) {
        if (haveLines || o.gua || o.timeCast || o.numbers || o.time)
            return bad("--ganzhi lists dates; to chart on one give its --time, or chart without a date with --no-date");
        int first = 1900, last = 2100;
        if (o.years) {
            const auto dash = o.years->find('-');
            const auto year = [](std::string_view t) -> std::optional<int> {
                int n = 0;
                const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), n);
                if (t.empty() || ec != std::errc{} || end != t.data() + t.size())
                    return std::nullopt;
                return n;
            };
            const auto a = dash == std::string_view::npos ? std::nullopt : year(o.years->substr(0, dash));
            const auto b = dash == std::string_view::npos ? std::nullopt : year(o.years->substr(dash + 1));
            if (!a || !b || *a > *b || *a < FirstChartMoment.date.year || *b > LastChartMoment.date.year)
                return bad("--years takes two years from 1900 to 2100 as \"A-B\", not " + quoted(*o.years));
            first = *a;
            last = *b;
        }
        GanzhiError ganzhiError;
        const auto matches = findGanzhi(*ganzhi, boundary, first, last, today, ganzhiError);
        if (matches.empty())
            return bad("--ganzhi " + quoted(*o.ganzhi) + ": " + toUtf8(ganzhiErrorText(ganzhiError, first, last)));
        return {ExitOk,
                o.json ? ganzhiListJson(*o.ganzhi, *ganzhi, matches)
                       : ganzhiListText(*o.ganzhi, *ganzhi, matches, first, last),
                {}};
    }
    if (o.years)
        return bad("--years goes with --ganzhi, whose search it bounds");
    if (haveLines + o.timeCast + o.numbers.has_value() + o.gua.has_value() > 1)
        return bad("give one of LINES, --gua, --time-cast and --numbers; see --help");
    if (!haveLines && !o.timeCast && !o.numbers && !o.gua)
        return bad("no LINES given: six digits 6/7/8/9, line 1 first; see --help");
    if (o.noDate && (o.time || o.timeCast || o.numbers))
        return bad("--no-date charts without a date: give no --time, --time-cast or --numbers with it");
    const auto clock = parseClock(o.zone, o.standardTime, o.longitude, o.city, error);
    if (!clock)
        return bad(error);
    if ((!clock->zone.empty() || clock->longitude || o.standardTime) && !o.time)
        return bad("--tz, --standard-time, --longitude and --city go with --time, the moment they read");
    CastInput input;
    input.options = o.school;
    input.dayBoundary = boundary;
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
    if (o.gua) {
        const auto lines = parseGuaName(*o.gua, error);
        if (!lines)
            return bad("--gua " + error);
        input.lines = *lines;
    }
    std::optional<CastMoment> cast;
    std::optional<Moment> moment;
    if (o.time) {
        const auto typed = parseTime(*o.time, error);
        if (!typed)
            return bad("--time " + error);
        cast = resolveMoment(*typed, *clock, *o.time, error);
        if (!cast)
            return bad("--time " + error);
        moment = cast->moment;
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
    if (cast)
        setCastMoment(input, *cast);
    if (o.noDate && !setPillarsWithoutDate(input, *ganzhi, error))
        return bad("--no-date " + error);
    const Chart chart = chartOf(input);
    if (o.json)
        return {ExitOk, chartJson(chart, true), {}};
    std::u16string text = chartText(chart);
    if (o.texts)
        text += textsBlock(chart);
    return {ExitOk, toUtf8(text), {}};
}

} // namespace lotgrid::cli
