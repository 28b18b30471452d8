#pragma once
// One GPS fix of a recording, as the camera's RMC sentence gives it.
#include <cstdint>

// Date and time of a fix in the layout the camera software keeps: the year is
// the sentence's two-digit value; dayOfWeek and milliseconds are never filled.
struct VxFixTime {
    std::uint16_t year = 0;
    std::uint16_t month = 0;
    std::uint16_t dayOfWeek = 0;
    std::uint16_t day = 0;
    std::uint16_t hour = 0;
    std::uint16_t minute = 0;
    std::uint16_t second = 0;
    std::uint16_t milliseconds = 0;
};

struct CVxGPSTrace {
    // Where a sentence is cut short the camera software showed this spot; these
    // are the single-precision values of 35.261238 and 128.617096 held as doubles.
    static constexpr double kInitialLatitude = 35.26123809814453;
    static constexpr double kInitialLongitude = 128.61709594726562;

    std::uint32_t timeStamp = 0;
    VxFixTime fixTime;
    // NMEA form: degrees * 100 + minutes (ddmm.mmmm / dddmm.mmmm).
    double latitude = kInitialLatitude;
    double longitude = kInitialLongitude;
    float speedKmh = 0;
    float speedKnots = 0;
    float speedMph = 0;
    float course = 0;
    char16_t northSouth = u'N';
    char16_t eastWest = u'E';
};
