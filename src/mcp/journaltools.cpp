#include "mcp/journaltools.h"

#include "chart/charttext.h"
#include "mcp/charttools.h"
#include "mcp/journalreader.h"

using namespace Qt::StringLiterals;

namespace lotgrid::mcp {

namespace {

constexpr int DefaultLimit = 20;
constexpr int LargestLimit = 100;
// Words enough for any search; a longer query only keeps the journal busy.
constexpr int LongestQuery = 1000;

std::string utf8(const QString &text)
{
    return text.toStdString();
}

Json textOrNull(const QString &text)
{
    return text.isEmpty() ? Json() : Json(utf8(text));
}

// The 占类 of a case, once the journal keeps one.
Json caseCategory(const CaseRecord &c)
{
    return c.category ? Json(utf8(categoryText(c.category))) : Json(nullptr);
}

// What the case table shows of a case.
Json caseSummary(const CaseRecord &c)
{
    Json tags = Json::array();
    for (const QString &tag : c.tags)
        tags.push_back(utf8(tag));
    return {{"id", c.id},
            {"moment", textOrNull(momentText(c.cast.moment))},
            {"question", utf8(c.question)},
            {"category", caseCategory(c)},
            {"hexagrams", {{"original", utf8(originalName(c.cast))}, {"changed", textOrNull(changedName(c.cast))}}},
            {"outcome", utf8(c.outcome)},
            {"verdict", utf8(verdictText(c.verdict))},
            {"tags", std::move(tags)}};
}

// One line of a found case: id, moment, question, hexagrams, verdict and outcome.
std::string caseLine(const CaseRecord &c)
{
    QStringList parts{QString::number(c.id), momentText(c.cast.moment), c.question,
                      hexagramsText(c.cast), verdictText(c.verdict),    c.outcome};
    parts.removeAll(QString());
    return utf8(parts.join(u"  "_s)) + "\n";
}

const Json &caseSchema(bool whole)
{
    static const Json summary = Json::parse(R"json({
  "type": "object",
  "properties": {
    "id": {"type": "integer"},
    "moment": {"type": ["string", "null"], "description": "the moment of the cast, \"YYYY-MM-DD HH:MM\" China time"},
    "question": {"type": "string"},
    "category": {"type": ["string", "null"], "description": "占类"},
    "hexagrams": {"type": "object", "properties": {
      "original": {"type": "string"}, "changed": {"type": ["string", "null"]}}},
    "outcome": {"type": "string"},
    "verdict": {"type": "string", "enum": ["未定", "应验", "不验"]},
    "tags": {"type": "array", "items": {"type": "string"}}
  },
  "required": ["id", "moment", "question", "category", "hexagrams", "outcome", "verdict", "tags"]
})json");
    static const Json full = [] {
        Json s = summary;
        s["properties"]["sex"] = {{"type", "string"}};
        s["properties"]["notes"] = {{"type", "string"}};
        s["required"].push_back("sex");
        s["required"].push_back("notes");
        return s;
    }();
    return whole ? full : summary;
}

ToolResult searchCall(const QString &path, const Json &args)
{
    const QString query = QString::fromStdString(args.at("query").get<std::string>());
    JournalReader reader(path);
    const auto cases = reader.search(query, args.value("limit", DefaultLimit));
    if (!cases)
        return ToolResult::error(utf8(reader.error()));
    Json found = Json::array();
    std::string text;
    for (const CaseRecord &c : *cases) {
        found.push_back(caseSummary(c));
        text += caseLine(c);
    }
    if (cases->isEmpty())
        text = "案例库中没有符合的案例。\n";
    return {{{"cases", std::move(found)}}, std::move(text)};
}

ToolResult caseCall(const QString &path, const Json &args)
{
    const qint64 id = args.at("id").get<qint64>();
    JournalReader reader(path);
    const auto found = reader.find(id);
    if (!found && !reader.error().isEmpty())
        return ToolResult::error(utf8(reader.error()));
    if (!found)
        return ToolResult::error("There is no case " + std::to_string(id) + " in the journal.");
    const CaseRecord &c = *found;
    Json value = caseSummary(c);
    value["sex"] = utf8(sexText(c.sex));
    value["notes"] = utf8(c.notes);
    const Chart chart = chartOf(readingCast(c));
    std::u16string text = chartText(chart, c.question.toStdU16String(), sexText(c.sex).toStdU16String());
    for (const auto &[label, field] : {std::pair{u"备注："_s, c.notes}, {u"结果："_s, c.outcome}})
        if (!field.isEmpty())
            text += (label + field + u'\n').toStdU16String();
    text += (u"应验："_s + verdictText(c.verdict) + u'\n').toStdU16String();
    if (!c.tags.isEmpty())
        text += (u"标签："_s + c.tags.join(u' ') + u'\n').toStdU16String();
    return {{{"case", std::move(value)}, {"chart", chartValue(chart)}}, toUtf8(text)};
}

ToolResult recordOutcomeCall(const QString &path, bool allowWrite, const Json &args)
{
    if (!allowWrite)
        return ToolResult::error("journal_record_outcome is off: lotgrid-mcp only writes to the journal when it is "
                                 "started with --allow-write.");
    const qint64 id = args.at("id").get<qint64>();
    const std::optional<Verdict> verdict
        = verdictFromText(QString::fromStdString(args.at("verdict").get<std::string>()));
    if (!verdict || *verdict == Verdict::Open)
        return ToolResult::error("The verdict must be 应验 or 不验.");
    std::optional<QDate> day;
    if (args.contains("date")) {
        const QString text = QString::fromStdString(args.at("date").get<std::string>());
        day = QDate::fromString(text, Qt::ISODate);
        if (text.size() != 10 || !day->isValid())
            return ToolResult::error("The date must be a day written YYYY-MM-DD, such as 2026-12-07.");
    }
    const QString note = QString::fromStdString(args.value("note", std::string()));
    JournalReader journal(path);
    const std::optional<CaseRecord> c = journal.recordOutcome(id, *verdict, day, note);
    if (!c)
        return ToolResult::error(utf8(journal.error()));
    Json value = caseSummary(*c);
    value["outcomeDate"] = c->outcomeDate ? Json(utf8(c->outcomeDate->toString(Qt::ISODate))) : Json(nullptr);
    return {{{"case", std::move(value)}},
            utf8(u"已记下案例 %1 的结果：%2%3。\n"_s.arg(c->id).arg(
                verdictText(c->verdict),
                c->outcomeDate ? u"（"_s + c->outcomeDate->toString(Qt::ISODate) + u"）"_s : QString()))};
}

} // namespace

std::vector<Tool> journalTools(const QString &path, bool allowWrite)
{
    Json search = Json::parse(R"json({
  "type": "object",
  "properties": {
    "query": {"type": "string", "description": "words that must all appear in a case's question, notes, tags, outcome or hexagram names; empty for every case"},
    "limit": {"type": "integer", "minimum": 1, "description": "at most this many cases, newest first (default 20)"}
  },
  "required": ["query"],
  "additionalProperties": false
})json");
    search["properties"]["limit"]["maximum"] = LargestLimit;
    search["properties"]["query"]["maxLength"] = LongestQuery;
    Json one = Json::parse(R"json({
  "type": "object",
  "properties": {"id": {"type": "integer", "description": "the case's id, as journal_search gives it"}},
  "required": ["id"],
  "additionalProperties": false
})json");
    Json found{{"type", "object"},
               {"properties", {{"cases", {{"type", "array"}, {"items", caseSchema(false)}}}}},
               {"required", Json::array({"cases"})}};
    Json whole{{"type", "object"},
               {"properties", {{"case", caseSchema(true)}, {"chart", chartSchema()}}},
               {"required", Json::array({"case", "chart"})}};
    Json outcome = Json::parse(R"json({
  "type": "object",
  "properties": {
    "id": {"type": "integer", "description": "the case's id, as journal_search gives it"},
    "verdict": {"type": "string", "enum": ["应验", "不验"]},
    "date": {"type": "string", "description": "the day the outcome came about, YYYY-MM-DD, when known"},
    "note": {"type": "string", "maxLength": 10000, "description": "a line added to the case's outcome"}
  },
  "required": ["id", "verdict"],
  "additionalProperties": false
})json");
    Json recorded = [] {
        Json s = caseSchema(false);
        s["properties"]["outcomeDate"] = {{"type", {"string", "null"}}};
        s["required"].push_back("outcomeDate");
        return Json{{"type", "object"}, {"properties", {{"case", s}}}, {"required", Json::array({"case"})}};
    }();
    return {
        {"journal_search", "搜索案例库",
         "Finds cases in the user's Lotgrid case journal (案例库), newest first: id, moment, question, category, "
         "hexagram names, outcome, verdict and tags. The journal is only read.",
         std::move(search), std::move(found), [path](const Json &args) { return searchCall(path, args); }},
        {"journal_case", "案例",
         "One case of the user's case journal with its notes and its chart, recomputed from the cast.", std::move(one),
         std::move(whole), [path](const Json &args) { return caseCall(path, args); }},
        {"journal_record_outcome", "记下结果",
         "Records the outcome of a case in the user's case journal: 应验 or 不验, the day it came about and a note "
         "added to its outcome, as the journal window's 应验… and 不验… do. Off unless lotgrid-mcp was started with "
         "--allow-write; it never creates cases.",
         std::move(outcome), std::move(recorded),
         [path, allowWrite](const Json &args) { return recordOutcomeCall(path, allowWrite, args); }},
    };
}

} // namespace lotgrid::mcp
