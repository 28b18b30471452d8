#pragma once
// What goes into an incident clip and from where, for the MP4 writer: the
// tracks of a recording cut at key pictures without decoding (lossless), or
// the encoder's pictures and sound as they came out (re-encoded); in both the
// camera's telemetry lines of the range, re-timed to the clip, and the same
// telemetry as a CAMM track for other tools.
#include "mp4/Mp4ClipWriter.h"
#include "telemetry/RecordingTelemetry.h"

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

class IncidentClipPlan {
public:
    std::vector<Mp4ClipWriter::Source> sources;
    std::vector<Mp4ClipWriter::Track> tracks;
    // The range of the recording the clip holds, in its milliseconds.
    std::uint32_t fromMs = 0;
    std::uint32_t toMs = 0;
    bool sound = false;
    int pictures = 0;            // video tracks

    // Every track of source, from the last key picture at or before fromMs
    // to the first at or after toMs (each picture track starts on a key
    // picture of its own; the earliest is the clip's start).
    static std::optional<IncidentClipPlan> Copy(const QString& source, std::uint32_t fromMs, std::uint32_t toMs,
                                                QString* error);
    // Every sample of the encoded clip, which shows [fromMs, toMs) of source,
    // and the telemetry lines of source in that range.
    static std::optional<IncidentClipPlan> Remux(const QString& encoded, const QString& source, std::uint32_t fromMs,
                                                 std::uint32_t toMs, QString* error);
    // The CAMM track of the telemetry in the clip's range.
    void AddCamm(const RecordingTelemetry& telemetry);
};
