// The chart taken out of the main window: 复制卦象文本 puts the chart's text on
// the clipboard, 导出图片… writes the drawn chart as a picture at twice the
// pixel density where the file dialog says, in the format its suffix names,
// asking before replacing a file and reporting a failed write as a failure.
#include "common/mainwindowfixture.h"
#include "common/modal.h"
#include "guapan/guapanlayout.h"
#include "guapan/guapanview.h"
#include "ui/chartexport.h"
#include "widgets/toolwindows.h"
#include "widgets/traditional.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

using namespace lotgrid;
using namespace Qt::StringLiterals;

namespace {

const QDateTime SavedAt(QDate(2014, 10, 24), QTime(9, 5, 37));

// 坎为水 with line 1 old yin, to 水泽节; day 甲午 and month 寅 chosen by hand.
CastInput kanToJie()
{
    CastInput in;
    const QString key = u"010010"_s;
    for (int n = 1; n <= 6; ++n)
        in.line(n) = {key[n - 1].unicode(), n == 1};
    in.dayStem = 0;
    in.monthBuild = Branch::Yin;
    in.dayBuild = Branch::Wu;
    in.moment = Moment{{2014, 10, 24}, 9, 5};
    return in;
}

// The chart below the moment's line, written out by hand: 辰 void and 巳 化空 by
// 甲午旬 (辰巳), 申 月破 by the 寅 month, 子 日破 by the 午 day (water is weak in a
// wood month), 六冲 to 六合, 卦身 亥 on no line; each line's season in 寅 and stage at 午,
// the 寅午戌 harmony the moving 寅 completes, and 颐/离/坎 as 互/错/综.
const QString KanToJieText
    = u"月建：寅  日建：甲午  旬空：辰巳\n"
      u"卜问何事：问工作\n"
      u"性别：女\n"
      u"本卦：坎为水（坎宫）　六冲  变卦：水泽节（坎宫）　六合  六冲变六合\n"
      u"玄武　▅▅　▅▅　兄弟子水　　世　　　　　　　　　　　休·胎　　日破\n"
      u"白虎　▅▅▅▅▅　官鬼戌土　　　　　　　　　　　　　　死·胎\n"
      u"腾蛇　▅▅　▅▅　父母申金　　　　　　　　　　　　　　囚·沐浴　月破\n"
      u"勾陈　▅▅　▅▅　妻财午火　　应　　　　　　　　　　　相·帝旺\n"
      u"朱雀　▅▅▅▅▅　官鬼辰土空　　　　　　　　　　　　　死·胎\n"
      u"青龙　▅▅　▅▅　子孙寅木　　　　×　→　妻财巳火空　旺·死　　化空\n"
      u"卦身：亥\n"
      u"贵人：丑未  禄：寅  羊刃：卯  文昌：巳  驿马：申  桃花：卯  将星：午  华盖：戌  劫煞：亥  灾煞：子  天医：丑\n"
      u"三合：寅午戌火局（初爻寅、三爻午、五爻戌）\n"
      u"互卦：山雷颐  错卦：离为火  综卦：坎为水\n"
      // From the moment's day 戊辰 on: the world line 子 is weak and clashed by the 午 day, so it waits for
      // its own 子 days, for 丑 to combine it and for 申 and 子, water's 长生 and 帝旺.
      u"应期参考：2014-10-28 壬申日（生旺）  2014-11-01 丙子日（值、生旺）  2014-11-02 丁丑日（合）  "
      u"2014-11-09 甲申日（生旺）\n"_s;

// Without a category no use god: 世 子 overcomes and clashes 应 午; 坎 六冲 turns 节 六合.
const QString KanToJieSummary = u"要点：\n"
                                u"　世上爻子水，应三爻午火：世克应、相冲\n"
                                u"　六冲变六合\n"
                                u"　趋势：—（未选占类，无用神，只列世应与卦象。）\n"_s;

// One moving line, 坎's first: its 爻辞 and 小象.
const QString KanToJieTexts = u"经文（一爻变）：\n"
                              u"【主】坎 初六：习坎，入于坎窞，凶。\n"
                              u"　　　　象曰：习坎入坎，失道凶也。\n"_s;

struct Window {
    QTemporaryDir dir;
    QString proposed;                           // what the file dialog was offered
    QString chosen;                             // what it answers; empty cancels
    bool replace = false;                       // the answer to "replace?"
    bool chooseDark = false;                    // the picture's variant chosen in the dialog
    QPageSize::PageSizeId page = QPageSize::A4; // the page size a PDF is asked for
    bool printTexts = false;                    // 打印经文 as the PDF's page dialog answers
    bool proposedTexts = false;                 // 打印经文 as the PDF's page dialog was offered it
    QStringList asked;                          // the questions asked
    std::unique_ptr<MainWindow> w;

    Window()
    {
        Environment env = testEnvironment();
        env.now = [] { return SavedAt; };
        env.picturesFolder = dir.filePath(u"Pictures"_s);
        env.saveFileName = [this](QWidget *, const QString &, const QString &path, bool *dark) {
            proposed = path;
            if (dark)
                *dark = chooseDark;
            return chosen;
        };
        env.ask = [this](QWidget *, const QString &, const QString &text) {
            asked << text;
            return replace;
        };
        env.pageSize = [this](QWidget *, bool *texts) {
            proposedTexts = texts && *texts;
            if (texts)
                *texts = printTexts;
            return std::optional(page);
        };
        w = makeMainWindow(env);
        w->applySchoolOptions(schoolPreset(School::Common)); // the text of the modern rules
        w->show();
    }

    ChartSheet &sheet() { return w->sheet(); }
    QAction *action(const QString &name) { return w->findChild<QAction *>(name); }

    void load()
    {
        w->setCastMoment(chinaTime(QDate(2000, 1, 1), QTime(12, 0)));
        w->loadCast(kanToJie());
        sheet().TextWHS->setText(u"问工作"_s);
        sheet().Combo1->setCurrentText(u"女"_s);
    }

    // Runs the export command; returns the message box it showed. Only a
    // command that shows one may be run this way: the box is awaited.
    std::shared_ptr<ModalAnswer> exportPicture()
    {
        auto answer = answerNextModal(QMessageBox::Ok);
        action(u"daochu"_s)->trigger(); // returns once the box is answered
        return answer;
    }
};

} // namespace

class TestChartExport : public QObject
{
    Q_OBJECT
private slots:
    void copyNeedsSixLines()
    {
        Window win;
        QAction *fuzhi = win.action(u"fuzhi"_s);
        QVERIFY(!fuzhi->isEnabled() && !win.action(u"daochu"_s)->isEnabled());
        for (int n = 1; n <= 5; ++n)
            QTest::keyClicks(win.sheet().Text(n), u"1"_s);
        QVERIFY(!fuzhi->isEnabled());
        QTest::keyClicks(win.sheet().Text(6), u"0"_s);
        QVERIFY(fuzhi->isEnabled() && win.action(u"daochu"_s)->isEnabled());
    }

    void copyPutsTheChartOnTheClipboard()
    {
        Window win;
        win.load();
        QGuiApplication::clipboard()->clear();
        QAction *fuzhi = win.action(u"fuzhi"_s);
        QVERIFY(fuzhi->isEnabled());
        fuzhi->trigger();
        QString text = QGuiApplication::clipboard()->text();
        QVERIFY(win.w->statusBar()->currentMessage().contains(u"复制"_s));
        // The cast's moment heads the text, with its pillars worked by hand:
        // 戊午 on 2000-01-01 + 5410 days = 戊辰; after 寒露 a 戌 month, 甲 year → 甲戌;
        // 巳 hour of a 戊 day → 丁巳, five minutes into it: the 辰 hour before is 丙辰. The builds were
        // chosen by hand apart from it.
        const QString momentLine = u"起卦时间：2014-10-24 09:05  甲午年 甲戌月 戊辰日 丁巳时\n"
                                   "临界：起卦在巳时之始（2014-10-24 09:00）后5分钟，另一侧为丙辰时\n"_s;
        QVERIFY2(text.startsWith(momentLine), qPrintable(text.left(60)));
        text.remove(0, momentLine.size());
        QCOMPARE(text, KanToJieText + KanToJieSummary + KanToJieTexts);
    }

    void copyByShortcut()
    {
        Window win;
        win.load();
        QGuiApplication::clipboard()->clear();
        QVERIFY(QTest::qWaitForWindowActive(win.w.get()));
        QTest::keyClick(win.w.get(), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(QGuiApplication::clipboard()->text().endsWith(KanToJieText + KanToJieSummary + KanToJieTexts));
    }

    // Light unless the save dialog asks for the dark variant.
    void exportWritesTheDrawingAtTwiceTheDensity_data()
    {
        QTest::addColumn<bool>("dark");
        QTest::newRow("light") << false;
        QTest::newRow("dark") << true;
    }
    void exportWritesTheDrawingAtTwiceTheDensity()
    {
        QFETCH(bool, dark);
        Window win;
        win.chooseDark = dark;
        win.load();
        QVERIFY(QDir(win.dir.path()).mkpath(u"Pictures"_s));
        win.chosen = win.dir.filePath(u"chart.png"_s);
        QVERIFY(QTest::qWaitForWindowExposed(win.w.get()));
        const GuapanWords words{u"问工作"_s, {}, false};
        const QSizeF drawing = guapanLayout(win.w->document().chart(), words, {QApplication::font(), 1.0}).size;
        QStringList opened;
        setFolderOpener([&opened](const QString &folder) { return (opened << folder, true); });
        win.action(u"daochu"_s)->trigger(); // no box: the status bar tells
        // The Pictures folder; the hexagrams and the moment of the cast (the test clock) name the file.
        QCOMPARE(win.proposed, win.dir.filePath(u"Pictures/六爻_坎为水之水泽节_20141024-0905.png"_s));
        QVERIFY(win.asked.isEmpty());
        // The file's name in the status bar, and a link that opens its folder.
        const auto *said = win.w->statusBar()->findChild<QLabel *>(u"wenjianXiaoxi"_s);
        auto *link = win.w->statusBar()->findChild<QLabel *>(u"dakaiWenjianjia"_s);
        QVERIFY(said->isVisible() && link->isVisible() && link->text().contains(u"打开所在文件夹"_s));
        QCOMPARE(said->text(), u"卦象图片已保存：chart.png"_s);
        emit link->linkActivated(u"folder"_s);
        QCOMPARE(opened, QStringList{QFileInfo(win.chosen).absolutePath()});
        setFolderOpener({});

        QImageReader reader(win.chosen);
        QCOMPARE(reader.format(), QByteArray("png"));
        const QImage image = reader.read();
        QCOMPARE(image.size(), (drawing * 2 * win.w->devicePixelRatioF()).toSize());
        QCOMPARE(image.pixelColor(2, 2).lightness() < 128, dark);
    }

    // 复制卦盘图片 (Ctrl+Alt+C): the drawing at twice the density on the clipboard.
    // 导出长图…: the 卦盘 and under it the 断卦要点 and the 经文, as wide as the 卦盘.
    void pictureOnTheClipboardAndLongPicture()
    {
        Window win;
        win.load();
        QVERIFY(QTest::qWaitForWindowActive(win.w.get()));
        const QSizeF drawing
            = guapanLayout(win.w->document().chart(), {u"问工作"_s, u"手动摇卦"_s, false}, {QApplication::font(), 1.0})
                  .size;
        QTest::keyClick(win.w.get(), Qt::Key_C, Qt::ControlModifier | Qt::AltModifier);
        QCOMPARE(QGuiApplication::clipboard()->image().size(), (drawing * 2 * win.w->devicePixelRatioF()).toSize());
        win.chosen = win.dir.filePath(u"long"_s);
        win.action(u"changtu"_s)->trigger();
        const QImage image(win.chosen + u".png"_s);
        QCOMPARE(image.width(), (drawing * 2 * win.w->devicePixelRatioF()).toSize().width());
        QVERIFY(image.height() > drawing.height() * 2.2);
        QCOMPARE(win.w->statusBar()->findChild<QLabel *>(u"wenjianXiaoxi"_s)->text(), u"长图已保存：long.png"_s);
        const QList<GuapanBlock> blocks = win.w->chartExport().longPictureBlocks();
        QCOMPARE(blocks.size(), 2);
        QVERIFY(blocks[0].heading == u"断卦要点"_s && blocks[0].text.contains(u"趋势："_s));
    }

    // 输出繁体: what leaves the program is in Traditional characters as OpenCC
    // converts them (应期 → 應期, 卦盘 → 卦盤, 为 → 為); the pane stays Simplified.
    void traditionalOutput_data()
    {
        QTest::addColumn<QString>("command");
        QTest::newRow("copied text") << u"fuzhi"_s;
        QTest::newRow("AI question") << u"fuzhiAI"_s;
    }
    void traditionalOutput()
    {
        QFETCH(QString, command);
        QCOMPARE(toTraditional(u"应期参考 卦盘 坎为水"_s).value_or(QString()), u"應期參考 卦盤 坎為水"_s);
        Window win;
        win.load();
        win.action(command)->trigger();
        const QString simplified = QGuiApplication::clipboard()->text();
        win.action(u"fanti"_s)->trigger();
        win.action(command)->trigger();
        const QString traditional = QGuiApplication::clipboard()->text();
        QVERIFY(simplified.contains(u"坎为水"_s) && traditional.contains(u"坎為水"_s));
        QCOMPARE(traditional, toTraditional(simplified).value_or(QString()));
        QCOMPARE(guapanModel(win.w->document().chart(), win.w->chartExport().outputWords()).original.name, u"坎為水"_s);
        QCOMPARE(win.w->findChild<GuapanView *>(u"guapan"_s)->model().original.name, u"坎为水"_s);
    }

    // The print preview offers 打印经文; its choice stands for the next print and PDF.
    void printTextsChoiceIsKept()
    {
        Window win;
        win.load();
        bool found = false;
        auto answer = answerNextModal(QMessageBox::Ok, [&found](QWidget *dialog) {
            if (auto *box = dialog->findChild<QCheckBox *>(u"dayinJingwen"_s)) {
                found = !box->isChecked();
                box->setChecked(true);
            }
            dialog->close();
        });
        win.action(u"dayin"_s)->trigger();
        QVERIFY(answer->seen && found);
        win.chosen = win.dir.filePath(u"chart.pdf"_s);
        win.action(u"daochupdf"_s)->trigger();
        QVERIFY(win.proposedTexts);
    }

    // Without a Pictures folder the dialog opens in the home folder, not the working one.
    // One page of the chosen ISO size (A4 210 mm, A5 148 mm wide: 595 and 420
    // points), the suffix added, and where it went told in the status bar.
    void pdfOfTheChosenPageSize_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<double>("widthPt");
        QTest::addColumn<bool>("texts"); // 打印经文: the texts on a second page
        QTest::newRow("A4") << int(QPageSize::A4) << 210 / 25.4 * 72 << false;
        QTest::newRow("A5") << int(QPageSize::A5) << 148 / 25.4 * 72 << false;
        QTest::newRow("A5 with the texts") << int(QPageSize::A5) << 148 / 25.4 * 72 << true;
    }
    void pdfOfTheChosenPageSize()
    {
        QFETCH(int, page);
        QFETCH(double, widthPt);
        QFETCH(bool, texts);
        Window win;
        win.load();
        win.page = static_cast<QPageSize::PageSizeId>(page);
        win.printTexts = texts;
        win.chosen = win.dir.filePath(u"chart"_s);
        QVERIFY(win.action(u"daochupdf"_s)->isEnabled());
        win.action(u"daochupdf"_s)->trigger();
        QVERIFY(win.proposed.endsWith(u"六爻_坎为水之水泽节_20141024-0905.pdf"_s));
        QFile pdf(win.chosen + u".pdf"_s);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        const QByteArray bytes = pdf.readAll();
        QVERIFY(bytes.startsWith("%PDF"));
        const qsizetype box = bytes.indexOf("/MediaBox [0 0 ");
        QVERIFY(box >= 0);
        const QList<QByteArray> numbers = bytes.mid(box + 15, 40).split(' ');
        QVERIFY2(qAbs(numbers.value(0).toDouble() - widthPt) < 1, bytes.mid(box, 60).constData());
        QCOMPARE(bytes.count("/Type /Page\n") + bytes.count("/Type /Page "), texts ? 2 : 1);
        QCOMPARE(win.w->statusBar()->findChild<QLabel *>(u"wenjianXiaoxi"_s)->text(),
                 u"PDF 已保存："_s + QFileInfo(pdf).fileName());
    }

    void exportProposesHomeWithoutPictures()
    {
        Window win;
        win.load();
        win.chosen.clear();
        win.action(u"daochu"_s)->trigger();
        QCOMPARE(QFileInfo(win.proposed).absolutePath(), QDir::homePath());
    }

    void exportWritesTheFormatOfTheSuffix_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("written");
        QTest::addColumn<QByteArray>("format");
        QTest::newRow("no suffix") << u"chart"_s << u"chart.png"_s << QByteArray("png");
        QTest::newRow("a dot") << u"dot."_s << u"dot.png"_s << QByteArray("png");
        QTest::newRow("jpg") << u"pic.jpg"_s << u"pic.jpg"_s << QByteArray("jpeg");
        QTest::newRow("not a picture") << u"a.chart"_s << u"a.chart.png"_s << QByteArray("png");
    }
    void exportWritesTheFormatOfTheSuffix()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, written);
        QFETCH(QByteArray, format);
        Window win;
        win.load();
        win.chosen = win.dir.filePath(chosen);
        win.action(u"daochu"_s)->trigger();
        QCOMPARE(QImageReader(win.dir.filePath(written)).format(), format);
    }

    void exportCancelled()
    {
        Window win;
        win.load();
        win.chosen.clear();
        win.action(u"daochu"_s)->trigger();
        QVERIFY(!win.proposed.isEmpty());
        QVERIFY(QDir(win.dir.path()).entryList(QDir::Files).isEmpty());
    }

    void exportAsksBeforeReplacing_data()
    {
        QTest::addColumn<bool>("replace");
        QTest::newRow("kept") << false;
        QTest::newRow("replaced") << true;
    }
    void exportAsksBeforeReplacing()
    {
        QFETCH(bool, replace);
        Window win;
        win.load();
        win.chosen = win.dir.filePath(u"chart.png"_s);
        QFile old(win.chosen);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("an older file");
        old.close();
        win.replace = replace;
        win.action(u"daochu"_s)->trigger();
        QCOMPARE(win.asked.size(), 1);
        QVERIFY(win.asked[0].contains(QDir::toNativeSeparators(win.chosen)));
        QVERIFY(win.asked[0].contains(u"要替换它吗"_s));
        QFile now(win.chosen);
        QVERIFY(now.open(QIODevice::ReadOnly));
        const QByteArray content = now.readAll();
        if (replace)
            QVERIFY(content.startsWith("\x89PNG"));
        else
            QCOMPARE(content, QByteArray("an older file"));
    }

    // A folder that is a file cannot be written into, whoever runs the test.
    void exportFailureIsReported()
    {
        Window win;
        win.load();
        QFile blocker(win.dir.filePath(u"notafolder"_s));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        win.chosen = win.dir.filePath(u"notafolder/chart.png"_s);
        const auto answer = win.exportPicture();
        QVERIFY(answer->seen);
        QCOMPARE(answer->icon, QMessageBox::Warning);
        QVERIFY2(answer->text.startsWith(u"卦象图片未能保存到：\n\n"_s + QDir::toNativeSeparators(win.chosen)),
                 qPrintable(answer->text));
        QVERIFY(answer->text.contains(u"原因："_s));
        QVERIFY(!answer->text.contains(u"已经保存"_s));
        QVERIFY(!QFile::exists(win.chosen));
    }

    void writePngRefusesAnUnwritablePath()
    {
        QTemporaryDir dir;
        QString error;
        QImage image(4, 4, QImage::Format_ARGB32);
        image.fill(Qt::red);
        QVERIFY(ChartExport::writePng(image, dir.filePath(u"a.png"_s), &error));
        QVERIFY(error.isEmpty());
        QVERIFY(!ChartExport::writePng(image, dir.filePath(u"a.png/b.png"_s), &error));
        QVERIFY(!error.isEmpty());
    }
};

QTEST_MAIN(TestChartExport)
#include "tst_chartexport.moc"
