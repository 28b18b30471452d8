#pragma once
// The telemetry of the open recording. The main window owns one and reloads it
// for every recording it opens; it stays until the next load.
#include "engine/ITelemetrySource.h"
#include "telemetry/CVxGPSTrace.h"
#include "telemetry/CVxGSensorInfo.h"
#include "telemetry/ImpactDetector.h"

#include <QRgb>
#include <cstdint>
#include <string>
#include <vector>

class ILinePlot;

class RecordingTelemetry {
public:
    // How often in a row a source may ask to be asked again before it counts as finished.
    static constexpr int kMaxRetriesInARow = ITelemetrySource::kMaxRetriesInARow;
    static constexpr QRgb kColourX = 0xFF80FFFF; // RGB(128, 255, 255)
    static constexpr QRgb kColourY = 0xFF00FF00; // RGB(0, 255, 0)
    static constexpr QRgb kColourZ = 0xFFFF0000; // RGB(255, 0, 0)

    // Replaces everything with the lines of source (none when source is null)
    // and gives plot (if any) the X, Y and Z series. Blocks until the source
    // ends; the plot is emptied before the source is read.
    void LoadTelemetry(ITelemetrySource* source, ILinePlot* plot);
    // The same with samples already read: RMC sentences ("G$GPRMC…") and
    // acceleration samples ('M'); other samples are passed over.
    void LoadSamples(const std::vector<TelemetrySample>& samples, ILinePlot* plot);

    std::vector<CVxGPSTrace> gpsTrack;
    // gpsTimes[i] == gpsTrack[i].timeStamp; the playback tick searches it.
    std::vector<std::uint32_t> gpsTimes;
    std::vector<CVxGSensorInfo> gSensorTrack;
    // The RMC sentences as stored (without the leading 'G'), one per gpsTrack record.
    std::vector<std::string> gpsSentences;
    // Found in gSensorTrack at every load with impactThresholdG (a setting the
    // owner sets before loading).
    std::vector<Impact> impacts;
    double impactThresholdG = ImpactDetector::kDefaultThresholdG;
};
