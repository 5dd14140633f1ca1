// The charts of 验证统计 in the desktop's light or dark palette: their ground,
// titles, axes, labels and bars readable on it; every category drawn, with
// its count; months named as 2026-11; category labels that never overlap.
#include "common/caserecords.h"
#include "journal/journal.h"
#include "journal/tongji.h"
#include "widgets/chartcolours.h"

#include <QAbstractBarSeries>
#include <QApplication>
#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace lotgrid;
using namespace Qt::StringLiterals;

namespace {

// The fifteen categories, as the command line's help lists them.
const QStringList CategoryNames{u"自身"_s, u"出行"_s, u"疾病"_s, u"求财"_s, u"失物"_s,     u"工作"_s, u"功名"_s, u"官司"_s,
                             u"考试"_s, u"文书"_s, u"家宅"_s, u"父母"_s, u"子女"_s, u"兄弟朋友"_s, u"婚恋"_s};

// A label's lines as the axis draws them, without the markup.
QStringList labelLines(const QString &label)
{
    QStringList lines = label.split(u"<br>"_s);
    for (QString &line : lines)
        line.replace(u"&amp;"_s, u"&"_s).replace(u"&lt;"_s, u"<"_s).replace(u"&gt;"_s, u">"_s);
    return lines;
}

} // namespace

class TestTongjiTheme : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void chartsFollowThePalette_data();
    void chartsFollowThePalette();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Journal> m_journal;
};

// One decided case per category, each in a month of its own: fifteen months.
void TestTongjiTheme::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_journal = std::make_unique<Journal>(m_dir->filePath(u"journal.sqlite"_s), JournalOptions{200, {}, true});
    QVERIFY(m_journal->open());
    for (int i = 0; i < CategoryNames.size(); ++i) {
        const QDate day = QDate(2025, 10, 1).addMonths(i);
        CaseRecord c = makeCase(u"101101"_s, u"010000"_s, u"问"_s, Moment{{day.year(), day.month(), 1}, 9, 0});
        c.category = CategoryNames.at(i);
        c.verdict = i % 3 == 0 ? Verdict::Failed : Verdict::Fulfilled;
        QVERIFY(m_journal->save(c));
    }
}

void TestTongjiTheme::cleanup()
{
    m_journal.reset();
    m_dir.reset();
}

void TestTongjiTheme::chartsFollowThePalette_data()
{
    QTest::addColumn<QColor>("window");
    QTest::addColumn<QSize>("size");
    QTest::newRow("light, 1000×700") << QColor(0xef, 0xef, 0xef) << QSize(1000, 700);
    QTest::newRow("dark, 1000×700") << QColor(0x35, 0x35, 0x35) << QSize(1000, 700);
    QTest::newRow("dark, 640×480") << QColor(0x35, 0x35, 0x35) << QSize(640, 480);
}

void TestTongjiTheme::chartsFollowThePalette()
{
    QFETCH(QColor, window);
    QFETCH(QSize, size);
    const QPalette before = QApplication::palette();
    QApplication::setPalette(QPalette(window, window));
    Tongji tongji(m_journal->connectionName(), {});
    tongji.resize(size);
    tongji.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tongji));
    const QPalette palette = tongji.palette();
    const QColor ground = palette.color(QPalette::Base);
    const auto views = tongji.findChildren<QChartView *>();
    QVERIFY(views.size() >= 5);
    for (int page = 0; page < tongji.pages()->count(); ++page) {
        tongji.pages()->setCurrentIndex(page);
        QApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QApplication::processEvents();
    }
    for (QChartView *view : views) {
        QChart *chart = view->chart();
        const QString name = view->objectName();
        QCOMPARE(chart->backgroundBrush().color(), ground);
        QVERIFY2(contrastRatio(chart->titleBrush().color(), ground) >= 4.5, qPrintable(name));
        QVERIFY2(contrastRatio(chart->legend()->labelColor(), ground) >= 4.5, qPrintable(name));
        QVERIFY(!chart->title().isEmpty()); // what the axes count, upright above the plot
        for (QAbstractAxis *axis : chart->axes()) {
            QVERIFY2(contrastRatio(axis->labelsColor(), ground) >= 4.5, qPrintable(name));
            QVERIFY2(axis->titleText().isEmpty(), qPrintable(axis->titleText())); // no title turned on its side
            auto *categories = qobject_cast<QBarCategoryAxis *>(axis);
            if (!categories)
                continue;
            // Labels shown side by side fit their bar's width; upright, their line height does.
            const QStringList shown = categories->categories();
            const QFontMetrics fm(categories->labelsFont());
            const qreal each = chart->plotArea().width() / shown.size();
            int last = -1;
            for (int i = 0; i < shown.size(); ++i) {
                if (shown.at(i).trimmed().remove(QChar(0x200B)).isEmpty())
                    continue;
                const qreal room = last < 0 ? each : each * (i - last);
                const QStringList lines = labelLines(shown.at(i));
                qreal need = fm.height() * lines.size();
                if (categories->labelsAngle() == 0) {
                    need = 0;
                    for (const QString &line : lines)
                        need = std::max<qreal>(need, fm.horizontalAdvance(line));
                }
                QVERIFY2(need <= room, qPrintable(u"%1: %2 needs %3 of %4"_s.arg(name, shown.at(i)).arg(need).arg(room)));
                last = i;
            }
            if (name == u"byMonthChart"_s)
                for (const QString &month : categories->property("names").toStringList())
                    QVERIFY2(QRegularExpression(u"^\\d{4}-\\d{2}$"_s).match(month).hasMatch(), qPrintable(month));
        }
        for (QAbstractSeries *series : chart->series())
            if (auto *bars = qobject_cast<QAbstractBarSeries *>(series))
                for (QBarSet *set : bars->barSets())
                    QVERIFY2(contrastRatio(set->color(), ground) >= 3, qPrintable(set->label()));
    }

    // Every category is drawn, 婚恋 with its count of 1 decided case.
    const QChartView *byCategory = tongji.findChild<QChartView *>(u"byCategoryChart"_s);
    const auto *axis = qobject_cast<QBarCategoryAxis *>(byCategory->chart()->axes(Qt::Horizontal).value(0));
    QVERIFY(axis);
    const QStringList names = axis->property("names").toStringList();
    QCOMPARE(names.size(), CategoryNames.size());
    QCOMPARE(tongji.table(StatsBy::Category)->rowCount(), CategoryNames.size());
    QVERIFY2(names.contains(u"婚恋<br>1/1"_s), qPrintable(names.join(u' ')));
    QApplication::setPalette(before);
}

QTEST_MAIN(TestTongjiTheme)
#include "tst_tongjitheme.moc"
