#include "journalschema.h"

#include "chart/casefacts.h"
#include "chart/charttext.h"

#include <QSqlQuery>

#include <nlohmann/json.hpp>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace lotgrid {

namespace {

// Text columns that are NOT NULL are never bound a null QString.
QVariant notNull(const QString &s)
{
    return s.isNull() ? QVariant(u""_s) : QVariant(s);
}

QVariant nullWhenEmpty(const QString &s)
{
    return s.isEmpty() ? QVariant(QMetaType::fromType<QString>()) : QVariant(s);
}

// The school of a stored case: 通行 for one saved before the schools, or whose text cannot be read.
SchoolOptions schoolOfText(const QVariant &v)
{
    const auto parsed = nlohmann::ordered_json::parse(v.toString().toStdString(), nullptr, false);
    return v.isNull() ? schoolPreset(School::Common)
                      : schoolOptionsFromJson(parsed).value_or(schoolPreset(School::Common));
}

QVariant optionalInt(const auto &value)
{
    return value ? QVariant(static_cast<int>(*value)) : QVariant(QMetaType::fromType<int>());
}

// A stored index within [0, last], or nothing.
std::optional<int> inRange(const QVariant &v, int last)
{
    if (v.isNull())
        return std::nullopt;
    const int i = v.toInt();
    return i >= 0 && i <= last ? std::optional(i) : std::nullopt;
}

QVariant isoDateOrNull(const std::optional<QDate> &d)
{
    return d ? QVariant(d->toString(Qt::ISODate)) : QVariant(QMetaType::fromType<QString>());
}

std::optional<QDate> dateOf(const QVariant &v)
{
    const QDate d = QDate::fromString(v.toString(), Qt::ISODate);
    return d.isValid() ? std::optional(d) : std::nullopt;
}

QString movingKey(const CastInput &cast)
{
    QString key;
    for (const CastLine &l : cast.lines)
        key += l.moving ? u'1' : u'0';
    return key;
}

// A word of an older file read into its code. A word this program does not
// know is not dropped: it is kept as a line "性别：…" / "占类：…" of the notes,
// which the migration to version 6 writes back, so it stays readable and searchable.
template<typename Code>
std::optional<Code> wordRead(CaseRecord &c, const QVariant &v, const QString &field,
                             std::optional<Code> (*fromText)(std::u16string_view))
{
    const QString word = v.toString().trimmed();
    if (word.isEmpty())
        return std::nullopt;
    const std::optional<Code> code = fromText(word.toStdU16String());
    if (!code)
        c.notes += (c.notes.isEmpty() ? u""_s : u"\n"_s) + field + u'：' + word;
    return code;
}

// The indexes and the tables beside `cases`: the version that added each and the one that dropped it (0: none).
struct SchemaObject {
    QLatin1StringView sql;
    int since;
    int until;
    QLatin1StringView name; // of an index that is dropped
};

// clang-format off
constexpr std::array<SchemaObject, 7> Objects{{
    {"CREATE INDEX cases_by_saved ON cases(saved_at)"_L1, 1, 0, {}},
    {"CREATE INDEX cases_by_verdict ON cases(verdict, id)"_L1, 2, 0, {}},
    // Cases still open whose first timing candidate has come: verdict = 0 AND yingqi_first < today.
    {"CREATE INDEX cases_open_by_yingqi ON cases(verdict, yingqi_first) WHERE yingqi_first IS NOT NULL"_L1, 3, 0, {}},
    // Everything the statistics group the cases with an outcome by, so that they read this index alone.
    {"CREATE INDEX cases_by_outcome ON cases(verdict, category, usegod_strong, hexagram_group, tags)"_L1, 4, 6,
     "cases_by_outcome"_L1},
    {"CREATE INDEX cases_by_outcome_code ON cases(verdict, category_code, usegod_strong, hexagram_group, tags)"_L1,
     6, 0, {}},
    // Every 应期 candidate of each case: rule YingqiRule (0 值, 1 冲, 2 合, 3 出空, 4 填实, 5 补破, 6 冲墓, 7 生旺,
    // 8 逢墓, 9 进退), unit 0 日 1 月, line YingqiLine (0 the use god or the world line, 1 两现, 2 忌神), day
    // "YYYY-MM-DD" (a month's: the day its 节 falls on); with an 应验 outcome dated, hit 1 when that day is the
    // candidate's day or falls in its month, else 0, and days_off how far the day lies from it; else both NULL.
    {"CREATE TABLE case_yingqi (case_id INTEGER NOT NULL, rule INTEGER NOT NULL, unit INTEGER NOT NULL,"
     " line INTEGER NOT NULL, day TEXT NOT NULL, hit INTEGER, days_off INTEGER)"_L1, 6, 0, {}},
    {"CREATE INDEX case_yingqi_by_case ON case_yingqi(case_id)"_L1, 6, 0, {}},
}};
// clang-format on

constexpr bool inVersion(int since, int until, int version)
{
    return since <= version && (until == 0 || version < until);
}

} // namespace

// clang-format off
const std::array<CaseColumn, 27> CaseColumns{{
    {"id"_L1, "INTEGER PRIMARY KEY"_L1, 1, 0, false, // see IdsPerMinute
     [](const CaseRecord &c, const ChartFacts &) { return QVariant(c.id); },
     [](CaseRecord &c, const QVariant &v) { c.id = v.toLongLong(); }},
    {"saved_at"_L1, "INTEGER NOT NULL"_L1, 1, 0, false, // ms since 1970, UTC
     [](const CaseRecord &c, const ChartFacts &) { return QVariant(c.saved.toMSecsSinceEpoch()); },
     [](CaseRecord &c, const QVariant &v) { c.saved = QDateTime::fromMSecsSinceEpoch(v.toLongLong(), Qt::UTC); }},
    {"changed_at"_L1, "INTEGER NOT NULL"_L1, 1, 0, true, // ms since 1970, UTC
     [](const CaseRecord &c, const ChartFacts &) { return QVariant(c.changed.toMSecsSinceEpoch()); },
     [](CaseRecord &c, const QVariant &v) { c.changed = QDateTime::fromMSecsSinceEpoch(v.toLongLong(), Qt::UTC); }},
    {"moment"_L1, "INTEGER"_L1, 1, 0, false, // minuteNumber of the cast moment (qgsj), China time; NULL without one
     [](const CaseRecord &c, const ChartFacts &) {
         return c.cast.moment ? QVariant(qint64{minuteNumber(*c.cast.moment)}) : QVariant(QMetaType::fromType<qint64>());
     },
     [](CaseRecord &c, const QVariant &v) {
         if (!v.isNull())
             c.cast.moment = momentFromMinutes(v.toLongLong());
     }},
    {"lines"_L1, "TEXT NOT NULL"_L1, 1, 0, false, // LineKey, line 1 first: "101101"
     [](const CaseRecord &c, const ChartFacts &) { return notNull(lineKey(c.cast)); },
     [](CaseRecord &c, const QVariant &v) {
         const QString lines = v.toString();
         for (int n = 1; n <= 6; ++n) {
             const QChar l = n <= lines.size() ? lines.at(n - 1) : QChar();
             c.cast.line(n).value = l == u'1' || l == u'0' ? l.unicode() : char16_t{0};
         }
     }},
    {"moving"_L1, "TEXT NOT NULL"_L1, 1, 0, false, // moving flags, line 1 first: "000100"
     [](const CaseRecord &c, const ChartFacts &) { return QVariant(movingKey(c.cast)); },
     [](CaseRecord &c, const QVariant &v) {
         const QString moving = v.toString();
         for (int n = 1; n <= 6; ++n)
             c.cast.line(n).moving = n <= moving.size() && moving.at(n - 1) == u'1';
     }},
    {"changed_lines"_L1, "TEXT NOT NULL"_L1, 2, 0, false, // LineKey of the changed hexagram, for the LIKE search
     [](const CaseRecord &c, const ChartFacts &) { return notNull(changedLineKey(c.cast)); },
     nullptr},
    {"day_stem"_L1, "INTEGER"_L1, 1, 0, false, // [0, 9] 甲..癸, NULL when not chosen
     [](const CaseRecord &c, const ChartFacts &) { return optionalInt(c.cast.dayStem); },
     [](CaseRecord &c, const QVariant &v) { c.cast.dayStem = inRange(v, 9); }},
    {"month_build"_L1, "INTEGER"_L1, 1, 0, false, // [0, 11] 子..亥
     [](const CaseRecord &c, const ChartFacts &) { return optionalInt(c.cast.monthBuild); },
     [](CaseRecord &c, const QVariant &v) {
         if (const auto b = inRange(v, 11))
             c.cast.monthBuild = static_cast<Branch>(*b);
     }},
    {"day_build"_L1, "INTEGER"_L1, 1, 0, false, // [0, 11]
     [](const CaseRecord &c, const ChartFacts &) { return optionalInt(c.cast.dayBuild); },
     [](CaseRecord &c, const QVariant &v) {
         if (const auto b = inRange(v, 11))
             c.cast.dayBuild = static_cast<Branch>(*b);
     }},
    {"mark_kind"_L1, "INTEGER NOT NULL DEFAULT 0"_L1, 1, 0, false, // 0 none, 1 用神, 2 伏神
     [](const CaseRecord &c, const ChartFacts &) { return QVariant(static_cast<int>(c.cast.mark.kind)); },
     [](CaseRecord &c, const QVariant &v) {
         const int kind = v.toInt();
         c.cast.mark.kind = kind == 1 || kind == 2 ? static_cast<MarkKind>(kind) : MarkKind::None;
     }},
    {"mark_line"_L1, "INTEGER NOT NULL DEFAULT 0"_L1, 1, 0, false, // [1, 6] with a mark
     [](const CaseRecord &c, const ChartFacts &) { return QVariant(c.cast.mark.line); },
     [](CaseRecord &c, const QVariant &v) { c.cast.mark.line = v.toInt(); }},
    {"question"_L1, "TEXT NOT NULL DEFAULT ''"_L1, 1, 0, false,
     [](const CaseRecord &c, const ChartFacts &) { return notNull(c.question); },
     [](CaseRecord &c, const QVariant &v) { c.question = v.toString(); }},
    {"notes"_L1, "TEXT NOT NULL DEFAULT ''"_L1, 1, 0, true,
     [](const CaseRecord &c, const ChartFacts &) { return notNull(c.notes); },
     [](CaseRecord &c, const QVariant &v) { c.notes = v.toString(); }},
    // Up to version 5 the sex and the category were kept as words; read after the notes, so that
    // a word this program does not know is kept readable on a line of the notes (wordKeptInNotes).
    {"sex"_L1, "TEXT NOT NULL DEFAULT ''"_L1, 1, 6, false, // "男", "女" or empty
     [](const CaseRecord &c, const ChartFacts &) { return notNull(sexText(c.sex)); },
     [](CaseRecord &c, const QVariant &v) { c.sex = wordRead(c, v, u"性别"_s, sexFromText); }},
    {"outcome"_L1, "TEXT NOT NULL DEFAULT ''"_L1, 1, 0, true,
     [](const CaseRecord &c, const ChartFacts &) { return notNull(c.outcome); },
     [](CaseRecord &c, const QVariant &v) { c.outcome = v.toString(); }},
    {"verdict"_L1, "INTEGER NOT NULL DEFAULT 0"_L1, 1, 0, true, // 0 未定, 1 应验, 2 不验
     [](const CaseRecord &c, const ChartFacts &) { return QVariant(static_cast<int>(c.verdict)); },
     [](CaseRecord &c, const QVariant &v) {
         const auto verdict = inRange(v, 2);
         c.verdict = verdict ? static_cast<Verdict>(*verdict) : Verdict::Open;
     }},
    {"tags"_L1, "TEXT NOT NULL DEFAULT ''"_L1, 2, 0, true, // tags joined by single blanks
     [](const CaseRecord &c, const ChartFacts &) { return notNull(c.tags.join(u' ')); },
     [](CaseRecord &c, const QVariant &v) { c.tags = v.toString().split(u' ', Qt::SkipEmptyParts); }},
    {"yingqi_first"_L1, "TEXT"_L1, 3, 0, true, // the first timing candidate, "YYYY-MM-DD"; NULL for none
     [](const CaseRecord &c, const ChartFacts &) { return isoDateOrNull(c.firstYingqi); },
     [](CaseRecord &c, const QVariant &v) { c.firstYingqi = dateOf(v); }},
    {"category"_L1, "TEXT"_L1, 3, 6, true, // the question's category word; NULL for none
     [](const CaseRecord &c, const ChartFacts &) { return nullWhenEmpty(categoryText(c.category)); },
     [](CaseRecord &c, const QVariant &v) { c.category = wordRead(c, v, u"占类"_s, categoryFromText); }},
    {"usegod_strong"_L1, "INTEGER"_L1, 4, 0, true, // 1 the use god (or the world line) strong, 0 weak; NULL unknown
     [](const CaseRecord &, const ChartFacts &f) { return optionalInt(f.useGodStrong); },
     nullptr},
    {"hexagram_group"_L1, "INTEGER"_L1, 4, 0, false, // HexagramGroup: 0 六冲, 1 六合, 2 反吟/伏吟, 3 other
     [](const CaseRecord &, const ChartFacts &f) { return optionalInt(f.group); },
     nullptr},
    {"outcome_date"_L1, "TEXT"_L1, 4, 0, true, // the day the outcome came about, "YYYY-MM-DD"; NULL when not told
     [](const CaseRecord &c, const ChartFacts &) { return isoDateOrNull(c.outcomeDate); },
     [](CaseRecord &c, const QVariant &v) { c.outcomeDate = dateOf(v); }},
    {"school"_L1, "TEXT"_L1, 5, 0, true, // the school as the chart's JSON names it; NULL: saved before the schools (通行)
     [](const CaseRecord &c, const ChartFacts &) { return QVariant(QString::fromStdString(schoolJsonValue(c.cast.options).dump())); },
     [](CaseRecord &c, const QVariant &v) { c.cast.options = schoolOfText(v); }},
    // The codes below are stable: a code keeps its meaning in every later version.
    {"sex_code"_L1, "INTEGER"_L1, 6, 0, false, // Sex: 0 男, 1 女; NULL none
     [](const CaseRecord &c, const ChartFacts &) { return optionalInt(c.sex); },
     [](CaseRecord &c, const QVariant &v) {
         if (const auto s = inRange(v, static_cast<int>(SexNames.size()) - 1))
             c.sex = static_cast<Sex>(*s);
     }},
    // Category: 0 自身, 1 出行, 2 疾病, 3 求财, 4 失物, 5 工作, 6 功名, 7 官司, 8 考试, 9 文书, 10 家宅,
    // 11 父母, 12 子女, 13 兄弟朋友, 14 婚恋 (the order of Categories); NULL none
    {"category_code"_L1, "INTEGER"_L1, 6, 0, true,
     [](const CaseRecord &c, const ChartFacts &) { return optionalInt(c.category); },
     [](CaseRecord &c, const QVariant &v) {
         if (const auto k = inRange(v, static_cast<int>(Categories.size()) - 1))
             c.category = static_cast<Category>(*k);
     }},
    // Which of the day stem (1), the month build (2) and the day build (4) were picked by hand, added up.
    // NULL in a file of version 5 or older: inferred from the moment when read (inferredByHand).
    {"by_hand"_L1, "INTEGER"_L1, 6, 0, false,
     [](const CaseRecord &c, const ChartFacts &) {
         int bits = 0;
         for (std::size_t i = 0; i < c.cast.byHand.size(); ++i)
             bits |= c.cast.pickedByHand(static_cast<DayPart>(i)) ? 1 << i : 0;
         return QVariant(bits);
     },
     [](CaseRecord &c, const QVariant &v) { // read last: the moment and the parts stand
         if (v.isNull()) {
             c.cast.byHand = inferredByHand(c.cast);
             return;
         }
         for (std::size_t i = 0; i < c.cast.byHand.size(); ++i)
             c.cast.byHand[i] = (v.toInt() >> i & 1) != 0;
     }},
}};
// clang-format on

const std::array<SearchField, 5> SearchFields{{
    {"question"_L1, [](const CaseRecord &c) { return c.question; }, "question"_L1},
    {"notes"_L1, [](const CaseRecord &c) { return c.notes; }, "notes"_L1},
    {"tags"_L1, [](const CaseRecord &c) { return c.tags.join(u' '); }, "tags"_L1},
    {"outcome"_L1, [](const CaseRecord &c) { return c.outcome; }, "outcome"_L1},
    {"hexagrams"_L1, [](const CaseRecord &c) { return originalName(c.cast) + u' ' + changedName(c.cast); }, {}},
}};

QString fullTextCreateSql()
{
    QStringList names;
    for (const SearchField &f : SearchFields)
        names << f.name;
    return u"CREATE VIRTUAL TABLE cases_fts USING fts5(%1)"_s.arg(names.join(u", "_s));
}

QString fullTextInsertSql()
{
    QStringList names{u"rowid"_s};
    for (const SearchField &f : SearchFields)
        names << f.name;
    return u"INSERT INTO cases_fts(%1) VALUES (?%2)"_s.arg(names.join(u", "_s), u", ?"_s.repeated(SearchFields.size()));
}

ChartFacts chartFactsOf(const CaseRecord &c)
{
    const Chart chart = caseChart(c);
    return {useGodStrong(chart), hexagramGroupOf(chart), chart.yingqi};
}

QStringList createTableSql(int version)
{
    QStringList columns;
    for (const CaseColumn &column : CaseColumns)
        if (inVersion(column.since, column.until, version))
            columns << column.name + u' ' + column.type;
    QStringList sql{u"CREATE TABLE cases (%1)"_s.arg(columns.join(u", "_s))};
    for (const SchemaObject &object : Objects)
        if (inVersion(object.since, object.until, version))
            sql << QString(object.sql);
    return sql;
}

QStringList upgradeSql(int version)
{
    QStringList sql;
    for (const CaseColumn &column : CaseColumns)
        if (column.since == version)
            sql << u"ALTER TABLE cases ADD COLUMN %1 %2"_s.arg(column.name, column.type);
    for (const SchemaObject &object : Objects)
        if (object.since == version)
            sql << QString(object.sql);
    return sql;
}

QStringList retireSql(int version)
{
    QStringList sql;
    for (const SchemaObject &object : Objects)
        if (object.until == version)
            sql << u"DROP INDEX IF EXISTS %1"_s.arg(object.name);
    for (const CaseColumn &column : CaseColumns)
        if (column.until == version)
            sql << u"ALTER TABLE cases DROP COLUMN %1"_s.arg(column.name);
    return sql;
}

QString selectColumns(int version, QLatin1StringView alias)
{
    QStringList columns;
    for (const CaseColumn &column : CaseColumns)
        columns << (inVersion(column.since, column.until, version) ? alias + column.name : u"NULL"_s);
    return columns.join(u", "_s);
}

CaseRecord readCase(const QSqlQuery &q)
{
    CaseRecord c;
    for (std::size_t i = 0; i < CaseColumns.size(); ++i)
        if (CaseColumns[i].read)
            CaseColumns[i].read(c, q.value(static_cast<int>(i)));
    if (c.cast.mark.kind == MarkKind::None || c.cast.mark.line < 1 || c.cast.mark.line > 6)
        c.cast.mark = {};
    return c;
}

const QString &insertSql(int version)
{
    // Written once for each version: an import inserts with it case after case.
    static const std::array<QString, CurrentSchemaVersion + 1> Sql = [] {
        std::array<QString, CurrentSchemaVersion + 1> sql;
        for (int v = 1; v <= CurrentSchemaVersion; ++v) {
            QStringList names;
            QStringList values;
            for (const CaseColumn &column : CaseColumns) {
                if (inVersion(column.since, column.until, v)) {
                    names << column.name;
                    values << u"?"_s;
                }
            }
            sql[static_cast<std::size_t>(v)]
                = u"INSERT INTO cases(%1) VALUES (%2)"_s.arg(names.join(u", "_s), values.join(u", "_s));
        }
        return sql;
    }();
    return Sql[static_cast<std::size_t>(std::clamp(version, 1, CurrentSchemaVersion))];
}

void bindInsert(QSqlQuery &q, const CaseRecord &c, const ChartFacts &facts, int version)
{
    int at = 0;
    for (const CaseColumn &column : CaseColumns)
        if (inVersion(column.since, column.until, version))
            q.bindValue(at++, column.write(c, facts));
}

namespace {

bool followUpColumn(const CaseColumn &column)
{
    return column.followUp && inVersion(column.since, column.until, CurrentSchemaVersion);
}

} // namespace

const QString &followUpSql()
{
    static const QString Sql = [] {
        QStringList sets;
        for (const CaseColumn &column : CaseColumns)
            if (followUpColumn(column))
                sets << column.name + u" = ?"_s;
        return u"UPDATE cases SET %1 WHERE id = ?"_s.arg(sets.join(u", "_s));
    }();
    return Sql;
}

void bindFollowUp(QSqlQuery &q, const CaseRecord &c, const ChartFacts &facts)
{
    int at = 0;
    for (const CaseColumn &column : CaseColumns)
        if (followUpColumn(column))
            q.bindValue(at++, column.write(c, facts));
    q.bindValue(at, c.id);
}

bool sameFollowUp(const CaseRecord &a, const CaseRecord &b)
{
    // What the user writes after saving: the follow-up columns read back from the record (not the times).
    const ChartFacts none;
    return std::ranges::all_of(CaseColumns, [&](const CaseColumn &column) {
        return !followUpColumn(column) || !column.read || column.name == "changed_at"_L1
               || column.write(a, none) == column.write(b, none);
    });
}

} // namespace lotgrid
