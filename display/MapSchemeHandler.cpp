#include "display/MapSchemeHandler.h"

#include "display/MapConfig.h"

#include <QBuffer>
#include <QFile>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>

namespace {
QByteArray resource(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

MapSchemeHandler::MapSchemeHandler(const QString& tiles, const QString& attribution, QObject* parent)
    : QWebEngineUrlSchemeHandler(parent), m_tiles(tiles), m_attribution(attribution)
{
}

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

void MapSchemeHandler::requestStarted(QWebEngineUrlRequestJob* job)
{
    const QString path = job->requestUrl().path();
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
