#pragma once
// What the main window and the playback tick need of the map pop-up, so they
// can be tested without starting a web browser engine.
#include <QDateTime>
#include <QPointF>
#include <vector>

class IMapPopup {
public:
    virtual ~IMapPopup() = default;

    // The map command: hide when shown by the user, else show.
    virtual void ToggleShown() = 0;
    virtual bool IsShownByUser() const = 0;
    // A fix for the overlay strip, speed already in speedUnit. An invalid
    // time keeps the time shown.
    virtual void UpdateOverlay(int speed, int speedUnit, double latitude, double longitude,
                               const QDateTime& localTime) = 0;
    // The camera's speed unit changed: the overlay's unit text follows.
    virtual void SetSpeedUnit(int speedUnit) = 0;
    // Moves the map's position marker (kept for the page when it is still loading).
    virtual void ShowPosition(double latitude, double longitude) = 0;
    // The open recording's whole track, (x = longitude, y = latitude); empty clears it.
    virtual void ShowTrack(const std::vector<QPointF>& lonLat) = 0;
};
