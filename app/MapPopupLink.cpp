#include "app/MapPopupLink.h"

#include "app/PlaybackController.h"
#include "config/DeviceConfig.h"
#include "display/IMapPopup.h"
#include "display/MapServerCheck.h"
#include "telemetry/GpsFixReadout.h"

MapPopupLink::MapPopupLink(PlaybackController& controller, const DeviceConfig& settings, IMapPopup& popup,
                           const MapConfig& config, QObject* parent)
    : QObject(parent), m_controller(controller), m_settings(settings), m_popup(popup), m_config(config)
{
    connect(&controller, &PlaybackController::gpsFixReached, this, &MapPopupLink::onFix);
    connect(&controller, &PlaybackController::recordingStarted, this, &MapPopupLink::onRecordingStarted);
    connect(&controller, &PlaybackController::recordingStopped, this, &MapPopupLink::onRecordingStopped);
}

MapPopupLink::~MapPopupLink() = default;

void MapPopupLink::StartCheck()
{
    m_controller.SetOffline(true);
    const QString host = m_config.checkHost();
    if (host.isEmpty()) {
        // The viewer's own page needs no network to draw.
        setOnline(true);
        return;
    }
    m_check = new MapServerCheck(this);
    connect(m_check, &MapServerCheck::finished, this, [this](bool reachable) {
        m_check->deleteLater();
        m_check = nullptr;
        setOnline(reachable);
    });
    m_check->Start(host);
}

void MapPopupLink::SettingsChanged()
{
    m_popup.SetSpeedUnit(m_settings.live.speedUnit);
}

void MapPopupLink::setOnline(bool online)
{
    m_controller.SetOffline(!online);
    if (online && m_trackPending)
        sendTrack(std::move(m_pendingTrack));
}

void MapPopupLink::onFix(const GpsFixReadoutValues& fix, bool showOnMap, std::size_t fixIndex)
{
    MapFix f;
    f.index = fixIndex;
    f.latitude = fix.latitude;
    f.longitude = fix.longitude;
    f.speed = fix.speed;
    f.speedUnit = m_settings.live.speedUnit;
    f.localTime = fix.localTime;
    m_feed.Tick(m_popup, f, !showOnMap);
}

void MapPopupLink::onRecordingStarted()
{
    m_feed.Reset();
    const auto& track = m_controller.telemetry().gpsTrack;
    std::vector<QPointF> lonLat;
    lonLat.reserve(track.size());
    for (const CVxGPSTrace& t : track)
        lonLat.emplace_back(GpsFixReadout::NmeaToDegrees(t.longitude, t.eastWest, u'E'),
                            GpsFixReadout::NmeaToDegrees(t.latitude, t.northSouth, u'N'));
    sendTrack(std::move(lonLat));
}

void MapPopupLink::onRecordingStopped()
{
    sendTrack({});
}

void MapPopupLink::sendTrack(std::vector<QPointF> lonLat)
{
    if (m_controller.isOffline()) {
        m_pendingTrack = std::move(lonLat);
        m_trackPending = true;
        return;
    }
    m_trackPending = false;
    m_pendingTrack.clear();
    m_popup.ShowTrack(lonLat);
}
