// The drawn chart: one chart from its Chart value to a picture at twice the
// pixel density (the model, the layout and the painting, each timed apart), in
// milliseconds. Target: well under a frame of 16 ms for the whole. Then the
// same chart with questions of 1,000 to 2,000,000 characters.
#include "guapan/guapanpaint.h"

#include "benchtiming.h"

#include <QApplication>

#include <cstdio>

using namespace lotgrid;
using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // 火水未济 with every line moving at 2000-01-01 12:00: spirits, 旬空, a hidden
    // spirit, marks on every line, both hexagrams and the 神煞: the fullest drawing.
    CastInput in;
    for (int n = 1; n <= 6; ++n)
        in.line(n) = {n % 2 == 0 ? u'1' : u'0', true};
    in.moment = Moment{{2000, 1, 1}, 12, 0};
    in.dayStem = 4;
    in.monthBuild = Branch::Zi;
    in.dayBuild = Branch::Wu;
    in.mark = {MarkKind::UseGod, 4};
    const Chart chart = chartOf(in);
    const GuapanWords words{u"问工作调动能否成功"_s, u"手动摇卦"_s, true};
    const GuapanStyle style{QApplication::font(), 1.0};
    const GuapanColours colours = lightGuapanColours();

    constexpr int Calls = 200;
    guapanImage(guapanLayout(chart, words, style), colours, 2.0); // fonts loaded before timing
    const double model = millisecondsPerCall(Calls, [&] { (void)guapanModel(chart, words); });
    const GuapanModel m = guapanModel(chart, words);
    const double layout = millisecondsPerCall(Calls, [&] { (void)layOutGuapan(m, style); });
    const GuapanLayout l = layOutGuapan(m, style);
    const double paint = millisecondsPerCall(Calls, [&] { (void)guapanImage(l, colours, 2.0); });
    const double whole
        = millisecondsPerCall(Calls, [&] { (void)guapanImage(guapanLayout(chart, words, style), colours, 2.0); });
    std::printf("one chart into a 2x picture (%dx%d px): %.2f ms  (model %.3f ms, layout %.3f ms, paint %.2f ms)\n",
                qRound(l.size.width() * 2), qRound(l.size.height() * 2), whole, model, layout, paint);

    // A question pasted whole: the drawing shows a few lines of it, in a time
    // that grows no faster than its length (target: 100,000 characters within
    // a frame, 16 ms, for the model and the layout together).
    for (const int length : {1000, 4000, 100000, 2000000}) {
        GuapanWords asked = words;
        asked.question.clear();
        for (int i = 0; i < length; ++i)
            asked.question += QChar(u'问' + i % 64);
        const int calls = length > 100000 ? 3 : 20;
        const double ms = millisecondsPerCall(calls, [&] { (void)guapanLayout(chart, asked, style); });
        std::printf("a question of %7d characters laid out: %8.2f ms%s\n", length, ms,
                    length == 100000 ? (ms < 16 ? "  (target met)" : "  (OVER TARGET)") : "");
    }
    return 0;
}
