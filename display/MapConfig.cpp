#include "display/MapConfig.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace {
QString setting(QSettings& s, const char* key, const char* env, const QString& fallback)
{
    if (qEnvironmentVariableIsSet(env))
        return qEnvironmentVariable(env).trimmed();
    return s.value(QLatin1String(key), fallback).toString().trimmed();
}
} // namespace

MapConfig MapConfig::Load()
{
    QSettings s;
    MapConfig c;
    const QString server = setting(s, "map/server", "HALCYON_MAP_SERVER", QString());
    QUrl url(server, QUrl::StrictMode);
    if (server.isEmpty() || !url.isValid() || url.host().isEmpty()) {
        url = QUrl();
        url.setScheme(QLatin1String(kBundledScheme));
        url.setHost(QLatin1String(kBundledHost));
    }
    c.server = url.adjusted(QUrl::RemovePath | QUrl::RemoveQuery | QUrl::RemoveFragment | QUrl::RemoveUserInfo);
    c.checkServer = setting(s, "map/checkServer", "HALCYON_MAP_CHECK_SERVER", QString());
    c.tiles = setting(s, "map/tiles", "HALCYON_MAP_TILES", QLatin1String(kDefaultTiles));
    c.tilePackage = setting(s, "map/tilePackage", "HALCYON_MAP_TILE_PACKAGE", QString());
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (!cache.isEmpty())
        c.tileCache = QDir(cache).filePath(QStringLiteral("map-tiles"));
    return c;
}

bool MapConfig::bundled() const
{
    return server.scheme() == QLatin1String(kBundledScheme);
}

QUrl MapConfig::pageUrl() const
{
    QUrl url = server;
    url.setPath(QLatin1String(kPagePath));
    url.setQuery(QLatin1String(kPageQuery));
    return url;
}

QString MapConfig::tileAttribution() const
{
    return tiles.contains(QLatin1String("openstreetmap.org")) ? QLatin1String(kDefaultAttribution) : QString();
}

QString MapConfig::checkHost() const
{
    if (!checkServer.isEmpty())
        return checkServer;
    if (bundled())
        return QString();
    if (server.port() > 0)
        return server.host() + u':' + QString::number(server.port());
    return server.host();
}
