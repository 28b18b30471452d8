#pragma once
// The playback engine on GStreamer: one PlaybackGraph per open recording.
// All calls on the UI thread; frames reach the video windows by queued call.
#include "engine/PlaybackEngine.h"

#include <QByteArray>
#include <future>
#include <memory>
#include <vector>

class PlaybackGraph;

class GstPlaybackEngine : public PlaybackEngine {
    Q_OBJECT
public:
    explicit GstPlaybackEngine(QObject* parent = nullptr);
    ~GstPlaybackEngine() override;

    void SetVideoWindows(const std::array<IVideoWindow*, 4>& windows) override;
    Result<void> Open(const QString& path) override;
    void Close() override;
    bool Releasing() const override { return m_releasing > 0; }

    bool HasGraph() const override;
    bool HasFilterGraph() const override;
    EngineState State() const override;

    Result<void> Run() override;
    Result<void> Pause() override;
    Result<void> Stop() override;
    bool SeekMs(std::chrono::milliseconds position) override;
    bool StartSeekMs(std::chrono::milliseconds position, bool exact) override;
    bool StepBack(std::chrono::milliseconds step) override;
    bool StepForward(std::chrono::milliseconds step) override;
    bool SetRate(float rate) override;
    bool SetVolume(int percent) override;
    std::chrono::milliseconds GetPositionMs() override;
    std::chrono::milliseconds GetDurationMs() override;
    bool GrabFrame(QImage& picture) override;
    bool GrabChannel(int channel, QImage& picture) override;
    void RepaintFirst() override;
    void RepaintAll() override;
    void DecoderSetParam(int channel, DecoderParam param, int value) override;
    int VideoPinCount() const override;
    ITelemetrySource* TelemetrySource() override;

    // Not part of the engine interface: for the command-line tool, tests and benchmarks.
    PlaybackGraph* Graph() const { return m_graph.get(); }
    // The audio renderer's factory ("autoaudiosink"; "fakesink" for tools).
    void SetAudioSinkFactory(const QByteArray& factory)
    {
        m_audioSinkFactory = factory;
        m_chosenAudioSink.clear();
    }
    int AudioPinValue() const;
    // The rate the graph plays at now (differs from the stored rate until the next Run).
    double AppliedRate() const;
    std::uint64_t FramesRendered(int channel) const;
    // Pictures the renderer skipped because they were late (for benchmarks).
    std::uint64_t FramesDropped(int channel) const;
    QString LastOpenError() const { return m_lastError; }

    int channelCount = 0;
    std::array<IVideoWindow*, 4> videoWindow{};

signals:
    // A picture reached the window of channel 1..4 (after presentFrame).
    void framePresented(int channel);

private:
    void newGraph();
    void presentFrame(quint64 generation, int channel, const QImage& frame);
    void updateTargetSizes();
    void clearWindows();
    std::int64_t currentUnits();
    // Stopping a graph joins its streaming threads, which can take a while:
    // it happens on a thread of its own, and released() follows.
    void releaseInBackground(std::unique_ptr<PlaybackGraph> graph);
    void releaseDone();

    std::unique_ptr<PlaybackGraph> m_graph;
    std::vector<std::future<void>> m_releases;
    int m_releasing = 0;
    quint64 m_generation = 0;
    QByteArray m_audioSinkFactory = "autoaudiosink";
    QByteArray m_chosenAudioSink;
    QString m_lastError;
    int m_volumePercent = 100;
    // Kept across recordings: every graph opened shows the orientation the
    // user chose last.
    std::array<bool, 4> m_mirror{};
    std::array<bool, 4> m_flip{};
};
