// 卦名 entry. The lines of a full name follow from the images of its two
// trigrams (天 ☰ 111, 泽 ☱ 110, 火 ☲ 101, 雷 ☳ 100, 风 ☴ 011, 水 ☵ 010, 山 ☶ 001,
// 地 ☷ 000, bottom line first; the outer trigram named first, "X为Y" doubled),
// not from the hexagram table; the short name gives the same lines.
#include "chart/charttext.h"
#include "chart/guaname.h"
#include "chart/hexagrams.h"

#include <QTest>

using namespace lotgrid;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(GuaNameErrorKind)

namespace {

// "787787" of 山火贲, from the images alone: 7 for yang, 8 for yin, line 1 first.
QString linesByImages(const QString &name)
{
    const auto trigram = [](QChar image) {
        const QStringList lines{u"777"_s, u"778"_s, u"787"_s, u"788"_s, u"877"_s, u"878"_s, u"887"_s, u"888"_s};
        const qsizetype i = u"天泽火雷风水山地"_s.indexOf(image);
        return i < 0 ? QString() : lines[i];
    };
    if (name.size() == 3 && name[1] == u'为')
        return trigram(name[2]) + trigram(name[2]);
    return trigram(name[1]) + trigram(name[0]);
}

// The cast in 6/7/8/9, or the error's kind.
QString cast(const QString &text)
{
    GuaNameError e;
    CastInput in;
    if (const auto lines = linesFromGuaName(text.toStdU16String(), e))
        in.lines = *lines;
    else
        return u"error %1"_s.arg(int(e.kind));
    return QString::fromStdU16String(lineNotation(in));
}

} // namespace

class TestGuaName : public QObject
{
    Q_OBJECT
private slots:
    void allNames()
    {
        for (const HexagramRow &row : HexagramTable) {
            const QString full = QString::fromStdU16String(std::u16string(hexagramName(row)));
            QCOMPARE(linesByImages(full).size(), 6);
            QCOMPARE(cast(full), linesByImages(full));
            QCOMPARE(cast(QString::fromStdU16String(std::u16string(shortHexagramName(row)))), linesByImages(full));
        }
    }

    // 贲 787887 → 艮 887887: line 1 moves; 火山旅 887787; 乾 777777 → 坤 888888; 遁 887777 → 否 888777.
    void forms_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("lines");
        QTest::newRow("贲之艮") << u"贲之艮"_s << u"987887"_s;
        QTest::newRow("贲之艮为山") << u"贲之艮为山"_s << u"987887"_s;
        QTest::newRow("山火贲 初爻动") << u"山火贲 初爻动"_s << u"987887"_s;
        QTest::newRow("贲之艮 初爻动 agreeing") << u"贲之艮 初爻动"_s << u"987887"_s;
        QTest::newRow("火山旅 二五爻动") << u"火山旅 二五爻动"_s << u"867767"_s;
        QTest::newRow("乾之坤") << u"乾之坤"_s << u"999999"_s;
        QTest::newRow("天风姤上爻动") << u"天风姤上爻动"_s << u"877779"_s;
        QTest::newRow("遯之否") << u"遯之否"_s << u"889777"_s;
        QTest::newRow("地天泰 3、6爻动") << u"地天泰 3、6爻动"_s << u"779886"_s;
        QTest::newRow("empty") << u"　"_s << u"error %1"_s.arg(int(GuaNameErrorKind::Empty));
        QTest::newRow("山火") << u"山火"_s << u"error %1"_s.arg(int(GuaNameErrorKind::UnknownName));
        QTest::newRow("贲之") << u"贲之"_s << u"error %1"_s.arg(int(GuaNameErrorKind::UnknownName));
        QTest::newRow("贲之山火贲") << u"贲之山火贲"_s << u"error %1"_s.arg(int(GuaNameErrorKind::SameHexagram));
        QTest::newRow("贲之艮 二爻动") << u"贲之艮 二爻动"_s << u"error %1"_s.arg(int(GuaNameErrorKind::LinesDisagree));
        QTest::newRow("七爻动") << u"山火贲 七爻动"_s << u"error %1"_s.arg(int(GuaNameErrorKind::BadLines));
    }
    void forms()
    {
        QFETCH(QString, text);
        QFETCH(QString, lines);
        QCOMPARE(cast(text), lines);
    }
};

QTEST_GUILESS_MAIN(TestGuaName)
#include "tst_guaname.moc"
