// The window 周易经文 from the main window: the 工具 item and the 卦盘 pane's
// button open one window, which follows the chart and the zoom; its search
// lists places as "卦 · 爻" and shows the one clicked.
#include "common/mainwindowfixture.h"
#include "ui/reference/jingwenwindow.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>

using namespace lotgrid;
using namespace Qt::StringLiterals;

class TestMainWindowJingwen : public QObject
{
    Q_OBJECT
private slots:
    void windowFollowsTheChartAndTheZoom()
    {
        auto w = makeMainWindow();
        w->show();
        CastInput cast;
        for (int n = 1; n <= 6; ++n)
            cast.line(n) = {u'1', n == 3};
        w->loadCast(cast);
        w->findChild<QAction *>(u"zhouyiJingwen"_s)->trigger();
        auto *window = w->findChild<JingwenWindow *>(u"jingwen"_s);
        QVERIFY(window && window->isVisible());
        // 乾 with its third line moving reads 九三; the changed hexagram is 履.
        QString shown = window->text()->toPlainText();
        QVERIFY2(shown.contains(u"【主】乾 九三"_s), qPrintable(shown));
        QVERIFY(shown.contains(u"变卦 天泽履（履）"_s));

        cast.line(3).moving = false;
        w->loadCast(cast);
        shown = window->text()->toPlainText();
        QVERIFY(shown.contains(u"所占经文（静卦）"_s) && !shown.contains(u"变卦"_s));

        // The pane's button raises the same window.
        w->findChild<QPushButton *>(u"guapanJingwen"_s)->click();
        QCOMPARE(w->findChildren<JingwenWindow *>(u"jingwen"_s).size(), 1);

        const qreal before = window->font().pointSizeF();
        w->zoomIn();
        QVERIFY(window->font().pointSizeF() > before);
        QCOMPARE(window->font().pointSizeF(), w->sheet().font().pointSizeF());
    }

    void searchShowsThePlaceClicked()
    {
        JingwenWindow window;
        window.searchBox()->setText(u"帝乙"_s);
        QListWidget *results = window.results();
        QCOMPARE(results->count(), 2);
        QCOMPARE(results->item(0)->text(), u"泰 · 六五"_s);
        QCOMPARE(results->item(1)->text(), u"归妹 · 六五"_s);
        QTest::mouseClick(results->viewport(), Qt::LeftButton, {}, results->visualItemRect(results->item(1)).center());
        QVERIFY(window.text()->toPlainText().startsWith(u"雷泽归妹（归妹）"_s));
        auto *back = window.findChild<QPushButton *>(u"jingwenBengua"_s);
        QVERIFY(back->isEnabled());
        back->click();
        QVERIFY(window.text()->toPlainText().startsWith(u"六爻未齐"_s));
        window.searchBox()->setText(u"无此语"_s);
        QCOMPARE(results->count(), 1); // says nothing was found
        QVERIFY(results->item(0)->data(Qt::UserRole).isNull());
    }
};

QTEST_MAIN(TestMainWindowJingwen)
#include "tst_mainwindowjingwen.moc"
