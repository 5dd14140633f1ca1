#pragma once
// The journal's export file, UTF-8 JSON read and written with nlohmann/json:
//   {"format": "lotgrid-journal", "version": 1, "exported": "<UTC time>",
//    "cases": [{"id": …, "saved": …, "lines": "101101", …}, …]}
// Keys keep the order they are written in. A file is read case by case: each
// case becomes a CaseRecord as soon as it is parsed, so neither the file nor
// the whole document ever stands in memory.

#include "journal/journalerror.h"

#include <QByteArray>
#include <QIODevice>
#include <QList>

#include <nlohmann/json.hpp>

namespace lotgrid {

using Json = nlohmann::ordered_json;

inline constexpr int ExportFormatVersion = 1;

// No export file nests deeper than this: the root, "cases", a case, its chart
// and the chart's few levels. A file nested deeper is refused before any of it
// is built.
inline constexpr int MaxExportDepth = 64;

// The JSON form of a case, as exported; the chart hook adds the computed chart
// under "chart".
Json caseToJson(const CaseRecord &c, const ChartJson &chart = {});
// Reads a case back; on failure returns nothing and says why in `problem`.
// "id" and "chart" are not read: a case gets a new id, and its chart is recomputed.
std::optional<CaseRecord> caseFromJson(const Json &o, CaseProblem *problem);

// `text` with every escaped surrogate that is not half of a pair ("\ud800 "
// alone, or a low half alone) written as "\ufffd", so that a string holding one
// reads as the replacement character instead of being refused or merged with
// its neighbour.
QByteArray withLoneSurrogatesReplaced(const QByteArray &text);

// Reads an export file from `in` piece by piece, handing each case to `take`
// as soon as it is read and checked; the file is never held whole, and a
// case's "chart" is skipped unbuilt. `progress` is told after every thousand
// cases (its total 0: not known while parsing) and stops the reading when it
// returns false. On failure returns false and fills in the kind and facts of
// `failure` (FileNotUtf8, FileNotJson, FileTooDeep, FileNotExport, Version…,
// BadFileCase, Cancelled, FileUnreadable); `take` may have been given cases
// before the failure was found.
bool readExport(QIODevice &in, const std::function<void(CaseRecord &&)> &take, JournalFailure &failure,
                const ImportProgress &progress = {});
// The same over bytes in memory, the cases as a list.
std::optional<QList<CaseRecord>> casesFromExport(const QByteArray &bytes, JournalFailure &failure,
                                                 const ImportProgress &progress = {});

// An export file of `cases` in the given order, and the same written piece by
// piece: the head, each case (the first one told so), the tail.
QByteArray exportDocument(const QList<CaseRecord> &cases, const QDateTime &exported, const ChartJson &chart = {});
QByteArray exportHead(const QDateTime &exported);
QByteArray exportCase(const CaseRecord &c, const ChartJson &chart, bool first);
QByteArray exportTail();

} // namespace lotgrid
