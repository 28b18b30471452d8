#pragma once
// The main window: a frameless, skinned 1130 x 640 window with rounded corners
// that owns every control of the program.
//
// Organisation:
// - The constructor sets the fields; LoadFrame() runs, in order, the style
//   adjustment (PreCreateWindow), OnCreateClient (skin bitmaps) and OnCreate
//   (every control, in the creation order of the window).
// - Every button and switch emits commandClicked(id) into dispatchCommand(id);
//   commands are registered in one table (registerCommand) keyed by command id.
//   RegisterCommands() fills it.
// - Slider messages (WM_SLIDER_MOVING / WM_SLIDER_MOVED) and MSG_SCAN_CARD /
//   MSG_LIST_RESET / MSG_SHELL_MEDIA arrive as posted events in event() and go to
//   OnSliderMoving / OnSliderMoved / OnScanCard / OnListReset / OnShellMedia.
// - Timers 1 (300 ms) and 3 (350 ms) call OnTimer1 / OnTimer3.
// - paintEvent draws through one CMemoryDC; ApplyLayout runs on every resize.
// - Every way of starting a recording goes through PlayFile; the card, the
//   library and the list come through CardMonitor / RecordingLibrary.
// - The fixed pauses go through `wait` (tests replace it); the map's position
//   update of the GPS tick goes through `showMapPosition` (empty until the map
//   exists); commands 325 (settings) and 326 (map) are registered and do nothing.
#include "app/SkinControlDef.h"
#include "config/DeviceConfig.h"
#include "library/RecordingTelemetry.h"
#include "skin/CVxBitmap.h"

#include <QColor>
#include <QRect>
#include <QSize>
#include <QTimer>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <unordered_map>

class CardMonitor;
class CHTMLListCtrl;
class CLinePlot;
class DriveProvider;
class HTMLListRecordingView;
class IFileDialogs;
class RecordingLibrary;
class VideoWindow;
struct HTMLLIST_NOTIFY;
class CVxAnalogMeter;
struct LayoutEntry;
class CVxButton;
class CVxSlider;
class CVxSwitch;
class IPrompt;
class PlaybackEngine;

// What the window gets from the application instead of creating it itself, so
// tests can hand in fakes.
struct MainFrameServices {
    IPrompt* prompt = nullptr;
    // The start-up media component check (1, or -1 .. -4).
    std::function<int()> checkMediaComponents;
    // Creates the playback engine; null until the engine exists.
    std::function<std::unique_ptr<PlaybackEngine>()> createEngine;
    // The machine's drives; the system's own provider when empty.
    std::function<std::unique_ptr<DriveProvider>()> createDriveProvider;
    // Open/save/folder dialogs; the desktop's own when null.
    IFileDialogs* fileDialogs = nullptr;
};

class CVxMainFrame : public QWidget {
    Q_OBJECT
public:
    explicit CVxMainFrame(MainFrameServices services, QWidget* parent = nullptr);
    ~CVxMainFrame() override;

    // Creates the window's contents; false when creation failed.
    bool LoadFrame();
    // The prompt may be made after the window (message boxes need an owner).
    void setPrompt(IPrompt* prompt) { m_services.prompt = prompt; }

    // The command table. Unknown ids are ignored.
    void dispatchCommand(int id);
    void registerCommand(int id, std::function<void()> handler);
    bool hasCommand(int id) const { return m_commands.count(id) != 0; }

    // Exit command: stops and closes the engine, lets pending messages run for
    // a second, releases the recording data, then closes the window.
    void OnAppExit();
    // Dispatches pending events until `ms` have passed.
    static void PumpMessagesFor(int ms);

    // ---- commands (also reached from the keyboard and the tick)
    bool PlayFile(const QString& path);
    void RefreshPlayPause();
    void ResetControls();
    void PlayCommand();
    void PauseCommand();
    void PlayPrevious();
    void PlayNext();
    void PlayNextUnplayed();
    void ActivateRow(int row);
    void StopCommand();
    void OpenFilesCommand();
    void SelectCategory(int category);
    void ToggleFullScreen();
    void EnterFullScreen();
    void LeaveFullScreen();
    void ToggleMirror();
    void ToggleFlip();
    void SwapVideo();
    void StepBack();
    void StepForward();
    void OnMuteSwitch();
    void OnSelectAllSwitch();
    void CopyRecordings();
    void DeleteRecordings();
    void SaveSnapshot();
    // Places the video windows for the mode, the swap flag and the play state.
    void PlaceVideoWindows();
    // The layout pass for a given client size (the size change calls it with
    // the window's own size).
    void ApplyLayoutFor(QSize client);
    // The rectangle full screen covers on this window's screen.
    QRect FullScreenTargetRect() const;

    // The fixed pauses of playback changes; they keep the window painting.
    // Tests replace it to run without waiting.
    std::function<void(int ms)> wait;
    // Stand-in hook for the map's position update of the 350 ms tick.
    std::function<void(double latitude, double longitude)> showMapPosition;

    static const std::array<SkinControlDef, 27>& ControlBarTable();
    static const std::array<SkinControlDef, 5>& CategoryTabTable();

    // ---- fixed geometry (client pixels, right/bottom exclusive in the tables;
    // QRect's right() is inclusive, so these are built from left/top/size)
    QRect videoRectA, videoRectB, captionFrontRect, captionRearRect;
    QRect headerDateRect, headerNameRect, headerTypeRect;
    QRect gReadoutX, gReadoutY, gReadoutZ;
    QRect speedLabelRect, positionSliderRect, speedSliderRect;
    QRect captionStripRect, savedWindowRect;
    QRect positionTimeRect, durationTimeRect, positionTimeRectFull, durationTimeRectFull, speedLabelRectFull;

    // ---- state
    int fullScreen = 0;
    int fullScreenControlsCreated = 0;
    int swapVideo = 0;
    int flipVertical = 0;
    int mirrorHorizontal = 0;
    std::int32_t durationMs = 100;
    QSize firstPictureSize;
    QSize secondPictureSize;
    int offline = 1;
    int newAudioApi = 0;
    int shellNotifyId = 0;
    int speedSetting = 5;
    int volumePercent = 0;
    int muted = 0;
    QString currentFile;

    // ---- owned objects (creation order)
    QColor backgroundBrush{17, 25, 34};
    RecordingTelemetry telemetry;
    std::unique_ptr<PlaybackEngine> engine;
    std::array<VideoWindow*, 4> videoWindows{};
    CVxSlider* positionSlider = nullptr;     // 410
    CVxSlider* fullPositionSlider = nullptr; // 403, created on the first full-screen entry
    CVxSlider* speedSlider = nullptr;        // 411
    CVxSlider* fullSpeedSlider = nullptr;    // 404
    CVxSlider* volumeSlider = nullptr;       // 412
    CVxSlider* fullVolumeSlider = nullptr;   // 405
    CVxSwitch* muteSwitch = nullptr;         // 438
    CVxSwitch* selectAllSwitch = nullptr;    // 439
    CVxAnalogMeter* speedMeter = nullptr;    // 458
    CLinePlot* linePlot = nullptr;           // 459
    CHTMLListCtrl* recordingList = nullptr;  // 415
    std::array<CVxButton*, 27> skinButtons{};
    std::array<CVxButton*, 5> categoryButtons{};
    CVxBitmap backgroundBitmap;
    std::array<CVxBitmap, 9> skinBitmaps;
    std::unique_ptr<RecordingLibrary> library;
    DeviceConfig config;
    std::unique_ptr<DriveProvider> drives;
    std::unique_ptr<HTMLListRecordingView> listView;
    std::unique_ptr<CardMonitor> cardMonitor;

protected:
    // Creation steps.
    virtual void PreCreateWindow();
    virtual void OnCreateClient();
    virtual int OnCreate();
    virtual void RegisterCommands();

    // Message and timer handlers, filled by the command and tick code.
    virtual void OnSliderMoving(int id, int pos);
    virtual void OnSliderMoved(int id, int pos);
    virtual void OnScanCard();
    virtual void OnListReset();
    virtual void OnShellMedia();
    virtual void OnTimer1();
    virtual void OnTimer3();

    // Painting and layout.
    virtual void ApplyLayout();
    virtual void PaintNormal(QPainter& dc);
    virtual void PaintFullScreen(QPainter& dc);

    // Start-up hooks for the parts that do not exist yet. Each returns what
    // the missing piece reports when absent.
    virtual bool CheckMapServer();                  // map server reachable
    virtual int QueryWaveOutVolume();               // 0..0xFFFF, or -1
    virtual bool ReadSystemMute(bool& muted);       // false when the volume path is unavailable
    virtual void ReleaseRecordingData();            // GPS and acceleration records
    virtual void DestroyRecordingList();            // the list window and the entries
    virtual void DestroyMapPopup();

    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

    MainFrameServices m_services;

private:
    QWidget* childByControlId(int id) const;
    bool runningOrPaused() const;
    bool isRunning() const;
    void onListNotify(const HTMLLIST_NOTIFY& nm);
    void setSlidersEnabled(bool enabled);
    void showCategoryTabs(int category);
    void onLibraryReset();
    void clearMarks(int category);
    IFileDialogs& fileDialogs();
    void drawText(QPainter& dc, const QRect& r, const QString& text, int pixelSize, int weight, QRgb colour,
                  Qt::Alignment align) const;
    void paintOverlayTimes(QPainter& dc, const QRect& positionRect, const QRect& durationRect, bool position,
                           bool duration);

    std::unique_ptr<IFileDialogs> m_ownDialogs;
    void applyLayoutEntry(QWidget* w, const LayoutEntry& e);
    void createButtonTable(const SkinControlDef* rows, std::size_t count, CVxButton** out, int layout);

    std::unordered_map<int, std::function<void()>> m_commands;
    QTimer m_timer1;
    QTimer m_timer3;
};
