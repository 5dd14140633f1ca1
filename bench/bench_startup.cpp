// Start-up time, peak memory and idle CPU of the main window with a full chart,
// side by side with a minimal Qt Widgets window built in the same tree, so the
// figures are ratios that hold on a noisy machine. Both are measured the same
// way: from just before the process is started to the end of the window's
// first paint (the steady clock, which every process shares), and the peak
// memory up to then.
//   QT_QPA_PLATFORM=offscreen bench_startup [runs]
//   xvfb-run -a bench_startup [runs]          (on an X server; needs Xvfb)
#include <QCoreApplication>
#include <QProcess>
#include <QRegularExpression>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

struct Run {
    double wallMs = 0;
    double idleCpuMs = 0;
    long maxRssKb = 0;
    double ticksPerSecond = 0;
    QString mapped; // libraries and font files mapped at the first paint
};

Run runOnce(const QString &program, const QString &window, const QString &mode)
{
    QProcess child;
    const auto started = std::chrono::steady_clock::now().time_since_epoch();
    child.start(program, {window, mode});
    Run run;
    if (!child.waitForFinished(60000) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0) {
        std::fprintf(stderr, "bench_window %s %s failed: %s\n", qPrintable(window), qPrintable(mode),
                     qPrintable(child.errorString() + u' ' + QString::fromLocal8Bit(child.readAllStandardError())));
        std::exit(1);
    }
    const QString out = QString::fromUtf8(child.readAllStandardOutput());
    if (const auto m = QRegularExpression(u"painted_ns=(\\d+)"_s).match(out); m.hasMatch())
        run.wallMs = double(m.captured(1).toLongLong() - std::chrono::nanoseconds(started).count()) / 1e6;
    if (const auto m = QRegularExpression(u"mapped=(.*)"_s).match(out); m.hasMatch())
        run.mapped = m.captured(1);
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
    const QString dir = QCoreApplication::applicationDirPath();
    const QString programs[2] = {dir + u"/bench_bare_window"_s, dir + u"/bench_window"_s};

    std::vector<double> wall[2], rss[2];
    QString mapped[2];
    for (int i = 0; i < runs; ++i) {
        for (int w = 0; w < 2; ++w) { // interleaved, so both see the same machine
            const Run r = runOnce(programs[w], w ? u"lotgrid"_s : u"minimal"_s, u"startup"_s);
            wall[w].push_back(r.wallMs);
            rss[w].push_back(double(r.maxRssKb));
            mapped[w] = r.mapped;
        }
    }
    const bool idleToo = !qEnvironmentVariableIsSet("BENCH_STARTUP_NO_IDLE");
    const double startMin = median(wall[0]), startLot = median(wall[1]);
    const double rssMin = median(rss[0]), rssLot = median(rss[1]);
    std::printf("platform: %s\n", qPrintable(qEnvironmentVariable("QT_QPA_PLATFORM", u"(default)"_s)));
    std::printf("start-up to the end of the first paint (median of %d): bare window %.1f ms, lotgrid %.1f ms, "
                "ratio %.2f (target <= 1.3)\n",
                runs, startMin, startLot, startLot / startMin);
    std::printf("peak memory up to the first paint: bare window %.0f KiB, lotgrid with a full chart %.0f KiB, "
                "ratio %.2f (target <= 1.3)\n",
                rssMin, rssLot, rssLot / rssMin);
    for (int w = 0; w < 2; ++w) {
        const QStringList files = mapped[w].split(u' ', Qt::SkipEmptyParts);
        std::printf("mapped at the first paint by %s: %lld files\n  %s\n", w ? "lotgrid" : "the bare window",
                    qlonglong(files.size()), qPrintable(files.join(u' ')));
    }
    if (!idleToo)
        return 0;
    const Run idleMinimal = runOnce(programs[0], u"minimal"_s, u"idle"_s);
    const Run idleLotgrid = runOnce(programs[1], u"lotgrid"_s, u"idle"_s);
    std::printf("peak memory after 12 s idle with a full chart: lotgrid %ld KiB\n", idleLotgrid.maxRssKb);
    std::printf("idle CPU over 10 s with a full chart (from 2 s after the first paint): minimal %.1f ms (%.3f%%), "
                "lotgrid %.1f ms (%.3f%% of one core), "
                "ratio %.2f (target <= 2)\n",
                idleMinimal.idleCpuMs, idleMinimal.idleCpuMs / 100, idleLotgrid.idleCpuMs, idleLotgrid.idleCpuMs / 100,
                idleLotgrid.idleCpuMs / std::max(idleMinimal.idleCpuMs, 0.1));
    std::printf("timer ticks per second from 2 s to 12 s without input: lotgrid %.2f (target 0)\n",
                idleLotgrid.ticksPerSecond);
    return 0;
}
