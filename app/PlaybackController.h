#pragma once
// The playback side of the main window, without widgets: which recording
// plays and how it got there (PlayFile and the commands that lead to it),
// previous / next / automatic advance through the playing category, the
// speed, volume and picture flags, the category lists shown in the recording
// list, and the two ticks (300 ms: position and end of recording; 350 ms: the
// GPS fix at the position).
//
// The main window owns one controller, forwards its commands and slider
// messages here and shows what the controller reports: the controller drives
// the sliders and video windows through IPlaybackSliders / IVideoArea, the
// plot through ILinePlot, the list through the library's IRecordingListView,
// message boxes through IPrompt, and tells the window what to redraw through
// its signals. Tests drive it with fakes of each, without widgets.
//
// The sound switch also reflects the system's own mute, read through a
// VolumePath; the viewer never changes the system's mute or volume.
//
// Threading: every call and every signal is on the UI thread. The engine's
// error signal and the volume path's mute changes are emitted on the UI thread
// too (both queue what their own threads learn across). The waits block the
// caller while the event loop keeps painting (user input is held back).
#include "telemetry/GpsFixReadout.h"
#include "telemetry/RecordingTelemetry.h"

#include <QObject>
#include <QSet>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <memory>

class DeviceConfig;
class ILinePlot;
class IPlaybackSliders;
class IPrompt;
class IRecordingListView;
class IVideoArea;
class PlaybackEngine;
class RecordingLibrary;
class SeekCoalescer;
class VolumePath;

// What the controller draws on; any of them may be null (that part is then
// not shown). They must outlive the controller or be handed in again as null.
struct PlaybackViews {
    IVideoArea* video = nullptr;
    IPlaybackSliders* sliders = nullptr;
    ILinePlot* plot = nullptr;
    IPrompt* prompt = nullptr;
};

class PlaybackController : public QObject {
    Q_OBJECT
public:
    // engine may be null (the program runs without playback). The library and
    // the config belong to the caller and outlive the controller.
    PlaybackController(std::unique_ptr<PlaybackEngine> engine, RecordingLibrary& library, const DeviceConfig& config,
                       QObject* parent = nullptr);
    ~PlaybackController() override;

    void SetViews(const PlaybackViews& views) { m_views = views; }
    void SetPrompt(IPrompt* prompt) { m_views.prompt = prompt; }
    // The fixed pauses of playback changes (500 ms before reopening, 1000 ms
    // after stopping). Tests replace it to run without waiting.
    void SetWait(std::function<void(int ms)> wait) { m_wait = std::move(wait); }
    // Asked after "Can not OpenFile" with the path that failed: the path of a
    // recovered copy to open and play, or empty.
    void SetRecoveryOffer(std::function<QString(const QString& path)> offer) { m_offerRecovery = std::move(offer); }
    void Wait(int ms) const;

    // ---- state, read-only
    PlaybackEngine* engine() const { return m_engine.get(); }
    const RecordingTelemetry& telemetry() const { return m_telemetry; }
    bool HasGraph() const;
    bool IsRunning() const;
    bool IsRunningOrPaused() const;
    // 0 without a graph.
    std::uint64_t PositionMs() const;
    std::uint64_t DurationMs() const;
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
    bool systemMuted() const { return m_systemMuted; }

    // ---- playing. Every way of starting a recording goes through PlayFile.
    // False (with a message box) when the file would not open or not run.
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
    // Stops and closes whatever is open (exit, card loss).
    void CloseRecording();

    // ---- a dialog over playback (open files, settings sheet). The pair keeps
    // a running recording paused while the dialog is up and resumes it after;
    // a paused one stays paused. PauseForDialog returns whether it was running.
    bool PauseForDialog();
    void ResumeAfterDialog(bool wasRunning);
    // The chosen files of the open-files dialog go into ALL and their own
    // category; nothing starts playing.
    void AddOpenedFiles(const QStringList& paths, bool wasRunning);
    // Files named when the program starts: added like chosen ones, then the
    // first of them plays from the ALL list.
    void OpenAndPlayFiles(const QStringList& paths);

    // ---- the recording list: which category it shows, with each category's
    // selected row and scroll position kept across switches.
    void SelectCategory(int category);

    // ---- picture, speed and sound
    // Exchanges the front and rear windows while running with two pictures;
    // true when it did (the window repaints its captions).
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
    // A recording that would not open or run, or broke while playing, is
    // marked failed until it plays: the automatic advance passes it by, a
    // recording the user picks is always tried.
    bool IsFailed(const QString& path) const;
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
    // A recording started playing / playback was stopped (or lost with the card).
    void recordingStarted(const QString& path);
    void recordingStopped();
    // The category tabs: all five show category (−1: none), or only tab
    // category is pressed and the others keep their look.
    void categoryTabsShow(int category);
    void categoryTabPressed(int category);
    // Something the window paints from the controller changed: repaint all.
    void redrawRequested();

private slots:
    // The engine reported an error while a recording was open (bus message).
    void onEngineError(const QString& message);
    // The system's mute changed: only the switch follows.
    void onSystemMuteChanged(bool muted);
    // The card went away: nothing of it plays or shows any more.
    void onLibraryReset();

private:
    IRecordingListView* list() const;
    // Stop, back to the start, stop, close: how every open recording is let go.
    void stopAndClose();
    // "Can not OpenFile": the file failed to open or its graph failed to build.
    void reportOpenFailure(const QString& path);
    void resetControls();
    void enableTransport(bool enabled);
    void clearPlot();
    // The moments of impact of the open recording on the position sliders and
    // the plot; shown when a recording's telemetry loads, cleared on close.
    void showImpactMarkers();
    bool jumpToImpact(int index);
    void clearMarks(int category);
    void setDecoderParam(int param, int value);
    bool playEntry(int category, int row);
    void setFailed(const QString& path, bool failed);
    bool entryFailed(int category, int row) const;
    void showSoundSwitch();

    std::unique_ptr<PlaybackEngine> m_engine;
    RecordingLibrary& m_library;
    const DeviceConfig& m_config;
    PlaybackViews m_views;
    std::function<void(int ms)> m_wait;
    std::function<QString(const QString& path)> m_offerRecovery;
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
    bool m_stoppedByError = false;
    // Case-folded paths of recordings marked failed.
    QSet<QString> m_failed;

    std::unique_ptr<SeekCoalescer> m_seeks;
    bool m_dragging = false;

    std::unique_ptr<VolumePath> m_volumePath;
    bool m_systemMuted = false;
};
