#pragma once
// The moment's clock and place, and entry as practitioners write it, on the
// sheet: the zone drop-down (`shiqu`, "其他…" asks for any zone of the
// database), 北京时间 kept as standard time, the place of true solar time
// (`chengshi`, "输入经度…" asks for degrees), the 干支 field (`ganzhi`: the
// dates with those pillars to pick one from, or 不指定日期 to chart from the
// builds and the day alone) and the 卦名 field (`guaming`). Each is a command
// on the document; what cannot be done is said in a message.

#include "calendar/ganzhientry.h"

#include <QDate>
#include <QObject>
#include <QPointer>

#include <functional>

class QWidget;

namespace lotgrid {

class ChartDocument;
class ChartSheet;
class ChartSteps;

class MomentEntry : public QObject
{
    Q_OBJECT
public:
    // `today` orders the dates of a 干支 entry; `window` parents the dialogs.
    MomentEntry(ChartDocument &document, ChartSheet &sheet, ChartSteps &steps, std::function<QDate()> today,
                QWidget *window);

    void shiqu_Click(int index);
    void chengshi_Click(int index);
    void ganzhi_Enter();
    void guaming_Enter();

    // The dates the last 干支 entry found, nearest first, and the pick: a row
    // of them, or none for 不指定日期.
    const std::vector<GanzhiMatch> &ganzhiMatches() const { return m_matches; }
    void pickGanzhi(std::optional<int> row);

private:
    void tell(const QString &title, const QString &text);
    void showAgain();

    ChartDocument &m_document;
    ChartSheet &m_sheet;
    ChartSteps &m_steps;
    std::function<QDate()> m_today;
    QWidget *m_window;
    GanzhiQuery m_query;
    std::vector<GanzhiMatch> m_matches;
};

} // namespace lotgrid
