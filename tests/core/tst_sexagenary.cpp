// The sexagenary cycle: its sixty names in order and the void branches (旬空) of
// every day.
#include "core/sexagenary.h"
#include "qtcore/textconv.h"

#include <QString>
#include <QTest>

using namespace lotgrid;
using namespace Qt::StringLiterals;

namespace {

// The 六十甲子 as the almanacs print it, one decade (旬) a line.
const QString Cycle = u"甲子乙丑丙寅丁卯戊辰己巳庚午辛未壬申癸酉"
                      u"甲戌乙亥丙子丁丑戊寅己卯庚辰辛巳壬午癸未"
                      u"甲申乙酉丙戌丁亥戊子己丑庚寅辛卯壬辰癸巳"
                      u"甲午乙未丙申丁酉戊戌己亥庚子辛丑壬寅癸卯"
                      u"甲辰乙巳丙午丁未戊申己酉庚戌辛亥壬子癸丑"
                      u"甲寅乙卯丙辰丁巳戊午己未庚申辛酉壬戌癸亥"_s;

// The traditional table of the six decades and their void branches.
const QStringList DecadeVoids{u"戌亥"_s, u"申酉"_s, u"午未"_s, u"辰巳"_s, u"寅卯"_s, u"子丑"_s};

} // namespace

class TestSexagenary : public QObject
{
    Q_OBJECT
private slots:
    void everyDay_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("voids");
        for (int i = 0; i < 60; ++i) {
            const QString name = Cycle.mid(2 * i, 2);
            const QString decade = Cycle.mid(20 * (i / 10), 2);
            QTest::addRow("%s in %s旬", qPrintable(name), qPrintable(decade)) << i << name << DecadeVoids[i / 10];
        }
    }
    void everyDay()
    {
        QFETCH(int, index);
        QFETCH(QString, name);
        QFETCH(QString, voids);
        const Sexagenary day{index};
        QCOMPARE(qs(sexagenaryName(day)), name);
        const auto v = voidBranches(day);
        QCOMPARE(qs(branchName(v[0])) + qs(branchName(v[1])), voids);
        // The day from its stem and branch, and the count that wraps round.
        const auto from = sexagenaryOf(index % 10, day.branch());
        QVERIFY(from);
        QCOMPARE(from->index, index);
        QCOMPARE(sexagenaryAt(index + 60 * 7).index, index);
        QCOMPARE(sexagenaryAt(index - 60 * 3).index, index);
    }

    // A stem and a branch of different parity name no day; neither does a stem out of range.
    void mismatchedPairs()
    {
        int days = 0;
        for (int stem = -1; stem <= 10; ++stem)
            for (int b = 0; b < 12; ++b) {
                const auto s = sexagenaryOf(stem, static_cast<Branch>(b));
                const bool expected = stem >= 0 && stem <= 9 && stem % 2 == b % 2;
                QCOMPARE(s.has_value(), expected);
                days += s.has_value();
            }
        QCOMPARE(days, 60);
    }
};

QTEST_GUILESS_MAIN(TestSexagenary)
#include "tst_sexagenary.moc"
