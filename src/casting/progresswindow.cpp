#include "casting/progresswindow.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

using namespace Qt::StringLiterals;

namespace lotgrid {

namespace {

constexpr int BarMaximum = 1000;
constexpr int BarStep = 10;
constexpr int StepPeriodMs = 100;

struct ProgressMessage {
    int value; // bar value at which the message appears
    const char16_t *text;
};

// Six lines over the first two thirds of the bar, then the moving line and
// the end; nothing new at 710, so the sixth line's message stays until 810.
// clang-format off
constexpr std::array<ProgressMessage, 8> Messages{{
    {110, u"正在卜第一爻……"},
    {210, u"正在卜第二爻……"},
    {310, u"正在卜第三爻……"},
    {410, u"正在卜第四爻……"},
    {510, u"正在卜第五爻……"},
    {610, u"正在卜第六爻……"},
    {810, u"正在计算有无动爻……"},
    {910, u"卜卦完毕……"},
}};
// clang-format on

} // namespace

ProgressWindow::ProgressWindow(std::function<void()> cast, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
    , ProgressBar1(new QProgressBar(this))
    , Labelinfo(new QLabel(this))
    , Timer1(new QTimer(this))
    , Timer2(new QTimer(this))
    , m_cast(std::move(cast))
{
    setObjectName(u"zg"_s);
    setWindowTitle(u"系统正在占卦中......"_s);

    ProgressBar1->setObjectName(u"ProgressBar1"_s);
    ProgressBar1->setRange(0, BarMaximum);
    ProgressBar1->setValue(0);
    Labelinfo->setObjectName(u"Labelinfo"_s);
    Labelinfo->setAlignment(Qt::AlignCenter);
    Labelinfo->setMinimumWidth(Labelinfo->fontMetrics().horizontalAdvance(u'卜') * 20);
    Labelinfo->setMinimumHeight(Labelinfo->fontMetrics().height());

    // Without a title bar the window needs a frame of its own to stand out from the desktop.
    auto *frame = new QFrame(this);
    frame->setFrameShape(QFrame::Panel);
    frame->setFrameShadow(QFrame::Raised);
    frame->setLineWidth(2);
    auto *title = new QLabel(windowTitle(), frame);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    auto *inner = new QVBoxLayout(frame);
    inner->setContentsMargins(18, 14, 18, 14);
    inner->setSpacing(10);
    inner->addWidget(title);
    inner->addWidget(ProgressBar1);
    inner->addWidget(Labelinfo);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(frame);
    outer->setSizeConstraint(QLayout::SetFixedSize);

    Timer1->setObjectName(u"Timer1"_s);
    Timer1->setInterval(StepPeriodMs);
    Timer2->setObjectName(u"Timer2"_s);
    Timer2->setInterval(StepPeriodMs);
    connect(Timer1, &QTimer::timeout, this, &ProgressWindow::stepTimer1);
    connect(Timer2, &QTimer::timeout, this, &ProgressWindow::stepTimer2);
}

void ProgressWindow::showEvent(QShowEvent *event)
{
    keepInsideScreen();
    QWidget::showEvent(event);
    if (!m_castDone) {
        if (!Timer1->isActive())
            Timer1->start();
        if (!Timer2->isActive())
            Timer2->start();
    }
}

void ProgressWindow::keepInsideScreen()
{
    QScreen *screen = QGuiApplication::screenAt(geometry().center());
    if (!screen)
        screen = this->screen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QRect frame = frameGeometry();
    // Where the window is larger than the area, its top left corner stays visible.
    const int left = std::max(area.left(), std::min(frame.left(), area.right() + 1 - frame.width()));
    const int top = std::max(area.top(), std::min(frame.top(), area.bottom() + 1 - frame.height()));
    if (left != frame.left() || top != frame.top())
        move(pos() + QPoint(left - frame.left(), top - frame.top()));
}

void ProgressWindow::stepTimer1()
{
    if (m_castDone)
        return;
    ProgressBar1->setValue(std::min(ProgressBar1->value() + BarStep, BarMaximum));
    if (ProgressBar1->value() > BarMaximum - 1) {
        m_castDone = true;
        Timer1->stop();
        Timer2->stop();
        if (m_cast)
            m_cast();
    }
}

void ProgressWindow::stepTimer2()
{
    Text1 = QString::number(ProgressBar1->value());
    const int value = Text1.toInt();
    for (const ProgressMessage &m : Messages)
        if (m.value == value)
            Labelinfo->setText(QString::fromUtf16(m.text));
}

void ProgressWindow::closeEvent(QCloseEvent *event)
{
    // Before the cast the main window is hidden and only the cast shows it again.
    if (!m_castDone) {
        event->ignore();
        return;
    }
    Timer1->stop();
    Timer2->stop();
    QWidget::closeEvent(event);
}

} // namespace lotgrid
