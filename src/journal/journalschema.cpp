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

struct SchemaIndex {
    QLatin1StringView sql;
    int since;
};

constexpr std::array<SchemaIndex, 4> Indexes{{
    {"CREATE INDEX cases_by_saved ON cases(saved_at)"_L1, 1},
    {"CREATE INDEX cases_by_verdict ON cases(verdict, id)"_L1, 2},
    // Cases still open whose first timing candidate has come: verdict = 0 AND yingqi_first < today.
    {"CREATE INDEX cases_open_by_yingqi ON cases(verdict, yingqi_first) WHERE yingqi_first IS NOT NULL"_L1, 3},
    // Everything the statistics group the cases with an outcome by, so that they read this index alone.
    {"CREATE INDEX cases_by_outcome ON cases(verdict, category, usegod_strong, hexagram_group, tags)"_L1, 4},
}};

} // namespace

// clang-format off
const std::array<CaseColumn, 24> CaseColumns{{
    {"id"_L1, "INTEGER PRIMARY KEY"_L1, 1, false, // see IdsPerMinute
     [](const CaseRecord &c) { return QVariant(c.id); },
     [](CaseRecord &c, const QVariant &v) { c.id = v.toLongLong(); }},
    {"saved_at"_L1, "INTEGER NOT NULL"_L1, 1, false, // ms since 1970, UTC
     [](const CaseRecord &c) { return QVariant(c.saved.toMSecsSinceEpoch()); },
     [](CaseRecord &c, const QVariant &v) { c.saved = QDateTime::fromMSecsSinceEpoch(v.toLongLong(), Qt::UTC); }},
    {"changed_at"_L1, "INTEGER NOT NULL"_L1, 1, true, // ms since 1970, UTC
     [](const CaseRecord &c) { return QVariant(c.changed.toMSecsSinceEpoch()); },
     [](CaseRecord &c, const QVariant &v) { c.changed = QDateTime::fromMSecsSinceEpoch(v.toLongLong(), Qt::UTC); }},
    {"moment"_L1, "INTEGER"_L1, 1, false, // minuteNumber of the cast moment (qgsj), China time; NULL without one
     [](const CaseRecord &c) {
         return c.cast.moment ? QVariant(qint64{minuteNumber(*c.cast.moment)}) : QVariant(QMetaType::fromType<qint64>());
     },
     [](CaseRecord &c, const QVariant &v) {
         if (!v.isNull())
             c.cast.moment = momentFromMinutes(v.toLongLong());
     }},
    {"lines"_L1, "TEXT NOT NULL"_L1, 1, false, // LineKey, line 1 first: "101101"
     [](const CaseRecord &c) { return notNull(lineKey(c.cast)); },
     [](CaseRecord &c, const QVariant &v) {
         const QString lines = v.toString();
         for (int n = 1; n <= 6; ++n) {
             const QChar l = n <= lines.size() ? lines.at(n - 1) : QChar();
             c.cast.line(n).value = l == u'1' || l == u'0' ? l.unicode() : char16_t{0};
         }
     }},
    {"moving"_L1, "TEXT NOT NULL"_L1, 1, false, // moving flags, line 1 first: "000100"
     [](const CaseRecord &c) { return QVariant(movingKey(c.cast)); },
     [](CaseRecord &c, const QVariant &v) {
         const QString moving = v.toString();
         for (int n = 1; n <= 6; ++n)
             c.cast.line(n).moving = n <= moving.size() && moving.at(n - 1) == u'1';
     }},
    {"changed_lines"_L1, "TEXT NOT NULL"_L1, 2, false, // LineKey of the changed hexagram, for the LIKE search
     [](const CaseRecord &c) { return notNull(changedLineKey(c.cast)); },
     nullptr},
    {"day_stem"_L1, "INTEGER"_L1, 1, false, // [0, 9] 甲..癸, NULL when not chosen
     [](const CaseRecord &c) { return optionalInt(c.cast.dayStem); },
     [](CaseRecord &c, const QVariant &v) { c.cast.dayStem = inRange(v, 9); }},
    {"month_build"_L1, "INTEGER"_L1, 1, false, // [0, 11] 子..亥
     [](const CaseRecord &c) { return optionalInt(c.cast.monthBuild); },
     [](CaseRecord &c, const QVariant &v) {
         if (const auto b = inRange(v, 11))
             c.cast.monthBuild = static_cast<Branch>(*b);
     }},
    {"day_build"_L1, "INTEGER"_L1, 1, false, // [0, 11]
     [](const CaseRecord &c) { return optionalInt(c.cast.dayBuild); },
     [](CaseRecord &c, const QVariant &v) {
         if (const auto b = inRange(v, 11))
             c.cast.dayBuild = static_cast<Branch>(*b);
     }},
    {"mark_kind"_L1, "INTEGER NOT NULL DEFAULT 0"_L1, 1, false, // 0 none, 1 用神, 2 伏神
     [](const CaseRecord &c) { return QVariant(static_cast<int>(c.cast.mark.kind)); },
     [](CaseRecord &c, const QVariant &v) {
         const int kind = v.toInt();
         c.cast.mark.kind = kind == 1 || kind == 2 ? static_cast<MarkKind>(kind) : MarkKind::None;
     }},
    {"mark_line"_L1, "INTEGER NOT NULL DEFAULT 0"_L1, 1, false, // [1, 6] with a mark
     [](const CaseRecord &c) { return QVariant(c.cast.mark.line); },
     [](CaseRecord &c, const QVariant &v) { c.cast.mark.line = v.toInt(); }},
    {"question"_L1, "TEXT NOT NULL DEFAULT ''"_L1, 1, false,
     [](const CaseRecord &c) { return notNull(c.question); },
     [](CaseRecord &c, const QVariant &v) { c.question = v.toString(); }},
    {"sex"_L1, "TEXT NOT NULL DEFAULT ''"_L1, 1, false,
     [](const CaseRecord &c) { return notNull(c.sex); },
     [](CaseRecord &c, const QVariant &v) { c.sex = v.toString(); }},
    {"notes"_L1, "TEXT NOT NULL DEFAULT ''"_L1, 1, true,
     [](const CaseRecord &c) { return notNull(c.notes); },
     [](CaseRecord &c, const QVariant &v) { c.notes = v.toString(); }},
    {"outcome"_L1, "TEXT NOT NULL DEFAULT ''"_L1, 1, true,
     [](const CaseRecord &c) { return notNull(c.outcome); },
     [](CaseRecord &c, const QVariant &v) { c.outcome = v.toString(); }},
    {"verdict"_L1, "INTEGER NOT NULL DEFAULT 0"_L1, 1, true, // 0 未定, 1 应验, 2 不验
     [](const CaseRecord &c) { return QVariant(static_cast<int>(c.verdict)); },
     [](CaseRecord &c, const QVariant &v) {
         const auto verdict = inRange(v, 2);
         c.verdict = verdict ? static_cast<Verdict>(*verdict) : Verdict::Open;
     }},
    {"tags"_L1, "TEXT NOT NULL DEFAULT ''"_L1, 2, true, // tags joined by single blanks
     [](const CaseRecord &c) { return notNull(c.tags.join(u' ')); },
     [](CaseRecord &c, const QVariant &v) { c.tags = v.toString().split(u' ', Qt::SkipEmptyParts); }},
    {"category"_L1, "TEXT"_L1, 3, true, // the question's category word; NULL for none
     [](const CaseRecord &c) { return nullWhenEmpty(c.category); },
     [](CaseRecord &c, const QVariant &v) { c.category = v.toString(); }},
    {"yingqi_first"_L1, "TEXT"_L1, 3, true, // the first timing candidate, "YYYY-MM-DD"; NULL for none
     [](const CaseRecord &c) { return isoDateOrNull(c.firstYingqi); },
     [](CaseRecord &c, const QVariant &v) { c.firstYingqi = dateOf(v); }},
    {"usegod_strong"_L1, "INTEGER"_L1, 4, true, // 1 the use god (or the world line) strong, 0 weak; NULL unknown
     [](const CaseRecord &c) { return optionalInt(useGodStrong(caseChart(c))); },
     nullptr},
    {"hexagram_group"_L1, "INTEGER"_L1, 4, false, // HexagramGroup: 0 六冲, 1 六合, 2 反吟/伏吟, 3 other
     [](const CaseRecord &c) { return optionalInt(hexagramGroupOf(caseChart(c))); },
     nullptr},
    {"outcome_date"_L1, "TEXT"_L1, 4, true, // the day the outcome came about, "YYYY-MM-DD"; NULL when not told
     [](const CaseRecord &c) { return isoDateOrNull(c.outcomeDate); },
     [](CaseRecord &c, const QVariant &v) { c.outcomeDate = dateOf(v); }},
    {"school"_L1, "TEXT"_L1, 5, true, // the school as the chart's JSON names it; NULL: saved before the schools (通行)
     [](const CaseRecord &c) { return QVariant(QString::fromStdString(schoolJsonValue(c.cast.options).dump())); },
     [](CaseRecord &c, const QVariant &v) { c.cast.options = schoolOfText(v); }},
}};
// clang-format on

QStringList createTableSql(int version)
{
    QStringList columns;
    for (const CaseColumn &column : CaseColumns)
        if (column.since <= version)
            columns << column.name + u' ' + column.type;
    QStringList sql{u"CREATE TABLE cases (%1)"_s.arg(columns.join(u", "_s))};
    for (const SchemaIndex &index : Indexes)
        if (index.since <= version)
            sql << QString(index.sql);
    return sql;
}

QStringList upgradeSql(int version)
{
    QStringList sql;
    for (const CaseColumn &column : CaseColumns)
        if (column.since == version)
            sql << u"ALTER TABLE cases ADD COLUMN %1 %2"_s.arg(column.name, column.type);
    for (const SchemaIndex &index : Indexes)
        if (index.since == version)
            sql << QString(index.sql);
    return sql;
}

QString selectColumns(int version, QLatin1StringView alias)
{
    QStringList columns;
    for (const CaseColumn &column : CaseColumns)
        columns << (column.since <= version ? alias + column.name : u"NULL"_s);
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
                if (column.since <= v) {
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

void bindInsert(QSqlQuery &q, const CaseRecord &c, int version)
{
    int at = 0;
    for (const CaseColumn &column : CaseColumns)
        if (column.since <= version)
            q.bindValue(at++, column.write(c));
}

const QString &followUpSql()
{
    static const QString Sql = [] {
        QStringList sets;
        for (const CaseColumn &column : CaseColumns)
            if (column.followUp)
                sets << column.name + u" = ?"_s;
        return u"UPDATE cases SET %1 WHERE id = ?"_s.arg(sets.join(u", "_s));
    }();
    return Sql;
}

void bindFollowUp(QSqlQuery &q, const CaseRecord &c)
{
    int at = 0;
    for (const CaseColumn &column : CaseColumns)
        if (column.followUp)
            q.bindValue(at++, column.write(c));
    q.bindValue(at, c.id);
}

} // namespace lotgrid
