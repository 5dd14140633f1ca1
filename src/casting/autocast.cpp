#include "casting/autocast.h"

#include "casting/castdialog.h"
#include "casting/progresswindow.h"
#include "chart/castdraw.h"
#include "chart/randomsource.h"
#include "qtcore/textconv.h"
#include "sheet/chartdocument.h"
#include "sheet/chartsheet.h"
#include "sheet/chartsteps.h"
#include "widgets/linefield.h"
#include "widgets/lineglyph.h"
#include "widgets/toolwindows.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace lotgrid {

AutoCast::AutoCast(ChartDocument &document, ChartSheet &sheet, ChartSteps &steps, QWidget *mainWindow,
                   std::function<std::function<double()>()> newSource, QObject *timerOwner)
    : QObject(timerOwner)
    , Timerzg(new QTimer(timerOwner))
    , Timer6y(new QTimer(timerOwner))
    , TimerzgOFF(new QTimer(timerOwner))
    , m_document(document)
    , m_sheet(sheet)
    , m_steps(steps)
    , m_mainWindow(mainWindow)
    , m_newSource(std::move(newSource))
{
    Timerzg->setObjectName(u"Timerzg"_s);
    Timerzg->setInterval(200);
    Timer6y->setObjectName(u"Timer6y"_s);
    Timer6y->setInterval(500);
    TimerzgOFF->setObjectName(u"TimerzgOFF"_s);
    TimerzgOFF->setInterval(2000);

    connect(Timerzg, &QTimer::timeout, this, &AutoCast::stepTimerzg);
    connect(Timer6y, &QTimer::timeout, this, &AutoCast::stepTimer6y);
    connect(TimerzgOFF, &QTimer::timeout, this, &AutoCast::stepTimerzgOFF);
    TimerzgOFF->start();
}

AutoCast::~AutoCast()
{
    // The progress window has no parent (it stands alone while the main window
    // is hidden), so it goes with the cast that opened it.
    if (m_zg) {
        m_zg->disconnect(this);
        delete m_zg;
    }
}

CastDialog *AutoCast::tools() const
{
    return m_tools;
}

ProgressWindow *AutoCast::zg() const
{
    return m_zg;
}

void AutoCast::zd_Click()
{
    if (m_zg && !m_zg->castDone()) { // a cast is running: the main window is hidden, nothing to open
        m_zg->raise();
        return;
    }
    if (m_tools && m_tools->isVisible()) {
        m_tools->raise();
        m_tools->activateWindow();
        return;
    }
    m_tools = new CastDialog(m_mainWindow);
    m_tools->setAttribute(Qt::WA_DeleteOnClose);
    if (m_mainWindow)
        m_tools->setWindowIcon(m_mainWindow->windowIcon());
    m_tools->TextWHS->setText(m_document.question());
    m_tools->takeSex(m_document.cast().sex);
    connect(m_tools, &CastDialog::confirmed, this, &AutoCast::Command1_Confirmed);
    showToolWindow(m_tools, m_mainWindow);
}

void AutoCast::Command1_Confirmed()
{
    ChartSteps::Scope pass(m_steps);
    if (!m_tools || (m_zg && !m_zg->castDone()))
        return;

    m_document.clear();
    m_document.setQuestion(m_tools->question());
    m_document.setSex(m_tools->sex());

    m_tools->close();

    // Where the main window stood, so the progress window appears in its place
    // and the main window comes back exactly there (a window shown again without
    // a position of its own is placed anew by the desktop).
    const QRect around = m_mainWindow ? m_mainWindow->frameGeometry() : QRect();
    const QByteArray placement = m_mainWindow ? m_mainWindow->saveGeometry() : QByteArray();
    if (m_mainWindow)
        m_mainWindow->hide();

    m_zg = new ProgressWindow([this, placement] {
        if (m_mainWindow)
            m_mainWindow->restoreGeometry(placement);
        cast();
    });
    m_zg->setAttribute(Qt::WA_DeleteOnClose);
    if (m_mainWindow)
        m_zg->setWindowIcon(m_mainWindow->windowIcon());
    // Should the window go without a cast (it refuses to close, but may still
    // be destroyed), the main window must not stay hidden.
    connect(m_zg, &QObject::destroyed, this, [this, placement] {
        if (m_mainWindow && m_mainWindow->isHidden()) {
            m_mainWindow->restoreGeometry(placement);
            m_mainWindow->show();
        }
    });
    m_zg->adjustSize();
    if (around.isValid())
        m_zg->move(around.center() - m_zg->rect().center());
    else if (const QScreen *screen = QGuiApplication::primaryScreen())
        m_zg->move(screen->availableGeometry().center() - m_zg->rect().center());
    m_zg->show();
}

void AutoCast::cast()
{
    ChartSteps::Scope pass(m_steps);

    std::function<double()> uniform = m_newSource ? m_newSource() : std::function<double()>();
    if (!uniform)
        uniform = newSeededUniformSource();
    const CastBits bits = drawCastBits(uniform);

    const Six<std::u16string> patterns = castPatterns(bits);
    std::array<CastLine, 6> still{};
    for (int n = 1; n <= 6; ++n)
        still[n - 1] = m_drawn[n - 1] = {bits[n - 1] ? u'1' : u'0', false};
    if (const auto moving = findMovingLine(patterns))
        m_drawn[moving->line - 1].moving = true;
    m_document.setLines(still);

    Timerzg->start();
    Timer6y->start();
    emit linesCast();

    if (m_mainWindow) {
        m_mainWindow->show();
        m_mainWindow->raise();
        m_mainWindow->activateWindow();
    }
    if (m_zg)
        m_zg->close();
}

void AutoCast::stepTimerzg()
{
    ChartSteps::Scope pass(m_steps);
    Timerzg->stop();
    // A line given another value by hand in the meantime does not take the drawn mark.
    for (int n = 1; n <= 6; ++n)
        if (m_drawn[n - 1].moving && m_document.cast().line(n).value == m_drawn[n - 1].value)
            m_document.setMoving(n, true);
}

void AutoCast::stepTimer6y()
{
    ChartSteps::Scope pass(m_steps);
    for (int n = 1; n <= 6; ++n)
        m_document.setLine(n, m_drawn[n - 1].value);
    Timer6y->stop();
}

void AutoCast::stepTimerzgOFF()
{
    Timerzg->stop();
    Timer6y->stop();
    if (!Timer6y->isActive())
        TimerzgOFF->stop();
}

} // namespace lotgrid
