#pragma once
// What the program sets up before its first window (its names, Qt's own
// Chinese texts, the one Chinese face of the interface), and what waits until
// the main window has first been painted.

#include <functional>

class QApplication;
class QWidget;

namespace lotgrid {

void prepareApplication(QApplication &app);

// Runs `run` once, when the event loop is back after the first paint of
// `window`; never when the window is not painted (not shown, or gone first).
void afterFirstPaint(QWidget *window, std::function<void()> run);

} // namespace lotgrid
