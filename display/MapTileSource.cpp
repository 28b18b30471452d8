#include "display/MapTileSource.h"

#include "display/MapTilePackage.h"

#include <QCoreApplication>
#include <QDir>
#include <QNetworkAccessManager>
#include <QNetworkDiskCache>
#include <QNetworkReply>
#include <QNetworkRequest>

MapTileSource::MapTileSource(const MapConfig& config, QObject* parent)
    : QObject(parent), m_template(config.tiles)
{
    if (!config.tilePackage.isEmpty())
        m_package = std::make_unique<MapTilePackage>(config.tilePackage);
    if (m_template.isEmpty())
        return;
    m_network = new QNetworkAccessManager(this);
    if (!config.tileCache.isEmpty() && QDir().mkpath(config.tileCache)) {
        m_cache = new QNetworkDiskCache(this);
        m_cache->setCacheDirectory(config.tileCache);
        m_cache->setMaximumCacheSize(kCacheBytes);
        m_network->setCache(m_cache);
    }
}

MapTileSource::~MapTileSource() = default;

QByteArray MapTileSource::SniffMimeType(const QByteArray& data)
{
    if (data.startsWith("\x89PNG"))
        return "image/png";
    if (data.startsWith("\xFF\xD8\xFF"))
        return "image/jpeg";
    if (data.startsWith("RIFF") && data.mid(8, 4) == "WEBP")
        return "image/webp";
    if (data.startsWith("GIF8"))
        return "image/gif";
    return "application/octet-stream";
}

QByteArray MapTileSource::fromCache(const QUrl& url) const
{
    if (!m_cache)
        return {};
    std::unique_ptr<QIODevice> device(m_cache->data(url));
    return device ? device->readAll() : QByteArray();
}

void MapTileSource::Fetch(const MapTile& tile, Done done)
{
    if (m_package) {
        if (std::optional<QByteArray> data = m_package->Read(tile)) {
            done(*data, SniffMimeType(*data));
            return;
        }
    }
    if (!m_network) {
        done({}, {});
        return;
    }
    const QUrl url = MapTileRoute::ServerUrl(m_template, tile);
    QNetworkRequest request(url);
    // Tile servers ask for a name that tells who is fetching.
    const QString version = QCoreApplication::applicationVersion();
    request.setHeader(QNetworkRequest::UserAgentHeader,
                      QStringLiteral("HalcyonDeck%1 (dash-cam viewer)")
                          .arg(version.isEmpty() ? QString() : QLatin1Char('/') + version));
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::PreferNetwork);
    request.setTransferTimeout(kTimeoutMs);
    QNetworkReply* reply = m_network->get(request);
    connect(reply, &QNetworkReply::finished, this, [this, reply, url, done = std::move(done)] {
        reply->deleteLater();
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        QByteArray data;
        if (reply->error() == QNetworkReply::NoError && status >= 200 && status < 300)
            data = reply->readAll();
        if (data.isEmpty())
            data = fromCache(url);
        done(data, data.isEmpty() ? QByteArray() : SniffMimeType(data));
    });
}
