// The question for a language model: the chart text, the reckoned facts and
// the instruction, on charts whose facts follow from the rules by hand.
#include "chart/aiquestion.h"
#include "chart/charttext.h"
#include "common/notation.h"
#include "qtcore/textconv.h"

#include <QTest>

using namespace lotgrid;
using namespace Qt::StringLiterals;

class TestAiQuestion : public QObject
{
    Q_OBJECT
private slots:
    // 乾为天 with line 1 moving (子水 → 丑土), 求财 for a man, month 寅, day 甲子.
    // 金 palace: 妻财 is 寅木 on line 2; water generates wood (原神 子孙子水),
    // metal overcomes it (忌神 兄弟申金), earth overcomes water (仇神 父母辰土 戌土).
    // In a 寅 month wood is 旺; 子 water is 休 and 辰 earth is 死.
    void factsAndInstruction_data()
    {
        QTest::addColumn<QString>("question");
        QTest::addColumn<QStringList>("holds");
        const QStringList facts{u"占类：求财  性别：男"_s,
                                u"用神：妻财，在二爻妻财寅木（按占类“求财”取）"_s,
                                u"原神：初爻子孙子水"_s,
                                u"忌神：五爻兄弟申金"_s,
                                u"仇神：三爻父母辰土、上爻父母戌土"_s,
                                u"二爻妻财寅木：月令旺，月建临"_s,
                                u"三爻父母辰土（应）：月令死，月建克"_s,
                                u"初爻子孙子水，动，变父母丑土：月令休"_s,
                                u"【主】乾 初九：潜龙勿用。"_s,
                                u"只依据以上排盘和事实断卦"_s,
                                u"写明它依据的规则"_s,
                                u"断卦要点（"_s,
                                u"趋势：有利"_s};
        QTest::newRow("with a question") << u"月底能否收回货款"_s
                                         << (facts + QStringList{u"所问之事：月底能否收回货款"_s});
        QTest::newRow("without a question") << QString() << (facts + QStringList{u"所问之事：（未写）"_s});
    }
    void factsAndInstruction()
    {
        QFETCH(QString, question);
        QFETCH(QStringList, holds);
        CastInput in;
        for (int n = 1; n <= 6; ++n)
            in.line(n) = {u'1', n == 1};
        in.dayStem = 0;
        in.monthBuild = Branch::Yin;
        in.dayBuild = Branch::Zi;
        in.category = Category::Wealth;
        in.sex = Sex::Male;
        const Chart chart = chartOf(in);
        const QString text = qs(aiQuestionText(chart, question.toStdU16String()));
        for (const QString &part : holds)
            QVERIFY2(text.contains(part), qPrintable(part + u"\n---\n"_s + text));
        QVERIFY(text.contains(qs(chartText(chart, question.toStdU16String(), u"男", false))));
    }

    // A role the lines lack is named where it is: hidden (伏神) under the line of the palace's
    // pure hexagram at its place, or changed out of a moving line.
    void absentRoles_data()
    {
        QTest::addColumn<QString>("lines"); // line 1 first, 6/7/8/9
        QTest::addColumn<QString>("role");
        // 姤 (乾 palace) asked about 父母 (土): 木 overcomes it and no line carries 木; 乾's line 2 is 寅.
        QTest::newRow("hidden") << u"877777"_s << u"忌神：寅木，伏于二爻"_s;
        // Lines 1 and 2 moving turn the inner 巽 into 离, whose line 1 is 卯.
        QTest::newRow("changed") << u"697777"_s << u"卯木，初爻化出"_s;
    }
    void absentRoles()
    {
        QFETCH(QString, lines);
        QFETCH(QString, role);
        CastInput in = castOf(lines);
        in.monthBuild = Branch::Zi;
        in.category = Category::Parents;
        QVERIFY2(qs(aiQuestionText(chartOf(in), u"")).contains(role), qPrintable(role));
    }
};

QTEST_GUILESS_MAIN(TestAiQuestion)
#include "tst_aiquestion.moc"
