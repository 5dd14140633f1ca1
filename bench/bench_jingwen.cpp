// The window 周易经文: opened on a chart with three moving lines (both
// hexagrams and two judgements with their 彖 and 象) until its first paint,
// the first time in a running program (fonts loaded, the window's code and
// styles not yet used) and then the median of later opens; and a search
// over the whole text, in the engine alone and with the window's result list
// filled, for phrases with few and with many hits. In milliseconds. Targets:
// the window open under 50 ms, a search under 5 ms.
#include "chart/zhouyi.h"
#include "qtcore/textconv.h"
#include "ui/reference/jingwenwindow.h"

#include "benchtiming.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace lotgrid;
using namespace Qt::StringLiterals;

namespace {

// Notes the first paint of the widget it watches.
class PaintSeen : public QObject
{
public:
    bool seen = false;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            seen = true;
        return false;
    }
};

// Opens the window on `chart` and runs the event loop until it has painted.
void openOnce(const Chart &chart)
{
    auto *window = new JingwenWindow;
    PaintSeen paint;
    window->installEventFilter(&paint);
    window->setChart(chart);
    window->show();
    while (!paint.seen)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    window->removeEventFilter(&paint);
    window->close(); // deleted on close
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // 乾 with lines 1, 2 and 3 moving turns into 否: both judgements are read.
    CastInput in;
    for (int n = 1; n <= 6; ++n)
        in.line(n) = {u'1', n <= 3};
    const Chart chart = chartOf(in);

    // The program has drawn Chinese text before the window is asked for: the
    // fonts are loaded as they are in a running program.
    QLabel warm(u"所占经文 本卦 变卦 象曰 彖曰"_s);
    (void)warm.grab();
    const double first = millisecondsPerCall(1, [&] { openOnce(chart); });
    constexpr int Opens = 21;
    std::vector<double> times;
    for (int i = 0; i < Opens; ++i)
        times.push_back(millisecondsPerCall(1, [&] { openOnce(chart); }));
    std::ranges::sort(times);
    std::printf("opening 周易经文 to its first paint: first %.1f ms, then %.1f ms (median of %d, slowest %.1f ms)\n",
                first, times[Opens / 2], Opens, times.back());

    JingwenWindow window;
    constexpr int Searches = 200;
    for (const char16_t *phrase : {u"群龙", u"利涉大川", u"无咎", u"吉"}) {
        const std::u16string_view p(phrase);
        std::size_t hits = 0;
        const double engine = millisecondsPerCall(Searches, [&] { hits = searchZhouyi(p).size(); });
        const double listed = millisecondsPerCall(Searches, [&] { window.search(qs(p)); });
        std::printf("searching \"%s\" (%zu places): %.3f ms in the engine, %.3f ms with the list filled\n",
                    qUtf8Printable(QString::fromUtf16(phrase)), hits, engine, listed);
    }
    return 0;
}
