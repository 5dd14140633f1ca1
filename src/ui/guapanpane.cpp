#include "ui/guapanpane.h"

#include "guapan/guapanview.h"
#include "sheet/chartdocument.h"
#include "widgets/settingskeys.h"

#include <QAction>
#include <QDockWidget>
#include <QEvent>
#include <QMainWindow>
#include <QPushButton>
#include <QScrollArea>
#include <QSettings>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace lotgrid {

GuapanPane::GuapanPane(QMainWindow &window, const ChartDocument &document, std::function<GuapanWords()> words,
                       QString settingsFile)
    : QObject(&window)
    , m_document(document)
    , m_words(std::move(words))
    , m_settingsFile(std::move(settingsFile))
    , m_dock(new QDockWidget(u"卦盘"_s, &window))
    , m_scroll(new QScrollArea(m_dock))
    , m_jingwen(new QPushButton(u"周易经文"_s, m_dock))
    , m_view(new GuapanView(m_scroll))
{
    setObjectName(u"guapanPane"_s);
    m_dock->setObjectName(u"guapanDock"_s);
    m_dock->setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
    m_dock->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea | Qt::BottomDockWidgetArea);
    m_scroll->setObjectName(u"guapanScroll"_s);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_scroll->setWidget(m_view);
    m_scroll->setWidgetResizable(true);
    // The drawing fits the pane's width and only ever scrolls down.
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->installEventFilter(this);
    m_jingwen->setObjectName(u"guapanJingwen"_s);
    m_jingwen->setToolTip(u"查看本卦、变卦的卦辞爻辞，以及按朱熹考变占所取之辞"_s);
    connect(m_jingwen, &QPushButton::clicked, this, &GuapanPane::jingwenRequested);
    auto *content = new QWidget(m_dock);
    content->setObjectName(u"guapanContent"_s);
    auto *column = new QVBoxLayout(content);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    column->addWidget(m_jingwen, 0, Qt::AlignLeft);
    column->addWidget(m_scroll, 1);
    m_dock->setWidget(content);
    window.addDockWidget(Qt::RightDockWidgetArea, m_dock);

    m_toggle = m_dock->toggleViewAction();
    m_toggle->setObjectName(u"guapanPane"_s);
    m_toggle->setText(u"卦盘(&G)"_s);
    m_toggle->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
    m_toggle->setShortcutContext(Qt::ApplicationShortcut);

    bool shown = true;
    if (!m_settingsFile.isEmpty())
        shown = QSettings(m_settingsFile, QSettings::IniFormat).value(settingskeys::GuapanShown, true).toBool();
    m_dock->setVisible(shown);
    // Remembered only when the user shows or hides it, not when the window closes.
    connect(m_toggle, &QAction::triggered, this, [this](bool on) {
        if (!m_settingsFile.isEmpty())
            QSettings(m_settingsFile, QSettings::IniFormat).setValue(settingskeys::GuapanShown, on);
    });
    connect(&m_document, &ChartDocument::changed, this, &GuapanPane::refresh);
    connect(&m_document, &ChartDocument::wordsChanged, this, &GuapanPane::refresh);
    // A pane not on screen (closed, or the window not yet shown) draws nothing
    // until it is shown: the changes made meanwhile are drawn once.
    connect(m_dock, &QDockWidget::visibilityChanged, this, [this](bool nowShown) {
        if (nowShown && m_stale)
            refresh();
    });
    refresh();
}

GuapanView *GuapanPane::view() const
{
    if (m_stale) // asked for while closed: drawn now
        const_cast<GuapanPane *>(this)->draw();
    return m_view;
}

void GuapanPane::setZoom(qreal zoom)
{
    m_view->setZoom(zoom);
    if (m_view->sizeHint() != m_drawn) {
        m_drawn = m_view->sizeHint();
        emit drawingResized();
    }
}

void GuapanPane::fitDock(QSize sheet)
{
    auto *window = qobject_cast<QMainWindow *>(parent());
    if (!window || m_dock->isHidden() || m_dock->isFloating())
        return;
    // The sheet comes first: the pane takes what room it leaves, and scrolls when that is too little.
    const QSize whole = besideSheet(sheet);
    const int gap = separator();
    if (window->dockWidgetArea(m_dock) == Qt::BottomDockWidgetArea) {
        const int room = window->centralWidget()->height() + m_dock->height() - sheet.height() - gap;
        window->resizeDocks({m_dock}, {std::max(std::min(whole.height() - sheet.height() - gap, room), 80)},
                            Qt::Vertical);
    } else {
        const int room = window->centralWidget()->width() + m_dock->width() - sheet.width() - gap;
        window->resizeDocks({m_dock}, {std::max(std::min(whole.width() - sheet.width() - gap, room), 120)},
                            Qt::Horizontal);
    }
}

QSize GuapanPane::besideSheet(QSize sheet) const
{
    if (m_dock->isHidden() || m_dock->isFloating())
        return sheet;
    const auto *window = qobject_cast<const QMainWindow *>(parent());
    const QSize pane = paneSize();
    if (window && window->dockWidgetArea(m_dock) == Qt::BottomDockWidgetArea)
        return {std::max(sheet.width(), pane.width()), sheet.height() + separator() + pane.height()};
    return {sheet.width() + separator() + pane.width(), std::max(sheet.height(), pane.height())};
}

int GuapanPane::widthBeside() const
{
    return separator() + paneSize().width();
}

// The dock's size showing the whole drawing, with its title and a scroll bar's room.
QSize GuapanPane::paneSize() const
{
    const int bar = m_scroll->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int title = m_dock->fontMetrics().height() + 8;
    const int button = m_jingwen->sizeHint().height() + 2;
    return view()->sizeHint() + QSize(bar + 2, title + button + 2);
}

bool GuapanPane::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_scroll && event->type() == QEvent::Resize)
        fitView();
    return QObject::eventFilter(watched, event);
}

// The room across less a vertical scroll bar's, whether one shows or not, so
// that the bar coming or going never changes the drawing.
void GuapanPane::fitView()
{
    const int bar = m_scroll->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    m_view->setFitWidth(std::max(1, m_scroll->maximumViewportSize().width() - bar));
}

int GuapanPane::separator() const
{
    return m_dock->style()->pixelMetric(QStyle::PM_DockWidgetSeparatorExtent) + 2;
}

bool GuapanPane::showsWhole() const
{
    if (m_dock->isHidden() || m_dock->isFloating())
        return true;
    const QSize room = m_scroll->maximumViewportSize();
    const QSize drawing = view()->sizeHint();
    return room.width() >= drawing.width() && room.height() >= drawing.height();
}

void GuapanPane::setPicked(const QList<int> &lines)
{
    if (lines == m_picked)
        return;
    m_picked = lines;
    refresh();
}

void GuapanPane::refresh()
{
    if (!m_dock->isVisible()) {
        m_stale = true;
        return;
    }
    draw();
}

void GuapanPane::draw()
{
    m_stale = false;
    GuapanWords words = m_words ? m_words() : GuapanWords{};
    words.picked = m_picked;
    m_view->setWords(words);
    m_view->setChart(m_document.chart());
    if (m_view->sizeHint() != m_drawn) {
        m_drawn = m_view->sizeHint();
        emit drawingResized();
    }
}

} // namespace lotgrid
