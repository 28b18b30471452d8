#pragma once
// The GStreamer encoder of incident clips: demuxes the recording once, decodes
// the range of both pictures and the sound, lays the pictures out with the
// compositor, burns the captions in with a text overlay and writes H.264 + AAC
// into an MP4 whose index comes first (phones and browsers start playing
// before the whole file is read).
#include "engine/IClipEncoder.h"

#include <QStringList>
#include <atomic>

class ClipExporter : public IClipEncoder {
public:
    // One exporter serves one export: a Cancel holds for the rest of its life,
    // so a cancel that comes before the export starts is not lost.
    ClipExportResult Export(const ClipExportRequest& request, const Progress& progress) override;
    void Cancel() override { m_cancel = true; }

    // Factory names of the elements an export needs that this machine lacks.
    static QStringList MissingElements();

private:
    std::atomic<bool> m_cancel{false};
};
