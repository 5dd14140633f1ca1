// The journal's database: every field back after a save and a reopen, edits
// and deletes, search by text, tag and hexagram name through the full-text
// index and through the LIKE fallback alike, paging newest first, filters,
// migration from an empty file and from a version-1 file, export and import,
// and each failure with its message and nothing lost: a kill in the middle of
// saves, another instance holding the write lock, a damaged or foreign file,
// a read-only folder, a full disk, bad import files.
//
// The crash, lock and read-only cases run this binary again as a child
// process (first argument "--child-..."), which does one thing and reports.
#include "chart/yingqihits.h"
#include "common/caserecords.h"
#include "journal/casejson.h"
#include "journal/journal.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace lotgrid;
using namespace Qt::StringLiterals;

namespace {

// A clock that moves one second at each reading, from 2026-01-01 00:00 UTC.
std::function<QDateTime()> steppingClock()
{
    auto next = std::make_shared<qint64>(QDateTime(QDate(2026, 1, 1), QTime(0, 0), Qt::UTC).toMSecsSinceEpoch());
    return [next] {
        const qint64 t = *next;
        *next += 1000;
        return QDateTime::fromMSecsSinceEpoch(t, Qt::UTC);
    };
}

// The kind and detail of the journal's last failure, for a test that fails.
QString told(const Journal &journal)
{
    return journalErrorName(journal.lastError().kind) + u": "_s + journal.lastError().detail;
}

JournalOptions options(bool fullText = true, int busyTimeoutMs = 3000)
{
    return {busyTimeoutMs, steppingClock(), fullText};
}

QByteArray digest(const QString &file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

CaseFilter byText(const QString &text)
{
    CaseFilter f;
    f.text = text;
    return f;
}

QStringList questions(const QList<CaseRecord> &cases)
{
    QStringList q;
    for (const CaseRecord &c : cases)
        q << c.question;
    return q;
}

QString childProgram()
{
    return QCoreApplication::applicationFilePath();
}

// Saves case after case, reporting each: "saved <n>".
int childSaveLoop(const QString &path)
{
    Journal journal(path);
    if (!journal.open())
        return 2;
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly))
        return 2;
    for (int i = 0; i < 1000000; ++i) {
        CaseRecord c = makeCase(u"101101"_s, u"001000"_s, u"case %1"_s.arg(i));
        c.notes = QString(200, u'记');
        if (!journal.save(c))
            return 3;
        out.write(QByteArray("saved ") + QByteArray::number(i) + '\n');
        out.flush();
    }
    return 0;
}

// Takes the write lock of the file, reports "locked", holds it for `ms`, releases it.
// Exclusive: no other connection may even read meanwhile.
int childHoldLock(const QString &path, int ms, bool exclusive)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"holder"_s);
        db.setDatabaseName(path);
        if (!db.open())
            return 2;
        QSqlQuery q(db);
        if ((exclusive && !q.exec(u"PRAGMA locking_mode = EXCLUSIVE"_s)) || !q.exec(u"BEGIN IMMEDIATE"_s)
            || !q.exec(u"INSERT INTO cases(saved_at, changed_at, lines,"
                       " moving, changed_lines) VALUES (0, 0, '111111', '000000',"
                       " '111111')"_s))
            return 3;
        QFile out;
        out.open(stdout, QIODevice::WriteOnly);
        out.write("locked\n");
        out.flush();
        QThread::msleep(ms);
        q.exec(u"ROLLBACK"_s);
        db.close();
    }
    QSqlDatabase::removeDatabase(u"holder"_s);
    return 0;
}

// Root may write where permissions say no, so a child run as root becomes
// nobody. Windows has no such user: an administrator too is refused by a
// read-only file, though a folder's read-only attribute does not keep files
// from being made in it.
bool dropRoot()
{
#ifdef Q_OS_UNIX
    return geteuid() != 0 || (setgid(65534) == 0 && setuid(65534) == 0);
#else
    return true;
#endif
}

// Opens the journal and saves one case as a user who may not write the
// folder; reports as one JSON line.
int childReadOnly(const QString &path)
{
    QSqlDatabase::drivers(); // loads the driver list while the plugin folder is surely readable
    if (!dropRoot())
        return 2;
    QJsonObject report;
    {
        Journal journal(path);
        report.insert(u"opened"_s, journal.open());
        if (journal.isReady()) {
            const std::optional<CaseRecord> saved = journal.save(makeCase(u"111111"_s, u"000000"_s, u"ro"_s));
            report.insert(u"saved"_s, saved.has_value());
        }
        report.insert(u"kind"_s, journalErrorName(journal.lastError().kind));
        report.insert(u"path"_s, journal.lastError().path);
    }
    QFile out;
    out.open(stdout, QIODevice::WriteOnly);
    out.write(QJsonDocument(report).toJson(QJsonDocument::Compact) + '\n');
    return 0;
}

// The tables as versions 1 and 2 of the program wrote them.
const QStringList Version1Tables{
    u"CREATE TABLE cases (id INTEGER PRIMARY KEY, saved_at INTEGER NOT NULL, changed_at INTEGER NOT NULL,"
    " moment INTEGER, lines TEXT NOT NULL, moving TEXT NOT NULL, day_stem INTEGER, month_build INTEGER,"
    " day_build INTEGER, mark_kind INTEGER NOT NULL DEFAULT 0, mark_line INTEGER NOT NULL DEFAULT 0,"
    " question TEXT NOT NULL DEFAULT '', sex TEXT NOT NULL DEFAULT '', notes TEXT NOT NULL DEFAULT '',"
    " outcome TEXT NOT NULL DEFAULT '', verdict INTEGER NOT NULL DEFAULT 0)"_s,
    u"CREATE INDEX cases_by_saved ON cases(saved_at)"_s,
};
const QStringList Version1Cases{
    // 2026-01-01 00:00 UTC; cast 2025-12-31 10:30 China time = minute 29452950 (by hand:
    // 55 * 365 + 14 leap days + 364 = 20453 days, * 1440 + 630).
    u"INSERT INTO cases VALUES (1, 1767225600000, 1767225600000, 29452950, '111101', '100000', 2, 11,"
    " 0, 1, 3, '旧问事', '男', '旧备注', '旧结果', 1)"_s,
    u"INSERT INTO cases VALUES (2, 1767225660000, 1767225660000, NULL, '000000', '000000', NULL, NULL,"
    " NULL, 0, 0, '无时刻', '', '', '', 0)"_s,
};
const QStringList Version2Tables{
    u"CREATE TABLE cases (id INTEGER PRIMARY KEY, saved_at INTEGER NOT NULL, changed_at INTEGER NOT NULL,"
    " moment INTEGER, lines TEXT NOT NULL, moving TEXT NOT NULL, changed_lines TEXT NOT NULL, day_stem INTEGER,"
    " month_build INTEGER, day_build INTEGER, mark_kind INTEGER NOT NULL DEFAULT 0,"
    " mark_line INTEGER NOT NULL DEFAULT 0, question TEXT NOT NULL DEFAULT '', sex TEXT NOT NULL DEFAULT '',"
    " notes TEXT NOT NULL DEFAULT '', outcome TEXT NOT NULL DEFAULT '', verdict INTEGER NOT NULL DEFAULT 0,"
    " tags TEXT NOT NULL DEFAULT '')"_s,
    u"CREATE INDEX cases_by_saved ON cases(saved_at)"_s,
    u"CREATE INDEX cases_by_verdict ON cases(verdict, id)"_s,
    u"CREATE VIRTUAL TABLE cases_fts USING fts5(question, notes, tags, outcome, hexagrams)"_s,
    // Cast 2025-12-31 10:30 China time, the id its minute (29452950) * 2^20 + 1.
    u"INSERT INTO cases VALUES (30883900866561, 1767225600000, 1767225600000, 29452950, '111101', '100000',"
    " '011101', 2, 11, 0, 1, 3, '旧问事', '男', '旧备注', '旧结果', 0, '旧标签')"_s,
    u"INSERT INTO cases_fts(rowid, question, notes, tags, outcome, hexagrams) VALUES (30883900866561,"
    " '旧 问 事', '旧 备 注', '旧 标 签', '旧 结 果', '火 天 大 有 火 风 鼎')"_s,
    u"PRAGMA user_version = 2"_s,
};

// A file written with `sql` (WAL, the journal's mark), as an earlier version left it.
bool writeJournal(const QString &path, const QStringList &sql)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"old"_s);
        db.setDatabaseName(path);
        ok = db.open();
        QSqlQuery q(db);
        for (const QString &statement :
             QStringList{u"PRAGMA journal_mode = WAL"_s, u"PRAGMA application_id = 1279742538"_s} + sql) {
            if (ok && !q.exec(statement)) {
                qWarning("%s: %s", qPrintable(statement), qPrintable(q.lastError().text()));
                ok = false;
            }
        }
        q.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(u"old"_s);
    return ok;
}

// Opens the journal and reports "<opened> <kind>" on one line.
int childOpen(const QString &path)
{
    Journal journal(path);
    const bool opened = journal.open();
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly))
        return 2;
    out.write((opened ? "opened " : "failed ") + journalErrorName(journal.lastError().kind).toUtf8() + '\n');
    return 0;
}

qint64 countIn(const QString &path)
{
    Journal journal(path, options());
    if (!journal.open())
        return -1;
    return journal.count().value_or(-1);
}

} // namespace

class TestJournal : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void roundTrip_data();
    void roundTrip();
    void followUpAndDelete();
    void search_data();
    void search();
    void pagesNewestFirst();
    void schoolKept();
    void migrationFromEmpty();
    void migrationFromVersion1();
    void migrationFromVersion2();
    void version1CaseThatCannotMigrate_data();
    void version1CaseThatCannotMigrate();
    void instancesCreatingTogether();
    void newerVersionRefused();
    void readOnlyOpen_data();
    void readOnlyOpen();
    void damagedFile_data();
    void damagedFile();
    void killedDuringSaves();
    void lockHeldBySecondInstance();
    void lockReleasedWithinTimeout();
    void readOnly_data();
    void readOnly();
    void diskFull();
    void exportImport();
    void largeOldExportImported();
    void badImport_data();
    void badImport();
    void importDiffering();
    void importCancelled_data();
    void importCancelled();
    void migrationFromVersion5();
    void codesStable_data();
    void codesStable();
    void yingqiHitDays_data();
    void yingqiHitDays();
    void ruleHits_data();
    void ruleHits();

private:
    QTemporaryDir m_dir;
    int m_files = 0;
    QString newPath() { return m_dir.filePath(u"j%1/journal.sqlite"_s.arg(++m_files)); }
};

void TestJournal::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(QSqlDatabase::isDriverAvailable(u"QSQLITE"_s));
}

void TestJournal::roundTrip_data()
{
    QTest::addColumn<CaseRecord>("record");
    QTest::addColumn<QString>("stored"); // the question as the journal keeps it
    CaseRecord full = makeCase(u"111101"_s, u"100100"_s, u"下月出行顺利否？"_s, Moment{{2026, 3, 4}, 9, 2});
    full.cast.dayStem = 9;
    full.cast.monthBuild = Branch::Hai;
    full.cast.dayBuild = Branch::Zi;
    full.cast.mark = {MarkKind::Hidden, 6};
    full.sex = Sex::Female;
    full.notes = u"世爻持财。\n第二行 'quoted' \"double\""_s;
    full.outcome = u"如期成行"_s;
    full.verdict = Verdict::Failed;
    full.tags = {u"出行"_s, u"work"_s};
    full.category = Category::Travel;
    full.firstYingqi = QDate(2026, 4, 1);
    full.outcomeDate = QDate(2026, 4, 3);
    QTest::newRow("every field") << full << full.question;
    QTest::newRow("nothing optional") << makeCase(u"000000"_s, u"000000"_s, QString()) << QString();
    CaseRecord lone = makeCase(u"000111"_s, u"000000"_s, u"lone "_s + QChar(0xD800) + u" surrogate"_s);
    lone.notes = QChar(0xDC00) + u"😀"_s;
    QTest::newRow("lone surrogates") << lone << u"lone \uFFFD surrogate"_s;
    CaseRecord first = makeCase(u"010101"_s, u"111111"_s, u"𠀀 beyond the BMP"_s, Moment{{1900, 1, 31}, 0, 0});
    first.cast.dayStem = 0;
    first.cast.monthBuild = Branch::Zi;
    first.cast.dayBuild = Branch::Hai;
    first.cast.mark = {MarkKind::UseGod, 1};
    first.sex = Sex::Male;
    first.verdict = Verdict::Fulfilled;
    QTest::newRow("first stem, use god on line 1, all moving") << first << first.question;
}

void TestJournal::roundTrip()
{
    QFETCH(CaseRecord, record);
    QFETCH(QString, stored);
    const QString path = newPath();
    CaseRecord saved;
    {
        Journal journal(path, options());
        QVERIFY2(journal.open(), qPrintable(told(journal)));
        const std::optional<CaseRecord> s = journal.save(record);
        QVERIFY2(s, qPrintable(told(journal)));
        saved = *s;
    }
    QVERIFY(saved.id != 0); // negative before 1970
    QCOMPARE(saved.saved, QDateTime(QDate(2026, 1, 1), QTime(0, 0), Qt::UTC));
    QCOMPARE(saved.changed, saved.saved);
    Journal reopened(path, options());
    QVERIFY(reopened.open());
    const std::optional<CaseRecord> back = reopened.find(saved.id);
    QVERIFY(back);
    record.id = saved.id;
    record.question = stored;
    record.notes.replace(QChar(0xDC00), QChar::ReplacementCharacter);
    record.saved = record.changed = saved.saved;
    QCOMPARE(*back, record);
}

void TestJournal::followUpAndDelete()
{
    Journal journal(newPath(), options());
    QVERIFY(journal.open());
    const CaseRecord a = *journal.save(makeCase(u"111111"_s, u"000000"_s, u"甲"_s));
    const CaseRecord b = *journal.save(makeCase(u"000000"_s, u"000000"_s, u"乙"_s));

    CaseRecord edit = a;
    edit.notes = u"新备注"_s;
    edit.outcome = u"后来应了"_s;
    edit.verdict = Verdict::Fulfilled;
    edit.tags = {u"求财"_s};
    edit.question = u"改不了问事"_s; // only the follow-up is edited
    const std::optional<CaseRecord> updated = journal.updateFollowUp(edit);
    QVERIFY2(updated, qPrintable(told(journal)));
    QVERIFY(updated->changed > a.changed);
    QCOMPARE(updated->saved, a.saved);
    QCOMPARE(*journal.find(a.id), *updated);
    QCOMPARE(journal.find(a.id)->question, u"甲"_s);
    QVERIFY2(journal.list(byText(u"求财"_s), {}, 10), qPrintable(told(journal)));
    QCOMPARE(questions(*journal.list(byText(u"求财"_s), {}, 10)), QStringList{u"甲"_s});
    QCOMPARE(questions(*journal.list(byText(u"后来"_s), {}, 10)), QStringList{u"甲"_s});

    QVERIFY(journal.remove({a.id}));
    QCOMPARE(*journal.count(), 1);
    QVERIFY(!journal.find(a.id));
    QVERIFY(journal.list(byText(u"求财"_s), {}, 10)->isEmpty());
    QVERIFY(!journal.updateFollowUp(edit));
    QCOMPARE(journal.lastError().kind, JournalError::NotFound);
    QVERIFY(journal.find(b.id));
}

void TestJournal::search_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("found"); // newest first
    QTest::newRow("two characters inside a question") << u"出行"_s << QStringList{u"明天出行顺利吗"_s};
    QTest::newRow("one character") << u"财"_s << QStringList{u"今年财运"_s, u"明天出行顺利吗"_s};
    QTest::newRow("original hexagram name") << u"大有"_s << QStringList{u"明天出行顺利吗"_s};
    QTest::newRow("changed hexagram name") << u"天风姤"_s << QStringList{u"今年财运"_s};
    QTest::newRow("tag prefix as typed") << u"wor"_s << QStringList{u"考试"_s};
    QTest::newRow("tag in capitals") << u"WORK"_s << QStringList{u"考试"_s};
    QTest::newRow("outcome") << u"落榜"_s << QStringList{u"考试"_s};
    QTest::newRow("two words, both needed") << u"出行 大有"_s << QStringList{u"明天出行顺利吗"_s};
    QTest::newRow("two words, one missing") << u"出行 天风姤"_s << QStringList{};
    QTest::newRow("characters not adjacent") << u"出顺"_s << QStringList{};
    QTest::newRow("punctuation only") << u"，"_s << QStringList{u"考试"_s, u"今年财运"_s, u"明天出行顺利吗"_s};
    QTest::newRow("nothing typed") << QString() << QStringList{u"考试"_s, u"今年财运"_s, u"明天出行顺利吗"_s};
    QTest::newRow("quote and percent") << u"\"%"_s << QStringList{u"考试"_s, u"今年财运"_s, u"明天出行顺利吗"_s};
}

void TestJournal::search()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, found);
    for (const bool fullText : {true, false}) {
        Journal journal(newPath(), options(fullText));
        QVERIFY(journal.open());
        QCOMPARE(journal.hasFullTextSearch(), fullText);
        CaseRecord trip = makeCase(u"111101"_s, u"000000"_s, u"明天出行顺利吗"_s, Moment{{2026, 1, 1}, 9, 0});
        trip.notes = u"财爻持世"_s;
        CaseRecord money = makeCase(u"111111"_s, u"100000"_s, u"今年财运"_s, Moment{{2026, 2, 1}, 9, 0});
        CaseRecord exam = makeCase(u"000000"_s, u"000000"_s, u"考试"_s, Moment{{2026, 3, 1}, 9, 0});
        exam.tags = {u"work"_s};
        exam.outcome = u"落榜了"_s;
        for (const CaseRecord &c : {trip, money, exam})
            QVERIFY(journal.save(c));
        const std::optional<QList<CaseRecord>> list = journal.list(byText(typed), {}, 10);
        QVERIFY2(list, qPrintable(told(journal)));
        QVERIFY2(questions(*list) == found,
                 qPrintable(u"%1: %2"_s.arg(fullText ? u"FTS5"_s : u"LIKE"_s, questions(*list).join(u", "_s))));
    }
}

void TestJournal::pagesNewestFirst()
{
    Journal journal(newPath(), options());
    QVERIFY(journal.open());
    // Moments out of saving order; two cases share a moment, and one has none
    // (it is dated by its save, 2026-01-01 08:00 and a few seconds, China time).
    const QList<std::pair<QString, std::optional<Moment>>> cases{
        {u"b"_s, Moment{{2025, 6, 1}, 12, 0}},
        {u"d"_s, Moment{{2025, 12, 31}, 23, 59}},
        {u"a"_s, Moment{{2025, 1, 1}, 0, 0}},
        {u"c1"_s, Moment{{2025, 6, 1}, 12, 0}},
        {u"e"_s, std::nullopt},
        {u"c2"_s, Moment{{2025, 6, 1}, 12, 0}},
    };
    for (const auto &[question, moment] : cases) {
        CaseRecord c = makeCase(u"101010"_s, u"000000"_s, question, moment);
        c.verdict = question.startsWith(u'c') ? Verdict::Fulfilled : Verdict::Open;
        QVERIFY(journal.save(c));
    }
    QStringList all;
    std::optional<qint64> after;
    for (;;) {
        const QList<CaseRecord> page = *journal.list({}, after, 2);
        if (page.isEmpty())
            break;
        all << questions(page);
        after = page.last().id;
    }
    QCOMPARE(all, (QStringList{u"e"_s, u"d"_s, u"c2"_s, u"c1"_s, u"b"_s, u"a"_s}));

    CaseFilter june;
    june.from = QDate(2025, 6, 1);
    june.to = QDate(2025, 12, 31);
    QCOMPARE(questions(*journal.list(june, {}, 10)), (QStringList{u"d"_s, u"c2"_s, u"c1"_s, u"b"_s}));
    june.to = QDate(2025, 6, 1);
    QCOMPARE(questions(*journal.list(june, {}, 10)), (QStringList{u"c2"_s, u"c1"_s, u"b"_s}));
    CaseFilter fulfilled;
    fulfilled.verdict = Verdict::Fulfilled;
    QCOMPARE(questions(*journal.list(fulfilled, {}, 10)), (QStringList{u"c2"_s, u"c1"_s}));
    CaseFilter newYear;
    newYear.from = newYear.to = QDate(2026, 1, 1);
    QCOMPARE(questions(*journal.list(newYear, {}, 10)), QStringList{u"e"_s});
}

// A case keeps the school it was read by, in the file and through an export; a case exported before the
// schools reads as 通行, and a school that is none is refused.
void TestJournal::schoolKept()
{
    Journal journal(newPath(), options());
    QVERIFY(journal.open());
    CaseRecord c = makeCase(u"111101"_s, u"100000"_s, u"流派"_s);
    c.cast.options = schoolPreset(School::BuShi);
    c.cast.options.loneLine = false;
    const CaseRecord saved = *journal.save(c);
    QCOMPARE(journal.list({}, {}, 1)->front().cast.options, c.cast.options);
    Json exported = caseToJson(saved);
    QCOMPARE(caseFromJson(exported, nullptr)->cast.options, c.cast.options);
    exported.erase("school");
    QCOMPARE(caseFromJson(exported, nullptr)->cast.options, schoolPreset(School::Common));
    exported["school"] = {{"school", "梅花"}};
    CaseProblem problem;
    QVERIFY(!caseFromJson(exported, &problem));
    QCOMPARE(problem.fault, CaseFault::BadSchool);
}

void TestJournal::migrationFromEmpty()
{
    const QString path = newPath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile empty(path);
    QVERIFY(empty.open(QIODevice::WriteOnly));
    empty.close();
    Journal journal(path, options());
    QVERIFY2(journal.open(), qPrintable(told(journal)));
    QSqlQuery q(QSqlDatabase::database(journal.connectionName()));
    QVERIFY(q.exec(u"SELECT (SELECT user_version FROM pragma_user_version),"
                   " (SELECT journal_mode FROM pragma_journal_mode),"
                   " (SELECT application_id FROM pragma_application_id)"_s));
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toInt(), Journal::SchemaVersion);
    QCOMPARE(q.value(1).toString(), u"wal"_s);
    QVERIFY(q.value(2).toLongLong() != 0);
    q.finish();
    QCOMPARE(*journal.count(), 0);
    QVERIFY(journal.hasFullTextSearch());
}

void TestJournal::migrationFromVersion1()
{
    const QString path = newPath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    QVERIFY(writeJournal(path, Version1Tables + Version1Cases + QStringList{u"PRAGMA user_version = 1"_s}));

    Journal journal(path, options());
    QVERIFY2(journal.open(), qPrintable(told(journal)));
    QSqlQuery q(QSqlDatabase::database(journal.connectionName()));
    QVERIFY(q.exec(u"SELECT user_version FROM pragma_user_version"_s) && q.next());
    QCOMPARE(q.value(0).toInt(), Journal::SchemaVersion);
    q.finish();
    const QList<CaseRecord> migrated = *journal.list({}, {}, 10);
    QCOMPARE(migrated.size(), 2);
    const CaseRecord old = migrated.back();
    QCOMPARE(*journal.find(old.id), old);
    QCOMPARE(old.cast.moment, (Moment{{2025, 12, 31}, 10, 30}));
    QCOMPARE(lineKey(old.cast), u"111101"_s);
    QCOMPARE(old.cast.dayStem, 2);
    QCOMPARE(old.cast.monthBuild, Branch::Hai);
    QCOMPARE(old.cast.mark, (LineMark{MarkKind::UseGod, 3}));
    QCOMPARE(old.question, u"旧问事"_s);
    QCOMPARE(old.verdict, Verdict::Fulfilled);
    QVERIFY(old.tags.isEmpty());
    // Searchable and sorted as cases saved now: newest first (the one without a
    // moment is dated by its save, 2026-01-01 08:01 China time).
    QCOMPARE(questions(*journal.list({}, {}, 10)), (QStringList{u"无时刻"_s, u"旧问事"_s}));
    QCOMPARE(questions(*journal.list(byText(u"鼎"_s), {}, 10)), QStringList{u"旧问事"_s}); // 大有 line 1 moving: 火风鼎
    QCOMPARE(questions(*journal.list(byText(u"旧备注"_s), {}, 10)), QStringList{u"旧问事"_s});
    CaseRecord tagged = old;
    tagged.tags = {u"迁移"_s};
    QVERIFY(journal.updateFollowUp(tagged));
    QCOMPARE(questions(*journal.list(byText(u"迁移"_s), {}, 10)), QStringList{u"旧问事"_s});
}

void TestJournal::newerVersionRefused()
{
    const QString path = newPath();
    {
        Journal journal(path, options());
        QVERIFY(journal.open());
        QSqlQuery q(QSqlDatabase::database(journal.connectionName()));
        QVERIFY(q.exec(u"PRAGMA user_version = %1"_s.arg(Journal::SchemaVersion + 1)));
    }
    const QByteArray before = digest(path);
    Journal journal(path, options());
    QVERIFY(!journal.open());
    QCOMPARE(journal.lastError().kind, JournalError::TooNew);
    QCOMPARE(journal.lastError().detail, QString::number(Journal::SchemaVersion + 1));
    QCOMPARE(journal.lastError().path, QDir::toNativeSeparators(path));
    QCOMPARE(digest(path), before);
}

void TestJournal::damagedFile_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<JournalError>("reason");
    QTest::newRow("text") << QByteArray("这不是数据库\n").repeated(100) << JournalError::Damaged;
    QByteArray header("SQLite format 3\0", 16);
    QTest::newRow("SQLite header, then noise") << header + QByteArray(8192, '\x5a') << JournalError::Damaged;
    QTest::newRow("another program's database") << QByteArray() << JournalError::Foreign;
    QTest::newRow("journal with a broken page") << QByteArray("broken") << JournalError::Damaged;
}

void TestJournal::damagedFile()
{
    QFETCH(QByteArray, content);
    QFETCH(JournalError, reason);
    const QString path = newPath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (content.isEmpty() || content == "broken") {
        const bool foreign = content.isEmpty();
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"make"_s);
            db.setDatabaseName(path);
            QVERIFY(db.open());
            QSqlQuery q(db);
            if (foreign)
                QVERIFY(q.exec(u"CREATE TABLE other (x)"_s) && q.exec(u"INSERT INTO other VALUES (1)"_s));
            db.close();
        }
        QSqlDatabase::removeDatabase(u"make"_s);
        if (!foreign) {
            {
                Journal journal(path, options());
                QVERIFY(journal.open());
                QVERIFY(journal.save(makeCase(u"111111"_s, u"000000"_s, u"x"_s)));
            }
            // Overwrite every page after the first (the schema page stays readable).
            QFile f(path);
            QVERIFY(f.open(QIODevice::ReadWrite));
            const qint64 size = f.size();
            QVERIFY(size > 4096);
            f.seek(4096);
            f.write(QByteArray(size - 4096, '\xff'));
        }
    } else {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    const QByteArray before = digest(path);
    Journal journal(path, options());
    const bool opened = journal.open();
    if (opened) {
        // Damage below the schema page shows when the cases are read.
        QVERIFY(!journal.list({}, {}, 10) || !journal.save(makeCase(u"111111"_s, u"000000"_s, u"y"_s)));
        QVERIFY(!journal.isReady());
        QVERIFY(!journal.save(makeCase(u"111111"_s, u"000000"_s, u"z"_s)));
    }
    QCOMPARE(journal.lastError().kind, reason);
    QCOMPARE(journal.lastError().path, QDir::toNativeSeparators(path));
    QVERIFY(!journal.isReady());
    QCOMPARE(digest(path), before);
    QVERIFY(QFile::exists(path));
}

void TestJournal::killedDuringSaves()
{
    const QString path = newPath();
    {
        Journal journal(path, options());
        QVERIFY(journal.open());
    }
    QProcess child;
    child.start(childProgram(), {u"--child-save-loop"_s, path});
    QVERIFY(child.waitForStarted());
    int reported = -1;
    QByteArray pending;
    QElapsedTimer clock;
    clock.start();
    while (reported < 40 && clock.elapsed() < 60000) {
        child.waitForReadyRead(1000);
        pending += child.readAllStandardOutput();
        qsizetype nl;
        while ((nl = pending.indexOf('\n')) >= 0) {
            const QByteArray line = pending.left(nl);
            pending.remove(0, nl + 1);
            if (line.startsWith("saved "))
                reported = line.mid(6).toInt();
        }
        QVERIFY2(child.state() == QProcess::Running, child.readAllStandardError().constData());
    }
    child.kill();
    QVERIFY(child.waitForFinished());
    QVERIFY(reported >= 40);

    Journal journal(path, options());
    QVERIFY2(journal.open(), qPrintable(told(journal)));
    QSqlQuery q(QSqlDatabase::database(journal.connectionName()));
    QVERIFY(q.exec(u"PRAGMA integrity_check"_s) && q.next());
    QCOMPARE(q.value(0).toString(), u"ok"_s);
    q.finish();
    const qint64 count = *journal.count();
    QVERIFY2(count >= reported + 1, qPrintable(u"%1 cases, %2 reported"_s.arg(count).arg(reported + 1)));
    const QList<CaseRecord> first = *journal.list(byText(u"case"_s), {}, static_cast<int>(count));
    QCOMPARE(first.size(), count);
    QVERIFY(journal.save(makeCase(u"111111"_s, u"000000"_s, u"after the crash"_s)));
}

void TestJournal::lockHeldBySecondInstance()
{
    const QString path = newPath();
    Journal journal(path, options(true, 300));
    QVERIFY(journal.open());
    QVERIFY(journal.save(makeCase(u"111111"_s, u"000000"_s, u"before"_s)));

    QProcess holder;
    holder.start(childProgram(), {u"--child-hold-lock"_s, path, u"60000"_s});
    QVERIFY(holder.waitForReadyRead(10000));
    QCOMPARE(holder.readLine().trimmed(), QByteArray("locked"));

    // Reading goes on while the other instance writes.
    QCOMPARE(*journal.count(), 1);
    QCOMPARE(questions(*journal.list({}, {}, 10)), QStringList{u"before"_s});
    QElapsedTimer waited;
    waited.start();
    QVERIFY(!journal.save(makeCase(u"000000"_s, u"000000"_s, u"during"_s)));
    QVERIFY(waited.elapsed() >= 250);
    QCOMPARE(journal.lastError().kind, JournalError::Busy);
    QCOMPARE(journal.lastError().action, JournalAction::Save);
    QCOMPARE(journal.lastError().waitedMs, 300);
    QVERIFY(journal.isReady());

    holder.kill();
    holder.waitForFinished();
    QVERIFY2(journal.save(makeCase(u"000000"_s, u"000000"_s, u"after"_s)), qPrintable(told(journal)));
    QCOMPARE(questions(*journal.list({}, {}, 10)), (QStringList{u"after"_s, u"before"_s}));
}

void TestJournal::lockReleasedWithinTimeout()
{
    const QString path = newPath();
    Journal journal(path, options(true, 10000));
    QVERIFY(journal.open());
    QProcess holder;
    holder.start(childProgram(), {u"--child-hold-lock"_s, path, u"300"_s});
    QVERIFY(holder.waitForReadyRead(10000));
    QVERIFY2(journal.save(makeCase(u"111111"_s, u"000000"_s, u"waited"_s)), qPrintable(told(journal)));
    QVERIFY(holder.waitForFinished());
    QCOMPARE(*journal.count(), 1);
}

void TestJournal::readOnly_data()
{
    QTest::addColumn<bool>("folderWritable");
    QTest::newRow("read-only folder") << false;
    QTest::newRow("read-only file") << true;
}

void TestJournal::readOnly()
{
    QFETCH(bool, folderWritable);
    const QString path = newPath();
    const QString folder = QFileInfo(path).absolutePath();
    {
        Journal journal(path, options());
        QVERIFY(journal.open());
        QVERIFY(journal.save(makeCase(u"111111"_s, u"000000"_s, u"kept"_s)));
    }
    const auto all = QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther | QFileDevice::ExeOwner
                     | QFileDevice::ExeGroup | QFileDevice::ExeOther;
    const auto write = QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    QVERIFY(QFile::setPermissions(m_dir.path(), all | QFileDevice::WriteOwner));
    QVERIFY(QFile::setPermissions(folder, folderWritable ? all | write : all));
    QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
    const QByteArray before = digest(path);

    QProcess child;
    child.start(childProgram(), {u"--child-read-only"_s, path});
    QVERIFY(child.waitForFinished(30000));
    const QJsonObject report = QJsonDocument::fromJson(child.readAllStandardOutput()).object();
    QFile::setPermissions(folder, all | write);
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QVERIFY2(!report.isEmpty(), child.readAllStandardError().constData());
    QVERIFY(!report.value(u"saved"_s).toBool());
    QCOMPARE(report.value(u"path"_s).toString(), QDir::toNativeSeparators(path));
    QCOMPARE(report.value(u"kind"_s).toString(), journalErrorName(JournalError::ReadOnly));
    QCOMPARE(digest(path), before);
    QCOMPARE(countIn(path), 1);
}

void TestJournal::diskFull()
{
    const QString path = newPath();
    Journal journal(path, options());
    QVERIFY(journal.open());
    const CaseRecord kept = *journal.save(makeCase(u"111111"_s, u"000000"_s, u"kept"_s));
    {
        // The database may not grow by a page: what a full disk does to a save.
        QSqlQuery q(QSqlDatabase::database(journal.connectionName()));
        QVERIFY(q.exec(u"SELECT page_count FROM pragma_page_count"_s) && q.next());
        const int pages = q.value(0).toInt();
        q.finish();
        QVERIFY(q.exec(u"PRAGMA max_page_count = %1"_s.arg(pages)));
    }
    CaseRecord big = makeCase(u"000000"_s, u"000000"_s, u"too big"_s);
    big.notes = QString(200000, u'满');
    QVERIFY(!journal.save(big));
    QCOMPARE(journal.lastError().kind, JournalError::Full);
    QCOMPARE(journal.lastError().action, JournalAction::Save);
    QCOMPARE(*journal.count(), 1);
    QCOMPARE(*journal.find(kept.id), kept);
    QVERIFY(journal.list(byText(u"满"_s), {}, 10)->isEmpty());
}

void TestJournal::exportImport()
{
    const QString file = m_dir.filePath(u"export.json"_s);
    Journal source(newPath(), options());
    QVERIFY(source.open());
    QList<CaseRecord> saved;
    for (int i = 0; i < 5; ++i) {
        CaseRecord c = makeCase(u"10110"_s + QString::number(i % 2), u"00000"_s + QString::number(i % 2),
                                u"问 %1"_s.arg(i), Moment{{2026, 1, 1 + i}, 8, 0});
        c.tags = {u"t%1"_s.arg(i)};
        c.verdict = static_cast<Verdict>(i % 3);
        c.firstYingqi = firstYingqiOf(c); // as the sheet saves a case
        saved << *source.save(c);
    }
    const ChartJson chart = [](const CastInput &c) { return "{\"key\": \"" + lineKey(c).toStdString() + "\"}"; };
    QVERIFY2(source.exportCases(file, {}, chart), qPrintable(told(source)));
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QJsonArray exported = QJsonDocument::fromJson(f.readAll()).object().value(u"cases"_s).toArray();
    f.close();
    QCOMPARE(exported.size(), 5);
    // Newest first: the last saved, 101100, leads.
    QCOMPARE(exported.at(0).toObject().value(u"chart"_s).toObject().value(u"key"_s).toString(), u"101100"_s);

    // Into another journal: every case as it was, then nothing twice.
    Journal target(newPath(), options());
    QVERIFY(target.open());
    QVERIFY(target.save(makeCase(u"111111"_s, u"000000"_s, u"own"_s)));
    const std::optional<ImportReport> first = target.importCases(file);
    QVERIFY2(first, qPrintable(told(target)));
    QCOMPARE(first->added, 5);
    QCOMPARE(first->skipped, 0);
    for (const CaseRecord &c : saved) {
        const QList<CaseRecord> found = *target.list(byText(u"t%1"_s.arg(c.question.back())), {}, 10);
        QCOMPARE(found.size(), 1);
        CaseRecord back = found.front();
        back.id = c.id;
        QCOMPARE(back, c);
    }
    const std::optional<ImportReport> again = target.importCases(file);
    QVERIFY(again);
    QCOMPARE(again->added, 0);
    QCOMPARE(again->skipped, 5);
    QCOMPARE(*target.count(), 6);

    // The selected cases only; back into their own journal, all skipped.
    QVERIFY(source.exportCases(file, {saved[1].id, saved[3].id}));
    const std::optional<ImportReport> selected = source.importCases(file);
    QVERIFY(selected);
    QCOMPARE(selected->added, 0);
    QCOMPARE(selected->skipped, 2);

    // The same saved moment with another question is another case.
    CaseRecord edited = saved[0];
    edited.question = u"另一问"_s;
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(exportDocument({edited, edited}, edited.saved));
    f.close();
    const std::optional<ImportReport> other = source.importCases(file);
    QVERIFY(other);
    QCOMPARE(other->added, 1);
    QCOMPARE(other->skipped, 1);

    QVERIFY(!source.exportCases(m_dir.filePath(u"no/such/folder/x.json"_s)));
    QCOMPARE(source.lastError().kind, JournalError::FileUnwritable);
    QCOMPARE(source.lastError().action, JournalAction::Export);
}

void TestJournal::largeOldExportImported()
{
    // An export larger than any limit a whole-file reader would set (64 MiB),
    // as with many cases, each with its chart, which the import skips; and its
    // case from before cases kept their first timing candidate, which the
    // import gives it from the chart, as the migration does, so it comes due.
    const QString file = m_dir.filePath(u"large.json"_s);
    Journal source(newPath(), options());
    QVERIFY(source.open());
    const CaseRecord saved = *source.save(makeCase(u"101101"_s, u"010000"_s, u"大"_s, Moment{{2026, 3, 1}, 9, 0}));
    const ChartJson chart = [](const CastInput &) { return "{\"words\": [\"" + std::string(66 << 20, 'x') + "\"]}"; };
    QVERIFY2(source.exportCases(file, {}, chart), qPrintable(told(source)));
    QVERIFY(QFileInfo(file).size() > 64 << 20);
    Journal target(newPath(), options());
    QVERIFY(target.open());
    QCOMPARE(target.importCases(file)->added, 1);
    CaseRecord back = target.list({}, {}, 1)->front();
    QVERIFY(firstYingqiOf(saved));
    QCOMPARE(back.firstYingqi, firstYingqiOf(saved));
    back.id = saved.id;
    back.firstYingqi.reset();
    QCOMPARE(back, saved);
    CaseFilter due;
    due.openYingqiBefore = firstYingqiOf(saved)->addDays(1);
    QCOMPARE(target.list(due, {}, 10)->size(), 1);
    QCOMPARE(target.importCases(file)->skipped, 1); // the case there, nothing differing
}

void TestJournal::badImport_data()
{
    CaseRecord goodCase = makeCase(u"111111"_s, u"000000"_s, u"好"_s);
    goodCase.saved = goodCase.changed = QDateTime(QDate(2026, 1, 1), QTime(0, 0), Qt::UTC);
    const Json good = caseToJson(goodCase);
    const auto file = [](const std::vector<Json> &cases, const Json &version = 1) {
        Json root{{"format", "lotgrid-journal"}, {"version", version}, {"cases", cases}};
        if (version.is_null())
            root.erase("version");
        return QByteArray::fromStdString(root.dump());
    };
    const auto with = [&good](const char *key, const Json &value) {
        Json c = good;
        c[key] = value;
        return c;
    };
    Json noQuestion = good;
    noQuestion.erase("question");
    QTest::addColumn<QByteArray>("content"); // "fifo": a named pipe; "folder": a folder
    QTest::addColumn<JournalError>("reason");
    QTest::addColumn<int>("caseNumber");
    QTest::addColumn<QString>("detail");
    QTest::newRow("not JSON") << QByteArray("lines,moving\n101101,000000\n") << JournalError::FileNotJson << 0
                              << QString();
    // The closing brackets cut off, the last text ("通行") whole.
    QTest::newRow("cut short") << file({good}).chopped(4) << JournalError::FileNotJson << 0 << QString();
    QTest::newRow("Latin-1, not UTF-8") << QByteArray("{\"format\": \"lotgrid-journal\", \"x\": \"\xe9\"}")
                                        << JournalError::FileNotUtf8 << 0 << QString();
    QTest::newRow("a surrogate written as UTF-8")
        << file({good}).replace("\u597d", "\xed\xa0\x80") << JournalError::FileNotUtf8 << 0 << QString();
    QTest::newRow("a list, not an object") << QByteArray("[1, 2]") << JournalError::FileNotExport << 0 << QString();
    QTest::newRow("another format") << QByteArray(R"({"format": "other", "cases": [5]})") << JournalError::FileNotExport
                                    << 0 << QString();
    QTest::newRow("version 2") << file({good}, 2) << JournalError::VersionUnknown << 0 << u"2"_s;
    QTest::newRow("version \"1\"") << file({good}, "1") << JournalError::VersionNotNumber << 0 << u"\"1\""_s;
    QTest::newRow("no version") << file({good}, nullptr) << JournalError::VersionMissing << 0 << QString();
    QTest::newRow("a case not an object") << file({good, 5}) << JournalError::BadFileCase << 2 << QString();
    QTest::newRow("impossible lines after a good case")
        << file({good, with("lines", "1111x1")}) << JournalError::BadFileCase << 2 << QString();
    QTest::newRow("wrong fields") << file({noQuestion}) << JournalError::BadFileCase << 1 << QString();
    QTest::newRow("moment 1800-06-01") << file({good, good, with("moment", "1800-06-01 00:00")})
                                       << JournalError::BadFileCase << 3 << QString();
    QTest::newRow("tags [\"a\", \"a\"]") << file({with("tags", {"a", "a"})}) << JournalError::BadFileCase << 1
                                         << QString();
    // Nesting no export has, built by no parser: the stack of a recursive reader would overflow.
    const auto nested = [](int depth) { return QByteArray(depth, '[') + QByteArray(depth, ']'); };
    const QByteArray head = R"({"format": "lotgrid-journal", )";
    QTest::newRow("100,000 levels in \"version\"")
        << head + R"("version": )" + nested(100000) + R"(, "cases": []})" << JournalError::FileTooDeep << 0 << u"64"_s;
    QTest::newRow("100,000 levels in a root key followed by other keys")
        << R"({"x": )" + nested(100000) + R"(, "format": "lotgrid-journal", "version": 1, "cases": []})"
        << JournalError::FileTooDeep << 0 << u"64"_s;
    QTest::newRow("65 levels in a case's chart") << head + R"("version": 1, "cases": [{"chart": )" + nested(62) + "}]}"
                                                 << JournalError::FileTooDeep << 0 << u"64"_s;
    QTest::newRow("100,000 levels cut short")
        << head + R"("version": )" + nested(100000).left(100000) << JournalError::FileTooDeep << 0 << u"64"_s;
    QTest::newRow("占类 that is not one")
        << file({with("category", "求财; DROP")}) << JournalError::BadFileCase << 1 << QString();
    QTest::newRow("a named pipe") << QByteArray("fifo") << JournalError::FileNotRegular << 0 << QString();
    QTest::newRow("a folder") << QByteArray("folder") << JournalError::FileNotRegular << 0 << QString();
}

void TestJournal::badImport()
{
    QFETCH(QByteArray, content);
    QFETCH(JournalError, reason);
    QFETCH(int, caseNumber);
    QFETCH(QString, detail);
    const QString file = m_dir.filePath(u"bad%1.json"_s.arg(++m_files));
    if (content == "fifo") {
#ifdef Q_OS_UNIX
        QCOMPARE(mkfifo(QFile::encodeName(file).constData(), 0600), 0); // nobody writes: opening it would block
#else
        QSKIP("named pipes in the file system are a POSIX facility");
#endif
    } else if (content == "folder") {
        QVERIFY(QDir().mkpath(file));
    } else {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(content);
    }
    Journal journal(newPath(), options());
    QVERIFY(journal.open());
    const CaseRecord kept = *journal.save(makeCase(u"010101"_s, u"000000"_s, u"kept"_s));
    QVERIFY(!journal.importCases(file));
    const JournalFailure &failure = journal.lastError();
    QCOMPARE(failure.kind, reason);
    QCOMPARE(failure.action, JournalAction::Import);
    QCOMPARE(failure.caseNumber, caseNumber);
    if (caseNumber > 0)
        QVERIFY(failure.problem);
    if (!detail.isEmpty())
        QCOMPARE(failure.detail, detail);
    QCOMPARE(failure.file, QDir::toNativeSeparators(file));
    QCOMPARE(*journal.count(), 1);
    QCOMPARE(*journal.find(kept.id), kept);
    QVERIFY(journal.isReady());
}

void TestJournal::migrationFromVersion2()
{
    const QString path = newPath();
    QVERIFY(writeJournal(path, Version2Tables));
    Journal journal(path, options());
    QVERIFY2(journal.open(), qPrintable(told(journal)));
    QCOMPARE(*journal.count(), 1);
    CaseRecord old = journal.list({}, {}, 10)->front();
    QCOMPARE(old.question, u"旧问事"_s);
    QCOMPARE(old.tags, QStringList{u"旧标签"_s});
    QCOMPARE(old.category, std::nullopt);
    QCOMPARE(old.firstYingqi, firstYingqiOf(old)); // filled from the chart on the way to version 4
    QCOMPARE(questions(*journal.list(byText(u"鼎"_s), {}, 10)), QStringList{u"旧问事"_s});

    // The new columns take a follow-up, and an open case whose first timing
    // candidate has come is found through its index.
    old.category = Category::Wealth;
    old.firstYingqi = QDate(2026, 2, 1);
    QVERIFY2(journal.updateFollowUp(old), qPrintable(told(journal)));
    CaseRecord later = makeCase(u"000000"_s, u"000000"_s, u"以后应"_s, Moment{{2026, 1, 5}, 8, 0});
    later.firstYingqi = QDate(2026, 3, 1);
    CaseRecord settled = makeCase(u"111111"_s, u"000000"_s, u"已应验"_s, Moment{{2026, 1, 6}, 8, 0});
    settled.firstYingqi = QDate(2026, 1, 10);
    settled.verdict = Verdict::Fulfilled;
    QVERIFY(journal.save(later) && journal.save(settled));
    CaseFilter due;
    due.openYingqiBefore = QDate(2026, 2, 15);
    QCOMPARE(questions(*journal.list(due, {}, 10)), QStringList{u"旧问事"_s});
    due.openYingqiBefore = QDate(2026, 2, 1); // before, not on
    QVERIFY(journal.list(due, {}, 10)->isEmpty());
    QSqlQuery q(QSqlDatabase::database(journal.connectionName()));
    QVERIFY(q.exec(u"EXPLAIN QUERY PLAN SELECT id FROM cases WHERE verdict = 0 AND yingqi_first < '2026-02-15'"_s));
    QString plan;
    while (q.next())
        plan += q.value(3).toString();
    QVERIFY2(plan.contains(u"cases_open_by_yingqi"_s), qPrintable(plan));
}

void TestJournal::version1CaseThatCannotMigrate_data()
{
    QTest::addColumn<QString>("row");
    QTest::addColumn<CaseFault>("fault");
    QTest::newRow("four lines") << u"3, 1767225720000, 1767225720000, NULL, '1111', '000000'"_s
                                << CaseFault::LinesMissing;
    // Its id would be the minute it was saved times 2^20: past 64 bits.
    QTest::newRow("saved 2^62 ms after 1970")
        << u"3, 4611686018427387904, 1767225720000, NULL, '111111', '000000'"_s << CaseFault::TimesInvalid;
    QTest::newRow("saved 2^62 ms before 1970")
        << u"3, -4611686018427387904, 1767225720000, NULL, '111111', '000000'"_s << CaseFault::TimesInvalid;
    QTest::newRow("saved in the year 20000")
        << u"3, 569000000000000, 1767225720000, NULL, '111111', '000000'"_s << CaseFault::TimesInvalid;
}

void TestJournal::version1CaseThatCannotMigrate()
{
    QFETCH(QString, row);
    QFETCH(CaseFault, fault);
    const QString path = newPath();
    QVERIFY(writeJournal(path, Version1Tables + Version1Cases
                                   + QStringList{u"INSERT INTO cases VALUES (%1, NULL, NULL, NULL, 0, 0, '四爻', '',"
                                                 " '', '', 0)"_s.arg(row),
                                                 u"PRAGMA user_version = 1"_s}));
    const QByteArray before = digest(path);
    Journal journal(path, options());
    QVERIFY(!journal.open());
    QCOMPARE(journal.lastError().kind, JournalError::BadOldCase);
    QCOMPARE(journal.lastError().caseNumber, 3);
    QCOMPARE(journal.lastError().caseQuestion, u"四爻"_s);
    QCOMPARE(journal.lastError().problem->fault, fault);
    QCOMPARE(digest(path), before);
}

void TestJournal::instancesCreatingTogether()
{
    // Instances started at once on a new profile: every one opens the journal
    // that the first of them creates.
    const QString path = newPath();
    std::vector<std::unique_ptr<QProcess>> children;
    for (int i = 0; i < 4; ++i) {
        children.push_back(std::make_unique<QProcess>());
        children.back()->start(childProgram(), {u"--child-open"_s, path});
    }
    for (const auto &child : children) {
        QVERIFY(child->waitForFinished(30000));
        QCOMPARE(child->readAllStandardOutput().trimmed(), QByteArray("opened none"));
    }
    QCOMPARE(countIn(path), 0);
}

void TestJournal::readOnlyOpen_data()
{
    QTest::addColumn<QString>("file"); // how the file is made
    QTest::addColumn<JournalError>("reason");
    QTest::newRow("a journal") << u"journal"_s << JournalError::None;
    QTest::newRow("a version-2 journal") << u"version 2"_s << JournalError::None;
    QTest::newRow("no file") << u"none"_s << JournalError::Missing;
    QTest::newRow("an empty file") << u"empty"_s << JournalError::Missing;
    QTest::newRow("text") << u"text"_s << JournalError::Damaged;
    QTest::newRow("another program's database") << u"foreign"_s << JournalError::Foreign;
    QTest::newRow("a later version") << u"version 7"_s << JournalError::TooNew;
    QTest::newRow("a version-1 journal") << u"version 1"_s << JournalError::TooOld;
    QTest::newRow("locked by another instance") << u"locked"_s << JournalError::Busy;
}

void TestJournal::readOnlyOpen()
{
    QFETCH(QString, file);
    QFETCH(JournalError, reason);
    const QString path = newPath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (file == u"journal" || file == u"locked") {
        Journal writer(path, options());
        QVERIFY(writer.open());
        QVERIFY(writer.save(makeCase(u"111101"_s, u"100000"_s, u"旧问事"_s, Moment{{2025, 12, 31}, 10, 30})));
    } else if (file == u"version 2" || file == u"version 7") {
        QVERIFY(writeJournal(path, Version2Tables + QStringList{u"PRAGMA user_version = %1"_s.arg(file.back())}));
    } else if (file == u"version 1") {
        QVERIFY(writeJournal(path, Version1Tables + Version1Cases + QStringList{u"PRAGMA user_version = 1"_s}));
    } else if (file == u"foreign") {
        QVERIFY(writeJournal(path, {u"PRAGMA application_id = 0"_s, u"CREATE TABLE songs (title TEXT)"_s}));
    } else if (file != u"none") {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(file == u"text" ? QByteArray("这不是数据库\n").repeated(100) : QByteArray());
    }
    QProcess holder;
    if (file == u"locked") {
        holder.start(childProgram(), {u"--child-hold-lock"_s, path, u"60000"_s, u"exclusive"_s});
        QVERIFY(holder.waitForReadyRead(10000));
    }
    const QByteArray before = digest(path);
    {
        Journal journal(path, options(true, 200));
        QCOMPARE(journal.openReadOnly(), reason == JournalError::None);
        QCOMPARE(journal.lastError().kind, reason);
        if (reason == JournalError::None) {
            QVERIFY(journal.isReadOnly());
            QCOMPARE(questions(*journal.list(byText(u"问事"_s), {}, 10)), QStringList{u"旧问事"_s});
            const CaseRecord found = *journal.find(journal.list({}, {}, 1)->front().id);
            QCOMPARE(found.cast.moment, (Moment{{2025, 12, 31}, 10, 30}));
            QVERIFY(!journal.find(1));
            QCOMPARE(journal.lastError().kind, JournalError::NotFound);
            QVERIFY(!journal.save(makeCase(u"111111"_s, u"000000"_s, u"写"_s)));
            QCOMPARE(journal.lastError().kind, JournalError::OpenedReadOnly);
            QVERIFY(!journal.remove({found.id}));
            QCOMPARE(*journal.count(), 1);
        }
    }
    holder.kill();
    holder.waitForFinished();
    QCOMPARE(digest(path), before);
}

void TestJournal::importDiffering()
{
    const QString file = m_dir.filePath(u"follow-up.json"_s);
    Journal home(newPath(), options());
    Journal away(newPath(), options());
    QVERIFY(home.open() && away.open());
    QList<CaseRecord> cases;
    for (int i = 0; i < 4; ++i) {
        CaseRecord c = makeCase(u"101101"_s, u"000000"_s, u"lone \uFFFD %1"_s.arg(i), Moment{{2026, 2, 1}, 9, i});
        c.firstYingqi = firstYingqiOf(c); // as the sheet saves a case
        cases << *home.save(c);
    }
    QVERIFY(home.exportCases(file));
    QCOMPARE(away.importCases(file)->added, 4);

    // Followed up away from home: one noted, one settled, one tagged.
    CaseRecord noted = cases[0], settled = cases[1], tagged = cases[2];
    noted.notes = u"后来想到"_s;
    settled.verdict = Verdict::Fulfilled;
    settled.outcome = u"应了"_s;
    tagged.tags = {u"新标签"_s};
    const QList<CaseRecord> awayCases = *away.list({}, {}, 10);
    for (const CaseRecord &c : {noted, settled, tagged}) {
        CaseRecord edit
            = *std::ranges::find_if(awayCases, [&c](const CaseRecord &a) { return a.question == c.question; });
        edit.notes = c.notes;
        edit.outcome = c.outcome;
        edit.verdict = c.verdict;
        edit.tags = c.tags;
        QVERIFY(away.updateFollowUp(edit));
    }
    QVERIFY(away.exportCases(file));

    const std::optional<ImportPlan> plan = home.readImport(file);
    QVERIFY2(plan, qPrintable(told(home)));
    QCOMPARE(plan->added, 0);
    QCOMPARE(plan->identical, 1);
    QCOMPARE(plan->differing, 3);
    const std::optional<ImportReport> kept = home.applyImport(*plan, false);
    QCOMPARE(kept->differing, 3);
    QCOMPARE(kept->replaced, 0);
    QCOMPARE(home.find(cases[0].id)->notes, QString());
    const std::optional<ImportReport> replaced = home.applyImport(*plan, true);
    QCOMPARE(replaced->replaced, 3);
    QCOMPARE(replaced->skipped, 1);
    QCOMPARE(home.find(cases[0].id)->notes, u"后来想到"_s);
    QCOMPARE(home.find(cases[1].id)->verdict, Verdict::Fulfilled);
    QCOMPARE(questions(*home.list(byText(u"新标签"_s), {}, 10)), QStringList{cases[2].question});
    QCOMPARE(*home.count(), 4);
    // Now the same everywhere: nothing to add or replace.
    const std::optional<ImportReport> again = home.importCases(file);
    QCOMPARE(again->skipped, 4);
    QCOMPARE(again->added + again->differing + again->replaced, 0);
}

void TestJournal::importCancelled_data()
{
    QTest::addColumn<qint64>("stopAt"); // the progress call that answers "stop"
    QTest::newRow("while reading the file") << qint64{1};
    QTest::newRow("while comparing") << qint64{2};
    QTest::newRow("while writing") << qint64{3};
}

void TestJournal::importCancelled()
{
    QFETCH(qint64, stopAt);
    QList<CaseRecord> cases;
    for (int i = 0; i < 1000; ++i) {
        CaseRecord c = makeCase(u"010101"_s, u"000000"_s, u"批 %1"_s.arg(i), Moment{{2026, 3, 1}, 9, i % 60});
        c.saved = c.changed = QDateTime(QDate(2026, 3, 1), QTime(0, 0), Qt::UTC).addSecs(i);
        cases << c;
    }
    const QString file = m_dir.filePath(u"many.json"_s);
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(exportDocument(cases, QDateTime::currentDateTimeUtc()));
    f.close();
    Journal journal(newPath(), options());
    QVERIFY(journal.open());
    qint64 calls = 0;
    const ImportProgress progress = [&calls, stopAt](qint64, qint64) { return ++calls < stopAt; };
    const std::optional<ImportPlan> plan = journal.readImport(file, progress);
    if (plan)
        QVERIFY(!journal.applyImport(*plan, false, progress));
    QCOMPARE(calls, stopAt);
    QCOMPARE(journal.lastError().kind, JournalError::Cancelled);
    QCOMPARE(*journal.count(), 0);
    QVERIFY(journal.save(makeCase(u"111111"_s, u"000000"_s, u"after"_s))); // no transaction left open
}

// A file of version 5 made as that version wrote it: the words of the sex and
// the category, no record of what was picked by hand.
void TestJournal::migrationFromVersion5()
{
    const QString path = newPath();
    const QStringList toVersion5{
        u"ALTER TABLE cases ADD COLUMN category TEXT"_s, u"ALTER TABLE cases ADD COLUMN yingqi_first TEXT"_s,
        u"ALTER TABLE cases ADD COLUMN usegod_strong INTEGER"_s,
        u"ALTER TABLE cases ADD COLUMN hexagram_group INTEGER"_s, u"ALTER TABLE cases ADD COLUMN outcome_date TEXT"_s,
        u"CREATE INDEX cases_by_outcome ON cases(verdict, category, usegod_strong, hexagram_group, tags)"_s,
        u"ALTER TABLE cases ADD COLUMN school TEXT"_s, u"UPDATE cases SET category = '求财'"_s,
        // 2025-12-31 is a 甲戌 day of the 子 month: this case took all three from its moment.
        u"INSERT INTO cases VALUES (30883900866562, 1767225600000, 1767225600000, 29452950, '000111', '000000',"
        " '000111', 0, 0, 10, 0, 0, '问风水', '女', '', '', 1, '', '风水', NULL, NULL, NULL, '2026-01-10', NULL)"_s,
        u"INSERT INTO cases VALUES (30883900866563, 1767225600000, 1767225600000, NULL, '101010', '000000',"
        " '101010', 3, NULL, NULL, 0, 0, '无时', 'X', '', '', 0, '', NULL, NULL, NULL, NULL, NULL, NULL)"_s,
        u"PRAGMA user_version = 5"_s};
    QVERIFY(writeJournal(path, Version2Tables + toVersion5));
    Journal journal(path, options());
    QVERIFY2(journal.open(), qPrintable(told(journal)));
    QCOMPARE(journal.count(), std::optional<qint64>(3));
    const QList<CaseRecord> cases = *journal.list({}, {}, 10);
    // Codes from the words; a word the program does not know is kept in the notes.
    QVERIFY(cases[2].category == Category::Wealth && cases[2].sex == Sex::Male);
    QVERIFY(cases[1].sex == Sex::Female && !cases[0].sex);
    QCOMPARE(cases[1].notes + cases[0].notes, u"占类：风水性别：X"_s);
    QCOMPARE(questions(*journal.list(byText(u"风水"_s), {}, 10)), QStringList{u"问风水"_s});
    // By hand: what the moment does not give, or everything set without a moment.
    QCOMPARE(cases[2].cast.byHand, (DayParts{true, true, true}));
    QCOMPARE(cases[1].cast.byHand, (DayParts{false, false, false}));
    QVERIFY(cases[0].cast.pickedByHand(DayPart::DayStem) && !cases[0].cast.pickedByHand(DayPart::MonthBuild));
    // Every case with a moment has its candidates; the file before is kept whole beside it.
    QSqlQuery q(QSqlDatabase::database(journal.connectionName()));
    QVERIFY(q.exec(u"SELECT count(DISTINCT case_id) = 2 AND count(hit) > 0 FROM case_yingqi"_s) && q.next());
    QVERIFY(q.value(0).toBool());
    Journal backup(path + u".v5-backup"_s, options());
    QVERIFY2(backup.openReadOnly(), qPrintable(told(backup)));
    QCOMPARE(backup.count(), std::optional<qint64>(3));
}

// The codes as the journal documents them: a later version never renumbers them.
void TestJournal::codesStable_data()
{
    QTest::addColumn<QString>("category");
    QTest::addColumn<QString>("sex");
    QTest::addColumn<int>("categoryCode");
    QTest::addColumn<int>("sexCode");
    QTest::newRow("自身 男") << u"自身"_s << u"男"_s << 0 << 0;
    QTest::newRow("求财 女") << u"求财"_s << u"女"_s << 3 << 1;
    QTest::newRow("婚恋 女") << u"婚恋"_s << u"女"_s << 14 << 1;
    QTest::newRow("none") << QString() << QString() << -1 << -1;
}

void TestJournal::codesStable()
{
    QFETCH(QString, category);
    QFETCH(QString, sex);
    Journal journal(newPath(), options());
    QVERIFY(journal.open());
    CaseRecord c = makeCase(u"110100"_s, u"100000"_s, u"问"_s, Moment{{2026, 3, 4}, 9, 0});
    c.category = categoryFromText(category.toStdU16String());
    c.sex = sexFromText(sex.toStdU16String());
    const std::optional<CaseRecord> saved = journal.save(c);
    QVERIFY2(saved, qPrintable(told(journal)));
    QSqlQuery q(QSqlDatabase::database(journal.connectionName()));
    QVERIFY(q.exec(u"SELECT coalesce(category_code, -1), coalesce(sex_code, -1) FROM cases"_s) && q.next());
    QTEST(q.value(0).toInt(), "categoryCode");
    QTEST(q.value(1).toInt(), "sexCode");
    QCOMPARE(journal.find(saved->id), saved);
    // The export keeps the words, and reads back into the same codes.
    const auto exported = caseToJson(*saved);
    QCOMPARE(QString::fromStdString(exported["sex"].get<std::string>()), sex);
    QCOMPARE(exported["category"].is_null() ? QString() : QString::fromStdString(exported["category"]), category);
    const auto back = caseFromJson(exported, nullptr);
    QVERIFY(back && back->category == saved->category && back->sex == saved->sex);
}

// A day candidate hits its day; a month candidate any day of its month by its
// 节: 辛卯 runs from 惊蛰 (2026-03-05, in the evening) to the eve of 清明 (2026-04-05, before dawn).
void TestJournal::yingqiHitDays_data()
{
    QTest::addColumn<int>("unit");
    QTest::addColumn<QDate>("day");
    QTest::addColumn<bool>("hit");
    QTest::addColumn<int>("daysOff");
    QTest::newRow("day, on it") << 0 << QDate(2026, 3, 5) << true << 0;
    QTest::newRow("day, three after") << 0 << QDate(2026, 3, 8) << false << 3;
    QTest::newRow("month, its 节 day") << 1 << QDate(2026, 3, 5) << true << 0;
    QTest::newRow("month, its last day") << 1 << QDate(2026, 4, 4) << true << 0;
    QTest::newRow("month, a week after 清明") << 1 << QDate(2026, 4, 11) << false << 7;
    QTest::newRow("month, the day before") << 1 << QDate(2026, 3, 4) << false << 1;
}

void TestJournal::yingqiHitDays()
{
    QFETCH(int, unit);
    QFETCH(QDate, day);
    YingqiCandidate c;
    c.date = {2026, 3, 5};
    c.unit = static_cast<YingqiUnit>(unit);
    c.pillar = *sexagenaryOf(7, Branch::Mao); // 辛卯
    const YingqiHit hit = yingqiHit(c, {day.year(), day.month(), day.day()});
    QTEST(hit.hit, "hit");
    QTEST(int(hit.daysOff), "daysOff");
}

// One case, its outcome recorded: what 应期规则 counts for it.
void TestJournal::ruleHits_data()
{
    QTest::addColumn<int>("verdict");
    QTest::addColumn<QString>("when"); // the outcome's day
    QTest::newRow("应验 on the cast day, before every candidate") << 1 << u"cast"_s;
    QTest::newRow("应验 on the first day candidate") << 1 << u"first"_s;
    QTest::newRow("不验") << 2 << u"first"_s;
}

void TestJournal::ruleHits()
{
    QFETCH(int, verdict);
    QFETCH(QString, when);
    Journal journal(newPath(), options());
    QVERIFY(journal.open());
    CaseRecord c = makeCase(u"110100"_s, u"100000"_s, u"求财"_s, Moment{{2026, 3, 4}, 9, 0});
    c.category = Category::Wealth;
    const std::optional<CaseRecord> saved = journal.save(c);
    const std::vector<YingqiCandidate> candidates = caseChart(*saved).yingqi;
    const auto first = std::ranges::find(candidates, YingqiUnit::Day, &YingqiCandidate::unit);
    QVERIFY(first != candidates.end());
    const QDate cast(2026, 3, 4), day = when == u"cast"_s ? cast : QDate(2026, first->date.month, first->date.day);
    QVERIFY(journal.updateFollowUp(withOutcome(*saved, static_cast<Verdict>(verdict), day, {})));
    const auto rows = statsByRule(QSqlDatabase::database(journal.connectionName()), nullptr);
    for (const RuleStats &r : rows.value()) {
        // The 忌神's candidates time the harm: they are not counted. Every candidate lies after the cast day.
        qint64 nearest = -1;
        for (const YingqiCandidate &y : candidates)
            if (int(y.rule) == r.rule && y.line != YingqiLine::Taboo) {
                const qint64 off = cast.daysTo(QDate(y.date.year, y.date.month, y.date.day));
                nearest = nearest < 0 ? off : std::min(nearest, off);
            }
        QVERIFY(nearest > 0);
        QCOMPARE(r.listed, 1);
        QCOMPARE(r.dated, verdict == 1 ? 1 : 0);
        if (verdict == 2)
            QCOMPARE(r.meanDaysOff, std::nullopt);
        else if (when == u"cast"_s)
            QCOMPARE(r.meanDaysOff, std::optional<double>(double(nearest)));
        if (when == u"cast"_s || (verdict == 1 && r.rule == int(first->rule)))
            QCOMPARE(r.hits, when == u"cast"_s ? 0 : 1);
    }
}

int main(int argc, char **argv)
{
    const bool child = argc > 2 && QByteArray(argv[1]).startsWith("--child-");
    if (child) {
        QCoreApplication app(argc, argv);
        // Qt's arguments, which Windows hands over in UTF-16, so that any path survives.
        const QStringList args = QCoreApplication::arguments();
        const QString mode = args.at(1);
        const QString path = args.at(2);
        if (mode == u"--child-save-loop"_s)
            return childSaveLoop(path);
        if (mode == u"--child-hold-lock"_s && args.size() > 3)
            return childHoldLock(path, args.at(3).toInt(), args.size() > 4);
        if (mode == u"--child-read-only"_s)
            return childReadOnly(path);
        if (mode == u"--child-open"_s)
            return childOpen(path);
        return 2;
    }
    QCoreApplication app(argc, argv);
    TestJournal test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_journal.moc"
