#pragma once
// One recording's media graph: a GStreamer pipeline built for one file, with
// the element names the graph has always had ("FFDShow Decoder1", "Mixing
// Renderer9-1", …). Owned by GstPlaybackEngine and used on the UI thread only;
// the frame and error callbacks run on GStreamer's threads.
#include "engine/EngineState.h"
#include "engine/TelemetryFileSource.h"

#include <QImage>
#include <QSize>
#include <QString>
#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>

class IVideoWindow;
struct ChannelSink;
typedef struct _GstElement GstElement;
typedef struct _GstBus GstBus;
typedef struct _GstPad GstPad;
typedef struct _GstMessage GstMessage;

class PlaybackGraph {
public:
    // Called on a streaming thread with a picture already scaled for its window.
    using FrameSink = std::function<void(int channel, const QImage& frame)>;
    // Called on a GStreamer thread with the text of an error from the graph.
    using ErrorSink = std::function<void(const QString& message)>;
    // Called on a GStreamer thread when a seek started by StartSeek has settled.
    using SettledSink = std::function<void()>;

    PlaybackGraph(int channelCount, const std::array<IVideoWindow*, 4>& windows);
    ~PlaybackGraph();
    PlaybackGraph(const PlaybackGraph&) = delete;
    PlaybackGraph& operator=(const PlaybackGraph&) = delete;

    void setFrameSink(FrameSink sink) { m_frameSink = std::move(sink); }
    void setErrorSink(ErrorSink sink) { m_errorSink = std::move(sink); }
    void setSettledSink(SettledSink sink) { m_settledSink = std::move(sink); }
    // Factory of the audio renderer; a name that does not exist leaves the graph without sound.
    void setAudioSinkFactory(const QByteArray& factory) { m_audioSinkFactory = factory; }
    // The output an automatic audio sink chose for an earlier graph, tried first.
    void setPreferredAudioSink(const QByteArray& factory) { m_preferredAudioSink = factory; }
    QByteArray ChosenAudioSink() const { return m_chosenAudioSink; }

    bool Build(const QString& file, QString* error);
    void Teardown();

    // Pipeline control; each waits a bounded time for the graph to settle.
    bool Play();
    bool PauseGraph();
    bool Seek(std::int64_t units, double rate);
    // Starts a flushing seek and returns at once; the settled sink is called
    // (on a GStreamer thread) once the graph has prerolled at the new place.
    // exact: to the frame at the position; else to the nearest key frame.
    bool StartSeek(std::int64_t units, double rate, bool exact);
    bool SeekInFlight() const { return m_seekInFlight.load(); }
    std::optional<std::int64_t> Position();
    std::int64_t Duration();
    bool AtEnd() const { return m_atEnd.load(); }
    double AppliedRate() const { return m_appliedRate; }

    bool Grab(int channel, QImage& picture) const;
    void SetTargetSize(int channel, QSize size);
    void SetGain(double gain);
    void SetOrientation(int channel, bool mirror, bool flip);
    // The orientation a channel's picture gets when Build creates it.
    void PresetOrientation(int channel, bool mirror, bool flip);
    bool HasOrientationControl(int channel) const;
    std::uint64_t FramesRendered(int channel) const;
    std::uint64_t FramesDropped(int channel) const;
    bool AudioUsable() const { return m_audioUsable; }

    // Fields of the graph object.
    std::array<GstElement*, 4> renderer{};
    std::array<GstElement*, 4> decoder{};
    std::array<GstElement*, 4> converter{};
    GstElement* filterGraph = nullptr;
    GstElement* source = nullptr;
    GstElement* audioDecoder = nullptr;
    GstElement* audioRenderer = nullptr;
    int channelCount = 0;
    std::array<IVideoWindow*, 4> videoWindow{};
    bool valid = false;
    // Written on the UI thread, read by the bus handler on streaming threads.
    std::atomic<bool> built{false};
    float rate = 1.0f;
    std::int64_t durationCache = 0;
    EngineState state = EngineState::NoMedia;
    int nativeWidth = 0;
    int nativeHeight = 0;
    int videoPinCount = 0;
    int audioPinValue = 0;
    QString path;
    std::unique_ptr<TelemetryFileSource> telemetry;

private:
    friend struct ChannelSink;
    bool buildChannel(int k, bool single, QString* error);
    bool buildAudio(bool single, QString* error);
    bool waitForSettled(int timeoutMs);
    static void onPadAdded(GstElement* demux, GstPad* pad, void* self);
    friend struct BusHandler;
    void handleBusMessage(GstMessage* message);
    void deliver(int channel, const QImage& frame);

    std::array<std::unique_ptr<ChannelSink>, 4> m_sinks;
    std::array<std::pair<bool, bool>, 4> m_presetOrientation{};
    std::array<GstElement*, 4> m_videoEntry{};
    GstElement* m_audioEntry = nullptr;
    GstElement* m_volume = nullptr;
    GstElement* m_fileSource = nullptr;
    bool m_audioUsable = false;
    std::atomic<bool> m_audioLinked{false};
    std::atomic<bool> m_atEnd{false};
    std::atomic<bool> m_failed{false};
    std::atomic<bool> m_seekInFlight{false};
    double m_appliedRate = 1.0;
    QByteArray m_audioSinkFactory = "autoaudiosink";
    QByteArray m_preferredAudioSink;
    QByteArray m_chosenAudioSink;
    mutable std::mutex m_messageMutex;
    QString m_errorText;
    FrameSink m_frameSink;
    ErrorSink m_errorSink;
    SettledSink m_settledSink;
};
