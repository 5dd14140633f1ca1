// The screenshot command in the real main window: the file's name, content and
// folder, the messages, and when the command is available.

#include "sheet/chartdocument.h"
#include "sheet/chartsheet.h"
#include "ui/environment.h"
#include "ui/mainwindow.h"
#include "ui/platform.h"
#include "ui/screenshot.h"
#include "widgets/linefield.h"

#include "common/modal.h"
#include "common/notation.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace Qt::StringLiterals;
using lotgrid::Environment;
using lotgrid::MainWindow;

namespace {

const QDateTime SavedAt(QDate(2014, 10, 24), QTime(9, 5, 37));
const QString Prefix = u"程序已经将图片截图到本程序路径：\n\n"_s;
const QString FallbackPrefix = u"本程序路径无法写入，程序已经将图片截图到：\n\n"_s;

// A main window whose screenshots go to `folder` (else `fallback`), at SavedAt.
struct Chart {
    Chart(const QString &folder, const QString &fallback)
    {
        Environment env = Environment::production();
        env.quit = [] {};
        env.journalPath.clear(); // never the user's journal
        env.now = [] { return SavedAt; };
        env.screenshotFolder = folder;
        env.screenshotFallbackFolder = fallback;
        w = std::make_unique<MainWindow>(env);
        w->show();
        w->activateWindow();
    }

    // Types the lines, line 1 first ("101000").
    void enter(const QString &key)
    {
        for (int n = 1; n <= key.size(); ++n)
            QTest::keyClicks(w->sheet().Text(n), key.mid(n - 1, 1));
    }

    lotgrid::Screenshot &shot() { return w->screenshot(); }
    QAction *jietutu() { return w->findChild<QAction *>(u"jietutu"_s); }

    // The whole command with the steps called directly; returns the message shown.
    std::shared_ptr<ModalAnswer> take()
    {
        shot().jietutu_Click();
        shot().stepTimerjietuO();
        auto box = answerNextModal(QMessageBox::Ok);
        shot().stepTimerjietu();
        return box;
    }

    std::unique_ptr<MainWindow> w;
};

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

QByteArray head(const QString &path, int n)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.read(n) : QByteArray();
}

void makeFile(const QString &path, const QByteArray &content)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(content);
}

} // namespace

class TestScreenshot : public QObject
{
    Q_OBJECT
private slots:
    void fileName_data();
    void fileName();
    void savesJpegBesideTheProgram();
    void existingFileIsKept_data();
    void existingFileIsKept();
    void fallbackFolder_data();
    void fallbackFolder();
    void danglingLinksInBothFolders();
    void allNumberedNamesTaken();
    void shownPathsAreClean();
    void fallbackStaysInTheHome_data();
    void fallbackStaysInTheHome();
    void noTopLevelFolder_data();
    void noTopLevelFolder();
    void fullDisk_data();
    void fullDisk();
    void failureIsReported();
    void capturesTheActiveWindow();
    void secondCommandMakesNoSecondFile();
    void secondCommandOnTheClock();
    void commandAvailability();
};

// The name carries the year, the original and the changed lines (line 1
// first, as far as they are entered) and the last digit of the seconds.
void TestScreenshot::fileName_data()
{
    QTest::addColumn<QString>("lines"); // 6/7/8/9 notation, as far as entered
    QTest::addColumn<QDateTime>("at");
    QTest::addColumn<QString>("name");

    QTest::newRow("787886, line 6 moving, at 09:05:37 2014")
        << u"787886"_s << SavedAt << u"六爻卜卦截图2014-101000-1010017.jpg"_s;
    QTest::newRow("no moving line") << u"787888"_s << SavedAt << u"六爻卜卦截图2014-101000-1010007.jpg"_s;
    QTest::newRow("seconds 00") << u"977777"_s << QDateTime(QDate(2024, 1, 1), QTime(0, 0, 0))
                                << u"六爻卜卦截图2024-111111-0111110.jpg"_s;
    QTest::newRow("three lines entered") << u"796"_s << SavedAt << u"六爻卜卦截图2014-110-1017.jpg"_s;
    QTest::newRow("nothing entered") << QString() << SavedAt << u"六爻卜卦截图2014--7.jpg"_s;
}

void TestScreenshot::fileName()
{
    QFETCH(QString, lines);
    QFETCH(QDateTime, at);
    QFETCH(QString, name);
    QTemporaryDir dir;
    Chart c(dir.path(), {});
    c.w->document().setLines(lotgrid::castOf(lines).lines);
    QCOMPARE(c.shot().fileName(at), name);
}

void TestScreenshot::savesJpegBesideTheProgram()
{
    QTemporaryDir dir;
    Chart c(dir.path(), dir.filePath(u"pictures"_s));
    c.enter(u"101000"_s);
    c.w->sheet().cx(6)->setChecked(true); // line 6 is an old yin: 101001
    QCOMPARE(c.w->sheet().TextBengua, u"101000"_s);
    QCOMPARE(c.w->sheet().TextSBG2, u"101001"_s);

    auto box = c.take();
    const QString name = u"六爻卜卦截图2014-101000-1010017.jpg"_s;
    QCOMPARE(filesIn(dir.path()), QStringList{name});
    const QString path = dir.filePath(name);
    QVERIFY(box->seen);
    QCOMPARE(box->title, u"提示"_s);
    QCOMPARE(box->icon, QMessageBox::Information);
    QCOMPARE(box->text, Prefix + QDir::toNativeSeparators(path));

    QCOMPARE(head(path, 3), QByteArray("\xFF\xD8\xFF"));
    QImage saved;
    QVERIFY(saved.load(path, "jpeg"));
    QCOMPARE(saved.size(), c.w->sheet().Image1.size());
    QVERIFY(!c.shot().TimerjietuO->isActive());
    QVERIFY(!c.shot().Timerjietu->isActive());
}

void TestScreenshot::existingFileIsKept_data()
{
    QTest::addColumn<QStringList>("existing");
    QTest::addColumn<QString>("written");
    const QString name = u"六爻卜卦截图2014-101000-1010007"_s;
    QTest::newRow("name free") << QStringList{} << name + u".jpg"_s;
    QTest::newRow("name taken") << QStringList{name + u".jpg"_s} << name + u" (2).jpg"_s;
    QTest::newRow("name and (2) taken") << QStringList{name + u".jpg"_s, name + u" (2).jpg"_s} << name + u" (3).jpg"_s;
    QTest::newRow("only (2) taken") << QStringList{name + u" (2).jpg"_s} << name + u".jpg"_s;
    QTest::newRow("a folder with the name") << QStringList{u"dir:"_s + name + u".jpg"_s} << name + u" (2).jpg"_s;
    // Any directory entry takes a name, a link that leads nowhere too; none is followed.
    QTest::newRow("a dangling link with the name")
        << QStringList{u"link:"_s + name + u".jpg"_s} << name + u" (2).jpg"_s;
    QTest::newRow("dangling links with the name and (2)")
        << QStringList{u"link:"_s + name + u".jpg"_s, u"link:"_s + name + u" (2).jpg"_s} << name + u" (3).jpg"_s;
    QTest::newRow("a link to a file with the name")
        << QStringList{u"file-link:"_s + name + u".jpg"_s} << name + u" (2).jpg"_s;
}

void TestScreenshot::existingFileIsKept()
{
    QFETCH(QStringList, existing);
    QFETCH(QString, written);
    QTemporaryDir dir;
    QTemporaryDir elsewhere; // where links lead
    makeFile(elsewhere.filePath(u"earlier"_s), "earlier picture");
    int entries = 0;
    for (const QString &e : existing) {
        ++entries;
        if (e.startsWith(u"dir:"_s))
            QVERIFY(QDir(dir.path()).mkdir(e.mid(4)));
        else if (e.startsWith(u"link:"_s))
            QVERIFY(QFile::link(elsewhere.filePath(u"missing %1.jpg"_s.arg(entries)), dir.filePath(e.mid(5))));
        else if (e.startsWith(u"file-link:"_s))
            QVERIFY(QFile::link(elsewhere.filePath(u"earlier"_s), dir.filePath(e.mid(10))));
        else
            makeFile(dir.filePath(e), "earlier picture " + e.toUtf8());
    }

    Chart c(dir.path(), dir.filePath(u"pictures"_s));
    c.enter(u"101000"_s);
    auto box = c.take();
    QCOMPARE(box->text, Prefix + QDir::toNativeSeparators(dir.filePath(written)));
    QCOMPARE(head(dir.filePath(written), 3), QByteArray("\xFF\xD8\xFF"));
    for (const QString &e : existing)
        if (!e.contains(u':'))
            QCOMPARE(head(dir.filePath(e), 100), "earlier picture " + e.toUtf8());
    // Nothing was written through a link, and nothing appeared where one leads.
    QCOMPARE(head(elsewhere.filePath(u"earlier"_s), 100), QByteArray("earlier picture"));
    QCOMPARE(QDir(elsewhere.path()).entryList(QDir::Files).size(), 1);
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot).size(),
             existing.size() + 1);
    QVERIFY(!QDir(dir.filePath(u"pictures"_s)).exists());
}

// Links that lead nowhere in both folders: the picture still goes beside the program.
void TestScreenshot::danglingLinksInBothFolders()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(u"program"_s));
    QVERIFY(QDir(dir.path()).mkdir(u"pictures"_s));
    const QString name = u"六爻卜卦截图2014-101000-1010007.jpg"_s;
    for (const QString &folder : {u"program"_s, u"pictures"_s})
        QVERIFY(QFile::link(dir.filePath(u"nowhere/"_s + folder), dir.filePath(folder + u'/' + name)));

    Chart c(dir.filePath(u"program"_s), dir.filePath(u"pictures"_s));
    c.enter(u"101000"_s);
    auto box = c.take();
    const QString written = dir.filePath(u"program/六爻卜卦截图2014-101000-1010007 (2).jpg"_s);
    QCOMPARE(box->icon, QMessageBox::Information);
    QCOMPARE(box->text, Prefix + QDir::toNativeSeparators(written));
    QCOMPARE(head(written, 3), QByteArray("\xFF\xD8\xFF"));
    QVERIFY(!QFileInfo::exists(dir.filePath(u"nowhere"_s)));
}

// Every numbered form of the name taken: the message says that, not that the folder is read-only.
void TestScreenshot::allNumberedNamesTaken()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(u"program"_s));
    const QString base = u"六爻卜卦截图2014-101000-1010007"_s;
    for (int n = 1; n <= 9999; ++n) {
        QFile f(dir.filePath(u"program/"_s + base + (n == 1 ? QString() : u" (%1)"_s.arg(n)) + u".jpg"_s));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }

    {
        Chart c(dir.filePath(u"program"_s), dir.filePath(u"pictures"_s));
        c.enter(u"101000"_s);
        auto box = c.take();
        QCOMPARE(box->icon, QMessageBox::Information);
        QCOMPARE(box->text, u"本程序路径下同名的截图已有 9999 个，程序已经将图片截图到：\n\n"_s
                                + QDir::toNativeSeparators(dir.filePath(u"pictures/"_s + base + u".jpg"_s)));
        QCOMPARE(filesIn(dir.filePath(u"program"_s)).size(), 9999);
    }
    {
        Chart c(dir.filePath(u"program"_s), {});
        c.enter(u"101000"_s);
        auto box = c.take();
        QCOMPARE(box->icon, QMessageBox::Warning);
        QVERIFY2(box->text.contains(u"原因：同名文件已有 9999 个"_s), qPrintable(box->text));
        QVERIFY2(!box->text.contains(u"无法写入"_s), qPrintable(box->text));
    }
}

// Paths are shown cleaned, without doubled separators or "..".
void TestScreenshot::shownPathsAreClean()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(u"program"_s));
    Chart c(dir.path() + u"//program/../program/"_s, {});
    c.enter(u"101000"_s);
    auto box = c.take();
    QCOMPARE(box->text,
             Prefix + QDir::toNativeSeparators(dir.filePath(u"program/六爻卜卦截图2014-101000-1010007.jpg"_s)));
}

// The fallback lies inside the user's home, or there is none; no folder is made at the top of the file system.
void TestScreenshot::fallbackStaysInTheHome_data()
{
    QTest::addColumn<QString>("home"); // "temp" for a fresh temporary folder; null for HOME unset
    QTest::addColumn<bool>("fallback");
    QTest::newRow("HOME unset") << QString() << false;
    QTest::newRow("HOME is /") << u"/"_s << false;
    QTest::newRow("HOME is //") << u"//"_s << false;
    QTest::newRow("HOME is a real folder") << u"temp"_s << true;
}

void TestScreenshot::fallbackStaysInTheHome()
{
#ifdef Q_OS_WIN
    QSKIP("Windows takes the home from the user's profile, not from HOME");
#endif
    QFETCH(QString, home);
    QFETCH(bool, fallback);
    QTemporaryDir temp;
    const QByteArray savedHome = qgetenv("HOME");
    const QByteArray savedConfig = qgetenv("XDG_CONFIG_HOME");
    qunsetenv("XDG_CONFIG_HOME"); // no user-dirs file of the real user
    if (home.isNull())
        qunsetenv("HOME");
    else
        qputenv("HOME", (home == u"temp" ? temp.path() : home).toUtf8());
    const QString pictures = lotgrid::platform::picturesFolder();
    const Environment env = Environment::production();
    qputenv("HOME", savedHome);
    if (!savedConfig.isEmpty())
        qputenv("XDG_CONFIG_HOME", savedConfig);

    QCOMPARE(env.screenshotFallbackFolder, pictures);
    if (fallback)
        QCOMPARE(pictures, temp.path() + u"/Pictures"_s);
    else
        QVERIFY2(pictures.isEmpty(), qPrintable(pictures));
}

void TestScreenshot::noTopLevelFolder_data()
{
    QTest::addColumn<QString>("folder");
    const QString unique = u"/lotgrid-screenshot-test-%1"_s.arg(QCoreApplication::applicationPid());
    QTest::newRow("top-level folder") << unique;
    QTest::newRow("under a new top-level folder") << unique + u"/Pictures"_s;
    QTest::newRow("written with doubled separators") << u"/"_s + unique + u"//Pictures"_s;
}

void TestScreenshot::noTopLevelFolder()
{
    QFETCH(QString, folder);
    const QString top = u"/"_s + folder.split(u'/', Qt::SkipEmptyParts).first();
    QVERIFY(!QFileInfo::exists(top));
    QString error;
    const bool made = lotgrid::platform::makeFolder(folder, &error);
    const bool created = QFileInfo::exists(top);
    if (created)
        QDir(top).removeRecursively();
    QVERIFY(!made);
    QVERIFY(!created);
    QVERIFY(!error.isEmpty());
}

// A full disk is reported with the file's own reason.
void TestScreenshot::fullDisk_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("small picture, fails on flush") << QSize(16, 16);
    QTest::newRow("large picture, fails while writing") << QSize(1200, 900);
}

void TestScreenshot::fullDisk()
{
    QFETCH(QSize, size);
    if (!QFileInfo::exists(u"/dev/full"_s))
        QSKIP("no /dev/full on this system");
    QImage image(size, QImage::Format_RGB32);
    quint32 x = 12345;
    for (int y = 0; y < image.height(); ++y)
        for (int i = 0; i < image.width(); ++i) {
            x = x * 1103515245u + 12345u; // noise, so the JPEG data is large
            image.setPixel(i, y, x >> 8);
        }
    QFile full(u"/dev/full"_s);
    QVERIFY(full.open(QIODevice::WriteOnly));
    const QString error = lotgrid::platform::writeJpeg(image, full);
    QVERIFY2(error.contains(u"No space left on device"_s), qPrintable(error));
}

void TestScreenshot::fallbackFolder_data()
{
    QTest::addColumn<QString>("folder"); // relative to a fresh temporary folder; "file" is a regular file
    QTest::addColumn<QString>("fallback");
    QTest::newRow("folder under a file") << u"file/program"_s << u"pictures"_s;
    QTest::newRow("folder is a file") << u"file"_s << u"pictures"_s;
    QTest::newRow("fallback to be made") << u"file/program"_s << u"home/user/Pictures"_s;
    QTest::newRow("no folder given") << QString() << u"pictures"_s;
}

void TestScreenshot::fallbackFolder()
{
    QFETCH(QString, folder);
    QFETCH(QString, fallback);
    QTemporaryDir dir;
    makeFile(dir.filePath(u"file"_s), "a regular file");
    QVERIFY(QDir(dir.path()).mkdir(u"pictures"_s));

    Chart c(folder.isEmpty() ? QString() : dir.filePath(folder), dir.filePath(fallback));
    c.enter(u"101000"_s);
    auto box = c.take();
    const QString path = dir.filePath(fallback + u"/六爻卜卦截图2014-101000-1010007.jpg"_s);
    QCOMPARE(box->title, u"提示"_s);
    QCOMPARE(box->icon, QMessageBox::Information);
    QCOMPARE(box->text, FallbackPrefix + QDir::toNativeSeparators(path));
    QCOMPARE(head(path, 3), QByteArray("\xFF\xD8\xFF"));
    QCOMPARE(head(dir.filePath(u"file"_s), 100), QByteArray("a regular file"));
}

void TestScreenshot::failureIsReported()
{
    QTemporaryDir dir;
    makeFile(dir.filePath(u"file"_s), "a regular file");
    const QString folder = dir.filePath(u"file/program"_s);
    const QString fallback = dir.filePath(u"file/Pictures"_s);

    Chart c(folder, fallback);
    c.enter(u"101000"_s);
    auto box = c.take();
    QVERIFY(box->seen);
    QCOMPARE(box->title, u"提示"_s);
    QCOMPARE(box->icon, QMessageBox::Warning);
    QVERIFY2(!box->text.contains(u"程序已经将图片截图到"_s), qPrintable(box->text));
    QVERIFY2(box->text.startsWith(u"截图未能保存。"_s), qPrintable(box->text));
    const QString name = u"六爻卜卦截图2014-101000-1010007.jpg"_s;
    QVERIFY2(box->text.contains(QDir::toNativeSeparators(folder + u'/' + name)), qPrintable(box->text));
    QVERIFY2(box->text.contains(QDir::toNativeSeparators(fallback + u'/' + name)), qPrintable(box->text));
    QCOMPARE(box->text.count(u"原因："_s), 2);
    QCOMPARE(filesIn(dir.path()), QStringList{u"file"_s});
    QVERIFY(!c.shot().TimerjietuO->isActive());
    QVERIFY(!c.shot().Timerjietu->isActive());
}

void TestScreenshot::capturesTheActiveWindow()
{
    QTemporaryDir dir;
    Chart c(dir.path(), {});
    c.enter(u"101000"_s);
    c.shot().jietutu_Click();

    QWidget other; // another window of the program, e.g. a reference table
    other.resize(123, 45);
    other.show();
    QApplication::setActiveWindow(&other);
    QTRY_COMPARE(QApplication::activeWindow(), &other);
    c.shot().stepTimerjietuO();
    QCOMPARE(c.w->sheet().Image1.size(), QSize(123, 45) * other.devicePixelRatio());

    other.close();
    QApplication::setActiveWindow(c.w.get());
    const QSize mainSize = c.w->size() * c.w->devicePixelRatio();
    auto box = answerNextModal(QMessageBox::Ok);
    c.shot().stepTimerjietu();
    QCOMPARE(c.w->sheet().Image1.size(), mainSize);
    QCOMPARE(box->icon, QMessageBox::Information);
}

void TestScreenshot::secondCommandMakesNoSecondFile()
{
    QTemporaryDir dir;
    Chart c(dir.path(), {});
    c.enter(u"101000"_s);
    c.shot().jietutu_Click();
    c.shot().jietutu_Click();
    QVERIFY(c.shot().TimerjietuO->isActive());
    QVERIFY(c.w->sheet().Image1.isNull()); // nothing is captured at once
    c.shot().stepTimerjietuO();
    QVERIFY(!c.w->sheet().Image1.isNull());
    QVERIFY(filesIn(dir.path()).isEmpty()); // the first capture is never saved
    c.shot().jietutu_Click();               // while waiting for the second capture
    QVERIFY(!c.shot().TimerjietuO->isActive());
    QVERIFY(c.shot().Timerjietu->isActive());
    auto box = answerNextModal(QMessageBox::Ok);
    c.shot().stepTimerjietu();
    QVERIFY(box->seen);
    QVERIFY(!c.shot().TimerjietuO->isActive());
    QVERIFY(!c.shot().Timerjietu->isActive());
    QCOMPARE(filesIn(dir.path()).size(), 1);
}

void TestScreenshot::secondCommandOnTheClock()
{
    // Ctrl+S twice, on the real timers: one file, about 1.8 s after the first press.
    QTemporaryDir dir;
    Chart c(dir.path(), {});
    c.enter(u"101000"_s);
    QElapsedTimer clock;
    clock.start();
    qint64 shownAfter = -1;
    auto box = answerNextModal(QMessageBox::Ok, {});
    QObject::connect(c.shot().Timerjietu, &QTimer::timeout, [&] { shownAfter = clock.elapsed(); });
    c.jietutu()->trigger();
    QTest::qWait(100);
    c.jietutu()->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(box->seen, 5000);
    QVERIFY2(shownAfter >= 1700, qPrintable(QString::number(shownAfter)));
    QCOMPARE(filesIn(dir.path()).size(), 1);
    QVERIFY(!c.shot().TimerjietuO->isActive());
    QVERIFY(!c.shot().Timerjietu->isActive());
}

void TestScreenshot::commandAvailability()
{
    QTemporaryDir dir;
    Chart c(dir.path(), {});
    QAction *jietutu = c.jietutu();
    QVERIFY(jietutu);
    QCOMPARE(jietutu->text(), u"截图(&S)"_s);
    QCOMPARE(jietutu->shortcut(), QKeySequence(u"Ctrl+S"_s));

    const QString key = u"101000"_s;
    for (int n = 1; n <= 5; ++n) {
        QTest::keyClicks(c.w->sheet().Text(n), key.mid(n - 1, 1));
        QVERIFY2(!jietutu->isEnabled(), qPrintable(u"after line %1"_s.arg(n)));
    }
    jietutu->trigger(); // a disabled command does nothing
    QVERIFY(!c.shot().TimerjietuO->isActive());

    QTest::keyClicks(c.w->sheet().Text(6), u"0"_s);
    QVERIFY(jietutu->isEnabled());
    jietutu->trigger();
    QVERIFY(c.shot().TimerjietuO->isActive());
    c.shot().TimerjietuO->stop();

    answerNextModal(QMessageBox::Yes);
    c.w->news_Click();
    QVERIFY(!jietutu->isEnabled());
}

QTEST_MAIN(TestScreenshot)
#include "tst_screenshot.moc"
