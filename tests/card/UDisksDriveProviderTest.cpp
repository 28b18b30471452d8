#include "fakes/FakeUDisks.h"
#include "card/UDisksDriveProvider.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVirtualObject>
#include <QMutex>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QThread>

namespace {
const QString kService = FakeUDisks::kService;
const QString kRoot = FakeUDisks::kRoot;
QVariantMap filesystem(const QList<QByteArray>& mountPoints) { return FakeUDisks::filesystem(mountPoints); }
QVariantMap block(const QString& drive) { return FakeUDisks::block(drive); }
QVariantMap drive(bool removable, bool mediaRemovable, const QString& media = QString())
{
    return FakeUDisks::drive(removable, mediaRemovable, media);
}
} // namespace

class UDisksDriveProviderTest : public QObject {
    Q_OBJECT
    QProcess m_daemon;
    QString m_address;

private slots:
    void initTestCase()
    {
        FakeUDisks::registerTypes();
        if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty())
            QSKIP("no dbus-daemon");
        m_daemon.start(QStringLiteral("dbus-daemon"),
                       {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
        QVERIFY(m_daemon.waitForReadyRead(5000));
        m_address = QString::fromLatin1(m_daemon.readLine().trimmed());
        QVERIFY(!m_address.isEmpty());
    }
    void cleanupTestCase()
    {
        m_daemon.kill();
        m_daemon.waitForFinished();
    }

    void followsMountsAndDrives()
    {
        QDBusConnection client = QDBusConnection::connectToBus(m_address, QStringLiteral("client"));
        QVERIFY(client.isConnected());
        QVERIFY(!UDisksDriveProvider::IsAvailable(client));

        QThread serviceThread;
        serviceThread.start();
        QDBusConnection service = QDBusConnection::connectToBus(m_address, QStringLiteral("service"));
        FakeUDisks fake;
        const QString d = kRoot + QStringLiteral("/drives/");
        const QString b = kRoot + QStringLiteral("/block_devices/");
        fake.objects = {
            {QDBusObjectPath(d + "ssd"), {{"org.freedesktop.UDisks2.Drive", drive(false, false)}}},
            {QDBusObjectPath(d + "reader"), {{"org.freedesktop.UDisks2.Drive", drive(false, true, "flash_sd")}}},
            {QDBusObjectPath(d + "floppy"), {{"org.freedesktop.UDisks2.Drive", drive(true, true, "floppy")}}},
            {QDBusObjectPath(b + "sda1"),
             {{"org.freedesktop.UDisks2.Block", block(d + "ssd")},
              {"org.freedesktop.UDisks2.Filesystem", filesystem({"/", "/boot/x"})}}},
            {QDBusObjectPath(b + "sdb1"),
             {{"org.freedesktop.UDisks2.Block", block(d + "reader")},
              {"org.freedesktop.UDisks2.Filesystem", filesystem({})}}},
            {QDBusObjectPath(b + "fd0"),
             {{"org.freedesktop.UDisks2.Block", block(d + "floppy")},
              {"org.freedesktop.UDisks2.Filesystem", filesystem({"/media/u/FLOPPY"})}}},
            {QDBusObjectPath(b + "loop0"),
             {{"org.freedesktop.UDisks2.Block", block("/")},
              {"org.freedesktop.UDisks2.Filesystem", filesystem({"/snap/core"})}}},
        };
        QVERIFY(service.registerVirtualObject(kRoot, &fake, QDBusConnection::SubPath));
        fake.moveToThread(&serviceThread);
        QVERIFY(service.registerService(kService));
        QVERIFY(UDisksDriveProvider::IsAvailable(client));

        UDisksDriveProvider provider(client);
        QCOMPARE(provider.Drives(), (QList<DriveInfo>{{"/", false, false},
                                                      {"/boot/x/", false, false},
                                                      {"/media/u/FLOPPY/", true, true},
                                                      {"/snap/core/", false, false}}));

        // The card gets mounted: UDisks2 reports it as a property change.
        QSignalSpy arrived(&provider, &DriveProvider::driveArrived);
        {
            QMutexLocker locked(&fake.lock);
            fake.objects[QDBusObjectPath(b + "sdb1")]["org.freedesktop.UDisks2.Filesystem"] =
                filesystem({"/media/u/CARD"});
        }
        QDBusMessage changed = QDBusMessage::createSignal(b + "sdb1", QStringLiteral("org.freedesktop.DBus.Properties"),
                                                          QStringLiteral("PropertiesChanged"));
        changed << QStringLiteral("org.freedesktop.UDisks2.Filesystem") << QVariantMap() << QStringList();
        QVERIFY(service.send(changed));
        QVERIFY(arrived.wait(5000));
        QCOMPARE(arrived.at(0).at(0).toString(), QStringLiteral("/media/u/CARD/"));
        QVERIFY(provider.Drives().contains(DriveInfo{"/media/u/CARD/", true, false}));

        // The card is pulled: its objects go away.
        QSignalSpy removed(&provider, &DriveProvider::driveRemoved);
        {
            QMutexLocker locked(&fake.lock);
            fake.objects.remove(QDBusObjectPath(b + "sdb1"));
        }
        QDBusMessage gone = QDBusMessage::createSignal(kRoot, QStringLiteral("org.freedesktop.DBus.ObjectManager"),
                                                       QStringLiteral("InterfacesRemoved"));
        gone << QVariant::fromValue(QDBusObjectPath(b + "sdb1"))
             << QStringList{"org.freedesktop.UDisks2.Block", "org.freedesktop.UDisks2.Filesystem"};
        QVERIFY(service.send(gone));
        QVERIFY(removed.wait(5000));
        QCOMPARE(removed.at(0).at(0).toString(), QStringLiteral("/media/u/CARD/"));

        service.unregisterObject(kRoot);
        serviceThread.quit();
        serviceThread.wait();
        QDBusConnection::disconnectFromBus(QStringLiteral("service"));
        QDBusConnection::disconnectFromBus(QStringLiteral("client"));
    }
};

QTEST_GUILESS_MAIN(UDisksDriveProviderTest)
#include "UDisksDriveProviderTest.moc"
