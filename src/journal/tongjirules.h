#pragma once
// The page 应期规则 of 验证统计: for each 应期 rule, how many cases listed it,
// how often it hit the day the matter came about, and how many days off its
// nearest candidate was — the hit rate as bars, and a table of the numbers.

#include "journal/casestats.h"

#include <QWidget>

class QChartView;
class QLabel;
class QTableWidget;

namespace lotgrid {

class TongjiRulePage : public QWidget
{
public:
    explicit TongjiRulePage(QWidget *parent = nullptr);

    void show(const QList<RuleStats> &rows);
    QTableWidget *table() const { return m_table; }
    const QList<RuleStats> &rows() const { return m_rows; }
    // The table's header and rows as cells, for the CSV.
    static QStringList header();
    static QStringList cells(const RuleStats &r);

private:
    QChartView *m_view;
    QLabel *m_empty;
    QTableWidget *m_table;
    QList<RuleStats> m_rows;
};

} // namespace lotgrid
