#pragma once
// The media graph owner as the rest of the program sees it. The GStreamer
// implementation is GstPlaybackEngine (halcyon_engine); tests use a fake.
// All calls are made on the UI thread.
#include "engine/EngineState.h"

#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>
#include <array>
#include <cstdint>

class IVideoWindow;
class ITelemetrySource;

class PlaybackEngine : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~PlaybackEngine() override = default;

    // Windows of ids 401, 402, 605, 606 in this order.
    virtual void SetVideoWindows(const std::array<IVideoWindow*, 4>& windows) = 0;
    virtual bool Open(const QString& path) = 0;
    virtual void Close() = 0;

    // A PlaybackGraph object exists / it has a built filter graph.
    virtual bool HasGraph() const = 0;
    virtual bool HasFilterGraph() const = 0;
    virtual EngineState State() const = 0;

    virtual int Run() = 0;
    virtual int Pause() = 0;
    virtual int Stop() = 0;
    virtual bool StopEngine() = 0;
    virtual bool SeekMs(std::int32_t ms) = 0;
    virtual bool StepBack(double seconds) = 0;
    virtual bool StepForward(double seconds) = 0;
    virtual bool SetRate(float rate) = 0;
    virtual bool SetVolume(int percent) = 0;
    virtual std::uint64_t GetPositionMs() = 0;
    virtual std::uint64_t GetDurationMs() = 0;
    // Channel 1's current picture at native size, top row first.
    virtual bool GrabFrame(QImage& picture) = 0;
    // The same for channel 1..4 (the rear snapshot takes channel 2).
    virtual bool GrabChannel(int channel, QImage& picture) = 0;
    virtual int RepaintFirst() = 0;
    virtual int RepaintAll() = 0;
    virtual bool StopAndClose() = 0;

    // The decoder's parameter interface of channel 1..4; the result is ignored.
    virtual void DecoderSetParam(int channel, int param, int value) = 0;

    virtual int VideoPinCount() const = 0;
    virtual QSize NativeSize() const = 0;
    // The open recording's telemetry, or nullptr when there is none.
    virtual ITelemetrySource* TelemetrySource() = 0;

signals:
    // An error reported by the graph (bus message text).
    void error(const QString& message);
};
