#pragma once
// The main window: a frameless, skinned 1130 x 640 window with rounded corners
// that creates and lays out every control of the program. It is a view: what
// plays, the ticks and the list logic are the PlaybackController's.
//
// - LoadFrame() runs the style adjustment, loads the skin bitmaps and creates
//   every control in the window's creation order (OnCreate).
// - Every button and switch emits commandClicked(id) into dispatchCommand(id);
//   RegisterCommands() binds each command id to a controller call or a window
//   action (full screen, dialogs, file operations).
// - Slider messages (WM_SLIDER_MOVING / WM_SLIDER_MOVED) and MSG_SCAN_CARD /
//   MSG_LIST_RESET / MSG_SHELL_MEDIA arrive as posted events in event().
// - The window implements the controller's IVideoArea and IPlaybackSliders and
//   repaints from its signals; paintEvent draws through one CMemoryDC and the
//   layout pass (ApplyLayoutFor) runs on every resize, in both modes.
#include "app/IPlaybackSliders.h"
#include "app/IVideoArea.h"
#include "app/MainFramePainter.h"
#include "base/ControlIds.h"
#include "config/DeviceConfig.h"
#include "mp4/RecordingRecovery.h"

#include <QRect>
#include <QSize>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <unordered_map>

class CardFormatter;
class CardMonitor;
class RecoveryProgressRunner;
class SettingsCommand;
struct SettingsSheetContext;
class CHTMLListCtrl;
class CLinePlot;
class CVxAnalogMeter;
class CVxButton;
class CVxSlider;
class CVxSwitch;
class DriveProvider;
class HTMLListRecordingView;
class IClipEncoder;
class IFileDialogs;
class IncidentExportDialogs;
class IncidentExportFlow;
class IMapPopup;
class MapConfig;
class MapPopupLink;
class IPrompt;
class PlaybackController;
class PlaybackEngine;
class RecordingLibrary;
class VideoWindow;
class VolumePath;
struct HTMLLIST_NOTIFY;
struct SkinControlDef;
struct LayoutEntry;

// What the window gets from the application instead of creating it itself, so
// tests can hand in fakes.
struct MainFrameServices {
    IPrompt* prompt = nullptr;
    // The start-up media component check (1, or -1 .. -4).
    std::function<int()> checkMediaComponents;
    // Creates the playback engine; the window runs without playback when empty.
    std::function<std::unique_ptr<PlaybackEngine>()> createEngine;
    // The machine's drives; the system's own provider when empty.
    std::function<std::unique_ptr<DriveProvider>()> createDriveProvider;
    // Open/save/folder dialogs; the desktop's own when null.
    IFileDialogs* fileDialogs = nullptr;
    // The system's sound output (mute and volume, read only); none when empty.
    std::function<std::unique_ptr<VolumePath>()> createVolumePath;
    // Runs the settings sheet modally; true when closed with OK. Empty: the sheet itself.
    std::function<bool(SettingsSheetContext&)> runSettingsSheet;
    // What recovering a cut recording decodes with; no recovery is offered when empty.
    std::function<RecordingRecovery::Codecs()> recoveryCodecs;
    // Formats the card; UDisks2 on the system bus when empty.
    std::function<std::unique_ptr<CardFormatter>()> createCardFormatter;
    // The encoder of one incident clip; empty or null: this machine cannot export.
    std::function<std::unique_ptr<IClipEncoder>()> createClipEncoder;
    // Creates the map pop-up (hidden) for the map configuration; no map when empty.
    std::function<std::unique_ptr<IMapPopup>(const MapConfig&)> createMapPopup;
};

class CVxMainFrame : public QWidget, private IVideoArea, private IPlaybackSliders {
    Q_OBJECT
public:
    explicit CVxMainFrame(MainFrameServices services, QWidget* parent = nullptr);
    ~CVxMainFrame() override;

    // Creates the window's contents; false when creation failed.
    bool LoadFrame();
    // The prompt may be made after the window (message boxes need an owner).
    void setPrompt(IPrompt* prompt);

    // The command table. Buttons and switches report their id as an int;
    // unknown ids are ignored.
    void dispatchCommand(int id);
    void dispatchCommand(CommandId id);
    void registerCommand(CommandId id, std::function<void()> handler);
    bool hasCommand(CommandId id) const { return m_commands.count(IdOf(id)) != 0; }

    // Exit command: stops and closes the engine, lets pending messages run for
    // a second, destroys the list window, then closes the window.
    void OnAppExit();
    // Dispatches pending events until `ms` have passed.
    static void PumpMessagesFor(int ms);

    void OpenFilesCommand();
    void ToggleFullScreen();
    void EnterFullScreen();
    void LeaveFullScreen();
    void CopyRecordings();
    void DeleteRecordings();
    void SaveSnapshot();
    // Ctrl+E: the incident clip of the open recording around the position.
    void ExportIncident();
    IncidentExportFlow* incidentExport() const { return m_exportFlow.get(); }
    void CreateSettingsCommand();
    void OfferRecoveries();
    // The layout pass for a given client size (the size change calls it with
    // the window's own size).
    void ApplyLayoutFor(QSize client);
    // The rectangle full screen covers on this window's screen.
    QRect FullScreenTargetRect() const;

    // ---- read-only views for the application and tests
    PlaybackController& controller() const { return *m_controller; }
    RecordingLibrary& library() const { return *m_library; }
    CHTMLListCtrl* recordingList() const { return m_recordingList; }
    CVxButton* skinButton(int row) const { return m_skinButtons.at(std::size_t(row)); }
    CVxButton* categoryButton(int row) const { return m_categoryButtons.at(std::size_t(row)); }
    // 0..3: video windows 1 to 4.
    VideoWindow* videoWindow(int index) const { return m_videoWindows.at(std::size_t(index)); }
    CVxSlider* positionSlider() const { return m_positionSlider; }
    CVxSlider* speedSlider() const { return m_speedSlider; }
    CVxSlider* volumeSlider() const { return m_volumeSlider; }
    // Null until the first full-screen entry creates them.
    CVxSlider* fullPositionSlider() const { return m_fullPositionSlider; }
    CVxSlider* fullSpeedSlider() const { return m_fullSpeedSlider; }
    CVxSlider* fullVolumeSlider() const { return m_fullVolumeSlider; }
    CVxSwitch* muteSwitch() const { return m_muteSwitch; }
    CVxSwitch* selectAllSwitch() const { return m_selectAllSwitch; }
    CVxAnalogMeter* speedMeter() const { return m_speedMeter; }
    CLinePlot* linePlot() const { return m_linePlot; }
    // Null without a map, and after the exit command.
    IMapPopup* mapPopup() const { return m_mapPopup.get(); }
    bool isFullScreen() const { return m_fullScreen; }
    QRect captionStripRect() const { return m_captionStripRect; }
    QRect speedLabelRectFull() const { return m_speedLabelRectFull; }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    // IVideoArea
    void ShowVideoWindows(bool show) override;
    void PlaceVideoWindows() override;
    // IPlaybackSliders
    void SetPositionRange(int maximumMs) override;
    void SetPosition(int ms) override;
    void SetPositionMarkers(const std::vector<int>& ms) override;
    void SetSpeed(int setting) override;
    void SetVolume(int percent) override;
    void EnableTransport(bool enabled) override;
    void SetSoundSwitch(bool soundOn) override;

    int OnCreate();
    void RegisterCommands();
    void OnSliderMoving(int id);
    void OnSliderMoved(int id);
    void RefreshPlayPause();

    QWidget* childByControlId(int id) const;
    void onListNotify(const HTMLLIST_NOTIFY& nm);
    void showCategoryTabs(int category);
    IFileDialogs& fileDialogs();
    void applyLayoutEntry(QWidget* w, const LayoutEntry& e);
    void createButtonTable(const SkinControlDef* rows, std::size_t count, CVxButton** out, int layout);
    CVxSlider* makeSlider(ControlId id, const QRect& r, int channel, int thumb, int min, int max, int pos);

    MainFrameServices m_services;
    std::unique_ptr<IFileDialogs> m_ownDialogs;
    std::unordered_map<int, std::function<void()>> m_commands;

    // Geometry kept up to date by the layout pass (client pixels).
    QRect m_captionStripRect, m_savedWindowRect;
    QRect m_positionTimeRect, m_durationTimeRect, m_positionTimeRectFull, m_durationTimeRectFull;
    QRect m_speedLabelRectFull;
    bool m_fullScreen = false;

    // Owned objects, in creation order; the widgets are children.
    std::unique_ptr<RecordingLibrary> m_library;
    DeviceConfig m_config;
    std::unique_ptr<PlaybackController> m_controller;
    std::unique_ptr<DriveProvider> m_drives;
    std::unique_ptr<HTMLListRecordingView> m_listView;
    std::unique_ptr<CardMonitor> m_cardMonitor;
    std::unique_ptr<CardFormatter> m_cardFormatter;
    std::unique_ptr<SettingsCommand> m_settings;
    std::unique_ptr<RecoveryProgressRunner> m_recoveryRunner;
    // Gone before the controller it listens to.
    std::unique_ptr<IMapPopup> m_mapPopup;
    std::unique_ptr<MapPopupLink> m_mapLink;
    std::array<VideoWindow*, 4> m_videoWindows{};
    CVxSlider* m_positionSlider = nullptr;     // 410
    CVxSlider* m_fullPositionSlider = nullptr; // 403, created on the first full-screen entry
    CVxSlider* m_speedSlider = nullptr;        // 411
    CVxSlider* m_fullSpeedSlider = nullptr;    // 404
    CVxSlider* m_volumeSlider = nullptr;       // 412
    CVxSlider* m_fullVolumeSlider = nullptr;   // 405
    CVxSwitch* m_muteSwitch = nullptr;         // 438
    CVxSwitch* m_selectAllSwitch = nullptr;    // 439
    CVxAnalogMeter* m_speedMeter = nullptr;    // 458
    CLinePlot* m_linePlot = nullptr;           // 459
    CHTMLListCtrl* m_recordingList = nullptr;  // 415
    std::array<CVxButton*, 27> m_skinButtons{};
    std::array<CVxButton*, 5> m_categoryButtons{};
    MainFramePainter m_painter;
    // Made at the first export; the flow goes first (it cancels a running job).
    std::unique_ptr<IncidentExportDialogs> m_exportDialogs;
    std::unique_ptr<IncidentExportFlow> m_exportFlow;
};
