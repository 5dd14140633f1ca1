#include "ui/todayline.h"

#include <QLabel>

namespace lotgrid {

TodayLine::TodayLine(QLabel *Lnongli, std::function<QDate()> today, QObject *parent)
    : QObject(parent)
    , m_label(Lnongli)
    , m_today(std::move(today))
{
    refresh();
}

void TodayLine::refresh() {}

} // namespace lotgrid
