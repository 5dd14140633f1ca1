#include "ui/screenshot.h"

#include "qtcore/textconv.h"
#include "sheet/chartdocument.h"
#include "sheet/chartsheet.h"
#include "ui/platform.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace lotgrid {

namespace {

QString shownPath(const QString &path)
{
    return QDir::toNativeSeparators(QDir::cleanPath(path));
}

} // namespace

Screenshot::Screenshot(const ChartDocument &document, ChartSheet &sheet, QWidget *mainWindow,
                       ScreenshotSettings settings, QObject *timerOwner)
    : QObject(timerOwner)
    , TimerjietuO(new QTimer(timerOwner))
    , Timerjietu(new QTimer(timerOwner))
    , m_document(document)
    , m_sheet(sheet)
    , m_mainWindow(mainWindow)
    , m_settings(std::move(settings))
{
    TimerjietuO->setObjectName(u"TimerjietuO"_s);
    TimerjietuO->setInterval(800);
    Timerjietu->setObjectName(u"Timerjietu"_s);
    Timerjietu->setInterval(1000);
    connect(TimerjietuO, &QTimer::timeout, this, &Screenshot::stepTimerjietuO);
    connect(Timerjietu, &QTimer::timeout, this, &Screenshot::stepTimerjietu);
}

void Screenshot::jietutu_Click()
{
    // A screenshot under way is not started again: one command, one file.
    if (TimerjietuO->isActive() || Timerjietu->isActive())
        return;
    TimerjietuO->start();
}

void Screenshot::stepTimerjietuO()
{
    capture();
    TimerjietuO->stop();
    Timerjietu->start();
}

void Screenshot::stepTimerjietu()
{
    capture();
    // Both steps are off before the message box opens its own event loop.
    Timerjietu->stop();
    TimerjietuO->stop();
    save();
}

QString Screenshot::fileName(const QDateTime &at) const
{
    return u"六爻卜卦截图"_s + u"%1"_s.arg(at.date().year(), 4, 10, QChar(u'0')) + u'-'
           + qs(lineKeyOf(m_document.cast(), false)) + u'-' + qs(lineKeyOf(m_document.cast(), true))
           + QString::number(at.time().second() % 10) + u".jpg"_s;
}

void Screenshot::capture()
{
    QWidget *window = QApplication::activeWindow();
    m_sheet.Image1 = platform::grabWindow(window ? window : m_mainWindow);
}

void Screenshot::save()
{
    const QString name = fileName(m_settings.now ? m_settings.now() : QDateTime::currentDateTime());

    if (m_sheet.Image1.isNull()) {
        tell(false, u"截图未能保存到：\n\n%1\n\n原因：无法取得窗口的图像。"_s.arg(
                        shownPath(QDir(m_settings.folder).filePath(name))));
        return;
    }

    QStringList failures;
    bool namesTaken = false; // in the program's folder, rather than the folder refusing the file
    const QStringList folders{m_settings.folder, m_settings.fallbackFolder};
    for (qsizetype i = 0; i < folders.size(); ++i) {
        const QString &folder = folders[i];
        if (folder.isEmpty())
            continue;
        QString error;
        const platform::WrittenFile file = platform::makeFolder(folder, &error)
                                               ? platform::writeNewJpeg(m_sheet.Image1, folder, name)
                                               : platform::WrittenFile{QDir(folder).filePath(name), error};
        const QString shown = shownPath(file.path);
        if (file.ok()) {
            emit saved(shown);
            if (i == 0)
                tell(true, u"程序已经将图片截图到本程序路径：\n\n"_s + shown);
            else if (namesTaken)
                tell(true,
                     u"本程序路径下同名的截图已有 %1 个，程序已经将图片截图到：\n\n"_s.arg(platform::MaxNumberedNames)
                         + shown);
            else
                tell(true, u"本程序路径无法写入，程序已经将图片截图到：\n\n"_s + shown);
            return;
        }
        namesTaken = namesTaken || (i == 0 && file.namesTaken);
        failures << u"%1\n原因：%2"_s.arg(shown, file.error);
    }
    if (failures.isEmpty())
        failures << u"（没有可用的文件夹）"_s;
    tell(false, u"截图未能保存。\n\n"_s + failures.join(u"\n\n"_s));
}

void Screenshot::tell(bool ok, const QString &text)
{
    QMessageBox box(ok ? QMessageBox::Information : QMessageBox::Warning, u"提示"_s, text, QMessageBox::Ok,
                    m_mainWindow);
    box.setTextFormat(Qt::PlainText); // a folder name is never taken for markup
    box.exec();
}

} // namespace lotgrid
