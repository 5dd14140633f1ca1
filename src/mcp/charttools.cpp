#include "mcp/charttools.h"

#include "chart/castingrules.h"
#include "chart/charttext.h"
#include "chart/zhouyi.h"
#include "cli/chartcli.h"
#include "cli/quote.h"

#include <algorithm>
#include <array>
#include <utility>

namespace lotgrid::mcp {

namespace {

// The words of the 占类, what a chart is cast about; it picks the use god.
Json categoryWords()
{
    Json words = Json::array();
    for (const CategoryRow &row : Categories)
        words.push_back(toUtf8(row.name));
    return words;
}

// The sex of the one the chart is cast for.
constexpr std::array<std::string_view, 2> SexWords{"男", "女"};

// The schools (流派) a chart may be read by, each a preset of the school options.
constexpr std::array<School, 3> Schools{School::ZengShan, School::BuShi, School::Common};

Json schoolWords()
{
    Json words = Json::array();
    for (const School s : Schools)
        words.push_back(toUtf8(schoolName(s)));
    return words;
}

// The arguments every chart tool takes besides its cast; `time` is required
// by the tools that cast from it.
Json optionProperties()
{
    return {
        {"time",
         {{"type", "string"},
          {"description", "the moment of the cast in China Standard Time, \"YYYY-MM-DD HH:MM\", from 1900-01-31 "
                          "00:00 to 2100-12-31 23:59; gives the pillars, 旬空, the six spirits and the builds"}}},
        {"zi23", {{"type", "boolean"}, {"description", "the day turns at 23:00 (子初换日) instead of midnight"}}},
        {"tz",
         {{"type", "string"},
          {"description", "the zone whose clock `time` is on: an IANA name (\"America/New_York\") or one of the "
                          "program's zone names (纽约, 伦敦, 东京 ...); without it `time` is 北京时间, which on a "
                          "summer-time day of 1986-1991 ran an hour ahead and is taken back"}}},
        {"standard_time",
         {{"type", "boolean"}, {"description", "`time` in 北京时间 is standard time even on those summer days"}}},
        {"longitude",
         {{"type", "number"},
          {"description", "真太阳时: the hour, and across midnight the day, follow the true solar time at this "
                          "longitude (degrees east, west negative)"}}},
        {"city", {{"type", "string"}, {"description", "真太阳时 at a city of the program's list (石家庄, 纽约 ...)"}}},
        {"category", {{"type", "string"}, {"enum", categoryWords()}, {"description", "占类, what is asked"}}},
        {"sex", {{"type", "string"}, {"enum", SexWords}, {"description", "the sex of the one the chart is cast for"}}},
        {"school",
         {{"type", "string"},
          {"enum", schoolWords()},
          {"description", "流派, the school the chart is read by: 增删卜易 (default), 卜筮正宗, or 通行 (the modern "
                          "books' rules)"}}},
    };
}

// A message of the command line's option parsing in the words of this server's arguments.
std::string argumentWords(std::string message)
{
    for (const auto &[option, argument] : std::array<std::pair<std::string_view, std::string_view>, 4>{
             {{"--standard-time", "standard_time"}, {"--tz", "tz"}, {"--longitude", "longitude"}, {"--city", "city"}}})
        for (std::size_t at; (at = message.find(option)) != std::string::npos;)
            message.replace(at, option.size(), argument);
    return message;
}

Json objectSchema(Json properties, Json required)
{
    return {{"type", "object"},
            {"properties", std::move(properties)},
            {"required", std::move(required)},
            {"additionalProperties", false}};
}

struct ChartRequest {
    CastInput input;
    std::u16string_view sex;
};

// The moment and the options of the arguments onto `request`; a tool error
// when the time is bad.
std::optional<ToolResult> readOptions(const Json &args, ChartRequest &request)
{
    request.input.dayBoundary = args.value("zi23", false) ? DayBoundary::Zi23 : DayBoundary::Midnight;
    const std::string school = args.value("school", toUtf8(schoolName(School::ZengShan)));
    const auto found = std::ranges::find_if(Schools, [&](School s) { return toUtf8(schoolName(s)) == school; });
    if (found == Schools.end())
        return ToolResult::error("school must be 增删卜易, 卜筮正宗 or 通行, not \"" + school + "\".");
    request.input.options = schoolPreset(*found);
    std::string error;
    const std::string zone = args.value("tz", ""), city = args.value("city", "");
    const std::string longitude = args.contains("longitude") ? std::to_string(args.at("longitude").get<double>()) : "";
    const auto clock = cli::parseClock(
        args.contains("tz") ? std::optional<std::string_view>(zone) : std::nullopt, args.value("standard_time", false),
        args.contains("longitude") ? std::optional<std::string_view>(longitude) : std::nullopt,
        args.contains("city") ? std::optional<std::string_view>(city) : std::nullopt, error);
    if (!clock)
        return ToolResult::error(argumentWords(error) + ".");
    if (args.contains("time")) {
        const std::string time = args.at("time").get<std::string>();
        const auto typed = cli::parseTime(time, error);
        const auto moment = typed ? cli::resolveMoment(*typed, *clock, time, error) : std::nullopt;
        if (!moment)
            return ToolResult::error("time " + error + ".");
        setCastMoment(request.input, *moment);
    } else if (!clock->zone.empty() || clock->longitude || clock->standardTime) {
        return ToolResult::error("tz, standard_time, longitude and city go with time, the moment they read.");
    }
    request.input.category = cli::categoryOf(args.value("category", ""));
    request.input.sex = cli::sexOf(args.value("sex", ""));
    if (request.input.sex)
        request.sex = sexName(*request.input.sex);
    return std::nullopt;
}

std::string chartTextOf(const Chart &chart, const ChartRequest &request)
{
    return toUtf8(chartText(chart, {}, request.sex));
}

ToolResult chartCall(const Json &args)
{
    ChartRequest request;
    std::string error;
    if (args.contains("lines") == args.contains("gua"))
        return ToolResult::error("Give the cast as one of lines or gua.");
    const auto lines = args.contains("lines") ? cli::parseLines(args.at("lines").get<std::string>(), error)
                                              : cli::parseGuaName(args.at("gua").get<std::string>(), error);
    if (!lines)
        return ToolResult::error((args.contains("lines") ? "lines " : "gua ") + error + ".");
    request.input.lines = *lines;
    if (auto problem = readOptions(args, request))
        return *problem;
    if (args.contains("ganzhi")) {
        if (!args.value("no_date", false) || args.contains("time"))
            return ToolResult::error("ganzhi charts without a date, with no_date and no time; the dates of a "
                                     "ganzhi are listed by the ganzhi_dates tool.");
        GanzhiError ganzhiError;
        const std::string text = args.at("ganzhi").get<std::string>();
        const auto query = parseGanzhi(cli::toUtf16(text), ganzhiError);
        if (!query)
            return ToolResult::error("ganzhi " + toUtf8(ganzhiErrorText(ganzhiError, 1900, 2100)) + ".");
        if (!cli::setPillarsWithoutDate(request.input, *query, error))
            return ToolResult::error("ganzhi " + error + ".");
    } else if (args.value("no_date", false)) {
        return ToolResult::error("no_date needs ganzhi, the pillars to chart from.");
    }
    const Chart chart = chartOf(request.input);
    ToolResult result{nullptr, chartTextOf(chart, request), false, {}};
    appendChartValueJson(result.structuredJson, chart);
    return result;
}

ToolResult ganzhiDatesCall(const Json &args)
{
    const std::string text = args.at("ganzhi").get<std::string>();
    const int first = args.value("first_year", 1900), last = args.value("last_year", 2100);
    if (first > last || first < FirstChartMoment.date.year || last > LastChartMoment.date.year)
        return ToolResult::error("first_year and last_year must be years from 1900 to 2100, the first not after "
                                 "the last.");
    GanzhiError e;
    const auto query = parseGanzhi(cli::toUtf16(text), e);
    const DayBoundary b = args.value("zi23", false) ? DayBoundary::Zi23 : DayBoundary::Midnight;
    const auto matches
        = query ? findGanzhi(*query, b, first, last, cli::todayInChina(), e) : std::vector<GanzhiMatch>{};
    if (matches.empty())
        return ToolResult::error("ganzhi " + toUtf8(ganzhiErrorText(e, first, last)) + ".");
    return {Json::parse(cli::ganzhiListJson(text, *query, matches)),
            cli::ganzhiListText(text, *query, matches, first, last)};
}

Json trigramValue(int number)
{
    return {{"number", number}, {"trigram", toUtf8(TrigramNames.substr(static_cast<std::size_t>(number - 1), 1))}};
}

// The lines of a plum-blossom cast and their chart, after what led to them.
ToolResult castResult(ChartRequest &request, const PlumCast &cast, Json structured, std::string head)
{
    const std::optional<CastLines> lines = linesOf(cast);
    if (!lines)
        return ToolResult::error("The numbers give no cast.");
    request.input.lines = *lines;
    const Chart chart = chartOf(request.input);
    const std::string notation = toUtf8(lineNotation(request.input));
    structured["lines"] = notation;
    structured["upper"] = trigramValue(cast.upper);
    structured["lower"] = trigramValue(cast.lower);
    structured["moving"] = cast.moving;
    head += "上卦 " + structured["upper"]["trigram"].get<std::string>() + "，下卦 "
            + structured["lower"]["trigram"].get<std::string>() + "，动爻 " + std::to_string(cast.moving) + "："
            + notation + "\n";
    return {nullptr, head + chartTextOf(chart, request), false, withChartJson(structured, chart)};
}

ToolResult castByTimeCall(const Json &args)
{
    ChartRequest request;
    if (auto problem = readOptions(args, request))
        return *problem;
    const YearTurn turn = args.value("year_turns_at", "春节") == "立春" ? YearTurn::Lichun : YearTurn::LunarNewYear;
    const auto numbers = timeNumbers(*request.input.moment, turn, request.input.dayBoundary == DayBoundary::Zi23);
    if (!numbers)
        return ToolResult::error("time " + args.at("time").get<std::string>() + " lies outside the lunar calendar.");
    Json structured{
        {"numbers",
         {{"year", numbers->year}, {"month", numbers->month}, {"day", numbers->day}, {"hour", numbers->hour}}}};
    const std::string head = "时间起卦：年 " + std::to_string(numbers->year) + "，月 " + std::to_string(numbers->month)
                             + "，日 " + std::to_string(numbers->day) + "，时 " + std::to_string(numbers->hour) + "；";
    return castResult(request, timeCast(*numbers), std::move(structured), head);
}

ToolResult castByNumbersCall(const Json &args)
{
    ChartRequest request;
    if (auto problem = readOptions(args, request))
        return *problem;
    std::optional<int> hour;
    if (args.value("with_hour", false)) {
        if (!request.input.moment)
            return ToolResult::error("with_hour needs the time of the cast, whose hour it adds.");
        hour = hourNumber(request.input.moment->hour);
    }
    const std::int64_t first = args.at("first").get<std::int64_t>();
    const std::int64_t second = args.at("second").get<std::int64_t>();
    const auto cast = numberCast(first, second, hour);
    if (!cast)
        return ToolResult::error("first and second must be whole numbers from 1 to 99,999,999.");
    Json structured{{"hour", hour ? Json(*hour) : Json()}};
    std::string head = "数字起卦：" + std::to_string(first) + "，" + std::to_string(second);
    if (hour)
        head += "，加时 " + std::to_string(*hour);
    return castResult(request, *cast, std::move(structured), head + "；");
}

// The row a `hexagram` argument names: six digits 0/1 (line 1 first), the
// full name (乾为天) or the name the 周易 gives it (乾).
const HexagramRow *namedHexagram(const std::string &text)
{
    for (const HexagramRow &row : HexagramTable)
        if (toUtf8(row.key) == text || toUtf8(hexagramName(row)) == text || toUtf8(zhouyiText(row).name) == text)
            return &row;
    return nullptr;
}

ToolResult textsCall(const Json &args)
{
    const std::string named = args.at("hexagram").get<std::string>();
    const HexagramRow *row = namedHexagram(named);
    if (!row)
        return ToolResult::error("hexagram \"" + named
                                 + "\" names none: give six digits 0/1 (line 1 first), 乾为天 or 乾.");
    CastInput input;
    for (int line = 1; line <= 6; ++line)
        input.line(line).value = row->key[static_cast<std::size_t>(line - 1)];
    for (const Json &moving : args.value("moving", Json::array())) {
        const int line = moving.get<int>();
        if (line < 1 || line > 6)
            return ToolResult::error("moving lines are numbered 1 (bottom) to 6, not " + std::to_string(line) + ".");
        input.line(line).moving = true;
    }
    const Chart chart = chartOf(input);
    return {textsJson(chart), toUtf8(textsBlock(chart))};
}

const Json &textsSchema()
{
    static const Json schema = Json::parse(R"json({
  "type": "object",
  "description": "the 周易 texts a cast reads by 朱熹's rule (易学启蒙·考变占)",
  "properties": {
    "rule": {"type": "string", "description": "静卦, 一爻变 .. 六爻变"},
    "read": {"type": "array", "items": {"type": "object", "properties": {
      "hexagram": {"type": "string", "description": "the hexagram as the 周易 names it"},
      "part": {"type": "string", "enum": ["卦辞", "爻辞", "用九", "用六"]},
      "line": {"type": ["integer", "null"]},
      "role": {"type": ["string", "null"], "description": "贞 (the original) or 悔 (the changed) with three moving lines"},
      "text": {"type": "string"},
      "tuan": {"type": ["string", "null"], "description": "the 彖 of a judgement"},
      "xiang": {"type": "string", "description": "the 小象 of a line, the 大象 of a judgement"}}}},
    "main": {"type": "integer", "description": "the index in read of the main text"}
  },
  "required": ["rule", "read", "main"]
})json");
    return schema;
}

// The result of a cast tool: its lines, trigrams and moving line, then `extra`, and the chart.
Json castSchema(Json extra)
{
    const Json trigram
        = objectSchema({{"number", {{"type", "integer"}, {"description", "乾1 兑2 离3 震4 巽5 坎6 艮7 坤8"}}},
                        {"trigram", {{"type", "string"}}}},
                       Json::array({"number", "trigram"}));
    Json properties = std::move(extra);
    properties["lines"] = {{"type", "string"}, {"description", "the lines cast, 6/7/8/9, line 1 first"}};
    properties["upper"] = trigram;
    properties["lower"] = trigram;
    properties["moving"] = {{"type", "integer"}, {"description", "the moving line, 1 (bottom) to 6"}};
    properties["chart"] = chartSchema();
    Json required = Json::array();
    for (const auto &[key, value] : properties.items())
        required.push_back(key);
    return objectSchema(std::move(properties), std::move(required));
}

} // namespace

Json chartValue(const Chart &chart)
{
    Json value = chartJsonValue(chart);
    if (chart.original)
        value["texts"] = textsJson(chart);
    return value;
}

void appendChartValueJson(std::string &out, const Chart &chart)
{
    appendChartJson(out, chart, chart.original != nullptr);
}

std::string withChartJson(const Json &structured, const Chart &chart)
{
    // The object's text up to its closing brace, then the chart's member.
    std::string out = structured.dump(-1, ' ', false, Json::error_handler_t::replace);
    out.pop_back();
    if (!structured.empty())
        out += ',';
    out += R"("chart":)";
    appendChartValueJson(out, chart);
    out += '}';
    return out;
}

const Json &chartSchema()
{
    static const Json schema = Json::parse(R"json({
  "type": "object",
  "description": "the chart: the cast, its moment and pillars, the original hexagram line by line with its marks, the changed hexagram, 卦身 and 神煞",
  "properties": {
    "lines": {"type": "string", "description": "the cast in 6/7/8/9 notation, line 1 first"},
    "time": {"type": ["string", "null"], "description": "\"YYYY-MM-DD HH:MM\""},
    "pillars": {"type": ["object", "null"], "properties": {
      "year": {"type": "string"}, "month": {"type": "string"}, "day": {"type": "string"}, "hour": {"type": "string"}}},
    "void": {"type": "array", "items": {"type": "string"}, "description": "the day's two void branches (旬空)"},
    "original": {"type": "object", "properties": {
      "key": {"type": "string"}, "text": {"type": "string"}, "name": {"type": "string"},
      "palace": {"type": "string"}, "element": {"type": "string"},
      "lines": {"type": "array", "items": {"type": "object"}, "description": "line 1 first: position, yang, moving, branch, element, relative, spirit, role (世/应), void, hidden, marks, changes"}}},
    "changed": {"type": ["object", "null"], "description": "null without a moving line"},
    "types": {"type": "object", "description": "六冲 or 六合 of each hexagram"},
    "guashen": {"type": "object"},
    "shensha": {"type": "object", "description": "神煞 name to branches"},
    "texts": {"type": "object", "description": "the 周易 texts the cast reads, as the tool texts gives them"}
  },
  "required": ["lines", "time", "pillars", "void", "original", "changed", "types", "guashen", "shensha"]
})json");
    return schema;
}

std::vector<Tool> chartTools()
{
    Json chartProperties{
        {"lines",
         {{"type", "string"},
          {"description", "six digits, line 1 (the bottom line) first: 6 old yin (moving), 7 young yang, 8 young "
                          "yin, 9 old yang (moving)"}}}};
    chartProperties.update(optionProperties());

    Json timeProperties = optionProperties();
    timeProperties["year_turns_at"] = {{"type", "string"},
                                       {"enum", Json::array({"春节", "立春"})},
                                       {"description", "where the year turns: 正月初一 (春节, the default) or 立春"}};

    Json numberProperties{
        {"first", {{"type", "integer"}, {"description", "1 to 99,999,999; gives the upper trigram"}}},
        {"second", {{"type", "integer"}, {"description", "1 to 99,999,999; gives the lower trigram"}}},
        {"with_hour",
         {{"type", "boolean"},
          {"description", "add the number of the hour of `time` (子 1 .. 亥 12) to the moving line"}}}};
    numberProperties.update(optionProperties());

    chartProperties["gua"] = {{"type", "string"},
                              {"description", "instead of lines: the hexagrams by name, as books write them: "
                                              "\"山火贲\", \"贲之艮\", \"火山旅 二五爻动\""}};
    chartProperties["ganzhi"]
        = {{"type", "string"},
           {"description",
            "with no_date: chart from these pillars alone, the day in full and the month (\"卯月戊寅日\")"}};
    chartProperties["no_date"]
        = {{"type", "boolean"}, {"description", "chart from the pillars of ganzhi, without a date (no 应期 dates)"}};

    const Json ganzhiProperties{
        {"ganzhi",
         {{"type", "string"},
          {"description", "pillars as books write them: \"卯月戊寅日\", \"丙午年 己亥月 乙卯日 庚辰时\""}}},
        {"first_year", {{"type", "integer"}, {"description", "the first year searched, 1900 by default"}}},
        {"last_year", {{"type", "integer"}, {"description", "the last year searched, 2100 by default"}}},
        {"zi23", {{"type", "boolean"}, {"description", "the day turns at 23:00 (子初换日) instead of midnight"}}}};
    const Json match = objectSchema({{"from", {{"type", "string"}}},
                                     {"to", {{"type", "string"}}},
                                     {"chartTime", {{"type", "string"}}},
                                     {"pillars", {{"type", "object"}}}},
                                    Json::array({"from", "to", "chartTime", "pillars"}));
    const Json ganzhiOutput
        = objectSchema({{"ganzhi", {{"type", "string"}}}, {"matches", {{"type", "array"}, {"items", match}}}},
                       Json::array({"ganzhi", "matches"}));

    const Json hour{{"hour", {{"type", Json::array({"integer", "null"})}}}};
    return {
        {"chart", "六爻排盘",
         "The six-line (六爻) chart of a cast: palace, najia, six relatives, world and response, and with a time the "
         "pillars, six spirits, builds and marks. Returns the chart as JSON and as the text the program copies.",
         objectSchema(std::move(chartProperties), Json::array()), chartSchema(), chartCall},
        {"ganzhi_dates", "干支查日期",
         "The dates whose pillars are the 干支 given, as practitioners copy them from books: each stretch of time "
         "in which they all hold, nearest to today first, with a moment to chart it on.",
         objectSchema(ganzhiProperties, Json::array({"ganzhi"})), ganzhiOutput, ganzhiDatesCall},
        {"cast_by_time", "时间起卦",
         "Casts from the moment (梅花易数): the year's branch, the lunar month and day and the hour's branch give "
         "the trigrams and the moving line. Returns the lines cast and their chart.",
         objectSchema(std::move(timeProperties), Json::array({"time"})),
         castSchema({{"numbers", objectSchema({{"year", {{"type", "integer"}}},
                                               {"month", {{"type", "integer"}}},
                                               {"day", {{"type", "integer"}}},
                                               {"hour", {{"type", "integer"}}}},
                                              Json::array({"year", "month", "day", "hour"}))}}),
         castByTimeCall},
        {"cast_by_numbers", "数字起卦",
         "Casts from two numbers (梅花易数): the first gives the upper trigram, the second the lower one, their sum "
         "(and the hour's number) the moving line. Returns the lines cast and their chart.",
         objectSchema(std::move(numberProperties), Json::array({"first", "second"})), castSchema(hour),
         castByNumbersCall},
        {"texts", "周易经文",
         "The 周易 texts (卦辞 with 彖 and 大象, 爻辞 with 小象, 用九/用六) a hexagram reads with the given moving "
         "lines, chosen by 朱熹's rule (易学启蒙·考变占) from their number. Returns them as JSON and as the 经文 "
         "block of the copied text.",
         objectSchema({{"hexagram",
                        {{"type", "string"},
                         {"description", "six digits 0/1, line 1 (the bottom line) first, 1 yang; or the name, 乾为天 "
                                         "or 乾"}}},
                       {"moving",
                        {{"type", "array"},
                         {"items", {{"type", "integer"}, {"minimum", 1}, {"maximum", 6}}},
                         {"description", "the moving lines, 1 (bottom) to 6; none when left out"}}}},
                      Json::array({"hexagram"})),
         textsSchema(), textsCall},
    };
}

} // namespace lotgrid::mcp
