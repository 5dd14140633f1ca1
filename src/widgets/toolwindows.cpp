#include "widgets/toolwindows.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <QStatusBar>
#include <QUrl>
#include <QWidget>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace lotgrid {

QRect toolWindowFrame(const QRect &anchor, QSize frame, const QRect &available)
{
    QRect placed(QPoint(), available.isValid() ? frame.boundedTo(available.size()) : frame);
    placed.moveCenter(anchor.isValid() ? anchor.center() : available.center());
    if (!available.isValid())
        return placed;
    placed.moveLeft(std::clamp(placed.left(), available.left(), available.right() + 1 - placed.width()));
    placed.moveTop(std::clamp(placed.top(), available.top(), available.bottom() + 1 - placed.height()));
    return placed;
}

void placeToolWindow(QWidget *window, const QWidget *anchor)
{
    if (!window || window->isVisible())
        return;
    if (anchor && !anchor->isVisible())
        anchor = nullptr; // a hidden main window has no place to centre on
    const QScreen *screen = anchor ? anchor->screen() : nullptr;
    if (anchor)
        if (const QScreen *at = QGuiApplication::screenAt(anchor->frameGeometry().center()))
            screen = at;
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : QRect();
    window->ensurePolished();
    if (!window->testAttribute(Qt::WA_Resized))
        window->adjustSize();
    // The window's frame is not known before it shows: the anchor's stands for it.
    const QMargins frameMargins = anchor ? QMargins(anchor->geometry().left() - anchor->frameGeometry().left(),
                                                    anchor->geometry().top() - anchor->frameGeometry().top(),
                                                    anchor->frameGeometry().right() - anchor->geometry().right(),
                                                    anchor->frameGeometry().bottom() - anchor->geometry().bottom())
                                         : QMargins();
    const QSize outer = window->size().grownBy(frameMargins);
    const QRect frame = toolWindowFrame(anchor ? anchor->frameGeometry() : QRect(), outer, available);
    if (frame.size() != outer)
        window->resize(frame.size().shrunkBy(frameMargins).expandedTo(window->minimumSize()));
    window->move(frame.topLeft());
}

void showToolWindow(QWidget *window, const QWidget *anchor)
{
    if (!window)
        return;
    placeToolWindow(window, anchor);
    window->show();
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->raise();
    window->activateWindow();
}

namespace {

FolderOpener &folderOpener()
{
    static FolderOpener opener;
    return opener;
}

} // namespace

void setFolderOpener(FolderOpener opener)
{
    folderOpener() = std::move(opener);
}

QLabel *tellFileWritten(QStatusBar *bar, const QString &message, const QString &path)
{
    if (!bar)
        return nullptr;
    auto *shown = bar->findChild<QLabel *>(u"wenjianXiaoxi"_s);
    auto *link = bar->findChild<QLabel *>(u"dakaiWenjianjia"_s);
    if (!shown) {
        shown = new QLabel(bar);
        shown->setObjectName(u"wenjianXiaoxi"_s);
        shown->setTextFormat(Qt::PlainText); // the file's name is the user's
        link = new QLabel(u"<a href=\"folder\">打开所在文件夹</a>"_s, bar);
        link->setObjectName(u"dakaiWenjianjia"_s);
        link->setTextFormat(Qt::RichText);
        link->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
        bar->insertWidget(0, shown);
        bar->insertWidget(1, link);
        QObject::connect(link, &QLabel::linkActivated, link, [link] {
            const QString folder = link->property("folder").toString();
            const FolderOpener &open = folderOpener();
            if (open ? !open(folder) : !QDesktopServices::openUrl(QUrl::fromLocalFile(folder)))
                link->setToolTip(u"无法打开文件夹：%1"_s.arg(QDir::toNativeSeparators(folder)));
        });
        // Another message replaces this one.
        QObject::connect(bar, &QStatusBar::messageChanged, shown, [shown, link](const QString &text) {
            if (!text.isEmpty()) {
                shown->hide();
                link->hide();
            }
        });
    }
    const QFileInfo file(path);
    bar->clearMessage();
    shown->setText(u"%1：%2"_s.arg(message, file.fileName()));
    shown->setToolTip(QDir::toNativeSeparators(file.absoluteFilePath()));
    link->setProperty("folder", file.absolutePath());
    link->setToolTip(QDir::toNativeSeparators(file.absolutePath()));
    shown->show();
    link->show();
    bar->show();
    return shown;
}

} // namespace lotgrid
