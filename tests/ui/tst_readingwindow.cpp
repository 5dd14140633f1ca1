// The reading on the main window, on 乾为天 (金 palace, 子寅辰 午申戌) with line 1
// moving, on a 乙卯 day in a 寅 month.
#include "casting/castsettings.h"
#include "casting/liupaidialog.h"
#include "common/mainwindowfixture.h"
#include "ui/reference/referencewindows.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QStatusBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace lotgrid;
using namespace Qt::StringLiterals;

class TestReadingWindow : public QObject
{
    Q_OBJECT
private slots:
    void categoryHandPickAndSchoolOptions()
    {
        QTemporaryDir dir;
        Environment env = testEnvironment();
        env.settingsFile = dir.filePath(u"lotgrid.conf"_s);
        auto w = makeMainWindow(env);
        w->show();
        QVERIFY(!w->findChild<QAction *>(u"fuzhiAI"_s)->isEnabled());
        for (int n = 1; n <= 6; ++n)
            QTest::keyClicks(w->sheet().Text(n), u"1"_s);
        ChartSheet &s = w->sheet();
        s.co(1)->click();
        w->document().setDayStem(1);
        w->document().setMonthBuild(Branch::Yin);
        w->document().setDayBuild(Branch::Mao);

        // 求财 takes 妻财寅木 (line 2); wood's 原 is water, 忌 metal, 仇 earth.
        s.zhanlei->setCurrentIndex(s.zhanlei->findText(u"求财"_s));
        QVERIFY(s.Lyongshen(2)->isVisible() && s.Lyongshen(2)->toolTip().contains(u"求财"_s));
        QCOMPARE(textsOf(s.Lyuanji), QStringList({u"原"_s, QString(), u"仇"_s, QString(), u"忌"_s, u"仇"_s}));
        // 寅 wood in a 寅 month is 旺; at the 卯 day it stands at 帝旺.
        QCOMPARE(s.Lwangshuai(2)->text(), u"旺 · 旺 · 帝旺"_s);
        w->findChild<QAction *>(u"fuzhiAI"_s)->trigger();
        QVERIFY(QGuiApplication::clipboard()->text().contains(u"用神：妻财，在二爻妻财寅木"_s));
        QVERIFY(!w->statusBar()->currentMessage().isEmpty());

        // 官鬼午火's label clicked: picked by hand; against fire, wood is 原, water 忌, metal 仇.
        QTest::mouseClick(s.Lliuqin(4), Qt::LeftButton);
        QVERIFY(s.Lyongshen(4)->isVisible() && !s.Lyongshen(2)->isVisible());
        QCOMPARE(textsOf(s.Lyuanji), QStringList({u"忌"_s, u"原"_s, QString(), QString(), u"仇"_s, QString()}));

        // 乙's 禄 is 卯: 羊刃 after it is 辰; 阳前阴后 puts a yin stem's before it, on 寅.
        QVERIFY(s.Lshensha->text().contains(u"羊刃：辰"_s));
        SchoolOptions o;
        o.blade = BladeRule::YangAfterYinBefore;
        w->applySchoolOptions(o);
        QVERIFY(s.Lshensha->text().contains(u"羊刃：寅"_s));
        QCOMPARE(schoolOptions(env.settingsFile).blade, BladeRule::YangAfterYinBefore);
    }

    // A preset sets every option; changing one shows 自定义, the preset staying the options' base, and
    // the settings keep the set as it stands.
    // The 四时旺相 table and the sheet's strength agree on every element in every
    // month with the rule: 旺 the month's element, then 相 the one it generates, 死
    // the one it overcomes, 囚 the one overcoming it, 休 the one generating it. 乾为天's
    // lines (子寅辰午申戌) carry all five; with a month build alone a line is 旺 when
    // 旺 or 相 unless the month clashes it.
    void strengthTableAndSheetAgree()
    {
        const QString cycle = u"木火土金水"_s, branches = u"子丑寅卯辰巳午未申酉戌亥"_s;
        const QString elementOf = u"水土木木土火火土金金土水"_s;
        const auto season = [&](QChar line, QChar month) {
            return QStringList{u"旺"_s, u"相"_s, u"死"_s, u"囚"_s,
                               u"休"_s}[(cycle.indexOf(line) - cycle.indexOf(month) + 5) % 5];
        };
        std::unique_ptr<QWidget> window(createSswx1(nullptr));
        const auto *table = window->findChild<QTableWidget *>(u"strengthTable"_s);
        auto w = makeMainWindow(testEnvironment());
        for (int n = 1; n <= 6; ++n)
            QTest::keyClicks(w->sheet().Text(n), u"1"_s);
        for (int row = 1; row <= 12; ++row) {
            const int month = (row + 1) % 12; // from 寅
            QCOMPARE(table->item(row, 0)->text(), branches.at(month) + u"月"_s);
            for (int column = 1; column <= 5; ++column)
                QCOMPARE(table->item(row, column)->text(),
                         season(table->item(0, column)->text().at(0), elementOf.at(month)));
            w->document().setMonthBuild(static_cast<Branch>(month));
            for (int n = 1, b = 0; n <= 6; ++n, b += 2) {
                const QString s = season(elementOf.at(b), elementOf.at(month));
                const bool strong = (s == u"旺"_s || s == u"相"_s) && (b + 6) % 12 != month;
                QCOMPARE(w->sheet().Lwangshuai(n)->text(), (strong ? u"旺 · "_s : u"衰 · "_s) + s);
            }
        }
    }

    void liupaiPresets()
    {
        LiupaiDialog d(schoolPreset(School::Common));
        QCOMPARE(d.liupaiPreset->currentText(), u"通行"_s);
        d.liupaiPreset->setCurrentIndex(d.liupaiPreset->findText(u"卜筮正宗"_s));
        QVERIFY(d.fanyin->isChecked());
        QCOMPARE(d.options(), schoolPreset(School::BuShi));
        d.huahe->setChecked(false);
        QCOMPARE(d.liupaiPreset->currentText(), u"自定义"_s);
        QCOMPARE(d.options().base, School::BuShi);
        QTemporaryDir dir;
        const QString settings = dir.filePath(u"lotgrid.conf"_s);
        QCOMPARE(schoolOptions(settings), schoolPreset(School::ZengShan));
        setSchoolOptions(settings, d.options());
        QCOMPARE(schoolOptions(settings), d.options());
        d.huahe->setChecked(true);
        QCOMPARE(d.liupaiPreset->currentText(), u"卜筮正宗"_s);
    }
};

QTEST_MAIN(TestReadingWindow)
#include "tst_readingwindow.moc"
