#include "card/UDisksCardFormatter.h"

#include "card/UDisksObjects.h"

#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QFile>
#include <QThread>
#include <QCoreApplication>

namespace {
constexpr int kQueryTimeoutMs = 3000;
constexpr int kPollMs = 200;

QString withoutSlash(QString path)
{
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path;
}

bool dismissed(const QString& errorName)
{
    return errorName.endsWith(QLatin1String(".NotAuthorizedDismissed"))
        || errorName.endsWith(QLatin1String(".Cancelled"));
}
} // namespace

UDisksCardFormatter::UDisksCardFormatter(const QDBusConnection& bus) : m_bus(bus) {}

std::optional<FormatTarget> UDisksCardFormatter::Identify(const QString& cardRoot, QString* why)
{
    const QString root = withoutSlash(cardRoot);
    QString error;
    const auto objects = UDisksObjects::Fetch(m_bus, kQueryTimeoutMs, &error);
    if (!objects) {
        *why = QCoreApplication::translate("UDisksCardFormatter", "디스크 관리 서비스(UDisks2)에 연결할 수 없습니다. %1").arg(error);
        return std::nullopt;
    }
    for (auto it = objects->cbegin(); it != objects->cend(); ++it) {
        const UDisksObjects::InterfaceMap& ifaces = it.value();
        if (!ifaces.contains(UDisksObjects::kBlock) || !ifaces.contains(UDisksObjects::kFilesystem))
            continue;
        const QList<QByteArray> points =
            UDisksObjects::MountPoints(ifaces[UDisksObjects::kFilesystem].value(QStringLiteral("MountPoints")));
        if (!points.contains(QFile::encodeName(root)))
            continue;
        const QVariantMap& block = ifaces[UDisksObjects::kBlock];
        const QString device = QFile::decodeName(UDisksObjects::ByteString(block.value(QStringLiteral("Device"))));
        const QString drivePath = UDisksObjects::ObjectPath(block.value(QStringLiteral("Drive")));
        const auto drive = objects->constFind(QDBusObjectPath(drivePath.isEmpty() ? QStringLiteral("/") : drivePath));
        if (drive == objects->cend() || !drive.value().contains(UDisksObjects::kDrive)
            || !UDisksObjects::DriveRemovable(drive.value()[UDisksObjects::kDrive])) {
            *why = QCoreApplication::translate("UDisksCardFormatter", "%1 (%2) 은(는) 이동식 드라이브가 아닙니다.").arg(cardRoot, device);
            return std::nullopt;
        }
        const QString usage = block.value(QStringLiteral("IdUsage")).toString();
        if (!usage.isEmpty() && usage != QLatin1String("filesystem")) {
            *why = QCoreApplication::translate("UDisksCardFormatter", "%1 (%2) 은(는) 파일 시스템이 아닙니다.").arg(cardRoot, device);
            return std::nullopt;
        }
        FormatTarget t;
        t.device = device;
        t.label = block.value(QStringLiteral("IdLabel")).toString();
        t.size = block.value(QStringLiteral("Size")).toULongLong();
        t.handle = it.key().path();
        return t;
    }
    *why = QCoreApplication::translate("UDisksCardFormatter", "%1 은(는) SD 카드 드라이브의 루트가 아닙니다 (폴더이거나 분리된 카드).").arg(cardRoot);
    return std::nullopt;
}

CardFormatter::Result UDisksCardFormatter::Format(const FormatTarget& target)
{
    QDBusMessage call =
        QDBusMessage::createMethodCall(UDisksObjects::kService, target.handle, UDisksObjects::kBlock, QStringLiteral("Format"));
    QVariantMap options{{QStringLiteral("tear-down"), true}, {QStringLiteral("auth.no_user_interaction"), false}};
    if (!target.label.isEmpty())
        options.insert(QStringLiteral("label"), target.label);
    call << QStringLiteral("vfat") << options;
    call.setInteractiveAuthorizationAllowed(true);
    const QDBusMessage reply = m_bus.call(call, QDBus::Block, formatTimeoutMs);
    if (reply.type() == QDBusMessage::ReplyMessage)
        return {Outcome::Done, {}};
    if (dismissed(reply.errorName()))
        return {Outcome::Cancelled, {}};
    return {Outcome::Failed, reply.errorMessage().isEmpty() ? reply.errorName() : reply.errorMessage()};
}

QString UDisksCardFormatter::WaitForMount(const FormatTarget& target, int timeoutMs, QString* why)
{
    QDeadlineTimer deadline(timeoutMs);
    QString lastError;
    while (!deadline.hasExpired()) {
        const int left = int(std::max<qint64>(1, deadline.remainingTime()));
        const auto objects = UDisksObjects::Fetch(m_bus, std::min(left, kQueryTimeoutMs), &lastError);
        const auto it = objects ? objects->constFind(QDBusObjectPath(target.handle)) : UDisksObjects::ObjectMap::const_iterator();
        // The new file system shows up once it has been probed.
        if (objects && it != objects->cend() && it.value().contains(UDisksObjects::kFilesystem)) {
            const QList<QByteArray> points =
                UDisksObjects::MountPoints(it.value()[UDisksObjects::kFilesystem].value(QStringLiteral("MountPoints")));
            if (!points.isEmpty())
                return withoutSlash(QFile::decodeName(points.first())) + QLatin1Char('/');
            QDBusMessage call = QDBusMessage::createMethodCall(UDisksObjects::kService, target.handle,
                                                               UDisksObjects::kFilesystem, QStringLiteral("Mount"));
            call << QVariantMap{{QStringLiteral("auth.no_user_interaction"), false}};
            call.setInteractiveAuthorizationAllowed(true);
            const int callLeft = int(std::max<qint64>(1, deadline.remainingTime()));
            const QDBusMessage reply = m_bus.call(call, QDBus::Block, callLeft);
            if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()) {
                const QString path = reply.arguments().at(0).toString();
                if (!path.isEmpty())
                    return withoutSlash(path) + QLatin1Char('/');
            }
            lastError = reply.errorMessage();
        }
        if (deadline.remainingTime() <= 0)
            break;
        QThread::msleep(ulong(std::min<qint64>(kPollMs, deadline.remainingTime())));
    }
    *why = QCoreApplication::translate("UDisksCardFormatter", "포맷한 SD 카드가 %1초 안에 다시 연결되지 않았습니다. %2").arg(timeoutMs / 1000.0).arg(lastError);
    return {};
}
