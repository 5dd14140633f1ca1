#include "update/versionfetch.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QStringDecoder>
#include <QTimer>
#include <QVersionNumber>

#include <optional>

namespace lotgrid {

namespace {

bool isLineBreak(char32_t c)
{
    return c == u'\n' || c == u'\r' || c == 0x2028 || c == 0x2029;
}

// Characters a version never holds: they are invisible, reorder or stack on
// what is shown (and a long run of combining marks makes laying out the text slow).
bool isDropped(char32_t c)
{
    switch (QChar::category(c)) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_Surrogate:
    case QChar::Other_NotAssigned:
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
        return true;
    default:
        return false;
    }
}

std::optional<QVersionNumber> versionNumber(QStringView text)
{
    if (text.startsWith(u'V') || text.startsWith(u'v'))
        text = text.sliced(1);
    // Only ASCII digits and dots, no empty part: the number parser would also take signs and spaces.
    bool digitLast = false;
    for (const QChar c : text) {
        const bool digit = c >= u'0' && c <= u'9';
        if (!digit && (c != u'.' || !digitLast))
            return std::nullopt;
        digitLast = digit;
    }
    if (!digitLast)
        return std::nullopt;
    qsizetype end = 0;
    const QVersionNumber number = QVersionNumber::fromString(text, &end);
    if (end != text.size()) // a part too large to count
        return std::nullopt;
    return number.normalized();
}

} // namespace

VersionOrder versionOrder(QStringView published, QStringView own)
{
    const std::optional<QVersionNumber> theirs = versionNumber(published);
    const std::optional<QVersionNumber> ours = versionNumber(own);
    if (!theirs || !ours)
        return VersionOrder::NotAVersion;
    return *theirs > *ours ? VersionOrder::Later : VersionOrder::SameOrEarlier;
}

QString versionToken(QStringView text)
{
    text = text.trimmed();
    QString token;
    int kept = 0;
    for (const char32_t c : text.toUcs4()) {
        if (isLineBreak(c) || kept == MaxVersionCharacters)
            break;
        if (isDropped(c))
            continue;
        token += QString::fromUcs4(&c, 1);
        ++kept;
    }
    return token.trimmed();
}

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

void VersionFetch::cancel()
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
    cancel();
    emit finished(ok, ok ? text : QString());
}

} // namespace lotgrid
