#include "fakes/FakeTelemetrySource.h"
#include "telemetry/TelemetryExport.h"

#include <QTest>
#include <QXmlStreamReader>

namespace {
RecordingTelemetry sample()
{
    FakeTelemetrySource source;
    source.addLine("G$GPRMC,123519,A,3715.5,S,14458.2,W,022.4,084.4,311214,,", 0);
    source.addLine(QByteArray("M\x80\x40\xC0\0\0\0", 7), 0);
    source.addLine(QByteArray("M\x00\xFF\x81\0\0\0", 7), 500);
    source.addLine("G$GPRMC,123520,A,4807.038,N,01131.000,E,,,230394,003.1,W*6A\r\n", 1000);
    // a fix without a date still gives a position; one with a garbled position is no GPX point
    source.addLine("G$GPRMC,,A,4807.038,N,01131.000,E,", 2000);
    source.addLine("G$GPRMC,123522,A,999999,N,0,E,0,0,230394,", 3000);
    RecordingTelemetry t;
    t.LoadTelemetry(&source, nullptr);
    return t;
}

// Every element, attribute and text of a GPX document as "path attr=value" lines.
QStringList gpxOutline(const QByteArray& document)
{
    QXmlStreamReader xml(document);
    QStringList outline, path;
    QString text;
    while (!xml.atEnd()) {
        xml.readNext();
        if ((xml.isStartElement() || xml.isEndElement()) && !text.trimmed().isEmpty())
            outline << path.join(u'/') + u' ' + text;
        if (xml.isStartElement() || xml.isEndElement())
            text.clear();
        if (xml.isStartElement()) {
            path << xml.name().toString();
            QString line = path.join(u'/');
            for (const auto& a : xml.attributes())
                line += u' ' + a.name().toString() + u'=' + a.value().toString();
            outline << line;
        } else if (xml.isEndElement()) {
            path.removeLast();
        } else if (xml.isCharacters()) {
            text += xml.text();
        }
    }
    if (xml.hasError())
        outline << QStringLiteral("ERROR ") + xml.errorString();
    return outline;
}
} // namespace

class TelemetryExportTest : public QObject {
    Q_OBJECT
private slots:
    void convertsLikeThePlaybackTick()
    {
        const RecordingTelemetry t = sample();
        QCOMPARE(QString::number(DecimalLatitude(t.gpsTrack[0]), 'f', 6), QStringLiteral("-37.258333"));
        QCOMPARE(QString::number(DecimalLongitude(t.gpsTrack[0]), 'f', 6), QStringLiteral("-144.970000"));
        QCOMPARE(FixDateTimeUtc(t.gpsTrack[0]), QDateTime(QDate(2014, 12, 31), QTime(12, 35, 19), Qt::UTC));
        QVERIFY(!FixDateTimeUtc(t.gpsTrack[2]).isValid());
        QCOMPARE(GSensorG(128), 0.0);
        QCOMPARE(GSensorG(0), -2.0);
        QCOMPARE(GSensorG(64), -1.0);
    }

    void writesOneCsvRowPerFixAndSampleInTimeOrder()
    {
        const QList<QByteArray> rows = TelemetryToCsv(sample()).split('\n');
        QCOMPARE(rows.mid(0, 7),
                 (QList<QByteArray>{
                     "timestamp_ms,type,utc,latitude,longitude,speed_kmh,course,x_g,y_g,z_g",
                     "0,gps,2014-12-31T12:35:19Z,-37.258333,-144.970000,41.48,84.4,,,",
                     "0,accel,,,,,,0.0,-1.0,1.0",
                     "500,accel,,,,,,-2.0,2.0,0.0",
                     "1000,gps,2094-03-23T12:35:20Z,48.117300,11.516667,0.00,0.0,,,",
                     "2000,gps,,48.117300,11.516667,0.00,0.0,,,",
                     "3000,gps,2094-03-23T12:35:22Z,10000.650000,0.000000,0.00,0.0,,,",
                 }));
        QCOMPARE(rows.size(), 8); // ends with a newline
    }

    void writesAGpxTrack()
    {
        const QStringList outline = gpxOutline(TelemetryToGpx(sample(), QStringLiteral("FILE & <name>")));
        QCOMPARE(outline, (QStringList{
                              "gpx version=1.1 creator=Halcyon Deck",
                              "gpx/trk",
                              "gpx/trk/name",
                              "gpx/trk/name FILE & <name>",
                              "gpx/trk/trkseg",
                              "gpx/trk/trkseg/trkpt lat=-37.258333 lon=-144.970000",
                              "gpx/trk/trkseg/trkpt/time",
                              "gpx/trk/trkseg/trkpt/time 2014-12-31T12:35:19Z",
                              "gpx/trk/trkseg/trkpt lat=48.117300 lon=11.516667",
                              "gpx/trk/trkseg/trkpt/time",
                              "gpx/trk/trkseg/trkpt/time 2094-03-23T12:35:20Z",
                              "gpx/trk/trkseg/trkpt lat=48.117300 lon=11.516667",
                          }));
        QVERIFY(TelemetryToGpx(sample()).contains("xmlns=\"http://www.topografix.com/GPX/1/1\""));
    }

    void writesTheSentencesAsStored()
    {
        QCOMPARE(TelemetryToNmea(sample()),
                 QByteArray("$GPRMC,123519,A,3715.5,S,14458.2,W,022.4,084.4,311214,,\r\n"
                            "$GPRMC,123520,A,4807.038,N,01131.000,E,,,230394,003.1,W*6A\r\n"
                            "$GPRMC,,A,4807.038,N,01131.000,E,\r\n"
                            "$GPRMC,123522,A,999999,N,0,E,0,0,230394,\r\n"));
    }

    void withoutTelemetryEveryDocumentIsEmptyButValid()
    {
        RecordingTelemetry none;
        QCOMPARE(TelemetryToCsv(none), QByteArray("timestamp_ms,type,utc,latitude,longitude,speed_kmh,course,x_g,y_g,z_g\n"));
        QCOMPARE(gpxOutline(TelemetryToGpx(none)), QStringList{"gpx version=1.1 creator=Halcyon Deck"});
        QCOMPARE(TelemetryToNmea(none), QByteArray());
    }
};

QTEST_GUILESS_MAIN(TelemetryExportTest)
#include "TelemetryExportTest.moc"
