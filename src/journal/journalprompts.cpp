#include "journalprompts.h"

#include <QFileDialog>
#include <QMessageBox>

using namespace Qt::StringLiterals;

namespace lotgrid {

namespace {

// The texts quote questions, paths and values from files: never read as markup.
QMessageBox::StandardButton showBox(QWidget *parent, QMessageBox::Icon icon, const QString &title, const QString &text,
                                    QMessageBox::StandardButtons buttons, QMessageBox::StandardButton preferred)
{
    QMessageBox box(icon, title, text, buttons, parent);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(preferred);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

} // namespace

const QString JournalPrompts::CaseFileName = u"案例.json"_s;
const QString JournalPrompts::CaseFileFilter = u"案例文件 (*.json);;所有文件 (*)"_s;

JournalPrompts JournalPrompts::production()
{
    JournalPrompts p;
    p.ask = [](QWidget *parent, const QString &title, const QString &text) {
        return showBox(parent, QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
               == QMessageBox::Yes;
    };
    p.warn = [](QWidget *parent, const QString &title, const QString &text) {
        showBox(parent, QMessageBox::Warning, title, text, QMessageBox::Ok, QMessageBox::Ok);
    };
    p.inform = [](QWidget *parent, const QString &title, const QString &text) {
        showBox(parent, QMessageBox::Information, title, text, QMessageBox::Ok, QMessageBox::Ok);
    };
    p.exportFile = [](QWidget *parent, const QString &title, const QString &proposed, const QString &filter) {
        return QFileDialog::getSaveFileName(parent, title, proposed, filter);
    };
    p.importFile = [](QWidget *parent, const QString &title) {
        return QFileDialog::getOpenFileName(parent, title, QString(), CaseFileFilter);
    };
    return p;
}

} // namespace lotgrid
