#include "card/MountTableDriveProvider.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {
void writeFile(const QString& path, const QByteArray& data)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(data);
}

// A /sys with: sda (fixed) and its partition sda1; sdb (card reader, removable)
// and sdb1; mmcblk0 (built-in SD slot, removable 0 but type SD) and its p1; fd0.
QString makeSys(const QTemporaryDir& dir)
{
    const QString sys = dir.path() + "/sys";
    const QString blk = sys + "/devices/pci0/block";
    auto disk = [&](const QString& name, const QByteArray& removable, const QString& majMin) {
        writeFile(blk + "/" + name + "/removable", removable + "\n");
        QDir().mkpath(sys + "/dev/block");
        QFile::link(blk + "/" + name, sys + "/dev/block/" + majMin);
    };
    auto part = [&](const QString& diskName, const QString& name, const QString& majMin) {
        writeFile(blk + "/" + diskName + "/" + name + "/partition", "1\n");
        QFile::link(blk + "/" + diskName + "/" + name, sys + "/dev/block/" + majMin);
    };
    disk("sda", "0", "8:0");
    part("sda", "sda1", "8:1");
    disk("sdb", "1", "8:16");
    part("sdb", "sdb1", "8:17");
    disk("mmcblk0", "0", "179:0");
    writeFile(blk + "/mmcblk0/device/type", "SD\n");
    part("mmcblk0", "mmcblk0p1", "179:1");
    return sys;
}

const QByteArray kMountInfo =
    "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
    "23 22 0:21 / /proc rw shared:2 - proc proc rw\n"
    "24 22 0:5 / /dev/shm rw - tmpfs tmpfs rw\n"
    "40 22 8:17 / /media/user/MY\\040CARD rw,nosuid - vfat /dev/sdb1 rw\n"
    "41 22 179:1 / /media/user/SLOT rw - vfat /dev/mmcblk0p1 rw\n"
    "42 22 8:1 /home/user/data /srv/bound rw - ext4 /dev/sda1 rw\n"
    "43 22 2:0 / /mnt/floppy rw - vfat /dev/fd0 rw\n"
    "44 22 8:17 / /media/user/MY\\040CARD rw - vfat /dev/sdb1 rw\n"
    "broken line\n";
} // namespace

class DriveProviderTest : public QObject {
    Q_OBJECT
private slots:
    void readsMountedDrivesFromTheMountTable()
    {
        QTemporaryDir dir;
        const QString sys = makeSys(dir);
        const QList<DriveInfo> drives = MountTableDriveProvider::ParseMountInfo(kMountInfo, sys);
        QCOMPARE(drives, (QList<DriveInfo>{
                             {"/", false, false},
                             {"/media/user/MY CARD/", true, false},
                             {"/media/user/SLOT/", true, false},
                             {"/mnt/floppy/", false, true},
                         }));
    }

    // The fallback provider keeps its list in mount-point order, adds the extra
    // card roots while they exist, and tells what came and went.
    void signalsArrivalsAndRemovals()
    {
        QTemporaryDir dir;
        const QString sys = makeSys(dir);
        const QString mountInfo = dir.path() + "/mountinfo";
        writeFile(mountInfo, "22 1 8:1 / / rw - ext4 /dev/sda1 rw\n");
        const QString extra = dir.path() + "/copied card";
        qputenv("HALCYON_CARD_ROOTS", QFile::encodeName(extra + ":" + dir.path() + "/never:"));
        // Roots that are not there yet are named in the trace.
        QTest::ignoreMessage(QtWarningMsg, qPrintable("configured card root does not exist: " + extra + "/"));
        QTest::ignoreMessage(QtWarningMsg, qPrintable("configured card root does not exist: " + dir.path() + "/never/"));
        MountTableDriveProvider provider(mountInfo, sys);
        qunsetenv("HALCYON_CARD_ROOTS");
        QCOMPARE(provider.Drives(), (QList<DriveInfo>{{"/", false, false}}));

        QSignalSpy arrived(&provider, &DriveProvider::driveArrived);
        QSignalSpy removed(&provider, &DriveProvider::driveRemoved);
        QDir().mkpath(extra);
        writeFile(mountInfo, "22 1 8:1 / / rw - ext4 /dev/sda1 rw\n"
                             "40 22 8:17 / /a/card rw - vfat /dev/sdb1 rw\n");
        provider.Refresh();
        QCOMPARE(provider.Drives(), (QList<DriveInfo>{
                                        {"/", false, false}, {"/a/card/", true, false}, {extra + "/", true, false}}));
        QCOMPARE(arrived.size(), 2);
        QCOMPARE(removed.size(), 0);

        provider.Refresh();
        QCOMPARE(arrived.size(), 2);

        QDir(extra).removeRecursively();
        writeFile(mountInfo, "22 1 8:1 / / rw - ext4 /dev/sda1 rw\n");
        provider.Refresh();
        QCOMPARE(removed.size(), 2);
        QStringList gone{removed.at(0).at(0).toString(), removed.at(1).at(0).toString()};
        gone.sort();
        QCOMPARE(gone, QStringList({"/a/card/", extra + "/"}));
    }

    void extraRootIsRemovableEvenWhenMountedFixed()
    {
        QTemporaryDir dir;
        const QString sys = makeSys(dir);
        const QString mountInfo = dir.path() + "/mountinfo";
        writeFile(mountInfo, "22 1 8:1 / / rw - ext4 /dev/sda1 rw\n");
        qputenv("HALCYON_CARD_ROOTS", "/");
        MountTableDriveProvider provider(mountInfo, sys);
        qunsetenv("HALCYON_CARD_ROOTS");
        QCOMPARE(provider.Drives(), (QList<DriveInfo>{{"/", true, false}}));
    }
};

QTEST_GUILESS_MAIN(DriveProviderTest)
#include "DriveProviderTest.moc"
