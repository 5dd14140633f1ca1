#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;
class QTimer;

namespace lotgrid {

// Fetches the published version text over HTTP without blocking the event
// loop. The fetch always ends, once, with finished(): a network failure, an
// HTTP error status, a body over MaxBodyBytes or no answer within the
// time-out all end it with ok = false.
class VersionFetch : public QObject
{
    Q_OBJECT
public:
    static constexpr qint64 MaxBodyBytes = 64 * 1024;

    explicit VersionFetch(QObject *parent = nullptr);
    ~VersionFetch() override;

    void start(const QUrl &url, int timeoutMs);
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
