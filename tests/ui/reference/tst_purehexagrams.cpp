// The pure-hexagram table of the hidden-spirit query, held to the hexagram
// table: each palace's pure hexagram is its doubled trigram, and the line
// texts are that hexagram's relative + branch + element labels.

#include "chart/hexagrams.h"
#include "chart/purehexagrams.h"
#include "widgets/textconv.h"

#include <QTest>

using namespace lotgrid;
using namespace Qt::StringLiterals;

class TestPureHexagrams : public QObject
{
    Q_OBJECT
private slots:
    void rowsAreTheDoubledTrigrams();
    void everyLabelFindsItsPalace();
};

void TestPureHexagrams::rowsAreTheDoubledTrigrams()
{
    const std::u16string_view order = u"乾坤兑巽坎艮震离"; // the order the query compares the keys in
    for (std::size_t i = 0; i < PureHexagramTable.size(); ++i) {
        const PureHexagramRow &pure = PureHexagramTable[i];
        QCOMPARE(qs(pure.palace), qs(order.substr(i, 1)) + u"宫"_s);
        const auto doubled = std::ranges::find_if(HexagramTable, [&](const HexagramRow &r) {
            return r.key.substr(0, 3) == r.key.substr(3) && qs(r.text).endsWith(qs(pure.palace));
        });
        QVERIFY2(doubled != HexagramTable.end(), qPrintable(qs(pure.palace)));
        QCOMPARE(qs(doubled->text), qs(pure.name) + u' ' + qs(pure.palace));
        for (int line = 1; line <= 6; ++line)
            QCOMPARE(qs(pure.lines[line - 1]), qs(lineLabel(*doubled, line)));
    }
}

void TestPureHexagrams::everyLabelFindsItsPalace()
{
    for (const HexagramRow &row : HexagramTable) {
        const PureHexagramRow *pure = findPureHexagram(row.text);
        QVERIFY2(pure, qPrintable(qs(row.text)));
        QCOMPARE(qs(pure->palace.substr(0, 1)), qs(TrigramNames.substr(static_cast<int>(row.palace), 1)));
    }
    for (std::u16string_view miss : {u"", u"宫", u"乾为天", u"乾为天 乾宫 ", u"天宫"})
        QVERIFY2(!findPureHexagram(miss), qPrintable(qs(miss)));
}

QTEST_GUILESS_MAIN(TestPureHexagrams)
#include "tst_purehexagrams.moc"
