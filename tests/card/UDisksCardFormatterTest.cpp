#include "fakes/FakeUDisks.h"
#include "card/UDisksCardFormatter.h"

#include <QElapsedTimer>
#include <QTest>

namespace {
const QString kDrives = FakeUDisks::kRoot + QStringLiteral("/drives/");
const QString kBlocks = FakeUDisks::kRoot + QStringLiteral("/block_devices/");
const QString kBlock = QStringLiteral("org.freedesktop.UDisks2.Block");
const QString kFilesystem = QStringLiteral("org.freedesktop.UDisks2.Filesystem");
const QString kDrive = QStringLiteral("org.freedesktop.UDisks2.Drive");

// A fixed disk at "/" and "/home", an SD card in a reader at /media/u/CARD.
FakeObjectMap machine()
{
    return {
        {QDBusObjectPath(kDrives + "ssd"), {{kDrive, FakeUDisks::drive(false, false)}}},
        {QDBusObjectPath(kDrives + "reader"), {{kDrive, FakeUDisks::drive(false, true, "flash_sd")}}},
        {QDBusObjectPath(kBlocks + "sda2"),
         {{kBlock, FakeUDisks::block(kDrives + "ssd", "/dev/sda2", "root", 500000000000ull)},
          {kFilesystem, FakeUDisks::filesystem({"/", "/home"})}}},
        {QDBusObjectPath(kBlocks + "sdb1"),
         {{kBlock, FakeUDisks::block(kDrives + "reader", "/dev/sdb1", "CARD", 8000000000ull)},
          {kFilesystem, FakeUDisks::filesystem({"/media/u/CARD"})}}},
    };
}
} // namespace

class UDisksCardFormatterTest : public QObject {
    Q_OBJECT
    PrivateBus m_bus;
    std::unique_ptr<FakeUDisksService> m_service;
    QDBusConnection m_client{QString()};

private slots:
    void initTestCase()
    {
        FakeUDisks::registerTypes();
        if (!m_bus.start())
            QSKIP("no dbus-daemon");
        m_client = QDBusConnection::connectToBus(m_bus.address, QStringLiteral("client"));
        QVERIFY(m_client.isConnected());
        m_service = std::make_unique<FakeUDisksService>(m_bus.address, QStringLiteral("service"));
        QVERIFY(m_service->publish());
    }
    void init()
    {
        QMutexLocker locked(&m_service->fake.lock);
        m_service->fake.objects = machine();
        m_service->fake.calls.clear();
        m_service->fake.answers.clear();
        m_service->fake.onCall = nullptr;
    }
    void cleanupTestCase()
    {
        m_service.reset();
        QDBusConnection::disconnectFromBus(QStringLiteral("client"));
    }

    void formatsOnlyTheCardMountedAtTheRoot_data()
    {
        QTest::addColumn<QString>("root");
        QTest::addColumn<QString>("device"); // empty: refused
        QTest::addColumn<QString>("reason");
        QTest::newRow("card") << "/media/u/CARD/" << "/dev/sdb1" << "";
        QTest::newRow("card without slash") << "/media/u/CARD" << "/dev/sdb1" << "";
        QTest::newRow("fixed disk") << "/home/" << "" << "이동식 드라이브가 아닙니다";
        QTest::newRow("folder on the card") << "/media/u/CARD/INFINITE/" << "" << "루트가 아닙니다";
        QTest::newRow("folder named as extra card root") << "/srv/card-copy/" << "" << "루트가 아닙니다";
    }
    void formatsOnlyTheCardMountedAtTheRoot()
    {
        QFETCH(QString, root);
        QFETCH(QString, device);
        QFETCH(QString, reason);
        UDisksCardFormatter formatter(m_client);
        QString why;
        const auto target = formatter.Identify(root, &why);
        if (device.isEmpty()) {
            QVERIFY(!target);
            QVERIFY2(why.contains(reason), qPrintable(why));
            return;
        }
        QVERIFY2(target, qPrintable(why));
        QCOMPARE(target->device, device);
        QCOMPARE(target->label, QStringLiteral("CARD"));
        QCOMPARE(target->size, 8000000000ull);
        QCOMPARE(target->handle, kBlocks + "sdb1");
    }

    void callsBlockFormatWithLabelAndTearDown()
    {
        UDisksCardFormatter formatter(m_client);
        QString why;
        const auto target = formatter.Identify("/media/u/CARD/", &why);
        QVERIFY(target);
        QCOMPARE(formatter.Format(*target).outcome, CardFormatter::Outcome::Done);

        QMutexLocker locked(&m_service->fake.lock);
        QCOMPARE(m_service->fake.calls.size(), 1);
        const FakeUDisks::Call call = m_service->fake.calls.first();
        QCOMPARE(call.path, kBlocks + "sdb1");
        QCOMPARE(call.interface, kBlock);
        QCOMPARE(call.member, QStringLiteral("Format"));
        QCOMPARE(call.arguments.value(0).toString(), QStringLiteral("vfat"));
        const QVariantMap options = qdbus_cast<QVariantMap>(call.arguments.value(1));
        QCOMPARE(options.value("label").toString(), QStringLiteral("CARD"));
        QCOMPARE(options.value("tear-down").toBool(), true);
        QVERIFY(options.contains("auth.no_user_interaction"));
        QCOMPARE(options.value("auth.no_user_interaction").toBool(), false);
        QVERIFY(call.interactiveAuthorization);
    }

    void reportsDismissedAuthorisationAsCancelled_data()
    {
        QTest::addColumn<QString>("error");
        QTest::addColumn<CardFormatter::Outcome>("outcome");
        QTest::newRow("dismissed") << "org.freedesktop.UDisks2.Error.NotAuthorizedDismissed"
                                   << CardFormatter::Outcome::Cancelled;
        QTest::newRow("busy") << "org.freedesktop.UDisks2.Error.DeviceBusy" << CardFormatter::Outcome::Failed;
    }
    void reportsDismissedAuthorisationAsCancelled()
    {
        QFETCH(QString, error);
        QFETCH(CardFormatter::Outcome, outcome);
        {
            QMutexLocker locked(&m_service->fake.lock);
            m_service->fake.answers["Format"] = FakeUDisks::Answer{error, {}, false};
        }
        UDisksCardFormatter formatter(m_client);
        QString why;
        const auto target = formatter.Identify("/media/u/CARD/", &why);
        QVERIFY(target);
        const CardFormatter::Result r = formatter.Format(*target);
        QCOMPARE(r.outcome, outcome);
        if (outcome == CardFormatter::Outcome::Failed)
            QVERIFY(!r.message.isEmpty());
    }

    void mountsTheFormattedCardAgain()
    {
        {
            QMutexLocker locked(&m_service->fake.lock);
            // Formatting took the card's mount down.
            m_service->fake.objects[QDBusObjectPath(kBlocks + "sdb1")][kFilesystem] = FakeUDisks::filesystem({});
            m_service->fake.answers["Mount"] = FakeUDisks::Answer{{}, QStringLiteral("/media/u/CARD1"), false};
        }
        UDisksCardFormatter formatter(m_client);
        const FormatTarget target{"/dev/sdb1", "CARD", 8000000000ull, kBlocks + "sdb1"};
        QString why;
        QCOMPARE(formatter.WaitForMount(target, 5000, &why), QStringLiteral("/media/u/CARD1/"));
        QMutexLocker locked(&m_service->fake.lock);
        QCOMPARE(m_service->fake.calls.size(), 1);
        QCOMPARE(m_service->fake.calls.first().path, kBlocks + "sdb1");
        QCOMPARE(m_service->fake.calls.first().member, QStringLiteral("Mount"));
    }

    void takesAMountMadeByTheDesktop()
    {
        UDisksCardFormatter formatter(m_client);
        const FormatTarget target{"/dev/sdb1", "CARD", 8000000000ull, kBlocks + "sdb1"};
        QString why;
        QCOMPARE(formatter.WaitForMount(target, 5000, &why), QStringLiteral("/media/u/CARD/"));
        QMutexLocker locked(&m_service->fake.lock);
        QVERIFY(m_service->fake.calls.isEmpty());
    }

    void givesUpWaitingForTheMount_data()
    {
        QTest::addColumn<bool>("filesystemProbed");
        QTest::newRow("mount never answers") << true;
        QTest::newRow("file system never appears") << false;
    }
    void givesUpWaitingForTheMount()
    {
        QFETCH(bool, filesystemProbed);
        {
            QMutexLocker locked(&m_service->fake.lock);
            auto& card = m_service->fake.objects[QDBusObjectPath(kBlocks + "sdb1")];
            if (filesystemProbed)
                card[kFilesystem] = FakeUDisks::filesystem({});
            else
                card.remove(kFilesystem);
            m_service->fake.answers["Mount"] = FakeUDisks::Answer{{}, {}, true};
        }
        UDisksCardFormatter formatter(m_client);
        const FormatTarget target{"/dev/sdb1", "CARD", 8000000000ull, kBlocks + "sdb1"};
        QString why;
        QElapsedTimer clock;
        clock.start();
        QVERIFY(formatter.WaitForMount(target, 700, &why).isEmpty());
        QVERIFY2(clock.elapsed() >= 650 && clock.elapsed() < 3000, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(!why.isEmpty());
    }
};

QTEST_GUILESS_MAIN(UDisksCardFormatterTest)
#include "UDisksCardFormatterTest.moc"
