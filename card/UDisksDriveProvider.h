#pragma once
// Drives from UDisks2 on the system bus: every mounted file system, removable
// when its drive is (Removable or MediaRemovable), floppy drives marked.
// Refreshed on InterfacesAdded/InterfacesRemoved and on property changes
// (mount points come and go as PropertiesChanged).
#include "card/SystemDriveProvider.h"

#include <QDBusConnection>

class UDisksDriveProvider : public SystemDriveProvider {
    Q_OBJECT
public:
    // Tests pass a private bus with a stand-in service.
    explicit UDisksDriveProvider(const QDBusConnection& bus = QDBusConnection::systemBus(), QObject* parent = nullptr);
    QString BackendName() const override { return QStringLiteral("UDisks2"); }
    // The bus is up and UDisks2 is on it (running or startable).
    static bool IsAvailable(const QDBusConnection& bus = QDBusConnection::systemBus());

protected:
    QList<DriveInfo> MountedDrives() override;

private slots:
    void onObjectsChanged();

private:
    QDBusConnection m_bus;
};
