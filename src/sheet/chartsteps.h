#pragma once
// The chart steps of the main window. Each timer re-reads the ChartSheet and
// rewrites its own fields from the hexagram table: TimerBengua names the
// original hexagram, Tsy charts it, TimerSBG and TimerSBG2 name the changed
// hexagram, Timerai charts that, and TX1..TX6 write its relatives against the
// original palace. A step whose lookup misses writes nothing.
//
// Besides the timers, the sheet runs one instant pass (every step whose timer
// is on, in that order) after each input handler and each command that
// rewrites the sheet, so the chart is complete before the next repaint.

#include "core/six.h"

#include <QObject>

class QTimer;

namespace lotgrid {

class ChartSheet;

class ChartSteps : public QObject
{
    Q_OBJECT
public:
    ChartSteps(ChartSheet &sheet, QObject *timerOwner);

    QTimer *TimerBengua; // 500 ms
    QTimer *Tsy;         // 100 ms
    QTimer *TimerSBG;    // 200 ms
    QTimer *TimerSBG2;   // 10 ms
    QTimer *Timerai;     // 100 ms
    Six<QTimer *> TX;    // TX1 250 ms, TX2..TX6 200 ms

    void stepTimerBengua();
    void stepTsy();
    void stepTimerSBG();
    void stepTimerSBG2();
    void stepTimerai();
    void stepTX(int line);

    // Every step whose timer is on, once, in data order.
    void runPass();

    // Switch a step on without restarting its period.
    static void switchOn(QTimer *timer);

    // Defers the instant pass to the end of the outermost scope, so a handler
    // that runs nested handlers charts once, from its final state.
    class Scope
    {
    public:
        explicit Scope(ChartSteps &steps);
        ~Scope();
        Scope(const Scope &) = delete;
        Scope &operator=(const Scope &) = delete;

    private:
        ChartSteps &m_steps;
    };

private:
    ChartSheet &m_sheet;
    int m_depth = 0;
};

} // namespace lotgrid
