// The hidden-spirit query window, driven through the real main window: lines
// typed into the chart, the window opened from its menu item, "查询" clicked.

#include "chart/chartsteps.h"
#include "common/modal.h"
#include "ui/chartsheet.h"
#include "ui/linefield.h"
#include "ui/mainwindow.h"

#include <QAction>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace lotgrid;

namespace {
// Chinese text arrives from an input method as one committed string.
void typeChinese(QWidget *field, const QString &text)
{
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(field, &event);
}
} // namespace

class TestFenshen : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void queryShowsThePalacesPureHexagram_data();
    void queryShowsThePalacesPureHexagram();
    void linesStandLikeTheChart();
    void queryWithoutChartChangesOnlyText1();
    void queryAfterNewKeepsThePreviousResult();
    void handTypedText1IsReplaced();
    void reopeningKeepsTheTexts();

private:
    void cast(const QString &key);
    QWidget *openFenshen();
    QString field(const char16_t *name) const;
    QString lines() const;
    void query();

    std::unique_ptr<MainWindow> m_main;
};

void TestFenshen::init()
{
    Environment env = Environment::production();
    env.quit = [] {};
    m_main = std::make_unique<MainWindow>(env);
    m_main->show();
}

void TestFenshen::cleanup() { m_main.reset(); }

void TestFenshen::cast(const QString &key)
{
    for (int line = 1; line <= 6; ++line)
        QTest::keyClicks(m_main->sheet().Text(line), key.mid(line - 1, 1));
}

QWidget *TestFenshen::openFenshen()
{
    m_main->findChild<QAction *>(u"chaxun"_s)->trigger();
    return m_main->findChild<QWidget *>(u"Fenshen"_s);
}

QString TestFenshen::field(const char16_t *name) const
{
    auto *w = m_main->findChild<QWidget *>(u"Fenshen"_s);
    return w->findChild<QLineEdit *>(QString::fromUtf16(name))->text();
}

// T1 .. T6, bottom line first.
QString TestFenshen::lines() const
{
    QStringList texts;
    for (const char16_t *name : {u"T1", u"T2", u"T3", u"T4", u"T5", u"T6"})
        texts << field(name);
    return texts.join(u' ');
}

void TestFenshen::query()
{
    auto *button = m_main->findChild<QWidget *>(u"Fenshen"_s)->findChild<QPushButton *>(u"Command1"_s);
    QCOMPARE(button->text(), u"查询"_s);
    QTest::mouseClick(button, Qt::LeftButton);
}

void TestFenshen::queryShowsThePalacesPureHexagram_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("pure");
    QTest::addColumn<QString>("lines");
    QTest::newRow("火天大有 归魂 乾宫") << u"111101"_s << u"火天大有 归魂 乾宫"_s << u"乾为天"_s
                                       << u"子孙子水 妻财寅木 父母辰土 官鬼午火 兄弟申金 父母戌土"_s;
    QTest::newRow("乾为天 乾宫") << u"111111"_s << u"乾为天 乾宫"_s << u"乾为天"_s
                                 << u"子孙子水 妻财寅木 父母辰土 官鬼午火 兄弟申金 父母戌土"_s;
    QTest::newRow("地天泰 坤宫") << u"111000"_s << u"地天泰 坤宫"_s << u"坤为地"_s
                                 << u"兄弟未土 父母巳火 官鬼卯木 兄弟丑土 妻财亥水 子孙酉金"_s;
    QTest::newRow("雷山小过 游魂 兑宫") << u"001100"_s << u"雷山小过 游魂 兑宫"_s << u"兑为泽"_s
                                       << u"官鬼巳火 妻财卯木 父母丑土 子孙亥水 兄弟酉金 父母未土"_s;
    QTest::newRow("巽为风 巽宫") << u"011011"_s << u"巽为风 巽宫"_s << u"巽为风"_s
                                 << u"妻财丑土 父母亥水 官鬼酉金 妻财未土 子孙巳火 兄弟卯木"_s;
    QTest::newRow("地火明夷 游魂 坎宫") << u"101000"_s << u"地火明夷 游魂 坎宫"_s << u"坎为水"_s
                                       << u"子孙寅木 官鬼辰土 妻财午火 父母申金 官鬼戌土 兄弟子水"_s;
    QTest::newRow("山火贲 艮宫") << u"101001"_s << u"山火贲 艮宫"_s << u"艮为山"_s
                                 << u"兄弟辰土 父母午火 子孙申金 兄弟戌土 妻财子水 官鬼寅木"_s;
    QTest::newRow("泽雷随 归魂 震宫") << u"100110"_s << u"泽雷随 归魂 震宫"_s << u"震为雷"_s
                                     << u"父母子水 兄弟寅木 妻财辰土 子孙午火 官鬼申金 妻财戌土"_s;
    QTest::newRow("火水未济 离宫") << u"010101"_s << u"火水未济 离宫"_s << u"离为火"_s
                                   << u"父母卯木 子孙丑土 官鬼亥水 妻财酉金 子孙未土 兄弟巳火"_s;
}

void TestFenshen::queryShowsThePalacesPureHexagram()
{
    QFETCH(QString, key);
    QFETCH(QString, label);
    QFETCH(QString, pure);
    QFETCH(QString, lines);

    cast(key);
    QCOMPARE(m_main->sheet().bengua->text(), label);
    QWidget *window = openFenshen();
    QVERIFY(window);
    QCOMPARE(field(u"Text1"), QString());
    query();
    QCOMPARE(field(u"Text1"), label);
    QCOMPARE(field(u"Lbengua"), pure);
    QCOMPARE(this->lines(), lines);
}

void TestFenshen::linesStandLikeTheChart()
{
    QWidget *window = openFenshen();
    QCOMPARE(window->windowTitle(), u"查询"_s);
    QVERIFY(window->isWindow());
    QVERIFY(window->findChild<QLineEdit *>(u"Lbengua"_s)->font().bold());

    QStringList captions;
    for (QLabel *label : window->findChildren<QLabel *>())
        captions << label->text();
    QCOMPARE(captions, QStringList({u"查询伏神"_s, u"当前卦："_s, u"六爻："_s, u"五爻："_s, u"四爻："_s, u"三爻："_s,
                                    u"二爻："_s, u"一爻："_s}));
    for (int line = 1; line <= 6; ++line) {
        auto *t = window->findChild<QLineEdit *>(u"T"_s + QString::number(line));
        auto *caption = qobject_cast<QLabel *>(window->findChildren<QLabel *>().at(8 - line));
        QCOMPARE(caption->buddy(), t);
        QCOMPARE(caption->geometry().center().y(), t->geometry().center().y());
        if (line > 1)
            QVERIFY(t->y() < window->findChild<QLineEdit *>(u"T"_s + QString::number(line - 1))->y());
    }
}

void TestFenshen::queryWithoutChartChangesOnlyText1()
{
    openFenshen();
    auto *text1 = m_main->findChild<QWidget *>(u"Fenshen"_s)->findChild<QLineEdit *>(u"Text1"_s);
    typeChinese(text1, u"乾宫"_s);
    QCOMPARE(text1->text(), u"乾宫"_s);
    query();
    QCOMPARE(field(u"Text1"), QString());
    QCOMPARE(field(u"Lbengua"), QString());
    QCOMPARE(lines(), u"     "_s);
}

void TestFenshen::queryAfterNewKeepsThePreviousResult()
{
    cast(u"101000"_s);
    openFenshen();
    query();
    const QString shown = lines();

    auto answer = answerNextModal(QMessageBox::Yes);
    m_main->news_Click();
    QVERIFY(answer->seen);
    QCOMPARE(m_main->sheet().bengua->text(), QString());

    query();
    QCOMPARE(field(u"Text1"), QString());
    QCOMPARE(field(u"Lbengua"), u"坎为水"_s);
    QCOMPARE(lines(), shown);
}

void TestFenshen::handTypedText1IsReplaced()
{
    cast(u"101000"_s);
    openFenshen();
    auto *text1 = m_main->findChild<QWidget *>(u"Fenshen"_s)->findChild<QLineEdit *>(u"Text1"_s);
    typeChinese(text1, u"乾为天 乾宫"_s);
    QCOMPARE(text1->text(), u"乾为天 乾宫"_s);
    query();
    QCOMPARE(text1->text(), u"地火明夷 游魂 坎宫"_s);
    QCOMPARE(field(u"Lbengua"), u"坎为水"_s);
}

void TestFenshen::reopeningKeepsTheTexts()
{
    cast(u"111101"_s);
    QWidget *first = openFenshen();
    query();
    cast(u"000000"_s); // a new chart does not refresh the window
    QCOMPARE(openFenshen(), first);
    QCOMPARE(m_main->findChildren<QWidget *>(u"Fenshen"_s).size(), 1);
    QCOMPARE(field(u"Text1"), u"火天大有 归魂 乾宫"_s);
    QCOMPARE(field(u"Lbengua"), u"乾为天"_s);
}

QTEST_MAIN(TestFenshen)
#include "tst_fenshen.moc"
