// The hand casts on a real main window: coins by click and by typed counts,
// time casting from the moment on the sheet, number casting; each clears the
// sheet as the automatic cast does and ends with the chart of its lines. Bad
// input, Cancel and Escape leave the main window as it was; the options are
// remembered (in the test-mode settings store).
#include "casting/castsettings.h"
#include "casting/coindialog.h"
#include "casting/numberdialog.h"
#include "casting/timecastdialog.h"
#include "chart/hexagrams.h"
#include "common/mainwindowfixture.h"
#include "qtcore/textconv.h"
#include "sheet/chartsteps.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace lotgrid;
using namespace Qt::StringLiterals;

namespace {

const QDateTime CastClock = chinaTime(QDate(2024, 3, 1), QTime(9, 30));

// The options are remembered in a settings file of the test's own.
QString settingsPath()
{
    static QTemporaryDir dir;
    return dir.filePath(u"lotgrid.conf"_s);
}

struct Fixture {
    std::unique_ptr<MainWindow> w;

    Fixture()
    {
        Environment env = testEnvironment();
        env.now = [] { return CastClock; };
        env.settingsFile = settingsPath();
        w = makeMainWindow(std::move(env));
        w->show();
    }

    ChartSheet &s() { return w->sheet(); }

    template<typename Dialog>
    Dialog *open(const QString &item, const QString &name)
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // a confirmed dialog goes first
        w->findChild<QAction *>(item)->trigger();
        auto *dialog = w->findChild<Dialog *>(name);
        if (dialog && !dialog->isVisible())
            return nullptr;
        return dialog;
    }
    CoinDialog *coins() { return open<CoinDialog>(u"yingbi"_s, u"Yingbi"_s); }
    TimeCastDialog *time() { return open<TimeCastDialog>(u"shijian"_s, u"Shijian"_s); }
    NumberDialog *numbers() { return open<NumberDialog>(u"shuzi"_s, u"Shuzi"_s); }

    // Everything a cast writes: lines, ticks, marks, hexagrams.
    QStringList snapshot()
    {
        QStringList state;
        for (int n = 1; n <= 6; ++n)
            state << s().Text(n)->text() + (s().co(n)->isChecked() ? u"o"_s : QString())
                         + (s().cx(n)->isChecked() ? u"x"_s : QString())
                         + (s().Lyongshen(n)->isHidden() ? QString() : s().Lyongshen(n)->text());
        state << s().bengua->text() << s().biangua->text() << textsOf(s().Lliuqin).join(u',');
        return state;
    }

    // The chart on the sheet for the lines "101010" with moving lines "3o 4x".
    void verifyChart(const QString &key, const QString &ticks, const QString &original, const QString &changed)
    {
        for (int n = 1; n <= 6; ++n) {
            QCOMPARE(s().Text(n)->text(), key.mid(n - 1, 1));
            QCOMPARE(s().co(n)->isChecked(), ticks.contains(u"%1o"_s.arg(n)));
            QCOMPARE(s().cx(n)->isChecked(), ticks.contains(u"%1x"_s.arg(n)));
        }
        QCOMPARE(s().bengua->text().section(u' ', 0, 0), original);
        QCOMPARE(s().biangua->text().section(u' ', 0, 0), changed);
        const HexagramRow *row = FindHexagramByKey(u16(key));
        QVERIFY(row);
        QCOMPARE(s().bengua->text(), qs(row->text));
        QCOMPARE(s().LSY(row->world)->text(), u"世"_s);
        QVERIFY(w->findChild<QAction *>(u"jietutu"_s)->isEnabled());
        // Cast at a known moment, the chart has its day: spirits, builds and void branches.
        for (const QLabel *field : {s().liushen(1), s().Lyuejian, s().Lrijian, s().Lxunkong})
            QVERIFY2(!field->text().isEmpty(), qPrintable(field->objectName()));
    }

    // A charted sheet with a moving line and a mark, to be cleared by the next cast.
    void chartSomething()
    {
        setLines(s(), u"111111"_s);
        s().co(2)->setChecked(true);
        w->yao_Click(3);
        w->steps().runPass();
    }
};

} // namespace

class TestCastMethods : public QObject
{
    Q_OBJECT
private slots:

    void init()
    {
        for (CastOption o : {CastOption::CoinFacesSwapped, CastOption::YearAtLichun, CastOption::NumberAddsHour})
            setCastOption(settingsPath(), o, false);
    }

    void menuItems()
    {
        Fixture f;
        const QStringList expected{u"自动卜卦"_s, u"手动摇卦"_s, u"时间起卦"_s, u"数字起卦"_s};
        for (int i = 0; i < expected.size(); ++i) {
            const QString name = QStringList{u"zd"_s, u"yingbi"_s, u"shijian"_s, u"shuzi"_s}[i];
            QAction *a = f.w->findChild<QAction *>(name);
            QVERIFY2(a, qPrintable(name));
            QCOMPARE(a->text(), expected[i]);
        }
    }

    // "123012": 1 背 少阳, 2 少阴, 3 老阳 (moving), 0 老阴 (moving), 1 少阳, 2 少阴:
    // 101010 水火既济, lines 3 and 4 moving → 100110 泽雷随. With 字 counting 3
    // the counts read as 2 1 0 3 2 1: 010101 火水未济 → 011001 山风蛊.
    void coinsTyped_data()
    {
        QTest::addColumn<bool>("swapped");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("ticks");
        QTest::addColumn<QString>("original");
        QTest::addColumn<QString>("changed");
        QTest::newRow("背 counts 3") << false << u"101010"_s << u"3o 4x"_s << u"水火既济"_s << u"泽雷随"_s;
        QTest::newRow("字 counts 3") << true << u"010101"_s << u"3x 4o"_s << u"火水未济"_s << u"山风蛊"_s;
    }
    void coinsTyped()
    {
        QFETCH(bool, swapped);
        QFETCH(QString, key);
        QFETCH(QString, ticks);
        QFETCH(QString, original);
        QFETCH(QString, changed);
        Fixture f;
        f.chartSomething();
        f.w->setCastMoment(chinaTime(QDate(2013, 1, 28), QTime(16, 0)));
        CoinDialog *d = f.coins();
        QVERIFY(d);
        QCOMPARE(d->windowTitle(), u"手动摇卦"_s);
        if (swapped)
            d->swapFaces->click();
        QTest::keyClicks(d->digits, u"12301"_s);
        QVERIFY(!d->ok->isEnabled());
        QCOMPARE(d->coins(6)[0]->isEnabled(), true); // the next row to fill
        QTest::keyClicks(d->digits, u"2"_s);
        QVERIFY(d->ok->isEnabled());
        QCOMPARE(d->results(3)->text(), swapped ? u"3背 老阴 ×"_s : u"3背 老阳 ○"_s);
        d->ok->click();

        f.verifyChart(key, ticks, original, changed);
        QVERIFY(f.s().Lyongshen(3)->isHidden());
        QCOMPARE(f.w->castMoment(), CastClock);
        QCOMPARE(castOption(settingsPath(), CastOption::CoinFacesSwapped), swapped);
        CoinDialog *again = f.coins();
        QVERIFY(again);
        QCOMPARE(again->swapFaces->isChecked(), swapped);
        QCOMPARE(again->digits->text(), QString());
    }

    // Clicking coins from line 1 up: one coin flipped to 背 on each row gives six
    // young yang lines, 乾为天; flipping the second coin of line 2 twice gives it back.
    void coinsClicked()
    {
        Fixture f;
        CoinDialog *d = f.coins();
        QVERIFY(d);
        QVERIFY(!d->coins(2)[0]->isEnabled()); // rows fill from line 1 up
        d->coin_Click(3, 0);
        QCOMPARE(d->backs()[2], -1);
        for (int n = 1; n <= 6; ++n) {
            QVERIFY(!d->ok->isEnabled());
            QTest::mouseClick(d->coins(n)[1], Qt::LeftButton);
            QCOMPARE(d->coins(n)[1]->text(), u"背"_s);
            QCOMPARE(d->coins(n)[0]->text(), u"字"_s);
        }
        QCOMPARE(d->digits->text(), u"111111"_s);
        QTest::mouseClick(d->coins(2)[2], Qt::LeftButton); // line 2: two 背, 少阴
        QCOMPARE(d->digits->text(), u"121111"_s);
        QCOMPARE(d->results(2)->text(), u"2背 少阴"_s);
        QTest::mouseClick(d->coins(2)[2], Qt::LeftButton);
        QCOMPARE(d->digits->text(), u"111111"_s);
        QTest::mouseClick(d->ok, Qt::LeftButton);
        f.verifyChart(u"111111"_s, QString(), u"乾为天"_s, u"乾为天"_s);
    }

    // The two sides of a coin are told apart at a glance: 字 is much darker than 背.
    void coinSidesDiffer()
    {
        CoinDialog d(false);
        d.show();
        d.digits_Edited(u"1"_s);                  // line 1: the first coin 背, the other two 字
        const auto meanGrey = [](QWidget *coin) { // of the whole coin, averaged down to one pixel
            return qGray(
                coin->grab().toImage().scaled(1, 1, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).pixel(0, 0));
        };
        QVERIFY(meanGrey(d.coins(1)[0]) > meanGrey(d.coins(1)[1]) + 20);
    }

    // Typed text that is not a run of 0-3, at most six long, is refused with a
    // message and the rows stay as they were; Backspace empties the top row.
    void coinsRefuseBadInput_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("pasted");
        QTest::newRow("letter") << u"a"_s << QString();
        QTest::newRow("digit 4") << u"4"_s << QString();
        QTest::newRow("digit 9") << u"9"_s << QString();
        QTest::newRow("seventh digit") << u"1111"_s << QString();
        QTest::newRow("pasted sentence") << QString() << u"三个背面"_s;
        QTest::newRow("pasted digits with spaces") << QString() << u"1 2 3"_s;
        QTest::newRow("pasted seven digits") << QString() << u"1230121"_s;
        QTest::newRow("pasted full-width") << QString() << u"１２"_s;
    }
    void coinsRefuseBadInput()
    {
        QFETCH(QString, typed);
        QFETCH(QString, pasted);
        Fixture f;
        f.chartSomething();
        const QStringList before = f.snapshot();
        CoinDialog *d = f.coins();
        QVERIFY(d);
        QTest::keyClicks(d->digits, u"12"_s);
        if (typed == u"1111")
            QTest::keyClicks(d->digits, typed); // six digits stand; the seventh is refused below
        QVERIFY(d->message->text().isEmpty());
        const QString standing = d->digits->text();
        const std::array<int, 6> rows = d->backs();
        if (!pasted.isEmpty()) {
            QApplication::clipboard()->setText(pasted);
            d->digits->paste();
        } else {
            QTest::keyClicks(d->digits, typed == u"1111" ? u"1"_s : typed);
        }
        QVERIFY(!d->message->text().isEmpty());
        QCOMPARE(d->digits->text(), standing);
        QVERIFY(d->backs() == rows);

        QTest::keyClick(d->digits, Qt::Key_Backspace);
        QCOMPARE(d->backs()[standing.size() - 1], -1);
        d->ok->click(); // disabled: nothing
        QVERIFY(d->isVisible());
        QTest::keyClick(d, Qt::Key_Escape);
        QVERIFY(!d->isVisible());
        QCOMPARE(f.snapshot(), before);
        QCOMPARE(f.w->castMoment(), CastClock); // the moment of start-up, untouched
    }

    // 观梅占 (2013-01-28 16:00, 辰年十二月十七日申时): 泽火革, line 1 moving → 泽山咸.
    // 牡丹占 (2013-04-25 06:00, 巳年三月十六日卯时): 天风姤, line 5 moving → 火风鼎.
    // 2019-02-04 12:00 (lunar 戊戌 12-30, the day of 立春): by the lunar year
    // 戌 11 + 12 + 30 = 53 → 巽, + 午 7 = 60 → 震, line 6: 风雷益 → 水雷屯; by 立春
    // 亥 12: 54 → 坎, 61 → 巽, line 1: 水风井 → 水天需.
    void timeCast_data()
    {
        QTest::addColumn<QDateTime>("moment");
        QTest::addColumn<bool>("lichun");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("ticks");
        QTest::addColumn<QString>("original");
        QTest::addColumn<QString>("changed");
        QTest::newRow("观梅占") << chinaTime(QDate(2013, 1, 28), QTime(16, 0)) << false << u"101110"_s << u"1o"_s
                                << u"泽火革"_s << u"泽山咸"_s;
        QTest::newRow("牡丹占") << chinaTime(QDate(2013, 4, 25), QTime(6, 0)) << false << u"011111"_s << u"5o"_s
                                << u"天风姤"_s << u"火风鼎"_s;
        QTest::newRow("2019-02-04 new year") << chinaTime(QDate(2019, 2, 4), QTime(12, 0)) << false << u"100011"_s
                                             << u"6o"_s << u"风雷益"_s << u"水雷屯"_s;
        QTest::newRow("2019-02-04 立春") << chinaTime(QDate(2019, 2, 4), QTime(12, 0)) << true << u"011010"_s << u"1x"_s
                                         << u"水风井"_s << u"水天需"_s;
    }
    void timeCast()
    {
        QFETCH(QDateTime, moment);
        QFETCH(bool, lichun);
        QFETCH(QString, key);
        QFETCH(QString, ticks);
        QFETCH(QString, original);
        QFETCH(QString, changed);
        Fixture f;
        f.chartSomething();
        f.w->setCastMoment(moment);
        TimeCastDialog *d = f.time();
        QVERIFY(d);
        if (lichun)
            d->lichunYear->click();
        QVERIFY(d->reckoning->text().contains(original));
        d->ok->click();
        f.verifyChart(key, ticks, original, changed);
        QCOMPARE(f.w->castMoment(), moment);
        QCOMPARE(castOption(settingsPath(), CastOption::YearAtLichun), lichun);
        TimeCastDialog *again = f.time();
        QVERIFY(again);
        QCOMPARE(again->lichunYear->isChecked(), lichun);
    }

    void timeCastOutsideTheCalendar()
    {
        Fixture f;
        f.chartSomething();
        const QStringList before = f.snapshot();
        // The moment field holds 1900-01-31 .. 2100-12-31; from 23:00 on the
        // last day, with the day turning at 23:00, the lunar day is past the calendar.
        f.w->findChild<QAction *>(u"zichu"_s)->setChecked(true);
        f.w->setCastMoment(chinaTime(QDate(2100, 12, 31), QTime(23, 30)));
        TimeCastDialog *d = f.time();
        QVERIFY(d);
        QVERIFY(!d->ok->isEnabled());
        QVERIFY(d->reckoning->text().contains(u"次日 2101 年 1 月 1 日"_s));
        d->ok->click();
        QTest::keyClick(d, Qt::Key_Escape);
        QCOMPARE(f.snapshot(), before);
    }

    // 8 and 16: 坤 over 坤, (8 + 16) mod 6 = 0 → line 6: 坤为地 → 山地剥. Adding
    // the hour of 23:30 (子 1) moves line 1 instead: → 地雷复. 3 and 5: 离 over
    // 巽, 8 mod 6 = 2: 火风鼎 → 火山旅.
    void numberCast_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<bool>("addHour");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("ticks");
        QTest::addColumn<QString>("original");
        QTest::addColumn<QString>("changed");
        QTest::newRow("8 16") << u"8"_s << u"16"_s << false << u"000000"_s << u"6x"_s << u"坤为地"_s << u"山地剥"_s;
        QTest::newRow("8 16 子时") << u"8"_s << u"16"_s << true << u"000000"_s << u"1x"_s << u"坤为地"_s << u"地雷复"_s;
        QTest::newRow("3 5") << u"3"_s << u" 5 "_s << false << u"011101"_s << u"2o"_s << u"火风鼎"_s << u"火山旅"_s;
        QTest::newRow("99999999 99999999")
            << u"99999999"_s << u"99999999"_s << false << u"001001"_s << u"6o"_s << u"艮为山"_s << u"地山谦"_s;
    }
    void numberCast()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(bool, addHour);
        QFETCH(QString, key);
        QFETCH(QString, ticks);
        QFETCH(QString, original);
        QFETCH(QString, changed);
        Fixture f;
        f.chartSomething();
        const QDateTime moment = chinaTime(QDate(2014, 8, 8), QTime(23, 30));
        f.w->setCastMoment(moment);
        NumberDialog *d = f.numbers();
        QVERIFY(d);
        QTest::keyClicks(d->number1, first);
        QTest::keyClicks(d->number2, second);
        if (addHour)
            d->addHour->click();
        d->ok->click();
        QVERIFY(!d->isVisible());
        f.verifyChart(key, ticks, original, changed);
        QCOMPARE(f.w->castMoment(), moment);
        QCOMPARE(castOption(settingsPath(), CastOption::NumberAddsHour), addHour);
    }

    void numberCastRefusesBadInput_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::newRow("both empty") << QString() << QString();
        QTest::newRow("second empty") << u"5"_s << QString();
        QTest::newRow("zero") << u"0"_s << u"5"_s;
        QTest::newRow("100000000") << u"5"_s << u"100000000"_s;
        QTest::newRow("negative") << u"-5"_s << u"5"_s;
        QTest::newRow("letters") << u"12a"_s << u"5"_s;
        QTest::newRow("decimal") << u"1.5"_s << u"5"_s;
        QTest::newRow("full-width") << u"１２"_s << u"5"_s;
        QTest::newRow("separators") << u"99,999,999"_s << u"5"_s;
        QTest::newRow("pasted text") << u"八\n十六"_s << u"5"_s;
        QTest::newRow("huge") << u"123456789012345678901234567890"_s << u"5"_s;
    }
    void numberCastRefusesBadInput()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        Fixture f;
        f.chartSomething();
        const QStringList before = f.snapshot();
        NumberDialog *d = f.numbers();
        QVERIFY(d);
        d->number1->setText(first);
        d->number2->setText(second);
        d->ok->click();
        QVERIFY(d->isVisible());
        QVERIFY(!d->message->text().isEmpty());
        QCOMPARE(f.snapshot(), before);
        // The message goes as soon as the numbers are valid, before 确定.
        QTest::keyClick(d->number1, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(d->number1, u"3"_s);
        QCOMPARE(d->message->text().isEmpty(), second == u"5"_s);
        d->number2->setText(u"5"_s);
        QVERIFY(d->message->text().isEmpty());
        d->cancel->click();
        QVERIFY(!d->isVisible());
        QCOMPARE(f.snapshot(), before);
    }

    // Cancel and Escape of each dialog leave the sheet and the options alone.
    void cancelChangesNothing()
    {
        Fixture f;
        f.chartSomething();
        const QStringList before = f.snapshot();
        CoinDialog *c = f.coins();
        QTest::keyClicks(c->digits, u"123012"_s);
        c->swapFaces->click();
        c->cancel->click();
        TimeCastDialog *t = f.time();
        t->lichunYear->click();
        QTest::keyClick(t, Qt::Key_Escape);
        NumberDialog *n = f.numbers();
        n->number1->setText(u"3"_s);
        n->number2->setText(u"5"_s);
        n->addHour->click();
        QTest::keyClick(n, Qt::Key_Escape);
        QCOMPARE(f.snapshot(), before);
        QCOMPARE(f.w->castMoment(), CastClock);
        for (CastOption o : {CastOption::CoinFacesSwapped, CastOption::YearAtLichun, CastOption::NumberAddsHour})
            QVERIFY(!castOption(settingsPath(), o));
    }

    // One dialog at a time: a second command raises the open one.
    void oneDialogAtATime()
    {
        Fixture f;
        CoinDialog *c = f.coins();
        QVERIFY(c);
        f.w->shuzi_Click();
        QVERIFY(!f.w->findChild<NumberDialog *>());
        c->cancel->click();
        QVERIFY(f.numbers());
    }
};

QTEST_MAIN(TestCastMethods)
#include "tst_castmethods.moc"
