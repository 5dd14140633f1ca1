#pragma once
// How often the readings came true: the hit rate of the cases with an outcome
// (应验 ÷ (应验 + 不验)), over the whole journal and by group — the question's
// category, each tag, the strength of the line read for the matter, the kind
// of hexagram, and the month of the cast. Every count is one aggregate query
// over the cases table, so the journal's size costs one scan per group.

#include <QDate>
#include <QList>
#include <QString>
#include <QVariantList>

#include <cstdint>
#include <optional>

class QSqlDatabase;

namespace lotgrid {

struct HitCount {
    qint64 hits = 0;   // 应验
    qint64 misses = 0; // 不验

    qint64 decided() const { return hits + misses; }
    // hits ÷ decided, in [0, 1]; none without a decided case.
    std::optional<double> rate() const;
    friend bool operator==(const HitCount &, const HitCount &) = default;
};

// "应验 3 / 不验 1（75%）"; "无" without a decided case.
QString hitCountText(const HitCount &c);

enum class StatsBy : std::uint8_t { Category, Tag, Strength, HexagramGroup, Month };

// A group of cases: one bar of a plot, one row of its table, and what lists
// its cases in 案例库. `key` is the value stored in the journal ("3" for 求财, a tag,
// "1" strong, "0" weak, "2" for the third hexagram group, "2026-12"); empty
// for the cases without one (no category, no moment-derived strength).
struct CaseGroup {
    StatsBy by = StatsBy::Category;
    QString key;
    friend bool operator==(const CaseGroup &, const CaseGroup &) = default;
};

struct StatsRow {
    CaseGroup group;
    QString label; // as shown: "求财", "未分类", "旺", "六冲", "2026-12"
    HitCount count;
};

// The WHERE condition on the cases table aliased `c` that selects a group's
// cases, with its bound values in order.
struct SqlCondition {
    QString sql;
    QVariantList binds;
};

SqlCondition groupCondition(const CaseGroup &group);

// The queries, on an open connection to a journal. Each returns none, with
// the database's message in `error`, when the query fails.
std::optional<HitCount> overallCount(const QSqlDatabase &db, QString *error);
// Groups with a decided case only: categories in their list's order, tags by
// decided count (most first), strong before weak, hexagram groups in their
// order, months in time order; groups without a value last.
std::optional<QList<StatsRow>> statsBy(const QSqlDatabase &db, StatsBy by, QString *error);
// The cases still open (未定) whose first 应期 candidate lies before `today`: 待验.
std::optional<qint64> awaitingCount(const QSqlDatabase &db, const QDate &today, QString *error);

// The 趋势 of the 要点 against the outcome: one row per trend word (有利, 不利,
// 待条件, 难断, in that order), then "无用神" for the charts without a use god;
// only rows with a decided case. The journal keeps no summary: each decided
// case is charted again from its stored cast, read by its school.
struct TrendRow {
    QString label;
    HitCount count;
    friend bool operator==(const TrendRow &, const TrendRow &) = default;
};

std::optional<QList<TrendRow>> trendStats(const QSqlDatabase &db, QString *error);

// How one 应期 rule fared: the cases whose candidates (the use god's, or the
// world line's, and the 两现 timing line's; a moving 忌神's time the harm and
// are left out) include it; of those, the ones 应验 with the day it came about,
// how many of them it hit (a candidate of the rule on that day or in that
// month), and how far that day lay from the rule's nearest candidate, on
// average over those cases.
struct RuleStats {
    int rule = 0; // YingqiRule
    qint64 listed = 0;
    qint64 dated = 0;
    qint64 hits = 0;
    std::optional<double> meanDaysOff;

    // hits ÷ dated, in [0, 1]; none without a dated case.
    std::optional<double> rate() const;
    friend bool operator==(const RuleStats &, const RuleStats &) = default;
};

// One row per rule some case lists, in the rules' order.
std::optional<QList<RuleStats>> statsByRule(const QSqlDatabase &db, QString *error);

// The name of a dimension as the window titles it: "占类", "标签", "用神旺衰", "卦型", "起卦月份".
QString statsByName(StatsBy by);

} // namespace lotgrid
