#pragma once
// One raw telemetry sample of a recording: its bytes as the camera stored
// them and when, in milliseconds from the recording's start. What the bytes
// mean is for the telemetry readers to say; the engine only hands them over.
#include <QByteArray>
#include <cstdint>

struct TelemetrySample {
    std::int32_t timeMs = 0;
    QByteArray bytes;
};
