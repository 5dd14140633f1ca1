#pragma once
// The chart steps of the main window. Each step writes its own fields from the
// document's Chart: TimerBengua the LineKey of the lines and the original
// hexagram's name, Tsy its world, response and relatives, TimerSBG (without a
// moving line) and TimerSBG2 (the changed LineKey) the changed hexagram's name,
// Timerai its world, response and branches, and TX1..TX6 its relatives against
// the original palace. A step whose chart lacks its hexagram (fewer than six
// lines) writes nothing, and nothing that already stands.
//
// Each step has a switch (on at start; New and Clear data switch some off, the
// line handling switches them on again). Besides its timer, the sheet runs one
// instant pass (every step that is on, in that order) after each input handler
// and each command that rewrites the sheet, so the chart is complete before the
// next repaint. A step's timer runs only while the step is on and the sheet may
// still change: any change arms it, and a tick that writes nothing stops it, so
// a chart that stands still wakes nobody.

#include "core/six.h"

#include <QObject>

class QTimer;

namespace lotgrid {

class ChartDocument;
class ChartSheet;
struct Chart;

class ChartSteps : public QObject
{
    Q_OBJECT
public:
    ChartSteps(const ChartDocument &document, ChartSheet &sheet, QObject *timerOwner);

    QTimer *TimerBengua; // 500 ms
    QTimer *Tsy;         // 100 ms
    QTimer *TimerSBG;    // 200 ms
    QTimer *TimerSBG2;   // 10 ms
    QTimer *Timerai;     // 100 ms
    Six<QTimer *> TX;    // TX1 250 ms, TX2..TX6 200 ms

    // Each step returns whether it wrote a field.
    bool stepTimerBengua();
    bool stepTsy();
    bool stepTimerSBG();
    bool stepTimerSBG2();
    bool stepTimerai();
    bool stepTX(int line);

    // Every step that is on, once, in data order.
    void runPass();

    // A step's switch. A step that is off never runs, by its timer or by the pass.
    void switchOn(QTimer *step);
    void switchOff(QTimer *step);
    bool isOn(const QTimer *step) const;

    // Starts the timer of every step that is on and not yet counting, after a
    // change of the sheet; a running period is not restarted.
    void arm();

    // Tests switch the instant pass off to see the timers complete a chart alone.
    void setInstantPass(bool enabled) { m_instantPass = enabled; }

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
    QTimer *makeStep(QObject *owner, const QString &name, int interval, bool (ChartSteps::*step)());
    void tick(QTimer *timer, bool wrote);
    const Chart &chart() const;

    const ChartDocument &m_document;
    ChartSheet &m_sheet;
    int m_depth = 0;
    bool m_instantPass = true;
    std::array<QTimer *, 11> m_all{};
    std::array<bool, 11> m_on{};
};

} // namespace lotgrid
