// The update wizard against a small HTTP server of the test's own on 127.0.0.1.

#include "update/updatewizard.h"

#include "core/version.h"
#include "update/versionfetch.h"

#include "common/modal.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

using namespace Qt::StringLiterals;
using lotgrid::UpdateSettings;
using lotgrid::UpdateWizard;
using lotgrid::VersionOrder;

namespace {

// Answers every request with one fixed raw response, or never answers at all.
class HttpServer : public QObject
{
public:
    explicit HttpServer(QByteArray response, bool silent = false)
        : m_response(std::move(response))
        , m_silent(silent)
    {
        QObject::connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection()) {
                socket->setParent(this);
                ++m_connections;
                QObject::connect(socket, &QTcpSocket::disconnected, this, [this] { ++m_disconnections; });
                QObject::connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
                    m_request += socket->readAll();
                    if (m_silent || !m_request.contains("\r\n\r\n"))
                        return;
                    requestLines << m_request.left(m_request.indexOf("\r\n"));
                    m_request.clear();
                    socket->write(m_response);
                    socket->disconnectFromHost();
                });
            }
        });
        m_server.listen(QHostAddress::LocalHost);
    }

    void setResponse(QByteArray response) { m_response = std::move(response); }
    QUrl url() const { return QUrl(u"http://127.0.0.1:%1"_s.arg(m_server.serverPort())); }
    int connections() const { return m_connections; }
    int disconnections() const { return m_disconnections; }
    QList<QByteArray> requestLines;

private:
    int m_connections = 0;
    int m_disconnections = 0;
    QTcpServer m_server;
    QByteArray m_response;
    QByteArray m_request;
    bool m_silent;
};

QByteArray response(QByteArray status, const QByteArray &body, bool withLength = true)
{
    QByteArray r = "HTTP/1.1 " + status + "\r\nContent-Type: text/plain\r\nConnection: close\r\n";
    if (withLength)
        r += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
    return r + "\r\n" + body;
}

QByteArray ok(const QByteArray &body)
{
    return response("200 OK", body);
}

const QByteArray ErrorPage = "<html><head><title>Error</title></head><body><h1>V2.0</h1></body></html>";

enum class Outcome { UpToDate, NewVersion, Failed, NotAVersion };

struct Wizard {
    explicit Wizard(const QUrl &server, int timeoutMs = 5000)
        : w(UpdateSettings{server, timeoutMs, [this](const QUrl &url) {
                               opened << url;
                               return browserWorks;
                           }})
    {
        w.show();
    }
    template<typename T>
    T *get(const QString &name)
    {
        return w.findChild<T *>(name);
    }
    QPushButton *button(int n) { return get<QPushButton>(u"Command%1"_s.arg(n)); }
    QGroupBox *frame(int n) { return get<QGroupBox>(u"Frame%1"_s.arg(n)); }
    // Which buttons the user can see, e.g. "34" in step 2.
    QString visibleButtons()
    {
        QString shown;
        for (int n = 1; n <= 5; ++n)
            if (button(n)->isVisible())
                shown += QString::number(n);
        return shown;
    }
    int visibleFrame()
    {
        int shown = 0;
        for (int n = 1; n <= 3; ++n)
            if (frame(n)->isVisible())
                shown = shown * 10 + n;
        return shown;
    }
    // Presses "下一步" of step 1 and waits until the check has ended (a box, if any, answered).
    void check()
    {
        QTest::mouseClick(button(2), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!w.isChecking(), 10000);
    }

    QList<QUrl> opened;
    bool browserWorks = true;
    UpdateWizard w;
};

} // namespace

Q_DECLARE_METATYPE(Outcome)
Q_DECLARE_METATYPE(VersionOrder)

class TestUpdateWizard : public QObject
{
    Q_OBJECT
private slots:
    void startsAtStepOne();
    void check_data();
    void check();
    void versionOrder_data();
    void versionOrder();
    void connectionRefused();
    void serverThatNeverAnswers();
    void cancelWhileChecking_data();
    void cancelWhileChecking();
    void noUpdateServer_data();
    void noUpdateServer();
    void configuredServerSaysNothing();
    void pageThatCannotBeOpened();
    void retryAfterFailure();
    void navigation();
    void cancelOnEveryStep_data();
    void cancelOnEveryStep();
    void addresses_data();
    void addresses();
};

void TestUpdateWizard::startsAtStepOne()
{
    Wizard z(QUrl(u"http://127.0.0.1:1"_s));
    QCOMPARE(z.w.objectName(), u"Upload"_s);
    QCOMPARE(z.w.windowTitle(), u"检查更新"_s);
    QCOMPARE(z.get<QLabel>(u"Ver"_s)->text(), u"V1.0"_s);
    QCOMPARE(z.get<QLabel>(u"LinfoVer"_s)->text(), QString());
    QCOMPARE(z.visibleFrame(), 1);
    QCOMPARE(z.visibleButtons(), u"12"_s);
    QVERIFY(!z.button(1)->isEnabled());
    QVERIFY(z.button(2)->isEnabled());
    const QStringList texts{u"< 上一步(&P)"_s, u"下一步(&N) >"_s, u"< 上一步(&P)"_s, u"下一步(&N) >"_s, u"完成(&F)"_s};
    for (int n = 1; n <= 5; ++n)
        QCOMPARE(z.button(n)->text(), texts[n - 1]);
    QCOMPARE(z.frame(1)->title(), u"第一步"_s);
    QCOMPARE(z.frame(2)->title(), u"第二步"_s);
    QCOMPARE(z.frame(3)->title(), u"完成"_s);
}

void TestUpdateWizard::check_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<Outcome>("outcome");
    QTest::addColumn<QString>("shown"); // LinfoVer for a new version, in the message for no version

    const QByteArray limit(4 * 1024, 'x');
    const QByteArray huge(10 * 1024 * 1024, 'V');
    const auto repeated = [](const QString &piece, int times) {
        QString r;
        for (int i = 0; i < times; ++i)
            r += piece;
        return r.toUtf8();
    };
    const QString accent = u"\u0301"_s; // combining acute accent, two bytes in UTF-8

    QTest::newRow("V1.0") << ok("V1.0") << Outcome::UpToDate << QString();
    QTest::newRow("V1.0 CRLF") << ok("V1.0\r\n") << Outcome::UpToDate << QString();
    QTest::newRow("V1.0 LF") << ok("V1.0\n") << Outcome::UpToDate << QString();
    QTest::newRow("spaces, V1.0, blank lines") << ok(" \tV1.0 \n\n") << Outcome::UpToDate << QString();
    QTest::newRow("BOM V1.0") << ok("\xEF\xBB\xBFV1.0\r\n") << Outcome::UpToDate << QString();
    QTest::newRow("V1.1") << ok("V1.1") << Outcome::NewVersion << u"V1.1"_s;
    QTest::newRow("V1.1 LF") << ok("V1.1\n") << Outcome::NewVersion << u"V1.1"_s;
    QTest::newRow("v1.0") << ok("v1.0") << Outcome::UpToDate << QString();
    QTest::newRow("1.0.0") << ok("1.0.0") << Outcome::UpToDate << QString();
    QTest::newRow("V0.9, earlier") << ok("V0.9") << Outcome::UpToDate << QString();
    QTest::newRow("V0.99, earlier") << ok("V0.99") << Outcome::UpToDate << QString();
    QTest::newRow("V1.0.1") << ok("V1.0.1") << Outcome::NewVersion << u"V1.0.1"_s;
    QTest::newRow("V10") << ok("V10") << Outcome::NewVersion << u"V10"_s;
    QTest::newRow("HTML body 200") << ok(ErrorPage) << Outcome::NotAVersion << QString::fromUtf8(ErrorPage).left(64);
    QTest::newRow("4 KiB body") << ok(limit) << Outcome::NotAVersion << QString(64, u'x');

    // Only the first line counts, at most 64 characters, without invisible,
    // reordering or stacking characters.
    QTest::newRow("V2.0 two lines") << ok("V2.0\n新增功能\n") << Outcome::NewVersion << u"V2.0"_s;
    QTest::newRow("V2.0 CR only, notes") << ok("V2.0\rnotes") << Outcome::NewVersion << u"V2.0"_s;
    QTest::newRow("V2.0 line separator") << ok(u"V2.0\u2028notes"_s.toUtf8()) << Outcome::NewVersion << u"V2.0"_s;
    QTest::newRow("V2.0, 800 more lines")
        << ok("V2.0\n" + QByteArray("x\n").repeated(800)) << Outcome::NewVersion << u"V2.0"_s;
    QTest::newRow("V2.0 a, 2,000 combining accents")
        << ok("V2.0 a" + repeated(accent, 2000)) << Outcome::NotAVersion << u"V2.0 a"_s;
    QTest::newRow("V2.0, 2,000 combining accents")
        << ok("V2.0" + repeated(accent, 2000)) << Outcome::NewVersion << u"V2.0"_s;
    QTest::newRow("V2.0 a, 64 KiB of combining accents")
        << ok("V2.0 a" + repeated(accent, 32 * 1024)) << Outcome::Failed << QString();
    QTest::newRow("right-to-left override")
        << ok(u"V2.0 \u202Egpj.exe"_s.toUtf8()) << Outcome::NotAVersion << u"V2.0 gpj.exe"_s;
    QTest::newRow("bidi isolates and marks")
        << ok(u"\u2067V2.0\u2069\u200F"_s.toUtf8()) << Outcome::NewVersion << u"V2.0"_s;
    QTest::newRow("NUL and control characters")
        << ok(QByteArray("V2.0\0\x07\x1b[31mx", 12)) << Outcome::NotAVersion << u"V2.0[31mx"_s;
    QTest::newRow("V1.0 with a zero-width space") << ok(u"V1.\u200B0"_s.toUtf8()) << Outcome::UpToDate << QString();
    QTest::newRow("V1.0 with a combining accent") << ok(u"V1.0\u0301"_s.toUtf8()) << Outcome::UpToDate << QString();
    QTest::newRow("100 characters") << ok(QByteArray(100, 'y')) << Outcome::NotAVersion << QString(64, u'y');
    QTest::newRow("70 emoji") << ok(repeated(u"😀"_s, 70)) << Outcome::NotAVersion << u"😀"_s.repeated(64);
    QTest::newRow("invalid UTF-8") << ok("V2.0\xff\xfe") << Outcome::NotAVersion << u"V2.0\uFFFD\uFFFD"_s;
    QTest::newRow("only format characters") << ok(u"\u202E\u200B\uFEFF"_s.toUtf8()) << Outcome::Failed << QString();
    QTest::newRow("only combining accents") << ok(repeated(accent, 10)) << Outcome::Failed << QString();
    QTest::newRow("only control characters") << ok(QByteArray("\0\x01\x02", 3)) << Outcome::Failed << QString();
    QTest::newRow("empty body") << ok("") << Outcome::Failed << QString();
    QTest::newRow("white space only") << ok(" \r\n") << Outcome::Failed << QString();
    QTest::newRow("404 HTML page") << response("404 Not Found", ErrorPage) << Outcome::Failed << QString();
    QTest::newRow("500 HTML page") << response("500 Internal Server Error", ErrorPage) << Outcome::Failed << QString();
    QTest::newRow("503 V1.0") << response("503 Service Unavailable", "V1.0") << Outcome::Failed << QString();
    QTest::newRow("4 KiB + 1 body") << ok(limit + "x") << Outcome::Failed << QString();
    QTest::newRow("10 MB body") << ok(huge) << Outcome::Failed << QString();
    QTest::newRow("10 MB body without length") << response("200 OK", huge, false) << Outcome::Failed << QString();
    QTest::newRow("not HTTP") << QByteArray("V1.0\r\n\r\n") << Outcome::Failed << QString();
    QTest::newRow("length longer than body")
        << QByteArray("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nV1.0") << Outcome::Failed << QString();
}

void TestUpdateWizard::check()
{
    QFETCH(QByteArray, reply);
    QFETCH(Outcome, outcome);
    QFETCH(QString, shown);

    HttpServer server(reply);
    Wizard z(server.url());
    // A box is answered only where one is expected: a waiting answer would take the next test's box.
    auto box = outcome == Outcome::NewVersion ? std::make_shared<ModalAnswer>() : answerNextModal(QMessageBox::Ok);
    z.check();

    switch (outcome) {
    case Outcome::UpToDate:
        QVERIFY(box->seen);
        QCOMPARE(box->title, u"提示"_s);
        QCOMPARE(box->text, u"您当前版本已是最新，无需更新！"_s);
        QCOMPARE(box->icon, QMessageBox::Information);
        QVERIFY(!z.w.isVisible());
        QCOMPARE(z.w.result(), int(QDialog::Accepted));
        break;
    case Outcome::Failed:
        QVERIFY(box->seen);
        QCOMPARE(box->title, u"提示"_s);
        QCOMPARE(box->text, u"检测失败，请检查您的网络，或稍后再试。"_s);
        QCOMPARE(box->icon, QMessageBox::Warning);
        QVERIFY(z.w.isVisible());
        QCOMPARE(z.visibleFrame(), 1);
        QCOMPARE(z.visibleButtons(), u"12"_s);
        QVERIFY(z.button(2)->isEnabled());
        QCOMPARE(z.get<QLabel>(u"LinfoVer"_s)->text(), QString());
        break;
    case Outcome::NotAVersion:
        QVERIFY(box->seen);
        QCOMPARE(box->text, u"服务器上的版本号无法识别：%1"_s.arg(shown));
        QCOMPARE(box->icon, QMessageBox::Warning);
        QCOMPARE(z.visibleFrame(), 1);
        QVERIFY(z.button(2)->isEnabled());
        QCOMPARE(z.get<QLabel>(u"LinfoVer"_s)->text(), QString());
        break;
    case Outcome::NewVersion: {
        QVERIFY(!QApplication::activeModalWidget());
        QLabel *info = z.get<QLabel>(u"LinfoVer"_s);
        QCOMPARE(info->text(), shown);
        QCOMPARE(info->textFormat(), Qt::PlainText);
        QCOMPARE(z.visibleFrame(), 2);
        QCOMPARE(z.visibleButtons(), u"34"_s);
        // A long text stays inside the wizard instead of growing it.
        QVERIFY(z.w.width() < 800 && z.w.height() < 400);
        break;
    }
    }
    QVERIFY(z.opened.isEmpty());
    if (!server.requestLines.isEmpty())
        QCOMPARE(server.requestLines.first(), "GET /Tessa/tessaver.txt HTTP/1.1");
}

void TestUpdateWizard::versionOrder_data()
{
    QTest::addColumn<QString>("published");
    QTest::addColumn<QString>("own");
    QTest::addColumn<VersionOrder>("order");
    const auto row = [](const char *published, const char *own, VersionOrder order) {
        QTest::addRow("%s against %s", published, own)
            << QString::fromUtf8(published) << QString::fromUtf8(own) << order;
    };
    using enum VersionOrder;
    QTest::newRow("the program's own") << QString::fromUtf8(lotgrid::Version)
                                       << QStringView(lotgrid::VersionText).toString() << SameOrEarlier;
    // Parts compare as numbers, not as text.
    row("V1.10", "V1.9", Later);
    row("V1.9", "V1.10", SameOrEarlier);
    row("V2", "V1.99.99", Later);
    row("V1.01", "V1.1", SameOrEarlier);
    // A missing part counts as 0; the "V" and its case do not count.
    row("V1.0.0", "V1.0", SameOrEarlier);
    row("V1.0.1", "V1.0", Later);
    row("1.0", "V1.0", SameOrEarlier);
    row("v1.1", "V1.0", Later);
    row("V2147483647", "V1.0", Later);
    // Anything else is no version, however close.
    for (const char *text : {"", "V", "V.1", "V1.", "V1..0", "V1.0a", "V1.0 beta", "V 1.0", "VV1.0", "V+1.0", "V-1.0",
                             "V1,0", "V１.０", "V99999999999999999999.0", "Version 2"})
        row(text, "V1.0", NotAVersion);
}

void TestUpdateWizard::versionOrder()
{
    QFETCH(QString, published);
    QFETCH(QString, own);
    QFETCH(VersionOrder, order);
    QCOMPARE(lotgrid::versionOrder(published, own), order);
}

void TestUpdateWizard::connectionRefused()
{
    quint16 port;
    {
        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost));
        port = closed.serverPort();
    }
    Wizard z(QUrl(u"http://127.0.0.1:%1"_s.arg(port)));
    auto box = answerNextModal(QMessageBox::Ok);
    z.check();
    QCOMPARE(box->text, u"检测失败，请检查您的网络，或稍后再试。"_s);
    QCOMPARE(box->icon, QMessageBox::Warning);
    QVERIFY(z.button(2)->isEnabled());
}

void TestUpdateWizard::serverThatNeverAnswers()
{
    HttpServer server({}, true);
    Wizard z(server.url(), 300);
    auto box = answerNextModal(QMessageBox::Ok);
    QTest::mouseClick(z.button(2), Qt::LeftButton);

    // Until the fetch has ended there is no second check, and step 1 says what is going on.
    QVERIFY(z.w.isChecking());
    QVERIFY(!z.button(2)->isEnabled());
    QLabel *state = z.get<QLabel>(u"Labelstate"_s);
    QVERIFY(state);
    QVERIFY(state->isVisible());
    QCOMPARE(state->text(), u"正在检查更新……（按 Esc 键取消）"_s);

    QTRY_VERIFY_WITH_TIMEOUT(!z.w.isChecking(), 5000);
    QVERIFY(box->seen);
    QCOMPARE(box->text, u"检测失败，请检查您的网络，或稍后再试。"_s);
    QVERIFY(z.button(2)->isEnabled());
    QVERIFY(!state->isVisible());
    QVERIFY(z.w.close());
}

void TestUpdateWizard::cancelWhileChecking_data()
{
    QTest::addColumn<bool>("escape"); // else the close box
    QTest::newRow("Escape") << true;
    QTest::newRow("close box") << false;
}

// Leaving the wizard while it waits ends the fetch at once, without a message.
void TestUpdateWizard::cancelWhileChecking()
{
    QFETCH(bool, escape);
    HttpServer server({}, true);
    Wizard z(server.url(), 60000);
    QTest::mouseClick(z.button(2), Qt::LeftButton);
    QVERIFY(z.w.isChecking());
    QTRY_COMPARE(server.connections(), 1);

    if (escape)
        QTest::keyClick(&z.w, Qt::Key_Escape);
    else
        QVERIFY(z.w.close());
    QVERIFY(!z.w.isVisible());
    QVERIFY(!z.w.isChecking());
    QCOMPARE(z.w.result(), int(QDialog::Rejected));
    QTRY_COMPARE(server.disconnections(), 1); // the request is dropped, not left to time out
    QTest::qWait(50);
    QVERIFY(!QApplication::activeModalWidget());
}

// A build without an update server says so, and fetches nothing.
void TestUpdateWizard::noUpdateServer_data()
{
    QTest::addColumn<QUrl>("server");
    QTest::newRow("empty") << QUrl();
    QTest::newRow("empty text") << QUrl(u""_s);
}

void TestUpdateWizard::noUpdateServer()
{
    QFETCH(QUrl, server);
    Wizard z(server);
    QLabel *state = z.get<QLabel>(u"Labelstate"_s);
    QVERIFY(state);
    QVERIFY(state->isVisible());
    QCOMPARE(state->text(), u"此版本没有配置更新服务器，无法在线检查更新。"_s);
    // One page, and nothing to press but 关闭, which closes the wizard.
    QCOMPARE(z.visibleFrame(), 1);
    QCOMPARE(z.visibleButtons(), QString());
    auto *close = z.get<QPushButton>(u"cancel"_s);
    QVERIFY(close->isVisible());
    QCOMPARE(close->text(), u"关闭"_s);
    QVERIFY(!z.w.isChecking());
    QTest::mouseClick(close, Qt::LeftButton);
    QCOMPARE(z.w.result(), int(QDialog::Rejected));
}

// A configured server shows no such text.
void TestUpdateWizard::configuredServerSaysNothing()
{
    Wizard z(QUrl(u"http://127.0.0.1:1"_s));
    QLabel *state = z.get<QLabel>(u"Labelstate"_s);
    QVERIFY(state);
    QVERIFY(!state->isVisible());
}

// Step 3 says the update is done only when the page was opened.
void TestUpdateWizard::pageThatCannotBeOpened()
{
    HttpServer server(ok("V1.2"));
    Wizard z(server.url());
    z.browserWorks = false;
    z.check();
    QCOMPARE(z.visibleFrame(), 2);

    auto box = answerNextModal(QMessageBox::Ok);
    QTest::mouseClick(z.button(4), Qt::LeftButton);
    const QString page = server.url().toString() + u"/Tessa/"_s;
    QTRY_VERIFY(box->seen);
    QCOMPARE(box->icon, QMessageBox::Warning);
    QVERIFY2(box->text.endsWith(u"\n\n"_s + page), qPrintable(box->text));
    QCOMPARE(z.opened.size(), 1);
    QCOMPARE(z.visibleFrame(), 2);
    QCOMPARE(z.visibleButtons(), u"34"_s);
    QLabel *address = z.get<QLabel>(u"Labelpage"_s);
    QVERIFY(address);
    QVERIFY(address->isVisible());
    QVERIFY2(address->text().endsWith(page), qPrintable(address->text()));

    // With a browser the same step goes on to step 3.
    z.browserWorks = true;
    QTest::mouseClick(z.button(4), Qt::LeftButton);
    QCOMPARE(z.visibleFrame(), 3);
    QCOMPARE(z.visibleButtons(), u"5"_s);
}

void TestUpdateWizard::retryAfterFailure()
{
    HttpServer server(response("404 Not Found", ErrorPage));
    Wizard z(server.url());
    auto first = answerNextModal(QMessageBox::Ok);
    z.check();
    QCOMPARE(first->icon, QMessageBox::Warning);

    // The server is back: the same wizard checks again.
    server.setResponse(ok("V1.0\n"));
    auto second = answerNextModal(QMessageBox::Ok);
    z.check();
    QCOMPARE(second->icon, QMessageBox::Information);
    QVERIFY(!z.w.isVisible());
}

void TestUpdateWizard::navigation()
{
    HttpServer server(ok("V1.2\r\n"));
    Wizard z(server.url());
    z.check();
    QCOMPARE(z.visibleFrame(), 2);
    QCOMPARE(z.visibleButtons(), u"34"_s);

    // Back to step 1, where the check can run again.
    QTest::mouseClick(z.button(3), Qt::LeftButton);
    QCOMPARE(z.visibleFrame(), 1);
    QCOMPARE(z.visibleButtons(), u"12"_s);
    QVERIFY(z.button(2)->isEnabled());
    QVERIFY(!z.button(1)->isEnabled());
    z.check();
    QCOMPARE(z.visibleFrame(), 2);
    QCOMPARE(server.requestLines.size(), 2);

    // Next opens the program page and leads to step 3, where only "完成" is left.
    QVERIFY(z.opened.isEmpty());
    QTest::mouseClick(z.button(4), Qt::LeftButton);
    QCOMPARE(z.opened, QList<QUrl>{QUrl(server.url().toString() + u"/Tessa/"_s)});
    QCOMPARE(z.visibleFrame(), 3);
    QCOMPARE(z.visibleButtons(), u"5"_s);

    QTest::mouseClick(z.button(5), Qt::LeftButton);
    QVERIFY(!z.w.isVisible());
    QCOMPARE(z.w.result(), int(QDialog::Accepted));
    QCOMPARE(z.opened.size(), 1);
}

void TestUpdateWizard::cancelOnEveryStep_data()
{
    QTest::addColumn<int>("step");
    QTest::newRow("step 1") << 1;
    QTest::newRow("step 1 while checking") << 0;
    QTest::newRow("step 2") << 2;
    QTest::newRow("step 3") << 3;
}

// "取消" stands on every step and closes the wizard there, as Escape does.
void TestUpdateWizard::cancelOnEveryStep()
{
    QFETCH(int, step);
    HttpServer server(ok("V1.2"), step == 0);
    Wizard z(server.url());
    if (step == 0)
        QTest::mouseClick(z.button(2), Qt::LeftButton);
    if (step >= 2)
        z.check();
    if (step == 3)
        QTest::mouseClick(z.button(4), Qt::LeftButton);
    QCOMPARE(z.visibleFrame(), std::max(step, 1));
    auto *cancel = z.get<QPushButton>(u"cancel"_s);
    QVERIFY(cancel && cancel->isVisible() && cancel->isEnabled());
    QTest::mouseClick(cancel, Qt::LeftButton);
    QVERIFY(!z.w.isVisible());
    QVERIFY(!z.w.isChecking());
    QCOMPARE(z.w.result(), int(QDialog::Rejected));
}

void TestUpdateWizard::addresses_data()
{
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("page");
    QTest::newRow("host") << u"http://updates.example"_s << u"http://updates.example/Tessa/tessaver.txt"_s
                          << u"http://updates.example/Tessa/"_s;
    QTest::newRow("host/") << u"http://updates.example/"_s << u"http://updates.example/Tessa/tessaver.txt"_s
                           << u"http://updates.example/Tessa/"_s;
    QTest::newRow("host:8080/lotgrid") << u"http://updates.example:8080/lotgrid"_s
                                       << u"http://updates.example:8080/lotgrid/Tessa/tessaver.txt"_s
                                       << u"http://updates.example:8080/lotgrid/Tessa/"_s;
}

void TestUpdateWizard::addresses()
{
    QFETCH(QString, server);
    QFETCH(QString, version);
    QFETCH(QString, page);
    QCOMPARE(UpdateWizard::versionUrl(QUrl(server)).toString(), version);
    QCOMPARE(UpdateWizard::pageUrl(QUrl(server)).toString(), page);
}

QTEST_MAIN(TestUpdateWizard)
#include "tst_updatewizard.moc"
