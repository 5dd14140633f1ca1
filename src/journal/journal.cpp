#include "journal.h"

#include "chart/casefacts.h"
#include "chart/hexagrams.h"
#include "chart/yingqihits.h"
#include "journal/casejson.h"
#include "journal/journalschema.h"
#include "qtcore/textconv.h"
#include "qtcore/wholefile.h"

#include <QAtomicInt>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMultiHash>
#include <QSaveFile>
#include <QScopeGuard>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace lotgrid {

namespace {

// "LGRJ": marks the file as a Lotgrid journal, whatever its schema version.
constexpr qint64 ApplicationId = 0x4C47524A;

constexpr QLatin1StringView SqliteHeader("SQLite format 3\0", 16);

// SQLite's primary result codes that the messages tell apart.
enum SqliteCode {
    Busy = 5,
    Locked = 6,
    ReadOnly = 8,
    IoError = 10,
    Corrupt = 11,
    Full = 13,
    CantOpen = 14,
    NotADb = 26
};

JournalError kindOf(const QSqlError &e)
{
    switch (e.nativeErrorCode().toInt() & 0xff) {
    case Busy:
    case Locked:
        return JournalError::Busy;
    case ReadOnly:
        return JournalError::ReadOnly;
    case Full:
        return JournalError::Full;
    case CantOpen:
        return JournalError::CannotOpen;
    case Corrupt:
    case NotADb:
        return JournalError::Damaged;
    case IoError:
        return JournalError::IoError;
    default:
        return JournalError::Database;
    }
}

QString nativePath(const QString &path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

bool isCjk(char32_t c)
{
    return c >= 0x2E80;
}

// The MATCH expression for what was typed: each blank-separated word a phrase,
// all of them required; a word ending in a Latin letter or digit also matches
// longer words (typing "wor" finds "work").
QString matchExpression(const QString &typed)
{
    QStringList terms;
    for (const QString &word : typed.split(u' ', Qt::SkipEmptyParts)) {
        const QString tokens = searchableText(word).simplified();
        if (tokens.isEmpty())
            continue;
        QString term = u'"' + QString(tokens).replace(u'"', u"\"\""_s) + u'"';
        const char32_t last = tokens.toUcs4().constLast();
        if (!isCjk(last))
            term += u'*';
        terms << term;
    }
    return terms.join(u' ');
}

QString likePattern(const QString &word)
{
    QString escaped = word;
    escaped.replace(u'\\', u"\\\\"_s).replace(u'%', u"\\%"_s).replace(u'_', u"\\_"_s);
    return u'%' + escaped + u'%';
}

// LineKeys of the hexagrams whose name holds `word`, as an SQL list.
QString keysNamed(const QString &word)
{
    QStringList keys;
    for (const HexagramRow &row : HexagramTable) {
        const std::u16string_view text = row.text;
        if (qs(text.substr(0, text.find(u' '))).contains(word))
            keys << u'\'' + qs(row.key) + u'\'';
    }
    return keys.join(u',');
}

QAtomicInt connectionCounter;

static_assert(Journal::SchemaVersion == CurrentSchemaVersion);

} // namespace

QString searchableText(const QString &text)
{
    QString out;
    out.reserve(text.size() * 2);
    for (const char32_t c : text.toUcs4()) {
        if (!QChar::isLetterOrNumber(c)) {
            out += u' ';
        } else if (isCjk(c)) {
            out += u' ';
            out += QString::fromUcs4(&c, 1);
            out += u' ';
        } else {
            out += QString::fromUcs4(&c, 1);
        }
    }
    return out.simplified();
}

struct Journal::FileHeader {
    qint64 applicationId = 0;
    int version = 0;
    bool empty = true; // no table, no mark: a file just created
    bool hasFullText = false;
};

Journal::Journal(QString path, JournalOptions options)
    : m_path(std::move(path))
    , m_connectionName(u"lotgrid-journal-%1"_s.arg(connectionCounter.fetchAndAddRelaxed(1)))
    , m_options(std::move(options))
{
}

Journal::~Journal()
{
    m_prepared.clear();
    {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        if (db.isValid())
            db.close();
    }
    if (QSqlDatabase::contains(m_connectionName))
        QSqlDatabase::removeDatabase(m_connectionName);
}

QString Journal::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + u"/journal.sqlite"_s;
}

QDateTime Journal::now() const
{
    const QDateTime t = m_options.now ? m_options.now() : QDateTime::currentDateTimeUtc();
    return QDateTime::fromMSecsSinceEpoch(t.toMSecsSinceEpoch(), Qt::UTC);
}

bool Journal::fail(JournalAction action, const SqlFailure &why)
{
    // A journal that failed to open stays stopped for the run, for this reason.
    if (!m_ready && m_stoppedBy.kind == JournalError::None && why.kind != JournalError::NotOpen)
        m_stoppedBy = why;
    JournalFailure f;
    f.action = action;
    f.kind = why.kind;
    f.path = nativePath(m_path);
    f.file = m_otherFile.isEmpty() ? QString() : nativePath(m_otherFile);
    f.detail = why.detail;
    f.waitedMs = m_options.busyTimeoutMs;
    f.caseNumber = why.caseNumber;
    f.caseQuestion = why.caseQuestion;
    f.problem = why.problem;
    m_lastError = f;
    return false;
}

bool Journal::fail(JournalAction action, JournalError kind, const QString &detail)
{
    SqlFailure why;
    why.kind = kind;
    why.detail = detail;
    return fail(action, why);
}

bool Journal::failQuery(JournalAction action)
{
    if (m_lastSql.kind == JournalError::None)
        return fail(action, JournalError::Database);
    return fail(action, m_lastSql);
}

bool Journal::usable(JournalAction action)
{
    const bool writes = action != JournalAction::Read && action != JournalAction::Export;
    if (m_ready && !(m_readOnly && writes))
        return true;
    if (m_ready)
        return fail(action, JournalError::OpenedReadOnly);
    if (m_stoppedBy.kind == JournalError::None)
        return fail(action, JournalError::NotOpen);
    fail(action, m_stoppedBy);
    m_lastError.stopped = true;
    return false;
}

void Journal::startCommand()
{
    m_lastError = {};
    m_lastSql = {};
}

bool Journal::exec(QSqlQuery &q)
{
    // A failed prepare leaves its error on the query; executing it would only say "No query".
    QSqlError e = q.lastError();
    if (!e.isValid()) {
        if (q.exec())
            return true;
        e = q.lastError();
    }
    return noteError(e);
}

bool Journal::noteError(const QSqlError &e)
{
    m_lastSql = {};
    m_lastSql.kind = kindOf(e);
    if (m_lastSql.kind == JournalError::IoError || m_lastSql.kind == JournalError::Database)
        m_lastSql.detail = e.text();
    if (m_lastSql.kind == JournalError::Damaged && m_ready) {
        m_ready = false; // never write again to a file found damaged
        m_stoppedBy = m_lastSql;
    }
    return false;
}

bool Journal::stepped(const QSqlQuery &q)
{
    // next() returns false both at the end and on an error such as a damaged page.
    return !q.lastError().isValid() || noteError(q.lastError());
}

QSqlQuery *Journal::prepared(const QString &sql)
{
    // An import runs the same few statements for every case: each is compiled once.
    auto it = m_prepared.find(sql);
    if (it == m_prepared.end()) {
        QSqlQuery q(QSqlDatabase::database(m_connectionName, false));
        if (!q.prepare(sql)) {
            noteError(q.lastError());
            return nullptr;
        }
        it = m_prepared.emplace(sql, std::move(q)).first;
    }
    return &it->second;
}

bool Journal::execPrepared(QSqlQuery *q)
{
    return q && (q->exec() || noteError(q->lastError()));
}

bool Journal::execText(const QString &sql)
{
    QSqlQuery q(QSqlDatabase::database(m_connectionName, false));
    q.prepare(sql);
    return exec(q);
}

bool Journal::begin()
{
    // IMMEDIATE takes the write lock at once, so a second instance's lock is
    // met here, waited for up to the busy time-out, and reported.
    return execText(u"BEGIN IMMEDIATE"_s);
}

bool Journal::commit()
{
    if (execText(u"COMMIT"_s)) {
        ++m_commits;
        return true;
    }
    rollback();
    return false;
}

void Journal::rollback()
{
    const SqlFailure why = m_lastSql;
    execText(u"ROLLBACK"_s);
    m_lastSql = why;
}

void Journal::closeConnection()
{
    m_ready = false;
    m_prepared.clear();
    QSqlDatabase::database(m_connectionName, false).close();
}

bool Journal::openFile(bool readOnly)
{
    m_prepared.clear();
    m_ready = false;
    m_readOnly = readOnly;
    m_fullText = false;
    m_stoppedBy = {};
    startCommand();
    const QFileInfo info(m_path);
    if (readOnly && (!info.exists() || (info.isFile() && info.size() == 0)))
        return fail(JournalAction::Open, JournalError::Missing);
    if (info.exists() && !info.isFile())
        return fail(JournalAction::Open, JournalError::NotAFile);
    if (info.exists() && info.size() > 0) {
        QFile file(m_path);
        if (!file.open(QIODevice::ReadOnly))
            return fail(JournalAction::Open, JournalError::Unreadable, file.errorString());
        if (file.read(SqliteHeader.size()) != QByteArrayView(SqliteHeader.data(), SqliteHeader.size()))
            return fail(JournalAction::Open, JournalError::Damaged);
    } else if (!info.exists() && !QDir().mkpath(info.absolutePath())) {
        return fail(JournalAction::Open, JournalError::NoFolder, QDir::toNativeSeparators(info.absolutePath()));
    }

    QSqlDatabase db = QSqlDatabase::contains(m_connectionName)
                          ? QSqlDatabase::database(m_connectionName, false)
                          : QSqlDatabase::addDatabase(u"QSQLITE"_s, m_connectionName);
    if (!db.isValid())
        return fail(JournalAction::Open, JournalError::NoDriver);
    QString connectOptions = u"QSQLITE_BUSY_TIMEOUT=%1"_s.arg(m_options.busyTimeoutMs);
    if (readOnly)
        connectOptions += u";QSQLITE_OPEN_READONLY"_s;
    if (readOnly && m_options.immutable) {
        // SQLite's URI: read-only and immutable, so that no lock is taken and no file is created.
        db.setDatabaseName(QUrl::fromLocalFile(QFileInfo(m_path).absoluteFilePath()).toString(QUrl::FullyEncoded)
                           + u"?mode=ro&immutable=1"_s);
        connectOptions += u";QSQLITE_OPEN_URI"_s;
    } else {
        db.setDatabaseName(m_path);
    }
    db.setConnectOptions(connectOptions);
    if (!db.open()) {
        noteError(db.lastError());
        return failQuery(JournalAction::Open);
    }
    return true;
}

std::optional<Journal::FileHeader> Journal::readHeader()
{
    QSqlQuery q(QSqlDatabase::database(m_connectionName, false));
    q.prepare(u"SELECT (SELECT application_id FROM pragma_application_id),"
              " (SELECT user_version FROM pragma_user_version),"
              " (SELECT count(*) FROM sqlite_master),"
              " (SELECT count(*) FROM sqlite_master WHERE name = 'cases_fts')"_s);
    if (!exec(q) || !q.next()) {
        if (m_lastSql.kind == JournalError::None)
            stepped(q);
        return std::nullopt;
    }
    FileHeader h;
    h.applicationId = q.value(0).toLongLong();
    h.version = q.value(1).toInt();
    h.empty = q.value(2).toInt() == 0 && h.applicationId == 0 && h.version == 0;
    h.hasFullText = q.value(3).toInt() > 0;
    return h;
}

// Why a file cannot be used as a journal of this version; nothing when it can.
std::optional<Journal::SqlFailure> Journal::refusal(const FileHeader &h) const
{
    SqlFailure why;
    if (h.empty && m_readOnly)
        why.kind = JournalError::Missing;
    else if (!h.empty && h.applicationId != ApplicationId)
        why.kind = JournalError::Foreign;
    else if (!h.empty && h.version > SchemaVersion) {
        why.kind = JournalError::TooNew;
        why.detail = QString::number(h.version);
    } else if (!h.empty && h.version < 1)
        why.kind = JournalError::Damaged;
    else if (m_readOnly && h.version < 2)
        why.kind = JournalError::TooOld;
    else
        return std::nullopt;
    return why;
}

bool Journal::fullTextAvailable()
{
    // Without FTS5 in this SQLite, search falls back to LIKE; that is not a failure.
    if (!m_options.fullTextSearch || !execText(u"CREATE VIRTUAL TABLE temp.fts_probe USING fts5(x)"_s))
        return false;
    execText(u"DROP TABLE temp.fts_probe"_s);
    return true;
}

bool Journal::open()
{
    if (!openFile(false))
        return false;
    // Who the file belongs to is read before anything is written to it.
    std::optional<FileHeader> h = readHeader();
    std::optional<SqlFailure> refused = h ? refusal(*h) : std::nullopt;
    if (!h || refused) {
        if (refused)
            m_lastSql = *refused;
        closeConnection();
        return failQuery(JournalAction::Open);
    }
    execText(u"PRAGMA journal_mode = WAL"_s);
    execText(u"PRAGMA synchronous = FULL"_s);
    const bool fullText = fullTextAvailable();
    m_ready = true; // the writes below need it; reset on failure
    m_version = SchemaVersion;
    if (h->empty || h->version < SchemaVersion || (fullText && !h->hasFullText)) {
        // The copy is taken outside the migration's transaction, where SQLite can write one.
        if ((!h->empty && h->version < SchemaVersion && !backUp(h->version)) || !bringUpToDate(fullText)) {
            closeConnection();
            return failQuery(JournalAction::Open);
        }
    } else {
        m_fullText = fullText && h->hasFullText;
    }
    m_lastSql = {};
    return true;
}

bool Journal::openReadOnly()
{
    if (!openFile(true))
        return false;
    const std::optional<FileHeader> h = readHeader();
    const std::optional<SqlFailure> refused = h ? refusal(*h) : std::nullopt;
    if (!h || refused) {
        if (refused)
            m_lastSql = *refused;
        closeConnection();
        return failQuery(JournalAction::Open);
    }
    m_version = h->version;
    m_fullText = h->hasFullText && fullTextAvailable();
    m_ready = true;
    m_lastSql = {};
    return true;
}

bool Journal::bringUpToDate(bool fullText)
{
    // Another instance may be creating or migrating the same file at this
    // moment: IMMEDIATE waits for it, and the file is read again inside.
    if (!begin())
        return false;
    const std::optional<FileHeader> h = readHeader();
    if (!h) {
        rollback();
        return false;
    }
    if (const std::optional<SqlFailure> refused = refusal(*h)) {
        m_lastSql = *refused;
        rollback();
        return false;
    }
    bool ok = true;
    if (h->empty) {
        ok = createSchema();
    } else {
        m_fullText = fullText && h->hasFullText;
        if (h->version < 2)
            ok = migrateTo2();
        if (ok && h->version < 3)
            ok = migrateTo3();
        if (ok && h->version < 4)
            ok = migrateTo4();
        if (ok && h->version < 5)
            ok = migrateTo5();
        if (ok && h->version < 6)
            ok = migrateTo6();
        if (ok && fullText && !m_fullText)
            ok = createFullText(true);
    }
    if (!ok || !commit()) {
        rollback();
        return false;
    }
    return true;
}

bool Journal::createTables(int version)
{
    for (const QString &sql : createTableSql(version))
        if (!execText(sql))
            return false;
    m_fullText = false;
    return !m_options.fullTextSearch || createFullText(false);
}

bool Journal::createSchema()
{
    return createTables(SchemaVersion) && execText(u"PRAGMA application_id = %1"_s.arg(ApplicationId))
           && execText(u"PRAGMA user_version = %1"_s.arg(SchemaVersion));
}

bool Journal::createFullText(bool fill)
{
    if (!execText(fullTextCreateSql())) {
        m_fullText = false;
        m_lastSql = {};
        return true;
    }
    m_fullText = true;
    if (!fill)
        return true;
    QSqlQuery q(QSqlDatabase::database(m_connectionName, false));
    q.setForwardOnly(true);
    q.prepare(u"SELECT %1 FROM cases"_s.arg(selectColumns(m_version)));
    if (!exec(q))
        return false;
    while (q.next())
        if (!indexCase(readCase(q)))
            return false;
    return stepped(q);
}

// Version 2 gives the cases ids that order them, so the table is copied whole.
bool Journal::migrateTo2()
{
    if (!execText(u"DROP INDEX IF EXISTS cases_by_saved"_s) || !execText(u"ALTER TABLE cases RENAME TO cases_v1"_s)
        || !createTables(2))
        return false;
    QSqlQuery rows(QSqlDatabase::database(m_connectionName, false));
    rows.setForwardOnly(true);
    rows.prepare(u"SELECT %1 FROM cases_v1 ORDER BY id"_s.arg(selectColumns(1)));
    if (!exec(rows))
        return false;
    while (rows.next()) {
        CaseRecord c = readCase(rows);
        std::optional<CaseProblem> problem = checkCast(c.cast);
        if (!problem && (!c.saved.isValid() || !c.changed.isValid() || !datedInRange(c)))
            problem = CaseProblem{CaseFault::TimesInvalid, {}, {}};
        if (problem) {
            m_lastSql = {JournalError::BadOldCase, {}, c.id, c.question, problem};
            return false;
        }
        if (!insertCase(c, 2))
            return false;
    }
    if (!stepped(rows))
        return false;
    rows.finish();
    return execText(u"DROP TABLE cases_v1"_s) && execText(u"PRAGMA user_version = 2"_s);
}

// Version 3 adds the category and the first timing candidate, empty for the cases there.
bool Journal::migrateTo3()
{
    for (const QString &sql : upgradeSql(3))
        if (!execText(sql))
            return false;
    return execText(u"PRAGMA user_version = 3"_s);
}

// Version 4 adds the columns taken from each case's chart, filled for the
// cases there (and their first timing candidate, when they have none), and
// the day an outcome came about, empty.
bool Journal::migrateTo4()
{
    for (const QString &sql : upgradeSql(4))
        if (!execText(sql))
            return false;
    QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    QSqlQuery rows(db);
    rows.setForwardOnly(true);
    rows.prepare(u"SELECT %1 FROM cases"_s.arg(selectColumns(4)));
    QSqlQuery update(db);
    update.prepare(u"UPDATE cases SET usegod_strong = ?, hexagram_group = ?, yingqi_first = coalesce(yingqi_first, ?)"
                   " WHERE id = ?"_s);
    if (!exec(rows))
        return false;
    while (rows.next()) {
        const CaseRecord c = readCase(rows);
        const Chart &chart = caseChart(c);
        const auto strong = useGodStrong(chart);
        const auto group = hexagramGroupOf(chart);
        const auto first = firstYingqiOf(c);
        update.bindValue(0, strong ? QVariant(int(*strong)) : QVariant(QMetaType::fromType<int>()));
        update.bindValue(1, group ? QVariant(int(*group)) : QVariant(QMetaType::fromType<int>()));
        update.bindValue(2, first ? QVariant(first->toString(Qt::ISODate)) : QVariant(QMetaType::fromType<QString>()));
        update.bindValue(3, c.id);
        if (!exec(update))
            return false;
    }
    if (!stepped(rows))
        return false;
    rows.finish();
    return execText(u"PRAGMA user_version = 4"_s);
}

// The school column: a case saved before it was read by the modern rules (通行), which its NULL says.
bool Journal::migrateTo5()
{
    for (const QString &sql : upgradeSql(5))
        if (!execText(sql))
            return false;
    return execText(u"PRAGMA user_version = 5"_s);
}

// The file as it stands, copied beside it before a migration changes it:
// "journal.sqlite.v5-backup" (a number added when that name is taken). The
// migration itself is one transaction; the copy keeps the old version whole
// for an older program and against a fault in the migration's own code.
bool Journal::backUp(int version)
{
    // The name is taken by creating the file empty, so that two instances
    // migrating at once never write one copy; VACUUM INTO fills an empty file.
    QString copy;
    for (int n = 1;; ++n) {
        copy = n == 1 ? u"%1.v%2-backup"_s.arg(m_path).arg(version)
                      : u"%1.v%2-backup-%3"_s.arg(m_path).arg(version).arg(n);
        QFile reserved(copy);
        if (reserved.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            break;
        if (!QFileInfo::exists(copy) || n >= 1000) {
            m_lastSql = {JournalError::NoBackup, copy + u"："_s + reserved.errorString(), 0, {}, {}};
            return false;
        }
    }
    // VACUUM INTO writes a consistent copy, whatever another instance is doing.
    QSqlQuery q(QSqlDatabase::database(m_connectionName, false));
    q.prepare(u"VACUUM INTO ?"_s);
    q.addBindValue(copy);
    if (q.exec())
        return true;
    m_lastSql = {JournalError::NoBackup, copy + u"："_s + q.lastError().text(), 0, {}, {}};
    QFile::remove(copy);
    return false;
}

// Version 6 keeps the sex and the category as codes (a word this program does
// not know goes to the notes, see wordRead), which of the stem and builds were
// picked by hand (inferred from the moment), and every 应期 candidate with
// whether it came true; then drops the word columns.
bool Journal::migrateTo6()
{
    for (const QString &sql : upgradeSql(6))
        if (!execText(sql))
            return false;
    QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    QSqlQuery rows(db);
    rows.setForwardOnly(true);
    rows.prepare(u"SELECT %1 FROM cases"_s.arg(selectColumns(5)));
    if (!exec(rows))
        return false;
    QList<CaseRecord> cases; // read whole first: the rows change under the walk otherwise
    while (rows.next())
        cases << readCase(rows);
    if (!stepped(rows))
        return false;
    rows.finish();
    QSqlQuery update(db);
    update.prepare(u"UPDATE cases SET sex_code = ?, category_code = ?, by_hand = ?, notes = ? WHERE id = ?"_s);
    const auto column = [](QLatin1StringView name) { return std::ranges::find(CaseColumns, name, &CaseColumn::name); };
    for (const CaseRecord &c : std::as_const(cases)) {
        const ChartFacts facts = chartFactsOf(c);
        update.bindValue(0, column("sex_code"_L1)->write(c, facts));
        update.bindValue(1, column("category_code"_L1)->write(c, facts));
        update.bindValue(2, column("by_hand"_L1)->write(c, facts));
        update.bindValue(3, c.notes);
        update.bindValue(4, c.id);
        if (!exec(update) || !writeYingqi(c, facts) || !indexCase(c))
            return false;
    }
    for (const QString &sql : retireSql(6))
        if (!execText(sql))
            return false;
    return execText(u"PRAGMA user_version = 6"_s);
}

bool Journal::writeYingqi(const CaseRecord &c, const ChartFacts &facts)
{
    QSqlQuery *remove = prepared(u"DELETE FROM case_yingqi WHERE case_id = ?"_s);
    if (remove)
        remove->bindValue(0, c.id);
    if (!execPrepared(remove))
        return false;
    QSqlQuery *q = prepared(u"INSERT INTO case_yingqi(case_id, rule, unit, line, day, hit, days_off)"
                            " VALUES (?, ?, ?, ?, ?, ?, ?)"_s);
    // Only a matter that came about has a day to set against the candidates.
    const bool dated = c.verdict == Verdict::Fulfilled && c.outcomeDate;
    const CivilDate day
        = dated ? CivilDate{c.outcomeDate->year(), c.outcomeDate->month(), c.outcomeDate->day()} : CivilDate{};
    const QVariant none(QMetaType::fromType<int>());
    for (const YingqiCandidate &y : facts.yingqi) {
        if (!q)
            return false;
        const YingqiHit hit = dated ? yingqiHit(y, day) : YingqiHit{};
        q->bindValue(0, c.id);
        q->bindValue(1, static_cast<int>(y.rule));
        q->bindValue(2, static_cast<int>(y.unit));
        q->bindValue(3, static_cast<int>(y.line));
        q->bindValue(4, QDate(y.date.year, y.date.month, y.date.day).toString(Qt::ISODate));
        q->bindValue(5, dated ? QVariant(hit.hit ? 1 : 0) : none);
        q->bindValue(6, dated ? QVariant(static_cast<qint64>(hit.daysOff)) : none);
        if (!execPrepared(q))
            return false;
    }
    return true;
}

std::optional<qint64> Journal::nextId(qint64 minute)
{
    QSqlQuery *q = prepared(u"SELECT max(id) FROM cases WHERE id >= ? AND id < ?"_s);
    if (q) {
        q->bindValue(0, firstIdOf(minute));
        q->bindValue(1, firstIdOf(minute + 1));
    }
    if (!execPrepared(q) || !q->next())
        return std::nullopt;
    const QVariant last = q->value(0);
    q->finish();
    const qint64 id = last.isNull() ? firstIdOf(minute) + 1 : last.toLongLong() + 1;
    if (id >= firstIdOf(minute + 1)) {
        m_lastSql = {};
        m_lastSql.kind = JournalError::MinuteFull;
        return std::nullopt;
    }
    return id;
}

bool Journal::indexCase(const CaseRecord &c, bool fresh)
{
    if (!m_fullText)
        return true;
    if (!fresh) {
        QSqlQuery *remove = prepared(u"DELETE FROM cases_fts WHERE rowid = ?"_s);
        if (remove)
            remove->bindValue(0, c.id);
        if (!execPrepared(remove))
            return false;
    }
    static const QString Insert = fullTextInsertSql();
    QSqlQuery *q = prepared(Insert);
    if (!q)
        return false;
    q->bindValue(0, c.id);
    int at = 1;
    for (const SearchField &f : SearchFields)
        q->bindValue(at++, searchableText(f.text(c)));
    return execPrepared(q);
}

bool Journal::insertCase(CaseRecord &c, int version)
{
    if (!datedInRange(c)) { // no id for it
        m_lastSql = {JournalError::BadCase, {}, 0, c.question, CaseProblem{CaseFault::TimesInvalid, {}, {}}};
        return false;
    }
    const std::optional<qint64> id = nextId(caseMinute(c));
    if (!id)
        return false;
    c.id = *id;
    QSqlQuery *q = prepared(insertSql(version));
    const ChartFacts facts = chartFactsOf(c);
    if (q)
        bindInsert(*q, c, facts, version);
    return execPrepared(q) && indexCase(c, true) && (version < 6 || writeYingqi(c, facts));
}

bool Journal::writeFollowUp(const CaseRecord &c)
{
    QSqlQuery *q = prepared(followUpSql());
    const ChartFacts facts = chartFactsOf(c);
    if (q)
        bindFollowUp(*q, c, facts);
    return execPrepared(q) && indexCase(c) && writeYingqi(c, facts);
}

std::optional<CaseRecord> Journal::save(const CaseRecord &draft)
{
    startCommand();
    if (!usable(JournalAction::Save))
        return std::nullopt;
    CaseRecord c = draft;
    makeWellFormed(c);
    c.tags = normalizeTags(c.tags.join(u' '));
    c.saved = c.changed = now();
    if (const std::optional<CaseProblem> problem = checkCase(c)) {
        fail(JournalAction::Save, {JournalError::BadCase, {}, 0, {}, problem});
        return std::nullopt;
    }
    if (!begin() || !insertCase(c, m_version) || !commit()) {
        rollback();
        failQuery(JournalAction::Save);
        return std::nullopt;
    }
    return c;
}

std::optional<std::optional<CaseRecord>> Journal::findCase(qint64 id)
{
    QSqlQuery q(QSqlDatabase::database(m_connectionName, false));
    q.prepare(u"SELECT %1 FROM cases WHERE id = ?"_s.arg(selectColumns(m_version)));
    q.addBindValue(id);
    if (!exec(q))
        return std::nullopt;
    if (!q.next()) {
        if (!stepped(q))
            return std::nullopt;
        return std::optional<CaseRecord>();
    }
    return std::optional(readCase(q));
}

std::optional<CaseRecord> Journal::updateFollowUp(const CaseRecord &typed)
{
    CaseRecord edited = typed;
    makeWellFormed(edited);
    startCommand();
    if (!usable(JournalAction::Update))
        return std::nullopt;
    if (!begin()) {
        failQuery(JournalAction::Update);
        return std::nullopt;
    }
    const std::optional<std::optional<CaseRecord>> stored = findCase(edited.id);
    if (!stored || !*stored) {
        rollback();
        if (stored)
            fail(JournalAction::Update, JournalError::NotFound);
        else
            failQuery(JournalAction::Update);
        return std::nullopt;
    }
    CaseRecord c = **stored;
    c.notes = edited.notes;
    c.outcome = edited.outcome;
    c.verdict = edited.verdict;
    c.tags = normalizeTags(edited.tags.join(u' '));
    c.category = edited.category;
    c.firstYingqi = edited.firstYingqi;
    c.outcomeDate = edited.outcomeDate;
    c.changed = now();
    if (const std::optional<CaseProblem> problem = checkCase(c)) {
        rollback();
        fail(JournalAction::Update, {JournalError::BadCase, {}, 0, {}, problem});
        return std::nullopt;
    }
    if (!writeFollowUp(c) || !commit()) {
        rollback();
        failQuery(JournalAction::Update);
        return std::nullopt;
    }
    return c;
}

bool Journal::remove(const QList<qint64> &ids)
{
    startCommand();
    if (!usable(JournalAction::Remove))
        return false;
    if (!begin())
        return failQuery(JournalAction::Remove);
    QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    QSqlQuery q(db);
    for (const qint64 id : ids) {
        q.prepare(u"DELETE FROM cases WHERE id = ?"_s);
        q.addBindValue(id);
        bool ok = exec(q);
        if (ok) {
            q.prepare(u"DELETE FROM case_yingqi WHERE case_id = ?"_s);
            q.addBindValue(id);
            ok = exec(q);
        }
        if (ok && m_fullText) {
            q.prepare(u"DELETE FROM cases_fts WHERE rowid = ?"_s);
            q.addBindValue(id);
            ok = exec(q);
        }
        if (!ok) {
            rollback();
            return failQuery(JournalAction::Remove);
        }
    }
    if (!commit())
        return failQuery(JournalAction::Remove);
    return true;
}

std::optional<CaseRecord> Journal::find(qint64 id)
{
    startCommand();
    if (!QSqlDatabase::database(m_connectionName, false).isOpen()) {
        fail(JournalAction::Read, JournalError::NotOpen);
        return std::nullopt;
    }
    const std::optional<std::optional<CaseRecord>> found = findCase(id);
    if (!found) {
        failQuery(JournalAction::Read);
        return std::nullopt;
    }
    if (!*found)
        fail(JournalAction::Read, JournalError::NotFound);
    return *found;
}

std::optional<qint64> Journal::count()
{
    startCommand();
    QSqlQuery q(QSqlDatabase::database(m_connectionName, false));
    q.prepare(u"SELECT count(*) FROM cases"_s);
    if (!exec(q) || !q.next()) {
        failQuery(JournalAction::Read);
        return std::nullopt;
    }
    return q.value(0).toLongLong();
}

std::optional<QList<CaseRecord>> Journal::list(const CaseFilter &filter, std::optional<qint64> afterId, int limit)
{
    startCommand();
    if (!usable(JournalAction::Read))
        return std::nullopt;
    // Everything narrows the id range or filters rows met while walking ids
    // down, so the first screenful is read without touching the rest.
    QString where;
    QVariantList binds;
    QString from = u"cases c"_s;
    if (m_fullText) {
        const QString match = matchExpression(filter.text);
        if (!match.isEmpty()) {
            from = u"cases_fts f JOIN cases c ON c.id = f.rowid"_s;
            where += u" AND cases_fts MATCH ?"_s;
            binds << match;
        }
    } else {
        for (const QString &word : filter.text.split(u' ', Qt::SkipEmptyParts)) {
            if (searchableText(word).isEmpty())
                continue; // as the full-text index, which keeps no punctuation
            QStringList likes;
            for (const SearchField &f : SearchFields) {
                if (f.column.isEmpty())
                    continue;
                likes << u"c.%1 LIKE ? ESCAPE '\\'"_s.arg(f.column);
                binds << likePattern(word);
            }
            where += u" AND ("_s + likes.join(u" OR "_s);
            if (const QString keys = keysNamed(word); !keys.isEmpty())
                where += u" OR c.lines IN (%1) OR (c.moving <> '000000' AND c.changed_lines IN (%1))"_s.arg(keys);
            where += u')';
        }
    }
    const QString id = from.startsWith(u"cases_fts"_s) ? u"f.rowid"_s : u"c.id"_s;
    if (filter.from) {
        where += u" AND %1 >= ?"_s.arg(id);
        binds << firstIdOf(minuteNumber({{filter.from->year(), filter.from->month(), filter.from->day()}, 0, 0}));
    }
    if (filter.to) {
        const QDate next = filter.to->addDays(1);
        where += u" AND %1 < ?"_s.arg(id);
        binds << firstIdOf(minuteNumber({{next.year(), next.month(), next.day()}, 0, 0}));
    }
    if (afterId) {
        where += u" AND %1 < ?"_s.arg(id);
        binds << *afterId;
    }
    if (filter.verdict) {
        where += u" AND c.verdict = ?"_s;
        binds << static_cast<int>(*filter.verdict);
    }
    if (filter.openYingqiBefore) {
        // Served by the index cases_open_by_yingqi; a file before version 3 has no candidates.
        where += m_version >= 3 ? u" AND c.verdict = 0 AND c.yingqi_first < ?"_s : u" AND 0"_s;
        if (m_version >= 3)
            binds << filter.openYingqiBefore->toString(Qt::ISODate);
    }
    if (filter.group) {
        const SqlCondition group = groupCondition(*filter.group);
        where += u" AND c.verdict IN (1, 2) AND (%1)"_s.arg(group.sql);
        binds << group.binds;
    }
    QSqlQuery q(QSqlDatabase::database(m_connectionName, false));
    q.setForwardOnly(true);
    q.prepare(u"SELECT %1 FROM %2 WHERE 1%3 ORDER BY %4 DESC LIMIT ?"_s.arg(selectColumns(m_version, "c."_L1), from,
                                                                            where, id));
    for (const QVariant &b : std::as_const(binds))
        q.addBindValue(b);
    q.addBindValue(limit);
    if (!exec(q)) {
        failQuery(JournalAction::Read);
        return std::nullopt;
    }
    QList<CaseRecord> cases;
    while (q.next())
        cases << readCase(q);
    if (!stepped(q)) {
        failQuery(JournalAction::Read);
        return std::nullopt;
    }
    return cases;
}

bool Journal::exportCases(const QString &file, const QList<qint64> &ids, const ChartJson &chart)
{
    startCommand();
    m_otherFile = file;
    const auto done = qScopeGuard([this] { m_otherFile.clear(); });
    if (!usable(JournalAction::Export))
        return false;
    QString where;
    if (!ids.isEmpty()) {
        QStringList numbers;
        for (const qint64 id : ids)
            numbers << QString::number(id);
        where = u" WHERE id IN (%1)"_s.arg(numbers.join(u','));
    }
    QSqlQuery q(QSqlDatabase::database(m_connectionName, false));
    q.setForwardOnly(true);
    q.prepare(u"SELECT %1 FROM cases%2 ORDER BY id DESC"_s.arg(selectColumns(m_version), where));
    if (!exec(q))
        return failQuery(JournalAction::Export);
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly))
        return fail(JournalAction::Export, JournalError::FileUnwritable, out.errorString());
    QString error;
    bool written = writeAll(out, exportHead(now()), &error);
    for (bool first = true; written && q.next(); first = false)
        written = writeAll(out, exportCase(readCase(q), chart, first), &error);
    if (!stepped(q)) {
        out.cancelWriting();
        return failQuery(JournalAction::Export);
    }
    if (!written || !writeAll(out, exportTail(), &error)) {
        out.cancelWriting();
        return fail(JournalAction::Export, JournalError::FileUnwritable, error);
    }
    if (!commitWhole(out, &error))
        return fail(JournalAction::Export, JournalError::FileUnwritable, error);
    return true;
}

std::optional<std::optional<CaseRecord>> Journal::stored(const CaseRecord &c)
{
    static const std::array<QString, SchemaVersion + 1> Sql = [] {
        std::array<QString, SchemaVersion + 1> sql;
        for (int v = 1; v <= SchemaVersion; ++v)
            sql[v] = u"SELECT %1 FROM cases WHERE saved_at = ?"_s.arg(selectColumns(v));
        return sql;
    }();
    QSqlQuery *q = prepared(Sql[static_cast<std::size_t>(m_version)]);
    if (q)
        q->bindValue(0, c.saved.toMSecsSinceEpoch());
    if (!execPrepared(q))
        return std::nullopt;
    while (q->next()) {
        const CaseRecord there = readCase(*q);
        if (sameCase(there, c)) {
            q->finish();
            return std::optional(there);
        }
    }
    if (!stepped(*q))
        return std::nullopt;
    q->finish();
    return std::optional<CaseRecord>();
}

std::optional<std::pair<qint64, qint64>> Journal::state()
{
    QSqlQuery *q = prepared(u"PRAGMA data_version"_s);
    if (!execPrepared(q) || !q->next())
        return std::nullopt;
    const qint64 version = q->value(0).toLongLong();
    q->finish();
    return std::pair(version, m_commits);
}

// How an imported case stands against the journal. A case without its first
// timing candidate (a file from before they were kept) keeps the one of the
// same case there; a new one is given its chart's when it is written, as the
// migration gives it to the cases there, its chart worked out once for every
// column.
std::optional<ImportPlan::Standing> Journal::standing(CaseRecord &c)
{
    const std::optional<std::optional<CaseRecord>> there = stored(c);
    if (!there)
        return std::nullopt;
    if (!*there)
        return ImportPlan::Standing{};
    if (!c.firstYingqi)
        c.firstYingqi = (*there)->firstYingqi;
    return ImportPlan::Standing{(*there)->id, sameFollowUp(**there, c)};
}

std::optional<ImportPlan> Journal::readImport(const QString &file, const ImportProgress &progress)
{
    startCommand();
    m_otherFile = file;
    const auto done = qScopeGuard([this] { m_otherFile.clear(); });
    if (!usable(JournalAction::Import))
        return std::nullopt;
    const QFileInfo info(file);
    // A pipe or a device would block the window at open, or never end.
    if (info.exists() && !info.isFile()) {
        fail(JournalAction::Import, JournalError::FileNotRegular);
        return std::nullopt;
    }
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) {
        fail(JournalAction::Import, JournalError::FileUnreadable, in.errorString());
        return std::nullopt;
    }
    // The file is read piece by piece, whatever its size: every export this
    // program writes comes back. What it holds is judged, not its size.
    ImportPlan plan;
    plan.file = file;
    JournalFailure parsed;
    if (!readExport(
            in, [&plan](CaseRecord &&c) { plan.cases << std::move(c); }, parsed, progress)) {
        fail(JournalAction::Import,
             {parsed.kind, parsed.detail, parsed.caseNumber, parsed.caseQuestion, parsed.problem});
        m_lastError.offset = parsed.offset;
        return std::nullopt;
    }
    plan.state = state();
    const qint64 total = plan.cases.size();
    plan.standing.reserve(total);
    for (qint64 i = 0; i < total; ++i) {
        const std::optional<ImportPlan::Standing> s = standing(plan.cases[i]);
        if (!s || !plan.state) {
            failQuery(JournalAction::Import);
            return std::nullopt;
        }
        plan.standing << *s;
        ++(s->id == 0 ? plan.added : s->sameFollowUp ? plan.identical : plan.differing);
        if (progress && i % 500 == 499 && !progress(i + 1, total)) {
            fail(JournalAction::Import, JournalError::Cancelled);
            return std::nullopt;
        }
    }
    return plan;
}

std::optional<ImportReport> Journal::applyImport(const ImportPlan &plan, bool replaceDiffering,
                                                 const ImportProgress &progress)
{
    startCommand();
    m_otherFile = plan.file;
    const auto done = qScopeGuard([this] { m_otherFile.clear(); });
    if (!usable(JournalAction::Import))
        return std::nullopt;
    if (!begin()) {
        failQuery(JournalAction::Import);
        return std::nullopt;
    }
    // Inside the transaction nobody else writes. When nobody has since the plan
    // was read, it stands; otherwise each case is looked up again.
    const std::optional<std::pair<qint64, qint64>> now = state();
    const bool planStands = now && plan.state == now && plan.standing.size() == plan.cases.size();
    // A file may hold a case twice: the cases written so far, by their saved
    // time, are looked up here before the plan is taken at its word.
    QMultiHash<qint64, CaseRecord> written;
    const auto writtenAs = [&written](const CaseRecord &c) -> CaseRecord * {
        const qint64 saved = c.saved.toMSecsSinceEpoch();
        for (auto it = written.find(saved); it != written.end() && it.key() == saved; ++it)
            if (sameCase(*it, c))
                return &*it;
        return nullptr;
    };
    ImportReport report;
    const qint64 total = plan.cases.size();
    for (qint64 i = 0; i < total; ++i) {
        CaseRecord c = plan.cases.at(i);
        std::optional<ImportPlan::Standing> there;
        CaseRecord *earlier = planStands ? writtenAs(c) : nullptr;
        if (earlier) {
            if (!c.firstYingqi)
                c.firstYingqi = earlier->firstYingqi;
            there = ImportPlan::Standing{earlier->id, sameFollowUp(*earlier, c)};
        } else {
            there = planStands ? std::optional(plan.standing.at(i)) : standing(c);
        }
        bool ok = there.has_value();
        if (ok && there->id == 0) {
            if (!c.firstYingqi)
                c.firstYingqi = firstYingqiOf(c);
            ok = insertCase(c, m_version);
            if (planStands)
                written.insert(c.saved.toMSecsSinceEpoch(), c);
            ++report.added;
        } else if (ok && there->sameFollowUp) {
            ++report.skipped;
        } else if (ok && replaceDiffering) {
            c.id = there->id;
            ok = writeFollowUp(c);
            if (planStands && earlier)
                *earlier = c;
            else if (planStands)
                written.insert(c.saved.toMSecsSinceEpoch(), c);
            ++report.replaced;
        } else if (ok) {
            ++report.differing;
        }
        if (!ok) {
            rollback();
            failQuery(JournalAction::Import);
            return std::nullopt;
        }
        if (progress && i % 500 == 499 && !progress(i + 1, total)) {
            rollback();
            fail(JournalAction::Import, JournalError::Cancelled);
            return std::nullopt;
        }
    }
    if (!commit()) {
        failQuery(JournalAction::Import);
        return std::nullopt;
    }
    return report;
}

std::optional<ImportReport> Journal::importCases(const QString &file, bool replaceDiffering)
{
    const std::optional<ImportPlan> plan = readImport(file);
    return plan ? applyImport(*plan, replaceDiffering) : std::nullopt;
}

QString journalErrorName(JournalError kind)
{
    static constexpr std::array Names{
        "none"_L1,
        "not-open"_L1,
        "busy"_L1,
        "read-only"_L1,
        "full"_L1,
        "cannot-open"_L1,
        "damaged"_L1,
        "foreign"_L1,
        "too-new"_L1,
        "too-old"_L1,
        "missing"_L1,
        "not-a-file"_L1,
        "unreadable"_L1,
        "no-folder"_L1,
        "no-driver"_L1,
        "io-error"_L1,
        "database"_L1,
        "opened-read-only"_L1,
        "minute-full"_L1,
        "no-backup"_L1,
        "not-found"_L1,
        "bad-case"_L1,
        "bad-old-case"_L1,
        "file-not-regular"_L1,
        "file-unreadable"_L1,
        "file-unwritable"_L1,
        "file-not-utf8"_L1,
        "file-not-json"_L1,
        "file-too-deep"_L1,
        "file-not-export"_L1,
        "version-missing"_L1,
        "version-not-number"_L1,
        "version-unknown"_L1,
        "bad-file-case"_L1,
        "cancelled"_L1,
    };
    static_assert(Names.size() == static_cast<std::size_t>(JournalError::Cancelled) + 1);
    return QString(Names[static_cast<std::size_t>(kind)]);
}

} // namespace lotgrid
