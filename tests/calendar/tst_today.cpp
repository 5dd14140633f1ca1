// The today line, the solar terms and the week keys.
#include "calendar/lunar.h"
#include "calendar/solarterms.h"
#include "calendar/today.h"
#include "qtcore/textconv.h"

#include <QDate>
#include <QString>
#include <QTest>

#include <limits>

using namespace lotgrid;
using namespace Qt::StringLiterals;

namespace {

CivilDate civil(QDate d)
{
    return {d.year(), d.month(), d.day()};
}

QString showToday(QDate d)
{
    return qs(ShowToday(civil(d)));
}

} // namespace

class TestToday : public QObject
{
    Q_OBJECT
private slots:
    // Lunar text, animal and the extras after "今天是：" (none: no extras part).
    void line_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("lunar");
        QTest::addColumn<QString>("animal");
        QTest::addColumn<QString>("extras");
        const QString none;
        QTest::newRow("2014-08-08 solar festival")
            << QDate(2014, 8, 8) << u"甲午年七月十三"_s << u"马"_s << u"父亲节 "_s;
        QTest::newRow("2014-08-07 立秋 at 22:02") << QDate(2014, 8, 7) << u"甲午年七月十二"_s << u"马"_s << u"立秋"_s;
        QTest::newRow("2014-02-14 lunar before solar")
            << QDate(2014, 2, 14) << u"甲午年正月十五"_s << u"马"_s << u"元宵节情人节 "_s;
        QTest::newRow("2015-02-19 festival and term")
            << QDate(2015, 2, 19) << u"乙未年正月初一"_s << u"羊"_s << u"春节雨水"_s;
        QTest::newRow("2015-02-04 立春 keeps the old year")
            << QDate(2015, 2, 4) << u"甲午年腊月十六"_s << u"马"_s << u"立春"_s;
        QTest::newRow("2015-02-10") << QDate(2015, 2, 10) << u"甲午年腊月廿二"_s << u"马"_s << none;
        QTest::newRow("2014-01-30 eve on day 30") << QDate(2014, 1, 30) << u"癸巳年腊月三十"_s << u"蛇"_s << u"除夕 "_s;
        QTest::newRow("2013-02-09 eve on day 29") << QDate(2013, 2, 9) << u"壬辰年腊月廿九"_s << u"龙"_s << u"除夕 "_s;
        QTest::newRow("2014-10-24 leap month")
            << QDate(2014, 10, 24) << u"甲午年闰九月初一"_s << u"马"_s << u"联合国日 "_s;
        QTest::newRow("2014-03-08 name cut at six")
            << QDate(2014, 3, 8) << u"甲午年二月初八"_s << u"马"_s << u"国际劳动妇女 "_s;
        QTest::newRow("2014-07-01") << QDate(2014, 7, 1) << u"甲午年六月初五"_s << u"马"_s << u"中国建党节, "_s;
        QTest::newRow("2014-05-04 first Sunday of May")
            << QDate(2014, 5, 4) << u"甲午年四月初六"_s << u"马"_s << u"五四青年节 "_s;
        QTest::newRow("2014-05-11 second Sunday of May")
            << QDate(2014, 5, 11) << u"甲午年四月十三"_s << u"马"_s << u"母亲节 "_s;
        QTest::newRow("2014-02-17 third Monday of February")
            << QDate(2014, 2, 17) << u"甲午年正月十八"_s << u"马"_s << u"总统日 "_s;
        QTest::newRow("2014-01-01") << QDate(2014, 1, 1) << u"癸巳年腊月初一"_s << u"蛇"_s << u"元旦 "_s;
        QTest::newRow("1984-02-02") << QDate(1984, 2, 2) << u"甲子年正月初一"_s << u"鼠"_s << u"春节 "_s;
        QTest::newRow("2014-11-27 fourth Thursday of November")
            << QDate(2014, 11, 27) << u"甲午年十月初六"_s << u"马"_s << u"感恩节 "_s;
        QTest::newRow("2014-06-15 third Sunday of June")
            << QDate(2014, 6, 15) << u"甲午年五月十八"_s << u"马"_s << u"父亲节 "_s;
        QTest::newRow("2014-06-02 端午节") << QDate(2014, 6, 2) << u"甲午年五月初五"_s << u"马"_s << u"端午节 "_s;
        QTest::newRow("2014-12-22 冬至") << QDate(2014, 12, 22) << u"甲午年十一月初一"_s << u"马"_s << u"冬至"_s;
        // Terms near midnight, on the civil day of their instant (Hong Kong Observatory).
        QTest::newRow("2014-03-05 惊蛰 not yet") << QDate(2014, 3, 5) << u"甲午年二月初五"_s << u"马"_s << none;
        QTest::newRow("2014-03-06 惊蛰 at 00:02") << QDate(2014, 3, 6) << u"甲午年二月初六"_s << u"马"_s << u"惊蛰"_s;
        QTest::newRow("2026-06-05 芒种 at 23:48") << QDate(2026, 6, 5) << u"丙午年四月二十"_s << u"马"_s << u"芒种"_s;
        QTest::newRow("2026-06-06 芒种 over") << QDate(2026, 6, 6) << u"丙午年四月廿一"_s << u"马"_s << none;
        QTest::newRow("2021-12-21 冬至 at 23:59")
            << QDate(2021, 12, 21) << u"辛丑年十一月十八"_s << u"牛"_s << u"冬至"_s;
        QTest::newRow("1900-01-31 first covered day")
            << QDate(1900, 1, 31) << u"庚子年正月初一"_s << u"鼠"_s << u"春节 "_s;
        QTest::newRow("1921-02-07 eve before the year table")
            << QDate(1921, 2, 7) << u"庚申年腊月三十"_s << u"猴"_s << u"除夕 "_s;
        QTest::newRow("2021-02-11 eve, last day of the year table")
            << QDate(2021, 2, 11) << u"庚子年腊月三十"_s << u"鼠"_s << u"除夕 "_s;
        QTest::newRow("2026-02-16 eve, third Monday")
            << QDate(2026, 2, 16) << u"乙巳年腊月廿九"_s << u"蛇"_s << u"除夕总统日 "_s;
        QTest::newRow("2026-02-17") << QDate(2026, 2, 17) << u"丙午年正月初一"_s << u"马"_s << u"春节 "_s;
        QTest::newRow("2033-12-22 闰十一月") << QDate(2033, 12, 22) << u"癸丑年闰十一月初一"_s << u"牛"_s << none;
        QTest::newRow("2100-12-31 last covered day") << QDate(2100, 12, 31) << u"庚申年腊月初一"_s << u"猴"_s << none;
    }
    void line()
    {
        QFETCH(QDate, date);
        QFETCH(QString, lunar);
        QFETCH(QString, animal);
        QFETCH(QString, extras);
        QString expected = u"今天是%1年%2月%3日   农历:%4  属象:%5年"_s.arg(date.year())
                               .arg(date.month())
                               .arg(date.day())
                               .arg(lunar, animal);
        if (!extras.isNull())
            expected += u"  今天是："_s + extras;
        QCOMPARE(showToday(date), expected);
    }

    // Outside 1900-01-31 .. 2100-12-31 the Gregorian part, the Gregorian festivals and
    // the terms stay.
    void lineOutsideTheRange_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("expected");
        QTest::newRow("1900-01-30") << QDate(1900, 1, 30) << u"今天是1900年1月30日   农历:超出历表范围"_s;
        QTest::newRow("2101-01-01") << QDate(2101, 1, 1) << u"今天是2101年1月1日   农历:超出历表范围  今天是：元旦 "_s;
        QTest::newRow("1899-12-25") << QDate(1899, 12, 25)
                                    << u"今天是1899年12月25日   农历:超出历表范围  今天是：圣诞节 "_s;
        QTest::newRow("2200-11-27 Thanksgiving")
            << QDate(2200, 11, 27) << u"今天是2200年11月27日   农历:超出历表范围  今天是：感恩节 "_s;
    }
    void lineOutsideTheRange()
    {
        QFETCH(QDate, date);
        QFETCH(QString, expected);
        QCOMPARE(showToday(date), expected);
    }

    void lineForADateThatDoesNotExist_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("day");
        QTest::newRow("2014-02-29") << 2014 << 2 << 29;
        QTest::newRow("2014-13-01") << 2014 << 13 << 1;
        QTest::newRow("0-0-0") << 0 << 0 << 0;
        QTest::newRow("year INT_MAX") << std::numeric_limits<int>::max() << 1 << 1;
    }
    void lineForADateThatDoesNotExist()
    {
        QFETCH(int, year);
        QFETCH(int, month);
        QFETCH(int, day);
        QCOMPARE(qs(ShowToday({year, month, day})), qs(InvalidDateText));
        QCOMPARE(qs(GetTerm({year, month, day})), u" "_s);
        QVERIFY(GetMonthWeek({year, month, day}).empty());
    }

    // 除夕 on the last day of month 12 and 春节 on the day after, every year of the range.
    void eveAndNewYearEveryYear()
    {
        int eves = 0;
        for (QDate d(1900, 1, 31); d <= QDate(2100, 12, 31); d = d.addDays(1)) {
            const QDate next = d.addDays(1);
            const auto tomorrow = SolarToLunar(next.year(), next.month(), next.day());
            const QString line = showToday(d);
            const bool newYearTomorrow = tomorrow && tomorrow->month == 1 && tomorrow->day == 1;
            QVERIFY2(line.contains(u"除夕"_s) == newYearTomorrow, qPrintable(line));
            eves += newYearTomorrow;
            const auto today = SolarToLunar(d.year(), d.month(), d.day());
            QVERIFY2(line.contains(u"今天是：春节"_s) == (today->month == 1 && today->day == 1), qPrintable(line));
        }
        QCOMPARE(eves, 200); // lunar 1900 .. 2099; lunar 2101 begins after the range
    }

    void sTerm_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("n");
        QTest::addColumn<QDate>("date");
        QTest::newRow("1900 小寒, the base") << 1900 << 1 << QDate(1900, 1, 6);
        QTest::newRow("2014 立春") << 2014 << 3 << QDate(2014, 2, 4);
        // Hong Kong Observatory: 惊蛰 2014 at 00:02 on 6 March (the mean-sun reckoning
        // put it at 23:01 on the 5th), 立秋 2014 at 22:02.
        QTest::newRow("2014 惊蛰 at 00:02") << 2014 << 5 << QDate(2014, 3, 6);
        QTest::newRow("2014 立秋 at 22:02") << 2014 << 15 << QDate(2014, 8, 7);
        QTest::newRow("2014 冬至") << 2014 << 24 << QDate(2014, 12, 22);
        // Within an hour of midnight while clocks here kept summer time: the terms stay
        // on China Standard Time. 大暑 1988 fell at 22:51 on the 22nd (the mean-sun
        // reckoning put it at 00:05 on the 23rd).
        QTest::newRow("1987 谷雨 at 22:57") << 1987 << 8 << QDate(1987, 4, 20);
        QTest::newRow("1988 大暑 at 22:51") << 1988 << 14 << QDate(1988, 7, 22);
        // Before 1900 the mean-sun reckoning.
        QTest::newRow("1899 冬至, before the term data") << 1899 << 24 << QDate(1899, 12, 22);
    }
    void sTerm()
    {
        QFETCH(int, year);
        QFETCH(int, n);
        QFETCH(QDate, date);
        const auto got = lotgrid::sTerm(year, n);
        QVERIFY(got);
        QCOMPARE(*got, civil(date));
        QCOMPARE(qs(GetTerm(civil(date))), qs(TermNames[n]));
    }

    void sTermNumbers_data()
    {
        QTest::addColumn<int>("n");
        QTest::newRow("0") << 0;
        QTest::newRow("25") << 25;
        QTest::newRow("-1") << -1;
    }
    void sTermNumbers()
    {
        QFETCH(int, n);
        QVERIFY(!lotgrid::sTerm(2014, n));
    }

    void getMonthWeek_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("key");
        QTest::newRow("2014-05-04 first Sunday") << QDate(2014, 5, 4) << u"0510"_s;
        QTest::newRow("2014-05-11 second Sunday") << QDate(2014, 5, 11) << u"0520"_s;
        QTest::newRow("2014-05-31 fifth Saturday") << QDate(2014, 5, 31) << u"0556"_s;
        QTest::newRow("2014-02-01 first Saturday") << QDate(2014, 2, 1) << u"0216"_s;
        QTest::newRow("2014-11-27 fourth Thursday") << QDate(2014, 11, 27) << u"1144"_s;
        QTest::newRow("2015-11-26 fourth Thursday") << QDate(2015, 11, 26) << u"1144"_s;
        QTest::newRow("2015-05-10 second Sunday") << QDate(2015, 5, 10) << u"0520"_s;
        QTest::newRow("2024-05-12 second Sunday") << QDate(2024, 5, 12) << u"0520"_s;
        QTest::newRow("2024-12-31 fifth Tuesday") << QDate(2024, 12, 31) << u"1252"_s;
    }
    void getMonthWeek()
    {
        QFETCH(QDate, date);
        QFETCH(QString, key);
        QCOMPARE(qs(GetMonthWeek(civil(date))), key);
    }
};

QTEST_GUILESS_MAIN(TestToday)
#include "tst_today.moc"
