#include "fakes/FakeTelemetrySource.h"
#include "base/Trace.h"
#include "display/LinePlotModel.h"
#include "telemetry/RecordingTelemetry.h"
#include "telemetry/TelemetryLines.h"

#include <QTest>
#include <cstring>
#include <memory>

namespace {
CVxGPSTrace rmc(const QByteArray& text, std::uint32_t ts = 0)
{
    return ParseRmcLine(reinterpret_cast<const std::uint8_t*>(text.constData()), std::size_t(text.size()), ts);
}
const QByteArray kExample = "G$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A";
QByteArray accel(char x, char y, char z) { return QByteArray("M") + x + y + z + QByteArray(3, '\x7f'); }
} // namespace

class TelemetryTest : public QObject {
    Q_OBJECT
private slots:
    void parsesEveryFieldOfTheRmcExample()
    {
        const CVxGPSTrace f = rmc(kExample, 4242);
        QCOMPARE(f.timeStamp, 4242u);
        QCOMPARE(f.fixTime.hour, 12);
        QCOMPARE(f.fixTime.minute, 35);
        QCOMPARE(f.fixTime.second, 19);
        QCOMPARE(f.latitude, 4807.038);
        QCOMPARE(f.northSouth, u'N');
        QCOMPARE(f.longitude, 1131.0);
        QCOMPARE(f.eastWest, u'E');
        QCOMPARE(f.speedKnots, 22.4f);
        QCOMPARE(QString::number(f.speedKmh, 'f', 2), QStringLiteral("41.48"));
        QCOMPARE(QString::number(f.speedMph, 'f', 2), QStringLiteral("25.76"));
        // the stored value is the product with the single-precision factor
        QCOMPARE(f.speedKmh, float(double(22.4f) * double(1.852f)));
        QCOMPARE(f.course, 84.4f);
        QCOMPARE(f.fixTime.day, 23);
        QCOMPARE(f.fixTime.month, 3);
        QCOMPARE(f.fixTime.year, 94);
        QCOMPARE(f.fixTime.dayOfWeek, 0);
        QCOMPARE(f.fixTime.milliseconds, 0);
    }

    void fieldRules_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<double>("latitude");
        QTest::addColumn<double>("longitude");
        QTest::addColumn<int>("northSouth");
        QTest::addColumn<int>("day");
        QTest::addColumn<float>("knots");
        QTest::newRow("status V used like A")
            << QByteArray("G$GPRMC,123519,V,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A") << 4807.038 << 1131.0
            << int('N') << 23 << 22.4f;
        QTest::newRow("date without a following comma is not used")
            << QByteArray("G$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394") << 4807.038 << 1131.0
            << int('N') << 0 << 22.4f;
        QTest::newRow("too few commas keeps the initial spot")
            << QByteArray("G$GPRMC,123519,A") << 35.26123809814453 << 128.61709594726562 << int('N') << 0 << 0.0f;
        QTest::newRow("empty fields read as zero")
            << QByteArray("G$GPRMC,,,,,,,,,,") << 0.0 << 0.0 << 0 << 0 << 0.0f;
        QTest::newRow("numbers read like atof") << QByteArray("G$GPRMC,1,A,  3715.5xyz,S,-12.5e1,W,abc,1,") << 3715.5
                                                << -125.0 << int('S') << 0 << 0.0f;
    }
    void fieldRules()
    {
        QFETCH(QByteArray, line);
        QFETCH(double, latitude);
        QFETCH(double, longitude);
        QFETCH(int, northSouth);
        QFETCH(int, day);
        QFETCH(float, knots);
        const CVxGPSTrace f = rmc(line);
        QCOMPARE(f.latitude, latitude);
        QCOMPARE(f.longitude, longitude);
        QCOMPARE(int(f.northSouth), northSouth);
        QCOMPARE(int(f.fixTime.day), day);
        QCOMPARE(f.speedKnots, knots);
    }

    void takesLongFieldsWhole()
    {
        // a latitude of 600 characters: digits, then the point; read whole
        const QByteArray longField = QByteArray(596, '0') + "37.5";
        const CVxGPSTrace f = rmc("G$GPRMC,1,A," + longField + ",S,2,W,");
        QCOMPARE(f.latitude, 37.5);
        QCOMPARE(f.northSouth, u'S');
        QCOMPARE(f.longitude, 2.0);
    }

    void neverReadsPastAnUnterminatedBuffer()
    {
        // 1024 bytes without a zero byte: the parser stops at the buffer's end
        QByteArray line = "G$GPRMC,1,A,12.5,";
        line += QByteArray(kTelemetryBufferSize - line.size(), '9');
        auto heap = std::make_unique<std::uint8_t[]>(kTelemetryBufferSize);
        std::memcpy(heap.get(), line.constData(), kTelemetryBufferSize);
        const CVxGPSTrace f = ParseRmcLine(heap.get(), kTelemetryBufferSize, 0);
        QCOMPARE(f.latitude, 12.5);
        QCOMPARE(f.northSouth, u'N');

        FakeTelemetrySource source;
        source.addLine(line, 5);
        source.addLine(QByteArray(kTelemetryBufferSize, 'M'), 6);
        RecordingTelemetry t;
        t.LoadTelemetry(&source, nullptr);
        QCOMPARE(t.gpsTrack.size(), 1u);
        QCOMPARE(t.gpsSentences.front().size(), std::size_t(kTelemetryBufferSize - 1));
        QCOMPARE(t.gSensorTrack.size(), 1u);
    }

    void readsAccelerationBytesAndTraces()
    {
        QStringList trace;
        SetTraceSink([&](const QString& l) { trace << l; });
        const QByteArray line("M\x80\x40\xC0\x01\x02\x03\xFF", 8);
        const CVxGSensorInfo s = ParseGSensorLine(reinterpret_cast<const std::uint8_t*>(line.constData()),
                                                  std::size_t(line.size()), 0x80000001u);
        // a short line reads zeros where the caller's buffer was zero-filled
        const CVxGSensorInfo shortLine = ParseGSensorLine(reinterpret_cast<const std::uint8_t*>("M\x10"), 2, 7);
        SetTraceSink({});
        QCOMPARE(s.x, 128);
        QCOMPARE(s.y, 64);
        QCOMPARE(s.z, 192);
        QCOMPARE(s.extra, (std::array<std::uint8_t, 3>{1, 2, 3}));
        QCOMPARE(s.timeStamp, 0x80000001u);
        QCOMPARE(shortLine.x, 0x10);
        QCOMPARE(shortLine.y, 0);
        QCOMPARE(trace, QStringList({QStringLiteral("GSensor cts=-2147483647, x=0x80,y=0x40,z=0xc0 \r\n"),
                                     QStringLiteral("GSensor cts=7, x=0x10,y=0x0,z=0x0 \r\n")}));
    }

    void loadsLinesInOrderAndDropsOtherKinds()
    {
        FakeTelemetrySource source;
        source.addLine(kExample, 0);
        source.addLine("$GPRMC,123519,A,1,N,2,E,3,4,230394,", 10);
        source.addLine("GPS,1,2,3", 20);
        source.addLine(accel('\x80', '\x40', '\xC0'), 100);
        source.addLine("G$GPRMC,123520,A,4807.040,N,01131.000,E,0,0,230394,", 1000);
        source.addLine(accel('\x01', '\x02', '\x03'), 1100);
        source.addLine("", 1200);
        RecordingTelemetry t;
        t.LoadTelemetry(&source, nullptr);
        QCOMPARE(t.gpsTrack.size(), 2u);
        QCOMPARE(t.gpsTimes, (std::vector<std::uint32_t>{0, 1000}));
        QCOMPARE(t.gpsTrack[1].fixTime.second, 20);
        QCOMPARE(t.gpsSentences.front(), std::string(kExample.constData() + 1));
        QCOMPARE(t.gSensorTrack.size(), 2u);
        QCOMPARE(t.gSensorTrack[0].timeStamp, 100u);
        QCOMPARE(t.gSensorTrack[1].z, 3);
    }

    void samplesKeepEveryByteAndTheirTimes()
    {
        FakeTelemetrySource source;
        const QByteArray binary("M\x00\x01\x00\xFF", 5);
        source.addLine(binary, 40);
        source.addResult(1);
        source.addLine(kExample, -3);
        const std::vector<TelemetrySample> samples = source.ReadAllSamples();
        QCOMPARE(source.span, std::make_pair(0, -1));
        QCOMPARE(samples.size(), 2u);
        QCOMPARE(samples[0].bytes, binary);
        QCOMPARE(samples[0].timeMs, 40);
        QCOMPARE(samples[1].bytes, kExample);
        QCOMPARE(samples[1].timeMs, -3);
    }

    void endsWhenTheSourceMisbehaves_data()
    {
        QTest::addColumn<int>("endResult");
        QTest::addColumn<int>("expectedCalls");
        QTest::newRow("result 38") << kTelemetryNoMoreLines << 3;
        QTest::newRow("an error result forever") << -2147467259 << 2 + RecordingTelemetry::kMaxRetriesInARow;
        QTest::newRow("result 1 forever") << 1 << 2 + RecordingTelemetry::kMaxRetriesInARow;
    }
    void endsWhenTheSourceMisbehaves()
    {
        QFETCH(int, endResult);
        QFETCH(int, expectedCalls);
        FakeTelemetrySource source;
        source.addLine(kExample, 1);
        source.addLine(accel(1, 2, 3), 2);
        source.endResult = endResult;
        RecordingTelemetry t;
        t.LoadTelemetry(&source, nullptr);
        QCOMPARE(source.calls, expectedCalls);
        // what was read before stays
        QCOMPARE(t.gpsTrack.size(), 1u);
        QCOMPARE(t.gSensorTrack.size(), 1u);
    }

    void retriesTransientResults()
    {
        FakeTelemetrySource source;
        source.addLine(kExample, 1);
        for (int i = 0; i < RecordingTelemetry::kMaxRetriesInARow - 1; ++i)
            source.addResult(1);
        source.addLine(kExample, 2);
        for (int i = 0; i < RecordingTelemetry::kMaxRetriesInARow - 1; ++i)
            source.addResult(-1);
        source.addLine(kExample, 3);
        RecordingTelemetry t;
        t.LoadTelemetry(&source, nullptr);
        QCOMPARE(t.gpsTimes, (std::vector<std::uint32_t>{1, 2, 3}));
    }

    void noTelemetryLeavesEverythingEmpty()
    {
        LinePlotModel plot;
        const PlotPoint old[] = {{0, 1}, {5, 2}};
        plot.AddSeries(old, 2, 0xFFFFFFFF, QStringLiteral("old"));
        RecordingTelemetry t;
        FakeTelemetrySource source;
        source.addLine(kExample, 1);
        source.addLine(accel(1, 2, 3), 2);
        t.LoadTelemetry(&source, &plot);

        FakeTelemetrySource empty;
        t.LoadTelemetry(&empty, &plot);
        QVERIFY(t.gpsTrack.empty());
        QVERIFY(t.gpsTimes.empty());
        QVERIFY(t.gSensorTrack.empty());
        QVERIFY(t.gpsSentences.empty());
        QCOMPARE(plot.SeriesCount(), 0);
        QCOMPARE(plot.xMaximum, 4.0f);

        // no source at all (the engine has none) is the same as no lines
        t.LoadTelemetry(&source, &plot);
        t.LoadTelemetry(nullptr, &plot);
        QVERIFY(t.gpsTrack.empty());
        QCOMPARE(plot.SeriesCount(), 0);
    }

    void secondLoadReplacesTheFirst()
    {
        RecordingTelemetry t;
        FakeTelemetrySource first;
        first.addLine(kExample, 1);
        first.addLine(kExample, 2);
        first.addLine(accel(1, 2, 3), 3);
        t.LoadTelemetry(&first, nullptr);
        FakeTelemetrySource second;
        second.addLine("G$GPRMC,000001,A,1,S,2,W,", 7);
        t.LoadTelemetry(&second, nullptr);
        QCOMPARE(t.gpsTrack.size(), 1u);
        QCOMPARE(t.gpsTimes, std::vector<std::uint32_t>{7});
        QCOMPARE(t.gpsTrack[0].northSouth, u'S');
        QVERIFY(t.gSensorTrack.empty());
    }

    void handsTheThreeSeriesToThePlot()
    {
        LinePlotModel plot;
        const PlotPoint wide[] = {{0, -500}, {90000, 900}};
        plot.LockRange(PlotAxis::Y, false);
        plot.AddSeries(wide, 2, 0xFFFFFFFF, QStringLiteral("old"));
        plot.LockRange(PlotAxis::X, true);
        QCOMPARE(plot.xMaximum, 90000.0f);

        FakeTelemetrySource source;
        source.addLine(accel('\x80', '\x40', '\xC0'), 100);
        source.addLine(accel('\x00', '\xFF', '\x01'), 2500);
        RecordingTelemetry t;
        t.LoadTelemetry(&source, &plot);

        QCOMPARE(plot.SeriesCount(), 3);
        QCOMPARE(plot.series[0].name, QStringLiteral("X"));
        QCOMPARE(plot.series[1].name, QStringLiteral("Y"));
        QCOMPARE(plot.series[2].name, QStringLiteral("Z"));
        QCOMPARE(plot.series[0].colour, qRgb(128, 255, 255));
        QCOMPARE(plot.series[1].colour, qRgb(0, 255, 0));
        QCOMPARE(plot.series[2].colour, qRgb(255, 0, 0));
        QCOMPARE(plot.series[1].count, 2u);
        QCOMPARE(plot.series[1].points[1].x, 2500.0f);
        QCOMPARE(plot.series[1].points[1].y, 255.0f);
        QCOMPARE(plot.series[2].points[0].y, 192.0f);
        // the old ranges are gone: x grows from 0..4 to the last stamp, y stays 0..255
        QCOMPARE(plot.xMinimum, 0.0f);
        QCOMPARE(plot.xMaximum, 2500.0f);
        QCOMPARE(plot.yMinimum, 0.0f);
        QCOMPARE(plot.yMaximum, 255.0f);
        QVERIFY(plot.xLocked);
        QVERIFY(plot.yLocked);
        QCOMPARE(plot.selectedSeries, 2);
    }
};

QTEST_GUILESS_MAIN(TelemetryTest)
#include "TelemetryTest.moc"
