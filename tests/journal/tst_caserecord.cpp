// A case as a value: the hexagram names it is shown and searched by (held to
// the classical "乾之姤" pairs, not to the table), its JSON form both ways and
// every reason an imported case is refused, the span of moments a case may
// have, lone surrogates in a file, tags as typed, the text the full-text index
// stores, and the China-time moment of a saved time.
#include "common/caserecords.h"
#include "journal/casejson.h"
#include "journal/journal.h"

#include <QTest>

using namespace lotgrid;
using namespace Qt::StringLiterals;

namespace {

CastInput cast(const QString &lines, const QString &moving)
{
    CastInput c;
    for (int n = 1; n <= 6; ++n)
        c.line(n) = {lines.at(n - 1).unicode(), moving.at(n - 1) == u'1'};
    return c;
}

CaseRecord fullCase()
{
    CaseRecord c;
    c.saved = QDateTime(QDate(2026, 3, 4), QTime(1, 2, 3, 456), Qt::UTC);
    c.changed = QDateTime(QDate(2026, 5, 6), QTime(7, 8, 9, 10), Qt::UTC);
    c.cast = cast(u"111101"_s, u"100100"_s);
    c.cast.dayStem = 9;
    c.cast.monthBuild = Branch::Hai;
    c.cast.dayBuild = Branch::Zi;
    c.cast.mark = {MarkKind::Hidden, 6};
    c.cast.moment = Moment{{2026, 3, 4}, 9, 2};
    c.question = u"下月出行顺利否？\n\"引号\""_s;
    c.sex = Sex::Female;
    c.notes = u"世爻持财，动而化进。"_s;
    c.outcome = u"如期成行"_s;
    c.verdict = Verdict::Fulfilled;
    c.tags = {u"出行"_s, u"work"_s};
    c.category = Category::Travel;
    c.firstYingqi = QDate(2026, 4, 1);
    c.outcomeDate = QDate(2026, 4, 3);
    return c;
}

} // namespace

class TestCaseRecord : public QObject
{
    Q_OBJECT
private slots:
    void hexagramNames_data();
    void hexagramNames();
    void jsonRoundTrip_data();
    void jsonRoundTrip();
    void jsonRefused_data();
    void jsonRefused();
    void chartRange_data();
    void chartRange();
    void loneSurrogates_data();
    void loneSurrogates();
    void piecesOfAFile();
    void chartsPassedOver_data();
    void chartsPassedOver();
    void tags_data();
    void tags();
    void searchable_data();
    void searchable();
    void moments_data();
    void moments();
    void chinaClock_data();
    void chinaClock();
};

void TestCaseRecord::hexagramNames_data()
{
    QTest::addColumn<QString>("lines");
    QTest::addColumn<QString>("moving");
    QTest::addColumn<QString>("original");
    QTest::addColumn<QString>("changed");
    // The classical "A 之 B" pairs: the first line of 乾 moving gives 姤, the top of 坤 gives 剥.
    QTest::newRow("乾之姤") << u"111111"_s << u"100000"_s << u"乾为天"_s << u"天风姤"_s;
    QTest::newRow("坤之剥") << u"000000"_s << u"000001"_s << u"坤为地"_s << u"山地剥"_s;
    QTest::newRow("大有之比, all moving") << u"111101"_s << u"111111"_s << u"火天大有"_s << u"水地比"_s;
    QTest::newRow("既济, nothing moving") << u"101010"_s << u"000000"_s << u"水火既济"_s << QString();
}

void TestCaseRecord::hexagramNames()
{
    QFETCH(QString, lines);
    QFETCH(QString, moving);
    QFETCH(QString, original);
    QFETCH(QString, changed);
    const CastInput c = cast(lines, moving);
    QCOMPARE(originalName(c), original);
    QCOMPARE(changedName(c), changed);
    QCOMPARE(hexagramsText(c), changed.isEmpty() ? original : original + u" → "_s + changed);
    CastInput missing = c;
    missing.line(4).value = 0;
    QVERIFY(!linesStand(missing));
    QCOMPARE(originalName(missing), QString());
    QCOMPARE(checkCast(missing)->fault, CaseFault::LinesMissing);
}

void TestCaseRecord::jsonRoundTrip_data()
{
    QTest::addColumn<CaseRecord>("record");
    QTest::newRow("every field") << fullCase();
    CaseRecord bare;
    bare.saved = bare.changed = QDateTime(QDate(1999, 12, 31), QTime(23, 59, 59, 999), Qt::UTC);
    bare.cast = cast(u"000000"_s, u"000000"_s);
    QTest::newRow("nothing optional") << bare;
    CaseRecord other = fullCase();
    other.cast.dayStem = 0;
    other.cast.monthBuild = Branch::Zi;
    other.cast.dayBuild = Branch::Hai;
    other.cast.mark = {MarkKind::UseGod, 1};
    other.cast.moment = Moment{{1900, 1, 31}, 0, 0};
    other.sex = Sex::Male;
    other.verdict = Verdict::Failed;
    QTest::newRow("first stem and branch, use god on line 1") << other;
}

void TestCaseRecord::jsonRoundTrip()
{
    QFETCH(CaseRecord, record);
    record.id = 42;
    const Json o
        = caseToJson(record, [](const CastInput &c) { return "{\"key\": \"" + lineKey(c).toStdString() + "\"}"; });
    QCOMPARE(QString::fromStdString(o["chart"]["key"].get<std::string>()), lineKey(record.cast));
    CaseProblem problem;
    const std::optional<CaseRecord> back = caseFromJson(Json::parse(o.dump()), &problem);
    QVERIFY2(back, qPrintable(problem.field));
    record.id = 0; // a case read back gets a new id when saved
    QCOMPARE(*back, record);
}

void TestCaseRecord::jsonRefused_data()
{
    // The value as JSON text; empty: the field is left out.
    QTest::addColumn<QString>("field");
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<CaseFault>("fault");
    QTest::addColumn<QString>("named"); // the field or value the problem names
    QTest::newRow("lines missing") << u"lines"_s << QByteArray() << CaseFault::FieldMissing << u"lines"_s;
    QTest::newRow("lines five long") << u"lines"_s << QByteArray(R"("10110")") << CaseFault::BadLineKey << u"10110"_s;
    QTest::newRow("lines with a 2") << u"lines"_s << QByteArray(R"("102101")") << CaseFault::BadLineKey << u"102101"_s;
    QTest::newRow("lines a number") << u"lines"_s << QByteArray("101101") << CaseFault::FieldNotText << u"lines"_s;
    QTest::newRow("moving with x") << u"moving"_s << QByteArray(R"("00x000")") << CaseFault::BadLineKey << u"moving"_s;
    QTest::newRow("saved not a time") << u"saved"_s << QByteArray(R"("yesterday")") << CaseFault::BadTime << u"saved"_s;
    QTest::newRow("moment 30 February") << u"moment"_s << QByteArray(R"("2026-02-30 10:00")")
                                        << CaseFault::BadMomentText << u"moment"_s;
    QTest::newRow("moment 24:00") << u"moment"_s << QByteArray(R"("2026-02-03 24:00")") << CaseFault::BadMomentText
                                  << u"2026-02-03 24:00"_s;
    QTest::newRow("moment 0000-01-01") << u"moment"_s << QByteArray(R"("0000-01-01 00:00")")
                                       << CaseFault::MomentOutOfRange << u"0000-01-01 00:00"_s;
    QTest::newRow("moment 1800-06-01") << u"moment"_s << QByteArray(R"("1800-06-01 12:00")")
                                       << CaseFault::MomentOutOfRange << u"1800-06-01 12:00"_s;
    QTest::newRow("moment 9999-12-31") << u"moment"_s << QByteArray(R"("9999-12-31 23:59")")
                                       << CaseFault::MomentOutOfRange << u"9999-12-31 23:59"_s;
    QTest::newRow("day stem not a stem") << u"dayStem"_s << QByteArray(R"("子")") << CaseFault::BadName << u"子"_s;
    QTest::newRow("month build two branches")
        << u"monthBuild"_s << QByteArray(R"("子丑")") << CaseFault::BadName << u"monthBuild"_s;
    QTest::newRow("mark on line 7") << u"mark"_s << QByteArray(R"({"kind": "用神", "line": 7})") << CaseFault::BadMark
                                    << u"mark"_s;
    QTest::newRow("mark on line 2.5") << u"mark"_s << QByteArray(R"({"kind": "用神", "line": 2.5})")
                                      << CaseFault::BadMark << u"mark"_s;
    QTest::newRow("mark of no kind") << u"mark"_s << QByteArray(R"({"kind": "元神", "line": 2})") << CaseFault::BadMark
                                     << u"mark"_s;
    QTest::newRow("verdict unknown") << u"verdict"_s << QByteArray(R"("maybe")") << CaseFault::BadVerdict << u"maybe"_s;
    QTest::newRow("sex unknown") << u"sex"_s << QByteArray(R"("M")") << CaseFault::SexUnknown << u"M"_s;
    QTest::newRow("tags a string") << u"tags"_s << QByteArray(R"("a b")") << CaseFault::FieldNotTextList << u"tags"_s;
    QTest::newRow("tag with a blank") << u"tags"_s << QByteArray(R"(["a b"])") << CaseFault::TagWithSeparator
                                      << u"a b"_s;
    QTest::newRow("tag twice") << u"tags"_s << QByteArray(R"(["a", "a"])") << CaseFault::TagDuplicate << u"a"_s;
    QTest::newRow("tag empty") << u"tags"_s << QByteArray(R"(["a", ""])") << CaseFault::TagEmpty << QString();
    QTest::newRow("question missing") << u"question"_s << QByteArray() << CaseFault::FieldMissing << u"question"_s;
    QTest::newRow("category a number") << u"category"_s << QByteArray("5") << CaseFault::FieldNotText << u"category"_s;
    QTest::newRow("first yingqi 13th month")
        << u"firstYingqi"_s << QByteArray(R"("2026-13-01")") << CaseFault::BadDate << u"2026-13-01"_s;
    QTest::newRow("first yingqi with a time")
        << u"firstYingqi"_s << QByteArray(R"("2026-04-01 08:00")") << CaseFault::BadDate << u"firstYingqi"_s;
}

void TestCaseRecord::jsonRefused()
{
    QFETCH(QString, field);
    QFETCH(QByteArray, value);
    QFETCH(CaseFault, fault);
    QFETCH(QString, named);
    Json o = caseToJson(fullCase());
    if (value.isEmpty())
        o.erase(field.toStdString());
    else
        o[field.toStdString()] = Json::parse(value.toStdString());
    CaseProblem problem;
    QVERIFY(!caseFromJson(o, &problem));
    QCOMPARE(problem.fault, fault);
    QVERIFY2(named.isEmpty() || problem.field == named || problem.value == named,
             qPrintable(problem.field + u" / "_s + problem.value));
}

void TestCaseRecord::chartRange_data()
{
    // The span of the lunar calendar the charts are drawn from, China Standard Time.
    QTest::addColumn<QString>("moment");
    QTest::addColumn<bool>("kept");
    QTest::newRow("a minute before the first") << u"1900-01-30 23:59"_s << false;
    QTest::newRow("the first") << u"1900-01-31 00:00"_s << true;
    QTest::newRow("the last") << u"2100-12-31 23:59"_s << true;
    QTest::newRow("a minute after the last") << u"2101-01-01 00:00"_s << false;
}

void TestCaseRecord::chartRange()
{
    QFETCH(QString, moment);
    QFETCH(bool, kept);
    CaseRecord c = fullCase();
    c.cast.moment = momentFromText(moment);
    QVERIFY(c.cast.moment);
    QCOMPARE(!checkCase(c), kept);
    CaseProblem problem;
    const std::optional<CaseRecord> back = caseFromJson(caseToJson(c), &problem);
    QCOMPARE(back.has_value(), kept);
    if (back)
        QCOMPARE(back->cast.moment, c.cast.moment); // never another moment in its place
    else
        QCOMPARE(problem.fault, CaseFault::MomentOutOfRange);
}

void TestCaseRecord::loneSurrogates_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("read"); // the question as read, U+FFFD for each lone half
    QTest::newRow("high half before a blank") << QByteArray(R"(lone \ud800 surrogate)") << u"lone \uFFFD surrogate"_s;
    QTest::newRow("low half alone") << QByteArray(R"(a\uDC00b)") << u"a\uFFFDb"_s;
    QTest::newRow("high half at the end") << QByteArray(R"(end\ud83d)") << u"end\uFFFD"_s;
    QTest::newRow("two high halves, then a low one") << QByteArray(R"(\ud83d\ud83d\ude00)") << u"\uFFFD😀"_s;
    QTest::newRow("a pair") << QByteArray(R"(\ud83d\ude00!)") << u"😀!"_s;
    QTest::newRow("an escaped backslash, then u") << QByteArray(R"(\\ud800)") << u"\\ud800"_s;
}

void TestCaseRecord::loneSurrogates()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, read);
    CaseRecord c = fullCase();
    c.question = u"QUESTION"_s;
    QList<CaseRecord> cases{c};
    const QByteArray file = exportDocument(cases, c.saved).replace("QUESTION", text);
    JournalFailure failure;
    const std::optional<QList<CaseRecord>> back = casesFromExport(file, failure);
    QVERIFY2(back, qPrintable(journalErrorName(failure.kind) + u' ' + failure.detail));
    QCOMPARE(back->front().question, read);
    // Written again and read back, it stays as it is.
    const QByteArray again = exportDocument(*back, c.saved);
    QCOMPARE(casesFromExport(again, failure)->front().question, read);
}

void TestCaseRecord::piecesOfAFile()
{
    // The import reads its file a mebibyte at a time: an escape or a character
    // cut by a piece's end reads as it would whole, wherever the cut falls.
    const QByteArray text = R"(é\ud83d\ude00\ud800😀\\ud800\"\u4e2d)";
    const QString read = u"é😀\uFFFD😀\\ud800\"中"_s;
    CaseRecord c = fullCase();
    c.question = u"QUESTION"_s;
    const QByteArray file = exportDocument({c}, c.saved);
    const qsizetype at = file.indexOf("QUESTION");
    constexpr qsizetype Piece = 1 << 20;
    for (qsizetype cut = 0; cut <= text.size(); ++cut) {
        const QByteArray padding(Piece - at - cut, 'p');
        JournalFailure failure;
        const auto back = casesFromExport(QByteArray(file).replace("QUESTION", padding + text), failure);
        QVERIFY2(back, qPrintable(u"cut %1: "_s.arg(cut) + journalErrorName(failure.kind) + u' ' + failure.detail));
        QCOMPARE(back->front().question, QString::fromLatin1(padding) + read);
    }
}

void TestCaseRecord::chartsPassedOver_data()
{
    QTest::addColumn<QByteArray>("chart"); // as an export may hold it
    QTest::newRow("brackets and quotes in strings")
        << QByteArray(R"({"a": "}]\"[{", "b": [1, {"c": null}], "d": "\\"})");
    QTest::newRow("a number") << QByteArray("12.5e3");
}

void TestCaseRecord::chartsPassedOver()
{
    // A case's chart is passed over unread, wherever a piece of the file ends in it.
    QFETCH(QByteArray, chart);
    CaseRecord c = fullCase();
    c.question = u"QUESTION"_s;
    const std::string text = chart.toStdString();
    const QByteArray file = exportDocument({c, c}, c.saved, [&text](const CastInput &) { return text; });
    const QByteArray written = QByteArray::fromStdString(Json::parse(text).dump()); // as the export writes it
    const qsizetype at = file.indexOf("QUESTION");
    const qsizetype chartAt = file.indexOf("\"chart\":" + written);
    QVERIFY(chartAt > at);
    for (qsizetype cut = 0; cut <= written.size() + 8; ++cut) {
        const QByteArray padding((1 << 20) - chartAt - cut, 'p');
        JournalFailure failure;
        const auto back = casesFromExport(QByteArray(file).replace("QUESTION", padding), failure);
        QVERIFY2(back, qPrintable(u"cut %1: "_s.arg(cut) + journalErrorName(failure.kind) + u' ' + failure.detail));
        QCOMPARE(back->size(), 2);
        QCOMPARE(back->back().question, QString::fromLatin1(padding));
    }
    // A fault after a chart is told at its place in the file.
    const auto broken = [](QByteArray f) { return f.replace(f.lastIndexOf("QUESTION"), 8, "\"x"); };
    JournalFailure failure, without;
    QVERIFY(!casesFromExport(broken(file), failure));
    QVERIFY(!casesFromExport(broken(QByteArray(file).replace(written, "0")), without));
    QCOMPARE(failure.offset, without.offset + written.size() - 1);
}

void TestCaseRecord::tags_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("tags");
    QTest::newRow("blanks") << u"  求财   出行 "_s << QStringList{u"求财"_s, u"出行"_s};
    QTest::newRow("Chinese separators") << u"求财，出行、婚姻；work"_s
                                        << QStringList{u"求财"_s, u"出行"_s, u"婚姻"_s, u"work"_s};
    QTest::newRow("duplicates") << u"a, a b"_s << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("nothing") << u" ,， "_s << QStringList{};
}

void TestCaseRecord::tags()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, tags);
    QCOMPARE(normalizeTags(typed), tags);
}

void TestCaseRecord::searchable_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("stored");
    QTest::newRow("Chinese") << u"明天出行"_s << u"明 天 出 行"_s;
    QTest::newRow("Latin words") << u"work trip"_s << u"work trip"_s;
    QTest::newRow("mixed with punctuation") << u"3月，求财!"_s << u"3 月 求 财"_s;
    QTest::newRow("beyond the BMP") << u"𠀀字"_s << u"𠀀 字"_s;
    QTest::newRow("punctuation only") << u"，。!?"_s << QString();
}

void TestCaseRecord::searchable()
{
    QFETCH(QString, text);
    QFETCH(QString, stored);
    QCOMPARE(searchableText(text), stored);
}

void TestCaseRecord::moments_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::newRow("2026-12-07 08:30") << u"2026-12-07 08:30"_s << true;
    QTest::newRow("2024-02-29 23:59") << u"2024-02-29 23:59"_s << true;
    QTest::newRow("2023-02-29 12:00") << u"2023-02-29 12:00"_s << false;
    QTest::newRow("2026-12-07 8:30") << u"2026-12-07 8:30"_s << false;
    QTest::newRow("2026-12-07 08:60") << u"2026-12-07 08:60"_s << false;
}

void TestCaseRecord::moments()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    const std::optional<Moment> m = momentFromText(text);
    QCOMPARE(m.has_value(), valid);
    if (m)
        QCOMPARE(momentText(m), text);
}

void TestCaseRecord::chinaClock_data()
{
    QTest::addColumn<QDateTime>("utc");
    QTest::addColumn<QString>("china");
    QTest::newRow("midnight UTC is 08:00")
        << QDateTime(QDate(2026, 1, 1), QTime(0, 0), Qt::UTC) << u"2026-01-01 08:00"_s;
    QTest::newRow("16:30 UTC is the next day")
        << QDateTime(QDate(2025, 12, 31), QTime(16, 30, 59), Qt::UTC) << u"2026-01-01 00:30"_s;
    QTest::newRow("a millisecond before 1970")
        << QDateTime(QDate(1969, 12, 31), QTime(23, 59, 59, 999), Qt::UTC) << u"1970-01-01 07:59"_s;
}

void TestCaseRecord::chinaClock()
{
    QFETCH(QDateTime, utc);
    QFETCH(QString, china);
    QCOMPARE(momentText(chinaMoment(utc)), china);
}

QTEST_GUILESS_MAIN(TestCaseRecord)
#include "tst_caserecord.moc"
