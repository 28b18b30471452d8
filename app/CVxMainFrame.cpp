#include "app/CVxMainFrame.h"

#include "library/IPrompt.h"
#include "library/GpsFixReadout.h"
#include "app/MainFrameLayout.h"
#include "app/MediaComponentReport.h"
#include "base/Messages.h"
#include "display/PlaybackReadoutText.h"
#include "app/StartupRegistry.h"
#include "base/Trace.h"
#include "app/VideoPlacement.h"
#include "display/CLinePlot.h"
#include "display/CVxAnalogMeter.h"
#include "display/VideoWindow.h"
#include "engine/PlaybackEngine.h"
#include "engine/PlaybackTables.h"
#include "library/CHTMLListCtrl.h"
#include "library/CardMonitor.h"
#include "library/CopyProgressDialog.h"
#include "library/HTMLLIST_NOTIFY.h"
#include "library/HTMLListRecordingView.h"
#include "library/HTMLListTickedRows.h"
#include "library/PlatformFileDialogs.h"
#include "library/RecordingFileOps.h"
#include "library/RecordingLibrary.h"
#include "library/SnapshotExport.h"
#include "library/SystemDriveProvider.h"
#include "skin/CMemoryDC.h"
#include "skin/CVxButton.h"
#include "skin/CVxSlider.h"
#include "skin/CVxSwitch.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

namespace {

// (l, t)-(r, b) with exclusive right and bottom edges.
constexpr QRect R(int l, int t, int r, int b)
{
    return QRect(l, t, r - l, b - t);
}

const std::array<SkinControlDef, 27> kControlBar{{
    {142, 307, 187, 491, nullptr, u"파일열기"},
    {136, 300, 233, 491, nullptr, u"이전 파일"},
    {514, 310, 278, 491, nullptr, u"뒤로"},
    {135, 301, 325, 485, nullptr, u"재생"},
    {133, 302, 325, 485, nullptr, u"일시정지"},
    {516, 306, 382, 491, nullptr, u"앞으로"},
    {132, 303, 428, 490, nullptr, u"다음 파일"},
    {137, 309, 474, 491, nullptr, u"정지"},
    {113, 290, 213, 485, nullptr, u"이전 파일"},
    {529, 530, 213, 485, nullptr, u"뒤로"},
    {117, 291, 324, 485, nullptr, u"재생"},
    {116, 292, 267, 485, nullptr, u"정지"},
    {115, 293, 324, 485, nullptr, u"일시정지"},
    {531, 532, 383, 485, nullptr, u"앞으로"},
    {114, 294, 383, 485, nullptr, u"다음 파일"},
    {150, 311, 588, 498, nullptr, u"다른 이름으로 저장.."},
    {151, 312, 622, 498, nullptr, u"삭제"},
    {147, 325, 657, 498, nullptr, u"설정"},
    {148, 326, 494, 39, u"지 도", u"지 도"},
    {520, 523, 594, 39, u"전후방전환", u"전후방전환"},
    {521, 524, 885, 39, u"좌우전환", u"좌우전환"},
    {522, 525, 992, 39, u"상하전환", u"상하전환"},
    {140, 328, 1051, 5, nullptr, u"최소화"},
    {145, 323, 1076, 5, nullptr, u"전체화면"},
    {157, 330, 1076, 5, nullptr, u"이전크기로"},
    {141, 329, 1101, 5, nullptr, u"종료"},
    {534, 582, 997, 4, u"  전후방전환", u"전후방전환"},
}};

const std::array<SkinControlDef, 5> kCategoryTabs{{
    {590, 360, 713, 378, u"전체", u"전체"},
    {591, 361, 790, 378, u"상시", u"상시"},
    {592, 362, 876, 378, u"충격", u"충격"},
    {594, 363, 959, 378, u"수동", u"수동"},
    {593, 364, 1043, 378, u"모션", u"모션"},
}};

const int kSkinBitmapIds[9] = {191, 192, 180, 158, 526, 603, 527, 528, 604};

QString text(const char16_t* s)
{
    return s ? QString::fromUtf16(s) : QString();
}

} // namespace

const std::array<SkinControlDef, 27>& CVxMainFrame::ControlBarTable()
{
    return kControlBar;
}

const std::array<SkinControlDef, 5>& CVxMainFrame::CategoryTabTable()
{
    return kCategoryTabs;
}

CVxMainFrame::CVxMainFrame(MainFrameServices services, QWidget* parent)
    : QWidget(parent), m_services(std::move(services))
{
    // Owned objects in their order: the brush and the telemetry of the open
    // recording are members; the widgets are made by OnCreate.
    if (m_services.createEngine)
        engine = m_services.createEngine();
    library = std::make_unique<RecordingLibrary>();
    drives = m_services.createDriveProvider ? m_services.createDriveProvider() : nullptr;
    if (!drives)
        drives = SystemDriveProvider::Create();
    // The pauses keep painting and ticking but hold the user's input back
    // until they end, as a blocked window would.
    wait = [](int ms) {
        QEventLoop loop;
        QTimer::singleShot(ms, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    };
    // The engine's construction stores the machine-wide flag the camera
    // maker's tools look for; an ordinary user cannot write it and that is fine.
    WriteMachineRegistryValues();

    // volumePercent starts as the wave-out level of device 0 scaled to 0..99.
    const int wave = QueryWaveOutVolume();
    volumePercent = wave < 0 ? 0 : (wave & 0xFFFF) / 654;
    setProperty("controlId", 0);
}

CVxMainFrame::~CVxMainFrame()
{
    // Volume path release (mixer / endpoint) comes with the volume code; the
    // bitmaps, buttons and engine are members or children and go with us.
}

bool CVxMainFrame::LoadFrame()
{
    PreCreateWindow();
    OnCreateClient();
    if (OnCreate() != 0)
        return false;
    // The frame resource's menu is never shown: a QWidget has none.
    resize(1130, 640);
    ApplyLayout();
    return true;
}

void CVxMainFrame::PreCreateWindow()
{
    // No caption, no sizing border, no maximise box: only the system menu and
    // minimising remain of the window decorations.
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint);
    setMinimumSize(1130, 640);
    // Every pixel is painted from the off-screen buffer; no erase first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
}

void CVxMainFrame::OnCreateClient()
{
    backgroundBitmap.Load(this, 178);
    for (int i = 0; i < 9; ++i)
        skinBitmaps[i].Load(this, kSkinBitmapIds[i]);
}

void CVxMainFrame::createButtonTable(const SkinControlDef* rows, std::size_t count, CVxButton** out, int layout)
{
    for (std::size_t i = 0; i < count; ++i) {
        const SkinControlDef& row = rows[i];
        auto* button = new CVxButton(this);
        button->LoadSkin(row.bitmapId);
        button->CreateSkinButton(row.commandId, row.x, row.y, this, text(row.label), ButtonLayout(layout));
        button->SetTooltipText(text(row.tooltip));
        connect(button, &CVxButton::commandClicked, this, &CVxMainFrame::dispatchCommand);
        out[i] = button;
    }
}

int CVxMainFrame::OnCreate()
{
    // 2. The decoder's per-user values.
    WriteDecoderRegistryValues();

    // 3. Buttons: the control bar, then the category tabs. Directly after
    // creation only the play button of the transport pair is visible.
    createButtonTable(kControlBar.data(), kControlBar.size(), skinButtons.data(), int(ButtonLayout::Bar));
    for (int row : {4, 24, 8, 11, 10, 12, 14})
        skinButtons[row]->hide();
    skinButtons[3]->show();
    createButtonTable(kCategoryTabs.data(), kCategoryTabs.size(), categoryButtons.data(), int(ButtonLayout::Tab));

    // 4. Video windows 401, 402, 605, 606, hidden until a recording plays.
    const int videoIds[4] = {401, 402, 605, 606};
    for (int i = 0; i < 4; ++i) {
        auto* w = new VideoWindow(videoIds[i], this);
        w->setObjectName(QStringLiteral("videoWindow%1").arg(i + 1));
        w->setProperty("controlId", videoIds[i]);
        w->hide();
        videoWindows[i] = w;
    }

    // 5. Fixed rectangles.
    videoRectA = R(9, 68, 708, 456);
    videoRectB = R(710, 68, 1121, 375);
    videoWindows[0]->setGeometry(videoRectA);
    videoWindows[1]->setGeometry(videoRectB);
    captionFrontRect = R(24, 39, 124, 67);
    captionRearRect = R(718, 39, 818, 67);
    headerDateRect = R(735, 409, 835, 432);
    headerNameRect = R(863, 409, 1027, 432);
    headerTypeRect = R(1027, 409, 1101, 432);
    gReadoutX = R(157, 569, 201, 584);
    gReadoutY = R(157, 586, 201, 601);
    gReadoutZ = R(157, 603, 201, 618);
    speedLabelRect = R(28, 516, 56, 542);
    positionSliderRect = R(50, 459, 667, 469);
    speedSliderRect = R(62, 524, 151, 534);

    // 6. The volume path choice: on Linux there is one (PulseAudio), the newer one.
    newAudioApi = 1;

    // 7. Map server check.
    offline = CheckMapServer() ? 0 : 1;

    // 8. Position slider, enabled when a recording starts.
    positionSlider = new CVxSlider(this, 410, positionSliderRect);
    positionSlider->SetChannelBitmap(155);
    positionSlider->SetThumbBitmap(193);
    positionSlider->Enable(false);

    // 9. Speed slider 1..9.
    speedSlider = new CVxSlider(this, 411, speedSliderRect);
    speedSlider->SetChannelBitmap(143);
    speedSlider->SetThumbBitmap(596);
    speedSlider->SetRange(1, 9);
    speedSlider->SetPos(speedSetting);
    speedSlider->Enable(false);

    // 10. Speed instrument, id 458.
    speedMeter = new CVxAnalogMeter(this);
    speedMeter->setGeometry(R(18, 558, 140, 630));
    speedMeter->show();

    // 11. Sound switch.
    muteSwitch = new CVxSwitch(this, 438, R(34, 489, 52, 504));
    muteSwitch->SetBitmap(176);
    connect(muteSwitch, &CVxSwitch::commandClicked, this, &CVxMainFrame::dispatchCommand);

    // 12. Select-all tick box, ticked.
    selectAllSwitch = new CVxSwitch(this, 439, R(709, 409, 739, 432));
    selectAllSwitch->SetBitmap(179);
    selectAllSwitch->SetState(1);
    connect(selectAllSwitch, &CVxSwitch::commandClicked, this, &CVxMainFrame::dispatchCommand);

    // 13. Acceleration plot "LinePlot", id 459. Its hidden edit child 1034
    // comes with the plot's own code if it is ever needed.
    linePlot = new CLinePlot(this);
    linePlot->setGeometry(R(207, 565, 696, 622));
    linePlot->show();

    // 14. The switch shows sound on only when the system mute state could be
    // read and sound is not muted.
    bool muted = true;
    const bool readMute = ReadSystemMute(muted);
    muteSwitch->SetState(readMute && !muted ? 1 : 0);

    // 15. Volume slider 0..99.
    volumeSlider = new CVxSlider(this, 412, R(62, 492, 151, 502));
    volumeSlider->SetChannelBitmap(175);
    volumeSlider->SetThumbBitmap(595);
    volumeSlider->SetRange(0, 99);
    volumeSlider->SetPos(volumePercent);

    // 16. Recording list, id 415, with the check-box column. Its notifications
    // (selection, right click, double click, tick) are bound with the commands.
    recordingList = new CHTMLListCtrl(this);
    recordingList->Create(this, R(709, 432, 1122, 632));
    recordingList->SetStyle(3);
    connect(recordingList, &CHTMLListCtrl::notify, this, &CVxMainFrame::onListNotify);
    listView = std::make_unique<HTMLListRecordingView>(*recordingList);
    library->SetListView(listView.get());
    cardMonitor = std::make_unique<CardMonitor>(*library, *drives, config, engine.get(), this);
    cardMonitor->wait = [this](int ms) { if (wait) wait(ms); };
    connect(library.get(), &RecordingLibrary::categoryShown, this, &CVxMainFrame::showCategoryTabs);
    connect(library.get(), &RecordingLibrary::libraryReset, this, &CVxMainFrame::onLibraryReset);
    connect(cardMonitor.get(), &CardMonitor::settingsLoaded, this, [this] {
        speedMeter->SetVelo(0, config.live.speedUnit);
        update();
    });

    // 17. The engine draws into the four video windows.
    if (engine)
        engine->SetVideoWindows({videoWindows[0], videoWindows[1], videoWindows[2], videoWindows[3]});

    // 18. The working volume is 50 % from here on; a graph never exists yet.
    volumePercent = 50;
    if (engine && engine->HasFilterGraph())
        engine->SetVolume(volumePercent);

    // 19. Outside media components; a missing one never stops start-up.
    if (m_services.checkMediaComponents) {
        const int result = m_services.checkMediaComponents();
        if (m_services.prompt)
            ReportMediaComponents(result, *m_services.prompt);
    }

    // 20. Timers and the deferred first card scan.
    connect(&m_timer1, &QTimer::timeout, this, &CVxMainFrame::OnTimer1);
    connect(&m_timer3, &QTimer::timeout, this, &CVxMainFrame::OnTimer3);
    m_timer1.start(300);
    QCoreApplication::postEvent(this, new QEvent(QEvent::Type(MSG_SCAN_CARD)));
    m_timer3.start(350);

    // The shortcuts reach the window wherever the pointer is.
    setFocusPolicy(Qt::StrongFocus);

    // 21. The title the task bar shows.
    setWindowTitle(QStringLiteral("Halcyon Deck"));

    // 22. Media insertion and removal reach the card monitor through the drive
    // provider's own signals; there is no shell registration, shellNotifyId stays 0.

    RegisterCommands();
    return 0;
}

void CVxMainFrame::RegisterCommands()
{
    registerCommand(300, [this] { PlayPrevious(); });
    registerCommand(290, [this] { PlayPrevious(); });
    registerCommand(301, [this] { PlayCommand(); });
    registerCommand(291, [this] { PlayCommand(); });
    registerCommand(309, [this] { StopCommand(); });
    registerCommand(292, [this] { StopCommand(); });
    registerCommand(302, [this] { PauseCommand(); });
    registerCommand(293, [this] { PauseCommand(); });
    registerCommand(303, [this] { PlayNext(); });
    registerCommand(294, [this] { PlayNext(); });
    registerCommand(310, [this] { StepBack(); });
    registerCommand(530, [this] { StepBack(); });
    registerCommand(306, [this] { StepForward(); });
    registerCommand(532, [this] { StepForward(); });
    registerCommand(307, [this] { OpenFilesCommand(); });
    registerCommand(311, [this] { CopyRecordings(); });
    registerCommand(312, [this] { DeleteRecordings(); });
    registerCommand(324, [this] { SaveSnapshot(); });
    registerCommand(325, [] {}); // the settings sheet is not there yet
    registerCommand(326, [] {}); // the map pop-up is not there yet
    registerCommand(328, [this] { showMinimized(); });
    registerCommand(323, [this] { ToggleFullScreen(); });
    registerCommand(330, [this] { ToggleFullScreen(); });
    registerCommand(329, [this] { OnAppExit(); });
    registerCommand(523, [this] { SwapVideo(); });
    registerCommand(582, [this] { SwapVideo(); });
    registerCommand(524, [this] { ToggleMirror(); });
    registerCommand(525, [this] { ToggleFlip(); });
    for (int c = 0; c < 5; ++c)
        registerCommand(360 + c, [this, c] { SelectCategory(c); });
    registerCommand(438, [this] { OnMuteSwitch(); });
    registerCommand(439, [this] { OnSelectAllSwitch(); });
    registerCommand(406, [] {});
    registerCommand(32772, [] {});
}

void CVxMainFrame::registerCommand(int id, std::function<void()> handler)
{
    m_commands[id] = std::move(handler);
}

void CVxMainFrame::dispatchCommand(int id)
{
    auto it = m_commands.find(id);
    if (it != m_commands.end())
        it->second();
}

void CVxMainFrame::PumpMessagesFor(int ms)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, int(ms - t.elapsed()));
}

void CVxMainFrame::OnAppExit()
{
    // The engine must be stopped and closed while the window and its video
    // windows still exist.
    if (engine && engine->HasGraph()) {
        engine->Stop();
        if (engine->HasFilterGraph())
            engine->SeekMs(0);
        engine->Stop();
    }
    if (engine)
        engine->Close();
    PumpMessagesFor(1000);
    ReleaseRecordingData();
    DestroyRecordingList();
    DestroyMapPopup();
    close();
}

bool CVxMainFrame::event(QEvent* e)
{
    switch (int(e->type())) {
    case WM_SLIDER_MOVING: {
        auto* s = static_cast<SliderEvent*>(e);
        OnSliderMoving(s->id, s->pos);
        return true;
    }
    case WM_SLIDER_MOVED: {
        auto* s = static_cast<SliderEvent*>(e);
        OnSliderMoved(s->id, s->pos);
        return true;
    }
    case MSG_SCAN_CARD:
        OnScanCard();
        return true;
    case MSG_LIST_RESET:
        OnListReset();
        return true;
    case MSG_SHELL_MEDIA:
        OnShellMedia();
        return true;
    default:
        return QWidget::event(e);
    }
}

// ---------------------------------------------------------------- state

bool CVxMainFrame::runningOrPaused() const
{
    if (!engine || !engine->HasGraph())
        return false;
    const EngineState st = engine->State();
    return st == EngineState::Running || st == EngineState::Paused;
}

bool CVxMainFrame::isRunning() const
{
    return engine && engine->HasGraph() && engine->State() == EngineState::Running;
}

IFileDialogs& CVxMainFrame::fileDialogs()
{
    if (m_services.fileDialogs)
        return *m_services.fileDialogs;
    if (!m_ownDialogs)
        m_ownDialogs = std::make_unique<PlatformFileDialogs>(this);
    return *m_ownDialogs;
}

// ---------------------------------------------------------------- playing

bool CVxMainFrame::PlayFile(const QString& path)
{
    if (!engine)
        return false;
    // 1. Any open recording goes first; the decoders need the pause to let go.
    if (engine->HasGraph() && engine->State() != EngineState::NoMedia) {
        engine->Stop();
        engine->SeekMs(0);
        engine->Stop();
        engine->Close();
        if (wait)
            wait(500);
    }
    // 2. Decoder options of any decoder still held.
    if (engine->HasGraph()) {
        for (int ch = 1; ch <= engine->VideoPinCount(); ++ch) {
            engine->DecoderSetParam(ch, 205, 1);
            engine->DecoderSetParam(ch, 202, 20);
        }
    }
    // 3. Every line of telemetry is read from the start.
    engine->telemetryOption = 0;
    // 4.
    if (!engine->Open(path)) {
        if (m_services.prompt)
            m_services.prompt->ShowMessage(windowTitle(), QStringLiteral("Can not OpenFile"));
        return false;
    }
    // 5. The first picture's size decides the full-screen rectangle.
    firstPictureSize = QSize(0, 0);
    QImage first;
    if (engine->GrabFrame(first))
        firstPictureSize = first.size();
    secondPictureSize = QSize(1280, 720);
    // 6.
    telemetry.LoadTelemetry(engine->TelemetrySource(), linePlot);
    // 7.
    videoWindows[0]->show();
    videoWindows[1]->show();
    // 8.
    durationMs = std::int32_t(std::uint32_t(engine->GetDurationMs()));
    positionSlider->SetRange(0, durationMs);
    if (fullScreenControlsCreated && fullPositionSlider)
        fullPositionSlider->SetRange(0, durationMs);
    // 9.
    if (engine->Run() < 0) {
        if (m_services.prompt)
            m_services.prompt->ShowMessage(windowTitle(), QStringLiteral("Can not PlayFile"));
        return false;
    }
    // 10., 11.
    engine->SetVolume(muted ? 0 : volumePercent);
    engine->SetRate(RateForSpeedSetting(speedSetting));
    // 12.
    const int playing = library->playingCategory;
    for (int i = 0; i < library->RecordingCount(playing); ++i) {
        BBOX_ITEM* item = library->GetRecording(playing, i);
        if (item && item->path.compare(path, Qt::CaseInsensitive) == 0)
            item->played = 1;
    }
    // 13., 14.
    currentFile = path;
    RefreshPlayPause();
    ResetControls();
    PlaceVideoWindows();
    // 15., 16.
    setSlidersEnabled(true);
    update();
    return true;
}

void CVxMainFrame::setSlidersEnabled(bool enabled)
{
    for (CVxSlider* s : {positionSlider, speedSlider, fullPositionSlider, fullSpeedSlider}) {
        if (s) {
            s->Enable(enabled);
            s->update();
        }
    }
}

void CVxMainFrame::RefreshPlayPause()
{
    for (const LayoutEntry& e : MainFrameLayout::PlayPauseRows(fullScreen != 0, isRunning())) {
        if (e.key >= 0 && e.key < int(skinButtons.size()) && skinButtons[e.key])
            skinButtons[e.key]->setVisible(e.visibility == LayoutVisibility::Show);
    }
}

void CVxMainFrame::ResetControls()
{
    positionSlider->SetPos(0);
    speedSlider->SetPos(speedSetting);
    if (fullScreenControlsCreated) {
        if (fullPositionSlider)
            fullPositionSlider->SetPos(0);
        if (fullSpeedSlider)
            fullSpeedSlider->SetPos(speedSetting);
    }
    speedMeter->SetVelo(0, config.live.speedUnit);
}

void CVxMainFrame::PauseCommand()
{
    if (isRunning()) {
        engine->Pause();
        RefreshPlayPause();
    }
}

void CVxMainFrame::PlayCommand()
{
    if (engine && engine->HasGraph() && engine->State() == EngineState::Paused) {
        engine->Run();
        RefreshPlayPause();
        setSlidersEnabled(true);
        return;
    }
    const int shown = library->shownCategory;
    const int row = recordingList->GetSelection();
    if (shown < 0 || library->RecordingCount(shown) == 0 || row < 0)
        return;
    BBOX_ITEM* item = library->GetRecording(shown, row);
    if (!item)
        return;
    if (library->playingCategory == -1)
        library->playingCategory = shown;
    // Previous, next and the automatic advance count from the row that plays.
    library->views[shown].selected = row;
    const QString path = item->path;
    PlayFile(path);
    library->playingCategory = shown;
}

void CVxMainFrame::clearMarks(int category)
{
    for (int i = 0; i < library->RecordingCount(category); ++i) {
        if (BBOX_ITEM* item = library->GetRecording(category, i))
            item->played = 0;
    }
}

void CVxMainFrame::PlayPrevious()
{
    const int p = library->playingCategory;
    if (p < 0 || library->shownCategory < 0 || library->RecordingCount(p) <= 1)
        return;
    const int i = library->views[p].selected;
    if (i <= 0)
        return;
    library->views[p].selected = i - 1;
    if (library->shownCategory == p)
        recordingList->SelectRow(i - 1);
    clearMarks(p);
    if (BBOX_ITEM* item = library->GetRecording(p, i - 1))
        PlayFile(QString(item->path));
}

void CVxMainFrame::PlayNext()
{
    const int p = library->playingCategory;
    const int n = p >= 0 ? library->RecordingCount(p) : 0;
    if (p < 0 || library->shownCategory < 0 || n <= 1)
        return;
    const int i = library->views[p].selected;
    if (i >= n - 1)
        return;
    library->views[p].selected = i + 1;
    if (library->shownCategory == p)
        recordingList->SelectRow(i + 1);
    if (BBOX_ITEM* item = library->GetRecording(p, i + 1))
        PlayFile(QString(item->path));
}

void CVxMainFrame::PlayNextUnplayed()
{
    const int p = library->playingCategory;
    if (p < 0 || library->shownCategory < 0)
        return;
    const int n = library->RecordingCount(p);
    const int i = library->views[p].selected;
    const bool shown = library->shownCategory == p;
    if (n < 2) {
        BBOX_ITEM* item = library->GetRecording(p, i);
        if (!item) {
            StopCommand();
            return;
        }
        item->played = 0;
        if (shown)
            recordingList->SelectRow(i);
        PlayFile(QString(item->path));
        return;
    }
    if (i < n - 1) {
        for (int j = i + 1; j < n; ++j) {
            BBOX_ITEM* item = library->GetRecording(p, j);
            if (item && !item->played) {
                library->views[p].selected = j;
                if (shown)
                    recordingList->SelectRow(j);
                PlayFile(QString(item->path));
                return;
            }
        }
    }
    clearMarks(p);
    library->views[p].selected = 0;
    if (shown) {
        recordingList->SetSelection(0);
        recordingList->SelectRow(0);
        recordingList->update();
    }
    if (BBOX_ITEM* item = library->GetRecording(p, 0))
        PlayFile(QString(item->path));
}

void CVxMainFrame::ActivateRow(int row)
{
    const int shown = library->shownCategory;
    if (row < 0 || shown < 0)
        return;
    BBOX_ITEM* item = library->GetRecording(shown, row);
    if (!item)
        return;
    library->playingCategory = shown;
    library->views[shown].selected = row;
    clearMarks(shown);
    PlayFile(QString(item->path));
}

void CVxMainFrame::onListNotify(const HTMLLIST_NOTIFY& nm)
{
    if (nm.hdr.code == HTMLLIST_DBLCLK)
        ActivateRow(nm.row);
}

void CVxMainFrame::StopCommand()
{
    if (engine) {
        engine->Stop();
        if (engine->HasFilterGraph())
            engine->SeekMs(0);
        engine->Stop();
        engine->Close();
    }
    if (wait)
        wait(1000);
    setSlidersEnabled(false);
    videoWindows[0]->hide();
    videoWindows[1]->hide();
    RefreshPlayPause();
    while (linePlot->SeriesCount() > 0)
        linePlot->RemoveSeries(0);
    linePlot->RedrawNow();
    linePlot->update();
    speedMeter->SetVelo(0, config.live.speedUnit);
    update();
}

void CVxMainFrame::StepBack()
{
    if (runningOrPaused())
        engine->StepBack(1.0);
}

void CVxMainFrame::StepForward()
{
    if (runningOrPaused())
        engine->StepForward(1.0);
}

void CVxMainFrame::OpenFilesCommand()
{
    const bool wasRunning = isRunning();
    if (wasRunning)
        engine->Pause();
    RefreshPlayPause();
    const QStringList paths = fileDialogs().OpenFileNames(RecordingFileOps::kMovieFilter, QStringLiteral("mp4"));
    if (paths.isEmpty())
        return;
    for (const QString& path : paths) {
        const QString name = QFileInfo(path).fileName();
        const int c = RecordingLibrary::ClassifyRecordingName(name);
        library->AddRecording(c, 0, path, name);
        if (c != 0)
            library->AddRecording(c, c, path, name);
    }
    if (!wasRunning) {
        library->shownCategory = 0;
        categoryButtons[0]->SetChecked(true);
    }
    if (library->shownCategory == 0) {
        recordingList->DeleteAllRows();
        library->FillRecordingList(0);
        if (!wasRunning)
            recordingList->SelectRow(0);
        recordingList->update();
    }
}

void CVxMainFrame::showCategoryTabs(int category)
{
    for (int i = 0; i < 5; ++i) {
        categoryButtons[i]->SetChecked(i == category);
        categoryButtons[i]->update();
    }
}

void CVxMainFrame::SelectCategory(int category)
{
    const int old = library->shownCategory;
    if (old >= 0 && old < kCategoryCount) {
        library->views[old].selected = recordingList->GetSelection();
        library->views[old].scrollPos = recordingList->GetScrollPos();
    }
    library->shownCategory = category;
    showCategoryTabs(category);
    recordingList->DeleteAllRows();
    recordingList->update();
    if (library->RecordingCount(category) == 0)
        return;
    library->FillRecordingList(category);
    recordingList->SelectRow(library->views[category].selected);
    recordingList->SetScrollPos(library->views[category].scrollPos);
    recordingList->update();
}

void CVxMainFrame::onLibraryReset()
{
    // The card went away: nothing of it plays or shows any more.
    setSlidersEnabled(false);
    ResetControls();
    videoWindows[0]->hide();
    videoWindows[1]->hide();
    RefreshPlayPause();
    showCategoryTabs(-1);
    while (linePlot->SeriesCount() > 0)
        linePlot->RemoveSeries(0);
    linePlot->RedrawNow();
    update();
}

void CVxMainFrame::SwapVideo()
{
    if (!isRunning() || engine->VideoPinCount() < 2)
        return;
    swapVideo = swapVideo ? 0 : 1;
    PlaceVideoWindows();
    update(captionFrontRect);
    update(captionRearRect);
}

void CVxMainFrame::ToggleMirror()
{
    mirrorHorizontal = mirrorHorizontal ? 0 : 1;
    if (!engine)
        return;
    for (int ch = 2; ch <= 3 && ch <= engine->VideoPinCount(); ++ch) {
        engine->DecoderSetParam(ch, 1101, 1);
        engine->DecoderSetParam(ch, 1113, mirrorHorizontal);
    }
}

void CVxMainFrame::ToggleFlip()
{
    flipVertical = flipVertical ? 0 : 1;
    if (!engine)
        return;
    for (int ch = 2; ch <= 3 && ch <= engine->VideoPinCount(); ++ch) {
        engine->DecoderSetParam(ch, 1101, 1);
        engine->DecoderSetParam(ch, 1112, flipVertical);
    }
}

void CVxMainFrame::OnMuteSwitch()
{
    if (muteSwitch->GetState() == 1) {
        if (engine)
            engine->SetVolume(volumePercent);
        muted = 0;
    } else {
        if (engine)
            engine->SetVolume(0);
        muted = 1;
    }
}

void CVxMainFrame::OnSelectAllSwitch()
{
    const int ticked = selectAllSwitch->GetState() == 0 ? 1 : 0;
    for (int r = 0; r < recordingList->GetRowCount(); ++r)
        recordingList->SetRowTicked(r, ticked);
    recordingList->update();
}

void CVxMainFrame::OnSliderMoving(int id, int)
{
    if (id == 410 || id == 403) {
        CVxSlider* from = id == 410 ? positionSlider : fullPositionSlider;
        CVxSlider* other = id == 410 ? fullPositionSlider : positionSlider;
        if (!from)
            return;
        const int p = from->GetPos();
        if (other)
            other->SetPos(p);
        if (engine)
            engine->SeekMs(p);
        RefreshPlayPause();
    } else if (id == 412 || id == 405) {
        CVxSlider* from = id == 412 ? volumeSlider : fullVolumeSlider;
        CVxSlider* other = id == 412 ? fullVolumeSlider : volumeSlider;
        if (!from)
            return;
        volumePercent = from->GetPos();
        if (other)
            other->SetPos(volumePercent);
        if (unsigned(volumePercent) > 99)
            volumePercent = 99;
        if (id == 412)
            TraceLine("nVolume = %d \r\n", volumePercent);
        if (engine)
            engine->SetVolume(volumePercent);
        muted = 0;
        muteSwitch->SetState(1);
        muteSwitch->update();
    }
}

void CVxMainFrame::OnSliderMoved(int id, int)
{
    if (id != 411 && id != 404)
        return;
    CVxSlider* from = id == 411 ? speedSlider : fullSpeedSlider;
    CVxSlider* other = id == 411 ? fullSpeedSlider : speedSlider;
    if (from && runningOrPaused()) {
        speedSetting = from->GetPos();
        if (other)
            other->SetPos(speedSetting);
        engine->SetRate(RateForSpeedSetting(speedSetting));
    } else {
        speedSlider->SetPos(speedSetting);
        if (fullSpeedSlider)
            fullSpeedSlider->SetPos(speedSetting);
    }
}

void CVxMainFrame::OnScanCard()
{
    cardMonitor->OnScanCard();
}

void CVxMainFrame::OnListReset()
{
    library->ResetLibrary();
}

void CVxMainFrame::OnShellMedia()
{
    // The drive provider follows mounts itself; a notice only asks for a look.
    if (auto* system = dynamic_cast<SystemDriveProvider*>(drives.get()))
        system->Refresh();
}

// ---------------------------------------------------------------- file operations

void CVxMainFrame::CopyRecordings()
{
    HTMLListTickedRows rows(*recordingList);
    CopyProgressDialog progress(this);
    if (m_services.prompt)
        RecordingFileOps::CopyTickedRecordings(rows, fileDialogs(), *m_services.prompt, progress.Callback());
}

void CVxMainFrame::DeleteRecordings()
{
    if (!m_services.prompt)
        return;
    HTMLListTickedRows rows(*recordingList);
    RecordingFileOps::DeleteTickedRecordings(rows, *m_services.prompt, [this](int list, const QString& path) {
        library->RemoveRecording(list, path);
    });
}

void CVxMainFrame::SaveSnapshot()
{
    if (engine && m_services.prompt)
        SnapshotExport::SaveSnapshot(*engine, fileDialogs(), *m_services.prompt);
    RefreshPlayPause();
}

// ---------------------------------------------------------------- ticks

void CVxMainFrame::OnTimer1()
{
    const bool hasGraph = engine && engine->HasGraph();
    const std::uint64_t pos = hasGraph ? engine->GetPositionMs() : 0;
    const std::uint64_t dur = hasGraph ? engine->GetDurationMs() : 0;
    positionSlider->SetPos(int(qMin<std::uint64_t>(pos, std::uint64_t(INT32_MAX))));
    if (fullScreenControlsCreated && fullPositionSlider)
        fullPositionSlider->SetPos(int(qMin<std::uint64_t>(pos, std::uint64_t(INT32_MAX))));
    update(fullScreen ? positionTimeRectFull : positionTimeRect);
    if (!fullScreen) {
        update(gReadoutX);
        update(gReadoutY);
        update(gReadoutZ);
    }
    if (!hasGraph)
        return;
    switch (engine->State()) {
    case EngineState::Running:
        if (pos >= dur) {
            PlayNextUnplayed();
            return;
        }
        linePlot->SetCursor(std::uint32_t(pos));
        linePlot->update();
        break;
    case EngineState::Paused:
    case EngineState::Stopped:
        if (pos >= dur || pos == 0)
            PlayNextUnplayed();
        break;
    case EngineState::NoMedia:
        break;
    }
}

void CVxMainFrame::OnTimer3()
{
    if (!runningOrPaused())
        return;
    const auto pos = std::uint32_t(engine->GetPositionMs());
    const auto index = GpsFixReadout::FindFixIndex(telemetry.gpsTimes, pos);
    if (!index || *index >= telemetry.gpsTrack.size())
        return;
    const DeviceSettings& s = config.live;
    const GpsFixReadoutValues v = GpsFixReadout::Compute(GpsFixReadout::FieldsOf(telemetry.gpsTrack[*index]),
                                                         s.timeZoneIndex, s.daylightSaving != 0, s.speedUnit);
    if (!offline && showMapPosition)
        showMapPosition(v.latitude, v.longitude);
    speedMeter->SetVelo(v.speed, s.speedUnit);
}

bool CVxMainFrame::CheckMapServer() { return false; }
int CVxMainFrame::QueryWaveOutVolume() { return -1; }
bool CVxMainFrame::ReadSystemMute(bool&) { return false; }
void CVxMainFrame::ReleaseRecordingData() {}
void CVxMainFrame::DestroyRecordingList()
{
    // The entries of the categories go with the recording library.
    delete recordingList;
    recordingList = nullptr;
}
void CVxMainFrame::DestroyMapPopup() {}

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

void CVxMainFrame::PlaceVideoWindows()
{
    const VideoWindowPlacement p =
        VideoPlacement::Place(swapVideo != 0, fullScreen != 0, runningOrPaused(), size(), firstPictureSize);
    videoWindows[0]->setGeometry(p.window1);
    videoWindows[1]->setGeometry(p.window2);
    videoWindows[0]->setVisible(p.show1);
    videoWindows[1]->setVisible(p.show2);
    videoWindows[2]->hide();
    videoWindows[3]->hide();
}

void CVxMainFrame::ApplyLayout()
{
    ApplyLayoutFor(size());
}

void CVxMainFrame::ApplyLayoutFor(QSize client)
{
    if (client != size())
        resize(client);
    setMask(MainFrameLayout::WindowRegion(client));
    captionStripRect = MainFrameLayout::CaptionStripRect(client);
    if (!positionSlider)
        return; // not created yet
    const MainFrameLayoutResult r = fullScreen
        ? MainFrameLayout::FullScreen(client, fullPositionSlider ? fullPositionSlider->size() : QSize())
        : MainFrameLayout::Normal(client);
    if (fullScreen)
        speedLabelRectFull = r.speedLabelRectFull.value_or(speedLabelRectFull);
    PlaceVideoWindows();
    for (const LayoutEntry& e : r.rows)
        applyLayoutEntry(e.key >= 0 && e.key < int(skinButtons.size()) ? skinButtons[e.key] : nullptr, e);
    RefreshPlayPause();
    for (const LayoutEntry& e : r.children)
        applyLayoutEntry(childByControlId(e.key), e);
    muteSwitch->SetBitmap(r.muteSwitchBitmap);
    if (fullScreen) {
        positionTimeRectFull = r.positionTimeRect;
        durationTimeRectFull = r.durationTimeRect;
        if (r.enableSpeedSliderFull && fullSpeedSlider) {
            fullSpeedSlider->Enable(true);
            fullSpeedSlider->update();
        }
    } else {
        positionTimeRect = r.positionTimeRect;
        durationTimeRect = r.durationTimeRect;
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
    if (engine && engine->HasGraph() && engine->State() == EngineState::NoMedia)
        return;
    savedWindowRect = geometry();
    const QRect target = FullScreenTargetRect();
    if (!fullScreenControlsCreated) {
        fullScreenControlsCreated = 1;
        const FullScreenSliderRects r = MainFrameLayout::FullScreenSliders(target);
        fullPositionSlider = new CVxSlider(this, 403, r.position);
        fullPositionSlider->SetChannelBitmap(463);
        fullPositionSlider->SetThumbBitmap(464);
        fullPositionSlider->SetRange(0, durationMs);
        fullPositionSlider->Enable(positionSlider->IsEnabled());
        fullPositionSlider->show();
        fullSpeedSlider = new CVxSlider(this, 404, r.speed);
        fullSpeedSlider->SetChannelBitmap(144);
        fullSpeedSlider->SetThumbBitmap(596);
        fullSpeedSlider->SetRange(1, 9);
        fullSpeedSlider->SetPos(speedSetting);
        fullSpeedSlider->Enable(false);
        fullSpeedSlider->show();
        fullVolumeSlider = new CVxSlider(this, 405, r.volume);
        fullVolumeSlider->SetChannelBitmap(601);
        fullVolumeSlider->SetThumbBitmap(602);
        fullVolumeSlider->SetRange(0, 99);
        fullVolumeSlider->SetPos(volumePercent);
        fullVolumeSlider->show();
    }
    fullScreen = 1;
    if (geometry() == target)
        ApplyLayout(); // no size change would come
    else
        setGeometry(target);
    update();
}

void CVxMainFrame::LeaveFullScreen()
{
    if (!fullScreen)
        return;
    fullScreen = 0;
    if (savedWindowRect.isValid() && geometry() != savedWindowRect)
        setGeometry(savedWindowRect);
    else
        ApplyLayout();
    update();
}

void CVxMainFrame::ToggleFullScreen()
{
    if (!fullScreen)
        EnterFullScreen();
    else
        LeaveFullScreen();
}

void CVxMainFrame::resizeEvent(QResizeEvent* e)
{
    ApplyLayout();
    QWidget::resizeEvent(e);
}

// ---------------------------------------------------------------- painting

namespace {

// A colour written as the platform's 0x00BBGGRR.
QColor bgr(std::uint32_t v)
{
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

} // namespace

void CVxMainFrame::drawText(QPainter& dc, const QRect& r, const QString& text, int pixelSize, int weight,
                            QRgb colour, Qt::Alignment align) const
{
    // "Arial" where it is installed, else the desktop's sans at the same pixel size.
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setWeight(QFont::Weight(weight));
    dc.save();
    dc.setFont(font);
    dc.setPen(bgr(colour));
    dc.setClipRect(r);
    dc.drawText(r, int(align | Qt::TextSingleLine), text);
    dc.restore();
}

void CVxMainFrame::paintOverlayTimes(QPainter& dc, const QRect& positionRect, const QRect& durationRect,
                                     bool position, bool duration)
{
    const bool rp = runningOrPaused();
    if (duration) {
        const std::uint64_t d = engine && engine->HasGraph() ? engine->GetDurationMs() : 0;
        drawText(dc, durationRect, PlaybackReadoutText::TimeText(rp, d * 10000), 11, 500, 0xC8C8C8,
                 Qt::AlignCenter);
    }
    if (position) {
        const std::uint64_t p = engine && engine->HasGraph() ? engine->GetPositionMs() : 0;
        drawText(dc, positionRect, PlaybackReadoutText::TimeText(rp, p * 10000), 11, 500, 0x54B5EF,
                 Qt::AlignCenter);
    }
}

void CVxMainFrame::paintEvent(QPaintEvent*)
{
    if (engine && engine->HasGraph()) {
        if (engine->State() == EngineState::Running)
            engine->RepaintFirst();
        engine->RepaintAll();
    }
    QPainter target(this);
    CMemoryDC dc(target, rect(), QColor(0x36, 0x36, 0x36));
    if (fullScreen)
        PaintFullScreen(dc.painter());
    else
        PaintNormal(dc.painter());
}

void CVxMainFrame::PaintNormal(QPainter& dc)
{
    dc.fillRect(rect(), QColor(0x36, 0x36, 0x36));
    backgroundBitmap.DrawBackground(dc);
    skinBitmaps[2].Draw(dc, QRect(709, 409, 0, 0));
    skinBitmaps[8].Draw(dc, QRect(10, 0, 0, 0));

    const bool rp = runningOrPaused();
    const std::uint64_t pos = engine && engine->HasGraph() ? engine->GetPositionMs() : 0;
    if (const auto g = PlaybackReadoutText::GReadoutAt(rp, pos, telemetry.gSensorTrack)) {
        const std::pair<QRect, std::pair<QString, std::uint32_t>> axes[3] = {
            {gReadoutX, {QStringLiteral("X :"), 0xFFFF80}},
            {gReadoutY, {QStringLiteral("Y :"), 0x00FF00}},
            {gReadoutZ, {QStringLiteral("Z :"), 0x0000FF}},
        };
        const QString values[3] = {g->x, g->y, g->z};
        for (int i = 0; i < 3; ++i) {
            drawText(dc, axes[i].first, axes[i].second.first, 11, 400, axes[i].second.second,
                     Qt::AlignLeft | Qt::AlignVCenter);
            drawText(dc, axes[i].first, values[i], 11, 400, axes[i].second.second, Qt::AlignRight | Qt::AlignVCenter);
        }
    }
    drawText(dc, headerDateRect, QStringLiteral("날 짜"), 12, 400, 0xFFFFFF, Qt::AlignCenter);
    drawText(dc, headerNameRect, QStringLiteral("파일이름"), 12, 400, 0xFFFFFF, Qt::AlignCenter);
    drawText(dc, headerTypeRect, QStringLiteral("유형"), 12, 400, 0xFFFFFF, Qt::AlignCenter);
    const QString front = QStringLiteral("전방영상");
    const QString rear = QStringLiteral("후방영상");
    drawText(dc, captionFrontRect, swapVideo ? rear : front, 14, 800, 0xC8C8C8, Qt::AlignLeft | Qt::AlignVCenter);
    drawText(dc, captionRearRect, swapVideo ? front : rear, 14, 800, 0xC8C8C8, Qt::AlignLeft | Qt::AlignVCenter);
    drawText(dc, speedLabelRect, QStringLiteral("재생"), 10, 800, 0xFFFFFF, Qt::AlignLeft | Qt::AlignTop);
    drawText(dc, speedLabelRect, QStringLiteral("속도"), 10, 800, 0xFFFFFF, Qt::AlignLeft | Qt::AlignBottom);
    paintOverlayTimes(dc, positionTimeRect, durationTimeRect, true, true);
}

void CVxMainFrame::PaintFullScreen(QPainter& dc)
{
    const int W = width();
    const int H = height();
    dc.fillRect(rect(), Qt::black);
    const CVxBitmap& top = skinBitmaps[4];
    const CVxBitmap& corner = skinBitmaps[5];
    const CVxBitmap& side = skinBitmaps[6];
    const CVxBitmap& bottom = skinBitmaps[7];
    // Three 15-pixel columns of an image: left and right at their size, the
    // middle one stretched across.
    auto threeColumns = [&](const CVxBitmap& b, int y, int h) {
        if (b.isNull())
            return;
        dc.drawImage(QRect(0, y, 15, h), b.image(), QRect(0, 0, 15, b.size().height()));
        dc.drawImage(QRect(15, y, W - 30, h), b.image(), QRect(15, 0, 15, b.size().height()));
        dc.drawImage(QRect(W - 15, y, 15, h), b.image(), QRect(30, 0, 15, b.size().height()));
    };
    threeColumns(top, 0, 70);
    if (!corner.isNull())
        dc.drawImage(QRect(0, 0, 110, 35), corner.image());
    threeColumns(bottom, H - 200, 200);
    threeColumns(side, 70, H - 270);
    dc.fillRect(QRect(QPoint(9, 69), QPoint(W - 10 - 1, H - 93 - 1)), Qt::black);
    drawText(dc, captionFrontRect, swapVideo ? QStringLiteral("후방영상") : QStringLiteral("전방영상"), 14, 800,
             0xFFFFFF, Qt::AlignLeft | Qt::AlignVCenter);
    drawText(dc, speedLabelRectFull, QStringLiteral("재생"), 10, 800, 0xFFFFFF, Qt::AlignLeft | Qt::AlignTop);
    drawText(dc, speedLabelRectFull, QStringLiteral("속도"), 10, 800, 0xFFFFFF, Qt::AlignLeft | Qt::AlignBottom);
    paintOverlayTimes(dc, positionTimeRectFull, durationTimeRectFull, true, true);
}

// ---------------------------------------------------------------- mouse and keyboard

void CVxMainFrame::mousePressEvent(QMouseEvent* e)
{
    // Presses that reach the window itself are on its background: outside
    // full screen they move the window, as the caption of a framed window would.
    if (!fullScreen && e->button() == Qt::LeftButton && windowHandle()) {
        if (windowHandle()->startSystemMove())
            return;
    }
    QWidget::mousePressEvent(e);
}

void CVxMainFrame::mouseDoubleClickEvent(QMouseEvent* e)
{
    if (fullScreen && e->button() == Qt::LeftButton && captionStripRect.contains(e->position().toPoint()))
        LeaveFullScreen();
    QWidget::mouseDoubleClickEvent(e);
}

void CVxMainFrame::keyReleaseEvent(QKeyEvent* e)
{
    if (fullScreen && e->key() == Qt::Key_Escape && !e->isAutoRepeat())
        LeaveFullScreen();
    QWidget::keyReleaseEvent(e);
}

void CVxMainFrame::keyPressEvent(QKeyEvent* e)
{
    // Shortcuts only reach the commands the buttons have.
    const bool ctrl = e->modifiers() & Qt::ControlModifier;
    switch (e->key()) {
    case Qt::Key_Space:
        dispatchCommand(isRunning() ? 302 : 301);
        return;
    case Qt::Key_Left:
        dispatchCommand(310);
        return;
    case Qt::Key_Right:
        dispatchCommand(306);
        return;
    case Qt::Key_Up:
        dispatchCommand(300);
        return;
    case Qt::Key_Down:
        dispatchCommand(303);
        return;
    case Qt::Key_F:
        if (!ctrl && !fullScreen)
            dispatchCommand(323);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!fullScreen)
            dispatchCommand(323);
        return;
    case Qt::Key_S:
        if (ctrl)
            dispatchCommand(324);
        return;
    case Qt::Key_M:
        // The switch toggles as a click would, then its command runs.
        muteSwitch->SetState(muteSwitch->GetState() ? 0 : 1);
        muteSwitch->update();
        dispatchCommand(438);
        return;
    default:
        QWidget::keyPressEvent(e);
    }
}
