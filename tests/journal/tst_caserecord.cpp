// A case as a value: the hexagram names it is shown and searched by (held to
// the classical "乾之姤" pairs, not to the table), its JSON form both ways and
// every reason an imported case is refused, tags as typed, the text the
// full-text index stores, and the China-time moment of a saved time.
#include "journal/caserecord.h"
#include "journal/journal.h"

#include <QJsonArray>
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
    c.sex = u"女"_s;
    c.notes = u"世爻持财，动而化进。"_s;
    c.outcome = u"如期成行"_s;
    c.verdict = Verdict::Fulfilled;
    c.tags = {u"出行"_s, u"work"_s};
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
    QVERIFY(!castProblem(missing).isEmpty());
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
    other.sex = u"男"_s;
    other.verdict = Verdict::Failed;
    QTest::newRow("first stem and branch, use god on line 1") << other;
}

void TestCaseRecord::jsonRoundTrip()
{
    QFETCH(CaseRecord, record);
    record.id = 42;
    const QJsonObject o = caseToJson(record, [](const CastInput &c) { return QJsonObject{{u"key"_s, lineKey(c)}}; });
    QCOMPARE(o.value(u"chart"_s).toObject().value(u"key"_s).toString(), lineKey(record.cast));
    QString problem;
    const std::optional<CaseRecord> back = caseFromJson(o, &problem);
    QVERIFY2(back, qPrintable(problem));
    record.id = 0; // a case read back gets a new id when saved
    QCOMPARE(*back, record);
}

void TestCaseRecord::jsonRefused_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QJsonValue>("value");
    QTest::addColumn<QString>("reason");
    QTest::newRow("lines missing") << u"lines"_s << QJsonValue(QJsonValue::Undefined) << u"缺少字段“lines”"_s;
    QTest::newRow("lines five long") << u"lines"_s << QJsonValue(u"10110"_s) << u"六个 0 或 1"_s;
    QTest::newRow("lines with a 2") << u"lines"_s << QJsonValue(u"102101"_s) << u"六个 0 或 1"_s;
    QTest::newRow("lines a number") << u"lines"_s << QJsonValue(101101) << u"应为文字"_s;
    QTest::newRow("moving with x") << u"moving"_s << QJsonValue(u"00x000"_s) << u"moving"_s;
    QTest::newRow("saved not a time") << u"saved"_s << QJsonValue(u"yesterday"_s) << u"“saved”不是有效的时间"_s;
    QTest::newRow("moment 30 February") << u"moment"_s << QJsonValue(u"2026-02-30 10:00"_s) << u"moment"_s;
    QTest::newRow("moment 24:00") << u"moment"_s << QJsonValue(u"2026-02-03 24:00"_s) << u"moment"_s;
    QTest::newRow("day stem not a stem") << u"dayStem"_s << QJsonValue(u"子"_s) << u"dayStem"_s;
    QTest::newRow("month build two branches") << u"monthBuild"_s << QJsonValue(u"子丑"_s) << u"monthBuild"_s;
    QTest::newRow("mark on line 7") << u"mark"_s << QJsonValue(QJsonObject{{u"kind"_s, u"用神"_s}, {u"line"_s, 7}})
                                    << u"mark"_s;
    QTest::newRow("mark of no kind") << u"mark"_s << QJsonValue(QJsonObject{{u"kind"_s, u"元神"_s}, {u"line"_s, 2}})
                                     << u"mark"_s;
    QTest::newRow("verdict unknown") << u"verdict"_s << QJsonValue(u"maybe"_s) << u"应验"_s;
    QTest::newRow("sex unknown") << u"sex"_s << QJsonValue(u"M"_s) << u"性别"_s;
    QTest::newRow("tags a string") << u"tags"_s << QJsonValue(u"a b"_s) << u"tags"_s;
    QTest::newRow("tag with a blank") << u"tags"_s << QJsonValue(QJsonArray{u"a b"_s}) << u"标签"_s;
    QTest::newRow("question missing") << u"question"_s << QJsonValue(QJsonValue::Undefined) << u"question"_s;
}

void TestCaseRecord::jsonRefused()
{
    QFETCH(QString, field);
    QFETCH(QJsonValue, value);
    QFETCH(QString, reason);
    QJsonObject o = caseToJson(fullCase());
    if (value.isUndefined())
        o.remove(field);
    else
        o.insert(field, value);
    QString problem;
    QVERIFY(!caseFromJson(o, &problem));
    QVERIFY2(problem.contains(reason), qPrintable(problem));
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
