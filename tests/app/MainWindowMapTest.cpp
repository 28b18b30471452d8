// The map pop-up as the main window drives it, with a fake pop-up: the map
// command, the track of the recording that starts, one set of page calls per
// new fix, and the connectivity check holding the map back until it answers.
#include "MainWindowFixture.h"
#include "PlaybackCardFiles.h"

#include "display/MapConfig.h"
#include "fakes/FakeMapPopup.h"
#include "fakes/FakeTelemetrySource.h"

#include <QSettings>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>

namespace {
// 37°15.5' S, 127° E; fixes at 0, 1000 and 2000 ms, 10, 20 and 30 knots.
void addFixes(FakeTelemetrySource& source)
{
    source.addLine("G$GPRMC,233000,A,3715.5,S,12700.0,E,010.0,090.0,311214,,,A", 0);
    source.addLine("G$GPRMC,233001,A,3715.6,S,12700.0,E,020.0,090.0,311214,,,A", 1000);
    source.addLine("G$GPRMC,233002,A,3715.7,S,12700.0,E,030.0,090.0,311214,,,A", 2000);
}
} // namespace

class MainWindowMapTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settings.filePath(QStringLiteral("user")));
        QSettings::setPath(QSettings::IniFormat, QSettings::SystemScope, m_settings.filePath(QStringLiteral("system")));
        qputenv("HALCYON_CARD_ROOTS", "");
        qunsetenv("HALCYON_MAP_SERVER");
    }
    void cleanup()
    {
        f.reset();
        qunsetenv("HALCYON_MAP_CHECK_SERVER");
    }

    void mapFollowsThePlayingRecording()
    {
        QVERIFY(create());
        QVERIFY(!f->controller().isOffline()); // the viewer's own page needs no check

        // The map command shows, then hides the pop-up.
        QVERIFY(!m_popup->shown);
        f->frame->dispatchCommand(CommandId::Map);
        QVERIFY(m_popup->shown);
        f->frame->dispatchCommand(CommandId::Map);
        QVERIFY(!m_popup->shown);

        // The whole track is drawn as the recording starts, hidden or not.
        FakeTelemetrySource source;
        addFixes(source);
        f->engine->telemetry = &source;
        f->controller().ActivateRow(0);
        QCOMPARE(m_popup->tracks.size(), std::size_t(1));
        const std::vector<QPointF>& track = m_popup->tracks[0];
        QCOMPARE(track.size(), std::size_t(3));
        QCOMPARE(qRound(track[0].x() * 1e6), 127000000);
        QCOMPARE(qRound(track[0].y() * 1e6), -37258333);
        QCOMPARE(qRound(track[2].y() * 1e6), -37261667);

        // Ticks within one fix send the position once; the next fix moves it.
        const struct {
            int positionMs;
            std::size_t positions, overlays;
        } ticks[] = {{0, 1, 1}, {500, 1, 1}, {999, 1, 1}, {1000, 2, 2}, {1700, 2, 2}, {5000, 3, 3}};
        for (const auto& t : ticks) {
            f->engine->positionMs = std::uint64_t(t.positionMs);
            f->controller().OnTimer3();
            QCOMPARE(m_popup->positions.size(), t.positions);
            QCOMPARE(m_popup->overlays.size(), t.overlays);
        }
        QCOMPARE(qRound(m_popup->positions[1].x() * 1e6), -37260000);
        QCOMPARE(qRound(m_popup->positions[1].y() * 1e6), 127000000);
        // Speed in the camera's unit (km/h by default) and the camera's local time.
        const FakeMapPopup::Overlay& o = m_popup->overlays[1];
        QCOMPARE(o.speedUnit, 1);
        QCOMPARE(o.speed, 37);
        QCOMPARE(o.localTime.date(), QDate(2015, 1, 1));

        // Stopping clears the track; the marker and the overlay keep the last fix.
        f->frame->dispatchCommand(CommandId::Stop);
        QCOMPARE(m_popup->tracks.size(), std::size_t(2));
        QVERIFY(m_popup->tracks[1].empty());
        QCOMPARE(m_popup->positions.size(), std::size_t(3));

        // Playing again draws the track again and re-sends the first fix.
        source.next = 0;
        f->engine->positionMs = 0;
        f->controller().ActivateRow(0);
        f->controller().OnTimer3();
        QCOMPARE(m_popup->tracks.size(), std::size_t(3));
        QCOMPARE(m_popup->tracks[2].size(), std::size_t(3));
        QCOMPARE(m_popup->positions.size(), std::size_t(4));
    }

    // An outside check server decides; until it answers the page gets no call.
    void checkServerHoldsTheMapBack_data()
    {
        QTest::addColumn<bool>("answers");
        QTest::newRow("refused") << false;
        QTest::newRow("404 with a length") << true;
    }
    void checkServerHoldsTheMapBack()
    {
        QFETCH(bool, answers);
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost));
        const quint16 port = server.serverPort();
        if (!answers)
            server.close(); // nothing listens there any more
        qputenv("HALCYON_MAP_CHECK_SERVER", QByteArray("127.0.0.1:") + QByteArray::number(port));
        connect(&server, &QTcpServer::newConnection, &server, [&server] {
            QTcpSocket* s = server.nextPendingConnection();
            connect(s, &QTcpSocket::readyRead, s, [s] {
                s->readAll();
                s->write("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n");
                s->disconnectFromHost();
            });
        });
        QVERIFY(create());

        FakeTelemetrySource source;
        addFixes(source);
        f->engine->telemetry = &source;
        f->controller().ActivateRow(0);
        f->engine->positionMs = 500;
        f->controller().OnTimer3();
        // The window is up and the check still running: only the overlay follows.
        QVERIFY(f->controller().isOffline());
        QCOMPARE(m_popup->overlays.size(), std::size_t(1));
        QVERIFY(m_popup->positions.empty());
        QVERIFY(m_popup->tracks.empty());

        QTRY_COMPARE_WITH_TIMEOUT(f->controller().isOffline(), !answers, 5000);
        QCOMPARE(m_popup->tracks.size(), std::size_t(answers ? 1 : 0));
        f->controller().OnTimer3();
        QCOMPARE(m_popup->positions.size(), std::size_t(answers ? 1 : 0));
        QCOMPARE(m_popup->overlays.size(), std::size_t(1));
    }

private:
    bool create()
    {
        f = std::make_unique<MainWindowFixture>();
        m_popup = nullptr;
        f->createMapPopup = [this](const MapConfig&) {
            auto p = std::make_unique<FakeMapPopup>();
            m_popup = p.get();
            return std::unique_ptr<IMapPopup>(std::move(p));
        };
        return f->create(playbackCardFiles()) && m_popup;
    }

    QTemporaryDir m_settings;
    std::unique_ptr<MainWindowFixture> f;
    FakeMapPopup* m_popup = nullptr; // owned by the window
};

QTEST_MAIN(MainWindowMapTest)
#include "MainWindowMapTest.moc"
