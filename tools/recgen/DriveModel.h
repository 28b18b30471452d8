#pragma once
// A deterministic drive: GPS fixes at 1 Hz and acceleration samples at 10 Hz
// as the camera writes them into its telemetry track.
#include <cstdint>
#include <string>
#include <vector>

struct TelemetrySample {
    std::int64_t ms = 0;   // from the start of the recording
    std::string bytes;     // the line, binary-safe
};

struct DriveOptions {
    std::int64_t startUtc = 0;   // seconds since 1970 of the recording's first fix
    int driveOffsetSec = 0;      // seconds already driven before this recording
    bool south = false;
    bool west = false;
    double impactAtSec = -1.0;   // < 0: no impact
};

class DriveModel {
public:
    explicit DriveModel(const DriveOptions& options);
    // All lines of a recording of durationMs, ascending in time.
    std::vector<TelemetrySample> samples(std::int64_t durationMs) const;

    static std::string rmcChecksum(const std::string& body);
    // Metres driven after driveSec seconds, for the picture to scroll with the speed.
    static double distanceAt(double driveSec);

private:
    struct State {
        double lat = 0, lon = 0;      // signed degrees
        double speedKmh = 0, courseDeg = 0;
    };
    static double speedAt(double driveSec);
    static double courseAt(double driveSec);
    State stateAt(int driveSec) const;
    std::string gpsLine(int second, const State& s) const;
    std::string accelLine(std::int64_t ms, std::uint32_t& noise) const;

    DriveOptions m_options;
};
