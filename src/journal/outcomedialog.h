#pragma once
// The small dialog of 应验… and 不验… in 案例库: the verdict, the day it came
// about when the user knows it, and a note that is added to the case's outcome.

#include "journal/caserecord.h"

#include <QDialog>

class QCheckBox;
class QDateEdit;
class QLineEdit;
class QRadioButton;

namespace lotgrid {

class OutcomeDialog : public QDialog
{
    Q_OBJECT
public:
    // `verdict` is the one the user chose the dialog with; `today` the date the day field proposes.
    OutcomeDialog(const CaseRecord &c, Verdict verdict, const QDate &today, QWidget *parent = nullptr);

    // The case with the verdict, the day (when ticked) and the note on a line of its own after the outcome.
    CaseRecord record() const;

private:
    CaseRecord m_case;
    QRadioButton *m_fulfilled;
    QRadioButton *m_failed;
    QCheckBox *m_dated;
    QDateEdit *m_date;
    QLineEdit *m_note;
};

} // namespace lotgrid
