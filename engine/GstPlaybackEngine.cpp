#include "engine/GstPlaybackEngine.h"

#include "engine/IVideoWindow.h"
#include "engine/PlaybackGraph.h"
#include "engine/PlaybackTables.h"

#include <gst/gst.h>

#include "base/LogCategories.h"


namespace {
// Decoder parameters: 1101 opens the picture-orientation settings, 1112 and
// 1113 set the vertical flip and the mirror. 202 and 205 tune the decoder's
// own post-processing, which this decoder does not have.
constexpr int kParamOrientation = 1101;
constexpr int kParamFlip = 1112;
constexpr int kParamMirror = 1113;
} // namespace

GstPlaybackEngine::GstPlaybackEngine(QObject* parent) : PlaybackEngine(parent)
{
    if (!gst_is_initialized())
        gst_init(nullptr, nullptr);
}

GstPlaybackEngine::~GstPlaybackEngine() = default;

void GstPlaybackEngine::newGraph()
{
    m_graph = std::make_unique<PlaybackGraph>(channelCount, videoWindow);
    m_graph->setAudioSinkFactory(m_audioSinkFactory);
    m_graph->setPreferredAudioSink(m_chosenAudioSink);
    const quint64 generation = ++m_generation;
    m_graph->setFrameSink([this, generation](int channel, const QImage& frame) {
        QMetaObject::invokeMethod(
            this, [this, generation, channel, frame] { presentFrame(generation, channel, frame); },
            Qt::QueuedConnection);
    });
    m_graph->setErrorSink([this, generation](const QString& message) {
        QMetaObject::invokeMethod(
            this,
            [this, generation, message] {
                if (generation == m_generation)
                    emit error(message);
            },
            Qt::QueuedConnection);
    });
    m_graph->setSettledSink([this, generation] {
        QMetaObject::invokeMethod(
            this,
            [this, generation] {
                if (generation == m_generation)
                    emit seekSettled();
            },
            Qt::QueuedConnection);
    });
    for (int k = 2; k <= 4; ++k)
        m_graph->PresetOrientation(k, m_mirror[static_cast<std::size_t>(k - 1)], m_flip[static_cast<std::size_t>(k - 1)]);
}

void GstPlaybackEngine::clearWindows()
{
    for (IVideoWindow* w : videoWindow)
        if (w)
            w->clearFrame();
}

void GstPlaybackEngine::presentFrame(quint64 generation, int channel, const QImage& frame)
{
    // A frame still in the queue from a closed recording is dropped.
    if (generation != m_generation || !m_graph || channel < 1 || channel > 4)
        return;
    if (IVideoWindow* w = videoWindow[static_cast<std::size_t>(channel - 1)])
        w->presentFrame(frame);
    emit framePresented(channel);
}

void GstPlaybackEngine::updateTargetSizes()
{
    if (!m_graph)
        return;
    for (int k = 1; k <= 4; ++k)
        if (IVideoWindow* w = videoWindow[static_cast<std::size_t>(k - 1)])
            m_graph->SetTargetSize(k, w->clientSize());
}

void GstPlaybackEngine::SetVideoWindows(const std::array<IVideoWindow*, 4>& windows)
{
    channelCount = 4;
    videoWindow = windows;
    if (!m_graph)
        newGraph();
    m_graph->channelCount = channelCount;
    m_graph->videoWindow = videoWindow;
}

bool GstPlaybackEngine::Open(const QString& path)
{
    m_lastError.clear();
    if (m_graph) {
        Stop();
        SeekMs(0);
        Close();
    }
    if (!videoWindow[0] || path.isEmpty()) {
        m_lastError = path.isEmpty() ? QStringLiteral("no file given") : QStringLiteral("no video window");
        return false;
    }
    clearWindows();
    newGraph();
    if (!m_graph->Build(path, &m_lastError)) {
        qCInfo(vxEngine) << "cannot open" << path << m_lastError;
        Close();
        return false;
    }
    if (!m_graph->ChosenAudioSink().isEmpty())
        m_chosenAudioSink = m_graph->ChosenAudioSink();
    updateTargetSizes();
    if (m_graph->videoPinCount > 0)
        m_graph->SetGain(GainFromVolumeLevel(VolumeLevelFromPercent(m_volumePercent)));
    return true;
}

void GstPlaybackEngine::Close()
{
    m_graph.reset();
    ++m_generation;
    clearWindows();
}

bool GstPlaybackEngine::HasGraph() const { return m_graph != nullptr; }
bool GstPlaybackEngine::HasFilterGraph() const { return m_graph && m_graph->filterGraph; }
EngineState GstPlaybackEngine::State() const { return m_graph ? m_graph->state : EngineState::NoMedia; }

std::int64_t GstPlaybackEngine::currentUnits()
{
    if (!m_graph)
        return 0;
    return m_graph->Position().value_or(0);
}

int GstPlaybackEngine::Run()
{
    if (!m_graph)
        return kStatusFail;
    PlaybackGraph& g = *m_graph;
    if (g.state != EngineState::Paused && g.state != EngineState::Stopped)
        return VFW_E_WRONG_STATE;
    // A graph without pictures has nothing to run.
    if (!g.filterGraph || g.videoPinCount == 0)
        return kStatusFail;
    const std::int64_t duration = g.Duration();
    std::int64_t position = currentUnits();
    const bool restart = g.AtEnd() || (duration > 0 && position >= duration);
    if (restart)
        position = 0;
    if (g.rate != 1.0f)
        g.rate = ClampRate(g.rate);
    const double wanted = g.rate;
    // A rate change or a restart is a seek with the new rate at the position.
    if (restart || wanted != g.AppliedRate())
        if (!g.Seek(position, wanted))
            return kStatusFail;
    g.Play();
    g.state = EngineState::Running;
    return kStatusOk;
}

int GstPlaybackEngine::Pause()
{
    if (!m_graph)
        return kStatusFail;
    if (m_graph->state == EngineState::Running) {
        m_graph->PauseGraph();
        m_graph->state = EngineState::Paused;
    }
    return kStatusOk;
}

int GstPlaybackEngine::Stop()
{
    if (!m_graph)
        return kStatusFail;
    PlaybackGraph& g = *m_graph;
    if (g.state != EngineState::Running && g.state != EngineState::Paused)
        return VFW_E_WRONG_STATE;
    // Stopped keeps the position and the last picture, as a paused graph does.
    if (g.state == EngineState::Running)
        g.PauseGraph();
    g.state = EngineState::Stopped;
    return kStatusOk;
}

bool GstPlaybackEngine::StopEngine()
{
    if (!m_graph)
        return true;
    return Stop() >= 0;
}

bool GstPlaybackEngine::SeekMs(std::int32_t ms)
{
    if (!m_graph || !m_graph->filterGraph)
        return true;
    return m_graph->Seek(static_cast<std::int64_t>(ms) * kUnitsPerMs, m_graph->AppliedRate());
}

bool GstPlaybackEngine::StartSeekMs(std::int32_t ms, bool exact)
{
    if (!m_graph || !m_graph->filterGraph)
        return PlaybackEngine::StartSeekMs(ms, exact);
    return m_graph->StartSeek(static_cast<std::int64_t>(ms) * kUnitsPerMs, m_graph->AppliedRate(), exact);
}

bool GstPlaybackEngine::StepBack(double seconds)
{
    if (!m_graph || (m_graph->state != EngineState::Running && m_graph->state != EngineState::Paused))
        return false;
    const std::int64_t target = std::max<std::int64_t>(0, currentUnits() - static_cast<std::int64_t>(seconds * 1e7));
    return m_graph->Seek(target, m_graph->AppliedRate());
}

bool GstPlaybackEngine::StepForward(double seconds)
{
    if (!m_graph || (m_graph->state != EngineState::Running && m_graph->state != EngineState::Paused))
        return false;
    std::int64_t target = currentUnits() + static_cast<std::int64_t>(seconds * 1e7);
    const std::int64_t duration = m_graph->Duration();
    if (duration > 0)
        target = std::min(target, duration);
    return m_graph->Seek(target, m_graph->AppliedRate());
}

bool GstPlaybackEngine::SetRate(float rate)
{
    if (!m_graph)
        return false;
    const EngineState before = m_graph->state;
    Pause();
    m_graph->rate = rate;
    if (before == EngineState::Running)
        return Run() >= 0;
    return true;
}

bool GstPlaybackEngine::SetVolume(int percent)
{
    m_volumePercent = percent;
    if (!m_graph || !m_graph->filterGraph)
        return true;
    m_graph->SetGain(GainFromVolumeLevel(VolumeLevelFromPercent(percent)));
    return true;
}

std::uint64_t GstPlaybackEngine::GetPositionMs()
{
    if (!m_graph)
        return 0;
    return static_cast<std::uint64_t>(currentUnits()) / static_cast<std::uint64_t>(kUnitsPerMs);
}

std::uint64_t GstPlaybackEngine::GetDurationMs()
{
    if (!m_graph)
        return 0;
    if (m_graph->durationCache == 0)
        m_graph->durationCache = m_graph->Duration();
    return static_cast<std::uint64_t>(m_graph->durationCache) / static_cast<std::uint64_t>(kUnitsPerMs);
}

bool GstPlaybackEngine::GrabFrame(QImage& picture) { return GrabChannel(1, picture); }

bool GstPlaybackEngine::GrabChannel(int channel, QImage& picture)
{
    if (!m_graph)
        return true;
    return m_graph->Grab(channel, picture);
}

int GstPlaybackEngine::RepaintFirst()
{
    if (m_graph && videoWindow[0])
        videoWindow[0]->repaintFrame();
    return kStatusOk;
}

int GstPlaybackEngine::RepaintAll()
{
    if (!m_graph)
        return kStatusOk;
    updateTargetSizes();
    for (int k = 1; k <= 4 && k <= channelCount && k <= m_graph->videoPinCount; ++k) {
        if (m_graph->renderer[static_cast<std::size_t>(k - 1)] && videoWindow[static_cast<std::size_t>(k - 1)])
            videoWindow[static_cast<std::size_t>(k - 1)]->repaintFrame();
    }
    return kStatusOk;
}

bool GstPlaybackEngine::StopAndClose()
{
    if (m_graph)
        Stop();
    Close();
    return true;
}

void GstPlaybackEngine::DecoderSetParam(int channel, int param, int value)
{
    if (channel < 2 || channel > 4)
        return;
    const auto i = static_cast<std::size_t>(channel - 1);
    if (param == kParamMirror)
        m_mirror[i] = value != 0;
    else if (param == kParamFlip)
        m_flip[i] = value != 0;
    else
        return; // kParamOrientation and the post-processing parameters change nothing here
    if (!m_graph || !m_graph->HasOrientationControl(channel))
        return;
    m_graph->SetOrientation(channel, m_mirror[i], m_flip[i]);
    // A still picture shows the new orientation at once.
    if (m_graph->state == EngineState::Paused || m_graph->state == EngineState::Stopped)
        if (!m_graph->AtEnd())
            m_graph->Seek(currentUnits(), m_graph->AppliedRate());
}

int GstPlaybackEngine::VideoPinCount() const { return m_graph ? m_graph->videoPinCount : 0; }

QSize GstPlaybackEngine::NativeSize() const
{
    return m_graph ? QSize(m_graph->nativeWidth, m_graph->nativeHeight) : QSize();
}

ITelemetrySource* GstPlaybackEngine::TelemetrySource() { return m_graph ? m_graph->telemetry.get() : nullptr; }

int GstPlaybackEngine::AudioPinValue() const { return m_graph ? m_graph->audioPinValue : 0; }

double GstPlaybackEngine::AppliedRate() const { return m_graph ? m_graph->AppliedRate() : 1.0; }

std::uint64_t GstPlaybackEngine::FramesRendered(int channel) const
{
    return m_graph ? m_graph->FramesRendered(channel) : 0;
}

std::uint64_t GstPlaybackEngine::FramesDropped(int channel) const
{
    return m_graph ? m_graph->FramesDropped(channel) : 0;
}
