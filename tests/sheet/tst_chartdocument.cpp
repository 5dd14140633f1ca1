// The ChartDocument without a window: each command changes the chart (once),
// and the day stem and builds follow the moment until one is picked by hand.
// Pillars are worked by hand: 2014-10-24 09:05 is 戊辰 day (5410 days after the
// 戊午 of 2000-01-01) in a 戌 month; 2026-02-04 04:05 is 己酉 day just after 立春 (寅 month).
#include "sheet/chartdocument.h"
#include "widgets/textconv.h"

#include <QSignalSpy>
#include <QTest>

using namespace lotgrid;
using namespace Qt::StringLiterals;

namespace {

const Moment October{{2014, 10, 24}, 9, 5};
const Moment Lichun{{2026, 2, 4}, 4, 5};

enum class Command { Line, Moving, Stem, DayBuild, Mark, Clear };

QString voidsOf(const Chart &c)
{
    return c.voids ? qs(branchName((*c.voids)[0])) + qs(branchName((*c.voids)[1])) : QString();
}

// Day stem, month build, day build and voids as one text: "戊 戌 辰 戌亥".
QString dayOf(const ChartDocument &d)
{
    const CastInput &c = d.cast();
    return (c.dayStem ? QString(QChar(StemNames[*c.dayStem])) : u"-"_s) + u' '
           + (c.monthBuild ? qs(branchName(*c.monthBuild)) : u"-"_s) + u' '
           + (c.dayBuild ? qs(branchName(*c.dayBuild)) : u"-"_s) + u' ' + voidsOf(d.chart());
}

} // namespace

Q_DECLARE_METATYPE(Command)

class TestChartDocument : public QObject
{
    Q_OBJECT
private slots:
    // On 乾为天 with day stem 甲: one command, one new chart; the same command again changes nothing.
    void commandChangesTheChart_data()
    {
        QTest::addColumn<Command>("command");
        QTest::addColumn<QString>("original"); // name of the original hexagram, empty for none
        QTest::addColumn<QString>("changed");
        QTest::addColumn<QString>("spirit1"); // 六神 of line 1
        QTest::addColumn<QString>("voids");
        QTest::newRow("line 6 yin") << Command::Line << u"泽天夬"_s << u"泽天夬"_s << u"青龙"_s << QString();
        QTest::newRow("line 1 moving") << Command::Moving << u"乾为天"_s << u"天风姤"_s << u"青龙"_s << QString();
        // 戊: 勾陈 on line 1.
        QTest::newRow("day stem 戊") << Command::Stem << u"乾为天"_s << u"乾为天"_s << u"勾陈"_s << QString();
        // 甲寅 opens the decade 甲寅 .. 癸亥: 子丑 are void.
        QTest::newRow("day build 寅") << Command::DayBuild << u"乾为天"_s << u"乾为天"_s << u"青龙"_s << u"子丑"_s;
        QTest::newRow("mark") << Command::Mark << u"乾为天"_s << u"乾为天"_s << u"青龙"_s << QString();
        QTest::newRow("clear") << Command::Clear << QString() << QString() << u"青龙"_s << QString();
    }
    void commandChangesTheChart()
    {
        QFETCH(Command, command);
        QFETCH(QString, original);
        QFETCH(QString, changed);
        QFETCH(QString, spirit1);
        QFETCH(QString, voids);
        ChartDocument d;
        for (int n = 1; n <= 6; ++n)
            d.setLine(n, u'1');
        d.setMark({MarkKind::UseGod, 2});
        d.setDayStem(0);
        QSignalSpy changes(&d, &ChartDocument::changed);
        const auto run = [&] {
            switch (command) {
            case Command::Line:
                return d.setLine(6, u'0');
            case Command::Moving:
                return d.setMoving(1, true);
            case Command::Stem:
                return d.setDayStem(4);
            case Command::DayBuild:
                return d.setDayBuild(Branch::Yin);
            case Command::Mark:
                return d.setMark({MarkKind::Hidden, 5});
            case Command::Clear:
                return d.clear();
            }
        };
        run();
        QCOMPARE(changes.size(), 1);
        const Chart &c = d.chart();
        QCOMPARE(c.original ? qs(c.original->text).section(u' ', 0, 0) : QString(), original);
        QCOMPARE(c.changed ? qs(c.changed->text).section(u' ', 0, 0) : QString(), changed);
        QCOMPARE(qs(c.line(1).spirit), spirit1);
        QCOMPARE(voidsOf(c), voids);
        QCOMPARE(c.input.mark, command == Command::Mark    ? (LineMark{MarkKind::Hidden, 5})
                               : command == Command::Clear ? LineMark{}
                                                           : (LineMark{MarkKind::UseGod, 2}));
        run();
        QCOMPARE(changes.size(), 1);
    }

    // Following the moment, the stem, both builds and the voids move with every
    // change of the moment and of the day boundary; a part picked by hand stays
    // through them while the others follow, until the moment is followed again.
    void momentDrivesTheDayUntilAPickByHand_data()
    {
        QTest::addColumn<QString>("pick"); // "" none, "stem", "month", "day"
        QTest::addColumn<QString>("atLichun");
        QTest::newRow("nothing picked") << QString() << u"己 寅 酉 寅卯"_s;
        // 乙酉 lies in the 甲申 decade: 午未 void.
        QTest::newRow("stem 乙 by hand") << u"stem"_s << u"乙 寅 酉 午未"_s;
        QTest::newRow("month 子 by hand") << u"month"_s << u"己 子 酉 寅卯"_s;
        // 己未 lies in the 甲寅 decade: 子丑 void.
        QTest::newRow("day 未 by hand") << u"day"_s << u"己 寅 未 子丑"_s;
    }
    void momentDrivesTheDayUntilAPickByHand()
    {
        QFETCH(QString, pick);
        QFETCH(QString, atLichun);
        ChartDocument d;
        d.setMoment(October);
        QCOMPARE(dayOf(d), u"- - - "_s); // nothing follows until asked
        d.followMoment();
        QCOMPARE(dayOf(d), u"戊 戌 辰 戌亥"_s); // 戊辰 in the 甲子 decade
        if (pick == u"stem")
            d.setDayStem(1);
        else if (pick == u"month")
            d.setMonthBuild(Branch::Zi);
        else if (pick == u"day")
            d.setDayBuild(Branch::Wei);
        d.setMoment(Lichun);
        QCOMPARE(dayOf(d), atLichun);
        QCOMPARE(!d.followsMoment(DayPart::DayStem), pick == u"stem");
        QCOMPARE(!d.followsMoment(DayPart::MonthBuild), pick == u"month");
        // 23:30 with the day turning at 23:00 is already 己巳: stem 己, 日建 巳, in the 甲子 decade.
        d.setDayBoundary(DayBoundary::Zi23);
        d.setMoment(Moment{{2014, 10, 24}, 23, 30});
        if (pick.isEmpty())
            QCOMPARE(dayOf(d), u"己 戌 巳 戌亥"_s);
        d.followMoment();
        QCOMPARE(dayOf(d), u"己 戌 巳 戌亥"_s);
    }

    // A cast set whole keeps its own day: a change of the moment moves nothing.
    void aWholeCastKeepsItsOwnDay()
    {
        ChartDocument d;
        d.setMoment(October);
        d.followMoment();
        CastInput kept;
        kept.dayStem = 0;
        kept.monthBuild = Branch::Zi;
        kept.dayBuild = Branch::Yin;
        kept.moment = Lichun;
        d.setCast(kept);
        QCOMPARE(d.cast(), kept);
        d.setMoment(October);
        QCOMPARE(dayOf(d), u"甲 子 寅 子丑"_s);
    }
};

QTEST_GUILESS_MAIN(TestChartDocument)
#include "tst_chartdocument.moc"
