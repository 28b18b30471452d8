#pragma once
// Where the map comes from. Settings under "map/" (QSettings), each overridden
// by an environment variable when that is set:
//   map/server       HALCYON_MAP_SERVER        base URL of the map server; empty:
//                                              the viewer's own bundled page
//   map/checkServer  HALCYON_MAP_CHECK_SERVER  host[:port] of the connectivity
//                                              check; empty: none
//   map/tiles        HALCYON_MAP_TILES         tile URL template ({z}/{x}/{y});
//                                              set but empty: no tiles
//   map/tilePackage  HALCYON_MAP_TILE_PACKAGE  an MBTiles file whose tiles come
//                                              first; empty: none
#include <QString>
#include <QUrl>

class MapConfig {
public:
    // The scheme and host under which the viewer serves its own map page.
    static constexpr const char* kBundledScheme = "halcyonmap";
    static constexpr const char* kBundledHost = "viewer";
    static constexpr const char* kPagePath = "/ViewerMap.aspx";
    static constexpr const char* kPageQuery = "Level=3";
    static constexpr const char* kDefaultTiles = "https://tile.openstreetmap.org/{z}/{x}/{y}.png";
    static constexpr const char* kDefaultAttribution = "&copy; OpenStreetMap contributors";

    static MapConfig Load();

    QUrl server;         // scheme and authority only
    QString checkServer; // host or host:port, empty for none
    QString tiles;       // empty: no tiles from the network
    QString tilePackage; // MBTiles file, empty for none
    // Folder of the tile disk cache (the user's cache folder); empty: none.
    QString tileCache;

    // Whether the page shows tiles at all (from a package or the network).
    bool hasTiles() const { return !tiles.isEmpty() || !tilePackage.isEmpty(); }

    bool bundled() const;
    // server + "/ViewerMap.aspx?Level=3"
    QUrl pageUrl() const;
    // The attribution the bundled page shows under its tiles.
    QString tileAttribution() const;
    // The host[:port] whose answer decides whether the map is driven; empty
    // when no check is needed: the configured check server; else, for an
    // outside map server, that server's own host; the bundled page works
    // without any network and needs no check.
    QString checkHost() const;
};
