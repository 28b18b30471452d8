#pragma once
// Drives the map pop-up from playback: the 350 ms tick's fix goes to the map
// (once per new fix, only while the map is online) and to the overlay; the
// recording's whole track is drawn when it starts and cleared when playback
// stops. Whether the map is online is decided here at start-up: the bundled
// page is always driven; an outside map server only once its connectivity
// check has answered. No script call at all reaches the page while offline;
// the track waiting for it goes out when the check answers.
#include "display/MapConfig.h"
#include "display/MapFixFeed.h"

#include <QObject>
#include <QPointF>
#include <vector>

class DeviceConfig;
class IMapPopup;
class MapServerCheck;
class PlaybackController;
struct GpsFixReadoutValues;

class MapPopupLink : public QObject {
    Q_OBJECT
public:
    // The controller, the camera's settings and the popup outlive the link.
    MapPopupLink(PlaybackController& controller, const DeviceConfig& settings, IMapPopup& popup,
                 const MapConfig& config, QObject* parent = nullptr);
    ~MapPopupLink() override;

    // Sets the controller offline and runs the connectivity check when one
    // is needed; never waits for it.
    void StartCheck();
    // The camera's settings were read or changed: the overlay's unit follows.
    void SettingsChanged();

private:
    void onFix(const GpsFixReadoutValues& fix, bool showOnMap, std::size_t fixIndex);
    void onRecordingStarted();
    void onRecordingStopped();
    void setOnline(bool online);
    void sendTrack(std::vector<QPointF> lonLat);

    PlaybackController& m_controller;
    const DeviceConfig& m_settings;
    IMapPopup& m_popup;
    MapConfig m_config;
    MapFixFeed m_feed;
    MapServerCheck* m_check = nullptr;
    // The track not yet sent because the map was offline.
    std::vector<QPointF> m_pendingTrack;
    bool m_trackPending = false;
};
