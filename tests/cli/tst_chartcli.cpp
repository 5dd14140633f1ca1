// lotgrid-chart: the arguments it takes and refuses (status 2, one line on
// stderr saying what is wrong, nothing on stdout), its two forms of output,
// and the executable itself run as a process.
#include "calendar/zones.h"
#include "chart/charttext.h"
#include "cli/chartcli.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringDecoder>
#include <QTest>

#include <algorithm>
#include <vector>

using namespace lotgrid;
using namespace lotgrid::cli;
using namespace Qt::StringLiterals;

namespace {

CliResult run(const QStringList &args)
{
    std::vector<std::string> utf8;
    for (const QString &a : args)
        utf8.push_back(a.toStdString());
    std::vector<std::string_view> views(utf8.begin(), utf8.end());
    return runChartCli(views);
}

CliResult run(const QList<QByteArray> &args)
{
    std::vector<std::string_view> views;
    for (const QByteArray &a : args)
        views.emplace_back(a.constData(), static_cast<std::size_t>(a.size()));
    return runChartCli(views);
}

QString text(const std::string &s)
{
    return QString::fromStdString(s);
}

} // namespace

class TestChartCli : public QObject
{
    Q_OBJECT
private slots:
    void badInput_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("message"); // what the one line on stderr must say

        QTest::newRow("nothing") << QStringList{} << u"no LINES given"_s;
        QTest::newRow("options only") << QStringList{u"--json"_s} << u"no LINES given"_s;
        QTest::newRow("five digits") << QStringList{u"97878"_s} << u"LINES must be six digits, not 5: \"97878\""_s;
        QTest::newRow("seven digits") << QStringList{u"9787887"_s} << u"LINES must be six digits, not 7"_s;
        QTest::newRow("empty LINES") << QStringList{u""_s} << u"LINES must be six digits, not 0"_s;
        QTest::newRow("0/1 notation") << QStringList{u"101010"_s} << u"line 1 is \"1\""_s;
        QTest::newRow("digit 5") << QStringList{u"978758"_s} << u"only the digits 6, 7, 8 and 9; line 5 is \"5\""_s;
        QTest::newRow("letter") << QStringList{u"97x788"_s} << u"line 3 is \"x\""_s;
        QTest::newRow("unknown school") << QStringList{u"978788"_s, u"--school"_s, u"梅花"_s}
                                        << u"--school takes 增删卜易, 卜筮正宗 or 通行, not \"梅花\""_s;
        QTest::newRow("bad option word") << QStringList{u"978788"_s, u"--twice=both"_s}
                                         << u"--twice takes \"ancient\", \"world\", \"common\", not \"both\""_s;
        QTest::newRow("two LINES") << QStringList{u"978788"_s, u"777777"_s} << u"more than one LINES given"_s;
        QTest::newRow("unknown option") << QStringList{u"978788"_s, u"--yaml"_s} << u"unknown option \"--yaml\""_s;
        QTest::newRow("short option") << QStringList{u"-j"_s, u"978788"_s} << u"unknown option \"-j\""_s;
        QTest::newRow("category not in the list")
            << QStringList{u"978788"_s, u"--category=求官"_s} << u"--category \"求官\" is not a category"_s;
        QTest::newRow("category without value") << QStringList{u"978788"_s, u"--category"_s} << u"needs a value"_s;
        QTest::newRow("sex in English") << QStringList{u"978788"_s, u"--sex"_s, u"F"_s} << u"neither 男 nor 女"_s;
        QTest::newRow("sex twice") << QStringList{u"978788"_s, u"--sex=男"_s, u"--sex=女"_s} << u"given twice"_s;
        QTest::newRow("time without value") << QStringList{u"978788"_s, u"--time"_s} << u"--time needs a value"_s;
        QTest::newRow("time twice") << QStringList{u"978788"_s, u"--time"_s, u"2000-01-01 12:00"_s,
                                                   u"--time=2000-01-01 13:00"_s}
                                    << u"--time is given twice"_s;
        QTest::newRow("time unpadded") << QStringList{u"978788"_s, u"--time"_s, u"2000-1-1 12:00"_s}
                                       << u"is not of the form \"YYYY-MM-DD HH:MM\""_s;
        QTest::newRow("time with T") << QStringList{u"978788"_s, u"--time"_s, u"2000-01-01T12:00"_s}
                                     << u"is not of the form"_s;
        QTest::newRow("time with seconds")
            << QStringList{u"978788"_s, u"--time"_s, u"2000-01-01 12:00:00"_s} << u"is not of the form"_s;
        QTest::newRow("date only") << QStringList{u"978788"_s, u"--time"_s, u"2000-01-01"_s} << u"is not of the form"_s;
        QTest::newRow("30 February") << QStringList{u"978788"_s, u"--time"_s, u"2000-02-30 12:00"_s}
                                     << u"\"2000-02-30 12:00\" is not a date and time of the calendar"_s;
        QTest::newRow("29 February 2100")
            << QStringList{u"978788"_s, u"--time=2100-02-29 12:00"_s} << u"is not a date and time of the calendar"_s;
        QTest::newRow("hour 24") << QStringList{u"978788"_s, u"--time"_s, u"2000-01-01 24:00"_s}
                                 << u"is not a date and time of the calendar"_s;
        QTest::newRow("minute 60") << QStringList{u"978788"_s, u"--time"_s, u"2000-01-01 12:60"_s}
                                   << u"is not a date and time of the calendar"_s;
        QTest::newRow("month 13") << QStringList{u"978788"_s, u"--time"_s, u"2000-13-01 12:00"_s}
                                  << u"is not a date and time of the calendar"_s;
        QTest::newRow("a minute before the span") << QStringList{u"978788"_s, u"--time"_s, u"1900-01-30 23:59"_s}
                                                  << u"lies outside 1900-01-31 00:00 .. 2100-12-31 23:59"_s;
        QTest::newRow("a minute after the span")
            << QStringList{u"978788"_s, u"--time"_s, u"2101-01-01 00:00"_s} << u"lies outside"_s;
        QTest::newRow("yangren unknown") << QStringList{u"978788"_s, u"--yangren=before"_s} << u"not \"before\""_s;
        QTest::newRow("LINES and numbers") << QStringList{u"978788"_s, u"--numbers"_s, u"3,4"_s} << u"give one of"_s;
        QTest::newRow("time cast without time") << QStringList{u"--time-cast"_s} << u"--time-cast needs --time"_s;
        QTest::newRow("numbers zero") << QStringList{u"--numbers=0,4"_s} << u"not \"0,4\""_s;
        QTest::newRow("number hour without time")
            << QStringList{u"--numbers=3,4"_s, u"--number-hour"_s} << u"--number-hour needs --time"_s;
        QTest::newRow("zone without time") << QStringList{u"978788"_s, u"--tz=伦敦"_s} << u"go with --time"_s;
        QTest::newRow("unknown zone") << QStringList{u"978788"_s, u"--tz=Mars/Base"_s, u"--time=2000-01-01 12:00"_s}
                                      << u"\"Mars/Base\""_s;
        QTest::newRow("unknown city") << QStringList{u"978788"_s, u"--city=长安"_s, u"--time=2000-01-01 12:00"_s}
                                      << u"--city \"长安\""_s;
        QTest::newRow("longitude 200") << QStringList{u"978788"_s, u"--longitude=200"_s, u"--time=2000-01-01 12:00"_s}
                                       << u"--longitude takes degrees"_s;
        QTest::newRow("unknown hexagram") << QStringList{u"--gua=山火"_s} << u"六十四卦"_s;
        QTest::newRow("impossible ganzhi") << QStringList{u"--ganzhi=乙卯日 壬辰时"_s} << u"五鼠遁"_s;
        QTest::newRow("no date without day")
            << QStringList{u"978788"_s, u"--ganzhi=卯月"_s, u"--no-date"_s} << u"--no-date needs the day's stem"_s;
        QTest::newRow("ganzhi and lines") << QStringList{u"978788"_s, u"--ganzhi=戊寅日"_s} << u"--ganzhi lists"_s;
    }

    // The moment on a zone's clock and on a summer-time day, the lines by name,
    // a chart without a date, and the dates of 干支.
    void entries()
    {
        if (haveZoneDatabase()) {
            const CliResult ny
                = run(QStringList{u"978788"_s, u"--tz=America/New_York"_s, u"--time=2026-12-07 08:30"_s});
            QVERIFY(text(ny.out).startsWith(
                u"起卦时间：纽约 2026-12-07 08:30 = 北京时间 2026-12-07 21:30  丙午年 庚子月 乙卯日 丁亥时"_s));
            const CliResult summer = run(QStringList{u"978788"_s, u"--time=1988-07-01 10:00"_s});
            QVERIFY(text(summer.out).startsWith(u"起卦时间：1988-07-01 09:00（夏令时，已减一小时）"_s));
            const CliResult kept = run(QStringList{u"978788"_s, u"--time=1988-07-01 10:00"_s, u"--standard-time"_s});
            QVERIFY(text(kept.out).startsWith(u"起卦时间：1988-07-01 10:00  "_s));
        }
        QCOMPARE(text(run(QStringList{u"--gua=火山旅 二五爻动"_s, u"--json"_s}).out).section(u'"', 3, 3), u"867767"_s);
        const QString noDate = text(run(QStringList{u"--gua=贲"_s, u"--ganzhi=卯月戊寅日"_s, u"--no-date"_s}).out);
        QVERIFY2(noDate.startsWith(u"月建：卯  日建：戊寅  旬空：申酉\n"_s), qPrintable(noDate));
        const QString dates = text(run(QStringList{u"--ganzhi=戊寅日"_s, u"--years=2026-2026"_s}).out);
        // 2026-01-04 is 戊寅 (27854 days after 甲子 1949-10-01, 14 mod 60), then every sixty days to 12-30.
        QVERIFY2(dates.startsWith(u"戊寅日：2026—2026年间共7处"_s), qPrintable(dates));
        const QString solar
            = text(run(QStringList{u"978788"_s, u"--city=乌鲁木齐"_s, u"--time=2026-12-07 10:44"_s}).out);
        QVERIFY2(solar.contains(u"\n真太阳时：2026-12-07 08:43（乌鲁木齐，东经87.62°）\n"_s), qPrintable(solar));
        QVERIFY2(solar.contains(u"\n临界：起卦在大雪（2026-12-07 10:52）前8分钟，另一侧为庚子月\n"_s),
                 qPrintable(solar));
    }

    void badInput()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, message);
        const CliResult r = run(args);
        QCOMPARE(r.status, ExitBadInput);
        QVERIFY(r.out.empty());
        const QString err = text(r.err);
        QVERIFY2(err.startsWith(u"lotgrid-chart: "_s), qPrintable(err));
        QVERIFY2(err.contains(message), qPrintable(err));
        QVERIFY(err.endsWith(u'\n'));
        QCOMPARE(err.count(u'\n'), 1);
    }

    // The command line's messages: an argument they echo comes out quoted, so
    // that it cannot steer the terminal, break the line or its UTF-8, or fill the
    // screen: controls escaped, whole characters, at most 40 of them.
    void messages_data()
    {
        QTest::addColumn<QList<QByteArray>>("args");
        QTest::addColumn<QByteArray>("message"); // part of the line on stderr
        using Args = QList<QByteArray>;
        QTest::newRow("title escape") << Args{"\x1b]0;pwned\a"} << QByteArray("\"\\x1B]0;pwned\\x07\"");
        QTest::newRow("newline") << Args{"97\n8788"} << QByteArray("not 7: \"97\\n8788\"");
        QTest::newRow("tab, CR, DEL") << Args{"--\t\r\x7f"} << QByteArray("\"--\\t\\r\\x7F\"");
        QTest::newRow("quote, backslash") << Args{"--a\"b\\"} << QByteArray("\"--a\\\"b\\\\\"");
        QTest::newRow("C1 CSI") << Args{"--\xc2\x9b"
                                        "2J"}
                                << QByteArray("\"--\\u009B2J\"");
        QTest::newRow("right-to-left override") << Args{"--\xe2\x80\xaex"} << QByteArray("\"--\\u202Ex\"");
        QTest::newRow("line separator") << Args{"--\xe2\x80\xa8"} << QByteArray("\"--\\u2028\"");
        QTest::newRow("two full-width digits") << Args{"７７"} << QByteArray("not 2: \"７７\"");
        QTest::newRow("six full-width digits") << Args{"７７７７７７"} << QByteArray("line 1 is \"７\"");
        QTest::newRow("CJK kept") << Args{"--卦"} << QByteArray("\"--卦\"");
        QTest::newRow("stray byte") << Args{"97\xff"
                                            "788"}
                                    << QByteArray("line 3 is \"\\xFF\"");
        QTest::newRow("overlong slash") << Args{"--\xc0\xaf"} << QByteArray("\"--\\xC0\\xAF\"");
        QTest::newRow("surrogate") << Args{"--\xed\xa0\x80"} << QByteArray("\"--\\xED\\xA0\\x80\"");
        QTest::newRow("cut sequence") << Args{"--\xe4\xb8"} << QByteArray("\"--\\xE4\\xB8\"");
        QTest::newRow("past U+10FFFF") << Args{"--\xf4\x90\x80\x80"} << QByteArray("\"--\\xF4\\x90\\x80\\x80\"");
        QTest::newRow("40 characters") << Args{"--" + QByteArray(38, 'x')} << "\"--" + QByteArray(38, 'x') + '"';
        QTest::newRow("41 characters") << Args{"--" + QByteArray(39, 'x')} << "\"--" + QByteArray(38, 'x') + "…\"";
        QTest::newRow("41 CJK characters")
            << Args{"--" + QByteArray("卦").repeated(39)} << "\"--" + QByteArray("卦").repeated(38) + "…\"";
        QTest::newRow("131072 digits") << Args{QByteArray(131072, '7')}
                                       << "not 131072: \"" + QByteArray(40, '7') + "…\"";
        QTest::newRow("second LINES") << Args{"978788", "\x1b[2J"} << QByteArray("\"978788\" and \"\\x1B[2J\"");
        QTest::newRow("time") << Args{"978788", "--time=\x1b[2J"} << QByteArray("--time \"\\x1B[2J\" is not");
        // The moment is in the calendar; the day a time cast reads from 23:00 is not.
        QTest::newRow("time cast, next day") << Args{"--time-cast", "--time=2100-12-31 23:30", "--zi23"}
                                             << QByteArray("next day, 2101-01-01, past the lunar calendar's last day");
    }

    void messages()
    {
        QFETCH(QList<QByteArray>, args);
        QFETCH(QByteArray, message);
        const CliResult r = run(args);
        QCOMPARE(r.status, ExitBadInput);
        QVERIFY(r.out.empty());
        const QByteArray err = QByteArray::fromStdString(r.err);
        QVERIFY2(err.contains(message), err.constData());
        QVERIFY(err.endsWith('\n'));
        QVERIFY(err.size() < 200);
        QVERIFY(std::ranges::none_of(err.chopped(1), [](char c) { return c >= 0 && (c < 0x20 || c == 0x7f); }));
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString decoded = utf8(err);
        QVERIFY(!utf8.hasError());
        QVERIFY(std::ranges::none_of(decoded, [](QChar c) { return c.unicode() >= 0x80 && c.unicode() <= 0x9f; }));
    }

    // The plum-blossom casts by hand. 2024-02-10 is 正月初一 of a 辰 (5) year:
    // 5+1+1 = 7 艮 above, with the 子 hour 8 坤 below, 8 mod 6 = 2: 山地剥, line 2
    // moving. From 23:00 as the next day (初二): 坤 above, 9 → 乾 below, line 3:
    // 地天泰. Numbers 12 and 8: 震 above 坤, 20 mod 6 = 2; with the 午 hour (7), line 3.
    void handCasts_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("lines");
        QTest::addColumn<QString>("option"); // one of the JSON's "options", or empty when it has none
        const QString t = u"--time=2024-02-10 23:30"_s;
        QTest::newRow("time cast") << QStringList{u"--time-cast"_s, t} << u"868887"_s << QString();
        QTest::newRow("time cast, zi23") << QStringList{u"--time-cast"_s, t, u"--zi23"_s} << u"779888"_s << QString();
        QTest::newRow("time cast, zi23, midnight")
            << QStringList{u"--time-cast"_s, t, u"--zi23"_s, u"--time-cast-day"_s, u"midnight"_s} << u"868887"_s
            << uR"("timeCastDay":"子正换日")"_s;
        QTest::newRow("time cast, at 23") << QStringList{u"--time-cast"_s, t, u"--time-cast-day=zi23"_s} << u"779888"_s
                                          << uR"("timeCastDay":"子初换日")"_s;
        QTest::newRow("numbers") << QStringList{u"--numbers"_s, u"12,8"_s} << u"868788"_s << QString();
        QTest::newRow("numbers with the hour")
            << QStringList{u"--numbers=12,8"_s, u"--number-hour"_s, u"--time=2024-02-11 12:00"_s} << u"886788"_s
            << uR"("numberCastHour":true)"_s;
        QTest::newRow("yangren") << QStringList{u"978788"_s, u"--yangren"_s, u"yang-after-yin-before"_s} << u"978788"_s
                                 << uR"("options":{"yangren":"阳前阴后"})"_s;
        QTest::newRow("fanyin") << QStringList{u"978788"_s, u"--fanyin-facing"_s} << u"978788"_s
                                << uR"("fanyin":"地支相冲或后天对宫")"_s;
        // A school's own options are not listed; one changed after it is, against that school.
        QTest::newRow("school") << QStringList{u"978788"_s, u"--school=卜筮正宗"_s} << u"978788"_s << QString();
        QTest::newRow("school and an option")
            << QStringList{u"978788"_s, u"--yingqi"_s, u"book"_s, u"--school"_s, u"通行"_s} << u"978788"_s
            << uR"("school":"通行","options":{"bookYingqi":true})"_s;
    }
    void handCasts()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, lines);
        QFETCH(QString, option);
        const QString out = text(run(args << u"--json"_s).out);
        QCOMPARE(QJsonDocument::fromJson(out.toUtf8()).object()[u"lines"_s].toString(), lines);
        QCOMPARE(out.contains(u"\"options\":"_s), !option.isEmpty());
        QVERIFY2(out.contains(option), qPrintable(option));
    }

    void goodInput_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<bool>("json");
        QTest::newRow("lines") << QStringList{u"978788"_s} << false;
        QTest::newRow("first minute") << QStringList{u"978788"_s, u"--time"_s, u"1900-01-31 00:00"_s} << false;
        QTest::newRow("last minute, zi23")
            << QStringList{u"--zi23"_s, u"--time=2100-12-31 23:59"_s, u"666666"_s} << false;
        QTest::newRow("json first") << QStringList{u"--json"_s, u"999999"_s} << true;
        QTest::newRow("json timed") << QStringList{u"978788"_s, u"--json"_s, u"--time"_s, u"2026-12-07 08:30"_s}
                                    << true;
    }

    void goodInput()
    {
        QFETCH(QStringList, args);
        QFETCH(bool, json);
        const CliResult r = run(args);
        QCOMPARE(r.status, ExitOk);
        QVERIFY(r.err.empty());
        QVERIFY(!r.out.empty());
        if (json)
            QVERIFY(QJsonDocument::fromJson(QByteArray::fromStdString(r.out)).isObject());
        else
            QVERIFY(text(r.out).startsWith(u"起卦时间："_s) || text(r.out).startsWith(u"本卦："_s));
    }

    // The JSON always names the texts the cast reads; --texts adds their block
    // to the text. 乾 with line 3 moving reads its 九三; with all six, 用九.
    void texts()
    {
        const QJsonObject all = QJsonDocument::fromJson(QByteArray::fromStdString(run({u"999999"_s, u"--json"_s}).out))
                                    .object()[u"texts"_s]
                                    .toObject();
        QCOMPARE(all[u"rule"_s].toString(), u"六爻变"_s);
        QCOMPARE(all[u"read"_s][0][u"part"_s].toString(), u"用九"_s);
        const QString plain = text(run({u"779777"_s}).out);
        const QString withTexts = text(run({u"779777"_s, u"--texts"_s}).out);
        QVERIFY(withTexts.startsWith(plain));
        QVERIFY(!plain.contains(u"经文"_s));
        QVERIFY(withTexts.mid(plain.size()).startsWith(u"经文（一爻变）：\n【主】乾 九三：君子终日乾乾"_s));
    }

    // The spirits, builds and void branches come from the moment's pillars; the
    // text is the copy command's. 2000-01-01 12:00 is 戊午日 in 丙子月, 旬空 子丑.
    void timedChartIsTheCopiedText()
    {
        const CliResult r = run({u"978788"_s, u"--time"_s, u"2000-01-01 12:00"_s});
        CastInput in;
        const char *lines = "978788";
        for (int n = 1; n <= 6; ++n)
            in.line(n) = {lines[n - 1] == '7' || lines[n - 1] == '9' ? u'1' : u'0',
                          lines[n - 1] == '6' || lines[n - 1] == '9'};
        in.moment = Moment{{2000, 1, 1}, 12, 0};
        in.dayStem = 4;
        in.dayBuild = Branch::Wu;
        in.monthBuild = Branch::Zi;
        QCOMPARE(text(r.out), text(toUtf8(chartText(chartOf(in)))));
    }

    // 2000-01-01 23:30: with the day turning at 23:00 the day is 己未 (the next
    // day), its spirits start from 腾蛇 and its 旬空 is 子丑 still (甲寅旬).
    void zi23TakesTheNextDay()
    {
        const auto day = [](const QStringList &args) {
            const CliResult r = run(args);
            return QJsonDocument::fromJson(QByteArray::fromStdString(r.out)).object();
        };
        const QJsonObject midnight = day({u"777777"_s, u"--json"_s, u"--time"_s, u"2000-01-01 23:30"_s});
        const QJsonObject zi23 = day({u"777777"_s, u"--json"_s, u"--zi23"_s, u"--time"_s, u"2000-01-01 23:30"_s});
        QCOMPARE(midnight[u"pillars"_s].toObject()[u"day"_s].toString(), u"戊午"_s);
        QCOMPARE(zi23[u"pillars"_s].toObject()[u"day"_s].toString(), u"己未"_s);
        const auto firstSpirit = [](const QJsonObject &o) {
            return o[u"original"_s].toObject()[u"lines"_s].toArray()[0].toObject()[u"spirit"_s].toString();
        };
        QCOMPARE(firstSpirit(midnight), u"勾陈"_s);
        QCOMPARE(firstSpirit(zi23), u"腾蛇"_s);
        QCOMPARE(zi23[u"void"_s].toArray(), (QJsonArray{u"子"_s, u"丑"_s}));
    }

    void help()
    {
        for (const QStringList &args :
             {QStringList{u"--help"_s}, QStringList{u"978788"_s, u"--help"_s}, QStringList{u"-h"_s}}) {
            const CliResult r = run(args);
            QCOMPARE(r.status, ExitOk);
            QVERIFY(r.err.empty());
            const QString out = text(r.out);
            for (const QString &word :
                 {u"LINES"_s, u"--time"_s, u"--zi23"_s, u"--json"_s, u"6 old yin"_s, u"9 old yang"_s, u"Exit status"_s,
                  u"--time-cast"_s, u"--numbers"_s, u"--yangren"_s, u"--fanyin-facing"_s, u"--time-cast-day"_s,
                  u"--number-hour"_s, u"--category"_s, u"--sex"_s})
                QVERIFY2(out.contains(word), qPrintable(word));
        }
    }

    // The executable: the same results through a real process and its streams.
    void process_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::newRow("text") << QStringList{u"978788"_s, u"--time"_s, u"2000-01-01 12:00"_s} << 0;
        QTest::newRow("json") << QStringList{u"678878"_s, u"--json"_s} << 0;
        QTest::newRow("help") << QStringList{u"--help"_s} << 0;
        QTest::newRow("bad lines") << QStringList{u"12345"_s} << 2;
        QTest::newRow("bad time") << QStringList{u"978788"_s, u"--time"_s, u"1899-12-31 12:00"_s} << 2;
    }

    void process()
    {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QProcess p;
        p.start(QStringLiteral(LOTGRID_CHART_EXE), args);
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), status);
        const CliResult r = run(args);
        QCOMPARE(p.readAllStandardOutput(), QByteArray::fromStdString(r.out));
        QCOMPARE(p.readAllStandardError(), QByteArray::fromStdString(r.err));
        if (status != 0)
            QCOMPARE(r.out, std::string());
    }
};

QTEST_GUILESS_MAIN(TestChartCli)
#include "tst_chartcli.moc"
