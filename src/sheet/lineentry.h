#pragma once
// Manual line entry: the change handling of the six line fields and the tick
// handling of the twelve moving-line boxes. It runs whoever changes a field
// (the user, New, Clear data, an automatic cast), inside that change, and
// echoes the line at once: glyphs, moving mark, line name, the changed value
// BY, the next line's field, the chart steps and the full-chart commands.

#include <QObject>

#include <functional>

namespace lotgrid {

class ChartSheet;
class ChartSteps;

class LineEntry : public QObject
{
    Q_OBJECT
public:
    // `enableChartCommands` makes the commands that need six lines available
    // (marks and screenshot); it is called when line 6 receives a value.
    LineEntry(ChartSheet &sheet, ChartSteps &steps, std::function<void()> enableChartCommands,
              QObject *parent = nullptr);

    void Text_Change(int line);
    void co_Click(int line);
    void cx_Click(int line);

private:
    void lineEntered(int line, bool yang);
    void showChangedLine(int line, bool yang);

    ChartSheet &m_sheet;
    ChartSteps &m_steps;
    std::function<void()> m_enableChartCommands;
};

} // namespace lotgrid
