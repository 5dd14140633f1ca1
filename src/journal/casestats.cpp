#include "journal/casestats.h"

#include "calendar/moment.h"
#include "chart/casefacts.h"
#include "chart/categories.h"
#include "chart/summary.h"
#include "journal/caserecord.h"
#include "journal/journalschema.h"
#include "qtcore/textconv.h"

#include <QHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace lotgrid {

namespace {

// Cases with an outcome: 1 应验, 2 不验.
constexpr auto Decided = "c.verdict IN (1, 2)"_L1;
constexpr auto Counts = "SUM(c.verdict = 1), SUM(c.verdict = 2)"_L1;

// The first id of the cases dated in the month starting `first` (ids are the
// case's minute times 2^20, see the journal's schema).
qint64 firstIdOfDay(const QDate &first)
{
    return minuteNumber({{first.year(), first.month(), first.day()}, 0, 0}) << 20;
}

QString likeEscaped(const QString &text)
{
    QString out;
    for (const QChar c : text) {
        if (c == u'%' || c == u'_' || c == u'\\')
            out += u'\\';
        out += c;
    }
    return out;
}

// The word of a category's code as the statistics group by it.
QString labelOfCategory(const QString &key)
{
    bool ok = false;
    const int code = key.toInt(&ok);
    return ok && code >= 0 && code < static_cast<int>(Categories.size()) ? qs(categoryName(static_cast<Category>(code)))
                                                                         : key;
}

// What each dimension groups by, on the cases table aliased c.
QString groupExpression(StatsBy by)
{
    switch (by) {
    case StatsBy::Category:
        return u"coalesce(CAST(c.category_code AS TEXT), '')"_s;
    case StatsBy::Strength:
        return u"coalesce(CAST(c.usegod_strong AS TEXT), '')"_s;
    case StatsBy::HexagramGroup:
        return u"coalesce(CAST(c.hexagram_group AS TEXT), '')"_s;
    case StatsBy::Month:
        // The case's minute (China time) as seconds of the Unix clock gives its civil month.
        return u"strftime('%Y-%m', (c.id >> 20) * 60, 'unixepoch')"_s;
    case StatsBy::Tag:
        break;
    }
    return {};
}

QString labelOf(StatsBy by, const QString &key)
{
    switch (by) {
    case StatsBy::Category:
        return key.isEmpty() ? u"未分类"_s : labelOfCategory(key);
    case StatsBy::Tag:
    case StatsBy::Month:
        return key;
    case StatsBy::Strength:
        return key == u"1"_s ? u"旺"_s : key == u"0"_s ? u"衰"_s : u"旺衰不明"_s;
    case StatsBy::HexagramGroup: {
        bool ok = false;
        const int g = key.toInt(&ok);
        return ok && g >= 0 && g < static_cast<int>(HexagramGroupNames.size())
                   ? qs(hexagramGroupName(static_cast<HexagramGroup>(g)))
                   : u"不明"_s;
    }
    }
    return key;
}

// Where a group's row goes in its table.
int rankOf(const StatsRow &row)
{
    const QString &key = row.group.key;
    if (key.isEmpty())
        return 1000;
    switch (row.group.by) {
    case StatsBy::Category:
        return key.toInt();
    case StatsBy::Strength:
        return key == u"1"_s ? 0 : 1;
    case StatsBy::HexagramGroup:
        return key.toInt();
    case StatsBy::Tag:
    case StatsBy::Month:
        break;
    }
    return 0;
}

bool run(QSqlQuery &q, const QVariantList &binds, QString *error)
{
    for (const QVariant &b : binds)
        q.addBindValue(b);
    if (q.exec())
        return true;
    if (error)
        *error = q.lastError().text();
    return false;
}

} // namespace

std::optional<double> HitCount::rate() const
{
    if (decided() == 0)
        return std::nullopt;
    return static_cast<double>(hits) / static_cast<double>(decided());
}

QString hitCountText(const HitCount &c)
{
    const auto rate = c.rate();
    if (!rate)
        return u"无"_s;
    return u"应验 %1 / 不验 %2（%3%）"_s.arg(c.hits).arg(c.misses).arg(qRound(*rate * 100));
}

QString statsByName(StatsBy by)
{
    static const std::array<QString, 5> names{u"占类"_s, u"标签"_s, u"用神旺衰"_s, u"卦型"_s, u"起卦月份"_s};
    return names[static_cast<std::size_t>(by)];
}

SqlCondition groupCondition(const CaseGroup &group)
{
    switch (group.by) {
    case StatsBy::Tag:
        return {u"(' ' || c.tags || ' ') LIKE ? ESCAPE '\\'"_s, {u"% "_s + likeEscaped(group.key) + u" %"_s}};
    case StatsBy::Month: {
        const QDate first = QDate::fromString(group.key + u"-01"_s, u"yyyy-MM-dd"_s);
        if (!first.isValid())
            return {u"0"_s, {}};
        return {u"c.id >= ? AND c.id < ?"_s, {firstIdOfDay(first), firstIdOfDay(first.addMonths(1))}};
    }
    default:
        return {groupExpression(group.by) + u" = ?"_s, {group.key}};
    }
}

std::optional<HitCount> overallCount(const QSqlDatabase &db, QString *error)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    q.prepare(u"SELECT %1 FROM cases c WHERE %2"_s.arg(Counts, Decided));
    if (!run(q, {}, error))
        return std::nullopt;
    HitCount c;
    if (q.next())
        c = {q.value(0).toLongLong(), q.value(1).toLongLong()};
    return c;
}

std::optional<QList<StatsRow>> statsBy(const QSqlDatabase &db, StatsBy by, QString *error)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (by == StatsBy::Tag) {
        // Tags are stored joined by single blanks: the counts of each set of
        // tags (few, however many cases) are added up for each of its tags below.
        q.prepare(u"SELECT c.tags, %1 FROM cases c WHERE %2 AND c.tags <> '' GROUP BY 1"_s.arg(Counts, Decided));
    } else {
        q.prepare(u"SELECT %1, %2 FROM cases c WHERE %3 GROUP BY 1"_s.arg(groupExpression(by), Counts, Decided));
    }
    if (!run(q, {}, error))
        return std::nullopt;
    QList<StatsRow> rows;
    QHash<QString, qsizetype> rowOf;
    while (q.next()) {
        const HitCount count{q.value(1).toLongLong(), q.value(2).toLongLong()};
        const QString key = q.value(0).toString();
        const QStringList keys = by == StatsBy::Tag ? key.split(u' ', Qt::SkipEmptyParts) : QStringList{key};
        for (const QString &k : keys) {
            const auto at = rowOf.find(k);
            const qsizetype row = at != rowOf.end() ? *at : rows.size();
            if (at == rowOf.end()) {
                rowOf.insert(k, row);
                rows << StatsRow{{by, k}, labelOf(by, k), {}};
            }
            rows[row].count.hits += count.hits;
            rows[row].count.misses += count.misses;
        }
    }
    std::ranges::stable_sort(rows, [](const StatsRow &a, const StatsRow &b) {
        if (a.group.by == StatsBy::Tag && a.count.decided() != b.count.decided())
            return a.count.decided() > b.count.decided();
        if (rankOf(a) != rankOf(b))
            return rankOf(a) < rankOf(b);
        return a.group.key < b.group.key;
    });
    return rows;
}

std::optional<QList<TrendRow>> trendStats(const QSqlDatabase &db, QString *error)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    q.prepare(u"SELECT %1 FROM cases c WHERE %2"_s.arg(selectColumns(CurrentSchemaVersion, "c."_L1), Decided));
    if (!run(q, {}, error))
        return std::nullopt;
    std::array<HitCount, TrendNames.size() + 1> counts{}; // the last: no use god
    while (q.next()) {
        const CaseRecord c = readCase(q);
        const Summary summary = summaryOf(caseChart(c));
        HitCount &count = counts[summary.trend ? static_cast<std::size_t>(*summary.trend) : TrendNames.size()];
        (c.verdict == Verdict::Fulfilled ? count.hits : count.misses) += 1;
    }
    if (q.lastError().isValid()) {
        if (error)
            *error = q.lastError().text();
        return std::nullopt;
    }
    QList<TrendRow> rows;
    for (std::size_t t = 0; t < counts.size(); ++t)
        if (counts[t].decided() > 0)
            rows << TrendRow{t < TrendNames.size() ? qs(TrendNames[t]) : u"无用神"_s, counts[t]};
    return rows;
}

std::optional<double> RuleStats::rate() const
{
    return dated > 0 ? std::optional(static_cast<double>(hits) / static_cast<double>(dated)) : std::nullopt;
}

std::optional<QList<RuleStats>> statsByRule(const QSqlDatabase &db, QString *error)
{
    // Each case once per rule: hit when any of the rule's candidates hit, off by the nearest.
    QSqlQuery q(db);
    q.setForwardOnly(true);
    q.prepare(u"SELECT rule, count(*), count(nearest), coalesce(sum(hit), 0), avg(nearest) FROM"
              " (SELECT case_id, rule, max(hit) AS hit, min(days_off) AS nearest FROM case_yingqi"
              "  WHERE line <> 2 GROUP BY case_id, rule)"
              " GROUP BY rule ORDER BY rule"_s);
    if (!run(q, {}, error))
        return std::nullopt;
    QList<RuleStats> rows;
    while (q.next()) {
        RuleStats r{q.value(0).toInt(), q.value(1).toLongLong(), q.value(2).toLongLong(), q.value(3).toLongLong(), {}};
        if (!q.value(4).isNull())
            r.meanDaysOff = q.value(4).toDouble();
        rows << r;
    }
    return rows;
}

std::optional<qint64> awaitingCount(const QSqlDatabase &db, const QDate &today, QString *error)
{
    // Served by the index cases_open_by_yingqi.
    QSqlQuery q(db);
    q.setForwardOnly(true);
    q.prepare(u"SELECT count(*) FROM cases c WHERE c.verdict = 0 AND c.yingqi_first < ?"_s);
    if (!run(q, {today.toString(Qt::ISODate)}, error) || !q.next())
        return std::nullopt;
    return q.value(0).toLongLong();
}

} // namespace lotgrid
