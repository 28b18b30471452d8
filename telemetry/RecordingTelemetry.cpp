#include "telemetry/RecordingTelemetry.h"

#include "display/PlotSeries.h"
#include "telemetry/TelemetryLines.h"

#include <cstring>

namespace {

constexpr char kRmcPrefix[] = "G$GPRMC";

void handSeriesToPlot(const std::vector<CVxGSensorInfo>& samples, ILinePlot& plot)
{
    // A recording without acceleration samples leaves the plot without series.
    std::vector<PlotSeries> series;
    if (!samples.empty()) {
        const std::size_t n = samples.size();
        series = {{std::vector<PlotPoint>(n), RecordingTelemetry::kColourX, QStringLiteral("X")},
                  {std::vector<PlotPoint>(n), RecordingTelemetry::kColourY, QStringLiteral("Y")},
                  {std::vector<PlotPoint>(n), RecordingTelemetry::kColourZ, QStringLiteral("Z")}};
        for (std::size_t i = 0; i < n; ++i) {
            const float t = static_cast<float>(samples[i].timeStamp);
            series[0].points[i] = {t, float(samples[i].x)};
            series[1].points[i] = {t, float(samples[i].y)};
            series[2].points[i] = {t, float(samples[i].z)};
        }
    }
    ReplacePlotSeries(plot, series);
}

} // namespace

void RecordingTelemetry::LoadTelemetry(ITelemetrySource* source, ILinePlot* plot)
{
    // Reading an hour takes a moment: the old recording's curves are not shown meanwhile.
    if (plot && RemoveAllSeries(*plot) > 0)
        plot->RedrawNow();
    LoadSamples(source ? source->ReadAllSamples() : std::vector<TelemetrySample>{}, plot);
}

void RecordingTelemetry::LoadSamples(const std::vector<TelemetrySample>& samples, ILinePlot* plot)
{
    gpsTrack.clear();
    gSensorTrack.clear();
    gpsSentences.clear();
    gpsTimes.clear();
    impacts.clear();

    for (const TelemetrySample& sample : samples) {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(sample.bytes.constData());
        const auto size = static_cast<std::size_t>(sample.bytes.size());
        const auto stamp = static_cast<std::uint32_t>(sample.timeMs);
        if (sample.bytes.startsWith(kRmcPrefix)) {
            gpsTrack.push_back(ParseRmcLine(bytes, size, stamp));
            // Stored as the camera wrote it, up to the first zero byte and without the leading 'G'.
            const void* zero = std::memchr(bytes, 0, size);
            const std::size_t end = zero ? std::size_t(static_cast<const std::uint8_t*>(zero) - bytes) : size;
            gpsSentences.emplace_back(sample.bytes.constData() + 1, end - 1);
        } else if (sample.bytes.startsWith('M')) {
            gSensorTrack.push_back(ParseGSensorLine(bytes, size, stamp));
        }
    }

    gpsTimes.reserve(gpsTrack.size());
    for (const CVxGPSTrace& fix : gpsTrack)
        gpsTimes.push_back(fix.timeStamp);
    impacts = ImpactDetector::Find(gSensorTrack, impactThresholdG);

    if (plot)
        handSeriesToPlot(gSensorTrack, *plot);
}
