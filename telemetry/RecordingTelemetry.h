#pragma once
// The telemetry of the open recording. The main window owns one and reloads it
// for every recording it opens; it stays until the next load.
#include "telemetry/CVxGPSTrace.h"
#include "telemetry/CVxGSensorInfo.h"
#include "telemetry/ImpactDetector.h"

#include <QRgb>
#include <cstdint>
#include <string>
#include <vector>

class ITelemetrySource;
class ILinePlot;

class RecordingTelemetry {
public:
    // A source that answers neither 0 nor 38 this many times in a row is taken
    // as finished, so a broken source cannot hang the UI thread.
    static constexpr int kMaxRetriesInARow = 1000;
    static constexpr QRgb kColourX = 0xFF80FFFF; // RGB(128, 255, 255)
    static constexpr QRgb kColourY = 0xFF00FF00; // RGB(0, 255, 0)
    static constexpr QRgb kColourZ = 0xFFFF0000; // RGB(255, 0, 0)

    // Replaces everything with the lines of source (none when source is null)
    // and gives plot (if any) the X, Y and Z series. Blocks until the source ends.
    void LoadTelemetry(ITelemetrySource* source, ILinePlot* plot);

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
