#pragma once
// The media graph owner as the rest of the program sees it. The GStreamer
// implementation is GstPlaybackEngine (halcyon_engine); tests use a fake.
// All calls are made on the UI thread; only the playback controller makes them.
//
// Time crosses this interface as std::chrono::milliseconds; the graph's own
// units stay inside the implementation.
#include "base/Result.h"
#include "engine/EngineState.h"

#include <QImage>
#include <QObject>
#include <QString>
#include <array>
#include <chrono>

class IVideoWindow;
class ITelemetrySource;

// The decoder parameters that change something: DecoderSetParam(Orientation, 1)
// opens the orientation settings, then Flip or Mirror sets one of them.
enum class DecoderParam { Orientation = 1101, Flip = 1112, Mirror = 1113 };

class PlaybackEngine : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~PlaybackEngine() override = default;

    // What Run and Stop answer when the graph is in a state they do not apply to.
    static inline const QString kWrongState = QStringLiteral("wrong state");

    // Windows of ids 401, 402, 605, 606 in this order.
    virtual void SetVideoWindows(const std::array<IVideoWindow*, 4>& windows) = 0;
    virtual Result<void> Open(const QString& path) = 0;
    // Gives up the open recording at once. Letting go of the file may finish
    // later, off the UI thread: Releasing() holds until released() is emitted.
    virtual void Close() = 0;
    virtual bool Releasing() const { return false; }

    // A PlaybackGraph object exists / it has a built filter graph.
    virtual bool HasGraph() const = 0;
    virtual bool HasFilterGraph() const = 0;
    virtual EngineState State() const = 0;

    virtual Result<void> Run() = 0;
    // Pauses a running graph; in any other state nothing happens.
    virtual Result<void> Pause() = 0;
    // Stops a running or paused graph, which stays open at its position.
    virtual Result<void> Stop() = 0;
    virtual bool SeekMs(std::chrono::milliseconds position) = 0;
    // Starts a seek and returns without waiting for the graph; seekSettled()
    // follows once the picture at the new place is there. exact: the frame at
    // the position; else the nearest key frame (fast, for following a dragged
    // thumb). This default seeks at once and reports it by queued call.
    virtual bool StartSeekMs(std::chrono::milliseconds position, bool exact)
    {
        (void)exact;
        const bool ok = SeekMs(position);
        QMetaObject::invokeMethod(this, &PlaybackEngine::seekSettled, Qt::QueuedConnection);
        return ok;
    }
    virtual bool StepBack(std::chrono::milliseconds step) = 0;
    virtual bool StepForward(std::chrono::milliseconds step) = 0;
    virtual bool SetRate(float rate) = 0;
    virtual bool SetVolume(int percent) = 0;
    // Zero without a graph.
    virtual std::chrono::milliseconds GetPositionMs() = 0;
    virtual std::chrono::milliseconds GetDurationMs() = 0;
    // Channel 1's current picture at native size, top row first.
    virtual bool GrabFrame(QImage& picture) = 0;
    // The same for channel 1..4 (the rear snapshot takes channel 2).
    virtual bool GrabChannel(int channel, QImage& picture) = 0;
    virtual void RepaintFirst() = 0;
    virtual void RepaintAll() = 0;

    // The decoder of channel 1..4.
    virtual void DecoderSetParam(int channel, DecoderParam param, int value) = 0;

    virtual int VideoPinCount() const = 0;
    // The open recording's telemetry, or nullptr when there is none.
    virtual ITelemetrySource* TelemetrySource() = 0;

signals:
    // An error reported by the graph (bus message text).
    void error(const QString& message);
    // A seek started by StartSeekMs has settled.
    void seekSettled();
    // The recording closed last has let go of its file (see Close).
    void released();
};
