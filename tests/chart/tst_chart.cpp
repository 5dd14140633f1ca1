// The Chart value of every hexagram, still and with each single moving line,
// held to the palace and najia rules (not to the constant table); the hidden
// spirits of every hexagram by the pure-hexagram rule; spirits and void days.
#include "chart/chart.h"
#include "chart/rules.h"
#include "qtcore/textconv.h"

#include <QTest>

using namespace lotgrid;
using namespace Qt::StringLiterals;

namespace {

CastInput castOf(std::u16string_view key, int moving)
{
    CastInput in;
    for (int n = 1; n <= 6; ++n)
        in.line(n) = {key[static_cast<std::size_t>(n - 1)], n == moving};
    return in;
}

struct ByRules {
    rules::PalacePlace place;
    std::array<Branch, 6> branches;
};

ByRules byRules(std::u16string_view key)
{
    const auto lower = *rules::trigramOf(key.substr(0, 3));
    const auto upper = *rules::trigramOf(key.substr(3, 3));
    ByRules r{*rules::palaceOf(key), {}};
    for (int n = 1; n <= 6; ++n)
        r.branches[static_cast<std::size_t>(n - 1)] = rules::najiaBranch(lower, upper, n);
    return r;
}

Role roleByRules(int world, int n)
{
    return n == world ? Role::World : n == rules::responseOf(world) ? Role::Response : Role::None;
}

} // namespace

class TestChart : public QObject
{
    Q_OBJECT
private slots:
    void everyHexagramAndMovingLine_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("moving"); // 0: no moving line
        for (const HexagramRow &row : HexagramTable)
            for (int moving = 0; moving <= 6; ++moving)
                QTest::newRow(qPrintable(qs(row.key) + u" moving "_s + QString::number(moving)))
                    << qs(row.key) << moving;
    }
    void everyHexagramAndMovingLine()
    {
        QFETCH(QString, key);
        QFETCH(int, moving);
        const std::u16string k(key.toStdU16String());
        std::u16string changedKey = k;
        if (moving)
            changedKey[static_cast<std::size_t>(moving - 1)]
                = k[static_cast<std::size_t>(moving - 1)] == u'1' ? u'0' : u'1';
        const Chart chart = chartOf(castOf(k, moving));
        QVERIFY(chart.original && chart.changed);
        QCOMPARE(qs(chart.original->key), key);
        QCOMPARE(qs(chart.changed->key), qs(changedKey));
        QCOMPARE(chart.hasMovingLine(), moving != 0);

        const ByRules original = byRules(k), changed = byRules(changedKey);
        const Element palace = palaceElement(original.place.palace);
        QCOMPARE(chart.palaceElement(), palace);
        for (int n = 1; n <= 6; ++n) {
            const ChartLine &line = chart.line(n);
            QCOMPARE(line.branch, original.branches[static_cast<std::size_t>(n - 1)]);
            QCOMPARE(line.element, branchElement(line.branch));
            QCOMPARE(line.relative, relativeByCycles(palace, line.element));
            QCOMPARE(line.role, roleByRules(original.place.world, n));
            QCOMPARE(line.changedBranch, changed.branches[static_cast<std::size_t>(n - 1)]);
            QCOMPARE(line.changedRelative, relativeByCycles(palace, branchElement(line.changedBranch)));
            QCOMPARE(line.changedRole, roleByRules(changed.place.world, n));
            QCOMPARE(line.cast.moving, n == moving);
        }
    }

    // A relative the six lines lack hides under every line of the palace's pure
    // hexagram (the trigram doubled) that carries it, at the same place.
    void hiddenSpiritsOfEveryHexagram_data()
    {
        QTest::addColumn<QString>("key");
        for (const HexagramRow &row : HexagramTable)
            QTest::newRow(qPrintable(qs(row.key))) << qs(row.key);
    }
    void hiddenSpiritsOfEveryHexagram()
    {
        QFETCH(QString, key);
        const std::u16string k(key.toStdU16String());
        const ByRules own = byRules(k);
        const Element palace = palaceElement(own.place.palace);
        const std::u16string_view trigram = rules::TrigramLines[static_cast<std::size_t>(own.place.palace)];
        const ByRules pure = byRules(std::u16string(trigram) + std::u16string(trigram));
        QSet<int> present;
        for (Branch b : own.branches)
            present << int(relativeByCycles(palace, branchElement(b)));

        const Chart chart = chartOf(castOf(k, 0));
        int hiddenCount = 0;
        for (int n = 1; n <= 6; ++n) {
            const Branch b = pure.branches[static_cast<std::size_t>(n - 1)];
            const Relative r = relativeByCycles(palace, branchElement(b));
            const auto &hidden = chart.line(n).hidden;
            if (present.contains(int(r))) {
                QVERIFY2(!hidden, qPrintable(u"line %1"_s.arg(n)));
            } else {
                QVERIFY(hidden);
                QCOMPARE(hidden->relative, r);
                QCOMPARE(hidden->branch, b);
                ++hiddenCount;
            }
        }
        // A hexagram that lacks a relative has at least one hidden spirit; a full one has none.
        QCOMPARE(hiddenCount > 0, present.size() < 5);
    }

    void workedHiddenSpirits_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("label");
        // 天风姤 (乾宫) lacks 妻财: 乾为天 carries it on line 2, 寅木.
        QTest::newRow("天风姤") << u"011111"_s << 2 << u"妻财寅木"_s;
        // 地火明夷 (坎宫) lacks 妻财: 坎为水 carries it on line 3, 午火.
        QTest::newRow("地火明夷") << u"101000"_s << 3 << u"妻财午火"_s;
        // 山地剥 (乾宫) lacks 兄弟: 乾为天 line 5, 申金.
        QTest::newRow("山地剥") << u"000001"_s << 5 << u"兄弟申金"_s;
    }
    void workedHiddenSpirits()
    {
        QFETCH(QString, key);
        QFETCH(int, line);
        QFETCH(QString, label);
        const Chart chart = chartOf(castOf(key.toStdU16String(), 0));
        const auto &hidden = chart.line(line).hidden;
        QVERIFY(hidden);
        QCOMPARE(qs(relativeLabel(hidden->relative, hidden->branch)), label);
    }

    void incompleteLinesHaveNoHexagram()
    {
        CastInput in = castOf(u"111111", 0);
        in.line(6).value = 0;
        const Chart chart = chartOf(in);
        QVERIFY(!chart.original && !chart.changed);
        for (const ChartLine &line : chart.lines)
            QVERIFY(!line.hidden);
    }

    // The spirits of lines 1..6 for each day stem: 甲乙 青龙, 丙丁 朱雀, 戊 勾陈, 己 腾蛇,
    // 庚辛 白虎, 壬癸 玄武 on line 1, then on up the cycle.
    void spiritColumns_data()
    {
        QTest::addColumn<int>("stem");
        QTest::addColumn<QString>("column"); // lines 1..6
        QTest::newRow("甲") << 0 << u"青龙朱雀勾陈腾蛇白虎玄武"_s;
        QTest::newRow("乙") << 1 << u"青龙朱雀勾陈腾蛇白虎玄武"_s;
        QTest::newRow("丙") << 2 << u"朱雀勾陈腾蛇白虎玄武青龙"_s;
        QTest::newRow("丁") << 3 << u"朱雀勾陈腾蛇白虎玄武青龙"_s;
        QTest::newRow("戊") << 4 << u"勾陈腾蛇白虎玄武青龙朱雀"_s;
        QTest::newRow("己") << 5 << u"腾蛇白虎玄武青龙朱雀勾陈"_s;
        QTest::newRow("庚") << 6 << u"白虎玄武青龙朱雀勾陈腾蛇"_s;
        QTest::newRow("辛") << 7 << u"白虎玄武青龙朱雀勾陈腾蛇"_s;
        QTest::newRow("壬") << 8 << u"玄武青龙朱雀勾陈腾蛇白虎"_s;
        QTest::newRow("癸") << 9 << u"玄武青龙朱雀勾陈腾蛇白虎"_s;
    }
    void spiritColumns()
    {
        QFETCH(int, stem);
        QFETCH(QString, column);
        CastInput in = castOf(u"111111", 0);
        in.dayStem = stem;
        const Chart chart = chartOf(in);
        QString shown;
        for (int n = 1; n <= 6; ++n)
            shown += qs(chart.line(n).spirit);
        QCOMPARE(shown, column);
    }

    // A day stem and a day build of the same parity name a day of the cycle and its two void branches.
    void spiritsAndVoids_data()
    {
        QTest::addColumn<int>("stem");
        QTest::addColumn<int>("branch");
        QTest::addColumn<QString>("spirit1");
        QTest::addColumn<QString>("voids"); // empty: not a day of the cycle
        QTest::newRow("甲子") << 0 << 0 << u"青龙"_s << u"戌亥"_s;
        QTest::newRow("乙丑") << 1 << 1 << u"青龙"_s << u"戌亥"_s;
        QTest::newRow("庚辰") << 6 << 4 << u"白虎"_s << u"申酉"_s;
        QTest::newRow("戊午") << 4 << 6 << u"勾陈"_s << u"子丑"_s;
        QTest::newRow("己巳") << 5 << 5 << u"腾蛇"_s << u"戌亥"_s;
        QTest::newRow("癸亥") << 9 << 11 << u"玄武"_s << u"子丑"_s;
        QTest::newRow("甲丑 is no day") << 0 << 1 << u"青龙"_s << QString();
    }
    void spiritsAndVoids()
    {
        QFETCH(int, stem);
        QFETCH(int, branch);
        QFETCH(QString, spirit1);
        QFETCH(QString, voids);
        CastInput in = castOf(u"111111", 0);
        in.dayStem = stem;
        in.dayBuild = static_cast<Branch>(branch);
        const Chart chart = chartOf(in);
        QCOMPARE(qs(chart.line(1).spirit), spirit1);
        QCOMPARE(chart.voids.has_value(), !voids.isEmpty());
        if (!chart.voids)
            return;
        QCOMPARE(qs(branchName((*chart.voids)[0])) + qs(branchName((*chart.voids)[1])), voids);
        // 乾为天 carries 子寅辰午申戌: void lines are those whose branch is one of the two.
        for (int n = 1; n <= 6; ++n)
            QCOMPARE(chart.line(n).isVoid, voids.contains(qs(branchName(chart.line(n).branch))));
    }
};

QTEST_MAIN(TestChart)
#include "tst_chart.moc"
