#include "MainWindowFixture.h"
#include "PlaybackCardFiles.h"

#include "base/Messages.h"
#include "config/DeviceSettings.h"
#include "display/CLinePlot.h"
#include "display/CVxAnalogMeter.h"
#include "display/VideoWindow.h"
#include "skin/CVxButton.h"
#include "skin/CVxSlider.h"
#include "skin/CVxSwitch.h"
#include "incident/IncidentExportDialogs.h"
#include "fakes/FakeTelemetrySource.h"

#include <QApplication>
#include <QDialog>

#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

namespace {
constexpr int kAll = 0;
} // namespace

class MainWindowCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void startUpFillsAllAndPlaysNothing();
    void impactMarksKeysAndExportDialog();
    void doubleClickPlaysWithBothPictures();
    void sliderMessagesReachThePlayback();
    void systemSoundAtStart();
    void categoriesRestoreRowAndScroll();
    void placementTable_data();
    void placementTable();
    void fullScreenOnWorkArea();
    void leavingFullScreen();
    void cardRemovalWhilePlaying();
    void stopHidesAndDisables();
    void fileCommands();
    void keyboardShortcuts_data();
    void keyboardShortcuts();
    void settingsSheetAroundPlayback();

private:
    QTemporaryDir m_settings;
    std::unique_ptr<MainWindowFixture> f;
};

void MainWindowCommandsTest::initTestCase()
{
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settings.filePath(QStringLiteral("user")));
    QSettings::setPath(QSettings::IniFormat, QSettings::SystemScope, m_settings.filePath(QStringLiteral("system")));
    qputenv("HALCYON_CARD_ROOTS", "");
}

void MainWindowCommandsTest::init()
{
    f = std::make_unique<MainWindowFixture>();
    QVERIFY(f->create(playbackCardFiles()));
}

void MainWindowCommandsTest::cleanup()
{
    f.reset();
}

void MainWindowCommandsTest::startUpFillsAllAndPlaysNothing()
{
    QCOMPARE(f->frame->recordingList()->GetRowCount(), 19);
    QCOMPARE(f->frame->recordingList()->GetSelection(), 0);
    QCOMPARE(f->library().shownCategory(), kAll);
    QVERIFY(f->frame->categoryButton(0)->isSkinChecked());
    QCOMPARE(f->engine->count(QStringLiteral("Open")), 0);
    // No sound server: the switch and the slider show what the player does,
    // sound on at half volume.
    QCOMPARE(f->controller().volumePercent(), 50);
    QCOMPARE(f->frame->muteSwitch()->GetState(), 1);
    QCOMPARE(f->frame->volumeSlider()->GetPos(), 50);
    QVERIFY(f->controller().isOffline());
    QCOMPARE(f->engine->windows[0], static_cast<IVideoWindow*>(f->frame->videoWindow(0)));
    QCOMPARE(f->engine->windows[3], static_cast<IVideoWindow*>(f->frame->videoWindow(3)));
    for (int i = 0; i < 4; ++i)
        QVERIFY(!f->frame->videoWindow(i)->isVisible());
    QVERIFY(!f->frame->positionSlider()->IsEnabled());
}

void MainWindowCommandsTest::doubleClickPlaysWithBothPictures()
{
    QTest::mouseDClick(f->frame->recordingList(), Qt::LeftButton, {}, QPoint(100, 5));
    QCOMPARE(f->engine->openedPath, f->path(kAll, 0));
    QCOMPARE(f->engine->state, EngineState::Running);
    QCOMPARE(f->library().playingCategory(), kAll);
    QVERIFY(f->frame->videoWindow(0)->isVisible());
    QVERIFY(f->frame->videoWindow(1)->isVisible());
    QVERIFY(f->frame->positionSlider()->IsEnabled());
    QCOMPARE(f->frame->positionSlider()->GetMax(), 3000);
    QVERIFY(!f->frame->skinButton(3)->isVisible()); // play gives way to pause
    QVERIFY(f->frame->skinButton(4)->isVisible());
    QCOMPARE(f->controller().firstPictureSize(), QSize(1280, 720));
    QCOMPARE(f->engine->volume, 50);
    QVERIFY(f->library().GetRecording(kAll, 0)->played);

    f->engine->positionMs = 1200;
    f->controller().OnTimer1();
    QCOMPARE(f->frame->positionSlider()->GetPos(), 1200);
}

void MainWindowCommandsTest::sliderMessagesReachThePlayback()
{
    // Speed while nothing plays: the slider snaps back.
    f->frame->speedSlider()->SetPos(8);
    SliderEvent moved(WM_SLIDER_MOVED, 411, 8);
    QCoreApplication::sendEvent(f->frame.get(), &moved);
    QCOMPARE(f->frame->speedSlider()->GetPos(), 5);

    // Volume: un-mutes, with the switch showing sound on.
    f->controller().ActivateRow(0);
    f->frame->muteSwitch()->SetState(0);
    f->frame->dispatchCommand(438);
    QVERIFY(f->controller().isMuted());
    QCOMPARE(f->engine->volume, 0);
    f->frame->volumeSlider()->SetPos(30);
    SliderEvent moving(WM_SLIDER_MOVING, 412, 30);
    QCoreApplication::sendEvent(f->frame.get(), &moving);
    QVERIFY(!f->controller().isMuted());
    QCOMPARE(f->frame->muteSwitch()->GetState(), 1);
    QCOMPARE(f->controller().volumePercent(), 30);
    QCOMPARE(f->engine->volume, 30);

    // Position: the engine seeks to the slider's place, and to where it was
    // let go.
    f->frame->positionSlider()->SetPos(1500);
    SliderEvent seek(WM_SLIDER_MOVING, 410, 1500);
    QCoreApplication::sendEvent(f->frame.get(), &seek);
    QCOMPARE(f->engine->positionMs, 1500u);
    f->frame->positionSlider()->SetPos(2100);
    SliderEvent release(WM_SLIDER_MOVED, 410, 2100);
    QCoreApplication::sendEvent(f->frame.get(), &release);
    QTRY_COMPARE(f->engine->positionMs, 2100u);
}

void MainWindowCommandsTest::systemSoundAtStart()
{
    // A muted system at 65 %: the switch shows sound off, the volume slider
    // the system level, which is the player's own volume too (unmuted).
    f = std::make_unique<MainWindowFixture>();
    FakeVolumePath* path = nullptr;
    f->createVolumePath = [&path] {
        auto p = std::make_unique<FakeVolumePath>();
        p->systemMuted = true;
        p->systemVolume = 65;
        path = p.get();
        return std::unique_ptr<VolumePath>(std::move(p));
    };
    QVERIFY(f->create(playbackCardFiles()));
    QCOMPARE(f->frame->muteSwitch()->GetState(), 0);
    QCOMPARE(f->frame->volumeSlider()->GetPos(), 65);
    QCOMPARE(f->controller().volumePercent(), 65);
    QVERIFY(!f->controller().isMuted());
    path->setSystemMute(false);
    QCOMPARE(f->frame->muteSwitch()->GetState(), 1);
}

void MainWindowCommandsTest::categoriesRestoreRowAndScroll()
{
    CHTMLListCtrl* list = f->frame->recordingList();
    list->SelectRow(5);
    list->SetScrollPos(list->GetMaxScrollPos());
    const int scroll = list->GetScrollPos();
    QVERIFY(scroll > 0);
    f->frame->dispatchCommand(361);
    QCOMPARE(list->GetRowCount(), 15);
    QVERIFY(f->frame->categoryButton(1)->isSkinChecked());
    QVERIFY(!f->frame->categoryButton(0)->isSkinChecked());
    list->SelectRow(2);
    f->frame->dispatchCommand(360);
    QCOMPARE(list->GetRowCount(), 19);
    QCOMPARE(list->GetSelection(), 5);
    QCOMPARE(list->GetScrollPos(), scroll);
    f->frame->dispatchCommand(361);
    QCOMPARE(list->GetSelection(), 2);
}

void MainWindowCommandsTest::placementTable_data()
{
    QTest::addColumn<bool>("swap");
    QTest::addColumn<bool>("full");
    QTest::addColumn<QRect>("rect1");
    QTest::addColumn<bool>("show1");
    QTest::addColumn<QRect>("rect2");
    QTest::addColumn<bool>("show2");
    const QRect a(9, 68, 699, 388), b(710, 68, 411, 307);
    // 1920 x 1040: the area (9, 69)-(1910, 947), a 1280 x 720 picture fitted
    // with single-precision scaling truncated (878 / 720 * 720 gives 877).
    const QRect fit(179, 69, 1560, 877);
    QTest::newRow("normal") << false << false << a << true << b << true;
    QTest::newRow("normal swapped") << true << false << b << true << a << true;
    QTest::newRow("full") << false << true << fit << true << fit << false;
    QTest::newRow("full swapped") << true << true << fit << false << fit << true;
}

void MainWindowCommandsTest::placementTable()
{
    QFETCH(bool, swap);
    QFETCH(bool, full);
    f->controller().ActivateRow(0);
    if (swap)
        f->frame->dispatchCommand(523);
    QCOMPARE(f->controller().swapVideo(), swap);
    if (full) {
        f->frame->EnterFullScreen();
        f->frame->ApplyLayoutFor(QSize(1920, 1040));
    }
    QTEST(f->frame->videoWindow(0)->geometry(), "rect1");
    QTEST(f->frame->videoWindow(0)->isVisible(), "show1");
    QTEST(f->frame->videoWindow(1)->geometry(), "rect2");
    QTEST(f->frame->videoWindow(1)->isVisible(), "show2");
    QVERIFY(!f->frame->videoWindow(2)->isVisible());
}

void MainWindowCommandsTest::fullScreenOnWorkArea()
{
    f->controller().ActivateRow(0);
    f->frame->EnterFullScreen();
    CVxSlider* created = f->frame->fullPositionSlider();
    QVERIFY(created);
    QVERIFY(f->frame->fullPositionSlider() != nullptr);
    f->frame->ApplyLayoutFor(QSize(1920, 1040));
    QCOMPARE(f->frame->size(), QSize(1920, 1040));
    QCOMPARE(f->frame->fullPositionSlider()->pos(), QPoint(67, 1040 - 91));
    QCOMPARE(f->frame->fullSpeedSlider()->geometry(), QRect(92, 1040 - 35, 88, 10));
    QVERIFY(f->frame->fullSpeedSlider()->IsEnabled());
    QCOMPARE(f->frame->fullVolumeSlider()->geometry(), QRect(92, 1040 - 67, 88, 10));
    QCOMPARE(f->frame->skinButton(8)->pos(), QPoint(200, 1040 - 72));
    QCOMPARE(f->frame->skinButton(25)->pos(), QPoint(1920 - 27, 5));
    QCOMPARE(f->frame->skinButton(26)->pos(), QPoint(1920 - 167, 1040 - 65));
    QVERIFY(f->frame->skinButton(12)->isVisible()); // full-screen pause while running
    QVERIFY(!f->frame->skinButton(4)->isVisible());
    QVERIFY(!f->frame->recordingList()->isVisible());
    QVERIFY(!f->frame->linePlot()->isVisible());
    QVERIFY(!f->frame->positionSlider()->isVisible());
    QCOMPARE(f->frame->captionStripRect(), QRect(0, 0, 1920, 27));
    QCOMPARE(f->frame->speedLabelRectFull(), QRect(60, 1040 - 44, 29, 27));
    // The window still paints in full screen.
    QVERIFY(!f->frame->grab().isNull());

    f->frame->ToggleFullScreen();
    QVERIFY(!f->frame->isFullScreen());
    f->frame->ToggleFullScreen();
    QCOMPARE(f->frame->fullPositionSlider(), created); // made once
}

void MainWindowCommandsTest::leavingFullScreen()
{
    f->controller().ActivateRow(0);
    const QRect before = f->frame->geometry();
    f->frame->EnterFullScreen();
    QVERIFY(f->frame->isFullScreen());
    QTest::mouseDClick(f->frame.get(), Qt::LeftButton, {}, QPoint(400, 60)); // below the caption strip
    QVERIFY(f->frame->isFullScreen());
    QTest::mouseDClick(f->frame.get(), Qt::LeftButton, {}, QPoint(400, 10));
    QVERIFY(!f->frame->isFullScreen());
    QCOMPARE(f->frame->geometry(), before);
    QVERIFY(f->frame->recordingList()->isVisible());
    QVERIFY(f->frame->videoWindow(1)->isVisible());

    f->frame->EnterFullScreen();
    QTest::keyClick(f->frame.get(), Qt::Key_Escape);
    QVERIFY(!f->frame->isFullScreen());
}

void MainWindowCommandsTest::cardRemovalWhilePlaying()
{
    f->controller().ActivateRow(3);
    f->drives->Remove(f->card.root());
    QCOMPARE(f->engine->count(QStringLiteral("Close")), 1);
    QVERIFY(!f->engine->hasGraph);
    QCOMPARE(f->library().shownCategory(), -1);
    QCOMPARE(f->library().playingCategory(), -1);
    QCOMPARE(f->frame->recordingList()->GetRowCount(), 0);
    for (int i = 0; i < 5; ++i)
        QVERIFY(!f->frame->categoryButton(i)->isSkinChecked());
    QVERIFY(!f->frame->videoWindow(0)->isVisible());
    QVERIFY(!f->frame->positionSlider()->IsEnabled());
    QCOMPARE(f->frame->positionSlider()->GetPos(), 0);
    QVERIFY(f->frame->skinButton(3)->isVisible());
    f->controller().OnTimer1(); // nothing left to move on to
    f->frame->dispatchCommand(301);
    QCOMPARE(f->engine->count(QStringLiteral("Open")), 1);
}

void MainWindowCommandsTest::stopHidesAndDisables()
{
    f->controller().ActivateRow(0);
    f->frame->dispatchCommand(309);
    QVERIFY(!f->engine->hasGraph);
    QVERIFY(!f->frame->videoWindow(0)->isVisible());
    QVERIFY(!f->frame->videoWindow(1)->isVisible());
    QVERIFY(!f->frame->positionSlider()->IsEnabled());
    QVERIFY(!f->frame->speedSlider()->IsEnabled());
    QCOMPARE(f->frame->linePlot()->SeriesCount(), 0);
    QVERIFY(f->frame->skinButton(3)->isVisible());
    f->controller().OnTimer1(); // no graph: nothing starts
    QCOMPARE(f->engine->count(QStringLiteral("Open")), 1);
    f->frame->dispatchCommand(310); // stepping needs a graph
    QCOMPARE(f->engine->count(QStringLiteral("StepBack")), 0);
}

void MainWindowCommandsTest::fileCommands()
{
    QTemporaryDir out;
    CHTMLListCtrl* list = f->frame->recordingList();
    // Copy of one ticked row under the chosen name.
    list->SetRowTicked(1, 1);
    f->dialogs.saveName = out.filePath(QStringLiteral("copy.mp4"));
    f->frame->dispatchCommand(311);
    // The copy runs on a worker thread; the rows are unticked when it is done.
    QTRY_COMPARE(list->GetRowTicked(1), 0);
    QCOMPARE(QFileInfo(f->dialogs.saveName).size(), 2048);

    // Delete of a ticked row: file, entries and row go.
    const QString doomed = f->path(kAll, 2);
    list->SetRowTicked(2, 1);
    f->prompt.answerYes = true;
    f->frame->dispatchCommand(312);
    QVERIFY(!QFileInfo::exists(doomed));
    QCOMPARE(list->GetRowCount(), 18);
    QCOMPARE(f->library().RecordingCount(kAll), 18);

    // Snapshot of both cameras while playing.
    f->controller().ActivateRow(0);
    f->dialogs.saveName = out.filePath(QStringLiteral("shot.jpeg"));
    f->frame->dispatchCommand(324);
    QVERIFY(QFileInfo::exists(out.filePath(QStringLiteral("shot_front.jpg"))));
    QVERIFY(QFileInfo::exists(out.filePath(QStringLiteral("shot_rear.jpg"))));
    QCOMPARE(f->engine->state, EngineState::Running); // resumed after the dialog

    // Open files while playing: paused, the file joins ALL, play offered again.
    const QString chosen = out.filePath(QStringLiteral("20150505_101010_I01.mp4"));
    {
        QFile file(chosen);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(4096));
    }
    f->dialogs.openNames = {chosen};
    f->frame->dispatchCommand(307);
    QCOMPARE(f->engine->state, EngineState::Paused);
    QCOMPARE(f->library().RecordingCount(kAll), 19);
    QCOMPARE(list->GetRowCount(), 19);
    QVERIFY(f->frame->skinButton(3)->isVisible());
}

void MainWindowCommandsTest::keyboardShortcuts_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("playing");
    QTest::addColumn<int>("command");
    QTest::newRow("space plays") << int(Qt::Key_Space) << 0 << false << 301;
    QTest::newRow("space pauses") << int(Qt::Key_Space) << 0 << true << 302;
    QTest::newRow("left") << int(Qt::Key_Left) << 0 << true << 310;
    QTest::newRow("right") << int(Qt::Key_Right) << 0 << true << 306;
    QTest::newRow("up") << int(Qt::Key_Up) << 0 << true << 300;
    QTest::newRow("down") << int(Qt::Key_Down) << 0 << true << 303;
    QTest::newRow("F") << int(Qt::Key_F) << 0 << true << 323;
    QTest::newRow("enter") << int(Qt::Key_Return) << 0 << true << 323;
    QTest::newRow("ctrl+S") << int(Qt::Key_S) << int(Qt::ControlModifier) << true << 324;
    QTest::newRow("M") << int(Qt::Key_M) << 0 << true << 438;
    QTest::newRow("S alone") << int(Qt::Key_S) << 0 << true << -1;
}

void MainWindowCommandsTest::keyboardShortcuts()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(bool, playing);
    QFETCH(int, command);
    if (playing)
        f->controller().ActivateRow(0);
    QList<int> seen;
    for (int id : {300, 301, 302, 303, 306, 310, 323, 324, 438})
        f->frame->registerCommand(CommandId(id), [&seen, id] { seen << id; });
    QTest::keyClick(f->frame.get(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(seen, command < 0 ? QList<int>{} : QList<int>{command});
}

void MainWindowCommandsTest::settingsSheetAroundPlayback()
{
    f->controller().ActivateRow(0);
    QCOMPARE(f->engine->state, EngineState::Running);
    const QString settingsFile = f->card.path(QStringLiteral("__system_ini.cfg"));
    bool pausedUnder = false, advanceHeld = false, editsKept = false;
    f->sheet = [&](SettingsSheetContext& context) {
        // Paused under the sheet, and the end of the recording starts nothing.
        pausedUnder = f->engine->state == EngineState::Paused;
        advanceHeld = !f->controller().AutoAdvanceAllowed();
        context.config->working.speedUnit = 2;
        // The card is found again meanwhile: its scan waits for the sheet.
        QCoreApplication::postEvent(f->frame.get(), new QEvent(QEvent::Type(MSG_SCAN_CARD)));
        QCoreApplication::processEvents();
        editsKept = context.config->working.speedUnit == 2;
        return true;
    };
    f->frame->dispatchCommand(325);
    QVERIFY(pausedUnder);
    QVERIFY(advanceHeld);
    QVERIFY(editsKept);
    QCOMPARE(f->engine->state, EngineState::Running);
    QVERIFY(f->controller().AutoAdvanceAllowed());
    QFile written(settingsFile);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(int(DeviceSettings::FromBytes(written.readAll()).speedUnit), 2);
    QCOMPARE(f->prompt.texts, QStringList{});

    // Cancel writes nothing and still resumes.
    const QDateTime before = QFileInfo(settingsFile).lastModified();
    f->sheet = [](SettingsSheetContext& context) {
        context.config->working.speedUnit = 0;
        return false;
    };
    f->frame->dispatchCommand(325);
    QCOMPARE(f->engine->state, EngineState::Running);
    QCOMPARE(QFileInfo(settingsFile).lastModified(), before);
    QFile kept(settingsFile);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(int(DeviceSettings::FromBytes(kept.readAll()).speedUnit), 2);
}

QTEST_MAIN(MainWindowCommandsTest)
#include "MainWindowCommandsTest.moc"

void MainWindowCommandsTest::impactMarksKeysAndExportDialog()
{
    // A hit at 2.5 s of the 3 s recording.
    FakeTelemetrySource source;
    for (int t = 0; t < 3000; t += 100)
        source.addLine(t == 2500 ? QByteArray("M\xff\x00\xff\0\0\0", 7) : QByteArray("M\x80\x80\xc0\0\0\0", 7), t);
    f->engine->telemetry = &source;
    f->controller().ActivateRow(0);
    QCOMPARE(f->frame->positionSlider()->Markers(), std::vector<int>{2500});
    QCOMPARE(f->frame->linePlot()->model().Markers(), std::vector<float>{2500.0f});
    f->frame->EnterFullScreen(); // the full-screen slider is made now and takes them over
    QCOMPARE(f->frame->fullPositionSlider()->Markers(), std::vector<int>{2500});
    QTest::keyClick(f->frame.get(), Qt::Key_I);
    QCOMPARE(f->engine->positionMs, 500u);
    QCOMPARE(f->frame->fullPositionSlider()->GetPos(), 500);
    f->frame->LeaveFullScreen();

    // Ctrl+E proposes the range around the hit (2 s before, 8 s after, cut
    // at the end), in a folder off the card.
    IncidentExportChoice shown;
    QTimer::singleShot(0, [&shown] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            shown = IncidentExportDialogs::ChoiceOf(*dialog);
            dialog->reject();
        }
    });
    QTest::keyClick(f->frame.get(), Qt::Key_E, Qt::ControlModifier);
    QCOMPARE(shown.fromMs, 500u);
    QCOMPARE(shown.toMs, 3000u);
    QVERIFY(shown.output.endsWith(QStringLiteral(".mp4")));
    QVERIFY(!shown.output.startsWith(f->card.root()));
    QVERIFY(f->prompt.texts.isEmpty());

    f->controller().StopCommand();
    QVERIFY(f->frame->positionSlider()->Markers().empty());
    QVERIFY(f->frame->fullPositionSlider()->Markers().empty());
    QTest::keyClick(f->frame.get(), Qt::Key_E, Qt::ControlModifier);
    QCOMPARE(f->prompt.texts.size(), 1);
    QVERIFY(f->prompt.texts.first().contains(QStringLiteral("재생 중인 영상이 없습니다")));
}
