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
// case saved before the schools, which reads as 通行.

#include "journal/caserecord.h"

#include <QLatin1StringView>
#include <QStringList>
#include <QVariant>

#include <array>

class QSqlQuery;

namespace lotgrid {

inline constexpr int CurrentSchemaVersion = 5;

// A case's id orders the journal, newest last: the minute the case is dated by
// (caseMinute) times 2^20, plus its place among the cases of that minute, from 1.
// The table and the full-text index (whose rowid is the case id) are then read
// newest first by walking ids down, and a search stops at its first screenful.
inline constexpr qint64 IdsPerMinute = qint64{1} << 20;

constexpr qint64 firstIdOf(qint64 minute)
{
    return minute * IdsPerMinute;
}

struct CaseColumn {
    QLatin1StringView name;
    QLatin1StringView type; // as CREATE TABLE and ALTER TABLE write it
    int since;              // the schema version that added the column
    bool followUp;          // rewritten when the follow-up of a case is edited
    QVariant (*write)(const CaseRecord &);
    void (*read)(CaseRecord &, const QVariant &); // nullptr: derived, never read
};

extern const std::array<CaseColumn, 24> CaseColumns;

// CREATE statements of the table and its indexes as of `version`.
QStringList createTableSql(int version);
// What turns a table of version - 1 into one of `version`: new columns and indexes.
QStringList upgradeSql(int version);

// The columns a file of `version` has, in CaseColumns order, those it lacks as
// NULL; each prefixed by `alias` ("c.").
QString selectColumns(int version, QLatin1StringView alias = {});
// Reads a row selected with selectColumns.
CaseRecord readCase(const QSqlQuery &q);

// INSERT of every column a table of `version` has, and its values.
const QString &insertSql(int version);
void bindInsert(QSqlQuery &q, const CaseRecord &c, int version);
// UPDATE of the follow-up columns and changed_at of the case with c.id.
const QString &followUpSql();
void bindFollowUp(QSqlQuery &q, const CaseRecord &c);

} // namespace lotgrid
