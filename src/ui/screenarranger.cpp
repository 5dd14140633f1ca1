#include "ui/screenarranger.h"

#include "sheet/chartsheet.h"
#include "ui/guapanpane.h"

#include <QAction>
#include <QCoreApplication>
#include <QDockWidget>
#include <QMainWindow>
#include <QMenuBar>
#include <QResizeEvent>
#include <QScopedValueRollback>
#include <QScreen>
#include <QScrollArea>
#include <QShowEvent>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QWindow>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace lotgrid {

namespace {

class SheetScrollArea : public QScrollArea
{
public:
    SheetScrollArea(QWidget *sheet, std::function<void()> sheetResized, QWidget *parent)
        : QScrollArea(parent)
        , m_sheetResized(std::move(sheetResized))
    {
        setFrameShape(QFrame::NoFrame);
        setWidgetResizable(true);
        setWidget(sheet);
        sheet->installEventFilter(this);
    }
    QSize sizeHint() const override { return widget()->sizeHint(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const bool handled = QScrollArea::eventFilter(watched, event);
        if (watched == widget() && event->type() == QEvent::LayoutRequest)
            m_sheetResized();
        return handled;
    }

private:
    std::function<void()> m_sheetResized;
};

} // namespace

QScrollArea *sheetScrollArea(QWidget *sheet, std::function<void()> sheetResized, QWidget *parent)
{
    return new SheetScrollArea(sheet, std::move(sheetResized), parent);
}

ScreenArranger::ScreenArranger(QMainWindow &window, ChartSheet &sheet, GuapanPane &pane, int zoomPercent,
                               std::function<QSize()> room)
    : QObject(&window)
    , fitTimer(new QTimer(this))
    , m_window(window)
    , m_sheet(sheet)
    , m_pane(pane)
    , m_room(std::move(room))
    , m_zoomPercent(std::clamp(zoomPercent, ZoomSteps.front(), ZoomSteps.back()))
{
    setObjectName(u"screenArranger"_s);
    m_sheet.setZoom(m_zoomPercent / 100.0);
    m_pane.setZoom(m_zoomPercent / 100.0); // a remembered zoom draws the 卦盘 at it from the start
    fitTimer->setObjectName(u"fitTimer"_s);
    fitTimer->setSingleShot(true);
    fitTimer->setInterval(40); // a resize by hand settles before the sheet follows it
    connect(fitTimer, &QTimer::timeout, this, &ScreenArranger::fitSheetToWindow);

    // Shown, the pane takes the place the screen leaves it; moved by the user,
    // it stays where it was put and the sheet makes room beside it. Either way
    // once the dock has settled.
    const auto rearrange = [this](bool movePane) {
        // Before the window's first show, which arranges it, the dock's own showing is not a change.
        if (m_sized && m_window.isVisible() && !m_fitting && !m_placingPane && normal())
            arrangeLater(movePane);
    };
    QDockWidget *dock = m_pane.dock();
    // Shown by the user, not with the window (as after 自动卜卦, which hides it for the cast).
    connect(dock->toggleViewAction(), &QAction::triggered, this, [rearrange](bool shown) { rearrange(shown); });
    connect(dock, &QDockWidget::dockLocationChanged, this, [rearrange] { rearrange(false); });
    connect(dock, &QDockWidget::topLevelChanged, this, [rearrange] { rearrange(false); });
    connect(&m_pane, &GuapanPane::drawingResized, this, [this] {
        // A new drawing never grows the window: the pane takes the room the sheet leaves.
        if (m_window.isVisible() && !m_fitting && normal() && !m_pane.showsWhole())
            m_pane.fitDock(m_window.centralWidget()->sizeHint());
    });
    m_window.installEventFilter(this);
}

bool ScreenArranger::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != &m_window)
        return false;
    if (event->type() == QEvent::Show && !event->spontaneous() && !m_sized) {
        // Sized when first shown, once the sheet holds today's line and its style.
        m_sized = true;
        arrangeForScreen(true);
        sizeWindowToSheet();
        m_settledZoom = m_zoomPercent;
        // On another screen the sheet and the pane are arranged for its width.
        if (QWindow *handle = m_window.windowHandle())
            connect(handle, &QWindow::screenChanged, this, [this] {
                if (!normal())
                    return;
                arrangeForScreen(true);
                sizeWindowToSheet();
            });
    } else if (event->type() == QEvent::Resize) {
        // Sizes given before the window shows are the program's own, as are those
        // it gives for a zoom; the sheet follows the others.
        if (m_window.isVisible() && m_window.size() != m_sizeForZoom)
            fitTimer->start();
    }
    return false;
}

bool ScreenArranger::normal() const
{
    return !(m_window.windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen));
}

QSize ScreenArranger::screenRoom() const
{
    if (m_room)
        return m_room();
    const QScreen *screen = m_window.screen();
    return screen ? screen->availableGeometry().size() * 0.95 : QSize();
}

int ScreenArranger::barsHeight() const
{
    return m_window.menuBar()->sizeHint().height() + m_window.statusBar()->sizeHint().height();
}

void ScreenArranger::zoomTo(int percent)
{
    // The window's size at 100 %, given back when the zoom returns there.
    const bool normal = this->normal();
    QDockWidget *dock = m_pane.dock();
    if (m_zoomPercent == 100 && percent != 100 && m_window.isVisible() && normal) {
        m_sizeAt100 = m_window.size();
        m_paneAt100 = dock->size();
    }
    applyZoom(percent);
    if (m_zoomPercent == 100 && m_sizeAt100.isValid() && normal) {
        // The sheet's new measures settle first, so they do not size the window again.
        m_fitting = true;
        arrangeForScreen(true);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        m_sizeForZoom = m_sizeAt100;
        m_window.resize(m_sizeAt100);
        if (m_paneAt100.isValid() && dock->isVisible() && !dock->isFloating()) {
            const bool below = m_window.dockWidgetArea(dock) == Qt::BottomDockWidgetArea;
            m_window.resizeDocks({dock}, {below ? m_paneAt100.height() : m_paneAt100.width()},
                                 below ? Qt::Vertical : Qt::Horizontal);
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        m_fitting = false;
        m_settledZoom = m_zoomPercent;
        return;
    }
    arrangeForScreen(true);
    sizeWindowToSheet();
}

// With `movePane`, a pane put under the sheet for want of width comes back
// beside it once the zoom leaves room there; a pane the user put under the
// sheet stays there. `within` is the room, by default the screen's.
void ScreenArranger::arrangeForScreen(bool movePane, QSize within)
{
    const QSize room = within.isValid() ? within : screenRoom();
    if (!room.isValid())
        return;
    using Fit = ChartSheet::Fit;
    QDockWidget *dock = m_pane.dock();
    const bool docked = dock->isVisibleTo(&m_window) && !dock->isFloating();
    const bool below = docked && m_window.dockWidgetArea(dock) == Qt::BottomDockWidgetArea;
    const bool mayBeBeside = docked && (movePane ? !below || m_paneBelowForRoom : !below);
    const int chrome = barsHeight();
    const int bar = m_window.style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    // The sheet fits where its width, a vertical scroll bar if it is taller than
    // the window can be, and the pane beside it, take no more than the room.
    // Beside the pane the sheet has the width it asks for, the pane the rest.
    const auto fits = [&](Fit fit, bool beside) {
        m_sheet.setFit(fit);
        const QSize sheet = m_sheet.sizeHint();
        const bool scrolls = sheet.height() + chrome > room.height();
        const int width = beside ? sheet.width() + m_pane.widthBeside() : m_sheet.minimumSizeHint().width();
        return width + (scrolls ? bar : 0) <= room.width();
    };
    bool beside = docked && !below && !movePane;
    Fit chosen = Fit::Stacked;
    if (beside)
        chosen = fits(Fit::Wide, true) ? Fit::Wide : fits(Fit::Narrow, true) ? Fit::Narrow : Fit::Stacked;
    else if (mayBeBeside && (fits(Fit::Wide, true) || fits(Fit::Narrow, true))) {
        beside = true;
        chosen = m_sheet.fit();
    } else
        chosen = fits(Fit::Wide, false) ? Fit::Wide : fits(Fit::Narrow, false) ? Fit::Narrow : Fit::Stacked;
    m_sheet.setFit(chosen);
    m_arrangedWidth = m_sheet.minimumSizeHint().width();
    if (!docked || !movePane)
        return;
    // The dock's signals of this move are the program's own, not a move by the user.
    const QScopedValueRollback placing(m_placingPane, true);
    if (!beside && !below) {
        m_window.addDockWidget(Qt::BottomDockWidgetArea, dock);
        m_paneBelowForRoom = true;
    } else if (beside && below) {
        m_window.addDockWidget(Qt::RightDockWidgetArea, dock);
        m_paneBelowForRoom = false;
    }
}

void ScreenArranger::applyZoom(int percent)
{
    percent = std::clamp(percent, ZoomSteps.front(), ZoomSteps.back());
    if (percent == m_zoomPercent)
        return;
    m_zoomPercent = percent;
    m_sheet.setZoom(percent / 100.0);
    m_pane.setZoom(percent / 100.0);
}

// A window of normal state takes the size of the whole sheet at its zoom (and
// at least `atLeast`), as far as the screen allows; a maximised or full-screen
// window keeps its size.
void ScreenArranger::sizeWindowToSheet(QSize atLeast)
{
    if (!normal())
        return;
    m_window.ensurePolished();
    const QSize room = screenRoom();
    // A sheet taller than the window can be scrolls down: its scroll bar takes width too.
    QSize sheet = m_window.centralWidget()->sizeHint();
    if (room.isValid() && sheet.height() + barsHeight() > room.height())
        sheet.rwidth() += m_window.style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    QSize wanted = m_pane.besideSheet(sheet);
    wanted.rheight() += barsHeight();
    wanted = wanted.expandedTo(m_window.sizeHint());
    if (room.isValid())
        wanted = wanted.boundedTo(room);
    wanted = wanted.expandedTo(atLeast); // a window made larger by hand is not shrunk
    m_sizeForZoom = wanted;
    m_window.resize(wanted);
    m_sizeForZoom = m_window.size(); // as the window's least size allows
    m_pane.fitDock(sheet);
}

// Once the event being handled is over, the sheet is arranged again and, with
// `mayGrow`, the window sized to it, no smaller than it is; without, the sheet
// is arranged for the window as it stands. Not once the window is hidden.
void ScreenArranger::arrangeLater(bool movePane, bool mayGrow)
{
    QTimer::singleShot(0, this, [this, movePane, mayGrow] {
        if (m_fitting || !m_window.isVisible())
            return;
        if (mayGrow) {
            arrangeForScreen(movePane);
            sizeWindowToSheet(m_window.size());
            m_settledZoom = m_zoomPercent;
            return;
        }
        // Arranged for the window as it stands, which neither moves nor grows.
        arrangeForScreen(movePane, m_window.size());
        m_pane.fitDock(m_window.centralWidget()->sizeHint());
    });
}

void ScreenArranger::keepSheetWhole()
{
    if (!m_window.isVisible() || m_fitting)
        return;
    const bool normal = this->normal();
    // What the sheet shows changed its least width: it is arranged again once
    // this layout pass is over. Trying the arrangements lays the sheet out
    // again, at the width it was arranged for, so this runs once per change.
    // Only a new zoom grows the window; what the sheet shows at the zoom the
    // window was sized for is arranged for the window as it stands.
    const bool mayGrow = m_zoomPercent != m_settledZoom;
    if (normal && m_sheet.minimumSizeHint().width() != m_arrangedWidth) {
        m_arrangedWidth = m_sheet.minimumSizeHint().width();
        arrangeLater(false, mayGrow);
        return;
    }
    const QSize need = m_sheet.sizeHint();
    const QSize room = m_window.centralWidget()->size();
    if (need.width() <= room.width() && need.height() <= room.height())
        return;
    if (!normal)
        fitSheetToWindow();
    else if (mayGrow) {
        sizeWindowToSheet(m_window.size());
        m_settledZoom = m_zoomPercent;
    }
}

void ScreenArranger::fitSheetToWindow()
{
    const QSize room = m_window.centralWidget()->size();
    if (room.isEmpty() || m_fitting)
        return;
    m_fitting = true;
    m_sheet.setFit(ChartSheet::Fit::Wide);
    // Type, fields and spacings scale together, so a few passes settle the zoom
    // whose sheet fills the room in one direction and fits in the other.
    for (int pass = 0; pass < 4; ++pass) {
        const QSize need = m_sheet.sizeHint();
        const qreal scale = std::min(qreal(room.width()) / need.width(), qreal(room.height()) / need.height());
        const int percent = std::clamp(static_cast<int>(m_zoomPercent * scale), ZoomSteps.front(), ZoomSteps.back());
        if (percent == m_zoomPercent)
            break;
        applyZoom(percent);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest); // the sheet's new size, measured
    }
    // Fields that do not grow in proportion (the date field, the buttons) can
    // leave the sheet a little too large: step back until it fits.
    for (int guard = 0; guard < 40 && m_zoomPercent > ZoomSteps.front(); ++guard) {
        const QSize need = m_sheet.sizeHint();
        if (need.width() <= room.width() && need.height() <= room.height())
            break;
        if (need.width() > room.width() && m_sheet.fit() == ChartSheet::Fit::Wide)
            m_sheet.setFit(ChartSheet::Fit::Narrow); // the columns close up before the type shrinks
        else
            applyZoom(m_zoomPercent - 2);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    }
    m_fitting = false;
    m_settledZoom = m_zoomPercent; // the zoom of the window's own size
}

} // namespace lotgrid
