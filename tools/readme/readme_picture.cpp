// Draws the README picture from the program itself: the main window with a
// chart of 雷泽归妹 (line 1 moving) cast at 2026-12-07 08:30, filled from the
// time, with a question; saved as a PNG at the screen's pixel density; with
// --dark, as on a dark desktop.
//   QT_QPA_PLATFORM=offscreen ./build/tools/readme/readme_picture docs/mainwindow.png
#include "darkpalette.h"

#include "sheet/chartsheet.h"
#include "ui/mainwindow.h"
#include "widgets/linefield.h"
#include "widgets/translations.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QPushButton>

#include <cstdio>

using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const bool dark = argc > 1 && QByteArray(argv[1]) == "--dark";
    if (argc < 2 + int(dark)) {
        std::fprintf(stderr, "usage: readme_picture [--dark] FILE.png\n");
        return 2;
    }
    if (dark)
        QApplication::setPalette(darkDesktopPalette());
    const char *file = argv[1 + int(dark)];
    lotgrid::installChineseQtTranslations(app);
    lotgrid::Environment env = lotgrid::Environment::production();
    env.settingsFile = QString();
    env.now = [] { return QDateTime(QDate(2026, 12, 7), QTime(8, 30)); };
    env.today = [] { return QDate(2026, 12, 7); };
    lotgrid::MainWindow window(env);
    window.show();
    lotgrid::ChartSheet &s = window.sheet();
    s.Combo1->setCurrentIndex(1);
    s.TextWHS->setText(u"问工作调动能否成功"_s);
    const QString key = u"110100"_s;
    for (int n = 1; n <= 6; ++n)
        s.Text(n)->setText(key.mid(n - 1, 1));
    s.co(1)->setChecked(true);
    s.ansj->click();
    window.yao_Click(4);
    s.setFocus();
    QApplication::processEvents();
    window.adjustSize();
    QApplication::processEvents();
    if (!window.grab().save(QString::fromLocal8Bit(file))) {
        std::fprintf(stderr, "could not write %s\n", file);
        return 1;
    }
    return 0;
}
