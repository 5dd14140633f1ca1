#include "ui/startup.h"

#include "widgets/appfont.h"
#include "widgets/translations.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace lotgrid {

namespace {

// Watches the window for its first paint and runs its work queued behind it,
// so that the paint is not held up; then goes.
class FirstPaint : public QObject
{
public:
    FirstPaint(QWidget *window, std::function<void()> run)
        : QObject(window)
        , m_run(std::move(run))
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && watched == parent() && m_run) {
            watched->removeEventFilter(this);
            QMetaObject::invokeMethod(
                this,
                [this] {
                    const std::function<void()> run = std::exchange(m_run, nullptr);
                    deleteLater();
                    run();
                },
                Qt::QueuedConnection);
        }
        return false;
    }

private:
    std::function<void()> m_run;
};

} // namespace

void prepareApplication(QApplication &app)
{
    QApplication::setApplicationName(QStringLiteral("lotgrid"));
    // No display name: captions read exactly as the windows name them. The
    // desktop file name ties the windows to the installed launcher and icon.
    QApplication::setDesktopFileName(QStringLiteral("org.lotgrid.Lotgrid"));
    installChineseQtTranslations(app);
    useChineseFamily(app);
}

void afterFirstPaint(QWidget *window, std::function<void()> run)
{
    new FirstPaint(window, std::move(run));
}

} // namespace lotgrid
