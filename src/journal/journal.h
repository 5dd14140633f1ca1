#pragma once
// The case journal: one SQLite database file (journal.sqlite in the user's
// application-data folder) reached through Qt SQL. Each Journal holds its own
// connection, so two instances, in one process or two, are two SQLite clients:
// both read at any time (write-ahead logging), and a write that meets another's
// lock waits up to the busy time-out and then says so.
//
// Every save, edit, delete and import is one transaction: it happens whole or
// not at all; so is creating or migrating the file, which a second instance
// starting at the same moment waits for and then finds done. A file in the
// journal's place that is damaged or is not a journal is never written to; the
// journal stays unusable for the run and says why. Every failure leaves its
// kind and facts in lastError().
//
// This class needs Qt Core and Qt Sql only (the library lotgrid_journal_store),
// so a console program can read the journal: openReadOnly() never creates,
// migrates or writes the file.

#include "journal/caserecord.h"
#include "journal/casestats.h"
#include "journal/journalerror.h"

#include <QDate>
#include <QList>
#include <QString>

#include <QSqlQuery>

#include <functional>
#include <map>
#include <optional>

class QSqlError;

namespace lotgrid {

struct ChartFacts;

struct JournalOptions {
    int busyTimeoutMs = 3000;       // how long a write waits for another instance's lock
    std::function<QDateTime()> now; // the clock of saved/changed; UTC now when empty
    bool fullTextSearch = true;     // FTS5 when SQLite has it; LIKE otherwise
    // openReadOnly() reads the file as it lies, creating nothing beside it
    // (no -wal, no -shm): only safe while no other program writes it.
    bool immutable = false;
};

// What the case table shows: the text typed into the search field (every word
// must appear in the question, notes, tags, outcome or a hexagram name), the
// China-time dates the cases' moments fall in (both ends included), the verdict.
struct CaseFilter {
    QString text;
    std::optional<QDate> from;
    std::optional<QDate> to;
    std::optional<Verdict> verdict;
    // Cases still 未定 whose first timing candidate falls before this day.
    std::optional<QDate> openYingqiBefore;
    // The cases with an outcome of one group of the statistics.
    std::optional<CaseGroup> group;
    friend bool operator==(const CaseFilter &, const CaseFilter &) = default;
};

// The cases of an import file, read and checked, and how they stand against
// the journal when read: new, already there as they are, or there with
// another follow-up (a case is the same case when its saved moment, cast,
// question and sex are).
struct ImportPlan {
    QString file;
    QList<CaseRecord> cases;
    int added = 0;
    int identical = 0;
    int differing = 0;
    // How each case stood: the id of the same case in the journal (0: new) and
    // whether its follow-up there is the file's. Used as long as the journal
    // has not changed since (`state`); otherwise each case is looked up again.
    struct Standing {
        qint64 id = 0;
        bool sameFollowUp = false;
    };
    QList<Standing> standing;
    std::optional<std::pair<qint64, qint64>> state;
};

struct ImportReport {
    int added = 0;
    int skipped = 0;   // already in the journal as they are
    int differing = 0; // in the journal with another follow-up, left as they were
    int replaced = 0;  // in the journal with another follow-up, which the file's replaced
};

class Journal
{
public:
    // The versions are described beside the table (journalschema.h). Opening an
    // older file migrates it in one transaction.
    static constexpr int SchemaVersion = 6;

    explicit Journal(QString path, JournalOptions options = {});
    ~Journal();
    Journal(const Journal &) = delete;
    Journal &operator=(const Journal &) = delete;

    // The production file: journal.sqlite in QStandardPaths::AppDataLocation.
    static QString defaultPath();

    // Opens the file, creating or migrating it as needed. False, with the
    // failure in lastError(), when it cannot be used; the journal then stays
    // closed for the run.
    bool open();
    // Opens an existing journal for reading only: the file is never created,
    // migrated or written. A missing, locked, damaged, foreign, too new or
    // version-1 file is a failure. Every write then fails with OpenedReadOnly.
    bool openReadOnly();
    bool isReady() const { return m_ready; }
    bool isReadOnly() const { return m_readOnly; }
    const QString &path() const { return m_path; }
    const QString &connectionName() const { return m_connectionName; }
    // The last failure; its kind is None after a command that succeeded.
    const JournalFailure &lastError() const { return m_lastError; }
    bool hasFullTextSearch() const { return m_fullText; }

    // Saves a new case; the journal stamps its id and saved/changed times.
    std::optional<CaseRecord> save(const CaseRecord &c);
    // Writes the follow-up of a saved case (notes, outcome, verdict, tags,
    // category, first timing candidate) and stamps its changed time.
    std::optional<CaseRecord> updateFollowUp(const CaseRecord &c);
    bool remove(const QList<qint64> &ids);

    std::optional<CaseRecord> find(qint64 id);
    std::optional<qint64> count();
    // Up to `limit` cases matching `filter`, newest first (by caseMinute, then
    // by saving order), after the case `afterId` when given. On failure returns
    // nothing and sets lastError().
    std::optional<QList<CaseRecord>> list(const CaseFilter &filter, std::optional<qint64> afterId, int limit);

    // Writes the cases with `ids` (all when empty) to a JSON file; `chart` adds each chart.
    bool exportCases(const QString &file, const QList<qint64> &ids = {}, const ChartJson &chart = {});
    // Reads a file written by exportCases and compares its cases with the
    // journal's, writing nothing. Only a regular file is opened.
    std::optional<ImportPlan> readImport(const QString &file, const ImportProgress &progress = {});
    // Adds the plan's new cases and, when asked, replaces the follow-up of the
    // differing ones with the file's; all or nothing, in one transaction.
    std::optional<ImportReport> applyImport(const ImportPlan &plan, bool replaceDiffering,
                                            const ImportProgress &progress = {});
    // Both steps at once.
    std::optional<ImportReport> importCases(const QString &file, bool replaceDiffering = false);

private:
    struct FileHeader;
    // A failure met below the command that reports it.
    struct SqlFailure {
        JournalError kind = JournalError::None;
        QString detail;
        qint64 caseNumber = 0;
        QString caseQuestion;
        std::optional<CaseProblem> problem;
    };
    bool fail(JournalAction action, const SqlFailure &why);
    bool fail(JournalAction action, JournalError kind, const QString &detail = {});
    bool failQuery(JournalAction action);
    bool usable(JournalAction action);
    void startCommand();
    bool exec(QSqlQuery &q);
    bool noteError(const QSqlError &e);
    bool stepped(const QSqlQuery &q);
    bool execText(const QString &sql);
    QSqlQuery *prepared(const QString &sql);
    bool execPrepared(QSqlQuery *q);
    bool begin();
    bool commit();
    void rollback();
    bool openFile(bool readOnly);
    void closeConnection();
    std::optional<FileHeader> readHeader();
    std::optional<SqlFailure> refusal(const FileHeader &h) const;
    bool fullTextAvailable();
    bool bringUpToDate(bool fullText);
    bool createTables(int version); // empty tables of `version`, and the full-text index when it is on
    bool createSchema();
    bool migrateTo2();
    bool migrateTo3();
    bool migrateTo4();
    bool migrateTo5();
    bool migrateTo6();
    bool backUp(int version);
    bool writeYingqi(const CaseRecord &c, const ChartFacts &facts);
    bool createFullText(bool fill);
    bool insertCase(CaseRecord &c, int version);
    bool writeFollowUp(const CaseRecord &c);
    std::optional<qint64> nextId(qint64 minute);
    // `fresh`: a new id, which the index cannot hold yet.
    bool indexCase(const CaseRecord &c, bool fresh = false);
    // The journal's version as this connection sees it: SQLite's data_version
    // (moved by other connections' commits) and this connection's own commits.
    std::optional<std::pair<qint64, qint64>> state();
    std::optional<ImportPlan::Standing> standing(CaseRecord &c);
    // The case itself, or nothing when it is not there; nothing at all on a failure.
    std::optional<std::optional<CaseRecord>> findCase(qint64 id);
    std::optional<std::optional<CaseRecord>> stored(const CaseRecord &c);
    QDateTime now() const;

    QString m_path;
    QString m_connectionName;
    JournalOptions m_options;
    bool m_ready = false;
    bool m_readOnly = false;
    bool m_fullText = false;
    int m_version = SchemaVersion; // of the open file
    JournalFailure m_lastError;
    SqlFailure m_lastSql;
    SqlFailure m_stoppedBy;                  // why the journal stopped for this run
    QString m_otherFile;                     // the file of the export or import under way
    std::map<QString, QSqlQuery> m_prepared; // by their SQL
    qint64 m_commits = 0;                    // by this connection
};

// Text as the full-text index stores it: every CJK character a word of its own,
// so that any run of characters is found as a phrase; punctuation dropped.
QString searchableText(const QString &text);

} // namespace lotgrid
