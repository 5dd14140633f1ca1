// The case journal with 100,000 cases: importing them from a file as
// 导出全部 writes it (each case with its chart; target 10 s, and its ratio to
// a plain SQLite insert of the same rows), opening the journal,
// opening 案例库 to its first screenful, one search keystroke, one save,
// choosing a case whose notes are one line of 300,000 characters, counting the
// cases 待验 as the main window does at start-up, opening 验证统计.
// Targets: the window under 200 ms, a keystroke under 50 ms, a save under 10 ms,
// choosing a case under 33 ms (two frames), the 待验 count under 20 ms,
// 验证统计 under 300 ms.
// Run by hand: QT_QPA_PLATFORM=offscreen ./bench_journal [folder]
// (the folder holds the database; a temporary one by default, which may sit on
// a RAM disk where a save costs less than on the user's own disk).
#include "chart/categories.h"
#include "chart/charttext.h"
#include "journal/anli.h"
#include "journal/casejson.h"
#include "journal/journalschema.h"
#include "journal/tongji.h"
#include "qtcore/textconv.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <random>

using namespace Qt::StringLiterals;
using namespace lotgrid;

namespace {

// BENCH_CASES=n runs with fewer cases, for a profile.
const int CaseCount = qEnvironmentVariableIsSet("BENCH_CASES") ? qEnvironmentVariableIntValue("BENCH_CASES") : 100000;

QString pick(std::mt19937 &random, const QStringList &from)
{
    return from.at(static_cast<qsizetype>(random() % from.size()));
}

QString someText(std::mt19937 &random, int length)
{
    static const QString chars = u"世应动变财官父兄子孙用神伏旺衰空冲合刑害月日建生克进退吉凶成败早晚东西南北事人家"
                                 u"钱病药路远近得失喜忧信书房车水火木金土"_s;
    QString text;
    for (int i = 0; i < length; ++i)
        text += chars.at(static_cast<qsizetype>(random() % chars.size()));
    return text;
}

QList<CaseRecord> generatedCases()
{
    std::mt19937 random(20261207);
    const QStringList topics{u"求财"_s, u"出行"_s, u"婚姻"_s, u"考试"_s, u"疾病"_s,
                             u"官司"_s, u"寻物"_s, u"工作"_s, u"买房"_s, u"合作"_s};
    const QStringList tags{u"财"_s, u"行"_s, u"婚"_s, u"学"_s, u"病"_s, u"讼"_s, u"work"_s, u"family"_s};
    const qint64 start = QDateTime(QDate(2015, 1, 1), QTime(0, 0), Qt::UTC).toMSecsSinceEpoch();
    QList<CaseRecord> cases;
    for (int i = 0; i < CaseCount; ++i) {
        CaseRecord c;
        for (int n = 1; n <= 6; ++n)
            c.cast.line(n) = {random() % 2 ? u'1' : u'0', random() % 4 == 0};
        c.saved = c.changed = QDateTime::fromMSecsSinceEpoch(start + qint64(i) * 3000000, Qt::UTC);
        c.cast.moment = chinaMoment(c.saved);
        c.cast.dayStem = static_cast<int>(random() % 10);
        c.cast.monthBuild = static_cast<Branch>(random() % 12);
        c.cast.dayBuild = static_cast<Branch>(random() % 12);
        c.question = pick(random, topics) + someText(random, 6 + static_cast<int>(random() % 10));
        c.sex = random() % 2 ? Sex::Male : Sex::Female;
        c.notes = someText(random, 20 + static_cast<int>(random() % 60));
        if (random() % 3 == 0) {
            c.outcome = someText(random, 10);
            c.verdict = random() % 2 ? Verdict::Fulfilled : Verdict::Failed;
        }
        c.tags = QStringList{pick(random, tags)};
        if (random() % 4 != 0)
            c.tags << pick(random, tags);
        c.tags.removeDuplicates();
        if (random() % 5 != 0)
            c.category = Categories[random() % Categories.size()].category;
        c.firstYingqi = firstYingqiOf(c);
        cases << c;
    }
    return cases;
}

// The cases written as 导出全部 writes them: each with its chart.
bool writeExport(const QList<CaseRecord> &cases, const QString &file)
{
    const ChartJson chart = [](const CastInput &cast) { return chartJson(chartOf(cast)); };
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    out.write(exportHead(QDateTime::currentDateTimeUtc()));
    for (qsizetype i = 0; i < cases.size(); ++i)
        out.write(exportCase(cases.at(i), chart, i == 0));
    out.write(exportTail());
    return out.flush();
}

// The floor of an import: the same rows, their values worked out beforehand,
// inserted into an empty file of the same tables and indexes (the full-text
// index too) with one prepared statement each, in one transaction, as the
// journal writes (write-ahead log, synchronous FULL).
double plainInsertMs(const QList<CaseRecord> &cases, const QString &path)
{
    QFile::remove(path);
    std::vector<QVariantList> rows;
    std::vector<QVariantList> words;
    qint64 id = 0;
    for (CaseRecord c : cases) {
        c.id = ++id;
        QVariantList row;
        for (const CaseColumn &column : CaseColumns)
            row << column.write(c);
        rows.push_back(row);
        words.push_back({c.id, searchableText(c.question), searchableText(c.notes), searchableText(c.tags.join(u' ')),
                         searchableText(c.outcome), searchableText(originalName(c.cast) + u' ' + changedName(c.cast))});
    }
    double ms = -1;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"floor"_s);
        db.setDatabaseName(path);
        if (!db.open())
            return -1;
        QSqlQuery q(db);
        q.exec(u"PRAGMA journal_mode = WAL"_s);
        q.exec(u"PRAGMA synchronous = FULL"_s);
        for (const QString &sql : createTableSql(CurrentSchemaVersion))
            q.exec(sql);
        q.exec(u"CREATE VIRTUAL TABLE cases_fts USING fts5(question, notes, tags, outcome, hexagrams)"_s);
        QElapsedTimer t;
        t.start();
        q.exec(u"BEGIN IMMEDIATE"_s);
        QSqlQuery insert(db);
        insert.prepare(insertSql(CurrentSchemaVersion));
        QSqlQuery index(db);
        index.prepare(
            u"INSERT INTO cases_fts(rowid, question, notes, tags, outcome, hexagrams) VALUES (?, ?, ?, ?, ?, ?)"_s);
        for (std::size_t i = 0; i < rows.size(); ++i) {
            for (int k = 0; k < rows[i].size(); ++k)
                insert.bindValue(k, rows[i][k]);
            for (int k = 0; k < words[i].size(); ++k)
                index.bindValue(k, words[i][k]);
            if (!insert.exec() || !index.exec())
                return -1;
        }
        q.exec(u"COMMIT"_s);
        ms = t.nsecsElapsed() / 1e6;
    }
    QSqlDatabase::removeDatabase(u"floor"_s);
    QFile::remove(path);
    return ms;
}

double msSince(const QElapsedTimer &t)
{
    return t.nsecsElapsed() / 1e6;
}

void report(const char *what, double ms, double target)
{
    std::printf("%-44s %9.2f ms%s\n", what, ms, target > 0 ? (ms < target ? "  (target met)" : "  (OVER TARGET)") : "");
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTemporaryDir temp;
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : temp.path();
    const QString path = folder + u"/bench-journal.sqlite"_s;
    QElapsedTimer t;
    if (!QFile::exists(path) || !qEnvironmentVariableIsSet("BENCH_KEEP")) {
        QFile::remove(path);
        t.start();
        const QList<CaseRecord> cases = generatedCases();
        const QString file = folder + u"/bench-cases.json"_s;
        if (!writeExport(cases, file))
            return 1;
        report("generating 100,000 cases as 导出全部 writes them", msSince(t), 0);
        std::printf("the export file: %.1f MB\n", QFileInfo(file).size() / 1e6);
        Journal journal(path);
        journal.open();
        t.start();
        const std::clock_t cpu = std::clock();
        const std::optional<ImportPlan> plan = journal.readImport(file);
        const double readMs = msSince(t);
        const std::optional<ImportReport> imported = plan ? journal.applyImport(*plan, false) : std::nullopt;
        if (!imported || imported->added != CaseCount) {
            std::fprintf(stderr, "import failed: %s\n", qPrintable(journalMessage(journal.lastError())));
            return 1;
        }
        const double importMs = msSince(t);
        const double importCpuMs = 1000.0 * static_cast<double>(std::clock() - cpu) / CLOCKS_PER_SEC;
        std::printf("  the file read and each case looked up: %.0f ms, the cases written: %.0f ms\n", readMs,
                    importMs - readMs);
        report("importing them (one transaction)", importMs, 10000);
        const std::clock_t floorCpu = std::clock();
        const double floorMs = plainInsertMs(cases, folder + u"/bench-floor.sqlite"_s);
        const double floorCpuMs = 1000.0 * static_cast<double>(std::clock() - floorCpu) / CLOCKS_PER_SEC;
        report("the same rows by a plain SQLite insert", floorMs, 0);
        // The processor time of each, which a busy machine does not stretch.
        std::printf("import / plain insert: %.2fx (processor time: import %.0f ms, plain insert %.0f ms, %.2fx)\n",
                    importMs / floorMs, importCpuMs, floorCpuMs, importCpuMs / floorCpuMs);
        QFile::remove(file);
    }

    t.start();
    Journal journal(path);
    if (!journal.open()) {
        std::fprintf(stderr, "%s\n", qPrintable(journalMessage(journal.lastError())));
        return 1;
    }
    report("opening the journal of 100,000 cases", msSince(t), 0);
    std::printf("full-text search: %s\n", journal.hasFullTextSearch() ? "FTS5" : "LIKE (no FTS5 in this SQLite)");

    t.start();
    auto *anli = new Anli(&journal, JournalPrompts{});
    anli->show();
    QApplication::processEvents();
    auto *table = anli->findChild<QTableView *>(u"cases"_s);
    table->viewport()->repaint();
    report("opening 案例库 to its first screenful", msSince(t), 200);

    auto *search = anli->findChild<QLineEdit *>(u"search"_s);
    // Keystrokes as typed: common and rare words, a hexagram name, a tag prefix, two words.
    const QStringList typed{u"出"_s, u"出行"_s,   u"出行世"_s, u"火"_s,      u"火天"_s,   u"火天大有"_s, u"w"_s,
                            u"wo"_s, u"wor"_s,    u"财 "_s,    u"财 应"_s,   u"寻物东"_s, u"没有这词"_s, u"疾病药"_s,
                            u"坤"_s, u"坤为地"_s, u"病"_s,     u"病 官司"_s, u"乾为天"_s, u"天风姤"_s};
    std::vector<double> keystrokes;
    for (int round = 0; round < 3; ++round) {
        for (const QString &text : typed) {
            search->clear();
            QApplication::processEvents();
            t.start();
            search->setText(text);
            table->viewport()->repaint();
            keystrokes.push_back(msSince(t));
            if (round == 2 && qEnvironmentVariableIsSet("BENCH_VERBOSE"))
                std::printf("  %-12s %8.2f ms\n", qPrintable(text), keystrokes.back());
        }
    }
    report("a search keystroke, median", median(keystrokes), 50);
    report("a search keystroke, slowest", *std::max_element(keystrokes.begin(), keystrokes.end()), 50);
    search->clear();

    std::vector<double> saves;
    for (int i = 0; i < 100; ++i) {
        CaseRecord c;
        for (int n = 1; n <= 6; ++n)
            c.cast.line(n) = {n % 2 ? u'1' : u'0', n == i % 6 + 1};
        c.question = u"基准 %1"_s.arg(i);
        std::mt19937 random(static_cast<unsigned>(i));
        c.notes = someText(random, 60);
        t.start();
        if (!journal.save(c)) {
            std::fprintf(stderr, "%s\n", qPrintable(journalMessage(journal.lastError())));
            return 1;
        }
        saves.push_back(msSince(t));
    }
    report("a save, median", median(saves), 10);
    report("a save, slowest", *std::max_element(saves.begin(), saves.end()), 0);

    CaseRecord longNotes;
    for (int n = 1; n <= 6; ++n)
        longNotes.cast.line(n) = {u'1', false};
    longNotes.question = u"长备注基准"_s;
    longNotes.notes = QString(300000, u'x');
    if (!journal.save(longNotes))
        return 1;
    search->setText(u"长备注基准"_s);
    table->setCurrentIndex({});
    QApplication::processEvents();
    t.start();
    table->setCurrentIndex(table->model()->index(0, 0));
    anli->repaint();
    report("choosing a case with 300,000-character notes", msSince(t), 33);
    delete anli;

    // As at start-up: the file opened to read only, the cases 待验 counted, closed again.
    std::vector<double> counts;
    qint64 awaiting = 0;
    for (int i = 0; i < 5; ++i) {
        t.start();
        Journal reader(path);
        if (!reader.openReadOnly())
            return 1;
        awaiting
            = awaitingCount(QSqlDatabase::database(reader.connectionName()), QDate(2026, 12, 7), nullptr).value_or(-1);
        counts.push_back(msSince(t));
    }
    std::printf("cases 待验: %lld\n", static_cast<long long>(awaiting));
    report("the 待验 count at start-up, median", median(counts), 20);

    std::vector<double> opens;
    for (int i = 0; i < 3; ++i) {
        t.start();
        auto *tongji = new Tongji(journal.connectionName(), JournalPrompts{});
        tongji->show();
        QApplication::processEvents();
        tongji->repaint();
        opens.push_back(msSince(t));
        delete tongji;
    }
    report("opening 验证统计, median", median(opens), 300);
    return 0;
}
