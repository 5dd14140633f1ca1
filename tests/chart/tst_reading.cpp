// The reading against the rules written out again here: the seasons from the
// five-phase cycle, the stages from each element's 长生 branch, the ties of a
// build from the clash and combination pairs, the use god on hand-picked
// charts with two lines of its relative, and the harmonies, tombs and related
// hexagrams of charts worked by hand.
#include "chart/chart.h"
#include "widgets/textconv.h"

#include <QTest>

using namespace lotgrid;
using namespace Qt::StringLiterals;

namespace {

constexpr std::u16string_view Names = u"子丑寅卯辰巳午未申酉戌亥";

int at(char16_t c)
{
    return static_cast<int>(Names.find(c));
}

// The element as practitioners list the branches: 寅卯 木, 巳午 火, 申酉 金, 亥子 水, the rest 土.
char16_t element(int b)
{
    return u"水土木木土火火土金金土水"[b];
}

// "777888" in 6/7/8/9 notation, the month build and the day pillar ("甲子") each optional.
CastInput cast(const QString &lines, const QString &month = {}, const QString &day = {})
{
    CastInput in;
    for (int n = 1; n <= 6; ++n) {
        const QChar c = lines[n - 1];
        in.line(n) = {c == u'7' || c == u'9' ? u'1' : u'0', c == u'6' || c == u'9'};
    }
    if (!month.isEmpty())
        in.monthBuild = static_cast<Branch>(at(month[0].unicode()));
    if (!day.isEmpty()) {
        in.dayStem = static_cast<int>(std::u16string_view(u"甲乙丙丁戊己庚辛壬癸").find(day[0].unicode()));
        in.dayBuild = static_cast<Branch>(at(day[1].unicode()));
    }
    return in;
}

QString describeUseGod(const Chart &c)
{
    const auto &g = c.reading.useGod;
    if (!g)
        return {};
    QString s = g->source == UseGodSource::Manual ? u"manual "_s : u"auto "_s;
    s += (g->world ? u"世"_s : g->hidden ? u"伏"_s : QString()) + QString::number(g->position) + u" ["_s;
    for (int p : g->candidates)
        s += QString::number(p);
    s += u"] "_s;
    for (const LineReading &l : c.reading.lines)
        s += l.support == Support::None ? u"·"_s : qs(supportName(l.support)).left(1);
    return s;
}

QString describeRelations(const Chart &c)
{
    QStringList out;
    for (const Harmony &h : c.reading.harmonies) {
        QString s = qs(elementName(h.element)) + u"局"_s;
        for (const HarmonyMember &m : h.members)
            s += qs(branchName(m.branch))
                 + (m.source == HarmonySource::Month ? u"月"_s
                    : m.source == HarmonySource::Day
                        ? u"日"_s
                        : (m.source == HarmonySource::Changed ? u"变"_s : QString()) + QString::number(m.position));
        out << s;
    }
    for (const Tomb &t : c.reading.tombs)
        out << u"墓%1%2"_s.arg(t.position).arg(qs(tombByName(t.by)) + (t.from ? QString::number(t.from) : QString()));
    const Reading &r = c.reading;
    out << qs(hexagramName(*r.hu)) + u"/"_s + qs(hexagramName(*r.cuo)) + u"/"_s + qs(hexagramName(*r.zong));
    return out.join(u' ');
}

} // namespace

class TestReading : public QObject
{
    Q_OBJECT
private slots:
    // Every line branch against every month and day build: the season by the
    // cycle 木火土金水 (the line's place after the month's: 0 旺, 1 相, 2 死,
    // 3 囚, 4 休), the ties by the pairs, and strong by the rule.
    void strengthSweep()
    {
        const std::u16string_view cycle = u"木火土金水";
        const auto step
            = [&](int from, int to) { return (cycle.find(element(to)) + 5 - cycle.find(element(from))) % 5; };
        for (int line = 0; line < 12; ++line)
            for (int month = 0; month < 12; ++month)
                for (int day = 0; day < 12; ++day) {
                    const bool broken = (line - month + 12) % 12 == 6;
                    const auto s
                        = strengthOf(static_cast<Branch>(line), static_cast<Branch>(month), static_cast<Branch>(day),
                                     broken ? std::vector{StaticMark::MonthBroken} : std::vector<StaticMark>{});
                    QVERIFY(s && s->season && s->day);
                    const int season = static_cast<int>(step(month, line));
                    QCOMPARE(qs(seasonName(*s->season)), QString(QChar(u"旺相死囚休"[season])));
                    QString ties;
                    const int d = static_cast<int>(step(day, line));
                    if (line == day)
                        ties += u'临';
                    if (d == 1)
                        ties += u'生';
                    if (d == 0 && line != day)
                        ties += u'扶';
                    if (d == 2)
                        ties += u'克';
                    if ((line + day) % 12 == 1)
                        ties += u'合';
                    if ((line - day + 12) % 12 == 6)
                        ties += u'冲';
                    QString got;
                    for (Tie t : s->day->ties)
                        got += qs(tieName(t));
                    QCOMPARE(got, ties);
                    QCOMPARE(s->monthBroken, broken);
                    QCOMPARE(s->strong, (season <= 1 || d <= 1) && !broken);
                }
    }

    // Each element's twelve stages counted forward from its 长生 branch (木亥
    // 火寅 金巳 水申 土申), and the tombs every text names: 木未 火戌 金丑 水辰 土辰.
    void stages()
    {
        const QStringList stageWords = u"长生 沐浴 冠带 临官 帝旺 衰 病 死 墓 绝 胎 养"_s.split(u' ');
        for (const auto &[e, birth, tomb] : {std::tuple{Element::Wood, u'亥', u'未'},
                                             {Element::Fire, u'寅', u'戌'},
                                             {Element::Metal, u'巳', u'丑'},
                                             {Element::Water, u'申', u'辰'},
                                             {Element::Earth, u'申', u'辰'}}) {
            for (int b = 0; b < 12; ++b)
                QCOMPARE(qs(stageName(stageAt(e, static_cast<Branch>(b)))), stageWords[(b - at(birth) + 12) % 12]);
            QCOMPARE(stageAt(e, static_cast<Branch>(at(tomb))), Stage::Tomb);
        }
    }

    void useGod_data()
    {
        QTest::addColumn<QString>("lines");
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("sex");
        QTest::addColumn<QString>("month");
        QTest::addColumn<QString>("day");
        QTest::addColumn<int>("mark"); // > 0 用神 on that line, < 0 伏神
        QTest::addColumn<QString>("expected");
        // 地天泰: 妻财 子水 on line 1 and 亥水 on line 5; 原神 酉金, 忌神 the two 土 lines.
        QTest::newRow("泰 求财 两现 static: the lower") << "777888"
                                                        << "求财"
                                                        << ""
                                                        << ""
                                                        << "" << 0 << "auto 1 [5] ··忌忌·原";
        QTest::newRow("泰 求财 line 5 moving though void") << "777868"
                                                           << "求财"
                                                           << ""
                                                           << ""
                                                           << "甲子" << 0 << "auto 5 [1] ··忌忌·原";
        QTest::newRow("泰 求财 午月 breaks line 1") << "777888"
                                                    << "求财"
                                                    << ""
                                                    << "午"
                                                    << "" << 0 << "auto 5 [1] ··忌忌·原";
        QTest::newRow("泰 求财 甲寅旬 line 1 void") << "777888"
                                                    << "求财"
                                                    << ""
                                                    << ""
                                                    << "甲寅" << 0 << "auto 5 [1] ··忌忌·原";
        QTest::newRow("大畜 求财 应 over idle") << "777887"
                                                << "求财"
                                                << ""
                                                << ""
                                                << "" << 0 << "auto 5 [1] ··忌忌··";
        // 天风姤: 父母 丑 (世) and 戌; in a 未 month 丑 is broken, 戌 旺.
        QTest::newRow("姤 父母 世 and lower") << "877777"
                                              << "父母"
                                              << ""
                                              << ""
                                              << "" << 0 << "auto 1 [6] ·仇·原··";
        QTest::newRow("姤 父母 未月 breaks 世") << "877777"
                                                << "父母"
                                                << ""
                                                << "未"
                                                << "" << 0 << "auto 6 [1] ·仇·原··";
        QTest::newRow("姤 求财 hidden under line 2") << "877777"
                                                     << "求财"
                                                     << ""
                                                     << ""
                                                     << "" << 0 << "auto 伏2 [] 仇原忌·忌仇";
        QTest::newRow("姤 自身 the world line") << "877777"
                                                << "自身"
                                                << ""
                                                << ""
                                                << "" << 0 << "auto 世1 [] ·仇·原··";
        QTest::newRow("姤 婚恋 without a sex") << "877777"
                                               << "婚恋"
                                               << ""
                                               << ""
                                               << "" << 0 << "";
        QTest::newRow("姤 婚恋 女 官鬼") << "877777"
                                         << "婚恋"
                                         << "女"
                                         << ""
                                         << "" << 0 << "auto 4 [] ·忌仇·仇·";
        QTest::newRow("泰 hand-picked line 3") << "777888"
                                               << "求财"
                                               << ""
                                               << ""
                                               << "" << 3 << "manual 3 [4] 仇忌··仇·";
        QTest::newRow("泰 伏神 mark keeps 求财") << "777888"
                                                 << "求财"
                                                 << ""
                                                 << ""
                                                 << "" << -1 << "auto 1 [5] ··忌忌·原";
        QTest::newRow("泰 no category") << "777888"
                                        << ""
                                        << ""
                                        << ""
                                        << "" << 0 << "";
    }
    void useGod()
    {
        QFETCH(QString, lines);
        QFETCH(QString, category);
        QFETCH(QString, sex);
        QFETCH(QString, month);
        QFETCH(QString, day);
        QFETCH(int, mark);
        QFETCH(QString, expected);
        CastInput in = cast(lines, month, day);
        in.category = categoryFromText(u16(category));
        in.sex = sexFromText(u16(sex));
        QCOMPARE(in.category.has_value(), !category.isEmpty());
        if (mark)
            in.mark = {mark > 0 ? MarkKind::UseGod : MarkKind::Hidden, std::abs(mark)};
        QCOMPARE(describeUseGod(chartOf(in)), expected);
    }

    void relations_data()
    {
        QTest::addColumn<QString>("lines");
        QTest::addColumn<QString>("month");
        QTest::addColumn<QString>("day");
        QTest::addColumn<QString>("expected");
        // 地天泰 子寅辰 丑亥酉: 申 from the month completes 申子辰 once 子 moves.
        const QString tai = u" 雷泽归妹/天地否/天地否"_s;
        QTest::newRow("泰 still, no builds") << "777888"
                                             << ""
                                             << "" << tai.mid(1);
        QTest::newRow("泰 still, 申月: no moving line, no 局") << "777888"
                                                               << "申"
                                                               << "" << tai.mid(1);
        QTest::newRow("泰 子 moving, 申月") << "977888"
                                            << "申"
                                            << "" << u"水局申月子1辰3"_s + tai;
        // On a 辰 day the water and earth lines are in their tomb; a moving 辰 is the tomb of the others.
        QTest::newRow("泰 辰 moving, 戊辰日") << "779888"
                                              << ""
                                              << "戊辰" << u"墓1日 墓1动3 墓3日 墓4日 墓4动3 墓5日 墓5动3"_s + tai;
        // 地泽临 巳卯丑 丑亥酉: the moving 丑 changes to 辰, its own tomb, and is the tomb of 酉金.
        const QString lin = u" 墓3变 墓6动3 地雷复/天山遁/风地观"_s;
        QTest::newRow("临 丑 moving to 辰") << "776888"
                                            << ""
                                            << "" << u"金局巳1酉6丑3"_s + lin;
        QTest::newRow("临 丑 moving to 辰, 申月 甲子日") << "776888"
                                                         << "申"
                                                         << "甲子" << u"水局申月子日辰变3 金局巳1酉6丑3"_s + lin;
        QTest::newRow("屯 related") << "788878"
                                    << ""
                                    << ""
                                    << "山地剥/火风鼎/山水蒙";
        QTest::newRow("乾 related") << "777777"
                                    << ""
                                    << ""
                                    << "乾为天/坤为地/乾为天";
    }
    void relations()
    {
        QFETCH(QString, lines);
        QFETCH(QString, month);
        QFETCH(QString, day);
        QFETCH(QString, expected);
        QCOMPARE(describeRelations(chartOf(cast(lines, month, day))), expected);
    }

    void names()
    {
        for (const CategoryRow &row : Categories)
            QCOMPARE(categoryFromText(categoryName(row.category)), row.category);
        QCOMPARE(sexFromText(u"女"), Sex::Female);
        QVERIFY(!categoryFromText(u"求官") && !sexFromText(u"M"));
    }
};

QTEST_GUILESS_MAIN(TestReading)
#include "tst_reading.moc"
