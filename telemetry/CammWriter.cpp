#include "telemetry/CammWriter.h"

#include "mp4/Mp4Bytes.h"

#include "telemetry/TelemetryExport.h"

#include <QDateTime>
#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <cstring>

using Mp4Bytes::box;

namespace {

constexpr double kStandardGravity = 9.80665;
// GPS time runs ahead of UTC by the leap seconds since 1980 (18 since 2017).
constexpr qint64 kGpsLeapSeconds = 18;

template <typename T>
void le(QByteArray& out, T v)
{
    char bytes[sizeof(T)];
    qToLittleEndian(v, bytes);
    out.append(bytes, sizeof(T));
}

QByteArray header(std::uint16_t type)
{
    QByteArray out;
    le<std::uint16_t>(out, 0);
    le<std::uint16_t>(out, type);
    return out;
}

bool validPosition(double latitude, double longitude)
{
    return std::isfinite(latitude) && std::isfinite(longitude) && std::abs(latitude) <= 90.0
        && std::abs(longitude) <= 180.0;
}

} // namespace

QByteArray CammWriter::GpsPacket(const CVxGPSTrace& fix)
{
    QByteArray out = header(kGps);
    const QDateTime utc = FixDateTimeUtc(fix);
    static const QDateTime gpsEpoch(QDate(1980, 1, 6), QTime(0, 0), Qt::UTC);
    const double gpsSeconds = utc.isValid() ? double(gpsEpoch.msecsTo(utc)) / 1000.0 + kGpsLeapSeconds : 0.0;
    const double metresPerSecond = double(fix.speedKmh) / 3.6;
    const double course = double(fix.course) * M_PI / 180.0;
    le<double>(out, gpsSeconds);
    le<std::int32_t>(out, 2);                  // a 2-D fix: the sentence gives no altitude
    le<double>(out, DecimalLatitude(fix));
    le<double>(out, DecimalLongitude(fix));
    le<float>(out, 0.0f);                      // altitude
    le<float>(out, 0.0f);                      // horizontal accuracy: not given
    le<float>(out, 0.0f);                      // vertical accuracy
    le<float>(out, float(metresPerSecond * std::sin(course)));   // east
    le<float>(out, float(metresPerSecond * std::cos(course)));   // north
    le<float>(out, 0.0f);                      // up
    le<float>(out, 0.0f);                      // speed accuracy
    return out;
}

QByteArray CammWriter::AccelerationPacket(const CVxGSensorInfo& sample)
{
    QByteArray out = header(kAcceleration);
    for (std::uint8_t axis : {sample.x, sample.y, sample.z})
        le<float>(out, float(GSensorG(axis) * kStandardGravity));
    return out;
}

std::vector<CammWriter::Packet> CammWriter::Packets(const RecordingTelemetry& telemetry, std::uint32_t fromMs,
                                                    std::uint32_t toMs)
{
    std::vector<Packet> out;
    for (const CVxGPSTrace& fix : telemetry.gpsTrack) {
        if (fix.timeStamp >= fromMs && fix.timeStamp < toMs
            && validPosition(DecimalLatitude(fix), DecimalLongitude(fix)))
            out.push_back({fix.timeStamp - fromMs, GpsPacket(fix)});
    }
    const std::size_t fixes = out.size();
    for (const CVxGSensorInfo& g : telemetry.gSensorTrack) {
        if (g.timeStamp >= fromMs && g.timeStamp < toMs)
            out.push_back({g.timeStamp - fromMs, AccelerationPacket(g)});
    }
    // A fix before a sample of the same time, as the camera stores them.
    std::inplace_merge(out.begin(), out.begin() + std::ptrdiff_t(fixes), out.end(),
                       [](const Packet& a, const Packet& b) { return a.ms < b.ms; });
    return out;
}

QByteArray CammWriter::SampleDescription()
{
    QByteArray entry(6, '\0');                 // reserved
    entry.append('\0').append('\1');           // data reference 1
    QByteArray stsd(4, '\0');                  // version, flags
    stsd.append(QByteArray("\0\0\0\1", 4));    // one entry
    return box("stsd", stsd + box("camm", entry));
}

QByteArray CammWriter::Handler()
{
    QByteArray p(8, '\0');                     // version, flags, pre-defined
    p.append("meta", 4);
    p.append(QByteArray(12, '\0'));
    p.append("CameraMetadataMotionHandler");
    p.append('\0');
    return box("hdlr", p);
}
