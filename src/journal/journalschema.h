#pragma once
// The journal's table of cases described once: each column with its SQL type,
// the schema version that added it, and how it is written from a CaseRecord
// and read into one. Creating the table, each migration, every SELECT and the
// INSERT and UPDATE statements are built from this description, so a column is
// added in one place.
//
// Schema versions: 1 numbered the cases 1, 2, 3..., had no changed_lines and
// no tags, and no full-text index; 2 has ids that order the cases (see
// firstIdOf) and the full-text index; 3 adds the category and the first
// timing candidate; 4 adds what the statistics group cases by that only the
// chart tells (the use god's strength, the hexagram group) and the day an
// outcome came about; 5 the school (流派) the case is read by, NULL for a
// case saved before the schools, which reads as 通行; 6 keeps the sex and the
// category as codes instead of words, which of the day stem and builds were
// picked by hand, and every 应期 candidate of each case with whether it came
// true (the table case_yingqi).

#include "chart/casefacts.h"
#include "journal/caserecord.h"

#include <QLatin1StringView>
#include <QStringList>
#include <QVariant>

#include <array>
#include <vector>

class QSqlQuery;

namespace lotgrid {

inline constexpr int CurrentSchemaVersion = 6;

// A case's id orders the journal, newest last: the minute the case is dated by
// (caseMinute) times 2^20, plus its place among the cases of that minute, from 1.
// The table and the full-text index (whose rowid is the case id) are then read
// newest first by walking ids down, and a search stops at its first screenful.
inline constexpr qint64 IdsPerMinute = qint64{1} << 20;

constexpr qint64 firstIdOf(qint64 minute)
{
    return minute * IdsPerMinute;
}

// What the columns derived from a case's chart are written from: worked out
// once for each case written.
struct ChartFacts {
    std::optional<bool> useGodStrong;
    std::optional<HexagramGroup> group;
    std::vector<YingqiCandidate> yingqi;
};
ChartFacts chartFactsOf(const CaseRecord &c);

struct CaseColumn {
    QLatin1StringView name;
    QLatin1StringView type; // as CREATE TABLE and ALTER TABLE write it
    int since;              // the schema version that added the column
    int until;              // the schema version that dropped it; 0 while it stands
    bool followUp;          // rewritten when the follow-up of a case is edited
    QVariant (*write)(const CaseRecord &, const ChartFacts &);
    void (*read)(CaseRecord &, const QVariant &); // nullptr: derived, never read
};

extern const std::array<CaseColumn, 27> CaseColumns;

// CREATE statements of the table and its indexes as of `version`.
QStringList createTableSql(int version);
// What turns a table of version - 1 into one of `version`: new columns, indexes and tables;
// then, once the migration has read what they held, retireSql drops the indexes and columns it retires.
QStringList upgradeSql(int version);
QStringList retireSql(int version);

// The columns a file of `version` has, in CaseColumns order, those it lacks as
// NULL; each prefixed by `alias` ("c.").
QString selectColumns(int version, QLatin1StringView alias = {});
// Reads a row selected with selectColumns.
CaseRecord readCase(const QSqlQuery &q);

// What a search looks through, in the order of the full-text index's columns:
// each field's name there, the text it indexes, and the column of cases the
// LIKE search (without the index) looks in; empty for the hexagram names,
// which that search finds by their line keys.
struct SearchField {
    QLatin1StringView name;
    QString (*text)(const CaseRecord &);
    QLatin1StringView column;
};
extern const std::array<SearchField, 5> SearchFields;
// CREATE of the full-text index, and INSERT of a case's row (rowid first).
QString fullTextCreateSql();
QString fullTextInsertSql();

// INSERT of every column a table of `version` has, and its values.
const QString &insertSql(int version);
void bindInsert(QSqlQuery &q, const CaseRecord &c, const ChartFacts &facts, int version);
// UPDATE of the follow-up columns and changed_at of the case with c.id.
const QString &followUpSql();
void bindFollowUp(QSqlQuery &q, const CaseRecord &c, const ChartFacts &facts);

} // namespace lotgrid
