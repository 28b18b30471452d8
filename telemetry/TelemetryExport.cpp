#include "telemetry/TelemetryExport.h"

#include "telemetry/GpsFixReadout.h"
#include "display/PlaybackReadoutText.h"

#include <QXmlStreamWriter>
#include <cmath>

namespace {

QByteArray number(double v, int decimals)
{
    if (!std::isfinite(v))
        return {};
    return QByteArray::number(v, 'f', decimals);
}

QByteArray gpsRow(const CVxGPSTrace& fix)
{
    const QDateTime utc = FixDateTimeUtc(fix);
    QByteArray row = QByteArray::number(fix.timeStamp) + ",gps,";
    if (utc.isValid())
        row += utc.toString(Qt::ISODate).toLatin1();
    row += ',' + number(DecimalLatitude(fix), 6) + ',' + number(DecimalLongitude(fix), 6) + ','
        + number(fix.speedKmh, 2) + ',' + number(fix.course, 1) + ",,,\n";
    return row;
}

// The instrument panel's text without its "G".
QByteArray gText(std::uint8_t axis) { return PlaybackReadoutText::GValueText(axis).chopped(1).toLatin1(); }

QByteArray accelRow(const CVxGSensorInfo& sample)
{
    return QByteArray::number(sample.timeStamp) + ",accel,,,,,," + gText(sample.x) + ',' + gText(sample.y) + ','
        + gText(sample.z) + '\n';
}

} // namespace

double DecimalLatitude(const CVxGPSTrace& fix) { return GpsFixReadout::NmeaToDegrees(fix.latitude, fix.northSouth, u'N'); }

double DecimalLongitude(const CVxGPSTrace& fix) { return GpsFixReadout::NmeaToDegrees(fix.longitude, fix.eastWest, u'E'); }

QDateTime FixDateTimeUtc(const CVxGPSTrace& fix)
{
    const QDate date(2000 + fix.fixTime.year, fix.fixTime.month, fix.fixTime.day);
    const QTime time(fix.fixTime.hour, fix.fixTime.minute, fix.fixTime.second);
    if (fix.fixTime.year > 99 || !date.isValid() || !time.isValid())
        return {};
    return QDateTime(date, time, Qt::UTC);
}

double GSensorG(std::uint8_t axis) { return PlaybackReadoutText::GValue(axis); }

QByteArray TelemetryToCsv(const RecordingTelemetry& telemetry)
{
    QByteArray out("timestamp_ms,type,utc,latitude,longitude,speed_kmh,course,x_g,y_g,z_g\n");
    const auto& fixes = telemetry.gpsTrack;
    const auto& samples = telemetry.gSensorTrack;
    out.reserve(out.size() + qsizetype(fixes.size()) * 80 + qsizetype(samples.size()) * 32);
    std::size_t g = 0, a = 0;
    while (g < fixes.size() || a < samples.size()) {
        if (a == samples.size() || (g < fixes.size() && fixes[g].timeStamp <= samples[a].timeStamp))
            out += gpsRow(fixes[g++]);
        else
            out += accelRow(samples[a++]);
    }
    return out;
}

QByteArray TelemetryToGpx(const RecordingTelemetry& telemetry, const QString& trackName)
{
    QByteArray out;
    QXmlStreamWriter xml(&out);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("gpx"));
    xml.writeDefaultNamespace(QStringLiteral("http://www.topografix.com/GPX/1/1"));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("1.1"));
    xml.writeAttribute(QStringLiteral("creator"), QStringLiteral("Halcyon Deck"));
    if (!telemetry.gpsTrack.empty()) {
        xml.writeStartElement(QStringLiteral("trk"));
        if (!trackName.isEmpty())
            xml.writeTextElement(QStringLiteral("name"), trackName);
        xml.writeStartElement(QStringLiteral("trkseg"));
        for (const CVxGPSTrace& fix : telemetry.gpsTrack) {
            const double lat = DecimalLatitude(fix);
            const double lon = DecimalLongitude(fix);
            // GPX allows only real coordinates; a garbled sentence is left out.
            if (!(lat >= -90.0 && lat <= 90.0 && lon >= -180.0 && lon < 180.0))
                continue;
            xml.writeStartElement(QStringLiteral("trkpt"));
            xml.writeAttribute(QStringLiteral("lat"), QString::number(lat, 'f', 6));
            xml.writeAttribute(QStringLiteral("lon"), QString::number(lon, 'f', 6));
            const QDateTime utc = FixDateTimeUtc(fix);
            if (utc.isValid())
                xml.writeTextElement(QStringLiteral("time"), utc.toString(Qt::ISODate));
            xml.writeEndElement();
        }
        xml.writeEndElement();
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    return out;
}

QByteArray TelemetryToNmea(const RecordingTelemetry& telemetry)
{
    QByteArray out;
    for (const std::string& sentence : telemetry.gpsSentences) {
        QByteArray line(sentence.data(), qsizetype(sentence.size()));
        while (line.endsWith('\n') || line.endsWith('\r'))
            line.chop(1);
        out += line + "\r\n";
    }
    return out;
}
