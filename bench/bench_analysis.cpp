// Cost of every analysis mark of one chart: the marks of the static lines,
// the changes of the moving lines, both types, 卦身 and the 神煞.
// Run by hand: ./bench_analysis
#include "chart/analysis.h"

#include <QTest>

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
};

QTEST_GUILESS_MAIN(BenchAnalysis)
#include "bench_analysis.moc"
