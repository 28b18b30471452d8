#pragma once
// What the 350 ms tick shows for the GPS fix at the playback position: the fix
// search over the recording's fix times, NMEA ddmm.mmmm to signed decimal
// degrees, the camera's local time and the speed in the chosen unit.
#include <QDateTime>
#include <cstddef>
#include <cstdint>
#include <optional>

// The fields of one fix that the read-out needs (copied from the fix record,
// whose latitude/longitude stay in the NMEA form).
struct GpsFixFields {
    double latitude = 0;  // ddmm.mmmm
    double longitude = 0; // dddmm.mmmm
    char16_t northSouth = u'N';
    char16_t eastWest = u'E';
    float speedKmh = 0;
    float speedMph = 0;
    float speedKnots = 0;
    float course = 0;
    int year = 0; // two-digit year of the sentence, 0..99
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

struct GpsFixReadoutValues {
    double latitude = 0;  // signed decimal degrees
    double longitude = 0; // signed decimal degrees
    QDateTime localTime;  // invalid when the fix carries no valid date
    int speed = 0;        // in the unit of speedUnit, 0 for an unknown unit
    int course = 0;       // whole degrees
};

class GpsFixReadout {
public:
    // Index of the latest fix at or before positionMs: the scan stops at the
    // first time stamp greater than the position (equal is not greater); 0 when
    // the first one is already greater, the last when none is. The scan starts
    // at 0 on every call and relies on ascending time stamps.
    // nullopt when there are no fixes. Times: any container of unsigned 32-bit
    // values with size() and operator[] (std::vector, QList).
    template <typename Times>
    static std::optional<std::size_t> FindFixIndex(const Times& gpsTimes, std::uint32_t positionMs)
    {
        const std::size_t count = static_cast<std::size_t>(gpsTimes.size());
        if (count == 0)
            return std::nullopt;
        std::size_t i = 0;
        while (i < count && static_cast<std::uint32_t>(gpsTimes[i]) <= positionMs)
            ++i;
        return i == 0 ? 0 : i - 1;
    }

    // The fields of a fix record with the recording's field names
    // (latitude, longitude, northSouth, eastWest, speedKmh, speedMph,
    // speedKnots, course, fixTime.year/month/day/hour/minute/second).
    template <typename Trace>
    static GpsFixFields FieldsOf(const Trace& f)
    {
        GpsFixFields g;
        g.latitude = f.latitude;
        g.longitude = f.longitude;
        g.northSouth = static_cast<char16_t>(f.northSouth);
        g.eastWest = static_cast<char16_t>(f.eastWest);
        g.speedKmh = f.speedKmh;
        g.speedMph = f.speedMph;
        g.speedKnots = f.speedKnots;
        g.course = f.course;
        g.year = f.fixTime.year;
        g.month = f.fixTime.month;
        g.day = f.fixTime.day;
        g.hour = f.fixTime.hour;
        g.minute = f.fixTime.minute;
        g.second = f.fixTime.second;
        return g;
    }

    // ddmm.mmmm → degrees, negated unless the hemisphere letter is positiveLetter
    // ('N' for latitude, 'E' for longitude).
    static double NmeaToDegrees(double nmea, char16_t hemisphere, char16_t positiveLetter);

    // The fix's UTC date and time (year 2000 + two-digit year) moved by
    // timeZoneIndex − 12 hours, plus one with daylight saving, carried through
    // the date. The result carries that offset. An index outside 0..24 has no
    // time-zone row and counts as UTC.
    static QDateTime LocalFixTime(const GpsFixFields& fix, int timeZoneIndex, bool daylightSaving);

    // 1 km/h, 2 mph, 3 knots, truncated toward zero; 0 for any other unit and
    // for a speed that is not a finite number in int range.
    static int SpeedInUnit(const GpsFixFields& fix, int speedUnit);

    static GpsFixReadoutValues Compute(const GpsFixFields& fix, int timeZoneIndex, bool daylightSaving,
                                       int speedUnit);
};
