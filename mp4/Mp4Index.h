#pragma once
// The index (moov) of a finished MP4 recording, read with our own box parser:
// what a recovery needs to rebuild a cut recording of the same camera — every
// track's sample description as stored bytes, its time scale and sample
// duration, and where its chunks lie, which shows how the camera interleaves.
// Also tells an unfinished recording (ftyp and mdat, no moov) from others.
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

class Mp4Index {
public:
    enum class Codec { Unknown, H264, H265, Aac, Pcm, Text };
    struct Chunk {
        std::uint64_t offset = 0;
        std::uint32_t firstSample = 0;   // 0-based
        std::uint32_t samples = 0;
        std::uint64_t bytes = 0;
    };
    struct Track {
        std::uint32_t handler = 0;       // 'vide', 'soun', 'text', 'sbtl', …
        std::uint32_t format = 0;        // fourcc of the first sample entry
        Codec codec = Codec::Unknown;
        std::uint32_t timescale = 0;
        int width = 0, height = 0;
        int channels = 0;
        std::uint32_t sampleRate = 0;
        int nalLengthSize = 0;           // H.264/H.265
        QByteArray codecConfig;          // avcC / hvcC payload; AAC AudioSpecificConfig
        // Whole boxes, copied as they are into a recovered file.
        QByteArray tkhd, mdhd, hdlr, mediaHeader, dinf, stsd;
        bool hasEdit = false;
        std::int64_t editEmpty = 0;      // movie time scale
        std::int64_t editMediaTime = 0;  // media time scale
        bool reordered = false;          // composition offsets other than zero (B-frames)
        std::uint32_t sampleDelta = 0;   // the most common stts delta
        std::uint32_t constantSize = 0;  // stsz sample_size when every sample has that size
        std::vector<std::uint32_t> sizes; // per sample (empty when constantSize)
        std::vector<std::uint32_t> syncSamples;   // 1-based; empty when every sample is a sync sample
        std::vector<Chunk> chunks;
        std::uint64_t sampleCount = 0;
        // stts and ctts as stored: (count, delta) and (count, offset) runs.
        std::vector<std::pair<std::uint32_t, std::uint32_t>> timeToSample;
        std::vector<std::pair<std::uint32_t, std::int32_t>> compositionOffsets;

        // One sample of the track in decode order, where it lies and when it
        // is shown. PCM sound comes one chunk at a time (frames of
        // constantSize bytes each): a sample of two bytes each would give
        // millions of entries.
        struct Sample {
            std::uint64_t offset = 0;
            std::uint32_t size = 0;
            std::uint32_t frames = 1;
            std::int64_t decodeTime = 0;      // media time scale
            std::uint32_t duration = 0;       // media time scale, all frames
            std::int32_t compositionOffset = 0;
            bool key = true;
        };
        std::vector<Sample> samples() const;
        // When a decode time is shown, in milliseconds of the movie: the
        // track's edit (empty stretch, media start) applied.
        double presentationMs(std::int64_t mediaTime, std::uint32_t movieTimescale) const;
        // The name in the handler box ("Telemetry" on the camera's telemetry track).
        QByteArray handlerName() const;

        std::uint32_t sampleSize(std::uint64_t i) const { return constantSize ? constantSize : sizes[i]; }
        QString describe() const;
    };
    QByteArray ftyp, mvhd;
    std::uint32_t movieTimescale = 0;
    std::vector<Track> tracks;

    // The index of a finished recording; nullopt and a reason when the file
    // has none or it cannot be read.
    static std::optional<Mp4Index> Read(const QString& path, QString* error = nullptr);
    // The same from a moov box's payload already in memory.
    static std::optional<Mp4Index> ParseMoov(const std::uint8_t* data, std::size_t size, QString* error = nullptr);

    // Where the samples of an unfinished recording lie: an ftyp first, an mdat
    // whose size is 0, runs past the end of the file or is followed only by
    // zeros, and no moov anywhere.
    struct CutLayout {
        QByteArray ftyp;
        std::uint64_t dataStart = 0;     // first byte of the mdat payload
        std::uint64_t fileSize = 0;
    };
    static std::optional<CutLayout> FindCut(const QString& path, QString* reason = nullptr);
};
