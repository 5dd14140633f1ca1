#include "ui/mainwindow.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("lotgrid"));
    QApplication::setApplicationDisplayName(QStringLiteral("Lotgrid"));
    QApplication::setDesktopFileName(QStringLiteral("org.lotgrid.Lotgrid"));
    lotgrid::MainWindow window;
    window.show();
    return app.exec();
}
