#include "app/PlaybackController.h"

#include "app/IPlaybackSliders.h"
#include "app/IVideoArea.h"
#include "base/LogCategories.h"
#include "base/Trace.h"
#include "base/UiText.h"
#include "config/DeviceConfig.h"
#include "display/ILinePlot.h"
#include "engine/PlaybackEngine.h"
#include "engine/PlaybackTables.h"
#include "engine/SeekCoalescer.h"
#include "engine/VolumePath.h"
#include "card/IPrompt.h"
#include "card/IRecordingListView.h"
#include "card/RecordingLibrary.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>
#include <cmath>

const QString PlaybackController::kPlaybackFailedText =
    QString::fromUtf8(QT_TRANSLATE_NOOP("PlaybackController", "녹화 파일을 끝까지 재생하지 못하고 멈췄습니다:"));

PlaybackController::PlaybackController(std::unique_ptr<PlaybackEngine> engine, RecordingLibrary& library,
                                       const DeviceConfig& config, QObject* parent)
    : QObject(parent), m_engine(std::move(engine)), m_library(library), m_config(config)
{
    // The pauses keep painting and ticking but hold the user's input back
    // until they end, as a blocked window would.
    m_wait = [](int ms) {
        QEventLoop loop;
        QTimer::singleShot(ms, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    };
    if (m_engine) {
        connect(m_engine.get(), &PlaybackEngine::error, this, &PlaybackController::onEngineError);
        m_seeks = std::make_unique<SeekCoalescer>(m_engine.get());
    }
    connect(&m_library, &RecordingLibrary::libraryReset, this, &PlaybackController::onLibraryReset);
    connect(&m_timer1, &QTimer::timeout, this, &PlaybackController::OnTimer1);
    connect(&m_timer3, &QTimer::timeout, this, &PlaybackController::OnTimer3);
}

PlaybackController::~PlaybackController()
{
    if (m_volumePath)
        m_volumePath->CloseVolumePath();
}

void PlaybackController::Wait(int ms) const
{
    if (m_wait)
        m_wait(ms);
}

IRecordingListView* PlaybackController::list() const
{
    return m_library.ListView();
}

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

std::uint64_t PlaybackController::PositionMs() const
{
    return HasGraph() ? m_engine->GetPositionMs() : 0;
}

std::uint64_t PlaybackController::DurationMs() const
{
    return HasGraph() ? m_engine->GetDurationMs() : 0;
}

bool PlaybackController::OpenSystemSound(std::unique_ptr<VolumePath> path)
{
    if (m_volumePath)
        m_volumePath->CloseVolumePath();
    m_volumePath = std::move(path);
    m_systemMuted = false;
    // The slider shows this level and the player plays it from the first
    // picture on; with no system level to start from, both start half way.
    m_volumePercent = kUnknownSystemVolume;
    if (!m_volumePath)
        return true;
    connect(m_volumePath.get(), &VolumePath::systemMuteChanged, this, &PlaybackController::onSystemMuteChanged);
    // A path that cannot be opened in time may still report the state later.
    bool muted = false;
    if (m_volumePath->OpenVolumePath() && m_volumePath->FindMuteControl() && m_volumePath->ReadSystemMute(muted))
        m_systemMuted = muted;
    m_volumePercent = qBound(0, m_volumePath->ReadSystemVolume().value_or(kUnknownSystemVolume), kMaxVolume);
    return !m_systemMuted;
}

void PlaybackController::onSystemMuteChanged(bool muted)
{
    m_systemMuted = muted;
    showSoundSwitch();
}

void PlaybackController::showSoundSwitch()
{
    if (m_views.sliders)
        m_views.sliders->SetSoundSwitch(!m_systemMuted && !m_muted);
}

// ---------------------------------------------------------------- playing

void PlaybackController::stopAndClose()
{
    if (!m_engine)
        return;
    if (m_seeks)
        m_seeks->Reset();
    m_dragging = false;
    m_stoppedByError = false;
    m_openFile.clear();
    if (m_engine->HasGraph()) {
        m_engine->Stop();
        if (m_engine->HasFilterGraph())
            m_engine->SeekMs(0);
        m_engine->Stop();
    }
    m_engine->Close();
    m_telemetry.impacts.clear();
    showImpactMarkers();
}

void PlaybackController::CloseRecording()
{
    stopAndClose();
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
            const QString recovered = m_offerRecovery(path);
            if (!recovered.isEmpty())
                OpenAndPlayFiles({recovered});
        });
    }
}

void PlaybackController::setDecoderParam(int param, int value)
{
    for (int ch = 2; ch <= 3 && ch <= m_engine->VideoPinCount(); ++ch) {
        m_engine->DecoderSetParam(ch, 1101, 1);
        m_engine->DecoderSetParam(ch, param, value);
    }
}

bool PlaybackController::PlayFile(const QString& path)
{
    if (!m_engine)
        return false;
    // Any open recording goes first; the decoders need the pause to let go.
    if (m_engine->HasGraph() && m_engine->State() != EngineState::NoMedia) {
        stopAndClose();
        Wait(500);
    }
    if (m_engine->HasGraph()) {
        for (int ch = 1; ch <= m_engine->VideoPinCount(); ++ch) {
            m_engine->DecoderSetParam(ch, 205, 1);
            m_engine->DecoderSetParam(ch, 202, 20);
        }
    }
    if (m_seeks)
        m_seeks->Reset();
    m_dragging = false;
    m_stoppedByError = false;
    m_openFile.clear();
    if (!m_engine->Open(path)) {
        setFailed(path, true);
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
    if (m_views.video)
        m_views.video->ShowVideoWindows(true);
    m_durationMs = std::int32_t(std::uint32_t(m_engine->GetDurationMs()));
    if (m_views.sliders)
        m_views.sliders->SetPositionRange(m_durationMs);
    if (m_engine->Run() < 0) {
        // The graph stays built and stopped; the tick moves on from it. The
        // user has heard of this recording: its graph's errors stay quiet.
        setFailed(path, true);
        m_openFile.clear();
        if (m_views.prompt)
            m_views.prompt->ShowMessage(QStringLiteral("Halcyon Deck"), QStringLiteral("Can not PlayFile"));
        return false;
    }
    setFailed(path, false);
    m_engine->SetVolume(m_muted ? 0 : m_volumePercent);
    m_engine->SetRate(RateForSpeedSetting(m_speedSetting));
    const int playing = m_library.playingCategory;
    for (int i = 0; i < m_library.RecordingCount(playing); ++i) {
        BBOX_ITEM* item = m_library.GetRecording(playing, i);
        if (item && item->path.compare(path, Qt::CaseInsensitive) == 0)
            item->played = 1;
    }
    m_currentFile = path;
    emit playStateChanged();
    resetControls();
    if (m_views.video)
        m_views.video->PlaceVideoWindows();
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
        m_engine->Pause();
        emit playStateChanged();
    }
}

void PlaybackController::PlayCommand()
{
    if (HasGraph() && m_engine->State() == EngineState::Paused) {
        m_engine->Run();
        emit playStateChanged();
        enableTransport(true);
        return;
    }
    const int shown = m_library.shownCategory;
    const int row = list() ? list()->GetSelection() : -1;
    if (shown < 0 || m_library.RecordingCount(shown) == 0 || row < 0)
        return;
    BBOX_ITEM* item = m_library.GetRecording(shown, row);
    if (!item)
        return;
    if (m_library.playingCategory == -1)
        m_library.playingCategory = shown;
    // Previous, next and the automatic advance count from the row that plays.
    m_library.views[shown].selected = row;
    const QString path = item->path;
    PlayFile(path);
    m_library.playingCategory = shown;
}

void PlaybackController::clearMarks(int category)
{
    for (int i = 0; i < m_library.RecordingCount(category); ++i) {
        if (BBOX_ITEM* item = m_library.GetRecording(category, i))
            item->played = 0;
    }
}

bool PlaybackController::playEntry(int category, int row)
{
    BBOX_ITEM* item = m_library.GetRecording(category, row);
    if (!item)
        return false;
    // A copy: PlayFile may reach code that changes the lists.
    PlayFile(QString(item->path));
    return true;
}

void PlaybackController::PlayPrevious()
{
    const int p = m_library.playingCategory;
    if (p < 0 || m_library.shownCategory < 0 || m_library.RecordingCount(p) <= 1)
        return;
    const int i = m_library.views[p].selected;
    if (i <= 0)
        return;
    m_library.views[p].selected = i - 1;
    if (m_library.shownCategory == p && list())
        list()->SelectRow(i - 1);
    clearMarks(p);
    playEntry(p, i - 1);
}

void PlaybackController::PlayNext()
{
    const int p = m_library.playingCategory;
    const int n = p >= 0 ? m_library.RecordingCount(p) : 0;
    if (p < 0 || m_library.shownCategory < 0 || n <= 1)
        return;
    const int i = m_library.views[p].selected;
    if (i >= n - 1)
        return;
    m_library.views[p].selected = i + 1;
    if (m_library.shownCategory == p && list())
        list()->SelectRow(i + 1);
    playEntry(p, i + 1);
}

void PlaybackController::PlayNextUnplayed()
{
    const int p = m_library.playingCategory;
    if (p < 0 || m_library.shownCategory < 0)
        return;
    const int n = m_library.RecordingCount(p);
    const int i = m_library.views[p].selected;
    IRecordingListView* shownList = m_library.shownCategory == p ? list() : nullptr;
    if (n < 2) {
        BBOX_ITEM* item = m_library.GetRecording(p, i);
        if (!item) {
            StopCommand();
            return;
        }
        if (IsFailed(item->path))
            return; // one message for it was enough
        item->played = 0;
        if (shownList)
            shownList->SelectRow(i);
        playEntry(p, i);
        return;
    }
    for (int j = i + 1; j < n; ++j) {
        BBOX_ITEM* item = m_library.GetRecording(p, j);
        if (item && !item->played && !IsFailed(item->path)) {
            m_library.views[p].selected = j;
            if (shownList)
                shownList->SelectRow(j);
            playEntry(p, j);
            return;
        }
    }
    // From the start again, passing by the recordings that failed; when every
    // one failed, playback rests.
    int first = 0;
    while (first < n && entryFailed(p, first))
        ++first;
    if (first == n)
        return;
    clearMarks(p);
    m_library.views[p].selected = first;
    if (shownList) {
        shownList->SetSelection(first);
        shownList->SelectRow(first);
        shownList->Repaint();
    }
    playEntry(p, first);
}

bool PlaybackController::IsFailed(const QString& path) const
{
    return m_failed.contains(path.toCaseFolded());
}

bool PlaybackController::entryFailed(int category, int row) const
{
    const BBOX_ITEM* item = m_library.GetRecording(category, row);
    return !item || IsFailed(item->path);
}

void PlaybackController::setFailed(const QString& path, bool failed)
{
    if (failed)
        m_failed.insert(path.toCaseFolded());
    else
        m_failed.remove(path.toCaseFolded());
}

void PlaybackController::ActivateRow(int row)
{
    const int shown = m_library.shownCategory;
    if (row < 0 || shown < 0 || !m_library.GetRecording(shown, row))
        return;
    m_library.playingCategory = shown;
    m_library.views[shown].selected = row;
    clearMarks(shown);
    playEntry(shown, row);
}

void PlaybackController::StopCommand()
{
    stopAndClose();
    Wait(1000);
    enableTransport(false);
    if (m_views.video)
        m_views.video->ShowVideoWindows(false);
    emit playStateChanged();
    clearPlot();
    emit speedReadout(0, m_config.live.speedUnit);
    emit recordingStopped();
    emit redrawRequested();
}

void PlaybackController::StepBack()
{
    if (IsRunningOrPaused())
        m_engine->StepBack(1.0);
}

void PlaybackController::StepForward()
{
    if (IsRunningOrPaused())
        m_engine->StepForward(1.0);
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
    if (!m_engine->SeekMs(std::int32_t(qMin<std::uint32_t>(target, INT32_MAX))))
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
    const auto pos = std::uint32_t(qMin<std::uint64_t>(PositionMs(), UINT32_MAX));
    return jumpToImpact(ImpactDetector::NextIndex(m_telemetry.impacts, pos, kImpactLeadMs));
}

bool PlaybackController::PreviousImpact()
{
    if (!IsRunningOrPaused())
        return false;
    const auto pos = std::uint32_t(qMin<std::uint64_t>(PositionMs(), UINT32_MAX));
    return jumpToImpact(ImpactDetector::PreviousIndex(m_telemetry.impacts, pos, kImpactLeadMs));
}

void PlaybackController::SetImpactThreshold(double g)
{
    m_telemetry.impactThresholdG = g > 0 && std::isfinite(g) ? g : ImpactDetector::kDefaultThresholdG;
}

void PlaybackController::onLibraryReset()
{
    m_telemetry.impacts.clear();
    showImpactMarkers();
    m_failed.clear();
    enableTransport(false);
    resetControls();
    if (m_views.video)
        m_views.video->ShowVideoWindows(false);
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
    setFailed(path, true);
    if (m_seeks)
        m_seeks->Reset();
    m_dragging = false;
    // Stopped, not closed: the last picture stays where the user saw it break.
    m_engine->Stop();
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
        m_engine->Pause();
    emit playStateChanged();
    return wasRunning;
}

void PlaybackController::ResumeAfterDialog(bool wasRunning)
{
    if (wasRunning && HasGraph() && m_engine->State() == EngineState::Paused)
        m_engine->Run();
    emit playStateChanged();
}

void PlaybackController::AddOpenedFiles(const QStringList& paths, bool wasRunning)
{
    if (paths.isEmpty())
        return;
    for (const QString& path : paths) {
        const QString name = QFileInfo(path).fileName();
        const int c = RecordingLibrary::ClassifyRecordingName(name);
        m_library.AddRecording(c, 0, path, name);
        if (c != 0)
            m_library.AddRecording(c, c, path, name);
    }
    if (!wasRunning) {
        m_library.shownCategory = 0;
        emit categoryTabPressed(0);
    }
    if (m_library.shownCategory == 0 && list()) {
        list()->DeleteAllRows();
        m_library.FillRecordingList(0);
        if (!wasRunning)
            list()->SelectRow(0);
        list()->Repaint();
    }
}

void PlaybackController::OpenAndPlayFiles(const QStringList& paths)
{
    if (paths.isEmpty())
        return;
    AddOpenedFiles(paths, IsRunning());
    if (m_library.shownCategory != 0)
        SelectCategory(0);
    // ALL is ordered by name, so the first file named need not be the first row.
    for (int row = 0; row < m_library.RecordingCount(0); ++row) {
        if (m_library.GetRecording(0, row)->path == paths.first()) {
            if (list())
                list()->SelectRow(row);
            ActivateRow(row);
            return;
        }
    }
}

void PlaybackController::SelectCategory(int category)
{
    IRecordingListView* view = list();
    const int old = m_library.shownCategory;
    if (view && old >= 0 && old < kCategoryCount) {
        m_library.views[old].selected = view->GetSelection();
        m_library.views[old].scrollPos = view->GetScrollPos();
    }
    m_library.shownCategory = category;
    emit categoryTabsShow(category);
    if (!view)
        return;
    view->DeleteAllRows();
    view->Repaint();
    if (m_library.RecordingCount(category) == 0)
        return;
    m_library.FillRecordingList(category);
    view->SelectRow(m_library.views[category].selected);
    view->SetScrollPos(m_library.views[category].scrollPos);
    view->Repaint();
}

// ---------------------------------------------------------------- picture, speed, sound

bool PlaybackController::SwapVideo()
{
    if (!IsRunning() || m_engine->VideoPinCount() < 2)
        return false;
    m_swapVideo = !m_swapVideo;
    if (m_views.video)
        m_views.video->PlaceVideoWindows();
    return true;
}

void PlaybackController::ToggleMirror()
{
    m_mirrorHorizontal = !m_mirrorHorizontal;
    if (m_engine)
        setDecoderParam(1113, m_mirrorHorizontal ? 1 : 0);
}

void PlaybackController::ToggleFlip()
{
    m_flipVertical = !m_flipVertical;
    if (m_engine)
        setDecoderParam(1112, m_flipVertical ? 1 : 0);
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
    const std::uint64_t pos = PositionMs();
    const std::uint64_t dur = DurationMs();
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
    const auto pos = std::uint32_t(m_engine->GetPositionMs());
    const auto index = GpsFixReadout::FindFixIndex(m_telemetry.gpsTimes, pos);
    if (!index || *index >= m_telemetry.gpsTrack.size())
        return;
    const DeviceSettings& s = m_config.live;
    const GpsFixReadoutValues v = GpsFixReadout::Compute(GpsFixReadout::FieldsOf(m_telemetry.gpsTrack[*index]),
                                                         s.timeZoneIndex, s.daylightSaving != 0, s.speedUnit);
    emit gpsFixReached(v, !m_offline, *index);
    emit speedReadout(v.speed, s.speedUnit);
}
