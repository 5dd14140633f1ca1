#pragma once

#include "chart/castingrules.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace lotgrid {

// The dialog `Shuzi` of number casting: two whole numbers from 1 to 99,999,999
// and the option to add the hour's number (of the moment on the sheet) to the
// moving-line sum. "确定" accepts only two such numbers; anything else is
// refused with a message and the dialog stays open. The message then follows
// the input, and goes as soon as the numbers are valid.
class NumberDialog : public QDialog
{
    Q_OBJECT
public:
    // `hour` is the branch number (子 1 .. 亥 12) of the moment on the sheet.
    NumberDialog(bool addsHour, int hour, QWidget *parent = nullptr);

    QLineEdit *number1; // upper trigram
    QLineEdit *number2; // lower trigram
    QCheckBox *addHour;
    QLabel *message; // why the numbers were refused
    QPushButton *ok;
    QPushButton *cancel;

    // The cast of the numbers as they stand, or none when they are not two
    // numbers in range.
    std::optional<PlumCast> cast() const;

    void ok_Click();

private:
    // What stops the cast as the fields stand; empty when nothing does.
    QString problem() const;

    int m_hour;
};

} // namespace lotgrid
