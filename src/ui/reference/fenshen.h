#pragma once
// The hidden-spirit query window `Fenshen`: on "查询" it writes the chart's
// original hexagram (as the sheet's `bengua` names it) into `Text1` and shows
// the pure hexagram of its palace line by line, `T6` at the top down to `T1`,
// like the chart. Without an original hexagram `Text1` is emptied and the rest
// stays as it was.

#include "chart/hexagrams.h"
#include "core/six.h"

#include <QString>
#include <QWidget>

#include <functional>

class QLineEdit;
class QPushButton;

namespace lotgrid {

class Fenshen : public QWidget
{
    Q_OBJECT
public:
    Fenshen(QWidget *parent, std::function<const HexagramRow *()> currentOriginal);

    void Command1_Click();

private:
    std::function<const HexagramRow *()> m_currentOriginal;
    QLineEdit *m_Text1;
    QLineEdit *m_Lbengua;
    Six<QLineEdit *> m_T;
    QPushButton *m_Command1;
};

} // namespace lotgrid
