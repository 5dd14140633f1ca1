// The summary (要点): each row's expectation is read off the book rule named
// beside it, on the worked charts of 增删卜易 and on charts made for one rule.

#include "calendar/pillars.h"
#include "chart/chart.h"
#include "chart/summary.h"
#include "common/writtenchart.h"
#include "qtcore/textconv.h"

#include <QDateTime>
#include <QTest>

#include <algorithm>

using namespace lotgrid;
using namespace Qt::StringLiterals;

namespace {

QString positions(const std::vector<int> &at)
{
    QStringList out;
    for (int n : at)
        out << QString::number(n);
    return out.isEmpty() ? u"-"_s : out.join(u',');
}

} // namespace

class TestSummary : public QObject
{
    Q_OBJECT

private slots:
    void items_data()
    {
        QTest::addColumn<QString>("cast");
        QTest::addColumn<QString>("school");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("text"); // a part of some item's text of that kind
        QTest::addColumn<QString>("at");   // its lines; "-" for none
        QTest::addColumn<QString>("source");
        QTest::addColumn<bool>("present");
        const QString zs = u"增删卜易"_s, bs = u"卜筮正宗"_s;
        // 两现章: 以旺爻定吉凶，以空破之爻定应期; 十八问答: 舍其不空而用旬空 (丑财持世遇旬空).
        QTest::newRow("两现 timing line") << u"787897 2000-04-27 12:00 求财"_s << zs << u"用神"_s << u"二爻丑土定应期"_s
                                          << u"2,4"_s << u"增删卜易·两现章"_s << true;
        QTest::newRow("持世 use god") << u"787897 2000-04-27 12:00 求财"_s << bs << u"用神"_s << u"二爻妻财丑土"_s
                                      << u"2"_s << u"卜筮正宗·十八问答"_s << true;
        // 乙卯日 voids 子丑; 旬空最爱填冲: the 未 day four days on comes before 出空 (甲子).
        QTest::newRow("假空 waits") << u"787897 2000-04-27 12:00 求财"_s << bs << u"待条件"_s
                                    << u"待出空（假空）：2000-05-01 己未日"_s << u"2"_s << u"增删卜易·旬空章"_s << true;
        // 月破章 乾之夬: the moving 戌 broken by 辰 is 目下破, out of the month at 立夏.
        QTest::newRow("目下破 waits") << u"777779 2005-05-04 12:00 父母"_s << zs << u"待条件"_s
                                      << u"待出月/填实（目下破）：2005-05-05"_s << u"6"_s << u"增删卜易·月破章"_s
                                      << true;
        // 飞伏神章: 用神不现者，即以日月为用神.
        QTest::newRow("月建 as use god") << u"877777 2021-02-10 12:00 求财"_s << zs << u"用神"_s << u"月建妻财寅木"_s
                                         << u"-"_s << u"增删卜易·飞伏神章"_s << true;
        // 酉 under the moving 辰 (辰酉合): 遇六合亦宜相击, the 卯 day.
        QTest::newRow("伏神 held") << u"766887 2023-03-09 00:52 婚恋 女"_s << zs << u"待条件"_s
                                   << u"待冲开（合住于三爻）：2023-03-10 丁卯日"_s << u"3"_s << QString() << true;
        QTest::newRow("伏神 有阻") << u"766887 2023-03-09 00:52 婚恋 女"_s << zs << u"待条件"_s << u"待出伏（有阻）"_s
                                   << u"3"_s << QString() << true;
        // 冲空则实不为空: the void 世 未 clashed by the 丑 day.
        QTest::newRow("冲实 world") << u"978776 2000-11-27 12:00 功名"_s << zs << u"世应"_s << u"世空"_s << u"-"_s
                                    << QString() << false;
        // 亥生寅, 寅日临寅.
        QTest::newRow("builds help") << u"777777 亥 甲寅 求财"_s << zs << u"生扶"_s << u"月建生、日建临"_s << u"-"_s
                                     << QString() << true;
        QTest::newRow("mover overcomes") << u"777797 子 戊午 求财"_s << zs << u"克害"_s << u"五爻申金动克"_s << u"5"_s
                                         << u"增删卜易·动静生克章"_s << true;
        // 亥 化 戌: 土克水.
        QTest::newRow("回头克") << u"888868 午 甲午 求财"_s << zs << u"克害"_s << u"用神回头克"_s << u"5"_s << QString()
                                << true;
        // 元神忌神衰旺章: a moving 原神 not void is 有力; a 休 static 忌神 the day overcomes is 无力.
        QTest::newRow("原神 有力") << u"977777 亥 庚午 求财"_s << zs << u"原忌"_s << u"原神：初爻子水动有力"_s << u"1"_s
                                   << u"增删卜易·元神忌神衰旺章"_s << true;
        QTest::newRow("void 原神 无力") << u"977777 亥 甲寅 求财"_s << zs << u"原忌"_s << u"初爻子水动无力"_s << u"1"_s
                                        << QString() << true;
        QTest::newRow("忌神 无力") << u"977777 亥 庚午 求财"_s << zs << u"原忌"_s << u"忌神：五爻申金无力"_s << u"5"_s
                                   << QString() << true;
        QTest::newRow("日墓") << u"777777 子 乙未 求财"_s << zs << u"待条件"_s << u"待冲开（日墓未）"_s << u"2"_s
                              << QString() << true;
        // 日月合爻为合起: a static line the day combines is not held.
        QTest::newRow("日合 static") << u"777777 子 乙亥 求财"_s << zs << u"待条件"_s << u"合住"_s << u"2"_s
                                     << QString() << false;
        QTest::newRow("火生土") << u"877777 子 庚午 求财"_s << zs << u"世应"_s << u"应生世"_s << u"1,4"_s
                                << u"增删卜易·世应章"_s << true;
        QTest::newRow("六冲") << u"777777 子 庚午"_s << zs << u"卦象"_s << u"本卦六冲"_s << u"-"_s
                              << u"增删卜易·六冲章"_s << true;
        QTest::newRow("乾之否") << u"999777 子 庚午 求财"_s << zs << u"卦象"_s << u"六冲变六合"_s << u"-"_s << QString()
                                << true;
        QTest::newRow("乾之坤") << u"999999 子 庚午"_s << zs << u"卦象"_s << u"卦变反吟"_s << u"1,2,3,4,5,6"_s
                                << u"增删卜易·反伏章"_s << true;
        QTest::newRow("独发") << u"777797 子 戊午 求财"_s << zs << u"卦象"_s << u"独发：五爻申金"_s << u"5"_s
                              << u"增删卜易·独静独发章"_s << true;
    }
    void items()
    {
        QFETCH(QString, cast);
        QFETCH(QString, school);
        QFETCH(QString, kind);
        QFETCH(QString, text);
        QFETCH(QString, at);
        QFETCH(QString, source);
        QFETCH(bool, present);
        const Summary s = summaryOf(chartAt(cast, school));
        const SummaryItem *found = nullptr;
        for (const SummaryItem &item : s.items)
            if (qs(summaryKindName(item.kind)) == kind && qs(item.text).contains(text))
                found = &item;
        QVERIFY2(present == (found != nullptr), qPrintable(cast));
        if (!found)
            return;
        QCOMPARE(positions(found->positions), at);
        if (!source.isEmpty())
            QCOMPARE(qs(found->source), source);
    }

    // 日月为重，动爻次之，变爻再次; a use god that cannot act (真空, 真破) is 不利.
    void trend_data()
    {
        QTest::addColumn<QString>("cast");
        QTest::addColumn<QString>("trend"); // empty: none, without a use god
        QTest::newRow("month and day help") << u"777777 亥 甲寅 求财"_s << u"有利"_s;
        QTest::newRow("month overcomes") << u"777777 酉 庚辰 求财"_s << u"不利"_s;
        QTest::newRow("a build outweighs a mover") << u"777797 子 戊午 求财"_s << u"有利"_s;
        QTest::newRow("only its change harms") << u"888868 午 甲午 求财"_s << u"不利"_s;
        QTest::newRow("真空") << u"777777 午 丙午 求财"_s << u"不利"_s;
        QTest::newRow("假空 helped") << u"777777 亥 丙午 求财"_s << u"待条件"_s;
        QTest::newRow("真破") << u"777777 申 庚午 求财"_s << u"不利"_s;
        QTest::newRow("目下破 helped") << u"777777 申 丙子 求财"_s << u"待条件"_s;
        QTest::newRow("month helps, day overcomes") << u"777777 亥 辛酉 求财"_s << u"难断"_s;
        QTest::newRow("weak, untouched") << u"777777 午 丙辰 求财"_s << u"待条件"_s;
        QTest::newRow("no category") << u"777777 子 庚午"_s << QString();
    }
    void trend()
    {
        QFETCH(QString, cast);
        QFETCH(QString, trend);
        const Summary s = summaryOf(chartAt(cast, u"增删卜易"_s));
        QCOMPARE(s.trend ? qs(trendName(*s.trend)) : QString(), trend);
        QVERIFY(!s.reason.empty());
        if (!s.trend)
            for (const SummaryItem &item : s.items)
                QVERIFY(item.kind == SummaryKind::WorldResponse || item.kind == SummaryKind::Hexagram);
    }
};

QTEST_GUILESS_MAIN(TestSummary)
#include "tst_summary.moc"
