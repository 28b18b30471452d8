// The volume path against real sound servers: one the test starts itself (a
// private pulseaudio with a null sink), none at all, and one that never answers.
#include "engine/PulseVolumePath.h"

#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>
#include <memory>

namespace {
// Creation may wait this long on a server; checked with room for a loaded machine.
constexpr int kBoundMs = 300;
constexpr int kSlackMs = 1500;
} // namespace

class PulseVolumePathTest : public QObject {
    Q_OBJECT
private slots:
    void noServerFailsAtOnce();
    void silentServerCostsOnlyTheBound();
    void followsTheDefaultSinkOfARealServer();

private:
    bool startServer(QTemporaryDir& runtime, QProcess& server);
    bool pactl(const QStringList& args);
    QString m_serverAddress;
};

void PulseVolumePathTest::noServerFailsAtOnce()
{
    QTemporaryDir dir;
    qputenv("PULSE_SERVER", QFile::encodeName("unix:" + dir.filePath("nothing-here")));
    PulseVolumePath path(kBoundMs);
    QElapsedTimer t;
    t.start();
    QVERIFY(!path.OpenVolumePath());
    QVERIFY(t.elapsed() < kBoundMs + kSlackMs);
    bool muted = true;
    QVERIFY(!path.FindMuteControl());
    QVERIFY(!path.ReadSystemMute(muted));
    QVERIFY(!path.ReadSystemVolume());
    path.CloseVolumePath();
    qunsetenv("PULSE_SERVER");
}

void PulseVolumePathTest::silentServerCostsOnlyTheBound()
{
    // A socket that accepts and then says nothing, as a hung server does.
    QTemporaryDir dir;
    QLocalServer hung;
    QVERIFY(hung.listen(dir.filePath("native")));
    std::vector<QLocalSocket*> held;
    connect(&hung, &QLocalServer::newConnection, [&] { held.push_back(hung.nextPendingConnection()); });
    qputenv("PULSE_SERVER", QFile::encodeName("unix:" + dir.filePath("native")));
    PulseVolumePath path(kBoundMs);
    QElapsedTimer t;
    t.start();
    QVERIFY(!path.OpenVolumePath());
    QVERIFY2(t.elapsed() < kBoundMs + kSlackMs, qPrintable(QString::number(t.elapsed())));
    bool muted = true;
    QVERIFY(!path.ReadSystemMute(muted));
    t.restart();
    path.CloseVolumePath();
    QVERIFY(t.elapsed() < kSlackMs);
    qunsetenv("PULSE_SERVER");
}

bool PulseVolumePathTest::startServer(QTemporaryDir& runtime, QProcess& server)
{
    const QString exe = QStandardPaths::findExecutable(QStringLiteral("pulseaudio"));
    if (exe.isEmpty())
        return false;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    env.insert(QStringLiteral("HOME"), runtime.path());
    env.remove(QStringLiteral("PULSE_SERVER"));
    server.setProcessEnvironment(env);
    server.setStandardOutputFile(QProcess::nullDevice());
    server.setStandardErrorFile(QProcess::nullDevice());
    server.start(exe, {QStringLiteral("-n"), QStringLiteral("--daemonize=no"), QStringLiteral("--exit-idle-time=-1"),
                       QStringLiteral("--load=module-null-sink"), QStringLiteral("--load=module-native-protocol-unix")});
    if (!server.waitForStarted(5000))
        return false;
    const QString socket = runtime.filePath(QStringLiteral("pulse/native"));
    m_serverAddress = QStringLiteral("unix:") + socket;
    // Ready when its socket answers; a server that dies or stays silent fails here, bounded.
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 15000 && server.state() == QProcess::Running) {
        if (pactl({QStringLiteral("info")}))
            return true;
        QThread::msleep(100);
    }
    return false;
}

bool PulseVolumePathTest::pactl(const QStringList& args)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("PULSE_SERVER"), m_serverAddress);
    p.setProcessEnvironment(env);
    p.start(QStringLiteral("pactl"), args);
    return p.waitForFinished(5000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

void PulseVolumePathTest::followsTheDefaultSinkOfARealServer()
{
    if (QStandardPaths::findExecutable(QStringLiteral("pulseaudio")).isEmpty() ||
        QStandardPaths::findExecutable(QStringLiteral("pactl")).isEmpty())
        QSKIP("pulseaudio and pactl are not installed");
    QTemporaryDir runtime;
    QProcess server;
    // The server goes down with the test, whatever happens in between.
    auto stop = qScopeGuard([&] {
        server.terminate();
        if (!server.waitForFinished(3000)) {
            server.kill();
            server.waitForFinished(3000);
        }
    });
    QVERIFY2(startServer(runtime, server), "the private sound server did not start");
    QVERIFY(pactl({QStringLiteral("set-sink-volume"), QStringLiteral("@DEFAULT_SINK@"), QStringLiteral("50%")}));
    QVERIFY(pactl({QStringLiteral("set-sink-mute"), QStringLiteral("@DEFAULT_SINK@"), QStringLiteral("0")}));

    qputenv("PULSE_SERVER", m_serverAddress.toLocal8Bit());
    auto path = std::make_unique<PulseVolumePath>(5000); // a generous bound: the machine may be busy
    QVERIFY(path->OpenVolumePath());
    QVERIFY(path->FindMuteControl());
    bool muted = true;
    QVERIFY(path->ReadSystemMute(muted));
    QCOMPARE(muted, false);
    QCOMPARE(path->ReadSystemVolume(), std::optional<int>(50));

    // Mute and un-mute reach the UI thread as signals.
    QSignalSpy spy(path.get(), &VolumePath::systemMuteChanged);
    QThread* signalThread = nullptr;
    connect(path.get(), &VolumePath::systemMuteChanged, this, [&] { signalThread = QThread::currentThread(); });
    QVERIFY(pactl({QStringLiteral("set-sink-mute"), QStringLiteral("@DEFAULT_SINK@"), QStringLiteral("1")}));
    QVERIFY(spy.wait(5000));
    QCOMPARE(spy.takeFirst().at(0).toBool(), true);
    QCOMPARE(signalThread, QThread::currentThread());
    QVERIFY(path->ReadSystemMute(muted) && muted);
    QVERIFY(pactl({QStringLiteral("set-sink-mute"), QStringLiteral("@DEFAULT_SINK@"), QStringLiteral("0")}));
    QVERIFY(spy.wait(5000));
    QCOMPARE(spy.takeFirst().at(0).toBool(), false);
    // A volume change alone says nothing about the mute.
    QVERIFY(pactl({QStringLiteral("set-sink-volume"), QStringLiteral("@DEFAULT_SINK@"), QStringLiteral("20%")}));
    QTRY_COMPARE_WITH_TIMEOUT(path->ReadSystemVolume(), std::optional<int>(20), 5000);
    QCOMPARE(spy.size(), 0);

    // Another output becomes the default one: the path follows it.
    const QByteArray first = path->SinkName();
    QVERIFY(pactl({QStringLiteral("load-module"), QStringLiteral("module-null-sink"),
                   QStringLiteral("sink_name=second")}));
    QVERIFY(pactl({QStringLiteral("set-sink-mute"), QStringLiteral("second"), QStringLiteral("1")}));
    QVERIFY(pactl({QStringLiteral("set-default-sink"), QStringLiteral("second")}));
    QVERIFY(spy.wait(5000));
    QCOMPARE(spy.takeFirst().at(0).toBool(), true);
    QCOMPARE(path->SinkName(), QByteArray("second"));
    // The old output's state no longer counts.
    QVERIFY(pactl({QStringLiteral("set-sink-mute"), QString::fromLatin1(first), QStringLiteral("1")}));
    QVERIFY(pactl({QStringLiteral("set-sink-mute"), QString::fromLatin1(first), QStringLiteral("0")}));
    QVERIFY(pactl({QStringLiteral("set-sink-mute"), QStringLiteral("second"), QStringLiteral("0")}));
    QVERIFY(spy.wait(5000));
    QCOMPARE(spy.takeFirst().at(0).toBool(), false);
    QCOMPARE(spy.size(), 0);

    // The server goes away: reads fail, nothing hangs.
    stop.dismiss();
    server.kill();
    server.waitForFinished(3000);
    QTRY_VERIFY_WITH_TIMEOUT(!path->ReadSystemMute(muted), 5000);
    QElapsedTimer t;
    t.start();
    path.reset();
    QVERIFY(t.elapsed() < kSlackMs);
    qunsetenv("PULSE_SERVER");
}

QTEST_GUILESS_MAIN(PulseVolumePathTest)
#include "PulseVolumePathTest.moc"
