#include "ui/mainwindow.h"
#include "widgets/translations.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("lotgrid"));
    // No display name: captions read exactly as the windows name them. The
    // desktop file name ties the windows to the installed launcher and icon.
    QApplication::setDesktopFileName(QStringLiteral("org.lotgrid.Lotgrid"));
    lotgrid::installChineseQtTranslations(app);
    lotgrid::MainWindow window;
    window.show();
    return app.exec();
}
