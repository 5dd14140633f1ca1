#pragma once
// A file written whole or not at all. QSaveFile writes beside the target and
// renames over it at commit(), but Qt 6.4's commit() renames even when the last
// flush of its buffer failed: on a full disk a small file came out empty, a
// larger one cut off, and the old file of that name was lost. Here the buffer is
// flushed and checked first; on any failure the temporary file goes, the target
// stays as it was, and the reason is given in the system's words.

#include <QFile>
#include <QSaveFile>
#include <QString>

#include <cerrno>
#include <cstring>

namespace lotgrid {

// Why the last write or flush of `file` failed; called right after it. A
// write the system cut short leaves Qt without a reason ("Unknown error"):
// the system's own is taken from errno then.
inline QString writeFailure(const QFileDevice &file)
{
    const int code = errno;
    const QString said = file.errorString();
    if (!said.isEmpty() && said != QFile().errorString())
        return said;
#ifdef Q_OS_UNIX
    if (code != 0)
        return QString::fromLocal8Bit(std::strerror(code));
#else
    Q_UNUSED(code);
#endif
    return said;
}

// Writes `bytes` to the open `file`; false, with the reason in `error`, when they did not all go.
inline bool writeAll(QSaveFile &file, const QByteArray &bytes, QString *error = nullptr)
{
    errno = 0;
    if (file.write(bytes) == bytes.size())
        return true;
    if (error)
        *error = writeFailure(file);
    return false;
}

// Puts the written file in place when every byte reached it; otherwise drops
// it, leaves the target as it was and says why in `error`.
inline bool commitWhole(QSaveFile &file, QString *error)
{
    errno = 0;
    const bool written
        = file.isOpen() && file.error() == QFileDevice::NoError && file.flush() && file.error() == QFileDevice::NoError;
    // Read before cancelWriting(), which puts its own "cancelled" in its place.
    QString why = written ? QString() : writeFailure(file);
    if (written && file.commit())
        return true;
    if (written)
        why = file.errorString();
    file.cancelWriting();
    if (error)
        *error = why;
    return false;
}

} // namespace lotgrid
