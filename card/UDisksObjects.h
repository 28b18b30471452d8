#pragma once
// Reading UDisks2's object tree (ObjectManager.GetManagedObjects) by hand, so
// that no D-Bus metatype has to be registered.
#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QList>
#include <QMap>
#include <QString>
#include <QVariantMap>
#include <optional>

class UDisksObjects {
public:
    using InterfaceMap = QMap<QString, QVariantMap>;
    using ObjectMap = QMap<QDBusObjectPath, InterfaceMap>;

    static const QString kService;
    static const QString kRootPath;
    static const QString kBlock;
    static const QString kFilesystem;
    static const QString kDrive;

    // nullopt when the call fails; *error then holds the bus's message.
    static std::optional<ObjectMap> Fetch(const QDBusConnection& bus, int timeoutMs, QString* error = nullptr);
    // Filesystem.MountPoints (aay, NUL-terminated) as paths without the NUL.
    static QList<QByteArray> MountPoints(const QVariant& value);
    // Block.Device and other "ay" strings.
    static QByteArray ByteString(const QVariant& value);
    static QString ObjectPath(const QVariant& value);
    // The drive's Removable or MediaRemovable.
    static bool DriveRemovable(const QVariantMap& drive);
};
