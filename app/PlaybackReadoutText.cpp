#include "app/PlaybackReadoutText.h"

#include <cstdio>

QString PlaybackReadoutText::TimeText(bool runningOrPaused, std::uint64_t units100ns)
{
    if (!runningOrPaused)
        return QStringLiteral("00:00");
    const auto ms = static_cast<std::uint32_t>(units100ns / 10000u);
    return QString::asprintf("%02d:%02d", static_cast<int>((ms / 60000u) % 60u),
                             static_cast<int>((ms / 1000u) % 60u));
}

double PlaybackReadoutText::GValue(std::uint8_t axisByte)
{
    return (axisByte * 40.0 / 256.0 - 20.0) / 10.0;
}

QString PlaybackReadoutText::GValueText(std::uint8_t axisByte)
{
    // The C library's rounding, as the camera's own read-outs show it.
    char text[32];
    std::snprintf(text, sizeof text, "%0.1fG", GValue(axisByte));
    return QString::fromLatin1(text);
}
