#include "ui/environment.h"

#include "chart/randomsource.h"
#include "journal/journal.h"
#include "ui/platform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QMessageBox>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace lotgrid {

Environment Environment::production()
{
    Environment env;
    env.today = [] { return QDate::currentDate(); };
    env.now = [] { return QDateTime::currentDateTime(); };
    env.newCastSource = [] { return newSeededUniformSource(); };
    env.screenshotFolder = QCoreApplication::applicationDirPath();
    env.screenshotFallbackFolder = platform::picturesFolder();
    env.picturesFolder = platform::picturesFolder();
    env.saveFileName = [](QWidget *parent, const QString &caption, const QString &proposedPath, bool *dark) {
        // The program asks itself before replacing a file.
        const QString filter = proposedPath.endsWith(u".pdf"_s, Qt::CaseInsensitive)
                                   ? u"PDF 文件 (*.pdf)"_s
                                   : u"PNG 图片 (*.png);;JPEG 图片 (*.jpg *.jpeg)"_s;
        if (!dark)
            return QFileDialog::getSaveFileName(parent, caption, proposedPath, filter, nullptr,
                                                QFileDialog::DontConfirmOverwrite);
        // The choice of a dark picture stands in the dialog, under the file's name:
        // a dialog of Qt's own, since the desktop's cannot hold it.
        QFileDialog dialog(parent, caption, proposedPath, filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setOptions(QFileDialog::DontConfirmOverwrite | QFileDialog::DontUseNativeDialog);
        auto *choice = new QCheckBox(u"深色卦盘（深底浅字）"_s, &dialog);
        choice->setObjectName(u"daochuShense"_s);
        choice->setChecked(*dark);
        if (auto *grid = qobject_cast<QGridLayout *>(dialog.layout()))
            grid->addWidget(choice, grid->rowCount(), 0, 1, grid->columnCount());
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        *dark = choice->isChecked();
        return dialog.selectedFiles().constFirst();
    };
    env.pageSize = [](QWidget *parent, bool *texts) -> std::optional<QPageSize::PageSizeId> {
        QDialog dialog(parent);
        dialog.setObjectName(u"daochupdfPage"_s);
        dialog.setWindowTitle(u"导出PDF"_s);
        auto *form = new QFormLayout(&dialog);
        auto *size = new QComboBox(&dialog);
        size->setObjectName(u"daochupdfSize"_s);
        size->addItems({u"A4"_s, u"A5"_s});
        form->addRow(u"纸张大小（纵向）："_s, size);
        QCheckBox *choice = nullptr;
        if (texts) {
            choice = new QCheckBox(u"打印经文（第二页）"_s, &dialog);
            choice->setObjectName(u"daochupdfJingwen"_s);
            choice->setChecked(*texts);
            form->addRow(choice);
        }
        auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
        QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
        QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
        form->addRow(buttons);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        if (choice)
            *texts = choice->isChecked();
        return size->currentIndex() == 1 ? QPageSize::A5 : QPageSize::A4;
    };
    env.updateServer = QUrl(QStringLiteral(LOTGRID_UPDATE_SERVER));
    env.openUrl = [](const QUrl &url) { return QDesktopServices::openUrl(url); };
    env.quit = [] { QCoreApplication::exit(0); };
    env.ask = [](QWidget *parent, const QString &title, const QString &text) {
        return QMessageBox::question(parent, title, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
    };
    env.settingsFile = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + u"/lotgrid.conf"_s;
    env.journalPath = Journal::defaultPath();
    env.journalPrompts = JournalPrompts::production();
    return env;
}

} // namespace lotgrid
