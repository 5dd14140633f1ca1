#pragma once
// A user's hands on the main window in tests: a LineKey typed into the line
// fields key by key, and the menu items found by their names.

#include "sheet/chartsheet.h"
#include "ui/mainwindow.h"
#include "widgets/linefield.h"

#include <QAction>
#include <QString>
#include <QTest>

// Types a LineKey into Text1..Text6 key by key, line 1 first, as a user does.
inline void typeLines(lotgrid::ChartSheet &sheet, const QString &key)
{
    for (int n = 1; n <= 6; ++n)
        QTest::keyClicks(sheet.Text(n), key.mid(n - 1, 1));
}

// The menu item (or other action) of the window named `name`, or nullptr.
inline QAction *action(lotgrid::MainWindow &window, const QString &name)
{
    return window.findChild<QAction *>(name);
}
