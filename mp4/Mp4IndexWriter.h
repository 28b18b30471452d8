#pragma once
// Builds the index (moov) of a recovered recording: the reference's headers
// and sample descriptions, with sample tables made from the samples found in
// the cut file's data.
#include "mp4/MdatWalker.h"
#include "mp4/Mp4Index.h"

#include <QByteArray>
#include <cstdint>
#include <vector>

class Mp4IndexWriter {
public:
    struct TrackTiming {
        std::uint64_t samples = 0;       // PCM: frames; telemetry: lines
        std::int64_t durationMs = 0;
    };
    // samples[i] belongs to reference.tracks[i]; the data they point into
    // moves from dataStart in the cut file to newDataStart in the new one.
    // Telemetry needs an empty sample when its first line is late: its two
    // zero bytes are expected at emptySampleOffset of the new file.
    Mp4IndexWriter(const Mp4Index& reference, const std::vector<std::vector<MdatWalker::Sample>>& samples);

    // True when the telemetry track needs the two zero bytes.
    bool needsEmptySample() const { return m_needsEmpty; }
    // The moov box; its size does not depend on the offsets given.
    QByteArray moov(std::uint64_t dataStart, std::uint64_t newDataStart, std::uint64_t emptySampleOffset,
                    bool largeOffsets) const;
    std::vector<TrackTiming> timings() const;

private:
    struct Line {
        std::uint64_t offset = 0;
        std::uint32_t size = 0;
        std::int64_t units = 0;          // start on the track's time scale
    };
    QByteArray trak(std::size_t index, std::uint64_t dataStart, std::uint64_t newDataStart,
                    std::uint64_t emptySampleOffset, bool largeOffsets) const;
    std::uint64_t mediaDuration(std::size_t index) const;
    std::uint64_t movieDuration(std::size_t index) const;

    const Mp4Index& m_ref;
    const std::vector<std::vector<MdatWalker::Sample>>& m_samples;
    std::vector<Line> m_lines;           // telemetry lines with their times
    std::uint64_t m_lineEnd = 0;         // end of the last line, on its track's time scale
    int m_text = -1;
    bool m_needsEmpty = false;
};
