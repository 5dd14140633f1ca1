// The analysis marks against the rules as practitioners state them, written
// out again here from branch arithmetic, the element lists and the classical
// verses: every month/day pair for every static branch, every hexagram with
// every set of moving lines, and the 神煞 of every stem, branch and month.
#include "chart/analysis.h"
#include "qtcore/textconv.h"

#include <QTest>

#include <set>

using namespace lotgrid;
using namespace Qt::StringLiterals;

namespace {

constexpr std::u16string_view Names = u"子丑寅卯辰巳午未申酉戌亥";

// Trigrams by their lines as bits, line 1 the lowest: 坤 000, 震 line 1 yang, .. 乾 111.
constexpr std::u16string_view TrigramByBits = u"坤震坎兑艮离巽乾";

int at(char16_t branch)
{
    return static_cast<int>(Names.find(branch));
}

Branch br(char16_t branch)
{
    return static_cast<Branch>(at(branch));
}

int at(Branch b)
{
    return static_cast<int>(b);
}

int mod12(int i)
{
    return ((i % 12) + 12) % 12;
}

// The element of a branch as the practitioner lists it: 寅卯 木, 巳午 火, 申酉 金, 亥子 水, 辰戌丑未 土.
char16_t element(int b)
{
    const std::u16string_view c = Names.substr(static_cast<std::size_t>(b), 1);
    for (const auto &[branches, e] : {std::pair{u"寅卯", u'木'}, std::pair{u"巳午", u'火'}, std::pair{u"申酉", u'金'},
                                      std::pair{u"亥子", u'水'}, std::pair{u"辰戌丑未", u'土'}})
        if (std::u16string_view(branches).find(c) != std::u16string_view::npos)
            return e;
    return 0;
}

bool follows(std::u16string_view cycle, char16_t a, char16_t b)
{
    const auto i = cycle.find(a);
    return cycle[(i + 1) % cycle.size()] == b;
}
bool sheng(char16_t a, char16_t b)
{
    return follows(u"木火土金水", a, b);
}
bool ke(char16_t a, char16_t b)
{
    return follows(u"木土水火金", a, b);
}
bool chong(int a, int b)
{
    return mod12(a - b) == 6;
}
bool he(int a, int b)
{
    for (std::u16string_view pair : {u"子丑", u"寅亥", u"卯戌", u"辰酉", u"巳申", u"午未"})
        if ((at(pair[0]) == a && at(pair[1]) == b) || (at(pair[1]) == a && at(pair[0]) == b))
            return true;
    return false;
}

QString expectedStatic(int line, std::optional<int> month, std::optional<int> day, bool isVoid = false)
{
    if (!month)
        return {};
    if (chong(line, *month))
        return u"月破"_s;
    if (!day || !chong(line, *day))
        return {};
    if (isVoid) // 空逢冲则实
        return u"冲实"_s;
    const char16_t l = element(line), m = element(*month);
    return l == m || sheng(m, l) ? u"暗动"_s : u"日破"_s;
}

// Tomb and cut-off branch of each element as listed: 木 墓未 绝申, 火 墓戌 绝亥, 金 墓丑 绝寅, 水 and 土 墓辰 绝巳.
std::pair<int, int> tombAndCut(char16_t e)
{
    switch (e) {
    case u'木':
        return {at(u'未'), at(u'申')};
    case u'火':
        return {at(u'戌'), at(u'亥')};
    case u'金':
        return {at(u'丑'), at(u'寅')};
    default:
        return {at(u'辰'), at(u'巳')};
    }
}

// Void branches of day `index` (0 = 甲子) of the cycle: the two branches no day of its decade carries.
std::set<int> voidsOfDay(int index)
{
    std::set<int> voids;
    for (int b = 0; b < 12; ++b)
        voids.insert(b);
    const int first = index - index % 10;
    for (int k = 0; k < 10; ++k)
        voids.erase((first + k) % 12);
    return voids;
}

QStringList expectedChanges(int o, int c, const std::set<int> *voids, std::optional<int> month = {})
{
    QStringList words;
    const char16_t eo = element(o), ec = element(c);
    const int step = eo == u'土' ? 3 : 1;
    if (eo == ec && mod12(c - o) == step)
        words << u"化进神"_s;
    if (eo == ec && mod12(o - c) == step)
        words << u"化退神"_s;
    if (sheng(ec, eo))
        words << u"回头生"_s;
    if (ke(ec, eo))
        words << u"回头克"_s;
    const auto [tomb, cut] = tombAndCut(eo);
    if (c == tomb)
        words << u"化墓"_s;
    if (c == cut)
        words << u"化绝"_s;
    if (voids && voids->contains(c))
        words << u"化空"_s;
    if (month && chong(c, *month))
        words << u"化月破"_s;
    if (c == o)
        words << u"伏吟"_s;
    if (chong(c, o))
        words << u"反吟"_s;
    return words;
}

QStringList words(const std::vector<Change> &changes)
{
    QStringList out;
    for (Change c : changes)
        out << qs(changeName(c));
    return out;
}

std::u16string flippedKey(std::u16string_view key, int mask)
{
    std::u16string k(key);
    for (int i = 0; i < 6; ++i)
        if (mask & (1 << i))
            k[static_cast<std::size_t>(i)] = k[static_cast<std::size_t>(i)] == u'1' ? u'0' : u'1';
    return k;
}

QString rowName(const HexagramRow &row)
{
    const QString text = qs(row.text);
    return text.left(text.indexOf(u' '));
}

// A day stem and branch for each of a few days of the cycle, by index 0 = 甲子.
std::pair<int, Branch> pillar(int index)
{
    return {index % 10, static_cast<Branch>(index % 12)};
}

QString shenShaText(const std::vector<ShenShaEntry> &entries)
{
    QStringList parts;
    for (const ShenShaEntry &e : entries) {
        QString s = qs(shenShaName(e.kind)) + u'：';
        for (Branch b : e.list())
            s += qs(branchName(b));
        parts << s;
    }
    return parts.join(u' ');
}

// A classical list "甲丑未 乙子申 …" as the text after the key character `key`.
QString fromList(std::u16string_view list, char16_t key)
{
    const QString all = qs(list);
    for (const QString &item : all.split(u' '))
        if (item.front() == QChar(key))
            return item.mid(1);
    return {};
}

} // namespace

class TestAnalysis : public QObject
{
    Q_OBJECT
private slots:
    void staticLine_data()
    {
        QTest::addColumn<int>("line");
        for (int b = 0; b < 12; ++b)
            QTest::newRow(qs(Names.substr(static_cast<std::size_t>(b), 1)).toUtf8().constData()) << b;
    }
    // Every month and day build, each also unknown, for a static line of this branch, void or not.
    void staticLine()
    {
        QFETCH(int, line);
        for (int m = -1; m < 12; ++m) {
            for (int d = -1; d < 12; ++d) {
                const std::optional<int> month = m < 0 ? std::nullopt : std::optional(m);
                const std::optional<int> day = d < 0 ? std::nullopt : std::optional(d);
                for (bool isVoid : {false, true}) {
                    const StaticMark mark
                        = staticMark(static_cast<Branch>(line), month ? std::optional(branchAt(*month)) : std::nullopt,
                                     day ? std::optional(branchAt(*day)) : std::nullopt, isVoid);
                    QCOMPARE(qs(staticMarkName(mark)), expectedStatic(line, month, day, isVoid));
                }
            }
        }
    }

    void staticLineWorked_data()
    {
        QTest::addColumn<QString>("lmd"); // line, month, day
        QTest::addColumn<QString>("mark");
        QTest::newRow("午 in 子 month") << u"午子卯"_s << u"月破"_s;
        QTest::newRow("午 in 子 month, 子 day") << u"午子子"_s << u"月破"_s;
        QTest::newRow("寅木 in 亥水 month, 申 day") << u"寅亥申"_s << u"暗动"_s;
        QTest::newRow("寅木 in 卯木 month, 申 day") << u"寅卯申"_s << u"暗动"_s;
        QTest::newRow("寅木 in 午火 month, 申 day") << u"寅午申"_s << u"日破"_s;
        QTest::newRow("辰土 in 巳火 month, 戌 day") << u"辰巳戌"_s << u"暗动"_s;
        QTest::newRow("辰土 in 丑土 month, 戌 day") << u"辰丑戌"_s << u"暗动"_s;
        QTest::newRow("辰土 in 子水 month, 戌 day") << u"辰子戌"_s << u"日破"_s;
        QTest::newRow("子水 in 辰土 month, 午 day") << u"子辰午"_s << u"日破"_s;
        QTest::newRow("子水 in 申金 month, 午 day") << u"子申午"_s << u"暗动"_s;
        QTest::newRow("子水 in 申金 month, 丑 day") << u"子申丑"_s << u""_s;
    }
    void staticLineWorked()
    {
        QFETCH(QString, lmd);
        QFETCH(QString, mark);
        const std::u16string_view s = u16(lmd);
        QCOMPARE(qs(staticMarkName(staticMark(br(s[0]), br(s[1]), br(s[2])))), mark);
    }

    void changesOfEveryBranchPair()
    {
        for (int o = 0; o < 12; ++o)
            for (int c = 0; c < 12; ++c)
                QCOMPARE(words(lineChanges(static_cast<Branch>(o), static_cast<Branch>(c), std::nullopt)),
                         expectedChanges(o, c, nullptr));
    }

    void changesWorked_data()
    {
        QTest::addColumn<QString>("pair");
        QTest::addColumn<QString>("expected");
        QTest::newRow("亥 to 子") << u"亥子"_s << u"化进神"_s;
        QTest::newRow("子 to 亥") << u"子亥"_s << u"化退神"_s;
        QTest::newRow("戌 to 丑") << u"戌丑"_s << u"化进神"_s;
        QTest::newRow("丑 to 辰") << u"丑辰"_s << u"化进神 化墓"_s;
        QTest::newRow("辰 to 丑") << u"辰丑"_s << u"化退神"_s;
        QTest::newRow("亥 to 辰") << u"亥辰"_s << u"回头克 化墓"_s;
        QTest::newRow("寅 to 申") << u"寅申"_s << u"回头克 化绝 反吟"_s;
        QTest::newRow("午 to 亥") << u"午亥"_s << u"回头克 化绝"_s;
        QTest::newRow("午 to 寅") << u"午寅"_s << u"回头生"_s;
        QTest::newRow("酉 to 丑") << u"酉丑"_s << u"回头生 化墓"_s;
        QTest::newRow("寅 to 寅") << u"寅寅"_s << u"伏吟"_s;
        QTest::newRow("子 to 午") << u"子午"_s << u"反吟"_s;
        QTest::newRow("卯 to 未") << u"卯未"_s << u"化墓"_s;
    }
    void changesWorked()
    {
        QFETCH(QString, pair);
        QFETCH(QString, expected);
        const std::u16string_view s = u16(pair);
        QCOMPARE(words(lineChanges(br(s[0]), br(s[1]), std::nullopt)).join(u' '), expected);
    }

    // Each of the 64 hexagrams with each single line moving, on every day of the cycle and on no day.
    void singleMovingLine_data()
    {
        QTest::addColumn<int>("index");
        for (int i = 0; i < 64; ++i)
            QTest::newRow(qs(HexagramTable[static_cast<std::size_t>(i)].key).toLatin1().constData()) << i;
    }
    void singleMovingLine()
    {
        QFETCH(int, index);
        const HexagramRow &row = HexagramTable[static_cast<std::size_t>(index)];
        for (int line = 1; line <= 6; ++line) {
            const HexagramRow *changed = FindHexagramByKey(flippedKey(row.key, 1 << (line - 1)));
            QVERIFY(changed);
            const int o = at(row.branches[static_cast<std::size_t>(line - 1)]);
            const int c = at(changed->branches[static_cast<std::size_t>(line - 1)]);
            for (int day = -1; day < 60; ++day) {
                CastInput in;
                in.options = schoolPreset(School::Common);
                for (int n = 1; n <= 6; ++n)
                    in.line(n) = {row.key[static_cast<std::size_t>(n - 1)], n == line};
                std::set<int> voids;
                if (day >= 0) {
                    std::tie(in.dayStem, in.dayBuild) = pillar(day);
                    voids = voidsOfDay(day);
                }
                const Analysis a = analyse(in);
                for (int n = 1; n <= 6; ++n)
                    if (n != line)
                        QVERIFY(a.changes[static_cast<std::size_t>(n - 1)].empty());
                QCOMPARE(words(a.changes[static_cast<std::size_t>(line - 1)]),
                         expectedChanges(o, c, day >= 0 ? &voids : nullptr));
            }
        }
    }

    // Every hexagram with every set of moving lines, under every month and a few
    // days: 月破 on any line and the other marks on static ones, the changes
    // (化月破 among them) on the moving ones, the types of both hexagrams, 卦变反吟.
    void movingLineMasks_data()
    {
        QTest::addColumn<int>("index");
        for (int i = 0; i < 64; ++i)
            QTest::newRow(qs(HexagramTable[static_cast<std::size_t>(i)].key).toLatin1().constData()) << i;
    }
    void movingLineMasks()
    {
        QFETCH(int, index);
        const HexagramRow &row = HexagramTable[static_cast<std::size_t>(index)];
        for (int lower = 0; lower < 8; ++lower) {
            for (int upper = 0; upper < 8; ++upper) {
                const int mask = lower | (upper << 3);
                const HexagramRow *changed = FindHexagramByKey(flippedKey(row.key, mask));
                QVERIFY(changed);
                for (int k = 0; k < 36; ++k) {
                    const int day = std::array{0, 17, 43}[k / 12], month = k % 12; // 甲子, 辛巳, 丁未
                    CastInput in;
                    in.options = schoolPreset(School::Common);
                    for (int n = 1; n <= 6; ++n)
                        in.line(n) = {row.key[static_cast<std::size_t>(n - 1)], (mask & (1 << (n - 1))) != 0};
                    std::tie(in.dayStem, in.dayBuild) = pillar(day);
                    in.monthBuild = branchAt(month);
                    const std::set<int> voids = voidsOfDay(day);
                    const Analysis a = analyse(in);
                    for (int n = 1; n <= 6; ++n) {
                        const auto i = static_cast<std::size_t>(n - 1);
                        const int o = at(row.branches[i]);
                        if (mask & (1 << i)) {
                            QCOMPARE(qs(staticMarkName(a.marks[i])), chong(o, month) ? u"月破"_s : QString());
                            QCOMPARE(words(a.changes[i]), expectedChanges(o, at(changed->branches[i]), &voids, month));
                        } else {
                            QVERIFY(a.changes[i].empty());
                            QCOMPARE(qs(staticMarkName(a.marks[i])),
                                     expectedStatic(o, month, at(*in.dayBuild), voids.contains(o)));
                        }
                    }
                    // 卦变反吟: only a doubled trigram (named "乾为天" ..) with all six lines moving.
                    QCOMPARE(std::ranges::count(a.fanFu, FanFu::HexagramReverse),
                             mask == 63 && rowName(row).contains(u'为'));
                    QCOMPARE(a.originalType, hexagramType(row.branches));
                    QCOMPARE(a.changedType, mask ? hexagramType(changed->branches) : HexagramType::None);
                }
            }
        }
    }

    // The 六冲 and 六合 hexagrams found by the branch relations are the ones practitioners list.
    void typesAreTheListedOnes()
    {
        std::set<QString> clash, combine;
        for (const HexagramRow &row : HexagramTable) {
            const auto b = [&](int i) { return at(row.branches[static_cast<std::size_t>(i)]); };
            const bool allClash = chong(b(0), b(3)) && chong(b(1), b(4)) && chong(b(2), b(5));
            const bool allCombine = he(b(0), b(3)) && he(b(1), b(4)) && he(b(2), b(5));
            if (allClash)
                clash.insert(rowName(row));
            if (allCombine)
                combine.insert(rowName(row));
            const HexagramType expected = allClash     ? HexagramType::SixClash
                                          : allCombine ? HexagramType::SixCombine
                                                       : HexagramType::None;
            QCOMPARE(hexagramType(row.branches), expected);
        }
        const std::set<QString> listedClash{u"乾为天"_s, u"坤为地"_s, u"震为雷"_s, u"巽为风"_s,   u"坎为水"_s,
                                            u"离为火"_s, u"艮为山"_s, u"兑为泽"_s, u"天雷无妄"_s, u"雷天大壮"_s};
        const std::set<QString> listedCombine{u"天地否"_s, u"地天泰"_s, u"雷地豫"_s, u"地雷复"_s,
                                              u"水泽节"_s, u"泽水困"_s, u"山火贲"_s, u"火山旅"_s};
        QCOMPARE(clash, listedClash);
        QCOMPARE(combine, listedCombine);
        QCOMPARE(qs(hexagramTypeName(HexagramType::SixClash)), u"六冲"_s);
        QCOMPARE(qs(hexagramTypeName(HexagramType::SixCombine)), u"六合"_s);
        QVERIFY(hexagramTypeName(HexagramType::None).empty());
    }

    void typeChanges()
    {
        int clashToCombine = 0, combineToClash = 0;
        for (const HexagramRow &o : HexagramTable) {
            for (const HexagramRow &c : HexagramTable) {
                const HexagramType to = hexagramType(o.branches), tc = hexagramType(c.branches);
                const QString word = qs(typeChangeName(to, tc));
                if (to == HexagramType::SixClash && tc == HexagramType::SixCombine) {
                    QCOMPARE(word, u"六冲变六合"_s);
                    ++clashToCombine;
                } else if (to == HexagramType::SixCombine && tc == HexagramType::SixClash) {
                    QCOMPARE(word, u"六合变六冲"_s);
                    ++combineToClash;
                } else {
                    QVERIFY(word.isEmpty());
                }
            }
        }
        QCOMPARE(clashToCombine, 10 * 8);
        QCOMPARE(combineToClash, 8 * 10);

        // 地天泰 with lines 1, 2, 3 moving: 地天泰 becomes 坤为地, 六合变六冲.
        CastInput in;
        in.options = schoolPreset(School::Common);
        for (int n = 1; n <= 6; ++n)
            in.line(n) = {n <= 3 ? u'1' : u'0', n <= 3};
        const Analysis a = analyse(in);
        QCOMPARE(a.originalType, HexagramType::SixCombine);
        QCOMPARE(a.changedType, HexagramType::SixClash);
        QCOMPARE(qs(a.typeChange()), u"六合变六冲"_s);
    }

    // A trigram (line 1 the lowest bit) with every set of its lines moving, below
    // and above every still trigram. By the najia verses only 巽 and 坤 carry
    // branches that clash place by place (丑亥酉 against 未巳卯), and only 乾 and
    // 震 the same ones (子寅辰 午申戌); 卜筮正宗 adds the trigrams that face
    // each other on the later-heaven circle.
    void halfFanFu_data()
    {
        QTest::addColumn<int>("bits");
        for (int t = 0; t < 8; ++t)
            QTest::newRow(qs(TrigramByBits.substr(static_cast<std::size_t>(t), 1)).toUtf8().constData()) << t;
    }
    void halfFanFu()
    {
        QFETCH(int, bits);
        for (int mask = 1; mask < 8; ++mask) {
            const QString pair = qs(TrigramByBits.substr(static_cast<std::size_t>(bits), 1))
                                 + qs(TrigramByBits.substr(static_cast<std::size_t>(bits ^ mask), 1));
            for (int other = 0; other < 8; ++other)
                for (int half = 0; half < 2; ++half)
                    for (bool facing : {false, true}) {
                        const int lines = half ? other | bits << 3 : bits | other << 3;
                        CastInput in;
                        in.options = schoolPreset(School::Common);
                        for (int n = 1; n <= 6; ++n)
                            in.line(n) = {lines >> (n - 1) & 1 ? u'1' : u'0', (mask << 3 * half >> (n - 1) & 1) != 0};
                        in.options.facingTrigramsReverse = facing;
                        QStringList expected;
                        if (u"巽坤 坤巽"_s.contains(pair)
                            || (facing && u"乾巽 巽乾 坎离 离坎 艮坤 坤艮 震兑 兑震"_s.contains(pair)))
                            expected << (half ? u"外卦反吟"_s : u"内卦反吟"_s);
                        if (u"乾震 震乾"_s.contains(pair))
                            expected << (half ? u"外卦伏吟"_s : u"内卦伏吟"_s);
                        QStringList got;
                        for (std::u16string_view w : analyse(in).fanFuWords())
                            got << qs(w);
                        QCOMPARE(got, expected);
                    }
        }
    }

    void guaShenWorked_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("branch");
        QTest::addColumn<QList<int>>("positions");
        // 乾为天: world 6 yang, 子丑寅卯辰巳 -> 巳, on no line.
        QTest::newRow("111111 乾为天") << u"111111"_s << u"巳"_s << QList<int>{};
        // 坤为地: world 6 yin, 午未申酉戌亥 -> 亥, line 5.
        QTest::newRow("000000 坤为地") << u"000000"_s << u"亥"_s << QList<int>{5};
        // 天风姤: world 1 yin -> 午, line 4.
        QTest::newRow("011111 天风姤") << u"011111"_s << u"午"_s << QList<int>{4};
        // 地雷复: world 1 yang -> 子, line 1.
        QTest::newRow("100000 地雷复") << u"100000"_s << u"子"_s << QList<int>{1};
        // 火天大有: world 3 yang, 子丑寅 -> 寅, line 2.
        QTest::newRow("111101 火天大有") << u"111101"_s << u"寅"_s << QList<int>{2};
        // 山地剥: world 5 yin, 午未申酉戌 -> 戌, line 4.
        QTest::newRow("000001 山地剥") << u"000001"_s << u"戌"_s << QList<int>{4};
        // 风地观: world 4 yin, 午未申酉 -> 酉, on no line.
        QTest::newRow("000011 风地观") << u"000011"_s << u"酉"_s << QList<int>{};
        // 地风升: world 4 yin -> 酉, lines 3 and 6.
        QTest::newRow("011000 地风升") << u"011000"_s << u"酉"_s << QList<int>{3, 6};
        // 水雷屯: world 2 yin, 午未 -> 未, on no line.
        QTest::newRow("100010 水雷屯") << u"100010"_s << u"未"_s << QList<int>{};
    }
    void guaShenWorked()
    {
        QFETCH(QString, key);
        QFETCH(QString, branch);
        QFETCH(QList<int>, positions);
        const HexagramRow *row = FindHexagramByKey(u16(key));
        QVERIFY(row);
        const GuaShen g = guaShenOf(*row);
        QCOMPARE(qs(branchName(g.branch)), branch);
        QCOMPARE(QList<int>(g.positions.begin(), g.positions.end()), positions);
    }

    // Every hexagram: count the branches up line by line from the world line's start.
    void guaShenEveryHexagram()
    {
        for (const HexagramRow &row : HexagramTable) {
            int b = row.key[static_cast<std::size_t>(row.world - 1)] == u'1' ? at(u'子') : at(u'午');
            for (int line = 2; line <= row.world; ++line)
                b = (b + 1) % 12;
            const GuaShen g = guaShenOf(row);
            QCOMPARE(at(g.branch), b);
            QList<int> carrying;
            for (int n = 1; n <= 6; ++n)
                if (at(row.branches[static_cast<std::size_t>(n - 1)]) == b)
                    carrying << n;
            QCOMPARE(QList<int>(g.positions.begin(), g.positions.end()), carrying);
        }
    }

    void shenShaOfStem_data()
    {
        QTest::addColumn<int>("stem");
        for (int s = 0; s < 10; ++s)
            QTest::newRow(qs(StemNames.substr(static_cast<std::size_t>(s), 1)).toUtf8().constData()) << s;
    }
    void shenShaOfStem()
    {
        QFETCH(int, stem);
        const char16_t key = StemNames[static_cast<std::size_t>(stem)];
        // The verses written out per stem.
        const QString expected
            = u"天乙贵人："_s + fromList(u"甲丑未 乙子申 丙亥酉 丁亥酉 戊丑未 己子申 庚丑未 辛寅午 壬卯巳 癸卯巳", key)
              + u" 禄神："_s + fromList(u"甲寅 乙卯 丙巳 丁午 戊巳 己午 庚申 辛酉 壬亥 癸子", key) + u" 羊刃："_s
              + fromList(u"甲卯 乙辰 丙午 丁未 戊午 己未 庚酉 辛戌 壬子 癸丑", key) + u" 文昌："_s
              + fromList(u"甲巳 乙午 丙申 丁酉 戊申 己酉 庚亥 辛子 壬寅 癸卯", key);
        QCOMPARE(shenShaText(shenShaOf(stem, std::nullopt, std::nullopt)), expected);
        // 阳前阴后: a yin stem's 羊刃 stands before its 禄.
        QCOMPARE(shenShaOf(stem, std::nullopt, std::nullopt, BladeRule::YangAfterYinBefore)[2].branches[0],
                 br(fromList(u"甲卯 乙寅 丙午 丁巳 戊午 己巳 庚酉 辛申 壬子 癸亥", key)[0].unicode()));
    }

    void shenShaOfDayBranch_data()
    {
        QTest::addColumn<int>("branch");
        for (int b = 0; b < 12; ++b)
            QTest::newRow(qs(Names.substr(static_cast<std::size_t>(b), 1)).toUtf8().constData()) << b;
    }
    void shenShaOfDayBranch()
    {
        QFETCH(int, branch);
        // 申子辰马在寅 … by the group of the day branch, as the verses give them.
        const char16_t key = Names[static_cast<std::size_t>(branch)];
        const std::u16string_view groups[] = {u"申子辰", u"寅午戌", u"巳酉丑", u"亥卯未"};
        int g = 0;
        while (groups[g].find(key) == std::u16string_view::npos)
            ++g;
        const std::u16string_view horse = u"寅申亥巳", peach = u"酉卯午子", general = u"子午酉卯", canopy = u"辰戌丑未",
                                  robbery = u"巳亥寅申", disaster = u"午子卯酉";
        const auto one = [g](std::u16string_view list) { return qs(list.substr(static_cast<std::size_t>(g), 1)); };
        const QString expected = u"驿马："_s + one(horse) + u" 桃花："_s + one(peach) + u" 将星："_s + one(general)
                                 + u" 华盖："_s + one(canopy) + u" 劫煞："_s + one(robbery) + u" 灾煞："_s
                                 + one(disaster);
        QCOMPARE(shenShaText(shenShaOf(std::nullopt, static_cast<Branch>(branch), std::nullopt)), expected);

        // The same from the twelve stages of the group's element, born at the group's first branch.
        const int birth = at(groups[g][0]);
        const auto stage = [birth](int k) { return qs(Names.substr(static_cast<std::size_t>((birth + k) % 12), 1)); };
        const QString byStages = u"驿马："_s + stage(6) + u" 桃花："_s + stage(1) + u" 将星："_s + stage(4)
                                 + u" 华盖："_s + stage(8) + u" 劫煞："_s + stage(9) + u" 灾煞："_s + stage(10);
        QCOMPARE(expected, byStages);
    }

    void shenShaOfMonth()
    {
        for (int m = 0; m < 12; ++m) {
            const auto entries = shenShaOf(std::nullopt, std::nullopt, static_cast<Branch>(m));
            QCOMPARE(shenShaText(entries), u"天医："_s + qs(Names.substr(static_cast<std::size_t>((m + 11) % 12), 1)));
        }
    }

    void shenShaNeedsItsSource()
    {
        QVERIFY(shenShaOf(std::nullopt, std::nullopt, std::nullopt).empty());
        QVERIFY(shenShaOf(10, std::nullopt, std::nullopt).empty());
        QVERIFY(shenShaOf(-1, std::nullopt, std::nullopt).empty());
        // 甲子 day in a 寅 month: all eleven, in the listed order.
        QCOMPARE(
            shenShaText(shenShaOf(0, Branch::Zi, Branch::Yin)),
            u"天乙贵人：丑未 禄神：寅 羊刃：卯 文昌：巳 驿马：寅 桃花：酉 将星：子 华盖：辰 劫煞：巳 灾煞：午 天医：丑"_s);
    }

    void voidsOfTheDay()
    {
        for (int day = 0; day < 60; ++day) {
            const auto v = dayVoids(day % 10, static_cast<Branch>(day % 12));
            QVERIFY(v);
            QCOMPARE((std::set<int>{at((*v)[0]), at((*v)[1])}), voidsOfDay(day));
        }
        QVERIFY(!dayVoids(0, Branch::Chou)); // 甲丑 is no day
        QVERIFY(!dayVoids(std::nullopt, Branch::Zi));
        QVERIFY(!dayVoids(0, std::nullopt));
        QVERIFY(!dayVoids(12, Branch::Zi));
    }

    // A cast that is not complete gives no line marks, no types and no 卦身, but the 神煞 of its day.
    void incompleteCast()
    {
        CastInput in;
        in.options = schoolPreset(School::Common);
        for (int n = 1; n <= 5; ++n)
            in.line(n) = {u'1', n == 2};
        in.dayStem = 0;
        in.dayBuild = Branch::Zi;
        in.monthBuild = Branch::Wu;
        const Analysis a = analyse(in);
        for (std::size_t i = 0; i < 6; ++i) {
            QCOMPARE(a.marks[i], StaticMark::None);
            QVERIFY(a.changes[i].empty());
        }
        QCOMPARE(a.originalType, HexagramType::None);
        QVERIFY(!a.guaShen);
        QCOMPARE(a.shenSha.size(), 11u);

        in.line(6) = {u'x', false};
        QVERIFY(!analyse(in).guaShen);
    }

    // 乾为天 with line 5 moving (to 火天大有), 甲子 day, 午 month, worked by hand:
    // 子 line 1 is in 月破; 午 line 4 is clashed by the 子 day, 火 in a 火 month: 暗动;
    // 申金 line 5 turns to 未土: 回头生; 戌 line 6 and 寅 line 2 and 辰 line 3 are untouched.
    void workedChart()
    {
        CastInput in;
        in.options = schoolPreset(School::Common);
        for (int n = 1; n <= 6; ++n)
            in.line(n) = {u'1', n == 5};
        in.dayStem = 0;
        in.dayBuild = Branch::Zi;
        in.monthBuild = Branch::Wu;
        const Analysis a = analyse(in);
        QStringList marks;
        for (int n = 1; n <= 6; ++n)
            marks << qs(staticMarkName(a.marks[static_cast<std::size_t>(n - 1)]));
        QCOMPARE(marks, (QStringList{u"月破"_s, {}, {}, u"暗动"_s, {}, {}}));
        QCOMPARE(words(a.changes[4]), QStringList{u"回头生"_s});
        QCOMPARE(a.originalType, HexagramType::SixClash);
        QCOMPARE(a.changedType, HexagramType::None);
        QVERIFY(a.typeChange().empty());
        QVERIFY(a.guaShen);
        QCOMPARE(a.guaShen->branch, Branch::Si);
        QVERIFY(a.guaShen->positions.empty());
    }
};

QTEST_GUILESS_MAIN(TestAnalysis)
#include "tst_analysis.moc"
