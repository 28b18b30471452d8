#include "card/UDisksObjects.h"

#include <QDBusArgument>
#include <QDBusMessage>

const QString UDisksObjects::kService = QStringLiteral("org.freedesktop.UDisks2");
const QString UDisksObjects::kRootPath = QStringLiteral("/org/freedesktop/UDisks2");
const QString UDisksObjects::kBlock = QStringLiteral("org.freedesktop.UDisks2.Block");
const QString UDisksObjects::kFilesystem = QStringLiteral("org.freedesktop.UDisks2.Filesystem");
const QString UDisksObjects::kDrive = QStringLiteral("org.freedesktop.UDisks2.Drive");

namespace {
// a{oa{sa{sv}}}
UDisksObjects::ObjectMap readObjects(const QDBusArgument& arg)
{
    UDisksObjects::ObjectMap objects;
    arg.beginMap();
    while (!arg.atEnd()) {
        QDBusObjectPath path;
        UDisksObjects::InterfaceMap interfaces;
        arg.beginMapEntry();
        arg >> path;
        arg.beginMap();
        while (!arg.atEnd()) {
            QString name;
            QVariantMap props;
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
} // namespace

std::optional<UDisksObjects::ObjectMap> UDisksObjects::Fetch(const QDBusConnection& bus, int timeoutMs, QString* error)
{
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kRootPath,
                                                       QStringLiteral("org.freedesktop.DBus.ObjectManager"),
                                                       QStringLiteral("GetManagedObjects"));
    const QDBusMessage reply = bus.call(call, QDBus::Block, timeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()
        || !reply.arguments().at(0).canConvert<QDBusArgument>()) {
        if (error)
            *error = reply.errorMessage();
        return std::nullopt;
    }
    return readObjects(reply.arguments().at(0).value<QDBusArgument>());
}

QList<QByteArray> UDisksObjects::MountPoints(const QVariant& value)
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

QByteArray UDisksObjects::ByteString(const QVariant& value)
{
    QByteArray bytes = value.toByteArray();
    if (bytes.isEmpty() && value.canConvert<QDBusArgument>())
        value.value<QDBusArgument>() >> bytes;
    while (bytes.endsWith('\0'))
        bytes.chop(1);
    return bytes;
}

QString UDisksObjects::ObjectPath(const QVariant& value)
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

bool UDisksObjects::DriveRemovable(const QVariantMap& drive)
{
    return drive.value(QStringLiteral("Removable")).toBool() || drive.value(QStringLiteral("MediaRemovable")).toBool();
}
