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
    m_timeoutMs = timeoutMs;
    m_redirects = 0;
    m_clock.start();
    get(url);
    m_timer.start(timeoutMs);
}

void MapServerCheck::get(const QUrl& url)
{
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, QByteArrayLiteral("kestrel"));
    request.setRawHeader(QByteArrayLiteral("Accept"), QByteArrayLiteral("*/*"));
    // Redirects are followed here, one answer at a time, so that each one's
    // headers are seen and the time limit covers the whole chain.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setTransferTimeout(qMax(1, m_timeoutMs - int(m_clock.elapsed())));
    QNetworkReply* reply = m_manager->get(request);
    m_reply = reply;
    connect(reply, &QNetworkReply::metaDataChanged, this, &MapServerCheck::onMetaData);
    connect(reply, &QNetworkReply::finished, this, &MapServerCheck::onMetaData);
}

void MapServerCheck::onMetaData()
{
    if (!m_reply)
        return;
    // Headers have arrived once the status is known; before that, a finished
    // reply means no response at all.
    const QVariant status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!status.isValid()) {
        if (m_reply->isFinished())
            conclude(false);
        return;
    }
    const QByteArray location = m_reply->rawHeader(QByteArrayLiteral("Location")).trimmed();
    if (status.toInt() >= 300 && status.toInt() < 400 && !location.isEmpty()) {
        const QUrl target = m_reply->url().resolved(QUrl::fromEncoded(location));
        const bool http = target.scheme() == QLatin1String("http") || target.scheme() == QLatin1String("https");
        if (++m_redirects > kMaxRedirects || !target.isValid() || !http || target.host().isEmpty()) {
            conclude(false);
            return;
        }
        dropReply();
        get(target);
        return;
    }
    conclude(isNumber(m_reply->rawHeader(QByteArrayLiteral("Content-Length"))));
}

void MapServerCheck::dropReply()
{
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
}

void MapServerCheck::conclude(bool reachable)
{
    if (!m_running)
        return;
    m_running = false;
    m_timer.stop();
    dropReply();
    emit finished(reachable);
}
