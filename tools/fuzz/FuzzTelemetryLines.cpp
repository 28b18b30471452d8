// Telemetry lines as the reader gets them: any bytes, in the 1024-byte buffer
// and on their own without a terminating zero.
#include "engine/ITelemetrySource.h"
#include "telemetry/TelemetryLines.h"

#include <array>
#include <cstring>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // exactly size bytes on the heap, so reading one past the end is caught
    auto exact = std::make_unique<std::uint8_t[]>(size ? size : 1);
    if (size)
        std::memcpy(exact.get(), data, size);
    volatile double sink = ParseRmcLine(exact.get(), size, 1).latitude;
    sink = sink + ParseGSensorLine(exact.get(), size, 2).x;

    std::array<std::uint8_t, kTelemetryBufferSize> buffer{};
    std::memcpy(buffer.data(), data, std::min<std::size_t>(size, buffer.size()));
    const CVxGPSTrace fix = ParseRmcLine(buffer.data(), buffer.size(), 3);
    sink = sink + fix.longitude + fix.speedKmh + fix.fixTime.year;
    sink = sink + ParseGSensorLine(buffer.data(), buffer.size(), 4).z;
    (void)sink;
    return 0;
}
