// The chart steps on a real main window: every hexagram with each single
// moving line, charted by the instant pass and held to the palace and najia
// rules (not to the constant table); what a step does when its lookup misses;
// the timers' names and periods.
#include "chart/rules.h"
#include "common/mainwindowfixture.h"
#include "qtcore/textconv.h"
#include "sheet/chartsteps.h"

#include <QTest>
#include <QTimer>

using namespace lotgrid;
using namespace Qt::StringLiterals;

namespace {

QString flip(QString key, int line)
{
    key[line - 1] = key[line - 1] == u'1' ? u'0' : u'1';
    return key;
}

struct Expected {
    QString text;
    QStringList marks;    // 世/应 of lines 1..6
    QStringList branches; // branch + element of lines 1..6
    QList<Element> elements;
};

Expected byRules(const QString &key)
{
    const std::u16string_view k = u16(key);
    const auto lower = *rules::trigramOf(k.substr(0, 3));
    const auto upper = *rules::trigramOf(k.substr(3, 3));
    const auto place = *rules::palaceOf(k);
    Expected e;
    e.text = qs(FindHexagramByKey(k)->text);
    for (int n = 1; n <= 6; ++n) {
        e.marks << (n == place.world ? u"世"_s : n == rules::responseOf(place.world) ? u"应"_s : QString());
        const Branch b = rules::najiaBranch(lower, upper, n);
        e.branches << qs(branchName(b)) + qs(elementName(branchElement(b)));
        e.elements << branchElement(b);
    }
    return e;
}

Element palaceElementByRules(const QString &key)
{
    return palaceElement(rules::palaceOf(u16(key))->palace);
}

} // namespace

class TestChartSteps : public QObject
{
    Q_OBJECT
private slots:
    void timers_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("interval");
        QTest::newRow("TimerBengua") << u"TimerBengua"_s << 500;
        QTest::newRow("Tsy") << u"Tsy"_s << 100;
        QTest::newRow("TimerSBG") << u"TimerSBG"_s << 200;
        QTest::newRow("TimerSBG2") << u"TimerSBG2"_s << 10;
        QTest::newRow("Timerai") << u"Timerai"_s << 100;
        QTest::newRow("TX1") << u"TX1"_s << 250;
        for (int n = 2; n <= 6; ++n)
            QTest::newRow(qPrintable(u"TX%1"_s.arg(n))) << u"TX%1"_s.arg(n) << 200;
    }
    void timers()
    {
        QFETCH(QString, name);
        QFETCH(int, interval);
        auto w = makeMainWindow();
        const auto *timer = w->findChild<QTimer *>(name);
        QVERIFY(timer);
        QCOMPARE(timer->interval(), interval);
        QVERIFY(w->steps().isOn(timer));
        QVERIFY(!timer->isSingleShot());
    }

    // All 64 hexagrams, still and with each single moving line: the chart is
    // complete as soon as the last input has been handled.
    // The engine holds every hexagram and moving line to the rules; on the
    // window, every seventh hexagram with each single moving line.
    void everyHexagramAndMovingLine_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("moving"); // 0: no moving line
        for (std::size_t i = 0; i < HexagramTable.size(); i += 7)
            for (int moving = 0; moving <= 6; ++moving)
                QTest::newRow(qPrintable(qs(HexagramTable[i].key) + u" moving "_s + QString::number(moving)))
                    << qs(HexagramTable[i].key) << moving;
    }
    void everyHexagramAndMovingLine()
    {
        QFETCH(QString, key);
        QFETCH(int, moving);
        static auto w = makeMainWindow(); // one window, charted over and over like a user would
        ChartSheet &s = w->sheet();
        for (int n = 1; n <= 6; ++n) {
            s.co(n)->setChecked(false);
            s.cx(n)->setChecked(false);
        }
        setLines(s, key);
        if (moving)
            (key[moving - 1] == u'1' ? s.co(moving) : s.cx(moving))->setChecked(true);

        const Expected original = byRules(key);
        const QString changedKey = moving ? flip(key, moving) : key;
        const Expected changed = byRules(changedKey);
        const Element palace = palaceElementByRules(key);

        QCOMPARE(s.TextBengua, key);
        QCOMPARE(s.bengua->text(), original.text);
        QCOMPARE(s.XX, qs(elementName(palace)));
        QCOMPARE(textsOf(s.LSY), original.marks);
        for (int n = 1; n <= 6; ++n)
            QCOMPARE(s.Lliuqin(n)->text(),
                     qs(relativeName(relativeByCycles(palace, original.elements[n - 1]))) + original.branches[n - 1]);

        QCOMPARE(s.TextSBG2, changedKey);
        QCOMPARE(s.biangua->text(), changed.text);
        QCOMPARE(textsOf(s.Bsy), changed.marks);
        QCOMPARE(textsOf(s.BGLiuqin), changed.branches);
        for (int n = 1; n <= 6; ++n)
            QCOMPARE(s.L(n)->text(), qs(relativeName(relativeByCycles(palace, changed.elements[n - 1]))));
    }

    void workedChanges_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("moving");
        QTest::addColumn<QString>("biangua");
        QTest::addColumn<QStringList>("relatives");
        QTest::newRow("111111 line 1 old yang")
            << u"111111"_s << 1 << u"天风姤 乾宫"_s
            << QStringList{u"父母"_s, u"子孙"_s, u"兄弟"_s, u"官鬼"_s, u"兄弟"_s, u"父母"_s};
        // Relatives stay with the original palace: 寅木 of 山地剥 is 官鬼 against 坤's 土.
        QTest::newRow("000000 line 6 old yin")
            << u"000000"_s << 6 << u"山地剥 乾宫"_s
            << QStringList{u"兄弟"_s, u"父母"_s, u"官鬼"_s, u"兄弟"_s, u"妻财"_s, u"官鬼"_s};
        QTest::newRow("000000 line 1 old yin")
            << u"000000"_s << 1 << u"地雷复 坤宫"_s
            << QStringList{u"妻财"_s, u"官鬼"_s, u"兄弟"_s, u"兄弟"_s, u"妻财"_s, u"子孙"_s};
    }
    void workedChanges()
    {
        QFETCH(QString, key);
        QFETCH(int, moving);
        QFETCH(QString, biangua);
        QFETCH(QStringList, relatives);
        auto w = makeMainWindow();
        ChartSheet &s = w->sheet();
        setLines(s, key);
        (key[moving - 1] == u'1' ? s.co(moving) : s.cx(moving))->setChecked(true);
        QCOMPARE(s.biangua->text(), biangua);
        QCOMPARE(textsOf(s.L), relatives);
    }

    // A line emptied after a complete chart keeps the last chart on screen.
    void incompleteLinesKeepTheLastChart()
    {
        auto w = makeMainWindow();
        ChartSheet &s = w->sheet();
        setLines(s, u"111111"_s);
        s.co(1)->setChecked(true);
        const QStringList labels = textsOf(s.Lliuqin), changed = textsOf(s.BGLiuqin), rel = textsOf(s.L);
        s.Text(3)->clear();
        w->steps().runPass();
        QCOMPARE(s.bengua->text(), u"乾为天 乾宫"_s);
        QCOMPARE(s.biangua->text(), u"天风姤 乾宫"_s);
        QCOMPARE(textsOf(s.Lliuqin), labels);
        QCOMPARE(textsOf(s.BGLiuqin), changed);
        QCOMPARE(textsOf(s.L), rel);
        QCOMPARE(s.TextBengua, u"11111"_s);

        s.Text(3)->setText(u"0"_s);
        QCOMPARE(s.bengua->text(), u"天泽履 艮宫"_s);
        QCOMPARE(s.Lliuqin(3)->text(), u"兄弟丑土"_s);
    }

    void stepsOnAnEmptySheetWriteNothing()
    {
        auto w = makeMainWindow();
        ChartSheet &s = w->sheet();
        ChartSteps &steps = w->steps();
        steps.stepTimerBengua();
        steps.stepTsy();
        steps.stepTimerSBG();
        steps.stepTimerSBG2();
        steps.stepTimerai();
        for (int n = 1; n <= 6; ++n)
            steps.stepTX(n);
        QVERIFY(s.bengua->text().isEmpty() && s.biangua->text().isEmpty() && s.XX.isEmpty());
        const QStringList empty(6, QString());
        QCOMPARE(textsOf(s.LSY), empty);
        QCOMPARE(textsOf(s.Lliuqin), empty);
        QCOMPARE(textsOf(s.Bsy), empty);
        QCOMPARE(textsOf(s.BGLiuqin), empty);
        QCOMPARE(textsOf(s.L), empty);
    }

    void aStepThatIsOffNeverRuns()
    {
        auto w = makeMainWindow();
        ChartSheet &s = w->sheet();
        setLines(s, u"111111"_s);
        w->steps().switchOff(w->steps().TimerBengua);
        s.Text(6)->setText(u"0"_s);
        QCOMPARE(s.bengua->text(), u"乾为天 乾宫"_s);
        w->steps().stepTimerBengua();
        QCOMPARE(s.bengua->text(), u"泽天夬 坤宫"_s);
    }

    void untickingTheOnlyMovingLineRestoresTheOriginal()
    {
        auto w = makeMainWindow();
        ChartSheet &s = w->sheet();
        setLines(s, u"011011"_s);
        s.co(2)->setChecked(true);
        QCOMPARE(s.biangua->text(), u"风山渐 归魂 艮宫"_s);
        s.co(2)->setChecked(false);
        QCOMPARE(s.biangua->text(), s.bengua->text());
        QCOMPARE(textsOf(s.Bsy), textsOf(s.LSY));
    }

    // The timers alone put back fields changed behind their back, within their periods.
    void timersRestoreFieldsChangedBehindTheirBack()
    {
        auto w = makeMainWindow();
        ChartSheet &s = w->sheet();
        setLines(s, u"111111"_s);
        s.bengua->setText(u"巽为风 巽宫"_s);
        s.Lliuqin(1)->setText(u"妻财丑土"_s);
        s.biangua->setText(u"山火贲"_s);
        w->steps().arm(); // a change outside the handlers wakes the steps as a command would
        QTRY_COMPARE_WITH_TIMEOUT(s.bengua->text(), u"乾为天 乾宫"_s, 2000);  // by TimerBengua
        QTRY_COMPARE_WITH_TIMEOUT(s.Lliuqin(1)->text(), u"子孙子水"_s, 2000); // by Tsy
        QTRY_COMPARE_WITH_TIMEOUT(s.biangua->text(), u"乾为天 乾宫"_s, 2000); // by TimerSBG
    }

    // With the instant pass off, the timers alone complete the chart after an
    // input, and every one stops once the chart stands still.
    void timersAloneCompleteTheChartAndThenRest_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("moving");
        QTest::newRow("still") << u"101001"_s << 0;
        QTest::newRow("line 1 moving") << u"110100"_s << 1;
        QTest::newRow("line 6 moving") << u"000000"_s << 6;
    }
    void timersAloneCompleteTheChartAndThenRest()
    {
        QFETCH(QString, key);
        QFETCH(int, moving);
        auto w = makeMainWindow();
        ChartSheet &s = w->sheet();
        ChartSteps &steps = w->steps();
        steps.setInstantPass(false);
        setLines(s, key);
        if (moving)
            (key[moving - 1] == u'1' ? s.co(moving) : s.cx(moving))->setChecked(true);
        const Expected original = byRules(key);
        const QString changedKey = moving ? flip(key, moving) : key;
        const Expected changed = byRules(changedKey);
        QTRY_COMPARE_WITH_TIMEOUT(s.bengua->text(), original.text, 3000);
        QTRY_COMPARE_WITH_TIMEOUT(s.biangua->text(), changed.text, 3000);
        QTRY_COMPARE_WITH_TIMEOUT(textsOf(s.LSY), original.marks, 3000);
        QTRY_COMPARE_WITH_TIMEOUT(textsOf(s.BGLiuqin), changed.branches, 3000);
        const Element palace = palaceElementByRules(key);
        for (int n = 1; n <= 6; ++n)
            QTRY_COMPARE_WITH_TIMEOUT(s.L(n)->text(),
                                      qs(relativeName(relativeByCycles(palace, changed.elements[n - 1]))), 3000);
        const auto timers = w->findChildren<QTimer *>();
        const auto anyStepRunning = [&] {
            for (QTimer *t : timers)
                if (steps.isOn(t) && t->isActive())
                    return true;
            return false;
        };
        QTRY_VERIFY_WITH_TIMEOUT(!anyStepRunning(), 3000);
        QVERIFY(steps.isOn(steps.TimerBengua) && steps.isOn(steps.Timerai));
    }
};

QTEST_MAIN(TestChartSteps)
#include "tst_chartsteps.moc"
