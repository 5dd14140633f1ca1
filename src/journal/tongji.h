#pragma once
// The window 验证统计 (tongji): how often the journal's readings came true,
// over the cases with an outcome. The whole journal's hit rate heads it; one
// page per grouping (占类, 标签, 用神旺衰, 卦型, 起卦月份) holds a chart drawn
// with Qt Charts — bars of the hit rate with each group's counts on them, and
// for the months the 应验 and 不验 counts stacked with the rate as a line — and
// a table of the same numbers under it. Clicking a bar (or double-clicking a
// row) asks 案例库 to list that group's cases. A page 应期规则 tells how each
// 应期 rule fared (tongjirules.h), and a page 趋势 sets the 要点's trend word
// against the outcome, 应验 and 不验 side by side with the rate. 导出CSV… writes
// every table. Every chart takes the desktop's light or dark palette.

#include "journal/casestats.h"
#include "journal/journalprompts.h"

#include <QWidget>

#include <array>

class QBarSet;
class QChart;
class QLabel;
class QStatusBar;
class QPushButton;
class QTabWidget;
class QTableWidget;

namespace lotgrid {

class TongjiPage;
class TrendPage;
class TongjiRulePage;

class Tongji : public QWidget
{
    Q_OBJECT
public:
    // At most this many tags are drawn (the most decided first), with a title
    // that says so; every other grouping is drawn whole. The tables hold all.
    static constexpr int MaxBars = 12;
    // The months drawn, the latest; their rates are written on the line when there are at most MaxBars.
    static constexpr int MaxMonths = 24;

    // `connectionName`: an open connection to the journal.
    Tongji(QString connectionName, JournalPrompts prompts, QWidget *parent = nullptr);

    // Reads every count again; false, with the message shown in the window, when the journal cannot be read.
    bool refresh();
    // Writes every table to a CSV file (UTF-8); false, after telling the user, when that fails.
    bool exportCsv(const QString &file);

    const QList<StatsRow> &rows(StatsBy by) const { return m_rows[static_cast<std::size_t>(by)]; }
    const HitCount &overall() const { return m_overall; }
    QTabWidget *pages() const { return m_pages; }
    QTableWidget *table(StatsBy by) const;
    const QList<TrendRow> &trendRows() const { return m_trends; }
    // The page 应期规则.
    TongjiRulePage *rulePage() const { return m_rulePage; }

    // Gives a chart of this window the colours of `palette`: its background,
    // axes, grid, labels, titles, legend and bars, and labels of categories
    // that never overlap. Every chart of the window goes through it, when drawn
    // and when the desktop's palette changes.
    static void themeChart(QChart *chart, const QPalette &palette);

    // Adds `rates` (percentages) to `chart` as bars named by `names`, each with
    // "75%" above it, over a 0–100 axis; the set takes the rate's colour.
    static void addRateBars(QChart *chart, QBarSet *rates, const QStringList &names);

signals:
    // The user picked a group, shown as `label`: 案例库 lists its cases.
    void groupChosen(const lotgrid::CaseGroup &group, const QString &label);

protected:
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void exportClicked();
    // Every chart of the window, themed by themeChart.
    void applyTheme();

    QString m_connection;
    JournalPrompts m_prompts;
    HitCount m_overall;
    std::array<QList<StatsRow>, 5> m_rows;
    std::array<TongjiPage *, 5> m_pageOf{};
    QList<TrendRow> m_trends;
    TrendPage *m_trendPage = nullptr;
    QLabel *m_summary;
    QTabWidget *m_pages;
    TongjiRulePage *m_rulePage;
    QPushButton *m_export;
    QStatusBar *m_status; // tells a written file
};

} // namespace lotgrid
