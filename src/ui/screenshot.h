#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>

#include <functional>

class QTimer;
class QWidget;

namespace lotgrid {

class ChartSheet;

struct ScreenshotSettings {
    QString folder;         // the executable's folder
    QString fallbackFolder; // where pictures go when `folder` cannot be written
    std::function<QDateTime()> now;
};

// The screenshot command: two captures of the program's active window, 800 ms
// and 1.8 s after the command, the second saved as a JPEG named after the
// year, the two LineKeys and the last digit of the seconds.
class Screenshot : public QObject
{
    Q_OBJECT
public:
    Screenshot(ChartSheet &sheet, QWidget *mainWindow, ScreenshotSettings settings, QObject *timerOwner);

    QTimer *TimerjietuO; // 800 ms, first capture
    QTimer *Timerjietu;  // 1000 ms, second capture and save

    void jietutu_Click();
    void stepTimerjietuO();
    void stepTimerjietu();

private:
    ChartSheet &m_sheet;
    QWidget *m_mainWindow;
    ScreenshotSettings m_settings;
};

} // namespace lotgrid
