#pragma once
// Rebuilds the index of a recording the camera could not finish (power cut in
// a crash): its sample data is read once, given to the tracks of a healthy
// recording of the same camera (the reference), and written with that
// recording's sample descriptions and new sample tables to a new file, index
// first. The cut file is only read.
#include "mp4/Mp4Index.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class RecordingRecovery {
public:
    // Decoding help from libavcodec, handed in by the caller (the engine
    // library has it; this one links no codec library).
    struct Codecs {
        // Lengths of the AAC frames at the start of data (see MdatWalker::AudioFrames).
        std::function<std::vector<std::uint32_t>(const QByteArray& config, const std::uint8_t* data,
                                                 std::size_t size, bool exact)>
            aacFrames;
        // Whether a key picture decodes with a track's avcC/hvcC payload.
        // Recover calls it on a thread of its own, while aacFrames runs on
        // the calling thread.
        std::function<bool(bool hevc, const QByteArray& config, const std::uint8_t* sample, std::size_t size,
                           QString* why)>
            decodesPicture;
    };
    struct TrackSummary {
        QString kind;           // "video", "audio", "telemetry"
        QString codec;
        std::uint64_t samples = 0;
        std::int64_t durationMs = 0;
    };
    struct Summary {
        QString reference;
        std::vector<TrackSummary> tracks;
        std::uint64_t bytesRecovered = 0;   // sample data written
        std::uint64_t bytesSkipped = 0;     // data of the cut file given to no track
    };
    // Reports done of total (bytes of work) now and then, on the calling
    // thread; returning false cancels. Everything here may run off the UI thread.
    using Progress = std::function<bool(std::uint64_t done, std::uint64_t total)>;

    explicit RecordingRecovery(Codecs codecs);

    // The unfinished-recording signature: ftyp, an mdat running to the end
    // of the file (or of size 0), no moov.
    static bool IsCut(const QString& path);

    // The nearest healthy recording by name in the cut file's folder that
    // fits it, else on the card (the other folders under cardRoot); empty
    // and the reason the nearest candidate was refused when none fits.
    QString FindReference(const QString& cutPath, const QString& cardRoot, QString* reason);

    // Whether the reference's tracks account for the cut file's data; the
    // reason names what differs.
    bool CheckReference(const QString& cutPath, const QString& referencePath, QString* reason);

    // Writes outPath (through a temporary file, renamed at the end). The cut
    // file and the reference stay untouched.
    std::optional<Summary> Recover(const QString& cutPath, const QString& referencePath, const QString& outPath,
                                   const Progress& progress, QString* error);

private:
    Codecs m_codecs;
};
