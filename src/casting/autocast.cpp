#include "casting/autocast.h"

#include <QTimer>

using namespace Qt::StringLiterals;

namespace lotgrid {

AutoCast::AutoCast(ChartSheet &sheet, ChartSteps &steps, QWidget *mainWindow,
                   std::function<std::function<double()>()> newSource, QObject *timerOwner)
    : QObject(timerOwner)
    , Timerzg(new QTimer(timerOwner))
    , Timer6y(new QTimer(timerOwner))
    , TimerzgOFF(new QTimer(timerOwner))
    , m_sheet(sheet)
    , m_steps(steps)
    , m_mainWindow(mainWindow)
    , m_newSource(std::move(newSource))
{
    Timerzg->setObjectName(u"Timerzg"_s);
    Timerzg->setInterval(200);
    Timer6y->setObjectName(u"Timer6y"_s);
    Timer6y->setInterval(500);
    TimerzgOFF->setObjectName(u"TimerzgOFF"_s);
    TimerzgOFF->setInterval(2000);
}

void AutoCast::zd_Click() {}
void AutoCast::stepTimerzg() {}
void AutoCast::stepTimer6y() {}
void AutoCast::stepTimerzgOFF() {}

} // namespace lotgrid
