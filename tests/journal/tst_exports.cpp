// Files the program writes for the user, on a device that refuses them and as
// spreadsheets read them: 导出全部, 导出所选, 导出CSV, 导出图片 and 导出PDF on a
// file system that takes only a few bytes more (a limit on the size of the
// files this process writes, the failing device that needs no mount) each
// say why in the system's words and leave the file of that name as it was;
// the CSV of 验证统计 neutralises formulas and quotes as RFC 4180 does; a tag
// of 100,000 characters is shown cut, whole in its tooltip.
#include "common/caserecords.h"
#include "guapan/guapanexport.h"
#include "journal/anli.h"
#include "journal/journal.h"
#include "journal/tongji.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

using namespace lotgrid;
using namespace Qt::StringLiterals;

namespace {

struct Said {
    QStringList warnings;
    QStringList notices;
    QString file;
    QStringList asked; // the title, the proposed name and the filter of each file chooser
};

JournalPrompts prompts(const std::shared_ptr<Said> &said)
{
    JournalPrompts p;
    p.ask = [](QWidget *, const QString &, const QString &) { return true; };
    p.warn = [said](QWidget *, const QString &, const QString &text) { said->warnings << text; };
    p.inform = [said](QWidget *, const QString &, const QString &text) { said->notices << text; };
    p.exportFile = [said](QWidget *, const QString &title, const QString &proposed, const QString &filter) {
        said->asked << title << proposed << filter;
        return said->file;
    };
    return p;
}

#ifdef Q_OS_UNIX
// While it lives, no file this process writes grows past `bytes`: a write
// beyond fails as on a full disk (EFBIG rather than ENOSPC).
class SmallDisk
{
public:
    explicit SmallDisk(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN); // the write fails instead of the process ending
        getrlimit(RLIMIT_FSIZE, &m_before);
        rlimit small = m_before;
        small.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &small);
    }
    ~SmallDisk() { setrlimit(RLIMIT_FSIZE, &m_before); }
    SmallDisk(const SmallDisk &) = delete;
    SmallDisk &operator=(const SmallDisk &) = delete;

private:
    rlimit m_before{};
};
#endif

CaseRecord caseWithOutcome(int day, const QStringList &tags, Verdict verdict)
{
    CaseRecord c = makeCase(u"101101"_s, u"010000"_s, u"问 %1"_s.arg(day), Moment{{2026, 3, day}, 9, 0});
    c.tags = tags;
    c.verdict = verdict;
    c.outcome = u"有结果"_s;
    return c;
}

QByteArray contentOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestExports : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void fullDisk_data();
    void fullDisk();
    void csvCells();
    void longTag();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Journal> m_journal;
    std::shared_ptr<Said> m_said;
};

void TestExports::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_journal = std::make_unique<Journal>(m_dir->filePath(u"journal.sqlite"_s), JournalOptions{200, {}, true});
    QVERIFY(m_journal->open());
    m_said = std::make_shared<Said>();
}

void TestExports::cleanup()
{
    m_journal.reset();
    m_dir.reset();
}

void TestExports::fullDisk_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("name");
    QTest::newRow("导出全部") << u"exportAll"_s << u"备份.json"_s;
    QTest::newRow("导出所选") << u"exportSelected"_s << u"备份.json"_s;
    QTest::newRow("导出CSV") << u"daochuCsv"_s << u"验证统计.csv"_s;
    QTest::newRow("导出图片 PNG") << u"picture"_s << u"卦.png"_s;
    QTest::newRow("导出图片 JPEG") << u"picture"_s << u"卦.jpg"_s;
    QTest::newRow("导出PDF") << u"pdf"_s << u"卦.pdf"_s;
}

void TestExports::fullDisk()
{
#ifndef Q_OS_UNIX
    QSKIP("the limit on a file's size is a POSIX facility");
#else
    QFETCH(QString, command);
    QFETCH(QString, name);
    for (int day = 1; day <= 3; ++day)
        QVERIFY(m_journal->save(caseWithOutcome(day, {u"财"_s}, Verdict::Fulfilled)));
    const QString folder = m_dir->filePath(u"out"_s);
    QVERIFY(QDir().mkpath(folder));
    const QString path = QDir(folder).filePath(name);
    const QByteArray old = "the backup written before, which must survive\n";
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(old) == old.size());
    }
    m_said->file = path;
    QString error;
    bool written = false;
    {
        Anli anli(m_journal.get(), prompts(m_said));
        anli.show();
        QTableView *table = anli.findChild<QTableView *>(u"cases"_s);
        table->setCurrentIndex(table->model()->index(0, 0));
        Tongji tongji(m_journal->connectionName(), prompts(m_said));
        const Chart chart = chartOf(caseWithOutcome(1, {}, Verdict::Open).cast);
        const GuapanStyle style{QFont(), 1.0};
        const SmallDisk disk(old.size() + 8);
        if (command == u"picture"_s) {
            written = writePicture(guapanPicture(chart, {}, style, 2.0), path, &error);
        } else if (command == u"pdf"_s) {
            written = writePdf(path, QPageSize::A4, chart, {}, style, &error);
        } else {
            QPushButton *button = anli.findChild<QPushButton *>(command);
            if (!button)
                button = tongji.findChild<QPushButton *>(command);
            QVERIFY(button && button->isEnabled());
            button->click();
            written = m_said->warnings.isEmpty();
            error = m_said->warnings.join(u'\n');
        }
    }
    QVERIFY(!written);
    QVERIFY(m_said->notices.isEmpty());
    // The system's reason, not the cancelling that cleaned up after it.
    const QString reason = QString::fromLocal8Bit(strerror(EFBIG));
    QVERIFY2(error.contains(reason) && !error.contains(u"cancel"_s, Qt::CaseInsensitive) && !error.contains(u"取消"_s),
             qPrintable(error));
    QCOMPARE(contentOf(path), old);
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{name});
#endif
}

void TestExports::csvCells()
{
    // Tags a spreadsheet would run as formulas, and one with a quote.
    const QStringList tags{u"=1+1"_s, u"+2"_s, u"-3"_s, u"@SUM(A1)"_s, u"说\"好\""_s};
    for (int i = 0; i < tags.size(); ++i)
        QVERIFY(m_journal->save(caseWithOutcome(i + 1, {tags.at(i)}, Verdict::Fulfilled)));
    Tongji tongji(m_journal->connectionName(), prompts(m_said));
    m_said->file = m_dir->filePath(u"统计.csv"_s);
    tongji.findChild<QPushButton *>(u"daochuCsv"_s)->click();
    QCOMPARE(m_said->asked,
             (QStringList{u"导出统计（CSV）"_s, u"验证统计.csv"_s, u"CSV 表格 (*.csv);;所有文件 (*)"_s}));
    const QByteArray bytes = contentOf(m_said->file);
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF")); // UTF-8, marked so for spreadsheets in any locale
    const QStringList lines = QString::fromUtf8(bytes.mid(3)).split(u"\r\n"_s, Qt::SkipEmptyParts);
    QStringList tagCells;
    for (const QString &line : lines)
        if (line.startsWith(u"标签,"_s))
            tagCells << line.section(u',', 1, -5);
    tagCells.sort();
    QStringList expected{u"'=1+1"_s, u"'+2"_s, u"'-3"_s, u"'@SUM(A1)"_s, u"\"说\"\"好\"\"\""_s};
    expected.sort();
    QCOMPARE(tagCells, expected);
}

void TestExports::longTag()
{
    QString tag;
    for (int i = 0; i < 100000; ++i)
        tag += QChar(u'标' + i % 50);
    QVERIFY(m_journal->save(caseWithOutcome(1, {tag}, Verdict::Fulfilled)));
    QVERIFY(m_journal->save(caseWithOutcome(2, {u"短"_s}, Verdict::Failed)));
    Tongji tongji(m_journal->connectionName(), prompts(m_said));
    tongji.show();
    QTableWidget *table = tongji.table(StatsBy::Tag);
    QStringList cells;
    for (int row = 0; row < table->rowCount(); ++row) {
        const QTableWidgetItem *item = table->item(row, 0);
        cells << item->text();
        if (item->text() != u"短"_s) {
            QVERIFY(item->text().size() <= 25 && item->text().endsWith(u'…'));
            QVERIFY(tag.startsWith(item->text().chopped(1)));
            QCOMPARE(item->toolTip(), tag);
        }
    }
    QCOMPARE(cells.size(), 2);
    // The statistics keep the whole tag: the CSV and the cases a row lists.
    QVERIFY(std::ranges::any_of(tongji.rows(StatsBy::Tag), [&tag](const StatsRow &r) { return r.label == tag; }));
}

QTEST_MAIN(TestExports)
#include "tst_exports.moc"
