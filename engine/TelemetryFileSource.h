#pragma once
// The recording's telemetry track read with libavformat: binary-safe, one
// sample per line, without touching the audio or video data.
#include "engine/ITelemetrySource.h"
#include "engine/MediaHandles.h"

#include <QString>
#include <memory>

class TelemetryFileSource : public ITelemetrySource {
public:
    // nullptr (and a reason in *error) when the file cannot be opened as MP4.
    // A recording without a telemetry track opens and yields no lines.
    static std::unique_ptr<TelemetryFileSource> Open(const QString& path, QString* error = nullptr);
    ~TelemetryFileSource() override;

    int TelemetryReadLine(std::uint8_t* buffer, std::uint32_t* length, std::int32_t* timestampMs) override;
    void TelemetrySetSpan(std::int32_t start, std::int32_t end) override;

    bool HasTrack() const { return m_stream >= 0; }
    // Reads the track again from its first line.
    bool Rewind();

private:
    TelemetryFileSource() = default;

    AVFormatContextPtr m_format;
    AVPacketPtr m_packet;
    int m_stream = -1;
    bool m_finished = false;
    std::int32_t m_spanStart = 0;
    std::int32_t m_spanEnd = -1;
};
