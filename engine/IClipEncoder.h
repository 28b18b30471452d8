#pragma once
// Writing a range of a recording as one ordinary video file (both cameras in
// one picture, the readings burned in), behind an interface so that the logic
// around it (captions, the GPX beside it, clean-up) is tested without media.
#include <QSize>
#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

enum class ClipLayout {
    SideBySide,       // front left, rear right, both scaled to the same height
    PictureInPicture, // rear in the top-right corner of the front
    FrontOnly,
};

// Text burned into the picture from positionMs (milliseconds from the start of
// the recording) until the next caption's position; lines separated by '\n'.
struct ClipCaption {
    std::uint32_t positionMs = 0;
    QString text;
};

struct ClipExportRequest {
    QString source;
    // The finished file; it appears only complete (written under a temporary
    // name in the same folder, then renamed).
    QString output;
    std::uint32_t fromMs = 0;
    std::uint32_t toMs = 0;
    ClipLayout layout = ClipLayout::SideBySide;
    // Every track copied as it is, cut at key pictures: no layout, no
    // captions, no encoder.
    bool copy = false;
    int height = 0; // picture height of the output; 0 keeps the front picture's height
    std::vector<ClipCaption> captions; // ascending positions
    // The fastest preset that keeps 1080p side by side at real time on a
    // two-core laptop (veryfast takes about 1.6 times as long).
    QString speedPreset = QStringLiteral("superfast");
};

struct ClipExportResult {
    enum class Status { Done, Cancelled, Failed };
    Status status = Status::Failed;
    QString message; // why it failed; empty when done
    QSize pictureSize;
    ClipLayout layout = ClipLayout::FrontOnly; // the one used (a recording without rear picture gives FrontOnly)
    std::uint32_t fromMs = 0;                  // the range written, clamped to the recording
    std::uint32_t toMs = 0;
    bool sound = false;
};

class IClipEncoder {
public:
    // fraction 0..1, called on the exporting thread.
    using Progress = std::function<void(double fraction)>;
    virtual ~IClipEncoder() = default;
    // Blocks until done; meant for a worker thread. Nothing is left at
    // request.output unless the result is Done.
    virtual ClipExportResult Export(const ClipExportRequest& request, const Progress& progress) = 0;
    // From any thread; a running Export returns Cancelled soon after.
    virtual void Cancel() = 0;
};
