#pragma once
// Drives from UDisks2 on the system bus: every mounted file system, removable
// when its drive is (Removable or MediaRemovable), floppy drives marked.
// Refreshed on InterfacesAdded/InterfacesRemoved and on property changes
// (mount points come and go as PropertiesChanged).
#include "library/SystemDriveProvider.h"

class UDisksDriveProvider : public SystemDriveProvider {
    Q_OBJECT
public:
    explicit UDisksDriveProvider(QObject* parent = nullptr);
    QString BackendName() const override { return QStringLiteral("UDisks2"); }
    // A system bus with UDisks2 on it (running or startable).
    static bool IsAvailable();

protected:
    QList<DriveInfo> MountedDrives() override;

private slots:
    void onObjectsChanged();
};
