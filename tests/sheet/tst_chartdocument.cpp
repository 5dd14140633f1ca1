// The ChartDocument without a window: each command changes the chart (once),
// and the day stem and builds follow the moment until one is picked by hand.
// Pillars worked by hand: 2014-10-24 09:05 is 戊辰 day (5410 days after the
// 戊午 of 2000-01-01) in a 戌 month; 2026-02-04 04:05 is 己酉 just after 立春 (寅 month).
#include "qtcore/textconv.h"
#include "sheet/chartdocument.h"

#include <QSignalSpy>
#include <QTest>

#include <functional>

using namespace lotgrid;
using namespace Qt::StringLiterals;

namespace {

QString name(const HexagramRow *row)
{
    return row ? qs(row->text).section(u' ', 0, 0) : u"-"_s;
}

// The chart as one text: "original changed spirit-of-line-1 voids mark-line".
QString summary(const Chart &c)
{
    const QString voids = c.voids ? qs(branchName((*c.voids)[0])) + qs(branchName((*c.voids)[1])) : u"-"_s;
    return name(c.original) + u' ' + name(c.changed) + u' ' + qs(c.line(1).spirit) + u' ' + voids + u' '
           + QString::number(c.input.mark.line);
}

// Day stem, month build, day build and voids: "戊 戌 辰 戌亥".
QString dayOf(const ChartDocument &d)
{
    const CastInput &c = d.cast();
    const auto branch = [](const std::optional<Branch> &b) { return b ? qs(branchName(*b)) : u"-"_s; };
    const QString voids = summary(d.chart()).section(u' ', 3, 3);
    return (c.dayStem ? QString(QChar(StemNames[*c.dayStem])) : u"-"_s) + u' ' + branch(c.monthBuild) + u' '
           + branch(c.dayBuild) + u' ' + voids;
}

} // namespace

class TestChartDocument : public QObject
{
    Q_OBJECT
private slots:
    // 乾为天 (金 palace, najia 子寅辰 午申戌, 世 on line 6): the category and
    // the sex name the relative, a 用神 mark by hand overrides both.
    void categoryAndSexPickTheUseGod_data()
    {
        QTest::addColumn<int>("category");   // -1 none
        QTest::addColumn<int>("sex");        // -1 none, 0 男, 1 女
        QTest::addColumn<int>("marked");     // a line marked 用神 by hand, 0 none
        QTest::addColumn<QString>("useGod"); // "line source", "-" for none
        QTest::newRow("求财: 妻财寅木") << int(Category::Wealth) << -1 << 0 << u"2 auto"_s;
        QTest::newRow("自身: the world line") << int(Category::Self) << -1 << 0 << u"6 auto"_s;
        QTest::newRow("婚恋 男: 妻财") << int(Category::Marriage) << 0 << 0 << u"2 auto"_s;
        QTest::newRow("婚恋 女: 官鬼午火") << int(Category::Marriage) << 1 << 0 << u"4 auto"_s;
        QTest::newRow("婚恋 without a sex") << int(Category::Marriage) << -1 << 0 << u"-"_s;
        QTest::newRow("求财, line 3 by hand") << int(Category::Wealth) << 0 << 3 << u"3 manual"_s;
    }
    void categoryAndSexPickTheUseGod()
    {
        QFETCH(int, category);
        QFETCH(int, sex);
        QFETCH(int, marked);
        QFETCH(QString, useGod);
        ChartDocument d;
        for (int n = 1; n <= 6; ++n)
            d.setLine(n, u'1');
        QSignalSpy changed(&d, &ChartDocument::changed);
        d.setCategory(category < 0 ? std::nullopt : std::optional(static_cast<Category>(category)));
        d.setSex(sex < 0 ? std::nullopt : std::optional(static_cast<Sex>(sex)));
        if (marked)
            d.setMark({MarkKind::UseGod, marked});
        const auto &g = d.chart().reading.useGod;
        QCOMPARE(g ? QString::number(g->position) + (g->source == UseGodSource::Auto ? u" auto"_s : u" manual"_s)
                   : u"-"_s,
                 useGod);
        QCOMPARE(changed.size(), int(category >= 0) + int(sex >= 0) + int(marked > 0));
    }

    // On 乾为天 with day stem 甲 and line 2 marked: one command, one new chart; again, none.
    void commandChangesTheChart_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("chart");
        QTest::newRow("line 6 yin") << 0 << u"泽天夬 泽天夬 青龙 - 2"_s;
        QTest::newRow("line 1 moving") << 1 << u"乾为天 天风姤 青龙 - 2"_s;
        QTest::newRow("day stem 戊") << 2 << u"乾为天 乾为天 勾陈 - 2"_s;
        // 甲寅 opens the decade 甲寅 .. 癸亥: 子丑 are void.
        QTest::newRow("day build 寅") << 3 << u"乾为天 乾为天 青龙 子丑 2"_s;
        QTest::newRow("mark line 5") << 4 << u"乾为天 乾为天 青龙 - 5"_s;
        QTest::newRow("clear") << 5 << u"- - 青龙 - 0"_s;
    }
    void commandChangesTheChart()
    {
        QFETCH(int, command);
        QFETCH(QString, chart);
        ChartDocument d;
        for (int n = 1; n <= 6; ++n)
            d.setLine(n, u'1');
        d.setMark({MarkKind::UseGod, 2});
        d.setDayStem(0);
        QSignalSpy changes(&d, &ChartDocument::changed);
        const std::array<std::function<void()>, 6> commands{[&] { d.setLine(6, u'0'); },
                                                            [&] { d.setMoving(1, true); },
                                                            [&] { d.setDayStem(4); },
                                                            [&] { d.setDayBuild(Branch::Yin); },
                                                            [&] {
                                                                d.setMark({MarkKind::Hidden, 5});
                                                            },
                                                            [&] { d.clear(); }};
        commands[command]();
        commands[command]();
        QCOMPARE(changes.size(), 1);
        QCOMPARE(summary(d.chart()), chart);
    }

    // Following the moment, the stem, both builds and the voids move with the
    // moment and the day boundary; a part picked by hand stays while the others
    // follow, until the moment is followed again.
    void momentDrivesTheDayUntilAPickByHand_data()
    {
        QTest::addColumn<int>("pick"); // 0 none, 1 stem 乙, 2 month 子, 3 day 未
        QTest::addColumn<QString>("atLichun");
        QTest::newRow("nothing picked") << 0 << u"己 寅 酉 寅卯"_s;
        QTest::newRow("stem 乙 by hand") << 1 << u"乙 寅 酉 午未"_s; // 乙酉, in the 甲申 decade
        QTest::newRow("month 子 by hand") << 2 << u"己 子 酉 寅卯"_s;
        QTest::newRow("day 未 by hand") << 3 << u"己 寅 未 子丑"_s; // 己未, in the 甲寅 decade
    }
    void momentDrivesTheDayUntilAPickByHand()
    {
        QFETCH(int, pick);
        QFETCH(QString, atLichun);
        ChartDocument d;
        d.setMoment(Moment{{2014, 10, 24}, 9, 5});
        QCOMPARE(dayOf(d), u"- - - -"_s); // nothing follows until asked
        d.followMoment();
        QCOMPARE(dayOf(d), u"戊 戌 辰 戌亥"_s); // 戊辰 in the 甲子 decade
        if (pick == 1)
            d.setDayStem(1);
        else if (pick == 2)
            d.setMonthBuild(Branch::Zi);
        else if (pick == 3)
            d.setDayBuild(Branch::Wei);
        d.setMoment(Moment{{2026, 2, 4}, 4, 5});
        QCOMPARE(dayOf(d), atLichun);
        QCOMPARE(d.followsMoment(DayPart::MonthBuild), pick != 2);
        // 23:30 with the day turning at 23:00 is already 己巳.
        d.setDayBoundary(DayBoundary::Zi23);
        d.setMoment(Moment{{2014, 10, 24}, 23, 30});
        d.followMoment();
        QCOMPARE(dayOf(d), u"己 戌 巳 戌亥"_s);
    }
};

QTEST_GUILESS_MAIN(TestChartDocument)
#include "tst_chartdocument.moc"
