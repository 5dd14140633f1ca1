// The four pillars of a moment and the lunar date it is read on.
//
// The expected pillars are worked out by hand from the rules (1984 甲子年, the day
// 1949-10-01 甲子, 五虎遁, 五鼠遁, the published term instants) and agree with the
// 八字 of lunar-javascript (寿星 ephemeris), which counts the 子 hour from 23:00 as
// the next day's too.
#include "calendar/pillars.h"
#include "calendar/solarterms.h"
#include "qtcore/textconv.h"

#include <QDateTime>
#include <QString>
#include <QTest>

using namespace lotgrid;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(Moment)
Q_DECLARE_METATYPE(DayBoundary)
Q_DECLARE_METATYPE(LunarDate)

namespace {

Moment at(int year, int month, int day, int hour, int minute)
{
    return {{year, month, day}, hour, minute};
}

// "丙午 己亥 乙卯 庚辰", or empty for none.
QString names(const std::optional<Pillars> &p)
{
    if (!p)
        return {};
    return QStringList{qs(sexagenaryName(p->year)), qs(sexagenaryName(p->month)), qs(sexagenaryName(p->day)),
                       qs(sexagenaryName(p->hour))}
        .join(u' ');
}

void addRow(const char *name, Moment m, const QString &midnight, const QString &zi23)
{
    QTest::newRow(name) << m << midnight << zi23;
}

} // namespace

class TestPillars : public QObject
{
    Q_OBJECT
private slots:
    // Pillars with the day beginning at midnight and at 23:00.
    void pillars_data()
    {
        QTest::addColumn<Moment>("moment");
        QTest::addColumn<QString>("midnight");
        QTest::addColumn<QString>("zi23");
        // 立春 2026 at 04:02: the year and the month change together.
        addRow("2026-02-04 04:01 before 立春", at(2026, 2, 4, 4, 1), u"乙巳 己丑 己酉 丙寅"_s,
               u"乙巳 己丑 己酉 丙寅"_s);
        addRow("2026-02-04 04:02 立春", at(2026, 2, 4, 4, 2), u"丙午 庚寅 己酉 丙寅"_s, u"丙午 庚寅 己酉 丙寅"_s);
        // 大雪 2026 at 10:52 opens the 子 month; at 08:30 it is still 亥.
        addRow("2026-12-07 08:30", at(2026, 12, 7, 8, 30), u"丙午 己亥 乙卯 庚辰"_s, u"丙午 己亥 乙卯 庚辰"_s);
        addRow("2026-12-07 10:51 before 大雪", at(2026, 12, 7, 10, 51), u"丙午 己亥 乙卯 辛巳"_s,
               u"丙午 己亥 乙卯 辛巳"_s);
        addRow("2026-12-07 10:52 大雪", at(2026, 12, 7, 10, 52), u"丙午 庚子 乙卯 辛巳"_s, u"丙午 庚子 乙卯 辛巳"_s);
        // 23:00: the 子 hour of the next day (丙辰日 → 戊子时); only the day pillar
        // follows the option.
        addRow("2026-12-07 22:59", at(2026, 12, 7, 22, 59), u"丙午 庚子 乙卯 丁亥"_s, u"丙午 庚子 乙卯 丁亥"_s);
        addRow("2026-12-07 23:00", at(2026, 12, 7, 23, 0), u"丙午 庚子 乙卯 戊子"_s, u"丙午 庚子 丙辰 戊子"_s);
        addRow("2026-12-08 00:00", at(2026, 12, 8, 0, 0), u"丙午 庚子 丙辰 戊子"_s, u"丙午 庚子 丙辰 戊子"_s);
        addRow("2000-01-01 00:59", at(2000, 1, 1, 0, 59), u"己卯 丙子 戊午 壬子"_s, u"己卯 丙子 戊午 壬子"_s);
        addRow("2000-01-01 01:00 丑", at(2000, 1, 1, 1, 0), u"己卯 丙子 戊午 癸丑"_s, u"己卯 丙子 戊午 癸丑"_s);
        // 立春 1984 at 23:18, inside the late 子 hour: the cycle's 甲子 year begins.
        addRow("1984-02-04 23:17 before 立春", at(1984, 2, 4, 23, 17), u"癸亥 乙丑 戊辰 甲子"_s,
               u"癸亥 乙丑 己巳 甲子"_s);
        addRow("1984-02-04 23:18 立春", at(1984, 2, 4, 23, 18), u"甲子 丙寅 戊辰 甲子"_s, u"甲子 丙寅 己巳 甲子"_s);
        // 小寒 2026 at 16:23 opens 丑, still in the year 乙巳.
        addRow("2026-01-05 16:22 before 小寒", at(2026, 1, 5, 16, 22), u"乙巳 戊子 己卯 壬申"_s,
               u"乙巳 戊子 己卯 壬申"_s);
        addRow("2026-01-05 16:23 小寒", at(2026, 1, 5, 16, 23), u"乙巳 己丑 己卯 壬申"_s, u"乙巳 己丑 己卯 壬申"_s);
        // 惊蛰 2014 at 00:02.
        addRow("2014-03-05 23:30", at(2014, 3, 5, 23, 30), u"甲午 丙寅 乙亥 戊子"_s, u"甲午 丙寅 丙子 戊子"_s);
        addRow("2014-03-06 00:01 before 惊蛰", at(2014, 3, 6, 0, 1), u"甲午 丙寅 丙子 戊子"_s,
               u"甲午 丙寅 丙子 戊子"_s);
        addRow("2014-03-06 00:02 惊蛰", at(2014, 3, 6, 0, 2), u"甲午 丁卯 丙子 戊子"_s, u"甲午 丁卯 丙子 戊子"_s);
        // 冬至 is no 节: the month runs on.
        addRow("2021-12-21 23:59 冬至", at(2021, 12, 21, 23, 59), u"辛丑 庚子 癸卯 甲子"_s, u"辛丑 庚子 甲辰 甲子"_s);
        addRow("1949-10-01 12:00 甲子日", at(1949, 10, 1, 12, 0), u"己丑 癸酉 甲子 庚午"_s, u"己丑 癸酉 甲子 庚午"_s);
        // 2026-02-04 is 己酉 (9531 days after 2000-01-01); 寅 hour of a 己 day → 丙寅. Before 立春
        // the year is still 乙巳 and the month 丑 (乙 year: 戊寅 … 己丑); after it 丙午 and 庚寅.
        addRow("2026-02-04 03:59 before 立春", at(2026, 2, 4, 3, 59), u"乙巳 己丑 己酉 丙寅"_s,
               u"乙巳 己丑 己酉 丙寅"_s);
        addRow("2026-02-04 04:05 after 立春", at(2026, 2, 4, 4, 5), u"丙午 庚寅 己酉 丙寅"_s, u"丙午 庚寅 己酉 丙寅"_s);
        // 2014-10-24 is 戊辰 (5410 days after 2000-01-01), after 寒露 in a 甲午 year: 甲戌.
        // 23:30 is the 子 hour of 己巳 (甲子) either way; 22:59 is still 癸亥.
        addRow("2014-10-24 23:30", at(2014, 10, 24, 23, 30), u"甲午 甲戌 戊辰 甲子"_s, u"甲午 甲戌 己巳 甲子"_s);
        addRow("2014-10-24 22:59", at(2014, 10, 24, 22, 59), u"甲午 甲戌 戊辰 癸亥"_s, u"甲午 甲戌 戊辰 癸亥"_s);
        // The ends of the chart's span.
        addRow("1900-01-31 00:00", at(1900, 1, 31, 0, 0), u"己亥 丁丑 甲辰 甲子"_s, u"己亥 丁丑 甲辰 甲子"_s);
        addRow("2100-12-31 23:59", at(2100, 12, 31, 23, 59), u"庚申 戊子 丁未 壬子"_s, u"庚申 戊子 戊申 壬子"_s);
        // None outside it, and none for a moment that does not exist.
        addRow("1900-01-30 23:59", at(1900, 1, 30, 23, 59), {}, {});
        addRow("2101-01-01 00:00", at(2101, 1, 1, 0, 0), {}, {});
        addRow("2014-02-29 12:00", at(2014, 2, 29, 12, 0), {}, {});
        addRow("2014-03-01 24:00", at(2014, 3, 1, 24, 0), {}, {});
        addRow("2014-03-01 12:60", at(2014, 3, 1, 12, 60), {}, {});
        addRow("2014-03-01 -1:00", at(2014, 3, 1, -1, 0), {}, {});
    }
    void pillars()
    {
        QFETCH(Moment, moment);
        QFETCH(QString, midnight);
        QFETCH(QString, zi23);
        QCOMPARE(names(pillarsOf(moment, DayBoundary::Midnight)), midnight);
        QCOMPARE(names(pillarsOf(moment, DayBoundary::Zi23)), zi23);
    }

    // Hour by hour through the whole span: each pillar moves one step on, and only
    // where it should.
    void everyHour()
    {
        const std::int64_t first = minuteNumber(FirstChartMoment);
        const std::int64_t last = minuteNumber(LastChartMoment);
        auto before = *pillarsOf(FirstChartMoment, DayBoundary::Midnight);
        auto beforeZi = *pillarsOf(FirstChartMoment, DayBoundary::Zi23);
        int steps = 0;
        for (std::int64_t t = first + 60; t <= last; t += 60) {
            const Moment m = momentFromMinutes(t);
            const auto p = *pillarsOf(m, DayBoundary::Midnight);
            const auto z = *pillarsOf(m, DayBoundary::Zi23);
            const auto next = [](Sexagenary s) { return sexagenaryAt(s.index + 1); };
            // The hour moves at every odd hour, 23:00 included, whatever the option.
            QCOMPARE(p.hour, m.hour % 2 == 1 ? next(before.hour) : before.hour);
            QCOMPARE(z.hour, p.hour);
            QCOMPARE(p.day, m.hour == 0 ? next(before.day) : before.day);
            QCOMPARE(z.day, m.hour == 23 ? next(beforeZi.day) : beforeZi.day);
            // Year and month move only in the hour in which a 节 or 立春 falls.
            bool jie = false, spring = false;
            for (int year : {m.date.year - 1, m.date.year})
                for (int n = 1; n <= 23 && year >= 1900; n += 2) {
                    const std::int64_t term = minuteNumber(*termMoment(year, n));
                    if (term > t - 60 && term <= t) {
                        jie = true;
                        spring = spring || n == 3;
                    }
                }
            QCOMPARE(p.month, jie ? next(before.month) : before.month);
            QCOMPARE(p.year, spring ? next(before.year) : before.year);
            QCOMPARE(z.month, p.month);
            QCOMPARE(z.year, p.year);
            before = p;
            beforeZi = z;
            ++steps;
        }
        QVERIFY(steps > 201 * 365 * 24);
    }

    void lunarDate_data()
    {
        QTest::addColumn<Moment>("moment");
        QTest::addColumn<DayBoundary>("boundary");
        QTest::addColumn<bool>("has");
        QTest::addColumn<LunarDate>("lunar");
        QTest::newRow("2026-02-16 23:30 midnight: 除夕")
            << at(2026, 2, 16, 23, 30) << DayBoundary::Midnight << true << LunarDate{2025, 12, 29};
        QTest::newRow("2026-02-16 23:30 23:00: 春节")
            << at(2026, 2, 16, 23, 30) << DayBoundary::Zi23 << true << LunarDate{2026, 1, 1};
        QTest::newRow("2026-02-16 22:59 23:00")
            << at(2026, 2, 16, 22, 59) << DayBoundary::Zi23 << true << LunarDate{2025, 12, 29};
        QTest::newRow("2014-10-24 00:00 leap month")
            << at(2014, 10, 24, 0, 0) << DayBoundary::Midnight << true << LunarDate{2014, -9, 1};
        QTest::newRow("2100-12-31 23:30 midnight")
            << at(2100, 12, 31, 23, 30) << DayBoundary::Midnight << true << LunarDate{2100, 12, 1};
        QTest::newRow("2100-12-31 23:30 23:00: past the calendar")
            << at(2100, 12, 31, 23, 30) << DayBoundary::Zi23 << false << LunarDate{};
        QTest::newRow("1900-01-30 23:30 23:00: before the span")
            << at(1900, 1, 30, 23, 30) << DayBoundary::Zi23 << false << LunarDate{};
        QTest::newRow("2014-02-29") << at(2014, 2, 29, 0, 0) << DayBoundary::Midnight << false << LunarDate{};
    }
    void lunarDate()
    {
        QFETCH(Moment, moment);
        QFETCH(DayBoundary, boundary);
        QFETCH(bool, has);
        QFETCH(LunarDate, lunar);
        const auto got = lunarDateOf(moment, boundary);
        QCOMPARE(got.has_value(), has);
        if (has)
            QCOMPARE(*got, lunar);
    }
};

QTEST_GUILESS_MAIN(TestPillars)
#include "tst_pillars.moc"
