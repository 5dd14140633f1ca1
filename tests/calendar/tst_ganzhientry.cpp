// 干支 entry: the text read as pillars, and the search held to the calendar.
// Every stretch listed carries the pillars at both ends and at its chart
// moment; and, sweeping every day of sixty years through the calendar's own
// pillars, no moment that carries them lies outside the list.
#include "calendar/ganzhientry.h"

#include <QTest>

using namespace lotgrid;

Q_DECLARE_METATYPE(GanzhiErrorKind)

namespace {

bool holds(const GanzhiQuery &q, const std::optional<Pillars> &p)
{
    return p && (!q.year || q.year->matches(p->year)) && (!q.month || q.month->matches(p->month))
           && (!q.day || q.day->matches(p->day)) && (!q.hour || q.hour->matches(p->hour));
}

} // namespace

class TestGanzhiEntry : public QObject
{
    Q_OBJECT
private slots:
    void parse()
    {
        GanzhiError e;
        const auto q = parseGanzhi(u"丙午年 己亥月  乙卯日，庚辰时", e);
        QCOMPARE(q, (GanzhiQuery{{{2, Branch::Wu}}, {{5, Branch::Hai}}, {{1, Branch::Mao}}, {{6, Branch::Chen}}}));
        QCOMPARE(parseGanzhi(u"丙午 己亥 乙卯 庚辰", e), q);
        const auto branchOnly = parseGanzhi(u"卯月戊寅日", e);
        QVERIFY(branchOnly && !branchOnly->month->stem && branchOnly->day == (PillarPattern{4, Branch::Yin}));
    }

    void refusals_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<GanzhiErrorKind>("kind");
        QTest::newRow("empty") << QStringLiteral(" ") << GanzhiErrorKind::Empty;
        QTest::newRow("not a branch") << QStringLiteral("甲日") << GanzhiErrorKind::Unreadable;
        QTest::newRow("甲丑") << QStringLiteral("甲丑日") << GanzhiErrorKind::NotInCycle;
        QTest::newRow("two days") << QStringLiteral("甲子日乙丑日") << GanzhiErrorKind::Twice;
        QTest::newRow("two bare pairs") << QStringLiteral("甲子 乙丑") << GanzhiErrorKind::Unplaced;
        // 丙辛之岁寻庚上: the 卯 month of a 丙 year is 辛卯.
        QTest::newRow("丙午年 癸卯月") << QStringLiteral("丙午年 癸卯月") << GanzhiErrorKind::YearMonthStems;
        // 乙庚丙作初: the 辰 hour of an 乙 day is 庚辰.
        QTest::newRow("乙卯日 壬辰时") << QStringLiteral("乙卯日 壬辰时") << GanzhiErrorKind::DayHourStems;
        // The 甲子 years are 1924, 1984 and 2044: none between 1990 and 2040.
        QTest::newRow("甲子年") << QStringLiteral("甲子年") << GanzhiErrorKind::NoDate;
    }
    void refusals()
    {
        QFETCH(QString, text);
        QFETCH(GanzhiErrorKind, kind);
        GanzhiError e;
        const auto q = parseGanzhi(text.toStdU16String(), e);
        if (q)
            QVERIFY(findGanzhi(*q, DayBoundary::Midnight, 1990, 2040, {2026, 12, 7}, e).empty());
        QCOMPARE(e.kind, kind);
        QVERIFY(!ganzhiErrorText(e, 1900, 2100).empty());
    }

    void againstCalendar_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("zi23");
        QTest::newRow("卯月戊寅日") << QStringLiteral("卯月戊寅日") << false;
        QTest::newRow("戊寅日") << QStringLiteral("戊寅日") << false;
        QTest::newRow("丙寅月 甲子日") << QStringLiteral("丙寅月 甲子日") << false;
        QTest::newRow("乙卯日 庚辰时") << QStringLiteral("乙卯日 庚辰时") << false;
        QTest::newRow("戊寅日 甲子时 midnight") << QStringLiteral("戊寅日 甲子时") << false;
        QTest::newRow("戊寅日 壬子时 zi23") << QStringLiteral("戊寅日 壬子时") << true;
    }
    void againstCalendar()
    {
        QFETCH(QString, text);
        QFETCH(bool, zi23);
        const DayBoundary b = zi23 ? DayBoundary::Zi23 : DayBoundary::Midnight;
        GanzhiError e;
        const GanzhiQuery q = *parseGanzhi(text.toStdU16String(), e);
        const auto matches = findGanzhi(q, b, 1960, 2019, {1990, 1, 1}, e);
        QVERIFY(!matches.empty());
        const auto distance = [](const GanzhiMatch &m) { return std::llabs(minuteNumber(m.from) - 10519200); };
        for (std::size_t i = 0; i < matches.size(); ++i) { // nearest to 1990-01-01 (minute 10519200) first
            const GanzhiMatch &m = matches[i];
            QVERIFY(holds(q, pillarsOf(m.from, b)) && holds(q, pillarsOf(m.to, b)));
            QVERIFY(holds(q, pillarsOf(chartMomentOf(m, q), b)));
            QVERIFY(i == 0 || distance(m) >= distance(matches[i - 1]));
        }
        // Every whole hour of sixty years: one that carries the pillars lies in a listed stretch.
        std::vector<std::pair<std::int64_t, std::int64_t>> spans;
        for (const GanzhiMatch &m : matches)
            spans.emplace_back(minuteNumber(m.from), minuteNumber(m.to));
        std::ranges::sort(spans);
        std::size_t found = 0;
        for (std::int64_t t = minuteNumber({{1960, 1, 1}, 0, 30}); t < minuteNumber({{2020, 1, 1}, 0, 0}); t += 60) {
            if (!holds(q, pillarsOf(momentFromMinutes(t), b)))
                continue;
            const auto it = std::ranges::upper_bound(spans, std::pair{t, std::numeric_limits<std::int64_t>::max()});
            QVERIFY(it != spans.begin() && std::prev(it)->second >= t);
            ++found;
        }
        QVERIFY(found > 0);
    }
};

QTEST_GUILESS_MAIN(TestGanzhiEntry)
#include "tst_ganzhientry.moc"
