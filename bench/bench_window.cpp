// One measured run of a window, started by bench_startup:
//   bench_window lotgrid startup|idle
//   bench_bare_window minimal startup|idle   (the same source, linking Qt Widgets alone)
// "lotgrid" is the program's main window with today's line and a full chart
// (line 1 moving), set up as the program sets itself up; "minimal" a bare Qt
// Widgets window with one text field. The run ends right after the end of the
// window's first paint (startup) or after twelve idle seconds on screen (idle).
// It prints the steady clock at the end of the first paint (the parent took it
// before starting the process), the peak memory up to then, the libraries and
// font files mapped then, and for idle the CPU time and timer ticks of the last ten.
#ifndef LOTGRID_BENCH_BARE
#include "sheet/chartsheet.h"
#include "ui/mainwindow.h"
#include "ui/startup.h"
#include "widgets/linefield.h"
#include "widgets/translations.h"
#endif

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QTimer>
#include <QVBoxLayout>

#ifdef Q_OS_WIN
#include <windows.h>

#include <psapi.h> // after windows.h
#else
#include <sys/resource.h>
#endif

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

#ifdef Q_OS_WIN
double cpuSeconds()
{
    FILETIME created, exited, kernel, user; // in 100 ns
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    const auto seconds = [](FILETIME t) { return double((quint64(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7; };
    return seconds(kernel) + seconds(user);
}

long peakKilobytes()
{
    PROCESS_MEMORY_COUNTERS counters{};
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return long(counters.PeakWorkingSetSize / 1024);
}
#else
double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
           + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

long peakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}
#endif

// The shared libraries and font files mapped into this process, by file name.
std::string mappedFiles()
{
    std::set<std::string> names;
    std::ifstream maps("/proc/self/maps");
    for (std::string line; std::getline(maps, line);) {
        const auto slash = line.find('/');
        if (slash == std::string::npos)
            continue;
        const std::string path = line.substr(slash);
        const std::string name = path.substr(path.rfind('/') + 1);
        if (name.find(".so") != std::string::npos || name.ends_with(".ttc") || name.ends_with(".ttf")
            || name.ends_with(".otf"))
            names.insert(name);
    }
    std::string all;
    for (const std::string &name : names)
        all += (all.empty() ? "" : " ") + name;
    return all;
}

// The resident memory by mapping (a file's name, or [heap], [anon] …), the
// largest first: where the peak goes, printed when BENCH_WINDOW_SMAPS is set.
void printResidentByMapping()
{
    std::map<std::string, long> kb;
    std::ifstream smaps("/proc/self/smaps");
    std::string name;
    for (std::string line; std::getline(smaps, line);) {
        if (!line.empty() && std::isxdigit(static_cast<unsigned char>(line[0])) && line.find('-') < 17) {
            std::size_t at = 0;
            for (int field = 0; field < 5 && at != std::string::npos; ++field)
                at = line.find_first_not_of(' ', line.find(' ', at));
            name = at == std::string::npos ? "[anon]" : line.substr(at);
            name = name.substr(name.rfind('/') + 1);
        } else if (line.rfind("Rss:", 0) == 0) {
            kb[name] += std::stol(line.substr(4));
        }
    }
    std::vector<std::pair<long, std::string>> sorted;
    for (const auto &[file, size] : kb)
        sorted.emplace_back(size, file);
    std::sort(sorted.rbegin(), sorted.rend());
    for (std::size_t i = 0; i < sorted.size() && i < 25; ++i)
        std::fprintf(stderr, "%8ld KiB  %s\n", sorted[i].first, sorted[i].second.c_str());
}

// Calls `done` once, after the first paint of `window`.
class FirstPaint : public QObject
{
public:
    FirstPaint(QWidget *window, std::function<void()> done)
        : m_done(std::move(done))
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && m_done) {
            QTimer::singleShot(0, std::exchange(m_done, nullptr));
        }
        return false;
    }

private:
    std::function<void()> m_done;
};

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 3)
        return 2;
    [[maybe_unused]] const bool lotgrid = qstrcmp(argv[1], "lotgrid") == 0;
    const auto started = std::chrono::steady_clock::now();
    // BENCH_WINDOW_PHASES: the milliseconds from the start of main() to the end of each phase, on stderr.
    const bool phases = qEnvironmentVariableIsSet("BENCH_WINDOW_PHASES");
    const auto phase = [&](const char *name) {
        if (phases)
            std::fprintf(stderr, "%-28s %6.1f ms\n", name,
                         std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count());
    };
    QApplication app(argc, argv);
    phase("application");
#ifndef LOTGRID_BENCH_BARE
    // BENCH_WINDOW_DESKTOP_FONT: as the program set itself up before it had one
    // Chinese face (the desktop's font, Chinese by the system's fallback), to
    // measure what that face saves.
    if (lotgrid && qEnvironmentVariableIsSet("BENCH_WINDOW_DESKTOP_FONT"))
        lotgrid::installChineseQtTranslations(app);
    else if (lotgrid)
        lotgrid::prepareApplication(app);
#endif
    const bool idle = qstrcmp(argv[2], "idle") == 0;

    std::unique_ptr<QWidget> window;
#ifndef LOTGRID_BENCH_BARE
    if (lotgrid) {
        phase("set up");
        auto main = std::make_unique<lotgrid::MainWindow>();
        phase("main window built");
        lotgrid::ChartSheet &s = main->sheet();
        for (int n = 1; n <= 6; ++n)
            s.Text(n)->setText(n % 2 ? u"1"_s : u"0"_s);
        s.co(1)->setChecked(true);
        phase("chart entered");
        window = std::move(main);
    }
#endif
    if (!window) {
        // A bare window with one text field with the focus: like the main window, it
        // shows a blinking text cursor, the one thing that should still wake it.
        auto *minimal = new QWidget;
        auto *layout = new QVBoxLayout(minimal);
        auto *field = new QLineEdit;
        layout->addWidget(field);
        minimal->setMinimumSize(600, 300);
        field->setFocus();
        window.reset(minimal);
    }

    FirstPaint firstPaint(window.get(), [&] {
        if (!idle) {
            const auto now = std::chrono::steady_clock::now().time_since_epoch();
            phase("first paint ended");
            std::printf("painted_ns=%lld\nmaxrss_kb=%ld\nmapped=%s\n",
                        static_cast<long long>(std::chrono::nanoseconds(now).count()), peakKilobytes(),
                        mappedFiles().c_str());
            std::fflush(stdout);
            if (qEnvironmentVariableIsSet("BENCH_WINDOW_SMAPS"))
                printResidentByMapping();
            app.quit();
            return;
        }
        // Idle CPU and the ticks of the window's own timers (the chart steps
        // among them) over ten seconds that start two seconds after the first
        // paint, once the chart has settled.
        static int ticks = 0;
        static double start = 0;
        QTimer::singleShot(2000, window.get(), [&app, &window] {
            for (QTimer *t : window->findChildren<QTimer *>())
                QObject::connect(t, &QTimer::timeout, [] { ++ticks; });
            start = cpuSeconds();
            QTimer::singleShot(10000, [&app] {
                std::printf("idle_cpu_ms=%.1f\nmaxrss_kb=%ld\nticks_per_s=%.2f\n", (cpuSeconds() - start) * 1000,
                            peakKilobytes(), ticks / 10.0);
                app.quit();
            });
        });
    });
    phase("built");
    window->show();
    phase("shown");
    return app.exec();
}
