// Pictures of the program's windows, for checking their layout and sharpness
// at a scale and on a light or a dark desktop: run it once per QT_SCALE_FACTOR
// (and with --dark) and look at the PNGs.
//   QT_SCALE_FACTOR=2 xvfb-run -a ./build/tools/readme/window_pictures /tmp/shots-200
//   xvfb-run -a ./build/tools/readme/window_pictures --dark /tmp/shots-dark
#include "darkpalette.h"

#include "casting/coindialog.h"
#include "casting/numberdialog.h"
#include "chart/chart.h"
#include "journal/anli.h"
#include "journal/journal.h"
#include "journal/outcomedialog.h"
#include "journal/tongji.h"
#include "qtcore/textconv.h"
#include "ui/environment.h"
#include "ui/reference/jingwenwindow.h"
#include "ui/reference/referencewindows.h"
#include "ui/reference/yingqiwindow.h"
#include "update/updatewizard.h"
#include "widgets/translations.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <random>

using namespace Qt::StringLiterals;

namespace {

// A few hundred cases of the last year and a half, most with an outcome, for 验证统计.
void fillJournal(lotgrid::Journal &journal)
{
    using namespace lotgrid;
    std::mt19937 random(20261207);
    const QStringList tags{u"财"_s, u"事业"_s, u"出行"_s, u"家人"_s, u"<b>标记</b>"_s};
    for (int i = 0; i < 300; ++i) {
        CaseRecord c;
        for (int n = 1; n <= 6; ++n)
            c.cast.line(n) = {random() % 2 ? u'1' : u'0', random() % 4 == 0};
        const QDate day = QDate(2025, 6, 1).addDays(i * 2);
        c.cast.moment = Moment{{day.year(), day.month(), day.day()}, 9, 0};
        if (const auto p = pillarsOf(*c.cast.moment, DayBoundary::Midnight)) {
            c.cast.dayStem = p->day.stem();
            c.cast.dayBuild = p->day.branch();
            c.cast.monthBuild = p->month.branch();
        }
        c.question = u"问事 %1"_s.arg(i);
        if (random() % 5 != 0)
            c.category = Categories[random() % Categories.size()].category;
        c.tags = {tags[static_cast<qsizetype>(random() % tags.size())]};
        c.verdict = random() % 6 == 0 ? Verdict::Open : random() % 5 < 3 ? Verdict::Fulfilled : Verdict::Failed;
        c.firstYingqi = firstYingqiOf(c);
        journal.save(c);
    }
}

// The 应期 of 风泽中孚 asked about wealth, cast on 2026-12-07 08:30.
lotgrid::Chart yingqiChart()
{
    using namespace lotgrid;
    CastInput in;
    const std::u16string_view key = u"110011";
    for (int n = 1; n <= 6; ++n)
        in.line(n) = {key[static_cast<std::size_t>(n - 1)], n == 2};
    in.moment = Moment{{2026, 12, 7}, 8, 30};
    const Pillars p = *pillarsOf(*in.moment, DayBoundary::Midnight);
    in.dayStem = p.day.stem();
    in.dayBuild = p.day.branch();
    in.monthBuild = p.month.branch();
    in.category = Category::Wealth;
    return chartOf(in);
}

bool save(QWidget *window, const QDir &folder, const QString &name)
{
    window->show();
    QApplication::processEvents();
    const bool ok = window->grab().save(folder.filePath(name + u".png"_s));
    window->close();
    return ok;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const bool dark = argc > 1 && QByteArray(argv[1]) == "--dark";
    if (argc < 2 + int(dark)) {
        std::fprintf(stderr, "usage: window_pictures [--dark] FOLDER\n");
        return 2;
    }
    if (dark)
        QApplication::setPalette(darkDesktopPalette());
    lotgrid::installChineseQtTranslations(app);
    QDir folder(QString::fromLocal8Bit(argv[1 + int(dark)]));
    folder.mkpath(u"."_s);

    QTemporaryDir journalDir;
    lotgrid::Journal journal(journalDir.filePath(u"journal.sqlite"_s));
    journal.open();
    fillJournal(journal);

    const std::vector<std::pair<QString, std::function<QWidget *()>>> windows{
        {u"about"_s, [] { return lotgrid::createAboutt(nullptr); }},
        {u"help"_s, [] { return lotgrid::createHelpf(nullptr); }},
        {u"help-full"_s,
         [] {
             auto *w = lotgrid::createHelpf(nullptr);
             w->resize(w->width(), 3000);
             return w;
         }},
        {u"query"_s,
         [] { return lotgrid::createFenshen(nullptr, [] { return lotgrid::FindHexagramByKey(u"011111"); }); }},
        {u"void-table"_s, [] { return lotgrid::createLiujia(nullptr); }},
        {u"seasons"_s, [] { return lotgrid::createSswx1(nullptr); }},
        {u"update"_s, [] { return new lotgrid::UpdateWizard(lotgrid::UpdateSettings{}); }},
        {u"coins"_s, [] { return new lotgrid::CoinDialog(false); }},
        {u"coins-cast"_s,
         [] {
             auto *d = new lotgrid::CoinDialog(false);
             d->digits_Edited(u"1230"_s);
             return d;
         }},
        {u"numbers"_s, [] { return new lotgrid::NumberDialog(false, 7); }},
        {u"numbers-refused"_s,
         [] {
             auto *d = new lotgrid::NumberDialog(false, 7);
             d->number1->setText(u"12a"_s);
             d->ok_Click();
             return d;
         }},
        {u"journal"_s, [&journal] { return new lotgrid::Anli(&journal, lotgrid::JournalPrompts{}); }},
        {u"journal-case"_s,
         [&journal] {
             // One case kept, chosen: its 卦盘 shows under the list.
             lotgrid::CaseRecord c;
             const QString lines = u"110100"_s;
             for (int n = 1; n <= 6; ++n)
                 c.cast.line(n) = {lines[n - 1].unicode(), n == 1};
             c.cast.moment = lotgrid::Moment{{2026, 12, 7}, 8, 30};
             c.question = u"问工作调动能否成功"_s;
             c.sex = lotgrid::Sex::Female;
             c.category = lotgrid::Category::Work;
             journal.save(c);
             auto *anli = new lotgrid::Anli(&journal, lotgrid::JournalPrompts{});
             anli->findChild<QTableView *>(u"cases"_s)->selectRow(0);
             return anli;
         }},
        {u"jingwen"_s,
         [] {
             auto *w = new lotgrid::JingwenWindow;
             w->setChart(yingqiChart());
             return w;
         }},
        {u"yingqi"_s,
         [] {
             auto *w = new lotgrid::YingqiWindow;
             w->setChart(yingqiChart());
             return w;
         }},
        {u"outcome"_s,
         [&journal] {
             return new lotgrid::OutcomeDialog(journal.list({}, {}, 1)->front(), lotgrid::Verdict::Fulfilled,
                                               QDate(2026, 12, 7));
         }},
        {u"tongji"_s, [&journal] { return new lotgrid::Tongji(journal.connectionName(), {}); }},
        {u"tongji-tags"_s,
         [&journal] {
             auto *w = new lotgrid::Tongji(journal.connectionName(), {});
             w->pages()->setCurrentIndex(1);
             return w;
         }},
        {u"tongji-months"_s,
         [&journal] {
             auto *w = new lotgrid::Tongji(journal.connectionName(), {});
             w->pages()->setCurrentIndex(4);
             return w;
         }},
    };
    int failures = 0;
    for (const auto &[name, create] : windows) {
        QWidget *window = create();
        if (!save(window, folder, name)) {
            std::fprintf(stderr, "could not write %s\n", qPrintable(name));
            ++failures;
        }
        delete window;
    }
    // The picture's save dialog, with its choice of the dark variant.
    QTimer::singleShot(500, [&] {
        QWidget *dialog = QApplication::activeModalWidget();
        if (!dialog || !dialog->grab().save(folder.filePath(u"export-dialog.png"_s))) {
            std::fprintf(stderr, "could not write export-dialog\n");
            ++failures;
        }
        if (dialog)
            dialog->close();
    });
    bool darkPicture = false;
    lotgrid::Environment::production().saveFileName(nullptr, u"导出图片"_s, QDir::home().filePath(u"六爻.png"_s),
                                                    &darkPicture);
    return failures == 0 ? 0 : 1;
}
