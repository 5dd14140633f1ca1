// The pure-hexagram table of the hidden-spirit query, held to the hexagram
// table: each palace's pure hexagram is the doubled trigram, and its line
// texts are that hexagram's relative + branch + element labels.

#include "chart/hexagrams.h"
#include "chart/purehexagrams.h"

#include <QTest>

using namespace lotgrid;
using namespace Qt::StringLiterals;

namespace {
QString qs(std::u16string_view s) { return QString::fromUtf16(s.data(), qsizetype(s.size())); }
} // namespace

class TestPureHexagrams : public QObject
{
    Q_OBJECT
private slots:
    void rowsAreTheDoubledTrigrams();
    void everyLabelFindsItsPalace();
    void labelsWithoutPalace_data();
    void labelsWithoutPalace();
};

void TestPureHexagrams::rowsAreTheDoubledTrigrams()
{
    // The query compares the keys in this order.
    const std::u16string_view order = u"乾坤兑巽坎艮震离";
    for (std::size_t i = 0; i < PureHexagramTable.size(); ++i) {
        const PureHexagramRow &pure = PureHexagramTable[i];
        QCOMPARE(qs(pure.palace), qs(order.substr(i, 1)) + u"宫"_s);

        const HexagramRow *row = nullptr;
        for (const HexagramRow &r : HexagramTable)
            if (r.key.substr(0, 3) == r.key.substr(3) && qs(r.text).endsWith(qs(pure.palace)))
                row = &r;
        QVERIFY2(row, qPrintable(qs(pure.palace)));
        QCOMPARE(qs(row->text), qs(pure.name) + u' ' + qs(pure.palace));
        for (int line = 1; line <= 6; ++line)
            QCOMPARE(qs(pure.lines[line - 1]), qs(lineLabel(*row, line)));
    }
}

void TestPureHexagrams::everyLabelFindsItsPalace()
{
    for (const HexagramRow &row : HexagramTable) {
        const PureHexagramRow *pure = findPureHexagram(row.text);
        QVERIFY2(pure, qPrintable(qs(row.text)));
        QCOMPARE(qs(pure->palace.substr(0, 1)), qs(TrigramNames.substr(static_cast<int>(row.palace), 1)));
    }
}

void TestPureHexagrams::labelsWithoutPalace_data()
{
    QTest::addColumn<QString>("label");
    QTest::newRow("empty") << QString();
    QTest::newRow("宫") << u"宫"_s;
    QTest::newRow("乾为天") << u"乾为天"_s;
    QTest::newRow("乾宫 with a trailing space") << u"乾为天 乾宫 "_s;
    QTest::newRow("天宫") << u"天宫"_s;
}

void TestPureHexagrams::labelsWithoutPalace()
{
    QFETCH(QString, label);
    QCOMPARE(findPureHexagram(std::u16string_view(reinterpret_cast<const char16_t *>(label.utf16()),
                                                  std::size_t(label.size()))),
             nullptr);
}

QTEST_GUILESS_MAIN(TestPureHexagrams)
#include "tst_purehexagrams.moc"
