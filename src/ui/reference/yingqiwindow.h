#pragma once
// The window 应期参考 (yingqi): the 应期 candidates of the chart on the sheet,
// one row each — the date in the civil calendar and its 干支, the rule, the
// line, and why. A line above the table says they are candidates for the
// reader to weigh, not a verdict. The main window hands it each new chart.

#include "chart/chart.h"

#include <QWidget>

class QLabel;
class QTableWidget;

namespace lotgrid {

class YingqiWindow : public QWidget
{
    Q_OBJECT
public:
    enum Column { DateColumn, PillarColumn, RuleColumn, LineColumn, WhyColumn, ColumnCount };

    explicit YingqiWindow(QWidget *parent = nullptr);

    // Shows the candidates of `chart`, or says why there are none.
    void setChart(const Chart &chart);

    QTableWidget *table() const { return m_table; }

private:
    QLabel *m_subject;
    QLabel *m_empty;
    QTableWidget *m_table;
};

} // namespace lotgrid
