#include "ui/platform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QStandardPaths>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace lotgrid::platform {

namespace {

constexpr int JpegQuality = 95; // [0, 100]; high enough that the chart's thin lines stay sharp

#ifdef Q_OS_WIN
constexpr Qt::CaseSensitivity FileNameCase = Qt::CaseInsensitive; // "C:/Users/x" is "c:/users/X"
#else
constexpr Qt::CaseSensitivity FileNameCase = Qt::CaseSensitive;
#endif

// "a.jpg" → "a (n).jpg"; n >= 2.
QString numberedName(const QString &fileName, int n)
{
    if (n < 2)
        return fileName;
    const qsizetype dot = fileName.lastIndexOf(u'.');
    const QString suffix = u" (%1)"_s.arg(n);
    if (dot <= 0)
        return fileName + suffix;
    return fileName.left(dot) + suffix + fileName.mid(dot);
}

// Any directory entry at `path`, a link that leads nowhere included.
bool entryExists(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

} // namespace

QImage grabWindow(QWidget *window)
{
    if (!window)
        return {};
    return window->grab().toImage();
}

QString picturesFolder()
{
    const QString home = QDir::cleanPath(QDir::homePath());
    if (home.isEmpty() || QDir(home).isRoot() || QDir::isRelativePath(home))
        return {};
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (pictures.isEmpty())
        return {};
    const QString cleaned = QDir::cleanPath(pictures);
    if (!cleaned.startsWith(home + u'/', FileNameCase))
        return {};
    return cleaned;
}

bool makeFolder(const QString &folder, QString *error)
{
    if (folder.isEmpty()) {
        *error = u"没有指定文件夹"_s;
        return false;
    }
    const QFileInfo info(folder);
    if (info.isDir())
        return true;
    if (entryExists(folder)) {
        *error = u"该路径不是文件夹"_s;
        return false;
    }
    // The nearest folder that exists must not be the root: a top-level folder
    // is the system's to make, not a screenshot's.
    QString existing = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    while (!entryExists(existing) && !QDir(existing).isRoot()) {
        const QString parent = QFileInfo(existing).path();
        if (parent == existing)
            break;
        existing = parent;
    }
    if (QDir(existing).isRoot()) {
        *error = u"不在文件系统的根目录下创建文件夹"_s;
        return false;
    }
    if (!QDir().mkpath(folder)) {
        *error = u"无法创建文件夹"_s;
        return false;
    }
    return true;
}

QString writeJpeg(const QImage &image, QFileDevice &file)
{
    QImageWriter writer(&file, "jpeg");
    writer.setQuality(JpegQuality);
    const bool written = writer.write(image);
    const bool flushed = written && file.flush();
    if (written && flushed)
        return {};
    // The writer only knows that its device refused the data; the file knows why.
    const QString reason = file.error() != QFileDevice::NoError ? file.errorString() : writer.errorString();
    return u"无法写入图像数据（%1）"_s.arg(reason);
}

WrittenFile writeNewJpeg(const QImage &image, const QString &folder, const QString &fileName)
{
    const QDir dir(folder);
    WrittenFile result{dir.filePath(fileName), {}};
    if (image.isNull()) {
        result.error = u"没有可保存的图像"_s;
        return result;
    }

    QFile file;
    bool opened = false;
    int n = 1;
    for (; n <= MaxNumberedNames && !opened; ++n) {
        result.path = dir.filePath(numberedName(fileName, n));
        if (entryExists(result.path))
            continue;
        file.setFileName(result.path);
        // NewOnly fails instead of replacing an entry that appeared since the check above.
        opened = file.open(QIODevice::WriteOnly | QIODevice::NewOnly);
        if (!opened && !entryExists(result.path)) {
            result.error = u"无法创建文件（%1）"_s.arg(file.errorString()); // the folder itself refuses the file
            return result;
        }
    }
    if (!opened) {
        result.path = dir.filePath(fileName);
        result.error = u"同名文件已有 %1 个"_s.arg(MaxNumberedNames);
        result.namesTaken = true;
        return result;
    }

    result.error = writeJpeg(image, file);
    file.close();
    if (!result.ok())
        file.remove();
    return result;
}

} // namespace lotgrid::platform
