#include "card/UDisksDriveProvider.h"

#include "card/UDisksObjects.h"

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
const QString& kService = UDisksObjects::kService;
const QString& kRootPath = UDisksObjects::kRootPath;
const QString& kBlock = UDisksObjects::kBlock;
const QString& kFilesystem = UDisksObjects::kFilesystem;
const QString& kDrive = UDisksObjects::kDrive;
constexpr int kCallTimeoutMs = 3000;
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
    QString error;
    const std::optional<UDisksObjects::ObjectMap> fetched = UDisksObjects::Fetch(m_bus, kCallTimeoutMs, &error);
    if (!fetched) {
        qCWarning(vxLibrary) << "UDisks2 GetManagedObjects failed:" << error;
        return {};
    }
    const UDisksObjects::ObjectMap& objects = *fetched;
    QList<DriveInfo> drives;
    for (auto it = objects.cbegin(); it != objects.cend(); ++it) {
        const UDisksObjects::InterfaceMap& ifaces = it.value();
        if (!ifaces.contains(kFilesystem) || !ifaces.contains(kBlock))
            continue;
        const QList<QByteArray> points = UDisksObjects::MountPoints(ifaces[kFilesystem].value(QStringLiteral("MountPoints")));
        if (points.isEmpty())
            continue;
        const QVariantMap& block = ifaces[kBlock];
        if (block.value(QStringLiteral("HintIgnore")).toBool())
            continue;
        // Loop devices and the like have no drive: never a card.
        bool removable = false;
        bool floppy = false;
        const QString drivePath = UDisksObjects::ObjectPath(block.value(QStringLiteral("Drive")));
        const auto drive = objects.constFind(QDBusObjectPath(drivePath.isEmpty() ? QStringLiteral("/") : drivePath));
        if (drive != objects.cend() && drive.value().contains(kDrive)) {
            const QVariantMap& d = drive.value()[kDrive];
            removable = UDisksObjects::DriveRemovable(d);
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
