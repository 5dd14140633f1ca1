#include "ui/yaodianpane.h"

#include "chart/summary.h"
#include "qtcore/textconv.h"
#include "sheet/chartdocument.h"
#include "sheet/chartsheet.h"
#include "widgets/settingskeys.h"

#include <QAction>
#include <QDockWidget>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QSettings>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace lotgrid {

namespace {

constexpr int LinesRole = Qt::UserRole + 1;

} // namespace

YaodianPane::YaodianPane(QMainWindow &window, const ChartDocument &document, ChartSheet &sheet, QString settingsFile)
    : QObject(&window)
    , m_document(document)
    , m_sheet(sheet)
    , m_settingsFile(std::move(settingsFile))
    , m_dock(new QDockWidget(u"断卦要点"_s, &window))
    , m_trend(new QLabel(m_dock))
    , m_list(new QListWidget(m_dock))
{
    setObjectName(u"yaodianPane"_s);
    m_dock->setObjectName(u"yaodian"_s);
    m_dock->setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable
                        | QDockWidget::DockWidgetFloatable);
    m_trend->setObjectName(u"yaodianTrend"_s);
    m_trend->setWordWrap(true);
    m_trend->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_list->setObjectName(u"yaodianList"_s);
    m_list->setWordWrap(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    auto *note = new QLabel(qs(SummaryDisclaimer), m_dock);
    note->setObjectName(u"yaodianNote"_s);
    note->setWordWrap(true);
    note->setEnabled(false); // quiet type
    auto *content = new QWidget(m_dock);
    content->setObjectName(u"yaodianContent"_s);
    auto *column = new QVBoxLayout(content);
    column->setContentsMargins(4, 2, 4, 2);
    column->addWidget(m_trend);
    column->addWidget(m_list, 1);
    column->addWidget(note);
    m_dock->setWidget(content);
    window.addDockWidget(Qt::RightDockWidgetArea, m_dock);

    m_toggle = m_dock->toggleViewAction();
    m_toggle->setObjectName(u"yaodian"_s);
    m_toggle->setText(u"断卦要点(&Y)"_s);
    bool shown = false;
    if (!m_settingsFile.isEmpty())
        shown = QSettings(m_settingsFile, QSettings::IniFormat).value(settingskeys::YaodianShown, false).toBool();
    m_dock->setVisible(shown);
    // Remembered only when the user shows or hides it, not when the window closes.
    connect(m_toggle, &QAction::triggered, this, [this](bool on) {
        if (!m_settingsFile.isEmpty())
            QSettings(m_settingsFile, QSettings::IniFormat).setValue(settingskeys::YaodianShown, on);
    });
    connect(m_list, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) {
        QList<int> lines;
        for (const QVariant &n : item->data(LinesRole).toList())
            lines << n.toInt();
        pick(lines);
    });
    connect(&m_document, &ChartDocument::changed, this, &YaodianPane::refresh);
    refresh();
}

void YaodianPane::refresh()
{
    const Summary summary = summaryOf(m_document.chart());
    m_trend->setText(qs(trendLine(summary)));
    m_list->clear();
    for (const SummaryItem &item : summary.items) {
        auto *row = new QListWidgetItem(qs(item.text), m_list);
        QVariantList lines;
        for (int n : item.positions)
            lines << n;
        row->setData(LinesRole, lines);
        row->setToolTip(item.source.empty() ? qs(item.rule) : qs(item.source) + u"：\n"_s + qs(item.rule));
    }
    if (!m_picked.isEmpty())
        pick({});
}

void YaodianPane::pick(const QList<int> &lines)
{
    m_picked = lines;
    for (int n = 1; n <= 6; ++n) {
        QLabel *label = m_sheet.Lliuqin(n);
        const bool on = lines.contains(n);
        if (on) {
            QPalette p = label->palette();
            QColor mark = p.color(QPalette::Highlight);
            mark.setAlpha(80);
            p.setColor(QPalette::Window, mark);
            label->setPalette(p);
        }
        label->setAutoFillBackground(on);
        label->update();
    }
    emit linesPicked(lines);
}

} // namespace lotgrid
