#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>

#include <functional>

class QTimer;
class QWidget;

namespace lotgrid {

class ChartDocument;
class ChartSheet;

struct ScreenshotSettings {
    QString folder;         // the executable's folder
    QString fallbackFolder; // where pictures go when `folder` cannot take them; empty for none
    std::function<QDateTime()> now;
};

// The screenshot command: two captures of the program's active window, 800 ms
// and 1.8 s after the command, the second saved as a JPEG named after the
// year, the two LineKeys and the last digit of the seconds. The file goes into
// the executable's folder, or into the fallback folder when that one cannot be
// written or holds every numbered form of the name; nothing already there is
// replaced. The user is told where the picture went, or where and why it could
// not be saved.
class Screenshot : public QObject
{
    Q_OBJECT
public:
    Screenshot(const ChartDocument &document, ChartSheet &sheet, QWidget *mainWindow, ScreenshotSettings settings,
               QObject *timerOwner);

    QTimer *TimerjietuO; // 800 ms, first capture
    QTimer *Timerjietu;  // 1000 ms, second capture and save

    void jietutu_Click();
    void stepTimerjietuO();
    void stepTimerjietu();

    // "六爻卜卦截图" + year + "-" + TextBengua + "-" + TextSBG2 + last digit of the seconds + ".jpg",
    // any character of a key other than "0" and "1" written as "_"
    QString fileName(const QDateTime &at) const;

signals:
    // The screenshot was written to `path` (shown in the platform's separators).
    void saved(const QString &path);

private:
    void capture();
    void save();
    void tell(bool ok, const QString &text);

    const ChartDocument &m_document;
    ChartSheet &m_sheet;
    QWidget *m_mainWindow;
    ScreenshotSettings m_settings;
};

} // namespace lotgrid
