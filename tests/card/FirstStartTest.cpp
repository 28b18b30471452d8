// The first thing a new user runs: `./dev.sh run` on a checkout without a demo
// card makes the card and hands the viewer its card roots. The viewer must get
// exactly one root, that root must exist, and it must list every recording.
#include "card/RecordingLibrary.h"
#include "card/SystemDriveProvider.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class FirstStartTest : public QObject {
    Q_OBJECT
private slots:
    void freshCheckoutHandsTheViewerOneCardWithEveryRecording()
    {
        QTemporaryDir build;
        QVERIFY(build.isValid());
        const QString buildDir = qEnvironmentVariable("HALCYON_BUILD_DIR");
        const QString sourceDir = qEnvironmentVariable("HALCYON_SOURCE_DIR");
        // The card maker's own recording generator, making small pictures to keep
        // this quick, and chatty on standard output as tools are.
        QVERIFY(QDir().mkpath(build.filePath("tools/recgen")));
        const QString recgen = build.filePath("tools/recgen/halcyon-recgen");
        QFile wrapper(recgen);
        QVERIFY(wrapper.open(QIODevice::WriteOnly));
        wrapper.write("#!/bin/sh\necho \"writing $1\"\nexec '" + QFile::encodeName(buildDir) +
                      "/tools/recgen/halcyon-recgen' \"$@\" --front 64x36 --rear 32x18 --duration 1 --fps 5\n");
        wrapper.close();
        QVERIFY(wrapper.setPermissions(wrapper.permissions() | QFileDevice::ExeOwner));

        QProcess shell;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("HALCYON_BUILD", build.path());
        env.remove("HALCYON_CARD_ROOTS");
        shell.setProcessEnvironment(env);
        shell.start("bash", {"-c", "source \"$0/dev.sh\" && viewer_card_roots", sourceDir});
        QVERIFY(shell.waitForFinished(120000));
        QCOMPARE(shell.exitCode(), 0);
        const QString roots = QString::fromLocal8Bit(shell.readAllStandardOutput()).chopped(1);

        qputenv("HALCYON_CARD_ROOTS", roots.toLocal8Bit());
        const QStringList handed = SystemDriveProvider::ExtraCardRoots();
        qunsetenv("HALCYON_CARD_ROOTS");
        QCOMPARE(handed, QStringList{SystemDriveProvider::NormalizeRoot(build.filePath("demo-card"))});
        QVERIFY(QFileInfo(handed.first()).isDir());

        RecordingLibrary library;
        library.ScanCard(handed.first());
        QCOMPARE(library.RecordingCount(0), 8);
    }
};

QTEST_GUILESS_MAIN(FirstStartTest)
#include "FirstStartTest.moc"
