#include "engine/RecordingFixture.h"
#include "fakes/FakeTelemetrySource.h"
#include "incident/ClipHashRecord.h"
#include "incident/IncidentExport.h"
#include "mp4/Mp4Bytes.h"
#include "mp4/Mp4Index.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>

namespace {
// Fixes at 0, 1000, 2000 and 3000 ms; the one at 2000 is 23:30:15 UTC on
// New Year's Eve 2014, 50 knots, in the southern and western hemisphere.
RecordingTelemetry drive()
{
    FakeTelemetrySource source;
    source.addLine("G$GPRMC,233013,A,3715.5,S,14458.2,W,040.0,084.4,311214,,", 0);
    source.addLine(QByteArray("M\x80\x80\xC0\0\0\0", 7), 500);
    source.addLine("G$GPRMC,233014,A,3715.6,S,14458.3,W,045.0,084.4,311214,,", 1000);
    source.addLine("G$GPRMC,233015,A,3715.7,S,14458.4,W,050.0,084.4,311214,,", 2000);
    source.addLine("G$GPRMC,233016,A,3715.8,S,14458.5,W,055.0,084.4,311214,,", 3000);
    RecordingTelemetry t;
    t.LoadTelemetry(&source, nullptr);
    return t;
}

// A generated recording: what the encoder "encodes" and the recording exported.
QString recording()
{
    static RecordingFixture fixture;
    static const QString path = fixture.make(QStringLiteral("rec.mp4"));
    return path;
}

// Puts a copy of the generated recording at the requested output as its
// encoded clip (or fails/cancels as told) and remembers what it was asked for.
class FakeEncoder : public IClipEncoder {
public:
    ClipExportResult Export(const ClipExportRequest& request, const Progress& progress) override
    {
        asked = request;
        ClipExportResult r;
        r.status = outcome;
        r.fromMs = request.fromMs;
        r.toMs = request.toMs;
        if (outcome == ClipExportResult::Status::Done) {
            QFile::remove(request.output);
            if (!QFile::copy(recording(), request.output))
                r.status = ClipExportResult::Status::Failed;
        }
        if (progress)
            progress(1.0);
        return r;
    }
    void Cancel() override {}

    ClipExportResult::Status outcome = ClipExportResult::Status::Done;
    ClipExportRequest asked;
};
} // namespace

class IncidentExportTest : public QObject {
    Q_OBJECT
private slots:
    // Without impacts 10 s either side of the position; with impacts 2 s
    // before to 8 s after the one nearest the position; both inside the
    // recording.
    void defaultRangeInsideTheRecording_data()
    {
        QTest::addColumn<uint>("position");
        QTest::addColumn<uint>("duration");
        QTest::addColumn<QList<uint>>("impacts");
        QTest::addColumn<uint>("from");
        QTest::addColumn<uint>("to");
        const QList<uint> none;
        QTest::newRow("middle") << 30000u << 60000u << none << 20000u << 40000u;
        QTest::newRow("near the start") << 4000u << 60000u << none << 0u << 14000u;
        QTest::newRow("near the end") << 55000u << 60000u << none << 45000u << 60000u;
        QTest::newRow("short recording") << 3000u << 5000u << none << 0u << 5000u;
        QTest::newRow("position past the end") << 70000u << 60000u << none << 50000u << 60000u;
        const QList<uint> two{12000u, 40000u};
        QTest::newRow("impact after the position") << 3000u << 60000u << two << 10000u << 20000u;
        QTest::newRow("nearer impact behind the position") << 20000u << 60000u << two << 10000u << 20000u;
        QTest::newRow("nearer impact ahead of the position") << 27000u << 60000u << two << 38000u << 48000u;
        QTest::newRow("as near either way: the earlier") << 26000u << 60000u << two << 10000u << 20000u;
        QTest::newRow("impact at the start") << 500u << 60000u << QList<uint>{1000u} << 0u << 9000u;
        QTest::newRow("impact near the end") << 0u << 60000u << QList<uint>{57000u} << 55000u << 60000u;
        QTest::newRow("impact past the end counts not") << 30000u << 60000u << QList<uint>{61000u} << 20000u << 40000u;
    }
    void defaultRangeInsideTheRecording()
    {
        QFETCH(uint, position);
        QFETCH(uint, duration);
        QFETCH(QList<uint>, impacts);
        QFETCH(uint, from);
        QFETCH(uint, to);
        std::vector<Impact> found;
        for (uint at : impacts)
            found.push_back(Impact{at, 3.0});
        const auto range = IncidentExport::DefaultRange(position, duration, found);
        QCOMPARE(range.first, from);
        QCOMPARE(range.second, to);
    }

    void captionsFollowTheFixesInTheCameraTimeAndUnit_data()
    {
        QTest::addColumn<int>("zone");
        QTest::addColumn<int>("daylight");
        QTest::addColumn<int>("unit");
        QTest::addColumn<QString>("atTwoSeconds");
        // 50 knots are 92.6 km/h and 57.5 mi/h, truncated as the read-out does
        // and the acceleration of the sample at 500 ms: 1 g down
        QTest::newRow("+9 into the next year, km/h")
            << 21 << 0 << 1 << "2015-01-01 08:30:15   92 km/h\n-37.261667, -144.973333\nx +0.00 g  y +0.00 g  z +1.00 g";
        QTest::newRow("daylight saving, mi/h")
            << 21 << 1 << 2 << "2015-01-01 09:30:15   57 mi/h\n-37.261667, -144.973333\nx +0.00 g  y +0.00 g  z +1.00 g";
        QTest::newRow("UTC, knots")
            << 12 << 0 << 3 << "2014-12-31 23:30:15   50 knots\n-37.261667, -144.973333\nx +0.00 g  y +0.00 g  z +1.00 g";
    }
    void captionsFollowTheFixesInTheCameraTimeAndUnit()
    {
        QFETCH(int, zone);
        QFETCH(int, daylight);
        QFETCH(int, unit);
        QFETCH(QString, atTwoSeconds);
        DeviceSettings s;
        s.timeZoneIndex = std::uint8_t(zone);
        s.daylightSaving = std::uint8_t(daylight);
        s.speedUnit = std::uint8_t(unit);
        // from 1500: the fix at 1000 is shown first, then those at 2000 and 3000
        const std::vector<ClipCaption> captions = IncidentExport::Captions(drive(), 1500, 3500, s);
        QCOMPARE(captions.size(), std::size_t(3));
        QCOMPARE(captions[0].positionMs, 1500u);
        QVERIFY(captions[0].text.contains(QLatin1String(":30:14")));
        QCOMPARE(captions[1].positionMs, 2000u);
        QCOMPARE(captions[1].text, atTwoSeconds);
        QCOMPARE(captions[2].positionMs, 3000u);
    }

    // A caption where a fix or an acceleration sample arrives, none at the
    // range's end, none without telemetry; the acceleration shows once there is one.
    void captionsChangeWithFixesAndAccelerationWithinTheRange()
    {
        const DeviceSettings s;
        const std::vector<ClipCaption> captions = IncidentExport::Captions(drive(), 0, 2000, s);
        QCOMPARE(captions.size(), std::size_t(3));
        QCOMPARE(captions[0].positionMs, 0u);
        QVERIFY(!captions[0].text.contains(QLatin1String(" g")));
        QCOMPARE(captions[1].positionMs, 500u);
        QVERIFY(captions[1].text.endsWith(QLatin1String("\nx +0.00 g  y +0.00 g  z +1.00 g")));
        QCOMPARE(captions[2].positionMs, 1000u);
        QVERIFY(IncidentExport::Captions(RecordingTelemetry{}, 0, 2000, s).empty());
    }

    void writesTheGpxOfTheRangeBesideTheClip()
    {
        QTemporaryDir dir;
        FakeEncoder encoder;
        ClipExportRequest request;
        request.source = dir.filePath(QStringLiteral("20141231_233013_E01.mp4"));
        QVERIFY(QFile::copy(recording(), request.source));
        request.output = dir.filePath(QStringLiteral("crash.mp4"));
        request.fromMs = 1000;
        request.toMs = 2000;
        const ClipExportResult r = IncidentExport::Run(encoder, request, drive(), DeviceSettings{});
        QCOMPARE(r.status, ClipExportResult::Status::Done);
        QCOMPARE(encoder.asked.captions.size(), std::size_t(1));
        QFile gpx(dir.filePath(QStringLiteral("crash.gpx")));
        QVERIFY(gpx.open(QIODevice::ReadOnly));
        const QByteArray text = gpx.readAll();
        QCOMPARE(text.count("<trkpt"), 2); // the fixes at 1000 and 2000 ms
        QVERIFY(text.contains("-37.261667"));
        QVERIFY(!text.contains("-37.258333"));
        QVERIFY(text.contains("<name>20141231_233013_E01.mp4</name>"));
        // the record names the clip and the GPX beside it, and they check out
        const auto checks = ClipHashRecord::Verify(dir.filePath(QStringLiteral("crash.json")));
        QVERIFY(checks);
        QCOMPARE(checks->size(), std::size_t(3));
        for (const auto& c : *checks)
            QCOMPARE(c.state, ClipHashRecord::State::Ok);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 4);
    }

    // The lossless cut: no encoder, the recording's tracks from the key
    // picture before the range and the telemetry given as a CAMM track.
    void copiesWithoutTheEncoder()
    {
        QTemporaryDir dir;
        FakeEncoder encoder;
        ClipExportRequest request;
        request.source = recording();
        request.output = dir.filePath(QStringLiteral("cut.mp4"));
        request.fromMs = 1500;
        request.toMs = 2500;
        request.copy = true;
        const ClipExportResult r = IncidentExport::Run(encoder, request, drive(), DeviceSettings{});
        QCOMPARE(r.status, ClipExportResult::Status::Done);
        QVERIFY(encoder.asked.output.isEmpty());
        QCOMPARE(r.fromMs, 1000u);
        const auto index = Mp4Index::Read(request.output);
        QVERIFY(index);
        QCOMPARE(index->tracks.back().format, Mp4Bytes::tag("camm"));
        QCOMPARE(index->tracks.back().sampleCount, std::uint64_t(2)); // the fixes at 1000 and 2000

        std::atomic<bool> cancel{true};
        request.output = dir.filePath(QStringLiteral("cancelled.mp4"));
        QCOMPARE(IncidentExport::Run(encoder, request, drive(), DeviceSettings{}, {}, &cancel).status,
                 ClipExportResult::Status::Cancelled);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 (QStringList{QStringLiteral("cut.gpx"), QStringLiteral("cut.json"), QStringLiteral("cut.mp4")}));
    }

    void leavesNothingWhenTheClipOrItsGpxFails()
    {
        QTemporaryDir dir;
        ClipExportRequest request;
        request.source = recording();
        request.output = dir.filePath(QStringLiteral("crash.mp4"));
        request.toMs = 3000;
        for (auto outcome : {ClipExportResult::Status::Failed, ClipExportResult::Status::Cancelled}) {
            FakeEncoder encoder;
            encoder.outcome = outcome;
            QCOMPARE(IncidentExport::Run(encoder, request, drive(), DeviceSettings{}).status, outcome);
            QVERIFY(QDir(dir.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
        }

        // the GPX's name is taken by a folder: the clip goes again, and the reason is told
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("crash.gpx")));
        FakeEncoder encoder;
        const ClipExportResult r = IncidentExport::Run(encoder, request, drive(), DeviceSettings{});
        QCOMPARE(r.status, ClipExportResult::Status::Failed);
        QVERIFY2(r.message.contains(QLatin1String("crash.gpx")), qPrintable(r.message));
        QVERIFY(!QFile::exists(request.output));
    }
};

QTEST_GUILESS_MAIN(IncidentExportTest)
#include "IncidentExportTest.moc"
