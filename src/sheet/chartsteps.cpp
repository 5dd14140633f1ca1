#include "sheet/chartsteps.h"

#include "chart/hexagrams.h"
#include "sheet/chartsheet.h"
#include "widgets/linefield.h"
#include "widgets/textconv.h"

#include <QCheckBox>
#include <QLabel>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace lotgrid {

namespace {

QTimer *makeTimer(QObject *owner, const QString &name, int interval)
{
    auto *timer = new QTimer(owner);
    timer->setObjectName(name);
    timer->setInterval(interval);
    return timer;
}

void write(QLabel *field, const QString &text)
{
    if (field->text() != text)
        field->setText(text);
}

} // namespace

ChartSteps::ChartSteps(ChartSheet &sheet, QObject *timerOwner)
    : QObject(timerOwner)
    , m_sheet(sheet)
{
    TimerBengua = makeTimer(timerOwner, u"TimerBengua"_s, 500);
    Tsy = makeTimer(timerOwner, u"Tsy"_s, 100);
    TimerSBG = makeTimer(timerOwner, u"TimerSBG"_s, 200);
    TimerSBG2 = makeTimer(timerOwner, u"TimerSBG2"_s, 10);
    Timerai = makeTimer(timerOwner, u"Timerai"_s, 100);
    for (int n = 1; n <= 6; ++n)
        TX(n) = makeTimer(timerOwner, u"TX"_s + QString::number(n), n == 1 ? 250 : 200);

    connect(TimerBengua, &QTimer::timeout, this, &ChartSteps::stepTimerBengua);
    connect(Tsy, &QTimer::timeout, this, &ChartSteps::stepTsy);
    connect(TimerSBG, &QTimer::timeout, this, &ChartSteps::stepTimerSBG);
    connect(TimerSBG2, &QTimer::timeout, this, &ChartSteps::stepTimerSBG2);
    connect(Timerai, &QTimer::timeout, this, &ChartSteps::stepTimerai);
    for (int n = 1; n <= 6; ++n)
        connect(TX(n), &QTimer::timeout, this, [this, n] { stepTX(n); });

    for (QTimer *t : {TimerBengua, Tsy, TimerSBG, TimerSBG2, Timerai})
        t->start();
    for (QTimer *t : TX)
        t->start();
}

void ChartSteps::switchOn(QTimer *timer)
{
    if (!timer->isActive())
        timer->start();
}

void ChartSteps::stepTimerBengua()
{
    QString key;
    for (int n = 1; n <= 6; ++n)
        key += m_sheet.Text(n)->text();
    m_sheet.TextBengua = key;
    if (const HexagramRow *row = FindHexagramByKey(u16(m_sheet.TextBengua)))
        write(m_sheet.bengua, qs(row->text));
}

void ChartSteps::stepTsy()
{
    const HexagramRow *row = FindHexagramByText(u16(m_sheet.bengua->text()));
    if (!row)
        return;
    m_sheet.XX = qs(elementName(palaceElement(row->palace)));
    for (int n = 1; n <= 6; ++n)
        write(m_sheet.LSY(n), n == row->world ? u"世"_s : n == row->response ? u"应"_s : QString());
    for (int n = 6; n >= 1; --n)
        write(m_sheet.Lliuqin(n), qs(lineLabel(*row, n)));
}

void ChartSteps::stepTimerSBG()
{
    for (int n = 1; n <= 6; ++n)
        if (m_sheet.co(n)->isChecked() || m_sheet.cx(n)->isChecked())
            return;
    write(m_sheet.biangua, m_sheet.bengua->text());
}

void ChartSteps::stepTimerSBG2()
{
    QString key;
    for (int n = 1; n <= 6; ++n)
        key += m_sheet.BY(n);
    m_sheet.TextSBG2 = key;
    if (const HexagramRow *row = FindHexagramByKey(u16(m_sheet.TextSBG2)))
        write(m_sheet.biangua, qs(row->text));
}

void ChartSteps::stepTimerai()
{
    const HexagramRow *row = FindHexagramByText(u16(m_sheet.biangua->text()));
    if (!row) {
        write(m_sheet.biangua, {});
        for (int n = 1; n <= 6; ++n)
            write(m_sheet.Bsy(n), {});
        for (int n = 1; n <= 6; ++n)
            write(m_sheet.BGLiuqin(n), {});
        return;
    }
    for (int n = 1; n <= 6; ++n)
        write(m_sheet.Bsy(n), n == row->world ? u"世"_s : n == row->response ? u"应"_s : QString());
    for (int n = 6; n >= 1; --n)
        write(m_sheet.BGLiuqin(n), qs(branchLabel(*row, n)));
}

void ChartSteps::stepTX(int line)
{
    if (line == 1) {
        for (int n = 1; n <= 6; ++n) {
            const QString label = m_sheet.BGLiuqin(n)->text();
            m_sheet.X(n) = label.size() >= 2 ? label.mid(1, 1) : QString();
        }
    }
    const auto palace = elementFromText(u16(m_sheet.XX));
    const auto element = elementFromText(u16(m_sheet.X(line)));
    if (palace && element)
        write(m_sheet.L(line), qs(relativeName(relativeOf(*palace, *element))));
}

void ChartSteps::runPass()
{
    if (TimerBengua->isActive())
        stepTimerBengua();
    if (Tsy->isActive())
        stepTsy();
    if (TimerSBG->isActive())
        stepTimerSBG();
    if (TimerSBG2->isActive())
        stepTimerSBG2();
    if (Timerai->isActive())
        stepTimerai();
    for (int n = 1; n <= 6; ++n)
        if (TX(n)->isActive())
            stepTX(n);
}

ChartSteps::Scope::Scope(ChartSteps &steps)
    : m_steps(steps)
{
    ++m_steps.m_depth;
}

ChartSteps::Scope::~Scope()
{
    if (--m_steps.m_depth == 0)
        m_steps.runPass();
}

} // namespace lotgrid
