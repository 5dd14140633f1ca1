#pragma once
// A case of the journal: the cast as the user put it on the sheet, the question
// asked, and what came of it. The chart is never stored; it is recomputed from
// the cast, and the hexagram names shown in the table and searched come from
// the hexagram table through the line key.

#include "chart/cast.h"

#include <QDateTime>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace lotgrid {

enum class Verdict : std::uint8_t { Open, Fulfilled, Failed }; // 未定, 应验, 不验

QString verdictText(Verdict v);
std::optional<Verdict> verdictFromText(const QString &text);

struct CaseRecord {
    qint64 id = 0;     // 0 until saved
    QDateTime saved;   // UTC, to the millisecond
    QDateTime changed; // UTC, to the millisecond
    CastInput cast;    // moment: the moment of the cast (qgsj), China time
    QString question;
    QString sex; // "男", "女" or empty
    QString notes;
    QString outcome;
    Verdict verdict = Verdict::Open;
    QStringList tags; // each trimmed, non-empty, without blanks or separators

    friend bool operator==(const CaseRecord &, const CaseRecord &) = default;
};

// Six lines stand: every line is "1" or "0". Only such casts are journal cases.
bool linesStand(const CastInput &cast);

// Why a cast or case cannot be kept, or empty when it can.
QString castProblem(const CastInput &cast);
QString caseProblem(const CaseRecord &c);

// LineKey of the cast ("101101", line 1 first) and of its changed hexagram
// (moving lines flipped); empty when a line is missing.
QString lineKey(const CastInput &cast);
QString changedLineKey(const CastInput &cast);

// Name of the original hexagram ("火天大有") and of the changed one, empty when
// there is no moving line.
QString originalName(const CastInput &cast);
QString changedName(const CastInput &cast);
// "火天大有 → 乾为天", or the original name alone without a moving line.
QString hexagramsText(const CastInput &cast);

// Splits what a user typed into tags: blanks, commas (， ,), 、 and semicolons
// separate; duplicates and empty pieces go.
QStringList normalizeTags(const QString &typed);

// "2026-12-07 08:30", empty without a moment.
QString momentText(const std::optional<Moment> &moment);
std::optional<Moment> momentFromText(const QString &text);

// The moment of a saved time on China's clock (UTC+8), for cases cast without one.
Moment chinaMoment(const QDateTime &utc);

// Minutes (minuteNumber, China time) the case is dated and sorted by: its cast
// moment, or the moment it was saved when the cast has none.
qint64 caseMinute(const CaseRecord &c);

// The JSON form of a case, as exported; the optional chart hook adds the
// computed chart under "chart".
using ChartJson = std::function<QJsonObject(const CastInput &)>;
QJsonObject caseToJson(const CaseRecord &c, const ChartJson &chart = {});
// Reads a case back; on failure returns nothing and says why in `problem`.
// "id" and "chart" are not read: a case gets a new id, and its chart is recomputed.
std::optional<CaseRecord> caseFromJson(const QJsonObject &o, QString *problem);

} // namespace lotgrid
