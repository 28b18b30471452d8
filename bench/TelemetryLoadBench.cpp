// Times LoadTelemetry over the recording's telemetry track, as the viewer runs
// it after opening a recording: open the reader, read every line, build the
// plot's series. Prints the median and the best of N warm runs in milliseconds,
// for the whole load and for the part after the reader (the samples read once, parsed from memory).
//   bench_telemetry_load FILE [RUNS]
#include "display/LinePlotModel.h"
#include "engine/TelemetryFileSource.h"
#include "telemetry/RecordingTelemetry.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_telemetry_load FILE [RUNS]\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 20;
    std::vector<double> ms;
    std::size_t fixes = 0, samples = 0;
    for (int i = 0; i <= runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        auto source = TelemetryFileSource::Open(path);
        if (!source) {
            std::fprintf(stderr, "cannot open %s\n", argv[1]);
            return 1;
        }
        RecordingTelemetry telemetry;
        LinePlotModel plot;
        telemetry.LoadTelemetry(source.get(), &plot);
        const double elapsed = double(timer.nsecsElapsed()) / 1e6;
        if (i > 0) // the first run warms the page cache
            ms.push_back(elapsed);
        fixes = telemetry.gpsTrack.size();
        samples = telemetry.gSensorTrack.size();
    }
    const std::vector<TelemetrySample> read = TelemetryFileSource::Open(path)->ReadAllSamples();
    std::vector<double> parseMs;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        RecordingTelemetry telemetry;
        LinePlotModel plot;
        telemetry.LoadSamples(read, &plot);
        parseMs.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    // The impact search that every load runs, alone (target <= 5 ms for an hour).
    std::vector<double> impactMs;
    std::size_t impacts = 0;
    {
        RecordingTelemetry telemetry;
        telemetry.LoadSamples(read, nullptr);
        for (int i = 0; i < runs; ++i) {
            QElapsedTimer timer;
            timer.start();
            impacts = ImpactDetector::Find(telemetry.gSensorTrack).size();
            impactMs.push_back(double(timer.nsecsElapsed()) / 1e6);
        }
    }
    std::printf("%s: %zu fixes, %zu samples; median %.2f ms, best %.2f ms over %d runs"
                " (after the reader: median %.2f ms; impact search: median %.3f ms, %zu found)\n",
                argv[1], fixes, samples, median(ms), *std::min_element(ms.begin(), ms.end()), runs, median(parseMs),
                median(impactMs), impacts);
    return 0;
}
