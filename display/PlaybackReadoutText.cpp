#include "display/PlaybackReadoutText.h"

#include <charconv>

QString PlaybackReadoutText::TimeText(bool runningOrPaused, std::chrono::milliseconds time)
{
    if (!runningOrPaused)
        return QStringLiteral("00:00");
    // Minutes wrap at the hour, as the read-out has always shown them.
    const auto ms = static_cast<std::uint32_t>(std::max<std::int64_t>(0, time.count()));
    return QString::asprintf("%02d:%02d", static_cast<int>((ms / 60000u) % 60u),
                             static_cast<int>((ms / 1000u) % 60u));
}

double PlaybackReadoutText::GValue(std::uint8_t axisByte)
{
    return (axisByte * 40.0 / 256.0 - 20.0) / 10.0;
}

QString PlaybackReadoutText::GValueText(std::uint8_t axisByte)
{
    // "%0.1f" with a point whatever the user's locale: printf would follow
    // LC_NUMERIC, which the application sets from the environment. Halfway
    // values (0.25, 0.75 …) round to even, as printf rounds them.
    char text[32];
    const auto [end, ec] = std::to_chars(text, text + sizeof text - 1, GValue(axisByte), std::chars_format::fixed, 1);
    if (ec != std::errc())
        return QStringLiteral("0.0G");
    *end = 'G';
    return QString::fromLatin1(text, end + 1 - text);
}
