#pragma once
// Records what the main window and the tick hand the map pop-up.
#include "display/IMapPopup.h"

#include <QString>
#include <QStringList>

class FakeMapPopup : public IMapPopup {
public:
    struct Overlay {
        int speed, speedUnit;
        double latitude, longitude;
        QDateTime localTime;
    };
    void ToggleShown() override { shown = !shown; }
    bool IsShownByUser() const override { return shown; }
    void UpdateOverlay(int speed, int speedUnit, double latitude, double longitude,
                       const QDateTime& localTime) override
    {
        overlays.push_back({speed, speedUnit, latitude, longitude, localTime});
    }
    void SetSpeedUnit(int unit) override { speedUnit = unit; }
    void ShowPosition(double latitude, double longitude) override { positions.push_back({latitude, longitude}); }
    void ShowTrack(const std::vector<QPointF>& lonLat) override { tracks.push_back(lonLat); }

    bool shown = false;
    int speedUnit = 0;
    std::vector<QPointF> positions; // (latitude, longitude)
    std::vector<Overlay> overlays;
    std::vector<std::vector<QPointF>> tracks;
};
