#pragma once
// What the program takes from the world: today's date, the clock, the random
// source of an automatic cast, where screenshots and pictures go, the update
// server, how the process ends, where settings and the case journal are kept,
// the room the window may take on its screen.
// Production values come from production(); tests pass their own.

#include "journal/journalprompts.h"

#include <QDate>
#include <QDateTime>
#include <QPageSize>
#include <QSize>
#include <QString>
#include <QUrl>

#include <functional>
#include <optional>

class QWidget;

namespace lotgrid {

struct Environment {
    std::function<QDate()> today;
    std::function<QDateTime()> now;
    // Called once per automatic cast; returns a freshly seeded uniform source over [0, 1).
    std::function<std::function<double()>()> newCastSource;
    QString screenshotFolder;         // the executable's folder
    QString screenshotFallbackFolder; // used when that folder cannot be written
    QString picturesFolder;           // where an exported chart picture is proposed
    // The save dialog of an exported picture or PDF: the chosen path, or empty
    // when cancelled. With `dark`, the dialog also offers the picture's dark
    // variant, ticked as `*dark` stands, and leaves the choice there.
    std::function<QString(QWidget *parent, const QString &caption, const QString &proposedPath, bool *dark)>
        saveFileName;
    // The page size of a PDF, A4 or A5; nothing when cancelled. With `texts`,
    // the dialog also offers 打印经文, ticked as `*texts` stands, and leaves the choice there.
    std::function<std::optional<QPageSize::PageSizeId>(QWidget *parent, bool *texts)> pageSize;
    QUrl updateServer; // base address: "/Tessa/tessaver.txt" and "/Tessa/" hang below it; empty: none
    int updateTimeoutMs = 10000;
    std::function<bool(const QUrl &)> openUrl; // false when no browser or handler took the address
    std::function<void()> quit;                // Exit: ends the process at once
    // Asks a Yes/No question (New, Clear data); true for Yes.
    std::function<bool(QWidget *parent, const QString &title, const QString &text)> ask;
    // Where the choices a user makes (the chart's zoom) are remembered, an INI
    // file; empty remembers nothing.
    QString settingsFile;
    // The case journal's database file (journal.sqlite in the application-data
    // folder); empty runs without a journal, its commands disabled.
    QString journalPath;
    // How the journal's commands and window ask, warn and choose files.
    JournalPrompts journalPrompts;
    // The room the main window may take on its screen; empty: 95 % of the
    // screen's available area.
    std::function<QSize()> screenRoom;

    static Environment production();
};

} // namespace lotgrid
