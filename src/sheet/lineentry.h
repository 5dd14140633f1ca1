#pragma once
// Manual line entry: the change handling of the six line fields and the tick
// handling of the twelve moving-line boxes. A line typed or a box ticked is a
// command on the document; the handling echoes the line at once: glyphs, moving
// mark, line name, the changed value BY, the next line's field, the chart steps
// and the full-chart commands. A cast put on the document by other commands
// (a cast, a reopened case, New) is shown through the same handling by showLines.

#include "chart/cast.h"

#include <QObject>

#include <array>

#include <functional>

namespace lotgrid {

class ChartDocument;
class ChartSheet;
class ChartSteps;

class LineEntry : public QObject
{
    Q_OBJECT
public:
    // `enableChartCommands` makes the commands that need six lines available
    // (marks and screenshot); it is called when line 6 receives a value.
    LineEntry(ChartDocument &document, ChartSheet &sheet, ChartSteps &steps, std::function<void()> enableChartCommands,
              QObject *parent = nullptr);

    void Text_Change(int line);
    void co_Click(int line);
    void cx_Click(int line);

    // Brings the line fields and boxes to the document's lines when they show
    // others: the chart is emptied, the lines written from line 1 up and the
    // moving boxes ticked, the handling echoing each as if typed. Nothing
    // happens while a handler of this class runs: its fields already show them.
    void showLines();

private:
    void lineEntered(int line, bool yang);
    void showChangedLine(int line, bool yang);

    ChartDocument &m_document;
    ChartSheet &m_sheet;
    ChartSteps &m_steps;
    std::function<void()> m_enableChartCommands;
    std::array<CastLine, 6> m_shown{}; // the lines the fields and boxes show
    int m_handling = 0;                // depth of this class's handlers
    bool m_showing = false;            // showLines writing the fields
};

} // namespace lotgrid
