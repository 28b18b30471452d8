#pragma once
// Writes an MP4 whose index comes first from samples that lie in other files
// (copied byte for byte, never decoded) or in memory. The sample data is read
// in one pass over each source in file order, so a clip keeps the camera's
// interleave; the SHA-256 of the clip is taken from the bytes as they are
// written, and that of a source, when asked for, from the same pass over it.
// The clip appears only complete: it is written under a temporary name beside
// the output and renamed at the end; a failure or a cancel leaves nothing.
#include <QByteArray>
#include <QString>
#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

class Mp4ClipWriter {
public:
    struct Sample {
        int source = -1;                 // index into the sources; -1: bytes of the track's data
        std::uint64_t offset = 0;        // in the source file, or in Track::data
        std::uint32_t size = 0;
        std::uint32_t frames = 1;        // PCM: frames of Track::constantSize bytes
        std::uint32_t duration = 0;      // track time scale, all frames
        std::int32_t compositionOffset = 0;
        bool key = true;
    };
    struct Track {
        // Whole boxes. tkhd may be empty (a track without picture or sound
        // gets a plain one); its track id and duration are written anew.
        QByteArray tkhd, hdlr, mediaHeader, stsd;
        std::uint16_t language = 0x55C4; // "und"
        std::uint32_t timescale = 1000;
        std::uint32_t constantSize = 0;  // PCM: every frame this many bytes
        bool video = false;              // writes the table of key samples
        // Milliseconds of the clip before the first sample is shown.
        std::int64_t startMs = 0;
        std::vector<Sample> samples;
        QByteArray data;
    };
    struct Source {
        QString path;
        bool hash = false;               // read the whole file and give its SHA-256
    };
    struct FileDigest {
        QString path;
        qint64 size = -1;
        QByteArray sha256;               // hex; empty when not hashed
    };
    struct Result {
        enum class Status { Done, Cancelled, Failed };
        Status status = Status::Failed;
        QString message;
        FileDigest output;
        std::vector<FileDigest> sources;
    };
    using Progress = std::function<void(double fraction)>;

    static Result Write(const QString& output, const std::vector<Source>& sources, const std::vector<Track>& tracks,
                        const std::atomic<bool>* cancel = nullptr, const Progress& progress = {});

    // The movie's duration in milliseconds: where its longest track ends.
    static std::int64_t DurationMs(const std::vector<Track>& tracks);
};
