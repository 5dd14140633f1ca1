// Draws the README picture from the program itself: the main window with a
// chart of 雷泽归妹 (line 1 moving) cast at 2026-12-07 08:30, filled from the
// time, with a question, and its 卦盘 in the pane beside it; saved as a PNG at the screen's pixel density; with
// --dark, as on a dark desktop; with --yaodian, the 断卦要点 pane shown too.
//   QT_QPA_PLATFORM=offscreen ./build/tools/readme/readme_picture docs/mainwindow.png
// (the offscreen screen is 800×600 unless told otherwise, e.g.
// QT_QPA_PLATFORM=offscreen:configfile=screen.json with a "screens" list); --size WxH resizes the window.
#include "darkpalette.h"

#include "sheet/chartsheet.h"
#include "ui/mainwindow.h"
#include "ui/screenarranger.h"
#include "widgets/linefield.h"
#include "widgets/translations.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>

#include <cstdio>

using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool dark = args.removeAll(u"--dark"_s) > 0;
    const bool yaodian = args.removeAll(u"--yaodian"_s) > 0;
    QSize size; // --size WxH: the window resized to that, as on a small screen
    if (const qsizetype at = args.indexOf(u"--size"_s); at >= 0 && at + 1 < args.size()) {
        const QStringList wh = args[at + 1].split(u'x');
        if (wh.size() == 2)
            size = QSize(wh[0].toInt(), wh[1].toInt());
        args.remove(at, 2);
    }
    int zoom = 0; // --zoom PERCENT: the zoom chosen with the commands after the window is shown
    if (const qsizetype at = args.indexOf(u"--zoom"_s); at >= 0 && at + 1 < args.size()) {
        zoom = args[at + 1].toInt();
        args.remove(at, 2);
    }
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: readme_picture [--dark] [--yaodian] [--size WxH] [--zoom PERCENT] FILE.png\n");
        return 2;
    }
    if (dark)
        QApplication::setPalette(darkDesktopPalette());
    const QString file = args.front();
    lotgrid::installChineseQtTranslations(app);
    lotgrid::Environment env = lotgrid::Environment::production();
    env.settingsFile = QString();
    env.now = [] { return QDateTime(QDate(2026, 12, 7), QTime(8, 30), Qt::OffsetFromUTC, 8 * 3600); };
    env.today = [] { return QDate(2026, 12, 7); };
    lotgrid::MainWindow window(env);
    window.show();
    lotgrid::ChartSheet &s = window.sheet();
    s.Combo1->setCurrentIndex(1);
    s.TextWHS->setText(u"问工作调动能否成功"_s);
    const QString key = u"110100"_s;
    for (int n = 1; n <= 6; ++n)
        s.Text(n)->setText(key.mid(n - 1, 1));
    s.co(1)->setChecked(true);
    s.ansj->click();
    window.yao_Click(4);
    if (auto *pane = window.findChild<QAction *>(u"yaodian"_s); yaodian && pane && !pane->isChecked())
        pane->trigger();
    s.setFocus();
    QApplication::processEvents();
    if (zoom > 0) {
        window.arranger().fitTimer->stop(); // the zoom asked for, not the one the first showing fits
        window.setZoomPercent(zoom);
    }
    QApplication::processEvents();
    if (size.isValid())
        window.resize(size);
    QApplication::processEvents();
    if (window.arranger().fitTimer->isActive() && zoom == 0) {
        window.arranger().fitTimer->stop();
        window.arranger().fitSheetToWindow();
        QApplication::processEvents();
    }
    if (zoom > 0) {
        const auto *scroll = window.findChild<QScrollArea *>(u"sheetScroll"_s);
        const QScreen *screen = window.screen();
        std::fprintf(stderr, "screen %dx%d, zoom %d %%, window %dx%d%s%s%s\n", screen->availableGeometry().width(),
                     screen->availableGeometry().height(), window.zoomPercent(), window.width(), window.height(),
                     s.fit() == lotgrid::ChartSheet::Fit::Narrow    ? ", columns closed up"
                     : s.fit() == lotgrid::ChartSheet::Fit::Stacked ? ", stacked"
                                                                    : "",
                     scroll->horizontalScrollBar()->isVisible() ? ", SCROLLS SIDEWAYS" : "",
                     scroll->verticalScrollBar()->isVisible() ? ", scrolls down" : "");
    }
    const QPixmap picture = window.grab();
    if (!picture.save(file)) {
        std::fprintf(stderr, "could not write %s\n", qPrintable(file));
        return 1;
    }
    return 0;
}
