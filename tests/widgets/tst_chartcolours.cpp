// The chart's colours against WCAG 2's contrast ratio: the ratio itself against
// published values, then every text colour on every ground it can be given,
// on light and dark desktops, and the switch when the desktop's palette changes.
#include "widgets/chartcolours.h"

#include <QApplication>
#include <QTest>

#include <cmath>

using namespace lotgrid;
using namespace Qt::StringLiterals;

namespace {

QPalette desktop(QRgb window, QRgb base)
{
    QPalette p(QColor::fromRgb(window), QColor::fromRgb(window));
    p.setColor(QPalette::Base, QColor::fromRgb(base));
    return p;
}

} // namespace

class TestChartColours : public QObject
{
    Q_OBJECT
private slots:
    // Values from the WCAG 2 definition and its common worked examples.
    void contrastRatio_data()
    {
        QTest::addColumn<QColor>("a");
        QTest::addColumn<QColor>("b");
        QTest::addColumn<double>("ratio");
        QTest::newRow("black on white") << QColor(Qt::black) << QColor(Qt::white) << 21.0;
        QTest::newRow("white on black") << QColor(Qt::white) << QColor(Qt::black) << 21.0;
        QTest::newRow("grey on itself") << QColor(0x80, 0x80, 0x80) << QColor(0x80, 0x80, 0x80) << 1.0;
        QTest::newRow("#767676 on white") << QColor(0x76, 0x76, 0x76) << QColor(Qt::white) << 4.54;
        QTest::newRow("#777777 on white") << QColor(0x77, 0x77, 0x77) << QColor(Qt::white) << 4.48;
        QTest::newRow("red on white") << QColor(Qt::red) << QColor(Qt::white) << 4.00;
        QTest::newRow("blue on white") << QColor(Qt::blue) << QColor(Qt::white) << 8.59;
    }
    void contrastRatio()
    {
        QFETCH(QColor, a);
        QFETCH(QColor, b);
        QFETCH(double, ratio);
        QCOMPARE(std::round(lotgrid::contrastRatio(a, b) * 100) / 100, ratio);
    }

    // Every text on every ground: the sheet's paper and panel, and each table cell;
    // dark desktops with grounds darker and lighter than the limit, tinted or not.
    void everyTextReads_data()
    {
        QTest::addColumn<QPalette>("palette");
        QTest::addColumn<bool>("dark");
        const std::array<std::tuple<const char *, QPalette, bool>, 4> desktops{{
            {"light", desktop(0xefefef, 0xffffff), false},
            {"dark grey", desktop(0x353535, 0x2a2a2a), true},
            {"dark blue-grey", desktop(0x31363b, 0x232629), true},
            {"dim grey", desktop(0x6e6e6e, 0x909090), true},
        }};
        for (const auto &[name, palette, dark] : desktops)
            QTest::newRow(name) << palette << dark;
    }
    void everyTextReads()
    {
        QFETCH(QPalette, palette);
        QFETCH(bool, dark);
        const ChartColours colours(palette);
        QCOMPARE(colours.isDark(), dark);
        for (int i = 0; i < InkCount; ++i)
            for (const QColor &ground : {colours.paper(), colours.panel()}) {
                const QColor ink = colours.ink(static_cast<Ink>(i));
                QVERIFY2(lotgrid::contrastRatio(ink, ground) >= 4.5,
                         qPrintable(u"ink %1: %2 on %3"_s.arg(i).arg(ink.name(), ground.name())));
            }
        for (int i = 0; i < CellCount; ++i) {
            const CellColours cell = colours.cell(static_cast<Cell>(i));
            QVERIFY2(lotgrid::contrastRatio(cell.text, cell.ground) >= 4.5,
                     qPrintable(u"cell %1: %2 on %3"_s.arg(i).arg(cell.text.name(), cell.ground.name())));
        }
    }

    // The colours follow the application's palette when it changes.
    void followsTheDesktop()
    {
        const QPalette before = QApplication::palette();
        QWidget w;
        QList<bool> seen;
        followDesktopColours(&w, [&seen](const ChartColours &c) { seen << c.isDark(); });
        QApplication::setPalette(desktop(0x353535, 0x2a2a2a));
        QApplication::setPalette(desktop(0xefefef, 0xffffff));
        QApplication::setPalette(before);
        QCOMPARE(seen.mid(0, 3), (QList<bool>{false, true, false}));
    }
};

QTEST_MAIN(TestChartColours)
#include "tst_chartcolours.moc"
