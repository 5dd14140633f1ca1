// The progress window on its own: the bar, the messages the message step
// shows as the bar advances, the cast at 1000 and the close after it.
#include "casting/progresswindow.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
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

    // Placed partly or wholly off the screen (a small screen at 200 %), the
    // window moves just far enough to be inside the available area; a place
    // already inside is kept.
    void staysInsideTheScreen_data()
    {
        QTest::addColumn<QPoint>("offset"); // of the window's centre from the area's centre, in half the area's size
        QTest::newRow("centred") << QPoint(0, 0);
        QTest::newRow("off the right") << QPoint(1, 0);
        QTest::newRow("off the bottom") << QPoint(0, 1);
        QTest::newRow("off the left and top") << QPoint(-1, -1);
        QTest::newRow("far beyond the bottom right") << QPoint(40, 40);
        QTest::newRow("far beyond the top left") << QPoint(-40, -40);
    }
    void staysInsideTheScreen()
    {
        QFETCH(QPoint, offset);
        Window w;
        w.zg->adjustSize();
        const QRect area = w.zg->screen()->availableGeometry();
        const QSize size = w.zg->frameGeometry().size();
        QVERIFY2(size.width() <= area.width() && size.height() <= area.height(), "the window fits the screen");
        const QPoint wanted = area.center() - QPoint(size.width() / 2, size.height() / 2)
                              + QPoint(offset.x() * area.width() / 2, offset.y() * area.height() / 2);
        w.zg->move(wanted);
        w.zg->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.zg.get()));
        const QRect frame = w.zg->frameGeometry();
        QVERIFY2(area.contains(frame),
                 qPrintable(u"%1,%2 %3x%4"_s.arg(frame.x()).arg(frame.y()).arg(frame.width()).arg(frame.height())));
        if (offset.isNull())
            QCOMPARE(frame.topLeft(), wanted);
        // Moved no further than needed: an edge it crossed is where it now lies.
        if (offset.x() > 0)
            QCOMPARE(frame.right(), area.right());
        if (offset.x() < 0)
            QCOMPARE(frame.left(), area.left());
        if (offset.y() > 0)
            QCOMPARE(frame.bottom(), area.bottom());
        if (offset.y() < 0)
            QCOMPARE(frame.top(), area.top());
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

// A small screen: the offscreen screen at 200 % is 400 × 300 logical pixels.
int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_SCALE_FACTOR"))
        qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    TestProgressWindow test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_progresswindow.moc"
