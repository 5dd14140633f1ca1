#pragma once

#include <QObject>

#include <functional>

class QTimer;
class QWidget;

namespace lotgrid {

class ChartSheet;
class ChartSteps;

// The automatic cast: the dialog `Tools`, the progress window `zg`, the
// eighteen random bits and the deferred steps `Timerzg`, `Timer6y` and the
// start-up guard `TimerzgOFF` of the main window.
class AutoCast : public QObject
{
    Q_OBJECT
public:
    AutoCast(ChartSheet &sheet, ChartSteps &steps, QWidget *mainWindow,
             std::function<std::function<double()>()> newSource, QObject *timerOwner);

    QTimer *Timerzg;    // 200 ms, one shot after a cast
    QTimer *Timer6y;    // 500 ms, one shot after a cast
    QTimer *TimerzgOFF; // 2000 ms start-up guard

    void zd_Click();
    void stepTimerzg();
    void stepTimer6y();
    void stepTimerzgOFF();

private:
    ChartSheet &m_sheet;
    ChartSteps &m_steps;
    QWidget *m_mainWindow;
    std::function<std::function<double()>()> m_newSource;
};

} // namespace lotgrid
