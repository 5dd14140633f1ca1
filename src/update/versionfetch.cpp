#include "update/versionfetch.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QStringDecoder>
#include <QTimer>

namespace lotgrid {

VersionFetch::VersionFetch(QObject *parent)
    : QObject(parent)
    , m_network(new QNetworkAccessManager(this))
    , m_deadline(new QTimer(this))
{
    m_deadline->setSingleShot(true);
    connect(m_deadline, &QTimer::timeout, this, &VersionFetch::fail);
}

VersionFetch::~VersionFetch()
{
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
    }
}

void VersionFetch::start(const QUrl &url, int timeoutMs)
{
    if (m_reply)
        return;
    m_body.clear();

    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    m_reply = m_network->get(request);
    m_reply->setReadBufferSize(MaxBodyBytes + 1);
    connect(m_reply, &QNetworkReply::metaDataChanged, this, [this] {
        const QVariant length = m_reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > MaxBodyBytes)
            fail();
    });
    connect(m_reply, &QNetworkReply::readyRead, this, &VersionFetch::readBody);
    connect(m_reply, &QNetworkReply::finished, this, [this] {
        if (!m_reply)
            return;
        readBody();
        if (!m_reply)
            return;
        const int status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (m_reply->error() != QNetworkReply::NoError || status < 200 || status > 299) {
            fail();
            return;
        }
        QStringDecoder utf8(QStringDecoder::Utf8); // drops a leading byte-order mark
        end(true, utf8.decode(m_body));
    });
    m_deadline->start(std::max(timeoutMs, 0));
}

void VersionFetch::readBody()
{
    if (!m_reply)
        return;
    m_body += m_reply->read(MaxBodyBytes + 1 - m_body.size());
    if (m_body.size() > MaxBodyBytes)
        fail();
}

void VersionFetch::fail()
{
    end(false, {});
}

void VersionFetch::end(bool ok, const QString &text)
{
    if (!m_reply)
        return;
    m_deadline->stop();
    QNetworkReply *reply = m_reply;
    m_reply = nullptr;
    reply->disconnect(this);
    reply->abort();
    reply->deleteLater();
    m_body.clear();
    emit finished(ok, ok ? text : QString());
}

} // namespace lotgrid
