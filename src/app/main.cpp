#include "ui/mainwindow.h"
#include "ui/startup.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    lotgrid::prepareApplication(app);
    lotgrid::MainWindow window;
    window.show();
    return app.exec();
}
