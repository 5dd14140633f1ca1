#pragma once
// Lotgrid's main window. Its ChartSheet holds the whole state of a chart as
// field texts; ChartSteps keeps the chart in step with the line fields (by
// timers, and by an instant pass after every handler); LineEntry echoes each
// typed line and tick; the menu commands here set the six spirits, the builds
// and the use-god mark, reset the sheet (New, Clear data), and open the other
// windows: the automatic cast, the hidden-spirit query, the reference tables,
// help, about, the update check. Screenshot and automatic cast own their
// deferred steps. Today's line comes from the calendar engine.

#include "chart/cast.h"
#include "core/six.h"
#include "ui/environment.h"

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <memory>

class QAction;

namespace lotgrid {

class AutoCast;
class ChartExport;
class ChartSheet;
class ChartSteps;
class LineEntry;
class Screenshot;

class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(Environment env = Environment::production(), QWidget *parent = nullptr);
    ~MainWindow() override;

    ChartSheet &sheet() { return *m_sheet; }
    ChartSteps &steps() { return *m_steps; }
    AutoCast &autoCast() { return *m_autoCast; }
    Screenshot &screenshot() { return *m_screenshot; }
    ChartExport &chartExport() { return *m_chartExport; }

    // Commands, as the menu runs them.
    void news_Click();
    void qc_Click();
    void end_Click();
    void dayStem_Click(int stem);      // 0 = 甲 .. 9 = 癸
    void monthBuild_Click(int branch); // 0 = 子 .. 11 = 亥
    void dayBuild_Click(int branch);
    void yao_Click(int line);
    void F_Click(int line);

    // Puts a cast on the sheet through the handlers a user's input runs:
    // the sheet is reset as New does (without asking), the lines are typed
    // from line 1 up and their boxes ticked, then the day stem, the builds and
    // the mark are chosen. Parts the cast lacks are left empty.
    void loadCast(const CastInput &cast);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void Form_Load();
    void buildMenus();
    bool confirm(const QString &line1, const QString &line2);
    void resetSheet();
    void mark(int line, const QString &word);
    void enableChartCommands(bool enabled);
    template<typename Factory>
    void openWindow(QPointer<QWidget> &slot, Factory create);

    Environment m_env;
    ChartSheet *m_sheet;
    ChartSteps *m_steps;
    LineEntry *m_lineEntry;
    AutoCast *m_autoCast;
    Screenshot *m_screenshot;
    ChartExport *m_chartExport;

    QAction *m_jietutu = nullptr;
    QAction *m_fuzhi = nullptr;
    QAction *m_daochu = nullptr;
    Six<QAction *> m_yao;
    Six<QAction *> m_F;

    QPointer<QWidget> m_Fenshen, m_Liujia, m_Sswx1, m_Yao3x, m_yao6h, m_yao6c, m_Helpf;
};

} // namespace lotgrid
