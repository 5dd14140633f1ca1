// The pure hexagrams of the hidden-spirit query against the eight written out
// by hand, which are in turn held to the hexagram table: each palace's pure
// hexagram is its doubled trigram, and the line texts are that hexagram's
// relative + branch + element labels.

#include "chart/hexagrams.h"
#include "chart/purehexagrams.h"
#include "qtcore/textconv.h"

#include <QStringList>
#include <QTest>

using namespace lotgrid;
using namespace Qt::StringLiterals;

namespace {

struct PureHexagramRow {
    std::u16string_view palace;               // the palace text that ends a hexagram's label: "乾宫"
    std::u16string_view name;                 // "乾为天"
    std::array<std::u16string_view, 6> lines; // lines 1 (bottom) .. 6
};

// The eight pure hexagrams written out, lines 1 to 6.
// clang-format off
constexpr std::array<PureHexagramRow, 8> PureHexagramTable{{
    {u"乾宫", u"乾为天", {u"子孙子水", u"妻财寅木", u"父母辰土", u"官鬼午火", u"兄弟申金", u"父母戌土"}},
    {u"坤宫", u"坤为地", {u"兄弟未土", u"父母巳火", u"官鬼卯木", u"兄弟丑土", u"妻财亥水", u"子孙酉金"}},
    {u"兑宫", u"兑为泽", {u"官鬼巳火", u"妻财卯木", u"父母丑土", u"子孙亥水", u"兄弟酉金", u"父母未土"}},
    {u"巽宫", u"巽为风", {u"妻财丑土", u"父母亥水", u"官鬼酉金", u"妻财未土", u"子孙巳火", u"兄弟卯木"}},
    {u"坎宫", u"坎为水", {u"子孙寅木", u"官鬼辰土", u"妻财午火", u"父母申金", u"官鬼戌土", u"兄弟子水"}},
    {u"艮宫", u"艮为山", {u"兄弟辰土", u"父母午火", u"子孙申金", u"兄弟戌土", u"妻财子水", u"官鬼寅木"}},
    {u"震宫", u"震为雷", {u"父母子水", u"兄弟寅木", u"妻财辰土", u"子孙午火", u"官鬼申金", u"妻财戌土"}},
    {u"离宫", u"离为火", {u"父母卯木", u"子孙丑土", u"官鬼亥水", u"妻财酉金", u"子孙未土", u"兄弟巳火"}},
}};
// clang-format on

QStringList joined(const auto &lines)
{
    QStringList texts;
    for (const auto &line : lines)
        texts << qs(line);
    return texts;
}

} // namespace

Q_DECLARE_METATYPE(const PureHexagramRow *)

class TestPureHexagrams : public QObject
{
    Q_OBJECT
private slots:
    void rowsAreTheDoubledTrigrams();
    void queryTexts_data();
    void queryTexts();
    void everyLabelFindsItsPalace();
};

void TestPureHexagrams::rowsAreTheDoubledTrigrams()
{
    for (const PureHexagramRow &pure : PureHexagramTable) {
        QCOMPARE(pure.palace.size(), 2u);
        QCOMPARE(pure.palace[1], u'宫');
        const auto doubled = std::ranges::find_if(HexagramTable, [&](const HexagramRow &r) {
            return r.key.substr(0, 3) == r.key.substr(3) && qs(r.text).endsWith(qs(pure.palace));
        });
        QVERIFY2(doubled != HexagramTable.end(), qPrintable(qs(pure.palace)));
        QCOMPARE(qs(doubled->text), qs(pure.name) + u' ' + qs(pure.palace));
        for (int line = 1; line <= 6; ++line)
            QCOMPARE(qs(pure.lines[line - 1]), qs(lineLabel(*doubled, line)));
    }
}

// Any label ending in a palace's key finds that palace's pure hexagram, the
// same texts as written out.
void TestPureHexagrams::queryTexts_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<const PureHexagramRow *>("expected");
    for (const PureHexagramRow &pure : PureHexagramTable) {
        const QString palace = qs(pure.palace);
        QTest::newRow(qPrintable(palace)) << palace << &pure;
        const QString own = qs(pure.name) + u' ' + palace;
        QTest::newRow(qPrintable(own)) << own << &pure;
        const QString typed = u"随手打的字"_s + palace;
        QTest::newRow(qPrintable(typed)) << typed << &pure;
    }
    QTest::newRow("火天大有 归魂 乾宫") << u"火天大有 归魂 乾宫"_s << &PureHexagramTable[0];
    QTest::newRow("地火明夷 游魂 坎宫") << u"地火明夷 游魂 坎宫"_s << &PureHexagramTable[4];
    QTest::newRow("雷泽归妹 归魂 兑宫") << u"雷泽归妹 归魂 兑宫"_s << &PureHexagramTable[2];
}

void TestPureHexagrams::queryTexts()
{
    QFETCH(QString, label);
    QFETCH(const PureHexagramRow *, expected);
    const std::optional<PureHexagramTexts> got = findPureHexagram(u16(label));
    QVERIFY(got);
    QCOMPARE(qs(got->palace), qs(expected->palace));
    QCOMPARE(qs(got->name), qs(expected->name));
    QCOMPARE(joined(got->lines), joined(expected->lines));
}

void TestPureHexagrams::everyLabelFindsItsPalace()
{
    for (const HexagramRow &row : HexagramTable) {
        const auto pure = findPureHexagram(row.text);
        QVERIFY2(pure, qPrintable(qs(row.text)));
        QCOMPARE(qs(pure->palace.substr(0, 1)), qs(TrigramNames.substr(static_cast<int>(row.palace), 1)));
    }
    for (std::u16string_view miss : {u"", u"宫", u"乾为天", u"乾为天 乾宫 ", u"天宫", u"乾官", u"宫乾"})
        QVERIFY2(!findPureHexagram(miss), qPrintable(qs(miss)));
}

QTEST_GUILESS_MAIN(TestPureHexagrams)
#include "tst_purehexagrams.moc"
