// Cost of the chart steps and of the instant chart after an input.
// Run by hand: QT_QPA_PLATFORM=offscreen ./bench_chart
#include "sheet/chartsheet.h"
#include "sheet/chartsteps.h"
#include "ui/mainwindow.h"
#include "widgets/linefield.h"

#include <QCheckBox>
#include <QLabel>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace lotgrid;

class BenchChart : public QObject
{
    Q_OBJECT

    static Environment quietEnvironment()
    {
        Environment env = Environment::production();
        env.quit = [] {};
        return env;
    }

    static void fillChart(MainWindow &w, const QString &key)
    {
        for (int n = 1; n <= 6; ++n)
            w.sheet().Text(n)->setText(key.mid(n - 1, 1));
    }

private slots:
    void oneTickOfEachStep_data()
    {
        QTest::addColumn<int>("step");
        const char *names[] = {"TimerBengua", "Tsy", "TimerSBG", "TimerSBG2", "Timerai", "TX1", "TX2"};
        for (int i = 0; i < 7; ++i)
            QTest::newRow(names[i]) << i;
    }
    void oneTickOfEachStep()
    {
        QFETCH(int, step);
        MainWindow w(quietEnvironment());
        fillChart(w, u"111111"_s);
        w.sheet().co(1)->setChecked(true);
        ChartSteps &s = w.steps();
        QBENCHMARK
        {
            switch (step) {
            case 0:
                s.stepTimerBengua();
                break;
            case 1:
                s.stepTsy();
                break;
            case 2:
                s.stepTimerSBG();
                break;
            case 3:
                s.stepTimerSBG2();
                break;
            case 4:
                s.stepTimerai();
                break;
            case 5:
                s.stepTX(1);
                break;
            default:
                s.stepTX(2);
                break;
            }
        }
    }

    // From typing the sixth line to a complete chart, relatives of the changed lines included.
    void sixthLineToCompleteChart()
    {
        MainWindow w(quietEnvironment());
        fillChart(w, u"11111"_s);
        w.sheet().co(1)->setChecked(true);
        bool yang = false;
        QBENCHMARK
        {
            w.sheet().Text(6)->setText(yang ? u"1"_s : u"0"_s);
            yang = !yang;
        }
        QVERIFY(!w.sheet().L(6)->text().isEmpty());
    }

    // From ticking a moving line to a complete changed chart.
    void tickToCompleteChart()
    {
        MainWindow w(quietEnvironment());
        fillChart(w, u"111111"_s);
        bool ticked = false;
        QBENCHMARK
        {
            ticked = !ticked;
            w.sheet().co(3)->setChecked(ticked);
        }
        QVERIFY(!w.sheet().L(3)->text().isEmpty());
    }
};

QTEST_MAIN(BenchChart)
#include "bench_chart.moc"
