// lotgrid-mcp as an MCP client meets it: one server process, one JSON-RPC
// exchange through its pipes. The chart is compared with lotgrid-chart's own
// output, the error codes with JSON-RPC's, and the journal tools with cases
// saved into a journal of the test's own.
#include "calendar/zones.h"
#include "common/caserecords.h"
#include "journal/journal.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace lotgrid;
using namespace Qt::StringLiterals;

namespace {

QByteArray fileHash(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256) : "";
}

QByteArray call(int id, const QString &tool, const QJsonObject &arguments)
{
    const QJsonObject request{{u"jsonrpc"_s, u"2.0"_s},
                              {u"id"_s, id},
                              {u"method"_s, u"tools/call"_s},
                              {u"params"_s, QJsonObject{{u"name"_s, tool}, {u"arguments"_s, arguments}}}};
    return QJsonDocument(request).toJson(QJsonDocument::Compact);
}

// A running lotgrid-mcp reading the journal at the given path.
struct Server : QProcess {
    explicit Server(const QString &journal, const QStringList &more = {})
    {
        start(QStringLiteral(LOTGRID_MCP_EXE), QStringList{u"--journal"_s, journal} + more);
    }
    ~Server() override
    {
        closeWriteChannel();
        waitForFinished(10000);
    }

    // Writes one line and reads the answer: one line of JSON on standard output.
    QJsonObject exchange(const QByteArray &line)
    {
        write(line + '\n');
        while (!canReadLine())
            if (!waitForReadyRead(30000))
                return {};
        const QByteArray answer = readLine();
        const QJsonDocument doc = QJsonDocument::fromJson(answer);
        return doc.isObject() && answer.count('\n') == 1 ? doc.object() : QJsonObject{};
    }
};

} // namespace

class TestMcp : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString m_journal;
    std::unique_ptr<Server> m_server;

    QJsonObject result(const QString &tool, const QJsonObject &arguments)
    {
        return m_server->exchange(call(9, tool, arguments))[u"result"_s].toObject();
    }
    QJsonValue structured(const QString &tool, const QJsonObject &arguments)
    {
        return result(tool, arguments)[u"structuredContent"_s];
    }

private slots:
    void initTestCase()
    {
        m_journal = m_dir.filePath(u"journal.sqlite"_s);
        Journal journal(m_journal);
        QVERIFY(journal.open());
        CaseRecord older = makeCase(u"110100"_s, u"100000"_s, u"问求财，能否得手？"_s, Moment{{2000, 1, 1}, 12, 0});
        older.outcome = u"三日后得"_s;
        older.verdict = Verdict::Fulfilled;
        older.tags = {u"财"_s};
        QVERIFY(journal.save(older));
        QVERIFY(journal.save(makeCase(u"111111"_s, u"000000"_s, u"婚姻"_s, Moment{{2026, 12, 7}, 8, 30})));
        m_server = std::make_unique<Server>(m_journal);
    }

    void initialize()
    {
        const QJsonObject answer = m_server->exchange(
            R"({"jsonrpc":"2.0","id":"a","method":"initialize","params":{"protocolVersion":"2025-06-18",)"
            R"("capabilities":{},"clientInfo":{"name":"test","version":"1"}}})");
        QCOMPARE(answer[u"id"_s].toString(), u"a"_s);
        QCOMPARE(answer[u"result"_s][u"protocolVersion"_s].toString(), u"2025-06-18"_s);
        QCOMPARE(answer[u"result"_s][u"serverInfo"_s][u"name"_s].toString(), u"lotgrid"_s);
        QVERIFY(answer[u"result"_s][u"capabilities"_s][u"tools"_s].isObject());
        // Notifications, known or not, get no answer: the next line answers the ping.
        m_server->write("{\"jsonrpc\":\"2.0\",\"method\":\"notifications/initialized\"}\n"
                        "{\"jsonrpc\":\"2.0\",\"method\":\"notifications/whatever\",\"params\":{}}\n");
        QCOMPARE(m_server->exchange(R"({"jsonrpc":"2.0","id":2,"method":"ping"})")[u"result"_s], QJsonObject{});

        QStringList names;
        for (const QJsonValue t :
             m_server->exchange(R"({"jsonrpc":"2.0","id":3,"method":"tools/list"})")[u"result"_s][u"tools"_s].toArray())
            names << t[u"name"_s].toString() + u' ' + t[u"outputSchema"_s][u"type"_s].toString();
        QCOMPARE(names.join(u','), u"chart object,ganzhi_dates object,cast_by_time object,cast_by_numbers object,"
                                   "texts object,journal_search object,journal_case object,"
                                   "journal_record_outcome object"_s);
    }

    void chartAsCommandLine_data()
    {
        QTest::addColumn<QJsonObject>("arguments");
        QTest::addColumn<QStringList>("options"); // the same chart asked of lotgrid-chart
        QTest::newRow("lines alone") << QJsonObject{{u"lines"_s, u"666666"_s}} << QStringList{u"666666"_s};
        QTest::newRow("timed") << QJsonObject{{u"lines"_s, u"978788"_s}, {u"time"_s, u"2000-01-01 12:00"_s}}
                               << QStringList{u"978788"_s, u"--time"_s, u"2000-01-01 12:00"_s};
        QTest::newRow("zi23 at 23:30") << QJsonObject{{u"lines"_s, u"787896"_s},
                                                      {u"time"_s, u"2000-01-01 23:30"_s},
                                                      {u"zi23"_s, true}}
                                       << QStringList{u"787896"_s, u"--time=2000-01-01 23:30"_s, u"--zi23"_s};
    }

    void chartAsCommandLine()
    {
        QFETCH(QJsonObject, arguments);
        QFETCH(QStringList, options);
        const QJsonObject r = result(u"chart"_s, arguments);
        QProcess cli;
        cli.start(QStringLiteral(LOTGRID_CHART_EXE), options + QStringList{u"--json"_s});
        QVERIFY(cli.waitForFinished(30000));
        QCOMPARE(r[u"structuredContent"_s].toObject(), QJsonDocument::fromJson(cli.readAllStandardOutput()).object());
        cli.start(QStringLiteral(LOTGRID_CHART_EXE), options);
        QVERIFY(cli.waitForFinished(30000));
        QCOMPARE(r[u"content"_s][0][u"text"_s].toString(), QString::fromUtf8(cli.readAllStandardOutput()));
        QCOMPARE(r[u"isError"_s].toBool(), false);
    }

    // Protocol errors carry JSON-RPC's codes (each row's answer shows the server
    // went on after the row before); a well-formed call the tool cannot
    // serve is a result with isError (code 0 here) and one sentence.
    void errors_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("says");
        QTest::newRow("not JSON") << "{\"jsonrpc\":\"2.0\",\"id\":1,"_ba << -32700 << u""_s;
        QTest::newRow("an array") << "[]"_ba << -32600 << u""_s;
        QTest::newRow("unknown method") << R"({"jsonrpc":"2.0","id":1,"method":"resources/list"})"_ba << -32601
                                        << u""_s;
        QTest::newRow("unknown tool") << call(1, u"horoscope"_s, {}) << -32602 << u""_s;
        QTest::newRow("lines missing") << call(1, u"chart"_s, {}) << 0 << u"lines or gua"_s;
        QTest::newRow("unknown zone") << call(1, u"chart"_s, {{u"lines"_s, u"787896"_s}, {u"tz"_s, u"Mars/Base"_s}})
                                      << 0 << u"tz"_s;
        QTest::newRow("impossible ganzhi")
            << call(1, u"ganzhi_dates"_s, {{u"ganzhi"_s, u"丙午年 癸卯月"_s}}) << 0 << u"五虎遁"_s;
        QTest::newRow("unknown argument")
            << call(1, u"chart"_s, {{u"lines"_s, u"787896"_s}, {u"moon"_s, 1}}) << -32602 << u"moon"_s;
        QTest::newRow("limit 101") << call(1, u"journal_search"_s, {{u"query"_s, u""_s}, {u"limit"_s, 101}}) << -32602
                                   << u"100"_s;
        QTest::newRow("0/1 lines") << call(1, u"chart"_s, {{u"lines"_s, u"101010"_s}}) << 0 << u"line 1"_s;
        QTest::newRow("30 February") << call(1, u"chart"_s,
                                             {{u"lines"_s, u"787896"_s}, {u"time"_s, u"2001-02-30 12:00"_s}})
                                     << 0 << u"not a date"_s;
        QTest::newRow("number 0") << call(1, u"cast_by_numbers"_s, {{u"first"_s, 0}, {u"second"_s, 5}}) << 0
                                  << u"99,999,999"_s;
        QTest::newRow("hour without time")
            << call(1, u"cast_by_numbers"_s, {{u"first"_s, 3}, {u"second"_s, 5}, {u"with_hour"_s, true}}) << 0
            << u"time"_s;
        QTest::newRow("no such case") << call(1, u"journal_case"_s, {{u"id"_s, 7}}) << 0 << u"no case 7"_s;
        QTest::newRow("texts of no hexagram")
            << call(1, u"texts"_s, {{u"hexagram"_s, u"天天天"_s}}) << 0 << u"names none"_s;
        // What a hostile client may send: each line its error, and the next line read.
        const QByteArray deep = QByteArray(100000, '[') + QByteArray(100000, ']');
        QTest::newRow("100,000 levels, then another key")
            << R"({"jsonrpc":"2.0","id":1,"method":"ping","params":{"x":)" + deep + R"(},"y":1})" << -32700 << u"64"_s;
        QTest::newRow("65 levels in an argument")
            << call(1, u"chart"_s, {{u"lines"_s, u"787896"_s}})
                   .replace("\"787896\"", QByteArray(62, '[') + QByteArray(62, ']'))
            << -32700 << u"64"_s;
        QTest::newRow("a NUL byte") << QByteArray("{\"jsonrpc\":\"2.0\",\"id\":1,\0\"method\":\"ping\"}", 41) << -32700
                                    << u""_s;
        QTest::newRow("limit 2^63") << call(1, u"journal_search"_s, {{u"query"_s, u""_s}})
                                           .replace("\"query\"", "\"limit\":9223372036854775808,\"query\"")
                                    << -32602 << u"limit"_s;
        QTest::newRow("limit 2^64 - 1") << call(1, u"journal_search"_s, {{u"query"_s, u""_s}})
                                               .replace("\"query\"", "\"limit\":18446744073709551615,\"query\"")
                                        << -32602 << u"limit"_s;
        QTest::newRow("id 2^63")
            << call(1, u"journal_case"_s, {{u"id"_s, 1}}).replace("\"id\":1}", "\"id\":9223372036854775808}") << -32602
            << u"id"_s;
        QTest::newRow("a query of 1,001 characters")
            << call(1, u"journal_search"_s, {{u"query"_s, QString(1001, u'字')}}) << -32602 << u"1000"_s;
    }

    void errors()
    {
        QFETCH(QByteArray, line);
        QFETCH(int, code);
        QFETCH(QString, says);
        const QJsonObject answer = m_server->exchange(line);
        QCOMPARE(answer[u"jsonrpc"_s].toString(), u"2.0"_s);
        if (code != 0) {
            QCOMPARE(answer[u"error"_s][u"code"_s].toInt(), code);
            QVERIFY(answer[u"error"_s][u"message"_s].toString().contains(says));
            return;
        }
        const QJsonObject r = answer[u"result"_s].toObject();
        QCOMPARE(r[u"isError"_s].toBool(), true);
        const QString sentence = r[u"content"_s][0][u"text"_s].toString();
        QVERIFY2(sentence.contains(says) && sentence.endsWith(u'.') && !sentence.contains(u'\n'), qPrintable(sentence));
    }

    // The texts by name or by lines: 乾 all moving reads 用九; 坤为地 still its judgement;
    // 110000 (临) with line 6 moving its 上六.
    void texts()
    {
        const QJsonValue all
            = structured(u"texts"_s, {{u"hexagram"_s, u"乾"_s}, {u"moving"_s, QJsonArray{1, 2, 3, 4, 5, 6}}});
        QCOMPARE(all[u"read"_s][0][u"part"_s].toString(), u"用九"_s);
        QCOMPARE(structured(u"texts"_s, {{u"hexagram"_s, u"坤为地"_s}})[u"rule"_s].toString(), u"静卦"_s);
        const QJsonObject r = result(u"texts"_s, {{u"hexagram"_s, u"110000"_s}, {u"moving"_s, QJsonArray{6}}});
        QCOMPARE(r[u"structuredContent"_s][u"read"_s][0][u"text"_s].toString().left(3), u"上六："_s);
        QVERIFY(r[u"content"_s][0][u"text"_s].toString().startsWith(u"经文（一爻变）：\n【主】临 上六"_s));
    }

    // Lines cast by the plum-blossom rules: 2026-12-07 08:30 is 丙午 year (午 7), lunar 10-29, 辰 hour (5).
    void casts_data()
    {
        QTest::addColumn<QString>("tool");
        QTest::addColumn<QJsonObject>("arguments");
        QTest::addColumn<QString>("lines");
        const QString time = u"2026-12-07 08:30"_s;
        // 7 + 10 + 29 = 46: upper 坎 (6); + 5 = 51: lower 离 (3), moving line 3.
        QTest::newRow("time") << u"cast_by_time"_s << QJsonObject{{u"time"_s, time}} << u"789878"_s;
        // 12: upper 震 (4); 34: lower 兑 (2); with the hour 12 + 34 + 5 = 51: moving line 3.
        QTest::newRow("numbers and hour")
            << u"cast_by_numbers"_s
            << QJsonObject{{u"first"_s, 12}, {u"second"_s, 34}, {u"with_hour"_s, true}, {u"time"_s, time}}
            << u"776788"_s;
    }

    void casts()
    {
        QFETCH(QString, tool);
        QFETCH(QJsonObject, arguments);
        QFETCH(QString, lines);
        const QJsonValue r = structured(tool, arguments);
        QCOMPARE(r[u"lines"_s].toString(), lines);
        QCOMPARE(r[u"chart"_s][u"lines"_s].toString(), lines);
    }

    // The moment on New York's clock, the lines by name, and the dates of a day pillar.
    void zonesAndNames()
    {
        const QJsonValue r = structured(
            u"chart"_s, {{u"gua"_s, u"贲之艮"_s}, {u"time"_s, u"2026-12-07 08:30"_s}, {u"tz"_s, u"纽约"_s}});
        QCOMPARE(r[u"lines"_s].toString(), u"987887"_s);
        if (haveZoneDatabase()) {
            QCOMPARE(r[u"time"_s].toString(), u"2026-12-07 21:30"_s);
            QCOMPARE(r[u"zone"_s][u"iana"_s].toString(), u"America/New_York"_s);
        }
        const QJsonArray matches
            = structured(u"ganzhi_dates"_s,
                         {{u"ganzhi"_s, u"戊寅日"_s}, {u"first_year"_s, 2026}, {u"last_year"_s, 2026}})[u"matches"_s]
                  .toArray();
        QVERIFY(matches.size() >= 6);
        for (const QJsonValue m : matches)
            QCOMPARE(m[u"pillars"_s][u"day"_s].toString(), u"戊寅"_s);
    }

    void journal()
    {
        const QByteArray before = fileHash(m_journal);
        const QJsonArray all = structured(u"journal_search"_s, {{u"query"_s, u""_s}})[u"cases"_s].toArray();
        QCOMPARE(all.size(), 2);
        QCOMPARE(all[0][u"question"_s].toString(), u"婚姻"_s); // newest first
        QCOMPARE(all[0][u"hexagrams"_s][u"changed"_s], QJsonValue());

        // Found by a word of its question and by the name of its changed hexagram.
        for (const QString &query : {u"求财"_s, u"雷水解"_s}) {
            const QJsonArray found = structured(u"journal_search"_s, {{u"query"_s, query}})[u"cases"_s].toArray();
            QCOMPARE(found.size(), 1);
            QCOMPARE(found[0][u"moment"_s].toString(), u"2000-01-01 12:00"_s);
            QCOMPARE(found[0][u"hexagrams"_s][u"original"_s].toString(), u"雷泽归妹"_s);
            QCOMPARE(found[0][u"verdict"_s].toString(), u"应验"_s);
            QCOMPARE(found[0][u"tags"_s].toArray(), QJsonArray{u"财"_s});
        }
        const QJsonValue one = structured(u"journal_case"_s, {{u"id"_s, all[1][u"id"_s]}});
        QCOMPARE(one[u"case"_s][u"outcome"_s].toString(), u"三日后得"_s);
        QCOMPARE(one[u"chart"_s][u"lines"_s].toString(), u"978788"_s);
        // A query as long as may be is answered.
        QVERIFY(structured(u"journal_search"_s, {{u"query"_s, QString(1000, u'字')}})[u"cases"_s].isArray());
        QCOMPARE(fileHash(m_journal), before);
        // Read while the program did not have it open: nothing was made beside it.
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files), QStringList{u"journal.sqlite"_s});
    }

    // A missing or damaged journal is a tool error; the server goes on, and
    // the damaged file stays as it was.
    void unreadableJournal_data()
    {
        QTest::addColumn<QByteArray>("content"); // empty: no file
        QTest::addColumn<QString>("says");
        QTest::newRow("missing") << QByteArray() << u"no journal"_s;
        QFile journal(m_journal);
        QVERIFY(journal.open(QIODevice::ReadOnly));
        const QByteArray header = journal.read(100);
        QTest::newRow("pages overwritten") << header + QByteArray(journal.size() - 100, 'x') << u"damaged"_s;
    }

    void unreadableJournal()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, says);
        const QString path = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()));
        QFile file(path);
        if (!content.isEmpty())
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
        file.close();
        Server server(path);
        for (const QByteArray &line :
             {call(1, u"journal_search"_s, {{u"query"_s, u"x"_s}}), call(2, u"journal_case"_s, {{u"id"_s, 1}})}) {
            const QJsonObject r = server.exchange(line)[u"result"_s].toObject();
            QCOMPARE(r[u"isError"_s].toBool(), true);
            QVERIFY(r[u"content"_s][0][u"text"_s].toString().contains(says));
        }
        QCOMPARE(server.exchange(R"({"jsonrpc":"2.0","id":3,"method":"ping"})")[u"id"_s].toInt(), 3);
        QCOMPARE(fileHash(path),
                 content.isEmpty() ? QByteArray() : QCryptographicHash::hash(content, QCryptographicHash::Sha256));
    }

    // Recording an outcome: refused, the file untouched, unless the server was
    // started with --allow-write; then written as the window writes it, once.
    void recordOutcome_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("says"); // in the error; empty: written
        QTest::newRow("without --allow-write") << QStringList{} << u"--allow-write"_s;
        QTest::newRow("with --allow-write") << QStringList{u"--allow-write"_s} << QString();
    }

    void recordOutcome()
    {
        QFETCH(QStringList, options);
        QFETCH(QString, says);
        const QString path = m_dir.filePath(u"write%1.sqlite"_s.arg(options.size()));
        Journal journal(path);
        QVERIFY(journal.open());
        const qint64 id = journal.save(makeCase(u"111111"_s, u"000000"_s, u"问"_s, Moment{{2026, 3, 4}, 9, 0}))->id;
        Server server(path, options);
        const QJsonObject r = server
                                  .exchange(call(1, u"journal_record_outcome"_s,
                                                 {{u"id"_s, id},
                                                  {u"verdict"_s, u"应验"_s},
                                                  {u"date"_s, u"2026-03-20"_s},
                                                  {u"note"_s, u"如期"_s}}))[u"result"_s]
                                  .toObject();
        QCOMPARE(r[u"isError"_s].toBool(), !says.isEmpty());
        QVERIFY(r[u"content"_s][0][u"text"_s].toString().contains(says));
        const CaseRecord c = *journal.find(id);
        QCOMPARE(c.verdict, says.isEmpty() ? Verdict::Fulfilled : Verdict::Open);
        QCOMPARE(c.outcomeDate, says.isEmpty() ? std::optional(QDate(2026, 3, 20)) : std::nullopt);
        QCOMPARE(c.outcome, says.isEmpty() ? u"如期"_s : QString());
        // No such case: none is made.
        QVERIFY(server
                    .exchange(call(2, u"journal_record_outcome"_s,
                                   {{u"id"_s, id + 1}, {u"verdict"_s, u"不验"_s}}))[u"result"_s][u"isError"_s]
                    .toBool());
        QCOMPARE(journal.count(), std::optional<qint64>(1));
    }

    void cleanupTestCase()
    {
        m_server->closeWriteChannel();
        QVERIFY(m_server->waitForFinished(10000));
        QCOMPARE(m_server->exitCode(), 0);
        QCOMPARE(m_server->readAllStandardOutput(), QByteArray()); // every line was an answer
    }
};

QTEST_GUILESS_MAIN(TestMcp)
#include "tst_mcp.moc"
