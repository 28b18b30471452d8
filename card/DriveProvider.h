#pragma once
// The machine's mounted drives as the card search sees them, and their
// comings and goings. Implementations: UDisks2 over the system bus, the mount
// table when there is no UDisks2, and a fake for tests. Roots end in "/".
#include <QList>
#include <QObject>
#include <QString>

struct DriveInfo {
    QString root;          // mount point with a trailing "/"
    bool removable = false;
    bool floppy = false;   // never taken as a card
    bool operator==(const DriveInfo&) const = default;
};

class DriveProvider : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~DriveProvider() override = default;
    // Every mounted drive, in mount-point order.
    virtual QList<DriveInfo> Drives() const = 0;

signals:
    // A drive's root appeared / disappeared (mounted, unmounted, pulled).
    void driveArrived(const QString& root);
    void driveRemoved(const QString& root);
};
