#pragma once
// The map page asks the viewer for tiles at "halcyonmap://tiles/{z}/{x}/{y}";
// the viewer fetches them itself (tile package, disk cache, network), so the
// page never talks to the network. Only three integers within the zoom's
// range make a tile: a page cannot name a file or another host through this
// route, because the outgoing address is always rebuilt from the numbers.
#include <QString>
#include <QUrl>
#include <optional>

struct MapTile {
    int z = 0;
    int x = 0;
    int y = 0; // from the north edge, as slippy-map servers count rows
    bool operator==(const MapTile&) const = default;
};

class MapTileRoute {
public:
    static constexpr const char* kHost = "tiles";
    static constexpr int kMaxZoom = 22;

    // The template the page's tile layer uses.
    static QString PageTemplate();
    // The tile a request of the page names, or nothing (answered "not found").
    static std::optional<MapTile> Parse(const QUrl& url);
    // The tile's address on a server with the given template ({z}, {x}, {y},
    // {-y} for rows counted from the south, {s} for one of the servers a, b, c).
    static QUrl ServerUrl(const QString& tileTemplate, const MapTile& tile);
    // The row as MBTiles packages (TMS) count it: from the south edge.
    static int TmsRow(const MapTile& tile) { return (1 << tile.z) - 1 - tile.y; }
};
