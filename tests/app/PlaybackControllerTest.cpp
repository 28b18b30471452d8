// The playback controller without widgets: a fake engine, fake views and a
// recording library scanned from a card folder.
#include "PlaybackCardFiles.h"
#include "app/PlaybackController.h"
#include "config/DeviceConfig.h"
#include "display/LinePlotModel.h"
#include "fakes/FakePlaybackEngine.h"
#include "fakes/FakePlaybackSliders.h"
#include "fakes/FakePrompt.h"
#include "fakes/FakeRecordingListView.h"
#include "fakes/FakeVideoArea.h"
#include "fakes/FakeVolumePath.h"
#include "card/RecordingLibrary.h"
#include "card/CardTree.h"
#include "fakes/FakeTelemetrySource.h"

#include <QSignalSpy>
#include <algorithm>
#include <cmath>
#include <QTemporaryDir>
#include <QTest>

namespace {
// 30 s standing still (an acceleration line every 100 ms, 1 g on Z) with a
// hit of about 3 g at each of hitsMs.
void addStandstillWithHits(FakeTelemetrySource& source, const std::vector<int>& hitsMs)
{
    for (int t = 0; t < 30000; t += 100) {
        const bool hit = std::find(hitsMs.begin(), hitsMs.end(), t) != hitsMs.end();
        QByteArray line("M");
        line += char(hit ? 255 : 128);
        line += char(hit ? 0 : 128);
        line += char(hit ? 255 : 192);
        line += QByteArray(3, char(0));
        source.addLine(line, t);
    }
}

constexpr int kAll = 0, kNormal = 1, kEvent = 2, kManual = 3;

// A controller over the card of playbackCardFiles(), shown as the window shows it
// after the start-up scan (ALL, row 0 selected), with the pauses removed.
struct ControllerFixture {
    CardTree card;
    RecordingLibrary library;
    DeviceConfig config;
    FakeRecordingListView list;
    FakeVideoArea video;
    FakePlaybackSliders sliders;
    LinePlotModel plot;
    FakePrompt prompt;
    FakePlaybackEngine* engine = nullptr; // owned by the controller
    std::unique_ptr<PlaybackController> c;

    bool create()
    {
        card.makeCard();
        for (const QString& f : playbackCardFiles())
            if (!card.file(f))
                return false;
        library.SetListView(&list);
        library.ScanCard(card.root());
        auto e = std::make_unique<FakePlaybackEngine>();
        e->durationMs = 3000;
        e->videoPinCount = 2;
        e->frame = QImage(1280, 720, QImage::Format_RGB32);
        engine = e.get();
        c = std::make_unique<PlaybackController>(std::move(e), library, config);
        c->SetViews(PlaybackViews{&video, &sliders, &plot, &prompt});
        c->SetWait([](int) {});
        c->SetInitialVolume(50);
        return true;
    }
    QString path(int category, int row) const { return library.GetRecording(category, row)->path; }
    // The position reaches the end and the tick sees it.
    void endOfRecording()
    {
        engine->positionMs = engine->durationMs;
        c->OnTimer1();
    }
};
} // namespace

class PlaybackControllerTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void activateRowPlaysAndShows();
    void openAndRunFailuresAreReported();
    void aRecoveredCopyJoinsAllAndPlays();
    void previousOnFirstAndNextOnLastDoNothing();
    void playThenNextFollowsTheChosenRow();
    void autoAdvanceWrapsToFirstAndClearsMarks();
    void singleEntryReplays();
    void pausedAtStartOrEndMovesOn();
    void autoAdvanceCanBeHeldBack();
    void gpsTickShowsTheFixAtOrBeforeThePosition_data();
    void gpsTickShowsTheFixAtOrBeforeThePosition();
    void speedSliderSnapsBackWhileNothingPlays();
    void movingTheVolumeUnmutes();
    void categoriesRestoreRowAndScroll();
    void openFilesWhilePlaying_data();
    void openFilesWhilePlaying();
    void dialogPauseResumesOnlyWhatRan();
    void stopHidesAndDisables();
    void swapNeedsTwoRunningPictures();
    void mirrorAndFlipTouchOnlyTheRearDecoders();
    void cardLossClearsTheViews();
    void impactsAreMarkedAndSteppedThrough();
    void impactThresholdComesFromTheSetting();
    void systemSoundStartState_data();
    void systemSoundStartState();
    void systemMuteMovesOnlyTheSwitch();
    void engineErrorStopsOnceAndTheAdvancePassesItBy();
    void unplayableAloneInItsCategoryIsReportedOnce();
    void draggedPositionKeepsOneSeekInFlight();

private:
    std::unique_ptr<ControllerFixture> f;
};

void PlaybackControllerTest::init()
{
    f = std::make_unique<ControllerFixture>();
    QVERIFY(f->create());
}

void PlaybackControllerTest::cleanup()
{
    f.reset();
}

void PlaybackControllerTest::activateRowPlaysAndShows()
{
    QSignalSpy started(f->c.get(), &PlaybackController::recordingStarted);
    f->c->ActivateRow(0);
    QCOMPARE(f->engine->openedPath, f->path(kAll, 0));
    QCOMPARE(f->engine->state, EngineState::Running);
    QCOMPARE(f->library.playingCategory, kAll);
    QVERIFY(f->video.shown);
    QVERIFY(f->video.placements > 0);
    QVERIFY(f->sliders.transportEnabled);
    QCOMPARE(f->sliders.positionMax, 3000);
    QVERIFY(f->c->IsRunning());
    QCOMPARE(f->c->firstPictureSize(), QSize(1280, 720));
    QCOMPARE(f->c->currentFile(), f->path(kAll, 0));
    QCOMPARE(f->engine->volume, 50);
    QVERIFY(f->library.GetRecording(kAll, 0)->played);
    QCOMPARE(started.size(), 1);

    f->engine->positionMs = 1200;
    f->c->OnTimer1();
    QCOMPARE(f->sliders.position, 1200);
    QCOMPARE(f->plot.cursor, 1200u);
}

void PlaybackControllerTest::openAndRunFailuresAreReported()
{
    f->engine->openResult = false;
    f->c->ActivateRow(0);
    QCOMPARE(f->prompt.texts, QStringList{QStringLiteral("Can not OpenFile")});
    QVERIFY(!f->video.shown);

    f->engine->openResult = true;
    f->engine->runResult = kStatusFail;
    f->c->ActivateRow(1);
    QCOMPARE(f->prompt.texts.last(), QStringLiteral("Can not PlayFile"));
    QVERIFY(f->engine->hasGraph); // built and left stopped
}

void PlaybackControllerTest::aRecoveredCopyJoinsAllAndPlays()
{
    QVERIFY(f->card.file(QStringLiteral("saved/20140101_120000_I01_recovered.mp4")));
    const QString recovered = f->card.path(QStringLiteral("saved/20140101_120000_I01_recovered.mp4"));
    QStringList offered;
    QString answer = recovered;
    f->c->SetRecoveryOffer([&](const QString& path) {
        offered << path;
        f->engine->openResult = true;
        return answer;
    });
    const int before = f->library.RecordingCount(kAll);
    f->engine->openResult = false;
    f->c->SelectCategory(kEvent);
    f->c->ActivateRow(0);
    // The offer follows the message, after the failed open has returned.
    QCOMPARE(f->prompt.texts, QStringList{QStringLiteral("Can not OpenFile")});
    QCOMPARE(offered, QStringList{});
    QTRY_COMPARE(offered, QStringList{f->path(kEvent, 0)});
    QCOMPARE(f->engine->openedPath, recovered);
    QCOMPARE(f->engine->state, EngineState::Running);
    QCOMPARE(f->library.RecordingCount(kAll), before + 1);
    QCOMPARE(f->library.shownCategory, kAll);
    QCOMPARE(f->library.GetRecording(kAll, f->list.selection)->path, recovered);

    // Declined or failed: nothing more is opened.
    answer.clear();
    f->engine->openResult = false;
    f->engine->calls.clear();
    f->c->ActivateRow(0);
    QTRY_COMPARE(offered.size(), 2);
    QCOMPARE(f->engine->count(QStringLiteral("Open")), 1);
}

void PlaybackControllerTest::previousOnFirstAndNextOnLastDoNothing()
{
    f->c->SelectCategory(kEvent);
    f->c->ActivateRow(0);
    f->engine->calls.clear();
    f->c->PlayPrevious();
    QCOMPARE(f->engine->count(QStringLiteral("Open")), 0);

    f->c->PlayNext();
    QCOMPARE(f->engine->openedPath, f->path(kEvent, 1));
    QCOMPARE(f->list.selection, 1);
    f->c->PlayNext();
    QCOMPARE(f->engine->openedPath, f->path(kEvent, 2));
    f->engine->calls.clear();
    f->c->PlayNext();
    QCOMPARE(f->engine->count(QStringLiteral("Open")), 0);

    f->c->PlayPrevious(); // previous clears the marks
    QCOMPARE(f->engine->openedPath, f->path(kEvent, 1));
    QVERIFY(!f->library.GetRecording(kEvent, 2)->played);
}

void PlaybackControllerTest::playThenNextFollowsTheChosenRow()
{
    f->list.SelectRow(3);
    f->c->PlayCommand();
    QCOMPARE(f->engine->openedPath, f->path(kAll, 3));
    f->c->PlayNext();
    QCOMPARE(f->engine->openedPath, f->path(kAll, 4));
    QCOMPARE(f->list.selection, 4);
}

void PlaybackControllerTest::autoAdvanceWrapsToFirstAndClearsMarks()
{
    f->c->SelectCategory(kEvent);
    f->c->ActivateRow(0);
    QStringList played{f->engine->openedPath};
    for (int i = 0; i < 3; ++i) {
        f->endOfRecording();
        played << f->engine->openedPath;
    }
    QCOMPARE(played, (QStringList{f->path(kEvent, 0), f->path(kEvent, 1), f->path(kEvent, 2), f->path(kEvent, 0)}));
    QCOMPARE(f->library.views[kEvent].selected, 0);
    QCOMPARE(f->list.selection, 0);
    QVERIFY(f->library.GetRecording(kEvent, 0)->played);
    QVERIFY(!f->library.GetRecording(kEvent, 1)->played);
    QVERIFY(!f->library.GetRecording(kEvent, 2)->played);
}

void PlaybackControllerTest::singleEntryReplays()
{
    f->c->SelectCategory(kManual);
    f->c->ActivateRow(0);
    f->engine->calls.clear();
    f->endOfRecording();
    QCOMPARE(f->engine->calls.filter(QStringLiteral("Open(")),
             QStringList{QStringLiteral("Open(%1)").arg(f->path(kManual, 0))});
    QCOMPARE(f->engine->state, EngineState::Running);
}

void PlaybackControllerTest::pausedAtStartOrEndMovesOn()
{
    QSignalSpy playState(f->c.get(), &PlaybackController::playStateChanged);
    f->c->SelectCategory(kEvent);
    f->c->ActivateRow(0);
    f->engine->positionMs = 1000;
    f->c->PauseCommand();
    QCOMPARE(f->engine->state, EngineState::Paused);
    QVERIFY(!playState.isEmpty()); // play offered again
    f->c->OnTimer1();
    QCOMPARE(f->engine->openedPath, f->path(kEvent, 0)); // paused midway stays
    f->c->PlayCommand(); // resumes, no reopen
    QCOMPARE(f->engine->state, EngineState::Running);
    QCOMPARE(f->engine->openedPath, f->path(kEvent, 0));
    f->c->PauseCommand();
    f->engine->positionMs = 0;
    f->c->OnTimer1();
    QCOMPARE(f->engine->openedPath, f->path(kEvent, 1));
}

void PlaybackControllerTest::autoAdvanceCanBeHeldBack()
{
    f->c->ActivateRow(0);
    f->c->SetAutoAdvanceAllowed(false);
    f->engine->calls.clear();
    f->endOfRecording();
    QCOMPARE(f->engine->count(QStringLiteral("Open")), 0);
    f->c->SetAutoAdvanceAllowed(true);
    f->c->OnTimer1();
    QCOMPARE(f->engine->openedPath, f->path(kAll, 1));
}

void PlaybackControllerTest::gpsTickShowsTheFixAtOrBeforeThePosition_data()
{
    QTest::addColumn<int>("positionMs");
    QTest::addColumn<int>("speed");
    QTest::newRow("before the second fix") << 999 << 18;
    QTest::newRow("on the second fix") << 1000 << 37;
    QTest::newRow("after the last fix") << 5000 << 55;
}

void PlaybackControllerTest::gpsTickShowsTheFixAtOrBeforeThePosition()
{
    QFETCH(int, positionMs);
    QFETCH(int, speed);
    FakeTelemetrySource source;
    source.addLine("G$GPRMC,233000,A,3715.5,S,12700.0,E,010.0,090.0,311214", 0);
    source.addLine("G$GPRMC,233001,A,3715.5,S,12700.0,E,020.0,090.0,311214", 1000);
    source.addLine("G$GPRMC,233002,A,3715.5,S,12700.0,E,030.0,090.0,311214", 2000);
    f->engine->telemetry = &source;
    QSignalSpy fixes(f->c.get(), &PlaybackController::gpsFixReached);
    QSignalSpy readout(f->c.get(), &PlaybackController::speedReadout);
    f->c->ActivateRow(0);
    f->engine->positionMs = std::uint64_t(positionMs);
    readout.clear();
    f->c->OnTimer3();
    QCOMPARE(readout.size(), 1);
    QCOMPARE(readout[0][0].toInt(), speed);
    QCOMPARE(fixes.size(), 1);
    QVERIFY(!fixes[0][1].toBool()); // offline: the map is left alone
    f->c->SetOffline(false);
    f->c->OnTimer3();
    QCOMPARE(fixes.size(), 2);
    QVERIFY(fixes[1][1].toBool());
    QVERIFY(qAbs(fixes[1][0].value<GpsFixReadoutValues>().latitude + 37.258333) < 1e-6);

    f->c->StopCommand(); // stopped: the tick leaves the read-out alone
    f->c->OnTimer3();
    QCOMPARE(fixes.size(), 2);
}

void PlaybackControllerTest::speedSliderSnapsBackWhileNothingPlays()
{
    f->c->SpeedSliderMoved(8);
    QCOMPARE(f->sliders.speed, 5);
    QCOMPARE(f->c->speedSetting(), 5);

    f->c->ActivateRow(0);
    f->c->SpeedSliderMoved(9);
    QCOMPARE(f->c->speedSetting(), 9);
    QCOMPARE(f->sliders.speed, 9);
    QVERIFY(f->engine->rate > 1.0f);
}

void PlaybackControllerTest::movingTheVolumeUnmutes()
{
    f->c->ActivateRow(0);
    f->c->SetMuted(true);
    QVERIFY(f->c->isMuted());
    QCOMPARE(f->engine->volume, 0);

    f->c->VolumeSliderMoving(30, true);
    QVERIFY(!f->c->isMuted());
    QVERIFY(f->sliders.soundOn);
    QCOMPARE(f->sliders.volume, 30);
    QCOMPARE(f->c->volumePercent(), 30);
    QCOMPARE(f->engine->volume, 30);

    f->c->ActivateRow(2); // the next recording keeps the chosen volume
    QCOMPARE(f->engine->volume, 30);

    f->c->VolumeSliderMoving(-1, false); // out of range (unsigned) counts as the top
    QCOMPARE(f->c->volumePercent(), 99);
}

void PlaybackControllerTest::categoriesRestoreRowAndScroll()
{
    QSignalSpy tabs(f->c.get(), &PlaybackController::categoryTabsShow);
    f->list.SelectRow(5);
    f->list.SetScrollPos(140);
    f->c->SelectCategory(kNormal);
    QCOMPARE(f->list.GetRowCount(), 15);
    QCOMPARE(tabs.last()[0].toInt(), kNormal);
    f->list.SelectRow(2);
    f->c->SelectCategory(kAll);
    QCOMPARE(f->list.GetRowCount(), 19);
    QCOMPARE(f->list.selection, 5);
    QCOMPARE(f->list.scrollPos, 140);
    f->c->SelectCategory(kNormal);
    QCOMPARE(f->list.selection, 2);
}

void PlaybackControllerTest::openFilesWhilePlaying_data()
{
    QTest::addColumn<int>("shown");
    QTest::addColumn<int>("rowsAfter");
    QTest::newRow("ALL shown") << kAll << 20;
    QTest::newRow("NORMAL shown") << kNormal << 15;
}

void PlaybackControllerTest::openFilesWhilePlaying()
{
    QFETCH(int, shown);
    QFETCH(int, rowsAfter);
    QTemporaryDir other;
    const QString chosen = other.filePath(QStringLiteral("20150505_101010_I01.mp4"));
    {
        QFile file(chosen);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(4096));
    }
    QSignalSpy pressed(f->c.get(), &PlaybackController::categoryTabPressed);
    f->c->SelectCategory(shown);
    f->c->ActivateRow(0);
    f->engine->calls.clear();
    const bool wasRunning = f->c->PauseForDialog();
    QVERIFY(wasRunning);
    f->c->AddOpenedFiles({chosen}, wasRunning);
    QCOMPARE(f->engine->state, EngineState::Paused);
    QCOMPARE(f->engine->count(QStringLiteral("Open")), 0);
    QCOMPARE(f->library.RecordingCount(kAll), 20);
    QCOMPARE(f->library.RecordingCount(kNormal), 16);
    QCOMPARE(f->list.GetRowCount(), rowsAfter);
    QCOMPARE(f->library.shownCategory, shown);
    QVERIFY(pressed.isEmpty());
    QVERIFY(!f->c->IsRunning()); // play offered again

    // Nothing playing: ALL is shown with its first row selected.
    f->c->StopCommand();
    f->c->AddOpenedFiles({chosen}, f->c->PauseForDialog());
    QCOMPARE(f->library.shownCategory, kAll);
    QCOMPARE(pressed.size(), 1);
    QCOMPARE(f->list.selection, 0);
}

void PlaybackControllerTest::dialogPauseResumesOnlyWhatRan()
{
    f->c->ActivateRow(0);
    const bool wasRunning = f->c->PauseForDialog();
    QCOMPARE(f->engine->state, EngineState::Paused);
    f->c->ResumeAfterDialog(wasRunning);
    QCOMPARE(f->engine->state, EngineState::Running);

    f->c->PauseCommand();
    f->c->ResumeAfterDialog(f->c->PauseForDialog());
    QCOMPARE(f->engine->state, EngineState::Paused);
}

void PlaybackControllerTest::stopHidesAndDisables()
{
    QSignalSpy readout(f->c.get(), &PlaybackController::speedReadout);
    f->c->ActivateRow(0);
    f->c->StopCommand();
    QVERIFY(!f->engine->hasGraph);
    QCOMPARE(f->engine->calls.mid(f->engine->calls.lastIndexOf(QStringLiteral("SetRate(1)")) + 1),
             (QStringList{QStringLiteral("Stop"), QStringLiteral("SeekMs(0)"), QStringLiteral("Stop"),
                          QStringLiteral("Close")}));
    QVERIFY(!f->video.shown);
    QVERIFY(!f->sliders.transportEnabled);
    QCOMPARE(f->plot.SeriesCount(), 0);
    QVERIFY(!f->c->IsRunning());
    QCOMPARE(readout.last()[0].toInt(), 0);
    f->c->OnTimer1(); // no graph: nothing starts
    QCOMPARE(f->engine->count(QStringLiteral("Open")), 1);
    f->c->StepBack(); // stepping needs a graph
    QCOMPARE(f->engine->count(QStringLiteral("StepBack")), 0);
}

void PlaybackControllerTest::swapNeedsTwoRunningPictures()
{
    QVERIFY(!f->c->SwapVideo()); // nothing plays
    f->c->ActivateRow(0);
    QVERIFY(f->c->SwapVideo());
    QVERIFY(f->c->swapVideo());
    f->engine->videoPinCount = 1;
    QVERIFY(!f->c->SwapVideo());
    QVERIFY(f->c->swapVideo());
}

void PlaybackControllerTest::mirrorAndFlipTouchOnlyTheRearDecoders()
{
    f->engine->videoPinCount = 3;
    f->c->ToggleMirror();
    f->c->ToggleFlip();
    f->c->ToggleFlip();
    QCOMPARE(f->engine->calls.filter(QStringLiteral("DecoderSetParam")),
             (QStringList{QStringLiteral("DecoderSetParam(2,1101,1)"), QStringLiteral("DecoderSetParam(2,1113,1)"),
                          QStringLiteral("DecoderSetParam(3,1101,1)"), QStringLiteral("DecoderSetParam(3,1113,1)"),
                          QStringLiteral("DecoderSetParam(2,1101,1)"), QStringLiteral("DecoderSetParam(2,1112,1)"),
                          QStringLiteral("DecoderSetParam(3,1101,1)"), QStringLiteral("DecoderSetParam(3,1112,1)"),
                          QStringLiteral("DecoderSetParam(2,1101,1)"), QStringLiteral("DecoderSetParam(2,1112,0)"),
                          QStringLiteral("DecoderSetParam(3,1101,1)"), QStringLiteral("DecoderSetParam(3,1112,0)")}));
}

void PlaybackControllerTest::cardLossClearsTheViews()
{
    f->c->ActivateRow(3);
    f->engine->StopAndClose(); // what the card monitor does first
    f->library.ResetLibrary();
    QVERIFY(!f->video.shown);
    QVERIFY(!f->sliders.transportEnabled);
    QCOMPARE(f->sliders.position, 0);
    QCOMPARE(f->plot.SeriesCount(), 0);
    f->c->OnTimer1(); // nothing left to move on to
    f->c->PlayCommand();
    QCOMPARE(f->engine->count(QStringLiteral("Open")), 1);
}

void PlaybackControllerTest::systemSoundStartState_data()
{
    QTest::addColumn<bool>("hasPath");
    QTest::addColumn<bool>("opens");
    QTest::addColumn<bool>("reads");
    QTest::addColumn<bool>("systemMuted");
    QTest::addColumn<bool>("soundOn");
    QTest::addColumn<int>("startVolume");
    // The wave-out scale: 65535 / 654 = 100 at full volume.
    QTest::newRow("no sound server") << false << false << false << false << true << 0;
    QTest::newRow("server does not answer") << true << false << false << false << true << 0;
    QTest::newRow("mute cannot be read") << true << true << false << false << true << 0;
    QTest::newRow("system muted") << true << true << true << true << false << 65;
    QTest::newRow("system not muted") << true << true << true << false << true << 65;
}

void PlaybackControllerTest::systemSoundStartState()
{
    QFETCH(bool, hasPath);
    QFETCH(bool, opens);
    QFETCH(bool, reads);
    QFETCH(bool, systemMuted);
    QFETCH(bool, soundOn);
    QFETCH(int, startVolume);
    std::unique_ptr<FakeVolumePath> path;
    if (hasPath) {
        path = std::make_unique<FakeVolumePath>();
        path->openResult = opens;
        path->readResult = reads;
        path->systemMuted = systemMuted;
        path->systemVolume = opens && reads ? std::optional<int>(65) : std::nullopt;
    }
    QCOMPARE(f->c->OpenSystemSound(std::move(path)), soundOn);
    QCOMPARE(f->c->volumePercent(), startVolume);
    QVERIFY(!f->c->isMuted()); // the player itself starts with sound
    f->c->SetInitialVolume(50);
    f->c->ActivateRow(0);
    QCOMPARE(f->engine->volume, 50);
}

void PlaybackControllerTest::systemMuteMovesOnlyTheSwitch()
{
    auto owned = std::make_unique<FakeVolumePath>();
    FakeVolumePath* path = owned.get();
    QVERIFY(f->c->OpenSystemSound(std::move(owned)));
    f->c->ActivateRow(0);
    f->sliders.soundOn = true;
    f->engine->calls.clear();
    path->calls.clear();

    path->setSystemMute(true);
    QVERIFY(!f->sliders.soundOn);
    QVERIFY(!f->c->isMuted());
    path->setSystemMute(false);
    QVERIFY(f->sliders.soundOn);
    QCOMPARE(f->engine->count(QStringLiteral("SetVolume")), 0);
    QCOMPARE(f->engine->volume, 50);

    // The player's own mute keeps the switch off whatever the system does;
    // pressing the switch asks nothing of the system.
    f->c->SetMuted(true);
    QCOMPARE(f->engine->volume, 0);
    path->setSystemMute(true);
    path->setSystemMute(false);
    QVERIFY(!f->sliders.soundOn);
    QVERIFY(f->c->isMuted());
    QCOMPARE(f->engine->volume, 0);
    f->c->SetMuted(false);
    QCOMPARE(f->engine->volume, 50);
    QVERIFY(path->calls.isEmpty());
}

void PlaybackControllerTest::engineErrorStopsOnceAndTheAdvancePassesItBy()
{
    f->c->SelectCategory(kEvent);
    f->c->ActivateRow(1);
    f->engine->positionMs = 1200;
    f->engine->calls.clear();
    // The graph reports the broken recording several times.
    emit f->engine->error(QStringLiteral("Internal data stream error."));
    emit f->engine->error(QStringLiteral("Internal data stream error."));
    QCOMPARE(f->prompt.texts.size(), 1);
    QVERIFY(f->prompt.texts[0].contains(QStringLiteral("Internal data stream error.")));
    QVERIFY(f->prompt.texts[0].contains(f->path(kEvent, 1)));
    QCOMPARE(f->engine->state, EngineState::Stopped);
    QCOMPARE(f->engine->count(QStringLiteral("Close")), 0); // the last picture stays
    QVERIFY(!f->sliders.transportEnabled);
    QVERIFY(f->c->stoppedByError());
    QVERIFY(f->c->IsFailed(f->path(kEvent, 1)));
    QVERIFY(f->c->IsFailed(f->path(kAll, 16))); // the same file in ALL

    // The tick no longer believes it plays, nor starts anything from it.
    f->engine->positionMs = 0;
    for (int i = 0; i < 3; ++i)
        f->c->OnTimer1();
    QCOMPARE(f->engine->count(QStringLiteral("Open")), 0);

    // The advance passes the failed recording by: 0 -> 2 -> 0.
    f->c->ActivateRow(0);
    QVERIFY(!f->c->stoppedByError());
    f->endOfRecording();
    QCOMPARE(f->engine->openedPath, f->path(kEvent, 2));
    f->endOfRecording();
    QCOMPARE(f->engine->openedPath, f->path(kEvent, 0));

    // Picked by the user, it is tried again; playing clears the mark.
    f->c->ActivateRow(1);
    QCOMPARE(f->engine->openedPath, f->path(kEvent, 1));
    QVERIFY(!f->c->IsFailed(f->path(kEvent, 1)));
    QCOMPARE(f->prompt.texts.size(), 1);
}

void PlaybackControllerTest::unplayableAloneInItsCategoryIsReportedOnce()
{
    f->c->SelectCategory(kManual);
    f->engine->runResult = kStatusFail;
    f->c->ActivateRow(0);
    QCOMPARE(f->prompt.texts, QStringList{QStringLiteral("Can not PlayFile")});
    emit f->engine->error(QStringLiteral("not negotiated")); // heard of already
    for (int i = 0; i < 5; ++i)
        f->c->OnTimer1();
    QCOMPARE(f->prompt.texts.size(), 1);
    QCOMPARE(f->engine->count(QStringLiteral("Open")), 1);

    // Every recording of a category failed: the advance rests.
    f->engine->openResult = false;
    f->c->SelectCategory(kEvent);
    for (int row = 0; row < 3; ++row)
        f->c->ActivateRow(row);
    QCOMPARE(f->prompt.texts.size(), 4);
    f->c->PlayNextUnplayed();
    QCOMPARE(f->prompt.texts.size(), 4);
}

void PlaybackControllerTest::draggedPositionKeepsOneSeekInFlight()
{
    f->c->ActivateRow(0);
    f->engine->calls.clear();
    // The fake settles each seek by a queued call, as the graph does later.
    for (int ms : {100, 700, 1400, 3000})
        f->c->PositionSliderMoving(ms);
    QCOMPARE(f->engine->calls.filter(QStringLiteral("SeekMs")), QStringList{QStringLiteral("SeekMs(100)")});
    QCOMPARE(f->sliders.position, 3000); // the thumb follows the pointer

    // At the end while the thumb is held: no advance, and the tick leaves the thumb be.
    f->engine->positionMs = 3000;
    f->c->OnTimer1();
    QCOMPARE(f->engine->count(QStringLiteral("Open")), 0);
    QCOMPARE(f->sliders.position, 3000);

    QCoreApplication::processEvents(); // the first seek settles: only the latest follows
    QCOMPARE(f->engine->calls.filter(QStringLiteral("SeekMs")),
             (QStringList{QStringLiteral("SeekMs(100)"), QStringLiteral("SeekMs(3000)")}));
    f->c->PositionSliderReleased(1234);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    QCOMPARE(f->engine->calls.filter(QStringLiteral("SeekMs")).last(), QStringLiteral("SeekMs(1234)"));
    QCOMPARE(f->engine->positionMs, 1234u);
    f->c->OnTimer1();
    QCOMPARE(f->sliders.position, 1234);

    // A release without a drag (a key on the slider) does not seek.
    f->engine->calls.clear();
    f->c->PositionSliderReleased(500);
    QCoreApplication::processEvents();
    QCOMPARE(f->engine->count(QStringLiteral("SeekMs")), 0);
}

QTEST_GUILESS_MAIN(PlaybackControllerTest)
#include "PlaybackControllerTest.moc"

void PlaybackControllerTest::impactsAreMarkedAndSteppedThrough()
{
    QVERIFY(!f->c->NextImpact()); // nothing open
    FakeTelemetrySource source;
    addStandstillWithHits(source, {5000, 20000});
    f->engine->telemetry = &source;
    f->engine->durationMs = 30000;
    f->c->ActivateRow(0);
    QCOMPARE(f->sliders.markers, (std::vector<int>{5000, 20000}));
    QCOMPARE(f->plot.Markers(), (std::vector<float>{5000.0f, 20000.0f}));

    // Forward to 2 s before each, then nothing further (no wrap); back again.
    const std::pair<bool, int> steps[] = {{true, 3000}, {true, 18000}, {true, 18000}, {false, 3000}, {false, 3000}};
    for (const auto& [forward, expected] : steps) {
        const int seeks = f->engine->count(QStringLiteral("SeekMs"));
        const bool moved = forward ? f->c->NextImpact() : f->c->PreviousImpact();
        QCOMPARE(f->sliders.position, expected);
        QCOMPARE(int(f->engine->positionMs), expected);
        QCOMPARE(f->engine->count(QStringLiteral("SeekMs")), seeks + (moved ? 1 : 0));
        QCOMPARE(f->plot.cursor, std::uint32_t(expected));
    }
    // Paused stays paused.
    f->c->PauseCommand();
    QVERIFY(f->c->NextImpact());
    QCOMPARE(f->engine->state, EngineState::Paused);

    // A recording without impacts, and a stop, leave no marks.
    f->c->ActivateRow(1);
    QVERIFY(f->sliders.markers.empty());
    QVERIFY(!f->c->NextImpact());
    source.next = 0;
    f->c->ActivateRow(0);
    QCOMPARE(f->sliders.markers.size(), std::size_t(2));
    f->c->StopCommand();
    QVERIFY(f->sliders.markers.empty());
    QVERIFY(f->plot.Markers().empty());
}

void PlaybackControllerTest::impactThresholdComesFromTheSetting()
{
    FakeTelemetrySource source;
    addStandstillWithHits(source, {5000});
    f->engine->telemetry = &source;
    // The hit is about 3 g: a 3.5 g setting finds nothing, a broken one keeps 1.5 g.
    const std::pair<double, std::size_t> cases[] = {{3.5, 0}, {2.5, 1}, {-1.0, 1}, {std::nan(""), 1}, {3.5, 0}};
    for (const auto& [threshold, found] : cases) {
        f->c->SetImpactThreshold(threshold);
        source.next = 0;
        f->c->ActivateRow(0);
        QCOMPARE(f->sliders.markers.size(), found);
    }
}
