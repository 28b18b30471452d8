#include "card/MountTableDriveProvider.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Mount points escape space, tab, newline and backslash as \ooo.
QByteArray unescapeMountPath(const QByteArray& field)
{
    QByteArray out;
    out.reserve(field.size());
    for (int i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            bool ok = false;
            const int v = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok && v < 256) {
                out += char(v);
                i += 3;
                continue;
            }
        }
        out += field[i];
    }
    return out;
}

QByteArray readSmallFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.read(4096).trimmed();
}

struct DiskFlags {
    bool removable = false;
    bool floppy = false;
};

DiskFlags diskFlags(const QString& sysRoot, int major, int minor)
{
    DiskFlags flags;
    // Floppy disk controller devices are block major 2.
    if (major == 2) {
        flags.floppy = true;
        return flags;
    }
    const QString link = sysRoot + QStringLiteral("/dev/block/%1:%2").arg(major).arg(minor);
    QString device = QFileInfo(link).canonicalFilePath();
    if (device.isEmpty())
        return flags;
    if (QFileInfo::exists(device + QLatin1String("/partition")))
        device = QFileInfo(device).path();
    flags.removable = readSmallFile(device + QLatin1String("/removable")) == "1";
    // A built-in SD slot reports its cards as not removable; its device type tells.
    if (!flags.removable && readSmallFile(device + QLatin1String("/device/type")) == "SD")
        flags.removable = true;
    return flags;
}

} // namespace

MountTableDriveProvider::MountTableDriveProvider(const QString& mountInfoPath, const QString& sysRoot,
                                                 QObject* parent)
    : SystemDriveProvider(parent),
      m_mountInfoPath(mountInfoPath.isEmpty() ? QStringLiteral("/proc/self/mountinfo") : mountInfoPath),
      m_sysRoot(sysRoot.isEmpty() ? QStringLiteral("/sys") : sysRoot)
{
    // The kernel marks the open mount table exceptional whenever a mount changes.
    m_fd = ::open(QFile::encodeName(m_mountInfoPath).constData(), O_RDONLY | O_CLOEXEC);
    if (m_fd >= 0) {
        m_notifier = std::make_unique<QSocketNotifier>(m_fd, QSocketNotifier::Exception);
        connect(m_notifier.get(), &QSocketNotifier::activated, this, [this] { scheduleRefresh(); });
    }
    start();
}

MountTableDriveProvider::~MountTableDriveProvider()
{
    m_notifier.reset();
    if (m_fd >= 0)
        ::close(m_fd);
}

QList<DriveInfo> MountTableDriveProvider::MountedDrives()
{
    QFile f(m_mountInfoPath);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    // Reading the table again through the watched descriptor re-arms its notice.
    if (m_fd >= 0) {
        char buf[4096];
        ::lseek(m_fd, 0, SEEK_SET);
        while (::read(m_fd, buf, sizeof buf) > 0) {
        }
    }
    return ParseMountInfo(f.readAll(), m_sysRoot);
}

QList<DriveInfo> MountTableDriveProvider::ParseMountInfo(const QByteArray& text, const QString& sysRoot)
{
    QList<DriveInfo> drives;
    for (const QByteArray& line : text.split('\n')) {
        const QList<QByteArray> f = line.split(' ');
        // id parent major:minor root mountpoint options [optional...] - fstype source superopts
        if (f.size() < 7)
            continue;
        const QList<QByteArray> dev = f[2].split(':');
        if (dev.size() != 2)
            continue;
        bool okMajor = false, okMinor = false;
        const int major = dev[0].toInt(&okMajor);
        const int minor = dev[1].toInt(&okMinor);
        // Major 0 is every virtual file system (proc, tmpfs, overlay...).
        if (!okMajor || !okMinor || major == 0)
            continue;
        // A bind mount of a subfolder is not a drive root.
        if (f[3] != "/")
            continue;
        QString root = QFile::decodeName(unescapeMountPath(f[4]));
        if (!root.endsWith(QLatin1Char('/')))
            root += QLatin1Char('/');
        if (std::any_of(drives.begin(), drives.end(), [&](const DriveInfo& d) { return d.root == root; }))
            continue;
        const DiskFlags flags = diskFlags(sysRoot, major, minor);
        drives.append(DriveInfo{root, flags.removable, flags.floppy});
    }
    return drives;
}
