#pragma once
// Finding the moments of impact in a recording's acceleration samples: a hit
// shows as a sudden change of the acceleration vector between two samples,
// while braking, turning and the road's bumps change it slowly or slightly.
#include "telemetry/CVxGSensorInfo.h"

#include <cstdint>
#include <vector>

struct Impact {
    std::uint32_t timeMs = 0; // the first sample of the hit, from the start of the recording
    double peakG = 0;         // the largest change of the vector between two samples within it
};

class ImpactDetector {
public:
    static constexpr double kDefaultThresholdG = 1.5;
    // Hits closer than this to the previous one belong to the same impact
    // (a crash shakes the sensor for a while).
    static constexpr std::uint32_t kMergeGapMs = 2000;

    // Samples in ascending time; a sample whose vector differs from the one
    // before by more than thresholdG (Euclidean, 1/64 g a step) is a hit.
    // A threshold that is not a positive number finds nothing.
    static std::vector<Impact> Find(const std::vector<CVxGSensorInfo>& samples,
                                    double thresholdG = kDefaultThresholdG);

    // The impact after / before positionMs for stepping through them from the
    // playback position: "after" is the first whose jump target (leadMs before
    // it, not before 0) lies beyond positionMs, "before" the last whose target
    // lies before positionMs less a grace of leadMs / 2, so that pressing
    // "previous" right after a jump goes to the one before it. -1 when none.
    static int NextIndex(const std::vector<Impact>& impacts, std::uint32_t positionMs, std::uint32_t leadMs);
    static int PreviousIndex(const std::vector<Impact>& impacts, std::uint32_t positionMs, std::uint32_t leadMs);
    static std::uint32_t JumpTarget(const Impact& impact, std::uint32_t leadMs)
    {
        return impact.timeMs > leadMs ? impact.timeMs - leadMs : 0;
    }
};
