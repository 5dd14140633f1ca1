// Draws the 卦盘 of a cast as the program exports it: a PNG (or another
// picture format by the suffix) at a pixel density, or a one-page PDF.
//   QT_QPA_PLATFORM=offscreen ./build/tools/readme/guapan_picture docs/guapan.png
//   guapan_picture OUT [LINES] [--time "YYYY-MM-DD HH:MM"] [--question TEXT] [--sex 男|女]
//                  [--category TEXT] [--method TEXT] [--use N] [--stems] [--zoom Z] [--width W] [--ratio R] [--dark]
//                  [--a5]
//                  [--pane]
// --pane draws the pane "guapan" as a window shows it, in a dark palette with --dark.
// LINES in 6/7/8/9 notation, line 1 first, or "none" (default 978788, 雷泽归妹 with line 1
// moving, cast at 2026-12-07 08:30 and asking about a job, as the README picture).
#include "calendar/pillars.h"
#include "chart/chart.h"
#include "guapan/guapanexport.h"
#include "guapan/guapanpaint.h"
#include "guapan/guapanview.h"
#include "qtcore/textconv.h"

#include <QApplication>
#include <QFileInfo>

#include <cstdio>

using namespace Qt::StringLiterals;
using namespace lotgrid;

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty()) {
        std::fprintf(stderr, "usage: guapan_picture OUT.png|OUT.pdf [LINES] [options]\n");
        return 2;
    }
    const QString out = args.takeFirst();
    QString lines = u"978788"_s;
    QString time = u"2026-12-07 08:30"_s;
    GuapanWords words{u"问工作调动能否成功"_s, u"手动摇卦"_s, false};
    QString category = u"工作"_s, sex = u"女"_s;
    int use = 0;
    qreal zoom = 1.0, ratio = 2.0, width = 0;
    bool dark = false;
    bool pane = false;
    QPageSize::PageSizeId page = QPageSize::A4;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        const auto next = [&] { return i + 1 < args.size() ? args[++i] : QString(); };
        if (a == u"--time"_s)
            time = next();
        else if (a == u"--question"_s)
            words.question = next();
        else if (a == u"--sex"_s)
            sex = next();
        else if (a == u"--category"_s)
            category = next();
        else if (a == u"--method"_s)
            words.castMethod = next();
        else if (a == u"--use"_s)
            use = next().toInt();
        else if (a == u"--stems"_s)
            words.najiaStems = true;
        else if (a == u"--zoom"_s)
            zoom = next().toDouble();
        else if (a == u"--width"_s) // the room across, as a narrow pane gives it
            width = next().toDouble();
        else if (a == u"--ratio"_s)
            ratio = next().toDouble();
        else if (a == u"--dark"_s)
            dark = true;
        else if (a == u"--pane"_s)
            pane = true;
        else if (a == u"--a5"_s)
            page = QPageSize::A5;
        else
            lines = a;
    }
    if (lines == u"none"_s) // the pane before six lines stand
        lines.clear();
    else if (lines.size() != 6) {
        std::fprintf(stderr, "LINES must be six digits 6-9\n");
        return 2;
    }
    CastInput in;
    in.category = categoryFromText(u16(category));
    in.sex = sexFromText(u16(sex));
    for (int n = 1; n <= lines.size(); ++n) {
        const QChar c = lines[n - 1];
        in.line(n) = {c == u'7' || c == u'9' ? u'1' : u'0', c == u'6' || c == u'9'};
    }
    if (use >= 1 && use <= 6)
        in.mark = {MarkKind::UseGod, use};
    if (!time.isEmpty()) {
        const QDateTime t = QDateTime::fromString(time, u"yyyy-MM-dd HH:mm"_s);
        in.moment = Moment{{t.date().year(), t.date().month(), t.date().day()}, t.time().hour(), t.time().minute()};
        if (const auto p = pillarsOf(*in.moment, in.dayBoundary)) {
            in.dayStem = p->day.stem();
            in.dayBuild = p->day.branch();
            in.monthBuild = p->month.branch();
        }
    }
    const Chart chart = chartOf(in);
    const GuapanStyle style{QApplication::font(), zoom, width};
    QString error;
    bool ok = false;
    if (pane) {
        GuapanView view;
        if (dark) {
            QPalette p = view.palette();
            p.setColor(QPalette::Window, QColor(0x20, 0x20, 0x20));
            view.setPalette(p);
        }
        view.setWords(words);
        view.setChart(chart);
        view.setZoom(zoom);
        view.resize(view.sizeHint());
        view.show();
        QApplication::processEvents();
        ok = view.grab().save(out);
    } else if (QFileInfo(out).suffix().compare(u"pdf"_s, Qt::CaseInsensitive) == 0) {
        ok = writePdf(out, page, chart, words, style, &error);
    } else {
        const GuapanLayout layout = guapanLayout(chart, words, style);
        ok = writePicture(guapanImage(layout, dark ? darkGuapanColours() : lightGuapanColours(), ratio),
                          picturePath(out), &error);
    }
    if (!ok) {
        std::fprintf(stderr, "could not write %s: %s\n", qPrintable(out), qPrintable(error));
        return 1;
    }
    return 0;
}
