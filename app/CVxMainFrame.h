#pragma once
// The main window: a frameless, skinned 1130 x 640 window with rounded corners
// that creates and lays out every control of the program. It is a view over
// the ViewerCore the application object made: what plays and the ticks are the
// PlaybackController's, what plays next and the lists the Playlist's.
//
// - LoadFrame() runs the style adjustment, loads the skin bitmaps and creates
//   every control in the window's creation order (OnCreate).
// - Every button and switch emits commandClicked(id) into dispatchCommand(id);
//   RegisterCommands() binds each command id to a controller call or a window
//   action (full screen, dialogs, file operations).
// - Slider messages (WM_SLIDER_MOVING / WM_SLIDER_MOVED) and MSG_SCAN_CARD /
//   MSG_LIST_RESET / MSG_SHELL_MEDIA arrive as posted events in event(); the
//   card messages go on to the core.
// - The window shows, places and hides its video windows and repaints from
//   the controller's signals; its sliders (MainFrameSliders) are the
//   controller's IPlaybackSliders; the file commands are MainFrameFileCommands.
//   paintEvent draws through one CMemoryDC and the layout pass
//   (ApplyLayoutFor) runs on every resize, in both modes.
#include "app/MainFrameFileCommands.h"
#include "app/MainFramePainter.h"
#include "app/MainFrameServices.h"
#include "app/MainFrameSliders.h"
#include "base/ControlIds.h"

#include <QRect>
#include <QSize>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <unordered_map>

class CHTMLListCtrl;
class CLinePlot;
class CVxAnalogMeter;
class CVxButton;
class CVxSlider;
class CVxSwitch;
class HTMLListRecordingView;
class IMapPopup;
class MapPopupLink;
class IPrompt;
class PlaybackController;
class RecordingLibrary;
class VideoWindow;
class ViewerCore;
struct HTMLLIST_NOTIFY;
struct SkinControlDef;
struct LayoutEntry;

class CVxMainFrame : public QWidget {
    Q_OBJECT
public:
    // The core outlives the window.
    CVxMainFrame(ViewerCore& core, MainFrameServices services, QWidget* parent = nullptr);
    ~CVxMainFrame() override;

    // Creates the window's contents; false when creation failed.
    bool LoadFrame();
    // The prompt may be made after the window (message boxes need an owner).
    void setPrompt(IPrompt* prompt);

    // The command table. Buttons and switches report their id as an int;
    // unknown ids are ignored.
    void dispatchCommand(int id);
    void dispatchCommand(CommandId id) { dispatchCommand(IdOf(id)); }
    void registerCommand(CommandId id, std::function<void()> handler) { m_commands[IdOf(id)] = std::move(handler); }
    bool hasCommand(CommandId id) const { return m_commands.count(IdOf(id)) != 0; }

    // Exit command: closes the recording (the engine lets go of it on a
    // thread of its own), destroys the list window, then closes the window.
    void OnAppExit();

    void ToggleFullScreen();
    void EnterFullScreen();
    void LeaveFullScreen();
    // Open files, copy, delete, snapshot, incident clip (Ctrl+E), recovery.
    MainFrameFileCommands& fileCommands() const { return *m_files; }
    // The layout pass for a given client size (the size change calls it with
    // the window's own size).
    void ApplyLayoutFor(QSize client);
    // The rectangle full screen covers on this window's screen.
    QRect FullScreenTargetRect() const;

    // ---- read-only views for the application and tests
    ViewerCore& core() const { return m_core; }
    PlaybackController& controller() const { return m_controller; }
    RecordingLibrary& library() const;
    CHTMLListCtrl* recordingList() const { return m_recordingList; }
    CVxButton* skinButton(int row) const { return m_skinButtons.at(std::size_t(row)); }
    CVxButton* categoryButton(int row) const { return m_categoryButtons.at(std::size_t(row)); }
    // 0..3: video windows 1 to 4.
    VideoWindow* videoWindow(int index) const { return m_videoWindows.at(std::size_t(index)); }
    CVxSlider* positionSlider() const { return m_sliders.position(); }
    CVxSlider* speedSlider() const { return m_sliders.speed(); }
    CVxSlider* volumeSlider() const { return m_sliders.volume(); }
    // Null until the first full-screen entry creates them.
    CVxSlider* fullPositionSlider() const { return m_sliders.fullPosition(); }
    CVxSlider* fullSpeedSlider() const { return m_sliders.fullSpeed(); }
    CVxSlider* fullVolumeSlider() const { return m_sliders.fullVolume(); }
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
    // Video windows 1 and 2 (3 and 4 stay hidden): shown or hidden, or placed
    // for the mode, the swap flag and the play state.
    void ShowVideoWindows(bool show);
    void PlaceVideoWindows();

    int OnCreate();
    void RegisterCommands();
    void RefreshPlayPause();

    QWidget* childByControlId(int id) const;
    void onListNotify(const HTMLLIST_NOTIFY& nm);
    void showCategoryTabs(int category);
    void applyLayoutEntry(QWidget* w, const LayoutEntry& e);
    void createButtonTable(const SkinControlDef* rows, std::size_t count, CVxButton** out, int layout);

    MainFrameServices m_services;
    std::unordered_map<int, std::function<void()>> m_commands;

    // Geometry kept up to date by the layout pass (client pixels).
    QRect m_captionStripRect, m_savedWindowRect;
    QRect m_positionTimeRect, m_durationTimeRect, m_positionTimeRectFull, m_durationTimeRectFull;
    QRect m_speedLabelRectFull;
    bool m_fullScreen = false;

    ViewerCore& m_core;
    PlaybackController& m_controller;
    // Owned objects, in creation order; the widgets are children.
    MainFrameSliders m_sliders;
    std::unique_ptr<MainFrameFileCommands> m_files;
    std::unique_ptr<HTMLListRecordingView> m_listView;
    // Gone before the controller it listens to.
    std::unique_ptr<IMapPopup> m_mapPopup;
    std::unique_ptr<MapPopupLink> m_mapLink;
    std::array<VideoWindow*, 4> m_videoWindows{};
    CVxSwitch* m_muteSwitch = nullptr;         // 438
    CVxSwitch* m_selectAllSwitch = nullptr;    // 439
    CVxAnalogMeter* m_speedMeter = nullptr;    // 458
    CLinePlot* m_linePlot = nullptr;           // 459
    CHTMLListCtrl* m_recordingList = nullptr;  // 415
    std::array<CVxButton*, 27> m_skinButtons{};
    std::array<CVxButton*, 5> m_categoryButtons{};
    MainFramePainter m_painter;
};
