// 卦名 entry. The lines of a full name follow from the images of its two
// trigrams (天 ☰ 111, 泽 ☱ 110, 火 ☲ 101, 雷 ☳ 100, 风 ☴ 011, 水 ☵ 010, 山 ☶ 001,
// 地 ☷ 000, bottom line first; the outer trigram named first, "X为Y" doubled),
// not from the hexagram table; the short name gives the same lines.
#include "chart/guaname.h"
#include "chart/hexagrams.h"

#include <QTest>

using namespace lotgrid;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(GuaNameErrorKind)

namespace {

QString trigramLines(QChar image)
{
    static const QString images = QStringLiteral("天泽火雷风水山地");
    static const QStringList lines{u"111"_s, u"110"_s, u"101"_s, u"100"_s,
                                   u"011"_s, u"010"_s, u"001"_s, u"000"_s};
    const qsizetype i = images.indexOf(image);
    return i < 0 ? QString() : lines[i];
}

// "101001" of 山火贲, from the images alone; 八纯卦 by the image after 为.
QString linesByImages(const QString &name)
{
    if (name.size() == 3 && name[1] == u'为')
        return trigramLines(name[2]) + trigramLines(name[2]);
    return trigramLines(name[1]) + trigramLines(name[0]);
}

// "101001" and the moving lines as "1....." of a cast.
QString notation(const std::array<CastLine, 6> &lines, QString *moving)
{
    QString values;
    moving->clear();
    for (const CastLine &l : lines) {
        values += QChar(l.value);
        *moving += l.moving ? u'1' : u'.';
    }
    return values;
}

} // namespace

class TestGuaName : public QObject
{
    Q_OBJECT
private slots:
    void allNames()
    {
        QSet<QString> keys;
        for (const HexagramRow &row : HexagramTable) {
            const QString full = QString::fromStdU16String(std::u16string(hexagramName(row)));
            const QString expected = linesByImages(full);
            QCOMPARE(expected.size(), 6);
            keys.insert(expected);
            for (const QString &name : {full, QString::fromStdU16String(std::u16string(shortHexagramName(row)))}) {
                GuaNameError e;
                const auto lines = linesFromGuaName(name.toStdU16String(), e);
                QVERIFY2(lines, qPrintable(name));
                QString moving;
                QCOMPARE(notation(*lines, &moving), expected);
                QCOMPARE(moving, u"......"_s);
            }
        }
        QCOMPARE(keys.size(), 64);
    }

    void forms_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("lines");
        QTest::addColumn<QString>("moving");
        QTest::newRow("贲之艮") << u"贲之艮"_s << u"101001"_s << u"1....."_s;
        QTest::newRow("贲之艮为山") << u"贲之艮为山"_s << u"101001"_s << u"1....."_s;
        QTest::newRow("山火贲 初爻动") << u"山火贲 初爻动"_s << u"101001"_s << u"1....."_s;
        QTest::newRow("火山旅 二五爻动") << u"火山旅 二五爻动"_s << u"001101"_s << u".1..1."_s;
        QTest::newRow("乾之坤") << u"乾之坤"_s << u"111111"_s << u"111111"_s;
        QTest::newRow("天风姤 上爻动") << u"天风姤上爻动"_s << u"011111"_s << u".....1"_s;
        QTest::newRow("遯之否") << u"遯之否"_s << u"001111"_s << u"..1..."_s;
        QTest::newRow("贲之艮 初爻动 agreeing") << u"贲之艮 初爻动"_s << u"101001"_s << u"1....."_s;
        QTest::newRow("digits") << u"地天泰 3、6爻动"_s << u"111000"_s << u"..1..1"_s;
    }
    void forms()
    {
        QFETCH(QString, text);
        QFETCH(QString, lines);
        QFETCH(QString, moving);
        GuaNameError e;
        const auto cast = linesFromGuaName(text.toStdU16String(), e);
        QVERIFY2(cast, qPrintable(QString::fromStdU16String(guaNameErrorText(e))));
        QString gotMoving;
        QCOMPARE(notation(*cast, &gotMoving), lines);
        QCOMPARE(gotMoving, moving);
    }

    void refusals_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<GuaNameErrorKind>("kind");
        QTest::newRow("empty") << u"　"_s << GuaNameErrorKind::Empty;
        QTest::newRow("山火") << u"山火"_s << GuaNameErrorKind::UnknownName;
        QTest::newRow("贲之") << u"贲之"_s << GuaNameErrorKind::UnknownName;
        QTest::newRow("贲之贲") << u"贲之山火贲"_s << GuaNameErrorKind::SameHexagram;
        QTest::newRow("贲之艮 二爻动") << u"贲之艮 二爻动"_s << GuaNameErrorKind::LinesDisagree;
        QTest::newRow("七爻动") << u"山火贲 七爻动"_s << GuaNameErrorKind::BadLines;
    }
    void refusals()
    {
        QFETCH(QString, text);
        QFETCH(GuaNameErrorKind, kind);
        GuaNameError e;
        QVERIFY(!linesFromGuaName(text.toStdU16String(), e));
        QCOMPARE(e.kind, kind);
    }
};

QTEST_GUILESS_MAIN(TestGuaName)
#include "tst_guaname.moc"
