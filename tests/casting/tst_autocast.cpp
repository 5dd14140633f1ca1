// The automatic cast on a real main window: the dialog and its validation,
// the clearing of a charted sheet, the progress window while the main window
// is hidden, fixed draws written through the line fields, and the deferred
// steps that tick the moving line and write the lines back.
#include "casting/autocast.h"
#include "casting/castdialog.h"
#include "casting/progresswindow.h"
#include "chart/hexagrams.h"
#include "common/mainwindowfixture.h"
#include "common/modal.h"
#include "qtcore/textconv.h"
#include "sheet/chartsteps.h"
#include "widgets/lineglyph.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

using namespace lotgrid;
using namespace Qt::StringLiterals;

namespace {

// A window whose casts draw the given bits ("0 1 1 ..." as d1..d18, each bit
// given as a uniform value below or above one half), counting the sources asked for.
struct Fixture {
    std::shared_ptr<int> sources = std::make_shared<int>(0);
    std::shared_ptr<QString> bits = std::make_shared<QString>();
    std::unique_ptr<MainWindow> w;

    explicit Fixture(const QString &draws = u"011010 010000 101110"_s)
    {
        *bits = draws;
        Environment env = testEnvironment();
        env.newCastSource = [sources = sources, bits = bits] {
            ++*sources;
            QList<double> values;
            for (QChar c : *bits)
                if (c == u'0' || c == u'1')
                    values << (c == u'1' ? 0.75 : 0.25);
            auto next = std::make_shared<qsizetype>(0);
            return std::function<double()>([values, next] { return values.at((*next)++ % values.size()); });
        };
        w = makeMainWindow(std::move(env));
        w->show();
    }

    ChartSheet &s() { return w->sheet(); }
    AutoCast &cast() { return w->autoCast(); }

    CastDialog *openTools()
    {
        w->findChild<QAction *>(u"zd"_s)->trigger();
        return cast().tools();
    }

    void confirm(const QString &question, const QString &sex)
    {
        CastDialog *tools = openTools();
        tools->TextWHS->setText(question);
        tools->Combo1->setCurrentText(sex);
        tools->Command1->click();
    }

    // Both progress steps in turn until the bar reaches 1000 and the cast runs.
    void runProgress()
    {
        QPointer<ProgressWindow> zg = cast().zg();
        for (int i = 0; zg && !zg->castDone() && i < 200; ++i) {
            zg->stepTimer1();
            zg->stepTimer2();
        }
    }

    void castFully(const QString &question = u"问事"_s, const QString &sex = u"男"_s)
    {
        confirm(question, sex);
        runProgress();
        cast().stepTimerzg();
        cast().stepTimer6y();
    }

    QString lines()
    {
        QString key;
        for (int n = 1; n <= 6; ++n)
            key += s().Text(n)->text();
        return key;
    }

    // Which boxes are ticked: "co5", "cx2", ... lowest line first.
    QStringList ticks()
    {
        QStringList ticked;
        for (int n = 1; n <= 6; ++n) {
            if (s().co(n)->isChecked())
                ticked << u"co%1"_s.arg(n);
            if (s().cx(n)->isChecked())
                ticked << u"cx%1"_s.arg(n);
        }
        return ticked;
    }

    // A manual chart: the lines typed, then the boxes ticked.
    void chartByHand(const QString &key, const QStringList &boxes)
    {
        setLines(s(), key);
        for (const QString &box : boxes) {
            const int n = box.right(1).toInt();
            (box.startsWith(u"co") ? s().co(n) : s().cx(n))->setChecked(true);
        }
    }

    // Everything the user sees of the sheet, for before/after comparisons.
    QStringList snapshot()
    {
        QStringList all{lines(),
                        ticks().join(u' '),
                        s().bengua->text(),
                        s().biangua->text(),
                        s().TextWHS->text(),
                        s().Combo1->currentText()};
        for (auto *family : {&s().Lyao, &s().sy, &s().LSY, &s().Lliuqin, &s().Bsy, &s().L, &s().BGLiuqin, &s().liushen,
                             &s().Lyongshen})
            all << textsOf(*family).join(u'|');
        for (int n = 1; n <= 6; ++n)
            all << u"%1%2%3%4"_s.arg(s().yan(n)->isVisible())
                       .arg(s().yin(n)->isVisible())
                       .arg(s().Byan(n)->isVisible())
                       .arg(s().Byin(n)->isVisible());
        return all;
    }
};

QString hexagram(const QString &key)
{
    const HexagramRow *row = FindHexagramByKey(u16(key));
    return row ? qs(row->text) : QString();
}

} // namespace

class TestAutoCast : public QObject
{
    Q_OBJECT
private slots:
    void dialogOpensWithTheQuestion()
    {
        Fixture f;
        f.s().TextWHS->setText(u"问求财"_s);
        f.s().Combo1->setCurrentIndex(1);
        CastDialog *tools = f.openTools();
        QVERIFY(tools);
        QVERIFY(QTest::qWaitForWindowExposed(tools));
        QCOMPARE(tools->objectName(), u"Tools"_s);
        QCOMPARE(tools->windowTitle(), u"六爻之电脑卜卦"_s);
        QVERIFY(tools->isModal());
        QCOMPARE(QApplication::activeModalWidget(), tools);
        QCOMPARE(tools->minimumSize(), tools->maximumSize());
        QCOMPARE(tools->TextWHS->text(), u"问求财"_s);
        QVERIFY(tools->Combo1->currentIndex() == 1 && !tools->Combo1->isVisible()); // the sheet's sex, not asked again
        QCOMPARE(tools->Combo1->count(), 2);
        QCOMPARE(tools->Combo1->itemText(0), u"男"_s);
        QCOMPARE(tools->Combo1->itemText(1), u"女"_s);
        QCOMPARE(tools->Command1->text(), u"确定"_s);
        QVERIFY(tools->Command1->isDefault());
        QCOMPARE(tools->Command2->text(), u"取消"_s);
        QStringList labels;
        for (const QLabel *l : tools->findChildren<QLabel *>())
            if (l->isVisible())
                labels << l->text();
        QCOMPARE(labels, (QStringList{u"卜问何事："_s, u"*"_s, u"以下是必填项："_s}));

        f.w->findChild<QAction *>(u"zd"_s)->trigger(); // again: the same dialog, not a second one
        QCOMPARE(f.cast().tools(), tools);
        QCOMPARE(f.w->findChildren<CastDialog *>().size(), 1);
    }

    void missingFieldIsRefused_data()
    {
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("sex");
        QTest::newRow("question, no sex") << u"问功名"_s << QString();
        QTest::newRow("sex, no question") << QString() << u"女"_s;
        QTest::newRow("neither") << QString() << QString();
    }
    void missingFieldIsRefused()
    {
        QFETCH(QString, question);
        QFETCH(QString, sex);
        Fixture f;
        f.chartByHand(u"110010"_s, {u"co1"_s});
        f.s().TextWHS->setText(question.isEmpty() ? u"原来的问题"_s : QString());
        const QStringList before = f.snapshot();

        CastDialog *tools = f.openTools();
        tools->TextWHS->setText(question);
        tools->Combo1->setCurrentText(sex);
        auto answer = answerNextModal(QMessageBox::Ok);
        tools->Command1->click();
        QVERIFY(answer->seen);
        QCOMPARE(answer->title, u"提示"_s);
        QCOMPARE(answer->text, u"您还有所需选项未填写！"_s);
        QCOMPARE(answer->icon, QMessageBox::Information);

        QCOMPARE(f.cast().tools(), tools);
        QVERIFY(tools->isVisible());
        QCOMPARE(tools->TextWHS->text(), question);
        QCOMPARE(tools->Combo1->currentText(), sex);
        QVERIFY(!f.cast().zg());
        QVERIFY(f.w->isVisible());
        QCOMPARE(f.snapshot(), before);
        QCOMPARE(*f.sources, 0);
    }

    void enterConfirms()
    {
        Fixture f;
        CastDialog *tools = f.openTools();
        tools->TextWHS->setText(u"问出行"_s);
        tools->Combo1->setCurrentIndex(0);
        QTest::keyClick(tools->TextWHS, Qt::Key_Return);
        QVERIFY(f.cast().zg());
        QVERIFY(!f.w->isVisible());
    }

    void cancelChangesNothing_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("取消") << u"button"_s;
        QTest::newRow("Escape") << u"escape"_s;
        QTest::newRow("close box") << u"close"_s;
    }
    void cancelChangesNothing()
    {
        QFETCH(QString, how);
        Fixture f;
        f.s().dayStems[0]->setChecked(true);
        f.chartByHand(u"010011"_s, {u"cx3"_s});
        f.s().TextWHS->setText(u"原来的问题"_s);
        f.s().Combo1->setCurrentIndex(0);
        const QStringList before = f.snapshot();

        QPointer<CastDialog> tools = f.openTools();
        tools->TextWHS->setText(u"另一个问题"_s);
        tools->Combo1->setCurrentIndex(1);
        if (how == u"button")
            tools->Command2->click();
        else if (how == u"escape")
            QTest::keyClick(tools.data(), Qt::Key_Escape);
        else
            tools->close();
        QVERIFY(!tools || !tools->isVisible());
        QTRY_VERIFY(!tools);

        QCOMPARE(f.snapshot(), before);
        QVERIFY(f.s().cx(3)->isChecked());
        QVERIFY(!f.cast().zg());
        QVERIFY(f.w->isVisible());
        QCOMPARE(*f.sources, 0);
    }

    // A full manual chart with two moving lines, a use-god mark, spirits and
    // builds; confirm empties the chart before the progress window shows.
    void confirmClearsTheChart()
    {
        Fixture f;
        f.s().dayStems[2]->setChecked(true);
        f.w->monthBuild_Click(3);
        f.w->dayBuild_Click(7);
        f.chartByHand(u"110010"_s, {u"co1"_s, u"cx4"_s});
        f.w->yao_Click(2);
        f.s().TextWHS->setText(u"旧问题"_s);
        f.s().Combo1->setCurrentIndex(0);
        QVERIFY(!f.s().bengua->text().isEmpty());
        QVERIFY(!f.s().Lliuqin(1)->text().isEmpty());
        QVERIFY(!f.s().L(1)->text().isEmpty());
        const QStringList spirits = textsOf(f.s().liushen);
        const QString month = f.s().Lyuejian->text();
        const QString day = f.s().Lrijian->text();

        f.confirm(u"新问题"_s, u"女"_s);

        ProgressWindow *zg = f.cast().zg();
        QVERIFY(zg);
        QVERIFY(zg->isVisible());
        QCOMPARE(zg->ProgressBar1->value(), 0);
        QVERIFY(!f.w->isVisible());
        QTRY_VERIFY(!f.cast().tools());

        ChartSheet &s = f.s();
        QCOMPARE(s.TextWHS->text(), u"新问题"_s);
        QCOMPARE(s.Combo1->currentText(), u"女"_s);
        QCOMPARE(s.Combo1->currentIndex(), 1);
        QCOMPARE(f.lines(), QString());
        QVERIFY(s.Text(1)->isEnabled());
        QVERIFY(s.bengua->text().isEmpty());
        const QStringList six(6, QString());
        QCOMPARE(textsOf(s.Lyao), six);
        QCOMPARE(textsOf(s.sy), six);
        QCOMPARE(textsOf(s.LSY), six);
        QCOMPARE(textsOf(s.Lliuqin), six);
        QCOMPARE(textsOf(s.L), six);
        for (int n = 1; n <= 6; ++n) {
            QVERIFY(!s.co(n)->isChecked() && !s.co(n)->isEnabled());
            QVERIFY(!s.cx(n)->isChecked() && !s.cx(n)->isEnabled());
            for (LineGlyph *glyph : {s.yan(n), s.yin(n), s.Byan(n), s.Byin(n)})
                QVERIFY(glyph->isHidden());
            QVERIFY(s.sy(n)->isHidden());
            QVERIFY(s.Lyongshen(n)->isHidden());
            QVERIFY(!s.Lyongshen(n)->font().bold());
        }
        QVERIFY(s.XX.isEmpty());
        // Left as they were: spirits, builds, the changed values, the chart steps.
        QCOMPARE(textsOf(s.liushen), spirits);
        QCOMPARE(s.Lyuejian->text(), month);
        QCOMPARE(s.Lrijian->text(), day);
        QCOMPARE(s.BY(1) + s.BY(2) + s.BY(3) + s.BY(4) + s.BY(5) + s.BY(6), u"110010"_s);
        QVERIFY(f.w->steps().isOn(f.w->steps().TimerBengua));
        QVERIFY(f.w->steps().isOn(f.w->steps().Timerai));
        QCOMPARE(*f.sources, 0); // nothing is drawn before the bar is full
    }

    void castWithFixedDraws_data()
    {
        QTest::addColumn<QString>("draws");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("tick"); // empty: no moving line
        QTest::newRow("011010 010000 101110, line 5 old yang above a 0000 on line 6")
            << u"011010 010000 101110"_s << u"011010"_s << u"co5"_s;
        QTest::newRow("101010 100000 100000, line 1 old yang above a 0000 on line 4")
            << u"101010 100000 100000"_s << u"101010"_s << u"co1"_s;
        QTest::newRow("111111 111111 111111, line 1 old yang") << u"111111 111111 111111"_s << u"111111"_s << u"co1"_s;
        QTest::newRow("101101 000110 001110, line 2 old yin") << u"101101 000110 001110"_s << u"101101"_s << u"cx2"_s;
        QTest::newRow("000101 100100 001011, line 6 old yang") << u"000101 100100 001011"_s << u"000101"_s << u"co6"_s;
        QTest::newRow("001100 110011 100010, no moving line") << u"001100 110011 100010"_s << u"001100"_s << QString();
    }
    void castWithFixedDraws()
    {
        QFETCH(QString, draws);
        QFETCH(QString, key);
        QFETCH(QString, tick);
        Fixture f(draws);
        f.castFully();
        ChartSheet &s = f.s();

        QCOMPARE(f.lines(), key);
        QCOMPARE(f.ticks(), tick.isEmpty() ? QStringList() : QStringList{tick});
        QString changed = key;
        if (!tick.isEmpty()) {
            const int n = tick.right(1).toInt();
            changed[n - 1] = key[n - 1] == u'1' ? u'0' : u'1';
            QCOMPARE(s.sy(n)->text(), tick.startsWith(u"co") ? u"○"_s : u"×"_s);
            QVERIFY(!s.Text(n)->isEnabled());
        }
        QCOMPARE(s.bengua->text(), hexagram(key));
        QCOMPARE(s.biangua->text(), hexagram(changed));
        for (int n = 1; n <= 6; ++n) {
            QCOMPARE(QString(QChar(f.cast().drawnLines()[n - 1].value)), key.mid(n - 1, 1));
            QVERIFY(!s.Lliuqin(n)->text().isEmpty());
            QVERIFY(!s.L(n)->text().isEmpty());
            QCOMPARE(s.yan(n)->isVisible(), key[n - 1] == u'1');
            QCOMPARE(s.yin(n)->isVisible(), key[n - 1] == u'0');
            QCOMPARE(s.Byan(n)->isVisible(), changed[n - 1] == u'1');
        }
        // Six lines make a full chart: the marks and the screenshot are available.
        QVERIFY(f.w->findChild<QAction *>(u"jietutu"_s)->isEnabled());
        for (int n = 1; n <= 6; ++n) {
            QVERIFY(f.w->findChild<QAction *>(u"yao%1"_s.arg(n))->isEnabled());
            QVERIFY(f.w->findChild<QAction *>(u"F%1"_s.arg(n))->isEnabled());
        }
        QCOMPARE(s.TextWHS->text(), u"问事"_s);
        QCOMPARE(s.Combo1->currentText(), u"男"_s);
        QVERIFY(f.w->isVisible());
        QVERIFY(!f.cast().Timerzg->isActive());
        QVERIFY(!f.cast().Timer6y->isActive());
        QCOMPARE(*f.sources, 1);
    }

    // A cast step by step: lines at 1000, the tick 200 ms later,
    // the lines written back 500 ms after the cast.
    void deferredStepsAfterTheCast()
    {
        Fixture f;
        f.confirm(u"问事"_s, u"男"_s);
        QPointer<ProgressWindow> zg = f.cast().zg();
        f.runProgress();
        QVERIFY(f.w->isVisible());
        QVERIFY(!zg || !zg->isVisible());
        QTRY_VERIFY(!zg);
        QVERIFY(!f.cast().zg());

        QCOMPARE(f.lines(), u"011010"_s);
        QCOMPARE(f.cast().drawnLines()[4], (CastLine{u'1', true})); // 1111 on line 5, below the 0000 of line 6
        QCOMPARE(f.s().bengua->text(), hexagram(u"011010"_s));
        QCOMPARE(f.ticks(), QStringList());
        QCOMPARE(f.cast().Timerzg->interval(), 200);
        QCOMPARE(f.cast().Timer6y->interval(), 500);
        QVERIFY(f.cast().Timerzg->isActive());
        QVERIFY(f.cast().Timer6y->isActive());

        f.cast().stepTimerzg();
        QCOMPARE(f.ticks(), QStringList{u"co5"_s});
        QCOMPARE(f.s().sy(5)->text(), u"○"_s);
        QCOMPARE(f.s().BY(5), u"0"_s);
        QCOMPARE(f.s().biangua->text(), hexagram(u"011000"_s));
        QVERIFY(!f.cast().Timerzg->isActive());
        QVERIFY(f.cast().Timer6y->isActive());

        // A line changed by hand in the meantime gets its cast value back.
        f.s().Text(2)->setText(u"0"_s);
        QCOMPARE(f.s().Lyao(2)->text(), u"六二"_s);
        f.cast().stepTimer6y();
        QCOMPARE(f.lines(), u"011010"_s);
        QCOMPARE(f.s().Lyao(2)->text(), u"九二"_s);
        QCOMPARE(f.ticks(), QStringList{u"co5"_s});
        QVERIFY(!f.cast().Timer6y->isActive());
    }

    void mainWindowHiddenUntilTheBarIsFull()
    {
        Fixture f;
        f.confirm(u"问事"_s, u"男"_s);
        ProgressWindow *zg = f.cast().zg();
        QVERIFY(zg);
        for (int step = 1; step < 100; ++step) {
            zg->stepTimer1();
            zg->stepTimer2();
            QVERIFY(!f.w->isVisible());
            QVERIFY(zg->isVisible());
        }
        QCOMPARE(zg->ProgressBar1->value(), 990);
        QCOMPARE(zg->Labelinfo->text(), u"卜卦完毕……"_s);
        QCOMPARE(f.lines(), QString());
        zg->stepTimer1(); // 1000
        QVERIFY(f.w->isVisible());
        QVERIFY(!zg->isVisible());
        QCOMPARE(f.lines(), u"011010"_s);
    }

    void progressWindowCannotBeClosedDuringTheCast()
    {
        Fixture f;
        f.confirm(u"问事"_s, u"男"_s);
        ProgressWindow *zg = f.cast().zg();
        QVERIFY(QTest::qWaitForWindowExposed(zg));
        QVERIFY(!zg->close());
        QCloseEvent systemClose;
        QCoreApplication::sendEvent(zg, &systemClose);
        QVERIFY(!systemClose.isAccepted());
        QVERIFY(zg->isVisible());
        QVERIFY(!f.w->isVisible());
        f.runProgress();
        QVERIFY(f.w->isVisible());
        QCOMPARE(f.lines(), u"011010"_s);
    }

    void mainWindowReturnsIfTheProgressWindowIsDestroyed()
    {
        Fixture f;
        f.confirm(u"问事"_s, u"男"_s);
        QVERIFY(!f.w->isVisible());
        delete f.cast().zg();
        QVERIFY(f.w->isVisible());
        QVERIFY(!f.cast().zg());
    }

    // Every cast asks for a new source, and a second cast replaces the first
    // chart, its moving line included.
    void everyCastSeedsAfresh()
    {
        Fixture f(u"101010 100000 100000"_s);
        f.castFully();
        QCOMPARE(f.lines(), u"101010"_s);
        QCOMPARE(f.ticks(), QStringList{u"co1"_s});
        *f.bits = u"101101 000110 001110"_s;
        f.castFully(u"再问"_s, u"女"_s);
        QCOMPARE(*f.sources, 2);
        QCOMPARE(f.lines(), u"101101"_s);
        QCOMPARE(f.ticks(), QStringList{u"cx2"_s});
        QCOMPARE(f.s().sy(1)->text(), QString());
        QCOMPARE(f.s().biangua->text(), hexagram(u"111101"_s));
    }

    void startUpGuard()
    {
        Fixture f;
        AutoCast &c = f.cast();
        QCOMPARE(c.TimerzgOFF->interval(), 2000);
        QVERIFY(c.TimerzgOFF->isActive());
        QVERIFY(!c.Timerzg->isActive());
        QVERIFY(!c.Timer6y->isActive());
        c.Timerzg->start();
        c.Timer6y->start();
        c.stepTimerzgOFF();
        QVERIFY(!c.Timerzg->isActive());
        QVERIFY(!c.Timer6y->isActive());
        QVERIFY(!c.TimerzgOFF->isActive());
    }

    // The one run on the real timers: the whole cast takes about ten seconds,
    // and the tick and the write-back follow by themselves.
    void realTimersFinishTheCast()
    {
        Fixture f;
        QElapsedTimer clock;
        f.confirm(u"问事"_s, u"男"_s);
        clock.start();
        QTRY_VERIFY_WITH_TIMEOUT(f.w->isVisible(), 20000);
        QVERIFY2(clock.elapsed() > 9000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(f.lines(), u"011010"_s);
        QTRY_VERIFY_WITH_TIMEOUT(f.s().co(5)->isChecked(), 3000);
        QTRY_VERIFY_WITH_TIMEOUT(!f.cast().Timer6y->isActive(), 3000);
        QVERIFY(!f.cast().Timerzg->isActive());
        QCOMPARE(f.ticks(), QStringList{u"co5"_s});
        QTRY_VERIFY(!f.cast().zg());
    }
};

QTEST_MAIN(TestAutoCast)
#include "tst_autocast.moc"
