#include "library/UDisksDriveProvider.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QFile>
#include "base/LogCategories.h"
#include <QMap>
#include <algorithm>


namespace {

const QString kService = QStringLiteral("org.freedesktop.UDisks2");
const QString kRootPath = QStringLiteral("/org/freedesktop/UDisks2");
const QString kBlock = QStringLiteral("org.freedesktop.UDisks2.Block");
const QString kFilesystem = QStringLiteral("org.freedesktop.UDisks2.Filesystem");
const QString kDrive = QStringLiteral("org.freedesktop.UDisks2.Drive");
constexpr int kCallTimeoutMs = 3000;

using PropertyMap = QVariantMap;
using InterfaceMap = QMap<QString, PropertyMap>;
using ObjectMap = QMap<QDBusObjectPath, InterfaceMap>;

// a{oa{sa{sv}}} from GetManagedObjects, read by hand so that no metatype
// registration is needed.
ObjectMap readObjects(const QDBusArgument& arg)
{
    ObjectMap objects;
    arg.beginMap();
    while (!arg.atEnd()) {
        QDBusObjectPath path;
        InterfaceMap interfaces;
        arg.beginMapEntry();
        arg >> path;
        arg.beginMap();
        while (!arg.atEnd()) {
            QString name;
            PropertyMap props;
            arg.beginMapEntry();
            arg >> name >> props;
            arg.endMapEntry();
            interfaces.insert(name, props);
        }
        arg.endMap();
        arg.endMapEntry();
        objects.insert(path, interfaces);
    }
    arg.endMap();
    return objects;
}

// MountPoints is aay, each a NUL-terminated byte string.
QList<QByteArray> mountPoints(const QVariant& value)
{
    QList<QByteArray> points;
    if (!value.canConvert<QDBusArgument>())
        return points;
    const QDBusArgument arg = value.value<QDBusArgument>();
    arg.beginArray();
    while (!arg.atEnd()) {
        QByteArray p;
        arg >> p;
        while (p.endsWith('\0'))
            p.chop(1);
        if (!p.isEmpty())
            points << p;
    }
    arg.endArray();
    return points;
}

QString objectPathOf(const QVariant& value)
{
    if (value.canConvert<QDBusObjectPath>())
        return value.value<QDBusObjectPath>().path();
    if (value.canConvert<QDBusArgument>()) {
        QDBusObjectPath p;
        value.value<QDBusArgument>() >> p;
        return p.path();
    }
    return value.toString();
}

} // namespace

bool UDisksDriveProvider::IsAvailable(const QDBusConnection& bus)
{
    if (!bus.isConnected() || !bus.interface())
        return false;
    if (bus.interface()->isServiceRegistered(kService).value())
        return true;
    const QStringList activatable = bus.interface()->activatableServiceNames().value();
    return activatable.contains(kService);
}

UDisksDriveProvider::UDisksDriveProvider(const QDBusConnection& bus, QObject* parent)
    : SystemDriveProvider(parent), m_bus(bus)
{
    m_pollMounts = false;
    const QString objectManager = QStringLiteral("org.freedesktop.DBus.ObjectManager");
    m_bus.connect(kService, kRootPath, objectManager, QStringLiteral("InterfacesAdded"), this,
                SLOT(onObjectsChanged()));
    m_bus.connect(kService, kRootPath, objectManager, QStringLiteral("InterfacesRemoved"), this,
                SLOT(onObjectsChanged()));
    // Any object's properties: mounting and unmounting change Filesystem.MountPoints.
    m_bus.connect(kService, QString(), QStringLiteral("org.freedesktop.DBus.Properties"),
                QStringLiteral("PropertiesChanged"), this, SLOT(onObjectsChanged()));
    start();
}

void UDisksDriveProvider::onObjectsChanged()
{
    scheduleRefresh();
}

QList<DriveInfo> UDisksDriveProvider::MountedDrives()
{
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kRootPath,
                                                       QStringLiteral("org.freedesktop.DBus.ObjectManager"),
                                                       QStringLiteral("GetManagedObjects"));
    const QDBusMessage reply = m_bus.call(call, QDBus::Block, kCallTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        qCWarning(vxLibrary) << "UDisks2 GetManagedObjects failed:" << reply.errorMessage();
        return {};
    }
    const ObjectMap objects = readObjects(reply.arguments().at(0).value<QDBusArgument>());
    QList<DriveInfo> drives;
    for (auto it = objects.cbegin(); it != objects.cend(); ++it) {
        const InterfaceMap& ifaces = it.value();
        if (!ifaces.contains(kFilesystem) || !ifaces.contains(kBlock))
            continue;
        const QList<QByteArray> points = mountPoints(ifaces[kFilesystem].value(QStringLiteral("MountPoints")));
        if (points.isEmpty())
            continue;
        const PropertyMap& block = ifaces[kBlock];
        if (block.value(QStringLiteral("HintIgnore")).toBool())
            continue;
        // Loop devices and the like have no drive: never a card.
        bool removable = false;
        bool floppy = false;
        const QString drivePath = objectPathOf(block.value(QStringLiteral("Drive")));
        const auto drive = objects.constFind(QDBusObjectPath(drivePath.isEmpty() ? QStringLiteral("/") : drivePath));
        if (drive != objects.cend() && drive.value().contains(kDrive)) {
            const PropertyMap& d = drive.value()[kDrive];
            removable = d.value(QStringLiteral("Removable")).toBool()
                || d.value(QStringLiteral("MediaRemovable")).toBool();
            const QString media = d.value(QStringLiteral("Media")).toString();
            const QStringList compat = d.value(QStringLiteral("MediaCompatibility")).toStringList();
            floppy = media.startsWith(QLatin1String("floppy"))
                || std::any_of(compat.begin(), compat.end(),
                               [](const QString& c) { return c.startsWith(QLatin1String("floppy")); });
        }
        for (const QByteArray& p : points) {
            QString root = QFile::decodeName(p);
            if (!root.endsWith(QLatin1Char('/')))
                root += QLatin1Char('/');
            drives.append(DriveInfo{root, removable, floppy});
        }
    }
    return drives;
}
