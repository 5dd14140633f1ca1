#include "ui/todayline.h"

#include "calendar/today.h"
#include "qtcore/textconv.h"

#include <QLabel>
#include <QTimeZone>
#include <QTimer>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace lotgrid {

namespace {
constexpr qint64 HourMs = 60 * 60 * 1000;
constexpr qint64 PastMidnightMs = 1000; // so that the date has surely turned when the timer fires
} // namespace

TodayLine::TodayLine(QLabel *Lnongli, std::function<QDate()> today, QObject *parent)
    : TodayLine(
        Lnongli, std::move(today), [] { return QDateTime::currentDateTime(); }, parent)
{
}

TodayLine::TodayLine(QLabel *Lnongli, std::function<QDate()> today, std::function<QDateTime()> now, QObject *parent)
    : QObject(parent)
    , m_label(Lnongli)
    , m_today(std::move(today))
    , m_now(std::move(now))
    , m_timerMidnight(new QTimer(this))
{
    m_timerMidnight->setObjectName(u"TimerMidnight"_s);
    m_timerMidnight->setSingleShot(true);
    connect(m_timerMidnight, &QTimer::timeout, this, &TodayLine::stepTimerMidnight);
    refresh();
    armTimerMidnight();
}

void TodayLine::refresh()
{
    if (!m_label)
        return;
    const QDate date = m_today ? m_today() : QDate();
    const CivilDate civil = date.isValid() ? CivilDate{date.year(), date.month(), date.day()} : CivilDate{};
    m_label->setText(qs(ShowToday(civil)));
}

void TodayLine::stepTimerMidnight()
{
    refresh();
    armTimerMidnight();
}

int TodayLine::msecsToNextCheck(const QDateTime &now)
{
    if (!now.isValid())
        return static_cast<int>(HourMs);
    const QDate tomorrow = now.date().addDays(1);
    // An offset goes with Qt::OffsetFromUTC only: local time has its own, which Qt looks up itself.
    const QDateTime nextMidnight = now.timeSpec() == Qt::TimeZone ? tomorrow.startOfDay(now.timeZone())
                                   : now.timeSpec() == Qt::OffsetFromUTC
                                       ? tomorrow.startOfDay(Qt::OffsetFromUTC, now.offsetFromUtc())
                                       : tomorrow.startOfDay(now.timeSpec());
    const qint64 ms = now.msecsTo(nextMidnight) + PastMidnightMs;
    return static_cast<int>(std::clamp<qint64>(ms, PastMidnightMs, HourMs));
}

void TodayLine::armTimerMidnight()
{
    m_timerMidnight->start(msecsToNextCheck(m_now ? m_now() : QDateTime::currentDateTime()));
}

} // namespace lotgrid
