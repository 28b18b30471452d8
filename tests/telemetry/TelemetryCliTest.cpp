#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

namespace {
QString buildDir() { return qEnvironmentVariable("HALCYON_BUILD_DIR"); }

struct Run {
    int exitCode = -1;
    QByteArray out;
};

Run run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000))
        return {};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput()};
}

Run cli(const QStringList& args) { return run(buildDir() + QStringLiteral("/tools/halcyon-deck-cli"), args); }

bool recgen(const QString& out, const QStringList& extra)
{
    return run(buildDir() + QStringLiteral("/tools/recgen/halcyon-recgen"), QStringList{out} + extra).exitCode == 0;
}
} // namespace

class TelemetryCliTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void exportsARecordingInEachFormat()
    {
        const QString file = m_dir.filePath(QStringLiteral("south.mp4"));
        // 3 s: GPS at 1 Hz, acceleration at 10 Hz, and one known fix of our own
        QVERIFY(recgen(file, {"--telemetry-only", "--duration", "3", "--south", "--west", "--line",
                              QString::fromLatin1("1500:" + QByteArray("G$GPRMC,010203,V,3715.5,S,14458.2,W,10,90,311214,,").toHex())}));
        const Run nmea = cli({"telemetry", file, "--format", "nmea"});
        QCOMPARE(nmea.exitCode, 0);
        const QList<QByteArray> sentences = nmea.out.split('\n').mid(0, nmea.out.count('\n'));
        QVERIFY(sentences.size() >= 4);
        for (const QByteArray& s : sentences)
            QVERIFY2(s.startsWith("$GPRMC,") && s.endsWith('\r'), s.constData());
        QVERIFY(sentences.contains("$GPRMC,010203,V,3715.5,S,14458.2,W,10,90,311214,,\r"));

        const Run csv = cli({"telemetry", file, "--format=csv"});
        QCOMPARE(csv.exitCode, 0);
        const QList<QByteArray> rows = csv.out.trimmed().split('\n');
        QCOMPARE(rows.count(), 1 + int(sentences.size()) + int(csv.out.count(",accel,")));
        QVERIFY(csv.out.count(",accel,") >= 25);
        QVERIFY(rows.contains("1500,gps,2014-12-31T01:02:03Z,-37.258333,-144.970000,18.52,90.0,,,"));

        const Run gpx = cli({"telemetry", file, "--format", "gpx"});
        QCOMPARE(gpx.exitCode, 0);
        QXmlStreamReader xml(gpx.out);
        int points = 0;
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement() && xml.name() == QLatin1String("trkpt")) {
                ++points;
                QVERIFY(xml.attributes().value(QLatin1String("lat")).toDouble() < 0);
                QVERIFY(xml.attributes().value(QLatin1String("lon")).toDouble() < 0);
            }
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QCOMPARE(points, int(sentences.size()));
    }

    void recordingWithoutTelemetryGivesEmptyDocuments()
    {
        const QString file = m_dir.filePath(QStringLiteral("quiet.mp4"));
        QVERIFY(recgen(file, {"--duration", "1", "--front", "64x64", "--rear", "32x32", "--no-audio", "--no-telemetry"}));
        QCOMPARE(cli({"telemetry", file, "--format", "nmea"}).out, QByteArray());
        QCOMPARE(cli({"telemetry", file, "--format", "csv"}).out.count('\n'), 1);
        const Run gpx = cli({"telemetry", file, "--format", "gpx"});
        QCOMPARE(gpx.exitCode, 0);
        QVERIFY(gpx.out.contains("<gpx") && !gpx.out.contains("<trk"));
    }

    // Recordings as the demo card has them: a drive with the generator's hit
    // (the sensor saturates, then rings for half a second) or without one.
    void findsTheImpactsTheGeneratorPut_data()
    {
        QTest::addColumn<QStringList>("recgenArgs");
        QTest::addColumn<QStringList>("cliArgs");
        QTest::addColumn<QList<int>>("times");
        QTest::newRow("impact at 9.5 s") << QStringList{"--impact", "9.5"} << QStringList{} << QList<int>{9550};
        QTest::newRow("impact at 4 s") << QStringList{"--impact", "4"} << QStringList{} << QList<int>{4050};
        QTest::newRow("plain drive") << QStringList{} << QStringList{} << QList<int>{};
        QTest::newRow("threshold above the hit") << QStringList{"--impact", "4"} << QStringList{"--threshold", "3.5"}
                                                 << QList<int>{};
    }
    void findsTheImpactsTheGeneratorPut()
    {
        QFETCH(QStringList, recgenArgs);
        QFETCH(QStringList, cliArgs);
        QFETCH(QList<int>, times);
        const QString file = m_dir.filePath(QStringLiteral("event.mp4"));
        // the drive from 56 s on has pulling away, cruising and braking in it
        QVERIFY(recgen(file, QStringList{"--telemetry-only", "--duration", "20", "--drive-offset", "56"} + recgenArgs));
        const Run r = cli(QStringList{"telemetry", file, "--format", "impacts"} + cliArgs);
        QCOMPARE(r.exitCode, 0);
        const QJsonArray impacts = QJsonDocument::fromJson(r.out).object().value(QLatin1String("impacts")).toArray();
        QCOMPARE(impacts.size(), times.size());
        for (int i = 0; i < times.size(); ++i) {
            QCOMPARE(impacts[i].toObject().value(QLatin1String("timeMs")).toInt(), times[i]);
            QVERIFY(impacts[i].toObject().value(QLatin1String("peakG")).toDouble() > 2.5);
        }
    }

    void refusesBadInput_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("unknown format") << QStringList{"telemetry", "x.mp4", "--format", "kml"} << 2;
        QTest::newRow("no file") << QStringList{"telemetry", "--format", "csv"} << 2;
        QTest::newRow("threshold not a number") << QStringList{"telemetry", "x.mp4", "--format", "impacts", "--threshold", "x"} << 2;
        QTest::newRow("missing file") << QStringList{"telemetry", "/nonexistent/x.mp4", "--format", "csv"} << 1;
        QTest::newRow("not an MP4") << QStringList{"telemetry", "NOTMP4", "--format", "csv"} << 1;
    }
    void refusesBadInput()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        const QString junk = m_dir.filePath(QStringLiteral("junk.mp4"));
        QFile f(junk);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("this is not a recording");
        f.close();
        args.replaceInStrings(QStringLiteral("NOTMP4"), junk);
        const Run r = cli(args);
        QCOMPARE(r.exitCode, exitCode);
        QCOMPARE(r.out, QByteArray());
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TelemetryCliTest)
#include "TelemetryCliTest.moc"
