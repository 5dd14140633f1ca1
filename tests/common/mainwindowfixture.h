#pragma once
// A real main window for tests: production environment, except that Exit and
// closing do not end the test process, and that it runs without a case journal
// (the real one is never touched) and with journal prompts that never block.

#include "sheet/chartdocument.h"
#include "sheet/chartsheet.h"
#include "ui/environment.h"
#include "ui/mainwindow.h"
#include "widgets/linefield.h"

#include <QAction>
#include <QCheckBox>
#include <QDateTime>
#include <QLabel>

#include <memory>

inline lotgrid::Environment testEnvironment()
{
    lotgrid::Environment env = lotgrid::Environment::production();
    env.quit = [] {};
    env.settingsFile = QString(); // never the user's own settings
    env.today = [] { return QDate(2014, 8, 8); };
    env.journalPath.clear();
    env.journalPrompts.ask = [](QWidget *, const QString &, const QString &) { return false; };
    env.journalPrompts.warn = [](QWidget *, const QString &title, const QString &text) {
        qWarning("%s: %s", qPrintable(title), qPrintable(text));
    };
    env.journalPrompts.inform = [](QWidget *, const QString &, const QString &) {};
    env.journalPrompts.exportFile
        = [](QWidget *, const QString &, const QString &, const QString &) { return QString(); };
    env.journalPrompts.importFile = [](QWidget *, const QString &) { return QString(); };
    return env;
}

// A moment of a cast as read in China Standard Time, the clock of every cast.
inline QDateTime chinaTime(QDate date, QTime time)
{
    return QDateTime(date, time, Qt::OffsetFromUTC, 8 * 3600);
}

inline std::unique_ptr<lotgrid::MainWindow> makeMainWindow(lotgrid::Environment env = testEnvironment())
{
    return std::make_unique<lotgrid::MainWindow>(std::move(env));
}

// Writes a LineKey into Text1..Text6 from code, line 1 first, as an automatic cast does.
inline void setLines(lotgrid::ChartSheet &sheet, const QString &key)
{
    for (int n = 1; n <= 6; ++n)
        sheet.Text(n)->setText(key.mid(n - 1, 1));
}

// Texts of a family of six labels, line 1 first.
template<typename Family>
QStringList textsOf(const Family &family)
{
    QStringList texts;
    for (const QLabel *label : family)
        texts << label->text();
    return texts;
}
