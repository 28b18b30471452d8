#include "MainWindowFixture.h"

#include "../telemetry/FakeTelemetrySource.h"
#include "display/CLinePlot.h"
#include "display/CVxAnalogMeter.h"
#include "display/VideoWindow.h"
#include "skin/CVxButton.h"
#include "skin/CVxSlider.h"
#include "skin/CVxSwitch.h"

#include <QSettings>
#include <QTemporaryDir>

namespace {
QStringList cardFiles()
{
    QStringList f;
    for (int i = 0; i < 15; ++i)
        f << QStringLiteral("INFINITE/a/20140101_1200%1_I01.mp4").arg(i, 2, 10, QLatin1Char('0'));
    for (int i = 0; i < 3; ++i)
        f << QStringLiteral("EVENT/b/20140102_1200%1_E01.mp4").arg(i, 2, 10, QLatin1Char('0'));
    f << QStringLiteral("MANUAL/c/20140103_120000_M01.mp4");
    return f;
}
constexpr int kAll = 0, kNormal = 1, kEvent = 2, kManual = 3;
} // namespace

class MainWindowCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void startUpFillsAllAndPlaysNothing();
    void doubleClickPlaysWithBothPictures();
    void openAndRunFailuresAreReported();
    void previousOnFirstAndNextOnLastDoNothing();
    void playThenNextFollowsTheChosenRow();
    void autoAdvanceWrapsToFirstAndClearsMarks();
    void singleEntryReplays();
    void pausedAtStartOrEndMovesOn();
    void gpsTickShowsTheFixAtOrBeforeThePosition_data();
    void gpsTickShowsTheFixAtOrBeforeThePosition();
    void speedSliderSnapsBackWhileNothingPlays();
    void movingTheVolumeUnmutes();
    void categoriesRestoreRowAndScroll();
    void openFilesWhilePlaying_data();
    void openFilesWhilePlaying();
    void placementTable_data();
    void placementTable();
    void fullScreenOnWorkArea();
    void leavingFullScreen();
    void cardRemovalWhilePlaying();
    void stopHidesAndDisables();
    void fileCommands();
    void keyboardShortcuts_data();
    void keyboardShortcuts();

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
    QVERIFY(f->create(cardFiles()));
}

void MainWindowCommandsTest::cleanup()
{
    f.reset();
}

void MainWindowCommandsTest::startUpFillsAllAndPlaysNothing()
{
    QCOMPARE(f->frame->recordingList->GetRowCount(), 19);
    QCOMPARE(f->frame->recordingList->GetSelection(), 0);
    QCOMPARE(f->library().shownCategory, kAll);
    QVERIFY(f->frame->categoryButtons[0]->isSkinChecked());
    QCOMPARE(f->engine->count(QStringLiteral("Open")), 0);
    QCOMPARE(f->frame->volumePercent, 50);
    QCOMPARE(f->frame->muteSwitch->GetState(), 0); // the mute state could not be read
    QCOMPARE(f->frame->offline, 1);
    QCOMPARE(f->engine->windows[0], static_cast<IVideoWindow*>(f->frame->videoWindows[0]));
    QCOMPARE(f->engine->windows[3], static_cast<IVideoWindow*>(f->frame->videoWindows[3]));
    for (VideoWindow* w : f->frame->videoWindows)
        QVERIFY(!w->isVisible());
    QVERIFY(!f->frame->positionSlider->IsEnabled());
}

void MainWindowCommandsTest::doubleClickPlaysWithBothPictures()
{
    QTest::mouseDClick(f->frame->recordingList, Qt::LeftButton, {}, QPoint(100, 5));
    QCOMPARE(f->engine->openedPath, f->path(kAll, 0));
    QCOMPARE(f->engine->state, EngineState::Running);
    QCOMPARE(f->library().playingCategory, kAll);
    QVERIFY(f->frame->videoWindows[0]->isVisible());
    QVERIFY(f->frame->videoWindows[1]->isVisible());
    QVERIFY(f->frame->positionSlider->IsEnabled());
    QCOMPARE(f->frame->positionSlider->GetMax(), 3000);
    QVERIFY(!f->frame->skinButtons[3]->isVisible()); // play gives way to pause
    QVERIFY(f->frame->skinButtons[4]->isVisible());
    QCOMPARE(f->frame->firstPictureSize, QSize(1280, 720));
    QCOMPARE(f->engine->volume, 50);
    QVERIFY(f->library().GetRecording(kAll, 0)->played);

    f->engine->positionMs = 1200;
    f->frame->OnTimer1();
    QCOMPARE(f->frame->positionSlider->GetPos(), 1200);
}

void MainWindowCommandsTest::openAndRunFailuresAreReported()
{
    f->engine->openResult = false;
    f->frame->ActivateRow(0);
    QCOMPARE(f->prompt.texts, QStringList{QStringLiteral("Can not OpenFile")});
    QVERIFY(!f->frame->videoWindows[0]->isVisible());

    f->engine->openResult = true;
    f->engine->runResult = kStatusFail;
    f->frame->ActivateRow(1);
    QCOMPARE(f->prompt.texts.last(), QStringLiteral("Can not PlayFile"));
    QVERIFY(f->engine->hasGraph); // built and left stopped
}

void MainWindowCommandsTest::previousOnFirstAndNextOnLastDoNothing()
{
    f->frame->SelectCategory(kEvent);
    f->frame->ActivateRow(0);
    f->engine->calls.clear();
    f->frame->dispatchCommand(300);
    f->frame->dispatchCommand(290);
    QCOMPARE(f->engine->count(QStringLiteral("Open")), 0);

    f->frame->dispatchCommand(303);
    QCOMPARE(f->engine->openedPath, f->path(kEvent, 1));
    QCOMPARE(f->frame->recordingList->GetSelection(), 1);
    f->frame->dispatchCommand(294);
    QCOMPARE(f->engine->openedPath, f->path(kEvent, 2));
    f->engine->calls.clear();
    f->frame->dispatchCommand(303);
    QCOMPARE(f->engine->count(QStringLiteral("Open")), 0);

    f->frame->dispatchCommand(300); // previous clears the marks
    QCOMPARE(f->engine->openedPath, f->path(kEvent, 1));
    QVERIFY(!f->library().GetRecording(kEvent, 2)->played);
}

void MainWindowCommandsTest::playThenNextFollowsTheChosenRow()
{
    f->frame->recordingList->SelectRow(3);
    f->frame->dispatchCommand(301);
    QCOMPARE(f->engine->openedPath, f->path(kAll, 3));
    f->frame->dispatchCommand(303);
    QCOMPARE(f->engine->openedPath, f->path(kAll, 4));
    QCOMPARE(f->frame->recordingList->GetSelection(), 4);
}

void MainWindowCommandsTest::autoAdvanceWrapsToFirstAndClearsMarks()
{
    f->frame->SelectCategory(kEvent);
    f->frame->ActivateRow(0);
    QStringList played{f->engine->openedPath};
    for (int i = 0; i < 3; ++i) {
        f->endOfRecording();
        played << f->engine->openedPath;
    }
    QCOMPARE(played, (QStringList{f->path(kEvent, 0), f->path(kEvent, 1), f->path(kEvent, 2), f->path(kEvent, 0)}));
    QCOMPARE(f->library().views[kEvent].selected, 0);
    QCOMPARE(f->frame->recordingList->GetSelection(), 0);
    QVERIFY(f->library().GetRecording(kEvent, 0)->played);
    QVERIFY(!f->library().GetRecording(kEvent, 1)->played);
    QVERIFY(!f->library().GetRecording(kEvent, 2)->played);
}

void MainWindowCommandsTest::singleEntryReplays()
{
    f->frame->SelectCategory(kManual);
    f->frame->ActivateRow(0);
    f->engine->calls.clear();
    f->endOfRecording();
    QCOMPARE(f->engine->calls.filter(QStringLiteral("Open(")), QStringList{QStringLiteral("Open(%1)").arg(f->path(kManual, 0))});
    QCOMPARE(f->engine->state, EngineState::Running);
}

void MainWindowCommandsTest::pausedAtStartOrEndMovesOn()
{
    f->frame->SelectCategory(kEvent);
    f->frame->ActivateRow(0);
    f->engine->positionMs = 1000;
    f->frame->dispatchCommand(302);
    QCOMPARE(f->engine->state, EngineState::Paused);
    f->frame->OnTimer1();
    QCOMPARE(f->engine->openedPath, f->path(kEvent, 0)); // paused midway stays
    QVERIFY(f->frame->skinButtons[3]->isVisible());
    f->frame->dispatchCommand(301); // resumes, no reopen
    QCOMPARE(f->engine->state, EngineState::Running);
    QCOMPARE(f->engine->openedPath, f->path(kEvent, 0));
    f->frame->dispatchCommand(302);
    f->engine->positionMs = 0;
    f->frame->OnTimer1();
    QCOMPARE(f->engine->openedPath, f->path(kEvent, 1));
}

void MainWindowCommandsTest::gpsTickShowsTheFixAtOrBeforeThePosition_data()
{
    QTest::addColumn<int>("positionMs");
    QTest::addColumn<int>("speed");
    QTest::newRow("before the second fix") << 999 << 18;
    QTest::newRow("on the second fix") << 1000 << 37;
    QTest::newRow("after the last fix") << 5000 << 55;
}

void MainWindowCommandsTest::gpsTickShowsTheFixAtOrBeforeThePosition()
{
    QFETCH(int, positionMs);
    QFETCH(int, speed);
    FakeTelemetrySource source;
    source.addLine("G$GPRMC,233000,A,3715.5,S,12700.0,E,010.0,090.0,311214", 0);
    source.addLine("G$GPRMC,233001,A,3715.5,S,12700.0,E,020.0,090.0,311214", 1000);
    source.addLine("G$GPRMC,233002,A,3715.5,S,12700.0,E,030.0,090.0,311214", 2000);
    f->engine->telemetry = &source;
    QList<double> map;
    f->frame->showMapPosition = [&map](double lat, double) { map << lat; };
    f->frame->ActivateRow(0);
    f->engine->positionMs = std::uint64_t(positionMs);
    f->frame->OnTimer3();
    QCOMPARE(f->frame->speedMeter->speed(), speed);
    QVERIFY(map.isEmpty()); // offline: the map is left alone
    f->frame->offline = 0;
    f->frame->OnTimer3();
    QCOMPARE(map.size(), 1);
    QVERIFY(qAbs(map[0] + 37.258333) < 1e-6);

    f->frame->dispatchCommand(309); // stopped: the tick leaves the read-out alone
    f->frame->OnTimer3();
    QCOMPARE(map.size(), 1);
}

void MainWindowCommandsTest::speedSliderSnapsBackWhileNothingPlays()
{
    f->frame->speedSlider->SetPos(8);
    f->frame->OnSliderMoved(411, 8);
    QCOMPARE(f->frame->speedSlider->GetPos(), 5);
    QCOMPARE(f->frame->speedSetting, 5);

    f->frame->ActivateRow(0);
    f->frame->speedSlider->SetPos(9);
    f->frame->OnSliderMoved(411, 9);
    QCOMPARE(f->frame->speedSetting, 9);
    QVERIFY(f->engine->rate > 1.0f);
}

void MainWindowCommandsTest::movingTheVolumeUnmutes()
{
    f->frame->ActivateRow(0);
    f->frame->muteSwitch->SetState(0);
    f->frame->dispatchCommand(438);
    QCOMPARE(f->frame->muted, 1);
    QCOMPARE(f->engine->volume, 0);

    f->frame->volumeSlider->SetPos(30);
    f->frame->OnSliderMoving(412, 30);
    QCOMPARE(f->frame->muted, 0);
    QCOMPARE(f->frame->muteSwitch->GetState(), 1);
    QCOMPARE(f->frame->volumePercent, 30);
    QCOMPARE(f->engine->volume, 30);

    f->frame->ActivateRow(2); // the next recording keeps the chosen volume
    QCOMPARE(f->engine->volume, 30);
}

void MainWindowCommandsTest::categoriesRestoreRowAndScroll()
{
    CHTMLListCtrl* list = f->frame->recordingList;
    list->SelectRow(5);
    list->SetScrollPos(list->GetMaxScrollPos());
    const int scroll = list->GetScrollPos();
    QVERIFY(scroll > 0);
    f->frame->dispatchCommand(361);
    QCOMPARE(list->GetRowCount(), 15);
    QVERIFY(f->frame->categoryButtons[1]->isSkinChecked());
    QVERIFY(!f->frame->categoryButtons[0]->isSkinChecked());
    list->SelectRow(2);
    f->frame->dispatchCommand(360);
    QCOMPARE(list->GetRowCount(), 19);
    QCOMPARE(list->GetSelection(), 5);
    QCOMPARE(list->GetScrollPos(), scroll);
    f->frame->dispatchCommand(361);
    QCOMPARE(list->GetSelection(), 2);
}

void MainWindowCommandsTest::openFilesWhilePlaying_data()
{
    QTest::addColumn<int>("shown");
    QTest::addColumn<int>("rowsAfter");
    QTest::newRow("ALL shown") << kAll << 20;
    QTest::newRow("NORMAL shown") << kNormal << 15;
}

void MainWindowCommandsTest::openFilesWhilePlaying()
{
    QFETCH(int, shown);
    QFETCH(int, rowsAfter);
    QTemporaryDir other;
    const QString chosen = other.filePath(QStringLiteral("20150505_101010_I01.mp4"));
    {
        QFile file(chosen);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(4096));
    }
    f->dialogs.openNames = {chosen};
    f->frame->SelectCategory(shown);
    f->frame->ActivateRow(0);
    f->engine->calls.clear();
    f->frame->dispatchCommand(307);
    QCOMPARE(f->engine->state, EngineState::Paused);
    QCOMPARE(f->engine->count(QStringLiteral("Open")), 0);
    QCOMPARE(f->library().RecordingCount(kAll), 20);
    QCOMPARE(f->library().RecordingCount(kNormal), 16);
    QCOMPARE(f->frame->recordingList->GetRowCount(), rowsAfter);
    QCOMPARE(f->library().shownCategory, shown);
    QVERIFY(f->frame->skinButtons[3]->isVisible()); // play offered again
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
    f->frame->ActivateRow(0);
    if (swap)
        f->frame->dispatchCommand(523);
    QCOMPARE(f->frame->swapVideo, swap ? 1 : 0);
    if (full) {
        f->frame->EnterFullScreen();
        f->frame->ApplyLayoutFor(QSize(1920, 1040));
    }
    QTEST(f->frame->videoWindows[0]->geometry(), "rect1");
    QTEST(f->frame->videoWindows[0]->isVisible(), "show1");
    QTEST(f->frame->videoWindows[1]->geometry(), "rect2");
    QTEST(f->frame->videoWindows[1]->isVisible(), "show2");
    QVERIFY(!f->frame->videoWindows[2]->isVisible());
}

void MainWindowCommandsTest::fullScreenOnWorkArea()
{
    f->frame->ActivateRow(0);
    f->frame->EnterFullScreen();
    CVxSlider* created = f->frame->fullPositionSlider;
    QVERIFY(created);
    QCOMPARE(f->frame->fullScreenControlsCreated, 1);
    f->frame->ApplyLayoutFor(QSize(1920, 1040));
    QCOMPARE(f->frame->size(), QSize(1920, 1040));
    QCOMPARE(f->frame->fullPositionSlider->pos(), QPoint(67, 1040 - 91));
    QCOMPARE(f->frame->fullSpeedSlider->geometry(), QRect(92, 1040 - 35, 88, 10));
    QVERIFY(f->frame->fullSpeedSlider->IsEnabled());
    QCOMPARE(f->frame->fullVolumeSlider->geometry(), QRect(92, 1040 - 67, 88, 10));
    QCOMPARE(f->frame->skinButtons[8]->pos(), QPoint(200, 1040 - 72));
    QCOMPARE(f->frame->skinButtons[25]->pos(), QPoint(1920 - 27, 5));
    QCOMPARE(f->frame->skinButtons[26]->pos(), QPoint(1920 - 167, 1040 - 65));
    QVERIFY(f->frame->skinButtons[12]->isVisible()); // full-screen pause while running
    QVERIFY(!f->frame->skinButtons[4]->isVisible());
    QVERIFY(!f->frame->recordingList->isVisible());
    QVERIFY(!f->frame->linePlot->isVisible());
    QVERIFY(!f->frame->positionSlider->isVisible());
    QCOMPARE(f->frame->captionStripRect, QRect(0, 0, 1920, 27));
    QCOMPARE(f->frame->speedLabelRectFull, QRect(60, 1040 - 44, 29, 27));
    // The window still paints in full screen.
    QVERIFY(!f->frame->grab().isNull());

    f->frame->ToggleFullScreen();
    QCOMPARE(f->frame->fullScreen, 0);
    f->frame->ToggleFullScreen();
    QCOMPARE(f->frame->fullPositionSlider, created); // made once
}

void MainWindowCommandsTest::leavingFullScreen()
{
    f->frame->ActivateRow(0);
    const QRect before = f->frame->geometry();
    f->frame->EnterFullScreen();
    QCOMPARE(f->frame->fullScreen, 1);
    QTest::mouseDClick(f->frame.get(), Qt::LeftButton, {}, QPoint(400, 60)); // below the caption strip
    QCOMPARE(f->frame->fullScreen, 1);
    QTest::mouseDClick(f->frame.get(), Qt::LeftButton, {}, QPoint(400, 10));
    QCOMPARE(f->frame->fullScreen, 0);
    QCOMPARE(f->frame->geometry(), before);
    QVERIFY(f->frame->recordingList->isVisible());
    QVERIFY(f->frame->videoWindows[1]->isVisible());

    f->frame->EnterFullScreen();
    QTest::keyClick(f->frame.get(), Qt::Key_Escape);
    QCOMPARE(f->frame->fullScreen, 0);
}

void MainWindowCommandsTest::cardRemovalWhilePlaying()
{
    f->frame->ActivateRow(3);
    f->drives->Remove(f->card.root());
    QCOMPARE(f->engine->count(QStringLiteral("StopAndClose")), 1);
    QVERIFY(!f->engine->hasGraph);
    QCOMPARE(f->library().shownCategory, -1);
    QCOMPARE(f->library().playingCategory, -1);
    QCOMPARE(f->frame->recordingList->GetRowCount(), 0);
    for (CVxButton* tab : f->frame->categoryButtons)
        QVERIFY(!tab->isSkinChecked());
    QVERIFY(!f->frame->videoWindows[0]->isVisible());
    QVERIFY(!f->frame->positionSlider->IsEnabled());
    QCOMPARE(f->frame->positionSlider->GetPos(), 0);
    QVERIFY(f->frame->skinButtons[3]->isVisible());
    f->frame->OnTimer1(); // nothing left to move on to
    f->frame->dispatchCommand(301);
    QCOMPARE(f->engine->count(QStringLiteral("Open")), 1);
}

void MainWindowCommandsTest::stopHidesAndDisables()
{
    f->frame->ActivateRow(0);
    f->frame->dispatchCommand(309);
    QVERIFY(!f->engine->hasGraph);
    QVERIFY(!f->frame->videoWindows[0]->isVisible());
    QVERIFY(!f->frame->videoWindows[1]->isVisible());
    QVERIFY(!f->frame->positionSlider->IsEnabled());
    QVERIFY(!f->frame->speedSlider->IsEnabled());
    QCOMPARE(f->frame->linePlot->SeriesCount(), 0);
    QVERIFY(f->frame->skinButtons[3]->isVisible());
    f->frame->OnTimer1(); // no graph: nothing starts
    QCOMPARE(f->engine->count(QStringLiteral("Open")), 1);
    f->frame->dispatchCommand(310); // stepping needs a graph
    QCOMPARE(f->engine->count(QStringLiteral("StepBack")), 0);
}

void MainWindowCommandsTest::fileCommands()
{
    QTemporaryDir out;
    CHTMLListCtrl* list = f->frame->recordingList;
    // Copy of one ticked row under the chosen name.
    list->SetRowTicked(1, 1);
    f->dialogs.saveName = out.filePath(QStringLiteral("copy.mp4"));
    f->frame->dispatchCommand(311);
    QCOMPARE(QFileInfo(f->dialogs.saveName).size(), 2048);
    QCOMPARE(list->GetRowTicked(1), 0);

    // Delete of a ticked row: file, entries and row go.
    const QString doomed = f->path(kAll, 2);
    list->SetRowTicked(2, 1);
    f->prompt.answerYes = true;
    f->frame->dispatchCommand(312);
    QVERIFY(!QFileInfo::exists(doomed));
    QCOMPARE(list->GetRowCount(), 18);
    QCOMPARE(f->library().RecordingCount(kAll), 18);

    // Snapshot of both cameras while playing.
    f->frame->ActivateRow(0);
    f->dialogs.saveName = out.filePath(QStringLiteral("shot.jpeg"));
    f->frame->dispatchCommand(324);
    QVERIFY(QFileInfo::exists(out.filePath(QStringLiteral("shot_front.jpg"))));
    QVERIFY(QFileInfo::exists(out.filePath(QStringLiteral("shot_rear.jpg"))));
    QCOMPARE(f->engine->state, EngineState::Running); // resumed after the dialog
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
        f->frame->ActivateRow(0);
    QList<int> seen;
    for (int id : {300, 301, 302, 303, 306, 310, 323, 324, 438})
        f->frame->registerCommand(id, [&seen, id] { seen << id; });
    QTest::keyClick(f->frame.get(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(seen, command < 0 ? QList<int>{} : QList<int>{command});
}

QTEST_MAIN(MainWindowCommandsTest)
#include "MainWindowCommandsTest.moc"
