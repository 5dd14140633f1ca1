// The analysis marks on the main window, on charts worked out by hand: the
// marks column beside the original lines, the hexagram types beside the two
// names, 卦身 and the 神煞 under the chart with the quiet per-line markers, and
// how the marks wait for the builds and the day stem they need.
#include "common/mainwindowfixture.h"
#include "common/userinput.h"
#include "sheet/chartdocument.h"

#include <QRadioButton>
#include <QTest>

using namespace lotgrid;
using namespace Qt::StringLiterals;

namespace {

const QStringList NoMarks{QString(), QString(), QString(), QString(), QString(), QString()};

// Ticks the moving lines, "123" for lines 1 to 3, as a user clicks them.
void tick(MainWindow &w, const QString &lines)
{
    ChartSheet &s = w.sheet();
    for (const QChar c : lines) {
        const int n = c.digitValue();
        QCheckBox *box = w.document().cast().line(n).value == u'1' ? s.co(n) : s.cx(n);
        QTest::mouseClick(box, Qt::LeftButton, {}, box->rect().center());
    }
}

void chooseStem(ChartSheet &s, int stem)
{
    QRadioButton *option = s.dayStems[static_cast<std::size_t>(stem)];
    QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(5, option->height() / 2));
}

QStringList tipsOf(const Six<QLabel *> &family)
{
    QStringList tips;
    for (const QLabel *label : family)
        tips << label->toolTip();
    return tips;
}

std::unique_ptr<MainWindow> shownWindow()
{
    auto w = makeMainWindow();
    w->applySchoolOptions(schoolPreset(School::Common)); // the marks of the modern rules
    w->show();
    if (!QTest::qWaitForWindowExposed(w.get()))
        return nullptr;
    return w;
}

} // namespace

class TestChartMarks : public QObject
{
    Q_OBJECT
private slots:
    void workedCharts_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("moving");
        QTest::addColumn<int>("stem");
        QTest::addColumn<QString>("month"); // 月建 menu item
        QTest::addColumn<QString>("day");   // 日建 menu item
        QTest::addColumn<QStringList>("marks");
        QTest::addColumn<QString>("originalType");
        QTest::addColumn<QString>("changedType");
        QTest::addColumn<QString>("guaShen");
        QTest::addColumn<QString>("guaShenTip");
        QTest::addColumn<QString>("shenSha");
        QTest::addColumn<QStringList>("sha");
        QTest::addColumn<QStringList>("shaTips");

        // 乾为天 (子寅辰 午申戌), lines 1-3 moving into 天地否 (未巳卯 午申戌);
        // 月建 子, 甲寅日 (旬空 子丑).
        //  1 子水→未土: 土 overcomes 水, 回头克.  2 寅木→巳火: 木 feeds 火, the
        //  wrong way round for 回头生; nothing.  3 辰土→卯木: 回头克.
        //  4 午: 子 clashes it, 月破.  5 申: 寅 clashes it; 申金 is neither 水
        //  nor fed by 水, so 日破.  6 戌: untouched.
        //  乾为天 is pure, 六冲; 天地否 六合: 六冲变六合.
        //  World on line 6, yang: 子丑寅卯辰巳 gives 卦身 巳, on no line.
        //  甲: 贵人 丑未, 禄 寅, 刃 卯, 文昌 巳. 寅 (寅午戌): 驿马 申, 桃花 卯,
        //  将星 午, 华盖 戌, 劫煞 亥, 灾煞 子. 天医 before 子: 亥.
        QTest::newRow("乾为天 to 天地否")
            << u"111111"_s << u"123"_s << 0 << u"zi"_s << u"bing"_s
            << QStringList{u"回头克"_s, QString(), u"回头克"_s, u"月破"_s, u"日破"_s, QString()} << u"六冲"_s
            << u"六冲变六合"_s << u"卦身：巳"_s << u"卦身不上卦"_s
            << u"贵人：丑未  禄：寅  羊刃：卯  文昌：巳\n驿马：申  桃花：卯  将星：午  华盖：戌  劫煞：亥  灾煞：子  天医：亥"_s
            << QStringList{u"灾"_s, u"禄"_s, QString(), u"将"_s, u"马"_s, u"盖"_s}
            << QStringList{u"灾煞"_s, u"禄神"_s, QString(), u"将星"_s, u"驿马"_s, u"华盖"_s};

        // 地天泰 (子寅辰 丑亥酉, 坤宫, world on line 3), line 4 moving into
        // 雷天大壮 (子寅辰 午申戌); 月建 申, 庚午日 (旬空 戌亥).
        //  1 子水: 午 clashes it; 申金 feeds 水 (相), so 暗动.  2 寅: 申 clashes
        //  it, 月破.  4 丑土→午火: 火 feeds 土, 回头生.  3 辰, 5 亥, 6 酉: untouched.
        //  子丑 寅亥 辰酉 combine: 六合; 子午 寅申 辰戌 clash: 六合变六冲.
        //  World on line 3, yang: 子丑寅 gives 卦身 寅, on line 2.
        //  庚: 贵人 丑未, 禄 申, 刃 酉, 文昌 亥. 午 (寅午戌) as above.
        //  天医 before 申: 未.
        QTest::newRow("地天泰 to 雷天大壮")
            << u"111000"_s << u"4"_s << 6 << u"shen"_s << u"geng"_s
            << QStringList{u"暗动"_s, u"月破"_s, QString(), u"回头生"_s, QString(), QString()} << u"六合"_s
            << u"六合变六冲"_s << u"卦身：寅"_s << u"二爻持卦身"_s
            << u"贵人：丑未  禄：申  羊刃：酉  文昌：亥\n驿马：申  桃花：卯  将星：午  华盖：戌  劫煞：亥  灾煞：子  天医：未"_s
            << QStringList{u"灾"_s, u"身"_s, QString(), u"贵"_s, u"昌劫"_s, u"刃"_s}
            << QStringList{u"灾煞"_s, u"卦身"_s, QString(), u"天乙贵人"_s, u"文昌、劫煞"_s, u"羊刃"_s};

        // 兑为泽 (巳卯丑 亥酉未, world on line 6), line 6 moving into 天泽履
        // (巳卯丑 午申戌); 月建 未, 癸酉日 (旬空 戌亥).
        //  3 丑: 未 clashes it, 月破.  2 卯木: 酉 clashes it; 未土 neither is 木
        //  nor feeds it, 日破.  6 未→戌: one step on among 丑辰未戌, 化进神;
        //  戌 is void, 化空.
        //  兑为泽 is pure, 六冲; 天泽履 (巳午, 卯申, 丑戌) neither.
        //  World on line 6, yin: 午未申酉戌亥 gives 卦身 亥, on line 4.
        //  癸: 贵人 卯巳, 禄 子, 刃 丑, 文昌 卯. 酉 (巳酉丑): 驿马 亥, 桃花 午,
        //  将星 酉, 华盖 丑, 劫煞 寅, 灾煞 卯. 天医 before 未: 午.
        QTest::newRow("兑为泽 to 天泽履")
            << u"110110"_s << u"6"_s << 9 << u"wei"_s << u"rigui"_s
            << QStringList{QString(), u"日破"_s, u"月破"_s, QString(), QString(), u"化进神 化空"_s} << u"六冲"_s
            << QString() << u"卦身：亥"_s << u"四爻持卦身"_s
            << u"贵人：卯巳  禄：子  羊刃：丑  文昌：卯\n驿马：亥  桃花：午  将星：酉  华盖：丑  劫煞：寅  灾煞：卯  天医：午"_s
            << QStringList{u"贵"_s, u"贵昌灾"_s, u"刃盖"_s, u"身马"_s, u"将"_s, QString()}
            << QStringList{u"天乙贵人"_s, u"天乙贵人、文昌、灾煞"_s, u"羊刃、华盖"_s, u"卦身、驿马"_s, u"将星"_s,
                           QString()};
    }
    void workedCharts()
    {
        QFETCH(QString, key);
        QFETCH(QString, moving);
        QFETCH(int, stem);
        QFETCH(QString, month);
        QFETCH(QString, day);
        QFETCH(QStringList, marks);
        QFETCH(QString, originalType);
        QFETCH(QString, changedType);
        QFETCH(QString, guaShen);
        QFETCH(QString, guaShenTip);
        QFETCH(QString, shenSha);
        QFETCH(QStringList, sha);
        QFETCH(QStringList, shaTips);
        auto w = shownWindow();
        QVERIFY(w);
        ChartSheet &s = w->sheet();
        typeLines(s, key);
        tick(*w, moving);
        chooseStem(s, stem);
        action(*w, month)->trigger();
        action(*w, day)->trigger();

        QCOMPARE(textsOf(s.Lbiaoji), marks);
        QCOMPARE(s.Lbengualei->text(), originalType);
        QCOMPARE(s.Lbianlei->text(), changedType);
        QCOMPARE(s.Lguashen->text(), guaShen);
        QCOMPARE(s.Lguashen->toolTip(), guaShenTip);
        QCOMPARE(s.Lshensha->text(), shenSha);
        QCOMPARE(textsOf(s.Lsha), sha);
        QCOMPARE(tipsOf(s.Lsha), shaTips);
        // The full names stand in the tooltip, one a line, in the same order.
        const QStringList tip = s.Lshensha->toolTip().split(u'\n');
        QCOMPARE(tip.size(), 11);
        QVERIFY(tip.first().startsWith(u"天乙贵人："_s));
        QVERIFY(tip.at(1).startsWith(u"禄神："_s));
        QCOMPARE(tip.last(), shenSha.split(u'\n').last().split(u"  "_s).last());
        // The marks sit beside the chart without changing what it shows.
        QVERIFY(s.Lliuqin(1)->text().size() == 4 && s.Lliuqin(1)->toolTip().isEmpty());
    }

    // 兑为泽 with line 6 moving, as above, told step by step: each mark appears
    // once what it needs is chosen, and not before.
    void marksWaitForWhatTheyNeed()
    {
        auto w = shownWindow();
        QVERIFY(w);
        ChartSheet &s = w->sheet();
        typeLines(s, u"110110"_s);
        tick(*w, u"6"_s);
        // The lines alone: the changes that need no day, the types and 卦身.
        QCOMPARE(textsOf(s.Lbiaoji), (QStringList{{}, {}, {}, {}, {}, u"化进神"_s}));
        QCOMPARE(s.Lbengualei->text(), u"六冲"_s);
        QCOMPARE(s.Lguashen->text(), u"卦身：亥"_s);
        QCOMPARE(s.Lshensha->text(), QString());
        QCOMPARE(textsOf(s.Lsha), (QStringList{{}, {}, {}, u"身"_s, {}, {}}));

        // The month: 月破 and 天医, but no clash of the day yet.
        action(*w, u"wei"_s)->trigger();
        QCOMPARE(textsOf(s.Lbiaoji), (QStringList{{}, {}, u"月破"_s, {}, {}, u"化进神"_s}));
        QCOMPARE(s.Lshensha->text(), u"天医：午"_s);
        QCOMPARE(s.Lshensha->toolTip(), u"天医：午"_s);

        // The day build: 日破 and the day branch's six, still no 旬空 without the stem.
        action(*w, u"rigui"_s)->trigger();
        QCOMPARE(textsOf(s.Lbiaoji), (QStringList{{}, u"日破"_s, u"月破"_s, {}, {}, u"化进神"_s}));
        QCOMPARE(s.Lshensha->text(), u"驿马：亥  桃花：午  将星：酉  华盖：丑  劫煞：寅  灾煞：卯  天医：午"_s);
        QCOMPARE(textsOf(s.Lsha), (QStringList{{}, u"灾"_s, u"盖"_s, u"身马"_s, u"将"_s, {}}));

        // The stem: 化空 and the stem's four.
        chooseStem(s, 9);
        QCOMPARE(s.Lbiaoji(6)->text(), u"化进神 化空"_s);
        QVERIFY(s.Lshensha->text().startsWith(u"贵人：卯巳  禄：子  羊刃：丑  文昌：卯\n"_s));

        // A stem that does not pair with 酉 gives no 旬空: 化空 goes, the stem's four stay.
        chooseStem(s, 0);
        QCOMPARE(s.Lbiaoji(6)->text(), u"化进神"_s);
        QVERIFY(s.Lshensha->text().startsWith(u"贵人：丑未  禄：寅  羊刃：卯  文昌：巳\n"_s));

        // Other months: 卯 clashes 酉 (line 5, 月破) and is 卯's own 木, so the
        // day's clash on line 2 is 暗动; 亥 clashes 巳 (line 1) and its 水 feeds 木, 暗动 again.
        action(*w, u"mao"_s)->trigger();
        QCOMPARE(textsOf(s.Lbiaoji), (QStringList{{}, u"暗动"_s, {}, {}, u"月破"_s, u"化进神"_s}));
        action(*w, u"hai"_s)->trigger();
        QCOMPARE(textsOf(s.Lbiaoji), (QStringList{u"月破"_s, u"暗动"_s, {}, {}, {}, u"化进神"_s}));
    }

    // Without six lines there is no hexagram: every line mark goes, the day's stay.
    void fewerThanSixLines()
    {
        auto w = shownWindow();
        QVERIFY(w);
        ChartSheet &s = w->sheet();
        typeLines(s, u"111111"_s);
        tick(*w, u"123"_s);
        chooseStem(s, 0);
        action(*w, u"zi"_s)->trigger();
        action(*w, u"bing"_s)->trigger();
        QVERIFY(!s.Lbiaoji(4)->text().isEmpty() && !s.Lbianlei->text().isEmpty());
        const QString shenSha = s.Lshensha->text();

        s.Text(6)->selectAll();
        QTest::keyClick(s.Text(6), Qt::Key_Delete);
        QCOMPARE(textsOf(s.Lbiaoji), NoMarks);
        QCOMPARE(textsOf(s.Lsha), NoMarks);
        QCOMPARE(tipsOf(s.Lsha), NoMarks);
        QCOMPARE(s.Lbengualei->text(), QString());
        QCOMPARE(s.Lbianlei->text(), QString());
        QCOMPARE(s.Lguashen->text(), QString());
        QCOMPARE(s.Lguashen->toolTip(), QString());
        QCOMPARE(s.Lshensha->text(), shenSha);

        // Line 6 again, now yin: 泽天夬 (子寅辰 亥酉未) is neither 六冲 nor 六合, and
        // neither 子 nor 寅 clashes its upper lines; lines 1-3 still move as before.
        QTest::keyClicks(s.Text(6), u"0"_s);
        QVERIFY(s.co(1)->isChecked() && s.co(2)->isChecked() && s.co(3)->isChecked());
        QCOMPARE(s.Lbengualei->text(), QString());
        QCOMPARE(textsOf(s.Lbiaoji), (QStringList{u"回头克"_s, {}, u"回头克"_s, {}, {}, {}}));
    }

    // No moving line: the changed type stays empty even for a 六冲 hexagram.
    void noMovingLineNoChangedType()
    {
        auto w = shownWindow();
        QVERIFY(w);
        ChartSheet &s = w->sheet();
        typeLines(s, u"000000"_s);
        QCOMPARE(s.Lbengualei->text(), u"六冲"_s);
        QCOMPARE(s.Lbianlei->text(), QString());
        QCOMPARE(textsOf(s.Lbiaoji), NoMarks);
        // 坤为地: world on line 6, yin: 午未申酉戌亥 gives 卦身 亥, carried by line 5 (未巳卯 丑亥酉).
        QCOMPARE(s.Lguashen->text(), u"卦身：亥"_s);
        QCOMPARE(s.Lguashen->toolTip(), u"五爻持卦身"_s);
        QCOMPARE(textsOf(s.Lsha), (QStringList{{}, {}, {}, {}, u"身"_s, {}}));
    }
};

QTEST_MAIN(TestChartMarks)
#include "tst_chartmarks.moc"
