#include "ui/platform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace lotgrid::platform {

namespace {

constexpr int JpegQuality = 95; // [0, 100]; high enough that the chart's thin lines stay sharp
constexpr int MaxNumberedNames = 9999;

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

} // namespace

QImage grabWindow(QWidget *window)
{
    if (!window)
        return {};
    return window->grab().toImage();
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
    if (info.exists()) {
        *error = u"该路径不是文件夹"_s;
        return false;
    }
    if (!QDir().mkpath(folder)) {
        *error = u"无法创建文件夹"_s;
        return false;
    }
    return true;
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
    for (int n = 1; n <= MaxNumberedNames && !opened; ++n) {
        result.path = dir.filePath(numberedName(fileName, n));
        if (QFileInfo::exists(result.path))
            continue;
        file.setFileName(result.path);
        // NewOnly fails instead of replacing a file that appeared since the check above.
        opened = file.open(QIODevice::WriteOnly | QIODevice::NewOnly);
        if (!opened && file.error() != QFileDevice::OpenError)
            break;
        if (!opened && !QFileInfo::exists(result.path))
            break; // not a name clash: the folder itself refuses the file
    }
    if (!opened) {
        result.error = file.fileName().isEmpty() ? u"同名文件太多"_s : u"无法创建文件（%1）"_s.arg(file.errorString());
        return result;
    }

    QImageWriter writer(&file, "jpeg");
    writer.setQuality(JpegQuality);
    const bool written = writer.write(image);
    const bool flushed = written && file.flush();
    if (!written || !flushed) {
        result.error = u"无法写入图像数据（%1）"_s.arg(written ? file.errorString() : writer.errorString());
        file.close();
        file.remove();
        return result;
    }
    file.close();
    return result;
}

} // namespace lotgrid::platform
