// The hit rates of a small journal counted by hand: each case's group by the
// rules (乾为天 六冲 and 天地否 六合 from their lists; 自身 and 出行 read the
// world line: 乾为天's 戌土 strong in a 午 month that generates it, weak in a
// 寅 month that overcomes it under a 子 day; 天地否's 卯木 strong by the 子
// day that generates it), the cases a group lists, the 待验 rule, and a
// version-3 file whose cases get their chart's columns when it is opened.
#include "chart/casefacts.h"
#include "common/caserecords.h"
#include "journal/journal.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using namespace lotgrid;
using namespace Qt::StringLiterals;

namespace {

// 乾为天 ("111111") or 天地否 ("000111"), cast on `day` with the given builds, and its follow-up.
CaseRecord caseOf(const QString &lines, QDate day, Branch month, Branch dayBuild, Verdict verdict,
                  const QString &category, const QStringList &tags)
{
    CaseRecord c
        = makeCase(lines, u"000000"_s, category + tags.join(u""_s), Moment{{day.year(), day.month(), day.day()}, 9, 0});
    c.cast.monthBuild = month;
    c.cast.dayBuild = dayBuild;
    c.verdict = verdict;
    c.category = categoryFromText(category.toStdU16String());
    c.tags = tags;
    return c;
}

QString summary(const QList<StatsRow> &rows)
{
    QStringList parts;
    for (const StatsRow &r : rows)
        parts << u"%1 %2/%3"_s.arg(r.label).arg(r.count.hits).arg(r.count.misses);
    return parts.join(u", "_s);
}

} // namespace

class TestCaseStats : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    std::unique_ptr<Journal> m_journal;

private slots:
    void initTestCase()
    {
        m_journal = std::make_unique<Journal>(m_dir.filePath(u"j.sqlite"_s));
        QVERIFY(m_journal->open());
        const Verdict Y = Verdict::Fulfilled, N = Verdict::Failed, O = Verdict::Open;
        const QList<CaseRecord> cases{
            caseOf(u"111111"_s, {2026, 3, 2}, Branch::Wu, Branch::Zi, Y, u"自身"_s, {u"财"_s}),
            caseOf(u"111111"_s, {2026, 3, 9}, Branch::Wu, Branch::Zi, Y, u"自身"_s, {u"财"_s, u"远行"_s}),
            caseOf(u"111111"_s, {2026, 3, 16}, Branch::Yin, Branch::Zi, N, u"自身"_s, {}),
            caseOf(u"000111"_s, {2026, 4, 6}, Branch::Yin, Branch::Zi, N, u"出行"_s, {u"远行"_s}),
            caseOf(u"000111"_s, {2026, 4, 13}, Branch::Wu, Branch::Zi, Y, QString(), {u"50%_x"_s}),
            caseOf(u"101011"_s, {2026, 4, 20}, Branch::Yin, Branch::Zi, O, u"出行"_s, {u"财"_s}),
        };
        for (const CaseRecord &c : cases)
            QVERIFY(m_journal->save(c));
    }

    void rate()
    {
        QVERIFY(!HitCount{}.rate());
        QCOMPARE(*HitCount({2, 1}).rate(), 2.0 / 3.0);
        QCOMPARE(hitCountText({3, 1}), u"应验 3 / 不验 1（75%）"_s);
        const auto overall = overallCount(QSqlDatabase::database(m_journal->connectionName()), nullptr);
        QCOMPARE(*overall, HitCount({3, 2}));
    }

    void groups_data()
    {
        QTest::addColumn<StatsBy>("by");
        QTest::addColumn<QString>("expected");
        QTest::newRow("占类") << StatsBy::Category << u"自身 2/1, 出行 0/1, 未分类 1/0"_s;
        QTest::newRow("标签") << StatsBy::Tag << u"财 2/0, 远行 1/1, 50%_x 1/0"_s;
        QTest::newRow("旺衰") << StatsBy::Strength << u"旺 3/1, 衰 0/1"_s;
        QTest::newRow("卦型") << StatsBy::HexagramGroup << u"六冲 2/1, 六合 1/1"_s;
        QTest::newRow("月份") << StatsBy::Month << u"2026-03 2/1, 2026-04 1/1"_s;
    }

    void groups()
    {
        QFETCH(StatsBy, by);
        QFETCH(QString, expected);
        const QSqlDatabase db = QSqlDatabase::database(m_journal->connectionName());
        const auto rows = statsBy(db, by, nullptr);
        QVERIFY(rows);
        QCOMPARE(summary(*rows), expected);
        // Each group lists its decided cases, as many as it counts.
        for (const StatsRow &r : *rows) {
            CaseFilter filter;
            filter.group = r.group;
            QCOMPARE(m_journal->list(filter, {}, 100)->size(), r.count.decided());
        }
    }

    // 待验: still open, and the first candidate before today (not on it).
    void awaiting()
    {
        const QSqlDatabase db = QSqlDatabase::database(m_journal->connectionName());
        CaseRecord open = m_journal->list({}, {}, 1)->front();
        QCOMPARE(open.verdict, Verdict::Open);
        open.firstYingqi = QDate(2026, 5, 1);
        QVERIFY(m_journal->updateFollowUp(open));
        QCOMPARE(*awaitingCount(db, QDate(2026, 5, 1), nullptr), 0);
        QCOMPARE(*awaitingCount(db, QDate(2026, 5, 2), nullptr), 1);
        open.verdict = Verdict::Failed;
        QVERIFY(m_journal->updateFollowUp(open));
        QCOMPARE(*awaitingCount(db, QDate(2026, 5, 2), nullptr), 0);
    }

    // A file of version 3 gets the chart's columns for its cases, and a first candidate where it had none.
    void fromVersion3()
    {
        const QString path = m_dir.filePath(u"v3.sqlite"_s);
        {
            Journal journal(path);
            QVERIFY(journal.open());
            QVERIFY(journal.save(caseOf(u"111111"_s, {2026, 3, 2}, Branch::Wu, Branch::Zi, Verdict::Open, {}, {})));
            QSqlQuery q(QSqlDatabase::database(journal.connectionName()));
            for (const QString &sql :
                 {u"DROP INDEX cases_by_outcome_code"_s, u"DROP TABLE case_yingqi"_s,
                  u"ALTER TABLE cases DROP COLUMN category_code"_s, u"ALTER TABLE cases DROP COLUMN sex_code"_s,
                  u"ALTER TABLE cases DROP COLUMN by_hand"_s, u"ALTER TABLE cases ADD COLUMN category TEXT"_s,
                  u"ALTER TABLE cases ADD COLUMN sex TEXT NOT NULL DEFAULT ''"_s,
                  u"ALTER TABLE cases DROP COLUMN usegod_strong"_s, u"ALTER TABLE cases DROP COLUMN hexagram_group"_s,
                  u"ALTER TABLE cases DROP COLUMN outcome_date"_s, u"ALTER TABLE cases DROP COLUMN school"_s,
                  u"UPDATE cases SET yingqi_first = NULL"_s, u"PRAGMA user_version = 3"_s})
                QVERIFY2(q.exec(sql), qPrintable(sql));
        }
        Journal journal(path);
        QVERIFY(journal.open());
        QSqlQuery q(QSqlDatabase::database(journal.connectionName()));
        QVERIFY(q.exec(u"SELECT usegod_strong, hexagram_group, yingqi_first FROM cases"_s) && q.next());
        const CaseRecord c = journal.list({}, {}, 1)->front();
        QCOMPARE(q.value(0).toInt(), 1);
        QCOMPARE(q.value(1).toInt(), static_cast<int>(HexagramGroup::SixClash));
        QCOMPARE(q.value(2).toString(), firstYingqiOf(c)->toString(Qt::ISODate));
    }
};

QTEST_GUILESS_MAIN(TestCaseStats)
#include "tst_casestats.moc"
