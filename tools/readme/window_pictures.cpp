// Pictures of the program's windows, for checking their layout and sharpness
// at a scale and on a light or a dark desktop: run it once per QT_SCALE_FACTOR
// (and with --dark) and look at the PNGs.
//   QT_SCALE_FACTOR=2 xvfb-run -a ./build/tools/readme/window_pictures /tmp/shots-200
//   xvfb-run -a ./build/tools/readme/window_pictures --dark /tmp/shots-dark
#include "darkpalette.h"

#include "casting/coindialog.h"
#include "casting/numberdialog.h"
#include "journal/anli.h"
#include "journal/journal.h"
#include "ui/reference/referencewindows.h"
#include "update/updatewizard.h"
#include "widgets/translations.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

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

    const std::vector<std::pair<QString, std::function<QWidget *()>>> windows{
        {u"about"_s, [] { return lotgrid::createAboutt(nullptr); }},
        {u"help"_s, [] { return lotgrid::createHelpf(nullptr); }},
        {u"help-new"_s, [] { return lotgrid::createXinbangzhu(nullptr); }},
        {u"help-new-full"_s,
         [] {
             auto *w = lotgrid::createXinbangzhu(nullptr);
             w->resize(w->width(), 3000);
             return w;
         }},
        {u"query"_s, [] { return lotgrid::createFenshen(nullptr, [] { return u"天风姤 乾宫"_s; }); }},
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
    return failures == 0 ? 0 : 1;
}
