// The exact solar terms: published instants, the day each falls on, and every
// year of the term data.
#include "calendar/solarterms.h"
#include "qtcore/textconv.h"

#include <QDateTime>
#include <QString>
#include <QTest>

#include <cstdlib>
#include <limits>

using namespace lotgrid;
using namespace Qt::StringLiterals;

namespace {

Moment moment(const QDateTime &t)
{
    return {{t.date().year(), t.date().month(), t.date().day()}, t.time().hour(), t.time().minute()};
}

QDateTime cst(int year, int month, int day, int hour, int minute)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute), Qt::OffsetFromUTC, 8 * 3600);
}

QDateTime utc(int year, int month, int day, int hour, int minute)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute), Qt::UTC).toOffsetFromUtc(8 * 3600);
}

} // namespace

class TestSolarTerms : public QObject
{
    Q_OBJECT
private slots:
    // Published instants, to the minute (rounded there, truncated here), turned to
    // China Standard Time.
    void publishedInstants_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("n");
        QTest::addColumn<QDateTime>("published");
        // Equinoxes and solstices in UT from the U.S. Naval Observatory's tables
        // (Earth's seasons), +8 hours: 春分 6, 夏至 12, 秋分 18, 冬至 24.
        QTest::newRow("2000 春分") << 2000 << 6 << utc(2000, 3, 20, 7, 35);
        QTest::newRow("2000 夏至") << 2000 << 12 << utc(2000, 6, 21, 1, 48);
        QTest::newRow("2000 秋分 the next day here") << 2000 << 18 << utc(2000, 9, 22, 17, 28);
        QTest::newRow("2000 冬至") << 2000 << 24 << utc(2000, 12, 21, 13, 37);
        QTest::newRow("2001 秋分") << 2001 << 18 << utc(2001, 9, 22, 23, 4);
        QTest::newRow("2010 春分 at 01:32 here") << 2010 << 6 << utc(2010, 3, 20, 17, 32);
        QTest::newRow("2010 冬至") << 2010 << 24 << utc(2010, 12, 21, 23, 38);
        QTest::newRow("2012 夏至") << 2012 << 12 << utc(2012, 6, 20, 23, 9);
        QTest::newRow("2016 秋分") << 2016 << 18 << utc(2016, 9, 22, 14, 21);
        QTest::newRow("2017 冬至 at 00:28 here") << 2017 << 24 << utc(2017, 12, 21, 16, 28);
        QTest::newRow("2018 春分 at 00:15 here") << 2018 << 6 << utc(2018, 3, 20, 16, 15);
        QTest::newRow("2019 夏至 at 23:54 here") << 2019 << 12 << utc(2019, 6, 21, 15, 54);
        QTest::newRow("2020 春分") << 2020 << 6 << utc(2020, 3, 20, 3, 50);
        QTest::newRow("2021 冬至 at 23:59 here") << 2021 << 24 << utc(2021, 12, 21, 15, 59);
        QTest::newRow("2022 秋分") << 2022 << 18 << utc(2022, 9, 23, 1, 4);
        QTest::newRow("2023 夏至") << 2023 << 12 << utc(2023, 6, 21, 14, 58);
        QTest::newRow("2024 春分") << 2024 << 6 << utc(2024, 3, 20, 3, 6);
        QTest::newRow("2025 冬至") << 2025 << 24 << utc(2025, 12, 21, 15, 3);
        // Meeus, Astronomical Algorithms, example 27.a: the June solstice of 1962 at
        // 21:25:08 TD, less Delta T of 34 seconds.
        QTest::newRow("1962 夏至") << 1962 << 12 << utc(1962, 6, 21, 21, 24);
        // Almanac times in China Standard Time, as the Hong Kong Observatory and the
        // Purple Mountain Observatory publish them.
        QTest::newRow("1984 立春") << 1984 << 3 << cst(1984, 2, 4, 23, 19);
        QTest::newRow("2000 立春") << 2000 << 3 << cst(2000, 2, 4, 20, 40);
        QTest::newRow("2008 立春") << 2008 << 3 << cst(2008, 2, 4, 19, 0);
        QTest::newRow("2014 立春") << 2014 << 3 << cst(2014, 2, 4, 6, 3);
        QTest::newRow("2014 惊蛰 at 00:02") << 2014 << 5 << cst(2014, 3, 6, 0, 2);
        QTest::newRow("2014 立秋") << 2014 << 15 << cst(2014, 8, 7, 22, 2);
        QTest::newRow("2019 立春") << 2019 << 3 << cst(2019, 2, 4, 11, 14);
        QTest::newRow("2021 立春 on the 3rd") << 2021 << 3 << cst(2021, 2, 3, 22, 59);
        QTest::newRow("2022 立春") << 2022 << 3 << cst(2022, 2, 4, 4, 51);
        QTest::newRow("2023 立春") << 2023 << 3 << cst(2023, 2, 4, 10, 42);
        QTest::newRow("2024 立春") << 2024 << 3 << cst(2024, 2, 4, 16, 27);
        QTest::newRow("2025 立春 on the 3rd") << 2025 << 3 << cst(2025, 2, 3, 22, 10);
        QTest::newRow("2026 立春") << 2026 << 3 << cst(2026, 2, 4, 4, 2);
        QTest::newRow("2026 芒种 at 23:48") << 2026 << 11 << cst(2026, 6, 5, 23, 48);
    }
    void publishedInstants()
    {
        QFETCH(int, year);
        QFETCH(int, n);
        QFETCH(QDateTime, published);
        const auto got = termMoment(year, n);
        QVERIFY(got);
        const Moment expected = moment(published);
        const auto off = minuteNumber(*got) - minuteNumber(expected);
        QVERIFY2(off >= -2 && off <= 2, qPrintable(u"%1 minutes off"_s.arg(off)));
        // On the published civil day, and named there.
        QCOMPARE(got->date, expected.date);
        QCOMPARE(sTerm(year, n), std::optional(expected.date));
        QCOMPARE(qs(GetTerm(expected.date)), qs(TermNames[n]));
    }

    // The mean-sun reckoning puts 185 of the 4,824 terms of 1900-2100 a day off the
    // exact ones; two of them as examples.
    void meanReckoningDiffers()
    {
        int differ = 0;
        for (int year = 1900; year <= 2100; ++year)
            for (int n = 1; n <= 24; ++n)
                differ += sTerm(year, n) != meanTermDate(year, n);
        QCOMPARE(differ, 185);
        QCOMPARE(meanTermDate(2014, 5), std::optional(CivilDate{2014, 3, 5}));
        QCOMPARE(meanTermDate(2026, 11), std::optional(CivilDate{2026, 6, 6}));
    }

    // Every day of 1900-2100: each year names the 24 terms once each, in order, on
    // the days of their minutes, and the minutes lie 14 to 16 days apart.
    void everyYear()
    {
        std::int64_t previous = minuteNumber(*termMoment(1900, 1)) - 15 * 1440;
        for (int year = 1900; year <= 2100; ++year) {
            int next = 1;
            for (QDate d(year, 1, 1); d.year() == year; d = d.addDays(1)) {
                const CivilDate day{d.year(), d.month(), d.day()};
                const std::u16string_view name = GetTerm(day);
                if (name == u" ")
                    continue;
                QVERIFY2(next <= 24 && name == TermNames[next], qPrintable(d.toString(Qt::ISODate)));
                const auto m = termMoment(year, next);
                QVERIFY(m);
                QCOMPARE(m->date, day);
                const std::int64_t gap = minuteNumber(*m) - previous;
                QVERIFY2(gap >= 14 * 1440 && gap <= 16 * 1440, qPrintable(d.toString(Qt::ISODate)));
                previous = minuteNumber(*m);
                ++next;
            }
            QCOMPARE(next, 25);
        }
    }

    void outsideTheTermData_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("n");
        QTest::newRow("1899 冬至") << 1899 << 24;
        QTest::newRow("2101 小寒") << 2101 << 1;
        QTest::newRow("2014 term 0") << 2014 << 0;
        QTest::newRow("2014 term 25") << 2014 << 25;
        QTest::newRow("year INT_MIN") << std::numeric_limits<int>::min() << 3;
    }
    void outsideTheTermData()
    {
        QFETCH(int, year);
        QFETCH(int, n);
        QVERIFY(!termMoment(year, n));
        // The date falls back on the mean-sun reckoning where it can.
        QCOMPARE(sTerm(year, n), meanTermDate(year, n));
    }

    // The first and the last term of the data, against the 寿星 ephemeris
    // (lunar-javascript): 1900-01-06 02:03:57 and 2100-12-22 03:50:52.
    void endsOfTheData()
    {
        const auto first = termMoment(1900, 1);
        QVERIFY(first);
        QVERIFY(std::abs(minuteNumber(*first) - minuteNumber({{1900, 1, 6}, 2, 4})) <= 2);
        const auto last = termMoment(2100, 24);
        QVERIFY(last);
        QVERIFY(std::abs(minuteNumber(*last) - minuteNumber({{2100, 12, 22}, 3, 51})) <= 2);
    }
};

QTEST_GUILESS_MAIN(TestSolarTerms)
#include "tst_solarterms.moc"
