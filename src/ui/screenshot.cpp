#include "ui/screenshot.h"

#include "ui/chartsheet.h"

#include <QTimer>

using namespace Qt::StringLiterals;

namespace lotgrid {

Screenshot::Screenshot(ChartSheet &sheet, QWidget *mainWindow, ScreenshotSettings settings, QObject *timerOwner)
    : QObject(timerOwner)
    , TimerjietuO(new QTimer(timerOwner))
    , Timerjietu(new QTimer(timerOwner))
    , m_sheet(sheet)
    , m_mainWindow(mainWindow)
    , m_settings(std::move(settings))
{
    TimerjietuO->setObjectName(u"TimerjietuO"_s);
    TimerjietuO->setInterval(800);
    Timerjietu->setObjectName(u"Timerjietu"_s);
    Timerjietu->setInterval(1000);
}

void Screenshot::jietutu_Click() {}
void Screenshot::stepTimerjietuO() {}
void Screenshot::stepTimerjietu() {}

} // namespace lotgrid
