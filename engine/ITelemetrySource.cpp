#include "engine/ITelemetrySource.h"

#include <algorithm>
#include <array>

std::vector<TelemetrySample> ITelemetrySource::ReadAllSamples()
{
    TelemetrySetSpan(0, -1);
    std::vector<TelemetrySample> samples;
    std::array<std::uint8_t, kTelemetryBufferSize> buffer;
    int retries = 0;
    for (;;) {
        buffer.fill(0);
        std::uint32_t length = kTelemetryBufferSize;
        std::int32_t timeMs = 0;
        const int result = TelemetryReadLine(buffer.data(), &length, &timeMs);
        if (result == kTelemetryNoMoreLines)
            break;
        if (result != kTelemetryLineOk) {
            if (++retries >= kMaxRetriesInARow)
                break;
            continue;
        }
        retries = 0;
        const auto size = static_cast<qsizetype>(std::min<std::uint32_t>(length, kTelemetryBufferSize));
        samples.push_back({timeMs, QByteArray(reinterpret_cast<const char*>(buffer.data()), size)});
    }
    return samples;
}
