#include "base/Messages.h"
#include "base/Trace.h"
#include "config/DeviceConfig.h"
#include "fakes/FakeDriveProvider.h"
#include "fakes/FakeRecordingListView.h"
#include "card/CardMonitor.h"
#include "card/CardTree.h"
#include "card/RecordingLibrary.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QTest>

namespace {
// Drives as folders below one temporary folder: "C" fixed, "E" removable, ...
struct Machine {
    QTemporaryDir dir;
    FakeDriveProvider drives;
    FakeRecordingListView view;
    DeviceConfig config;
    RecordingLibrary library;
    CardMonitor monitor{library, drives, config};
    QSignalSpy removed{&monitor, &CardMonitor::cardRemoved};
    int resetsBeforeRemoved = -1;

    Machine()
    {
        library.SetListView(&view);
        // Playback lets go of the card before the lists are emptied.
        QObject::connect(&monitor, &CardMonitor::cardRemoved, &monitor,
                         [this] { resetsBeforeRemoved = library.RecordingCount(CategoryAll); });
    }
    QString root(const QString& name) const { return dir.path() + QLatin1Char('/') + name + QLatin1Char('/'); }
    // kind: "fixed", "removable", "floppy"; card: INFINITE/EVENT as given ("IE", "I", "").
    DriveInfo drive(const QString& name, const QString& kind, const QString& folders, bool withRecording = true)
    {
        QDir().mkpath(root(name));
        if (folders.contains(QLatin1Char('I')))
            QDir().mkpath(root(name) + "INFINITE");
        if (folders.contains(QLatin1Char('E')))
            QDir().mkpath(root(name) + "EVENT");
        if (folders.contains(QLatin1Char('I')) && withRecording) {
            QDir().mkpath(root(name) + "INFINITE/0315");
            QFile f(root(name) + "INFINITE/0315/20120315_142501_I01.mp4");
            f.open(QIODevice::WriteOnly);
            f.resize(4096);
        }
        return DriveInfo{root(name), kind != QLatin1String("fixed"), kind == QLatin1String("floppy")};
    }
    void deliverPosted() { QCoreApplication::sendPostedEvents(&monitor, QEvent::Type(MSG_SCAN_CARD)); }
};
} // namespace

class CardMonitorTest : public QObject {
    Q_OBJECT
private slots:
    void picksTheCardAmongDrives_data()
    {
        // Each drive: name:kind:folders; drives are listed in mount-point order.
        QTest::addColumn<QStringList>("drives");
        QTest::addColumn<QString>("cardRoot");
        QTest::addColumn<bool>("scanned");
        QTest::newRow("fixed, removable without folders, card")
            << QStringList{"C:fixed:IE", "E:removable:", "F:removable:IE"} << "F" << true;
        QTest::newRow("only a removable drive without folders")
            << QStringList{"C:fixed:IE", "E:removable:"} << "E" << false;
        QTest::newRow("last of several plain drives is the fallback")
            << QStringList{"E:removable:", "G:removable:"} << "G" << false;
        QTest::newRow("first of two cards") << QStringList{"E:removable:IE", "F:removable:IE"} << "E" << true;
        QTest::newRow("INFINITE without EVENT is not a card")
            << QStringList{"E:removable:I", "F:removable:E"} << "F" << false;
        QTest::newRow("floppy with folders never taken") << QStringList{"A:floppy:IE"} << "" << false;
        QTest::newRow("fixed drives only") << QStringList{"C:fixed:IE"} << "" << false;
        QTest::newRow("no drives") << QStringList{} << "" << false;
    }
    void picksTheCardAmongDrives()
    {
        QFETCH(QStringList, drives);
        QFETCH(QString, cardRoot);
        QFETCH(bool, scanned);
        Machine m;
        for (const QString& d : drives) {
            const QStringList p = d.split(QLatin1Char(':'));
            m.drives.drives << m.drive(p[0], p[1], p[2]);
        }
        m.monitor.OnScanCard();
        QCOMPARE(m.library.cardRoot(), cardRoot.isEmpty() ? QString() : m.root(cardRoot));
        QCOMPARE(m.library.RecordingCount(CategoryAll), scanned ? 1 : 0);
        QCOMPARE(m.library.shownCategory(), scanned ? 0 : -1);
        QCOMPARE(m.view.rows.size(), scanned ? 1 : 0);
    }

    void startupRequestScansTheCard()
    {
        Machine m;
        m.drives.drives << m.drive("E", "removable", "IE");
        m.monitor.PostScanRequest();
        QCOMPARE(m.library.cardRoot(), QString());
        m.deliverPosted();
        QCOMPARE(m.library.cardRoot(), m.root("E"));
        QCOMPARE(m.library.RecordingCount(CategoryNormal), 1);
    }

    void fallbackDriveBlocksLaterCardsUntilItGoes()
    {
        Machine m;
        m.drives.drives << m.drive("E", "removable", "");
        m.monitor.OnScanCard();
        QCOMPARE(m.library.cardRoot(), m.root("E"));

        m.drives.Arrive(m.drive("F", "removable", "IE"));
        m.deliverPosted();
        QCOMPARE(m.library.cardRoot(), m.root("E"));
        QCOMPARE(m.library.RecordingCount(CategoryAll), 0);

        m.drives.Remove(m.root("E"));
        QCOMPARE(m.library.cardRoot(), QString());
        m.deliverPosted();
        QCOMPARE(m.library.RecordingCount(CategoryAll), 0); // a removal posts no scan

        m.drives.Arrive(m.drive("G", "removable", "", false));
        m.deliverPosted();
        QCOMPARE(m.library.cardRoot(), m.root("F"));
        QCOMPARE(m.library.RecordingCount(CategoryAll), 1);
    }

    void arrivalWhileACardIsInUseChangesNothing()
    {
        Machine m;
        m.drives.drives << m.drive("F", "removable", "IE");
        m.monitor.OnScanCard();
        m.library.SetPlayingCategory(0);
        m.drives.Arrive(m.drive("E", "removable", "IE"));
        m.deliverPosted();
        QCOMPARE(m.library.cardRoot(), m.root("F"));
        QCOMPARE(m.library.playingCategory(), 0);
    }

    // The card in use goes away: playback stops unless it already stood still,
    // the library empties and no category is shown.
    void removalOfTheCardInUseStopsAndResets()
    {
        Machine m;
        m.drives.drives << m.drive("F", "removable", "IE");
        m.monitor.OnScanCard();
        m.library.SetPlayingCategory(CategoryNormal);
        m.library.SetSelectedRow(CategoryNormal, 0);
        QSignalSpy shown(&m.library, &RecordingLibrary::categoryShown);
        QStringList traces;
        SetTraceSink([&](const QString& l) { traces << l; });

        // The mount point stays behind as an empty folder, as it often does.
        m.drives.Remove(m.root("F"));
        SetTraceSink({});

        QCOMPARE(traces, QStringList{QStringLiteral("OnDeviceChange \r\n")});
        QCOMPARE(m.removed.size(), 1);
        QCOMPARE(m.resetsBeforeRemoved, 1);
        QCOMPARE(m.library.cardRoot(), QString());
        for (int l = 0; l < kCategoryCount; ++l) {
            QCOMPARE(m.library.RecordingCount(l), 0);
            QCOMPARE(m.library.view(l).selected, -1);
        }
        QCOMPARE(m.library.shownCategory(), -1);
        QCOMPARE(m.library.playingCategory(), -1);
        QCOMPARE(m.view.rows.size(), 0);
        QCOMPARE(m.view.selection, -1);
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.at(0).at(0).toInt(), -1);
    }

    void heldMonitorSettlesAfterTheFormat_data()
    {
        QTest::addColumn<QString>("remountedAs");
        QTest::newRow("mounted again where it was") << "F";
        QTest::newRow("mounted again elsewhere") << "F1";
    }
    void heldMonitorSettlesAfterTheFormat()
    {
        QFETCH(QString, remountedAs);
        Machine m;
        m.drives.drives << m.drive("F", "removable", "IE");
        m.monitor.OnScanCard();
        m.monitor.Hold();
        m.drives.Remove(m.root("F"));
        m.drives.Arrive(m.drive(remountedAs, "removable", "IE"));
        // The unmount in the middle of the format resets nothing.
        QCOMPARE(m.library.cardRoot(), m.root("F"));
        QCOMPARE(m.removed.size(), 0);
        m.deliverPosted();
        QCOMPARE(m.library.cardRoot(), m.root("F"));

        m.monitor.Release();
        m.deliverPosted();
        QCOMPARE(m.library.cardRoot(), m.root(remountedAs));
        QCOMPARE(m.library.RecordingCount(CategoryAll), 1);
        QCOMPARE(m.removed.size(), 0); // playback was already stopped by the format
    }

    void removalOfAnotherDriveChangesNothing()
    {
        Machine m;
        m.drives.drives << m.drive("E", "removable", "") << m.drive("F", "removable", "IE");
        m.monitor.OnScanCard();
        m.library.SetPlayingCategory(CategoryAll);
        m.drives.Remove(m.root("E"));
        QCOMPARE(m.removed.size(), 0);
        QCOMPARE(m.library.cardRoot(), m.root("F"));
        QCOMPARE(m.library.RecordingCount(CategoryAll), 1);
        QCOMPARE(m.library.playingCategory(), int(CategoryAll));
        QCOMPARE(m.library.shownCategory(), 0);
    }

    void listResetMessageResetsTheLibrary()
    {
        Machine m;
        m.drives.drives << m.drive("F", "removable", "IE");
        m.monitor.OnScanCard();
        QEvent reset{QEvent::Type(MSG_LIST_RESET)};
        QVERIFY(m.monitor.HandleEvent(&reset));
        QCOMPARE(m.library.RecordingCount(CategoryAll), 0);
        QCOMPARE(m.library.shownCategory(), -1);
        QCOMPARE(m.library.cardRoot(), m.root("F")); // the card stays in use
        QEvent other(QEvent::User);
        QVERIFY(!m.monitor.HandleEvent(&other));
    }

    // What a scan does with the card's settings file.
    void scanReadsTheSettingsFile_data()
    {
        QTest::addColumn<int>("size");      // -1: no file
        QTest::addColumn<int>("sizeAfter"); // -1: still no file
        QTest::addColumn<bool>("fromFile");
        QTest::newRow("34 bytes") << 34 << 34 << true;
        QTest::newRow("33 bytes replaced") << 33 << 34 << false;
        QTest::newRow("35 bytes replaced") << 35 << 34 << false;
        QTest::newRow("empty replaced") << 0 << 34 << false;
        QTest::newRow("absent is not created") << -1 << -1 << false;
    }
    void scanReadsTheSettingsFile()
    {
        QFETCH(int, size);
        QFETCH(int, sizeAfter);
        QFETCH(bool, fromFile);
        Machine m;
        m.drives.drives << m.drive("F", "removable", "IE");
        const QString path = m.root("F") + QLatin1String(kSettingsFileName);
        DeviceSettings custom;
        custom.speedUnit = 2;
        custom.reserved0[3] = 0x77;
        if (size >= 0) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(custom.ToBytes().leftJustified(size, '\x01', true));
        }
        m.config.live.speedUnit = 3; // left over from an earlier card
        QSignalSpy loaded(&m.monitor, &CardMonitor::settingsLoaded);
        m.monitor.OnScanCard();
        QCOMPARE(loaded.size(), 1);
        const DeviceSettings expected = fromFile ? custom : DeviceSettings::Default();
        QCOMPARE(m.config.live.ToBytes().toHex(), expected.ToBytes().toHex());
        QCOMPARE(m.config.working, m.config.live);
        QFile after(path);
        QCOMPARE(after.exists() ? int(QFileInfo(path).size()) : -1, sizeAfter);
        if (sizeAfter == 34 && !fromFile) {
            QVERIFY(after.open(QIODevice::ReadOnly));
            QCOMPARE(after.readAll(), DeviceSettings::Default().ToBytes());
        }
    }
};

QTEST_GUILESS_MAIN(CardMonitorTest)
#include "CardMonitorTest.moc"
