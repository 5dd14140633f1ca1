#include "chart/chartjson.h"
#include "chart/codepoints.h"
#include "chart/summary.h"

#include "chart/words.h"
#include "chart/yingqi.h"
#include "chart/zhouyi.h"

#include <nlohmann/json.hpp>
#include <rapidjson/writer.h>

#include <algorithm>
#include <array>
#include <type_traits>

namespace lotgrid {

namespace {

// The writer's output: writes straight into a std::string, which grows ahead
// of the writing (RapidJSON reserves room before each value) and is cut to
// what was written when the writer flushes at the end of the value.
class StringStream
{
public:
    using Ch = char;
    explicit StringStream(std::string &out)
        : m_out(out)
        , m_next(out.data() + out.size())
        , m_end(m_next)
    {
    }
    // Where the next `n` characters go.
    char *reserve(std::size_t n)
    {
        if (static_cast<std::size_t>(m_end - m_next) < n)
            grow(n);
        return m_next;
    }
    // What was written from reserve() up to `end`.
    void commit(char *end) { m_next = end; }
    void putUnsafe(char c) { *m_next++ = c; }
    void Put(char c)
    {
        reserve(1);
        putUnsafe(c);
    }
    void Flush() { m_out.resize(static_cast<std::size_t>(m_next - m_out.data())); }

private:
    void grow(std::size_t n)
    {
        const std::size_t written = static_cast<std::size_t>(m_next - m_out.data());
        // A chart takes a few kilobytes: room for them at the first call, then twice as much each time.
        m_out.resize(std::max({m_out.size() * 2, m_out.capacity(), written + n, written + 8192}));
        m_next = m_out.data() + written;
        m_end = m_out.data() + m_out.size();
    }

    std::string &m_out;
    char *m_next; // in m_out, which is longer than what is written while a value is being written
    char *m_end;
};

// Found by RapidJSON's writer for this stream (argument-dependent lookup) in
// place of its generic ones, which call Put() for every character.
void PutReserve(StringStream &stream, std::size_t count)
{
    stream.reserve(count);
}
void PutUnsafe(StringStream &stream, char c)
{
    stream.putUnsafe(c);
}

// `text` as a JSON string into `out`, which has room for 6 bytes per UTF-16
// unit and 2 more; returns the end. UTF-8, an unpaired surrogate as U+FFFD, and only quotes,
// backslashes and control characters escaped, each control character as
// \b \t \n \f \r or \u00xx.
char *putJsonString(char *out, std::u16string_view text)
{
    *out++ = '"';
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char32_t c = codePointAt(text, i);
        if (c < 0x20) {
            constexpr char Hex[] = "0123456789abcdef";
            *out++ = '\\';
            switch (c) {
            case u'\b':
                *out++ = 'b';
                break;
            case u'\t':
                *out++ = 't';
                break;
            case u'\n':
                *out++ = 'n';
                break;
            case u'\f':
                *out++ = 'f';
                break;
            case u'\r':
                *out++ = 'r';
                break;
            default:
                *out++ = 'u';
                *out++ = '0';
                *out++ = '0';
                *out++ = Hex[c >> 4];
                *out++ = Hex[c & 0xF];
            }
        } else if (c == u'"' || c == u'\\') {
            *out++ = '\\';
            *out++ = static_cast<char>(c);
        } else if (c < 0x80) {
            *out++ = static_cast<char>(c);
        } else if (c < 0x800) {
            *out++ = static_cast<char>(0xC0 | (c >> 6));
            *out++ = static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            *out++ = static_cast<char>(0xE0 | (c >> 12));
            *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            *out++ = static_cast<char>(0x80 | (c & 0x3F));
        } else {
            *out++ = static_cast<char>(0xF0 | (c >> 18));
            *out++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            *out++ = static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    *out++ = '"';
    return out;
}

// RapidJSON's Writer, which places the commas and colons, with the values the
// chart's JSON is made of. The program's words are UTF-16 and go into the
// output as UTF-8 strings in one pass, an empty word as null; keys are the
// program's own ASCII names, which need no escaping.
class JsonWriter : private rapidjson::Writer<StringStream>
{
public:
    explicit JsonWriter(StringStream &out)
        : Writer(out)
    {
    }

    // A key of the program's own, its length known where it is written.
    template<std::size_t N>
    JsonWriter &key(const char (&name)[N])
    {
        return key(std::string_view(name, N - 1));
    }
    JsonWriter &key(std::string_view name)
    {
        Prefix(rapidjson::kStringType);
        char *out = os_->reserve(name.size() + 2);
        *out++ = '"';
        out = std::copy(name.begin(), name.end(), out);
        *out++ = '"';
        os_->commit(out);
        EndValue(true);
        return *this;
    }
    void string(std::u16string_view text)
    {
        Prefix(rapidjson::kStringType);
        os_->commit(putJsonString(os_->reserve(text.size() * 6 + 2), text));
        EndValue(true);
    }
    void ascii(std::string_view text) { String(text.data(), static_cast<rapidjson::SizeType>(text.size())); }
    void orNull(std::u16string_view text)
    {
        if (text.empty())
            null();
        else
            string(text);
    }
    // A value already written as JSON text.
    void raw(std::string_view json) { RawValue(json.data(), json.size(), rapidjson::kNumberType); }
    void null() { Null(); }
    void boolean(bool value) { Bool(value); }
    void integer(int value) { Int(value); }
    void integers(const std::vector<int> &values)
    {
        startArray();
        for (int v : values)
            integer(v);
        endArray();
    }
    void startObject() { StartObject(); }
    void endObject() { EndObject(); }
    void startArray() { StartArray(); }
    void endArray() { EndArray(); }
};

void writeHexagramHead(JsonWriter &w, const HexagramRow &row)
{
    w.key("key").string(row.key);
    w.key("text").string(row.text);
    w.key("name").string(hexagramName(row));
    w.key("palace").string(palaceWords(row));
}

void writeWords(JsonWriter &w, const std::vector<std::u16string> &words)
{
    w.startArray();
    for (const std::u16string &word : words)
        w.string(word);
    w.endArray();
}

// {season, month, day, stage, strong, why}: season and month null without a
// month build, day and stage null without a day build; null without either;
// why (what makes the line strong) only when the school reckons it.
void writeStrength(JsonWriter &w, const std::optional<LineStrength> &s)
{
    if (!s)
        return w.null();
    const auto words = [&w](const std::optional<BuildTies> &t) {
        if (!t)
            return w.null();
        w.startArray();
        for (Tie tie : t->ties)
            w.string(tieName(tie));
        for (StaticMark m : t->marks)
            w.string(staticMarkName(m));
        w.endArray();
    };
    w.startObject();
    w.key("season");
    if (s->season)
        w.string(seasonName(*s->season));
    else
        w.null();
    w.key("month");
    words(s->month);
    w.key("day");
    words(s->day);
    w.key("stage");
    if (s->stage)
        w.string(stageName(*s->stage));
    else
        w.null();
    w.key("strong").boolean(s->strong);
    if (s->why)
        writeWords(w.key("why"), *s->why);
    w.endObject();
}

// One school option as the JSON names it: the words of the chosen reading, or a boolean.
struct OptionValue {
    const char *key;
    std::u16string_view word; // empty for a boolean
    bool flag = false;
    friend bool operator==(const OptionValue &, const OptionValue &) = default;
};

std::array<OptionValue, 13> optionValues(const SchoolOptions &o)
{
    const auto named = [](const char *key, const auto &names, auto choice) {
        return OptionValue{key, names[static_cast<std::size_t>(choice)]};
    };
    return {named("yangren", BladeRuleNames, o.blade),
            OptionValue{"fanyin", o.facingTrigramsReverse ? u"地支相冲或后天对宫" : u"地支相冲"},
            named("timeCastDay", TimeCastDayNames, o.timeCastDay),
            OptionValue{"numberCastHour", {}, o.numberCastAddsHour},
            named("twice", TwiceRuleNames, o.twice),
            named("absent", AbsentRuleNames, o.absent),
            OptionValue{"bookStrength", {}, o.bookStrength},
            OptionValue{"voidKinds", {}, o.voidKinds},
            OptionValue{"movingFillByClash", {}, o.movingFillByClash},
            OptionValue{"bookHarmonies", {}, o.bookHarmonies},
            OptionValue{"changeCombine", {}, o.changeCombine},
            OptionValue{"loneLine", {}, o.loneLine},
            OptionValue{"bookYingqi", {}, o.bookYingqi}};
}

void writeOption(JsonWriter &w, const OptionValue &v)
{
    w.key(v.key);
    if (v.word.empty())
        w.boolean(v.flag);
    else
        w.string(v.word);
}

// "school", and "options" with those that differ from it when one does.
void writeSchool(JsonWriter &w, const SchoolOptions &o)
{
    w.key("school").string(schoolName(o.base));
    const auto own = optionValues(o);
    const auto preset = optionValues(schoolPreset(o.base));
    if (own == preset)
        return;
    w.key("options").startObject();
    for (std::size_t k = 0; k < own.size(); ++k)
        if (own[k] != preset[k])
            writeOption(w, own[k]);
    w.endObject();
}

void writeOriginalLines(JsonWriter &w, const Chart &chart)
{
    const Analysis &a = chart.analysis;
    w.startArray();
    for (int n = 1; n <= 6; ++n) {
        const std::size_t i = static_cast<std::size_t>(n - 1);
        const ChartLine &l = chart.lines[i];
        w.startObject();
        w.key("position").integer(n);
        w.key("yang").boolean(l.cast.value == u'1');
        w.key("moving").boolean(l.cast.moving);
        w.key("branch").string(branchName(l.branch));
        w.key("element").string(elementName(l.element));
        w.key("relative").string(relativeName(l.relative));
        w.key("spirit").orNull(l.spirit);
        w.key("role").orNull(roleName(l.role));
        w.key("void").boolean(l.isVoid);
        w.key("hidden");
        if (l.hidden) {
            w.startObject();
            w.key("relative").string(relativeName(l.hidden->relative));
            w.key("branch").string(branchName(l.hidden->branch));
            w.key("element").string(elementName(branchElement(l.hidden->branch)));
            w.endObject();
        } else {
            w.null();
        }
        w.key("marks").startArray();
        if (a.marks[i] != StaticMark::None)
            w.string(staticMarkName(a.marks[i]));
        if (a.breakKinds[i] != BreakKind::None)
            w.string(BreakKindNames[static_cast<std::size_t>(a.breakKinds[i])]);
        if (a.voidKinds[i] != VoidKind::None)
            w.string(VoidKindNames[static_cast<std::size_t>(a.voidKinds[i])]);
        w.endArray();
        if (l.cast.moving) {
            w.key("changes").startArray();
            for (Change c : a.changes[i])
                w.string(changeName(c));
            w.endArray();
        }
        const LineReading &lr = chart.reading.lines[i];
        w.key("yuanji").orNull(supportName(lr.support));
        writeStrength(w.key("strength"), lr.strength);
        if (l.cast.moving) {
            w.key("stagechange");
            if (lr.changeStage) {
                std::u16string words = u"化";
                words += stageName(*lr.changeStage);
                w.string(words);
            } else {
                w.null();
            }
        }
        w.endObject();
    }
    w.endArray();
}

void writeChangedLines(JsonWriter &w, const Chart &chart)
{
    w.startArray();
    for (int n = 1; n <= 6; ++n) {
        const ChartLine &l = chart.line(n);
        w.startObject();
        w.key("position").integer(n);
        w.key("yang").boolean(chart.changed->key[static_cast<std::size_t>(n - 1)] == u'1');
        w.key("branch").string(branchName(l.changedBranch));
        w.key("element").string(elementName(l.changedElement));
        w.key("relative").string(relativeName(l.changedRelative));
        writeStrength(w.key("strength"), chart.reading.line(n).changedStrength);
        w.endObject();
    }
    w.endArray();
}

void writeUseGod(JsonWriter &w, const std::optional<UseGod> &g)
{
    if (!g)
        return w.null();
    w.startObject();
    if (g->fromBuild()) { // on the month or day build: no position
        w.key("relative").string(relativeName(g->relative));
        w.key("branch").string(branchName(g->branch));
        w.key("hidden").boolean(false);
        w.key("candidates").startArray();
        w.endArray();
        w.key("source").string(g->source == UseGodSource::Month ? u"月建" : u"日建");
        return w.endObject();
    }
    w.key("relative").string(g->world ? u"世" : relativeName(g->relative));
    w.key("position").integer(g->position);
    w.key("hidden").boolean(g->hidden);
    w.key("candidates").integers(g->candidates);
    w.key("source").ascii(g->source == UseGodSource::Manual ? "manual" : "auto");
    if (g->changed)
        w.key("changed").boolean(true);
    if (g->timing)
        w.key("timing").integer(*g->timing);
    if (const auto &f = g->fushen) {
        w.key("fushen").startObject();
        w.key("state").string(FuShenStateNames[static_cast<std::size_t>(f->state)]);
        writeWords(w.key("for"), f->helps);
        writeWords(w.key("against"), f->blocks);
        w.endObject();
    }
    w.endObject();
}

void writeRelations(JsonWriter &w, const Reading &r)
{
    w.startArray();
    for (const Harmony &h : r.harmonies) {
        std::vector<int> positions, changed;
        for (const HarmonyMember &m : h.members) {
            if (m.source != HarmonySource::Month && m.source != HarmonySource::Day)
                positions.push_back(m.position);
            if (m.source == HarmonySource::Changed)
                changed.push_back(m.position);
        }
        std::ranges::sort(positions);
        w.startObject();
        w.key("kind").string(u"三合");
        w.key("element").string(elementName(h.element));
        w.key("branches").startArray();
        for (const HarmonyMember &m : h.members)
            w.string(branchName(m.branch));
        w.endArray();
        w.key("positions").integers(positions);
        w.key("with").startArray();
        for (const HarmonyMember &m : h.members)
            if (m.source == HarmonySource::Month || m.source == HarmonySource::Day)
                w.string(m.source == HarmonySource::Month ? u"月" : u"日");
        w.endArray();
        w.key("changed").integers(changed);
        if (!h.form.empty())
            w.key("form").string(h.form);
        w.endObject();
    }
    for (const Tomb &t : r.tombs) {
        w.startObject();
        w.key("kind").string(u"入墓");
        w.key("position").integer(t.position);
        w.key("by").string(tombByName(t.by));
        if (t.by == TombBy::Moving)
            w.key("from").integer(t.from);
        w.endObject();
    }
    w.endArray();
}

void writeYingqi(JsonWriter &w, const Chart &chart)
{
    w.startArray();
    for (const YingqiCandidate &c : chart.yingqi) {
        w.startObject();
        w.key("date").string(isoDate(c.date));
        w.key("unit").string(yingqiUnitName(c.unit));
        w.key("branch").string(branchName(c.branch()));
        w.key("rule").string(yingqiRuleName(c.rule));
        w.key("position");
        if (c.position)
            w.integer(c.position);
        else
            w.null();
        w.key("why").string(c.why);
        if (c.line != YingqiLine::UseGod)
            w.key("line").string(YingqiLineNames[static_cast<std::size_t>(c.line)]);
        w.endObject();
    }
    w.endArray();
    if (const auto end = yingqiCutOff(chart))
        w.key("yingqiUntil").string(isoDate(*end));
}

// "summary": {trend, reason, items: [{kind, text, positions, source}]}; trend null without a use god.
void writeSummary(JsonWriter &w, const Summary &summary)
{
    w.startObject();
    w.key("trend");
    if (summary.trend)
        w.string(trendName(*summary.trend));
    else
        w.null();
    w.key("reason").string(summary.reason);
    w.key("items").startArray();
    for (const SummaryItem &item : summary.items) {
        w.startObject();
        w.key("kind").string(summaryKindName(item.kind));
        w.key("text").string(item.text);
        w.key("positions").integers(item.positions);
        w.key("source").string(item.source);
        w.endObject();
    }
    w.endArray();
    w.endObject();
}

void writePillars(JsonWriter &w, const Pillars &p)
{
    w.startObject();
    w.key("year").string(sexagenaryName(p.year));
    w.key("month").string(sexagenaryName(p.month));
    w.key("day").string(sexagenaryName(p.day));
    w.key("hour").string(sexagenaryName(p.hour));
    w.endObject();
}

// The clock the moment was given on, its 真太阳时, and the boundaries it is near.
void writeMoment(JsonWriter &w, const Chart &chart)
{
    // The few values nlohmann writes its own way (a zone's name as given, a
    // longitude's digits) are written by it, so that the text stays the same.
    const auto dumped = [](const nlohmann::ordered_json &value) {
        return value.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
    };
    if (const auto &o = chart.input.origin) {
        w.key("zone").startObject();
        w.key("name").string(o->zoneName);
        w.key("iana");
        if (o->zone.empty())
            w.null();
        else
            w.raw(dumped(o->zone));
        w.key("typed").string(chartMomentWords(o->typed));
        w.key("summerTime").boolean(o->summerTime);
        w.endObject();
        if (o->solar && o->longitude) {
            w.key("solarTime").startObject();
            w.key("time").string(chartMomentWords(*o->solar));
            w.key("longitude").raw(dumped(*o->longitude));
            w.key("place").orNull(o->place);
            w.endObject();
        }
    }
    if (chart.warnings.empty())
        return;
    w.key("warnings").startArray();
    for (const BoundaryWarning &b : chart.warnings) {
        w.startObject();
        w.key("kind").string(boundaryKindName(b.kind));
        w.key("name").string(b.name);
        w.key("at").string(chartMomentWords(b.at));
        w.key("minutes").integer(b.minutes);
        writePillars(w.key("other"), b.other);
        w.endObject();
    }
    w.endArray();
}

// The 周易 texts the cast reads, as textsJson gives them; null unless six lines stand.
void writeTexts(JsonWriter &w, const Chart &chart)
{
    const std::optional<TextsToRead> texts = textsToRead(chart);
    if (!texts)
        return w.null();
    w.startObject();
    w.key("rule").string(readingRuleName(texts->moving));
    w.key("read").startArray();
    for (const TextToRead &t : texts->read) {
        const bool judgement = t.part == TextPart::Judgement;
        w.startObject();
        w.key("hexagram").string(zhouyiText(*t.hexagram).name);
        w.key("part").string(textPartName(t));
        w.key("line");
        if (t.part == TextPart::Line)
            w.integer(t.line);
        else
            w.null();
        w.key("role").orNull(t.role);
        w.key("text").string(textOf(t));
        w.key("tuan");
        if (judgement)
            w.string(zhouyiText(*t.hexagram).tuan);
        else
            w.null();
        w.key("xiang").string(xiangOf(t));
        w.endObject();
    }
    w.endArray();
    w.key("main").integer(texts->main);
    w.endObject();
}

// The chart's object, with "texts" last when asked for.
void writeChart(JsonWriter &w, const Chart &chart, bool texts)
{
    w.startObject();
    if (!chart.original) {
        if (texts)
            writeTexts(w.key("texts"), chart);
        return w.endObject();
    }
    const CastInput &in = chart.input;
    const bool moving = chart.hasMovingLine() && chart.changed;
    w.key("lines").string(lineNotation(in));
    w.key("time");
    if (in.moment)
        w.string(chartMomentWords(*in.moment));
    else
        w.null();
    w.key("pillars");
    if (chart.pillars)
        writePillars(w, *chart.pillars);
    else
        w.null();
    w.key("void").startArray();
    if (chart.voids)
        for (Branch b : *chart.voids)
            w.string(branchName(b));
    w.endArray();

    w.key("original").startObject();
    writeHexagramHead(w, *chart.original);
    w.key("element").string(elementName(chart.palaceElement()));
    writeOriginalLines(w.key("lines"), chart);
    w.endObject();

    w.key("changed");
    if (moving) {
        w.startObject();
        writeHexagramHead(w, *chart.changed);
        writeChangedLines(w.key("lines"), chart);
        w.endObject();
    } else {
        w.null();
    }

    w.key("types").startObject();
    w.key("original").orNull(hexagramTypeName(chart.analysis.originalType));
    w.key("changed").orNull(moving ? hexagramTypeName(chart.analysis.changedType) : std::u16string_view{});
    if (const auto &lone = chart.analysis.lone) {
        w.key("lone").startObject();
        w.key("kind").string(LoneKindNames[static_cast<std::size_t>(lone->kind)]);
        w.key("position").integer(lone->position);
        w.endObject();
    }
    w.endObject();

    w.key("fanfu").startArray();
    for (std::u16string_view word : chart.analysis.fanFuWords())
        w.string(word);
    w.endArray();

    w.key("guashen");
    if (const auto &gs = chart.analysis.guaShen) {
        w.startObject();
        w.key("branch").string(branchName(gs->branch));
        w.key("positions").integers(gs->positions);
        w.endObject();
    } else {
        w.null();
    }

    w.key("shensha").startObject();
    for (const ShenShaEntry &e : chart.analysis.shenSha) {
        w.key(toUtf8(shenShaName(e.kind))).startArray();
        for (Branch b : e.list())
            w.string(branchName(b));
        w.endArray();
    }
    w.endObject();
    writeSchool(w, in.options);

    w.key("category");
    if (in.category)
        w.string(categoryName(*in.category));
    else
        w.null();
    w.key("sex");
    if (in.sex)
        w.string(sexName(*in.sex));
    else
        w.null();
    writeUseGod(w.key("usegod"), chart.reading.useGod);
    writeRelations(w.key("relations"), chart.reading);
    const auto name = [&w](const HexagramRow *row) {
        if (row)
            w.string(hexagramName(*row));
        else
            w.null();
    };
    w.key("related").startObject();
    w.key("hu");
    name(chart.reading.hu);
    w.key("cuo");
    name(chart.reading.cuo);
    w.key("zong");
    name(chart.reading.zong);
    w.endObject();
    writeYingqi(w.key("yingqi"), chart);
    writeSummary(w.key("summary"), summaryOf(chart));
    writeMoment(w, chart);
    if (texts)
        writeTexts(w.key("texts"), chart);
    w.endObject();
}

} // namespace

void appendChartJson(std::string &out, const Chart &chart, bool texts)
{
    StringStream stream(out);
    JsonWriter w(stream);
    writeChart(w, chart, texts);
}

std::string chartJson(const Chart &chart, bool texts)
{
    std::string out;
    out.reserve(8192); // a chart with a moment and its 应期 takes about 5 KB
    appendChartJson(out, chart, texts);
    out += '\n';
    return out;
}

nlohmann::ordered_json chartJsonValue(const Chart &chart)
{
    std::string text;
    appendChartJson(text, chart);
    return nlohmann::ordered_json::parse(text);
}

nlohmann::ordered_json optionsJson(const SchoolOptions &options)
{
    nlohmann::ordered_json j = nlohmann::ordered_json::object();
    for (const OptionValue &v : optionValues(options))
        j[v.key] = v.word.empty() ? nlohmann::ordered_json(v.flag) : nlohmann::ordered_json(toUtf8(v.word));
    return j;
}

nlohmann::ordered_json schoolJsonValue(const SchoolOptions &options)
{
    std::string text;
    StringStream stream(text);
    JsonWriter w(stream);
    w.startObject();
    writeSchool(w, options);
    w.endObject();
    return nlohmann::ordered_json::parse(text);
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
    const nlohmann::ordered_json &given = value["options"];
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

} // namespace lotgrid
