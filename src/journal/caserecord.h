#pragma once
// A case of the journal: the cast as the user put it on the sheet, the question
// asked, and what came of it. The chart is never stored; it is recomputed from
// the cast, and the hexagram names shown in the table and searched come from
// the hexagram table through the line key.

#include "chart/cast.h"
#include "chart/chart.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace lotgrid {

enum class Verdict : std::uint8_t { Open, Fulfilled, Failed }; // 未定, 应验, 不验

QString verdictText(Verdict v);
std::optional<Verdict> verdictFromText(const QString &text);

struct CaseRecord {
    qint64 id = 0;     // 0 until saved
    QDateTime saved;   // UTC, to the millisecond
    QDateTime changed; // UTC, to the millisecond
    // moment: the moment of the cast (qgsj), China time; options: the school it was read by; byHand: which of
    // the day stem and the builds were picked by hand. Its category and sex stay unset: the case keeps them below.
    CastInput cast;
    QString question;
    std::optional<Sex> sex;
    QString notes;
    QString outcome;
    Verdict verdict = Verdict::Open;
    QStringList tags;                 // each trimmed, non-empty, without blanks or separators
    std::optional<Category> category; // what the question is about (占类)
    std::optional<QDate> firstYingqi; // the first timing candidate (应期) of the chart
    std::optional<QDate> outcomeDate; // the day the outcome came about, when it was told

    friend bool operator==(const CaseRecord &, const CaseRecord &) = default;
};

// Six lines stand: every line is "1" or "0". Only such casts are journal cases.
bool linesStand(const CastInput &cast);

// Why a case cannot be kept or read: a kind, and the field and value concerned.
enum class CaseFault : std::uint8_t {
    LinesMissing,        // a line is neither 1 nor 0
    DayStemRange,        // not 甲..癸
    MonthBuildRange,     // not 子..亥
    DayBuildRange,       // not 子..亥
    MarkLineWithoutMark, // a line given without a mark
    MarkLineRange,       // the marked line is not 1..6
    MarkUnknown,         // neither 用神 nor 伏神
    MomentInvalid,       // not a date and time of day
    MomentOutOfRange,    // outside FirstChartMoment..LastChartMoment; value: the moment
    TimesInvalid,        // saved or changed time missing
    SexUnknown,          // value: the sex given
    VerdictUnknown,
    TagEmpty,
    TagWithSeparator, // value: the tag
    TagDuplicate,     // value: the tag
    // A case in an exported file (field names the JSON key).
    NotAnObject,
    FieldMissing,
    FieldNotText,
    FieldNotTextList,
    BadTime,    // value: the text
    BadLineKey, // lines or moving: not six 0 or 1; value: the text
    BadMomentText,
    BadName, // a stem or branch that is not one; value: the text
    BadMark,
    BadVerdict, // value: the text
    BadDate,    // value: the text
    BadSchool,  // "school" names no school or an option it cannot take
};

struct CaseProblem {
    CaseFault fault = CaseFault::LinesMissing;
    QString field;
    QString value;
    friend bool operator==(const CaseProblem &, const CaseProblem &) = default;
};

// Why a cast or case cannot be kept, or nothing when it can.
std::optional<CaseProblem> checkCast(const CastInput &cast);
std::optional<CaseProblem> checkCase(const CaseRecord &c);

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
// Whether that minute falls in the years 1 to 9999, where the case's id is
// defined: a saved time read from a damaged or crafted file may not.
bool datedInRange(const CaseRecord &c);

// The case's cast with its 占类 and sex, which the journal keeps beside it: what its chart reads.
CastInput readingCast(const CaseRecord &c);

// Every text of the case with each surrogate that is not half of a pair
// replaced by U+FFFD, as the export file can carry it: a case keeps the same
// question through an export and an import.
void makeWellFormed(CaseRecord &c);

// The words a case's category and sex are shown and exported with ("求财", "男"); empty for none.
QString categoryText(const std::optional<Category> &c);
QString sexText(const std::optional<Sex> &s);

// Which of the cast's day stem and builds were picked by hand, for a case kept
// without that record: a part that stands is taken as picked by hand when the
// case has no moment or the moment (its day turning at midnight) gives another.
DayParts inferredByHand(const CastInput &cast);

// The chart of a case: its cast read with the case's category and sex, which
// pick the use god. Worked out on each call: whoever needs it more than once keeps it.
Chart caseChart(const CaseRecord &c);

// The first 应期 candidate of the case's chart: what its firstYingqi holds
// when it is saved from the sheet.
std::optional<QDate> firstYingqiOf(const CaseRecord &c);

// Whether two cases are the same case of the journal, their saved time apart:
// the same cast (which parts were picked by hand aside: a file may not tell),
// question and sex.
bool sameCase(const CaseRecord &a, const CaseRecord &b);

// The case with an outcome recorded: the verdict, the day it came about (when
// known), and the note on a line of its own after the outcome written so far.
CaseRecord withOutcome(CaseRecord c, Verdict verdict, const std::optional<QDate> &day, const QString &note);

// The follow-up of a case: what is written after it was saved (the columns the journal rewrites for it).
bool sameFollowUp(const CaseRecord &a, const CaseRecord &b);

// The chart of a cast as JSON text, added to exported cases under "chart".
using ChartJson = std::function<std::string(const CastInput &)>;
// Told how far a long import has come (total 0 while not known); false stops it.
using ImportProgress = std::function<bool(qint64 done, qint64 total)>;

} // namespace lotgrid
