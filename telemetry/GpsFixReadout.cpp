#include "telemetry/GpsFixReadout.h"

#include "config/TimeZoneTable.h"

#include <cmath>
#include <limits>

namespace {

int truncatedOrZero(float v)
{
    // A corrupt sentence can carry "nan" or a huge number; converting those to
    // int is undefined, so they read as 0.
    if (!std::isfinite(v) || v >= 2147483648.0f || v <= -2147483649.0f)
        return 0;
    return static_cast<int>(v);
}

} // namespace

double GpsFixReadout::NmeaToDegrees(double nmea, char16_t hemisphere, char16_t positiveLetter)
{
    const double d = std::trunc(nmea / 100.0);
    const double degrees = d + (nmea - 100.0 * d) / 60.0;
    return hemisphere == positiveLetter ? degrees : -degrees;
}

QDateTime GpsFixReadout::LocalFixTime(const GpsFixFields& fix, int timeZoneIndex, bool daylightSaving)
{
    const QDate date(2000 + fix.year, fix.month, fix.day);
    const QTime time(fix.hour, fix.minute, fix.second, 0);
    if (!date.isValid() || !time.isValid())
        return {};
    const int offsetHours = TimeZoneTable::LocalOffsetHours(timeZoneIndex, daylightSaving);
    return QDateTime(date, time, Qt::UTC).toOffsetFromUtc(offsetHours * 3600);
}

int GpsFixReadout::SpeedInUnit(const GpsFixFields& fix, int speedUnit)
{
    switch (speedUnit) {
    case 1: return truncatedOrZero(fix.speedKmh);
    case 2: return truncatedOrZero(fix.speedMph);
    case 3: return truncatedOrZero(fix.speedKnots);
    default: return 0;
    }
}

GpsFixReadoutValues GpsFixReadout::Compute(const GpsFixFields& fix, int timeZoneIndex, bool daylightSaving,
                                           int speedUnit)
{
    GpsFixReadoutValues v;
    v.latitude = NmeaToDegrees(fix.latitude, fix.northSouth, u'N');
    v.longitude = NmeaToDegrees(fix.longitude, fix.eastWest, u'E');
    v.localTime = LocalFixTime(fix, timeZoneIndex, daylightSaving);
    v.speed = SpeedInUnit(fix, speedUnit);
    v.course = truncatedOrZero(fix.course);
    return v;
}
