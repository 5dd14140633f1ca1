// The reading on the main window: the category's use god and a hand pick,
// the school options kept and charted, and the question copied for a model.
#include "casting/castsettings.h"
#include "common/mainwindowfixture.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

using namespace lotgrid;
using namespace Qt::StringLiterals;

namespace {

// 乾为天 (金 palace, 子寅辰 午申戌) with line 1 moving, on a 乙卯 day in a 寅 month.
void castQian(MainWindow &w)
{
    std::array<CastLine, 6> lines{};
    for (int n = 1; n <= 6; ++n)
        lines[static_cast<std::size_t>(n - 1)] = {u'1', n == 1};
    w.document().setLines(lines);
    w.document().setDayStem(1);
    w.document().setMonthBuild(Branch::Yin);
    w.document().setDayBuild(Branch::Mao);
}

} // namespace

class TestReadingWindow : public QObject
{
    Q_OBJECT
private slots:
    // 求财 marks 妻财寅木 (line 2); clicking 官鬼午火's label (line 4) picks it by hand instead.
    void handPickBeatsTheCategory()
    {
        auto w = makeMainWindow();
        w->show();
        castQian(*w);
        ChartSheet &s = w->sheet();
        s.zhanlei->setCurrentIndex(s.zhanlei->findText(u"求财"_s));
        QCOMPARE(w->document().cast().category, std::optional(Category::Wealth));
        QVERIFY(s.Lyongshen(2)->isVisible());
        QCOMPARE(s.Lyongshen(2)->text(), u"用神"_s);
        QVERIFY(s.Lyongshen(2)->toolTip().contains(u"求财"_s));
        // Wood's 原 is water (line 1), its 忌 metal (line 5), its 仇 earth (lines 3 and 6).
        QCOMPARE(textsOf(s.Lyuanji), QStringList({u"原"_s, QString(), u"仇"_s, QString(), u"忌"_s, u"仇"_s}));
        // 寅 wood in a 寅 month is 旺; at the 卯 day it stands at 帝旺.
        QCOMPARE(s.Lwangshuai(2)->text(), u"旺·帝旺"_s);
        QVERIFY(!s.Lwangshuai(2)->toolTip().isEmpty());

        QTest::mouseClick(s.Lliuqin(4), Qt::LeftButton);
        QCOMPARE(w->document().cast().mark, (LineMark{MarkKind::UseGod, 4}));
        QVERIFY(s.Lyongshen(4)->isVisible() && !s.Lyongshen(2)->isVisible());
        // Against 午火: wood (lines 2) is 原, water (line 1) 忌, metal (line 5) 仇.
        QCOMPARE(textsOf(s.Lyuanji), QStringList({u"忌"_s, u"原"_s, QString(), QString(), u"仇"_s, QString()}));
    }

    // 乙's 禄 is 卯: 羊刃 after it is 辰, 阳前阴后 puts it before, on 寅. Kept in the settings file.
    void schoolOptionMovesTheBlade()
    {
        QTemporaryDir dir;
        Environment env = testEnvironment();
        env.settingsFile = dir.filePath(u"lotgrid.conf"_s);
        {
            auto w = makeMainWindow(env);
            castQian(*w);
            QVERIFY(w->sheet().Lshensha->text().contains(u"羊刃：辰"_s));
            SchoolOptions o;
            o.blade = BladeRule::YangAfterYinBefore;
            w->applySchoolOptions(o);
            QVERIFY(w->sheet().Lshensha->text().contains(u"羊刃：寅"_s));
        }
        QCOMPARE(schoolOptions(env.settingsFile).blade, BladeRule::YangAfterYinBefore);
        auto again = makeMainWindow(env);
        castQian(*again);
        QVERIFY(again->sheet().Lshensha->text().contains(u"羊刃：寅"_s));
    }

    void copiesTheQuestion()
    {
        auto w = makeMainWindow();
        auto *fuzhiAI = w->findChild<QAction *>(u"fuzhiAI"_s);
        QVERIFY(fuzhiAI && !fuzhiAI->isEnabled());
        castQian(*w);
        QVERIFY(fuzhiAI->isEnabled());
        w->sheet().TextWHS->setText(u"能否得财"_s);
        fuzhiAI->trigger();
        const QString copied = QGuiApplication::clipboard()->text();
        QVERIFY(copied.contains(u"所问之事：能否得财"_s));
        QVERIFY(copied.contains(u"【已算出的事实】"_s) && copied.contains(u"依据的规则"_s));
        QVERIFY(!w->statusBar()->currentMessage().isEmpty());
    }
};

QTEST_MAIN(TestReadingWindow)
#include "tst_readingwindow.moc"
