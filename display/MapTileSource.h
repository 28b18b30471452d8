#pragma once
// Where the map's tiles come from, in this order: the offline tile package,
// then the tile server through a disk cache (bounded, in the user's cache
// folder), and when the server cannot be reached or answers with no picture,
// whatever the cache holds for that tile, expired or not: a trip watched
// again offline still shows its map.
#include "display/MapConfig.h"
#include "display/MapTileRoute.h"

#include <QByteArray>
#include <QObject>
#include <functional>
#include <memory>

class MapTilePackage;
class QNetworkAccessManager;
class QNetworkDiskCache;

class MapTileSource : public QObject {
    Q_OBJECT
public:
    static constexpr qint64 kCacheBytes = 200LL * 1024 * 1024;
    static constexpr int kTimeoutMs = 15000;

    // data empty: no picture for this tile anywhere.
    using Done = std::function<void(const QByteArray& data, const QByteArray& mimeType)>;

    explicit MapTileSource(const MapConfig& config, QObject* parent = nullptr);
    ~MapTileSource() override;

    // done runs exactly once, at once for a package's tile, else later on
    // this thread.
    void Fetch(const MapTile& tile, Done done);

    // The MIME type of a picture by its first bytes (PNG, JPEG, WebP, GIF).
    static QByteArray SniffMimeType(const QByteArray& data);

private:
    QByteArray fromCache(const QUrl& url) const;

    QString m_template;
    std::unique_ptr<MapTilePackage> m_package;
    QNetworkAccessManager* m_network = nullptr;
    QNetworkDiskCache* m_cache = nullptr;
};
