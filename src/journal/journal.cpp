#include "journal.h"

#include "chart/hexagrams.h"
#include "widgets/textconv.h"

#include <QAtomicInt>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSaveFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace lotgrid {

namespace {

// "LGRJ": marks the file as a Lotgrid journal, whatever its schema version.
constexpr qint64 ApplicationId = 0x4C47524A;

constexpr QLatin1StringView SqliteHeader("SQLite format 3\0", 16);

constexpr auto CaseColumns = "id, saved_at, changed_at, moment, lines, moving, day_stem, month_build, day_build, "
                             "mark_kind, mark_line, question, sex, notes, outcome, verdict, tags"_L1;

// A case's id orders the journal, newest last: the minute the case is dated by
// (caseMinute) times 2^20, plus its place among the cases of that minute, from 1.
// The table and the full-text index (whose rowid is the case id) are then read
// newest first by walking ids down, and a search stops at its first screenful.
constexpr qint64 IdsPerMinute = qint64{1} << 20;

qint64 firstIdOf(qint64 minute)
{
    return minute * IdsPerMinute;
}

// Schema 2. Schema 1 numbered cases 1, 2, 3...; it had no changed_lines and no
// tags, only the cases_by_saved index, and no full-text table.
constexpr std::array<QLatin1StringView, 3> Schema2{
    "CREATE TABLE cases ("
    " id INTEGER PRIMARY KEY,"               // see IdsPerMinute
    " saved_at INTEGER NOT NULL,"            // ms since 1970, UTC
    " changed_at INTEGER NOT NULL,"          // ms since 1970, UTC
    " moment INTEGER,"                       // minuteNumber of the cast moment (qgsj), China time; NULL without one
    " lines TEXT NOT NULL,"                  // LineKey, line 1 first: "101101"
    " moving TEXT NOT NULL,"                 // moving flags, line 1 first: "000100"
    " changed_lines TEXT NOT NULL,"          // LineKey of the changed hexagram
    " day_stem INTEGER,"                     // [0, 9] 甲..癸, NULL when not chosen
    " month_build INTEGER,"                  // [0, 11] 子..亥
    " day_build INTEGER,"                    // [0, 11]
    " mark_kind INTEGER NOT NULL DEFAULT 0," // 0 none, 1 用神, 2 伏神
    " mark_line INTEGER NOT NULL DEFAULT 0," // [1, 6] with a mark
    " question TEXT NOT NULL DEFAULT '',"
    " sex TEXT NOT NULL DEFAULT '',"
    " notes TEXT NOT NULL DEFAULT '',"
    " outcome TEXT NOT NULL DEFAULT '',"
    " verdict INTEGER NOT NULL DEFAULT 0," // 0 未定, 1 应验, 2 不验
    " tags TEXT NOT NULL DEFAULT '')"_L1,  // tags joined by single blanks
    "CREATE INDEX cases_by_saved ON cases(saved_at)"_L1,
    "CREATE INDEX cases_by_verdict ON cases(verdict, id)"_L1,
};

// Version 1's columns, read as the current ones (it had no tags).
constexpr auto Version1Columns = "id, saved_at, changed_at, moment, lines, moving, day_stem, month_build, day_build, "
                                 "mark_kind, mark_line, question, sex, notes, outcome, verdict, ''"_L1;

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

int sqliteCode(const QSqlError &e)
{
    return e.nativeErrorCode().toInt() & 0xff;
}

bool isDamage(const QSqlError &e)
{
    return sqliteCode(e) == Corrupt || sqliteCode(e) == NotADb;
}

QString reasonOf(const QSqlError &e, int busyTimeoutMs)
{
    switch (sqliteCode(e)) {
    case Busy:
    case Locked:
        return u"案例库正被另一个运行中的程序占用，等待 %1 秒后仍未释放"_s.arg(busyTimeoutMs / 1000.0, 0, 'g', 3);
    case ReadOnly:
        return u"文件或所在的文件夹是只读的"_s;
    case Full:
        return u"磁盘已满"_s;
    case CantOpen:
        return u"无法打开文件（所在的文件夹不可写、文件只读或不存在）"_s;
    case Corrupt:
    case NotADb:
        return u"文件已损坏，或不是本程序的案例库"_s;
    case IoError:
        return u"读写出错（%1）"_s.arg(e.text());
    default:
        return e.text();
    }
}

QString nativePath(const QString &path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

QVariant optionalInt(const auto &value)
{
    return value ? QVariant(static_cast<int>(*value)) : QVariant();
}

QString movingKey(const CastInput &cast)
{
    QString key;
    for (const CastLine &l : cast.lines)
        key += l.moving ? u'1' : u'0';
    return key;
}

CaseRecord readCase(const QSqlQuery &q)
{
    CaseRecord c;
    c.id = q.value(0).toLongLong();
    c.saved = QDateTime::fromMSecsSinceEpoch(q.value(1).toLongLong(), Qt::UTC);
    c.changed = QDateTime::fromMSecsSinceEpoch(q.value(2).toLongLong(), Qt::UTC);
    if (!q.value(3).isNull())
        c.cast.moment = momentFromMinutes(q.value(3).toLongLong());
    const QString lines = q.value(4).toString();
    const QString moving = q.value(5).toString();
    for (int n = 1; n <= 6; ++n) {
        const QChar v = n <= lines.size() ? lines.at(n - 1) : QChar();
        c.cast.line(n)
            = {v == u'1' || v == u'0' ? v.unicode() : char16_t{0}, n <= moving.size() && moving.at(n - 1) == u'1'};
    }
    const auto inRange = [&q](int column, int last) -> std::optional<int> {
        if (q.value(column).isNull())
            return std::nullopt;
        const int v = q.value(column).toInt();
        return v >= 0 && v <= last ? std::optional(v) : std::nullopt;
    };
    c.cast.dayStem = inRange(6, 9);
    if (const auto b = inRange(7, 11))
        c.cast.monthBuild = static_cast<Branch>(*b);
    if (const auto b = inRange(8, 11))
        c.cast.dayBuild = static_cast<Branch>(*b);
    const int kind = q.value(9).toInt();
    const int line = q.value(10).toInt();
    if ((kind == 1 || kind == 2) && line >= 1 && line <= 6)
        c.cast.mark = {static_cast<MarkKind>(kind), line};
    c.question = q.value(11).toString();
    c.sex = q.value(12).toString();
    c.notes = q.value(13).toString();
    c.outcome = q.value(14).toString();
    const int verdict = q.value(15).toInt();
    c.verdict = verdict >= 0 && verdict <= 2 ? static_cast<Verdict>(verdict) : Verdict::Open;
    c.tags = q.value(16).toString().split(u' ', Qt::SkipEmptyParts);
    return c;
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

Journal::Journal(QString path, JournalOptions options)
    : m_path(std::move(path))
    , m_connectionName(u"lotgrid-journal-%1"_s.arg(connectionCounter.fetchAndAddRelaxed(1)))
    , m_options(std::move(options))
{
}

Journal::~Journal()
{
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

QString Journal::unusable() const
{
    return m_unusableReason.isEmpty() ? u"案例库没有打开"_s : m_unusableReason + u"；本次运行中案例库停用"_s;
}

QDateTime Journal::now() const
{
    const QDateTime t = m_options.now ? m_options.now() : QDateTime::currentDateTimeUtc();
    return QDateTime::fromMSecsSinceEpoch(t.toMSecsSinceEpoch(), Qt::UTC);
}

bool Journal::fail(const QString &what, const QString &reason)
{
    if (!m_ready && m_unusableReason.isEmpty() && !reason.isEmpty())
        m_unusableReason = reason;
    m_lastError = u"%1\n案例库文件：%2\n原因：%3"_s.arg(what, nativePath(m_path), reason);
    return false;
}

bool Journal::failQuery(const QString &what)
{
    if (!m_lastSqlReason.isEmpty())
        return fail(what, m_lastSqlReason);
    return fail(what, u"未知的数据库错误"_s);
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
    m_lastSqlReason = reasonOf(e, m_options.busyTimeoutMs);
    if (isDamage(e) && m_ready) {
        m_ready = false; // never write again to a file found damaged
        m_unusableReason = m_lastSqlReason;
    }
    return false;
}

bool Journal::stepped(const QSqlQuery &q)
{
    // next() returns false both at the end and on an error such as a damaged page.
    return !q.lastError().isValid() || noteError(q.lastError());
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
    if (execText(u"COMMIT"_s))
        return true;
    rollback();
    return false;
}

void Journal::rollback()
{
    const QString reason = m_lastSqlReason;
    execText(u"ROLLBACK"_s);
    m_lastSqlReason = reason;
}

bool Journal::open()
{
    const QString what = u"案例库无法打开。文件保持原样；本次运行中案例库命令停用，排盘不受影响。"_s;
    m_ready = false;
    m_lastError.clear();
    m_unusableReason.clear();
    const QFileInfo info(m_path);
    if (info.exists() && !info.isFile())
        return fail(what, u"这个位置是文件夹或其他非文件的东西"_s);
    if (info.exists() && info.size() > 0) {
        QFile file(m_path);
        if (!file.open(QIODevice::ReadOnly))
            return fail(what, u"无法读取文件（%1）"_s.arg(file.errorString()));
        if (file.read(SqliteHeader.size()) != QByteArrayView(SqliteHeader.data(), SqliteHeader.size()))
            return fail(what, u"文件已损坏，或不是本程序的案例库"_s);
    } else if (!info.exists() && !QDir().mkpath(info.absolutePath())) {
        return fail(what, u"无法创建文件夹 %1"_s.arg(QDir::toNativeSeparators(info.absolutePath())));
    }

    QSqlDatabase db = QSqlDatabase::contains(m_connectionName)
                          ? QSqlDatabase::database(m_connectionName, false)
                          : QSqlDatabase::addDatabase(u"QSQLITE"_s, m_connectionName);
    if (!db.isValid())
        return fail(what, u"缺少 Qt 的 SQLite 驱动（QSQLITE）"_s);
    db.setDatabaseName(m_path);
    db.setConnectOptions(u"QSQLITE_BUSY_TIMEOUT=%1"_s.arg(m_options.busyTimeoutMs));
    if (!db.open())
        return fail(what, reasonOf(db.lastError(), m_options.busyTimeoutMs));

    // Read who the file belongs to before anything is written to it.
    QSqlQuery q(db);
    q.prepare(u"SELECT (SELECT application_id FROM pragma_application_id),"
              " (SELECT user_version FROM pragma_user_version),"
              " (SELECT count(*) FROM sqlite_master),"
              " (SELECT count(*) FROM sqlite_master WHERE name = 'cases_fts')"_s);
    if (!exec(q) || !q.next()) {
        db.close();
        return fail(what, m_lastSqlReason);
    }
    const qint64 applicationId = q.value(0).toLongLong();
    const int version = q.value(1).toInt();
    const bool empty = q.value(2).toInt() == 0 && applicationId == 0 && version == 0;
    const bool hasFullTextTable = q.value(3).toInt() > 0;
    q.finish();
    if (!empty && applicationId != ApplicationId) {
        db.close();
        return fail(what, u"这是另一个程序的 SQLite 数据库，不是本程序的案例库"_s);
    }
    if (!empty && version > SchemaVersion) {
        db.close();
        return fail(what, u"案例库由较新版本的六爻程序创建（格式 %1），这个版本只认得格式 %2 及以前"_s.arg(version).arg(
                              SchemaVersion));
    }
    if (!empty && version < 1) {
        db.close();
        return fail(what, u"文件已损坏，或不是本程序的案例库"_s);
    }

    execText(u"PRAGMA busy_timeout = %1"_s.arg(m_options.busyTimeoutMs));
    execText(u"PRAGMA journal_mode = WAL"_s);
    execText(u"PRAGMA synchronous = FULL"_s);

    bool probeOk = false;
    if (m_options.fullTextSearch) {
        probeOk = execText(u"CREATE VIRTUAL TABLE temp.fts_probe USING fts5(x)"_s);
        if (probeOk)
            execText(u"DROP TABLE temp.fts_probe"_s);
    }
    m_ready = true; // the writes below need it; reset on failure
    bool ok = true;
    if (empty) {
        ok = begin() && createSchema() && commit();
    } else if (version == 1) {
        ok = begin() && migrateFrom1() && commit();
    } else if (probeOk && !hasFullTextTable) {
        ok = begin() && createFullText(true) && commit();
    }
    if (!ok) {
        rollback();
        m_ready = false;
        db.close();
        return fail(what, m_lastSqlReason);
    }
    if (!empty && version != 1 && hasFullTextTable)
        m_fullText = probeOk;
    return true;
}

bool Journal::createTables()
{
    for (const QLatin1StringView sql : Schema2)
        if (!execText(QString(sql)))
            return false;
    m_fullText = false;
    return !m_options.fullTextSearch || createFullText(false);
}

bool Journal::createSchema()
{
    return createTables() && execText(u"PRAGMA application_id = %1"_s.arg(ApplicationId))
           && execText(u"PRAGMA user_version = %1"_s.arg(SchemaVersion));
}

bool Journal::createFullText(bool fill)
{
    // Without FTS5 in this SQLite, search falls back to LIKE; that is not a failure.
    if (!execText(u"CREATE VIRTUAL TABLE cases_fts USING fts5(question, notes, tags, outcome, hexagrams)"_s)) {
        m_fullText = false;
        return true;
    }
    m_fullText = true;
    if (!fill)
        return true;
    QSqlQuery q(QSqlDatabase::database(m_connectionName, false));
    q.setForwardOnly(true);
    q.prepare(u"SELECT %1 FROM cases"_s.arg(CaseColumns));
    if (!exec(q))
        return false;
    while (q.next())
        if (!indexCase(readCase(q)))
            return false;
    return stepped(q);
}

bool Journal::migrateFrom1()
{
    // The cases get ids of the current kind, so the table is copied whole.
    if (!execText(u"DROP INDEX IF EXISTS cases_by_saved"_s) || !execText(u"ALTER TABLE cases RENAME TO cases_v1"_s))
        return false;
    if (!createTables())
        return false;
    QSqlQuery rows(QSqlDatabase::database(m_connectionName, false));
    rows.setForwardOnly(true);
    rows.prepare(u"SELECT %1 FROM cases_v1 ORDER BY id"_s.arg(Version1Columns));
    if (!exec(rows))
        return false;
    while (rows.next()) {
        CaseRecord c = readCase(rows);
        if (!insertCase(c))
            return false;
    }
    if (!stepped(rows))
        return false;
    rows.finish();
    return execText(u"DROP TABLE cases_v1"_s) && execText(u"PRAGMA user_version = 2"_s);
}

std::optional<qint64> Journal::nextId(qint64 minute)
{
    QSqlQuery q(QSqlDatabase::database(m_connectionName, false));
    q.prepare(u"SELECT max(id) FROM cases WHERE id >= ? AND id < ?"_s);
    q.addBindValue(firstIdOf(minute));
    q.addBindValue(firstIdOf(minute + 1));
    if (!exec(q) || !q.next())
        return std::nullopt;
    const qint64 id = q.value(0).isNull() ? firstIdOf(minute) + 1 : q.value(0).toLongLong() + 1;
    if (id >= firstIdOf(minute + 1)) {
        m_lastSqlReason = u"同一分钟内的案例太多"_s;
        return std::nullopt;
    }
    return id;
}

bool Journal::indexCase(const CaseRecord &c)
{
    if (!m_fullText)
        return true;
    QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    QSqlQuery q(db);
    q.prepare(u"DELETE FROM cases_fts WHERE rowid = ?"_s);
    q.addBindValue(c.id);
    if (!exec(q))
        return false;
    q.prepare(u"INSERT INTO cases_fts(rowid, question, notes, tags, outcome, hexagrams) VALUES (?, ?, ?, ?, ?, ?)"_s);
    q.addBindValue(c.id);
    q.addBindValue(searchableText(c.question));
    q.addBindValue(searchableText(c.notes));
    q.addBindValue(searchableText(c.tags.join(u' ')));
    q.addBindValue(searchableText(c.outcome));
    q.addBindValue(searchableText(originalName(c.cast) + u' ' + changedName(c.cast)));
    return exec(q);
}

bool Journal::insertCase(CaseRecord &c)
{
    const std::optional<qint64> id = nextId(caseMinute(c));
    if (!id)
        return false;
    QSqlQuery q(QSqlDatabase::database(m_connectionName, false));
    q.prepare(u"INSERT INTO cases(id, saved_at, changed_at, moment, lines, moving, changed_lines, day_stem,"
              " month_build, day_build, mark_kind, mark_line, question, sex, notes, outcome, verdict, tags)"
              " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?,"
              " coalesce(?, ''), coalesce(?, ''), coalesce(?, ''), coalesce(?, ''), ?, coalesce(?, ''))"_s);
    q.addBindValue(*id);
    q.addBindValue(c.saved.toMSecsSinceEpoch());
    q.addBindValue(c.changed.toMSecsSinceEpoch());
    q.addBindValue(c.cast.moment ? QVariant(qint64{minuteNumber(*c.cast.moment)}) : QVariant());
    q.addBindValue(lineKey(c.cast));
    q.addBindValue(movingKey(c.cast));
    q.addBindValue(changedLineKey(c.cast));
    q.addBindValue(optionalInt(c.cast.dayStem));
    q.addBindValue(optionalInt(c.cast.monthBuild));
    q.addBindValue(optionalInt(c.cast.dayBuild));
    q.addBindValue(static_cast<int>(c.cast.mark.kind));
    q.addBindValue(c.cast.mark.line);
    q.addBindValue(c.question);
    q.addBindValue(c.sex);
    q.addBindValue(c.notes);
    q.addBindValue(c.outcome);
    q.addBindValue(static_cast<int>(c.verdict));
    q.addBindValue(c.tags.join(u' '));
    if (!exec(q))
        return false;
    c.id = *id;
    return indexCase(c);
}

std::optional<CaseRecord> Journal::save(const CaseRecord &draft)
{
    const QString what = u"案例未能保存，盘面保持不变。"_s;
    if (!m_ready) {
        fail(what, unusable());
        return std::nullopt;
    }
    CaseRecord c = draft;
    c.tags = normalizeTags(c.tags.join(u' '));
    c.saved = c.changed = now();
    if (const QString problem = caseProblem(c); !problem.isEmpty()) {
        fail(what, problem);
        return std::nullopt;
    }
    if (!begin() || !insertCase(c) || !commit()) {
        rollback();
        failQuery(what);
        return std::nullopt;
    }
    return c;
}

std::optional<CaseRecord> Journal::updateFollowUp(const CaseRecord &edited)
{
    const QString what = u"修改未能保存，案例保持原样。"_s;
    if (!m_ready) {
        fail(what, unusable());
        return std::nullopt;
    }
    if (!begin()) {
        failQuery(what);
        return std::nullopt;
    }
    std::optional<CaseRecord> stored = find(edited.id);
    if (!stored) {
        rollback();
        if (m_lastError.isEmpty())
            fail(what, u"这个案例已不在案例库中（可能已被另一个窗口删除）"_s);
        return std::nullopt;
    }
    CaseRecord c = *stored;
    c.notes = edited.notes;
    c.outcome = edited.outcome;
    c.verdict = edited.verdict;
    c.tags = normalizeTags(edited.tags.join(u' '));
    c.changed = now();
    if (const QString problem = caseProblem(c); !problem.isEmpty()) {
        rollback();
        fail(what, problem);
        return std::nullopt;
    }
    QSqlQuery q(QSqlDatabase::database(m_connectionName, false));
    q.prepare(u"UPDATE cases SET notes = coalesce(?, ''), outcome = coalesce(?, ''), verdict = ?,"
              " tags = coalesce(?, ''), changed_at = ? WHERE id = ?"_s);
    q.addBindValue(c.notes);
    q.addBindValue(c.outcome);
    q.addBindValue(static_cast<int>(c.verdict));
    q.addBindValue(c.tags.join(u' '));
    q.addBindValue(c.changed.toMSecsSinceEpoch());
    q.addBindValue(c.id);
    if (!exec(q) || !indexCase(c) || !commit()) {
        rollback();
        failQuery(what);
        return std::nullopt;
    }
    return c;
}

bool Journal::remove(const QList<qint64> &ids)
{
    const QString what = u"案例未能删除，案例库保持原样。"_s;
    if (!m_ready)
        return fail(what, unusable());
    if (!begin())
        return failQuery(what);
    QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    QSqlQuery q(db);
    for (const qint64 id : ids) {
        q.prepare(u"DELETE FROM cases WHERE id = ?"_s);
        q.addBindValue(id);
        bool ok = exec(q);
        if (ok && m_fullText) {
            q.prepare(u"DELETE FROM cases_fts WHERE rowid = ?"_s);
            q.addBindValue(id);
            ok = exec(q);
        }
        if (!ok) {
            rollback();
            return failQuery(what);
        }
    }
    if (!commit())
        return failQuery(what);
    return true;
}

std::optional<CaseRecord> Journal::find(qint64 id)
{
    m_lastError.clear();
    if (!QSqlDatabase::database(m_connectionName, false).isOpen()) {
        fail(u"案例无法读取。"_s, u"案例库没有打开"_s);
        return std::nullopt;
    }
    QSqlQuery q(QSqlDatabase::database(m_connectionName, false));
    q.prepare(u"SELECT %1 FROM cases WHERE id = ?"_s.arg(CaseColumns));
    q.addBindValue(id);
    if (!exec(q)) {
        failQuery(u"案例无法读取。"_s);
        return std::nullopt;
    }
    if (!q.next()) {
        if (!stepped(q))
            failQuery(u"案例无法读取。"_s);
        return std::nullopt;
    }
    return readCase(q);
}

std::optional<qint64> Journal::count()
{
    QSqlQuery q(QSqlDatabase::database(m_connectionName, false));
    q.prepare(u"SELECT count(*) FROM cases"_s);
    if (!exec(q) || !q.next()) {
        failQuery(u"案例无法读取。"_s);
        return std::nullopt;
    }
    return q.value(0).toLongLong();
}

std::optional<QList<CaseRecord>> Journal::list(const CaseFilter &filter, std::optional<qint64> afterId, int limit)
{
    if (!m_ready) {
        fail(u"案例无法读取。"_s, unusable());
        return std::nullopt;
    }
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
            where += u" AND (c.question LIKE ? ESCAPE '\\' OR c.notes LIKE ? ESCAPE '\\'"
                     " OR c.tags LIKE ? ESCAPE '\\' OR c.outcome LIKE ? ESCAPE '\\'"_s;
            for (int i = 0; i < 4; ++i)
                binds << likePattern(word);
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
    const QString columns = u"c."_s + QString(CaseColumns).replace(u", "_s, u", c."_s);
    QSqlQuery q(QSqlDatabase::database(m_connectionName, false));
    q.setForwardOnly(true);
    q.prepare(u"SELECT %1 FROM %2 WHERE 1%3 ORDER BY %4 DESC LIMIT ?"_s.arg(columns, from, where, id));
    for (const QVariant &b : std::as_const(binds))
        q.addBindValue(b);
    q.addBindValue(limit);
    if (!exec(q)) {
        failQuery(u"案例无法读取。"_s);
        return std::nullopt;
    }
    QList<CaseRecord> cases;
    while (q.next())
        cases << readCase(q);
    if (!stepped(q)) {
        failQuery(u"案例无法读取。"_s);
        return std::nullopt;
    }
    return cases;
}

bool Journal::exportCases(const QString &file, const QList<qint64> &ids, const ChartJson &chart)
{
    const QString what = u"导出失败，没有写出文件 %1。"_s.arg(nativePath(file));
    if (!m_ready)
        return fail(what, unusable());
    QString where;
    if (!ids.isEmpty()) {
        QStringList numbers;
        for (const qint64 id : ids)
            numbers << QString::number(id);
        where = u" WHERE id IN (%1)"_s.arg(numbers.join(u','));
    }
    QSqlQuery q(QSqlDatabase::database(m_connectionName, false));
    q.setForwardOnly(true);
    q.prepare(u"SELECT %1 FROM cases%2 ORDER BY id DESC"_s.arg(CaseColumns, where));
    if (!exec(q))
        return failQuery(what);
    QJsonArray cases;
    while (q.next())
        cases.append(caseToJson(readCase(q), chart));
    if (!stepped(q))
        return failQuery(what);
    const QJsonObject root{{u"format"_s, u"lotgrid-journal"_s},
                           {u"version"_s, 1},
                           {u"exported"_s, now().toString(Qt::ISODateWithMs)},
                           {u"cases"_s, cases}};
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly))
        return fail(what, out.errorString());
    const QByteArray bytes = QJsonDocument(root).toJson(QJsonDocument::Indented);
    if (out.write(bytes) != bytes.size() || !out.commit())
        return fail(what, out.errorString());
    return true;
}

std::optional<bool> Journal::isDuplicate(const CaseRecord &c)
{
    QSqlQuery q(QSqlDatabase::database(m_connectionName, false));
    q.prepare(u"SELECT %1 FROM cases WHERE saved_at = ?"_s.arg(CaseColumns));
    q.addBindValue(c.saved.toMSecsSinceEpoch());
    if (!exec(q))
        return std::nullopt;
    while (q.next()) {
        const CaseRecord there = readCase(q);
        if (there.cast == c.cast && there.question == c.question && there.sex == c.sex)
            return true;
    }
    if (!stepped(q))
        return std::nullopt;
    return false;
}

std::optional<ImportReport> Journal::importCases(const QString &file)
{
    m_lastError.clear();
    const QString what = u"导入失败，没有导入任何案例。\n导入文件：%1"_s.arg(nativePath(file));
    if (!m_ready) {
        fail(what, unusable());
        return std::nullopt;
    }
    const QFileInfo info(file);
    if (info.size() > ImportLimitBytes) {
        fail(what, u"文件太大（%1 MB），超过导入上限 %2 MB"_s.arg(info.size() / (1024 * 1024))
                       .arg(ImportLimitBytes / (1024 * 1024)));
        return std::nullopt;
    }
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) {
        fail(what, u"无法读取文件（%1）"_s.arg(in.errorString()));
        return std::nullopt;
    }
    const QByteArray bytes = in.read(ImportLimitBytes + 1);
    if (bytes.size() > ImportLimitBytes) {
        fail(what, u"文件太大，超过导入上限 %1 MB"_s.arg(ImportLimitBytes / (1024 * 1024)));
        return std::nullopt;
    }
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        fail(what, u"不是 JSON 文件（第 %1 个字节处：%2）"_s.arg(parseError.offset).arg(parseError.errorString()));
        return std::nullopt;
    }
    const QJsonObject root = doc.object();
    if (!doc.isObject() || root.value(u"format"_s).toString() != u"lotgrid-journal"_s
        || !root.value(u"cases"_s).isArray()) {
        fail(what, u"不是本程序导出的案例文件（缺少 \"format\": \"lotgrid-journal\" 或 \"cases\" 列表）"_s);
        return std::nullopt;
    }
    if (root.value(u"version"_s).toInt() != 1) {
        fail(what, u"案例文件的格式版本 %1 无法识别，这个版本只认得 1"_s.arg(
                       root.value(u"version"_s).toVariant().toString()));
        return std::nullopt;
    }
    QList<CaseRecord> cases;
    const QJsonArray array = root.value(u"cases"_s).toArray();
    for (qsizetype i = 0; i < array.size(); ++i) {
        QString problem;
        std::optional<CaseRecord> c
            = array.at(i).isObject() ? caseFromJson(array.at(i).toObject(), &problem) : std::nullopt;
        if (!c) {
            fail(what, u"第 %1 个案例：%2"_s.arg(i + 1).arg(problem.isEmpty() ? u"不是一个案例对象"_s : problem));
            return std::nullopt;
        }
        cases << *c;
    }
    if (!begin()) {
        failQuery(what);
        return std::nullopt;
    }
    ImportReport report;
    for (CaseRecord &c : cases) {
        const std::optional<bool> duplicate = isDuplicate(c);
        if (!duplicate || (!*duplicate && !insertCase(c))) {
            rollback();
            failQuery(what);
            return std::nullopt;
        }
        ++(*duplicate ? report.skipped : report.added);
    }
    if (!commit()) {
        failQuery(what);
        return std::nullopt;
    }
    return report;
}

} // namespace lotgrid
