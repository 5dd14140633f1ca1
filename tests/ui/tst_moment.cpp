// The moment of the cast on the main window: its four pillars, 按时间排盘 and
// its automatic fill, the 子初换日 option, the commands that set the moment,
// and the moments themselves: one China Standard Time reading whatever the
// local time zone, its daylight saving included.
// Pillars are worked by hand in the comments (戊午 on 2000-01-01 counts the
// days; 五虎遁 gives the month stems, 五鼠遁 the hour stems).
#include "casting/autocast.h"
#include "common/mainwindowfixture.h"

#include <QAction>
#include <QDateTimeEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <ctime>

using namespace lotgrid;
using namespace Qt::StringLiterals;

namespace {

// 2014-10-24 09:05: 5410 days after 2000-01-01 → 戊辰; after 寒露 in a 甲午 year → 甲戌;
// 巳 hour of a 戊 day → 丁巳.
const QDateTime Clock = chinaTime(QDate(2014, 10, 24), QTime(9, 5));

struct Window {
    QTemporaryDir dir;
    std::unique_ptr<MainWindow> w;
    QDateTime now = Clock;

    Window() { open(); }
    void open()
    {
        Environment env = testEnvironment();
        env.now = [this] { return now; };
        env.ask = [](QWidget *, const QString &, const QString &) { return true; };
        env.settingsFile = dir.filePath(u"lotgrid.conf"_s);
        w = makeMainWindow(env);
    }
    ChartSheet &s() { return w->sheet(); }
    QAction *action(const QString &name) { return w->findChild<QAction *>(name); }
    void setMoment(const QDateTime &m) { w->setCastMoment(m); }
};

// Runs the process in another local time zone.
void setZone(const QByteArray &zone)
{
    qputenv("TZ", zone);
    tzset();
}

} // namespace

class TestMoment : public QObject
{
    Q_OBJECT
private slots:
    void cleanup()
    {
        qunsetenv("TZ");
        tzset();
    }

    void startsAtNowWithItsPillars()
    {
        Window win;
        QCOMPARE(win.w->castMoment(), Clock);
        QCOMPARE(win.s().qgsj->text(), u"2014-10-24 09:05"_s);
        QCOMPARE(win.s().Lsizhu->text(), u"甲午年 甲戌月 戊辰日 丁巳时"_s);
        const auto reading = [](const QDateTime &t) { return t.toString(u"yyyy-MM-dd HH:mm"_s); };
        QCOMPARE(reading(win.s().qgsj->minimumDateTime()), u"1900-01-31 00:00"_s);
        QCOMPARE(reading(win.s().qgsj->maximumDateTime()), u"2100-12-31 23:59"_s);
        QStringList captions;
        for (const QLabel *l : win.s().findChildren<QLabel *>())
            captions << l->text();
        QVERIFY(captions.contains(u"起卦时间(北京时间)："_s));
        // Nothing is filled in until asked.
        QVERIFY(win.s().Lyuejian->text().isEmpty() && win.s().Lrijian->text().isEmpty());
    }

    // The pillars of the moment under the 子初换日 option; the engine holds every
    // other moment to the rules.
    void pillarsOfTheMoment_data()
    {
        QTest::addColumn<QDateTime>("moment");
        QTest::addColumn<bool>("zi23");
        QTest::addColumn<QString>("pillars");
        // 23:30 is the 子 hour of the next day (己巳 → 甲子); the day turns only with the option.
        QTest::newRow("23:30, day at midnight")
            << chinaTime(QDate(2014, 10, 24), QTime(23, 30)) << false << u"甲午年 甲戌月 戊辰日 甲子时"_s;
        QTest::newRow("23:30, day at 23:00")
            << chinaTime(QDate(2014, 10, 24), QTime(23, 30)) << true << u"甲午年 甲戌月 己巳日 甲子时"_s;
    }
    void pillarsOfTheMoment()
    {
        QFETCH(QDateTime, moment);
        QFETCH(bool, zi23);
        QFETCH(QString, pillars);
        Window win;
        win.action(u"zichu"_s)->setChecked(zi23);
        win.setMoment(moment);
        QCOMPARE(win.s().Lsizhu->text(), pillars);
        QCOMPARE(win.w->document().cast().dayBoundary, zi23 ? DayBoundary::Zi23 : DayBoundary::Midnight);
    }

    // 按时间排盘 chooses the day stem, the month and the day build as the user
    // would, and everything they drive follows; a choice by hand afterwards stands.
    void fillByButtonThenByHand()
    {
        Window win;
        ChartSheet &s = win.s();
        setLines(s, u"111111"_s);
        s.ansj->click();
        QVERIFY(s.dayStems[4]->isChecked()); // 戊
        QCOMPARE(s.liushen(1)->text(), u"勾陈"_s);
        QCOMPARE(s.Lyuejian->text(), u"月建：戌"_s);
        QCOMPARE(s.Lrijian->text(), u"日建：辰"_s);
        QCOMPARE(s.Lxunkong->text(), u"旬空：戌亥"_s); // 戊辰 lies in the 甲子 decade
        // 乾为天 carries 戌 on line 6: void.
        QCOMPARE(s.Lkong(6)->text(), u"空"_s);
        QVERIFY(s.Lkong(1)->text().isEmpty());

        win.action(u"zi"_s)->trigger();
        s.dayStems[1]->click(); // 乙
        QCOMPARE(s.Lyuejian->text(), u"月建：子"_s);
        QCOMPARE(s.liushen(1)->text(), u"青龙"_s);
        // 乙 with 辰 names no day: no void branches.
        QVERIFY(s.Lxunkong->text().isEmpty());
        QVERIFY(s.Lkong(6)->text().isEmpty());
        // A new moment leaves the choices by hand alone, flagged; the day build follows it (己酉).
        win.setMoment(chinaTime(QDate(2026, 2, 4), QTime(4, 5)));
        QCOMPARE(s.Lyuejian->text(), u"月建：子"_s);
        QVERIFY(s.dayStems[1]->isChecked());
        QCOMPARE(s.Lrijian->text(), u"日建：酉"_s);
        QCOMPARE(s.Lsizhu->text(), u"丙午年 庚寅月 己酉日 丙寅时（日干、月建为手动）"_s);
        QVERIFY(!s.Lyuejian->toolTip().isEmpty() && s.Lrijian->toolTip().isEmpty());
        // 按时间排盘 returns them to the moment.
        s.ansj->click();
        QCOMPARE(s.Lyuejian->text(), u"月建：寅"_s);
        QCOMPARE(s.Lsizhu->text(), u"丙午年 庚寅月 己酉日 丙寅时"_s);
    }

    // With 自动 ticked every change of the moment fills in again, and the tick is remembered.
    void automaticFillFollowsTheMoment()
    {
        Window win;
        ChartSheet &s = win.s();
        s.zdsj->setChecked(true);
        QCOMPARE(s.Lrijian->text(), u"日建：辰"_s); // ticking fills at once
        win.setMoment(chinaTime(QDate(2026, 2, 4), QTime(3, 59)));
        QCOMPARE(s.Lyuejian->text(), u"月建：丑"_s);
        QVERIFY(s.dayStems[5]->isChecked()); // 己
        win.setMoment(chinaTime(QDate(2026, 2, 4), QTime(4, 5)));
        QCOMPARE(s.Lyuejian->text(), u"月建：寅"_s);
        // 23:30 with the day turning at 23:00: 己巳 → 日建 巳, stem 己.
        win.action(u"zichu"_s)->setChecked(true);
        win.setMoment(chinaTime(QDate(2014, 10, 24), QTime(23, 30)));
        QCOMPARE(s.Lrijian->text(), u"日建：巳"_s);

        win.open(); // a second run reads both options back
        QVERIFY(win.s().zdsj->isChecked());
        QVERIFY(win.action(u"zichu"_s)->isChecked());
        QCOMPARE(win.s().Lrijian->text(), u"日建：辰"_s); // filled from the start-up moment
    }

    // New and Clear data (answered Yes) put the clock back in the field; the automatic cast sets it too.
    void commandsSetTheMoment_data()
    {
        QTest::addColumn<QString>("command");
        QTest::newRow("New") << u"news"_s;
        QTest::newRow("Clear data") << u"qc"_s;
        QTest::newRow("automatic cast") << u"cast"_s;
    }
    void commandsSetTheMoment()
    {
        QFETCH(QString, command);
        Window win;
        win.setMoment(chinaTime(QDate(1999, 5, 5), QTime(5, 5)));
        win.now = chinaTime(QDate(2026, 12, 7), QTime(8, 30));
        if (command == u"cast")
            emit win.w->autoCast().linesCast();
        else
            win.action(command)->trigger();
        QCOMPARE(win.w->castMoment(), win.now);
        // 2026-12-07 08:30: 9837 days after 2000-01-01 → 乙卯; 大雪 falls at 10:52, so still 己亥.
        QCOMPARE(win.s().Lsizhu->text(), u"丙午年 己亥月 乙卯日 庚辰时"_s);
    }

    // The cast on screen carries the moment, and loading it puts the moment back.
    void loadedCastKeepsItsMomentAndChoices()
    {
        Window win;
        ChartSheet &s = win.s();
        s.zdsj->setChecked(true);
        setLines(s, u"101001"_s);
        win.action(u"hai"_s)->trigger(); // a month build chosen by hand, apart from the moment
        const CastInput saved = win.w->document().cast();
        QCOMPARE(saved.moment, (Moment{{2014, 10, 24}, 9, 5}));
        win.now = chinaTime(QDate(2026, 12, 7), QTime(8, 30));
        win.w->loadCast(saved);
        QCOMPARE(win.w->document().cast(), saved);
        QCOMPARE(s.Lyuejian->text(), u"月建：亥"_s);
    }

    // Moments: the clock's instant is read in China Standard Time in every zone.
    // 2014-10-24 01:05 UTC is 09:05 in Beijing, the 巳 hour of 戊辰.
    void momentsOneInstantEverywhere_data()
    {
        QTest::addColumn<QByteArray>("zone");
        for (const char *zone : {"Asia/Shanghai", "America/New_York", "Europe/London", "UTC"})
            QTest::newRow(zone) << QByteArray(zone);
    }
    void momentsOneInstantEverywhere()
    {
        QFETCH(QByteArray, zone);
        setZone(zone);
        QTest::failOnWarning(QRegularExpression(u"Ignoring offset"_s));
        Window win;
        win.now = QDateTime(QDate(2014, 10, 24), QTime(1, 5), Qt::UTC);
        win.w->news_Click();
        QCOMPARE(win.s().qgsj->text(), u"2014-10-24 09:05"_s);
        QCOMPARE(win.s().Lsizhu->text(), u"甲午年 甲戌月 戊辰日 丁巳时"_s);
        QCOMPARE(win.w->castMoment(), win.now);
    }

    // Moments in a local daylight-saving gap are typed and reopened as they are, never as another.
    void momentsInALocalGap_data()
    {
        QTest::addColumn<QByteArray>("zone");
        QTest::addColumn<QDateTime>("moment");
        QTest::newRow("1988-04-17 02:30 in Shanghai")
            << QByteArray("Asia/Shanghai") << QDateTime(QDate(1988, 4, 17), QTime(2, 30), Qt::UTC);
        QTest::newRow("2026-03-08 02:30 in New York")
            << QByteArray("America/New_York") << QDateTime(QDate(2026, 3, 8), QTime(2, 30), Qt::UTC);
    }
    void momentsInALocalGap()
    {
        QFETCH(QByteArray, zone);
        QFETCH(QDateTime, moment); // the China Standard Time reading, on the field's UTC clock
        setZone(zone);
        const Moment own = ChartSheet::momentOf(moment);
        Window win;
        win.s().qgsj->setDateTime(moment); // typed
        QCOMPARE(win.w->document().cast().moment, own);
        QCOMPARE(win.s().qgsj->text(), moment.toString(u"yyyy-MM-dd HH:mm"_s));

        CastInput kept = win.w->document().cast();
        kept.lines = {CastLine{u'1'}, {u'0'}, {u'1'}, {u'1'}, {u'0'}, {u'1'}};
        win.w->loadCast(kept); // reopened
        QCOMPARE(win.w->document().cast().moment, own);
        QCOMPARE(win.s().qgsj->text(), moment.toString(u"yyyy-MM-dd HH:mm"_s));
        QVERIFY(!win.s().Lsizhu->text().isEmpty());
    }
};

QTEST_MAIN(TestMoment)
#include "tst_moment.moc"
