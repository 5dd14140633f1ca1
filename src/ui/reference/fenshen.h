#pragma once
// The hidden-spirit query window `Fenshen`: on "查询" it copies the main
// window's original-hexagram label into `Text1` and shows the pure hexagram of
// that label's palace line by line, `T6` at the top down to `T1`, like the
// chart. A label that names no palace leaves everything but `Text1` as it was.

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
    Fenshen(QWidget *parent, std::function<QString()> currentBengua);

    void Command1_Click();

private:
    std::function<QString()> m_currentBengua;
    QLineEdit *m_Text1;
    QLineEdit *m_Lbengua;
    Six<QLineEdit *> m_T;
    QPushButton *m_Command1;
};

} // namespace lotgrid
