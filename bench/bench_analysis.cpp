// Cost of every analysis mark of one chart: the marks of the static lines,
// the changes of the moving lines, both types, 卦身 and the 神煞.
// Also the summary (要点) of a chart against the chart itself: its target is
// under 2 µs on top of the chart.
// Run by hand: ./bench_analysis
#include "benchtiming.h"
#include "chart/analysis.h"
#include "chart/chart.h"
#include "chart/summary.h"

#include <QTest>

#include <cstdio>
#include <ctime>

using namespace lotgrid;

class BenchAnalysis : public QObject
{
    Q_OBJECT
private slots:
    void allMarksOfOneChart()
    {
        CastInput in;
        const std::u16string_view key = u"101100"; // 雷火丰, lines 1, 3 and 5 moving
        for (int n = 1; n <= 6; ++n)
            in.line(n) = {key[static_cast<std::size_t>(n - 1)], n % 2 == 1};
        in.dayStem = 0;
        in.dayBuild = Branch::Zi;
        in.monthBuild = Branch::Wu;
        QBENCHMARK
        {
            const Analysis a = analyse(in);
            QVERIFY(a.guaShen.has_value());
        }
    }

    // The summary of charts that give it every kind of item, against charting them.
    void summaryOnTopOfTheChart()
    {
        struct Case {
            std::u16string_view key; // 6/7/8/9, line 1 first
            CivilDate date;
            Category category;
        };
        const Case cases[] = {{u"787897", {2000, 4, 27}, Category::Wealth},
                              {u"777779", {2005, 5, 4}, Category::Parents},
                              {u"978776", {2000, 11, 27}, Category::Fame},
                              {u"877777", {2021, 2, 10}, Category::Wealth}};
        std::vector<CastInput> inputs;
        for (const Case &c : cases) {
            CastInput in;
            for (int n = 1; n <= 6; ++n) {
                const char16_t v = c.key[static_cast<std::size_t>(n - 1)];
                in.line(n) = {v == u'7' || v == u'9' ? u'1' : u'0', v == u'6' || v == u'9'};
            }
            in.moment = Moment{c.date, 12, 0};
            in.category = c.category;
            inputs.push_back(followingMoment(in, {true, true, true}));
        }
        std::vector<Chart> charts;
        for (const CastInput &in : inputs)
            charts.push_back(chartOf(in));
        std::size_t items = 0;
        const int calls = 20000;
        // The processor time of this thread as well: on a busy machine the wall clock runs on without it.
        const auto cpuMs = [] { return static_cast<double>(std::clock()) * 1000 / CLOCKS_PER_SEC; };
        double cpu0 = cpuMs();
        const double chartMs = millisecondsPerCall(calls, [&] {
            for (const CastInput &in : inputs)
                items += chartOf(in).lines.size();
        });
        const double chartCpu = (cpuMs() - cpu0) / calls;
        cpu0 = cpuMs();
        const double summaryMs = millisecondsPerCall(calls, [&] {
            for (const Chart &c : charts)
                items += summaryOf(c).items.size();
        });
        const double summaryCpu = (cpuMs() - cpu0) / calls;
        const double n = static_cast<double>(inputs.size());
        std::printf("per chart: chart %.2f µs (processor %.2f µs), summary %.2f µs (processor %.2f µs); target: "
                    "summary under 2 µs\n",
                    chartMs * 1000 / n, chartCpu * 1000 / n, summaryMs * 1000 / n, summaryCpu * 1000 / n);
        QVERIFY(items > 0);
    }
};

QTEST_GUILESS_MAIN(BenchAnalysis)
#include "bench_analysis.moc"
