#include "mcp/journalreader.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

using namespace Qt::StringLiterals;

namespace lotgrid::mcp {

namespace {

// What a read-only look at the file finds, before the journal opens it.
struct FileState {
    int version = 0;       // the schema version (user_version)
    bool fullText = false; // the full-text index is there
    bool walLog = false;   // the write-ahead log is on
};

// SQLite's primary result codes the sentences tell apart.
constexpr int SqliteBusy = 5;
constexpr int SqliteLocked = 6;
constexpr int SqliteCorrupt = 11;
constexpr int SqliteNotADb = 26;

QString sentenceOf(const QSqlError &e, const QString &file)
{
    switch (e.nativeErrorCode().toInt() & 0xff) {
    case SqliteBusy:
    case SqliteLocked:
        return u"The journal %1 is locked by another program; try again when it is free."_s.arg(file);
    case SqliteCorrupt:
    case SqliteNotADb:
        return u"The journal %1 is damaged or is not a Lotgrid journal."_s.arg(file);
    default:
        return u"The journal %1 cannot be read: %2."_s.arg(file, e.text());
    }
}

// Reads what `state` holds of the file at `path` through a read-only
// connection; false, with a sentence in `error`, when it cannot.
bool lookAt(const QString &path, FileState &state, QString &error)
{
    bool looked = false;
    const QString name = u"lotgrid-mcp-look"_s;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, name);
        db.setDatabaseName(path);
        db.setConnectOptions(u"QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=%1"_s.arg(JournalReader::BusyTimeoutMs));
        if (db.open()) {
            QSqlQuery q(db);
            looked = q.exec(u"SELECT (SELECT user_version FROM pragma_user_version),"
                            " (SELECT count(*) FROM sqlite_master WHERE name = 'cases_fts')"_s)
                     && q.next();
            if (looked) {
                state.version = q.value(0).toInt();
                state.fullText = q.value(1).toInt() > 0;
                q.finish();
                looked = q.exec(u"PRAGMA journal_mode"_s) && q.next();
                state.walLog = looked && q.value(0).toString() == "wal"_L1;
            }
            if (!looked)
                error = sentenceOf(q.lastError(), QDir::toNativeSeparators(path));
            q.finish();
            db.close();
        } else {
            error = sentenceOf(db.lastError(), QDir::toNativeSeparators(path));
        }
    }
    QSqlDatabase::removeDatabase(name);
    return looked;
}

} // namespace

JournalReader::JournalReader(QString path)
    : m_path(std::move(path))
{
}

void JournalReader::failOn(const QString &what)
{
    m_error = what.arg(QDir::toNativeSeparators(m_path));
}

void JournalReader::failOn(const Journal &journal)
{
    // The last line of the journal's message is its reason.
    m_error = u"The journal %1 cannot be read (%2)."_s.arg(QDir::toNativeSeparators(m_path),
                                                           journal.lastError().section(u'\n', -1));
}

// The journal opens a file of an older format, an empty file or one without
// the write-ahead log by bringing it up to date, which writes to it. A look
// through a read-only connection first leaves those to the program; the files
// it passes are opened without a write, and the connection then refuses any.
std::unique_ptr<Journal> JournalReader::open()
{
    m_error.clear();
    const QFileInfo info(m_path);
    if (!info.exists()) {
        failOn(u"There is no journal at %1."_s);
        return nullptr;
    }
    if (!info.isFile()) {
        failOn(u"%1 is not a journal file."_s);
        return nullptr;
    }

    FileState state;
    if (!lookAt(m_path, state, m_error))
        return nullptr;
    if (state.version > Journal::SchemaVersion) {
        failOn(u"The journal %1 was written by a newer version of Lotgrid."_s);
        return nullptr;
    }
    if (state.version == 1 || (state.version == Journal::SchemaVersion && !state.walLog)) {
        failOn(
            u"The journal %1 must be opened once in Lotgrid, which brings it up to date, before it can be read here."_s);
        return nullptr;
    }
    if (state.version != Journal::SchemaVersion) {
        failOn(u"%1 is not a Lotgrid journal."_s);
        return nullptr;
    }

    auto journal = std::make_unique<Journal>(m_path, JournalOptions{BusyTimeoutMs, {}, state.fullText});
    if (!journal->open()) {
        failOn(*journal);
        return nullptr;
    }
    QSqlQuery(QSqlDatabase::database(journal->connectionName(), false)).exec(u"PRAGMA query_only = 1"_s);
    return journal;
}

std::optional<QList<CaseRecord>> JournalReader::search(const QString &text, int limit)
{
    const std::unique_ptr<Journal> journal = open();
    if (!journal)
        return std::nullopt;
    auto cases = journal->list(CaseFilter{text, {}, {}, {}}, std::nullopt, limit);
    if (!cases)
        failOn(*journal);
    return cases;
}

std::optional<CaseRecord> JournalReader::find(qint64 id)
{
    const std::unique_ptr<Journal> journal = open();
    if (!journal)
        return std::nullopt;
    auto found = journal->find(id);
    if (!found && !journal->lastError().isEmpty())
        failOn(*journal);
    return found;
}

} // namespace lotgrid::mcp
