// The progress window on its own: the bar, the messages the message step
// shows as the bar advances, the cast at 1000 and the close after it.
#include "casting/progresswindow.h"

#include <QLabel>
#include <QProgressBar>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace lotgrid;
using namespace Qt::StringLiterals;

namespace {

struct Window {
    int casts = 0;
    std::unique_ptr<ProgressWindow> zg;
    Window()
        : zg(std::make_unique<ProgressWindow>([this] { ++casts; }))
    {
    }
};

} // namespace

class TestProgressWindow : public QObject
{
    Q_OBJECT
private slots:
    void opensEmpty()
    {
        Window w;
        w.zg->show();
        QCOMPARE(w.zg->objectName(), u"zg"_s);
        QCOMPARE(w.zg->windowTitle(), u"系统正在占卦中......"_s);
        QVERIFY(w.zg->windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(w.zg->ProgressBar1->minimum(), 0);
        QCOMPARE(w.zg->ProgressBar1->maximum(), 1000);
        QCOMPARE(w.zg->ProgressBar1->value(), 0);
        QVERIFY(w.zg->Labelinfo->text().isEmpty());
        for (QTimer *t : {w.zg->Timer1, w.zg->Timer2}) {
            QCOMPARE(t->interval(), 100);
            QVERIFY(t->isActive());
        }
        QCOMPARE(w.zg->findChild<QTimer *>(u"Timer1"_s), w.zg->Timer1);
        QCOMPARE(w.zg->findChild<QLabel *>(u"Labelinfo"_s), w.zg->Labelinfo);
    }

    // Both steps in turn, as their timers run: each message appears at its
    // bar value and stays until the next one.
    void messagesAsTheBarAdvances()
    {
        Window w;
        QStringList changes;
        QString last;
        while (w.casts == 0) {
            w.zg->stepTimer1();
            w.zg->stepTimer2();
            QCOMPARE(w.zg->Text1, QString::number(w.zg->ProgressBar1->value()));
            if (w.zg->Labelinfo->text() != last) {
                last = w.zg->Labelinfo->text();
                changes << u"%1 %2"_s.arg(w.zg->ProgressBar1->value()).arg(last);
            }
        }
        QCOMPARE(changes, (QStringList{u"110 正在卜第一爻……"_s, u"210 正在卜第二爻……"_s, u"310 正在卜第三爻……"_s,
                                       u"410 正在卜第四爻……"_s, u"510 正在卜第五爻……"_s, u"610 正在卜第六爻……"_s,
                                       u"810 正在计算有无动爻……"_s, u"910 卜卦完毕……"_s}));
    }

    // The message step may miss a value; the label keeps the earlier message.
    void skippedValueKeepsTheMessage()
    {
        Window w;
        for (int i = 0; i < 22; ++i) // 10 .. 220, the message step sees none of them
            w.zg->stepTimer1();
        w.zg->stepTimer2();
        QVERIFY(w.zg->Labelinfo->text().isEmpty());
        while (w.zg->ProgressBar1->value() < 310)
            w.zg->stepTimer1();
        w.zg->stepTimer2();
        QCOMPARE(w.zg->Labelinfo->text(), u"正在卜第三爻……"_s);
        w.zg->stepTimer1(); // 320 (and 410 skipped below)
        w.zg->stepTimer1();
        w.zg->stepTimer2();
        QCOMPARE(w.zg->Labelinfo->text(), u"正在卜第三爻……"_s);
    }

    void castsOnceAtTheHundredthStep()
    {
        Window w;
        w.zg->show();
        QVERIFY(!w.zg->close());
        for (int i = 1; i < 100; ++i)
            w.zg->stepTimer1();
        QCOMPARE(w.zg->ProgressBar1->value(), 990);
        QCOMPARE(w.casts, 0);
        w.zg->stepTimer1();
        QCOMPARE(w.zg->ProgressBar1->value(), 1000);
        QCOMPARE(w.casts, 1);
        QVERIFY(!w.zg->Timer1->isActive());
        QVERIFY(!w.zg->Timer2->isActive());
        w.zg->stepTimer1();
        QCOMPARE(w.casts, 1);
        QCOMPARE(w.zg->ProgressBar1->value(), 1000);
        QVERIFY(w.zg->close()); // refused only before the cast
    }

    // The only test on real timers: the bar runs by itself at 10 every 100 ms.
    void timersAdvanceTheBar()
    {
        Window w;
        w.zg->show();
        QTRY_VERIFY_WITH_TIMEOUT(w.zg->Labelinfo->text() == u"正在卜第一爻……", 5000);
        QVERIFY(w.zg->ProgressBar1->value() >= 110);
        QCOMPARE(w.casts, 0);
    }
};

QTEST_MAIN(TestProgressWindow)
#include "tst_progresswindow.moc"
