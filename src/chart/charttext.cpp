#include "chart/charttext.h"

#include "chart/momentwords.h"
#include "chart/summary.h"
#include "chart/yingqi.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <type_traits>

namespace lotgrid {

namespace {

constexpr char16_t Wide = u'\u3000'; // the ideographic space that pads every column

// Names of the lines as the 卦身 line shows them.

// The 神煞 by the short names practitioners write under a chart, in ShenSha order.
constexpr std::array<std::u16string_view, 11> ShenShaShortNames{u"贵人", u"禄",   u"羊刃", u"文昌", u"驿马", u"桃花",
                                                                u"将星", u"华盖", u"劫煞", u"灾煞", u"天医"};
static_assert(ShenShaShortNames.size() == ShenShaNames.size());

// A yang line is one unbroken bar, a yin line a bar with a gap, five columns wide.
constexpr std::u16string_view YangBar = u"▅▅▅▅▅";
constexpr std::u16string_view YinBar = u"▅▅　▅▅";

// `text` padded with ideographic spaces to `width` columns (every character here is one column).
std::u16string cell(std::u16string_view text, std::size_t width)
{
    std::u16string out(text);
    if (out.size() < width)
        out.append(width - out.size(), Wide);
    return out;
}

std::u16string_view voidMark(bool isVoid)
{
    return isVoid ? u"空" : u"　";
}

std::u16string palaceName(const HexagramRow &row)
{
    return std::u16string(TrigramNames.substr(static_cast<int>(row.palace), 1)) + u"宫";
}

std::u16string_view soulName(Soul s)
{
    return s == Soul::Wandering ? u"游魂" : s == Soul::Returning ? u"归魂" : u"";
}

// "雷泽归妹（兑宫·归魂）", with the hexagram's type after it when it has one.
std::u16string hexagramCaption(const HexagramRow &row, HexagramType type)
{
    std::u16string out = std::u16string(hexagramName(row)) + u"（" + palaceName(row);
    if (row.soul != Soul::None)
        out += std::u16string(u"·") + std::u16string(soulName(row.soul));
    out += u"）";
    if (type != HexagramType::None)
        out += std::u16string(1, Wide) + std::u16string(hexagramTypeName(type));
    return out;
}

std::u16string twoDigits(int n)
{
    return {static_cast<char16_t>(u'0' + n / 10 % 10), static_cast<char16_t>(u'0' + n % 10)};
}

std::u16string momentText(const Moment &m)
{
    std::u16string year;
    for (int y = m.date.year, i = 0; i < 4; ++i, y /= 10)
        year.insert(year.begin(), static_cast<char16_t>(u'0' + y % 10));
    return year + u"-" + twoDigits(m.date.month) + u"-" + twoDigits(m.date.day) + u" " + twoDigits(m.hour) + u":"
           + twoDigits(m.minute);
}

std::u16string voidsText(const std::array<Branch, 2> &voids)
{
    return std::u16string(branchName(voids[0])) + std::u16string(branchName(voids[1]));
}

// 真空 / 假空 and 真破 / 目下破 of line `i`, when the school tells them.
std::vector<std::u16string_view> kindWords(const Analysis &a, std::size_t i)
{
    std::vector<std::u16string_view> words;
    if (a.breakKinds[i] != BreakKind::None)
        words.push_back(BreakKindNames[static_cast<std::size_t>(a.breakKinds[i])]);
    if (a.voidKinds[i] != VoidKind::None)
        words.push_back(VoidKindNames[static_cast<std::size_t>(a.voidKinds[i])]);
    return words;
}

// The words of a line's marks: 月破 / 暗动 / 日破 on a static line, the changes of a moving one.
std::vector<std::u16string_view> markWords(const Chart &chart, std::size_t i)
{
    std::vector<std::u16string_view> words;
    if (chart.analysis.marks[i] != StaticMark::None)
        words.push_back(staticMarkName(chart.analysis.marks[i]));
    for (std::u16string_view w : kindWords(chart.analysis, i))
        words.push_back(w);
    for (Change c : chart.analysis.changes[i])
        words.push_back(changeName(c));
    return words;
}

std::u16string positionList(const std::vector<int> &positions)
{
    std::u16string out;
    for (int p : positions)
        out += (out.empty() ? u"" : u"、") + std::u16string(linePlaceName(p));
    return out;
}

// Where the use god stands: "初爻", "伏于初爻", "四爻变", "月建寅".
std::u16string useGodPlace(const UseGod &g)
{
    if (g.fromBuild())
        return std::u16string(g.source == UseGodSource::Month ? u"月建" : u"日建")
               + std::u16string(branchName(g.branch));
    const std::u16string place(linePlaceName(g.position));
    return g.hidden ? std::u16string(u"伏于") + place : g.changed ? place + u"变" : place;
}

// "占类：求财  用神：妻财（初爻）  两现：五爻"; the use god alone when picked by hand without a category.
std::u16string useGodLine(const Chart &chart)
{
    std::u16string line;
    if (chart.input.category)
        line += u"占类：" + std::u16string(categoryName(*chart.input.category)) + u"  ";
    if (const std::u16string useGod = useGodValueWords(chart); !useGod.empty())
        line += u"用神：" + useGod;
    return line;
}

// "伏神：有阻（得：日建生伏神；阻：伏神休囚）" of a hidden use god; empty otherwise.
std::u16string fuShenLine(const Chart &chart)
{
    const auto &g = chart.reading.useGod;
    if (!g || !g->fushen)
        return {};
    const FuShenOutlook &f = *g->fushen;
    const auto list = [](const std::vector<std::u16string> &words) {
        std::u16string out;
        for (const std::u16string &w : words)
            out += (out.empty() ? u"" : u"、") + w;
        return out;
    };
    std::u16string line
        = std::u16string(u"伏神：") + std::u16string(FuShenStateNames[static_cast<std::size_t>(f.state)]);
    if (f.helps.empty() && f.blocks.empty())
        return line;
    line += u"（";
    if (!f.helps.empty())
        line += std::u16string(u"得：") + list(f.helps);
    if (!f.helps.empty() && !f.blocks.empty())
        line += u"；";
    if (!f.blocks.empty())
        line += std::u16string(u"阻：") + list(f.blocks);
    return line + u"）";
}

// "流派：卜筮正宗", "流派：增删卜易（自定义）"; empty for the modern rules (通行),
// whose text stays as it was before the schools (the JSON lists the options).
std::u16string schoolLine(const SchoolOptions &o)
{
    const bool custom = schoolOf(o) == School::Custom;
    if (o.base == School::Common)
        return {};
    return std::u16string(u"流派：") + std::u16string(schoolName(o.base)) + (custom ? u"（自定义）" : u"");
}

// "三合：申子辰水局（月建申、初爻子、三爻变辰）".
std::u16string harmonyText(const Harmony &h)
{
    std::u16string out;
    for (const HarmonyMember &m : h.members)
        out += branchName(m.branch);
    out += std::u16string(elementName(h.element)) + u"局（";
    if (!h.form.empty())
        out += std::u16string(h.form) + u"，";
    for (std::size_t k = 0; k < h.members.size(); ++k) {
        const HarmonyMember &m = h.members[k];
        out += k ? u"、" : u"";
        if (m.source == HarmonySource::Month)
            out += u"月建";
        else if (m.source == HarmonySource::Day)
            out += u"日建";
        else
            out += std::u16string(linePlaceName(m.position)) + (m.source == HarmonySource::Changed ? u"变" : u"");
        out += branchName(m.branch);
    }
    return out + u"）";
}

// "初爻入日墓", "二爻入动墓（三爻）", "三爻化墓".
std::u16string tombText(const Tomb &t)
{
    const std::u16string line(linePlaceName(t.position));
    switch (t.by) {
    case TombBy::Day:
        return line + u"入日墓";
    case TombBy::Moving:
        return line + u"入动墓（" + std::u16string(linePlaceName(t.from)) + u"）";
    case TombBy::Changed:
        return line + u"化墓";
    }
    return {};
}

void trimRight(std::u16string &line)
{
    while (!line.empty() && (line.back() == Wide || line.back() == u' '))
        line.pop_back();
}

// "应期参考：2026-12-15 乙卯日（值）  …": the first few candidates; empty without one.
// A moving 忌神's candidates follow on a line of their own, "忌神应期：…"; when the
// days or months looked for run past the chart's last day, the line says so.
std::array<std::u16string, 2> yingqiLines(const Chart &chart)
{
    std::vector<YingqiCandidate> own, taboo;
    for (const YingqiCandidate &c : chart.yingqi)
        (c.line == YingqiLine::Taboo ? taboo : own).push_back(c);
    std::array<std::u16string, 2> lines;
    for (const std::u16string &date : yingqiFirst(own, 4))
        lines[0] += (lines[0].empty() ? u"应期参考：" : u"  ") + date;
    for (const std::u16string &date : yingqiFirst(taboo, 4))
        lines[1] += (lines[1].empty() ? u"忌神应期：" : u"  ") + date;
    if (const auto end = yingqiCutOff(chart); end && !lines[0].empty())
        lines[0] += std::u16string(u"（止于") + isoDate(*end) + u"）";
    return lines;
}

} // namespace

std::vector<std::u16string> summaryLines(const Summary &summary)
{
    std::vector<std::u16string> lines;
    if (summary.items.empty() && summary.reason.empty())
        return lines;
    lines.emplace_back(u"要点：");
    for (const SummaryItem &item : summary.items)
        lines.push_back(std::u16string(1, Wide) + item.text);
    if (const std::u16string trend = trendLine(summary); !trend.empty())
        lines.push_back(std::u16string(1, Wide) + trend);
    return lines;
}

std::u16string lineNotation(const CastInput &input)
{
    std::u16string out;
    for (const CastLine &l : input.lines) {
        if (l.value != u'1' && l.value != u'0')
            return {};
        out += l.value == u'1' ? (l.moving ? u'9' : u'7') : (l.moving ? u'6' : u'8');
    }
    return out;
}

std::u16string chartText(const Chart &chart, std::u16string_view question, std::u16string_view sex, bool withSummary)
{
    if (!chart.original)
        return {};
    const CastInput &in = chart.input;
    const bool moving = chart.hasMovingLine() && chart.changed;
    std::u16string out;
    const auto emit = [&out](std::u16string line) {
        trimRight(line);
        out += line;
        out += u'\n';
    };

    // The builds are shown on a line of their own unless the moment's pillars already give them.
    const bool buildsFromPillars = chart.pillars && in.monthBuild == chart.pillars->month.branch()
                                   && in.dayBuild == chart.pillars->day.branch()
                                   && in.dayStem == chart.pillars->day.stem();
    const bool buildsLine = (in.monthBuild || in.dayBuild) && !buildsFromPillars;
    if (in.moment) {
        std::u16string line = u"起卦时间：" + momentOriginWords(chart);
        if (chart.pillars) {
            line += u"  " + pillarsWords(*chart.pillars);
        }
        if (chart.voids && !buildsLine)
            line += u"  旬空：" + voidsText(*chart.voids);
        emit(line);
        if (const std::u16string solar = solarTimeWords(chart); !solar.empty())
            emit(solar);
        for (std::u16string &warning : warningLines(chart))
            emit(std::move(warning));
    }
    if (buildsLine) {
        std::u16string line;
        if (in.monthBuild)
            line += u"月建：" + std::u16string(branchName(*in.monthBuild)) + u"  ";
        if (in.dayBuild)
            line += u"日建：" + (chart.day ? sexagenaryName(*chart.day) : std::u16string(branchName(*in.dayBuild)))
                    + u"  ";
        if (chart.voids)
            line += u"旬空：" + voidsText(*chart.voids);
        emit(line);
    }
    if (!question.empty())
        emit(u"卜问何事：" + std::u16string(question));
    if (!sex.empty())
        emit(u"性别：" + std::u16string(sex));
    else if (in.sex)
        emit(u"性别：" + std::u16string(sexName(*in.sex)));
    if (const std::u16string line = useGodLine(chart); !line.empty())
        emit(line);
    if (const std::u16string line = fuShenLine(chart); !line.empty())
        emit(line);

    std::u16string heads = u"本卦：" + hexagramCaption(*chart.original, chart.analysis.originalType);
    if (moving) {
        heads += u"  变卦：" + hexagramCaption(*chart.changed, chart.analysis.changedType);
        const std::u16string_view typeChange = chart.analysis.typeChange();
        if (!typeChange.empty())
            heads += u"  " + std::u16string(typeChange);
        if (const auto &lone = chart.analysis.lone)
            heads += std::u16string(u"  ") + std::u16string(LoneKindNames[static_cast<std::size_t>(lone->kind)]) + u"（"
                     + std::u16string(linePlaceName(lone->position)) + u"）";
        const auto fanFu = chart.analysis.fanFuWords();
        for (std::size_t k = 0; k < fanFu.size(); ++k)
            heads += (k ? std::u16string(1, Wide) : std::u16string(u"  ")) + std::u16string(fanFu[k]);
    }
    emit(heads);

    const bool spirits = std::ranges::any_of(chart.lines, [](const ChartLine &l) { return !l.spirit.empty(); });
    const bool hidden = std::ranges::any_of(chart.lines, [](const ChartLine &l) { return l.hidden.has_value(); });
    const Reading &reading = chart.reading;
    const auto &useGod = reading.useGod;
    const bool supports = useGod.has_value();
    const bool strengths
        = std::ranges::any_of(reading.lines, [](const LineReading &l) { return l.strength.has_value(); });
    for (int n = 6; n >= 1; --n) {
        const std::size_t i = static_cast<std::size_t>(n - 1);
        const ChartLine &l = chart.lines[i];
        const bool yang = l.cast.value == u'1';
        std::u16string row;
        const auto column = [&row](std::u16string_view text) {
            row += text;
            row += Wide;
        };
        if (spirits)
            column(cell(l.spirit, 2));
        if (hidden)
            column(cell(l.hidden ? relativeLabel(l.hidden->relative, l.hidden->branch) : std::u16string(), 4)
                   + std::u16string(voidMark(l.hidden && l.hiddenVoid))
                   + std::u16string(useGod && useGod->hidden ? (useGod->position == n ? u"用" : u"　") : u""));
        column(yang ? YangBar : YinBar);
        column(relativeLabel(l.relative, l.branch) + std::u16string(voidMark(l.isVoid)));
        column(cell(roleName(l.role), 1));
        column(l.cast.moving ? (yang ? u"○" : u"×") : u"　");
        if (moving) {
            if (l.cast.moving) {
                column(u"→");
                column(relativeLabel(l.changedRelative, l.changedBranch) + std::u16string(voidMark(l.changedVoid)));
            } else {
                column(cell({}, 1));
                column(cell({}, 5));
            }
        }
        const LineReading &lr = reading.lines[i];
        if (supports)
            column(cell(useGod->isLine(n) ? u"用神" : supportName(lr.support), 2));
        if (strengths)
            column(cell(lr.strength ? strengthShort(*lr.strength) : std::u16string(), 4));
        for (std::u16string_view word : markWords(chart, i))
            column(word);
        if (lr.changeStage)
            column(u"化" + std::u16string(stageName(*lr.changeStage)));
        emit(row);
    }

    if (const auto &gs = chart.analysis.guaShen) {
        std::u16string line = u"卦身：" + std::u16string(branchName(gs->branch));
        if (!gs->positions.empty()) {
            line += u"（";
            for (std::size_t k = 0; k < gs->positions.size(); ++k)
                line += (k ? u"、" : u"") + std::u16string(linePlaceName(gs->positions[k]));
            line += u"）";
        }
        emit(line);
    }
    if (!chart.analysis.shenSha.empty()) {
        std::u16string line;
        for (const ShenShaEntry &e : chart.analysis.shenSha) {
            if (!line.empty())
                line += u"  ";
            line += std::u16string(ShenShaShortNames[static_cast<std::size_t>(e.kind)]) + u"：";
            for (Branch b : e.list())
                line += branchName(b);
        }
        emit(line);
    }
    if (const std::u16string line = relationWords(chart); !line.empty())
        emit(line);
    if (const std::u16string line = relatedHexagramWords(chart); !line.empty())
        emit(line);
    if (const std::u16string line = schoolLine(in.options); !line.empty())
        emit(line);
    for (const std::u16string &line : yingqiLines(chart))
        if (!line.empty())
            emit(line);
    if (withSummary)
        for (std::u16string &line : summaryLines(summaryOf(chart)))
            emit(std::move(line));
    return out;
}

namespace {

// Appends `text` as UTF-8.
void appendUtf8(std::string &out, std::u16string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
}

} // namespace

std::string toUtf8(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size() * 3);
    appendUtf8(out, text);
    return out;
}

namespace {

using Json = nlohmann::ordered_json;

// An object or array with room for `n` members: its members are kept in a
// vector, which would otherwise grow, and move them all, several times over.
Json withRoom(Json value, std::size_t n)
{
    if (value.is_object())
        value.get_ref<Json::object_t &>().reserve(n);
    else
        value.get_ref<Json::array_t &>().reserve(n);
    return value;
}

Json utf8(std::u16string_view text)
{
    return toUtf8(text);
}

// A string, or null when empty.
Json orNull(std::u16string_view text)
{
    return text.empty() ? Json(nullptr) : utf8(text);
}

void hexagramHead(Json &j, const HexagramRow &row)
{
    j["key"] = utf8(row.key);
    j["text"] = utf8(row.text);
    j["name"] = utf8(hexagramName(row));
    j["palace"] = utf8(palaceName(row));
}

// The reasons a line is strong by the book, when the school reckons them.
void strengthWhy(Json &j, const LineStrength &s)
{
    if (!s.why)
        return;
    Json &why = j["why"] = Json::array();
    for (const std::u16string &w : *s.why)
        why.push_back(utf8(w));
}

// {season, month, day, stage, strong}: season and month null without a month
// build, day and stage null without a day build; null without either.
Json strengthJson(const std::optional<LineStrength> &s)
{
    if (!s)
        return nullptr;
    const auto words = [](const std::optional<BuildTies> &t) {
        if (!t)
            return Json(nullptr);
        Json list = Json::array();
        for (Tie tie : t->ties)
            list.push_back(utf8(tieName(tie)));
        for (StaticMark m : t->marks)
            list.push_back(utf8(staticMarkName(m)));
        return list;
    };
    Json j = {{"season", s->season ? utf8(seasonName(*s->season)) : Json(nullptr)},
              {"month", words(s->month)},
              {"day", words(s->day)},
              {"stage", s->stage ? utf8(stageName(*s->stage)) : Json(nullptr)},
              {"strong", s->strong}};
    strengthWhy(j, *s);
    return j;
}

// A use god standing on the month or day build: no position.
Json buildUseGodJson(const UseGod &g)
{
    return {{"relative", utf8(relativeName(g.relative))},
            {"branch", utf8(branchName(g.branch))},
            {"hidden", false},
            {"candidates", Json::array()},
            {"source", utf8(g.source == UseGodSource::Month ? u"月建" : u"日建")}};
}

// {state, for, against} of a hidden use god.
Json fuShenJson(const FuShenOutlook &f)
{
    const auto list = [](const std::vector<std::u16string> &words) {
        Json out = Json::array();
        for (const std::u16string &w : words)
            out.push_back(utf8(w));
        return out;
    };
    return {{"state", utf8(FuShenStateNames[static_cast<std::size_t>(f.state)])},
            {"for", list(f.helps)},
            {"against", list(f.blocks)}};
}

// What a school adds to the use god: the changed line it stands on, the
// timing line of 两现, the outlook of a hidden one.
void useGodExtras(Json &j, const UseGod &g)
{
    if (g.changed)
        j["changed"] = true;
    if (g.timing)
        j["timing"] = *g.timing;
    if (g.fushen)
        j["fushen"] = fuShenJson(*g.fushen);
}

Json useGodJson(const std::optional<UseGod> &g)
{
    if (!g)
        return nullptr;
    if (g->fromBuild())
        return buildUseGodJson(*g);
    Json j = {{"relative", utf8(g->world ? u"世" : relativeName(g->relative))},
              {"position", g->position},
              {"hidden", g->hidden},
              {"candidates", g->candidates},
              {"source", g->source == UseGodSource::Manual ? "manual" : "auto"}};
    useGodExtras(j, *g);
    return j;
}

Json relationsJson(const Reading &r)
{
    Json out = Json::array();
    for (const Harmony &h : r.harmonies) {
        Json branches = Json::array(), with = Json::array();
        std::vector<int> positions, changed;
        for (const HarmonyMember &m : h.members) {
            branches.push_back(utf8(branchName(m.branch)));
            if (m.source == HarmonySource::Month)
                with.push_back(utf8(u"月"));
            else if (m.source == HarmonySource::Day)
                with.push_back(utf8(u"日"));
            else
                positions.push_back(m.position);
            if (m.source == HarmonySource::Changed)
                changed.push_back(m.position);
        }
        std::ranges::sort(positions);
        out.push_back({{"kind", utf8(u"三合")},
                       {"element", utf8(elementName(h.element))},
                       {"branches", branches},
                       {"positions", positions},
                       {"with", with},
                       {"changed", changed}});
        if (!h.form.empty())
            out.back()["form"] = utf8(h.form);
    }
    for (const Tomb &t : r.tombs) {
        Json tomb = {{"kind", utf8(u"入墓")}, {"position", t.position}, {"by", utf8(tombByName(t.by))}};
        if (t.by == TombBy::Moving)
            tomb["from"] = t.from;
        out.push_back(std::move(tomb));
    }
    return out;
}

Json yingqiJson(const Chart &chart)
{
    Json out = Json::array();
    for (const YingqiCandidate &c : chart.yingqi) {
        out.push_back({{"date", utf8(isoDate(c.date))},
                       {"unit", utf8(yingqiUnitName(c.unit))},
                       {"branch", utf8(branchName(c.branch()))},
                       {"rule", utf8(yingqiRuleName(c.rule))},
                       {"position", c.position ? Json(c.position) : Json(nullptr)},
                       {"why", utf8(c.why)}});
        if (c.line != YingqiLine::UseGod)
            out.back()["line"] = utf8(YingqiLineNames[static_cast<std::size_t>(c.line)]);
    }
    return out;
}

// "summary": {trend, reason, items: [{kind, text, positions, source}]}; trend null without a use god.
Json summaryJson(const Summary &summary)
{
    Json items = Json::array();
    for (const SummaryItem &item : summary.items)
        items.push_back({{"kind", utf8(summaryKindName(item.kind))},
                         {"text", utf8(item.text)},
                         {"positions", item.positions},
                         {"source", utf8(item.source)}});
    return {{"trend", summary.trend ? utf8(trendName(*summary.trend)) : Json(nullptr)},
            {"reason", utf8(summary.reason)},
            {"items", std::move(items)}};
}

// "yingqiUntil": the chart's last day, when the days or months looked for run past it.
void yingqiCutJson(Json &j, const Chart &chart)
{
    if (const auto end = yingqiCutOff(chart))
        j["yingqiUntil"] = utf8(isoDate(*end));
}

// 真空 / 假空 and 真破 / 目下破 after a line's other marks.
void kindMarksJson(Json &marks, const Analysis &a, std::size_t i)
{
    for (std::u16string_view w : kindWords(a, i))
        marks.push_back(utf8(w));
}

// 独发 / 独静 among the types, when the school tells them.
void loneJson(Json &types, const Analysis &a)
{
    if (a.lone)
        types["lone"]
            = {{"kind", utf8(LoneKindNames[static_cast<std::size_t>(a.lone->kind)])}, {"position", a.lone->position}};
}

// The school the options were chosen from, and the options that differ from it.
void schoolJson(Json &j, const SchoolOptions &o)
{
    const Json school = schoolJsonValue(o);
    for (const auto &[key, value] : school.items())
        j[key] = value;
}

} // namespace

nlohmann::ordered_json optionsJson(const SchoolOptions &o)
{
    return {{"yangren", utf8(BladeRuleNames[static_cast<std::size_t>(o.blade)])},
            {"fanyin", utf8(o.facingTrigramsReverse ? u"地支相冲或后天对宫" : u"地支相冲")},
            {"timeCastDay", utf8(TimeCastDayNames[static_cast<std::size_t>(o.timeCastDay)])},
            {"numberCastHour", o.numberCastAddsHour},
            {"twice", utf8(TwiceRuleNames[static_cast<std::size_t>(o.twice)])},
            {"absent", utf8(AbsentRuleNames[static_cast<std::size_t>(o.absent)])},
            {"bookStrength", o.bookStrength},
            {"voidKinds", o.voidKinds},
            {"movingFillByClash", o.movingFillByClash},
            {"bookHarmonies", o.bookHarmonies},
            {"changeCombine", o.changeCombine},
            {"loneLine", o.loneLine},
            {"bookYingqi", o.bookYingqi}};
}

nlohmann::ordered_json schoolJsonValue(const SchoolOptions &o)
{
    Json j = {{"school", utf8(schoolName(o.base))}};
    const Json own = optionsJson(o);
    const Json preset = optionsJson(schoolPreset(o.base));
    Json differ = Json::object();
    for (const auto &[key, value] : own.items())
        if (preset[key] != value)
            differ[key] = value;
    if (!differ.empty())
        j["options"] = std::move(differ);
    return j;
}

std::optional<SchoolOptions> schoolOptionsFromJson(const nlohmann::ordered_json &value)
{
    if (!value.is_object() || !value.contains("school") || !value["school"].is_string())
        return std::nullopt;
    std::optional<SchoolOptions> o;
    for (const School s : {School::ZengShan, School::BuShi, School::Common})
        if (toUtf8(schoolName(s)) == value["school"].get<std::string>())
            o = schoolPreset(s);
    if (!o || !value.contains("options"))
        return o;
    const Json &given = value["options"];
    if (!given.is_object())
        return std::nullopt;
    // Each option takes the value among its choices whose words match.
    const auto pick = [&given](const char *key, auto &field, const auto &names) {
        if (!given.contains(key))
            return true;
        for (std::size_t k = 0; k < names.size(); ++k)
            if (given[key] == toUtf8(names[k])) {
                field = static_cast<std::remove_reference_t<decltype(field)>>(k);
                return true;
            }
        return false;
    };
    const auto flag = [&given](const char *key, bool &field) {
        if (!given.contains(key))
            return true;
        if (!given[key].is_boolean())
            return false;
        field = given[key].get<bool>();
        return true;
    };
    bool facing = o->facingTrigramsReverse;
    const std::array<std::u16string_view, 2> fanyinNames{u"地支相冲", u"地支相冲或后天对宫"};
    const bool ok = pick("yangren", o->blade, BladeRuleNames) && pick("fanyin", facing, fanyinNames)
                    && pick("timeCastDay", o->timeCastDay, TimeCastDayNames)
                    && flag("numberCastHour", o->numberCastAddsHour) && pick("twice", o->twice, TwiceRuleNames)
                    && pick("absent", o->absent, AbsentRuleNames) && flag("bookStrength", o->bookStrength)
                    && flag("voidKinds", o->voidKinds) && flag("movingFillByClash", o->movingFillByClash)
                    && flag("bookHarmonies", o->bookHarmonies) && flag("changeCombine", o->changeCombine)
                    && flag("loneLine", o->loneLine) && flag("bookYingqi", o->bookYingqi);
    o->facingTrigramsReverse = facing;
    return ok ? o : std::nullopt;
}

nlohmann::ordered_json chartJsonValue(const Chart &chart)
{
    Json j = withRoom(Json::object(), 24);
    if (!chart.original)
        return j;
    const CastInput &in = chart.input;
    const bool moving = chart.hasMovingLine() && chart.changed;
    j["lines"] = utf8(lineNotation(in));
    j["time"] = in.moment ? utf8(momentText(*in.moment)) : Json(nullptr);
    if (chart.pillars) {
        const Pillars &p = *chart.pillars;
        j["pillars"] = {{"year", utf8(sexagenaryName(p.year))},
                        {"month", utf8(sexagenaryName(p.month))},
                        {"day", utf8(sexagenaryName(p.day))},
                        {"hour", utf8(sexagenaryName(p.hour))}};
    } else {
        j["pillars"] = nullptr;
    }
    Json &voids = j["void"] = Json::array();
    if (chart.voids)
        for (Branch b : *chart.voids)
            voids.push_back(utf8(branchName(b)));

    Json &original = j["original"] = withRoom(Json::object(), 6);
    hexagramHead(original, *chart.original);
    original["element"] = utf8(elementName(chart.palaceElement()));
    Json &lines = original["lines"] = withRoom(Json::array(), 6);
    for (int n = 1; n <= 6; ++n) {
        const std::size_t i = static_cast<std::size_t>(n - 1);
        const ChartLine &l = chart.lines[i];
        Json line = withRoom(Json::object(), 16);
        line["position"] = n;
        line["yang"] = l.cast.value == u'1';
        line["moving"] = l.cast.moving;
        line["branch"] = utf8(branchName(l.branch));
        line["element"] = utf8(elementName(l.element));
        line["relative"] = utf8(relativeName(l.relative));
        line["spirit"] = orNull(l.spirit);
        line["role"] = orNull(roleName(l.role));
        line["void"] = l.isVoid;
        if (l.hidden)
            line["hidden"] = {{"relative", utf8(relativeName(l.hidden->relative))},
                              {"branch", utf8(branchName(l.hidden->branch))},
                              {"element", utf8(elementName(branchElement(l.hidden->branch)))}};
        else
            line["hidden"] = nullptr;
        Json &marks = line["marks"] = Json::array();
        if (chart.analysis.marks[i] != StaticMark::None)
            marks.push_back(utf8(staticMarkName(chart.analysis.marks[i])));
        kindMarksJson(marks, chart.analysis, i);
        if (l.cast.moving) {
            Json &changes = line["changes"] = Json::array();
            for (Change c : chart.analysis.changes[i])
                changes.push_back(utf8(changeName(c)));
        }
        const LineReading &lr = chart.reading.lines[i];
        line["yuanji"] = orNull(supportName(lr.support));
        line["strength"] = strengthJson(lr.strength);
        if (l.cast.moving)
            line["stagechange"]
                = lr.changeStage ? utf8(u"化" + std::u16string(stageName(*lr.changeStage))) : Json(nullptr);
        lines.push_back(std::move(line));
    }

    if (moving) {
        Json &changed = j["changed"] = Json::object();
        hexagramHead(changed, *chart.changed);
        Json &changedLines = changed["lines"] = Json::array();
        for (int n = 1; n <= 6; ++n) {
            const ChartLine &l = chart.line(n);
            changedLines.push_back({{"position", n},
                                    {"yang", chart.changed->key[static_cast<std::size_t>(n - 1)] == u'1'},
                                    {"branch", utf8(branchName(l.changedBranch))},
                                    {"element", utf8(elementName(l.changedElement))},
                                    {"relative", utf8(relativeName(l.changedRelative))},
                                    {"strength", strengthJson(chart.reading.line(n).changedStrength)}});
        }
    } else {
        j["changed"] = nullptr;
    }

    j["types"] = {{"original", orNull(hexagramTypeName(chart.analysis.originalType))},
                  {"changed", orNull(moving ? hexagramTypeName(chart.analysis.changedType) : std::u16string_view{})}};
    loneJson(j["types"], chart.analysis);

    Json &fanFu = j["fanfu"] = Json::array();
    for (std::u16string_view word : chart.analysis.fanFuWords())
        fanFu.push_back(utf8(word));

    if (const auto &gs = chart.analysis.guaShen)
        j["guashen"] = {{"branch", utf8(branchName(gs->branch))}, {"positions", gs->positions}};
    else
        j["guashen"] = nullptr;

    Json &shenSha = j["shensha"] = Json::object();
    for (const ShenShaEntry &e : chart.analysis.shenSha) {
        Json &list = shenSha[toUtf8(shenShaName(e.kind))] = Json::array();
        for (Branch b : e.list())
            list.push_back(utf8(branchName(b)));
    }
    schoolJson(j, in.options);

    j["category"] = in.category ? utf8(categoryName(*in.category)) : Json(nullptr);
    j["sex"] = in.sex ? utf8(sexName(*in.sex)) : Json(nullptr);
    j["usegod"] = useGodJson(chart.reading.useGod);
    j["relations"] = relationsJson(chart.reading);
    const auto name = [](const HexagramRow *row) { return row ? utf8(hexagramName(*row)) : Json(nullptr); };
    j["related"]
        = {{"hu", name(chart.reading.hu)}, {"cuo", name(chart.reading.cuo)}, {"zong", name(chart.reading.zong)}};
    j["yingqi"] = yingqiJson(chart);
    yingqiCutJson(j, chart);
    j["summary"] = summaryJson(summaryOf(chart));
    addMomentJson(j, chart);
    return j;
}

std::string chartJson(const Chart &chart)
{
    // Every string is valid UTF-8 (toUtf8 replaces an unpaired surrogate), so
    // the replacing handler never fires; it only rules out an exception.
    return chartJsonValue(chart).dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

std::u16string chartMomentWords(const Moment &moment)
{
    return momentText(moment);
}

std::u16string palaceWords(const HexagramRow &row)
{
    return palaceName(row);
}

std::u16string_view soulWords(Soul soul)
{
    return soulName(soul);
}

std::vector<std::u16string_view> lineMarkWords(const Chart &chart, int line)
{
    if (line < 1 || line > 6)
        return {};
    return markWords(chart, static_cast<std::size_t>(line - 1));
}

std::u16string guaShenWords(const GuaShen &guaShen)
{
    std::u16string words(branchName(guaShen.branch));
    if (!guaShen.positions.empty()) {
        words += u"（";
        for (std::size_t k = 0; k < guaShen.positions.size(); ++k) {
            if (k)
                words += u"、";
            words += linePlaceName(guaShen.positions[k]);
        }
        words += u"）";
    }
    return words;
}

std::vector<std::u16string> shenShaWords(const std::vector<ShenShaEntry> &entries)
{
    std::vector<std::u16string> words;
    for (const ShenShaEntry &e : entries) {
        std::u16string w = std::u16string(ShenShaShortNames[static_cast<std::size_t>(e.kind)]) + u"：";
        for (Branch b : e.list())
            w += branchName(b);
        words.push_back(std::move(w));
    }
    return words;
}

std::u16string useGodValueWords(const Chart &chart)
{
    const auto &g = chart.reading.useGod;
    if (!g)
        return chart.input.category == Category::Marriage && !chart.input.sex ? u"未定（婚恋需性别）" : u"";
    std::u16string words = std::u16string(g->world ? u"世" : relativeName(g->relative)) + u"（";
    words += useGodPlace(*g);
    words += std::u16string(g->source == UseGodSource::Manual ? u"·手选" : u"") + u"）";
    if (!g->candidates.empty())
        words += (g->hidden ? u"  又伏于：" : g->changed ? u"  又变于：" : u"  两现：") + positionList(g->candidates);
    if (g->timing)
        words += std::u16string(u"  定应期：") + std::u16string(linePlaceName(*g->timing));
    return words;
}

std::u16string useGodWords(const Chart &chart)
{
    return useGodLine(chart);
}

std::u16string fuShenWords(const Chart &chart)
{
    return fuShenLine(chart);
}

std::u16string relationWords(const Chart &chart)
{
    const Reading &reading = chart.reading;
    std::u16string line;
    for (const Harmony &h : reading.harmonies)
        line += (line.empty() ? u"三合：" : u"  三合：") + harmonyText(h);
    if (!reading.tombs.empty()) {
        line += line.empty() ? u"入墓：" : u"  入墓：";
        for (std::size_t k = 0; k < reading.tombs.size(); ++k)
            line += (k ? u"、" : u"") + tombText(reading.tombs[k]);
    }
    return line;
}

std::u16string relatedHexagramWords(const Chart &chart)
{
    const Reading &reading = chart.reading;
    if (!reading.hu || !reading.cuo || !reading.zong)
        return {};
    return u"互卦：" + std::u16string(hexagramName(*reading.hu)) + u"  错卦："
           + std::u16string(hexagramName(*reading.cuo)) + u"  综卦：" + std::u16string(hexagramName(*reading.zong));
}

} // namespace lotgrid
