#include "app/CVxMainFrame.h"

#include "library/IPrompt.h"
#include "app/MainFrameLayout.h"
#include "app/MediaComponentReport.h"
#include "app/Messages.h"
#include "app/StartupRegistry.h"
#include "display/CLinePlot.h"
#include "display/CVxAnalogMeter.h"
#include "engine/PlaybackEngine.h"
#include "library/CHTMLListCtrl.h"
#include "skin/CMemoryDC.h"
#include "skin/CVxButton.h"
#include "skin/CVxSlider.h"
#include "skin/CVxSwitch.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QPainter>
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
    // Owned objects in their order: the brush is a member initialiser; the
    // telemetry containers (gpsTimes, gpsTrack, gSensorTrack) come with the
    // telemetry code.
    if (m_services.createEngine)
        engine = m_services.createEngine();
    // The engine's construction stores the machine-wide flag the camera
    // maker's tools look for; an ordinary user cannot write it and that is fine.
    WriteMachineRegistryValues();
    // The speed instrument, the line plot, the recording list and the
    // RecordingLibrary with its five CategoryView records come with their parts.

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
    // The video-window widget (IVideoWindow) replaces these plain children.
    const int videoIds[4] = {401, 402, 605, 606};
    for (int i = 0; i < 4; ++i) {
        auto* w = new QWidget(this);
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

    // 17. Hand the video windows to the engine (SetVideoWindows with 401, 402,
    // 605, 606) once they are IVideoWindow widgets.

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

    // 21. The title the task bar shows.
    setWindowTitle(QStringLiteral("Halcyon Deck"));

    // 22. Media insertion and removal notifications (MSG_SHELL_MEDIA) come with
    // card discovery; shellNotifyId stays 0 until then.

    RegisterCommands();
    return 0;
}

void CVxMainFrame::RegisterCommands()
{
    registerCommand(328, [this] { showMinimized(); });
    registerCommand(329, [this] { OnAppExit(); });
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

void CVxMainFrame::OnSliderMoving(int, int) {}
void CVxMainFrame::OnSliderMoved(int, int) {}
void CVxMainFrame::OnScanCard() {}
void CVxMainFrame::OnListReset() {}
void CVxMainFrame::OnShellMedia() {}
void CVxMainFrame::OnTimer1() {}
void CVxMainFrame::OnTimer3() {}
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

void CVxMainFrame::ApplyLayout()
{
    const QSize client = size();
    setMask(MainFrameLayout::WindowRegion(client));
    captionStripRect = MainFrameLayout::CaptionStripRect(client);
    if (!positionSlider)
        return; // not created yet
    // Video window placement and the full-screen sliders come with full-screen mode.
    const MainFrameLayoutResult r = fullScreen
        ? MainFrameLayout::FullScreen(client, fullPositionSlider ? fullPositionSlider->size() : QSize())
        : MainFrameLayout::Normal(client);
    for (const LayoutEntry& e : r.rows)
        applyLayoutEntry(e.key >= 0 && e.key < int(skinButtons.size()) ? skinButtons[e.key] : nullptr, e);
    for (const LayoutEntry& e : r.children)
        applyLayoutEntry(childByControlId(e.key), e);
    muteSwitch->SetBitmap(r.muteSwitchBitmap);
    if (fullScreen) {
        positionTimeRectFull = r.positionTimeRect;
        durationTimeRectFull = r.durationTimeRect;
        if (r.speedLabelRectFull)
            speedLabelRectFull = *r.speedLabelRectFull;
        if (r.enableSpeedSliderFull && fullSpeedSlider)
            fullSpeedSlider->Enable(true);
    } else {
        positionTimeRect = r.positionTimeRect;
        durationTimeRect = r.durationTimeRect;
    }
}

void CVxMainFrame::resizeEvent(QResizeEvent* e)
{
    ApplyLayout();
    QWidget::resizeEvent(e);
}

void CVxMainFrame::paintEvent(QPaintEvent*)
{
    // Video repaint (RepaintFirst / RepaintAll) comes with the video windows.
    QPainter target(this);
    CMemoryDC dc(target, rect(), QColor(0x36, 0x36, 0x36));
    if (fullScreen)
        PaintFullScreen(dc.painter());
    else
        PaintNormal(dc.painter());
}

void CVxMainFrame::PaintNormal(QPainter& dc)
{
    backgroundBitmap.DrawBackground(dc);
    skinBitmaps[2].Draw(dc, QRect(709, 409, 0, 0));
    skinBitmaps[8].Draw(dc, QRect(10, 0, 0, 0));
    // Overlay texts (acceleration read-outs, list column captions, video
    // captions, speed caption, duration) and the position time follow here.
}

void CVxMainFrame::PaintFullScreen(QPainter& dc)
{
    dc.fillRect(rect(), Qt::black);
    // Borders from skin images 4 to 7 and the full-screen texts follow here.
}

void CVxMainFrame::mousePressEvent(QMouseEvent* e)
{
    // Presses that reach the window itself are on its background: move the
    // window, as the caption of a framed window would.
    if (e->button() == Qt::LeftButton && windowHandle()) {
        if (windowHandle()->startSystemMove())
            return;
    }
    QWidget::mousePressEvent(e);
}
