#pragma once
// The chart as one JSON object for scripts, the assistant's server and the
// journal's export. It is written as it is walked, straight into its text
// (a streaming writer, no document built first), and reads the Chart value
// only. Keys keep the order listed below; strings are UTF-8, nothing escaped
// but quotes, backslashes and control characters.

#include "chart/chart.h"

#include <nlohmann/json_fwd.hpp>

#include <optional>
#include <string>

namespace lotgrid {

// The chart as one JSON object in UTF-8, ending with "\n"; "{}" and "\n"
// unless six lines stand. Keys:
//   lines     the cast in 6/7/8/9 notation, line 1 first
//   time      "YYYY-MM-DD HH:MM" or null; pillars {year, month, day, hour} or null
//   void      the day's two void branches, [] when the day is unknown
//   original  {key, text, name, palace, element, lines: [{position, yang, moving,
//             branch, element, relative, spirit|null, role|null, void,
//             hidden {relative, branch, element}|null, marks [..], changes [..]
//             (moving lines only)} × 6]}; marks hold 月破 / 暗动 / 日破 / 冲实
//   changed   {key, text, name, palace, lines: [{position, yang, branch, element,
//             relative} × 6]} or null without a moving line
//   types     {original, changed}: "六冲", "六合" or null
//   fanfu     ["内卦反吟", "外卦反吟", "内卦伏吟", "外卦伏吟", "卦变反吟"]: those
//             that apply, [] when none does
//   guashen   {branch, positions [..]}
//   shensha   {name: [branches]} for the 神煞 whose source is known
//   school    the school the options were chosen from ("增删卜易", "卜筮正宗", "通行");
//             options the options that differ from it (see optionsJson), only when one does
//   category  the 占类 word or null; sex "男", "女" or null
//   usegod    {relative ("妻财", or "世" when the category names the world line),
//             position, hidden, candidates [..], source "auto"|"manual"} or null;
//             with changed true when it is a moving line's changed line, timing (the
//             position of the 两现 line that times the matter) and, when hidden,
//             fushen {state "得出"|"有阻"|"难出", for [..], against [..]}; on the
//             month or day build {relative, branch, hidden false, candidates [],
//             source "月建"|"日建"} without a position
//   relations [{kind "三合", element, branches [长生 帝旺 墓], positions [..],
//             with ["月"|"日"], changed [positions giving their changed branch],
//             form (with the book 三合: "三爻动", "两动一静", …)}
//             then {kind "入墓", position, by "日"|"动"|"变", from (by 动)}]
//   related   {hu, cuo, zong}: hexagram names
//   yingqi    [{date "YYYY-MM-DD", unit "日"|"月", branch, rule "值"|"冲"|"合"|"出空"|
//             "填实"|"补破"|"冲墓"|"生旺"|"逢墓"|"进退", position (null for a build),
//             why, line ("两现"|"忌神", only on such a line's)}] by date, [] without a moment
//   yingqiUntil  "2100-12-31" when the days or months looked for run past it
//   summary   the 要点: {trend "有利"|"不利"|"待条件"|"难断"|null (no use god), reason (the
//             sentence deciding it), items [{kind "用神"|"生扶"|"克害"|"原忌"|"待条件"|"世应"|"卦象",
//             text, positions [..], source "增删卜易·旬空章"|""}]}
//   zone      {name, iana (null for 北京时间), typed "YYYY-MM-DD HH:MM", summerTime},
//             when the moment was given on another clock
//   solarTime {time, longitude, place|null}, when the hour is read on 真太阳时
//   warnings  [{kind "节"|"时辰"|"日", name, at, minutes, other {year, month, day,
//             hour}}], when the moment is near a boundary
// Line marks hold 真空/假空 and 真破/目下破 after the others, and types hold
// lone {kind "独发"|"独静", position}, when the school tells them.
// Each original line also has yuanji ("原神"|"忌神"|"仇神"|null), strength
// {season, month [..], day [..], stage, strong, why [..] (with the book
// strength: what makes it strong)} (season and month null without a month
// build, day and stage null without a day build; null without either) and,
// on moving lines, stagechange ("化长生"|"化帝旺"|null); each changed line has
// its strength.
// With `texts`, "texts" follows last: the 周易 texts the cast reads, as
// textsJson gives them (null unless six lines stand, and then the only key).
std::string chartJson(const Chart &chart, bool texts = false);

// The same object without the line end, appended to `out`: for a caller that
// writes it inside a larger JSON text. Appends "{}" unless six lines stand.
void appendChartJson(std::string &out, const Chart &chart, bool texts = false);

// The same object as a value, for callers that read it or add keys to it;
// empty unless six lines stand. Slower: the text above, parsed.
nlohmann::ordered_json chartJsonValue(const Chart &chart);

// The school options as {yangren, fanyin, timeCastDay, numberCastHour, twice,
// absent, bookStrength, voidKinds, movingFillByClash, bookHarmonies,
// changeCombine, loneLine, bookYingqi}: the names of the chosen readings
// ("禄后一位" / "阳前阴后", "地支相冲" / "地支相冲或后天对宫", "随子初换日" /
// "子正换日" / "子初换日", TwiceRuleNames, AbsentRuleNames) and booleans.
nlohmann::ordered_json optionsJson(const SchoolOptions &options);

// The school the options were chosen from and the options that differ from
// it: {"school": "增删卜易", "options": {…}} ("options" only when one
// differs), as the chart's JSON gives them.
nlohmann::ordered_json schoolJsonValue(const SchoolOptions &options);

// The options of such an object; none when "school" names no preset or an
// option is not one of optionsJson's keys and values.
std::optional<SchoolOptions> schoolOptionsFromJson(const nlohmann::ordered_json &value);

} // namespace lotgrid
