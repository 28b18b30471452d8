// The main window with the real engine on a card of tiny generated clips.
#include "fakes/FakePrompt.h"
#include "app/CVxMainFrame.h"
#include "app/ViewerCore.h"
#include "app/PlaybackController.h"
#include "display/VideoWindow.h"
#include "engine/GstPlaybackEngine.h"
#include "fakes/FakeDriveProvider.h"
#include "listctrl/CHTMLListCtrl.h"
#include "card/RecordingLibrary.h"
#include "skin/CVxSlider.h"
#include "../engine/RecordingFixture.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

class MainWindowPlaybackTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void doubleClickPlaysTicksAndMovesOn();
    void namedFilesJoinAllAndFirstPlays();

private:
    // The real engine without sound, on the card of generated clips.
    MainFrameServices services(FakePrompt& prompt) const;
    std::unique_ptr<ViewerCore> makeCore(GstPlaybackEngine*& engine) const;

    QTemporaryDir m_settings;
    QTemporaryDir m_card;
};

void MainWindowPlaybackTest::initTestCase()
{
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settings.filePath(QStringLiteral("user")));
    QSettings::setPath(QSettings::IniFormat, QSettings::SystemScope, m_settings.filePath(QStringLiteral("system")));
    qputenv("HALCYON_CARD_ROOTS", "");
    QVERIFY(QDir().mkpath(m_card.filePath(QStringLiteral("INFINITE/a"))));
    QVERIFY(QDir().mkpath(m_card.filePath(QStringLiteral("EVENT"))));
    for (const char* name : {"20140101_120000_I01.mp4", "20140101_120100_I01.mp4"}) {
        QProcess p;
        p.start(RecordingFixture::tool(),
                {m_card.filePath(QStringLiteral("INFINITE/a/") + QLatin1String(name)), QStringLiteral("--front"),
                 QStringLiteral("320x180"), QStringLiteral("--rear"), QStringLiteral("160x90"),
                 QStringLiteral("--duration"), QStringLiteral("2"), QStringLiteral("--fps"), QStringLiteral("15")});
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitCode(), 0);
    }
}

MainFrameServices MainWindowPlaybackTest::services(FakePrompt& prompt) const
{
    MainFrameServices services;
    services.prompt = &prompt;
    services.checkMediaComponents = [] { return 1; };
    return services;
}

std::unique_ptr<ViewerCore> MainWindowPlaybackTest::makeCore(GstPlaybackEngine*& engine) const
{
    auto e = std::make_unique<GstPlaybackEngine>();
    e->SetAudioSinkFactory("fakesink");
    engine = e.get();
    auto d = std::make_unique<FakeDriveProvider>();
    d->drives.append(DriveInfo{m_card.path() + QLatin1Char('/'), true, false});
    return std::make_unique<ViewerCore>(ViewerCore::Parts{std::move(e), std::move(d), nullptr});
}

void MainWindowPlaybackTest::doubleClickPlaysTicksAndMovesOn()
{
    FakePrompt prompt;
    GstPlaybackEngine* engine = nullptr;
    const auto core = makeCore(engine);
    CVxMainFrame frame(*core, services(prompt));
    QVERIFY(frame.LoadFrame());
    frame.show();
    QTRY_COMPARE(frame.recordingList()->GetRowCount(), 2);
    QVERIFY(!frame.videoWindow(0)->isVisible());

    QTest::mouseDClick(frame.recordingList(), Qt::LeftButton, {}, QPoint(100, 5));
    QCOMPARE(prompt.texts, QStringList{});
    const QString first = frame.library().GetRecording(0, 0)->path;
    const QString second = frame.library().GetRecording(0, 1)->path;
    QCOMPARE(frame.controller().currentFile(), first);
    QCOMPARE(engine->State(), EngineState::Running);
    QVERIFY(frame.videoWindow(0)->isVisible());
    QVERIFY(frame.videoWindow(1)->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(!frame.videoWindow(0)->frame().isNull(), 5000);
    QTRY_VERIFY_WITH_TIMEOUT(!frame.videoWindow(1)->frame().isNull(), 5000);

    // The 300 ms tick follows the position (a loaded machine may take a while to start the clock).
    QTRY_VERIFY_WITH_TIMEOUT(frame.positionSlider()->GetPos() > 0, 15000);
    QCOMPARE(frame.positionSlider()->GetMax(), frame.controller().durationMs());

    // At the end the next unplayed entry of the category starts.
    QTRY_COMPARE_WITH_TIMEOUT(frame.controller().currentFile(), second, 15000);
    QCOMPARE(frame.recordingList()->GetSelection(), 1);
    QTRY_COMPARE_WITH_TIMEOUT(engine->State(), EngineState::Running, 5000);
    QCOMPARE(prompt.texts, QStringList{});
}

// halcyon-deck FILE...: the files join ALL behind the card scan, and the first named plays
// although it sorts after the other.
void MainWindowPlaybackTest::namedFilesJoinAllAndFirstPlays()
{
    QTemporaryDir elsewhere;
    const QString first = elsewhere.filePath(QStringLiteral("20150101_090000_E01.mp4"));
    const QString other = elsewhere.filePath(QStringLiteral("20130101_080000_I01.mp4"));
    for (const QString& path : {first, other}) {
        QProcess p;
        p.start(RecordingFixture::tool(), {path, QStringLiteral("--front"), QStringLiteral("320x180"),
                                           QStringLiteral("--rear"), QStringLiteral("160x90"),
                                           QStringLiteral("--duration"), QStringLiteral("2")});
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitCode(), 0);
    }
    FakePrompt prompt;
    GstPlaybackEngine* engine = nullptr;
    const auto core = makeCore(engine);
    CVxMainFrame frame(*core, services(prompt));
    QVERIFY(frame.LoadFrame());
    frame.show();
    // As the application does it: queued right after the window was made.
    QMetaObject::invokeMethod(
        &frame, [&frame, first, other] { frame.controller().OpenAndPlayFiles({first, other}); }, Qt::QueuedConnection);
    QTRY_COMPARE(frame.library().RecordingCount(0), 4);
    QCOMPARE(frame.recordingList()->GetRowCount(), 4);
    QCOMPARE(frame.library().shownCategory(), 0);
    QCOMPARE(frame.controller().currentFile(), first);
    QCOMPARE(frame.library().GetRecording(0, frame.recordingList()->GetSelection())->path, first);
    QCOMPARE(engine->State(), EngineState::Running);
    QCOMPARE(prompt.texts, QStringList{});
}

QTEST_MAIN(MainWindowPlaybackTest)
#include "MainWindowPlaybackTest.moc"
