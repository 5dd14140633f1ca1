// How the main window meets its screen (ScreenArranger): the sheet closed up
// or stacked and the 卦盘 pane under it where the room is narrow, the window
// sized to them, the sheet zoomed to fill a window resized by hand. On the
// screens of screens.json and on rooms of a made-up size.
#include "common/mainwindowfixture.h"
#include "common/notation.h"
#include "guapan/guapanview.h"
#include "ui/screenarranger.h"
#include "widgets/settingskeys.h"

#include <QDockWidget>
#include <QFrame>
#include <QMainWindow>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

using namespace lotgrid;
using namespace Qt::StringLiterals;

class TestScreenArranger : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void largerWindowGrowsTheChart();
    void originalSizeGivesTheWindowBack_data();
    void originalSizeGivesTheWindowBack();
    void smallScreensScrollOnlyDown_data();
    void smallScreensScrollOnlyDown();
    void madeUpRooms_data();
    void madeUpRooms();
    void paneTheUserPutBelowStays();

private:
    Environment environment(QSize *room = nullptr);
    QTemporaryDir m_dir;
};

void TestScreenArranger::init()
{
    QVERIFY(m_dir.isValid());
    QFile::remove(m_dir.filePath(u"lotgrid.conf"_s));
}

// What is wrong with the 卦盘 pane, if anything: a sideways scroll bar, a drawing
// wider than the pane (a line's words cut off at its right), type under 9 px.
QString paneFits(const MainWindow &w)
{
    const auto *area = w.findChild<QDockWidget *>(u"guapanDock"_s)->findChild<QAbstractScrollArea *>();
    const GuapanLayout &layout = w.findChild<GuapanView *>(u"guapan"_s)->guapanLayout();
    if (area->isVisible()
        && (area->horizontalScrollBar()->isVisible() || layout.size.width() > area->viewport()->width()
            || layout.small.pixelSize() < 9))
        return u"the 卦盘 %1 px wide in %2, type %3 px"_s.arg(layout.size.width())
            .arg(area->viewport()->width())
            .arg(layout.small.pixelSize());
    return {};
}

// With `room`, the window's room is that size, whatever the screen.
Environment TestScreenArranger::environment(QSize *room)
{
    Environment env = testEnvironment();
    env.settingsFile = m_dir.filePath(u"lotgrid.conf"_s);
    env.ask = [](QWidget *, const QString &, const QString &) { return false; };
    if (room)
        env.screenRoom = [room] { return *room; };
    return env;
}

void TestScreenArranger::largerWindowGrowsTheChart()
{
    auto w = makeMainWindow(environment());
    w->findChild<QDockWidget *>(u"guapanDock"_s)->hide(); // the sheet alone is what grows here
    w->show();
    const QSize start = w->size();
    w->arranger().fitSheetToWindow();
    const int startZoom = w->zoomPercent(); // 100, or less where the screen is too small for the sheet
    const QSize chart = w->sheet().findChild<QFrame *>(u"chartPanel"_s)->size();
    w->resize(start * 2);
    w->arranger().fitSheetToWindow();
    QVERIFY2(w->zoomPercent() >= std::min(180, startZoom * 18 / 10),
             qPrintable(u"%1 -> %2"_s.arg(startZoom).arg(w->zoomPercent())));
    QApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    const QSize grown = w->sheet().findChild<QFrame *>(u"chartPanel"_s)->size();
    QVERIFY2(grown.height() >= chart.height() * 3 / 2,
             qPrintable(u"%1 -> %2"_s.arg(chart.height()).arg(grown.height())));
    // The whole sheet still fits the window.
    QVERIFY(w->sheet().sizeHint().width() <= w->centralWidget()->width());
    QVERIFY(w->sheet().sizeHint().height() <= w->centralWidget()->height());
    // The remembered zoom is the one chosen with the commands.
    QVERIFY(!QFile::exists(m_dir.filePath(u"lotgrid.conf"_s)));

    w->resize(start);
    w->arranger().fitSheetToWindow();
    QVERIFY2(qAbs(w->zoomPercent() - startZoom) <= 10, qPrintable(QString::number(w->zoomPercent())));
}

void TestScreenArranger::originalSizeGivesTheWindowBack_data()
{
    QTest::addColumn<int>("percent");
    for (const int percent : {80, 150, 250})
        QTest::addRow("%d %%", percent) << percent;
}

// Ctrl+0 gives the window back the size it had at 100 %.
void TestScreenArranger::originalSizeGivesTheWindowBack()
{
    QFETCH(int, percent);
    auto w = makeMainWindow(environment());
    w->show();
    const QSize at100 = w->size();
    w->setZoomPercent(percent);
    w->zoomReset();
    QApplication::processEvents();
    QCOMPARE(w->size(), at100);
}

void TestScreenArranger::smallScreensScrollOnlyDown_data()
{
    QTest::addColumn<QString>("screen");
    for (const char *name : {"1024x768", "1366x768", "1280x800@2"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

// On a small screen, at every zoom, neither the sheet nor the 卦盘 pane
// scrolls sideways while the window has height to spare: the columns close up,
// the changed hexagram goes under the original and the pane under the sheet
// first. Ctrl+0 then gives the window back its size at 100 %.
void TestScreenArranger::smallScreensScrollOnlyDown()
{
    QFETCH(QString, screen);
    const auto screens = QGuiApplication::screens();
    const auto at = std::ranges::find_if(screens, [&](const QScreen *s) { return s->name() == screen; });
    QVERIFY2(at != screens.end(), "the test's screens are listed in screens.json");
    auto w = makeMainWindow(environment());
    w->setScreen(*at);
    w->move((*at)->availableGeometry().topLeft());
    w->loadCast(castOf(u"897879"));
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    const QSize at100 = w->size();
    const int tallest = (*at)->availableGeometry().height() * 95 / 100;
    const QAbstractScrollArea *sheetArea = w->findChild<QAbstractScrollArea *>(u"sheetScroll"_s);
    const QAbstractScrollArea *paneArea
        = w->findChild<QDockWidget *>(u"guapanDock"_s)->findChild<QAbstractScrollArea *>();
    // Sideways scrolling of the sheet is wrong only where the window could still grow
    // taller; the 卦盘 never scrolls sideways.
    const auto sideways = [&]() -> QString {
        const QString when = u" at %1 %: window %2×%3"_s.arg(w->zoomPercent()).arg(w->width()).arg(w->height());
        for (const QAbstractScrollArea *area : {sheetArea, paneArea})
            if (w->height() < tallest && area->horizontalScrollBar()->isVisible())
                return area->objectName() + when;
        const QString pane = paneFits(*w);
        return pane.isEmpty() ? pane : pane + when;
    };
    for (const int percent : {80, 90, 100, 110, 125, 150, 175, 200, 225, 250}) {
        w->setZoomPercent(percent);
        // The dock and the scroll bars settle over a few turns of the event loop.
        QTRY_VERIFY2_WITH_TIMEOUT(sideways().isEmpty(), qPrintable(sideways()), 2000);
    }
    w->zoomReset();
    QApplication::processEvents();
    QCOMPARE(w->size(), at100);

    // A pane hidden when the window opened comes back where it shows whole.
    QSettings(m_dir.filePath(u"lotgrid.conf"_s), QSettings::IniFormat).setValue(settingskeys::GuapanShown, false);
    auto hidden = makeMainWindow(environment());
    hidden->setScreen(*at);
    hidden->move((*at)->availableGeometry().topLeft());
    hidden->loadCast(castOf(u"897879"));
    hidden->show();
    QVERIFY(QTest::qWaitForWindowExposed(hidden.get()));
    hidden->findChild<QAction *>(u"guapanPane"_s)->trigger();
    const auto *pane = hidden->findChild<QDockWidget *>(u"guapanDock"_s)->findChild<QAbstractScrollArea *>();
    QTRY_VERIFY_WITH_TIMEOUT(pane->isVisible() && !pane->horizontalScrollBar()->isVisible(), 2000);
}

void TestScreenArranger::madeUpRooms_data()
{
    QTest::addColumn<QSize>("room");
    QTest::addColumn<bool>("roomy"); // the sheet as drawn and the pane beside it fit at 100 %
    QTest::newRow("1824×1026, of 1920×1080") << QSize(1824, 1026) << true;
    QTest::newRow("1520×855, of 1600×900") << QSize(1520, 855) << false;
    QTest::newRow("1216×684, of 1280×720") << QSize(1216, 684) << false;
    QTest::newRow("760×570, of 800×600") << QSize(760, 570) << false;
    QTest::newRow("1140×1800, of a tall 1200×1920") << QSize(1140, 1800) << false;
}

// In any room, at every zoom, the window stays inside it and nothing scrolls
// sideways while the window could still grow taller; back at 100 % a room wide
// enough has the sheet as drawn and the pane beside it again.
void TestScreenArranger::madeUpRooms()
{
    QFETCH(QSize, room);
    QFETCH(bool, roomy);
    auto w = makeMainWindow(environment(&room));
    w->loadCast(castOf(u"897879"));
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    auto *dock = w->findChild<QDockWidget *>(u"guapanDock"_s);
    const auto wrong = [&]() -> QString {
        const QString at = u" at %1 %: window %2×%3"_s.arg(w->zoomPercent()).arg(w->width()).arg(w->height());
        if (w->width() > room.width() || w->height() > room.height())
            return u"larger than the room"_s + at;
        for (const QAbstractScrollArea *area :
             {w->findChild<QAbstractScrollArea *>(u"sheetScroll"_s), dock->findChild<QAbstractScrollArea *>()})
            if (w->height() < room.height() && area->horizontalScrollBar()->isVisible())
                return area->objectName() + u" scrolls sideways"_s + at;
        const QString pane = paneFits(*w);
        return pane.isEmpty() ? pane : pane + at;
    };
    bool wentBelow = false;
    for (const int percent : ZoomSteps) {
        w->setZoomPercent(percent);
        QTRY_VERIFY2_WITH_TIMEOUT(wrong().isEmpty(), qPrintable(wrong()), 2000);
        wentBelow = wentBelow || w->dockWidgetArea(dock) == Qt::BottomDockWidgetArea;
    }
    w->zoomReset();
    QTRY_VERIFY2_WITH_TIMEOUT(wrong().isEmpty(), qPrintable(wrong()), 2000);
    if (roomy) { // the pane went under the sheet at a large zoom, and came back
        QVERIFY(wentBelow);
        QCOMPARE(w->sheet().fit(), ChartSheet::Fit::Wide);
        QCOMPARE(w->dockWidgetArea(dock), Qt::RightDockWidgetArea);
    }
}

// A pane the user docks under the sheet stays there through the zooms, though
// the room has width for it beside the sheet.
void TestScreenArranger::paneTheUserPutBelowStays()
{
    QSize room(1824, 1026);
    auto w = makeMainWindow(environment(&room));
    w->loadCast(castOf(u"897879"));
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    auto *dock = w->findChild<QDockWidget *>(u"guapanDock"_s);
    QCOMPARE(w->dockWidgetArea(dock), Qt::RightDockWidgetArea);
    w->addDockWidget(Qt::BottomDockWidgetArea, dock);
    for (const int percent : {150, 80, 100}) {
        w->setZoomPercent(percent);
        QApplication::processEvents();
        QCOMPARE(w->dockWidgetArea(dock), Qt::BottomDockWidgetArea);
    }
}

QTEST_MAIN(TestScreenArranger)
#include "tst_screenarranger.moc"
