#pragma once
// Drives for tests: set the list, then announce arrivals and removals.
#include "card/DriveProvider.h"

#include <algorithm>

class FakeDriveProvider : public DriveProvider {
public:
    using DriveProvider::DriveProvider;
    QList<DriveInfo> drives;
    QList<DriveInfo> Drives() const override { return drives; }

    void Arrive(const DriveInfo& drive)
    {
        drives.append(drive);
        emit driveArrived(drive.root);
    }
    void Remove(const QString& root)
    {
        drives.erase(std::remove_if(drives.begin(), drives.end(), [&](const DriveInfo& d) { return d.root == root; }),
                     drives.end());
        emit driveRemoved(root);
    }
};
