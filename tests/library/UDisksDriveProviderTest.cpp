#include "library/UDisksDriveProvider.h"

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

using InterfaceMap = QMap<QString, QVariantMap>;
using ObjectMap = QMap<QDBusObjectPath, InterfaceMap>;
Q_DECLARE_METATYPE(InterfaceMap)
Q_DECLARE_METATYPE(ObjectMap)

namespace {
const QString kService = QStringLiteral("org.freedesktop.UDisks2");
const QString kRoot = QStringLiteral("/org/freedesktop/UDisks2");

// A stand-in for UDisks2: answers GetManagedObjects with the objects it is
// given. It lives in its own thread, as the provider's call blocks the caller.
class FakeUDisks : public QDBusVirtualObject {
public:
    QMutex lock;
    ObjectMap objects;
    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        if (message.member() != QLatin1String("GetManagedObjects"))
            return false;
        QMutexLocker locked(&lock);
        connection.send(message.createReply(QVariant::fromValue(objects)));
        return true;
    }
};

QVariantMap filesystem(const QList<QByteArray>& mountPoints)
{
    QList<QByteArray> points;
    for (const QByteArray& p : mountPoints)
        points << p + '\0';
    return {{QStringLiteral("MountPoints"), QVariant::fromValue(points)}};
}
QVariantMap block(const QString& drive)
{
    return {{QStringLiteral("Drive"), QVariant::fromValue(QDBusObjectPath(drive))},
            {QStringLiteral("HintIgnore"), false}};
}
QVariantMap drive(bool removable, bool mediaRemovable, const QString& media = QString())
{
    return {{QStringLiteral("Removable"), removable},
            {QStringLiteral("MediaRemovable"), mediaRemovable},
            {QStringLiteral("Media"), media},
            {QStringLiteral("MediaCompatibility"), QStringList{media}}};
}
} // namespace

class UDisksDriveProviderTest : public QObject {
    Q_OBJECT
    QProcess m_daemon;
    QString m_address;

private slots:
    void initTestCase()
    {
        qDBusRegisterMetaType<QList<QByteArray>>();
        qDBusRegisterMetaType<InterfaceMap>();
        qDBusRegisterMetaType<ObjectMap>();
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
