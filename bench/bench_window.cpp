// One measured run of a window, started by bench_startup:
//   bench_window lotgrid|minimal startup|idle
// "lotgrid" is the program's main window with today's line and a full chart
// (line 1 moving); "minimal" a plain Qt Widgets window with a label and a text field. The run
// ends right after the window's first paint (startup) or after twelve idle
// seconds on screen (idle), and prints its peak memory, and the CPU time and
// timer ticks of the last ten.
#include "sheet/chartsheet.h"
#include "ui/mainwindow.h"
#include "widgets/linefield.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QVBoxLayout>

#ifdef Q_OS_WIN
#include <windows.h>

#include <psapi.h> // after windows.h
#else
#include <sys/resource.h>
#endif

#include <cstdio>
#include <memory>

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
    QApplication app(argc, argv);
    if (argc < 3)
        return 2;
    const bool lotgrid = qstrcmp(argv[1], "lotgrid") == 0;
    const bool idle = qstrcmp(argv[2], "idle") == 0;

    std::unique_ptr<QWidget> window;
    if (lotgrid) {
        auto main = std::make_unique<lotgrid::MainWindow>();
        lotgrid::ChartSheet &s = main->sheet();
        for (int n = 1; n <= 6; ++n)
            s.Text(n)->setText(n % 2 ? u"1"_s : u"0"_s);
        s.co(1)->setChecked(true);
        window = std::move(main);
    } else {
        // A label and a text field with the focus: like the main window, it
        // shows a blinking text cursor, the one thing that should still wake it.
        auto *minimal = new QWidget;
        auto *layout = new QVBoxLayout(minimal);
        layout->addWidget(new QLabel(u"Lotgrid(六爻)"_s));
        auto *field = new QLineEdit;
        layout->addWidget(field);
        minimal->setMinimumSize(600, 300);
        field->setFocus();
        window.reset(minimal);
    }

    FirstPaint firstPaint(window.get(), [&] {
        if (!idle) {
            std::printf("maxrss_kb=%ld\n", peakKilobytes());
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
    window->show();
    return app.exec();
}
