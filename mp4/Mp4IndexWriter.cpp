#include "mp4/Mp4IndexWriter.h"

#include "mp4/Mp4Bytes.h"

#include <algorithm>

using Mp4Bytes::box;
using Mp4Bytes::tag;
constexpr auto be = Mp4Bytes::appendBe;

namespace {

QByteArray fullBox(const char* type, int version, const QByteArray& payload)
{
    return Mp4Bytes::fullBox(type, version, 0, payload);
}

// Writes a duration into a copied mvhd/tkhd/mdhd box: it sits after the
// times (and, in tkhd, the track id), 32 or 64 bits wide by the box version.
QByteArray withDuration(QByteArray whole, int offset32, int offset64, std::uint64_t duration)
{
    if (whole.size() < 12)
        return whole;
    const bool v1 = static_cast<std::uint8_t>(whole[8]) == 1;
    const int at = 12 + (v1 ? offset64 : offset32);
    const int width = v1 ? 8 : 4;
    if (at + width > whole.size())
        return whole;
    if (!v1)
        duration = std::min<std::uint64_t>(duration, 0xFFFFFFFFu);
    for (int i = 0; i < width; ++i)
        whole[at + i] = static_cast<char>((duration >> (8 * (width - 1 - i))) & 0xFF);
    return whole;
}

std::uint64_t rescale(std::uint64_t v, std::uint64_t to, std::uint64_t from)
{
    return from ? static_cast<std::uint64_t>(static_cast<long double>(v) * to / from + 0.5L) : 0;
}
} // namespace

Mp4IndexWriter::Mp4IndexWriter(const Mp4Index& reference, const std::vector<std::vector<MdatWalker::Sample>>& samples)
    : m_ref(reference), m_samples(samples)
{
    for (std::size_t i = 0; i < m_ref.tracks.size(); ++i)
        if (m_ref.tracks[i].codec == Mp4Index::Codec::Text)
            m_text = static_cast<int>(i);
    if (m_text < 0)
        return;
    const std::uint64_t ts = m_ref.tracks[m_text].timescale;
    std::int64_t previous = -1;
    for (const auto& s : m_samples[m_text]) {
        if (s.empty)
            continue;
        std::int64_t units = static_cast<std::int64_t>(rescale(static_cast<std::uint64_t>(std::max<std::int64_t>(s.ms, 0)),
                                                               ts, 1000));
        units = std::max(units, previous + 1);
        m_lines.push_back(Line{s.offset, s.size, units});
        previous = units;
    }
    if (m_lines.empty())
        return;
    m_needsEmpty = m_lines.front().units > 0;
    // The last line lasts until the pictures and sound end.
    std::uint64_t end = static_cast<std::uint64_t>(m_lines.back().units) + 1;
    for (std::size_t i = 0; i < m_ref.tracks.size(); ++i)
        if (static_cast<int>(i) != m_text)
            end = std::max(end, rescale(mediaDuration(i), ts, m_ref.tracks[i].timescale));
    m_lineEnd = end;
}

std::uint64_t Mp4IndexWriter::mediaDuration(std::size_t index) const
{
    const Mp4Index::Track& t = m_ref.tracks[index];
    if (static_cast<int>(index) == m_text)
        return m_lineEnd;
    if (t.codec == Mp4Index::Codec::Pcm) {
        std::uint64_t bytes = 0;
        for (const auto& s : m_samples[index])
            bytes += s.size;
        return t.constantSize ? bytes / t.constantSize * t.sampleDelta : 0;
    }
    return m_samples[index].size() * t.sampleDelta;
}

std::uint64_t Mp4IndexWriter::movieDuration(std::size_t index) const
{
    const Mp4Index::Track& t = m_ref.tracks[index];
    std::uint64_t media = mediaDuration(index);
    if (t.hasEdit && t.editMediaTime > 0)
        media -= std::min<std::uint64_t>(media, static_cast<std::uint64_t>(t.editMediaTime));
    return static_cast<std::uint64_t>(t.hasEdit ? t.editEmpty : 0) + rescale(media, m_ref.movieTimescale, t.timescale);
}

std::vector<Mp4IndexWriter::TrackTiming> Mp4IndexWriter::timings() const
{
    std::vector<TrackTiming> out;
    for (std::size_t i = 0; i < m_ref.tracks.size(); ++i) {
        const Mp4Index::Track& t = m_ref.tracks[i];
        TrackTiming timing;
        if (static_cast<int>(i) == m_text)
            timing.samples = m_lines.size();
        else if (t.codec == Mp4Index::Codec::Pcm)
            timing.samples = t.sampleDelta ? mediaDuration(i) / t.sampleDelta : 0;
        else
            timing.samples = m_samples[i].size();
        timing.durationMs = static_cast<std::int64_t>(rescale(movieDuration(i), 1000, m_ref.movieTimescale));
        out.push_back(timing);
    }
    return out;
}

QByteArray Mp4IndexWriter::trak(std::size_t index, std::uint64_t dataStart, std::uint64_t newDataStart,
                                std::uint64_t emptySampleOffset, bool largeOffsets) const
{
    const Mp4Index::Track& t = m_ref.tracks[index];
    const bool text = static_cast<int>(index) == m_text;
    const bool pcm = t.codec == Mp4Index::Codec::Pcm;
    auto moved = [&](std::uint64_t offset) { return offset - dataStart + newDataStart; };

    // Samples as (offset in the new file, size, samples it stands for).
    struct Piece {
        std::uint64_t offset;
        std::uint32_t size;
        std::uint64_t count;
    };
    std::vector<Piece> pieces;
    QByteArray stts, stsz, stss;
    std::uint32_t sttsEntries = 0;
    std::uint64_t sampleCount = 0;
    if (text) {
        if (m_needsEmpty) {
            pieces.push_back({emptySampleOffset, 2, 1});
            be(stts, 1, 4);
            be(stts, static_cast<std::uint64_t>(m_lines.front().units), 4);
            ++sttsEntries;
        }
        for (std::size_t i = 0; i < m_lines.size(); ++i) {
            pieces.push_back({moved(m_lines[i].offset), m_lines[i].size, 1});
            const std::int64_t next = i + 1 < m_lines.size() ? m_lines[i + 1].units : static_cast<std::int64_t>(m_lineEnd);
            be(stts, 1, 4);
            be(stts, static_cast<std::uint64_t>(std::max<std::int64_t>(1, next - m_lines[i].units)), 4);
            ++sttsEntries;
        }
    } else {
        for (const auto& s : m_samples[index])
            pieces.push_back({moved(s.offset), s.size, pcm && t.constantSize ? s.size / t.constantSize : 1});
    }
    for (const auto& p : pieces)
        sampleCount += p.count;
    if (!text && sampleCount) {
        be(stts, sampleCount, 4);
        be(stts, t.sampleDelta, 4);
        sttsEntries = 1;
    }
    // Sizes: PCM keeps its constant frame size.
    if (pcm && t.constantSize) {
        be(stsz, t.constantSize, 4);
        be(stsz, sampleCount, 4);
    } else {
        be(stsz, 0, 4);
        be(stsz, sampleCount, 4);
        for (const auto& p : pieces)
            be(stsz, p.size, 4);
    }
    // Chunks: runs of samples that follow each other in the file.
    QByteArray offsets, stsc;
    std::uint32_t chunks = 0, stscEntries = 0;
    std::uint64_t previousPer = 0;
    for (std::size_t i = 0; i < pieces.size();) {
        std::size_t j = i + 1;
        std::uint64_t per = pieces[i].count;
        while (j < pieces.size() && pieces[j].offset == pieces[j - 1].offset + pieces[j - 1].size) {
            per += pieces[j].count;
            ++j;
        }
        ++chunks;
        be(offsets, pieces[i].offset, largeOffsets ? 8 : 4);
        if (per != previousPer) {
            be(stsc, chunks, 4);
            be(stsc, per, 4);
            be(stsc, 1, 4);
            ++stscEntries;
            previousPer = per;
        }
        i = j;
    }
    // Sync samples: only pictures can be other than key samples.
    const bool video = t.codec == Mp4Index::Codec::H264 || t.codec == Mp4Index::Codec::H265;
    bool allKey = true;
    std::uint32_t keys = 0;
    if (video) {
        for (std::size_t i = 0; i < m_samples[index].size(); ++i) {
            if (m_samples[index][i].key) {
                be(stss, i + 1, 4);
                ++keys;
            } else {
                allKey = false;
            }
        }
    }
    QByteArray sttsBox, stszBox, stscBox, stcoBox, stssBox;
    {
        QByteArray p;
        be(p, sttsEntries, 4);
        sttsBox = fullBox("stts", 0, p + stts);
    }
    stszBox = fullBox("stsz", 0, stsz);
    {
        QByteArray p;
        be(p, stscEntries, 4);
        stscBox = fullBox("stsc", 0, p + stsc);
    }
    {
        QByteArray p;
        be(p, chunks, 4);
        stcoBox = fullBox(largeOffsets ? "co64" : "stco", 0, p + offsets);
    }
    if (video && !allKey) {
        QByteArray p;
        be(p, keys, 4);
        stssBox = fullBox("stss", 0, p + stss);
    }
    const QByteArray stbl = box("stbl", t.stsd + sttsBox + stssBox + stszBox + stscBox + stcoBox);
    QByteArray dinf = t.dinf;
    if (dinf.isEmpty()) {
        QByteArray dref;
        be(dref, 1, 4);
        dref += fullBox("url ", 0, QByteArray()).replace(11, 1, "\x01", 1);
        dinf = box("dinf", fullBox("dref", 0, dref));
    }
    const QByteArray minf = box("minf", t.mediaHeader + dinf + stbl);
    const std::uint64_t media = mediaDuration(index);
    const QByteArray mdia = box("mdia", withDuration(t.mdhd, 12, 20, media) + t.hdlr + minf);
    QByteArray edts;
    if (t.hasEdit) {
        QByteArray entries;
        std::uint32_t n = 0;
        if (t.editEmpty > 0) {
            be(entries, static_cast<std::uint64_t>(t.editEmpty), 8);
            be(entries, ~std::uint64_t(0), 8);
            be(entries, 0x00010000, 4);
            ++n;
        }
        const std::uint64_t editedMedia = media - std::min<std::uint64_t>(media, static_cast<std::uint64_t>(t.editMediaTime));
        be(entries, rescale(editedMedia, m_ref.movieTimescale, t.timescale), 8);
        be(entries, static_cast<std::uint64_t>(t.editMediaTime), 8);
        be(entries, 0x00010000, 4);
        ++n;
        QByteArray p;
        be(p, n, 4);
        edts = box("edts", fullBox("elst", 1, p + entries));
    }
    return box("trak", withDuration(t.tkhd, 16, 24, movieDuration(index)) + edts + mdia);
}

QByteArray Mp4IndexWriter::moov(std::uint64_t dataStart, std::uint64_t newDataStart, std::uint64_t emptySampleOffset,
                                bool largeOffsets) const
{
    std::uint64_t duration = 0;
    QByteArray traks;
    for (std::size_t i = 0; i < m_ref.tracks.size(); ++i) {
        duration = std::max(duration, movieDuration(i));
        traks += trak(i, dataStart, newDataStart, emptySampleOffset, largeOffsets);
    }
    return box("moov", withDuration(m_ref.mvhd, 12, 20, duration) + traks);
}
