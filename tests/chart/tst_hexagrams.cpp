// The hexagram table against the rules it comes from (eight palaces, najia,
// the cycles of the elements), for every row, and the lookups' edge cases.
#include "chart/hexagrams.h"
#include "chart/rules.h"
#include "chart/spirits.h"
#include "qtcore/textconv.h"

#include <QSet>
#include <QTest>

#include <map>
#include <set>

using namespace lotgrid;
using namespace Qt::StringLiterals;

namespace {

std::u16string label(Element palace, Branch b)
{
    std::u16string s(relativeName(relativeByCycles(palace, branchElement(b))));
    s += branchName(b);
    s += elementName(branchElement(b));
    return s;
}

} // namespace

class TestHexagrams : public QObject
{
    Q_OBJECT
private slots:
    void tableIsComplete()
    {
        std::set<std::u16string_view> keys, texts;
        std::map<Trigram, int> perPalace;
        for (const HexagramRow &row : HexagramTable) {
            QCOMPARE(row.key.size(), 6u);
            QVERIFY(row.key.find_first_not_of(u"01") == std::u16string_view::npos);
            keys.insert(row.key);
            texts.insert(row.text);
            ++perPalace[row.palace];
            QVERIFY(!row.text.starts_with(u' ') && !row.text.ends_with(u' '));
        }
        QCOMPARE(keys.size(), 64u);
        QCOMPARE(texts.size(), 64u);
        for (const auto &[palace, count] : perPalace)
            QCOMPARE(count, 8);
    }

    // Every row: palace, soul, world and response from the generations; the
    // name from the images; each line's branch from najia; the text ends in the palace.
    void rowFollowsTheRules_data()
    {
        QTest::addColumn<int>("index");
        for (int i = 0; i < 64; ++i)
            QTest::newRow(qs(HexagramTable[i].key).toLatin1().constData()) << i;
    }
    void rowFollowsTheRules()
    {
        QFETCH(int, index);
        const HexagramRow &row = HexagramTable[index];
        const auto lower = rules::trigramOf(row.key.substr(0, 3));
        const auto upper = rules::trigramOf(row.key.substr(3, 3));
        QVERIFY(lower && upper);
        const auto place = rules::palaceOf(row.key);
        QVERIFY(place);
        QCOMPARE(row.palace, place->palace);
        QCOMPARE(row.soul, place->soul);
        QCOMPARE(row.world, place->world);
        QCOMPARE(row.response, rules::responseOf(place->world));
        for (int line = 1; line <= 6; ++line)
            QCOMPARE(row.branches[line - 1], rules::najiaBranch(*lower, *upper, line));

        // The hexagram's own name sits between the two images and the first blank.
        const std::u16string_view text = row.text;
        const std::u16string_view ownName
            = *lower == *upper ? std::u16string_view{} : text.substr(2, text.find(u' ') - 2);
        QCOMPARE(qs(text), qs(rules::textOf(ownName, *lower, *upper, *place)));
        QVERIFY(ownName.size() <= 2);
        QCOMPARE(qs(text.substr(text.size() - 2)), qs(std::u16string(1, TrigramNames[int(row.palace)]) + u"宫"));
    }

    void relativesFollowTheCycles()
    {
        for (int p = 0; p < 5; ++p)
            for (int e = 0; e < 5; ++e)
                QCOMPARE(relativeOf(Element(p), Element(e)), relativeByCycles(Element(p), Element(e)));
        // Each palace element meets each relative exactly once.
        for (int p = 0; p < 5; ++p) {
            QSet<int> seen;
            for (int e = 0; e < 5; ++e)
                seen.insert(int(relativeOf(Element(p), Element(e))));
            QCOMPARE(seen.size(), 5);
        }
    }

    void labels_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("labels"); // lines 1..6
        QTest::newRow("乾为天") << u"乾为天 乾宫"_s << QStringList{u"子孙子水"_s, u"妻财寅木"_s, u"父母辰土"_s,
                                                                   u"官鬼午火"_s, u"兄弟申金"_s, u"父母戌土"_s};
        QTest::newRow("坤为地") << u"坤为地 坤宫"_s << QStringList{u"兄弟未土"_s, u"父母巳火"_s, u"官鬼卯木"_s,
                                                                   u"兄弟丑土"_s, u"妻财亥水"_s, u"子孙酉金"_s};
        QTest::newRow("水雷屯") << u"水雷屯 坎宫"_s << QStringList{u"兄弟子水"_s, u"子孙寅木"_s, u"官鬼辰土"_s,
                                                                   u"父母申金"_s, u"官鬼戌土"_s, u"兄弟子水"_s};
        QTest::newRow("山火贲") << u"山火贲 艮宫"_s << QStringList{u"官鬼卯木"_s, u"兄弟丑土"_s, u"妻财亥水"_s,
                                                                   u"兄弟戌土"_s, u"妻财子水"_s, u"官鬼寅木"_s};
        QTest::newRow("山天大畜") << u"山天大畜 艮宫"_s << QStringList{u"妻财子水"_s, u"官鬼寅木"_s, u"兄弟辰土"_s,
                                                                       u"兄弟戌土"_s, u"妻财子水"_s, u"官鬼寅木"_s};
        QTest::newRow("地山谦") << u"地山谦 兑宫"_s << QStringList{u"父母辰土"_s, u"官鬼午火"_s, u"兄弟申金"_s,
                                                                   u"父母丑土"_s, u"子孙亥水"_s, u"兄弟酉金"_s};
        QTest::newRow("巽为风") << u"巽为风 巽宫"_s << QStringList{u"妻财丑土"_s, u"父母亥水"_s, u"官鬼酉金"_s,
                                                                   u"妻财未土"_s, u"子孙巳火"_s, u"兄弟卯木"_s};
        QTest::newRow("火山旅") << u"火山旅 离宫"_s << QStringList{u"子孙辰土"_s, u"兄弟午火"_s, u"妻财申金"_s,
                                                                   u"妻财酉金"_s, u"子孙未土"_s, u"兄弟巳火"_s};
    }
    void labels()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, labels);
        const HexagramRow *row = FindHexagramByText(u16(text));
        QVERIFY(row);
        for (int line = 1; line <= 6; ++line) {
            QCOMPARE(qs(lineLabel(*row, line)), labels[line - 1]);
            QCOMPARE(qs(lineLabel(*row, line)), qs(label(palaceElement(row->palace), row->branches[line - 1])));
        }
    }

    void findByKey_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("text"); // empty: no row
        QTest::newRow("111111") << u"111111"_s << u"乾为天 乾宫"_s;
        QTest::newRow("000000") << u"000000"_s << u"坤为地 坤宫"_s;
        QTest::newRow("010101 last row") << u"010101"_s << u"火水未济 离宫"_s;
        QTest::newRow("101010") << u"101010"_s << u"水火既济 坎宫"_s;
        QTest::newRow("111101 returning soul") << u"111101"_s << u"火天大有 归魂 乾宫"_s;
        QTest::newRow("111010 wandering soul") << u"111010"_s << u"水天需 游魂 坤宫"_s;
        QTest::newRow("five lines") << u"11111"_s << QString();
        QTest::newRow("seven lines") << u"1111111"_s << QString();
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("other digit") << u"111112"_s << QString();
        QTest::newRow("blank inside") << u"111 11"_s << QString();
        QTest::newRow("full-width digit") << u"11111１"_s << QString();
    }
    void findByKey()
    {
        QFETCH(QString, key);
        QFETCH(QString, text);
        const HexagramRow *row = FindHexagramByKey(u16(key));
        QCOMPARE(row ? qs(row->text) : QString(), text);
        if (row)
            QCOMPARE(qs(row->key), key);
    }

    void findByText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("found");
        QTest::newRow("whole text") << u"地火明夷 游魂 坎宫"_s << true;
        QTest::newRow("name only") << u"乾为天"_s << false;
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("trailing blank") << u"乾为天 乾宫 "_s << false;
        QTest::newRow("old text of 未济") << u"水火未济 离宫"_s << false;
    }
    void findByText()
    {
        QFETCH(QString, text);
        QFETCH(bool, found);
        QCOMPARE(FindHexagramByText(u16(text)) != nullptr, found);
    }

    void lineNames_data()
    {
        QTest::addColumn<int>("line");
        QTest::addColumn<QChar>("value");
        QTest::addColumn<QString>("name");
        QTest::newRow("1 yang") << 1 << QChar(u'1') << u"初九"_s;
        QTest::newRow("1 yin") << 1 << QChar(u'0') << u"初六"_s;
        QTest::newRow("2 yang") << 2 << QChar(u'1') << u"九二"_s;
        QTest::newRow("3 yin") << 3 << QChar(u'0') << u"六三"_s;
        QTest::newRow("4 yang") << 4 << QChar(u'1') << u"九四"_s;
        QTest::newRow("5 yin") << 5 << QChar(u'0') << u"六五"_s;
        QTest::newRow("6 yang") << 6 << QChar(u'1') << u"上九"_s;
        QTest::newRow("6 yin") << 6 << QChar(u'0') << u"上六"_s;
        QTest::newRow("empty value") << 3 << QChar(u' ') << QString();
        QTest::newRow("line 0") << 0 << QChar(u'1') << QString();
        QTest::newRow("line 7") << 7 << QChar(u'1') << QString();
    }
    void lineNames()
    {
        QFETCH(int, line);
        QFETCH(QChar, value);
        QFETCH(QString, name);
        QCOMPARE(qs(lineName(line, value.unicode())), name);
    }

    void changedValues()
    {
        QCOMPARE(changedValue(u'1', true), u'0');
        QCOMPARE(changedValue(u'0', true), u'1');
        QCOMPARE(changedValue(u'1', false), u'1');
        QCOMPARE(changedValue(u'0', false), u'0');
    }

    void spiritsRunFromTheDayStem_data()
    {
        QTest::addColumn<int>("stem");
        QTest::addColumn<QString>("line1");
        const char16_t *starts[]
            = {u"青龙", u"青龙", u"朱雀", u"朱雀", u"勾陈", u"腾蛇", u"白虎", u"白虎", u"玄武", u"玄武"};
        for (int s = 0; s < 10; ++s)
            QTest::newRow(QString(StemNames[s]).toUtf8().constData()) << s << QString::fromUtf16(starts[s]);
    }
    void spiritsRunFromTheDayStem()
    {
        QFETCH(int, stem);
        QFETCH(QString, line1);
        const auto spirits = spiritsForStem(stem);
        QCOMPARE(qs(spirits[0]), line1);
        const QString cycle = u"青龙朱雀勾陈腾蛇白虎玄武"_s;
        for (int k = 1; k < 6; ++k) // each line the next in the cycle
            QCOMPARE(cycle.indexOf(qs(spirits[k])), (cycle.indexOf(qs(spirits[k - 1])) + 2) % 12);
    }
};

QTEST_GUILESS_MAIN(TestHexagrams)
#include "tst_hexagrams.moc"
