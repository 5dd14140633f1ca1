// The rules of the hand casts against the counts they come from: three coins
// summed as 3 and 2, the hexagram names of the Earlier Heaven trigram numbers,
// the two time casts of the plum-blossom tradition worked by hand, and the
// zero rules of number casting. Lunar dates below were read from the almanac
// (新月 in China Standard Time) and are not taken from the program.
#include "chart/castingrules.h"
#include "chart/hexagrams.h"
#include "qtcore/textconv.h"

#include <QTest>

using namespace lotgrid;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(lotgrid::Moment)
Q_DECLARE_METATYPE(lotgrid::TimeNumbers)
Q_DECLARE_METATYPE(lotgrid::PlumCast)
Q_DECLARE_METATYPE(lotgrid::YearTurn)

namespace {

// Images of the trigrams by number: 乾天1 兑泽2 离火3 震雷4 巽风5 坎水6 艮山7 坤地8.
constexpr std::u16string_view Images = u"天泽火雷风水山地";

QString keyOf(const CastLines &lines, bool changed = false)
{
    QString key;
    for (const CastLine &l : lines)
        key += QChar(changed ? changedValue(l.value, l.moving) : l.value);
    return key;
}

QString hexagramName(const QString &key)
{
    const HexagramRow *row = FindHexagramByKey(u16(key));
    return row ? qs(row->text).section(u' ', 0, 0) : QString();
}

Moment at(int y, int m, int d, int hour, int minute = 0)
{
    return Moment{{y, m, d}, hour, minute};
}

} // namespace

class TestCastingRules : public QObject
{
    Q_OBJECT
private slots:
    // Every face pattern of three coins, under both labellings. Expected values
    // come from the sum: the counting face 3, the other 2; 6 老阴, 7 少阳, 8 少阴, 9 老阳.
    void coinPatterns_data()
    {
        QTest::addColumn<int>("backs");
        QTest::addColumn<bool>("swapped");
        QTest::addColumn<int>("sum");
        for (int swapped = 0; swapped < 2; ++swapped)
            for (int pattern = 0; pattern < 8; ++pattern) {
                QString faces;
                int backs = 0, sum = 0;
                for (int coin = 0; coin < 3; ++coin) {
                    const bool back = pattern >> coin & 1;
                    faces += back ? u'背' : u'字';
                    backs += back;
                    sum += back != bool(swapped) ? 3 : 2;
                }
                QTest::addRow("%s %s", qPrintable(faces), swapped ? "字 counts 3" : "背 counts 3")
                    << backs << bool(swapped) << sum;
            }
    }
    void coinPatterns()
    {
        QFETCH(int, backs);
        QFETCH(bool, swapped);
        QFETCH(int, sum);
        const auto line = coinLine(backs, swapped);
        QVERIFY(line);
        QCOMPARE(line->value, sum % 2 ? u'1' : u'0'); // odd sums are yang
        QCOMPARE(line->moving, sum == 6 || sum == 9);
    }

    void coinCountsOutOfRange()
    {
        for (int backs : {-1, 4, 100})
            for (bool swapped : {false, true})
                QVERIFY(!coinLine(backs, swapped));
        QVERIFY(!coinCast({1, 2, 3, 0, 1, 4}));
        QVERIFY(!coinCast({-1, 2, 3, 0, 1, 2}));
    }

    // All 64 hexagrams from six tosses: young lines (1 背 yang, 2 背 yin) give
    // the hexagram itself with no moving line; old lines (3 背, 0 背) give it with
    // every line moving, so that it changes into its opposite. Line 1 is the first toss.
    void coinCastsAllHexagrams()
    {
        for (const HexagramRow &row : HexagramTable) {
            const QString key = qs(row.key);
            std::array<int, 6> young{}, old{}, swappedOld{};
            QString opposite;
            for (int i = 0; i < 6; ++i) {
                const bool yang = key[i] == u'1';
                young[i] = yang ? 1 : 2;
                old[i] = yang ? 3 : 0;
                swappedOld[i] = yang ? 0 : 3;
                opposite += yang ? u'0' : u'1';
            }
            const auto y = coinCast(young);
            QVERIFY(y);
            QCOMPARE(keyOf(*y), key);
            QCOMPARE(keyOf(*y, true), key);
            const auto o = coinCast(old);
            QVERIFY(o);
            QCOMPARE(keyOf(*o), key);
            QCOMPARE(keyOf(*o, true), opposite);
            const auto s = coinCast(swappedOld, true);
            QVERIFY(s);
            QCOMPARE(*s, *o);
        }
    }

    // The hexagram of every pair of trigram numbers is named by the images of
    // upper and lower ("泽火革": 兑2 over 离3), or "乾为天" for a doubled trigram.
    void trigramNumbersNameTheHexagram()
    {
        for (int upper = 1; upper <= 8; ++upper)
            for (int lower = 1; lower <= 8; ++lower) {
                const auto lines = linesOf(PlumCast{upper, lower, 1});
                QVERIFY(lines);
                const QString name = hexagramName(keyOf(*lines));
                const QString image = QString(QChar(Images[upper - 1]));
                if (upper == lower)
                    QCOMPARE(name.section(u'为', 1), image);
                else
                    QVERIFY2(name.startsWith(image + QChar(Images[lower - 1])),
                             qPrintable(u"%1 %2: %3"_s.arg(upper).arg(lower).arg(name)));
            }
    }

    void movingLineIsTheOneTicked()
    {
        for (int moving = 1; moving <= 6; ++moving) {
            const auto lines = linesOf(PlumCast{2, 3, moving});
            QVERIFY(lines);
            for (int n = 1; n <= 6; ++n)
                QCOMPARE((*lines)[n - 1].moving, n == moving);
        }
        QVERIFY(!linesOf(PlumCast{0, 3, 1}));
        QVERIFY(!linesOf(PlumCast{2, 9, 1}));
        QVERIFY(!linesOf(PlumCast{2, 3, 7}));
        QVERIFY(!linesOf(PlumCast{2, 3, 0}));
    }

    void hourNumbers_data()
    {
        QTest::addColumn<int>("hour");
        QTest::addColumn<int>("number");
        const QList<QPair<int, int>> rows{{23, 1}, {0, 1},  {1, 2},  {2, 2},  {3, 3},  {5, 4},   {6, 4},   {7, 5},
                                          {10, 6}, {11, 7}, {12, 7}, {15, 9}, {16, 9}, {17, 10}, {21, 12}, {22, 12}};
        for (const auto &[hour, number] : rows)
            QTest::addRow("%02d:00", hour) << hour << number;
    }
    void hourNumbers()
    {
        QFETCH(int, hour);
        QFETCH(int, number);
        QCOMPARE(hourNumber(hour), std::optional<int>(number));
    }

    void timeCasts_data()
    {
        QTest::addColumn<Moment>("moment");
        QTest::addColumn<YearTurn>("turn");
        QTest::addColumn<bool>("dayTurnsAt23");
        QTest::addColumn<TimeNumbers>("numbers");
        QTest::addColumn<PlumCast>("cast");
        QTest::addColumn<QString>("hexagrams"); // original → changed, "" to skip

        const auto both = [](const char *name, Moment m, TimeNumbers n, PlumCast c, const QString &hexagrams) {
            for (YearTurn turn : {YearTurn::LunarNewYear, YearTurn::Lichun})
                QTest::addRow("%s, year at %s", name, turn == YearTurn::Lichun ? "立春" : "new year")
                    << m << turn << false << n << c << hexagrams;
        };
        // 观梅占: 辰年十二月十七日申时. Y 辰 5, M 12, D 17: 34 = 4×8 + 2 → 兑 above;
        // + H 申 9 = 43 = 5×8 + 3 → 离 below; 43 = 7×6 + 1 → line 1 moves.
        // 泽火革 changing into 泽山咸, as the story tells. Lunar 壬辰 12-17 is 2013-01-28,
        // before 立春 (4 February), so both year options agree.
        both("观梅占 2013-01-28 16:00", at(2013, 1, 28, 16), {5, 12, 17, 9}, {2, 3, 1}, u"泽火革 泽山咸"_s);
        // 牡丹占: 巳年三月十六日卯时. Y 巳 6, M 3, D 16: 25 = 3×8 + 1 → 乾 above;
        // + H 卯 4 = 29 = 3×8 + 5 → 巽 below; 29 = 4×6 + 5 → line 5 moves.
        // 天风姤 changing into 火风鼎. Lunar 癸巳 3-16 is 2013-04-25.
        both("牡丹占 2013-04-25 06:00", at(2013, 4, 25, 6), {6, 3, 16, 4}, {1, 5, 5}, u"天风姤 火风鼎"_s);

        // Leap months count as their month: 闰四月初一 of 庚子 2020 is 2020-05-23, 四月初一 2020-04-23.
        // Y 子 1 + M 4 + D 1 = 6 → 坎; + H 巳 6 = 12 → 4 震; 12 mod 6 = 0 → line 6.
        both("闰四月 2020-05-23 10:00", at(2020, 5, 23, 10), {1, 4, 1, 6}, {6, 4, 6}, u"水雷屯 风雷益"_s);
        both("四月 2020-04-23 10:00", at(2020, 4, 23, 10), {1, 4, 1, 6}, {6, 4, 6}, u"水雷屯 风雷益"_s);
        // 闰二月初一 of 癸卯 2023 is 2023-03-22: Y 卯 4 + 2 + 1 = 7 → 艮; + 子 1 = 8 → 坤; 8 mod 6 = 2.
        both("闰二月 2023-03-22 00:30", at(2023, 3, 22, 0, 30), {4, 2, 1, 1}, {7, 8, 2}, u"山地剥 山水蒙"_s);
        // 闰六月初一 of 丁酉 2017 is 2017-07-23: Y 酉 10 + 6 + 1 = 17 → 1 乾; + 午 7 = 24 → 8 坤; 0 → 6.
        both("闰六月 2017-07-23 12:00", at(2017, 7, 23, 12), {10, 6, 1, 7}, {1, 8, 6}, u"天地否 泽地萃"_s);

        // 23:00 on 2013-01-28 (lunar 12-17): without 子初换日 the day stays 17,
        // Y 5 + 12 + 17 = 34 → 兑; + 子 1 = 35 → 3 离; 35 mod 6 = 5.
        QTest::newRow("23:30 day kept") << at(2013, 1, 28, 23, 30) << YearTurn::LunarNewYear << false
                                        << TimeNumbers{5, 12, 17, 1} << PlumCast{2, 3, 5} << u"泽火革 雷火丰"_s;
        // With 子初换日 the day is already the 18th: 35 → 3 离; + 子 1 = 36 → 4 震; 36 mod 6 = 0 → 6.
        QTest::newRow("23:30 day turned") << at(2013, 1, 28, 23, 30) << YearTurn::LunarNewYear << true
                                          << TimeNumbers{5, 12, 18, 1} << PlumCast{3, 4, 6} << u"火雷噬嗑 震为雷"_s;
        QTest::newRow("22:59 day turned") << at(2013, 1, 28, 22, 59) << YearTurn::LunarNewYear << true
                                          << TimeNumbers{5, 12, 17, 12} << PlumCast{2, 6, 4} << QString();
        QTest::newRow("00:30 next day") << at(2013, 1, 29, 0, 30) << YearTurn::LunarNewYear << false
                                        << TimeNumbers{5, 12, 18, 1} << PlumCast{3, 4, 6} << QString();
        // 子初换日 on New Year's Eve (2019-02-04, lunar 戊戌 12-30) turns the year too.
        QTest::newRow("除夕 23:30 day kept") << at(2019, 2, 4, 23, 30) << YearTurn::LunarNewYear << false
                                             << TimeNumbers{11, 12, 30, 1} << PlumCast{5, 6, 6} << QString();
        QTest::newRow("除夕 23:30 day turned") << at(2019, 2, 4, 23, 30) << YearTurn::LunarNewYear << true
                                               << TimeNumbers{12, 1, 1, 1} << PlumCast{6, 7, 3} << QString();

        // 立春 2019 fell on 4 February, the lunar new year on the 5th. On the 4th
        // (lunar 戊戌 12-30) the year is 戌 11 by the lunar year and 亥 12 by 立春:
        // 11 + 12 + 30 = 53 → 5 巽, + 午 7 = 60 → 4 震, 0 → 6;  12 + 12 + 30 = 54 → 6 坎, 61 → 5 巽, 1.
        QTest::newRow("2019-02-04 12:00 new year") << at(2019, 2, 4, 12) << YearTurn::LunarNewYear << false
                                                   << TimeNumbers{11, 12, 30, 7} << PlumCast{5, 4, 6} << QString();
        QTest::newRow("2019-02-04 12:00 立春") << at(2019, 2, 4, 12) << YearTurn::Lichun << false
                                               << TimeNumbers{12, 12, 30, 7} << PlumCast{6, 5, 1} << QString();
        QTest::newRow("2019-02-03 12:00 立春") << at(2019, 2, 3, 12) << YearTurn::Lichun << false
                                               << TimeNumbers{11, 12, 29, 7} << PlumCast{4, 3, 5} << QString();
        QTest::newRow("2019-02-05 00:10 new year") << at(2019, 2, 5, 0, 10) << YearTurn::LunarNewYear << false
                                                   << TimeNumbers{12, 1, 1, 1} << PlumCast{6, 7, 3} << QString();
        // 2020: the new year (25 January) came before 立春 (4 February). On 30
        // January (lunar 庚子 1-6) the year is 子 1, or still 亥 12 by 立春.
        QTest::newRow("2020-01-30 12:00 new year") << at(2020, 1, 30, 12) << YearTurn::LunarNewYear << false
                                                   << TimeNumbers{1, 1, 6, 7} << PlumCast{8, 7, 3} << QString();
        QTest::newRow("2020-01-30 12:00 立春") << at(2020, 1, 30, 12) << YearTurn::Lichun << false
                                               << TimeNumbers{12, 1, 6, 7} << PlumCast{3, 2, 2} << QString();
        // 立春 2020 fell at 17:03 China time: at noon the year is still 亥 12,
        // from 17:03 it is 子 1 (18:00 is the 酉 hour, 10).
        QTest::newRow("2020-02-04 12:00 before 立春") << at(2020, 2, 4, 12) << YearTurn::Lichun << false
                                                      << TimeNumbers{12, 1, 11, 7} << PlumCast{8, 7, 1} << QString();
        QTest::newRow("2020-02-04 18:00 after 立春") << at(2020, 2, 4, 18) << YearTurn::Lichun << false
                                                     << TimeNumbers{1, 1, 11, 10} << PlumCast{5, 7, 5} << QString();
    }
    void timeCasts()
    {
        QFETCH(Moment, moment);
        QFETCH(YearTurn, turn);
        QFETCH(bool, dayTurnsAt23);
        QFETCH(TimeNumbers, numbers);
        QFETCH(PlumCast, cast);
        QFETCH(QString, hexagrams);

        const auto n = timeNumbers(moment, turn, dayTurnsAt23);
        QVERIFY(n);
        QCOMPARE(n->year, numbers.year);
        QCOMPARE(n->month, numbers.month);
        QCOMPARE(n->day, numbers.day);
        QCOMPARE(n->hour, numbers.hour);
        const PlumCast c = timeCast(*n);
        QCOMPARE(c.upper, cast.upper);
        QCOMPARE(c.lower, cast.lower);
        QCOMPARE(c.moving, cast.moving);
        if (!hexagrams.isEmpty()) {
            const auto lines = linesOf(c);
            QVERIFY(lines);
            QCOMPARE(hexagramName(keyOf(*lines)) + u' ' + hexagramName(keyOf(*lines, true)), hexagrams);
        }
    }

    void timeCastsOutsideTheCalendar()
    {
        QVERIFY(!timeNumbers(at(1900, 1, 30, 12), YearTurn::LunarNewYear, false));
        QVERIFY(timeNumbers(at(1900, 1, 31, 0), YearTurn::LunarNewYear, false));
        QVERIFY(timeNumbers(at(1900, 1, 31, 0), YearTurn::Lichun, false));
        QVERIFY(timeNumbers(at(2100, 12, 31, 23, 30), YearTurn::LunarNewYear, false));
        QVERIFY(!timeNumbers(at(2100, 12, 31, 23, 30), YearTurn::LunarNewYear, true));
        QVERIFY(!timeNumbers(at(2101, 1, 1, 0), YearTurn::Lichun, false));
        QVERIFY(!timeNumbers(at(2014, 2, 30, 12), YearTurn::LunarNewYear, false));
        QVERIFY(!timeNumbers(at(2014, 2, 3, 24), YearTurn::LunarNewYear, false));
        QVERIFY(!timeNumbers(at(2014, 2, 3, -1), YearTurn::Lichun, true));
    }

    void numberCasts_data()
    {
        QTest::addColumn<qint64>("first");
        QTest::addColumn<qint64>("second");
        QTest::addColumn<int>("hour"); // 0: not added
        QTest::addColumn<PlumCast>("cast");
        // Remainders of 0 count as 8 for a trigram and 6 for the moving line.
        QTest::newRow("8 16") << qint64(8) << qint64(16) << 0 << PlumCast{8, 8, 6};
        QTest::newRow("1 5") << qint64(1) << qint64(5) << 0 << PlumCast{1, 5, 6};
        QTest::newRow("9 17") << qint64(9) << qint64(17) << 0 << PlumCast{1, 1, 2};
        QTest::newRow("1 1") << qint64(1) << qint64(1) << 0 << PlumCast{1, 1, 2};
        QTest::newRow("7 6") << qint64(7) << qint64(6) << 0 << PlumCast{7, 6, 1};
        // 99,999,999 = 12,499,999 × 8 + 7; twice it, 199,999,998 = 33,333,333 × 6.
        QTest::newRow("99999999 99999999") << qint64(99'999'999) << qint64(99'999'999) << 0 << PlumCast{7, 7, 6};
        QTest::newRow("99999999 1") << qint64(99'999'999) << qint64(1) << 0 << PlumCast{7, 1, 4};
        // The hour joins only the moving-line sum: 8 + 16 + 子 1 = 25 → 1; 1 + 4 + 1 = 6 → 6.
        QTest::newRow("8 16 子时") << qint64(8) << qint64(16) << 1 << PlumCast{8, 8, 1};
        QTest::newRow("1 4 子时") << qint64(1) << qint64(4) << 1 << PlumCast{1, 4, 6};
        QTest::newRow("3 5 亥时") << qint64(3) << qint64(5) << 12 << PlumCast{3, 5, 2};
    }
    void numberCasts()
    {
        QFETCH(qint64, first);
        QFETCH(qint64, second);
        QFETCH(int, hour);
        QFETCH(PlumCast, cast);
        const auto c = numberCast(first, second, hour ? std::optional<int>(hour) : std::nullopt);
        QVERIFY(c);
        QCOMPARE(c->upper, cast.upper);
        QCOMPARE(c->lower, cast.lower);
        QCOMPARE(c->moving, cast.moving);
    }

    void numbersOutOfRange()
    {
        for (qint64 bad : {qint64(0), qint64(-1), qint64(100'000'000), qint64(-99'999'999)}) {
            QVERIFY(!numberCast(bad, 5));
            QVERIFY(!numberCast(5, bad));
        }
        QVERIFY(!numberCast(5, 5, 0));
        QVERIFY(!numberCast(5, 5, 13));
    }
};

QTEST_GUILESS_MAIN(TestCastingRules)
#include "tst_castingrules.moc"
