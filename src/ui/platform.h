#pragma once
// The few things the screenshot needs from the system, each in one place:
// a picture of a window, a folder to write into, and a JPEG file written
// without replacing anything that is already there.

#include <QImage>
#include <QString>

class QWidget;

namespace lotgrid::platform {

// A picture of the whole window as it is drawn now; a null image when there is no window.
QImage grabWindow(QWidget *window);

// Makes sure `folder` exists, creating it and its parents if need be.
// On failure returns false and puts the reason into `error`.
bool makeFolder(const QString &folder, QString *error);

struct WrittenFile {
    QString path;  // the file written, or the one that could not be written
    QString error; // empty when the file was written
    bool ok() const { return error.isEmpty(); }
};

// Writes `image` as a high-quality JPEG into `folder` under `fileName`. When
// that name is taken, " (2)", " (3)", … goes before the extension; an existing
// file is never replaced. A file that could not be written completely is removed.
WrittenFile writeNewJpeg(const QImage &image, const QString &folder, const QString &fileName);

} // namespace lotgrid::platform
