#include "engine/PlaybackTables.h"

#include <algorithm>
#include <cmath>

float RateForSpeedSetting(int setting)
{
    if (setting < 1 || setting > static_cast<int>(RateTable.size()))
        return 1.0f;
    return RateTable[static_cast<std::size_t>(setting - 1)];
}

float ClampRate(float rate)
{
    if (rate == 1.0f)
        return 1.0f;
    // NaN is not a rate: treat it as normal speed.
    if (std::isnan(rate))
        return 1.0f;
    return std::clamp(rate, kMinRate, kMaxRate);
}

int VolumeLevelFromPercent(int percent)
{
    // Out-of-range percentages would take the logarithm of a negative number.
    percent = std::clamp(percent, 0, 100);
    const double x = 1e-10;
    const double q = static_cast<double>(static_cast<float>(percent / 100.0));
    return static_cast<int>(std::trunc(1000.0 * std::log10(x + q * (1.0 - x))));
}

double GainFromVolumeLevel(int level)
{
    if (level <= -10000)
        return 0.0;
    return std::pow(10.0, std::min(level, 0) / 2000.0);
}
