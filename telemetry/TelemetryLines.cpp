#include "telemetry/TelemetryLines.h"

#include "base/Trace.h"

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <string>
#include <string_view>

namespace {

// Numbers in a sentence always use '.', whatever locale the application set.
locale_t cLocale()
{
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}

// atof: leading white space skipped, the longest valid prefix, 0 when none.
double readDouble(const std::string& field) { return strtod_l(field.c_str(), nullptr, cLocale()); }

// atoi of the two characters at offset (fewer when the field is shorter).
std::uint16_t readPair(const std::string& field, std::size_t offset)
{
    if (offset >= field.size())
        return 0;
    const std::string pair = field.substr(offset, 2);
    return static_cast<std::uint16_t>(std::strtol(pair.c_str(), nullptr, 10));
}

char16_t firstChar(const std::string& field)
{
    return field.empty() ? char16_t(0) : char16_t(static_cast<unsigned char>(field[0]));
}

// The camera software multiplies by the single-precision factors in double precision.
constexpr double kKnotsToKmh = double(1.852f);
constexpr double kKnotsToMph = double(1.15f);

void takeField(CVxGPSTrace& fix, int number, const std::string& field)
{
    switch (number) {
    case 1:
        fix.fixTime.hour = readPair(field, 0);
        fix.fixTime.minute = readPair(field, 2);
        fix.fixTime.second = readPair(field, 4);
        break;
    case 3:
        fix.latitude = readDouble(field);
        break;
    case 4:
        fix.northSouth = firstChar(field);
        break;
    case 5:
        fix.longitude = readDouble(field);
        break;
    case 6:
        fix.eastWest = firstChar(field);
        break;
    case 7: {
        const float knots = static_cast<float>(readDouble(field));
        fix.speedKnots = knots;
        fix.speedKmh = static_cast<float>(double(knots) * kKnotsToKmh);
        fix.speedMph = static_cast<float>(double(knots) * kKnotsToMph);
        break;
    }
    case 8:
        fix.course = static_cast<float>(readDouble(field));
        break;
    case 9:
        fix.fixTime.day = readPair(field, 0);
        fix.fixTime.month = readPair(field, 2);
        fix.fixTime.year = readPair(field, 4);
        break;
    default: // 0 is the sentence name, 2 the status; 10 on are not used
        break;
    }
}

} // namespace

CVxGPSTrace ParseRmcLine(const std::uint8_t* line, std::size_t size, std::uint32_t timeStamp)
{
    CVxGPSTrace fix;
    fix.timeStamp = timeStamp;
    if (!line)
        return fix;
    const void* zero = std::memchr(line, 0, size);
    const std::size_t length = zero ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(zero) - line) : size;
    const std::string_view text(reinterpret_cast<const char*>(line), length);

    int number = 0;
    std::size_t start = 0;
    for (std::size_t comma = text.find(','); comma != std::string_view::npos; comma = text.find(',', start)) {
        if (number >= 1 && number <= 9)
            takeField(fix, number, std::string(text.substr(start, comma - start)));
        ++number;
        start = comma + 1;
        if (number > 9)
            break;
    }
    return fix;
}

CVxGSensorInfo ParseGSensorLine(const std::uint8_t* line, std::size_t size, std::uint32_t timeStamp)
{
    auto byteAt = [&](std::size_t i) -> std::uint8_t { return line && i < size ? line[i] : 0; };
    CVxGSensorInfo sample;
    sample.timeStamp = timeStamp;
    sample.x = byteAt(1);
    sample.y = byteAt(2);
    sample.z = byteAt(3);
    sample.extra = {byteAt(4), byteAt(5), byteAt(6)};
    TraceLine("GSensor cts=%d, x=0x%x,y=0x%x,z=0x%x \r\n", static_cast<std::int32_t>(timeStamp), unsigned(sample.x),
              unsigned(sample.y), unsigned(sample.z));
    return sample;
}
