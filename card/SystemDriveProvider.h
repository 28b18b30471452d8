#pragma once
// The machine's drives: the mounted volumes (from UDisks2, or from the mount
// table when there is no system bus or no UDisks2) plus the extra card roots
// named in the settings ("library/extraCardRoots") and in HALCYON_CARD_ROOTS
// (colon-separated). Extra roots count as removable and are listed while
// their folder exists. Subclasses report the mounted volumes; this class
// keeps the list in mount-point order and signals what came and went.
#include "card/DriveProvider.h"

#include <QStringList>
#include <QTimer>
#include <memory>

class SystemDriveProvider : public DriveProvider {
    Q_OBJECT
public:
    // UDisks2 when it answers on the system bus, else the mount table.
    static std::unique_ptr<SystemDriveProvider> Create(QObject* parent = nullptr);

    QList<DriveInfo> Drives() const override { return m_drives; }
    // "UDisks2" or "mountinfo", for traces and the command-line tool.
    virtual QString BackendName() const = 0;

    // From the settings value and the environment, each with a trailing "/".
    static QStringList ExtraCardRoots();
    // root with a trailing "/", "." and ".." resolved.
    static QString NormalizeRoot(const QString& path);

public slots:
    // Reads the drives again and signals the differences.
    void Refresh();

protected:
    explicit SystemDriveProvider(QObject* parent = nullptr);
    // Call at the end of the subclass constructor.
    void start();
    virtual QList<DriveInfo> MountedDrives() = 0;
    // Coalesces bursts of change notices into one Refresh.
    void scheduleRefresh();
    // False when every mount change is announced (UDisks2): then only extra
    // roots, if any, are looked at periodically.
    bool m_pollMounts = true;

private:
    QList<DriveInfo> m_drives;
    QStringList m_extraRoots;
    QTimer m_poll;
    QTimer m_coalesce;
};
