#pragma once
// Where the program's tool windows open, and how it tells that a file was
// written.
//
// A tool window (a reference table, the help, 案例库, a cast dialog …) opens
// centred on the window it belongs to, and wholly on that window's screen:
// moved inside its available area, and shrunk to it where it is larger. A
// window already shown stays where the user put it and is only brought to
// the front. The main window itself is never moved by opening another.
//
// A written file (a picture, a PDF, a CSV table, a screenshot) is told in one
// way everywhere: a message in the status bar naming the file, and beside it
// the link 打开所在文件夹, which opens the folder that holds it.

#include <QRect>
#include <QString>

#include <functional>

class QLabel;
class QStatusBar;
class QWidget;

namespace lotgrid {

// The frame of a window of `frame` size centred on `anchor`, then kept wholly
// inside `available`: shrunk to it where larger, moved inside it. Without an
// anchor the window is centred on `available`.
QRect toolWindowFrame(const QRect &anchor, QSize frame, const QRect &available);

// Places `window` by toolWindowFrame on `anchor`'s frame and screen (when it
// is not shown yet), then shows it, brings it out of the minimised state,
// raises and activates it.
void showToolWindow(QWidget *window, const QWidget *anchor);
// Places `window` as showToolWindow does, without showing it.
void placeToolWindow(QWidget *window, const QWidget *anchor);

// Opens the folder of a written file; the desktop's file manager by default.
// Replaced by tests, which must not open one.
using FolderOpener = std::function<bool(const QString &folder)>;
void setFolderOpener(FolderOpener opener);

// Shows "`message`：name" in `bar` (the file's name only; its whole path as
// the tooltip) and the link 打开所在文件夹 `dakaiWenjianjia` beside it until the
// next message. Returns the label that holds both.
QLabel *tellFileWritten(QStatusBar *bar, const QString &message, const QString &path);

} // namespace lotgrid
