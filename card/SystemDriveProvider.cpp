#include "card/SystemDriveProvider.h"

#include "card/MountTableDriveProvider.h"
#include "card/UDisksDriveProvider.h"

#include <QDir>
#include <QFileInfo>
#include "base/LogCategories.h"

#include <QSettings>
#include <algorithm>

namespace {
// The extra roots and any missed mount notice are looked at this often.
constexpr int kPollMs = 2000;
} // namespace

std::unique_ptr<SystemDriveProvider> SystemDriveProvider::Create(QObject* parent)
{
    if (UDisksDriveProvider::IsAvailable())
        return std::make_unique<UDisksDriveProvider>(QDBusConnection::systemBus(), parent);
    return std::make_unique<MountTableDriveProvider>(QString(), QString(), parent);
}

SystemDriveProvider::SystemDriveProvider(QObject* parent) : DriveProvider(parent)
{
    m_poll.setInterval(kPollMs);
    connect(&m_poll, &QTimer::timeout, this, &SystemDriveProvider::Refresh);
    m_coalesce.setSingleShot(true);
    m_coalesce.setInterval(100);
    connect(&m_coalesce, &QTimer::timeout, this, &SystemDriveProvider::Refresh);
}

void SystemDriveProvider::start()
{
    m_extraRoots = ExtraCardRoots();
    // A named root that is not there is still watched (a card folder may appear
    // later), but a mistyped or garbled name must not pass unnoticed.
    for (const QString& root : m_extraRoots)
        if (!QFileInfo(root).isDir())
            qCWarning(vxLibrary).noquote() << "configured card root does not exist:" << root;
    Refresh();
    if (m_pollMounts || !m_extraRoots.isEmpty())
        m_poll.start();
}

void SystemDriveProvider::scheduleRefresh()
{
    m_coalesce.start();
}

QString SystemDriveProvider::NormalizeRoot(const QString& path)
{
    QString root = QDir::cleanPath(QDir(path).absolutePath());
    if (!root.endsWith(QLatin1Char('/')))
        root += QLatin1Char('/');
    return root;
}

QStringList SystemDriveProvider::ExtraCardRoots()
{
    QStringList roots;
    const QVariant setting = QSettings().value(QStringLiteral("library/extraCardRoots"));
    QStringList named = setting.typeId() == QMetaType::QStringList
        ? setting.toStringList()
        : setting.toString().split(QLatin1Char(':'), Qt::SkipEmptyParts);
    named += QString::fromLocal8Bit(qgetenv("HALCYON_CARD_ROOTS")).split(QLatin1Char(':'), Qt::SkipEmptyParts);
    for (const QString& n : named) {
        const QString root = NormalizeRoot(n);
        if (!roots.contains(root))
            roots << root;
    }
    return roots;
}

void SystemDriveProvider::Refresh()
{
    QList<DriveInfo> now = MountedDrives();
    for (const QString& extra : m_extraRoots) {
        if (!QFileInfo(extra).isDir())
            continue;
        auto same = std::find_if(now.begin(), now.end(), [&](const DriveInfo& d) { return d.root == extra; });
        if (same != now.end())
            same->removable = true;
        else
            now.append(DriveInfo{extra, true, false});
    }
    std::stable_sort(now.begin(), now.end(),
                     [](const DriveInfo& a, const DriveInfo& b) { return a.root < b.root; });
    const QList<DriveInfo> before = m_drives;
    m_drives = now;
    auto has = [](const QList<DriveInfo>& list, const QString& root) {
        return std::any_of(list.begin(), list.end(), [&](const DriveInfo& d) { return d.root == root; });
    };
    for (const DriveInfo& d : before) {
        if (!has(now, d.root))
            emit driveRemoved(d.root);
    }
    for (const DriveInfo& d : now) {
        if (!has(before, d.root))
            emit driveArrived(d.root);
    }
}
