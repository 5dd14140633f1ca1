// The reference, help and about windows as the main window opens them: one
// window per menu item, the modal about box, the void table against the
// sexagenary cycle, and the fixed texts in reading order.

#include "common/modal.h"
#include "sheet/chartsheet.h"
#include "ui/mainwindow.h"
#include "ui/reference/referencewindows.h"
#include "widgets/chartcolours.h"
#include "widgets/linefield.h"

#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTextBrowser>

using namespace Qt::StringLiterals;
using namespace lotgrid;

class TestReferenceWindows : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void oneWindowPerMenuItem_data();
    void oneWindowPerMenuItem();
    void closingTheMainWindowClosesThemAll();
    void aboutBlocksTheMainWindowUntilClosed();
    void voidTableFollowsTheSexagenaryCycle();
    void strengthTable();
    void newFeaturesPage();
    void tablesFollowTheDesktop_data();
    void tablesFollowTheDesktop();
    void textsInReadingOrder_data();
    void textsInReadingOrder();

private:
    QWidget *open(const QString &item, const QString &name);
    std::unique_ptr<MainWindow> m_main;
};

namespace {
const QStringList MenuItems{u"chaxun"_s, u"xunk"_s, u"wx"_s, u"yaox"_s, u"yaoh"_s, u"yaoc"_s, u"help1"_s};
const QStringList WindowNames{u"Fenshen"_s, u"Liujia"_s, u"Sswx1"_s, u"Yao3x"_s, u"yao6h"_s, u"yao6c"_s, u"Helpf"_s};

int topLevelCount(const QString &name)
{
    int count = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        count += w->objectName() == name;
    return count;
}

QStringList labelTexts(const QWidget *window)
{
    QStringList texts;
    for (const QLabel *label : window->findChildren<QLabel *>())
        if (!label->text().isEmpty())
            texts << label->text();
    return texts;
}
} // namespace

void TestReferenceWindows::init()
{
    Environment env = Environment::production();
    env.quit = [] {};
    env.journalPath.clear(); // never the user's journal
    m_main = std::make_unique<MainWindow>(env);
    m_main->show();
}

void TestReferenceWindows::cleanup()
{
    m_main.reset();
}

QWidget *TestReferenceWindows::open(const QString &item, const QString &name)
{
    m_main->findChild<QAction *>(item)->trigger();
    return m_main->findChild<QWidget *>(name, Qt::FindDirectChildrenOnly);
}

void TestReferenceWindows::oneWindowPerMenuItem_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    const QStringList captions{u"查询"_s,     u"六甲旬空表"_s, u"四时旺相"_s, u"爻之三刑"_s,
                               u"爻之六合"_s, u"爻之六冲"_s,   u"帮助"_s};
    for (int i = 0; i < MenuItems.size(); ++i)
        QTest::newRow(qPrintable(MenuItems[i])) << MenuItems[i] << WindowNames[i] << captions[i];
}

void TestReferenceWindows::oneWindowPerMenuItem()
{
    QFETCH(QString, item);
    QFETCH(QString, name);
    QFETCH(QString, caption);

    QPointer<QWidget> first = open(item, name);
    QVERIFY(first);
    QVERIFY(first->isWindow());
    QVERIFY(first->isVisible());
    QVERIFY(!first->isModal());
    QCOMPARE(first->parentWidget(), m_main.get());
    QCOMPARE(first->windowTitle(), caption);

    first->showMinimized();
    for (int i = 0; i < 3; ++i)
        QCOMPARE(open(item, name), first.data());
    QCOMPARE(topLevelCount(name), 1);
    QVERIFY(!first->isMinimized());

    first->close();
    QTRY_VERIFY(first.isNull());
    QPointer<QWidget> second = open(item, name);
    QVERIFY(second && second->isVisible());
    QCOMPARE(topLevelCount(name), 1);
}

void TestReferenceWindows::closingTheMainWindowClosesThemAll()
{
    QList<QPointer<QWidget>> windows;
    for (int i = 0; i < MenuItems.size(); ++i)
        windows << open(MenuItems[i], WindowNames[i]);
    m_main->close();
    for (const QPointer<QWidget> &w : windows)
        QTRY_VERIFY(w.isNull());
}

void TestReferenceWindows::aboutBlocksTheMainWindowUntilClosed()
{
    LineField *text1 = m_main->sheet().Text(1);
    text1->setFocus();

    QString modalName, caption, typedWhileOpen;
    QStringList texts;
    QSize iconSize;
    bool closed = false;
    auto answer = answerNextModal(QMessageBox::Ok, [&](QWidget *modal) {
        modalName = modal->objectName();
        caption = modal->windowTitle();
        texts = labelTexts(modal);
        iconSize = modal->findChild<QLabel *>(u"icon"_s)->pixmap().deviceIndependentSize().toSize();
        QTest::keyClick(m_main->windowHandle(), Qt::Key_1);
        typedWhileOpen = text1->text();
        auto *button = modal->findChild<QPushButton *>(u"Command1"_s);
        QCOMPARE(button->text(), u"关闭"_s);
        QTest::mouseClick(button, Qt::LeftButton);
        closed = true;
    });
    m_main->findChild<QAction *>(u"about"_s)->trigger(); // returns once the box is closed
    QVERIFY(answer->seen);
    QVERIFY(closed);
    QCOMPARE(modalName, u"aboutt"_s);
    QCOMPARE(caption, u"关于"_s);
    QCOMPARE(texts, QStringList({u"Lotgrid(六爻) V1.0"_s, u"业余开发，间接性更新"_s}));
    QCOMPARE(iconSize, QSize(48, 48));
    QCOMPARE(typedWhileOpen, QString());
    QCOMPARE(QApplication::activeModalWidget(), nullptr);

    QTest::keyClick(m_main->windowHandle(), Qt::Key_1);
    QCOMPARE(text1->text(), u"1"_s);
}

void TestReferenceWindows::voidTableFollowsTheSexagenaryCycle()
{
    const QString stems = u"甲乙丙丁戊己庚辛壬癸"_s;
    const QString branches = u"子丑寅卯辰巳午未申酉戌亥"_s;
    const auto day = [&](int n) { return QString(stems[n % 10]) + branches[n % 12]; }; // n in [0, 59]

    QWidget *window = open(u"xunk"_s, u"Liujia"_s);
    QCOMPARE(labelTexts(window), QStringList{u"六甲空亡表"_s});
    auto *table = window->findChild<QTableWidget *>();
    QVERIFY(table);
    QCOMPARE(table->rowCount(), 11);
    QCOMPARE(table->columnCount(), 6);
    for (int decade = 0; decade < 6; ++decade) {
        const int first = decade * 10;
        QCOMPARE(table->item(0, decade)->text(), day(first) + u"旬"_s);
        QString voidPair;
        for (int b = 0; b < 12; ++b) {
            bool used = false;
            for (int n = first; n < first + 10; ++n)
                used = used || n % 12 == b;
            if (!used)
                voidPair += branches[b];
        }
        for (int k = 1; k <= 9; ++k)
            QCOMPARE(table->item(k, decade)->text(), day(first + k));
        QCOMPARE(table->item(10, decade)->text(), voidPair);

        QCOMPARE(table->item(0, decade)->background().color(), table->item(0, 0)->background().color());
        QVERIFY(table->item(0, decade)->background().color() != QColor(Qt::white));
        QCOMPARE(table->item(10, decade)->foreground().color().hue(), 300); // magenta
        QCOMPARE(table->item(10, decade)->background().color(), table->item(1, decade)->background().color());
    }
    QVERIFY(!(table->item(5, 2)->flags() & Qt::ItemIsEditable));
    QVERIFY(table->item(5, 2)->flags() & Qt::ItemIsSelectable);
}

void TestReferenceWindows::strengthTable()
{
    QWidget *window = open(u"wx"_s, u"Sswx1"_s);
    QCOMPARE(labelTexts(window), QStringList{u"四时旺相"_s});
    auto *table = window->findChild<QTableWidget *>();
    // The cells themselves are checked against the rule and the sheet with the reading window.
    const QString months = u"寅卯辰巳午未申酉戌亥子丑"_s;
    QCOMPARE(table->rowCount(), 13);
    for (int row = 0; row < table->rowCount(); ++row) {
        QCOMPARE(table->item(row, 0)->text(), row == 0 ? QString() : months.at(row - 1) + u"月"_s);

        // Blue header with bold element names; bold months; rows shaded alternately.
        const QColor ground = table->item(row, 1)->background().color();
        QVERIFY(ground.blue() > ground.red());
        QVERIFY(table->item(row, row == 0 ? 1 : 0)->font().bold());
        if (row > 1)
            QVERIFY(ground != table->item(row - 1, 1)->background().color());
    }
}

// The second help page: every colour of the marks it names filled in, no placeholder left.
void TestReferenceWindows::newFeaturesPage()
{
    std::unique_ptr<QWidget> w(createXinbangzhu(nullptr));
    auto *page = w->findChild<QTextBrowser *>(u"xinbangzhuText"_s);
    QVERIFY(page && !page->toHtml().contains(u'$'));
}

void TestReferenceWindows::tablesFollowTheDesktop_data()
{
    QTest::addColumn<QRgb>("window"); // the desktop's window and base colour
    QTest::newRow("light") << QRgb(0xefefef);
    QTest::newRow("dark") << QRgb(0x353535);
}

// Every cell of both tables reads (4.5:1) on the desktop's ground, whether the
// window was opened before or after the desktop turned light or dark.
void TestReferenceWindows::tablesFollowTheDesktop()
{
    QFETCH(QRgb, window);
    const QPalette before = QApplication::palette();
    const bool dark = QColor::fromRgb(window).lightness() < 128;
    QList<QTableWidget *> tables{open(u"xunk"_s, u"Liujia"_s)->findChild<QTableWidget *>()};
    QApplication::setPalette(QPalette(QColor::fromRgb(window), QColor::fromRgb(window)));
    tables << open(u"wx"_s, u"Sswx1"_s)->findChild<QTableWidget *>();
    for (QTableWidget *table : tables)
        for (int row = 0; row < table->rowCount(); ++row)
            for (int column = 0; column < table->columnCount(); ++column) {
                const QTableWidgetItem *item = table->item(row, column);
                const QColor text = item->foreground().color(), ground = item->background().color();
                QVERIFY2(contrastRatio(text, ground) >= 4.5, qPrintable(item->text()));
                QVERIFY(row == 0 || (ground.lightness() < 128) == dark);
            }
    QApplication::setPalette(before);
}

void TestReferenceWindows::textsInReadingOrder_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("Yao3x") << u"yaox"_s << u"Yao3x"_s
                           << QStringList{u"爻之三刑"_s,
                                          u"子刑卯、卯刑子，为无礼之刑"_s,
                                          u"巳刑申，申刑寅，寅刑巳，为持势之刑"_s,
                                          u"丑刑戌、戌刑未，未刑土，为无恩之刑"_s,
                                          u"辰、午、酉、亥自刑"_s,
                                          u"相刑，不仅卦爻中动变而成，卦爻与日、月也可勾为三刑"_s,
                                          u"相刑虽主凶灾之事，但也有贪合忘刑之别"_s};
    QTest::newRow("yao6h") << u"yaoh"_s << u"yao6h"_s
                           << QStringList{u"爻之六合"_s, u"六合：子丑、寅亥、卯戌、辰酉、巳申、午未"_s,
                                          u"应来合世：为他来合我；世爻合应，为我去合他"_s,
                                          u"合有合申有生，合申有克：如子与丑合，卯与戌合，巳与申合，为合申有克"_s,
                                          u"合申有生：如寅与亥合，辰与酉合，午与未合"_s};
    QTest::newRow("yao6c")
        << u"yaoc"_s << u"yao6c"_s
        << QStringList{u"爻之六冲"_s,
                       u"爻之相冲：子午、丑未、寅申、卯酉、巳亥、辰戌"_s,
                       u"六冲卦有：乾、坎、艮、震、巽、离、坤、兑、天雷无妄、雷天大壮"_s,
                       u"日辰冲动爻为散，动爻冲爻为散。旺相者，冲之不散；有气者，冲之不散；休囚者，遇冲易散。"_s,
                       u"相冲者有六："_s,
                       u"1.日月冲爻"_s,
                       u"2.卦逢六冲"_s,
                       u"3.六合变六冲"_s,
                       u"4.六冲变六冲"_s,
                       u"5.动爻变冲"_s,
                       u"6.爻与爻冲"_s,
                       u"爻冲有五："_s,
                       u"1.爻遇月冲为月破"_s,
                       u"2.爻旺相遇日冲为暗动"_s,
                       u"3.爻休囚遇日冲为日破"_s,
                       u"4.动爻化回头冲，如逢仇敌"_s,
                       u"5.爻与爻冲，谓之相击"_s};
    QTest::newRow("Helpf") << u"help1"_s << u"Helpf"_s
                           << QStringList{u"帮助指南"_s,
                                          u"8. 菜单中带截图功能，快捷键为Ctrl+S"_s,
                                          u"使用指南"_s,
                                          u"2. 手摇占卦者，请在1爻至6爻中填入手摇的卦，阳用“1”"_s,
                                          u"代表，阴用“0”代表，如果有太阳或者太阴（动爻），请"_s,
                                          u"在后面的框框中打上勾。"_s,
                                          u"免责申明"_s};
}

void TestReferenceWindows::textsInReadingOrder()
{
    QFETCH(QString, item);
    QFETCH(QString, name);
    QFETCH(QStringList, texts);
    QWidget *window = open(item, name);
    const QStringList shown = labelTexts(window);
    if (name == u"Helpf") { // of its 19 lines, those a slip would make misleading, in their order
        QCOMPARE(shown.size(), 19);
        qsizetype at = 0;
        for (const QString &text : texts)
            QVERIFY2((at = shown.indexOf(text, at)) >= 0, qPrintable(text));
    } else {
        QCOMPARE(shown, texts);
    }

    // Each text stands below the one before it, or starts a column to its right.
    const QList<QLabel *> labels = window->findChildren<QLabel *>();
    for (qsizetype i = 1; i < labels.size(); ++i) {
        const QRect a = labels[i - 1]->geometry(), b = labels[i]->geometry();
        QVERIFY2(b.top() > a.bottom() || b.left() > a.right(), qPrintable(labels[i]->text()));
    }

    if (name == u"Helpf") {
        auto *disclaimer = window->findChild<QPlainTextEdit *>();
        QVERIFY(disclaimer->isReadOnly());
        QVERIFY(disclaimer->geometry().top() > labels.last()->geometry().bottom());
        QCOMPARE(disclaimer->toPlainText(), u"本软件为个人学习娱乐爱好所作，请在下载后24小时内删除，\n"
                                            u"如用本软件所自带的功能对任何事物（包括人）或自己造成的\n"
                                            u"一切后果均与本人无任何关系！\n"_s);
    }
}

QTEST_MAIN(TestReferenceWindows)
#include "tst_referencewindows.moc"
