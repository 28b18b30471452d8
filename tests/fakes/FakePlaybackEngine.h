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
    QSize nativeSize;
    QImage frame;                 // GrabFrame/GrabChannel hand this out; null = failure
    std::map<int, QImage> channelFrames; // when set: each channel's own picture, a missing one fails
    bool openResult = true;
    int runResult = kStatusOk;
    int pauseResult = kStatusOk;
    int stopResult = kStatusOk;
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
    bool Open(const QString& path) override
    {
        calls << QStringLiteral("Open(%1)").arg(path);
        if (!openResult) {
            hasGraph = hasFilterGraph = false;
            return false;
        }
        openedPath = path;
        hasGraph = hasFilterGraph = true;
        state = EngineState::Stopped;
        positionMs = 0;
        return true;
    }
    void Close() override
    {
        calls << QStringLiteral("Close");
        hasGraph = hasFilterGraph = false;
        state = EngineState::NoMedia;
    }
    bool HasGraph() const override { return hasGraph; }
    bool HasFilterGraph() const override { return hasFilterGraph; }
    EngineState State() const override { return state; }

    int Run() override
    {
        calls << QStringLiteral("Run");
        if (runResult >= 0 && hasFilterGraph)
            state = EngineState::Running;
        return hasFilterGraph ? runResult : kStatusFail;
    }
    int Pause() override
    {
        calls << QStringLiteral("Pause");
        if (pauseResult >= 0 && hasFilterGraph)
            state = EngineState::Paused;
        return hasFilterGraph ? pauseResult : kStatusFail;
    }
    int Stop() override
    {
        calls << QStringLiteral("Stop");
        if (stopResult >= 0 && hasFilterGraph)
            state = EngineState::Stopped;
        return hasFilterGraph ? stopResult : kStatusFail;
    }
    // As the real engine: stops an open recording and keeps it open.
    bool StopEngine() override
    {
        calls << QStringLiteral("StopEngine");
        if (!hasGraph)
            return true;
        return Stop() >= 0;
    }
    bool SeekMs(std::int32_t ms) override
    {
        calls << QStringLiteral("SeekMs(%1)").arg(ms);
        if (!hasFilterGraph)
            return false;
        positionMs = std::uint64_t(qMax(0, ms));
        return true;
    }
    bool StepBack(double seconds) override
    {
        calls << QStringLiteral("StepBack(%1)").arg(seconds);
        return hasFilterGraph;
    }
    bool StepForward(double seconds) override
    {
        calls << QStringLiteral("StepForward(%1)").arg(seconds);
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
    std::uint64_t GetPositionMs() override { return hasFilterGraph ? positionMs : 0; }
    std::uint64_t GetDurationMs() override { return hasFilterGraph ? durationMs : 0; }
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
    int RepaintFirst() override
    {
        calls << QStringLiteral("RepaintFirst");
        return kStatusOk;
    }
    int RepaintAll() override
    {
        calls << QStringLiteral("RepaintAll");
        return kStatusOk;
    }
    bool StopAndClose() override
    {
        calls << QStringLiteral("StopAndClose");
        const bool had = hasGraph;
        hasGraph = hasFilterGraph = false;
        state = EngineState::NoMedia;
        return had;
    }
    void DecoderSetParam(int channel, int param, int value) override
    {
        calls << QStringLiteral("DecoderSetParam(%1,%2,%3)").arg(channel).arg(param).arg(value);
    }
    int VideoPinCount() const override { return videoPinCount; }
    QSize NativeSize() const override { return nativeSize; }
    ITelemetrySource* TelemetrySource() override { return telemetry; }

private:
    bool grabOwn(int channel, QImage& picture) const
    {
        const auto it = channelFrames.find(channel);
        if (it == channelFrames.end())
            return false;
        picture = it->second;
        return true;
    }
};
