// The 应期 candidates of three dozen charts cast at moments spread over
// three years, each held to the rules: the branches each rule waits for by the
// clash and combination arithmetic and the tombs and stages written out again,
// each day's branch by the calendar's own day pillar, the window counted with
// QDate. And the hexagram groups the statistics count by.
#include "chart/casefacts.h"
#include "chart/chart.h"
#include "chart/yingqi.h"
#include "common/notation.h"
#include "qtcore/textconv.h"

#include <QDateTime>
#include <QTest>

using namespace lotgrid;
using namespace Qt::StringLiterals;

namespace {

Moment momentOf(const QDateTime &t)
{
    return {{t.date().year(), t.date().month(), t.date().day()}, t.time().hour(), t.time().minute()};
}

QDate qdate(const CivilDate &d)
{
    return {d.year, d.month, d.day};
}

QString key(YingqiRule rule, YingqiUnit unit, int branch)
{
    return qs(yingqiRuleName(rule)) + qs(yingqiUnitName(unit)) + qs(branchName(branchAt(branch)));
}

} // namespace

class TestYingqi : public QObject
{
    Q_OBJECT
private slots:
    void candidates_data()
    {
        QTest::addColumn<QString>("lines");
        QTest::addColumn<QDateTime>("moment");
        QTest::addColumn<bool>("zi23");
        QTest::addColumn<int>("category"); // 15: none, the world line
        const QStringList casts{u"798877"_s, u"777777"_s, u"696978"_s, u"886788"_s, u"987688"_s, u"778899"_s,
                                u"666777"_s, u"879787"_s, u"999888"_s, u"787878"_s, u"678967"_s, u"888889"_s};
        const QDateTime first(QDate(2026, 12, 7), QTime(8, 30));
        for (int i = 0; i < 36; ++i) {
            const QDateTime at = first.addSecs(i * qint64(31 * 86400 + 7 * 3600 + 17 * 60));
            QTest::addRow("%s %s", qPrintable(casts[i % 12]), qPrintable(at.toString(u"yyyy-MM-dd HH:mm"_s)))
                << casts[i % 12] << at << (i % 3 == 0) << i % 16;
        }
    }

    void candidates()
    {
        QFETCH(QString, lines);
        QFETCH(QDateTime, moment);
        QFETCH(bool, zi23);
        QFETCH(int, category);
        CastInput in = castOf(lines);
        in.moment = momentOf(moment);
        in.dayBoundary = zi23 ? DayBoundary::Zi23 : DayBoundary::Midnight;
        if (category < 15)
            in.category = static_cast<Category>(category);
        in.sex = Sex::Male;
        const Pillars p = *pillarsOf(*in.moment, in.dayBoundary);
        in.dayStem = p.day.stem();
        in.dayBuild = p.day.branch();
        in.monthBuild = p.month.branch();
        const Chart chart = chartOf(in);
        const std::vector<YingqiCandidate> list = yingqiOf(chart);

        // The line read: the use god, its hidden spirit, or the world line.
        const auto &g = chart.reading.useGod;
        const int pos = g ? g->position : chart.original->world;
        const ChartLine &l = chart.line(pos);
        const bool hidden = g && g->hidden;
        const int b = static_cast<int>(hidden ? l.hidden->branch : l.branch);
        const int day = static_cast<int>(p.day.branch()), month = static_cast<int>(p.month.branch());
        const bool moving = !hidden && l.cast.moving;
        const bool isVoid = hidden ? l.hiddenVoid : l.isVoid;
        const auto strong = timingLineOf(chart)->strong;
        const bool broken = (b - month + 12) % 12 == 6, clashed = (b - day + 12) % 12 == 6;
        bool held = (b + day) % 12 == 1 || (b + month) % 12 == 1
                    || (moving && (b + static_cast<int>(l.changedBranch)) % 12 == 1);
        const QString branches = u"子丑寅卯辰巳午未申酉戌亥"_s;
        const int element = static_cast<int>(branchElement(branchAt(b)));       // 金 木 水 火 土
        const int tombBranch = int(branches.indexOf(u"丑未辰戌辰"_s[element])); // 水土同宫
        bool entombed = tombBranch == day && b != tombBranch;
        for (int n = 1; n <= 6; ++n) {
            const ChartLine &o = chart.line(n);
            held = held || (n != pos && o.cast.moving && (b + static_cast<int>(o.branch)) % 12 == 1);
            entombed = entombed
                       || (b != tombBranch && (hidden || n != pos) && o.cast.moving
                           && static_cast<int>(o.branch) == tombBranch);
        }

        QStringList expected{key(YingqiRule::Value, YingqiUnit::Day, b), key(YingqiRule::Value, YingqiUnit::Day, b),
                             key(YingqiRule::Value, YingqiUnit::Month, b)};
        const auto twoDays = [&](YingqiRule r, int branch) {
            expected << key(r, YingqiUnit::Day, branch) << key(r, YingqiUnit::Day, branch);
        };
        if ((!moving && strong == true) || held)
            twoDays(YingqiRule::Clash, b + 6);
        if (moving || clashed || broken)
            twoDays(YingqiRule::Combine, 13 - b);
        if (isVoid) {
            expected << key(YingqiRule::LeaveVoid, YingqiUnit::Day, -1);
            twoDays(YingqiRule::FillVoid, b);
        }
        if (broken) {
            twoDays(YingqiRule::MendBreak, b);
            expected << key(YingqiRule::MendBreak, YingqiUnit::Month, b)
                     << key(YingqiRule::MendBreak, YingqiUnit::Month, month + 1);
        }
        if (entombed)
            twoDays(YingqiRule::ClashTomb, tombBranch + 6);
        if (strong == false) {
            // 长生 and 帝旺 of 金 木 水 火 土: 巳酉, 亥卯, 申子, 寅午, 申子.
            for (QChar c : u"巳酉亥卯申子寅午申子"_s.mid(2 * element, 2))
                twoDays(YingqiRule::BirthPeak, int(branches.indexOf(c)));
        }

        const QDate castDay = moment.date().addDays(zi23 && moment.time().hour() == 23 ? 1 : 0);
        QStringList got;
        QMap<QString, QDate> previous;
        for (std::size_t k = 0; k < list.size(); ++k) {
            const YingqiCandidate &c = list[k];
            const QDate date = qdate(c.date);
            QVERIFY(k == 0 || qdate(list[k - 1].date) <= date);
            QCOMPARE(c.position, pos);
            const Moment noon{c.date, 12, 0};
            if (c.unit == YingqiUnit::Day) {
                QCOMPARE(pillarsOf(noon, DayBoundary::Midnight)->day, c.pillar);
                // Each rule's days of one branch: the first within twelve days, the second twelve days on.
                const QString k2 = key(c.rule, c.unit, static_cast<int>(c.branch()));
                const qint64 offset = previous.contains(k2) ? previous[k2].daysTo(date) : castDay.daysTo(date);
                QVERIFY2(previous.contains(k2) ? offset == 12 : offset >= 1 && offset <= 12, qPrintable(k2));
                previous[k2] = date;
                if (c.rule == YingqiRule::LeaveVoid) {
                    QCOMPARE(c.pillar.stem(), 0);
                    QVERIFY(castDay.daysTo(date) <= 10);
                    got << key(c.rule, c.unit, -1);
                    continue;
                }
            } else {
                // A month opens on the day of its 节: the day before lies in the month before it.
                QCOMPARE(pillarsOf({c.date, 23, 59}, DayBoundary::Midnight)->month, c.pillar);
                QVERIFY(pillarsOf(momentOf(QDateTime(date.addDays(-1), QTime(0, 0))), DayBoundary::Midnight)->month
                        != c.pillar);
                QVERIFY(moment.date().daysTo(date) >= 0 && moment.date().daysTo(date) <= 366);
            }
            got << key(c.rule, c.unit, static_cast<int>(c.branch()));
        }
        got.sort();
        expected.sort();
        QCOMPARE(got, expected);
    }

    void withoutMoment()
    {
        CastInput in = castOf(u"798877"_s);
        in.monthBuild = Branch::Hai;
        QVERIFY(yingqiOf(chartOf(in)).empty());
        QVERIFY(!firstYingqi(chartOf(in)));
    }

    // 六冲 and 六合 hexagrams by their lists; a half that turns into the same branches (乾 to 震) is 伏吟.
    void hexagramGroups_data()
    {
        QTest::addColumn<QString>("lines");
        QTest::addColumn<QString>("group");
        QTest::newRow("乾为天") << u"777777"_s << u"六冲"_s;
        QTest::newRow("天雷无妄 moving") << u"988777"_s << u"六冲"_s;
        QTest::newRow("天地否") << u"888777"_s << u"六合"_s;
        QTest::newRow("风天小畜 lines 2 3 to 风雷益") << u"799877"_s << u"反吟/伏吟"_s;
        QTest::newRow("风天小畜 line 1 to 巽为风") << u"977877"_s << u"其他"_s;
    }

    void hexagramGroups()
    {
        QFETCH(QString, lines);
        QFETCH(QString, group);
        QCOMPARE(qs(hexagramGroupName(*hexagramGroupOf(chartOf(castOf(lines))))), group);
    }
};

QTEST_GUILESS_MAIN(TestYingqi)
#include "tst_yingqi.moc"
