#include "engine/GstPlaybackEngine.h"

#include "engine/IVideoWindow.h"
#include "engine/PlaybackGraph.h"
#include "engine/PlaybackTables.h"

#include <gst/gst.h>

#include "base/LogCategories.h"


namespace {
// Positions inside the graph are 100-ns units.
using GraphUnits = std::chrono::duration<std::int64_t, std::ratio<1, 10000000>>;

std::int64_t toUnits(std::chrono::milliseconds t)
{
    return std::chrono::duration_cast<GraphUnits>(t).count();
}

std::chrono::milliseconds toMs(std::int64_t units)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(GraphUnits(std::max<std::int64_t>(0, units)));
}
} // namespace

GstPlaybackEngine::GstPlaybackEngine(QObject* parent) : PlaybackEngine(parent)
{
    if (!gst_is_initialized())
        gst_init(nullptr, nullptr);
}

GstPlaybackEngine::~GstPlaybackEngine()
{
    // The releasing threads post back to this object; they end first.
    for (std::future<void>& f : m_releases)
        f.wait();
}

void GstPlaybackEngine::releaseInBackground(std::unique_ptr<PlaybackGraph> graph)
{
    ++m_releasing;
    m_releases.push_back(std::async(std::launch::async, [this, g = std::shared_ptr<PlaybackGraph>(std::move(graph))]() mutable {
        g.reset();
        QMetaObject::invokeMethod(this, &GstPlaybackEngine::releaseDone, Qt::QueuedConnection);
    }));
}

void GstPlaybackEngine::releaseDone()
{
    std::erase_if(m_releases, [](const std::future<void>& f) {
        return f.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
    });
    if (--m_releasing == 0)
        emit released();
}

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

Result<void> GstPlaybackEngine::Open(const QString& path)
{
    m_lastError.clear();
    if (m_graph) {
        (void)Stop();
        SeekMs(std::chrono::milliseconds(0));
        Close();
    }
    if (!videoWindow[0] || path.isEmpty()) {
        m_lastError = path.isEmpty() ? QStringLiteral("no file given") : QStringLiteral("no video window");
        return Result<void>::Failure(m_lastError);
    }
    clearWindows();
    newGraph();
    if (!m_graph->Build(path, &m_lastError)) {
        qCInfo(vxEngine) << "cannot open" << path << m_lastError;
        Close();
        return Result<void>::Failure(m_lastError);
    }
    if (!m_graph->ChosenAudioSink().isEmpty())
        m_chosenAudioSink = m_graph->ChosenAudioSink();
    updateTargetSizes();
    if (m_graph->videoPinCount > 0)
        m_graph->SetGain(GainFromVolumeLevel(VolumeLevelFromPercent(m_volumePercent)));
    return {};
}

void GstPlaybackEngine::Close()
{
    // Pictures still on their way from this graph are dropped from here on.
    ++m_generation;
    if (m_graph)
        releaseInBackground(std::move(m_graph));
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

Result<void> GstPlaybackEngine::Run()
{
    if (!m_graph)
        return Result<void>::Failure(QStringLiteral("nothing open"));
    PlaybackGraph& g = *m_graph;
    if (g.state != EngineState::Paused && g.state != EngineState::Stopped)
        return Result<void>::Failure(kWrongState);
    // A graph without pictures has nothing to run.
    if (!g.filterGraph || g.videoPinCount == 0)
        return Result<void>::Failure(QStringLiteral("no pictures"));
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
            return Result<void>::Failure(QStringLiteral("the graph refused the position"));
    g.Play();
    g.state = EngineState::Running;
    return {};
}

Result<void> GstPlaybackEngine::Pause()
{
    if (!m_graph)
        return Result<void>::Failure(QStringLiteral("nothing open"));
    if (m_graph->state == EngineState::Running) {
        m_graph->PauseGraph();
        m_graph->state = EngineState::Paused;
    }
    return {};
}

Result<void> GstPlaybackEngine::Stop()
{
    if (!m_graph)
        return Result<void>::Failure(QStringLiteral("nothing open"));
    PlaybackGraph& g = *m_graph;
    if (g.state != EngineState::Running && g.state != EngineState::Paused)
        return Result<void>::Failure(kWrongState);
    // Stopped keeps the position and the last picture, as a paused graph does.
    if (g.state == EngineState::Running)
        g.PauseGraph();
    g.state = EngineState::Stopped;
    return {};
}

bool GstPlaybackEngine::SeekMs(std::chrono::milliseconds position)
{
    if (!m_graph || !m_graph->filterGraph)
        return true;
    return m_graph->Seek(toUnits(position), m_graph->AppliedRate());
}

bool GstPlaybackEngine::StartSeekMs(std::chrono::milliseconds position, bool exact)
{
    if (!m_graph || !m_graph->filterGraph)
        return PlaybackEngine::StartSeekMs(position, exact);
    return m_graph->StartSeek(toUnits(position), m_graph->AppliedRate(), exact);
}

bool GstPlaybackEngine::StepBack(std::chrono::milliseconds step)
{
    if (!m_graph || (m_graph->state != EngineState::Running && m_graph->state != EngineState::Paused))
        return false;
    const std::int64_t target = std::max<std::int64_t>(0, currentUnits() - toUnits(step));
    return m_graph->Seek(target, m_graph->AppliedRate());
}

bool GstPlaybackEngine::StepForward(std::chrono::milliseconds step)
{
    if (!m_graph || (m_graph->state != EngineState::Running && m_graph->state != EngineState::Paused))
        return false;
    std::int64_t target = currentUnits() + toUnits(step);
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
    (void)Pause();
    m_graph->rate = rate;
    if (before == EngineState::Running)
        return Run().ok();
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

std::chrono::milliseconds GstPlaybackEngine::GetPositionMs()
{
    if (!m_graph)
        return {};
    return toMs(currentUnits());
}

std::chrono::milliseconds GstPlaybackEngine::GetDurationMs()
{
    if (!m_graph)
        return {};
    if (m_graph->durationCache == 0)
        m_graph->durationCache = m_graph->Duration();
    return toMs(m_graph->durationCache);
}

bool GstPlaybackEngine::GrabFrame(QImage& picture) { return GrabChannel(1, picture); }

bool GstPlaybackEngine::GrabChannel(int channel, QImage& picture)
{
    if (!m_graph)
        return true;
    return m_graph->Grab(channel, picture);
}

void GstPlaybackEngine::RepaintFirst()
{
    if (m_graph && videoWindow[0])
        videoWindow[0]->repaintFrame();
}

void GstPlaybackEngine::RepaintAll()
{
    if (!m_graph)
        return;
    updateTargetSizes();
    for (int k = 1; k <= 4 && k <= channelCount && k <= m_graph->videoPinCount; ++k) {
        if (m_graph->renderer[static_cast<std::size_t>(k - 1)] && videoWindow[static_cast<std::size_t>(k - 1)])
            videoWindow[static_cast<std::size_t>(k - 1)]->repaintFrame();
    }
}

void GstPlaybackEngine::DecoderSetParam(int channel, DecoderParam param, int value)
{
    if (channel < 2 || channel > 4)
        return;
    const auto i = static_cast<std::size_t>(channel - 1);
    if (param == DecoderParam::Mirror)
        m_mirror[i] = value != 0;
    else if (param == DecoderParam::Flip)
        m_flip[i] = value != 0;
    else
        return; // opening the orientation settings changes nothing here
    if (!m_graph || !m_graph->HasOrientationControl(channel))
        return;
    m_graph->SetOrientation(channel, m_mirror[i], m_flip[i]);
    // A still picture shows the new orientation at once.
    if (m_graph->state == EngineState::Paused || m_graph->state == EngineState::Stopped)
        if (!m_graph->AtEnd())
            m_graph->Seek(currentUnits(), m_graph->AppliedRate());
}

int GstPlaybackEngine::VideoPinCount() const { return m_graph ? m_graph->videoPinCount : 0; }

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
