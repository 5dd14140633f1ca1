// The today line in its label: written at once, and again after midnight.
#include "ui/todayline.h"

#include <QLabel>
#include <QTest>
#include <QTimer>

using namespace lotgrid;
using namespace Qt::StringLiterals;

class TestTodayLine : public QObject
{
    Q_OBJECT
private slots:
    void writesTheLineAtOnce()
    {
        QLabel Lnongli;
        TodayLine line(&Lnongli, [] { return QDate(2014, 8, 8); });
        QCOMPARE(Lnongli.text(), u"今天是2014年8月8日   农历:甲午年七月十三  属象:马年  今天是：父亲节 "_s);
    }

    void rewritesAfterMidnight()
    {
        QLabel Lnongli;
        QDate today(2014, 1, 30);
        QDateTime now(today, QTime(23, 59, 0), Qt::UTC);
        TodayLine line(
            &Lnongli, [&] { return today; }, [&] { return now; });
        QCOMPARE(Lnongli.text(), u"今天是2014年1月30日   农历:癸巳年腊月三十  属象:蛇年  今天是：除夕 "_s);

        auto *timer = line.findChild<QTimer *>(u"TimerMidnight"_s);
        QVERIFY(timer);
        QVERIFY(timer->isActive());
        QVERIFY(timer->isSingleShot());
        QCOMPARE(timer->interval(), 61 * 1000); // one minute to midnight, and a second past it

        today = QDate(2014, 1, 31);
        now = QDateTime(today, QTime(0, 0, 1), Qt::UTC);
        line.stepTimerMidnight();
        QCOMPARE(Lnongli.text(), u"今天是2014年1月31日   农历:甲午年正月初一  属象:马年  今天是：春节 "_s);
        QVERIFY(timer->isActive());
        QCOMPARE(timer->interval(), 60 * 60 * 1000); // a day away: checked again within the hour
    }

    void timerFiresOnItsOwn()
    {
        QLabel Lnongli;
        QDate today(2014, 1, 30);
        TodayLine line(
            &Lnongli, [&] { return today; }, [] { return QDateTime(QDate(2014, 1, 30), QTime(23, 59, 59), Qt::UTC); });
        today = QDate(2014, 1, 31);
        QTRY_COMPARE_WITH_TIMEOUT(Lnongli.text().contains(u"春节"_s), true, 5000);
    }

    void msecsToNextCheck_data()
    {
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<int>("msecs");
        QTest::newRow("23:59:00") << QDateTime(QDate(2014, 1, 30), QTime(23, 59), Qt::UTC) << 61000;
        QTest::newRow("23:59:59.999") << QDateTime(QDate(2014, 1, 30), QTime(23, 59, 59, 999), Qt::UTC) << 1001;
        QTest::newRow("00:00:00 waits an hour") << QDateTime(QDate(2014, 1, 30), QTime(0, 0), Qt::UTC) << 3600000;
        QTest::newRow("invalid clock waits an hour") << QDateTime() << 3600000;
    }
    void msecsToNextCheck()
    {
        QFETCH(QDateTime, now);
        QFETCH(int, msecs);
        QCOMPARE(TodayLine::msecsToNextCheck(now), msecs);
    }

    void saysSoWhenTheDateIsUnknown()
    {
        QLabel Lnongli;
        TodayLine line(&Lnongli, [] { return QDate(); });
        QCOMPARE(Lnongli.text(), u"今天是: 日期无效"_s);
        TodayLine outside(&Lnongli, [] { return QDate(2101, 1, 1); });
        QCOMPARE(Lnongli.text(), u"今天是2101年1月1日   农历:超出历表范围  今天是：元旦 "_s);
    }
};

QTEST_MAIN(TestTodayLine)
#include "tst_todayline.moc"
