#pragma once
// Writes one recording: front and rear H.264, AAC or PCM sound and the
// telemetry track, muxed into one MP4 as the camera does.
#include "tools/recgen/DriveModel.h"

#include <cstdint>
#include <string>
#include <vector>

struct RecordingOptions {
    std::string path;
    int frontWidth = 1280, frontHeight = 720;
    int rearWidth = 640, rearHeight = 360;
    int fps = 30;
    int rearFps = 0;                  // 0: same as fps
    int frontKbps = 4000, rearKbps = 1500;
    double durationSec = 20.0;
    bool oneVideo = false;
    bool audio = true;
    bool audioFirst = false;
    bool pcm = false;
    bool telemetry = true;
    bool telemetryOnly = false;
    bool noisy = false;
    bool still = false;               // the picture does not move (only its caption changes)
    bool road = false;                // a drive down a road instead of the test picture
    std::int64_t truncateAt = -1;     // cut the file after this many bytes
    std::string preset = "ultrafast";
    DriveOptions drive;
    std::vector<TelemetrySample> extraLines;   // merged into the drive's lines by time
};

// Returns an empty string on success, else the reason.
std::string writeRecording(const RecordingOptions& options);
