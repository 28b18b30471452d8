#pragma once
// An incident clip of the open recording: the range around the moment, the
// readings to burn into the picture (the camera's local time, speed in its
// unit, position) as the playback tick would show them, and the GPX of the
// same range written beside the video. The encoding itself is the encoder's.
#include "config/DeviceSettings.h"
#include "engine/IClipEncoder.h"
#include "telemetry/ImpactDetector.h"
#include "telemetry/RecordingTelemetry.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <utility>
#include <vector>

class IncidentExport {
public:
    static constexpr std::uint32_t kDefaultMarginMs = 10000;
    // Around an impact: the run-up and what follows the hit.
    static constexpr std::uint32_t kImpactBeforeMs = 2000;
    static constexpr std::uint32_t kImpactAfterMs = 8000;

    // The range the export proposes: with impacts, [impact − 2 s, impact + 8 s]
    // around the one nearest the position (the earlier of two as near), cut
    // to the recording; without, [position − 10 s, position + 10 s], moved
    // inside the recording.
    static std::pair<std::uint32_t, std::uint32_t> DefaultRange(std::uint32_t positionMs, std::uint32_t durationMs,
                                                                const std::vector<Impact>& impacts = {});

    // One caption at fromMs for the fix shown there, then one at each later fix
    // before toMs: "YYYY-MM-DD hh:mm:ss  S unit" over "latitude, longitude".
    // No fixes, no captions.
    static std::vector<ClipCaption> Captions(const RecordingTelemetry& telemetry, std::uint32_t fromMs,
                                             std::uint32_t toMs, const DeviceSettings& settings);

    // The GPX document of the fixes in [fromMs, toMs].
    static QByteArray RangeGpx(const RecordingTelemetry& telemetry, std::uint32_t fromMs, std::uint32_t toMs,
                               const QString& trackName);
    // The GPX file beside a clip: the same name ending in ".gpx".
    static QString GpxPathFor(const QString& clipPath);

    // Encodes the clip, then writes its GPX. On failure or cancel neither file
    // is left behind (a clip without its GPX is removed again).
    static ClipExportResult Run(IClipEncoder& encoder, ClipExportRequest request, const RecordingTelemetry& telemetry,
                                const DeviceSettings& settings, const IClipEncoder::Progress& progress = {});
};
