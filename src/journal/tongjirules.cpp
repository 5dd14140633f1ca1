#include "journal/tongjirules.h"

#include "chart/yingqi.h"
#include "journal/tongji.h"
#include "qtcore/textconv.h"

#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace lotgrid {

namespace {

QString ruleName(int rule)
{
    return rule >= 0 && rule < static_cast<int>(YingqiRuleNames.size())
               ? qs(yingqiRuleName(static_cast<YingqiRule>(rule)))
               : QString::number(rule);
}

QString percentText(std::optional<double> rate)
{
    return rate ? QString::number(*rate * 100, 'f', 1) + u'%' : u"—"_s;
}

} // namespace

TongjiRulePage::TongjiRulePage(QWidget *parent)
    : QWidget(parent)
    , m_view(new QChartView(this))
    , m_empty(new QLabel(u"还没有记下应验日期的案例。"_s, this))
    , m_table(new QTableWidget(0, static_cast<int>(header().size()), this))
{
    setObjectName(u"byYingqiRule"_s);
    m_view->setObjectName(u"byYingqiRuleChart"_s);
    m_view->setRenderHint(QPainter::Antialiasing);
    m_table->setObjectName(u"byYingqiRuleTable"_s);
    m_table->setHorizontalHeaderLabels(header());
    m_table->verticalHeader()->hide();
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_empty->setAlignment(Qt::AlignCenter);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_view, 3);
    layout->addWidget(m_empty, 3);
    layout->addWidget(m_table, 2);
}

QStringList TongjiRulePage::header()
{
    return {u"应期规则"_s, u"列出案例"_s, u"有应验日期"_s, u"命中"_s, u"命中率"_s, u"平均相差天数"_s};
}

QStringList TongjiRulePage::cells(const RuleStats &r)
{
    return {ruleName(r.rule),         QString::number(r.listed),
            QString::number(r.dated), QString::number(r.hits),
            percentText(r.rate()),    r.meanDaysOff ? QString::number(*r.meanDaysOff, 'f', 1) : u"—"_s};
}

void TongjiRulePage::show(const QList<RuleStats> &rows)
{
    m_rows = rows;
    m_table->setRowCount(static_cast<int>(rows.size()));
    for (int row = 0; row < rows.size(); ++row) {
        const QStringList cells = TongjiRulePage::cells(rows.at(row));
        for (int column = 0; column < cells.size(); ++column) {
            auto *item = new QTableWidgetItem(cells.at(column));
            item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
            if (column > 0)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_table->setItem(row, column, item);
        }
    }
    m_table->resizeColumnsToContents();
    m_table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);

    const bool anyDated = std::ranges::any_of(rows, [](const RuleStats &r) { return r.dated > 0; });
    m_empty->setVisible(!anyDated);
    m_view->setVisible(anyDated);
    // Each rule's hit rate over the cases with a day, "命中/有日期" under its name.
    auto *chart = new QChart;
    chart->legend()->setVisible(false);
    chart->setMargins({4, 4, 4, 4});
    chart->setBackgroundRoundness(0);
    chart->setFont(font());
    auto *set = new QBarSet(u"命中率"_s);
    QStringList names;
    for (const RuleStats &r : rows) {
        *set << qRound(r.rate().value_or(0) * 100);
        names << ruleName(r.rule) + u"<br>"_s + u"%1/%2"_s.arg(r.hits).arg(r.dated);
    }
    chart->setTitle(u"命中率（%）"_s); // upright, above the plot
    Tongji::addRateBars(chart, set, names);
    QChart *old = m_view->chart();
    m_view->setChart(chart);
    delete old;
}

} // namespace lotgrid
