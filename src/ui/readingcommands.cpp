// The main window's commands of the reading: the category and the sex on the
// sheet, a relative clicked as the hand-picked use god, the school options
// (流派设置) and the chart copied as a question for a language model.

#include "casting/castsettings.h"
#include "casting/liupaidialog.h"
#include "chart/aiquestion.h"
#include "sheet/chartdocument.h"
#include "sheet/chartsheet.h"
#include "ui/mainwindow.h"

#include "ui/chartexport.h"
#include "widgets/appicon.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QStatusBar>

using namespace Qt::StringLiterals;

namespace lotgrid {

void MainWindow::addReadingCommands(QMenu *tools)
{
    tools->addSeparator();
    QAction *liupai = tools->addAction(u"流派设置…"_s);
    liupai->setObjectName(u"liupai"_s);
    connect(liupai, &QAction::triggered, this, &MainWindow::liupai_Click);

    m_fuzhiAI->setEnabled(false);
    connect(m_fuzhiAI, &QAction::triggered, this, &MainWindow::fuzhiAI_Click);
    connect(m_document, &ChartDocument::changed, m_fuzhiAI,
            [this](const Chart &chart) { m_fuzhiAI->setEnabled(chart.original != nullptr); });

    connect(m_sheet, &ChartSheet::categoryPicked, m_document, &ChartDocument::setCategory);
    connect(m_sheet, &ChartSheet::sexPicked, m_document, &ChartDocument::setSex);
    connect(m_sheet, &ChartSheet::relativeClicked, this, [this](int line) {
        if (m_document->chart().original)
            yao_Click(line);
    });
    m_school = schoolOptions(m_env.settingsFile);
    m_document->setOptions(m_school);
}

void MainWindow::applySchoolOptions(const SchoolOptions &options)
{
    setSchoolOptions(m_env.settingsFile, options);
    m_school = options;
    m_document->setOptions(options);
}

void MainWindow::liupai_Click()
{
    if (m_liupai) {
        m_liupai->raise();
        m_liupai->activateWindow();
        return;
    }
    auto *dialog = new LiupaiDialog(m_document->cast().options, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowIcon(appIcon());
    connect(dialog, &QDialog::accepted, this, [this, dialog] { applySchoolOptions(dialog->options()); });
    m_liupai = dialog;
    dialog->show();
}

void MainWindow::fuzhiAI_Click()
{
    const std::u16string text = aiQuestionText(m_document->chart(), m_document->question().toStdU16String());
    if (text.empty()) {
        statusBar()->showMessage(u"六爻未齐，不能复制为AI提问"_s, 5000);
        return;
    }
    const std::optional<QString> out = m_chartExport->forOutput(QString::fromStdU16String(text));
    if (!out)
        return;
    QGuiApplication::clipboard()->setText(*out);
    statusBar()->showMessage(u"已复制为AI提问：卦象、已算出的事实和断卦要求"_s, 5000);
}

} // namespace lotgrid
