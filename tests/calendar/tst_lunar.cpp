// The lunar calendar: known dates, every day of the covered range, the
// literals of LunarBitsTable, and every day of 1921-2020 against the program's
// earlier year table, which describes those years independently of LunarBitsTable.
#include "calendar/lunar.h"
#include "qtcore/textconv.h"

#include <QString>
#include <QTest>

#include <limits>
#include <vector>

using namespace lotgrid;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(LunarDate)

namespace {

void addDateRow(const char *name, CivilDate solar, LunarDate lunar)
{
    QTest::newRow(name) << solar.year << solar.month << solar.day << lunar;
}

// The program's earlier table of lunar years 1921 + r, r = 0..99, which the
// conversion walked from 8 February 1921 to 11 February 2021. A row below 4095
// is a year of 12 months: bits 11 down to 0 are months 1 to 12, set = 30 days,
// clear = 29. A row of 4095 or more is a year of 13 months: bits 12 down to 0
// are the 13 months in calendar order, and row / 65536 is the month L after
// which the leap month comes.
// clang-format off
constexpr std::array<std::int32_t, 100> LunarYearTable{
    2635, 333387, 1701, 1748, 267701, 694, 2391, 133423, 1175, 396438,         // 1921-1930
    3402, 3749, 331177, 1453, 694, 201326, 2350, 465197, 3221, 3402,           // 1931-1940
    400202, 2901, 1386, 267611, 605, 2349, 137515, 2709, 464533, 1738,         // 1941-1950
    2901, 330421, 1242, 2651, 199255, 1323, 529706, 3733, 1706, 398762,        // 1951-1960
    2741, 1206, 267438, 2647, 1318, 204070, 3477, 461653, 1386, 2413,          // 1961-1970
    330077, 1197, 2637, 268877, 3365, 531109, 2900, 2922, 398042, 2395,        // 1971-1980
    1179, 267415, 2635, 661067, 1701, 1748, 398772, 2742, 2391, 330031,        // 1981-1990
    1175, 1611, 200010, 3749, 527717, 1452, 2742, 332397, 2350, 3222,          // 1991-2000
    268949, 3402, 3493, 133973, 1386, 464219, 605, 2349, 334123, 2709,         // 2001-2010
    2890, 267946, 2773, 592565, 1210, 2651, 395863, 1323, 2707, 265877,        // 2011-2020
};
// clang-format on
constexpr int LunarYearTableFirstYear = 1921;
const QDate LunarYearTableFirstDay(1921, 2, 8); // lunar 1921, month 1, day 1
const QDate LunarYearTableLastDay(2021, 2, 11); // lunar 2020, month 12, day 30

static_assert(std::ranges::all_of(LunarYearTable, [](std::int32_t row) {
    return row < 4095 || (row / 65536 >= 2 && row / 65536 <= 10 && row % 65536 < 8192);
}));

struct YearTableMonth {
    int month; // as LunarDate numbers it: the leap month negative
    int days;  // 29 or 30
};

// The months of a LunarYearTable row in calendar order.
std::vector<YearTableMonth> yearTableMonths(std::int32_t row)
{
    std::vector<YearTableMonth> months;
    const int k = row < 4095 ? 11 : 12;
    const int leapAfter = row / 65536;
    for (int n = k; n >= 0; --n) {
        const int slot = k - n + 1;
        int month = slot;
        if (k == 12)
            month = slot == leapAfter + 1 ? -leapAfter : slot > leapAfter + 1 ? slot - 1 : slot;
        months.push_back({month, (row >> n) & 1 ? 30 : 29});
    }
    return months;
}

} // namespace

class TestLunar : public QObject
{
    Q_OBJECT
private slots:
    void solarToLunar_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("day");
        QTest::addColumn<LunarDate>("lunar");
        // The lunar year table's own span.
        addDateRow("1921-02-08 first day of the year table", {1921, 2, 8}, {1921, 1, 1});
        addDateRow("1924-03-01 after February of a leap year", {1924, 3, 1}, {1924, 1, 26});
        addDateRow("2000-02-05", {2000, 2, 5}, {2000, 1, 1});
        addDateRow("2014-01-30", {2014, 1, 30}, {2013, 12, 30});
        addDateRow("2014-01-31", {2014, 1, 31}, {2014, 1, 1});
        addDateRow("2014-08-08", {2014, 8, 8}, {2014, 7, 13});
        addDateRow("2014-10-24 first day of a leap month", {2014, 10, 24}, {2014, -9, 1});
        addDateRow("2014-11-21", {2014, 11, 21}, {2014, -9, 29});
        addDateRow("2014-11-22", {2014, 11, 22}, {2014, 10, 1});
        addDateRow("2017-07-23", {2017, 7, 23}, {2017, -6, 1});
        addDateRow("2020-05-23", {2020, 5, 23}, {2020, -4, 1});
        addDateRow("2021-02-11 last day of the year table", {2021, 2, 11}, {2020, 12, 30});
        // Either side of the year table.
        addDateRow("1900-01-31 first covered day", {1900, 1, 31}, {1900, 1, 1});
        addDateRow("1921-02-07", {1921, 2, 7}, {1920, 12, 30});
        addDateRow("2021-02-12", {2021, 2, 12}, {2021, 1, 1});
        addDateRow("2100-12-31 last covered day", {2100, 12, 31}, {2100, 12, 1});
        // New moons close to midnight, China Standard Time (hh:mm of the new moon).
        addDateRow("1914-11-18 new moon 00:01", {1914, 11, 18}, {1914, 10, 1});
        addDateRow("1916-02-04 new moon 00:05", {1916, 2, 4}, {1916, 1, 1});
        addDateRow("1920-11-11 new moon 00:04", {1920, 11, 11}, {1920, 10, 1});
        addDateRow("1933-07-23 new moon 00:03", {1933, 7, 23}, {1933, 6, 1});
        addDateRow("1978-09-03 new moon 00:08", {1978, 9, 3}, {1978, 8, 1});
        addDateRow("1996-07-16 new moon 00:14", {1996, 7, 16}, {1996, 6, 1});
        addDateRow("2027-02-06 new moon 23:56", {2027, 2, 6}, {2027, 1, 1});
        addDateRow("2030-02-03 new moon 00:07", {2030, 2, 3}, {2030, 1, 1});
        // 2057-09-28: new moon within seconds of midnight; month 9 begins that day
        // in the Hong Kong Observatory's tables.
        addDateRow("2057-09-27", {2057, 9, 27}, {2057, 8, 29});
        addDateRow("2057-09-28", {2057, 9, 28}, {2057, 9, 1});
        addDateRow("2097-08-07 new moon 23:59", {2097, 8, 7}, {2097, 7, 1});
        // Months 11 of 1954 and 1956 (new moons 20:30 and 16:12), as LunarYearTable has them.
        addDateRow("1954-11-25", {1954, 11, 25}, {1954, 11, 1});
        addDateRow("1956-12-02", {1956, 12, 2}, {1956, 11, 1});
        // 2033: the winter solstice (21 Dec) falls in month 11, the leap month follows it.
        addDateRow("2033-08-25", {2033, 8, 25}, {2033, 8, 1});
        addDateRow("2033-11-22", {2033, 11, 22}, {2033, 11, 1});
        addDateRow("2033-12-22", {2033, 12, 22}, {2033, -11, 1});
        addDateRow("2034-01-20", {2034, 1, 20}, {2033, 12, 1});
    }
    void solarToLunar()
    {
        QFETCH(int, year);
        QFETCH(int, month);
        QFETCH(int, day);
        QFETCH(LunarDate, lunar);
        const auto got = SolarToLunar(year, month, day);
        QVERIFY(got);
        QCOMPARE(got->year, lunar.year);
        QCOMPARE(got->month, lunar.month);
        QCOMPARE(got->day, lunar.day);
    }

    // Spring Festival (month 1, day 1) as the 寿星 ephemeris calendar gives it
    // (lunar-javascript 1.7.7).
    void springFestival_data()
    {
        QTest::addColumn<int>("lunarYear");
        QTest::addColumn<QDate>("date");
        const std::pair<int, QDate> rows[] = {
            {1900, {1900, 1, 31}}, {1912, {1912, 2, 18}}, {1949, {1949, 1, 29}}, {1966, {1966, 1, 21}},
            {1984, {1984, 2, 2}},  {1985, {1985, 2, 20}}, {2000, {2000, 2, 5}},  {2014, {2014, 1, 31}},
            {2015, {2015, 2, 19}}, {2021, {2021, 2, 12}}, {2023, {2023, 1, 22}}, {2025, {2025, 1, 29}},
            {2026, {2026, 2, 17}}, {2027, {2027, 2, 6}},  {2028, {2028, 1, 26}}, {2030, {2030, 2, 3}},
            {2031, {2031, 1, 23}}, {2033, {2033, 1, 31}}, {2034, {2034, 2, 19}}, {2038, {2038, 2, 4}},
            {2044, {2044, 1, 30}}, {2050, {2050, 1, 23}}, {2051, {2051, 2, 11}}, {2057, {2057, 2, 4}},
            {2058, {2058, 1, 24}}, {2061, {2061, 1, 21}}, {2070, {2070, 2, 11}}, {2076, {2076, 2, 5}},
            {2083, {2083, 2, 17}}, {2089, {2089, 2, 10}}, {2095, {2095, 2, 5}},  {2099, {2099, 1, 21}},
            {2100, {2100, 2, 9}},
        };
        for (const auto &[year, date] : rows)
            QTest::newRow(qPrintable(date.toString(Qt::ISODate))) << year << date;
    }
    void springFestival()
    {
        QFETCH(int, lunarYear);
        QFETCH(QDate, date);
        QCOMPARE(SolarToLunar(date.year(), date.month(), date.day()), (LunarDate{lunarYear, 1, 1}));
        const QDate eve = date.addDays(-1);
        const auto before = SolarToLunar(eve.year(), eve.month(), eve.day());
        if (before) {
            QCOMPARE(before->year, lunarYear - 1);
            QCOMPARE(before->month, 12);
        }
    }

    // First days of the leap months, 寿星 ephemeris calendar (lunar-javascript 1.7.7).
    void leapMonths_data()
    {
        QTest::addColumn<int>("leapMonth");
        QTest::addColumn<QDate>("firstDay");
        const std::pair<int, QDate> rows[] = {
            {2, {2023, 3, 22}}, {6, {2025, 7, 25}}, {5, {2028, 6, 23}}, {3, {2031, 4, 22}}, {11, {2033, 12, 22}},
            {6, {2036, 7, 23}}, {5, {2039, 6, 22}}, {2, {2042, 3, 22}}, {7, {2044, 8, 23}}, {5, {2047, 6, 23}},
            {3, {2050, 4, 21}}, {8, {2052, 9, 23}}, {6, {2055, 7, 24}}, {4, {2058, 5, 22}}, {3, {2061, 4, 20}},
            {7, {2063, 8, 24}}, {5, {2066, 6, 23}}, {4, {2069, 5, 21}}, {8, {2071, 9, 24}}, {6, {2074, 7, 24}},
            {4, {2077, 5, 22}}, {3, {2080, 4, 20}}, {7, {2082, 8, 24}}, {5, {2085, 6, 22}}, {4, {2088, 5, 21}},
            {8, {2090, 9, 24}}, {6, {2093, 7, 23}}, {4, {2096, 5, 22}}, {2, {2099, 3, 22}},
        };
        for (const auto &[month, date] : rows)
            QTest::newRow(qPrintable(date.toString(Qt::ISODate))) << month << date;
    }
    void leapMonths()
    {
        QFETCH(int, leapMonth);
        QFETCH(QDate, firstDay);
        QCOMPARE(SolarToLunar(firstDay.year(), firstDay.month(), firstDay.day()),
                 (LunarDate{firstDay.year(), -leapMonth, 1}));
    }

    // Every day from 1900-01-31 to 2100-12-31: one lunar day after another,
    // months of 29 or 30 days in their order, at most one leap month a year, and
    // month 12 as long as lMonthDays says.
    void everyDay()
    {
        QDate date(1900, 1, 31);
        const QDate last(2100, 12, 31);
        LunarDate prev{1899, 12, 30};
        int monthLength = 30;
        int leapMonthsThisYear = 0;
        int days = 0;
        for (; date <= last; date = date.addDays(1), ++days) {
            const auto got = SolarToLunar(date.year(), date.month(), date.day());
            QVERIFY2(got, qPrintable(date.toString(Qt::ISODate)));
            const LunarDate l = *got;
            const QByteArray where = date.toString(Qt::ISODate).toLatin1();
            if (l.day == prev.day + 1) {
                QVERIFY2(l.year == prev.year && l.month == prev.month, where);
                ++monthLength;
                prev = l;
                continue;
            }
            QVERIFY2(l.day == 1, where);
            QVERIFY2(monthLength == 29 || monthLength == 30, where);
            if (prev.month == 12 && date != QDate(1900, 1, 31))
                QVERIFY2(lotgrid::lMonthDays(static_cast<std::int16_t>(prev.year)) == monthLength, where);
            if (l.year != prev.year) {
                QVERIFY2(l.year == prev.year + 1 && l.month == 1 && (prev.month == 12 || prev.month == -12), where);
                leapMonthsThisYear = 0;
            } else if (l.month < 0) {
                QVERIFY2(-l.month == prev.month, where);
                QVERIFY2(++leapMonthsThisYear == 1, where);
            } else {
                QVERIFY2(l.month == (prev.month < 0 ? -prev.month : prev.month) + 1, where);
            }
            monthLength = 1;
            prev = l;
        }
        QCOMPARE(days, 73384);
    }

    void outsideTheRange_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("day");
        QTest::newRow("1900-01-30 day before the first") << 1900 << 1 << 30;
        QTest::newRow("2101-01-01 day after the last") << 2101 << 1 << 1;
        QTest::newRow("1800-06-01") << 1800 << 6 << 1;
        QTest::newRow("9999-12-31") << 9999 << 12 << 31;
        QTest::newRow("2014-02-29 no such day") << 2014 << 2 << 29;
        QTest::newRow("2014-13-01 no such month") << 2014 << 13 << 1;
        QTest::newRow("2014-00-00") << 2014 << 0 << 0;
        QTest::newRow("2014-04-31") << 2014 << 4 << 31;
        QTest::newRow("year INT_MIN") << std::numeric_limits<int>::min() << 1 << 1;
        QTest::newRow("year INT_MAX") << std::numeric_limits<int>::max() << 12 << 31;
    }
    void outsideTheRange()
    {
        QFETCH(int, year);
        QFETCH(int, month);
        QFETCH(int, day);
        QVERIFY(!SolarToLunar(year, month, day));
    }

    void lMonthDays_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("days");
        QTest::newRow("2012") << 2012 << 29;
        QTest::newRow("2013") << 2013 << 30;
        QTest::newRow("1933") << 1933 << 30;
        QTest::newRow("1900") << 1900 << 30;
        QTest::newRow("1899 reads 1900") << 1899 << 30;
        QTest::newRow("-32768 reads 1900") << -32768 << 30;
        QTest::newRow("2100") << 2100 << 29;
        QTest::newRow("32767 reads 2100") << 32767 << 29;
    }
    void lMonthDays()
    {
        QFETCH(int, year);
        QFETCH(int, days);
        QCOMPARE(lotgrid::lMonthDays(static_cast<std::int16_t>(year)), days);
    }

    // Each year of the earlier year table, day by day from its month 1 day 1:
    // the conversion, which walks LunarBitsTable, gives the same lunar dates.
    void yearTable_data()
    {
        QTest::addColumn<int>("lunarYear");
        QTest::addColumn<int>("row");
        QTest::addColumn<QDate>("firstDay");
        QDate first = LunarYearTableFirstDay;
        for (std::size_t r = 0; r < LunarYearTable.size(); ++r) {
            const int year = LunarYearTableFirstYear + static_cast<int>(r);
            QTest::newRow(qPrintable(QString::number(year))) << year << LunarYearTable[r] << first;
            for (const YearTableMonth &m : yearTableMonths(LunarYearTable[r]))
                first = first.addDays(m.days);
        }
    }
    void yearTable()
    {
        QFETCH(int, lunarYear);
        QFETCH(int, row);
        QFETCH(QDate, firstDay);
        QDate date = firstDay;
        for (const YearTableMonth &m : yearTableMonths(row)) {
            for (int day = 1; day <= m.days; ++day, date = date.addDays(1))
                QCOMPARE(SolarToLunar(date.year(), date.month(), date.day()), (LunarDate{lunarYear, m.month, day}));
        }
        QCOMPARE(SolarToLunar(date.year(), date.month(), date.day()), (LunarDate{lunarYear + 1, 1, 1}));
    }
    void yearTableSpan()
    {
        qint64 days = 0;
        for (std::int32_t row : LunarYearTable)
            for (const YearTableMonth &m : yearTableMonths(row))
                days += m.days;
        QCOMPARE(LunarYearTableFirstDay.addDays(days - 1), LunarYearTableLastDay);
    }

    void c16to10_data()
    {
        QTest::addColumn<QString>("literal");
        QTest::addColumn<int>("value");
        QTest::newRow("ox04bd8") << u"ox04bd8"_s << 19416;
        QTest::newRow("ox0a570") << u"ox0a570"_s << 42352;
        QTest::newRow("ox06e95") << u"ox06e95"_s << 28309;
        QTest::newRow("ox1b255") << u"ox1b255"_s << 111189;
        QTest::newRow("oxfffff") << u"oxfffff"_s << 0xfffff;
        QTest::newRow("uppercase digit") << u"ox0A570"_s << -1;
        QTest::newRow("short") << u"ox0a57"_s << -1;
        QTest::newRow("long") << u"ox0a5700"_s << -1;
        QTest::newRow("no ox") << u"0x0a570"_s << -1;
        QTest::newRow("empty") << QString() << -1;
        QTest::newRow("full-width digit") << u"ox0a57０"_s << -1;
    }
    void c16to10()
    {
        QFETCH(QString, literal);
        QFETCH(int, value);
        QCOMPARE(lotgrid::c16to10(u16(literal)).value_or(-1), value);
    }

    void c16to10EveryLiteral()
    {
        for (std::u16string_view literal : LunarBitsTable) {
            const QString text = QString::fromUtf16(literal.data(), static_cast<qsizetype>(literal.size()));
            QVERIFY(text.startsWith(u"ox"_s));
            bool ok = false;
            const int expected = text.mid(2).toInt(&ok, 16);
            QVERIFY2(ok && text.mid(2) == text.mid(2).toLower(), qPrintable(text));
            QCOMPARE(lotgrid::c16to10(literal).value_or(-1), expected);
        }
    }
};

QTEST_GUILESS_MAIN(TestLunar)
#include "tst_lunar.moc"
