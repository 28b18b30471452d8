// Measurements of the playback engine and the telemetry reader; driven by bench/engine.sh.
//   halcyon-bench-engine play FILE [RATE]     play to the end; frames per channel, wall time
//   halcyon-bench-engine first-picture FILE N open N times; ms until both channels showed a picture
//   halcyon-bench-engine telemetry FILE N     read every telemetry line N times; ms per read
//   halcyon-bench-engine scrub FILE N         N drags of the position slider while playing (60 moves in
//                                             2 s each): release -> exact picture, longest UI stall
#include "engine/GstPlaybackEngine.h"
#include "engine/IVideoWindow.h"
#include "engine/SeekCoalescer.h"
#include "engine/TelemetryFileSource.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
class BenchWindow : public IVideoWindow {
public:
    BenchWindow(int id, QSize size) : m_id(id), m_size(size) {}
    int controlId() const override { return m_id; }
    void presentFrame(const QImage&) override { ++frames; }
    void repaintFrame() override {}
    QSize clientSize() const override { return m_size; }
    int frames = 0;

private:
    int m_id;
    QSize m_size;
};

// The main window's two picture rectangles.
struct Windows {
    BenchWindow a{401, QSize(699, 388)}, b{402, QSize(411, 307)}, c{605, QSize()}, d{606, QSize()};
    std::array<IVideoWindow*, 4> all() { return {&a, &b, &c, &d}; }
};

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

int play(const QString& file, float rate)
{
    Windows w;
    GstPlaybackEngine engine;
    engine.SetVideoWindows(w.all());
    if (!engine.Open(file)) {
        std::fprintf(stderr, "cannot open: %s\n", qPrintable(engine.LastOpenError()));
        return 1;
    }
    engine.SetRate(rate);
    QElapsedTimer wall;
    wall.start();
    if (!engine.Run())
        return 1;
    const std::uint64_t duration = std::uint64_t(engine.GetDurationMs().count());
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (std::uint64_t(engine.GetPositionMs().count()) >= duration || wall.elapsed() > static_cast<qint64>(duration / rate) * 3 + 5000)
            loop.quit();
    });
    poll.start(20);
    loop.exec();
    const double seconds = wall.elapsed() / 1000.0;
    // The clock reaches the end as the last pictures are handed over: let them arrive.
    QElapsedTimer tail;
    tail.start();
    while (tail.elapsed() < 300)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    std::printf("rate %.2f wall %.2f s duration %.2f s rendered front %llu rear %llu presented front %d rear %d "
                "late-dropped front %llu rear %llu\n",
                rate, seconds, duration / 1000.0, static_cast<unsigned long long>(engine.FramesRendered(1)),
                static_cast<unsigned long long>(engine.FramesRendered(2)), w.a.frames, w.b.frames,
                static_cast<unsigned long long>(engine.FramesDropped(1)),
                static_cast<unsigned long long>(engine.FramesDropped(2)));
    engine.Close();
    return 0;
}

int firstPicture(const QString& file, int runs)
{
    // One engine opens the file again and again, as the viewer does from recording to recording.
    std::vector<double> times;
    Windows w;
    GstPlaybackEngine engine;
    if (qEnvironmentVariableIsSet("HALCYON_BENCH_AUDIO_SINK"))
        engine.SetAudioSinkFactory(qgetenv("HALCYON_BENCH_AUDIO_SINK"));
    engine.SetVideoWindows(w.all());
    for (int i = 0; i <= runs; ++i) {
        engine.Close();
        QCoreApplication::processEvents();
        w.a.frames = w.b.frames = 0;
        QElapsedTimer t;
        t.start();
        if (!engine.Open(file)) {
            std::fprintf(stderr, "cannot open: %s\n", qPrintable(engine.LastOpenError()));
            return 1;
        }
        while ((w.a.frames == 0 || w.b.frames == 0) && t.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        if (i > 0) // the first open warms caches
            times.push_back(t.nsecsElapsed() / 1e6);
    }
    std::printf("open -> first picture of both channels: median %.1f ms, min %.1f ms over %d opens\n", median(times),
                *std::min_element(times.begin(), times.end()), runs);
    return 0;
}

int telemetry(const QString& file, int runs)
{
    std::vector<double> times;
    int lines = 0;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        auto source = TelemetryFileSource::Open(file);
        if (!source)
            return 1;
        lines = int(source->ReadAllSamples().size());
        times.push_back(t.nsecsElapsed() / 1e6);
    }
    std::printf("telemetry: %d lines, median %.2f ms, min %.2f ms over %d reads (open included)\n", lines,
                median(times), *std::min_element(times.begin(), times.end()), runs);
    return 0;
}
int scrub(const QString& file, int drags)
{
    Windows w;
    GstPlaybackEngine engine;
    if (qEnvironmentVariableIsSet("HALCYON_BENCH_AUDIO_SINK"))
        engine.SetAudioSinkFactory(qgetenv("HALCYON_BENCH_AUDIO_SINK"));
    engine.SetVideoWindows(w.all());
    if (!engine.Open(file) || !engine.Run()) {
        std::fprintf(stderr, "cannot play: %s\n", qPrintable(engine.LastOpenError()));
        return 1;
    }
    const auto duration = static_cast<std::int32_t>(engine.GetDurationMs().count());
    SeekCoalescer seeker(&engine);

    // The longest time the event loop did not get round to a 5 ms timer.
    QElapsedTimer clock;
    clock.start();
    qint64 lastTick = 0, longestStall = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        longestStall = std::max(longestStall, now - lastTick);
        lastTick = now;
    });
    ticker.start(5);
    auto spin = [&](int ms) {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < ms)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    };

    std::vector<double> releases;
    std::vector<double> stalls;
    double longestCall = 0; // the longest a Move kept the UI thread (the seek it starts included)
    for (int d = 0; d < drags; ++d) {
        spin(300);
        // Back and forth across most of the recording.
        const std::int32_t from = d % 2 ? duration * 9 / 10 : duration / 20;
        const std::int32_t to = d % 2 ? duration / 20 : duration * 9 / 10;
        lastTick = clock.elapsed();
        longestStall = 0;
        for (int i = 1; i <= 60; ++i) {
            QElapsedTimer call;
            call.start();
            seeker.Move(from + (to - from) * i / 60);
            longestCall = std::max(longestCall, call.nsecsElapsed() / 1e6);
            spin(33);
        }
        const std::int32_t released = to - duration / 40;
        bool settled = false;
        QMetaObject::Connection c =
            QObject::connect(&seeker, &SeekCoalescer::releasedSettled, [&](std::int32_t) { settled = true; });
        QElapsedTimer t;
        t.start();
        seeker.Release(released);
        while (!settled && t.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        releases.push_back(t.nsecsElapsed() / 1e6);
        QObject::disconnect(c);
        stalls.push_back(static_cast<double>(longestStall));
        const auto at = static_cast<std::uint64_t>(engine.GetPositionMs().count());
        if (!settled || at + 200 < static_cast<std::uint64_t>(released) || at > static_cast<std::uint64_t>(released) + 500)
            std::fprintf(stderr, "drag %d: released at %d ms, graph at %llu ms, settled %d\n", d, released,
                         static_cast<unsigned long long>(at), settled);
    }
    std::printf("scrub: release -> exact picture median %.1f ms, max %.1f ms; longest UI stall during a drag: "
                "median %.1f ms, max %.1f ms; longest slider move call %.1f ms (%d drags of 60 moves in 2 s)\n",
                median(releases), *std::max_element(releases.begin(), releases.end()), median(stalls),
                *std::max_element(stalls.begin(), stalls.end()), longestCall, drags);
    return 0;
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() >= 3 && args[1] == QLatin1String("play"))
        return play(args[2], args.size() > 3 ? args[3].toFloat() : 1.0f);
    if (args.size() >= 3 && args[1] == QLatin1String("first-picture"))
        return firstPicture(args[2], args.size() > 3 ? args[3].toInt() : 10);
    if (args.size() >= 3 && args[1] == QLatin1String("telemetry"))
        return telemetry(args[2], args.size() > 3 ? args[3].toInt() : 10);
    if (args.size() >= 3 && args[1] == QLatin1String("scrub"))
        return scrub(args[2], args.size() > 3 ? args[3].toInt() : 7);
    std::fprintf(stderr, "usage: halcyon-bench-engine play|first-picture|telemetry|scrub FILE [ARG]\n");
    return 2;
}
