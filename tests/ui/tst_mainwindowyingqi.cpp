// 应期 and the check of outcomes from the main window, on a journal in a
// temporary folder: 应期参考 enabled with six lines and a moment and following
// the chart; a saved case keeps its first candidate; at start-up the cases
// 待验 are counted in the status bar and the 案例库 item, one click lists
// them, and recording an outcome takes the count down; 验证统计 lists a bar's
// cases in 案例库 and writes its tables as CSV.
#include "common/mainwindowfixture.h"
#include "common/modal.h"
#include "journal/anli.h"
#include "journal/journal.h"
#include "journal/tongji.h"
#include "sheet/chartdocument.h"
#include "ui/reference/yingqiwindow.h"

#include <QCheckBox>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace lotgrid;
using namespace Qt::StringLiterals;

namespace {

// 乾为天 cast on `day` at 09:00, its builds from that moment.
CaseRecord caseOn(QDate day, Verdict verdict, const QStringList &tags = {})
{
    CaseRecord c;
    for (int n = 1; n <= 6; ++n)
        c.cast.line(n) = {u'1', false};
    c.cast.moment = Moment{{day.year(), day.month(), day.day()}, 9, 0};
    c.question = day.toString(Qt::ISODate);
    c.verdict = verdict;
    c.tags = tags;
    c.firstYingqi = firstYingqiOf(c);
    return c;
}

} // namespace

class TestMainWindowYingqi : public QObject
{
    Q_OBJECT
private slots:
    void yingqiWindowFollowsTheChart()
    {
        auto w = makeMainWindow();
        QAction *item = w->findChild<QAction *>(u"yingqiCankao"_s);
        QVERIFY(!item->isEnabled());
        setLines(w->sheet(), u"111111"_s);
        w->document().setMoment(Moment{{2026, 12, 7}, 8, 30});
        QVERIFY(item->isEnabled());
        item->trigger();
        auto *window = w->findChild<YingqiWindow *>(u"yingqi"_s);
        QVERIFY(window && window->isVisible() && window->table()->rowCount() > 0);
        QVERIFY(window->table()->item(0, YingqiWindow::DateColumn)->text().startsWith(u"2026-12"_s));
        w->document().setMoment(Moment{{2027, 5, 1}, 8, 30});
        QVERIFY(window->table()->item(0, YingqiWindow::DateColumn)->text().startsWith(u"2027-05"_s));
    }

    void awaitingAndOutcomes()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"journal.sqlite"_s);
        {
            Journal journal(path);
            QVERIFY(journal.open());
            // Today is 2014-08-08 in the test environment: two cases of June wait, one of August does not yet.
            for (const CaseRecord &c :
                 {caseOn({2014, 6, 2}, Verdict::Open), caseOn({2014, 6, 9}, Verdict::Open),
                  caseOn({2014, 8, 7}, Verdict::Open), caseOn({2014, 5, 5}, Verdict::Fulfilled, {u"财"_s}),
                  caseOn({2014, 5, 6}, Verdict::Failed, {u"财"_s})})
                QVERIFY(journal.save(c));
        }
        Environment env = testEnvironment();
        env.journalPath = path;
        auto w = makeMainWindow(env);
        QAction *anliku = w->findChild<QAction *>(u"anliku"_s);
        // Counted once the window has first been painted.
        w->show();
        QTRY_COMPARE(anliku->text(), u"案例库（2 待验）"_s);
        auto *bar = w->findChild<QStatusBar *>(u"zhuangtai"_s);
        auto *count = w->findChild<QPushButton *>(u"daiyan"_s);
        QVERIFY(bar && count && count->text().startsWith(u"2 个案例待验"_s));

        count->click();
        auto *anli = w->findChild<Anli *>(u"Anli"_s);
        QVERIFY(anli && anli->isVisible());
        QCOMPARE(anli->model()->rowCount(), 2);
        anli->findChild<QTableView *>(u"cases"_s)->selectRow(0);

        // 应验… with the day it came about and a note.
        answerNextModal(QMessageBox::Ok, [](QWidget *dialog) {
            dialog->findChild<QCheckBox *>(u"dated"_s)->setChecked(true);
            dialog->findChild<QLineEdit *>(u"note"_s)->setText(u"如期"_s);
            dialog->findChild<QPushButton *>(u"record"_s)->click();
        });
        anli->findChild<QPushButton *>(u"jiluYingyan"_s)->click();
        const CaseRecord recorded = *anli->currentCase();
        QCOMPARE(recorded.verdict, Verdict::Fulfilled);
        QCOMPARE(recorded.outcomeDate, QDate(2014, 8, 8));
        QCOMPARE(recorded.outcome, u"如期"_s);
        QCOMPARE(anliku->text(), u"案例库（1 待验）"_s);

        // 验证统计: the 标签 bar of 财 lists its two cases; the tables go to a CSV file.
        anli->openTongji();
        // The window comes from the statistics plugin, whose copy of the class this test's is.
        QWidget *window = anli->tongji();
        auto *tongji = window && window->inherits("lotgrid::Tongji") ? static_cast<Tongji *>(window) : nullptr;
        QVERIFY(tongji && tongji->isVisible());
        QCOMPARE(tongji->overall(), HitCount({2, 1}));
        const StatsRow tag = tongji->rows(StatsBy::Tag).front();
        QCOMPARE(tag.label, u"财"_s);
        emit tongji->groupChosen(tag.group, tag.label);
        QCOMPARE(anli->model()->rowCount(), 2);
        const QString csv = dir.filePath(u"tongji.csv"_s);
        QVERIFY(tongji->exportCsv(csv));
        QFile file(csv);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(QString::fromUtf8(file.readAll()).contains(u"标签,财,1,1,2,50.0%"_s));
    }
};

QTEST_MAIN(TestMainWindowYingqi)
#include "tst_mainwindowyingqi.moc"
