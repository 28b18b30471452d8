#include "fakes/FakePrompt.h"
#include "app/CVxMainFrame.h"
#include "app/ViewerCore.h"
#include "app/MainFrameTables.h"
#include "app/PlaybackController.h"
#include "display/CLinePlot.h"
#include "display/CVxAnalogMeter.h"
#include "display/VideoWindow.h"
#include "fakes/FakeDriveProvider.h"
#include "fakes/FakePlaybackEngine.h"
#include "engine/PlaybackEngine.h"
#include "listctrl/CHTMLListCtrl.h"
#include "skin/CVxButton.h"
#include "skin/CVxSlider.h"
#include "skin/CVxSwitch.h"

#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>


class MainFrameTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void windowIsFixedSizeFramelessAndRounded();
    void componentCheckNeverStopsStartUp_data();
    void componentCheckNeverStopsStartUp();
    void controlBarRowsAtTheirPlaces();
    void categoryTabsAtTheirPlaces();
    void initialVisibility();
    void slidersAndSwitches();
    void paintsBackgroundAndSkinImages();
    void buttonsDispatchByCommandId();
    void exitStopsEngineBeforeClosing();

private:
    void create(int componentResult = 1);
    QTemporaryDir m_settings;
    FakePrompt* m_prompt = nullptr;
    CVxMainFrame* m_frame = nullptr;
    ViewerCore* m_core = nullptr;
    FakePlaybackEngine* m_engine = nullptr; // owned by the core
    // The engine calls the window makes at start-up and exit, in order.
    QStringList engineLog() const
    {
        return m_engine->calls.filter(QRegularExpression(QStringLiteral("^(SetVideoWindows|Close|Stop|SeekMs|SetVolume)")));
    }
};

void MainFrameTest::initTestCase()
{
    // Start-up writes its values into the test's own folder.
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settings.filePath(QStringLiteral("user")));
    QSettings::setPath(QSettings::IniFormat, QSettings::SystemScope, m_settings.filePath(QStringLiteral("system")));
}

void MainFrameTest::init()
{
    m_prompt = new FakePrompt;
}

void MainFrameTest::cleanup()
{
    delete m_frame;
    m_frame = nullptr;
    delete m_core;
    m_core = nullptr;
    delete m_prompt;
}

void MainFrameTest::create(int componentResult)
{
    MainFrameServices services;
    services.prompt = m_prompt;
    services.checkMediaComponents = [componentResult] { return componentResult; };
    // An engine that says it holds a graph with nothing in it (NoMedia).
    auto e = std::make_unique<FakePlaybackEngine>();
    e->hasGraph = e->hasFilterGraph = true;
    e->state = EngineState::NoMedia;
    m_engine = e.get();
    m_core = new ViewerCore({std::move(e), std::make_unique<FakeDriveProvider>(), nullptr});
    m_frame = new CVxMainFrame(*m_core, std::move(services));
    QVERIFY(m_frame->LoadFrame());
    m_frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_frame));
}

void MainFrameTest::windowIsFixedSizeFramelessAndRounded()
{
    create();
    QCOMPARE(m_frame->size(), QSize(1130, 640));
    QCOMPARE(m_frame->minimumSize(), QSize(1130, 640));
    QCOMPARE(m_frame->windowTitle(), QStringLiteral("Halcyon Deck"));
    const Qt::WindowFlags f = m_frame->windowFlags();
    QVERIFY(f.testFlag(Qt::FramelessWindowHint));
    QVERIFY(!f.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(f.testFlag(Qt::WindowMinimizeButtonHint));
    const QRegion mask = m_frame->mask();
    QVERIFY(!mask.contains(QPoint(0, 0)));
    QVERIFY(!mask.contains(QPoint(1129, 639)));
    QVERIFY(mask.contains(QPoint(6, 6)));
    QVERIFY(mask.contains(QPoint(565, 0)));
    QVERIFY(mask.contains(QPoint(0, 320)));
    QCOMPARE(m_frame->captionStripRect(), QRect(0, 0, 1130, 27));
}

void MainFrameTest::componentCheckNeverStopsStartUp_data()
{
    QTest::addColumn<int>("result");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("complete") << 1 << QStringList();
    QTest::newRow("no source") << -1 << QStringList{QStringLiteral("Source Filter가 등록되지 않았습니다.")};
    QTest::newRow("no decoder") << -2 << QStringList{QStringLiteral("Video Filter(ffdshow)가 등록되지 않았습니다.")};
    QTest::newRow("no brightness filter") << -4 << QStringList();
}

void MainFrameTest::componentCheckNeverStopsStartUp()
{
    QFETCH(int, result);
    QFETCH(QStringList, shown);
    create(result);
    QCOMPARE(m_prompt->texts, shown);
    QVERIFY(m_frame->isVisible());
    QVERIFY(m_frame->categoryButton(4) != nullptr);
}

void MainFrameTest::controlBarRowsAtTheirPlaces()
{
    create();
    const auto& table = MainFrameTables::ControlBar();
    for (int row = 0; row < 27; ++row) {
        const SkinControlDef& def = table[row];
        CVxButton* b = m_frame->skinButton(row);
        QVERIFY(b);
        QCOMPARE(b->controlId(), def.commandId);
        QCOMPARE(b->property("controlId").toInt(), def.commandId);
        QCOMPARE(b->layout(), ButtonLayout::Bar);
        const QImage strip(QStringLiteral(":/bitmaps/%1.png").arg(def.bitmapId));
        QCOMPARE(b->geometry(), QRect(def.x, def.y, strip.width() / 3, strip.height()));
        QCOMPARE(b->toolTip(), QString::fromUtf8(def.tooltip));
    }
    QCOMPARE(m_frame->skinButton(18)->caption(), QStringLiteral("지 도"));
    QCOMPARE(m_frame->skinButton(19)->caption(), QStringLiteral("전후방전환"));
    QCOMPARE(m_frame->skinButton(26)->caption(), QStringLiteral("  전후방전환"));
    QCOMPARE(m_frame->skinButton(15)->toolTip(), QStringLiteral("다른 이름으로 저장.."));
    QVERIFY(m_frame->skinButton(0)->caption().isEmpty());
}

void MainFrameTest::categoryTabsAtTheirPlaces()
{
    create();
    const QStringList labels{QStringLiteral("전체"), QStringLiteral("상시"), QStringLiteral("충격"),
        QStringLiteral("수동"), QStringLiteral("모션")};
    const int commands[5] = {360, 361, 362, 363, 364};
    const int xs[5] = {713, 790, 876, 959, 1043};
    for (int row = 0; row < 5; ++row) {
        CVxButton* tab = m_frame->categoryButton(row);
        QCOMPARE(tab->controlId(), commands[row]);
        QCOMPARE(tab->layout(), ButtonLayout::Tab);
        QCOMPARE(tab->caption(), labels[row]);
        QCOMPARE(tab->toolTip(), labels[row]);
        QCOMPARE(tab->pos(), QPoint(xs[row], 378));
        QVERIFY(tab->isVisible());
    }
}

void MainFrameTest::initialVisibility()
{
    create();
    QList<int> visible;
    for (int row = 0; row < 27; ++row)
        if (m_frame->skinButton(row)->isVisible())
            visible << row;
    // play shown, pause hidden, the full-screen bar and its restore/swap buttons hidden
    QCOMPARE(visible, (QList<int>{0, 1, 2, 3, 5, 6, 7, 15, 16, 17, 18, 19, 20, 21, 22, 23, 25}));
    for (int i = 0; i < 4; ++i)
        QVERIFY(!m_frame->videoWindow(i)->isVisible());
    QVERIFY(m_frame->recordingList()->isVisible());
    QCOMPARE(m_frame->speedMeter()->geometry(), QRect(18, 558, 122, 72));
    QVERIFY(m_frame->speedMeter()->isVisible());
    QCOMPARE(m_frame->linePlot()->geometry(), QRect(207, 565, 489, 57));
    QVERIFY(m_frame->linePlot()->isVisible());
    QCOMPARE(m_frame->recordingList()->geometry(), QRect(709, 432, 413, 200));
}

void MainFrameTest::slidersAndSwitches()
{
    create();
    CVxSlider* position = m_frame->positionSlider();
    QCOMPARE(position->controlId(), 410);
    QCOMPARE(position->geometry(), QRect(50, 459, 617, 10));
    QVERIFY(!position->IsEnabled());

    CVxSlider* speed = m_frame->speedSlider();
    QCOMPARE(speed->geometry(), QRect(62, 524, 89, 10));
    QCOMPARE(speed->GetMin(), 1);
    QCOMPARE(speed->GetMax(), 9);
    QCOMPARE(speed->GetPos(), 5);
    QVERIFY(!speed->IsEnabled());

    CVxSlider* volume = m_frame->volumeSlider();
    QCOMPARE(volume->geometry(), QRect(62, 492, 89, 10));
    QCOMPARE(volume->GetMax(), 99);
    QVERIFY(volume->IsEnabled());
    // No sound server: the slider and the player both start half way.
    QCOMPARE(volume->GetPos(), 50);
    QCOMPARE(m_frame->controller().volumePercent(), 50);

    QCOMPARE(m_frame->muteSwitch()->geometry(), QRect(34, 489, 18, 15));
    QCOMPARE(m_frame->muteSwitch()->bitmapId(), 176);
    QCOMPARE(m_frame->muteSwitch()->GetState(), 1); // no sound server: the player's own state
    QCOMPARE(m_frame->selectAllSwitch()->geometry(), QRect(709, 409, 30, 23));
    QCOMPARE(m_frame->selectAllSwitch()->bitmapId(), 179);
    QCOMPARE(m_frame->selectAllSwitch()->GetState(), 1);
}

void MainFrameTest::paintsBackgroundAndSkinImages()
{
    create();
    const QImage shot = m_frame->grab().toImage();
    const QImage bg(QStringLiteral(":/bitmaps/178.png"));
    const QImage header(QStringLiteral(":/bitmaps/180.png"));
    const QImage logo(QStringLiteral(":/bitmaps/604.png"));
    auto rgb = [](QRgb c) { return c & 0xFFFFFF; };
    QCOMPARE(rgb(shot.pixel(300, 300)), rgb(bg.pixel(300, 300)));
    QCOMPARE(rgb(shot.pixel(709 + 200, 409 + 11)), rgb(header.pixel(200, 11)));
    QCOMPARE(rgb(shot.pixel(709 + 31, 409 + 2)), rgb(header.pixel(31, 2)));
    QCOMPARE(rgb(shot.pixel(10 + 14, 10)), rgb(logo.pixel(14, 10)));
    QVERIFY(rgb(header.pixel(200, 11)) != rgb(bg.pixel(909, 420)));
}

void MainFrameTest::buttonsDispatchByCommandId()
{
    create();
    QList<int> seen;
    for (int id : {307, 360, 438, 439})
        m_frame->registerCommand(CommandId(id), [&seen, id] { seen << id; });
    QTest::mouseClick(m_frame->skinButton(0), Qt::LeftButton, {}, QPoint(20, 20));
    QTest::mouseClick(m_frame->categoryButton(0), Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseClick(m_frame->muteSwitch(), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseClick(m_frame->selectAllSwitch(), Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(seen, (QList<int>{307, 360, 438, 439}));
    QCOMPARE(m_frame->selectAllSwitch()->GetState(), 0);
    m_frame->dispatchCommand(99999); // unknown ids are ignored
}

void MainFrameTest::exitStopsEngineBeforeClosing()
{
    create();
    m_engine->calls.clear();
    QTest::mouseClick(m_frame->skinButton(25), Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(engineLog(), QStringList{QStringLiteral("Close")});
    QVERIFY(!m_frame->isVisible());
    QVERIFY(!m_frame->recordingList()); // the list window went before the main window
}

QTEST_MAIN(MainFrameTest)
#include "MainFrameTest.moc"
