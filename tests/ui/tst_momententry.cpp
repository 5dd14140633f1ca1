// The moment's zone and place on the window, and entry as practitioners write
// it: 干支, 卦名 and the lines in 6/7/8/9. The expectations come from the
// tz database's rules (New York: EST, UTC−5, in December), the calendar's
// pillars and the hexagrams' trigram images, worked in the comments.
#include "calendar/zones.h"
#include "common/mainwindowfixture.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

using namespace lotgrid;
using namespace Qt::StringLiterals;

namespace {

struct Window {
    QTemporaryDir dir;
    std::unique_ptr<MainWindow> w;

    Window()
    {
        Environment env = testEnvironment();
        env.now = [] { return chinaTime(QDate(2026, 12, 7), QTime(21, 30)); };
        env.settingsFile = dir.filePath(u"lotgrid.conf"_s);
        env.ask = [](QWidget *, const QString &, const QString &) { return true; };
        w = makeMainWindow(env);
    }
    ChartSheet &s() { return w->sheet(); }
    void pick(QComboBox *combo, const QString &text)
    {
        const int i = combo->findText(text, Qt::MatchStartsWith);
        QVERIFY(i >= 0);
        combo->setCurrentIndex(i);
        emit combo->activated(i);
    }
    void enter(QLineEdit *field, const QString &text)
    {
        field->setText(text);
        QTest::keyClick(field, Qt::Key_Return);
    }
    QString lines() { return s().bengua->text() + u' ' + s().biangua->text(); }
};

} // namespace

class TestMomentEntry : public QObject
{
    Q_OBJECT
private slots:
    // 08:30 in New York (EST) is 21:30 in Beijing: 丙午年 庚子月 乙卯日 丁亥时.
    void zoneAndPlace()
    {
        if (!haveZoneDatabase())
            QSKIP("no time zone database in this build");
        Window win;
        win.pick(win.s().shiqu, u"纽约"_s);
        QCOMPARE(win.s().Lqgsj->text(), u"起卦时间(纽约)："_s);
        win.s().qgsj->setDateTime(QDateTime(QDate(2026, 12, 7), QTime(8, 30), Qt::UTC));
        QCOMPARE(win.s().Lsizhu->text(), u"丙午年 庚子月 乙卯日 丁亥时"_s);
        QCOMPARE(win.s().Lshiqu->text(), u"起卦时间：纽约 2026-12-07 08:30 = 北京时间 2026-12-07 21:30"_s);
        // At Ürümqi (87.62°E) the true sun stands 129.5 minutes behind 120°E, 8.4 ahead by the equation
        // of time: 19:29, the 戌 hour; on an 乙 day 乙庚丙作初 gives 丙戌.
        win.pick(win.s().chengshi, u"乌鲁木齐"_s);
        QVERIFY(win.s().Lshiqu->text().contains(u"真太阳时：2026-12-07 19:"_s));
        QCOMPARE(win.s().Lsizhu->text(), u"丙午年 庚子月 乙卯日 丙戌时"_s);
        win.pick(win.s().chengshi, u"不用真太阳时"_s);
        win.pick(win.s().shiqu, u"北京时间"_s);
        QVERIFY(win.s().Lshiqu->isHidden());
    }

    // 大雪 2026 falls at 10:52: at 10:44 the month is 己亥, eight minutes short of 庚子.
    void warningOnTheSheet()
    {
        Window win;
        win.s().qgsj->setDateTime(QDateTime(QDate(2026, 12, 7), QTime(10, 44), Qt::UTC));
        QCOMPARE(win.s().Llinjie->text(), u"临界：起卦在大雪（2026-12-07 10:52）前8分钟，另一侧为庚子月"_s);
        QVERIFY(!win.s().Llinjie->isHidden());
    }

    // 卯月戊寅日 nearest to 2014-08-08: 2014-03-08 (23534 days after 甲子 1949-10-01, 14 mod 60: 戊寅;
    // after 惊蛰 on 03-06: 丁卯 month). The next 戊寅 days, 05-07 and 2015-03-03, fall in 巳 and 寅 months.
    void ganzhiEntry()
    {
        Window win;
        win.enter(win.s().ganzhi, u"卯月 戊寅日"_s);
        auto *dialog = win.w->findChild<QDialog *>(u"GanzhiDialog"_s);
        QVERIFY(dialog);
        auto *list = dialog->findChild<QListWidget *>(u"ganzhiList"_s);
        QVERIFY(list->item(0)->text().startsWith(u"2014-03-08 00:00 — 2014-03-08 23:59  甲午年 丁卯月 戊寅日"_s));
        dialog->accept();
        QCOMPARE(win.s().qgsj->text(), u"2014-03-08 12:00"_s);
        QCOMPARE(win.s().Lrijian->text(), u"日建：寅"_s);

        win.enter(win.s().ganzhi, u"卯月戊寅日"_s);
        dialog = win.w->findChild<QDialog *>(u"GanzhiDialog"_s);
        dialog->findChild<QCheckBox *>(u"budingriqi"_s)->setChecked(true);
        dialog->accept();
        QCOMPARE(win.s().Lsizhu->text(), u"（未记起卦时间）"_s);
        QCOMPARE(win.s().Lyuejian->text(), u"月建：卯"_s);
        QCOMPARE(win.s().Lrijian->text(), u"日建：寅"_s);
        QVERIFY(win.s().dayStems[4]->isChecked()); // 戊

        win.enter(win.s().ganzhi, u"丙午年 癸卯月"_s); // 丙辛之岁寻庚上: the 卯 month is 辛卯
        auto *box = win.w->findChild<QMessageBox *>(u"momentMessage"_s);
        QVERIFY(box && box->text().contains(u"五虎遁"_s));
    }

    // 火山旅: 山 below (001), 火 above (101); lines 2 and 5 move.
    void guaNameAndNotation()
    {
        Window win;
        win.enter(win.s().guaming, u"火山旅 二五爻动"_s);
        QCOMPARE(win.lines(), u"火山旅 离宫 天风姤 乾宫"_s); // 887787 → 877777

        win.w->findChild<QAction *>(u"news"_s)->trigger();
        win.s().Text(1)->setFocus();
        QTest::keyClicks(win.s().Text(1), u"9"_s);
        QCOMPARE(win.s().Text(1)->text(), u"1"_s);
        QVERIFY(win.s().co(1)->isChecked());
        win.s().Text(1)->setText(u"787896"_s); // pasted: 101010 → 101001
        QCOMPARE(win.lines(), u"水火既济 坎宫 山火贲 艮宫"_s);
    }
};

QTEST_MAIN(TestMomentEntry)
#include "tst_momententry.moc"
