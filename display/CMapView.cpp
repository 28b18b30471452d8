#include "display/CMapView.h"

#include <cmath>

CMapView::CMapView(const MapConfig& config, QWidget* parent) : CExplorerMapViewWnd(config, parent)
{
    connect(this, &CExplorerMapViewWnd::pageLoaded, this, [this](bool ok) {
        if (!ok)
            return;
        // A new page knows nothing: draw the track, then the marker on top.
        if (!m_track.empty())
            m_trackPending = true;
        sendTrack();
        sendPosition();
    });
}

void CMapView::ShowPosition(double latitude, double longitude)
{
    if (!std::isfinite(latitude) || !std::isfinite(longitude))
        return;
    m_position = QPointF(latitude, longitude);
    sendPosition();
}

void CMapView::ShowTrack(const std::vector<QPointF>& lonLat)
{
    m_track = lonLat;
    m_trackPending = true;
    sendTrack();
}

void CMapView::sendTrack()
{
    if (!m_trackPending || !isPageLoaded())
        return;
    m_trackPending = false;
    RunCall(MapPageScript::TrackCall(m_track));
}

void CMapView::sendPosition()
{
    if (!m_position || !isPageLoaded())
        return;
    for (const QString& text : MapPageScript::PositionCallTexts(m_position->x(), m_position->y()))
        RunPageScript(this, text);
}
