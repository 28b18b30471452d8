#pragma once
// Formats the card through UDisks2: Block.Format("vfat") with the label kept
// and the mounts torn down, then Filesystem.Mount when nobody mounts it again.
// Only the block device whose mount point is exactly the card root, on a
// removable drive, holding the file system itself, is ever formatted. The
// user may be asked for authorisation by the system. Calls block: worker
// thread only.
#include "config/CardFormatter.h"

#include <QDBusConnection>

class UDisksCardFormatter : public CardFormatter {
public:
    // Tests pass a private bus with a stand-in service.
    explicit UDisksCardFormatter(const QDBusConnection& bus = QDBusConnection::systemBus());

    std::optional<FormatTarget> Identify(const QString& cardRoot, QString* why) override;
    Result Format(const FormatTarget& target) override;
    QString WaitForMount(const FormatTarget& target, int timeoutMs, QString* why) override;

    // The user may need a while to authorise and a large card to be written.
    int formatTimeoutMs = 30 * 60 * 1000;

private:
    QDBusConnection m_bus;
};
