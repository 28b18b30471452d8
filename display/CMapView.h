#pragma once
// The map pop-up's map (control 600): moves the car's marker and draws the
// recording's track. Calls made while the page is still loading are kept and
// sent once it has loaded: the last position, and the last track.
#include "display/CExplorerMapViewWnd.h"

#include <QPointF>
#include <optional>
#include <vector>

class CMapView : public CExplorerMapViewWnd {
    Q_OBJECT
public:
    explicit CMapView(const MapConfig& config, QWidget* parent = nullptr);

    // Removes marker 0, adds it at the position and centres the map there.
    // A position that is not a finite number sends nothing.
    void ShowPosition(double latitude, double longitude);
    // (x = longitude, y = latitude); empty clears the track.
    void ShowTrack(const std::vector<QPointF>& lonLat);

private:
    void sendTrack();
    void sendPosition();

    std::optional<QPointF> m_position; // (latitude, longitude)
    std::vector<QPointF> m_track;
    bool m_trackPending = false;
};
