// Start-up time, peak memory and idle CPU of the main window with a full chart,
// side by side with a minimal Qt Widgets window built in the same tree, so the
// figures are ratios that hold on a noisy machine.
//   bench_startup [runs]      (run with QT_QPA_PLATFORM=offscreen or under xvfb-run)
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

struct Run {
    double wallMs = 0;
    double idleCpuMs = 0;
    long maxRssKb = 0;
    double ticksPerSecond = 0;
};

Run runOnce(const QString &program, const QString &window, const QString &mode)
{
    QProcess child;
    QElapsedTimer clock;
    clock.start();
    child.start(program, {window, mode});
    child.waitForFinished(60000);
    Run run;
    run.wallMs = double(clock.nsecsElapsed()) / 1e6;
    const QString out = QString::fromUtf8(child.readAllStandardOutput());
    if (const auto m = QRegularExpression(u"maxrss_kb=(\\d+)"_s).match(out); m.hasMatch())
        run.maxRssKb = m.captured(1).toLong();
    if (const auto m = QRegularExpression(u"idle_cpu_ms=([\\d.]+)"_s).match(out); m.hasMatch())
        run.idleCpuMs = m.captured(1).toDouble();
    if (const auto m = QRegularExpression(u"ticks_per_s=([\\d.]+)"_s).match(out); m.hasMatch())
        run.ticksPerSecond = m.captured(1).toDouble();
    return run;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 15;
    const QString program = QCoreApplication::applicationDirPath() + u"/bench_window"_s;

    std::vector<double> wall[2], rss[2];
    for (int i = 0; i < runs; ++i) {
        for (int w = 0; w < 2; ++w) { // interleaved, so both see the same machine
            const Run r = runOnce(program, w ? u"lotgrid"_s : u"minimal"_s, u"startup"_s);
            wall[w].push_back(r.wallMs);
            rss[w].push_back(double(r.maxRssKb));
        }
    }
    const Run idleMinimal = runOnce(program, u"minimal"_s, u"idle"_s);
    const Run idleLotgrid = runOnce(program, u"lotgrid"_s, u"idle"_s);

    const double startMin = median(wall[0]), startLot = median(wall[1]);
    const double rssMin = median(rss[0]), rssLot = std::max(median(rss[1]), double(idleLotgrid.maxRssKb));
    std::printf(
        "start-up to first paint (median of %d): minimal %.1f ms, lotgrid %.1f ms, ratio %.2f (target <= 1.5)\n", runs,
        startMin, startLot, startLot / startMin);
    std::printf("peak memory: minimal %.0f KiB, lotgrid with a full chart %.0f KiB, ratio %.2f (target <= 1.3)\n",
                rssMin, rssLot, rssLot / rssMin);
    std::printf("idle CPU over 10 s with a full chart (from 2 s after the first paint): minimal %.1f ms (%.3f%%), "
                "lotgrid %.1f ms (%.3f%% of one core), "
                "ratio %.2f (target <= 2)\n",
                idleMinimal.idleCpuMs, idleMinimal.idleCpuMs / 100, idleLotgrid.idleCpuMs, idleLotgrid.idleCpuMs / 100,
                idleLotgrid.idleCpuMs / std::max(idleMinimal.idleCpuMs, 0.1));
    std::printf("timer ticks per second from 2 s to 12 s without input: lotgrid %.2f (target 0)\n",
                idleLotgrid.ticksPerSecond);
    return 0;
}
