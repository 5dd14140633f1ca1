// One measured run of a window, started by bench_startup:
//   bench_window lotgrid|minimal startup|idle
// "lotgrid" is the program's main window with today's line and a full chart
// (line 1 moving); "minimal" a plain Qt Widgets window with one label. The run
// ends right after the window's first paint (startup) or after ten idle
// seconds on screen (idle), and prints its peak memory and idle CPU time.
#include "sheet/chartsheet.h"
#include "ui/mainwindow.h"
#include "widgets/linefield.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QTimer>

#include <sys/resource.h>

#include <cstdio>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

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
        auto *label = new QLabel(u"Lotgrid(六爻)"_s);
        label->setMinimumSize(600, 300);
        window.reset(label);
    }

    FirstPaint firstPaint(window.get(), [&] {
        if (!idle) {
            std::printf("maxrss_kb=%ld\n", peakKilobytes());
            app.quit();
            return;
        }
        const double start = cpuSeconds();
        QTimer::singleShot(10000, [&app, start] {
            std::printf("idle_cpu_ms=%.1f\nmaxrss_kb=%ld\n", (cpuSeconds() - start) * 1000, peakKilobytes());
            app.quit();
        });
    });
    window->show();
    return app.exec();
}
