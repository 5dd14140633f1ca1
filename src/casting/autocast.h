#pragma once
// The automatic cast. The dialog `Tools` asks for the question and the sex;
// confirming clears the chart, hides the main window and opens the progress
// window `zg`, which after about ten seconds draws eighteen bits from a freshly
// seeded source and puts six unmoving lines on the document. Then the deferred
// steps of the main window finish the cast from the drawn cast: `Timerzg`
// (200 ms) marks at most one moving line and `Timer6y` (500 ms) puts the cast
// values back on the lines. `TimerzgOFF` (2000 ms) is the start-up guard that
// switches both off once.

#include "chart/cast.h"

#include <QObject>
#include <QPointer>

#include <array>
#include <functional>

class QTimer;
class QWidget;

namespace lotgrid {

class CastDialog;
class ChartDocument;
class ChartSheet;
class ChartSteps;
class ProgressWindow;

class AutoCast : public QObject
{
    Q_OBJECT
public:
    // `newSource` is called once per cast and returns a uniform source over
    // [0, 1), seeded afresh; an empty one falls back to the seeded default.
    AutoCast(ChartDocument &document, ChartSheet &sheet, ChartSteps &steps, QWidget *mainWindow,
             std::function<std::function<double()>()> newSource, QObject *timerOwner);
    ~AutoCast() override;

    QTimer *Timerzg;    // 200 ms, one shot after a cast
    QTimer *Timer6y;    // 500 ms, one shot after a cast
    QTimer *TimerzgOFF; // 2000 ms start-up guard

    void zd_Click();

signals:
    // The lines of a cast are on the sheet: now is the moment of the cast.
    void linesCast();

public:
    void stepTimerzg();
    void stepTimer6y();
    void stepTimerzgOFF();

    // The open dialog and progress window, or null.
    CastDialog *tools() const;
    ProgressWindow *zg() const;

    // The lines of the last cast, its moving line marked, as the deferred steps hand them on.
    const std::array<CastLine, 6> &drawnLines() const { return m_drawn; }

private:
    void Command1_Confirmed();
    void cast();

    ChartDocument &m_document;
    ChartSheet &m_sheet;
    ChartSteps &m_steps;
    std::array<CastLine, 6> m_drawn{};
    QWidget *m_mainWindow;
    std::function<std::function<double()>()> m_newSource;
    QPointer<CastDialog> m_tools;
    QPointer<ProgressWindow> m_zg;
};

} // namespace lotgrid
