#include "telemetry/RecordingTelemetry.h"

#include "display/ILinePlot.h"
#include "engine/ITelemetrySource.h"
#include "telemetry/TelemetryLines.h"

#include <array>
#include <cstring>

namespace {

constexpr char kRmcPrefix[] = "G$GPRMC";
constexpr std::size_t kRmcPrefixLength = sizeof(kRmcPrefix) - 1;

void handSeriesToPlot(const std::vector<CVxGSensorInfo>& samples, ILinePlot& plot)
{
    if (plot.IsRangeLocked(PlotAxis::X))
        plot.LockRange(PlotAxis::X, false);
    if (plot.IsRangeLocked(PlotAxis::Y))
        plot.LockRange(PlotAxis::Y, false);
    plot.SetXRange(0.0f, 4.0f);
    plot.SetYRange(0.0f, 255.0f);

    // A recording without acceleration samples leaves the plot without series.
    if (!samples.empty()) {
        const std::size_t n = samples.size();
        std::vector<PlotPoint> xs(n), ys(n), zs(n);
        for (std::size_t i = 0; i < n; ++i) {
            const float t = static_cast<float>(samples[i].timeStamp);
            xs[i] = {t, float(samples[i].x)};
            ys[i] = {t, float(samples[i].y)};
            zs[i] = {t, float(samples[i].z)};
        }
        const auto count = static_cast<std::uint32_t>(n);
        plot.AddSeries(xs.data(), count, RecordingTelemetry::kColourX, QStringLiteral("X"));
        plot.AddSeries(ys.data(), count, RecordingTelemetry::kColourY, QStringLiteral("Y"));
        plot.AddSeries(zs.data(), count, RecordingTelemetry::kColourZ, QStringLiteral("Z"));
    }
    plot.LockRange(PlotAxis::X, true);
    plot.LockRange(PlotAxis::Y, true);
}

} // namespace

void RecordingTelemetry::LoadTelemetry(ITelemetrySource* source, ILinePlot* plot)
{
    gpsTrack.clear();
    gSensorTrack.clear();
    gpsSentences.clear();
    gpsTimes.clear();
    impacts.clear();

    if (plot) {
        const int old = plot->SeriesCount();
        for (int i = old - 1; i >= 0; --i)
            plot->RemoveSeries(i);
        if (old > 0)
            plot->RedrawNow();
    }

    int retries = 0;
    std::array<std::uint8_t, kTelemetryBufferSize> buffer;
    while (source) {
        buffer.fill(0);
        std::uint32_t length = kTelemetryBufferSize;
        std::int32_t timeStamp = 0;
        const int result = source->TelemetryReadLine(buffer.data(), &length, &timeStamp);
        if (result == kTelemetryNoMoreLines)
            break;
        if (result != kTelemetryLineOk) {
            if (++retries >= kMaxRetriesInARow)
                break;
            continue;
        }
        retries = 0;
        const auto stamp = static_cast<std::uint32_t>(timeStamp);
        if (std::memcmp(buffer.data(), kRmcPrefix, kRmcPrefixLength) == 0) {
            gpsTrack.push_back(ParseRmcLine(buffer.data(), buffer.size(), stamp));
            const void* zero = std::memchr(buffer.data(), 0, buffer.size());
            const std::size_t end = zero ? std::size_t(static_cast<const std::uint8_t*>(zero) - buffer.data())
                                         : buffer.size();
            gpsSentences.emplace_back(reinterpret_cast<const char*>(buffer.data()) + 1, end - 1);
        } else if (buffer[0] == 'M') {
            gSensorTrack.push_back(ParseGSensorLine(buffer.data(), buffer.size(), stamp));
        }
    }

    gpsTimes.reserve(gpsTrack.size());
    for (const CVxGPSTrace& fix : gpsTrack)
        gpsTimes.push_back(fix.timeStamp);
    impacts = ImpactDetector::Find(gSensorTrack, impactThresholdG);

    if (plot)
        handSeriesToPlot(gSensorTrack, *plot);
}
