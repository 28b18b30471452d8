#include "app/PlaybackController.h"

#include "app/IPlaybackSliders.h"
#include "base/LogCategories.h"
#include "base/Trace.h"
#include "base/UiText.h"
#include "config/DeviceConfig.h"
#include "display/ILinePlot.h"
#include "engine/PlaybackEngine.h"
#include "engine/PlaybackTables.h"
#include "engine/SeekCoalescer.h"
#include "engine/VolumePath.h"
#include "app/Playlist.h"
#include "card/IPrompt.h"
#include "card/RecordingLibrary.h"
#include "card/SnapshotExport.h"

#include <QFileInfo>
#include <QTimer>
#include <cmath>

const QString PlaybackController::kPlaybackFailedText =
    QString::fromUtf8(QT_TRANSLATE_NOOP("PlaybackController", "녹화 파일을 끝까지 재생하지 못하고 멈췄습니다:"));

using namespace std::chrono_literals;

PlaybackController::PlaybackController(std::unique_ptr<PlaybackEngine> engine, Playlist& playlist,
                                       const DeviceConfig& config, QObject* parent)
    : QObject(parent), m_engine(std::move(engine)), m_playlist(playlist), m_config(config)
{
    if (m_engine) {
        connect(m_engine.get(), &PlaybackEngine::error, this, &PlaybackController::onEngineError);
        connect(m_engine.get(), &PlaybackEngine::released, this, &PlaybackController::onEngineReleased);
        m_seeks = std::make_unique<SeekCoalescer>(m_engine.get());
    }
    connect(&m_playlist.library(), &RecordingLibrary::libraryReset, this, &PlaybackController::onLibraryReset);
    connect(&m_timer1, &QTimer::timeout, this, &PlaybackController::OnTimer1);
    connect(&m_timer3, &QTimer::timeout, this, &PlaybackController::OnTimer3);
    // The system's mute changes only what the sound switch shows.
    connect(&m_systemSound, &SystemSound::mutedChanged, this, &PlaybackController::showSoundSwitch);
}

PlaybackController::~PlaybackController() = default;

// ---------------------------------------------------------------- state

bool PlaybackController::HasGraph() const
{
    return m_engine && m_engine->HasGraph();
}

bool PlaybackController::IsRunning() const
{
    return HasGraph() && m_engine->State() == EngineState::Running;
}

bool PlaybackController::IsRunningOrPaused() const
{
    if (!HasGraph())
        return false;
    const EngineState st = m_engine->State();
    return st == EngineState::Running || st == EngineState::Paused;
}

bool PlaybackController::HasNoMedia() const
{
    return HasGraph() && m_engine->State() == EngineState::NoMedia;
}

std::chrono::milliseconds PlaybackController::PositionMs() const
{
    return HasGraph() ? m_engine->GetPositionMs() : 0ms;
}

std::chrono::milliseconds PlaybackController::DurationMs() const
{
    return HasGraph() ? m_engine->GetDurationMs() : 0ms;
}

bool PlaybackController::OpenSystemSound(std::unique_ptr<VolumePath> path)
{
    m_systemSound.Open(std::move(path));
    // The slider shows this level and the player plays it from the first
    // picture on; with no system level to start from, both start half way.
    m_volumePercent = qBound(0, m_systemSound.outputVolume().value_or(kUnknownSystemVolume), kMaxVolume);
    return !m_systemSound.muted();
}

void PlaybackController::showSoundSwitch()
{
    if (m_views.sliders)
        m_views.sliders->SetSoundSwitch(!m_systemSound.muted() && !m_muted);
}

// ---------------------------------------------------------------- playing

void PlaybackController::CloseRecording()
{
    m_pendingOpen.clear();
    if (!m_engine)
        return;
    if (m_seeks)
        m_seeks->Reset();
    m_dragging = false;
    m_stoppedByError = false;
    m_openFile.clear();
    // Closing stops the graph on the engine's own thread; stopping and
    // rewinding it here first would only make the UI thread wait for it.
    m_engine->Close();
    m_telemetry.impacts.clear();
    showImpactMarkers();
}

void PlaybackController::OnCardRemoved()
{
    // A recording stopped by its own error stays where the user saw it break.
    if (HasGraph() && m_engine->State() == EngineState::Stopped)
        return;
    CloseRecording();
}

void PlaybackController::RepaintVideo()
{
    if (!HasGraph())
        return;
    if (m_engine->State() == EngineState::Running)
        m_engine->RepaintFirst();
    m_engine->RepaintAll();
}

void PlaybackController::reportOpenFailure(const QString& path)
{
    qCInfo(vxApp) << "cannot open" << path;
    if (m_views.prompt)
        m_views.prompt->ShowMessage(QStringLiteral("Halcyon Deck"), QStringLiteral("Can not OpenFile"));
    if (m_offerRecovery) {
        // Once the failed open has returned: the offer runs dialogs of its own
        // and then opens another file.
        QTimer::singleShot(0, this, [this, path] {
            m_offerRecovery(path, [this](const QString& recovered) {
                if (!recovered.isEmpty())
                    OpenAndPlayFiles({recovered});
            });
        });
    }
}

void PlaybackController::setOrientation(DecoderParam param, bool on)
{
    // Channel 1 is never turned; the rear cameras are.
    for (int ch = 2; ch <= 3 && ch <= m_engine->VideoPinCount(); ++ch) {
        m_engine->DecoderSetParam(ch, DecoderParam::Orientation, 1);
        m_engine->DecoderSetParam(ch, param, on ? 1 : 0);
    }
}

bool PlaybackController::PlayFile(const QString& path)
{
    if (!m_engine)
        return false;
    if (m_engine->HasGraph() && m_engine->State() != EngineState::NoMedia)
        CloseRecording();
    // The decoders of the recording before must let go first; the file opens
    // as soon as they have, and only the latest file asked for.
    if (m_engine->Releasing()) {
        m_pendingOpen = path;
        return true;
    }
    return openAndRun(path);
}

void PlaybackController::onEngineReleased()
{
    if (m_engine->Releasing() || m_pendingOpen.isEmpty())
        return;
    openAndRun(std::exchange(m_pendingOpen, QString()));
}

bool PlaybackController::openAndRun(const QString& path)
{
    if (m_seeks)
        m_seeks->Reset();
    m_dragging = false;
    m_stoppedByError = false;
    m_openFile.clear();
    if (!m_engine->Open(path)) {
        m_playlist.SetFailed(path, true);
        reportOpenFailure(path);
        return false;
    }
    m_openFile = path;
    // The first picture's size decides the full-screen rectangle.
    m_firstPictureSize = QSize(0, 0);
    QImage first;
    if (m_engine->GrabFrame(first))
        m_firstPictureSize = first.size();
    m_telemetry.LoadTelemetry(m_engine->TelemetrySource(), m_views.plot);
    showImpactMarkers();
    emit recordingOpened(path);
    m_durationMs = std::int32_t(std::uint32_t(m_engine->GetDurationMs().count()));
    if (m_views.sliders)
        m_views.sliders->SetPositionRange(m_durationMs);
    if (!m_engine->Run()) {
        // The graph stays built and stopped; the tick moves on from it. The
        // user has heard of this recording: its graph's errors stay quiet.
        m_playlist.SetFailed(path, true);
        m_openFile.clear();
        if (m_views.prompt)
            m_views.prompt->ShowMessage(QStringLiteral("Halcyon Deck"), QStringLiteral("Can not PlayFile"));
        return false;
    }
    m_playlist.SetFailed(path, false);
    m_engine->SetVolume(m_muted ? 0 : m_volumePercent);
    m_engine->SetRate(RateForSpeedSetting(m_speedSetting));
    m_playlist.MarkPlayed(path);
    m_currentFile = path;
    emit playStateChanged();
    resetControls();
    enableTransport(true);
    emit recordingStarted(path);
    emit redrawRequested();
    return true;
}

void PlaybackController::enableTransport(bool enabled)
{
    if (m_views.sliders)
        m_views.sliders->EnableTransport(enabled);
}

void PlaybackController::resetControls()
{
    if (m_views.sliders) {
        m_views.sliders->SetPosition(0);
        m_views.sliders->SetSpeed(m_speedSetting);
    }
    emit speedReadout(0, m_config.live.speedUnit);
}

void PlaybackController::clearPlot()
{
    if (!m_views.plot)
        return;
    while (m_views.plot->SeriesCount() > 0)
        m_views.plot->RemoveSeries(0);
    m_views.plot->RedrawNow();
}

void PlaybackController::PauseCommand()
{
    if (IsRunning()) {
        (void)m_engine->Pause();
        emit playStateChanged();
    }
}

void PlaybackController::play(const std::optional<QString>& path)
{
    if (path)
        PlayFile(*path);
}

void PlaybackController::PlayCommand()
{
    if (HasGraph() && m_engine->State() == EngineState::Paused) {
        (void)m_engine->Run();
        emit playStateChanged();
        enableTransport(true);
        return;
    }
    play(m_playlist.PickSelected());
}

void PlaybackController::PlayPrevious()
{
    play(m_playlist.Previous());
}

void PlaybackController::PlayNext()
{
    play(m_playlist.Next());
}

void PlaybackController::PlayNextUnplayed()
{
    const Playlist::Advance next = m_playlist.NextUnplayed();
    if (next.kind == Playlist::Advance::Stop)
        StopCommand();
    else if (next.kind == Playlist::Advance::Play)
        PlayFile(next.path);
}

void PlaybackController::ActivateRow(int row)
{
    play(m_playlist.Activate(row));
}

void PlaybackController::StopCommand()
{
    CloseRecording();
    enableTransport(false);
    emit playStateChanged();
    clearPlot();
    emit speedReadout(0, m_config.live.speedUnit);
    emit recordingStopped();
    emit redrawRequested();
}

void PlaybackController::StepBack()
{
    if (IsRunningOrPaused())
        m_engine->StepBack(1s);
}

void PlaybackController::StepForward()
{
    if (IsRunningOrPaused())
        m_engine->StepForward(1s);
}

void PlaybackController::showImpactMarkers()
{
    std::vector<int> ms;
    std::vector<float> xs;
    for (const Impact& impact : m_telemetry.impacts) {
        ms.push_back(int(qMin<std::uint32_t>(impact.timeMs, INT32_MAX)));
        xs.push_back(float(impact.timeMs)); // the plot's X is the sample time
    }
    if (m_views.sliders)
        m_views.sliders->SetPositionMarkers(ms);
    if (m_views.plot)
        m_views.plot->SetMarkers(std::move(xs));
}

bool PlaybackController::jumpToImpact(int index)
{
    if (index < 0 || std::size_t(index) >= m_telemetry.impacts.size())
        return false;
    const std::uint32_t target = ImpactDetector::JumpTarget(m_telemetry.impacts[std::size_t(index)], kImpactLeadMs);
    if (!m_engine->SeekMs(std::chrono::milliseconds(target)))
        return false;
    if (m_views.sliders)
        m_views.sliders->SetPosition(int(qMin<std::uint32_t>(target, INT32_MAX)));
    if (m_views.plot)
        m_views.plot->SetCursor(target);
    emit positionTicked();
    return true;
}

bool PlaybackController::NextImpact()
{
    if (!IsRunningOrPaused())
        return false;
    const auto pos = std::uint32_t(qBound<std::int64_t>(0, PositionMs().count(), UINT32_MAX));
    return jumpToImpact(ImpactDetector::NextIndex(m_telemetry.impacts, pos, kImpactLeadMs));
}

bool PlaybackController::PreviousImpact()
{
    if (!IsRunningOrPaused())
        return false;
    const auto pos = std::uint32_t(qBound<std::int64_t>(0, PositionMs().count(), UINT32_MAX));
    return jumpToImpact(ImpactDetector::PreviousIndex(m_telemetry.impacts, pos, kImpactLeadMs));
}

void PlaybackController::SetImpactThreshold(double g)
{
    m_telemetry.impactThresholdG = g > 0 && std::isfinite(g) ? g : ImpactDetector::kDefaultThresholdG;
}

void PlaybackController::onLibraryReset()
{
    // A recording of the card that went away no longer opens.
    m_pendingOpen.clear();
    m_telemetry.impacts.clear();
    showImpactMarkers();
    enableTransport(false);
    resetControls();
    emit playStateChanged();
    clearPlot();
    emit recordingStopped();
    emit redrawRequested();
}

void PlaybackController::onEngineError(const QString& message)
{
    // The engine's bus reported an error for the open recording: it turned out
    // damaged in the middle, or the file went away. The graph reports its
    // errors in bursts; the user hears of the first one only.
    qCWarning(vxApp).noquote() << "engine error:" << message;
    if (m_openFile.isEmpty() || m_stoppedByError || !HasGraph())
        return;
    const QString path = m_openFile;
    m_stoppedByError = true;
    m_playlist.SetFailed(path, true);
    if (m_seeks)
        m_seeks->Reset();
    m_dragging = false;
    // Stopped, not closed: the last picture stays where the user saw it break.
    (void)m_engine->Stop();
    enableTransport(false);
    emit playStateChanged();
    emit redrawRequested();
    if (m_views.prompt)
        m_views.prompt->ShowMessage(QFileInfo(path).fileName(), UiText("PlaybackController", kPlaybackFailedText) +
                                                                    QStringLiteral("\n") + path +
                                                                    QStringLiteral("\n") + message);
}

// ---------------------------------------------------------------- dialogs and lists

bool PlaybackController::PauseForDialog()
{
    const bool wasRunning = IsRunning();
    if (wasRunning)
        (void)m_engine->Pause();
    emit playStateChanged();
    return wasRunning;
}

void PlaybackController::ResumeAfterDialog(bool wasRunning)
{
    if (wasRunning && HasGraph() && m_engine->State() == EngineState::Paused)
        (void)m_engine->Run();
    emit playStateChanged();
}

void PlaybackController::OpenAndPlayFiles(const QStringList& paths)
{
    play(m_playlist.AddAndActivate(paths, IsRunning()));
}

SnapshotReport PlaybackController::SaveSnapshot(IFileDialogs& dialogs, IPrompt& prompt)
{
    if (!IsRunningOrPaused())
        return {};
    const bool wasRunning = PauseForDialog();
    QImage front, rear;
    SnapshotReport report;
    if (m_engine->GrabFrame(front)) {
        if (m_engine->VideoPinCount() > 1 && !m_engine->GrabChannel(2, rear))
            rear = QImage();
        report = SnapshotExport::SaveSnapshot(front, rear, dialogs, prompt);
    }
    ResumeAfterDialog(wasRunning);
    return report;
}

// ---------------------------------------------------------------- picture, speed, sound

bool PlaybackController::SwapVideo()
{
    if (!IsRunning() || m_engine->VideoPinCount() < 2)
        return false;
    m_swapVideo = !m_swapVideo;
    return true;
}

void PlaybackController::ToggleMirror()
{
    m_mirrorHorizontal = !m_mirrorHorizontal;
    if (m_engine)
        setOrientation(DecoderParam::Mirror, m_mirrorHorizontal);
}

void PlaybackController::ToggleFlip()
{
    m_flipVertical = !m_flipVertical;
    if (m_engine)
        setOrientation(DecoderParam::Flip, m_flipVertical);
}

void PlaybackController::SetMuted(bool muted)
{
    // The player's own sound only; the system's mute is the user's business.
    m_muted = muted;
    if (m_engine)
        m_engine->SetVolume(muted ? 0 : m_volumePercent);
}

void PlaybackController::PositionSliderMoving(int ms)
{
    if (m_views.sliders)
        m_views.sliders->SetPosition(ms);
    if (m_seeks && !m_stoppedByError) {
        m_dragging = true;
        m_seeks->Move(ms);
    }
    emit playStateChanged();
}

void PlaybackController::PositionSliderReleased(int ms)
{
    // Only the end of a drag: a key on the slider or a click that moved
    // nothing does not seek.
    if (!m_dragging)
        return;
    m_dragging = false;
    if (m_views.sliders)
        m_views.sliders->SetPosition(ms);
    if (m_seeks && !m_stoppedByError)
        m_seeks->Release(ms);
    emit playStateChanged();
}

void PlaybackController::VolumeSliderMoving(int percent, bool trace)
{
    m_volumePercent = percent;
    if (m_views.sliders)
        m_views.sliders->SetVolume(percent);
    if (unsigned(m_volumePercent) > 99)
        m_volumePercent = 99;
    if (trace)
        TraceLine("nVolume = %d \r\n", m_volumePercent);
    if (m_engine)
        m_engine->SetVolume(m_volumePercent);
    m_muted = false;
    if (m_views.sliders)
        m_views.sliders->SetSoundSwitch(true);
}

void PlaybackController::SpeedSliderMoved(int setting)
{
    if (IsRunningOrPaused()) {
        m_speedSetting = setting;
        m_engine->SetRate(RateForSpeedSetting(m_speedSetting));
    }
    if (m_views.sliders)
        m_views.sliders->SetSpeed(m_speedSetting);
}

// ---------------------------------------------------------------- ticks

void PlaybackController::StartTicks()
{
    m_timer1.start(300);
    m_timer3.start(350);
}

void PlaybackController::OnTimer1()
{
    // A recording stopped by its own error stays as it broke; while the thumb
    // is held or a seek settles, the graph's position is the old one.
    if (m_stoppedByError || m_dragging || (m_seeks && m_seeks->InFlight()))
        return;
    const bool hasGraph = HasGraph();
    const auto pos = std::uint64_t(std::max<std::int64_t>(0, PositionMs().count()));
    const auto dur = std::uint64_t(std::max<std::int64_t>(0, DurationMs().count()));
    if (m_views.sliders)
        m_views.sliders->SetPosition(int(qMin<std::uint64_t>(pos, std::uint64_t(INT32_MAX))));
    emit positionTicked();
    if (!hasGraph)
        return;
    switch (m_engine->State()) {
    case EngineState::Running:
        if (pos >= dur) {
            if (AutoAdvanceAllowed())
                PlayNextUnplayed();
            return;
        }
        if (m_views.plot)
            m_views.plot->SetCursor(std::uint32_t(pos));
        break;
    case EngineState::Paused:
    case EngineState::Stopped:
        // Also moves on from a recording that was built but would not run.
        if ((pos >= dur || pos == 0) && AutoAdvanceAllowed())
            PlayNextUnplayed();
        break;
    case EngineState::NoMedia:
        break;
    }
}

void PlaybackController::OnTimer3()
{
    if (!IsRunningOrPaused())
        return;
    const auto pos = std::uint32_t(m_engine->GetPositionMs().count());
    const auto index = GpsFixReadout::FindFixIndex(m_telemetry.gpsTimes, pos);
    if (!index || *index >= m_telemetry.gpsTrack.size())
        return;
    const DeviceSettings& s = m_config.live;
    const GpsFixReadoutValues v = GpsFixReadout::Compute(GpsFixReadout::FieldsOf(m_telemetry.gpsTrack[*index]),
                                                         s.timeZoneIndex, s.daylightSaving != 0, s.speedUnit);
    emit gpsFixReached(v, !m_offline, *index);
    emit speedReadout(v.speed, s.speedUnit);
}
