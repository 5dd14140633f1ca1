// The shared pieces on their own: Qt's Chinese texts, the icon drawn whole at
// every device pixel ratio, line glyphs that match whatever their column.
#include "widgets/appicon.h"
#include "widgets/lineglyph.h"
#include "widgets/translations.h"
#include "widgets/zoomstyle.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

using namespace lotgrid;
using namespace Qt::StringLiterals;

namespace {

// Smallest rectangle holding every pixel of at least the given opacity.
QRect inkBounds(const QImage &image, int minAlpha = 128)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) >= minAlpha)
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

// The runs of dark pixels along the middle row of a glyph, as (start, length).
QList<QPair<int, int>> darkRuns(const QImage &image)
{
    QList<QPair<int, int>> runs;
    const int y = image.height() / 2;
    for (int x = 0; x < image.width(); ++x) {
        if (qGray(image.pixel(x, y)) >= 128)
            continue;
        if (!runs.isEmpty() && runs.last().first + runs.last().second == x)
            ++runs.last().second;
        else
            runs.append({x, 1});
    }
    return runs;
}

QImage render(QWidget *w, qreal ratio)
{
    QImage image(w->size() * ratio, QImage::Format_ARGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    w->render(&image);
    return image;
}

QString withoutMnemonic(QString text)
{
    return text.remove(QRegularExpression(u"\\(&.\\)|&"_s));
}

} // namespace

class TestWidgets : public QObject
{
    Q_OBJECT
private slots:
    void chineseStandardTexts();
    void iconWholeAtEveryRatio_data();
    void iconWholeAtEveryRatio();
    void glyphsMatchWhateverTheColumn_data();
    void glyphsMatchWhateverTheColumn();
    void glyphsFollowTheFont();
    void zoomedBoxes();
};

void TestWidgets::chineseStandardTexts()
{
    QVERIFY(installChineseQtTranslations(*qApp));
    QVERIFY(installChineseQtTranslations(*qApp)); // a second call changes nothing

    QMessageBox box(QMessageBox::Question, u"提示"_s, u"?"_s, QMessageBox::Yes | QMessageBox::No | QMessageBox::Ok);
    QCOMPARE(withoutMnemonic(box.button(QMessageBox::Yes)->text()), u"是"_s);
    QCOMPARE(withoutMnemonic(box.button(QMessageBox::No)->text()), u"否"_s);
    QCOMPARE(withoutMnemonic(box.button(QMessageBox::Ok)->text()), u"确定"_s);

    QLineEdit edit;
    std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    QStringList items;
    for (const QAction *a : menu->actions())
        items << withoutMnemonic(a->text()).section(u'\t', 0, 0);
    // Qt's own zh_CN texts write Undo with the variant 撤消 of 撤销.
    QVERIFY2(items.contains(u"撤销"_s) || items.contains(u"撤消"_s), qPrintable(items.join(u',')));
    for (const QString &expected : {u"复制"_s, u"粘贴"_s, u"全选"_s})
        QVERIFY2(items.contains(expected), qPrintable(items.join(u',')));
}

void TestWidgets::iconWholeAtEveryRatio_data()
{
    QTest::addColumn<qreal>("ratio");
    QTest::newRow("100 %") << 1.0;
    QTest::newRow("144 dpi") << 1.5;
    QTest::newRow("200 %") << 2.0;
}

// At 48 logical pixels the badge fills the square on every screen: drawn on
// 3..125 of 128 units across, 3..121 down, so no part is cut off.
void TestWidgets::iconWholeAtEveryRatio()
{
    QFETCH(qreal, ratio);
    const QPixmap pixmap = appIconPixmap(48, ratio);
    QCOMPARE(pixmap.deviceIndependentSize().toSize(), QSize(48, 48));
    QCOMPARE(pixmap.size(), QSize(qRound(48 * ratio), qRound(48 * ratio)));
    const QImage image = pixmap.toImage();
    const QRect ink = inkBounds(image);
    const qreal unit = pixmap.width() / 128.0;
    QVERIFY2(qAbs(ink.left() - 2 * unit) <= 1.5 && qAbs(ink.right() + 1 - 126 * unit) <= 1.5,
             qPrintable(u"%1..%2"_s.arg(ink.left()).arg(ink.right())));
    QVERIFY(qAbs(ink.top() - 1 * unit) <= 1.5 && qAbs(ink.bottom() + 1 - 121 * unit) <= 1.5);
}

void TestWidgets::glyphsMatchWhateverTheColumn_data()
{
    QTest::addColumn<qreal>("ratio");
    QTest::newRow("100 %") << 1.0;
    QTest::newRow("150 %") << 1.5;
    QTest::newRow("200 %") << 2.0;
}

// Two spots in columns of different widths draw the same glyphs; a yin line is
// two equal bars with a gap of 105 in 1575 between them, whole within the glyph.
void TestWidgets::glyphsMatchWhateverTheColumn()
{
    QFETCH(qreal, ratio);
    QWidget window;
    GlyphSpot narrow(&window), wide(&window);
    narrow.setGeometry(0, 0, narrow.sizeHint().width(), 30);
    wide.setGeometry(0, 40, narrow.sizeHint().width() + 60, 30);
    QCOMPARE(wide.yin()->size(), narrow.yin()->size());
    QCOMPARE(wide.yang()->geometry(), narrow.yang()->geometry());

    narrow.yang()->show();
    narrow.yin()->show();
    const QImage yang = render(narrow.yang(), ratio);
    const auto yangRuns = darkRuns(yang);
    QCOMPARE(yangRuns.size(), 1);
    QCOMPARE(yangRuns[0], qMakePair(0, yang.width()));

    const QImage yin = render(narrow.yin(), ratio);
    const auto runs = darkRuns(yin);
    QCOMPARE(runs.size(), 2);
    QCOMPARE(runs[0].first, 0);
    QCOMPARE(runs[1].first + runs[1].second, yin.width());
    QCOMPARE(runs[0].second, runs[1].second);
    const int gap = runs[1].first - runs[0].second;
    QVERIFY2(qAbs(gap - yin.width() * 105.0 / 1575.0) <= ratio + 0.5,
             qPrintable(u"%1 of %2"_s.arg(gap).arg(yin.width())));
}

void TestWidgets::glyphsFollowTheFont()
{
    GlyphSpot spot;
    const QSize before = spot.sizeHint();
    QFont large = spot.font();
    large.setPointSizeF(large.pointSizeF() * 2);
    spot.setFont(large);
    const QSize after = spot.sizeHint();
    QVERIFY2(after.width() >= before.width() * 17 / 10,
             qPrintable(u"%1 -> %2"_s.arg(before.width()).arg(after.width())));
    QVERIFY(qAbs(after.width() * 4 - after.height() * 35) < 4 * 4); // 1575 x 180
    spot.resize(after.width() + 40, after.height());
    QCOMPARE(spot.yang()->size(), after);
}

void TestWidgets::zoomedBoxes()
{
    ZoomStyle style;
    QCheckBox box;
    box.setStyle(&style);
    const int base = style.pixelMetric(QStyle::PM_IndicatorWidth, nullptr, &box);
    style.setFactor(2.0);
    QCOMPARE(style.pixelMetric(QStyle::PM_IndicatorWidth, nullptr, &box), base * 2);
    QCOMPARE(style.pixelMetric(QStyle::PM_ExclusiveIndicatorHeight, nullptr, &box),
             QApplication::style()->pixelMetric(QStyle::PM_ExclusiveIndicatorHeight, nullptr, &box) * 2);
}

QTEST_MAIN(TestWidgets)
#include "tst_widgets.moc"
