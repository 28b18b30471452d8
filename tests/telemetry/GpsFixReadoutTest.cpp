#include "telemetry/GpsFixReadout.h"

#include <QList>
#include <QTest>
#include <limits>
#include <vector>

using Times = std::vector<std::uint32_t>;
Q_DECLARE_METATYPE(Times)

class GpsFixReadoutTest : public QObject {
    Q_OBJECT
private slots:
    void findsLatestFixAtOrBeforePosition_data()
    {
        QTest::addColumn<Times>("times");
        QTest::addColumn<quint32>("position");
        QTest::addColumn<int>("index"); // -1: no fix
        const Times three{0, 1000, 2000};
        QTest::newRow("just before a fix") << three << 999u << 0;
        QTest::newRow("equal is not greater") << three << 1000u << 1;
        QTest::newRow("past the last") << three << 5000u << 2;
        QTest::newRow("before the first") << Times{500, 1000} << 100u << 0;
        QTest::newRow("equal stamps: the last of them") << Times{0, 1000, 1000, 3000} << 1000u << 2;
        QTest::newRow("unsigned: top of the range") << Times{0, 0x80000000u} << 0xFFFFFFFFu << 1;
        QTest::newRow("out of order: stops at first greater") << Times{0, 3000, 1000} << 2000u << 0;
        QTest::newRow("no fixes") << Times{} << 1000u << -1;
    }
    void findsLatestFixAtOrBeforePosition()
    {
        QFETCH(Times, times);
        QFETCH(quint32, position);
        QFETCH(int, index);
        const auto found = GpsFixReadout::FindFixIndex(times, position);
        QCOMPARE(found ? int(*found) : -1, index);
        // The recording's fix times may be held in a QList as well.
        const QList<quint32> asList(times.begin(), times.end());
        const auto fromList = GpsFixReadout::FindFixIndex(asList, position);
        QCOMPARE(fromList ? int(*fromList) : -1, index);
    }

    void convertsNmeaToSignedDegrees_data()
    {
        QTest::addColumn<double>("nmea");
        QTest::addColumn<QChar>("letter");
        QTest::addColumn<QChar>("positive");
        QTest::addColumn<double>("degrees");
        QTest::newRow("south") << 3715.5 << QChar('S') << QChar('N') << -37.258333;
        QTest::newRow("north") << 3715.5 << QChar('N') << QChar('N') << 37.258333;
        QTest::newRow("east, three-digit degrees") << 12837.0 << QChar('E') << QChar('E') << 128.616667;
        QTest::newRow("west") << 12837.0 << QChar('W') << QChar('E') << -128.616667;
        QTest::newRow("empty letter counts as not positive") << 3715.5 << QChar(0) << QChar('N') << -37.258333;
    }
    void convertsNmeaToSignedDegrees()
    {
        QFETCH(double, nmea);
        QFETCH(QChar, letter);
        QFETCH(QChar, positive);
        QFETCH(double, degrees);
        const double got = GpsFixReadout::NmeaToDegrees(nmea, letter.unicode(), positive.unicode());
        QVERIFY2(qAbs(got - degrees) < 1e-6, qPrintable(QString::number(got, 'f', 8)));
    }

    void localTimeCarriesThroughTheDate_data()
    {
        QTest::addColumn<int>("zone");
        QTest::addColumn<bool>("dst");
        QTest::addColumn<QDateTime>("utc");
        QTest::addColumn<QString>("local");
        const QDateTime newYearsEve(QDate(2014, 12, 31), QTime(23, 30), Qt::UTC);
        QTest::newRow("+9 into the next year") << 21 << false << newYearsEve << "2015-01-01 08:30:15";
        QTest::newRow("+9 and daylight saving") << 21 << true << newYearsEve << "2015-01-01 09:30:15";
        QTest::newRow("-12 back a day") << 0 << false << QDateTime(QDate(2016, 3, 1), QTime(5, 0), Qt::UTC)
                                        << "2016-02-29 17:00:15";
        QTest::newRow("UTC") << 12 << false << newYearsEve << "2014-12-31 23:30:15";
        QTest::newRow("index without a zone row counts as UTC")
            << 200 << false << newYearsEve << "2014-12-31 23:30:15";
    }
    void localTimeCarriesThroughTheDate()
    {
        QFETCH(int, zone);
        QFETCH(bool, dst);
        QFETCH(QDateTime, utc);
        QFETCH(QString, local);
        GpsFixFields fix;
        fix.year = utc.date().year() - 2000;
        fix.month = utc.date().month();
        fix.day = utc.date().day();
        fix.hour = utc.time().hour();
        fix.minute = utc.time().minute();
        fix.second = 15;
        const QDateTime t = GpsFixReadout::LocalFixTime(fix, zone, dst);
        QCOMPARE(t.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), local);
        // The same instant, only shown in the camera's zone.
        QCOMPARE(t.toUTC(), utc.addSecs(15));
    }

    void fixWithoutDateHasNoLocalTime()
    {
        GpsFixFields fix; // a sentence without date fields leaves them 0
        QVERIFY(!GpsFixReadout::LocalFixTime(fix, 21, false).isValid());
    }

    void speedFollowsUnitTruncated_data()
    {
        QTest::addColumn<int>("unit");
        QTest::addColumn<float>("kmh");
        QTest::addColumn<float>("mph");
        QTest::addColumn<float>("knots");
        QTest::addColumn<int>("speed");
        QTest::newRow("km/h") << 1 << 92.6f << 57.5f << 50.0f << 92;
        QTest::newRow("mph truncated") << 2 << 80.3f << 49.9f << 43.4f << 49;
        QTest::newRow("knots") << 3 << 92.6f << 57.5f << 50.9f << 50;
        QTest::newRow("unknown unit") << 0 << 92.6f << 57.5f << 50.0f << 0;
        QTest::newRow("unit 4") << 4 << 92.6f << 57.5f << 50.0f << 0;
        QTest::newRow("toward zero") << 1 << -3.7f << 0.0f << 0.0f << -3;
        QTest::newRow("not a number") << 1 << std::numeric_limits<float>::quiet_NaN() << 0.0f << 0.0f << 0;
        QTest::newRow("beyond int range") << 1 << 1e20f << 0.0f << 0.0f << 0;
    }
    void speedFollowsUnitTruncated()
    {
        QFETCH(int, unit);
        GpsFixFields fix;
        QFETCH(float, kmh);
        QFETCH(float, mph);
        QFETCH(float, knots);
        QFETCH(int, speed);
        fix.speedKmh = kmh;
        fix.speedMph = mph;
        fix.speedKnots = knots;
        QCOMPARE(GpsFixReadout::SpeedInUnit(fix, unit), speed);
    }

    void computesTheWholeReadoutFromAFixRecord()
    {
        // Laid out as the recording's fix records are.
        struct {
            std::uint32_t timeStamp = 0;
            struct {
                std::uint16_t year = 14, month = 12, dayOfWeek = 0, day = 31, hour = 23, minute = 30, second = 0,
                              milliseconds = 0;
            } fixTime;
            double latitude = 3715.5;
            double longitude = 14457.0;
            float speedKmh = 80.3f, speedKnots = 43.4f, speedMph = 49.9f, course = 359.9f;
            char16_t northSouth = u'S', eastWest = u'E';
        } trace;
        const GpsFixReadoutValues v = GpsFixReadout::Compute(GpsFixReadout::FieldsOf(trace), 21, false, 2);
        QVERIFY(qAbs(v.latitude + 37.258333) < 1e-6);
        QVERIFY(qAbs(v.longitude - 144.95) < 1e-9);
        QCOMPARE(v.speed, 49);
        QCOMPARE(v.course, 359);
        QCOMPARE(v.localTime.toString(QStringLiteral("yyyy-MM-dd HH:mm")), QStringLiteral("2015-01-01 08:30"));
    }
};

QTEST_GUILESS_MAIN(GpsFixReadoutTest)
#include "GpsFixReadoutTest.moc"
