#pragma once
// The few things the screenshot needs from the system, each in one place:
// a picture of a window, a folder to write into, and a JPEG file written
// without replacing anything that is already there.

#include <QImage>
#include <QString>

class QFileDevice;
class QWidget;

namespace lotgrid::platform {

inline constexpr int MaxNumberedNames = 9999; // "a.jpg", "a (2).jpg" … "a (9999).jpg"

// A picture of the whole window as it is drawn now; a null image when there is no window.
QImage grabWindow(QWidget *window);

// The user's pictures folder, cleaned, when it lies inside the user's home;
// empty when it does not or there is no home (HOME unset or the root folder).
QString picturesFolder();

// Makes sure `folder` exists, creating it and its parents if need be, but
// never a folder at the top of the file system. On failure returns false and
// puts the reason into `error`.
bool makeFolder(const QString &folder, QString *error);

struct WrittenFile {
    QString path;            // the file written, or the one that could not be written
    QString error;           // empty when the file was written
    bool namesTaken = false; // the name and all its numbered forms were taken
    bool ok() const { return error.isEmpty(); }
};

// Writes `image` as a high-quality JPEG into `folder` under `fileName`. When
// that name is taken by any entry of the folder (a file, a folder, a link,
// even one that leads nowhere), " (2)", " (3)", … goes before the extension;
// nothing that is already there is replaced or followed. A file that could not
// be written completely is removed.
WrittenFile writeNewJpeg(const QImage &image, const QString &folder, const QString &fileName);

// Writes `image` as a high-quality JPEG into the open `file` and flushes it.
// Returns the reason it failed, the file's own error where it has one
// ("No space left on device"), or an empty text.
QString writeJpeg(const QImage &image, QFileDevice &file);

} // namespace lotgrid::platform
