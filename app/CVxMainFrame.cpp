#include "app/CVxMainFrame.h"

#include "app/MainFrameLayout.h"
#include "app/MainFramePainter.h"
#include "app/MainFrameFileCommands.h"
#include "app/MainFrameTables.h"
#include "app/MapPopupLink.h"
#include "app/MediaComponentReport.h"
#include "base/ControlIds.h"
#include "base/Messages.h"
#include "app/PlaybackController.h"
#include "app/Playlist.h"
#include "app/StartupRegistry.h"
#include "app/SettingsCommand.h"
#include "app/ViewerCore.h"
#include "app/VideoPlacement.h"
#include "display/CLinePlot.h"
#include "display/CVxAnalogMeter.h"
#include "display/IMapPopup.h"
#include "display/MapConfig.h"
#include "display/VideoWindow.h"
#include "engine/VolumePath.h"
#include "listctrl/CHTMLListCtrl.h"
#include "config/CPlayerSetting.h"
#include "card/CardMonitor.h"
#include "listctrl/HTMLLIST_NOTIFY.h"
#include "card/HTMLListRecordingView.h"
#include "card/RecordingLibrary.h"
#include "card/SystemDriveProvider.h"
#include "skin/CMemoryDC.h"
#include "skin/CVxButton.h"
#include "skin/CVxSlider.h"
#include "skin/CVxSwitch.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QSettings>
#include <QWindow>
#include <vector>

namespace {

// (l, t)-(r, b) with exclusive right and bottom edges.
constexpr QRect R(int l, int t, int r, int b)
{
    return QRect(l, t, r - l, b - t);
}

QString text(const char* s)
{
    return s ? QCoreApplication::translate("CVxMainFrame", s) : QString();
}

} // namespace

CVxMainFrame::CVxMainFrame(ViewerCore& core, MainFrameServices services, QWidget* parent)
    : QWidget(parent), m_services(std::move(services)), m_core(core), m_controller(core.controller()),
      m_sliders(*this, m_controller), m_files(std::make_unique<MainFrameFileCommands>(*this, core, m_services))
{
    m_core.SetPrompt(m_services.prompt);
    m_controller.SetImpactThreshold(QSettings().value(QStringLiteral("impacts/thresholdG"), ImpactDetector::kDefaultThresholdG).toDouble());
    // The engine's construction stores the machine-wide flag the camera
    // maker's tools look for; an ordinary user cannot write it and that is fine.
    WriteMachineRegistryValues();
    setProperty("controlId", 0);
    // The map pop-up exists, hidden, from here to the exit command.
    if (m_services.createMapPopup) {
        const MapConfig mapConfig = MapConfig::Load();
        m_mapPopup = m_services.createMapPopup(mapConfig);
        if (m_mapPopup)
            m_mapLink = std::make_unique<MapPopupLink>(m_controller, m_core.config(), *m_mapPopup, mapConfig);
    }
}

CVxMainFrame::~CVxMainFrame()
{
    // The core stays: nothing of this window may be reached from it any more.
    m_controller.SetViews({});
    m_core.SetSettingsSheet({});
    m_core.library().SetListView(nullptr);
}

RecordingLibrary& CVxMainFrame::library() const
{
    return m_core.library();
}

void CVxMainFrame::setPrompt(IPrompt* prompt)
{
    m_services.prompt = prompt;
    m_core.SetPrompt(prompt);
}

bool CVxMainFrame::LoadFrame()
{
    // No caption, no sizing border, no maximise box: only the system menu and
    // minimising remain of the window decorations.
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint);
    setMinimumSize(1130, 640);
    // Every pixel is painted from the off-screen buffer; no erase first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    m_painter.LoadBitmaps(this);
    if (OnCreate() != 0)
        return false;
    resize(1130, 640);
    ApplyLayoutFor(size());
    return true;
}

void CVxMainFrame::createButtonTable(const SkinControlDef* rows, std::size_t count, CVxButton** out, int layout)
{
    for (std::size_t i = 0; i < count; ++i) {
        const SkinControlDef& row = rows[i];
        auto* button = new CVxButton(this);
        button->LoadSkin(row.bitmapId);
        button->CreateSkinButton(row.commandId, row.x, row.y, this, text(row.label), ButtonLayout(layout));
        button->SetTooltipText(text(row.tooltip));
        connect(button, &CVxButton::commandClicked, this, qOverload<int>(&CVxMainFrame::dispatchCommand));
        out[i] = button;
    }
}

int CVxMainFrame::OnCreate()
{
    PlaybackController& c = m_controller;
    // The decoder's per-user values.
    WriteDecoderRegistryValues();

    // Buttons: the control bar, then the category tabs. Directly after
    // creation only the play button of the transport pair is visible.
    createButtonTable(MainFrameTables::ControlBar().data(), MainFrameTables::ControlBar().size(), m_skinButtons.data(), int(ButtonLayout::Bar));
    for (int row : {4, 24, 8, 11, 10, 12, 14})
        m_skinButtons[row]->hide();
    m_skinButtons[3]->show();
    createButtonTable(MainFrameTables::CategoryTabs().data(), MainFrameTables::CategoryTabs().size(), m_categoryButtons.data(), int(ButtonLayout::Tab));

    // Video windows 1 to 4, hidden until a recording plays.
    const ControlId videoIds[4] = {ControlId::VideoWindow1, ControlId::VideoWindow2, ControlId::VideoWindow3,
                                   ControlId::VideoWindow4};
    for (int i = 0; i < 4; ++i) {
        auto* w = new VideoWindow(IdOf(videoIds[i]), this);
        w->setObjectName(QStringLiteral("videoWindow%1").arg(i + 1));
        w->setProperty("controlId", IdOf(videoIds[i]));
        w->hide();
        m_videoWindows[i] = w;
    }
    m_videoWindows[0]->setGeometry(VideoPlacement::NormalRectA());
    m_videoWindows[1]->setGeometry(VideoPlacement::NormalRectB());

    // The map is driven once its server is known to answer; the check never
    // holds up the window.
    c.SetOffline(true);
    if (m_mapLink)
        m_mapLink->StartCheck();

    m_sliders.CreateTransport();

    m_speedMeter = new CVxAnalogMeter(this);
    m_speedMeter->setGeometry(R(18, 558, 140, 630));
    m_speedMeter->show();

    m_muteSwitch = new CVxSwitch(this, IdOf(ControlId::MuteSwitch), R(34, 489, 52, 504));
    m_muteSwitch->SetBitmap(176);
    connect(m_muteSwitch, &CVxSwitch::commandClicked, this, qOverload<int>(&CVxMainFrame::dispatchCommand));
    m_selectAllSwitch = new CVxSwitch(this, IdOf(ControlId::SelectAllSwitch), R(709, 409, 739, 432));
    m_selectAllSwitch->SetBitmap(179);
    m_selectAllSwitch->SetState(1);
    connect(m_selectAllSwitch, &CVxSwitch::commandClicked, this, qOverload<int>(&CVxMainFrame::dispatchCommand));

    m_linePlot = new CLinePlot(this);
    m_linePlot->setGeometry(R(207, 565, 696, 622));
    m_linePlot->show();

    // The switch shows sound off only while the system is known to be muted
    // (the player itself starts unmuted); the volume slider starts at the
    // system output's level. The sound server gets a short bound at most.
    const bool soundOn = c.OpenSystemSound(m_services.createVolumePath ? m_services.createVolumePath() : nullptr);
    m_muteSwitch->SetState(soundOn ? 1 : 0);
    m_sliders.CreateVolume(m_muteSwitch);

    // The recording list, with the check-box column.
    m_recordingList = new CHTMLListCtrl(this);
    m_recordingList->Create(this, R(709, 432, 1122, 632));
    m_recordingList->SetStyle(3);
    m_files->SetList(m_recordingList);
    connect(m_recordingList, &CHTMLListCtrl::notify, this, &CVxMainFrame::onListNotify);
    m_listView = std::make_unique<HTMLListRecordingView>(*m_recordingList);
    m_core.library().SetListView(m_listView.get());
    connect(&m_core.library(), &RecordingLibrary::categoryShown, this, &CVxMainFrame::showCategoryTabs);
    // Read from the card at a scan, or changed by the settings sheet: with
    // nothing playing the read-out shows 0 in the new unit.
    connect(&m_core.cardMonitor(), &CardMonitor::settingsLoaded, this,
            [this] { m_speedMeter->SetVelo(0, m_core.config().live.speedUnit); });
    connect(&m_core, &ViewerCore::speedReadoutReset, m_speedMeter, [this](int unit) { m_speedMeter->SetVelo(0, unit); });
    connect(&m_core, &ViewerCore::settingsChanged, this, [this] {
        if (m_mapLink)
            m_mapLink->SettingsChanged();
        update();
    });
    m_core.SetSettingsSheet([this](SettingsSheetContext& context) {
        if (m_services.runSettingsSheet)
            return m_services.runSettingsSheet(context);
        CPlayerSetting sheet(context, this);
        return sheet.exec() == QDialog::Accepted;
    });
    m_files->OfferRecoveries();

    // The controller drives the window from here on.
    c.SetViews(PlaybackViews{&m_sliders, m_linePlot, m_services.prompt});
    connect(&c, &PlaybackController::recordingOpened, this, [this] { ShowVideoWindows(true); });
    connect(&c, &PlaybackController::recordingStarted, this, &CVxMainFrame::PlaceVideoWindows);
    connect(&c, &PlaybackController::recordingStopped, this, [this] { ShowVideoWindows(false); });
    connect(&c, &PlaybackController::playStateChanged, this, &CVxMainFrame::RefreshPlayPause);
    connect(&c, &PlaybackController::positionTicked, this, [this] {
        update(m_fullScreen ? m_positionTimeRectFull : m_positionTimeRect);
        if (!m_fullScreen) {
            for (int axis = 0; axis < 3; ++axis)
                update(MainFramePainter::GReadoutRect(axis));
        }
    });
    connect(&c, &PlaybackController::speedReadout, m_speedMeter, &CVxAnalogMeter::SetVelo);
    connect(&c, &PlaybackController::redrawRequested, this, [this] { update(); });
    connect(&m_core.playlist(), &Playlist::categoryTabsShow, this, &CVxMainFrame::showCategoryTabs);
    connect(&m_core.playlist(), &Playlist::categoryTabPressed, this,
            [this](int category) { m_categoryButtons.at(std::size_t(category))->SetChecked(true); });
    c.SetVideoWindows({m_videoWindows[0], m_videoWindows[1], m_videoWindows[2], m_videoWindows[3]});

    // Outside media components; a missing one never stops start-up.
    if (m_services.checkMediaComponents) {
        const int result = m_services.checkMediaComponents();
        if (m_services.prompt)
            ReportMediaComponents(result, *m_services.prompt);
    }

    // The ticks and the deferred first card scan. Media insertion and removal
    // reach the card monitor through the drive provider's own signals.
    c.StartTicks();
    QCoreApplication::postEvent(this, new QEvent(QEvent::Type(MSG_SCAN_CARD)));

    // The shortcuts reach the window wherever the pointer is.
    setFocusPolicy(Qt::StrongFocus);
    setWindowTitle(QStringLiteral("Halcyon Deck"));
    RegisterCommands();
    return 0;
}

void CVxMainFrame::RegisterCommands()
{
    PlaybackController* c = &m_controller;
    Playlist* playlist = &m_core.playlist();
    const std::pair<std::vector<CommandId>, std::function<void()>> table[] = {
        {{CommandId::PreviousFile, CommandId::PreviousFileFull}, [c] { c->PlayPrevious(); }},
        {{CommandId::Play, CommandId::PlayFull}, [c] { c->PlayCommand(); }},
        {{CommandId::Stop, CommandId::StopFull}, [c] { c->StopCommand(); }},
        {{CommandId::Pause, CommandId::PauseFull}, [c] { c->PauseCommand(); }},
        {{CommandId::NextFile, CommandId::NextFileFull}, [c] { c->PlayNext(); }},
        {{CommandId::StepBack, CommandId::StepBackFull}, [c] { c->StepBack(); }},
        {{CommandId::StepForward, CommandId::StepForwardFull}, [c] { c->StepForward(); }},
        {{CommandId::OpenFiles}, [this] { m_files->OpenFiles(); }},
        {{CommandId::CopyRecordings}, [this] { m_files->Copy(); }},
        {{CommandId::DeleteRecordings}, [this] { m_files->Delete(); }},
        {{CommandId::Snapshot}, [this] { m_files->Snapshot(); }},
        {{CommandId::Settings}, [this] { m_core.settings().Run(); }},
        {{CommandId::Map}, [this] {
             if (m_mapPopup)
                 m_mapPopup->ToggleShown();
         }},
        {{CommandId::Minimize}, [this] { showMinimized(); }},
        {{CommandId::FullScreen, CommandId::RestoreSize}, [this] { ToggleFullScreen(); }},
        {{CommandId::Exit}, [this] { OnAppExit(); }},
        {{CommandId::SwapVideo, CommandId::SwapVideoFull}, [this, c] {
             if (c->SwapVideo()) {
                 PlaceVideoWindows();
                 update(MainFramePainter::CaptionFrontRect());
                 update(MainFramePainter::CaptionRearRect());
             }
         }},
        {{CommandId::Mirror}, [c] { c->ToggleMirror(); }},
        {{CommandId::Flip}, [c] { c->ToggleFlip(); }},
        {{CommandId::MuteSwitch}, [this, c] { c->SetMuted(m_muteSwitch->GetState() != 1); }},
        {{CommandId::SelectAllSwitch}, [this] {
             const int ticked = m_selectAllSwitch->GetState() == 0 ? 1 : 0;
             for (int r = 0; r < m_recordingList->GetRowCount(); ++r)
                 m_recordingList->SetRowTicked(r, ticked);
             m_recordingList->update();
         }},
        {{CommandId::Unused406, CommandId::Unused32772}, [] {}},
    };
    for (const auto& [ids, handler] : table)
        for (CommandId id : ids)
            registerCommand(id, handler);
    for (int category = 0; category < 5; ++category)
        registerCommand(CategoryCommand(category), [playlist, category] { playlist->SelectCategory(category); });
}

void CVxMainFrame::dispatchCommand(int id)
{
    auto it = m_commands.find(id);
    if (it != m_commands.end())
        it->second();
}

void CVxMainFrame::OnAppExit()
{
    // Closed while the window and its video windows still exist; the engine
    // lets go of the file on a thread of its own.
    m_controller.CloseRecording();
    // The map's browser goes while the application still runs.
    m_mapLink.reset();
    m_mapPopup.reset();
    // The list window goes before the main window.
    m_core.library().SetListView(nullptr);
    m_listView.reset();
    m_files->SetList(nullptr);
    delete m_recordingList;
    m_recordingList = nullptr;
    close();
}

bool CVxMainFrame::event(QEvent* e)
{
    switch (int(e->type())) {
    case WM_SLIDER_MOVING:
        m_sliders.OnMoving(static_cast<SliderEvent*>(e)->id);
        return true;
    case WM_SLIDER_MOVED:
        m_sliders.OnMoved(static_cast<SliderEvent*>(e)->id);
        return true;
    case MSG_SCAN_CARD:
    case MSG_LIST_RESET:
        QCoreApplication::sendEvent(&m_core, e);
        return true;
    case MSG_SHELL_MEDIA:
        // The drive provider follows mounts itself; a notice only asks for a look.
        if (auto* system = dynamic_cast<SystemDriveProvider*>(&m_core.drives()))
            system->Refresh();
        return true;
    default:
        return QWidget::event(e);
    }
}

// ---------------------------------------------------------------- the controller's views

void CVxMainFrame::ShowVideoWindows(bool show)
{
    m_videoWindows[0]->setVisible(show);
    m_videoWindows[1]->setVisible(show);
}

void CVxMainFrame::PlaceVideoWindows()
{
    const PlaybackController& c = m_controller;
    const VideoWindowPlacement p =
        VideoPlacement::Place(c.swapVideo(), m_fullScreen, c.IsRunningOrPaused(), size(), c.firstPictureSize());
    m_videoWindows[0]->setGeometry(p.window1);
    m_videoWindows[1]->setGeometry(p.window2);
    m_videoWindows[0]->setVisible(p.show1);
    m_videoWindows[1]->setVisible(p.show2);
    m_videoWindows[2]->hide();
    m_videoWindows[3]->hide();
}

void CVxMainFrame::RefreshPlayPause()
{
    for (const LayoutEntry& e : MainFrameLayout::PlayPauseRows(m_fullScreen, m_controller.IsRunning())) {
        if (e.key >= 0 && e.key < int(m_skinButtons.size()) && m_skinButtons[e.key])
            m_skinButtons[e.key]->setVisible(e.visibility == LayoutVisibility::Show);
    }
}

void CVxMainFrame::onListNotify(const HTMLLIST_NOTIFY& nm)
{
    if (nm.hdr.code == HTMLLIST_DBLCLK)
        m_controller.ActivateRow(nm.row);
}

void CVxMainFrame::showCategoryTabs(int category)
{
    for (int i = 0; i < 5; ++i) {
        m_categoryButtons[i]->SetChecked(i == category);
        m_categoryButtons[i]->update();
    }
}

// ---------------------------------------------------------------- layout and full screen

QWidget* CVxMainFrame::childByControlId(int id) const
{
    for (QObject* o : children()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (w && !w->isWindow() && w->property("controlId").toInt() == id)
            return w;
    }
    return nullptr;
}

void CVxMainFrame::applyLayoutEntry(QWidget* w, const LayoutEntry& e)
{
    if (!w)
        return; // a child that does not exist (yet) is skipped
    if (e.moveTo && e.resizeTo)
        w->setGeometry(QRect(*e.moveTo, *e.resizeTo));
    else if (e.moveTo)
        w->move(*e.moveTo);
    else if (e.resizeTo)
        w->resize(*e.resizeTo);
    switch (e.visibility) {
    case LayoutVisibility::Show: w->show(); break;
    case LayoutVisibility::Hide: w->hide(); break;
    case LayoutVisibility::Keep:
    case LayoutVisibility::ByPlayState: break; // RefreshPlayPause decides rows 3, 4, 10, 12
    }
}

void CVxMainFrame::ApplyLayoutFor(QSize client)
{
    if (client != size())
        resize(client);
    setMask(MainFrameLayout::WindowRegion(client));
    m_captionStripRect = MainFrameLayout::CaptionStripRect(client);
    if (!m_sliders.position())
        return; // not created yet
    const MainFrameLayoutResult r = m_fullScreen
        ? MainFrameLayout::FullScreen(client, m_sliders.fullPosition() ? m_sliders.fullPosition()->size() : QSize())
        : MainFrameLayout::Normal(client);
    if (m_fullScreen)
        m_speedLabelRectFull = r.speedLabelRectFull.value_or(m_speedLabelRectFull);
    PlaceVideoWindows();
    for (const LayoutEntry& e : r.rows)
        applyLayoutEntry(e.key >= 0 && e.key < int(m_skinButtons.size()) ? m_skinButtons[e.key] : nullptr, e);
    RefreshPlayPause();
    for (const LayoutEntry& e : r.children)
        applyLayoutEntry(childByControlId(e.key), e);
    m_muteSwitch->SetBitmap(r.muteSwitchBitmap);
    if (m_fullScreen) {
        m_positionTimeRectFull = r.positionTimeRect;
        m_durationTimeRectFull = r.durationTimeRect;
        if (r.enableSpeedSliderFull && m_sliders.fullSpeed()) {
            m_sliders.fullSpeed()->Enable(true);
            m_sliders.fullSpeed()->update();
        }
    } else {
        m_positionTimeRect = r.positionTimeRect;
        m_durationTimeRect = r.durationTimeRect;
    }
}

QRect CVxMainFrame::FullScreenTargetRect() const
{
    QScreen* s = screen();
    if (!s)
        s = QGuiApplication::primaryScreen();
    if (!s)
        return QRect(0, 0, 1130, 640);
    return MainFrameLayout::FullScreenTarget(s->availableGeometry(), s->geometry());
}

void CVxMainFrame::EnterFullScreen()
{
    if (m_controller.HasNoMedia())
        return;
    m_savedWindowRect = geometry();
    const QRect target = FullScreenTargetRect();
    // Made once, at the first entry, and kept for the window's life.
    m_sliders.CreateFullScreen(target);
    m_fullScreen = true;
    if (geometry() == target)
        ApplyLayoutFor(size()); // no size change would come
    else
        setGeometry(target);
    update();
}

void CVxMainFrame::LeaveFullScreen()
{
    if (!m_fullScreen)
        return;
    m_fullScreen = false;
    if (m_savedWindowRect.isValid() && geometry() != m_savedWindowRect)
        setGeometry(m_savedWindowRect);
    else
        ApplyLayoutFor(size());
    update();
}

void CVxMainFrame::ToggleFullScreen()
{
    if (!m_fullScreen)
        EnterFullScreen();
    else
        LeaveFullScreen();
}

void CVxMainFrame::resizeEvent(QResizeEvent* e)
{
    ApplyLayoutFor(size());
    QWidget::resizeEvent(e);
}

// ---------------------------------------------------------------- painting

void CVxMainFrame::paintEvent(QPaintEvent*)
{
    m_controller.RepaintVideo();
    QPainter target(this);
    CMemoryDC dc(target, rect(), QColor(0x36, 0x36, 0x36));
    if (m_fullScreen)
        m_painter.PaintFullScreen(dc.painter(), rect(), m_controller, m_positionTimeRectFull, m_durationTimeRectFull,
                                  m_speedLabelRectFull);
    else
        m_painter.PaintNormal(dc.painter(), rect(), m_controller, m_positionTimeRect, m_durationTimeRect);
}

// ---------------------------------------------------------------- mouse and keyboard

void CVxMainFrame::mousePressEvent(QMouseEvent* e)
{
    // Presses that reach the window itself are on its background: outside
    // full screen they move the window, as the caption of a framed window would.
    if (!m_fullScreen && e->button() == Qt::LeftButton && windowHandle()) {
        if (windowHandle()->startSystemMove())
            return;
    }
    QWidget::mousePressEvent(e);
}

void CVxMainFrame::mouseDoubleClickEvent(QMouseEvent* e)
{
    if (m_fullScreen && e->button() == Qt::LeftButton && m_captionStripRect.contains(e->position().toPoint()))
        LeaveFullScreen();
    QWidget::mouseDoubleClickEvent(e);
}

void CVxMainFrame::keyReleaseEvent(QKeyEvent* e)
{
    if (m_fullScreen && e->key() == Qt::Key_Escape && !e->isAutoRepeat())
        LeaveFullScreen();
    QWidget::keyReleaseEvent(e);
}

void CVxMainFrame::keyPressEvent(QKeyEvent* e)
{
    // Shortcuts only reach the commands the buttons have.
    const bool ctrl = e->modifiers() & Qt::ControlModifier;
    switch (e->key()) {
    case Qt::Key_Space:
        dispatchCommand(m_controller.IsRunning() ? CommandId::Pause : CommandId::Play);
        return;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        dispatchCommand(e->key() == Qt::Key_Left ? CommandId::StepBack
                        : e->key() == Qt::Key_Right ? CommandId::StepForward
                        : e->key() == Qt::Key_Up    ? CommandId::PreviousFile
                                                    : CommandId::NextFile);
        return;
    case Qt::Key_F:
        if (!ctrl && !m_fullScreen)
            dispatchCommand(CommandId::FullScreen);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!m_fullScreen)
            dispatchCommand(CommandId::FullScreen);
        return;
    case Qt::Key_S:
        if (ctrl)
            dispatchCommand(CommandId::Snapshot);
        return;
    case Qt::Key_E:
        if (ctrl)
            m_files->ExportIncident();
        return;
    case Qt::Key_I:
        // Nothing further that way: a beep rather than silence.
        if (!ctrl && !((e->modifiers() & Qt::ShiftModifier) ? m_controller.PreviousImpact() : m_controller.NextImpact()))
            QApplication::beep();
        return;
    case Qt::Key_M:
        // The switch toggles as a click would, then its command runs.
        m_muteSwitch->SetState(m_muteSwitch->GetState() ? 0 : 1);
        m_muteSwitch->update();
        dispatchCommand(CommandId::MuteSwitch);
        return;
    default:
        QWidget::keyPressEvent(e);
    }
}
