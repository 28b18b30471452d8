#pragma once
// An engine that plays nothing: a state, pictures per channel and a call log.
#include "engine/PlaybackEngine.h"

#include <QStringList>
#include <map>

class OpsFakeEngine : public PlaybackEngine {
public:
    bool hasGraph = true;
    EngineState state = EngineState::Running;
    int videoPins = 2;
    std::map<int, QImage> pictures; // channel → picture; a missing one fails the grab
    QStringList log;

    void SetVideoWindows(const std::array<IVideoWindow*, 4>&) override {}
    bool Open(const QString&) override { return true; }
    void Close() override {}
    bool HasGraph() const override { return hasGraph; }
    bool HasFilterGraph() const override { return hasGraph; }
    EngineState State() const override { return state; }
    int Run() override
    {
        log << QStringLiteral("Run");
        state = EngineState::Running;
        return kStatusOk;
    }
    int Pause() override
    {
        log << QStringLiteral("Pause");
        state = EngineState::Paused;
        return kStatusOk;
    }
    int Stop() override
    {
        log << QStringLiteral("Stop");
        state = EngineState::Stopped;
        return kStatusOk;
    }
    bool StopEngine() override { return true; }
    bool SeekMs(std::int32_t) override { return true; }
    bool StepBack(double) override { return true; }
    bool StepForward(double) override { return true; }
    bool SetRate(float) override { return true; }
    bool SetVolume(int) override { return true; }
    std::uint64_t GetPositionMs() override { return 0; }
    std::uint64_t GetDurationMs() override { return 0; }
    bool GrabFrame(QImage& picture) override { return grab(1, picture); }
    bool GrabChannel(int channel, QImage& picture) override { return grab(channel, picture); }
    int RepaintFirst() override { return kStatusOk; }
    int RepaintAll() override { return kStatusOk; }
    bool StopAndClose() override { return true; }
    void DecoderSetParam(int, int, int) override {}
    int VideoPinCount() const override { return videoPins; }
    QSize NativeSize() const override { return pictures.count(1) ? pictures.at(1).size() : QSize(); }
    ITelemetrySource* TelemetrySource() override { return nullptr; }

private:
    bool grab(int channel, QImage& picture)
    {
        log << QStringLiteral("Grab(%1)").arg(channel);
        const auto it = pictures.find(channel);
        if (it == pictures.end())
            return false;
        picture = it->second;
        return true;
    }
};
