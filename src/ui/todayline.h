#pragma once

#include <QDate>
#include <QDateTime>
#include <QObject>

#include <functional>

class QLabel;
class QTimer;

namespace lotgrid {

// Keeps the today line in `Lnongli`: writes it at once, and again each time the
// date changes. The single-shot timer `TimerMidnight` is armed for just after the
// next midnight; each time it fires it writes the line for the new date and arms
// itself again. It never waits more than an hour, so a clock that is set by hand
// or a machine that wakes from sleep is caught up within the hour.
class TodayLine : public QObject
{
    Q_OBJECT
public:
    TodayLine(QLabel *Lnongli, std::function<QDate()> today, QObject *parent = nullptr);
    // `now` tells the time of day, to find the next midnight.
    TodayLine(QLabel *Lnongli, std::function<QDate()> today, std::function<QDateTime()> now, QObject *parent = nullptr);

    // Writes the line for today's date.
    void refresh();
    // What TimerMidnight does: writes the line and arms the timer for the next midnight.
    void stepTimerMidnight();

    QTimer *timerMidnight() const { return m_timerMidnight; }

    // Milliseconds from `now` to one second past the next midnight, at most an hour.
    static int msecsToNextCheck(const QDateTime &now);

private:
    void armTimerMidnight();

    QLabel *m_label;
    std::function<QDate()> m_today;
    std::function<QDateTime()> m_now;
    QTimer *m_timerMidnight;
};

} // namespace lotgrid
