// The 周易 text's shape for every hexagram and line (names, line names from
// the lines' values, 用九/用六 only where they belong), and the texts a cast
// reads by 朱熹's rule for 0 to 6 moving lines, on cases worked by hand.
#include "chart/zhouyi.h"
#include "qtcore/textconv.h"

#include <QTest>

#include <set>

using namespace lotgrid;
using namespace Qt::StringLiterals;

namespace {

// 初九, 六二 .. 上六: the place's word (初/上 before the number, 二..五 after it).
std::u16string expectedLineName(int line, bool yang)
{
    static constexpr std::u16string_view places = u"初二三四五上";
    const std::u16string number = yang ? u"九" : u"六";
    const std::u16string place(1, places[static_cast<std::size_t>(line - 1)]);
    return line == 1 || line == 6 ? place + number : number + place;
}

bool endsAsASentence(std::u16string_view text)
{
    return text.ends_with(u"。") || text.ends_with(u"！") || text.ends_with(u"？");
}

// No ASCII (a half-width comma or space typed by mistake) and no empty clause.
bool cleanText(std::u16string_view text)
{
    for (char16_t c : text)
        if (c < 0x80)
            return false;
    for (auto doubled : {u"，，", u"。。", u"，。", u"；；"})
        if (text.find(doubled) != std::u16string_view::npos)
            return false;
    return !text.starts_with(u"，") && !text.starts_with(u"。");
}

// "天地否 卦辞 悔": the row's full name, the part, the line when it is one, the role when there is one.
QString describe(const TextToRead &t)
{
    QString s = qs(hexagramName(*t.hexagram)) + u' ' + qs(textPartName(t));
    if (t.part == TextPart::Line)
        s += u' ' + QString::number(t.line);
    if (!t.role.empty())
        s += u' ' + qs(t.role);
    return s;
}

} // namespace

class TestZhouyi : public QObject
{
    Q_OBJECT
private slots:
    void everyHexagramHasItsTexts_data()
    {
        QTest::addColumn<int>("index");
        for (int i = 0; i < 64; ++i)
            QTest::newRow(qs(hexagramName(HexagramTable[i])).toUtf8().constData()) << i;
    }
    void everyHexagramHasItsTexts()
    {
        QFETCH(int, index);
        const HexagramRow &row = HexagramTable[index];
        const ZhouyiText &z = zhouyiText(row);
        // The short name is part of the full one (乾 in 乾为天, 小畜 in 风天小畜),
        // and the judgement names it (习坎, 履虎尾 ..).
        QVERIFY(!z.name.empty());
        QVERIFY2(hexagramName(row).ends_with(z.name) || hexagramName(row).starts_with(z.name), qPrintable(qs(z.name)));
        QVERIFY(z.judgement.find(z.name) != std::u16string_view::npos);
        QCOMPARE(FindHexagramByShortName(z.name), &row);
        for (std::u16string_view text : {z.judgement, z.tuan, z.image}) {
            QVERIFY2(endsAsASentence(text) && cleanText(text), qPrintable(qs(text)));
        }
        for (int line = 1; line <= 6; ++line) {
            const ZhouyiLine &l = z.lines[static_cast<std::size_t>(line - 1)];
            const std::u16string opening = expectedLineName(line, row.key[line - 1] == u'1') + u"：";
            QVERIFY2(l.text.starts_with(opening), qPrintable(qs(l.text)));
            QVERIFY2(l.text.size() > opening.size() + 1, qPrintable(qs(l.text)));
            QVERIFY2(endsAsASentence(l.text) && cleanText(l.text), qPrintable(qs(l.text)));
            QVERIFY2(endsAsASentence(l.xiang) && cleanText(l.xiang), qPrintable(qs(l.xiang)));
        }
        // 用九 on the six yang lines, 用六 on the six yin lines, nothing elsewhere.
        if (row.key == u"111111" || row.key == u"000000") {
            const std::u16string_view opening = row.key == u"111111" ? u"用九：" : u"用六：";
            QVERIFY(z.allLines.text.starts_with(opening));
            QVERIFY(endsAsASentence(z.allLines.xiang) && cleanText(z.allLines.text));
        } else {
            QVERIFY(z.allLines.text.empty() && z.allLines.xiang.empty());
        }
    }

    void namesAreUnique()
    {
        std::set<std::u16string_view> names;
        for (const HexagramRow &row : HexagramTable)
            names.insert(zhouyiText(row).name);
        QCOMPARE(names.size(), 64u);
        QCOMPARE(FindHexagramByShortName(u"乾为天"), nullptr);
    }

    // Lines in 6/7/8/9 notation, line 1 first; the texts as "full name, part, line, role".
    void zhuXisRule_data()
    {
        QTest::addColumn<QString>("lines");
        QTest::addColumn<QString>("rule");
        QTest::addColumn<QStringList>("read");
        QTest::addColumn<int>("main");
        QTest::newRow("乾 still") << u"777777"_s << u"静卦"_s << QStringList{u"乾为天 卦辞"_s} << 0;
        QTest::newRow("乾 line 3") << u"779777"_s << u"一爻变"_s << QStringList{u"乾为天 爻辞 3"_s} << 0;
        QTest::newRow("坤 line 1") << u"688888"_s << u"一爻变"_s << QStringList{u"坤为地 爻辞 1"_s} << 0;
        QTest::newRow("乾 lines 2 5") << u"797797"_s << u"二爻变"_s
                                      << QStringList{u"乾为天 爻辞 2"_s, u"乾为天 爻辞 5"_s} << 1;
        // 乾 with 1 2 3 moving becomes 否: the first ten of the twenty, the original the main.
        QTest::newRow("乾 lines 1 2 3") << u"999777"_s << u"三爻变"_s
                                        << QStringList{u"乾为天 卦辞 贞"_s, u"天地否 卦辞 悔"_s} << 0;
        // 乾 with 4 5 6 moving becomes 泰, the last of the twenty: the changed one the main.
        QTest::newRow("乾 lines 4 5 6") << u"777999"_s << u"三爻变"_s
                                        << QStringList{u"乾为天 卦辞 贞"_s, u"地天泰 卦辞 悔"_s} << 1;
        // 屯 100010 with 2 3 5 moving: 111000 泰.
        QTest::newRow("屯 lines 2 3 5") << u"766898"_s << u"三爻变"_s
                                        << QStringList{u"水雷屯 卦辞 贞"_s, u"地天泰 卦辞 悔"_s} << 1;
        // 乾 with 1-4 moving becomes 观 000011, whose static lines 5 and 6 are read, the lower the main.
        QTest::newRow("乾 lines 1-4") << u"999977"_s << u"四爻变"_s
                                      << QStringList{u"风地观 爻辞 5"_s, u"风地观 爻辞 6"_s} << 0;
        // 泰 111000 with 2 3 4 6 moving: 100101 噬嗑, static lines 1 and 5.
        QTest::newRow("泰 lines 2 3 4 6")
            << u"799686"_s << u"四爻变"_s << QStringList{u"火雷噬嗑 爻辞 1"_s, u"火雷噬嗑 爻辞 5"_s} << 0;
        // 坤 with 1-5 moving becomes 夬 111110: its line 6.
        QTest::newRow("坤 lines 1-5") << u"666668"_s << u"五爻变"_s << QStringList{u"泽天夬 爻辞 6"_s} << 0;
        QTest::newRow("乾 all six") << u"999999"_s << u"六爻变"_s << QStringList{u"乾为天 用九"_s} << 0;
        QTest::newRow("坤 all six") << u"666666"_s << u"六爻变"_s << QStringList{u"坤为地 用六"_s} << 0;
        // 屯 100010 turns wholly into 鼎 011101.
        QTest::newRow("屯 all six") << u"966696"_s << u"六爻变"_s << QStringList{u"火风鼎 卦辞"_s} << 0;
        QTest::newRow("既济 all six") << u"969696"_s << u"六爻变"_s << QStringList{u"火水未济 卦辞"_s} << 0;
    }
    void zhuXisRule()
    {
        QFETCH(QString, lines);
        QFETCH(QString, rule);
        QFETCH(QStringList, read);
        QFETCH(int, main);
        std::u16string key;
        std::array<bool, 6> moving{};
        for (int i = 0; i < 6; ++i) {
            const QChar c = lines[i];
            key += c == u'7' || c == u'9' ? u'1' : u'0';
            moving[static_cast<std::size_t>(i)] = c == u'6' || c == u'9';
        }
        const HexagramRow *row = FindHexagramByKey(key);
        QVERIFY(row);
        const TextsToRead r = textsToRead(*row, moving);
        QCOMPARE(qs(readingRuleName(r.moving)), rule);
        QStringList got;
        for (const TextToRead &t : r.read) {
            got << describe(t);
            QVERIFY(!textOf(t).empty() && !xiangOf(t).empty());
        }
        QCOMPARE(got, read);
        QCOMPARE(r.main, main);
    }

    void searchFindsPlaces()
    {
        // "潜龙" only in 乾's first line (爻辞 and 小象: one place), "群龙" only in its 用九.
        auto hits = searchZhouyi(u"潜龙");
        QCOMPARE(hits.size(), 1u);
        QCOMPARE(hits[0].line, 1);
        hits = searchZhouyi(u"群龙");
        QCOMPARE(hits.size(), 1u);
        QCOMPARE(hits[0].part, TextPart::AllLines);
        // "帝乙归妹" is in 泰 六五 and 归妹 六五 (and its 小象).
        hits = searchZhouyi(u"帝乙归妹");
        QCOMPARE(hits.size(), 2u);
        QCOMPARE(hexagramName(*hits[0].hexagram), u"地天泰");
        QCOMPARE(hexagramName(*hits[1].hexagram), u"雷泽归妹");
        // A full name finds its hexagram, though the text never writes it.
        hits = searchZhouyi(u"天泽履");
        QCOMPARE(hits.size(), 1u);
        QCOMPARE(hits[0].part, TextPart::Judgement);
        QVERIFY(searchZhouyi({}).empty());
        QVERIFY(searchZhouyi(u"电脑").empty());
    }
};

QTEST_GUILESS_MAIN(TestZhouyi)
#include "tst_zhouyi.moc"
