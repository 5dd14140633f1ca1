// The moment on other clocks: zones, China's summer time, true solar time and
// the warnings near a boundary.
//
// Zone expectations are worked out by hand from the tz database's rules as its
// own zdump prints them (America/New_York: EDT from 2026-03-08 03:00 to
// 2026-11-01 01:59; Europe/London: BST from 2026-03-29 02:00; Australia/Sydney:
// AEDT until 2026-04-05 02:59 and from 2026-10-04 03:00; Asia/Tokyo +9 all
// year; Asia/Shanghai: CDT from 1988-04-17 03:00 to 1988-09-11 01:59). The
// equation of time is Meeus's worked example 28.b and the almanac's extremes;
// longitudes are the cities' published coordinates.
#include "calendar/boundaries.h"
#include "calendar/cities.h"
#include "calendar/solarterms.h"
#include "calendar/solartime.h"
#include "calendar/zones.h"

#include <QTest>

using namespace lotgrid;

Q_DECLARE_METATYPE(Moment)
Q_DECLARE_METATYPE(BoundaryKind)
Q_DECLARE_METATYPE(DayBoundary)

namespace {

Moment at(int year, int month, int day, int hour, int minute)
{
    return {{year, month, day}, hour, minute};
}

Moment plus(const Moment &m, int minutes)
{
    return momentFromMinutes(minuteNumber(m) + minutes);
}

} // namespace

class TestZones : public QObject
{
    Q_OBJECT
private slots:
    void toChina_data()
    {
        QTest::addColumn<QByteArray>("zone");
        QTest::addColumn<bool>("standardTime");
        QTest::addColumn<Moment>("typed");
        QTest::addColumn<Moment>("standard");
        QTest::addColumn<bool>("summer");
        const auto row = [](const char *name, const char *zone, Moment typed, Moment standard, bool summer,
                            bool standardTime = false) {
            QTest::newRow(name) << QByteArray(zone) << standardTime << typed << standard << summer;
        };
        row("New York winter", "America/New_York", at(2026, 12, 7, 8, 30), at(2026, 12, 7, 21, 30), false);
        row("New York before the change", "America/New_York", at(2026, 3, 8, 1, 59), at(2026, 3, 8, 14, 59), false);
        row("New York after the change", "America/New_York", at(2026, 3, 8, 3, 0), at(2026, 3, 8, 15, 0), true);
        row("New York skipped hour", "America/New_York", at(2026, 3, 8, 2, 30), at(2026, 3, 8, 15, 30), false);
        row("New York hour shown twice", "America/New_York", at(2026, 11, 1, 1, 30), at(2026, 11, 1, 13, 30), true);
        row("London summer", "Europe/London", at(2026, 7, 1, 12, 0), at(2026, 7, 1, 19, 0), true);
        row("Tokyo", "Asia/Tokyo", at(2026, 7, 1, 0, 30), at(2026, 6, 30, 23, 30), false);
        row("Sydney summer", "Australia/Sydney", at(2026, 1, 10, 9, 0), at(2026, 1, 10, 6, 0), true);
        row("1988 summer day", "", at(1988, 7, 1, 10, 0), at(1988, 7, 1, 9, 0), true);
        row("1988 kept as standard", "", at(1988, 7, 1, 10, 0), at(1988, 7, 1, 10, 0), false, true);
        row("1988 before summer time", "", at(1988, 4, 17, 1, 59), at(1988, 4, 17, 1, 59), false);
        row("1988 first summer minute", "", at(1988, 4, 17, 3, 0), at(1988, 4, 17, 2, 0), true);
        row("1988 hour shown twice", "", at(1988, 9, 11, 1, 30), at(1988, 9, 11, 0, 30), true);
        row("1988 after summer time", "", at(1988, 9, 11, 2, 0), at(1988, 9, 11, 2, 0), false);
        row("1992 no summer time", "", at(1992, 7, 1, 10, 0), at(1992, 7, 1, 10, 0), false);
        row("1948 taken as typed", "", at(1948, 7, 1, 10, 0), at(1948, 7, 1, 10, 0), false);
        row("1900 taken as typed", "", at(1900, 7, 1, 10, 0), at(1900, 7, 1, 10, 0), false);
    }
    void toChina()
    {
        QFETCH(QByteArray, zone);
        QFETCH(bool, standardTime);
        QFETCH(Moment, typed);
        QFETCH(Moment, standard);
        QFETCH(bool, summer);
        if (!haveZoneDatabase() && (!zone.isEmpty() || summer))
            QSKIP("no time zone database in this build");
        const ZoneResult r = toChinaStandardTime(typed, zone.toStdString(), standardTime);
        QVERIFY(r.moment);
        QCOMPARE(r.moment->standard, standard);
        QCOMPARE(r.moment->summerTime, summer);
    }

    void refusals()
    {
        if (haveZoneDatabase()) {
            QCOMPARE(toChinaStandardTime(at(2026, 1, 1, 0, 0), "Mars/Olympus").error, ZoneError::UnknownZone);
            QCOMPARE(fromChinaStandardTime(at(2026, 12, 7, 21, 30), "America/New_York"), at(2026, 12, 7, 8, 30));
        } else {
            QCOMPARE(toChinaStandardTime(at(2026, 1, 1, 0, 0), "Asia/Tokyo").error, ZoneError::NoDatabase);
        }
        QCOMPARE(toChinaStandardTime(at(1900, 1, 31, 0, 0), "Asia/Tokyo").moment, std::nullopt); // 1900-01-30 23:00 CST
    }

    // Meeus 28.b (1992-10-13 0h TD), the early November maximum, the mid-February minimum, zero mid-April.
    void equationOfTime()
    {
        for (const auto &[moment, minutes, tolerance] : {std::tuple{at(1992, 10, 13, 8, 0), 13.711, 0.02},
                                                         {at(2026, 11, 3, 20, 0), 16.4, 0.15},
                                                         {at(2026, 2, 11, 20, 0), -14.2, 0.15},
                                                         {at(2026, 4, 15, 20, 0), 0.0, 0.4}})
            QVERIFY2(std::abs(lotgrid::equationOfTime(moment) - minutes) <= tolerance,
                     QByteArray::number(lotgrid::equationOfTime(moment)));
    }

    // 13.71 minutes on the meridian; at Ürümqi (87.62°E) 129.52 minutes earlier.
    void trueSolarTime()
    {
        QCOMPARE(lotgrid::trueSolarTime(at(1992, 10, 13, 8, 0), 120.0), at(1992, 10, 13, 8, 14));
        QCOMPARE(lotgrid::trueSolarTime(at(1992, 10, 13, 8, 0), 87.62), at(1992, 10, 13, 6, 4));
        QCOMPARE(lotgrid::trueSolarTime(at(1992, 10, 13, 1, 0), 87.62), at(1992, 10, 12, 23, 4));
    }

    void cities_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<double>("longitude");
        for (const auto &[name, longitude] : {std::pair{"北京市", 116.40},
                                              {"乌鲁木齐", 87.62},
                                              {"拉萨市", 91.13},
                                              {"哈尔滨", 126.63},
                                              {"伦敦", -0.13},
                                              {"纽约", -74.01},
                                              {"悉尼", 151.21}})
            QTest::newRow(name) << QString::fromUtf8(name) << longitude;
    }
    void cities()
    {
        QFETCH(QString, name);
        QFETCH(double, longitude);
        const auto c = findCity(name.toStdU16String());
        QVERIFY(c);
        QVERIFY2(std::abs(c->longitude - longitude) <= 0.15, QByteArray::number(c->longitude));
        // Every place of the mainland, listed before 香港, lies between China's westernmost and easternmost points.
        for (const City &city : lotgrid::cities()) {
            if (city.name == u"香港")
                break;
            QVERIFY(city.longitude > 73.5 && city.longitude < 135.1);
        }
    }

    // Each kind of warning 15 minutes from its boundary, and none at 16.
    void warnings_data()
    {
        QTest::addColumn<Moment>("boundary");
        QTest::addColumn<DayBoundary>("dayBoundary");
        QTest::addColumn<BoundaryKind>("kind");
        const Moment daxue = *termMoment(2026, 23); // 大雪, opens the 子 month
        QTest::newRow("大雪") << daxue << DayBoundary::Midnight << BoundaryKind::Term;
        QTest::newRow("巳时 09:00") << at(2026, 12, 8, 9, 0) << DayBoundary::Midnight << BoundaryKind::Hour;
        QTest::newRow("midnight") << at(2026, 12, 9, 0, 0) << DayBoundary::Midnight << BoundaryKind::Day;
        QTest::newRow("23:00 子初换日") << at(2026, 12, 9, 23, 0) << DayBoundary::Zi23 << BoundaryKind::Day;
    }
    void warnings()
    {
        QFETCH(Moment, boundary);
        QFETCH(DayBoundary, dayBoundary);
        QFETCH(BoundaryKind, kind);
        for (const int minutes : {-16, -15, 15, 16}) {
            const Moment m = plus(boundary, minutes);
            std::optional<BoundaryWarning> found;
            for (const BoundaryWarning &w : boundaryWarnings(m, std::nullopt, dayBoundary))
                if (w.kind == kind)
                    found = w;
            QCOMPARE(found.has_value(), std::abs(minutes) <= 15);
            if (!found)
                continue;
            QCOMPARE(found->at, boundary);
            QCOMPARE(found->minutes, minutes);
            // The other side is the pillars of the minute across the boundary.
            const Moment across = minutes < 0 ? boundary : plus(boundary, -1);
            QCOMPARE(found->other, *pillarsOf(across, dayBoundary));
            QVERIFY(found->other != *pillarsOf(m, dayBoundary));
        }
    }

    // With true solar time the 时辰 follows the clock of the place: five minutes before 巳 gives way to 午.
    void warningsOnSolarTime()
    {
        const auto ws = boundaryWarnings(at(2026, 6, 10, 11, 10), at(2026, 6, 10, 10, 55), DayBoundary::Midnight);
        QVERIFY(ws.size() == 1 && ws[0].kind == BoundaryKind::Hour && ws[0].minutes == -5);
        QCOMPARE(ws[0].at, at(2026, 6, 10, 11, 0));
    }
};

QTEST_GUILESS_MAIN(TestZones)
#include "tst_zones.moc"
