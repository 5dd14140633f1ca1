// The hidden-spirit query window, driven through the real main window: lines
// typed into the chart, the window opened from its menu item, "查询" clicked.

#include "chart/hexagrams.h"
#include "common/modal.h"
#include "common/userinput.h"
#include "qtcore/textconv.h"
#include "sheet/chartsheet.h"
#include "ui/mainwindow.h"
#include "widgets/linefield.h"

#include <QAction>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace lotgrid;

class TestFenshen : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup() { m_main.reset(); }
    void queryShowsThePalacesPureHexagram_data();
    void queryShowsThePalacesPureHexagram();
    void lineOneStandsAtTheBottom();
    void queryWithoutChartChangesOnlyText1();
    void queryAfterNewKeepsThePreviousResult();
    void handTypedText1IsReplaced();
    void resultsAreReadOnlyAndCaptioned();

private:
    QLineEdit *field(const QString &name) const;
    QString lines() const; // T1 .. T6
    void query();

    std::unique_ptr<MainWindow> m_main;
};

void TestFenshen::init()
{
    Environment env = Environment::production();
    env.quit = [] {};
    env.journalPath.clear(); // never the user's journal
    m_main = std::make_unique<MainWindow>(env);
    m_main->show();
}

QLineEdit *TestFenshen::field(const QString &name) const
{
    return m_main->findChild<QWidget *>(u"Fenshen"_s)->findChild<QLineEdit *>(name);
}

QString TestFenshen::lines() const
{
    QStringList texts;
    for (int line = 1; line <= 6; ++line)
        texts << field(u"T"_s + QString::number(line))->text();
    return texts.join(u' ');
}

void TestFenshen::query()
{
    if (!m_main->findChild<QWidget *>(u"Fenshen"_s))
        action(*m_main, u"chaxun"_s)->trigger();
    auto *button = m_main->findChild<QWidget *>(u"Fenshen"_s)->findChild<QPushButton *>(u"Command1"_s);
    QCOMPARE(button->text(), u"查询"_s);
    QTest::mouseClick(button, Qt::LeftButton);
}

void TestFenshen::queryShowsThePalacesPureHexagram_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("pureKey");
    QTest::newRow("火天大有 归魂 乾宫") << u"111101"_s << u"111111"_s;
    QTest::newRow("乾为天 乾宫") << u"111111"_s << u"111111"_s;
    QTest::newRow("地天泰 坤宫") << u"111000"_s << u"000000"_s;
    QTest::newRow("雷山小过 游魂 兑宫") << u"001100"_s << u"110110"_s;
    QTest::newRow("巽为风 巽宫") << u"011011"_s << u"011011"_s;
    QTest::newRow("地火明夷 游魂 坎宫") << u"101000"_s << u"010010"_s;
    QTest::newRow("山火贲 艮宫") << u"101001"_s << u"001001"_s;
    QTest::newRow("泽雷随 归魂 震宫") << u"100110"_s << u"100100"_s;
    QTest::newRow("火水未济 离宫") << u"010101"_s << u"101101"_s;
}

// The window shows the chart of the palace's doubled trigram, line by line.
void TestFenshen::queryShowsThePalacesPureHexagram()
{
    QFETCH(QString, key);
    QFETCH(QString, pureKey);
    const HexagramRow *pure = FindHexagramByKey(u16(pureKey));
    QStringList expected;
    for (int line = 1; line <= 6; ++line)
        expected << qs(lineLabel(*pure, line));

    typeLines(m_main->sheet(), key);
    QCOMPARE(m_main->sheet().bengua->text(), QString::fromUtf8(QTest::currentDataTag()));
    query();
    QCOMPARE(field(u"Text1"_s)->text(), m_main->sheet().bengua->text());
    QCOMPARE(field(u"Lbengua"_s)->text(), qs(pure->text).section(u' ', 0, 0));
    QCOMPARE(lines(), expected.join(u' '));
    if (key == u"101000")
        QCOMPARE(lines(), u"子孙寅木 官鬼辰土 妻财午火 父母申金 官鬼戌土 兄弟子水"_s);
}

void TestFenshen::lineOneStandsAtTheBottom()
{
    action(*m_main, u"chaxun"_s)->trigger();
    auto *window = m_main->findChild<QWidget *>(u"Fenshen"_s);
    QCOMPARE(window->windowTitle(), u"查询"_s);
    QVERIFY(field(u"Lbengua"_s)->font().bold());
    const QStringList captions{u"一爻："_s, u"二爻："_s, u"三爻："_s, u"四爻："_s, u"五爻："_s, u"六爻："_s};
    for (QLabel *label : window->findChildren<QLabel *>()) {
        const qsizetype line = captions.indexOf(label->text()) + 1;
        if (line > 0)
            QCOMPARE(label->buddy(), field(u"T"_s + QString::number(line)));
    }
    for (int line = 2; line <= 6; ++line)
        QVERIFY(field(u"T"_s + QString::number(line))->y() < field(u"T"_s + QString::number(line - 1))->y());
}

void TestFenshen::queryWithoutChartChangesOnlyText1()
{
    query();
    QCOMPARE(field(u"Text1"_s)->text(), QString());
    QCOMPARE(field(u"Lbengua"_s)->text(), QString());
    QCOMPARE(lines(), u"     "_s);
}

void TestFenshen::queryAfterNewKeepsThePreviousResult()
{
    typeLines(m_main->sheet(), u"101000"_s);
    query();
    const QString shown = lines();

    auto answer = answerNextModal(QMessageBox::Yes);
    m_main->news_Click();
    QVERIFY(answer->seen);
    query();
    QCOMPARE(field(u"Text1"_s)->text(), QString());
    QCOMPARE(field(u"Lbengua"_s)->text(), u"坎为水"_s);
    QCOMPARE(lines(), shown);
}

void TestFenshen::handTypedText1IsReplaced()
{
    typeLines(m_main->sheet(), u"101000"_s);
    action(*m_main, u"chaxun"_s)->trigger();
    QInputMethodEvent typed; // Chinese arrives from an input method as one committed string
    typed.setCommitString(u"乾为天 乾宫"_s);
    QApplication::sendEvent(field(u"Text1"_s), &typed);
    QCOMPARE(field(u"Text1"_s)->text(), u"乾为天 乾宫"_s);
    query();
    QCOMPARE(field(u"Text1"_s)->text(), u"地火明夷 游魂 坎宫"_s);
    QCOMPARE(field(u"Lbengua"_s)->text(), u"坎为水"_s);

    // A second opening brings up the same window as it was.
    action(*m_main, u"chaxun"_s)->trigger();
    QCOMPARE(field(u"Text1"_s)->text(), u"地火明夷 游魂 坎宫"_s);
}

// The query's results can be selected and copied but not typed over; each
// field, the bold pure hexagram's name too, stands beside its caption.
void TestFenshen::resultsAreReadOnlyAndCaptioned()
{
    typeLines(m_main->sheet(), u"101000"_s);
    query();
    QStringList results{u"Lbengua"_s};
    for (int line = 1; line <= 6; ++line)
        results << u"T"_s + QString::number(line);
    for (const QString &name : results) {
        QLineEdit *result = field(name);
        QVERIFY2(result->isReadOnly(), qPrintable(name));
        const QString before = result->text();
        QTest::keyClicks(result, u"x"_s);
        QTest::keyClick(result, Qt::Key_Backspace);
        QCOMPARE(result->text(), before);
    }
    QCOMPARE(field(u"Lbengua"_s)->text(), u"坎为水"_s);

    auto *window = m_main->findChild<QWidget *>(u"Fenshen"_s);
    QStringList captioned;
    for (QLabel *label : window->findChildren<QLabel *>())
        if (label->buddy())
            captioned << label->buddy()->objectName() + u'=' + label->text();
    captioned.sort();
    QCOMPARE(captioned, QStringList({u"Lbengua=本宫卦："_s, u"T1=一爻："_s, u"T2=二爻："_s, u"T3=三爻："_s,
                                     u"T4=四爻："_s, u"T5=五爻："_s, u"T6=六爻："_s, u"Text1=当前卦："_s}));
    // The caption stands on the bold field's row, left of it.
    QLabel *caption = nullptr;
    for (QLabel *label : window->findChildren<QLabel *>())
        if (label->buddy() == field(u"Lbengua"_s))
            caption = label;
    QVERIFY(caption->geometry().right() < field(u"Lbengua"_s)->x());
    QVERIFY(qAbs(caption->geometry().center().y() - field(u"Lbengua"_s)->geometry().center().y()) <= 2);
}

QTEST_MAIN(TestFenshen)
#include "tst_fenshen.moc"
