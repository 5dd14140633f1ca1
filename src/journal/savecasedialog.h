#pragma once
// The small dialog of 保存到案例库: it shows the question asked and the
// hexagrams of the chart on screen, and takes notes and tags. 保存 closes it
// only when the case was kept: after a failure it stays open with what was
// typed, to be tried again or copied.

#include "journal/journal.h"
#include "journal/journalmessages.h"
#include "journal/journalprompts.h"

#include <functional>

#include <QDialog>

class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace lotgrid {

class SaveCaseDialog : public QDialog
{
    Q_OBJECT
public:
    // Keeps the record; true when it was kept. The dialog is the parent of any message.
    using Saver = std::function<bool(QWidget *dialog, const CaseRecord &record)>;

    explicit SaveCaseDialog(const CaseRecord &draft, QWidget *parent = nullptr, Saver save = {});

    // The draft with the notes and tags typed here.
    CaseRecord record() const;
    void accept() override;

private:
    CaseRecord m_draft;
    Saver m_save;
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
