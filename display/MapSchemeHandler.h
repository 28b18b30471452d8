#pragma once
// Serves the viewer's own map page and the script it needs (Leaflet, bundled
// at build time) under "halcyonmap://viewer/", and the map's tiles under
// "halcyonmap://tiles/{z}/{x}/{y}" from MapTileSource, so the page itself
// needs no server and never talks to the network. Anything else is "not
// found".
#include "display/MapConfig.h"

#include <QWebEngineUrlSchemeHandler>

class MapTileSource;

class MapSchemeHandler : public QWebEngineUrlSchemeHandler {
    Q_OBJECT
public:
    explicit MapSchemeHandler(const MapConfig& config, QObject* parent = nullptr);
    ~MapSchemeHandler() override;

    // Registers the scheme with the browser engine. Must run before the
    // engine's first profile exists; later calls do nothing.
    static void RegisterScheme();

    void requestStarted(QWebEngineUrlRequestJob* job) override;

    // The page's HTML with the tile settings filled in as escaped attribute
    // text.
    QByteArray PageHtml() const;

private:
    void serveTile(QWebEngineUrlRequestJob* job);

    QString m_tiles; // the page's tile template, empty for no tiles
    QString m_attribution;
    MapTileSource* m_tileSource = nullptr;
};
