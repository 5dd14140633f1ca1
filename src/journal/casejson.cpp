#include "casejson.h"

#include "qtcore/textconv.h"

#include <QRegularExpression>

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
    if (c.cast.mark.kind == MarkKind::None)
        o["mark"] = nullptr;
    else
        o["mark"] = Json{{"kind", utf8(qs(MarkNames[static_cast<std::size_t>(c.cast.mark.kind)]))},
                         {"line", c.cast.mark.line}};
    o["question"] = utf8(c.question);
    o["sex"] = utf8(c.sex);
    o["category"] = c.category.isEmpty() ? Json(nullptr) : Json(utf8(c.category));
    o["notes"] = utf8(c.notes);
    o["outcome"] = utf8(c.outcome);
    o["verdict"] = utf8(verdictText(c.verdict));
    Json tags = Json::array();
    for (const QString &t : c.tags)
        tags.push_back(utf8(t));
    o["tags"] = std::move(tags);
    o["firstYingqi"] = c.firstYingqi ? Json(utf8(c.firstYingqi->toString(Qt::ISODate))) : Json(nullptr);
    o["outcomeDate"] = c.outcomeDate ? Json(utf8(c.outcomeDate->toString(Qt::ISODate))) : Json(nullptr);
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

    c.question = *question;
    c.sex = sex.value_or(QString());
    c.notes = notes.value_or(QString());
    c.outcome = outcome.value_or(QString());
    c.category = category.value_or(QString());
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

QByteArray withLoneSurrogatesReplaced(const QByteArray &text)
{
    QByteArray out;
    qsizetype copied = 0;
    bool inString = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (!inString || c == '"') {
            inString = inString ? false : c == '"';
            continue;
        }
        if (c != '\\')
            continue;
        const int unit = escapeAt(text, i);
        if (unit < 0) {
            ++i; // another escape (or a malformed one, left for the parser to report)
            continue;
        }
        if (isHighSurrogate(unit) && isLowSurrogate(escapeAt(text, i + 6))) {
            i += 11; // a pair
            continue;
        }
        if (isHighSurrogate(unit) || isLowSurrogate(unit)) {
            out.append(text.constData() + copied, i - copied);
            out.append("\\ufffd");
            copied = i + 6;
        }
        i += 5;
    }
    if (copied == 0)
        return text;
    out.append(text.constData() + copied, text.size() - copied);
    return out;
}

std::optional<QList<CaseRecord>> casesFromExport(const QByteArray &bytes, JournalFailure &failure,
                                                 const ImportProgress &progress)
{
    struct Stopped {
    };
    const auto failWith = [&failure](JournalError kind, QString detail = {}) {
        failure.kind = kind;
        failure.detail = std::move(detail);
        return std::nullopt;
    };
    if (!QByteArrayView(bytes).isValidUtf8())
        return failWith(JournalError::FileNotUtf8);
    const QByteArray json = withLoneSurrogatesReplaced(bytes);

    // Each element of the root's "cases" is turned into a case as soon as it
    // is parsed, and dropped from the document.
    QList<CaseRecord> cases;
    qint64 seen = 0;
    std::optional<CaseProblem> firstProblem;
    qint64 problemCase = 0;
    QString problemQuestion;
    std::string rootKey;
    bool inCases = false;
    const auto each = [&](int depth, Json::parse_event_t event, Json &parsed) {
        using Event = Json::parse_event_t;
        if (depth == 1 && event == Event::key) {
            rootKey = parsed.get<std::string>();
            return true;
        }
        if (depth == 1 && (event == Event::array_start || event == Event::array_end)) {
            inCases = event == Event::array_start && rootKey == "cases";
            return true;
        }
        if (!inCases || depth != 2 || event == Event::object_start || event == Event::array_start)
            return true;
        ++seen;
        if (!firstProblem) {
            CaseProblem problem;
            if (std::optional<CaseRecord> c = caseFromJson(parsed, &problem)) {
                cases << *c;
            } else {
                firstProblem = problem;
                problemCase = seen;
                const auto question = parsed.is_object() ? parsed.find("question") : parsed.end();
                if (question != parsed.end() && question->is_string())
                    problemQuestion = text(question->get<std::string>());
            }
        }
        if (progress && seen % 1000 == 0 && !progress(seen, 0))
            throw Stopped{};
        return false;
    };
    Json root;
    try {
        root = Json::parse(json.begin(), json.end(), each);
    } catch (const Json::parse_error &e) {
        std::string what = e.what();
        const std::size_t colon = what.find(": ");
        failure.offset = static_cast<qint64>(e.byte);
        return failWith(JournalError::FileNotJson,
                        QString::fromStdString(colon == std::string::npos ? what : what.substr(colon + 2)));
    } catch (const Stopped &) {
        return failWith(JournalError::Cancelled);
    }
    const auto format = root.is_object() ? root.find("format") : root.end();
    const auto list = root.is_object() ? root.find("cases") : root.end();
    if (!root.is_object() || format == root.end() || !format->is_string() || format->get<std::string>() != FormatName
        || list == root.end() || !list->is_array())
        return failWith(JournalError::FileNotExport);
    const auto version = root.find("version");
    if (version == root.end() || version->is_null())
        return failWith(JournalError::VersionMissing);
    if (!version->is_number())
        return failWith(JournalError::VersionNotNumber, QString::fromStdString(version->dump()));
    if (version->get<double>() != ExportFormatVersion)
        return failWith(JournalError::VersionUnknown, QString::fromStdString(version->dump()));
    if (firstProblem) {
        failure.problem = firstProblem;
        failure.caseNumber = problemCase;
        failure.caseQuestion = problemQuestion;
        return failWith(JournalError::BadFileCase);
    }
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
