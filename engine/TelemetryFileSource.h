#pragma once
// The recording's telemetry track read with libavformat: binary-safe, one
// sample per line, without touching the audio or video data.
#include "engine/ITelemetrySource.h"

#include <QString>
#include <memory>

class TelemetryFileSource : public ITelemetrySource {
public:
    // nullptr (and a reason in *error) when the file cannot be opened as MP4.
    // A recording without a telemetry track opens and yields no lines.
    static std::unique_ptr<TelemetryFileSource> Open(const QString& path, QString* error = nullptr);
    ~TelemetryFileSource() override = default;
};
