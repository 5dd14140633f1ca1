#pragma once
// How the journal's windows talk to the user: Yes/No questions, warnings,
// notices and the file choosers of export and import. Production values are
// message boxes and file dialogs; tests pass their own.

#include <QString>

#include <functional>

class QWidget;

namespace lotgrid {

struct JournalPrompts {
    // True for Yes.
    std::function<bool(QWidget *parent, const QString &title, const QString &text)> ask;
    std::function<void(QWidget *parent, const QString &title, const QString &text)> warn;
    std::function<void(QWidget *parent, const QString &title, const QString &text)> inform;
    // The file to write or read; empty when the user cancels. An export proposes
    // a name and shows the files of a filter ("CSV 表格 (*.csv)").
    std::function<QString(QWidget *parent, const QString &title, const QString &proposed, const QString &filter)>
        exportFile;
    std::function<QString(QWidget *parent, const QString &title)> importFile;
    // The name and filter of the journal's own export files.
    static const QString CaseFileName;
    static const QString CaseFileFilter;

    static JournalPrompts production();
};

} // namespace lotgrid
