#pragma once
// The source's telemetry interface: the recording's telemetry lines, one at a
// time, with their time stamps in milliseconds.
#include "engine/TelemetrySample.h"

#include <cstdint>
#include <vector>

constexpr int kTelemetryBufferSize = 1024;
constexpr int kTelemetryLineOk = 0;
constexpr int kTelemetryNoMoreLines = 38;

class ITelemetrySource {
public:
    // A source that answers neither 0 nor 38 this many times in a row is taken
    // as finished, so a broken source cannot hang the UI thread.
    static constexpr int kMaxRetriesInARow = 1000;

    virtual ~ITelemetrySource() = default;
    // buffer: kTelemetryBufferSize bytes, zero-filled by the caller; length is
    // kTelemetryBufferSize on entry and the line's byte count on return.
    // Returns kTelemetryLineOk with one line, kTelemetryNoMoreLines at the end;
    // any other result means "ask again".
    virtual int TelemetryReadLine(std::uint8_t* buffer, std::uint32_t* length, std::int32_t* timestampMs) = 0;
    // Lines from start to end ms; end -1: to the last line.
    virtual void TelemetrySetSpan(std::int32_t start, std::int32_t end) = 0;

    // Every line of the recording, in the order stored; what was read stays
    // when the source ends early or keeps asking to be asked again.
    std::vector<TelemetrySample> ReadAllSamples();
};
