#pragma once
// The case journal: one SQLite database file (journal.sqlite in the user's
// application-data folder) reached through Qt SQL. Each Journal holds its own
// connection, so two instances, in one process or two, are two SQLite clients:
// both read at any time (write-ahead logging), and a write that meets another's
// lock waits up to the busy time-out and then says so.
//
// Every save, edit, delete and import is one transaction: it happens whole or
// not at all. A file in the journal's place that is damaged or is not a journal
// is never written to; the journal stays unusable for the run and says why.
// Every failure leaves a message in lastError() naming the file.

#include "journal/caserecord.h"

#include <QDate>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

class QSqlError;
class QSqlQuery;

namespace lotgrid {

struct JournalOptions {
    int busyTimeoutMs = 3000;       // how long a write waits for another instance's lock
    std::function<QDateTime()> now; // the clock of saved/changed; UTC now when empty
    bool fullTextSearch = true;     // FTS5 when SQLite has it; LIKE otherwise
};

// What the case table shows: the text typed into the search field (every word
// must appear in the question, notes, tags, outcome or a hexagram name), the
// China-time dates the cases' moments fall in (both ends included), the verdict.
struct CaseFilter {
    QString text;
    std::optional<QDate> from;
    std::optional<QDate> to;
    std::optional<Verdict> verdict;
    friend bool operator==(const CaseFilter &, const CaseFilter &) = default;
};

struct ImportReport {
    int added = 0;
    int skipped = 0; // already in the journal (same saved moment, cast, question and sex)
};

class Journal
{
public:
    // Schema versions: 1 had the cases numbered 1, 2, 3..., without tags or the
    // changed key, and no full-text index; 2 has ids that order the cases, and
    // the rest. Opening a version-1 file migrates it in one transaction.
    static constexpr int SchemaVersion = 2;
    static constexpr qint64 ImportLimitBytes = 64LL * 1024 * 1024;

    explicit Journal(QString path, JournalOptions options = {});
    ~Journal();
    Journal(const Journal &) = delete;
    Journal &operator=(const Journal &) = delete;

    // The production file: journal.sqlite in QStandardPaths::AppDataLocation.
    static QString defaultPath();

    // Opens the file, creating or migrating it as needed. False, with a message,
    // when it cannot be used; the journal then stays closed for the run.
    bool open();
    bool isReady() const { return m_ready; }
    const QString &path() const { return m_path; }
    const QString &connectionName() const { return m_connectionName; }
    QString lastError() const { return m_lastError; }
    bool hasFullTextSearch() const { return m_fullText; }

    // Saves a new case; the journal stamps its id and saved/changed times.
    std::optional<CaseRecord> save(const CaseRecord &c);
    // Writes the follow-up of a saved case (notes, outcome, verdict, tags) and stamps its changed time.
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
    // Reads a file written by exportCases; all or nothing.
    std::optional<ImportReport> importCases(const QString &file);

private:
    bool fail(const QString &what, const QString &reason);
    bool failQuery(const QString &what);
    bool exec(QSqlQuery &q);
    bool noteError(const QSqlError &e);
    bool stepped(const QSqlQuery &q);
    QString unusable() const;
    bool execText(const QString &sql);
    bool begin();
    bool commit();
    void rollback();
    bool createTables(); // the current tables, empty, and the full-text index when it is on
    bool createSchema();
    bool migrateFrom1();
    bool createFullText(bool fill);
    bool insertCase(CaseRecord &c);
    std::optional<qint64> nextId(qint64 minute);
    bool indexCase(const CaseRecord &c);
    std::optional<bool> isDuplicate(const CaseRecord &c);
    QDateTime now() const;

    QString m_path;
    QString m_connectionName;
    JournalOptions m_options;
    bool m_ready = false;
    bool m_fullText = false;
    QString m_lastError;
    QString m_lastSqlReason;
    QString m_unusableReason; // why the journal stopped for this run
};

// Text as the full-text index stores it: every CJK character a word of its own,
// so that any run of characters is found as a phrase; punctuation dropped.
QString searchableText(const QString &text);

} // namespace lotgrid
