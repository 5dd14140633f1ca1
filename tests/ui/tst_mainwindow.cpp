// The main window as a user drives it: typing and pasting into the line
// fields, ticking moving lines, the six spirits, builds and marks, the menu
// tree and its enabling, New and Clear data, Exit and closing.
#include "common/mainwindowfixture.h"
#include "common/modal.h"
#include "common/userinput.h"
#include "sheet/chartsteps.h"
#include "widgets/lineglyph.h"

#include <QClipboard>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QMenu>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

using namespace lotgrid;
using namespace Qt::StringLiterals;

namespace {

// Everything a user can see or a step can read, as one comparable list.
QStringList snapshot(MainWindow &w)
{
    ChartSheet &s = w.sheet();
    QStringList out;
    for (const QLabel *l : s.findChildren<QLabel *>())
        out << l->objectName() + u'=' + l->text() + (l->isHidden() ? u" hidden"_s : QString())
                   + (l->font().bold() ? u" bold"_s : QString());
    for (const QLineEdit *e : s.findChildren<QLineEdit *>())
        out << e->objectName() + u'=' + e->text() + (e->isEnabled() ? QString() : u" disabled"_s);
    for (const QCheckBox *c : s.findChildren<QCheckBox *>())
        out << c->objectName() + (c->isChecked() ? u" ticked"_s : QString())
                   + (c->isEnabled() ? QString() : u" disabled"_s);
    for (const LineGlyph *g : s.findChildren<LineGlyph *>())
        out << g->objectName() + (g->isHidden() ? u" hidden"_s : u" shown"_s);
    for (const QAction *a : w.findChildren<QAction *>())
        out << a->objectName() + (a->isEnabled() ? QString() : u" disabled"_s);
    for (int n = 1; n <= 6; ++n)
        out << s.BY(n) << s.X(n);
    out << s.XX << s.TextBengua << s.TextSBG2 << s.Combo1->currentText();
    return out;
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT
private slots:
    void startUp()
    {
        auto w = makeMainWindow();
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QCOMPARE(w->windowTitle(), u"Lotgrid(六爻) V1.0"_s);
        QVERIFY(!w->windowIcon().isNull());
        ChartSheet &s = w->sheet();
        for (int n = 1; n <= 6; ++n) {
            QVERIFY(s.Lyongshen(n)->isHidden());
            QCOMPARE(s.Text(n)->isEnabled(), n == 1);
            QVERIFY(!s.co(n)->isEnabled() && !s.cx(n)->isEnabled());
            QVERIFY(s.yan(n)->isHidden() && s.yin(n)->isHidden() && s.Byan(n)->isHidden() && s.Byin(n)->isHidden());
        }
        QCOMPARE(QApplication::focusWidget(), s.Text(1));
        QCOMPARE(s.Combo1->currentIndex(), -1);
        for (const QRadioButton *option : s.dayStems)
            QVERIFY(!option->isChecked());
    }

    void menuTree_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("shortcut");
        QTest::addColumn<bool>("enabledAtStart");
        QTest::newRow("news") << u"news"_s << u"新建(&N)"_s << u"Ctrl+N"_s << true;
        QTest::newRow("jietutu") << u"jietutu"_s << u"截图(&S)"_s << u"Ctrl+S"_s << false;
        QTest::newRow("fuzhi") << u"fuzhi"_s << u"复制卦象文本"_s << u"Ctrl+Shift+C"_s << false;
        QTest::newRow("daochu") << u"daochu"_s << u"导出图片…"_s << QString() << false;
        QTest::newRow("dayin") << u"dayin"_s << u"打印…"_s << u"Ctrl+P"_s << false;
        QTest::newRow("daochupdf") << u"daochupdf"_s << u"导出PDF…"_s << QString() << false;
        QTest::newRow("end") << u"end"_s << u"退出(&Q)"_s << u"Ctrl+Q"_s << true;
        QTest::newRow("zd") << u"zd"_s << u"自动卜卦"_s << u"F5"_s << true;
        QTest::newRow("chaxun") << u"chaxun"_s << u"查询伏神"_s << QString() << true;
        QTest::newRow("qc") << u"qc"_s << u"清除数据"_s << QString() << true;
        QTest::newRow("xunk") << u"xunk"_s << u"旬空表"_s << QString() << true;
        QTest::newRow("yaox") << u"yaox"_s << u"爻之三刑"_s << QString() << true;
        QTest::newRow("wx") << u"wx"_s << u"四时旺相"_s << QString() << true;
        QTest::newRow("yaoh") << u"yaoh"_s << u"爻之六合"_s << QString() << true;
        QTest::newRow("yaoc") << u"yaoc"_s << u"爻之六冲"_s << QString() << true;
        QTest::newRow("help1") << u"help1"_s << u"使用方法"_s << u"F1"_s << true;
        QTest::newRow("xinbangzhu") << u"xinbangzhu"_s << u"新功能说明"_s << QString() << true;
        QTest::newRow("about") << u"about"_s << u"关于软件"_s << QString() << true;
        QTest::newRow("uploadTessa") << u"uploadTessa"_s << u"检查更新"_s << QString() << true;
        QTest::newRow("riwu") << u"riwu"_s << u"辰"_s << QString() << true;
        QTest::newRow("hai") << u"hai"_s << u"亥"_s << QString() << true;
        for (int n = 1; n <= 6; ++n) {
            QTest::newRow(qPrintable(u"yao%1"_s.arg(n)))
                << u"yao%1"_s.arg(n) << u"选择%1爻作为用神"_s.arg(n) << QString() << false;
            QTest::newRow(qPrintable(u"F%1"_s.arg(n)))
                << u"F%1"_s.arg(n) << u"选择%1爻作为伏神"_s.arg(n) << QString() << false;
        }
    }
    void menuTree()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, shortcut);
        QFETCH(bool, enabledAtStart);
        auto w = makeMainWindow();
        QAction *a = action(*w, name);
        QVERIFY2(a, qPrintable(name));
        QCOMPARE(a->text(), caption);
        QCOMPARE(a->shortcut().toString(QKeySequence::PortableText), shortcut);
        QCOMPARE(a->isEnabled(), enabledAtStart);
    }

    void menusInOrder()
    {
        auto w = makeMainWindow();
        const auto names = [&w](const QString &menu) {
            QStringList out;
            for (QAction *a : w->findChild<QMenu *>(menu)->actions())
                out << (a->isSeparator() ? u"-"_s : a->menu() ? a->menu()->objectName() : a->objectName());
            return out;
        };
        QCOMPARE(names(u"file"_s), (QStringList{u"news"_s, u"-"_s, u"jietutu"_s, u"fuzhi"_s, u"daochu"_s, u"fuzhitu"_s,
                                                u"changtu"_s, u"dayin"_s, u"daochupdf"_s, u"fuzhiAI"_s, u"-"_s,
                                                u"baocun"_s, u"anliku"_s, u"-"_s, u"end"_s}));
        QCOMPARE(names(u"tls"_s),
                 (QStringList{u"zd"_s, u"yingbi"_s, u"shijian"_s, u"shuzi"_s, u"-"_s, u"chaxun"_s, u"yingqiCankao"_s,
                              u"zhouyiJingwen"_s, u"-"_s, u"qc"_s, u"-"_s, u"xunk"_s, u"yaox"_s, u"wx"_s, u"yaoh"_s,
                              u"yaoc"_s, u"-"_s, u"liupai"_s}));
        QCOMPARE(names(u"yueri"_s), (QStringList{u"yue"_s, u"-"_s, u"rijian"_s, u"-"_s, u"zichu"_s}));
        QCOMPARE(names(u"ys"_s), (QStringList{u"yss"_s, u"-"_s, u"fushen"_s}));
        QCOMPARE(names(u"help"_s),
                 (QStringList{u"help1"_s, u"xinbangzhu"_s, u"-"_s, u"about"_s, u"-"_s, u"uploadTessa"_s}));
        QCOMPARE(names(u"yss"_s).count(u"-"_s), 5);
        QCOMPARE(names(u"rijian"_s), (QStringList{u"jia"_s, u"yi"_s, u"bing"_s, u"ding"_s, u"riwu"_s, u"riji"_s,
                                                  u"geng"_s, u"xin"_s, u"ren"_s, u"rigui"_s, u"xuxu"_s, u"haihai"_s}));
    }

    // Typing lets through "0", "1", the 6/7/8/9 of the traditional notation (written as the line's value) and
    // backspace only.
    void keyFilter_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("result");
        QTest::newRow("1") << int(Qt::Key_1) << u"1"_s << u"1"_s;
        QTest::newRow("0") << int(Qt::Key_0) << u"0"_s << u"0"_s;
        QTest::newRow("2") << int(Qt::Key_2) << u"2"_s << QString();
        QTest::newRow("9 old yang") << int(Qt::Key_9) << u"9"_s << u"1"_s;
        QTest::newRow("8 young yin") << int(Qt::Key_8) << u"8"_s << u"0"_s;
        QTest::newRow("5") << int(Qt::Key_5) << u"5"_s << QString();
        QTest::newRow("a") << int(Qt::Key_A) << u"a"_s << QString();
        QTest::newRow("space") << int(Qt::Key_Space) << u" "_s << QString();
        QTest::newRow("Enter") << int(Qt::Key_Return) << u"\r"_s << QString();
        QTest::newRow("full-width 1") << 0 << u"１"_s << QString();
        QTest::newRow("Chinese") << 0 << u"阳"_s << QString();
    }
    void keyFilter()
    {
        QFETCH(int, key);
        QFETCH(QString, text);
        QFETCH(QString, result);
        auto w = makeMainWindow();
        ChartSheet &s = w->sheet();
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(s.Text(1), &press);
        QCOMPARE(s.Text(1)->text(), result);
        QCOMPARE(s.Text(2)->isEnabled(), !result.isEmpty());
    }

    void inputMethodInsertsNothing()
    {
        auto w = makeMainWindow();
        ChartSheet &s = w->sheet();
        QInputMethodEvent commit;
        commit.setCommitString(u"1"_s);
        QApplication::sendEvent(s.Text(1), &commit);
        QCOMPARE(s.Text(1)->text(), QString());
    }

    void backspaceEmptiesTheLine()
    {
        auto w = makeMainWindow();
        ChartSheet &s = w->sheet();
        QTest::keyClicks(s.Text(1), u"1"_s);
        QTest::keyClick(s.Text(1), Qt::Key_Backspace);
        QCOMPARE(s.Text(1)->text(), QString());
        QCOMPARE(s.Lyao(1)->text(), QString());
        QVERIFY(s.yan(1)->isHidden() && s.Byan(1)->isHidden());
        QVERIFY(s.Text(2)->isEnabled()); // emptying locks nothing again
        QCOMPARE(s.BY(1), u"1"_s);
    }

    // The field keeps one character: the first.
    void typingBeforeOrAfterAValue_data()
    {
        QTest::addColumn<bool>("atStart");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("name");
        QTest::newRow("0 after 1") << false << u"1"_s << u"初九"_s;
        QTest::newRow("0 before 1") << true << u"0"_s << u"初六"_s;
    }
    void typingBeforeOrAfterAValue()
    {
        QFETCH(bool, atStart);
        QFETCH(QString, result);
        QFETCH(QString, name);
        auto w = makeMainWindow();
        ChartSheet &s = w->sheet();
        QTest::keyClicks(s.Text(1), u"1"_s);
        s.Text(1)->setCursorPosition(atStart ? 0 : 1);
        QTest::keyClicks(s.Text(1), u"0"_s);
        QCOMPARE(s.Text(1)->text(), result);
        QCOMPARE(s.Lyao(1)->text(), name);
        QCOMPARE(s.BY(1), result);
        QCOMPARE(s.yin(1)->isHidden(), result == u"1");
        QCOMPARE(s.yan(1)->isHidden(), result == u"0");
    }

    // Pasted text is cut to its first character; one that is not a line value changes nothing else.
    void paste_data()
    {
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("name");
        QTest::newRow("abc") << u"abc"_s << u"a"_s << QString();
        QTest::newRow("10") << u"10"_s << u"1"_s << u"初九"_s;
        QTest::newRow("0abc") << u"0abc"_s << u"0"_s << u"初六"_s;
        QTest::newRow("78789") << u"78789"_s << u"1"_s << u"初九"_s; // five lines are not a cast: cut
        QTest::newRow("6 old yin") << u"6"_s << u"0"_s << u"初六"_s;
        QTest::newRow("阴阳") << u"阴阳"_s << u"阴"_s << QString();
        QTest::newRow("empty") << QString() << QString() << QString();
    }
    void paste()
    {
        QFETCH(QString, clipboard);
        QFETCH(QString, result);
        QFETCH(QString, name);
        auto w = makeMainWindow();
        ChartSheet &s = w->sheet();
        QApplication::clipboard()->setText(clipboard);
        s.Text(1)->setFocus();
        QTest::keyClick(s.Text(1), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(s.Text(1)->text(), result);
        QCOMPARE(s.Lyao(1)->text(), name);
        QCOMPARE(s.Text(2)->isEnabled(), !name.isEmpty());
        QCOMPARE(s.yan(1)->isHidden() && s.yin(1)->isHidden(), name.isEmpty());
    }

    void enteringLineOne()
    {
        auto w = makeMainWindow();
        ChartSheet &s = w->sheet();
        QTest::keyClicks(s.Text(1), u"1"_s);
        QVERIFY(!s.yan(1)->isHidden() && !s.Byan(1)->isHidden());
        QVERIFY(s.yin(1)->isHidden() && s.Byin(1)->isHidden());
        QCOMPARE(s.Lyao(1)->text(), u"初九"_s);
        QVERIFY(s.Text(2)->isEnabled() && !s.Text(3)->isEnabled());
        QVERIFY(s.co(1)->isEnabled() && !s.cx(1)->isEnabled());
        QCOMPARE(s.BY(1), u"1"_s);
    }

    void lineOneSwitchesTheStepsOnAgain()
    {
        auto w = makeMainWindow();
        ChartSheet &s = w->sheet();
        answerNextModal(QMessageBox::Yes);
        w->news_Click();
        ChartSteps &steps = w->steps();
        QVERIFY(!steps.isOn(steps.Tsy) && !steps.isOn(steps.TimerBengua) && !steps.isOn(steps.TimerSBG2)
                && !steps.isOn(steps.Timerai));
        QTest::keyClicks(s.Text(1), u"0"_s);
        QVERIFY(steps.isOn(steps.Tsy) && steps.isOn(steps.TimerBengua) && steps.isOn(steps.TimerSBG2));
        QVERIFY(!steps.isOn(steps.Timerai));
        for (int n = 2; n <= 5; ++n)
            QTest::keyClicks(s.Text(n), u"1"_s);
        QVERIFY(!steps.isOn(steps.Timerai));
        QVERIFY(!action(*w, u"yao1"_s)->isEnabled());
        QTest::keyClicks(s.Text(6), u"0"_s);
        QVERIFY(steps.isOn(steps.Timerai));
        for (const QString &name : {u"yao1"_s, u"yao6"_s, u"F1"_s, u"F6"_s, u"jietutu"_s, u"fuzhi"_s, u"daochu"_s})
            QVERIFY2(action(*w, name)->isEnabled(), qPrintable(name));
        QCOMPARE(s.biangua->text(), u"泽风大过 游魂 震宫"_s);
    }

    // Ticking and unticking by mouse, on a yang and a yin line.
    void tickTable_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("tick"); // false: tick then untick
        QTest::addColumn<QString>("mark");
        QTest::addColumn<bool>("changedYang");
        QTest::addColumn<QString>("by");
        QTest::addColumn<bool>("textEnabled");
        QTest::newRow("co ticked") << u"1"_s << true << u"○"_s << false << u"0"_s << false;
        QTest::newRow("co unticked") << u"1"_s << false << QString() << true << u"1"_s << true;
        QTest::newRow("cx ticked") << u"0"_s << true << u"×"_s << true << u"1"_s << false;
        QTest::newRow("cx unticked") << u"0"_s << false << QString() << false << u"0"_s << true;
    }
    void tickTable()
    {
        QFETCH(QString, value);
        QFETCH(bool, tick);
        QFETCH(QString, mark);
        QFETCH(bool, changedYang);
        QFETCH(QString, by);
        QFETCH(bool, textEnabled);
        auto w = makeMainWindow();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        ChartSheet &s = w->sheet();
        typeLines(s, u"11"_s + value + u"111"_s);
        QCheckBox *box = value == u"1" ? s.co(3) : s.cx(3);
        QTest::mouseClick(box, Qt::LeftButton, {}, box->rect().center());
        QVERIFY(box->isChecked());
        if (!tick)
            QTest::mouseClick(box, Qt::LeftButton, {}, box->rect().center());
        QCOMPARE(s.sy(3)->text(), mark);
        QCOMPARE(s.sy(3)->isHidden(), mark.isEmpty());
        QCOMPARE(s.Byan(3)->isHidden(), !changedYang);
        QCOMPARE(s.Byin(3)->isHidden(), changedYang);
        QCOMPARE(s.yan(3)->isHidden(), value == u"0"); // the original column keeps the line as entered
        QCOMPARE(s.BY(3), by);
        QCOMPARE(s.Text(3)->isEnabled(), textEnabled);
        // The tick empties the changed marks, and the instant chart marks the changed hexagram again.
        QCOMPARE(textsOf(s.Bsy).count(u"世"_s), 1);
        QCOMPARE(textsOf(s.Bsy).count(u"应"_s), 1);
    }

    void emptyingALineAfterAFullChart()
    {
        auto w = makeMainWindow();
        ChartSheet &s = w->sheet();
        typeLines(s, u"101010"_s);
        s.Text(3)->selectAll();
        QTest::keyClick(s.Text(3), Qt::Key_Delete);
        QCOMPARE(s.Text(3)->text(), QString());
        QVERIFY(s.yan(3)->isHidden() && s.yin(3)->isHidden() && s.Byan(3)->isHidden() && s.Byin(3)->isHidden());
        QCOMPARE(s.Lyao(3)->text(), QString());
        QVERIFY(s.Text(4)->isEnabled());
        QCOMPARE(s.BY(3), u"1"_s);
        QVERIFY(action(*w, u"yao3"_s)->isEnabled());
        QVERIFY(w->steps().isOn(w->steps().Tsy));
        QCOMPARE(s.bengua->text(), u"水火既济 坎宫"_s);
    }

    void assigningTheSameValueRunsNothing()
    {
        auto w = makeMainWindow();
        ChartSheet &s = w->sheet();
        typeLines(s, u"1111"_s);
        s.Lyao(4)->setText(u"marker"_s);
        s.Text(4)->setText(u"1"_s);
        QCOMPARE(s.Lyao(4)->text(), u"marker"_s);
    }

    // A value typed into a moving line's field, freed again by the line below, with its box still ticked.
    void editingAMovingLineWhoseFieldWasFreed()
    {
        auto w = makeMainWindow();
        ChartSheet &s = w->sheet();
        typeLines(s, u"111"_s);
        s.co(2)->setChecked(true);
        QVERIFY(!s.Text(2)->isEnabled());
        s.Text(1)->setText(u"0"_s); // enables Text2 again
        QVERIFY(s.Text(2)->isEnabled());
        s.Text(2)->setText(u"0"_s); // yin with co2 ticked: co2 is unticked and its handling runs
        QVERIFY(!s.co(2)->isChecked() && !s.co(2)->isEnabled() && s.cx(2)->isEnabled());
        QVERIFY(s.sy(2)->isHidden());
        // The unmoving yin line stays yin in the changed hexagram.
        QCOMPARE(s.BY(2), u"0"_s);
        QVERIFY(!s.Byin(2)->isHidden() && s.Byan(2)->isHidden());
        QCOMPARE(s.biangua->text(), s.bengua->text());
    }

    // Retyping the value of a moving line whose field was freed keeps the line moving.
    void retypingAMovingLineKeepsItMoving()
    {
        auto w = makeMainWindow();
        ChartSheet &s = w->sheet();
        typeLines(s, u"111111"_s);
        s.co(3)->setChecked(true);
        s.Text(2)->setText(u"0"_s); // frees Text3
        s.Text(3)->setCursorPosition(1);
        QTest::keyClicks(s.Text(3), u"1"_s); // "11", cut back to "1"
        QCOMPARE(s.Text(3)->text(), u"1"_s);
        QVERIFY(s.co(3)->isChecked());
        QCOMPARE(s.BY(3), u"0"_s);
        QVERIFY(!s.Byin(3)->isHidden() && s.Byan(3)->isHidden());
        QCOMPARE(s.sy(3)->text(), u"○"_s);
        QCOMPARE(s.biangua->text(), u"天雷无妄 巽宫"_s); // 101111 with line 3 flipped
    }

    // A click on a day stem shows its spirits (the engine holds every stem's column to the rule).
    void daySpirits_data()
    {
        QTest::addColumn<int>("stem");
        QTest::addColumn<QString>("column"); // lines 1..6
        QTest::newRow("戊") << 4 << u"勾陈腾蛇白虎玄武青龙朱雀"_s;
    }
    void daySpirits()
    {
        QFETCH(int, stem);
        QFETCH(QString, column);
        auto w = makeMainWindow();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        ChartSheet &s = w->sheet();
        QRadioButton *other = s.dayStems[(stem + 4) % 10];
        QTest::mouseClick(other, Qt::LeftButton, {}, QPoint(5, other->height() / 2));
        QRadioButton *option = s.dayStems[stem];
        QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(5, option->height() / 2));
        QVERIFY(option->isChecked() && !other->isChecked());
        QString shown;
        for (const QLabel *l : s.liushen)
            shown += l->text();
        QCOMPARE(shown, column);
        typeLines(s, u"111111"_s); // lines leave the spirits alone
        QCOMPARE(s.liushen(1)->text(), column.left(2));
    }

    void builds_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        const QString branches = u"子丑寅卯辰巳午未申酉戌亥"_s;
        const QStringList month{u"zi"_s, u"chou"_s, u"yin"_s,  u"mao"_s, u"chen"_s, u"si"_s,
                                u"wu"_s, u"wei"_s,  u"shen"_s, u"you"_s, u"xu"_s,   u"hai"_s};
        const QStringList day{u"jia"_s,  u"yi"_s,  u"bing"_s, u"ding"_s,  u"riwu"_s, u"riji"_s,
                              u"geng"_s, u"xin"_s, u"ren"_s,  u"rigui"_s, u"xuxu"_s, u"haihai"_s};
        for (int b = 0; b < 12; ++b) {
            QTest::newRow(qPrintable(month[b])) << month[b] << u"Lyuejian"_s << u"月建："_s + branches[b];
            QTest::newRow(qPrintable(day[b])) << day[b] << u"Lrijian"_s << u"日建："_s + branches[b];
        }
    }
    void builds()
    {
        QFETCH(QString, item);
        QFETCH(QString, field);
        QFETCH(QString, text);
        static auto w = makeMainWindow(); // one window, chosen on over and over
        action(*w, u"hai"_s)->trigger();
        action(*w, u"haihai"_s)->trigger();
        action(*w, item)->trigger();
        QCOMPARE(w->findChild<QLabel *>(field)->text(), text);
        const QString other = field == u"Lyuejian" ? u"Lrijian"_s : u"Lyuejian"_s;
        QVERIFY(w->findChild<QLabel *>(other)->text().endsWith(u"亥"_s));
        // The checked item of each menu is the build the chart holds.
        QVERIFY(action(*w, item)->isChecked());
        const QString replaced = field == u"Lyuejian" ? u"hai"_s : u"haihai"_s;
        QCOMPARE(action(*w, replaced)->isChecked(), item == replaced);
        QVERIFY(action(*w, field == u"Lyuejian" ? u"haihai"_s : u"hai"_s)->isChecked());
    }

    void marks()
    {
        auto w = makeMainWindow();
        ChartSheet &s = w->sheet();
        typeLines(s, u"110010"_s);
        action(*w, u"yao5"_s)->trigger();
        QVERIFY(!s.Lyongshen(5)->isHidden());
        QCOMPARE(s.Lyongshen(5)->text(), u"用神"_s);
        action(*w, u"F3"_s)->trigger();
        for (int n = 1; n <= 6; ++n) {
            QCOMPARE(s.Lyongshen(n)->isHidden(), n != 3);
            QCOMPARE(s.Lyongshen(n)->text(), n == 3 ? u"伏神"_s : QString());
        }
        QVERIFY(s.Lyongshen(3)->font().bold());
        const QStringList before = snapshot(*w);
        action(*w, u"F3"_s)->trigger();
        QCOMPARE(snapshot(*w), before);
    }

    // New and Clear data answered No leave everything as it was.
    void declinedResetChangesNothing_data()
    {
        QTest::addColumn<bool>("clearData");
        QTest::newRow("新建") << false;
        QTest::newRow("清除数据") << true;
    }
    void declinedResetChangesNothing()
    {
        QFETCH(bool, clearData);
        auto w = makeMainWindow();
        ChartSheet &s = w->sheet();
        typeLines(s, u"011010"_s);
        s.co(5)->setChecked(true);
        action(*w, u"yao2"_s)->trigger();
        const QStringList before = snapshot(*w);
        auto answer = answerNextModal(QMessageBox::No);
        clearData ? w->qc_Click() : w->news_Click();
        QVERIFY(answer->seen);
        QCOMPARE(snapshot(*w), before);
    }

    void resetAfterAChartWithMovingLines_data()
    {
        QTest::addColumn<bool>("clearData");
        QTest::addColumn<QList<int>>("moving");
        QTest::addColumn<QString>("question");
        QTest::newRow("新建, line 1 moving")
            << false << QList<int>{1} << u"新建之前建议保存截图，以备日后查看。\r\n请问您真的需要新建吗？"_s;
        QTest::newRow("清除数据, lines 3 and 5 moving")
            << true << QList<int>{3, 5}
            << u"清除数据之前建议保存截图，以备日后查看。\r\n请问您真的需要清除所有数据吗？"_s;
    }
    void resetAfterAChartWithMovingLines()
    {
        QFETCH(bool, clearData);
        QFETCH(QList<int>, moving);
        QFETCH(QString, question);
        auto w = makeMainWindow();
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        ChartSheet &s = w->sheet();
        s.dayStems[4]->setChecked(true);
        action(*w, u"wu"_s)->trigger();
        action(*w, u"jia"_s)->trigger();
        s.Combo1->setCurrentIndex(1);
        s.TextWHS->setText(u"问财"_s);
        typeLines(s, u"101010"_s);
        for (int n : moving)
            (s.Text(n)->text() == u"1" ? s.co(n) : s.cx(n))->setChecked(true);
        action(*w, u"F4"_s)->trigger();

        auto answer = answerNextModal(QMessageBox::Yes);
        clearData ? w->qc_Click() : w->news_Click();
        QCOMPARE(answer->title, u"提示"_s);
        QCOMPARE(answer->text, question);

        for (int n = 1; n <= 6; ++n) {
            QVERIFY(!s.co(n)->isChecked() && !s.co(n)->isEnabled());
            QVERIFY(!s.cx(n)->isChecked() && !s.cx(n)->isEnabled());
            QCOMPARE(s.Text(n)->text(), QString());
            QCOMPARE(s.Text(n)->isEnabled(), n == 1);
            QVERIFY(s.yan(n)->isHidden() && s.yin(n)->isHidden() && s.Byan(n)->isHidden() && s.Byin(n)->isHidden());
            QVERIFY(s.Lyongshen(n)->isHidden() && !s.Lyongshen(n)->font().bold());
            QVERIFY(s.BY(n).isEmpty() && s.X(n).isEmpty());
            for (const QLabel *l : {s.sy(n), s.Bsy(n), s.LSY(n), s.Lliuqin(n), s.BGLiuqin(n), s.Lyao(n), s.L(n)})
                QVERIFY2(l->text().isEmpty(), qPrintable(l->objectName()));
        }
        QVERIFY(s.bengua->text().isEmpty() && s.biangua->text().isEmpty());
        QVERIFY(s.XX.isEmpty() && s.TextBengua.isEmpty() && s.TextSBG2.isEmpty());
        QCOMPARE(s.TextWHS->text(), QString());
        QCOMPARE(w->focusWidget(), s.Text(1)); // takes the keyboard as soon as the window is active again
        for (const QString &name : {u"jietutu"_s, u"fuzhi"_s, u"daochu"_s, u"yao1"_s, u"F6"_s})
            QVERIFY(!action(*w, name)->isEnabled());
        // What belongs to the day, not to the chart, stays.
        QCOMPARE(s.liushen(1)->text(), u"勾陈"_s);
        QVERIFY(s.dayStems[4]->isChecked());
        QCOMPARE(s.Lyuejian->text(), u"月建：午"_s);
        QCOMPARE(s.Lrijian->text(), u"日建：子"_s);
        QCOMPARE(s.Combo1->currentText(), u"女"_s);
        QCOMPARE(s.Lyongshen(4)->text(), u"伏神"_s); // hidden, its text kept until the next mark
        // The steps stay quiet until line 1 is entered again.
        w->steps().runPass();
        QVERIFY(s.bengua->text().isEmpty() && s.biangua->text().isEmpty());

        typeLines(s, u"111111"_s);
        QCOMPARE(s.bengua->text(), u"乾为天 乾宫"_s);
        QCOMPARE(s.L(1)->text(), u"子孙"_s);
    }

    // The road of one manual cast, entirely through mouse and keyboard.
    void manualCastByKeyboardAndMouse()
    {
        auto w = makeMainWindow();
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        ChartSheet &s = w->sheet();
        QTest::mouseClick(s.dayStems[2], Qt::LeftButton, {}, QPoint(5, s.dayStems[2]->height() / 2));
        action(*w, u"yin"_s)->trigger();
        action(*w, u"riwu"_s)->trigger();
        QTest::mouseClick(s.Text(1), Qt::LeftButton);
        for (int n = 1; n <= 6; ++n) // each value moves on to the line above by itself
            QTest::keyClicks(QApplication::focusWidget(), n % 2 ? u"1"_s : u"0"_s);
        QCOMPARE(s.TextBengua, u"101010"_s);
        QTest::mouseClick(s.cx(2), Qt::LeftButton, {}, s.cx(2)->rect().center());
        QCOMPARE(s.bengua->text(), u"水火既济 坎宫"_s);
        QCOMPARE(s.biangua->text(), u"水天需 游魂 坤宫"_s);
        QCOMPARE(s.Lrijian->text(), u"日建：辰"_s);
        QCOMPARE(s.liushen(6)->text(), u"青龙"_s);
        QCOMPARE(textsOf(s.LSY), (QStringList{QString(), QString(), u"世"_s, QString(), QString(), u"应"_s}));
        QCOMPARE(textsOf(s.Bsy), (QStringList{u"应"_s, QString(), QString(), u"世"_s, QString(), QString()}));
        QCOMPARE(s.L(2)->text(), u"子孙"_s); // 寅木 against 坎's 水
    }

    void exitQuitsAtOnce()
    {
        int quits = 0;
        Environment env = testEnvironment();
        env.quit = [&quits] { ++quits; };
        auto w = makeMainWindow(env);
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QTest::keyClick(w->sheet().Text(1), Qt::Key_Q, Qt::ControlModifier);
        QCOMPARE(quits, 1);
    }

    void closingClosesEveryOtherWindow()
    {
        int quits = 0;
        Environment env = testEnvironment();
        env.quit = [&quits] { ++quits; };
        auto w = makeMainWindow(env);
        w->show();
        action(*w, u"chaxun"_s)->trigger();
        action(*w, u"help1"_s)->trigger();
        QPointer<QWidget> query = w->findChild<QWidget *>(u"Fenshen"_s);
        QPointer<QWidget> help = w->findChild<QWidget *>(u"Helpf"_s);
        QVERIFY(query && query->isVisible() && help && help->isVisible());
        QVERIFY(w->close());
        QVERIFY(!w->isVisible());
        QTRY_VERIFY(!query || !query->isVisible());
        QTRY_VERIFY(!help || !help->isVisible());
        QCOMPARE(quits, 1);
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
