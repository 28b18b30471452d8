#pragma once
// The one owner of playback, without widgets: it alone drives the engine.
// PlayFile and the commands that lead to it, the speed, volume and picture
// flags, the pauses other commands need (dialogs, the snapshot, the settings
// sheet), closing for the card's loss, and the two ticks (300 ms: position and
// end of recording; 350 ms: the GPS fix at the position). Which recording is
// next is the Playlist's answer; the controller plays it.
//
// The application object creates it beside the playlist; the main window
// forwards its commands and slider messages here and shows what the
// controller reports: the play state, the recording opened, started and
// stopped (the video windows follow these), the position and what to redraw
// come as signals; the sliders, which the controller alone moves, through
// IPlaybackSliders, the plot through ILinePlot, message boxes through IPrompt.
// Tests drive it with fakes of each, without widgets.
//
// The sound switch also reflects the system's own mute, read through a
// VolumePath; the viewer never changes the system's mute or volume.
//
// Threading: every call and every signal is on the UI thread. The engine's
// error signal and the volume path's mute changes are emitted on the UI thread
// too (both queue what their own threads learn across). Nothing here waits:
// a recording opened while the engine still lets go of the last one opens
// when the engine reports it released.
#include "app/SystemSound.h"
#include "card/SnapshotExport.h"
#include "telemetry/GpsFixReadout.h"
#include "engine/PlaybackEngine.h"
#include "telemetry/RecordingTelemetry.h"

#include <QObject>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class DeviceConfig;
class ILinePlot;
class IFileDialogs;
class IPlaybackSliders;
class IPrompt;
class IVideoWindow;
class Playlist;
class SeekCoalescer;
class VolumePath;

// What the controller draws on; any of them may be null (that part is then
// not shown). They must outlive the controller or be handed in again as null.
struct PlaybackViews {
    IPlaybackSliders* sliders = nullptr;
    ILinePlot* plot = nullptr;
    IPrompt* prompt = nullptr;
};

class PlaybackController : public QObject {
    Q_OBJECT
public:
    // engine may be null (the program runs without playback). The playlist
    // and the config belong to the caller and outlive the controller.
    PlaybackController(std::unique_ptr<PlaybackEngine> engine, Playlist& playlist, const DeviceConfig& config,
                       QObject* parent = nullptr);
    ~PlaybackController() override;

    void SetViews(const PlaybackViews& views) { m_views = views; }
    // The engine's video windows (ids 401, 402, 605, 606), once.
    void SetVideoWindows(const std::array<IVideoWindow*, 4>& windows)
    {
        if (m_engine)
            m_engine->SetVideoWindows(windows);
    }
    void SetPrompt(IPrompt* prompt) { m_views.prompt = prompt; }
    // Asked after "Can not OpenFile" with the path that failed; it answers
    // through done, now or later: the path of a recovered copy to open and
    // play, or empty.
    using RecoveryOfferFn = std::function<void(const QString& path, std::function<void(const QString& recovered)> done)>;
    void SetRecoveryOffer(RecoveryOfferFn offer) { m_offerRecovery = std::move(offer); }

    // ---- state, read-only
    PlaybackEngine* engine() const { return m_engine.get(); }
    Playlist& playlist() const { return m_playlist; }
    const RecordingTelemetry& telemetry() const { return m_telemetry; }
    bool HasGraph() const;
    bool IsRunning() const;
    bool IsRunningOrPaused() const;
    // The graph exists but has nothing loaded (full screen waits for a recording).
    bool HasNoMedia() const;
    // 0 without a graph.
    std::chrono::milliseconds PositionMs() const;
    std::chrono::milliseconds DurationMs() const;
    // A recording waits for the engine to let go of the last one.
    bool OpenPending() const { return !m_pendingOpen.isEmpty(); }
    // The duration of the recording last started (100 until one starts).
    std::int32_t durationMs() const { return m_durationMs; }
    // Channel 1's picture size measured when the recording started, 0 × 0 when
    // it could not be grabbed.
    QSize firstPictureSize() const { return m_firstPictureSize; }
    QString currentFile() const { return m_currentFile; }
    int speedSetting() const { return m_speedSetting; }
    int volumePercent() const { return m_volumePercent; }
    bool isMuted() const { return m_muted; }
    bool swapVideo() const { return m_swapVideo; }
    bool mirrorHorizontal() const { return m_mirrorHorizontal; }
    bool flipVertical() const { return m_flipVertical; }
    // Without the map server the 350 ms tick leaves the map alone.
    bool isOffline() const { return m_offline; }
    void SetOffline(bool offline) { m_offline = offline; }

    // ---- the system's sound. Takes the volume path (null: there is none),
    // reads the system mute and the output volume once, waiting no longer
    // than the path's own bound, and follows the system mute from then on.
    // volumePercent(), which the volume slider shows and every graph plays,
    // becomes the output volume scaled to 0..99 (50 when it cannot be read).
    // Returns the sound switch's start state: sound on unless the system is
    // known to be muted, as the player itself starts unmuted.
    bool OpenSystemSound(std::unique_ptr<VolumePath> path);
    static constexpr int kUnknownSystemVolume = 50;
    static constexpr int kMaxVolume = 99; // the volume slider's top
    // The system's mute as last read (false when it could not be).
    bool systemMuted() const { return m_systemSound.muted(); }

    // ---- playing. Every way of starting a recording goes through PlayFile.
    // False (with a message box) when the file would not open or not run.
    // While the engine still lets go of the recording before, the file opens
    // once it has (true meanwhile; only the latest such file opens).
    bool PlayFile(const QString& path);
    // Paused: resume. Otherwise play the list's selected row of the shown category.
    void PlayCommand();
    void PauseCommand();
    void StopCommand();
    void PlayPrevious();
    void PlayNext();
    // The end of a recording: the next entry of the playing category without
    // the played mark; from the start with every mark cleared when none is left.
    void PlayNextUnplayed();
    // A double-clicked row of the shown category.
    void ActivateRow(int row);
    void StepBack();
    void StepForward();
    // I / Shift+I: to 2 s before the next / previous moment of impact of the
    // open recording, keeping the play state. False, and nothing moves, when
    // nothing is open or there is no impact that way (the ends do not wrap).
    static constexpr std::uint32_t kImpactLeadMs = 2000;
    bool NextImpact();
    bool PreviousImpact();
    // The change of the acceleration vector that counts as an impact, from the
    // viewer's settings; one that is not a positive number keeps the default.
    void SetImpactThreshold(double g);
    // How every open recording is let go (stop command, exit, a format, the
    // card's loss, another recording). One waiting to open is forgotten.
    void CloseRecording();
    // The card in use went away: what plays or is paused closes; a recording
    // already stopped stays as it is.
    void OnCardRemoved();
    // The repaint of the main window: the video windows follow it.
    void RepaintVideo();

    // The snapshot command: a running recording pauses for the capture and
    // the save dialog and runs again after; nothing unless one is running or
    // paused. Front: channel 1; rear: channel 2 when there is one.
    SnapshotReport SaveSnapshot(IFileDialogs& dialogs, IPrompt& prompt);

    // ---- a dialog over playback (open files, settings sheet). The pair keeps
    // a running recording paused while the dialog is up and resumes it after;
    // a paused one stays paused. PauseForDialog returns whether it was running.
    bool PauseForDialog();
    void ResumeAfterDialog(bool wasRunning);
    // Files named when the program starts: added like chosen ones, then the
    // first of them plays from the ALL list.
    void OpenAndPlayFiles(const QStringList& paths);


    // ---- picture, speed and sound
    // Exchanges the front and rear windows while running with two pictures;
    // true when it did (the window places its video windows and repaints the captions).
    bool SwapVideo();
    void ToggleMirror();
    void ToggleFlip();
    void SetMuted(bool muted);
    // Slider messages: the position slider moves (410/403), the volume slider
    // moves (412/405; trace: write the volume trace line, normal slider
    // only), the speed slider is let go (411/404). A dragged position slider
    // keeps at most one seek in flight (the latest position waits, the others
    // are dropped); letting it go seeks to the exact place.
    void PositionSliderMoving(int ms);
    void PositionSliderReleased(int ms);
    void VolumeSliderMoving(int percent, bool trace);
    void SpeedSliderMoved(int setting);

    // ---- ticks: timer 1 (300 ms) and timer 3 (350 ms), started once and
    // never stopped; the tests call the handlers directly.
    void StartTicks();
    void OnTimer1();
    void OnTimer3();
    // Whether the end of a recording may start the next one.
    bool AutoAdvanceAllowed() const { return m_autoAdvance; }
    void SetAutoAdvanceAllowed(bool allowed) { m_autoAdvance = allowed; }
    // The open recording was stopped by an error of its own.
    bool stoppedByError() const { return m_stoppedByError; }

    // The text shown when a recording breaks while it plays.
    static const QString kPlaybackFailedText;

signals:
    // The engine's state may have changed: play and pause buttons swap.
    void playStateChanged();
    // The 300 ms tick moved the position: redraw the time and g read-outs.
    void positionTicked();
    // The speed read-out shows speed in unit (SpeedUnit code).
    void speedReadout(int speed, int unit);
    // Each 350 ms tick that found the GPS fix for the position (Running or
    // Paused, the recording has fixes). showOnMap is false while offline;
    // fixIndex is the fix's place in the recording's track.
    void gpsFixReached(const GpsFixReadoutValues& fix, bool showOnMap, std::size_t fixIndex);
    // A recording was opened (the video windows show, also when it will not
    // run), started playing (they are placed for it), or playback was stopped
    // (or lost with the card: they hide).
    void recordingOpened(const QString& path);
    void recordingStarted(const QString& path);
    void recordingStopped();
    // Something the window paints from the controller changed: repaint all.
    void redrawRequested();

private slots:
    // The engine reported an error while a recording was open (bus message).
    void onEngineError(const QString& message);
    // The card went away: nothing of it plays or shows any more.
    void onLibraryReset();
    // The engine let go of the recording closed last: a waiting one opens.
    void onEngineReleased();

private:
    bool openAndRun(const QString& path);
    void play(const std::optional<QString>& path);
    // "Can not OpenFile": the file failed to open or its graph failed to build.
    void reportOpenFailure(const QString& path);
    void resetControls();
    void enableTransport(bool enabled);
    void clearPlot();
    // The moments of impact of the open recording on the position sliders and
    // the plot; shown when a recording's telemetry loads, cleared on close.
    void showImpactMarkers();
    bool jumpToImpact(int index);
    void setOrientation(DecoderParam param, bool on);
    void showSoundSwitch();

    std::unique_ptr<PlaybackEngine> m_engine;
    Playlist& m_playlist;
    const DeviceConfig& m_config;
    PlaybackViews m_views;
    RecoveryOfferFn m_offerRecovery;
    RecordingTelemetry m_telemetry;
    QTimer m_timer1;
    QTimer m_timer3;

    QString m_currentFile;
    std::int32_t m_durationMs = 100;
    QSize m_firstPictureSize;
    int m_speedSetting = 5;
    int m_volumePercent = 0;
    bool m_muted = false;
    bool m_swapVideo = false;
    bool m_mirrorHorizontal = false;
    bool m_flipVertical = false;
    bool m_offline = true;
    bool m_autoAdvance = true;

    // The recording the engine has open (also one that would not run).
    QString m_openFile;
    // The recording to open once the engine has let go of the last one.
    QString m_pendingOpen;
    bool m_stoppedByError = false;

    std::unique_ptr<SeekCoalescer> m_seeks;
    bool m_dragging = false;

    SystemSound m_systemSound;
};
