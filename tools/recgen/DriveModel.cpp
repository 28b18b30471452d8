#include "tools/recgen/DriveModel.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>

namespace {
constexpr double kPi = 3.14159265358979323846;
constexpr double kMetresPerDegree = 111320.0;

std::uint8_t clampByte(double v, int lo = 1, int hi = 254)
{
    return static_cast<std::uint8_t>(std::clamp(static_cast<int>(std::lround(v)), lo, hi));
}

std::uint32_t nextNoise(std::uint32_t& state)
{
    state = state * 1664525u + 1013904223u;
    return state >> 16;
}

std::string nmeaCoordinate(double degrees, int degreeDigits)
{
    const double a = std::fabs(degrees);
    const int whole = static_cast<int>(a);
    const double minutes = (a - whole) * 60.0;
    char text[32];
    std::snprintf(text, sizeof text, "%0*d%07.4f", degreeDigits, whole, minutes);
    return text;
}
} // namespace

DriveModel::DriveModel(const DriveOptions& options) : m_options(options) {}

// City traffic: a 90 s cycle of pulling away, cruising with some variation,
// braking and waiting at a light.
double DriveModel::speedAt(double t)
{
    const double c = std::fmod(t, 90.0);
    double v;
    if (c < 15.0)
        v = 60.0 * (c / 15.0);
    else if (c < 65.0)
        v = 60.0 + 12.0 * std::sin((c - 15.0) / 8.0);
    else if (c < 80.0)
        v = (60.0 + 12.0 * std::sin(50.0 / 8.0)) * (80.0 - c) / 15.0;
    else
        v = 0.0;
    return std::max(0.0, v);
}

double DriveModel::distanceAt(double t)
{
    // Every 90 s cycle covers the same distance: integrate one cycle and the part of the last.
    static constexpr double kStep = 0.02;
    auto within = [](double until) {
        double metres = 0;
        for (double c = 0; c < until; c += kStep)
            metres += speedAt(std::min(c + kStep / 2, until)) / 3.6 * std::min(kStep, until - c);
        return metres;
    };
    static const double perCycle = within(90.0);
    const double cycles = std::floor(std::max(0.0, t) / 90.0);
    return cycles * perCycle + within(std::max(0.0, t) - cycles * 90.0);
}

double DriveModel::courseAt(double t)
{
    double h = 40.0 + 25.0 * std::sin(t / 60.0) + 90.0 * std::floor(t / 180.0);
    h = std::fmod(h, 360.0);
    return h < 0 ? h + 360.0 : h;
}

DriveModel::State DriveModel::stateAt(int driveSec) const
{
    State s;
    s.lat = m_options.south ? -33.8688 : 37.5665;
    s.lon = m_options.west ? -70.6483 : 126.9780;
    for (int t = 0; t < driveSec; ++t) {
        const double v = (speedAt(t) + speedAt(t + 1)) / 2.0 / 3.6; // m/s over this second
        const double h = courseAt(t + 0.5) * kPi / 180.0;
        s.lat += v * std::cos(h) / kMetresPerDegree;
        s.lon += v * std::sin(h) / (kMetresPerDegree * std::cos(s.lat * kPi / 180.0));
    }
    s.speedKmh = speedAt(driveSec);
    s.courseDeg = courseAt(driveSec);
    return s;
}

std::string DriveModel::rmcChecksum(const std::string& body)
{
    std::uint8_t sum = 0;
    for (char c : body)
        sum ^= static_cast<std::uint8_t>(c);
    char text[4];
    std::snprintf(text, sizeof text, "%02X", sum);
    return text;
}

std::string DriveModel::gpsLine(int second, const State& s) const
{
    const std::time_t when = static_cast<std::time_t>(m_options.startUtc + second);
    std::tm utc{};
    gmtime_r(&when, &utc);
    char body[160];
    std::snprintf(body, sizeof body, "GPRMC,%02d%02d%02d.000,A,%s,%c,%s,%c,%.1f,%.1f,%02d%02d%02d,,,A",
                  utc.tm_hour, utc.tm_min, utc.tm_sec, nmeaCoordinate(s.lat, 2).c_str(), s.lat < 0 ? 'S' : 'N',
                  nmeaCoordinate(s.lon, 3).c_str(), s.lon < 0 ? 'W' : 'E', s.speedKmh / 1.852, s.courseDeg,
                  utc.tm_mday, utc.tm_mon + 1, utc.tm_year % 100);
    return "G$" + std::string(body) + "*" + rmcChecksum(body);
}

std::string DriveModel::accelLine(std::int64_t ms, std::uint32_t& noise) const
{
    const double t = m_options.driveOffsetSec + ms / 1000.0;
    const double along = (speedAt(t + 0.05) - speedAt(t - 0.05)) / 3.6 / 0.1 / 9.81;      // g
    const double turn = (courseAt(t + 0.5) - courseAt(t - 0.5)) * kPi / 180.0;            // rad/s
    const double across = speedAt(t) / 3.6 * turn / 9.81;                                  // g
    auto jitter = [&] { return static_cast<double>(nextNoise(noise) % 5) - 2.0; };
    std::uint8_t x = clampByte(128.0 + along * 64.0 + jitter());
    std::uint8_t y = clampByte(128.0 + across * 64.0 + jitter());
    std::uint8_t z = clampByte(192.0 + jitter());
    if (m_options.impactAtSec >= 0) {
        const double since = ms / 1000.0 - m_options.impactAtSec;
        if (since >= 0 && since < 0.1) {
            // The hit saturates the sensor.
            x = 0xFF;
            y = 0x00;
            z = 0xFF;
        } else if (since >= 0.1 && since < 0.6) {
            const double decay = std::exp(-since * 6.0) * std::cos(since * 40.0);
            x = clampByte(x + 120.0 * decay, 0, 255);
            y = clampByte(y - 100.0 * decay, 0, 255);
            z = clampByte(z + 60.0 * decay, 0, 255);
        }
    }
    std::string line(7, '\0');
    line[0] = 'M';
    line[1] = static_cast<char>(x);
    line[2] = static_cast<char>(y);
    line[3] = static_cast<char>(z);
    line[4] = '\0';
    line[5] = static_cast<char>(0xFF);
    line[6] = static_cast<char>((ms / 100) & 0xFF);
    return line;
}

std::vector<TelemetrySample> DriveModel::samples(std::int64_t durationMs) const
{
    std::vector<TelemetrySample> out;
    std::uint32_t noise = 0x5eed1234u + static_cast<std::uint32_t>(m_options.driveOffsetSec);
    State s = stateAt(m_options.driveOffsetSec);
    int second = 0;
    for (std::int64_t ms = 0; ms < durationMs; ms += 50) {
        if (ms % 1000 == 0) {
            if (second > 0)
                s = stateAt(m_options.driveOffsetSec + second);
            out.push_back({ms, gpsLine(second, s)});
            ++second;
        } else if (ms % 100 == 50) {
            out.push_back({ms, accelLine(ms, noise)});
        }
    }
    return out;
}
