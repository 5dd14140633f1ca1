#pragma once

#include "chart/castingrules.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;

namespace lotgrid {

// The dialog `Shijian` of time casting: shows the moment of the cast, its
// numbers and the reckoning of the two trigrams and the moving line, with the
// option to turn the year at 立春; "确定" casts, "取消" and Escape do nothing.
class TimeCastDialog : public QDialog
{
    Q_OBJECT
public:
    TimeCastDialog(const Moment &moment, bool yearAtLichun, bool dayTurnsAt23, QWidget *parent = nullptr);

    QLabel *momentLabel; // "起卦时间：2013-01-28 16:00"
    QLabel *reckoning;   // numbers, trigrams, moving line, hexagram
    QCheckBox *lichunYear;
    QPushButton *ok;
    QPushButton *cancel;

    // The cast of the moment under the option as it stands; none outside the
    // calendar's span.
    std::optional<PlumCast> cast() const;

private:
    void showReckoning();

    Moment m_moment;
    bool m_dayTurnsAt23;
};

} // namespace lotgrid
