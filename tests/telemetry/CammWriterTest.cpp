// CAMM packets as other tools read them: little-endian fields at the places
// the format gives them, the range's packets re-timed and in time order.
#include "fakes/FakeTelemetrySource.h"
#include "telemetry/CammWriter.h"

#include <QTest>
#include <QtEndian>

namespace {
template <typename T>
T field(const QByteArray& packet, int at)
{
    return qFromLittleEndian<T>(packet.constData() + at);
}
} // namespace

class CammWriterTest : public QObject {
    Q_OBJECT
private slots:
    void packetsCarryTheFixesAndAccelerationOfTheRange()
    {
        FakeTelemetrySource source;
        source.addLine("G$GPRMC,233014,A,3715.6,S,14458.3,W,045.0,090.0,311214,,", 1000);
        source.addLine(QByteArray("M\x80\x40\xC0\0\0\0", 7), 1000);
        source.addLine("G$GPRMC,233015,A,3715.7,S,14458.4,W,050.0,090.0,311214,,", 2000);
        source.addLine(QByteArray("M\x80\x80\x80\0\0\0", 7), 2500);
        RecordingTelemetry t;
        t.LoadTelemetry(&source, nullptr);

        const auto packets = CammWriter::Packets(t, 1000, 2500);
        QCOMPARE(packets.size(), std::size_t(3)); // the sample at 2500 is past the range
        QCOMPARE(packets[0].ms, 0u);
        QCOMPARE(field<std::uint16_t>(packets[0].bytes, 2), CammWriter::kGps);
        QCOMPARE(field<std::uint16_t>(packets[1].bytes, 2), CammWriter::kAcceleration);
        QCOMPARE(packets[2].ms, 1000u);

        const QByteArray& gps = packets[0].bytes;
        QCOMPARE(gps.size(), 60);
        // 2014-12-31 23:30:14 UTC in seconds since the GPS epoch (1980-01-06), GPS ahead by 18 leap seconds
        QCOMPARE(field<double>(gps, 4), 1104103814.0 + 18);
        QCOMPARE(field<std::int32_t>(gps, 12), 2);
        QVERIFY(qAbs(field<double>(gps, 16) - -37.26) < 1e-9);
        QVERIFY(qAbs(field<double>(gps, 24) - -144.971666667) < 1e-8);
        // 45 knots due east: 23.15 m/s east, none north
        QVERIFY(qAbs(field<float>(gps, 44) - 23.15f) < 0.01f);
        QVERIFY(qAbs(field<float>(gps, 48)) < 0.01f);

        const QByteArray& g = packets[1].bytes;
        QCOMPARE(g.size(), 16);
        QCOMPARE(field<float>(g, 4), 0.0f);
        QCOMPARE(field<float>(g, 8), float(-1.0 * 9.80665));
        QCOMPARE(field<float>(g, 12), float(1.0 * 9.80665));
    }
};

QTEST_GUILESS_MAIN(CammWriterTest)
#include "CammWriterTest.moc"
