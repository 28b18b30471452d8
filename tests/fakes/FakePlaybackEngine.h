#pragma once
// A playback engine for tests of everything that drives the engine: every call
// is recorded by name (with its arguments) in `calls`, and the answers come
// from plain fields the test sets. Open/Run/Pause/Stop/Close move `state` the
// way the real engine does, so a sequence of commands can be followed.
#include "engine/PlaybackEngine.h"

#include <QStringList>
#include <array>
#include <map>

// No Q_OBJECT of its own (it adds no signals), so a test needs no moc run for it.
class FakePlaybackEngine : public PlaybackEngine {
public:
    using PlaybackEngine::PlaybackEngine;

    // What the engine answers.
    bool hasGraph = false;
    bool hasFilterGraph = false;
    EngineState state = EngineState::NoMedia;
    std::uint64_t durationMs = 0;
    std::uint64_t positionMs = 0;
    int videoPinCount = 0;
    QImage frame;                 // GrabFrame/GrabChannel hand this out; null = failure
    std::map<int, QImage> channelFrames; // when set: each channel's own picture, a missing one fails
    bool openResult = true;
    bool runResult = true;
    // True: Close leaves the file held until finishRelease() (as a graph that
    // takes a while to stop).
    bool slowRelease = false;
    ITelemetrySource* telemetry = nullptr;

    // What was asked, in order: "Open(/a.mp4)", "Run", "SeekMs(0)", "SetRate(1.5)", ...
    QStringList calls;
    std::array<IVideoWindow*, 4> windows{};
    QString openedPath;
    float rate = 1.0f;
    int volume = -1;

    int count(const QString& name) const
    {
        int n = 0;
        for (const QString& c : calls)
            n += (c == name || c.startsWith(name + QLatin1Char('('))) ? 1 : 0;
        return n;
    }

    void SetVideoWindows(const std::array<IVideoWindow*, 4>& w) override
    {
        windows = w;
        calls << QStringLiteral("SetVideoWindows");
    }
    Result<void> Open(const QString& path) override
    {
        calls << QStringLiteral("Open(%1)").arg(path);
        if (!openResult) {
            hasGraph = hasFilterGraph = false;
            return Result<void>::Failure(QStringLiteral("cannot open"));
        }
        openedPath = path;
        hasGraph = hasFilterGraph = true;
        state = EngineState::Stopped;
        positionMs = 0;
        return {};
    }
    void Close() override
    {
        calls << QStringLiteral("Close");
        if (hasGraph && slowRelease)
            releasing = true;
        hasGraph = hasFilterGraph = false;
        state = EngineState::NoMedia;
    }
    bool Releasing() const override { return releasing; }
    void finishRelease()
    {
        releasing = false;
        emit released();
    }
    bool HasGraph() const override { return hasGraph; }
    bool HasFilterGraph() const override { return hasFilterGraph; }
    EngineState State() const override { return state; }

    Result<void> Run() override
    {
        calls << QStringLiteral("Run");
        if (!hasFilterGraph || !runResult)
            return Result<void>::Failure(QStringLiteral("will not run"));
        state = EngineState::Running;
        return {};
    }
    Result<void> Pause() override
    {
        calls << QStringLiteral("Pause");
        if (!hasFilterGraph)
            return Result<void>::Failure(QStringLiteral("nothing open"));
        if (state == EngineState::Running)
            state = EngineState::Paused;
        return {};
    }
    Result<void> Stop() override
    {
        calls << QStringLiteral("Stop");
        if (!hasFilterGraph)
            return Result<void>::Failure(QStringLiteral("nothing open"));
        state = EngineState::Stopped;
        return {};
    }
    bool SeekMs(std::chrono::milliseconds position) override
    {
        calls << QStringLiteral("SeekMs(%1)").arg(position.count());
        if (!hasFilterGraph)
            return false;
        positionMs = std::uint64_t(qMax<std::int64_t>(0, position.count()));
        return true;
    }
    bool StepBack(std::chrono::milliseconds step) override
    {
        calls << QStringLiteral("StepBack(%1)").arg(step.count());
        return hasFilterGraph;
    }
    bool StepForward(std::chrono::milliseconds step) override
    {
        calls << QStringLiteral("StepForward(%1)").arg(step.count());
        return hasFilterGraph;
    }
    bool SetRate(float r) override
    {
        calls << QStringLiteral("SetRate(%1)").arg(double(r));
        rate = r;
        return hasFilterGraph;
    }
    bool SetVolume(int percent) override
    {
        calls << QStringLiteral("SetVolume(%1)").arg(percent);
        volume = percent;
        return true;
    }
    std::chrono::milliseconds GetPositionMs() override
    {
        return std::chrono::milliseconds(hasFilterGraph ? positionMs : 0);
    }
    std::chrono::milliseconds GetDurationMs() override
    {
        return std::chrono::milliseconds(hasFilterGraph ? durationMs : 0);
    }
    bool GrabFrame(QImage& picture) override
    {
        calls << QStringLiteral("GrabFrame");
        if (!channelFrames.empty())
            return grabOwn(1, picture);
        picture = frame;
        return !frame.isNull();
    }
    bool GrabChannel(int channel, QImage& picture) override
    {
        calls << QStringLiteral("GrabChannel(%1)").arg(channel);
        if (!channelFrames.empty())
            return grabOwn(channel, picture);
        picture = frame;
        return !frame.isNull() && channel >= 1 && channel <= qMax(1, videoPinCount);
    }
    void RepaintFirst() override { calls << QStringLiteral("RepaintFirst"); }
    void RepaintAll() override { calls << QStringLiteral("RepaintAll"); }
    void DecoderSetParam(int channel, DecoderParam param, int value) override
    {
        calls << QStringLiteral("DecoderSetParam(%1,%2,%3)").arg(channel).arg(int(param)).arg(value);
    }
    int VideoPinCount() const override { return videoPinCount; }
    ITelemetrySource* TelemetrySource() override { return telemetry; }

private:
    bool releasing = false;

    bool grabOwn(int channel, QImage& picture) const
    {
        const auto it = channelFrames.find(channel);
        if (it == channelFrames.end())
            return false;
        picture = it->second;
        return true;
    }
};
