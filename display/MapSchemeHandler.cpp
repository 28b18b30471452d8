#include "display/MapSchemeHandler.h"

#include "display/MapTileRoute.h"
#include "display/MapTileSource.h"

#include <QBuffer>
#include <QFile>
#include <QPointer>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>

namespace {
QByteArray resource(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

MapSchemeHandler::MapSchemeHandler(const MapConfig& config, QObject* parent)
    : QWebEngineUrlSchemeHandler(parent), m_attribution(config.tileAttribution())
{
    if (config.hasTiles()) {
        m_tiles = MapTileRoute::PageTemplate();
        m_tileSource = new MapTileSource(config, this);
    }
}

MapSchemeHandler::~MapSchemeHandler() = default;

void MapSchemeHandler::RegisterScheme()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    QWebEngineUrlScheme scheme(MapConfig::kBundledScheme);
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Host);
    scheme.setFlags(QWebEngineUrlScheme::LocalScheme);
    QWebEngineUrlScheme::registerScheme(scheme);
}

QByteArray MapSchemeHandler::PageHtml() const
{
    QByteArray html = resource(QStringLiteral(":/map/ViewerMap.html"));
    html.replace("@TILES@", m_tiles.toHtmlEscaped().toUtf8());
    html.replace("@ATTRIBUTION@", m_attribution.toHtmlEscaped().toUtf8());
    return html;
}

void MapSchemeHandler::serveTile(QWebEngineUrlRequestJob* job)
{
    const std::optional<MapTile> tile = MapTileRoute::Parse(job->requestUrl());
    if (!tile || !m_tileSource) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    // The page may drop the request (the map moved on) before the tile comes.
    QPointer<QWebEngineUrlRequestJob> pending(job);
    m_tileSource->Fetch(*tile, [pending](const QByteArray& data, const QByteArray& mimeType) {
        if (!pending)
            return;
        if (data.isEmpty()) {
            pending->fail(QWebEngineUrlRequestJob::UrlNotFound);
            return;
        }
        auto* buffer = new QBuffer(pending);
        buffer->setData(data);
        pending->reply(mimeType, buffer);
    });
}

void MapSchemeHandler::requestStarted(QWebEngineUrlRequestJob* job)
{
    const QUrl url = job->requestUrl();
    if (url.host() == QLatin1String(MapTileRoute::kHost)) {
        serveTile(job);
        return;
    }
    const QString path = url.host() == QLatin1String(MapConfig::kBundledHost) ? url.path() : QString();
    QByteArray body;
    QByteArray type;
    if (path == QLatin1String(MapConfig::kPagePath)) {
        body = PageHtml();
        type = "text/html";
    } else if (path == QLatin1String("/map.js")) {
        body = resource(QStringLiteral(":/map/map.js"));
        type = "text/javascript";
    } else if (path == QLatin1String("/leaflet/leaflet.js")) {
        body = resource(QStringLiteral(":/map/leaflet/leaflet.js"));
        type = "text/javascript";
    } else if (path == QLatin1String("/leaflet/leaflet.css")) {
        body = resource(QStringLiteral(":/map/leaflet/leaflet.css"));
        type = "text/css";
    }
    if (body.isEmpty()) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    auto* buffer = new QBuffer(job);
    buffer->setData(body);
    job->reply(type, buffer);
}
