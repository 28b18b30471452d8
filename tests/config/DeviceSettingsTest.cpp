#include "config/DeviceConfig.h"
#include "config/SafeFileWrite.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

namespace {
QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
void writeAll(const QString& path, const QByteArray& data)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(data), data.size());
}
} // namespace

class DeviceSettingsTest : public QObject {
    Q_OBJECT
private slots:
    void defaultRecordIsTheCameraDefault()
    {
        const QByteArray expected = QByteArray(16, '\0')
            + QByteArray::fromHex("05 00 05 00 05 00 03 01 01 02 00 15 00 01 00 02 00 0E");
        QCOMPARE(DeviceSettings::Default().ToBytes().toHex(' '), expected.toHex(' '));
        DeviceConfig config;
        QCOMPARE(config.live, DeviceSettings::Default());
        QCOMPARE(config.working, DeviceSettings::Default());
    }

    void fieldsSitAtTheirOffsetsLittleEndian()
    {
        QByteArray bytes(34, '\0');
        bytes[16] = '\x09';
        bytes[17] = '\x01';
        bytes[27] = '\x15';
        bytes[28] = '\x01';
        bytes[29] = '\x03';
        bytes[31] = '\x01';
        const DeviceSettings s = DeviceSettings::FromBytes(bytes);
        QCOMPARE(s.sensitivity[0], std::uint16_t(0x0109));
        QCOMPARE(s.speedUnit, std::uint8_t(3));
        QCOMPARE(s.memoryMode, std::uint8_t(1));
        QCOMPARE(s.LocalOffsetHours(), 10);
        DeviceSettings west;
        west.timeZoneIndex = 0;
        QCOMPARE(west.LocalOffsetHours(), -12);
    }

    // Bytes the viewer does not interpret go back to the card as they came.
    void keepsUninterpretedBytesThroughReadEditWrite()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(kSettingsFileName);
        QByteArray file = DeviceSettings::Default().ToBytes();
        for (int i = 0; i < 16; ++i)
            file[i] = char(0xA0 + i);
        file[26] = '\x26';
        file[30] = '\x30';
        file[32] = '\x32';
        file[33] = '\x33';
        file[22] = '\x07'; // out of range values are not corrected either
        writeAll(path, file);

        DeviceConfig config;
        QVERIFY(config.ReadDeviceSettings(path));
        config.CopyLiveToWorking();
        config.working.speedUnit = 2;
        config.working.sensitivity = {8, 8, 8};
        config.CopyWorkingToLive();
        QVERIFY(config.WriteDeviceSettings(path));

        QByteArray expected = file;
        expected[29] = '\x02';
        expected[16] = expected[18] = expected[20] = '\x08';
        QCOMPARE(readAll(path).toHex(' '), expected.toHex(' '));
    }

    void otherSizesAreReplacedByTheDefault_data()
    {
        QTest::addColumn<int>("size");
        QTest::newRow("0") << 0;
        QTest::newRow("33") << 33;
        QTest::newRow("35") << 35;
        QTest::newRow("4096") << 4096;
    }
    void otherSizesAreReplacedByTheDefault()
    {
        QFETCH(int, size);
        QTemporaryDir dir;
        const QString path = dir.filePath(kSettingsFileName);
        writeAll(path, QByteArray(size, '\x5a'));
        DeviceConfig config;
        config.live.speedUnit = 3;
        QVERIFY(!config.ReadDeviceSettings(path));
        QCOMPARE(config.live, DeviceSettings::Default());
        QCOMPARE(readAll(path), DeviceSettings::Default().ToBytes());
    }

    // The tools' read: a wrong size or no file is reported and nothing is written.
    void readingOnlyLeavesTheFile_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("outcome");
        QTest::newRow("a record") << DeviceSettings::kSize << int(SettingsFileRead::Read);
        QTest::newRow("one byte short") << 33 << int(SettingsFileRead::WrongSize);
        QTest::newRow("one byte over") << 35 << int(SettingsFileRead::WrongSize);
        QTest::newRow("empty") << 0 << int(SettingsFileRead::WrongSize);
        QTest::newRow("no file") << -1 << int(SettingsFileRead::CannotOpen);
    }
    void readingOnlyLeavesTheFile()
    {
        QFETCH(int, size);
        QFETCH(int, outcome);
        QTemporaryDir dir;
        const QString path = dir.filePath(kSettingsFileName);
        QByteArray stored;
        for (int i = 0; i < size; ++i)
            stored += char(i + 1);
        if (size >= 0)
            writeAll(path, stored);
        QByteArray bytes;
        QCOMPARE(int(ReadSettingsFile(path, &bytes)), outcome);
        if (outcome == int(SettingsFileRead::Read))
            QCOMPARE(bytes, stored);
        QCOMPARE(QFile::exists(path), size >= 0);
        QCOMPARE(readAll(path), stored);
    }

    void unreadableFileLeavesTheLiveRecord()
    {
        QTemporaryDir dir;
        DeviceConfig config;
        config.live.speedUnit = 3;
        QVERIFY(!config.ReadDeviceSettings(dir.filePath("absent.cfg")));
        QVERIFY(!QFile::exists(dir.filePath("absent.cfg")));
        QVERIFY(QDir(dir.path()).mkdir("folder.cfg"));
        QVERIFY(!config.ReadDeviceSettings(dir.filePath("folder.cfg")));
        QCOMPARE(config.live.speedUnit, std::uint8_t(3));
        QVERIFY(QFileInfo(dir.filePath("folder.cfg")).isDir());
    }

    // A card pulled or full in the middle of a write: false, and the old file
    // stays byte for byte, with no temporary file left beside it.
    void failedWriteLeavesTheOldFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(kSettingsFileName);
        QByteArray old = DeviceSettings::Default().ToBytes();
        old[0] = '\x42';
        old[29] = '\x02';
        writeAll(path, old);
        DeviceConfig config;
        config.live.speedUnit = 3;

        QStringList asked;
        SetWriteFaultHook([&](const QString& p) {
            asked << p;
            return true;
        });
        const bool settingsWritten = config.WriteDeviceSettings(path);
        CalendarTime t;
        t.year = 2020;
        const QString timePath = dir.filePath(kTimeFileName);
        writeAll(timePath, "old clock");
        const bool clockWritten = WriteDeviceTimeFile(timePath, t);
        SetWriteFaultHook({});

        QVERIFY(!settingsWritten);
        QVERIFY(!clockWritten);
        QCOMPARE(asked, QStringList({path, timePath}));
        QCOMPARE(readAll(path), old);
        QCOMPARE(readAll(timePath), QByteArray("old clock"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList({kSettingsFileName, kTimeFileName}));
    }

    void writeIntoMissingFolderFails()
    {
        QTemporaryDir dir;
        DeviceConfig config;
        QVERIFY(!config.WriteDeviceSettings(dir.filePath("gone/") + kSettingsFileName));
    }

    void readOnlyFolderKeepsTheOldFile()
    {
        if (::geteuid() == 0)
            QSKIP("root writes into read-only folders");
        QTemporaryDir dir;
        const QString path = dir.filePath(kSettingsFileName);
        const QByteArray old(34, '\x11');
        writeAll(path, old);
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
        DeviceConfig config;
        const bool written = config.WriteDeviceSettings(path);
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(!written);
        QCOMPARE(readAll(path), old);
    }

    // The clock file: a preset fills what a short file does not reach.
    void readsTheClockFile_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<bool>("fromFile");
        QTest::addColumn<QList<int>>("fields"); // year month day hour minute second
        const QList<int> preset{2013, 7, 15, 16, 15, 24};
        const QList<int> written{2026, 12, 9, 14, 25, 1};
        QTest::newRow("15 bytes: PC time") << 15 << false << QList<int>{};
        QTest::newRow("16 bytes: the preset") << 16 << true << preset;
        QTest::newRow("20 bytes: year and month from the file") << 20 << true << QList<int>{2026, 12, 15, 16, 15, 24};
        QTest::newRow("29 bytes") << 29 << true << written;
        QTest::newRow("40 bytes: its first 29") << 40 << true << written;
    }
    void readsTheClockFile()
    {
        QFETCH(int, size);
        QFETCH(bool, fromFile);
        QFETCH(QList<int>, fields);
        QTemporaryDir dir;
        const QString path = dir.filePath(kTimeFileName);
        CalendarTime t;
        t.year = 2026;
        t.month = 12;
        t.day = 9;
        t.hour = 14;
        t.minute = 25;
        t.second = 1;
        writeAll(path, QByteArray(DeviceTimeRecordBytes(t) + QByteArray(20, '\x7f')).left(size));

        const auto value = ReadDeviceTimeValue(path);
        QCOMPARE(value.has_value(), fromFile);
        const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
        const CalendarTime shown = ReadDeviceTimeFile(path);
        if (fromFile) {
            QCOMPARE((QList<int>{shown.year, shown.month, shown.day, shown.hour, shown.minute, shown.second}), fields);
            QCOMPARE(shown.milliseconds, std::uint16_t(0));
        } else {
            const QDateTime pc(QDate(shown.year, shown.month, shown.day),
                               QTime(shown.hour, shown.minute, shown.second));
            QVERIFY(pc >= before.addSecs(-1) && pc <= QDateTime::currentDateTime());
        }
    }

    void absentClockFileShowsPcTime()
    {
        QTemporaryDir dir;
        QVERIFY(!ReadDeviceTimeValue(dir.filePath(kTimeFileName)).has_value());
    }

    void writesTheClockRecord()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(kTimeFileName);
        writeAll(path, QByteArray(64, '\x55'));
        CalendarTime t;
        t.year = 2026;
        t.month = 12;
        t.day = 9;
        t.hour = 14;
        t.minute = 25;
        t.second = 1;
        QVERIFY(WriteDeviceTimeFile(path, t));
        QCOMPARE(readAll(path).toHex(' '),
                 QByteArray(QByteArray(16, '\0') + QByteArray::fromHex("ea07 0c00 0900 0e00 1900 0100 0e")).toHex(' '));
    }
};

QTEST_GUILESS_MAIN(DeviceSettingsTest)
#include "DeviceSettingsTest.moc"
