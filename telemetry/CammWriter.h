#pragma once
// The range's telemetry as a camera motion metadata (CAMM) track, the form
// other tools read GPS and acceleration from: one packet a sample, little
// endian, type 6 for a GPS fix and type 3 for an acceleration in m/s².
#include "telemetry/RecordingTelemetry.h"

#include <QByteArray>
#include <cstdint>
#include <vector>

class CammWriter {
public:
    static constexpr std::uint16_t kAcceleration = 3;
    static constexpr std::uint16_t kGps = 6;

    struct Packet {
        std::uint32_t ms = 0;        // from the start of the clip
        QByteArray bytes;
    };
    // The fixes and acceleration samples of [fromMs, toMs) in time order,
    // their times counted from fromMs. Fixes without a valid position are left out.
    static std::vector<Packet> Packets(const RecordingTelemetry& telemetry, std::uint32_t fromMs, std::uint32_t toMs);
    static QByteArray GpsPacket(const CVxGPSTrace& fix);
    static QByteArray AccelerationPacket(const CVxGSensorInfo& sample);

    // The sample description (stsd box) and handler box of the track.
    static QByteArray SampleDescription();
    static QByteArray Handler();
};
