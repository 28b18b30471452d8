#pragma once
// Decides what the 350 ms tick hands the map pop-up, so the page gets its
// three calls once per new fix rather than on every tick, and the overlay
// repaints only when something it shows changed (a new fix, or the camera's
// unit or time zone changing under the same fix).
#include "display/IMapPopup.h"

#include <QDateTime>
#include <cstddef>
#include <optional>

struct MapFix {
    std::size_t index = 0; // position of the fix in the recording
    double latitude = 0;   // signed decimal degrees
    double longitude = 0;
    int speed = 0; // in speedUnit
    int speedUnit = 0;
    QDateTime localTime; // invalid: keep the time shown
};

class MapFixFeed {
public:
    // A recording was opened: its first fix is new whatever its index.
    void Reset();
    // offline: the map is not driven (its check has not answered, or the
    // server was unreachable); the overlay still follows. A position not yet
    // sent goes out on the first tick after the map comes online.
    void Tick(IMapPopup& popup, const MapFix& fix, bool offline);

private:
    std::optional<std::size_t> m_positionIndex;
    std::optional<MapFix> m_overlay;
};
