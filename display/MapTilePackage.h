#pragma once
// An offline tile package: an MBTiles file (SQLite; table "tiles" with
// zoom_level, tile_column, tile_row counted from the south, tile_data), read
// only, through Qt SQL's SQLite driver. A package of vector tiles ("pbf") has
// no pictures for the page and is not used.
#include "display/MapTileRoute.h"

#include <QByteArray>
#include <QString>
#include <optional>

class MapTilePackage {
public:
    explicit MapTilePackage(const QString& path);
    ~MapTilePackage();
    MapTilePackage(const MapTilePackage&) = delete;
    MapTilePackage& operator=(const MapTilePackage&) = delete;

    bool isOpen() const { return m_open; }
    // The tile's picture, or nothing when the package does not hold it.
    std::optional<QByteArray> Read(const MapTile& tile);

private:
    QString m_connection;
    bool m_open = false;
};
