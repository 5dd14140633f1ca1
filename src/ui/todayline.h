#pragma once

#include <QDate>
#include <QObject>

#include <functional>

class QLabel;
class QTimer;

namespace lotgrid {

// Keeps the today line in `Lnongli`: writes it at once, and again each time the date changes.
class TodayLine : public QObject
{
    Q_OBJECT
public:
    TodayLine(QLabel *Lnongli, std::function<QDate()> today, QObject *parent = nullptr);

    // Writes the line for today's date.
    void refresh();

private:
    QLabel *m_label;
    std::function<QDate()> m_today;
};

} // namespace lotgrid
