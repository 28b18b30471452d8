#include "display/MapTileRoute.h"

#include "display/MapConfig.h"

#include <QStringList>

namespace {
// Plain decimal digits only: no sign, no spaces, no hex, at most 7 digits
// (2^22 tiles a row).
std::optional<int> number(const QString& s)
{
    if (s.isEmpty() || s.size() > 7)
        return std::nullopt;
    int v = 0;
    for (QChar c : s) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        v = v * 10 + (c.unicode() - u'0');
    }
    return v;
}
} // namespace

QString MapTileRoute::PageTemplate()
{
    return QStringLiteral("%1://%2/{z}/{x}/{y}").arg(QLatin1String(MapConfig::kBundledScheme), QLatin1String(kHost));
}

std::optional<MapTile> MapTileRoute::Parse(const QUrl& url)
{
    if (!url.isValid() || url.scheme() != QLatin1String(MapConfig::kBundledScheme)
        || url.host() != QLatin1String(kHost) || url.port() != -1 || !url.userInfo().isEmpty() || url.hasQuery()
        || url.hasFragment())
        return std::nullopt;
    // The encoded path: "%2F" or "%2E" must not pass for separators or dots.
    const QStringList parts = url.path(QUrl::FullyEncoded).split(u'/');
    if (parts.size() != 4 || !parts[0].isEmpty())
        return std::nullopt;
    const auto z = number(parts[1]), x = number(parts[2]), y = number(parts[3]);
    if (!z || !x || !y || *z > kMaxZoom)
        return std::nullopt;
    const int count = 1 << *z;
    if (*x >= count || *y >= count)
        return std::nullopt;
    return MapTile{*z, *x, *y};
}

QUrl MapTileRoute::ServerUrl(const QString& tileTemplate, const MapTile& tile)
{
    QString s = tileTemplate;
    s.replace(QLatin1String("{z}"), QString::number(tile.z));
    s.replace(QLatin1String("{x}"), QString::number(tile.x));
    s.replace(QLatin1String("{-y}"), QString::number(TmsRow(tile)));
    s.replace(QLatin1String("{y}"), QString::number(tile.y));
    s.replace(QLatin1String("{s}"), QString(QChar(u'a' + (tile.x + tile.y) % 3)));
    s.replace(QLatin1String("{r}"), QString());
    return QUrl(s);
}
