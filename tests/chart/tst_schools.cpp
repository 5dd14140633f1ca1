// The readings of the schools (流派): each table takes its expectations from
// the rule the books give (quoted beside it) and from the worked examples of
// 增删卜易 the schools must reproduce.

#include "calendar/pillars.h"
#include "chart/chart.h"
#include "chart/charttext.h"
#include "chart/yingqi.h"
#include "common/writtenchart.h"
#include "qtcore/textconv.h"

#include <QDateTime>
#include <QTest>

#include <algorithm>

using namespace lotgrid;
using namespace Qt::StringLiterals;

namespace {

QString joined(const std::vector<std::u16string> &words)
{
    QStringList out;
    for (const auto &w : words)
        out << qs(w);
    return out.join(u' ');
}

} // namespace

class TestSchools : public QObject
{
    Q_OBJECT

private slots:
    // 两现章 (古法, then 以空破之爻定应期), 卜筮正宗 十八问答 (持世 first), and 飞伏神章:
    // 用神不现者，即以日月为用神 (增删卜易); 查变爻 (卜筮正宗); the 伏神 (通行).
    void useGod_data()
    {
        QTest::addColumn<QString>("cast");
        QTest::addColumn<QString>("school");
        QTest::addColumn<QString>("words");
        const QString jiaRen = u"787897 2000-04-27 12:00 求财"_s; // 旬空章: 丑财持世遇旬空, 未财 旺 in 辰月
        QTest::newRow("家人之贲 增删") << jiaRen << u"增删卜易"_s
                                       << u"占类：求财  用神：妻财（四爻）  两现：二爻  定应期：二爻"_s;
        QTest::newRow("家人之贲 卜筮") << jiaRen << u"卜筮正宗"_s << u"占类：求财  用神：妻财（二爻）  两现：四爻"_s;
        QTest::newRow("家人之贲 通行") << jiaRen << u"通行"_s << u"占类：求财  用神：妻财（四爻）  两现：二爻"_s;
        const QString gou = u"877777 2021-02-10 12:00 求财"_s; // 姤 占妻财, 寅月: 寅财伏于亥下
        QTest::newRow("姤 寅月 增删") << gou << u"增删卜易"_s << u"占类：求财  用神：妻财（月建寅）"_s;
        QTest::newRow("姤 寅月 通行") << gou << u"通行"_s << u"占类：求财  用神：妻财（伏于二爻）"_s;
        QTest::newRow("姤 卯日 增删") << u"877777 2000-04-27 12:00 求财"_s << u"增删卜易"_s
                                      << u"占类：求财  用神：妻财（日建卯）"_s;
        // 泰 (坤宫) has no 火: 二爻寅化午 (void) and 五爻亥化巳 carry 父母; 卜筮正宗 takes the void one.
        QTest::newRow("泰 变爻 卜筮") << u"997866 2021-02-10 12:00 父母"_s << u"卜筮正宗"_s
                                      << u"占类：父母  用神：父母（二爻变）  又变于：五爻"_s;
    }
    void useGod()
    {
        QFETCH(QString, cast);
        QFETCH(QString, school);
        QFETCH(QString, words);
        QCOMPARE(qs(useGodWords(chartAt(cast, school))), words);
    }

    // 飞伏神章: 伏神有用 (旺相, 得月日飞神动爻生, 飞神被冲克, 飞神空破休囚墓绝) and
    // 无用 (休囚, 被月日冲克, 旺相飞神克, 墓绝于月日飞神, 休囚值空破).
    void fuShen_data()
    {
        QTest::addColumn<int>("hidden");
        QTest::addColumn<int>("flying");
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("day");
        QTest::addColumn<QString>("state");
        // 寅木 under 亥水 in 寅月 午日: 旺, 飞神生; nothing holds it (木 at 午 死, not 墓绝).
        QTest::newRow("旺而飞生") << 2 << 11 << 2 << 6 << u"得出"_s;
        // 寅木 under 申金 in 申月 申日: 月日冲克, 旺金克之, 绝于申; nothing helps.
        QTest::newRow("月日冲克") << 2 << 8 << 8 << 8 << u"难出"_s;
        // 寅木 under 亥水 in 酉月 子日: 日生, 飞生 — but 死 in the month, 月克.
        QTest::newRow("有生有克") << 2 << 11 << 9 << 0 << u"有阻"_s;
    }
    void fuShen()
    {
        QFETCH(int, hidden);
        QFETCH(int, flying);
        QFETCH(int, month);
        QFETCH(int, day);
        QFETCH(QString, state);
        const FuShenOutlook o
            = fuShenOutlook(branchAt(hidden), branchAt(flying), false, false, branchAt(month), branchAt(day), {});
        QCOMPARE(qs(FuShenStateNames[static_cast<std::size_t>(o.state)]), state);
    }

    // 用神宜旺: 得用临日月，或遇日月动爻变爻生扶，或用爻遇长生、逢帝旺，皆谓之旺.
    void strength_data()
    {
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("day");
        QTest::addColumn<int>("mover"); // a moving line's branch at 三爻, or -1
        QTest::addColumn<QString>("why");
        QTest::newRow("临月") << 0 << 0 << 3 << -1 << u"临月建"_s;
        QTest::newRow("日生") << 6 << 11 << 3 << -1 << u"日建生"_s;   // 午 in 亥月 卯日
        QTest::newRow("长生") << 8 << 3 << 5 << -1 << u"日建长生"_s;  // 申金 on a 巳 day
        QTest::newRow("动生") << 6 << 0 << 0 << 2 << u"三爻动生"_s;   // 午 in 子月子日, 寅 moving
        QTest::newRow("月破不扶") << 10 << 4 << 3 << -1 << QString(); // 戌 in 辰月 卯日: broken, not helped
        QTest::newRow("衰") << 9 << 3 << 6 << -1 << QString();        // 酉 in 卯月 午日
    }
    void strength()
    {
        QFETCH(int, line);
        QFETCH(int, month);
        QFETCH(int, day);
        QFETCH(int, mover);
        QFETCH(QString, why);
        std::vector<std::pair<int, Branch>> movers;
        if (mover >= 0)
            movers.emplace_back(3, branchAt(mover));
        QCOMPARE(joined(bookStrongReasons(branchAt(line), branchAt(month), branchAt(day), movers)), why);
    }

    // 旬空章 (旺不为空，动不为空，有日建动爻生扶者亦不为空), 月破章 (动而逢日生、化生不为
    // 真破; 兑之讼: 冲空则实不为空), and 化合.
    void marks_data()
    {
        QTest::addColumn<QString>("cast");
        QTest::addColumn<QString>("school");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("words");
        const QString dui = u"978776 2000-11-27 12:00 功名"_s; // 兑之讼, 亥月 己丑日, 旬空 午未
        QTest::newRow("动空逢冲 增删") << dui << u"增删卜易"_s << 6 << u"冲实 假空 化进神"_s;
        QTest::newRow("动空逢冲 通行") << dui << u"通行"_s << 6 << u"化进神"_s;
        QTest::newRow("动而月破") << dui << u"增删卜易"_s << 1 << u"月破 目下破 回头生"_s;
        // 乾之夬, 辰月 戊子日: 午 void, 休 in the month, static, 子日 克之.
        QTest::newRow("静空无助") << u"777779 2005-05-04 12:00 父母"_s << u"增删卜易"_s << 4 << u"冲实 真空"_s;
        QTest::newRow("化合") << u"778966 2021-02-10 12:00"_s << u"增删卜易"_s << 6 << u"化合"_s;
    }
    void marks()
    {
        QFETCH(QString, cast);
        QFETCH(QString, school);
        QFETCH(int, line);
        QFETCH(QString, words);
        QStringList got;
        for (auto w : lineMarkWords(chartAt(cast, school), line))
            got << qs(w);
        QVERIFY2(got.join(u' ').contains(words), qPrintable(got.join(u' ')));
    }

    // 三合章: 三爻动; 两爻动一爻不动; 内卦初爻、三爻动而变出之爻成三合; 外卦四爻、六爻同.
    void harmonies_data()
    {
        QTest::addColumn<QString>("cast");
        QTest::addColumn<QString>("school");
        QTest::addColumn<QString>("formed");
        const QString dui = u"978776 2000-11-27 12:00"_s; // 亥卯未 and 巳酉丑, one mover each
        QTest::newRow("一动 增删") << dui << u"增删卜易"_s << QString();
        QTest::newRow("一动 通行") << dui << u"通行"_s << u"木 金"_s;
        // 大壮 子寅辰午申戌: 申子辰 all moving; 寅午 moving, 戌 static.
        QTest::newRow("三爻动") << u"999968 2021-02-10 12:00"_s << u"增删卜易"_s << u"水三爻动 火两动一静"_s;
        QTest::newRow("两动一静") << u"978989 2021-02-10 12:00"_s << u"增删卜易"_s << u"金两动一静"_s;
        QTest::newRow("内卦") << u"686899 2021-02-10 12:00"_s << u"增删卜易"_s << u"木内卦初三爻动变"_s;
        QTest::newRow("外卦") << u"699686 2021-02-10 12:00"_s << u"增删卜易"_s << u"金外卦四六爻动变"_s;
    }
    void harmonies()
    {
        QFETCH(QString, cast);
        QFETCH(QString, school);
        QFETCH(QString, formed);
        QStringList got;
        for (const Harmony &h : chartAt(cast, school).reading.harmonies)
            got << qs(elementName(h.element)) + qs(h.form);
        QCOMPARE(got.join(u' '), formed);
    }

    // 各门类应期总注 and the chapters' cases: each row a candidate that must be listed.
    void yingqi_data()
    {
        QTest::addColumn<QString>("cast");
        QTest::addColumn<QString>("school");
        QTest::addColumn<QString>("candidate"); // date, branch, line, rule
        // 月破章 乾之夬: 卯日有信 (破而逢合), 乙未日到家 (父化未土旬空出空之日).
        const QString qian = u"777779 2005-05-04 12:00 父母"_s;
        QTest::newRow("破而逢合") << qian << u"增删卜易"_s << u"2005-05-07 卯 合"_s;
        QTest::newRow("化空出空") << qian << u"增删卜易"_s << u"2005-05-11 未 出空"_s;
        QTest::newRow("化退神") << qian << u"增删卜易"_s << u"2005-05-11 未 进退"_s;
        // 遇六合亦宜相击: the world line 丑 held by the 子 month; 午 clashes its partner.
        QTest::newRow("合宜相击") << u"978788 2000-01-01 12:00"_s << u"增删卜易"_s << u"2000-01-13 午 冲"_s;
        // 太旺者逢墓: 寅 in 卯月 卯日 meets its tomb 未 (辛未).
        QTest::newRow("太旺逢墓") << u"777777 2000-03-10 12:00 求财"_s << u"增删卜易"_s << u"2000-03-14 未 逢墓"_s;
        // 入三墓俱喜冲开: 家人 丑 moving into 辰, opened by 戌 (甲戌).
        QTest::newRow("化墓冲开") << u"969677 2000-03-10 12:00 求财"_s << u"增删卜易"_s << u"2000-03-17 戌 冲墓"_s;
        // 两现: the void 丑 of 家人之贲 times the matter.
        QTest::newRow("两现出空") << u"787897 2000-04-27 12:00 求财"_s << u"增删卜易"_s << u"2000-05-06 子 两现出空"_s;
        // 进神退神章 随之否: 忌神未化戌, 戌空, 卒于甲戌日.
        QTest::newRow("忌神出空") << u"988776 2024-01-03 12:00 父母"_s << u"增删卜易"_s << u"2024-01-11 戌 忌神出空"_s;
        // 飞神合伏: 酉 hidden under a moving 辰 is held, and its 卯 day clashes it open.
        QTest::newRow("飞神合伏") << u"766887 2023-03-09 00:52 婚恋 女"_s << u"通行"_s << u"2023-03-10 卯 冲"_s;
    }
    void yingqi()
    {
        QFETCH(QString, cast);
        QFETCH(QString, school);
        QFETCH(QString, candidate);
        QStringList got;
        for (const YingqiCandidate &c : yingqiOf(chartAt(cast, school)))
            got << qs(isoDate(c.date)) + u' ' + qs(branchName(c.branch())) + u' '
                       + qs(YingqiLineNames[static_cast<std::size_t>(c.line)]) + qs(yingqiRuleName(c.rule));
        QVERIFY2(got.contains(candidate), qPrintable(got.join(u", ")));
    }

    // The days and months looked for stop at the chart's last day, and the text says so.
    void yingqiCutOff()
    {
        const std::u16string text = chartText(chartAt(u"777777 2100-12-01 12:00 求财"_s, u"通行"_s));
        QVERIFY(qs(text).contains(u"（止于2100-12-31）"_s));
        QVERIFY(!qs(chartText(chartAt(u"777777 2099-06-01 12:00 求财"_s, u"通行"_s))).contains(u"止于"_s));
    }
};

QTEST_APPLESS_MAIN(TestSchools)
#include "tst_schools.moc"
