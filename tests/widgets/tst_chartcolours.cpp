// The chart's colours against WCAG 2's contrast ratio: the ratio itself against
// published values, then every text colour on every ground it can be given, on
// light and dark desktops.
#include "widgets/chartcolours.h"

#include <QTest>

#include <cmath>

using namespace lotgrid;
using namespace Qt::StringLiterals;

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
        QTest::newRow("white on black") << QColor(Qt::white) << QColor(Qt::black) << 21.0;
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

    // Every text on every ground: the sheet's paper and panel, and each table
    // cell; dark desktops with grounds darker and lighter than the limit.
    void everyTextReads_data()
    {
        QTest::addColumn<QRgb>("window");
        QTest::addColumn<QRgb>("base");
        QTest::addColumn<bool>("dark");
        QTest::newRow("light") << QRgb(0xefefef) << QRgb(0xffffff) << false;
        QTest::newRow("dark grey") << QRgb(0x353535) << QRgb(0x2a2a2a) << true;
        QTest::newRow("dark blue-grey") << QRgb(0x31363b) << QRgb(0x232629) << true;
        QTest::newRow("dim grey, light base") << QRgb(0x6e6e6e) << QRgb(0x909090) << true;
    }
    void everyTextReads()
    {
        QFETCH(QRgb, window);
        QFETCH(QRgb, base);
        QFETCH(bool, dark);
        QPalette desktop(QColor::fromRgb(window), QColor::fromRgb(window));
        desktop.setColor(QPalette::Base, QColor::fromRgb(base));
        const ChartColours colours(desktop);
        QCOMPARE(colours.isDark(), dark);
        QList<CellColours> pairs;
        for (int i = 0; i < InkCount; ++i)
            pairs << CellColours{colours.ink(Ink(i)), colours.paper()}
                  << CellColours{colours.ink(Ink(i)), colours.panel()};
        for (int i = 0; i < CellCount; ++i)
            pairs << colours.cell(Cell(i));
        for (const CellColours &p : pairs)
            QVERIFY2(lotgrid::contrastRatio(p.text, p.ground) >= 4.5,
                     qPrintable(p.text.name() + u" on "_s + p.ground.name()));
    }
};

QTEST_MAIN(TestChartColours)
#include "tst_chartcolours.moc"
