#pragma once
// The source's telemetry interface: the recording's telemetry lines, one at a
// time, with their time stamps in milliseconds.
#include <cstdint>

constexpr int kTelemetryBufferSize = 1024;
constexpr int kTelemetryLineOk = 0;
constexpr int kTelemetryNoMoreLines = 38;

class ITelemetrySource {
public:
    virtual ~ITelemetrySource() = default;
    // buffer: kTelemetryBufferSize bytes, zero-filled by the caller; length is
    // kTelemetryBufferSize on entry and the line's byte count on return.
    // Returns kTelemetryLineOk with one line, kTelemetryNoMoreLines at the end;
    // any other result means "ask again".
    virtual int TelemetryReadLine(std::uint8_t* buffer, std::uint32_t* length, std::int32_t* timestampMs) = 0;
    // Called once after the source is opened, with 0 and -1 (every line).
    virtual void TelemetrySetSpan(std::int32_t start, std::int32_t end) = 0;
};
