// The drawn chart: what its model says (checked against charts worked by hand
// from the najia, palace and analysis rules), where its layout puts it, that it
// says what the copied text says, its inks' contrast, and its files.
#include "chart/charttext.h"
#include "common/notation.h"
#include "guapan/guapanexport.h"
#include "guapan/guapanpaint.h"
#include "guapan/guapanprint.h"
#include "guapan/guapanview.h"
#include "qtcore/textconv.h"

#include <QApplication>
#include <QImageReader>
#include <QPalette>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace lotgrid;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(lotgrid::CastInput)
Q_DECLARE_METATYPE(lotgrid::GuapanWords)
Q_DECLARE_METATYPE(lotgrid::GuapanColours)

namespace {

// 2000-01-01 12:00: 己卯年 丙子月 戊午日 戊午时, 旬空 子丑; 农历己卯年十一月廿五.
CastInput withMoment(CastInput in)
{
    in.moment = Moment{{2000, 1, 1}, 12, 0};
    in.dayStem = 4;
    in.monthBuild = Branch::Zi;
    in.dayBuild = Branch::Wu;
    return in;
}

// A row as "spirit|hidden|label|role|moving|marks|changed|changed's marks", the marks joined by spaces.
QString rowText(const GuapanRowModel &r)
{
    return QStringList{r.spirit,     r.hidden,           r.label,        r.role,
                       r.movingMark, r.marks.join(u' '), r.changedLabel, r.changedMarks.join(u' ')}
        .join(u'|');
}

QStringList lineTexts(const QList<GuapanFieldLine> &lines)
{
    QStringList out;
    for (const GuapanFieldLine &line : lines) {
        QStringList fields;
        for (const GuapanField &f : line.fields)
            fields << QStringList{f.label, f.value, f.note}.join(u' ').trimmed();
        out << fields.join(u" | "_s);
    }
    return out;
}

GuapanStyle style(qreal zoom = 1.0)
{
    return {QApplication::font(), zoom};
}

} // namespace

class TestGuapan : public QObject
{
    Q_OBJECT
private slots:
    void rows_data()
    {
        QTest::addColumn<CastInput>("cast");
        QTest::addColumn<QStringList>("title");
        QTest::addColumn<QStringList>("rows"); // line 6 first
        // The chart of the README: 雷泽归妹 (兑宫, metal) to 雷水解, 亥 hidden under line 4,
        // 午 broken by the 子 month, 丑 void, 巳 turning into 寅 that generates it and is its 长生.
        // Strength in the 子 (water) month and at the 午 day: earth 囚·胎, metal 休·沐浴,
        // fire 死·帝旺, wood 相·死 (长生 of earth 申, metal 巳, fire 寅, wood 亥); the
        // verdict first: 旺 with the month (旺, 相) or a day that stands on or generates the
        // line (fire, earth), unless the month breaks it (午).
        QTest::newRow("978788 at 2000-01-01 12:00")
            << withMoment(castOf(u"978788"_s)) << QStringList{u"雷泽归妹"_s, u"兑宫·归魂"_s, u"雷水解"_s, u"震宫"_s}
            << QStringList{u"朱雀||父母戌土|应||旺 · 囚 · 胎|父母戌土|"_s,
                           u"青龙||兄弟申金|||衰 · 休 · 沐浴|兄弟申金|"_s,
                           u"玄武|子孙亥水|官鬼午火|||衰 · 死 · 帝旺 月破|官鬼午火|"_s,
                           u"白虎||父母丑土|世||旺 · 囚 · 胎|官鬼午火|"_s,
                           u"腾蛇||妻财卯木|||旺 · 相 · 死|父母辰土|"_s,
                           u"勾陈||官鬼巳火||○|旺 · 死 · 帝旺|妻财寅木|回头生 化长生 旺 · 相 · 死"_s};
        // 水火既济 (坎宫, water) lacks 妻财, found as 午 on line 3 of 坎为水; no day, no spirits.
        QTest::newRow("787878 static") << castOf(u"787878"_s) << QStringList{u"水火既济"_s, u"坎宫"_s, {}, {}}
                                       << QStringList{u"||兄弟子水|应||||"_s, u"||官鬼戌土|||||"_s,
                                                      u"||父母申金|||||"_s,   u"|妻财午火|兄弟亥水|世||||"_s,
                                                      u"||官鬼丑土|||||"_s,   u"||子孙卯木|||||"_s};
        // 乾's first line 子 turns into 姤's 丑, which overcomes and combines it (子丑合): the
        // 应期 rules read that 合 under every school, so the chart says 化合 though this one leaves it out.
        CastInput gou = castOf(u"977777"_s);
        gou.options.changeCombine = false;
        QTest::newRow("977777 without 化合 among the changes")
            << gou << QStringList{u"乾为天"_s, u"乾宫·六冲"_s, u"天风姤"_s, u"乾宫"_s}
            << QStringList{u"||父母戌土|世|||父母戌土|"_s, u"||兄弟申金||||兄弟申金|"_s,
                           u"||官鬼午火||||官鬼午火|"_s,   u"||父母辰土|应|||兄弟酉金|"_s,
                           u"||妻财寅木||||子孙亥水|"_s,   u"||子孙子水||○||父母丑土|回头克 化合"_s};
        // Every line of 乾 (metal) to 坤: 未 and 卯 overcome 子 and 辰 turning into them.
        QTest::newRow("999999 all moving")
            << castOf(u"999999"_s) << QStringList{u"乾为天"_s, u"乾宫·六冲"_s, u"坤为地"_s, u"坤宫·六冲"_s}
            << QStringList{u"||父母戌土|世|○||兄弟酉金|"_s, u"||兄弟申金||○||子孙亥水|"_s,
                           u"||官鬼午火||○||父母丑土|"_s,   u"||父母辰土|应|○||妻财卯木|回头克"_s,
                           u"||妻财寅木||○||官鬼巳火|"_s,   u"||子孙子水||○||父母未土|回头克"_s};
    }
    void rows()
    {
        QFETCH(CastInput, cast);
        QFETCH(QStringList, title);
        QFETCH(QStringList, rows);
        const Chart chart = chartOf(cast);
        const GuapanModel model = guapanModel(chart, {});
        QVERIFY(model.complete);
        QCOMPARE((QStringList{model.original.name, model.original.detail, model.changed.name, model.changed.detail}),
                 title);
        QStringList got;
        for (const GuapanRowModel &r : model.rows)
            got << rowText(r);
        QCOMPARE(got, rows);

        // Laid out: line 6 on top, every run on the drawing and clear of the others, and
        // no changed column at all for a static hexagram.
        const GuapanLayout layout = layOutGuapan(model, style());
        const QRectF page(QPointF(0, 0), layout.size);
        for (qsizetype i = 0; i < layout.runs.size(); ++i) {
            const GuapanRun &a = layout.runs[i];
            QVERIFY2(page.contains(a.box), qPrintable(a.text));
            for (qsizetype j = i + 1; j < layout.runs.size(); ++j) {
                const QRectF both = a.box.intersected(layout.runs[j].box);
                QVERIFY2(both.width() < 0.5 || both.height() < 0.5,
                         qPrintable(a.text + u" / "_s + layout.runs[j].text));
            }
        }
        qreal above = 0;
        for (int n = 6; n >= 1; --n) {
            const QList<GuapanRun> runs = layout.rowRuns(n);
            QVERIFY(!runs.isEmpty() && runs.front().box.top() > above);
            above = runs.front().box.bottom();
            const bool changedColumns = std::ranges::any_of(
                runs, [](const GuapanRun &r) { return r.cell == GuapanCell::Changed || r.cell == GuapanCell::Arrow; });
            QCOMPARE(changedColumns, model.hasChanged);
            // Each line's words on its own side of the changed line (their boxes overlap nothing).
            const auto changed = std::ranges::find(runs, GuapanCell::Changed, &GuapanRun::cell);
            for (const GuapanRun &r : runs)
                if (changed != runs.end() && (r.cell == GuapanCell::Mark || r.cell == GuapanCell::ChangedMark))
                    QCOMPARE(r.box.left() > changed->box.left(), r.cell == GuapanCell::ChangedMark);
            QCOMPARE(std::ranges::count_if(layout.bars, [n](const GuapanBar &b) { return b.line == n; }),
                     model.hasChanged ? 2 : 1);
        }
        QCOMPARE(layout.texts(GuapanPart::Title).contains(u"变卦"_s), model.hasChanged);

        // Type at twice the zoom takes about twice the room.
        const qreal ratio = layOutGuapan(model, style(2.0)).size.width() / layout.size.width();
        QVERIFY2(ratio > 1.8 && ratio < 2.2, qPrintable(QString::number(ratio)));
    }

    // Less room than the drawing wants: smaller type, never under 9 px, the same
    // words on every line; no fit below what 9 px needs.
    void fitsTheWidth()
    {
        const GuapanModel model = guapanModel(chartOf(withMoment(castOf(u"978788"_s))), {});
        const GuapanLayout whole = layOutGuapan(model, style(2.0));
        for (const qreal share : {1.0, 0.8, 0.5, 1.0 / 6}) {
            GuapanStyle narrow = style(2.0);
            narrow.width = std::floor(whole.size.width() * share);
            const GuapanLayout layout = layOutGuapan(model, narrow);
            QCOMPARE(layout.fits, share > 0.2);
            QCOMPARE(layout.body.pixelSize() == whole.body.pixelSize(), share == 1.0);
            QVERIFY(layout.fits ? layout.size.width() <= narrow.width : layout.body.pixelSize() == 9);
            for (int n = 1; n <= 6; ++n)
                QCOMPARE(layout.rowRuns(n).size(), whole.rowRuns(n).size());
        }
    }

    void header_data()
    {
        QTest::addColumn<CastInput>("cast");
        QTest::addColumn<GuapanWords>("words");
        QTest::addColumn<QStringList>("header");
        const GuapanWords asked{u"问\n工作 "_s, u"手动摇卦"_s, false};
        CastInput askedCast = withMoment(castOf(u"978788"_s));
        askedCast.category = Category::Work;
        askedCast.sex = Sex::Female;
        QTest::newRow("builds from the moment")
            << askedCast << asked
            << QStringList{u"起卦时间 2000-01-01 12:00 农历己卯年十一月廿五 | 起卦方式 手动摇卦"_s,
                           u"四柱 己卯年 丙子月 戊午日（子丑空） 戊午时"_s,
                           u"月建 子 | 日建 戊午"_s,
                           u"占类 工作 | 卜问何事 问 工作"_s,
                           u"性别 女"_s,
                           u"用神 官鬼（初爻） 两现：四爻"_s};
        // 甲午 picked by hand: its 旬空 (甲午旬: 辰巳) follows it, not the day pillar.
        CastInput byHand = withMoment(castOf(u"978788"_s));
        byHand.dayStem = 0;
        QTest::newRow("day by hand") << byHand << GuapanWords{}
                                     << QStringList{u"起卦时间 2000-01-01 12:00 农历己卯年十一月廿五"_s,
                                                    u"四柱 己卯年 丙子月 戊午日 戊午时"_s,
                                                    u"月建 子 | 日建 甲午（辰巳空） 手选"_s};
        CastInput noMoment = byHand;
        noMoment.moment.reset();
        noMoment.monthBuild = Branch::Yin;
        noMoment.byHand[static_cast<std::size_t>(DayPart::MonthBuild)] = true;
        QTest::newRow("no moment") << noMoment << GuapanWords{} << QStringList{u"月建 寅 手选 | 日建 甲午（辰巳空）"_s};
        QTest::newRow("nothing") << CastInput{} << GuapanWords{} << QStringList{};
    }
    void header()
    {
        QFETCH(CastInput, cast);
        QFETCH(GuapanWords, words);
        QFETCH(QStringList, header);
        QCOMPARE(lineTexts(guapanModel(chartOf(cast), words).header), header);
    }

    // A question pasted whole is drawn in at most three lines, the last ending
    // in "…", and the chart keeps its size, on the screen and on a page.
    void longQuestion_data()
    {
        QTest::addColumn<QString>("question");
        QTest::newRow("30 characters, whole") << QString(30, u'问');
        QTest::newRow("2,000 characters") << QString(2000, u'问');
        QString beyond;
        for (int i = 0; i < 100000; ++i)
            beyond += QString::fromUcs4(U"𠀀", 1);
        QTest::newRow("100,000 characters beyond the BMP") << beyond;
    }
    void longQuestion()
    {
        QFETCH(QString, question);
        const Chart chart = chartOf(withMoment(castOf(u"978788"_s)));
        const GuapanLayout shortOne = guapanLayout(chart, GuapanWords{u"问"_s, {}, false}, style());
        const GuapanLayout layout = guapanLayout(chart, GuapanWords{question, {}, false}, style());
        // The question's runs: after its label, up to the next one.
        QStringList lines;
        for (auto run = std::ranges::find(layout.runs, u"卜问何事"_s, &GuapanRun::text) + 1;
             run < layout.runs.end() && run->ink == GuapanInk::Ink; ++run)
            lines << run->text;
        QVERIFY(!lines.isEmpty() && lines.size() <= 3);
        QString shown = lines.join(QString());
        if (shown != question)
            QVERIFY(shown.endsWith(u'…') && question.startsWith(shown.chopped(1))
                    && !shown.chopped(1).back().isHighSurrogate());
        QCOMPARE(layout.size.width(), shortOne.size.width());
        QVERIFY(layout.size.height() < shortOne.size.height() * 1.2);
    }

    // A wrapped question, at widths that wrap it, never starts a line with closing
    // punctuation nor ends one with opening punctuation, never splits 月建, and has
    // its ASCII punctuation drawn full-width.
    void lineBreaks_data()
    {
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("drawn");
        const QString commas = u"问财运如何，今年能否得财，何时见财，与人合伙可否，投资房产如何。"_s;
        QTest::newRow("commas") << commas << commas;
        QTest::newRow("月建 repeated") << QString(u"月建"_s).repeated(17) << QString(u"月建"_s).repeated(17);
        QTest::newRow("ASCII") << u"问(工作)调动,能否成功;何时有消息:几月?与上司(王某)相处如何?"_s
                               << u"问（工作）调动，能否成功；何时有消息：几月？与上司（王某）相处如何？"_s;
    }
    void lineBreaks()
    {
        QFETCH(QString, question);
        QFETCH(QString, drawn);
        for (const qreal width : {260.0, 340.0}) {
            const GuapanLayout layout
                = guapanLayout(chartOf(withMoment(castOf(u"978788"_s))), GuapanWords{question, {}, false},
                               {QApplication::font(), 1, width});
            QStringList lines;
            for (auto run = std::ranges::find(layout.runs, u"卜问何事"_s, &GuapanRun::text) + 1;
                 run < layout.runs.end() && run->ink == GuapanInk::Ink; ++run)
                lines << run->text;
            QVERIFY(lines.size() > 1 && lines.join(QString()) == drawn);
            for (qsizetype k = 1; k < lines.size(); ++k)
                QVERIFY2(!u"，。、；：？！）」》”"_s.contains(lines[k].front())
                             && !u"（「《“"_s.contains(lines[k - 1].back())
                             && !(lines[k - 1].endsWith(u'月') && lines[k].startsWith(u'建')),
                         qPrintable(lines.join(u'/')));
        }
    }

    // 纳甲带天干: 乾 takes 甲 below and 壬 above, 坤 乙 and 癸, 离 己, 艮 丙, 震 庚, 兑 丁.
    void stems_data()
    {
        QTest::addColumn<QString>("cast");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("changed");
        QTest::newRow("乾 line 1") << u"777777"_s << 1 << u"子孙甲子水"_s << QString();
        QTest::newRow("乾 line 4") << u"777777"_s << 4 << u"官鬼壬午火"_s << QString();
        QTest::newRow("坤 line 1") << u"888888"_s << 1 << u"兄弟乙未土"_s << QString();
        QTest::newRow("坤 line 6") << u"888888"_s << 6 << u"子孙癸酉金"_s << QString();
        QTest::newRow("贲 line 1 to 艮") << u"987887"_s << 1 << u"官鬼己卯木"_s << u"兄弟丙辰土"_s;
        QTest::newRow("贲 line 4") << u"987887"_s << 4 << u"兄弟丙戌土"_s << u"兄弟丙戌土"_s;
        // 雷泽归妹 (兑宫) hides 子孙亥水 under line 4, from 兑为泽 whose outer 兑 takes 丁.
        QTest::newRow("归妹 hidden") << u"978788"_s << 4 << u"官鬼庚午火|子孙丁亥水"_s << u"官鬼庚午火"_s;
    }
    void stems()
    {
        QFETCH(QString, cast);
        QFETCH(int, line);
        QFETCH(QString, label);
        QFETCH(QString, changed);
        GuapanWords words;
        words.najiaStems = true;
        const GuapanModel model = guapanModel(chartOf(castOf(cast)), words);
        const GuapanRowModel &row = model.rows[static_cast<std::size_t>(6 - line)];
        QCOMPARE(row.hidden.isEmpty() ? row.label : row.label + u'|' + row.hidden, label);
        QCOMPARE(row.changedLabel, changed);
    }

    // Every hexagram with lines 1 and 4 moving: the drawing and the copied text say the same.
    void sameWordsAsTheCopiedText()
    {
        for (const HexagramRow &h : HexagramTable) {
            CastInput in = withMoment({});
            for (int n = 1; n <= 6; ++n)
                in.line(n) = {h.key[static_cast<std::size_t>(n - 1)], n == 1 || n == 4};
            const Chart chart = chartOf(in);
            const QString text = qs(chartText(chart));
            const QStringList lines = text.split(u'\n');
            const GuapanModel model = guapanModel(chart, {});
            QVERIFY(text.contains(model.original.name) && text.contains(model.changed.name));
            for (const GuapanRowModel &r : model.rows) {
                const auto line
                    = std::ranges::find_if(lines, [&r](const QString &l) { return l.startsWith(r.spirit); });
                QVERIFY(line != lines.end());
                QVERIFY2(line->contains(r.label), qPrintable(*line));
                if (r.moving)
                    QVERIFY2(line->contains(r.changedLabel), qPrintable(*line));
                // The strength as the text has it ("旺·帝旺") after its verdict; the changes.
                for (QString m : r.marks + r.changedMarks.filter(QRegularExpression(u"^[^旺衰]"_s)))
                    QVERIFY2(line->contains(m.remove(QRegularExpression(u"^[旺衰] · "_s)).remove(u' ')),
                             qPrintable(*line + u" / "_s + m));
            }
            for (const QString &foot : lineTexts(model.foot))
                for (QString piece : foot.split(u" | "_s))
                    QVERIFY2(text.contains(piece.remove(u"卦身 "_s)
                                               .remove(u"神煞 "_s)
                                               .remove(u"应期参考 "_s)
                                               .remove(u"趋势 "_s)
                                               .remove(u"待条件 "_s)),
                             qPrintable(piece));
        }
    }

    // 乾为天 asked about wealth (寅 on line 2) in a 亥 month: on a 丙午 day 寅 is void but
    // generated by the month (假空, 待出空); on a 甲寅 day nothing waits, and the 原神 子 is void (无力).
    void summaryAtTheFoot_data()
    {
        QTest::addColumn<int>("dayStem");
        QTest::addColumn<bool>("full");
        QTest::addColumn<QStringList>("foot"); // the foot's lines from 趋势 on
        QTest::newRow("nothing waits") << 0 << false << QStringList{u"趋势 有利——用神得月建生、日建临，无克害。"_s};
        QTest::newRow("void") << 2 << false
                              << QStringList{u"趋势 待条件——用神得月建生，无克害，尚待出空。"_s,
                                             u"待条件 待出空（假空）"_s};
        QTest::newRow("on paper") << 0 << true
                                  << QStringList{u"趋势 有利——用神得月建生、日建临，无克害。"_s,
                                                 u"要点 用神：二爻妻财寅木（占求财）"_s,
                                                 u"用神旺：月建生、临日建"_s,
                                                 u"生扶：月建生、日建临"_s,
                                                 u"原神：初爻子水无力"_s,
                                                 u"忌神：五爻申金无力"_s,
                                                 u"世上爻戌土，应三爻辰土：比和、相冲"_s,
                                                 u"本卦六冲"_s};
    }
    void summaryAtTheFoot()
    {
        QFETCH(int, dayStem);
        QFETCH(bool, full);
        QFETCH(QStringList, foot);
        CastInput in = castOf(u"777777");
        in.options = schoolPreset(School::ZengShan);
        in.dayStem = dayStem;
        in.dayBuild = dayStem == 0 ? Branch::Yin : Branch::Wu;
        in.monthBuild = Branch::Hai;
        in.category = Category::Wealth;
        GuapanWords words;
        words.fullSummary = full;
        const QStringList lines = lineTexts(guapanModel(chartOf(in), words).foot);
        QCOMPARE(lines.mid(lines.indexOf(foot.first())), foot);
        // A picked line is highlighted besides the use god.
        const qsizetype plain = guapanLayout(chartOf(in), words, style()).highlights.size();
        words.picked = {5};
        QCOMPARE(guapanLayout(chartOf(in), words, style()).highlights.size(), plain + 1);
    }

    void contrast_data()
    {
        QTest::addColumn<GuapanColours>("colours");
        QTest::newRow("light") << lightGuapanColours();
        QTest::newRow("dark") << darkGuapanColours();
    }
    void contrast()
    {
        QFETCH(GuapanColours, colours);
        for (const QColor &ground : {colours.ground, colours.highlight})
            for (const QColor &ink : {colours.ink, colours.secondary, colours.accent})
                QVERIFY2(contrastRatio(ink, ground) >= 4.5, qPrintable(ink.name() + u" on "_s + ground.name()));
        QPalette palette;
        palette.setColor(QPalette::Window, colours.ground);
        QCOMPARE(guapanColours(palette).ground, colours.ground);
    }

    void fileNames_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("path");
        QTest::newRow("png") << u"a.png"_s << u"a.png"_s;
        QTest::newRow("JPG") << u"a.JPG"_s << u"a.JPG"_s;
        QTest::newRow("no suffix") << u"a"_s << u"a.png"_s;
        QTest::newRow("dot") << u"dot."_s << u"dot.png"_s;
        QTest::newRow("not a picture") << u"a.chart"_s << u"a.chart.png"_s;
    }
    void fileNames()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, path);
        QCOMPARE(picturePath(chosen), path);
        const QDateTime now(QDate(2026, 12, 7), QTime(12, 37));
        QCOMPARE(guapanFileName(chartOf(castOf(u"987887"_s)), now), u"六爻_山火贲之艮为山_20261207-1237.png"_s);
        QCOMPARE(guapanFileName(chartOf(withMoment(castOf(u"787878"_s))), now), u"六爻_水火既济_20000101-1200.png"_s);
        QTemporaryDir dir;
        QCOMPARE(guapanFolder(dir.path()), QDir::cleanPath(dir.path()));
        QCOMPARE(guapanFolder(dir.filePath(u"missing"_s)), QDir::homePath());
    }

    void writtenFiles()
    {
        QTemporaryDir dir;
        const Chart chart = chartOf(withMoment(castOf(u"696969"_s))); // 火水未济 to 水火既济
        const QImage image = guapanPicture(chart, {}, style(), 2.0);
        QVERIFY(!image.isNull());
        QString error;
        QVERIFY(writePicture(image, dir.filePath(u"a.jpg"_s), &error));
        QCOMPARE(QImageReader(dir.filePath(u"a.jpg"_s)).format(), QByteArray("jpeg"));
        QVERIFY(!writePicture(image, dir.filePath(u"a.jpg/b.png"_s), &error));
        QVERIFY(!error.isEmpty());

        // The PDF's text reads 火 as the ideograph (U+706B), never as the Kangxi radical (U+2F55).
        QVERIFY(writePdf(dir.filePath(u"a.pdf"_s), QPageSize::A5, chart, {}, style(), &error));
        QFile pdf(dir.filePath(u"a.pdf"_s));
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        const QByteArray bytes = pdf.readAll();
        QVERIFY(bytes.startsWith("%PDF") && bytes.contains("<706B>") && !bytes.contains("<2F55>"));
        QVERIFY(!writePdf(dir.filePath(u"a.pdf/b.pdf"_s), QPageSize::A4, chart, {}, style(), &error));

        // Printed to a file: one A5 page named after the hexagrams.
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(u"printed.pdf"_s));
        preparePrinter(printer, chart, QPageSize::A5);
        QCOMPARE(printer.docName(), u"六爻 火水未济之水火既济"_s);
        QVERIFY(printChart(printer, chart, {}, style()));
        QVERIFY(QFileInfo(dir.filePath(u"printed.pdf"_s)).size() > 1000);
    }

    void pane()
    {
        GuapanView view;
        QCOMPARE(view.objectName(), u"guapan"_s);
        const QSize empty = view.sizeHint();
        view.setChart(chartOf(withMoment(castOf(u"978788"_s))));
        QVERIFY(view.model().complete);
        QCOMPARE(view.sizeHint(), view.guapanLayout().size.toSize());
        QVERIFY(view.sizeHint().height() > empty.height());
        const QSize atOne = view.sizeHint();
        view.setZoom(1.5);
        QVERIFY(view.sizeHint().width() > atOne.width() && view.sizeHint().height() > atOne.height());
    }
};

QTEST_MAIN(TestGuapan)
#include "tst_guapan.moc"
