#include "telemetry/ImpactDetector.h"

#include <cmath>

std::vector<Impact> ImpactDetector::Find(const std::vector<CVxGSensorInfo>& samples, double thresholdG)
{
    std::vector<Impact> impacts;
    if (!(thresholdG > 0) || samples.size() < 2)
        return impacts;
    // Compared in squared sensor steps: no square root for the quiet samples.
    const double limit = thresholdG * 64.0;
    const double limitSquared = limit * limit;
    std::uint32_t lastHit = 0;
    for (std::size_t i = 1; i < samples.size(); ++i) {
        const CVxGSensorInfo& a = samples[i - 1];
        const CVxGSensorInfo& b = samples[i];
        const int dx = int(b.x) - int(a.x);
        const int dy = int(b.y) - int(a.y);
        const int dz = int(b.z) - int(a.z);
        const double squared = double(dx * dx + dy * dy + dz * dz);
        if (squared <= limitSquared)
            continue;
        const double g = std::sqrt(squared) / 64.0;
        if (!impacts.empty() && b.timeStamp >= lastHit && b.timeStamp - lastHit < kMergeGapMs) {
            if (g > impacts.back().peakG)
                impacts.back().peakG = g;
        } else {
            impacts.push_back({b.timeStamp, g});
        }
        lastHit = b.timeStamp;
    }
    return impacts;
}

int ImpactDetector::NextIndex(const std::vector<Impact>& impacts, std::uint32_t positionMs, std::uint32_t leadMs)
{
    for (std::size_t i = 0; i < impacts.size(); ++i) {
        if (JumpTarget(impacts[i], leadMs) > positionMs)
            return int(i);
    }
    return -1;
}

int ImpactDetector::PreviousIndex(const std::vector<Impact>& impacts, std::uint32_t positionMs,
                                  std::uint32_t leadMs)
{
    const std::uint64_t grace = leadMs / 2;
    for (std::size_t i = impacts.size(); i-- > 0;) {
        if (std::uint64_t(JumpTarget(impacts[i], leadMs)) + grace < positionMs)
            return int(i);
    }
    return -1;
}
