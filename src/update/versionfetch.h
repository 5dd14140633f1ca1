#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringView>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;
class QTimer;

namespace lotgrid {

// The version a server's text names, as the program compares and shows it:
// the first line of the text (surrounding white space trimmed, lines broken at
// CR, LF and the Unicode line and paragraph separators), without control,
// format (bidi, zero-width) or combining characters, cut to its first
// MaxVersionCharacters characters. Empty when nothing is left.
inline constexpr int MaxVersionCharacters = 64;
QString versionToken(QStringView text);

// How a published version stands to the program's own. Both are written as
// whole numbers joined by dots, after an optional "V" or "v" ("V1.0",
// "1.10.2"), and compared part by part as numbers, a missing part counting as
// 0: 1.10 is later than 1.9, and 1.0 is 1.0.0. A text of any other form, or
// with a part too large to count, is NotAVersion.
enum class VersionOrder { Later, SameOrEarlier, NotAVersion };
VersionOrder versionOrder(QStringView published, QStringView own);

// Fetches the published version text over HTTP without blocking the event
// loop. A started fetch ends once, with finished(), unless it is cancelled: a
// network failure, an HTTP error status, a body over MaxBodyBytes or no answer
// within the time-out all end it with ok = false.
class VersionFetch : public QObject
{
    Q_OBJECT
public:
    // A version text is a short token; anything longer is not one.
    static constexpr qint64 MaxBodyBytes = 4 * 1024;

    explicit VersionFetch(QObject *parent = nullptr);
    ~VersionFetch() override;

    void start(const QUrl &url, int timeoutMs);
    // Stops a running fetch without finished().
    void cancel();
    bool isRunning() const { return m_reply != nullptr; }

signals:
    // `text` is the body decoded as UTF-8 (a leading byte-order mark dropped); empty unless ok.
    void finished(bool ok, const QString &text);

private:
    void readBody();
    void fail();
    void end(bool ok, const QString &text);

    QNetworkAccessManager *m_network;
    QTimer *m_deadline;
    QNetworkReply *m_reply = nullptr;
    QByteArray m_body;
};

} // namespace lotgrid
