#pragma once
// What went wrong with the journal, as a kind and the facts around it: which
// command failed, the journal's file, the file exported or imported, and what
// the system said. The windows word it (journalMessage); a console program can
// name the kind (journalErrorName) and print the facts.

#include "journal/caserecord.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace lotgrid {

enum class JournalAction : std::uint8_t { Open, Read, Save, Update, Remove, Export, Import };

enum class JournalError : std::uint8_t {
    None,
    // The journal's file.
    NotOpen,        // never opened, or opening failed
    Busy,           // another instance held the write lock past the busy time-out (waitedMs)
    ReadOnly,       // the file or its folder may not be written
    Full,           // the disk is full
    CannotOpen,     // SQLite could not open the file
    Damaged,        // not an SQLite database, or a damaged one
    Foreign,        // another program's SQLite database
    TooNew,         // written by a later version of the program; detail: its schema version
    TooOld,         // a version-1 journal opened read-only: it needs the program to migrate it once
    Missing,        // opened read-only, and there is no file
    NotAFile,       // a folder or something else in the file's place
    Unreadable,     // the file system refused to read it; detail: why
    NoFolder,       // its folder could not be created; detail: the folder
    NoDriver,       // Qt has no QSQLITE driver
    IoError,        // detail: SQLite's text
    Database,       // any other SQLite error; detail: its text
    OpenedReadOnly, // a write asked of a journal opened read-only
    MinuteFull,     // more cases dated in one minute than ids for them
    NoBackup,       // the copy taken before a migration could not be written; detail: the copy's file and why
    // The cases.
    NotFound,   // the case is not (or no longer) in the journal
    BadCase,    // a case that cannot be kept; problem says why
    BadOldCase, // a version-1 case that cannot be migrated; caseNumber is its old id
    // Export and import files (file).
    FileNotRegular,   // a folder, pipe or device
    FileUnreadable,   // detail: why
    FileUnwritable,   // detail: why
    FileNotUtf8,      // detail: the offset of the first bad byte
    FileNotJson,      // detail: where and what the parser found
    FileTooDeep,      // values nested deeper than an export's; detail: the depth allowed
    FileNotExport,    // JSON, but not the program's export
    VersionMissing,   // no "version"
    VersionNotNumber, // detail: the value as written in the file
    VersionUnknown,   // detail: the number
    BadFileCase,      // caseNumber: its place in the file, from 1; problem says why
    Cancelled,        // the user stopped the import
};

struct JournalFailure {
    JournalAction action = JournalAction::Read;
    JournalError kind = JournalError::None;
    QString path;   // the journal's file
    QString file;   // the file exported to or imported from; empty otherwise
    QString detail; // see the kind
    int waitedMs = 0;
    // The journal stopped for the run on this kind of failure earlier (a damaged
    // file is never written again); this command was refused for that.
    bool stopped = false;
    qint64 offset = 0; // FileNotJson: the byte where the parser stopped
    qint64 caseNumber = 0;
    QString caseQuestion; // the question of the case named by caseNumber
    std::optional<CaseProblem> problem;

    explicit operator bool() const { return kind != JournalError::None; }
};

// A stable lower-case name of the kind ("busy", "damaged"), for logs and programs.
QString journalErrorName(JournalError kind);

} // namespace lotgrid
