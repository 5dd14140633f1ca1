// The draws of an automatic cast: the bit of a uniform value, the patterns
// and the moving line they choose, the odds over every bit combination, and
// the statistics of the real seeded generator over many casts.
#include "chart/castdraw.h"
#include "chart/randomsource.h"

#include <QTest>

#include <cmath>
#include <limits>

using namespace lotgrid;
using namespace Qt::StringLiterals;

namespace {

// "0 1 1 0 1 0, 0 1 0 0 0 0, 1 0 1 1 1 0" -> d1..d18.
CastBits bitsFrom(const QString &text)
{
    CastBits bits{};
    int i = 0;
    for (QChar c : text)
        if ((c == u'0' || c == u'1') && i < CastBitCount)
            bits[i++] = c == u'1';
    Q_ASSERT(i == CastBitCount);
    return bits;
}

QStringList listOf(const Six<std::u16string> &six)
{
    QStringList list;
    for (const std::u16string &pattern : six)
        list << QString::fromStdU16String(pattern);
    return list;
}

// The share of casts with a moving line, from the pattern table: only the 14
// bits d1..d8 and d13..d18 enter a pattern, and of their 2^14 = 16384
// combinations 11098 give some line "1111" or "0000". Line 1 alone moves in
// a quarter of the casts (d1 = d13 = d7), and the lines above add 3/32, 21/256,
// 75/1024, 145/2048 and 881/8192: together 5549/8192 = 0.67737.
constexpr double MovingShare = 5549.0 / 8192.0;
constexpr double LineShares[6] = {2048.0 / 8192, 768.0 / 8192, 672.0 / 8192, 600.0 / 8192, 580.0 / 8192, 881.0 / 8192};

} // namespace

class TestCastDraw : public QObject
{
    Q_OBJECT
private slots:
    void castBit_data()
    {
        QTest::addColumn<double>("r");
        QTest::addColumn<int>("bit");
        QTest::newRow("0") << 0.0 << 0;
        QTest::newRow("0.25") << 0.25 << 0;
        QTest::newRow("just below 0.5") << std::nextafter(0.5, 0.0) << 0;
        QTest::newRow("0.5") << 0.5 << 1;
        QTest::newRow("0.75") << 0.75 << 1;
        QTest::newRow("just below 1") << std::nextafter(1.0, 0.0) << 1;
        // A source that misbehaves still gives a bit.
        QTest::newRow("-0.5") << -0.5 << 0;
        QTest::newRow("1") << 1.0 << 1;
        QTest::newRow("7") << 7.0 << 1;
        QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN() << 0;
    }
    void castBit()
    {
        QFETCH(double, r);
        QFETCH(int, bit);
        QCOMPARE(lotgrid::castBit(r), bit);
    }

    void drawsEighteenInOrder()
    {
        int calls = 0;
        // d_k is drawn k-th: make every third draw 1.
        const CastBits bits = drawCastBits([&calls] { return ++calls % 3 == 0 ? 0.9 : 0.1; });
        QCOMPARE(calls, CastBitCount);
        for (int k = 1; k <= CastBitCount; ++k)
            QCOMPARE(bits[k - 1], k % 3 == 0 ? 1 : 0);
    }

    void patterns_data()
    {
        QTest::addColumn<QString>("bits");
        QTest::addColumn<QStringList>("patterns");
        QTest::addColumn<int>("line"); // 0: no moving line
        QTest::addColumn<bool>("oldYang");
        QTest::newRow("011010 010000 101110: line 5 moving as old yang")
            << u"011010 010000 101110"_s
            << QStringList{u"0100"_s, u"1010"_s, u"1101"_s, u"0111"_s, u"1111"_s, u"0000"_s} << 5 << true;
        QTest::newRow("all ones: line 1 first although every pattern is 1111")
            << u"111111 111111 111111"_s
            << QStringList{u"1111"_s, u"1111"_s, u"1111"_s, u"1111"_s, u"1111"_s, u"1111"_s} << 1 << true;
        QTest::newRow("all zeros: line 1 old yin")
            << u"000000 000000 000000"_s
            << QStringList{u"0000"_s, u"0000"_s, u"0000"_s, u"0000"_s, u"0000"_s, u"0000"_s} << 1 << false;
        QTest::newRow("d1 d7 d13 set, the rest clear")
            << u"100000 100000 100000"_s
            << QStringList{u"1111"_s, u"0001"_s, u"0010"_s, u"0000"_s, u"0001"_s, u"0010"_s} << 1 << true;
        QTest::newRow("001100 110011 100010, no moving line")
            << u"001100 110011 100010"_s
            << QStringList{u"0110"_s, u"0011"_s, u"1010"_s, u"1010"_s, u"0111"_s, u"0010"_s} << 0 << false;
        QTest::newRow("101101 000110 001110, line 2 old yin")
            << u"101101 000110 001110"_s
            << QStringList{u"1001"_s, u"0000"_s, u"1100"_s, u"1101"_s, u"0100"_s, u"1001"_s} << 2 << false;
        QTest::newRow("011011 101011 010001, line 4 old yin below a 1111 on line 6")
            << u"011011 101011 010001"_s
            << QStringList{u"0010"_s, u"1101"_s, u"1011"_s, u"0000"_s, u"1000"_s, u"1111"_s} << 4 << false;
        QTest::newRow("000101 100100 001011, line 6 old yang")
            << u"000101 100100 001011"_s
            << QStringList{u"0010"_s, u"0001"_s, u"0110"_s, u"1001"_s, u"0100"_s, u"1111"_s} << 6 << true;
        // d9..d12 enter no pattern.
        QTest::newRow("011010 011111 101110, the example with d9..d12 set")
            << u"011010 011111 101110"_s
            << QStringList{u"0100"_s, u"1010"_s, u"1101"_s, u"0111"_s, u"1111"_s, u"0000"_s} << 5 << true;
    }
    void patterns()
    {
        QFETCH(QString, bits);
        QFETCH(QStringList, patterns);
        QFETCH(int, line);
        QFETCH(bool, oldYang);
        const Six<std::u16string> got = castPatterns(bitsFrom(bits));
        QCOMPARE(listOf(got), patterns);
        const auto moving = findMovingLine(got);
        QCOMPARE(moving.has_value(), line != 0);
        if (moving) {
            QCOMPARE(moving->line, line);
            QCOMPARE(moving->oldYang, oldYang);
        }
    }

    // Every one of the 2^18 draws, weighed equally, against the odds stated above.
    void oddsOverEveryDraw()
    {
        std::array<int, 7> byLine{}; // [0]: no moving line
        std::array<int, 6> ones{};
        for (int combo = 0; combo < (1 << CastBitCount); ++combo) {
            CastBits bits{};
            for (int k = 0; k < CastBitCount; ++k)
                bits[k] = (combo >> k) & 1;
            const Six<std::u16string> patterns = castPatterns(bits);
            for (int n = 1; n <= 6; ++n)
                ones[n - 1] += patterns(n).front() == u'1';
            const auto moving = findMovingLine(patterns);
            ++byLine[moving ? moving->line : 0];
            if (moving) // the ticked box is always the one the line's value enables
                QCOMPARE(moving->oldYang, bits[moving->line - 1] == 1);
        }
        const double total = 1 << CastBitCount;
        QCOMPARE(1.0 - byLine[0] / total, MovingShare);
        for (int n = 1; n <= 6; ++n) {
            QCOMPARE(byLine[n] / total, LineShares[n - 1]);
            QCOMPARE(ones[n - 1] / total, 0.5);
        }
    }

    // The real generator, seeded afresh for every cast as a cast does. With
    // 20000 casts the standard error of a share is below 0.0035; the bounds
    // allow more than five of them.
    void realGeneratorStatistics()
    {
        constexpr int Casts = 20000;
        constexpr double Tolerance = 0.02;
        std::array<int, 6> ones{};
        std::array<int, 7> byLine{};
        for (int c = 0; c < Casts; ++c) {
            const std::function<double()> uniform = newSeededUniformSource();
            const Six<std::u16string> patterns = castPatterns(drawCastBits(uniform));
            for (int n = 1; n <= 6; ++n)
                ones[n - 1] += patterns(n).front() == u'1';
            const auto moving = findMovingLine(patterns);
            ++byLine[moving ? moving->line : 0];
        }
        for (int n = 1; n <= 6; ++n) {
            const double share = double(ones[n - 1]) / Casts;
            QVERIFY2(std::abs(share - 0.5) < Tolerance,
                     qPrintable(u"line %1 is yang in %2 of the casts"_s.arg(n).arg(share)));
        }
        const double moving = 1.0 - double(byLine[0]) / Casts;
        QVERIFY2(std::abs(moving - MovingShare) < Tolerance,
                 qPrintable(u"a moving line in %1 of the casts, expected %2"_s.arg(moving).arg(MovingShare)));
        const double first = double(byLine[1]) / Casts;
        QVERIFY2(std::abs(first - LineShares[0]) < Tolerance, qPrintable(u"line 1 moves in %1"_s.arg(first)));
    }

    void realGeneratorStaysInRange()
    {
        const std::function<double()> uniform = newSeededUniformSource();
        for (int i = 0; i < 100000; ++i) {
            const double r = uniform();
            QVERIFY(r >= 0.0 && r < 1.0);
        }
    }

    // Two casts in the same second must not repeat.
    void sourcesMadeAtOnceDiffer()
    {
        const std::function<double()> a = newSeededUniformSource();
        const std::function<double()> b = newSeededUniformSource();
        QList<double> first, second;
        for (int i = 0; i < 8; ++i) {
            first << a();
            second << b();
        }
        QVERIFY(first != second);
    }
};

QTEST_GUILESS_MAIN(TestCastDraw)
#include "tst_castdraw.moc"
