#pragma once
// How the main window meets its screen: the chart's zoom, the arrangement of
// the sheet (ChartSheet::Fit: Wide as drawn, Narrow with its columns closed
// up, Stacked with the changed hexagram under the original), the place of a
// docked 卦盘 pane, and the window's size.
//
// What holds, on a screen whose room (95 % of its available area) is W × H:
// - Of Wide, Narrow and Stacked the sheet takes the first whose width fits in
//   W: its least width, a vertical scroll bar where sheet and bars are taller
//   than H, and, with the pane beside it, the pane's whole drawing. Beside a
//   pane the sheet only closes up; it stacks only under a pane, or beside one
//   that stays there until the zoom moves it.
// - A docked pane stands beside the sheet where both fit side by side, else
//   under it in the height the sheet leaves. A pane put under the sheet for
//   want of width comes back beside it once the zoom leaves room there; a pane
//   the user put under the sheet, or moved anywhere, stays where it was put and
//   the sheet makes room. The program's own moves of the pane are never taken
//   for the user's.
// - A window of normal state takes the size of the whole sheet and the pane at
//   the zoom, never more than the room, and a window made larger by hand is not
//   shrunk when the sheet is arranged again. A maximised or full-screen window
//   keeps its size: the sheet is zoomed to fill it instead.
// - The window's sizes the program gives (before it shows, for a zoom) leave
//   the zoom as it is; after a resize by the user, `fitTimer` zooms the sheet to
//   fill the window. Back at 100 % the window takes its size at 100 % again.
// - The sheet is arranged again only when what it shows changes its least
//   width, once that layout pass is over, and not once the window is hidden:
//   an idle window is never rearranged. What the sheet or the 卦盘 shows never
//   moves or grows the window: they are arranged for the window as it stands,
//   and scroll down where it is too short.

#include <QObject>
#include <QSize>

#include <array>
#include <functional>

class QMainWindow;
class QScrollArea;
class QTimer;
class QWidget;

namespace lotgrid {

class ChartSheet;
class GuapanPane;

// The chart's zoom steps, in percent; Ctrl+= and Ctrl+- move one step.
inline constexpr std::array<int, 10> ZoomSteps{80, 90, 100, 110, 125, 150, 175, 200, 225, 250};

// The scroll area the sheet stands in: it asks for room to show the whole
// sheet, scrolls it when the window is smaller, and calls `sheetResized` when
// the sheet's size changes (fields filled, zoom).
QScrollArea *sheetScrollArea(QWidget *sheet, std::function<void()> sheetResized, QWidget *parent);

class ScreenArranger : public QObject
{
    Q_OBJECT
public:
    // Arranges `window`, whose central widget is the sheet's scroll area and
    // which docks the pane. The sheet starts at `zoomPercent` (80 to 250); the
    // pane takes the zoom from its next change. `room` gives the room the window
    // may take; by default 95 % of its screen's available area.
    ScreenArranger(QMainWindow &window, ChartSheet &sheet, GuapanPane &pane, int zoomPercent,
                   std::function<QSize()> room = {});

    int zoomPercent() const { return m_zoomPercent; }
    // The zoom of the commands: the sheet arranged anew and a window of normal
    // state sized to it, or given back its size at 100 %.
    void zoomTo(int percent);
    // The step of `fitTimer`, run after the window was resized: zooms the sheet
    // to fill the window (so a larger or maximised window shows a larger chart).
    void fitSheetToWindow();
    // Called when the sheet's size changed: arranges it again when its least
    // width changed, else makes room for the whole sheet.
    void keepSheetWhole();
    // The room the window may take on its screen; invalid without a screen.
    QSize screenRoom() const;

    QTimer *fitTimer;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool normal() const; // neither maximised nor full-screen
    void applyZoom(int percent);
    void arrangeForScreen(bool movePane, QSize within = {});
    void arrangeLater(bool movePane, bool mayGrow = true);
    void sizeWindowToSheet(QSize atLeast = {});
    int barsHeight() const; // the menu bar's and the status bar's

    QMainWindow &m_window;
    ChartSheet &m_sheet;
    GuapanPane &m_pane;
    std::function<QSize()> m_room;
    int m_zoomPercent = 100;
    bool m_sized = false; // given its size at the first show
    bool m_fitting = false;
    QSize m_sizeAt100;               // the window's size when the zoom last left 100 %
    QSize m_paneAt100;               // and the 卦盘 pane's
    bool m_paneBelowForRoom = false; // the pane moved under the sheet for want of width
    bool m_placingPane = false;      // the program moving the pane
    int m_arrangedWidth = -1;        // the sheet's least width when it was last arranged
    QSize m_sizeForZoom;             // the size the window was given for the zoom, not to be fitted again
    int m_settledZoom = -1; // the zoom the window was last sized for: what the sheet shows at it never grows it
};

} // namespace lotgrid
