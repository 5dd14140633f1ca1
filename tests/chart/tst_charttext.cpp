// The chart as text and as JSON: the layout on worked charts (expected text
// written out by hand from the najia, palace and analysis rules), and the JSON
// parsed back and held against the Chart value for every hexagram.
#include "chart/charttext.h"
#include "chart/zhouyi.h"
#include "qtcore/textconv.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

#include <nlohmann/json.hpp>

#include <set>

using namespace lotgrid;
using namespace Qt::StringLiterals;

namespace {

// A cast in 6/7/8/9 notation, line 1 first, read by the modern rules (通行).
CastInput castOf(std::string_view lines)
{
    CastInput in;
    in.options = schoolPreset(School::Common);
    for (int n = 1; n <= 6; ++n) {
        const char c = lines[static_cast<std::size_t>(n - 1)];
        in.line(n) = {c == '7' || c == '9' ? u'1' : u'0', c == '6' || c == '9'};
    }
    return in;
}

// 2000-01-01 12:00 is 己卯年 丙子月 戊午日 戊午时 (before 立春 and 小寒; 戊午 day by
// the day count; the 午 hour of a 戊 day is 戊午 by 五鼠遁), 旬空 子丑 (甲寅旬).
CastInput withMoment(CastInput in)
{
    in.moment = Moment{{2000, 1, 1}, 12, 0};
    in.dayStem = 4;             // 戊
    in.monthBuild = Branch::Zi; // 子
    in.dayBuild = Branch::Wu;   // 午
    return in;
}

QSet<QString> keysOf(const QJsonObject &o)
{
    const QStringList keys = o.keys();
    return {keys.begin(), keys.end()};
}

QSet<QString> setOf(std::initializer_list<QString> keys)
{
    return QSet<QString>(keys);
}

std::u16string_view u16(const QString &s)
{
    return {reinterpret_cast<const char16_t *>(s.utf16()), static_cast<std::size_t>(s.size())};
}

} // namespace

class TestChartText : public QObject
{
    Q_OBJECT
private slots:
    void text_data()
    {
        QTest::addColumn<CastInput>("input");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("sex");
        QTest::addColumn<QString>("expected");

        // 雷泽归妹 (兑宫 金, 归魂, 世 3 应 6) with line 1 old yang, to 雷水解. 子孙 is
        // missing and hides under line 4 (兑为泽's 亥). Month 子 clashes 午 (月破);
        // 寅 wood generates 巳 fire (回头生); 丑 is void. Spirits from 戊: 勾陈 at line 1.
        // 卦身: world line 3 is yin, so 午 未 申 from line 1: 申, carried by line 5.
        QTest::newRow("978788 2000-01-01 12:00")
            << withMoment(castOf("978788")) << QString() << QString()
            << u"起卦时间：2000-01-01 12:00  己卯年 丙子月 戊午日 戊午时  旬空：子丑\n"
               u"本卦：雷泽归妹（兑宫·归魂）  变卦：雷水解（震宫）\n"
               u"朱雀　　　　　　　▅▅　▅▅　父母戌土　　应　　　　　　　　　　　囚·胎\n"
               u"青龙　　　　　　　▅▅　▅▅　兄弟申金　　　　　　　　　　　　　　休·沐浴\n"
               u"玄武　子孙亥水　　▅▅▅▅▅　官鬼午火　　　　　　　　　　　　　　死·帝旺　月破\n"
               u"白虎　　　　　　　▅▅　▅▅　父母丑土空　世　　　　　　　　　　　囚·胎\n"
               u"腾蛇　　　　　　　▅▅▅▅▅　妻财卯木　　　　　　　　　　　　　　相·死\n"
               u"勾陈　　　　　　　▅▅▅▅▅　官鬼巳火　　　　○　→　妻财寅木　　死·帝旺　回头生　化长生\n"
               u"卦身：申（五爻）\n"
               u"贵人：丑未  禄：巳  羊刃：午  文昌：申  驿马：申  桃花：卯  将星：午  华盖：戌  劫煞：亥  灾煞：子  "
               u"天医：亥\n"
               u"三合：寅午戌火局（初爻变寅、四爻午、上爻戌）\n"
               u"互卦：水火既济  错卦：风山渐  综卦：风山渐\n"
               // The world line 丑 is void, strong by the day 午 and held by the month 子: 未 clashes
               // it on 01-02, the 丑 month opens at 小寒 (01-06), 甲子 opens the next 旬, 乙丑 fills it.
               u"应期参考：2000-01-02 己未日（冲）  2000-01-06 丁丑月（值）  2000-01-07 甲子日（出空）  "
               u"2000-01-08 乙丑日（值、填实）\n"_s;

        // 坎为水 (六冲) with line 1 old yin, to 水泽节 (六合). Day 甲午 chosen by hand:
        // 旬空 辰巳, so 辰 is void and the changed 巳 is 化空; month 寅 clashes 申
        // (月破); day 午 clashes 子, water is neither 旺 nor 相 in a wood month (日破).
        // Every relative shows, so no hidden spirit. 卦身: world line 6 yin, 午 .. 亥, on no line.
        CastInput kan = castOf("678878");
        kan.dayStem = 0;
        kan.monthBuild = Branch::Yin;
        kan.dayBuild = Branch::Wu;
        QTest::newRow("678878 甲午 day, 寅 month")
            << kan << u"问工作"_s << u"男"_s
            << u"月建：寅  日建：甲午  旬空：辰巳\n"
               u"卜问何事：问工作\n"
               u"性别：男\n"
               u"本卦：坎为水（坎宫）　六冲  变卦：水泽节（坎宫）　六合  六冲变六合\n"
               u"玄武　▅▅　▅▅　兄弟子水　　世　　　　　　　　　　　休·胎　　日破\n"
               u"白虎　▅▅▅▅▅　官鬼戌土　　　　　　　　　　　　　　死·胎\n"
               u"腾蛇　▅▅　▅▅　父母申金　　　　　　　　　　　　　　囚·沐浴　月破\n"
               u"勾陈　▅▅　▅▅　妻财午火　　应　　　　　　　　　　　相·帝旺\n"
               u"朱雀　▅▅▅▅▅　官鬼辰土空　　　　　　　　　　　　　死·胎\n"
               u"青龙　▅▅　▅▅　子孙寅木　　　　×　→　妻财巳火空　旺·死　　化空\n"
               u"卦身：亥\n"
               u"贵人：丑未  禄：寅  羊刃：卯  文昌：巳  驿马：申  桃花：卯  将星：午  华盖：戌  劫煞：亥  灾煞：子  "
               u"天医：丑\n"
               u"三合：寅午戌火局（初爻寅、三爻午、五爻戌）\n"
               u"互卦：山雷颐  错卦：离为火  综卦：坎为水\n"_s;

        // Nothing but the lines: no spirits, no changed hexagram, no 神煞.
        QTest::newRow("777777 lines only") << castOf("777777") << QString() << QString()
                                           << u"本卦：乾为天（乾宫）　六冲\n"
                                              u"▅▅▅▅▅　父母戌土　　世\n"
                                              u"▅▅▅▅▅　兄弟申金\n"
                                              u"▅▅▅▅▅　官鬼午火\n"
                                              u"▅▅▅▅▅　父母辰土　　应\n"
                                              u"▅▅▅▅▅　妻财寅木\n"
                                              u"▅▅▅▅▅　子孙子水\n"
                                              u"卦身：巳\n"
                                              u"互卦：乾为天  错卦：坤为地  综卦：乾为天\n"_s;
    }

    void text()
    {
        QFETCH(CastInput, input);
        QFETCH(QString, question);
        QFETCH(QString, sex);
        QFETCH(QString, expected);
        const Chart chart = chartOf(input);
        const std::u16string text = chartText(chart, question.toStdU16String(), sex.toStdU16String(), false);
        QCOMPARE(qs(text), expected);
        // The 要点 block follows the 应期 lines, one line an item and the trend last.
        QString block;
        for (const std::u16string &line : summaryLines(summaryOf(chart)))
            block += qs(line) + u'\n';
        QVERIFY(block.startsWith(u"要点：\n"_s));
        QVERIFY(block.contains(u"\u3000趋势："_s));
        QCOMPARE(qs(chartText(chart, question.toStdU16String(), sex.toStdU16String())), expected + block);
    }

    // Charts the classics work through, the rows that carry the words they name.
    void classicCharts_data()
    {
        QTest::addColumn<CastInput>("input");
        QTest::addColumn<QStringList>("rows");
        // 增删卜易 on 月破: 兑之讼 in a 亥 month on a 己丑 day; 亥 clashes the moving
        // 巳 (官鬼 of a 金 palace, 死 in 亥, 养 at 丑), which is still 回头生 from 寅
        // (妻财, where 火 is born); 己 gives 腾蛇.
        const auto withBuilds = [](CastInput in, int stem, Branch month, Branch day) {
            std::tie(in.dayStem, in.monthBuild, in.dayBuild) = std::tuple(stem, month, day);
            return in;
        };
        QTest::newRow("兑之讼 亥月 己丑日")
            << withBuilds(castOf("978776"), 5, Branch::Hai, Branch::Chou)
            << QStringList{u"本卦：兑为泽（兑宫）　六冲  变卦：天水讼（离宫·游魂）"_s,
                           u"腾蛇　▅▅▅▅▅　官鬼巳火　　　　○　→　妻财寅木　　死·养　　月破　回头生　化长生"_s};
        // 增删卜易 on 反吟: 升之观 turns 反吟 in both halves.
        QTest::newRow("升之观") << castOf("899866")
                                << QStringList{u"本卦：地风升（震宫）  变卦：风地观（乾宫）  内卦反吟　外卦反吟"_s};
        // 乾为天 on a 戊子 day (旬空 午未) in a 辰 month: the void 午 clashed by the day is 冲实.
        QTest::newRow("乾之夬 辰月 戊子日")
            << withBuilds(castOf("777779"), 4, Branch::Chen, Branch::Zi)
            << QStringList{u"玄武　▅▅▅▅▅　官鬼午火空　　　　　　　　　　　　　休·胎　　冲实"_s};
    }
    void classicCharts()
    {
        QFETCH(CastInput, input);
        QFETCH(QStringList, rows);
        const QStringList text = qs(chartText(chartOf(input))).split(u'\n');
        for (const QString &row : rows)
            QVERIFY2(text.contains(row), qPrintable(row));
    }

    void textNeedsSixLines()
    {
        CastInput in = castOf("97878");
        in.line(6) = {};
        QVERIFY(chartText(chartOf(in)).empty());
        QCOMPARE(chartJson(chartOf(in)), std::string("{}\n"));
        QVERIFY(lineNotation(in).empty());
    }

    void notation_data()
    {
        QTest::addColumn<QString>("lines");
        QTest::newRow("all four values") << u"678978"_s;
        QTest::newRow("all moving") << u"969696"_s;
        QTest::newRow("still") << u"787878"_s;
    }
    void notation()
    {
        QFETCH(QString, lines);
        QCOMPARE(qs(lineNotation(castOf(lines.toStdString()))), lines);
    }

    void utf8_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("ascii") << u"abc \"x\""_s;
        QTest::newRow("CJK") << u"雷泽归妹　○×→"_s;
        QTest::newRow("surrogate pair") << u"𠀀𝄞"_s;
        QTest::newRow("empty") << QString();
    }
    void utf8()
    {
        QFETCH(QString, text);
        QCOMPARE(QByteArray::fromStdString(toUtf8(text.toStdU16String())), text.toUtf8());
    }

    void unpairedSurrogate()
    {
        const std::u16string lone{u'a', char16_t(0xD800), u'b', char16_t(0xDC00)};
        QCOMPARE(toUtf8(lone), std::string("a\xEF\xBF\xBD"
                                           "b\xEF\xBF\xBD"));
    }

    // The worked chart above, field by field as a script reads it.
    void jsonWorkedChart()
    {
        const Chart chart = chartOf(withMoment(castOf("978788")));
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(chartJson(chart)), &error);
        QCOMPARE(error.error, QJsonParseError::NoError);
        const QJsonObject o = doc.object();
        QCOMPARE(o[u"lines"_s].toString(), u"978788"_s);
        QCOMPARE(o[u"time"_s].toString(), u"2000-01-01 12:00"_s);
        const QJsonObject p = o[u"pillars"_s].toObject();
        QCOMPARE(p[u"year"_s].toString() + p[u"month"_s].toString() + p[u"day"_s].toString() + p[u"hour"_s].toString(),
                 u"己卯丙子戊午戊午"_s);
        QCOMPARE(o[u"void"_s].toArray(), (QJsonArray{u"子"_s, u"丑"_s}));
        const QJsonObject orig = o[u"original"_s].toObject();
        QCOMPARE(orig[u"text"_s].toString(), u"雷泽归妹 归魂 兑宫"_s);
        QCOMPARE(orig[u"name"_s].toString(), u"雷泽归妹"_s);
        QCOMPARE(orig[u"palace"_s].toString(), u"兑宫"_s);
        QCOMPARE(orig[u"element"_s].toString(), u"金"_s);
        const QJsonArray lines = orig[u"lines"_s].toArray();
        QCOMPARE(lines[0].toObject()[u"changes"_s].toArray(), QJsonArray{u"回头生"_s});
        QCOMPARE(lines[0].toObject()[u"spirit"_s].toString(), u"勾陈"_s);
        QCOMPARE(lines[2].toObject()[u"role"_s].toString(), u"世"_s);
        QVERIFY(lines[2].toObject()[u"void"_s].toBool());
        QCOMPARE(lines[3].toObject()[u"marks"_s].toArray(), QJsonArray{u"月破"_s});
        QCOMPARE(lines[3].toObject()[u"hidden"_s].toObject(),
                 (QJsonObject{{u"relative"_s, u"子孙"_s}, {u"branch"_s, u"亥"_s}, {u"element"_s, u"水"_s}}));
        QVERIFY(!lines[1].toObject().contains(u"changes"_s));
        const QJsonObject changed = o[u"changed"_s].toObject();
        QCOMPARE(changed[u"name"_s].toString(), u"雷水解"_s);
        QCOMPARE(changed[u"palace"_s].toString(), u"震宫"_s);
        QCOMPARE(changed[u"lines"_s].toArray()[0].toObject()[u"relative"_s].toString(), u"妻财"_s);
        QCOMPARE(o[u"types"_s].toObject(), (QJsonObject{{u"original"_s, QJsonValue()}, {u"changed"_s, QJsonValue()}}));
        QCOMPARE(o[u"guashen"_s].toObject(), (QJsonObject{{u"branch"_s, u"申"_s}, {u"positions"_s, QJsonArray{5}}}));
        const QJsonObject sha = o[u"shensha"_s].toObject();
        QCOMPARE(sha.size(), 11);
        QCOMPARE(sha[u"天乙贵人"_s].toArray(), (QJsonArray{u"丑"_s, u"未"_s}));
        QCOMPARE(sha[u"天医"_s].toArray(), QJsonArray{u"亥"_s});

        // 巳 in a 子 month is overcome (死), the 午 day supports it; 午 is clashed and broken by the month.
        const auto json = [](const QJsonValue &v) {
            return QString::fromUtf8((v.isArray() ? QJsonDocument(v.toArray()) : QJsonDocument(v.toObject()))
                                         .toJson(QJsonDocument::Compact));
        };
        QVERIFY(o[u"category"_s].isNull() && o[u"sex"_s].isNull() && o[u"usegod"_s].isNull());
        QCOMPARE(json(lines[0].toObject()[u"strength"_s]),
                 uR"({"day":["扶"],"month":["克"],"season":"死","stage":"帝旺","strong":true})"_s);
        QCOMPARE(lines[0].toObject()[u"stagechange"_s].toString(), u"化长生"_s);
        QCOMPARE(json(lines[3].toObject()[u"strength"_s]),
                 uR"({"day":["临"],"month":["克","冲","月破"],"season":"死","stage":"帝旺","strong":false})"_s);
        QCOMPARE(json(o[u"relations"_s]), uR"([{"branches":["寅","午","戌"],"changed":[1],"element":"火",)"
                                          uR"("kind":"三合","positions":[1,4,6],"with":[]}])"_s);
        QCOMPARE(json(o[u"related"_s]), uR"({"cuo":"风山渐","hu":"水火既济","zong":"风山渐"})"_s);
    }

    // With the 周易 texts asked for, the same object with "texts" last, as the
    // texts' own JSON value gives them, for every number of moving lines.
    void jsonWithTexts_data()
    {
        QTest::addColumn<QString>("lines");
        for (const char *lines : {"787878", "987878", "966878", "969678", "999978", "999996", "999999", "666666"})
            QTest::newRow(lines) << QString::fromLatin1(lines);
    }
    void jsonWithTexts()
    {
        QFETCH(QString, lines);
        const Chart chart = chartOf(withMoment(castOf(lines.toStdString())));
        const auto with = nlohmann::ordered_json::parse(chartJson(chart, true));
        auto without = nlohmann::ordered_json::parse(chartJson(chart));
        without["texts"] = textsJson(chart);
        QCOMPARE(with.dump(), without.dump());
    }

    // Every hexagram, still, with line 1 moving and with all lines moving, with
    // and without a day: the JSON read back equals the Chart value, key by key.
    void jsonMatchesModel_data()
    {
        QTest::addColumn<CastInput>("input");
        const std::array<std::string_view, 3> masks{"000000", "100000", "111111"};
        for (const HexagramRow &row : HexagramTable)
            for (std::string_view mask : masks)
                for (bool timed : {false, true}) {
                    CastInput in;
                    in.options = schoolPreset(School::Common);
                    for (int n = 1; n <= 6; ++n)
                        in.line(n)
                            = {row.key[static_cast<std::size_t>(n - 1)], mask[static_cast<std::size_t>(n - 1)] == '1'};
                    QTest::addRow("%s moving %s%s", qs(row.key).toLatin1().constData(), mask.data(),
                                  timed ? " timed" : "")
                        << (timed ? withMoment(in) : in);
                }
    }

    void jsonMatchesModel()
    {
        QFETCH(CastInput, input);
        const Chart chart = chartOf(input);
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(chartJson(chart)), &error);
        QCOMPARE(error.error, QJsonParseError::NoError);
        const QJsonObject o = doc.object();
        QCOMPARE(keysOf(o), setOf({u"lines"_s, u"time"_s, u"pillars"_s, u"void"_s, u"original"_s, u"changed"_s,
                                   u"types"_s, u"fanfu"_s, u"guashen"_s, u"shensha"_s, u"school"_s, u"category"_s,
                                   u"sex"_s, u"usegod"_s, u"relations"_s, u"related"_s, u"yingqi"_s, u"summary"_s}));
        const bool timed = input.moment.has_value();
        QCOMPARE(o[u"yingqi"_s].toArray().isEmpty(), !timed);
        QCOMPARE(o[u"time"_s].isNull(), !timed);
        QCOMPARE(o[u"pillars"_s].isNull(), !timed);
        QCOMPARE(o[u"void"_s].toArray().size(), timed ? 2 : 0);

        const QJsonObject orig = o[u"original"_s].toObject();
        QCOMPARE(keysOf(orig), setOf({u"key"_s, u"text"_s, u"name"_s, u"palace"_s, u"element"_s, u"lines"_s}));
        QCOMPARE(orig[u"key"_s].toString(), qs(chart.original->key));
        QCOMPARE(orig[u"text"_s].toString(), qs(chart.original->text));
        QVERIFY(qs(chart.original->text).startsWith(orig[u"name"_s].toString() + u' '));
        QVERIFY(qs(chart.original->text).endsWith(u' ' + orig[u"palace"_s].toString()));
        QCOMPARE(orig[u"element"_s].toString(), qs(elementName(chart.palaceElement())));
        const QJsonArray lines = orig[u"lines"_s].toArray();
        QCOMPARE(lines.size(), 6);
        for (int n = 1; n <= 6; ++n) {
            const ChartLine &l = chart.line(n);
            const QJsonObject j = lines[n - 1].toObject();
            QSet<QString> keys
                = setOf({u"position"_s, u"yang"_s, u"moving"_s, u"branch"_s, u"element"_s, u"relative"_s, u"spirit"_s,
                         u"role"_s, u"void"_s, u"hidden"_s, u"marks"_s, u"yuanji"_s, u"strength"_s});
            if (l.cast.moving)
                keys << u"changes"_s << u"stagechange"_s;
            QCOMPARE(keysOf(j), keys);
            QCOMPARE(j[u"position"_s].toInt(), n);
            QCOMPARE(j[u"yang"_s].toBool(), l.cast.value == u'1');
            QCOMPARE(j[u"moving"_s].toBool(), l.cast.moving);
            QCOMPARE(j[u"branch"_s].toString(), qs(branchName(l.branch)));
            QCOMPARE(j[u"element"_s].toString(), qs(elementName(branchElement(l.branch))));
            QCOMPARE(j[u"relative"_s].toString(), qs(relativeName(l.relative)));
            QCOMPARE(j[u"spirit"_s].toString(), qs(l.spirit));
            QCOMPARE(j[u"spirit"_s].isNull(), !timed);
            QCOMPARE(j[u"role"_s].toString(), n == chart.original->world      ? u"世"_s
                                              : n == chart.original->response ? u"应"_s
                                                                              : QString());
            QCOMPARE(j[u"role"_s].isNull(), n != chart.original->world && n != chart.original->response);
            QCOMPARE(j[u"void"_s].toBool(), l.isVoid);
            QCOMPARE(j[u"hidden"_s].isNull(), !l.hidden.has_value());
            if (l.hidden)
                QCOMPARE(j[u"hidden"_s].toObject()[u"relative"_s].toString()
                             + j[u"hidden"_s].toObject()[u"branch"_s].toString()
                             + j[u"hidden"_s].toObject()[u"element"_s].toString(),
                         qs(relativeLabel(l.hidden->relative, l.hidden->branch)));
            const StaticMark mark = chart.analysis.marks[static_cast<std::size_t>(n - 1)];
            QCOMPARE(j[u"marks"_s].toArray().size(), mark == StaticMark::None ? 0 : 1);
            if (l.cast.moving) {
                QStringList changes;
                for (Change c : chart.analysis.changes[static_cast<std::size_t>(n - 1)])
                    changes << qs(changeName(c));
                QCOMPARE(j[u"changes"_s].toVariant().toStringList(), changes);
            }
        }

        const bool moving = chart.hasMovingLine();
        QCOMPARE(o[u"changed"_s].isNull(), !moving);
        if (moving) {
            const QJsonObject changed = o[u"changed"_s].toObject();
            QCOMPARE(keysOf(changed), setOf({u"key"_s, u"text"_s, u"name"_s, u"palace"_s, u"lines"_s}));
            QCOMPARE(changed[u"key"_s].toString(), qs(chart.changed->key));
            QCOMPARE(changed[u"text"_s].toString(), qs(chart.changed->text));
            const QJsonArray clines = changed[u"lines"_s].toArray();
            QCOMPARE(clines.size(), 6);
            for (int n = 1; n <= 6; ++n) {
                const ChartLine &l = chart.line(n);
                const QJsonObject j = clines[n - 1].toObject();
                QCOMPARE(keysOf(j),
                         setOf({u"position"_s, u"yang"_s, u"branch"_s, u"element"_s, u"relative"_s, u"strength"_s}));
                QCOMPARE(j[u"position"_s].toInt(), n);
                // A moving line flips, a still one keeps its value.
                QCOMPARE(j[u"yang"_s].toBool(), (l.cast.value == u'1') != l.cast.moving);
                QCOMPARE(j[u"relative"_s].toString() + j[u"branch"_s].toString() + j[u"element"_s].toString(),
                         qs(relativeLabel(l.changedRelative, l.changedBranch)));
            }
        }

        const QJsonObject types = o[u"types"_s].toObject();
        QCOMPARE(keysOf(types), setOf({u"original"_s, u"changed"_s}));
        QCOMPARE(types[u"original"_s].toString(), qs(hexagramTypeName(chart.analysis.originalType)));
        QCOMPARE(types[u"changed"_s].toString(), moving ? qs(hexagramTypeName(chart.analysis.changedType)) : QString());

        // 反吟/伏吟 of the halves and the hexagram: the same words in the JSON and at the end of the text's hexagram
        // row.
        QStringList fanFu;
        for (std::u16string_view w : chart.analysis.fanFuWords())
            fanFu << qs(w);
        QCOMPARE(o[u"fanfu"_s].toVariant().toStringList(), fanFu);
        QVERIFY(qs(chartText(chart)).split(u'\n').filter(u"本卦："_s).front().endsWith(fanFu.join(u'\u3000')));

        const QJsonObject gs = o[u"guashen"_s].toObject();
        QCOMPARE(gs[u"branch"_s].toString(), qs(branchName(chart.analysis.guaShen->branch)));
        // Every line carrying the branch, and no other.
        QList<int> carrying;
        for (int n = 1; n <= 6; ++n)
            if (branchName(chart.line(n).branch) == u16(gs[u"branch"_s].toString()))
                carrying << n;
        QList<int> positions;
        for (const QJsonValue &v : gs[u"positions"_s].toArray())
            positions << v.toInt();
        QCOMPARE(positions, carrying);

        const QJsonObject sha = o[u"shensha"_s].toObject();
        QCOMPARE(sha.size(), timed ? 11 : 0);
        for (const ShenShaEntry &e : chart.analysis.shenSha)
            QCOMPARE(sha[qs(shenShaName(e.kind))].toArray().size(), e.count);
    }
};

QTEST_GUILESS_MAIN(TestChartText)
#include "tst_charttext.moc"
