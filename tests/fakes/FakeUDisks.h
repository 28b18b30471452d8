#pragma once
// A stand-in for the UDisks2 service on a private dbus-daemon: answers
// GetManagedObjects with the objects it is given, records every other call
// and answers it from a script. Register it from its own thread, as the
// clients' calls block the caller.
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVirtualObject>
#include <QMutex>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <functional>

using FakeInterfaceMap = QMap<QString, QVariantMap>;
using FakeObjectMap = QMap<QDBusObjectPath, FakeInterfaceMap>;
Q_DECLARE_METATYPE(FakeInterfaceMap)
Q_DECLARE_METATYPE(FakeObjectMap)

class FakeUDisks : public QDBusVirtualObject {
public:
    static inline const QString kService = QStringLiteral("org.freedesktop.UDisks2");
    static inline const QString kRoot = QStringLiteral("/org/freedesktop/UDisks2");

    struct Call {
        QString path;
        QString interface;
        QString member;
        QVariantList arguments;
        bool interactiveAuthorization = false;
    };
    // An error name to answer with, or an empty one for a reply carrying `value`.
    struct Answer {
        QString errorName;
        QVariant value;
        bool never = false; // no answer at all: the caller runs into its time-out
    };

    QMutex lock;
    FakeObjectMap objects;
    QList<Call> calls;
    // By member name ("Format", "Mount"); a member without an answer gets an empty reply.
    QMap<QString, Answer> answers;
    // Runs (under the lock) before a call is answered: lets a call change the objects.
    std::function<void(const Call&)> onCall;

    static void registerTypes()
    {
        qDBusRegisterMetaType<QList<QByteArray>>();
        qDBusRegisterMetaType<FakeInterfaceMap>();
        qDBusRegisterMetaType<FakeObjectMap>();
    }

    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        QMutexLocker locked(&lock);
        if (message.member() == QLatin1String("GetManagedObjects")) {
            connection.send(message.createReply(QVariant::fromValue(objects)));
            return true;
        }
        const Call call{message.path(), message.interface(), message.member(), message.arguments(),
                        message.isInteractiveAuthorizationAllowed()};
        calls << call;
        if (onCall)
            onCall(call);
        const Answer answer = answers.value(message.member());
        if (answer.never)
            return true;
        if (!answer.errorName.isEmpty())
            connection.send(message.createErrorReply(answer.errorName, QStringLiteral("fake failure")));
        else if (answer.value.isValid())
            connection.send(message.createReply(answer.value));
        else
            connection.send(message.createReply());
        return true;
    }

    // Helpers for the objects.
    static QVariantMap filesystem(const QList<QByteArray>& mountPoints)
    {
        QList<QByteArray> points;
        for (const QByteArray& p : mountPoints)
            points << p + '\0';
        return {{QStringLiteral("MountPoints"), QVariant::fromValue(points)}};
    }
    static QVariantMap block(const QString& drive, const QByteArray& device = {}, const QString& label = {},
                             quint64 size = 0)
    {
        return {{QStringLiteral("Drive"), QVariant::fromValue(QDBusObjectPath(drive))},
                {QStringLiteral("HintIgnore"), false},
                {QStringLiteral("Device"), QByteArray(device + '\0')},
                {QStringLiteral("IdLabel"), label},
                {QStringLiteral("IdUsage"), QStringLiteral("filesystem")},
                {QStringLiteral("Size"), QVariant::fromValue(size)}};
    }
    static QVariantMap drive(bool removable, bool mediaRemovable, const QString& media = QString())
    {
        return {{QStringLiteral("Removable"), removable},
                {QStringLiteral("MediaRemovable"), mediaRemovable},
                {QStringLiteral("Media"), media},
                {QStringLiteral("MediaCompatibility"), QStringList{media}}};
    }
};

// A private dbus-daemon for one test program.
class PrivateBus {
public:
    QProcess daemon;
    QString address;

    // False when there is no dbus-daemon on the machine.
    bool start()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty())
            return false;
        daemon.start(QStringLiteral("dbus-daemon"),
                     {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
        if (!daemon.waitForReadyRead(5000))
            return false;
        address = QString::fromLatin1(daemon.readLine().trimmed());
        return !address.isEmpty();
    }
    ~PrivateBus()
    {
        daemon.kill();
        daemon.waitForFinished();
    }
};

// The fake registered as UDisks2 on a bus, answering from its own thread.
class FakeUDisksService {
public:
    FakeUDisks fake;
    QThread thread;
    QDBusConnection connection;

    FakeUDisksService(const QString& address, const QString& name)
        : connection(QDBusConnection::connectToBus(address, name))
    {
        thread.start();
    }
    bool publish()
    {
        if (!connection.registerVirtualObject(FakeUDisks::kRoot, &fake, QDBusConnection::SubPath))
            return false;
        fake.moveToThread(&thread);
        return connection.registerService(FakeUDisks::kService);
    }
    ~FakeUDisksService()
    {
        connection.unregisterService(FakeUDisks::kService);
        connection.unregisterObject(FakeUDisks::kRoot);
        thread.quit();
        thread.wait();
        QDBusConnection::disconnectFromBus(connection.name());
    }
};
