#pragma once
// Drives from the mount table, for machines without UDisks2 (containers, CI):
// every volume mounted from a block device, removable when the kernel flags
// its disk so (the parent disk for a partition) or the disk is an SD card.
#include "card/SystemDriveProvider.h"

#include <QByteArray>
#include <QSocketNotifier>
#include <memory>

class MountTableDriveProvider : public SystemDriveProvider {
    Q_OBJECT
public:
    // Empty paths mean /proc/self/mountinfo and /sys.
    MountTableDriveProvider(const QString& mountInfoPath = QString(), const QString& sysRoot = QString(),
                            QObject* parent = nullptr);
    ~MountTableDriveProvider() override;
    QString BackendName() const override { return QStringLiteral("mountinfo"); }

    // The block-device mounts of a mountinfo text, with their sysfs flags.
    static QList<DriveInfo> ParseMountInfo(const QByteArray& text, const QString& sysRoot);

protected:
    QList<DriveInfo> MountedDrives() override;

private:
    QString m_mountInfoPath;
    QString m_sysRoot;
    int m_fd = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
};
