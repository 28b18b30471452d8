#include "display/MapServerCheck.h"

#include <QHostAddress>
#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace {
// The system's proxy settings, except for the loopback host, which no proxy
// can reach on our behalf.
class SystemProxyFactory : public QNetworkProxyFactory {
public:
    QList<QNetworkProxy> queryProxy(const QNetworkProxyQuery& query) override
    {
        const QString host = query.peerHostName();
        if (host == QLatin1String("localhost") || QHostAddress(host).isLoopback())
            return {QNetworkProxy(QNetworkProxy::NoProxy)};
        return systemProxyForQuery(query);
    }
};

bool isNumber(const QByteArray& value)
{
    const QByteArray v = value.trimmed();
    if (v.isEmpty())
        return false;
    for (char c : v)
        if (c < '0' || c > '9')
            return false;
    return true;
}
} // namespace

MapServerCheck::MapServerCheck(QObject* parent) : QObject(parent), m_manager(new QNetworkAccessManager(this))
{
    m_manager->setProxyFactory(new SystemProxyFactory);
    m_timer.setSingleShot(true);
    // a coarse timer may fire up to 5 % early; the check must wait its whole limit
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, [this] { conclude(false); });
}

MapServerCheck::~MapServerCheck()
{
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
    }
}

void MapServerCheck::Start(const QString& hostAndPort, int timeoutMs)
{
    if (m_running)
        return;
    m_running = true;
    QUrl url(QStringLiteral("http://") + hostAndPort.trimmed() + QStringLiteral("/map/Thanks.txt"), QUrl::StrictMode);
    if (hostAndPort.trimmed().isEmpty() || !url.isValid() || url.host().isEmpty()) {
        QMetaObject::invokeMethod(this, [this] { conclude(false); }, Qt::QueuedConnection);
        return;
    }
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, QByteArrayLiteral("kestrel"));
    request.setRawHeader(QByteArrayLiteral("Accept"), QByteArrayLiteral("*/*"));
    // The server's own answer counts, not where a redirect would lead.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setTransferTimeout(timeoutMs);
    QNetworkReply* reply = m_manager->get(request);
    m_reply = reply;
    connect(reply, &QNetworkReply::metaDataChanged, this, &MapServerCheck::onMetaData);
    connect(reply, &QNetworkReply::finished, this, &MapServerCheck::onMetaData);
    m_timer.start(timeoutMs);
}

void MapServerCheck::onMetaData()
{
    if (!m_reply)
        return;
    // Headers have arrived once the status is known; before that, a finished
    // reply means no response at all.
    if (!m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid()) {
        if (m_reply->isFinished())
            conclude(false);
        return;
    }
    conclude(isNumber(m_reply->rawHeader(QByteArrayLiteral("Content-Length"))));
}

void MapServerCheck::conclude(bool reachable)
{
    if (!m_running)
        return;
    m_running = false;
    m_timer.stop();
    if (QNetworkReply* reply = m_reply) {
        m_reply = nullptr;
        reply->disconnect(this);
        // The body is of no interest: drop the connection instead of reading
        // it, once the reply has finished delivering the signal we are in
        // (aborting inside it makes the network layer report its error twice
        // when the server closes at the same time).
        QMetaObject::invokeMethod(reply, &QNetworkReply::abort, Qt::QueuedConnection);
        reply->deleteLater();
    }
    emit finished(reachable);
}
