// Start-up values written through QSettings and the component-check messages.
#include "fakes/FakePrompt.h"
#include "app/MediaComponentReport.h"
#include "app/StartupRegistry.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void decoderValuesGoToTheUserFolder();
    void machineValueWrittenWhenWritable();
    void machineValueSkippedWhenNotWritable();
    void componentMessages_data();
    void componentMessages();
};

void StartupTest::decoderValuesGoToTheUserFolder()
{
    QTemporaryDir dir;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
    QVERIFY(WriteDecoderRegistryValues());
    QSettings s(dir.filePath(QStringLiteral("GNU/ffdshow.ini")), QSettings::IniFormat);
    QCOMPARE(s.value(QStringLiteral("multipleInstances")).toInt(), 0);
    QCOMPARE(s.value(QStringLiteral("isWhitelist")).toInt(), 0);
    QCOMPARE(s.value(QStringLiteral("h264")).toInt(), 1);
    QCOMPARE(s.allKeys().size(), 3);
}

void StartupTest::machineValueWrittenWhenWritable()
{
    QTemporaryDir dir;
    QSettings::setPath(QSettings::IniFormat, QSettings::SystemScope, dir.path());
    QVERIFY(WriteMachineRegistryValues());
    QSettings s(dir.filePath(QStringLiteral("Wexlor.ini")), QSettings::IniFormat);
    QCOMPARE(s.value(QStringLiteral("usingDShow")).toInt(), 1);
}

void StartupTest::machineValueSkippedWhenNotWritable()
{
    // A folder that cannot be created even by root.
    QSettings::setPath(QSettings::IniFormat, QSettings::SystemScope, QStringLiteral("/proc/halcyon-no-such/xdg"));
    QVERIFY(!WriteMachineRegistryValues());
}

void StartupTest::componentMessages_data()
{
    QTest::addColumn<int>("result");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("all present") << 1 << QStringList();
    QTest::newRow("source") << -1 << QStringList{QStringLiteral("Source Filter가 등록되지 않았습니다.")};
    QTest::newRow("video decoder") << -2 << QStringList{QStringLiteral("Video Filter(ffdshow)가 등록되지 않았습니다.")};
    QTest::newRow("audio decoder: nothing shown") << -3 << QStringList();
    QTest::newRow("brightness filter: nothing shown") << -4 << QStringList();
}

void StartupTest::componentMessages()
{
    QFETCH(int, result);
    QFETCH(QStringList, shown);
    FakePrompt prompt;
    ReportMediaComponents(result, prompt);
    QCOMPARE(prompt.texts, shown);
}

QTEST_GUILESS_MAIN(StartupTest)
#include "StartupTest.moc"
