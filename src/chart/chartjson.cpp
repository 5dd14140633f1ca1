#include "chart/chartjson.h"

#include "chart/words.h"

#include <nlohmann/json.hpp>
#include <rapidjson/writer.h>

#include <algorithm>

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
        m_out.resize(std::max(m_out.size() * 2, written + n));
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
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
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

// {season, month, day, stage, strong}: season and month null without a month
// build, day and stage null without a day build; null without either.
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
    w.endObject();
}

void writeOptions(JsonWriter &w, const SchoolOptions &o)
{
    w.startObject();
    w.key("yangren").string(BladeRuleNames[static_cast<std::size_t>(o.blade)]);
    w.key("fanyin").string(o.facingTrigramsReverse ? u"地支相冲或后天对宫" : u"地支相冲");
    w.key("timeCastDay").string(TimeCastDayNames[static_cast<std::size_t>(o.timeCastDay)]);
    w.key("numberCastHour").boolean(o.numberCastAddsHour);
    w.endObject();
}

void writeOriginalLines(JsonWriter &w, const Chart &chart)
{
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
        if (chart.analysis.marks[i] != StaticMark::None)
            w.string(staticMarkName(chart.analysis.marks[i]));
        w.endArray();
        if (l.cast.moving) {
            w.key("changes").startArray();
            for (Change c : chart.analysis.changes[i])
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
    w.key("relative").string(g->world ? u"世" : relativeName(g->relative));
    w.key("position").integer(g->position);
    w.key("hidden").boolean(g->hidden);
    w.key("candidates").integers(g->candidates);
    w.key("source").ascii(g->source == UseGodSource::Manual ? "manual" : "auto");
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
        w.key("position").integer(c.position);
        w.key("why").string(c.why);
        w.endObject();
    }
    w.endArray();
}

void writeChart(JsonWriter &w, const Chart &chart)
{
    w.startObject();
    if (!chart.original)
        return w.endObject();
    const CastInput &in = chart.input;
    const bool moving = chart.hasMovingLine() && chart.changed;
    w.key("lines").string(lineNotation(in));
    w.key("time");
    if (in.moment)
        w.string(chartMomentWords(*in.moment));
    else
        w.null();
    w.key("pillars");
    if (chart.pillars) {
        const Pillars &p = *chart.pillars;
        w.startObject();
        w.key("year").string(sexagenaryName(p.year));
        w.key("month").string(sexagenaryName(p.month));
        w.key("day").string(sexagenaryName(p.day));
        w.key("hour").string(sexagenaryName(p.hour));
        w.endObject();
    } else {
        w.null();
    }
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
    if (!in.options.isDefault())
        writeOptions(w.key("options"), in.options);

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
    w.endObject();
}

} // namespace

void appendChartJson(std::string &out, const Chart &chart)
{
    StringStream stream(out);
    JsonWriter w(stream);
    writeChart(w, chart);
}

std::string chartJson(const Chart &chart)
{
    std::string out;
    out.reserve(8192); // a chart with a moment and its 应期 takes about 5 KB
    appendChartJson(out, chart);
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
    std::string text;
    StringStream stream(text);
    JsonWriter w(stream);
    writeOptions(w, options);
    return nlohmann::ordered_json::parse(text);
}

} // namespace lotgrid
