#include "sheet/chartsteps.h"

#include "chart/chart.h"
#include "qtcore/textconv.h"
#include "sheet/chartdocument.h"
#include "sheet/chartsheet.h"
#include "widgets/linefield.h"

#include <QCheckBox>
#include <QLabel>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace lotgrid {

namespace {

bool write(QLabel *field, const QString &text)
{
    if (field->text() == text)
        return false;
    field->setText(text);
    return true;
}

bool write(QString &field, const QString &text)
{
    if (field == text)
        return false;
    field = text;
    return true;
}

} // namespace

QTimer *ChartSteps::makeStep(QObject *owner, const QString &name, int interval, bool (ChartSteps::*step)())
{
    auto *timer = new QTimer(owner);
    timer->setObjectName(name);
    timer->setInterval(interval);
    connect(timer, &QTimer::timeout, this, [this, timer, step] { tick(timer, (this->*step)()); });
    return timer;
}

ChartSteps::ChartSteps(const ChartDocument &document, ChartSheet &sheet, QObject *timerOwner)
    : QObject(timerOwner)
    , m_document(document)
    , m_sheet(sheet)
{
    TimerBengua = makeStep(timerOwner, u"TimerBengua"_s, 500, &ChartSteps::stepTimerBengua);
    Tsy = makeStep(timerOwner, u"Tsy"_s, 100, &ChartSteps::stepTsy);
    TimerSBG = makeStep(timerOwner, u"TimerSBG"_s, 200, &ChartSteps::stepTimerSBG);
    TimerSBG2 = makeStep(timerOwner, u"TimerSBG2"_s, 10, &ChartSteps::stepTimerSBG2);
    Timerai = makeStep(timerOwner, u"Timerai"_s, 100, &ChartSteps::stepTimerai);
    for (int n = 1; n <= 6; ++n) {
        TX(n) = new QTimer(timerOwner);
        TX(n)->setObjectName(u"TX"_s + QString::number(n));
        TX(n)->setInterval(n == 1 ? 250 : 200);
        connect(TX(n), &QTimer::timeout, this, [this, n] { tick(TX(n), stepTX(n)); });
    }
    m_all = {TimerBengua, Tsy, TimerSBG, TimerSBG2, Timerai, TX(1), TX(2), TX(3), TX(4), TX(5), TX(6)};
    for (QTimer *t : m_all)
        switchOn(t);
}

void ChartSteps::switchOn(QTimer *step)
{
    for (std::size_t i = 0; i < m_all.size(); ++i)
        if (m_all[i] == step)
            m_on[i] = true;
    if (!step->isActive())
        step->start();
}

void ChartSteps::switchOff(QTimer *step)
{
    for (std::size_t i = 0; i < m_all.size(); ++i)
        if (m_all[i] == step)
            m_on[i] = false;
    step->stop();
}

bool ChartSteps::isOn(const QTimer *step) const
{
    for (std::size_t i = 0; i < m_all.size(); ++i)
        if (m_all[i] == step)
            return m_on[i];
    return false;
}

void ChartSteps::arm()
{
    for (std::size_t i = 0; i < m_all.size(); ++i)
        if (m_on[i] && !m_all[i]->isActive())
            m_all[i]->start();
}

void ChartSteps::tick(QTimer *timer, bool wrote)
{
    if (wrote)
        arm(); // the sheet changed: the steps that follow from it must look again
    else
        timer->stop();
}

const Chart &ChartSteps::chart() const
{
    return m_document.chart();
}

bool ChartSteps::stepTimerBengua()
{
    const Chart &c = chart();
    bool wrote = write(m_sheet.TextBengua, qs(lineKeyOf(c.input, false)));
    if (c.original)
        wrote |= write(m_sheet.bengua, qs(c.original->text));
    return wrote;
}

bool ChartSteps::stepTsy()
{
    const Chart &c = chart();
    if (!c.original)
        return false;
    bool wrote = write(m_sheet.XX, qs(elementName(c.palaceElement())));
    for (int n = 1; n <= 6; ++n)
        wrote |= write(m_sheet.LSY(n), qs(roleName(c.line(n).role)));
    for (int n = 6; n >= 1; --n)
        wrote |= write(m_sheet.Lliuqin(n), qs(relativeLabel(c.line(n).relative, c.line(n).branch)));
    return wrote;
}

bool ChartSteps::stepTimerSBG()
{
    const Chart &c = chart();
    if (c.hasMovingLine() || !c.original)
        return false;
    return write(m_sheet.biangua, qs(c.original->text));
}

bool ChartSteps::stepTimerSBG2()
{
    const Chart &c = chart();
    bool wrote = write(m_sheet.TextSBG2, qs(lineKeyOf(c.input, true)));
    if (c.changed)
        wrote |= write(m_sheet.biangua, qs(c.changed->text));
    return wrote;
}

bool ChartSteps::stepTimerai()
{
    const Chart &c = chart();
    if (!c.changed)
        return false;
    bool wrote = false;
    for (int n = 1; n <= 6; ++n)
        wrote |= write(m_sheet.Bsy(n), qs(roleName(c.line(n).changedRole)));
    for (int n = 6; n >= 1; --n)
        wrote |= write(m_sheet.BGLiuqin(n), qs(branchElementLabel(c.line(n).changedBranch)));
    return wrote;
}

bool ChartSteps::stepTX(int line)
{
    const Chart &c = chart();
    if (!c.original || !c.changed)
        return false;
    bool wrote = false;
    if (line == 1)
        for (int n = 1; n <= 6; ++n)
            wrote |= write(m_sheet.X(n), qs(elementName(c.line(n).changedElement)));
    wrote |= write(m_sheet.L(line), qs(relativeName(c.line(line).changedRelative)));
    return wrote;
}

void ChartSteps::runPass()
{
    for (std::size_t i = 0; i < m_all.size(); ++i) {
        if (!m_on[i])
            continue;
        switch (i) {
        case 0:
            stepTimerBengua();
            break;
        case 1:
            stepTsy();
            break;
        case 2:
            stepTimerSBG();
            break;
        case 3:
            stepTimerSBG2();
            break;
        case 4:
            stepTimerai();
            break;
        default:
            stepTX(static_cast<int>(i) - 4);
            break;
        }
    }
}

ChartSteps::Scope::Scope(ChartSteps &steps)
    : m_steps(steps)
{
    ++m_steps.m_depth;
}

ChartSteps::Scope::~Scope()
{
    if (--m_steps.m_depth != 0)
        return;
    if (m_steps.m_instantPass)
        m_steps.runPass();
    m_steps.arm();
}

} // namespace lotgrid
