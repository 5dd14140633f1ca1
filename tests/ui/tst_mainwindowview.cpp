// How the main window presents the chart: the zoom and its memory, the
// desktop's light or dark palette it follows, its keys from every window, and
// its place kept across a cast. How it meets the screen is tst_screenarranger's.
#include "casting/autocast.h"
#include "casting/castdialog.h"
#include "casting/progresswindow.h"
#include "common/mainwindowfixture.h"
#include "common/modal.h"
#include "common/notation.h"
#include "guapan/guapanview.h"
#include "sheet/chartdocument.h"
#include "ui/screenarranger.h"
#include "widgets/chartcolours.h"
#include "widgets/lineglyph.h"
#include "widgets/settingskeys.h"

#include <QComboBox>
#include <QDockWidget>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

using namespace lotgrid;
using namespace Qt::StringLiterals;

class TestMainWindowView : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void captionsExactly();
    void zoomSteps_data();
    void zoomSteps();
    void zoomIsRemembered_data();
    void zoomIsRemembered();
    void zoomScalesTypeGlyphsAndFields();
    void sheetOnADarkDesktop();
    void statusBarHintWithoutDayStem();
    void guapanPaneFollowsAndIsRemembered();
    void yaodianListsPicksAndIsRemembered();
    void noSheetTextUnder9Px();
    void f1OpensHelp();
    void keysFromEveryWindow_data();
    void keysFromEveryWindow();
    void windowComesBackInPlaceAfterACast();
    void toolWindowsOpenOnTheMainWindow_data();
    void toolWindowsOpenOnTheMainWindow();

private:
    Environment environment(int *asked = nullptr);
    QTemporaryDir m_dir;
};

void TestMainWindowView::init()
{
    QVERIFY(m_dir.isValid());
    QFile::remove(m_dir.filePath(u"lotgrid.conf"_s));
}

Environment TestMainWindowView::environment(int *asked)
{
    Environment env = testEnvironment();
    env.settingsFile = m_dir.filePath(u"lotgrid.conf"_s);
    env.ask = [asked](QWidget *, const QString &, const QString &) {
        if (asked)
            ++*asked;
        return false;
    };
    return env;
}

void TestMainWindowView::captionsExactly()
{
    auto w = makeMainWindow(environment());
    w->show();
    QCOMPARE(w->windowTitle(), u"Lotgrid(六爻) V1.0"_s);
    QCOMPARE(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName()); // nothing appended
}

void TestMainWindowView::zoomSteps_data()
{
    QTest::addColumn<QList<int>>("keys"); // 1 zoom in, -1 zoom out, 0 original size
    QTest::addColumn<int>("percent");
    QTest::newRow("in once") << QList<int>{1} << 110;
    QTest::newRow("out once") << QList<int>{-1} << 90;
    QTest::newRow("out to the least") << QList<int>{-1, -1, -1} << 80;
    QTest::newRow("in to the most") << QList<int>(12, 1) << 250;
    QTest::newRow("in then original") << QList<int>{1, 1, 0} << 100;
    QTest::newRow("in twice out once") << QList<int>{1, 1, -1} << 110;
}

// Ctrl+= and Ctrl+- step the zoom between 80 % and 250 %, Ctrl+0 brings back 100 %.
void TestMainWindowView::zoomSteps()
{
    QFETCH(QList<int>, keys);
    QFETCH(int, percent);
    auto w = makeMainWindow(environment());
    w->show();
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    QCOMPARE(w->zoomPercent(), 100);
    for (int key : keys)
        QTest::keyClick(w.get(), key > 0 ? Qt::Key_Equal : key < 0 ? Qt::Key_Minus : Qt::Key_0, Qt::ControlModifier);
    QCOMPARE(w->zoomPercent(), percent);
    QCOMPARE(w->sheet().zoom(), percent / 100.0);
}

void TestMainWindowView::zoomIsRemembered_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("percent");
    QTest::newRow("150") << u"150"_s << 150;
    QTest::newRow("above the most") << u"900"_s << 250;
    QTest::newRow("below the least") << u"10"_s << 80;
    QTest::newRow("not a number") << u"big"_s << 100;
}

void TestMainWindowView::zoomIsRemembered()
{
    QFETCH(QString, stored);
    QFETCH(int, percent);
    {
        auto first = makeMainWindow(environment());
        first->setZoomPercent(175);
    }
    QCOMPARE(QSettings(m_dir.filePath(u"lotgrid.conf"_s), QSettings::IniFormat).value(u"chart/zoom"_s).toInt(), 175);
    QCOMPARE(makeMainWindow(environment())->zoomPercent(), 175);

    QSettings(m_dir.filePath(u"lotgrid.conf"_s), QSettings::IniFormat).setValue(u"chart/zoom"_s, stored);
    QCOMPARE(makeMainWindow(environment())->zoomPercent(), percent);

    Environment none = environment();
    none.settingsFile.clear();
    QCOMPARE(makeMainWindow(none)->zoomPercent(), 100);
}

// Every field of the sheet takes its size from one zoom: type, bold texts,
// glyphs of both columns and the line fields double together.
void TestMainWindowView::zoomScalesTypeGlyphsAndFields()
{
    auto w = makeMainWindow(environment());
    w->show();
    ChartSheet &s = w->sheet();
    setLines(s, u"101001"_s);
    w->yao_Click(2);
    const auto measure = [&s] {
        QApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        return QList<qreal>{s.Lliuqin(1)->font().pointSizeF(),   s.bengua->font().pointSizeF(),
                            s.Lyongshen(2)->font().pointSizeF(), qreal(s.yan(1)->width()),
                            qreal(s.Byan(1)->width()),           qreal(s.Text(1)->width())};
    };
    const QList<qreal> normal = measure();
    QCOMPARE(normal[3], normal[4]); // original and changed glyphs alike
    w->setZoomPercent(200);
    const QList<qreal> doubled = measure();
    for (int i = 0; i < normal.size(); ++i)
        QVERIFY2(qAbs(doubled[i] / normal[i] - 2) < 0.2,
                 qPrintable(u"%1: %2 -> %3"_s.arg(i).arg(normal[i]).arg(doubled[i])));
    QCOMPARE(doubled[3], doubled[4]);
    QVERIFY(s.bengua->font().bold());
    QVERIFY(s.Lyongshen(2)->font().bold());
    QVERIFY(s.Text(1)->font().bold());

    w->setZoomPercent(100);
    QCOMPARE(measure(), normal);
}

// On a dark desktop the sheet turns dark with it, and every coloured field
// still reads at 4.5:1 or better on the ground it stands on.
void TestMainWindowView::sheetOnADarkDesktop()
{
    const QPalette desktop = QApplication::palette();
    QPalette dark(QColor(0x35, 0x35, 0x35), QColor(0x20, 0x20, 0x20));
    dark.setColor(QPalette::WindowText, QColor(0xee, 0xee, 0xee));
    dark.setColor(QPalette::Text, QColor(0xee, 0xee, 0xee));
    dark.setColor(QPalette::Base, QColor(0x10, 0x10, 0x10));
    QApplication::setPalette(dark);
    {
        auto w = makeMainWindow(environment());
        w->show();
        ChartSheet &s = w->sheet();
        setLines(s, u"101001"_s);
        w->yao_Click(2);
        const QColor panel = s.findChild<QFrame *>(u"chartPanel"_s)->palette().color(QPalette::Window);
        QVERIFY2(panel.lightness() < 128, qPrintable(panel.name()));
        for (const QLabel *l : s.findChildren<QLabel *>()) {
            if (l->text().isEmpty() || !l->isVisible())
                continue;
            const QColor ink = l->palette().color(QPalette::WindowText);
            QVERIFY2(contrastRatio(ink, panel) >= 4.5, qPrintable(l->objectName() + u' ' + ink.name()));
        }
        QVERIFY(contrastRatio(s.Text(1)->palette().color(QPalette::Text), s.Text(1)->palette().color(QPalette::Base))
                >= 4.5);
        // A moving line's locked field shows its value in colour, not greyed; its boxes keep their look.
        s.co(1)->click();
        const QPalette field = s.Text(1)->palette();
        const QColor moving = field.color(QPalette::Disabled, QPalette::Text);
        QVERIFY(!s.Text(1)->isEnabled() && moving != field.color(QPalette::Active, QPalette::Text));
        QVERIFY(contrastRatio(moving, field.color(QPalette::Disabled, QPalette::Base)) >= 4.5);
        for (const QPalette::ColorRole role : {QPalette::Text, QPalette::Base, QPalette::WindowText})
            QCOMPARE(s.cx(1)->palette().color(QPalette::Disabled, role), s.cx(1)->palette().color(role));
    }
    QApplication::setPalette(desktop);
}

// Six lines without a day stem: the status bar tells how to get one, until 按时间排盘 fills it.
void TestMainWindowView::statusBarHintWithoutDayStem()
{
    auto w = makeMainWindow(environment());
    w->show();
    auto *hint = w->statusBar()->findChild<QLabel *>(u"zhuangtaiHint"_s);
    QVERIFY(hint && hint->text().isEmpty());
    setLines(w->sheet(), u"101001"_s);
    QVERIFY(hint->text().contains(u"按时间排盘"_s));
    w->sheet().ansj->click();
    QVERIFY(hint->text().isEmpty());
}

// The pane draws every chart the document holds, and stays hidden once hidden.
void TestMainWindowView::guapanPaneFollowsAndIsRemembered()
{
    {
        auto w = makeMainWindow(environment());
        w->show();
        auto *view = w->findChild<GuapanView *>(u"guapan"_s);
        QVERIFY(view && view->isVisible());
        QVERIFY(!view->model().complete);
        setLines(w->sheet(), u"111111"_s);
        QCOMPARE(view->model().original.name, u"乾为天"_s);
        w->document().setLine(1, u'0'); // the bottom line broken: 天风姤
        QCOMPARE(view->model().original.name, u"天风姤"_s);
        w->sheet().TextWHS->setText(u"问财"_s);
        QCOMPARE(view->words().question, u"问财"_s);
        w->findChild<QAction *>(u"guapanPane"_s)->trigger();
        QVERIFY(!view->isVisible());
    }
    auto w = makeMainWindow(environment());
    w->show();
    QVERIFY(!w->findChild<GuapanView *>(u"guapan"_s)->isVisible());
    QVERIFY(!w->findChild<QAction *>(u"guapanPane"_s)->isChecked());
}

// 乾为天 asked about wealth in a 亥 month on a 甲寅 day: the use god is 寅 on line 2.
void TestMainWindowView::yaodianListsPicksAndIsRemembered()
{
    {
        auto w = makeMainWindow(environment());
        w->show();
        auto *toggle = w->findChild<QAction *>(u"yaodian"_s);
        auto *dock = w->findChild<QDockWidget *>(u"yaodian"_s);
        QVERIFY(toggle && dock && dock->isHidden());
        QCOMPARE(dock->windowTitle(), u"断卦要点"_s);
        toggle->trigger();
        QVERIFY(dock->isVisible());
        setLines(w->sheet(), u"111111"_s);
        w->document().setDayStem(0);
        w->document().setDayBuild(Branch::Yin);
        w->document().setMonthBuild(Branch::Hai);
        w->document().setCategory(Category::Wealth);
        auto *list = dock->findChild<QListWidget *>(u"yaodianList"_s);
        QVERIFY(list->count() > 0);
        QVERIFY(dock->findChild<QLabel *>(u"yaodianTrend"_s)->text().startsWith(u"趋势：有利"_s));
        QVERIFY(dock->findChild<QLabel *>(u"yaodianNote"_s)->text().contains(u"不是断语"_s));
        QListWidgetItem *useGod = list->item(0);
        QVERIFY(useGod->text().contains(u"二爻妻财寅木"_s));
        QVERIFY(useGod->toolTip().contains(u"增删卜易"_s));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(useGod).center());
        auto *view = w->findChild<GuapanView *>(u"guapan"_s);
        for (const GuapanRowModel &row : view->model().rows)
            QCOMPARE(row.picked, row.line == 2);
        QVERIFY(w->sheet().Lliuqin(2)->autoFillBackground());
        QVERIFY(!w->sheet().Lliuqin(3)->autoFillBackground());
        w->document().setLine(1, u'0'); // another chart clears the pick
        QVERIFY(!w->sheet().Lliuqin(2)->autoFillBackground());
    }
    auto w = makeMainWindow(environment());
    w->show();
    QVERIFY(w->findChild<QDockWidget *>(u"yaodian"_s)->isVisible());
    QVERIFY(w->findChild<QAction *>(u"yaodian"_s)->isChecked());
}

// At the least zoom no text of the sheet or the pane is drawn under 9 pixels.
void TestMainWindowView::noSheetTextUnder9Px()
{
    auto w = makeMainWindow(environment());
    w->show();
    setLines(w->sheet(), u"101001"_s);
    w->sheet().ansj->click();
    w->setZoomPercent(80);
    QApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    for (const QLabel *l : w->sheet().findChildren<QLabel *>())
        if (l->isVisible() && !l->text().isEmpty())
            QVERIFY2(QFontInfo(l->font()).pixelSize() >= 9, qPrintable(l->objectName() + u' ' + l->text()));
    const GuapanLayout &drawing = w->findChild<GuapanView *>(u"guapan"_s)->guapanLayout();
    for (const QFont &f : {drawing.small, drawing.body, drawing.title})
        QVERIFY2(QFontInfo(f).pixelSize() >= 9, qPrintable(QString::number(QFontInfo(f).pixelSize())));
}

void TestMainWindowView::f1OpensHelp()
{
    auto w = makeMainWindow(environment());
    w->show();
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    QTest::keyClick(w.get(), Qt::Key_F1);
    auto *help = w->findChild<QWidget *>(u"Helpf"_s);
    QVERIFY(help && help->isVisible());
}

void TestMainWindowView::keysFromEveryWindow_data()
{
    QTest::addColumn<QString>("opener");
    QTest::addColumn<QString>("window");
    QTest::newRow("query") << u"chaxun"_s << u"Fenshen"_s;
    QTest::newRow("void table") << u"xunk"_s << u"Liujia"_s;
    QTest::newRow("seasons") << u"wx"_s << u"Sswx1"_s;
    QTest::newRow("help") << u"help1"_s << u"Helpf"_s;
}

// With another of the program's windows in front, Ctrl+N asks about a new
// chart, Ctrl+= zooms the chart and Ctrl+Q ends the program.
void TestMainWindowView::keysFromEveryWindow()
{
    QFETCH(QString, opener);
    QFETCH(QString, window);
    int asked = 0, quit = 0;
    Environment env = environment(&asked);
    env.quit = [&quit] { ++quit; };
    auto w = makeMainWindow(env);
    setLines(w->sheet(), u"101010"_s); // a chart kept nowhere, which Ctrl+N asks about
    w->show();
    // The sheet fitted to a window smaller than it (the test screen is small) is not what this checks.
    QObject::disconnect(w->arranger().fitTimer, nullptr, &w->arranger(), nullptr);
    w->findChild<QAction *>(opener)->trigger();
    auto *front = w->findChild<QWidget *>(window);
    QVERIFY(front && front->isVisible());
    front->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(front));
    QWidget *target = front->focusWidget() ? front->focusWidget() : front;

    QTest::keyClick(target, Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(asked, 1);
    QTest::keyClick(target, Qt::Key_Equal, Qt::ControlModifier);
    QCOMPARE(w->zoomPercent(), 110);
    QTest::keyClick(target, Qt::Key_0, Qt::ControlModifier);
    QCOMPARE(w->zoomPercent(), 100);
    QTest::keyClick(target, Qt::Key_Q, Qt::ControlModifier);
    QCOMPARE(quit, 1);
}

void TestMainWindowView::windowComesBackInPlaceAfterACast()
{
    auto w = makeMainWindow(environment());
    w->show();
    w->move(137, 91);
    w->resize(w->size() + QSize(33, 21));
    const QRect before = w->geometry();

    w->findChild<QAction *>(u"zd"_s)->trigger();
    CastDialog *tools = w->autoCast().tools();
    QVERIFY(tools);
    tools->TextWHS->setText(u"问事"_s);
    tools->Combo1->setCurrentText(u"男"_s);
    tools->Command1->click();
    QVERIFY(w->isHidden());
    w->move(0, 0); // wherever a desktop might put it meanwhile
    QPointer<ProgressWindow> zg = w->autoCast().zg();
    for (int i = 0; zg && !zg->castDone() && i < 200; ++i) {
        zg->stepTimer1();
        zg->stepTimer2();
    }
    QVERIFY(w->isVisible());
    QCOMPARE(w->geometry(), before);
    w->autoCast().stepTimer6y(); // nor does the chart the cast completes move or grow it
    QApplication::processEvents();
    QCOMPARE(w->geometry(), before);
}

void TestMainWindowView::toolWindowsOpenOnTheMainWindow_data()
{
    QTest::addColumn<QString>("screen");
    for (const char *screen : {"desktop", "1024x768", "1280x800@2"})
        QTest::newRow(screen) << QString::fromLatin1(screen);
}

// A tool window opens wholly on the main window's screen, centred on the main
// window but where that would cross an edge of the screen: there it stands
// against that edge. The main window does not move.
void TestMainWindowView::toolWindowsOpenOnTheMainWindow()
{
    QFETCH(QString, screen);
    const auto screens = QGuiApplication::screens();
    QScreen *on = *std::ranges::find_if(screens, [&](const QScreen *s) { return s->name() == screen; });
    const QRect area = on->availableGeometry();
    auto w = makeMainWindow(environment());
    w->setScreen(on);
    w->move(area.topLeft() + QPoint(area.width() / 3, area.height() / 3)); // the right and bottom edges cross
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    const QRect main = w->frameGeometry();
    w->findChild<QAction *>(u"help1"_s)->trigger();
    const QRect frame = w->findChild<QWidget *>(u"Helpf"_s)->frameGeometry();
    QVERIFY(area.contains(frame));
    const QPoint off = frame.center() - main.center();
    QVERIFY(qAbs(off.x()) <= 1 || frame.left() == area.left() || frame.right() == area.right());
    QVERIFY(qAbs(off.y()) <= 1 || frame.top() == area.top() || frame.bottom() == area.bottom());
    QCOMPARE(w->frameGeometry(), main);
}

QTEST_MAIN(TestMainWindowView)
#include "tst_mainwindowview.moc"
