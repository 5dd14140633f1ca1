#pragma once
// A file written whole or not at all. QSaveFile writes beside the target and
// renames over it at commit(), but Qt 6.4's commit() renames even when the last
// flush of its buffer failed: on a full disk a small file came out empty, a
// larger one cut off, and the old file of that name was lost. Here the buffer is
// flushed and checked first; on any failure the temporary file goes, the target
// stays as it was, and `error` says why in the system's words.

#include <QSaveFile>
#include <QString>

namespace lotgrid {

inline bool commitWhole(QSaveFile &file, QString *error)
{
    const bool written = file.isOpen() && file.error() == QFileDevice::NoError && file.flush()
                         && file.error() == QFileDevice::NoError;
    if (written && file.commit())
        return true;
    // Read before cancelWriting(), which puts its own "cancelled" text in its place.
    const QString why = file.errorString();
    file.cancelWriting();
    if (error)
        *error = why;
    return false;
}

// Writes `bytes` to the open `file`, false when they did not all go.
inline bool writeAll(QSaveFile &file, const QByteArray &bytes)
{
    return file.write(bytes) == bytes.size();
}

} // namespace lotgrid
