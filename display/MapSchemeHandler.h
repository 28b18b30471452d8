#pragma once
// Serves the viewer's own map page and the script it needs (Leaflet, bundled
// at build time) under "halcyonmap://viewer/", so the map needs no server and
// no network of its own.
#include <QWebEngineUrlSchemeHandler>

class MapSchemeHandler : public QWebEngineUrlSchemeHandler {
    Q_OBJECT
public:
    // tiles: the tile URL template the page uses (empty: no tiles).
    MapSchemeHandler(const QString& tiles, const QString& attribution, QObject* parent = nullptr);

    // Registers the scheme with the browser engine. Must run before the
    // engine's first profile exists; later calls do nothing.
    static void RegisterScheme();

    void requestStarted(QWebEngineUrlRequestJob* job) override;

    // The page's HTML with the tile settings filled in as escaped attribute
    // text.
    QByteArray PageHtml() const;

private:
    QString m_tiles;
    QString m_attribution;
};
