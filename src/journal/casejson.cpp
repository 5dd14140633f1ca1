#include "casejson.h"

#include "chart/categories.h"
#include "chart/charttext.h"
#include "qtcore/textconv.h"

#include <QBuffer>
#include <QFileDevice>
#include <QRegularExpression>

#include <limits>

using namespace Qt::StringLiterals;

namespace lotgrid {

namespace {

constexpr std::array<std::u16string_view, 3> MarkNames{u"", u"用神", u"伏神"};
constexpr std::string_view FormatName = "lotgrid-journal";

std::string utf8(const QString &s)
{
    return s.toStdString();
}

QString text(const std::string &s)
{
    return QString::fromStdString(s);
}

std::optional<int> indexIn(std::u16string_view names, const QString &text)
{
    if (text.size() != 1)
        return std::nullopt;
    const auto at = names.find(text.front().unicode());
    if (at == std::u16string_view::npos)
        return std::nullopt;
    return static_cast<int>(at);
}

CaseProblem problemOf(CaseFault fault, const char *field, QString value = {})
{
    return {fault, QString::fromLatin1(field), std::move(value)};
}

// Reads one text field: absent or null leaves `out` unset and is fine when the field is optional.
bool readString(const Json &o, const char *key, bool required, std::optional<QString> &out, CaseProblem *problem)
{
    const auto it = o.find(key);
    if (it == o.end() || it->is_null()) {
        if (required)
            *problem = problemOf(CaseFault::FieldMissing, key);
        return !required;
    }
    if (!it->is_string()) {
        *problem = problemOf(CaseFault::FieldNotText, key);
        return false;
    }
    out = text(it->get_ref<const std::string &>());
    return true;
}

bool readTime(const std::optional<QString> &value, const char *key, QDateTime &out, CaseProblem *problem)
{
    out = QDateTime::fromString(value.value_or(QString()), Qt::ISODateWithMs).toUTC();
    if (!out.isValid())
        *problem = problemOf(CaseFault::BadTime, key, value.value_or(QString()));
    return out.isValid();
}

template<typename T>
bool readIndexed(const std::optional<QString> &value, std::u16string_view names, const char *key, std::optional<T> &out,
                 CaseProblem *problem)
{
    if (!value)
        return true;
    const std::optional<int> at = indexIn(names, *value);
    if (!at) {
        *problem = problemOf(CaseFault::BadName, key, *value);
        return false;
    }
    out = static_cast<T>(*at);
    return true;
}

bool readMark(const Json &o, LineMark &out, CaseProblem *problem)
{
    const auto it = o.find("mark");
    if (it == o.end() || it->is_null())
        return true;
    const auto kind = it->is_object() ? it->find("kind") : it->end();
    const auto line = it->is_object() ? it->find("line") : it->end();
    const QString kindText = kind != it->end() && kind->is_string() ? text(kind->get<std::string>()) : QString();
    if (!it->is_object() || (kindText != u"用神"_s && kindText != u"伏神"_s) || line == it->end() || !line->is_number()
        || line->get<double>() < 1 || line->get<double>() > 6
        || line->get<double>() != static_cast<double>(line->get<int>())) {
        *problem = problemOf(CaseFault::BadMark, "mark");
        return false;
    }
    out = {kindText == u"用神"_s ? MarkKind::UseGod : MarkKind::Hidden, line->get<int>()};
    return true;
}

// The keys of the day parts, in DayPart order, as "handPicked" lists them.
constexpr std::array<const char *, 3> DayPartKeys{"dayStem", "monthBuild", "dayBuild"};

bool readHandPicked(const Json &o, CastInput &cast, CaseProblem *problem)
{
    const auto it = o.find("handPicked");
    if (it == o.end() || it->is_null()) {
        cast.byHand = inferredByHand(cast);
        return true;
    }
    if (!it->is_array() || !std::ranges::all_of(*it, [](const Json &k) { return k.is_string(); })) {
        *problem = problemOf(CaseFault::FieldNotTextList, "handPicked");
        return false;
    }
    for (std::size_t i = 0; i < DayPartKeys.size(); ++i)
        cast.byHand[i] = std::ranges::find(*it, Json(DayPartKeys[i])) != it->end();
    return true;
}

bool readTags(const Json &o, QStringList &out, CaseProblem *problem)
{
    const auto it = o.find("tags");
    if (it == o.end() || it->is_null())
        return true;
    if (!it->is_array()) {
        *problem = problemOf(CaseFault::FieldNotTextList, "tags");
        return false;
    }
    for (const Json &t : *it) {
        if (!t.is_string()) {
            *problem = problemOf(CaseFault::FieldNotTextList, "tags");
            return false;
        }
        out << text(t.get_ref<const std::string &>());
    }
    return true;
}

// The value of \uXXXX at `at` (the backslash), or -1.
int escapeAt(const QByteArray &s, qsizetype at)
{
    if (at + 6 > s.size() || s[at] != '\\' || s[at + 1] != 'u')
        return -1;
    int value = 0;
    for (qsizetype i = at + 2; i < at + 6; ++i) {
        const char c = s[i];
        const int digit = c >= '0' && c <= '9'   ? c - '0'
                          : c >= 'a' && c <= 'f' ? c - 'a' + 10
                          : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                 : -1;
        if (digit < 0)
            return -1;
        value = value * 16 + digit;
    }
    return value;
}

bool isHighSurrogate(int u)
{
    return u >= 0xD800 && u <= 0xDBFF;
}

bool isLowSurrogate(int u)
{
    return u >= 0xDC00 && u <= 0xDFFF;
}

} // namespace

Json caseToJson(const CaseRecord &c, const ChartJson &chart)
{
    QString moving;
    for (const CastLine &l : c.cast.lines)
        moving += l.moving ? u'1' : u'0';
    const auto named = [](std::u16string_view names, const auto &index) {
        return index ? Json(utf8(qs(names.substr(static_cast<std::size_t>(*index), 1)))) : Json(nullptr);
    };
    Json o;
    o["id"] = c.id;
    o["saved"] = utf8(c.saved.toUTC().toString(Qt::ISODateWithMs));
    o["changed"] = utf8(c.changed.toUTC().toString(Qt::ISODateWithMs));
    o["moment"] = c.cast.moment ? Json(utf8(momentText(c.cast.moment))) : Json(nullptr);
    o["lines"] = utf8(lineKey(c.cast));
    o["moving"] = utf8(moving);
    o["dayStem"] = named(StemNames, c.cast.dayStem);
    o["monthBuild"] = named(BranchNames, c.cast.monthBuild);
    o["dayBuild"] = named(BranchNames, c.cast.dayBuild);
    Json handPicked = Json::array();
    for (std::size_t i = 0; i < DayPartKeys.size(); ++i)
        if (c.cast.pickedByHand(static_cast<DayPart>(i)))
            handPicked.push_back(DayPartKeys[i]);
    o["handPicked"] = std::move(handPicked);
    if (c.cast.mark.kind == MarkKind::None)
        o["mark"] = nullptr;
    else
        o["mark"] = Json{{"kind", utf8(qs(MarkNames[static_cast<std::size_t>(c.cast.mark.kind)]))},
                         {"line", c.cast.mark.line}};
    o["question"] = utf8(c.question);
    // The file keeps the words, which other programs and older versions read.
    o["sex"] = utf8(sexText(c.sex));
    o["category"] = c.category ? Json(utf8(categoryText(c.category))) : Json(nullptr);
    o["notes"] = utf8(c.notes);
    o["outcome"] = utf8(c.outcome);
    o["verdict"] = utf8(verdictText(c.verdict));
    Json tags = Json::array();
    for (const QString &t : c.tags)
        tags.push_back(utf8(t));
    o["tags"] = std::move(tags);
    o["firstYingqi"] = c.firstYingqi ? Json(utf8(c.firstYingqi->toString(Qt::ISODate))) : Json(nullptr);
    o["outcomeDate"] = c.outcomeDate ? Json(utf8(c.outcomeDate->toString(Qt::ISODate))) : Json(nullptr);
    o["school"] = schoolJsonValue(c.cast.options);
    if (chart) {
        const std::string chartText = chart(readingCast(c));
        Json parsed = Json::parse(chartText, nullptr, false);
        if (!parsed.is_discarded())
            o["chart"] = std::move(parsed);
    }
    return o;
}

std::optional<CaseRecord> caseFromJson(const Json &o, CaseProblem *problem)
{
    CaseProblem ignored;
    if (!problem)
        problem = &ignored;
    if (!o.is_object()) {
        *problem = {CaseFault::NotAnObject, {}, {}};
        return std::nullopt;
    }
    std::optional<QString> saved, changed, moment, lines, moving, dayStem, monthBuild, dayBuild, question, sex, notes,
        outcome, verdict, category, firstYingqi, outcomeDate;
    if (!readString(o, "saved", true, saved, problem) || !readString(o, "changed", true, changed, problem)
        || !readString(o, "moment", false, moment, problem) || !readString(o, "lines", true, lines, problem)
        || !readString(o, "moving", true, moving, problem) || !readString(o, "dayStem", false, dayStem, problem)
        || !readString(o, "monthBuild", false, monthBuild, problem)
        || !readString(o, "dayBuild", false, dayBuild, problem) || !readString(o, "question", true, question, problem)
        || !readString(o, "sex", false, sex, problem) || !readString(o, "notes", false, notes, problem)
        || !readString(o, "outcome", false, outcome, problem) || !readString(o, "verdict", true, verdict, problem)
        || !readString(o, "category", false, category, problem)
        || !readString(o, "firstYingqi", false, firstYingqi, problem)
        || !readString(o, "outcomeDate", false, outcomeDate, problem))
        return std::nullopt;

    CaseRecord c;
    if (!readTime(saved, "saved", c.saved, problem) || !readTime(changed, "changed", c.changed, problem))
        return std::nullopt;
    static const QRegularExpression sixBits(u"^[01]{6}$"_s);
    if (!sixBits.match(*lines).hasMatch()) {
        *problem = problemOf(CaseFault::BadLineKey, "lines", *lines);
        return std::nullopt;
    }
    if (!sixBits.match(*moving).hasMatch()) {
        *problem = problemOf(CaseFault::BadLineKey, "moving", *moving);
        return std::nullopt;
    }
    for (int n = 1; n <= 6; ++n)
        c.cast.line(n) = {lines->at(n - 1).unicode(), moving->at(n - 1) == u'1'};
    if (moment) {
        c.cast.moment = momentFromText(*moment);
        if (!c.cast.moment) {
            *problem = problemOf(CaseFault::BadMomentText, "moment", *moment);
            return std::nullopt;
        }
    }
    if (!readIndexed(dayStem, StemNames, "dayStem", c.cast.dayStem, problem)
        || !readIndexed(monthBuild, BranchNames, "monthBuild", c.cast.monthBuild, problem)
        || !readIndexed(dayBuild, BranchNames, "dayBuild", c.cast.dayBuild, problem)
        || !readMark(o, c.cast.mark, problem))
        return std::nullopt;

    // A file exported before the schools holds cases read by the modern rules.
    const auto school = o.contains("school") ? schoolOptionsFromJson(o["school"]) : schoolPreset(School::Common);
    if (!school) {
        *problem = problemOf(CaseFault::BadSchool, "school");
        return std::nullopt;
    }
    c.cast.options = *school;

    c.question = *question;
    c.notes = notes.value_or(QString());
    c.outcome = outcome.value_or(QString());
    // Which parts were picked by hand; a file written before it told is read as the journal reads its older cases.
    if (!readHandPicked(o, c.cast, problem))
        return std::nullopt;
    c.sex = sexFromText(u16(sex.value_or(QString())));
    if (!c.sex && !sex.value_or(QString()).isEmpty()) {
        *problem = problemOf(CaseFault::SexUnknown, "sex", *sex);
        return std::nullopt;
    }
    c.category = categoryFromText(u16(category.value_or(QString())));
    // Only the program's own 占类: the statistics group by them and the chart reads its use god from them.
    if (!c.category && !category.value_or(QString()).isEmpty()) {
        *problem = problemOf(CaseFault::BadName, "category", *category);
        return std::nullopt;
    }
    const std::optional<Verdict> v = verdictFromText(*verdict);
    if (!v) {
        *problem = problemOf(CaseFault::BadVerdict, "verdict", *verdict);
        return std::nullopt;
    }
    c.verdict = *v;
    const auto readDate = [problem](const std::optional<QString> &text, const char *key, std::optional<QDate> &into) {
        if (!text)
            return true;
        static const QRegularExpression isoDate(u"^\\d{4}-\\d{2}-\\d{2}$"_s);
        const QDate date = QDate::fromString(*text, Qt::ISODate);
        if (!isoDate.match(*text).hasMatch() || !date.isValid()) {
            *problem = problemOf(CaseFault::BadDate, key, *text);
            return false;
        }
        into = date;
        return true;
    };
    if (!readDate(firstYingqi, "firstYingqi", c.firstYingqi) || !readDate(outcomeDate, "outcomeDate", c.outcomeDate))
        return std::nullopt;
    if (!readTags(o, c.tags, problem))
        return std::nullopt;
    if (std::optional<CaseProblem> p = checkCase(c)) {
        *problem = *p;
        return std::nullopt;
    }
    return c;
}

namespace {

// Mends the lone surrogates of text[from, end) as withLoneSurrogatesReplaced
// does, carrying whether a string is open from one piece of a file to the next.
// Returns where it stopped: before an escape cut off at `end`, unless `last`
// says that nothing follows.
qsizetype mendSurrogates(QByteArray &text, qsizetype from, qsizetype end, bool &inString, bool last)
{
    for (qsizetype i = from; i < end; ++i) {
        const char c = text[i];
        if (!inString || c == '"') {
            inString = inString ? false : c == '"';
            continue;
        }
        if (c != '\\')
            continue;
        // Room for "\uD800\uDC00" before the escape is judged.
        if (!last && i + 12 > end)
            return i;
        const int unit = escapeAt(text, i);
        if (unit < 0) {
            ++i; // another escape (or a malformed one, left for the parser to report)
            continue;
        }
        if (isHighSurrogate(unit) && isLowSurrogate(escapeAt(text, i + 6))) {
            i += 11; // a pair
            continue;
        }
        if (isHighSurrogate(unit) || isLowSurrogate(unit))
            text.replace(i, 6, "\\ufffd"); // as long as the escape it replaces
        i += 5;
    }
    return end;
}

// The length of the well-formed UTF-8 at the start of `text` (RFC 3629: no
// overlong forms, no surrogates, nothing past U+10FFFF); `cut` tells whether
// what follows is only the start of a sequence that the end of `text` cut off.
qsizetype validUtf8(QByteArrayView text, bool &cut)
{
    const auto *b = reinterpret_cast<const unsigned char *>(text.data());
    const qsizetype size = text.size();
    cut = false;
    qsizetype i = 0;
    while (i < size) {
        const unsigned char c = b[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        const int length = c >= 0xC2 && c <= 0xDF ? 2 : c >= 0xE0 && c <= 0xEF ? 3 : c >= 0xF0 && c <= 0xF4 ? 4 : 0;
        if (length == 0)
            return i;
        // The second byte's range depends on the first (RFC 3629, section 4).
        const unsigned char low = c == 0xE0 ? 0xA0 : c == 0xF0 ? 0x90 : 0x80;
        const unsigned char high = c == 0xED ? 0x9F : c == 0xF4 ? 0x8F : 0xBF;
        for (int k = 1; k < length; ++k) {
            if (i + k >= size) {
                cut = true;
                return i;
            }
            const unsigned char next = b[i + k];
            if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xBF))
                return i;
        }
        i += length;
    }
    return i;
}

// Takes the values of the cases' "chart" out of the text the parser reads,
// leaving 0 in the place of each: a chart is recomputed from its cast, and
// passing over it a byte at a time, its brackets and strings counted, is many
// times quicker than lexing it. A "chart" is a key three levels deep (the
// root, "cases", a case). Its value is not checked beyond its brackets, its
// strings and its depth. Kept across the pieces of a file.
class ChartSkipper
{
public:
    bool tooDeep() const { return m_tooDeep; }

    // Passes over text[0, end), moving what stays to the front; returns its
    // length. `base` is where the text starts among the bytes handed on.
    qsizetype run(QByteArray &text, qsizetype end, qint64 base)
    {
        char *b = text.data();
        qsizetype w = 0;
        for (qsizetype r = 0; r < end; ++r) {
            const char c = b[r];
            if (m_skipping) {
                if (!skipByte(c)) {
                    m_removed.emplace_back(m_zeroAt, removedSoFar() + m_dropped - 1);
                    m_skipping = false;
                    if (!m_scalar)
                        continue;
                    b[w++] = c; // the scalar's end belongs to what follows it
                    m_scalar = false;
                    follow(c);
                }
                continue;
            }
            b[w++] = c;
            if (m_mode == Mode::ValueNext && !isBlank(c)) {
                m_mode = Mode::Plain;
                // A value; anything else is left to the parser to report.
                if (c != ',' && c != '}' && c != ']') {
                    b[w - 1] = '0'; // in the place of its first byte: the text never grows
                    m_zeroAt = base + w;
                    m_skipping = true;
                    m_dropped = 0;
                    m_skipDepth = 0;
                    m_skipString = m_skipEscape = m_scalar = false;
                    skipByte(c);
                    continue;
                }
            }
            follow(c);
        }
        return w;
    }

    // The offset in the file of `at` among the bytes handed on.
    qint64 fileOffset(qint64 at) const
    {
        const auto it = std::upper_bound(m_removed.begin(), m_removed.end(),
                                         std::pair<qint64, qint64>(at, std::numeric_limits<qint64>::max()));
        return at + (it == m_removed.begin() ? 0 : std::prev(it)->second);
    }

private:
    enum class Mode { Plain, KeyDone, ValueNext };
    static bool isBlank(char c) { return c == ' ' || c == '\n' || c == '\r' || c == '\t'; }
    qint64 removedSoFar() const { return m_removed.empty() ? 0 : m_removed.back().second; }

    // A byte of the chart's value; false when the value ended before it
    // (a scalar) or with it (a string, an array, an object).
    bool skipByte(char c)
    {
        ++m_dropped;
        if (m_skipString) {
            if (m_skipEscape)
                m_skipEscape = false;
            else if (c == '\\')
                m_skipEscape = true;
            else if (c == '"')
                m_skipString = false;
            return m_skipString || m_skipDepth > 0;
        }
        if (c == '"') {
            m_skipString = true;
            return true;
        }
        if (c == '{' || c == '[') {
            if (m_depth + ++m_skipDepth > MaxExportDepth) {
                m_tooDeep = true;
                return true;
            }
            return true;
        }
        if (c == '}' || c == ']') {
            if (m_skipDepth == 0) { // a scalar ended by its container
                --m_dropped;
                m_scalar = true;
                return false;
            }
            return --m_skipDepth > 0;
        }
        if (m_skipDepth == 0 && (c == ',' || isBlank(c))) {
            --m_dropped;
            m_scalar = true;
            return false;
        }
        m_scalar = m_skipDepth == 0;
        return true;
    }

    // A byte outside the charts: the depth, the strings, the keys.
    void follow(char c)
    {
        if (m_string) {
            if (m_escape) {
                m_escape = false;
                m_matched = -1;
            } else if (c == '\\') {
                m_escape = true;
            } else if (c == '"') {
                m_string = false;
                m_mode = m_matched == 5 ? Mode::KeyDone : Mode::Plain;
            } else if (m_matched >= 0) {
                m_matched = m_matched < 5 && c == "chart"[m_matched] ? m_matched + 1 : -1;
            }
            return;
        }
        if (m_mode == Mode::KeyDone && !isBlank(c)) {
            m_mode = c == ':' ? Mode::ValueNext : Mode::Plain;
            if (c == ':')
                return;
        }
        if (c == '"') {
            m_string = true;
            m_matched = m_keyNext && m_depth == 3 ? 0 : -1;
            m_keyNext = false;
        } else if (c == '{' || c == '[') {
            if (++m_depth == 3)
                m_objectAt3 = c == '{';
            m_keyNext = c == '{';
        } else if (c == '}' || c == ']') {
            --m_depth;
            m_keyNext = false;
        } else if (c == ',') {
            m_keyNext = m_depth == 3 && m_objectAt3;
        }
    }

    qsizetype m_depth = 0; // containers open outside the charts
    bool m_string = false, m_escape = false;
    bool m_objectAt3 = false; // the container three levels deep is an object
    bool m_keyNext = false;   // a string here would be a key three levels deep
    int m_matched = -1;       // characters of "chart" the key has matched so far
    Mode m_mode = Mode::Plain;
    bool m_skipping = false, m_skipString = false, m_skipEscape = false, m_scalar = false;
    qsizetype m_skipDepth = 0;
    qint64 m_dropped = 0; // bytes of the chart passed over so far
    qint64 m_zeroAt = 0;  // where its 0 ends among the bytes handed on
    bool m_tooDeep = false;
    // Where a 0 stands for a chart among the bytes handed on, and the bytes taken out up to it.
    std::vector<std::pair<qint64, qint64>> m_removed;
};

// An export file read piece by piece: each piece checked to be UTF-8 and its
// lone surrogates mended, handed to the parser one byte at a time through
// ByteIterator. The input ends early at the first byte that is not UTF-8.
class ExportSource
{
public:
    explicit ExportSource(QIODevice &in)
        : m_in(in)
    {
    }

    bool notUtf8() const { return m_notUtf8; }
    bool tooDeep() const { return m_charts.tooDeep(); }
    QString readError() const { return m_readError; }
    // The offset in the file of the byte handed on at `at`.
    qint64 fileOffset(qint64 at) const { return m_charts.fileOffset(at); }

    // The next byte, or -1 at the end.
    int next()
    {
        if (m_at == m_ready && !fill())
            return -1;
        return static_cast<unsigned char>(m_buffer.constData()[m_at++]);
    }

private:
    static constexpr qint64 PieceBytes = 1 << 20;

    bool fill()
    {
        while (m_at == m_ready) {
            if (m_ended)
                return false;
            m_buffer.remove(0, m_at);
            m_checked -= m_at;
            m_handed += m_at;
            m_ready = m_at = 0;
            const QByteArray piece = m_in.read(PieceBytes);
            const bool last = piece.isEmpty();
            if (last && !m_in.atEnd())
                m_readError = m_in.errorString();
            m_buffer += piece;
            bool cut = false;
            const qsizetype valid = m_checked + validUtf8(QByteArrayView(m_buffer).sliced(m_checked), cut);
            if (valid < m_buffer.size() && (!cut || last)) {
                m_notUtf8 = true;
                m_buffer.truncate(valid);
            }
            // A sequence cut off by the piece's end waits for the next piece, as does an escape.
            m_checked = valid;
            m_ended = last || m_notUtf8;
            const qsizetype mended = mendSurrogates(m_buffer, 0, m_checked, m_inString, m_ended);
            m_ready = m_charts.run(m_buffer, mended, m_handed);
            m_buffer.remove(m_ready, mended - m_ready);
            m_checked -= mended - m_ready;
            if (m_charts.tooDeep())
                m_ended = true;
        }
        return true;
    }

    QIODevice &m_in;
    QByteArray m_buffer;
    qsizetype m_at = 0;      // the next byte handed out
    qsizetype m_ready = 0;   // bytes before this are checked and mended
    qsizetype m_checked = 0; // bytes before this are well-formed UTF-8
    qint64 m_handed = 0;     // bytes handed on before the buffer's first
    bool m_inString = false;
    bool m_ended = false;
    bool m_notUtf8 = false;
    QString m_readError;
    ChartSkipper m_charts;
};

// An input iterator over an ExportSource, as nlohmann's parser reads.
class ByteIterator
{
public:
    using iterator_category = std::input_iterator_tag;
    using value_type = char;
    using difference_type = std::ptrdiff_t;
    using pointer = const char *;
    using reference = char;

    ByteIterator() = default;
    explicit ByteIterator(ExportSource *source)
        : m_source(source)
        , m_byte(source->next())
    {
    }
    char operator*() const { return static_cast<char>(m_byte); }
    ByteIterator &operator++()
    {
        m_byte = m_source->next();
        return *this;
    }
    ByteIterator operator++(int)
    {
        ByteIterator before = *this;
        ++*this;
        return before;
    }
    friend bool operator==(const ByteIterator &a, const ByteIterator &b) { return a.atEnd() == b.atEnd(); }

private:
    bool atEnd() const { return !m_source || m_byte < 0; }
    ExportSource *m_source = nullptr;
    int m_byte = -1;
};

} // namespace

QByteArray withLoneSurrogatesReplaced(const QByteArray &text)
{
    QByteArray out = text;
    bool inString = false;
    mendSurrogates(out, 0, out.size(), inString, true);
    return out;
}

namespace {

// Reads an export file as nlohmann's parser reports it, event by event. Each
// element of the root's "cases" is built as a small document without its
// "chart" (recomputed from the cast anyway), turned into a case and dropped;
// of the other root members only "format" and "version" are kept. Nothing is
// nested deeper than MaxExportDepth: the parser itself keeps no stack, and a
// document this deep is never built.
class ExportReader
{
public:
    ExportReader(const ImportProgress &progress, const std::function<void(CaseRecord &&)> &take)
        : m_progress(progress)
        , m_take(take)
    {
    }

    // nlohmann's SAX interface.
    // A value inside one that is skipped is not even made.
    bool null() { return m_skipping > 0 || value(Json(nullptr)); }
    bool boolean(bool b) { return m_skipping > 0 || value(Json(b)); }
    bool number_integer(Json::number_integer_t n) { return m_skipping > 0 || value(Json(n)); }
    bool number_unsigned(Json::number_unsigned_t n) { return m_skipping > 0 || value(Json(n)); }
    bool number_float(Json::number_float_t n, const std::string &) { return m_skipping > 0 || value(Json(n)); }
    bool string(std::string &s) { return m_skipping > 0 || value(Json(std::move(s))); }
    bool binary(Json::binary_t &) { return m_skipping > 0 || value(Json()); }
    bool start_object(std::size_t) { return open(Json::object()); }
    bool start_array(std::size_t) { return open(Json::array()); }
    bool end_object() { return close(); }
    bool end_array() { return close(); }
    bool key(std::string &k)
    {
        if (m_skipping > 0)
            return true;
        if (m_building.empty()) {
            if (m_depth == 1)
                m_rootKey = std::move(k);
            return true;
        }
        // A case's chart is recomputed from its cast: never built.
        m_skipNext = m_target == Target::Case && m_building.size() == 1 && k == "chart";
        m_key = std::move(k);
        return true;
    }
    bool parse_error(std::size_t position, const std::string &, const nlohmann::detail::exception &e)
    {
        std::string what = e.what();
        const std::size_t colon = what.find(": ");
        m_parseError = QString::fromStdString(colon == std::string::npos ? what : what.substr(colon + 2));
        m_errorAt = static_cast<qint64>(position);
        return false;
    }

    bool tooDeep() const { return m_tooDeep; }
    bool cancelled() const { return m_cancelled; }
    const QString &parseError() const { return m_parseError; }
    qint64 errorAt() const { return m_errorAt; }
    bool rootIsObject() const { return m_rootIsObject; }
    const std::optional<Json> &format() const { return m_format; }
    const std::optional<Json> &version() const { return m_version; }
    bool hasCases() const { return m_casesIsArray; }
    qint64 seen() const { return m_seen; }
    const std::optional<CaseProblem> &problem() const { return m_problem; }
    qint64 problemCase() const { return m_problemCase; }
    const QString &problemQuestion() const { return m_problemQuestion; }

private:
    enum class Target { None, Format, Version, Case };

    // What a value in a container `parentDepth` deep becomes, outside the values being built.
    Target targetIn(qsizetype parentDepth) const
    {
        if (parentDepth == 1)
            return m_rootKey == "format" ? Target::Format : m_rootKey == "version" ? Target::Version : Target::None;
        return parentDepth == 2 && m_inCases ? Target::Case : Target::None;
    }

    bool value(Json &&v)
    {
        if (m_skipping > 0)
            return true;
        if (!m_building.empty()) {
            if (!std::exchange(m_skipNext, false))
                insert(std::move(v));
            return true;
        }
        if (m_depth == 1 && m_rootKey == "cases")
            m_casesIsArray = false;
        switch (targetIn(m_depth)) {
        case Target::Format:
            m_format = std::move(v);
            break;
        case Target::Version:
            m_version = std::move(v);
            break;
        case Target::Case:
            return finishCase(std::move(v));
        case Target::None:
            break;
        }
        return true;
    }

    bool open(Json &&container)
    {
        if (++m_depth > MaxExportDepth) {
            m_tooDeep = true;
            return false;
        }
        if (m_skipping > 0) {
            ++m_skipping;
            return true;
        }
        if (!m_building.empty()) {
            if (std::exchange(m_skipNext, false))
                m_skipping = 1;
            else
                m_building.push_back(insert(std::move(container)));
            return true;
        }
        if (m_depth == 1) {
            m_rootIsObject = container.is_object();
            return true;
        }
        if (m_depth == 2 && m_rootIsObject && m_rootKey == "cases") {
            m_casesIsArray = m_inCases = container.is_array();
            return true;
        }
        m_target = targetIn(m_depth - 1);
        if (m_target == Target::None) {
            m_skipping = 1;
            return true;
        }
        m_built = std::move(container);
        m_building.push_back(&m_built);
        return true;
    }

    bool close()
    {
        --m_depth;
        if (m_skipping > 0) {
            --m_skipping;
            return true;
        }
        if (m_building.empty()) {
            if (m_depth == 1)
                m_inCases = false; // the end of "cases"
            return true;
        }
        m_building.pop_back();
        if (!m_building.empty())
            return true;
        if (m_target == Target::Version)
            m_version = std::move(m_built);
        else if (m_target == Target::Format)
            m_format = std::move(m_built);
        else if (m_target == Target::Case)
            return finishCase(std::move(m_built));
        return true;
    }

    Json *insert(Json &&v)
    {
        Json &into = *m_building.back();
        if (into.is_array()) {
            into.push_back(std::move(v));
            return &into.back();
        }
        Json &slot = into[m_key];
        slot = std::move(v);
        return &slot;
    }

    bool finishCase(Json &&parsed)
    {
        ++m_seen;
        if (!m_problem) {
            CaseProblem problem;
            if (std::optional<CaseRecord> c = caseFromJson(parsed, &problem)) {
                m_take(std::move(*c));
            } else {
                m_problem = problem;
                m_problemCase = m_seen;
                const auto question = parsed.is_object() ? parsed.find("question") : parsed.end();
                if (question != parsed.end() && question->is_string())
                    m_problemQuestion = text(question->get<std::string>());
            }
        }
        if (m_progress && m_seen % 1000 == 0 && !m_progress(m_seen, 0)) {
            m_cancelled = true;
            return false;
        }
        return true;
    }

    const ImportProgress &m_progress;
    const std::function<void(CaseRecord &&)> &m_take;
    qsizetype m_depth = 0;    // of the containers open around the parser
    qsizetype m_skipping = 0; // > 0: inside a value that is not kept, this many levels deep
    bool m_skipNext = false;  // the next value is not kept
    std::string m_rootKey;
    std::string m_key;
    bool m_inCases = false;
    bool m_casesIsArray = false;
    bool m_rootIsObject = false;
    Target m_target = Target::None;
    Json m_built;
    std::vector<Json *> m_building;
    std::optional<Json> m_format;
    std::optional<Json> m_version;
    bool m_tooDeep = false;
    bool m_cancelled = false;
    QString m_parseError;
    qint64 m_errorAt = 0;
    qint64 m_seen = 0;
    std::optional<CaseProblem> m_problem;
    qint64 m_problemCase = 0;
    QString m_problemQuestion;
};

} // namespace

bool readExport(QIODevice &in, const std::function<void(CaseRecord &&)> &take, JournalFailure &failure,
                const ImportProgress &progress)
{
    const auto failWith = [&failure](JournalError kind, QString detail = {}) {
        failure.kind = kind;
        failure.detail = std::move(detail);
        return false;
    };
    ExportSource source(in);
    ExportReader reader(progress, take);
    const bool parsed = Json::sax_parse(ByteIterator(&source), ByteIterator(), &reader);
    if (source.notUtf8())
        return failWith(JournalError::FileNotUtf8);
    if (!source.readError().isEmpty())
        return failWith(JournalError::FileUnreadable, source.readError());
    if (reader.cancelled())
        return failWith(JournalError::Cancelled);
    if (reader.tooDeep() || source.tooDeep())
        return failWith(JournalError::FileTooDeep, QString::number(MaxExportDepth));
    if (!parsed) {
        failure.offset = source.fileOffset(reader.errorAt());
        return failWith(JournalError::FileNotJson, reader.parseError());
    }
    const std::optional<Json> &format = reader.format();
    if (!reader.rootIsObject() || !format || !format->is_string() || format->get<std::string>() != FormatName
        || !reader.hasCases())
        return failWith(JournalError::FileNotExport);
    const std::optional<Json> &version = reader.version();
    if (!version || version->is_null())
        return failWith(JournalError::VersionMissing);
    if (!version->is_number())
        return failWith(JournalError::VersionNotNumber, QString::fromStdString(version->dump()));
    if (version->get<double>() != ExportFormatVersion)
        return failWith(JournalError::VersionUnknown, QString::fromStdString(version->dump()));
    if (reader.problem()) {
        failure.problem = reader.problem();
        failure.caseNumber = reader.problemCase();
        failure.caseQuestion = reader.problemQuestion();
        return failWith(JournalError::BadFileCase);
    }
    return true;
}

std::optional<QList<CaseRecord>> casesFromExport(const QByteArray &bytes, JournalFailure &failure,
                                                 const ImportProgress &progress)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QList<CaseRecord> cases;
    if (!readExport(
            buffer, [&cases](CaseRecord &&c) { cases << std::move(c); }, failure, progress))
        return std::nullopt;
    return cases;
}

QByteArray exportDocument(const QList<CaseRecord> &cases, const QDateTime &exported, const ChartJson &chart)
{
    QByteArray out = exportHead(exported);
    for (qsizetype i = 0; i < cases.size(); ++i)
        out += exportCase(cases.at(i), chart, i == 0);
    return out + exportTail();
}

QByteArray exportHead(const QDateTime &exported)
{
    Json head;
    head["format"] = FormatName;
    head["version"] = ExportFormatVersion;
    head["exported"] = utf8(exported.toUTC().toString(Qt::ISODateWithMs));
    std::string text = head.dump(4);
    text.pop_back(); // the closing brace: the cases follow
    while (!text.empty() && (text.back() == '\n' || text.back() == ' '))
        text.pop_back();
    return QByteArray::fromStdString(text) + ",\n    \"cases\": [";
}

QByteArray exportCase(const CaseRecord &c, const ChartJson &chart, bool first)
{
    // One case a line: a journal of 100,000 cases stays well inside the import limit.
    const std::string text = caseToJson(c, chart).dump(-1, ' ', false, Json::error_handler_t::replace);
    return (first ? "\n        " : ",\n        ") + QByteArray::fromStdString(text);
}

QByteArray exportTail()
{
    return "\n    ]\n}\n";
}

} // namespace lotgrid
