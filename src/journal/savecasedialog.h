#pragma once
// The small dialog of 保存到案例库: it shows the question asked and the
// hexagrams of the chart on screen, and takes notes and tags.

#include "journal/journal.h"
#include "journal/journalprompts.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace lotgrid {

class SaveCaseDialog : public QDialog
{
    Q_OBJECT
public:
    explicit SaveCaseDialog(const CaseRecord &draft, QWidget *parent = nullptr);

    // The draft with the notes and tags typed here.
    CaseRecord record() const;

private:
    CaseRecord m_draft;
    QLabel *m_question;
    QLabel *m_hexagrams;
    QPlainTextEdit *m_notes;
    QLineEdit *m_tags;
};

// Asks with the dialog and saves what it returns. A failed save is told with
// the journal's message; nothing is returned then, nor when the user cancels.
std::optional<CaseRecord> saveCaseInteractively(QWidget *parent, Journal &journal, const CaseRecord &draft,
                                                const JournalPrompts &prompts);

} // namespace lotgrid
