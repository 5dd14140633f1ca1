// The main window's way to the 周易 texts: the item 周易经文 of the 工具 menu
// and the 卦盘 pane's button open the window `jingwen`, which shows the chart
// on the sheet as it changes and takes the sheet's type, the chart's zoom.

#include "sheet/chartdocument.h"
#include "sheet/chartsheet.h"
#include "ui/guapanpane.h"
#include "ui/mainwindow.h"
#include "ui/reference/jingwenwindow.h"
#include "widgets/appicon.h"
#include "widgets/toolwindows.h"

#include <QAction>
#include <QList>
#include <QMenu>
#include <QMenuBar>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace lotgrid {

void MainWindow::addJingwenCommands()
{
    if (auto *tools = menuBar()->findChild<QMenu *>(u"tls"_s)) {
        auto *zhouyi = new QAction(u"周易经文"_s, tools);
        zhouyi->setObjectName(u"zhouyiJingwen"_s);
        // After 应期参考, with the other readings of the cast.
        const QList<QAction *> actions = tools->actions();
        const auto yingqi = std::find(actions.begin(), actions.end(), m_yingqi);
        tools->insertAction(yingqi != actions.end() && yingqi + 1 != actions.end() ? *(yingqi + 1) : nullptr, zhouyi);
        connect(zhouyi, &QAction::triggered, this, &MainWindow::jingwen_Click);
    }
    if (m_guapan)
        connect(m_guapan, &GuapanPane::jingwenRequested, this, &MainWindow::jingwen_Click);
    connect(m_document, &ChartDocument::changed, this, [this](const Chart &chart) {
        if (auto *window = findChild<JingwenWindow *>(u"jingwen"_s, Qt::FindDirectChildrenOnly))
            window->setChart(chart);
    });
}

void MainWindow::jingwen_Click()
{
    auto *window = findChild<JingwenWindow *>(u"jingwen"_s, Qt::FindDirectChildrenOnly);
    if (!window) {
        window = new JingwenWindow(this);
        window->setWindowIcon(appIcon());
        window->followFont(m_sheet);
        window->setChart(m_document->chart());
    }
    showToolWindow(window, this);
}

} // namespace lotgrid
