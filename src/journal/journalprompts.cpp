#include "journalprompts.h"

#include <QFileDialog>
#include <QMessageBox>

using namespace Qt::StringLiterals;

namespace lotgrid {

JournalPrompts JournalPrompts::production()
{
    JournalPrompts p;
    p.ask = [](QWidget *parent, const QString &title, const QString &text) {
        return QMessageBox::question(parent, title, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
               == QMessageBox::Yes;
    };
    p.warn
        = [](QWidget *parent, const QString &title, const QString &text) { QMessageBox::warning(parent, title, text); };
    p.inform = [](QWidget *parent, const QString &title, const QString &text) {
        QMessageBox::information(parent, title, text);
    };
    const QString filter = u"案例文件 (*.json);;所有文件 (*)"_s;
    p.exportFile = [filter](QWidget *parent, const QString &title) {
        return QFileDialog::getSaveFileName(parent, title, u"案例.json"_s, filter);
    };
    p.importFile = [filter](QWidget *parent, const QString &title) {
        return QFileDialog::getOpenFileName(parent, title, QString(), filter);
    };
    return p;
}

} // namespace lotgrid
