#include "mp4/MdatWalker.h"

#include <algorithm>
#include <cstring>

namespace {
// Reads the start of a NAL unit's payload bit by bit, with the emulation
// prevention bytes taken out.
class BitReader {
public:
    BitReader(const std::uint8_t* data, std::size_t size)
    {
        int zeros = 0;
        for (std::size_t i = 0; i < size && m_size < sizeof m_buffer; ++i) {
            if (zeros >= 2 && data[i] == 3) {
                zeros = 0;
                continue;
            }
            zeros = data[i] == 0 ? zeros + 1 : 0;
            m_buffer[m_size++] = data[i];
        }
    }
    bool bit(std::uint32_t& v)
    {
        if (m_pos >= m_size * 8)
            return false;
        v = (m_buffer[m_pos / 8] >> (7 - m_pos % 8)) & 1;
        ++m_pos;
        return true;
    }
    bool bits(int n, std::uint32_t& v)
    {
        v = 0;
        for (int i = 0; i < n; ++i) {
            std::uint32_t b = 0;
            if (!bit(b))
                return false;
            v = (v << 1) | b;
        }
        return true;
    }
    bool ue(std::uint32_t& v)
    {
        int zeros = 0;
        std::uint32_t b = 0;
        while (bit(b) && !b)
            if (++zeros > 31)
                return false;
        if (!b)
            return false;
        std::uint32_t rest = 0;
        if (!bits(zeros, rest))
            return false;
        v = ((1u << zeros) - 1) + rest;
        return true;
    }
    bool se(std::int32_t& v)
    {
        std::uint32_t u = 0;
        if (!ue(u))
            return false;
        v = (u & 1) ? static_cast<std::int32_t>((u + 1) / 2) : -static_cast<std::int32_t>(u / 2);
        return true;
    }

private:
    std::uint8_t m_buffer[64] = {};
    std::size_t m_size = 0;
    std::size_t m_pos = 0;
};

std::uint32_t readLength(const std::uint8_t* p, int bytes)
{
    std::uint32_t v = 0;
    for (int i = 0; i < bytes; ++i)
        v = (v << 8) | p[i];
    return v;
}

bool isVideo(MdatWalker::Codec c) { return c == MdatWalker::Codec::H264 || c == MdatWalker::Codec::H265; }
} // namespace

MdatWalker::MdatWalker(std::vector<Track> tracks, std::vector<int> videoOrder, std::uint64_t maxAudioRun,
                       AudioFrames* audioFrames)
    : m_tracks(std::move(tracks)), m_videoOrder(std::move(videoOrder)), m_maxAudioRun(maxAudioRun),
      m_audioFrames(audioFrames)
{
    m_zeroFirstByte = true;
    for (std::size_t i = 0; i < m_tracks.size(); ++i) {
        const Track& t = m_tracks[i];
        if (t.codec == Codec::Aac || t.codec == Codec::Pcm)
            m_audio = static_cast<int>(i);
        else if (t.codec == Codec::Text)
            m_text = static_cast<int>(i);
        if (isVideo(t.codec) && (t.nalLengthSize < 4 || t.maxSampleBytes >= (1u << 24)))
            m_zeroFirstByte = false;
        const std::pair<Codec, int> layout{t.codec, t.nalLengthSize};
        if (isVideo(t.codec) && t.nalLengthSize >= 1 && t.nalLengthSize <= 4
            && std::find(m_videoLayouts.begin(), m_videoLayouts.end(), layout) == m_videoLayouts.end())
            m_videoLayouts.push_back(layout);
    }
    if (m_text >= 0 && m_tracks[m_text].maxSampleBytes > 257)
        m_zeroFirstByte = false;
    for (const Track& t : m_tracks)
        m_maxCutSample = std::max<std::uint64_t>(m_maxCutSample, std::uint64_t(t.maxSampleBytes) * 4 + 65536);
}

int MdatWalker::h264Log2MaxFrameNum(const QByteArray& avcC)
{
    const auto* d = reinterpret_cast<const std::uint8_t*>(avcC.constData());
    if (avcC.size() < 9 || (d[5] & 0x1F) == 0)
        return 0;
    const std::size_t spsSize = (static_cast<std::size_t>(d[6]) << 8) | d[7];
    if (spsSize < 4 || 8 + spsSize > static_cast<std::size_t>(avcC.size()))
        return 0;
    BitReader r(d + 9, spsSize - 1);
    std::uint32_t profile = 0, skip = 0, id = 0;
    if (!r.bits(8, profile) || !r.bits(16, skip) || !r.ue(id))
        return 0;
    static const std::uint32_t high[] = {100, 110, 122, 244, 44, 83, 86, 118, 128, 138, 139, 134, 135};
    if (std::find(std::begin(high), std::end(high), profile) != std::end(high)) {
        std::uint32_t chroma = 0, v = 0;
        if (!r.ue(chroma) || (chroma == 3 && !r.bit(v)) || !r.ue(v) || !r.ue(v) || !r.bit(v) || !r.bit(v))
            return 0;
        if (v) {   // scaling matrices present
            for (int i = 0; i < (chroma == 3 ? 12 : 8); ++i) {
                std::uint32_t present = 0;
                if (!r.bit(present))
                    return 0;
                if (!present)
                    continue;
                int last = 8, next = 8;
                for (int j = 0; j < (i < 6 ? 16 : 64) && next != 0; ++j) {
                    std::int32_t delta = 0;
                    if (!r.se(delta))
                        return 0;
                    next = (last + delta + 256) % 256;
                    last = next == 0 ? last : next;
                }
            }
        }
    }
    std::uint32_t log2Minus4 = 0;
    if (!r.ue(log2Minus4) || log2Minus4 > 12)
        return 0;
    return static_cast<int>(log2Minus4) + 4;
}

bool MdatWalker::pictureAt(std::size_t p, Picture& picture, int L, Codec codec) const
{
    const bool avc = codec == Codec::H264;
    const std::size_t headerBytes = avc ? 1 : 2;
    std::uint32_t maxNal = 0;
    int log2MaxFrameNum = 0;
    for (const Track& t : m_tracks)
        if (t.codec == codec && t.nalLengthSize == L) {
            maxNal = std::max(maxNal, t.maxSampleBytes);
            log2MaxFrameNum = std::max(log2MaxFrameNum, t.log2MaxFrameNum);
        }
    picture = Picture{};
    picture.codec = codec;
    picture.nalLengthSize = L;
    std::size_t q = p;
    bool sawSlice = false;
    constexpr std::size_t kMaxPicture = 256u << 20;
    while (q + L + headerBytes <= m_size && q - p < kMaxPicture) {
        // The length, the NAL header and the start of the payload; of the
        // rest of the unit only its last byte is looked at.
        std::uint8_t head[4 + 2 + 34];
        const std::size_t headBytes = std::min<std::size_t>(sizeof head, m_size - q);
        std::memcpy(head, m_bytes->at(q, headBytes), headBytes);
        const std::uint32_t length = readLength(head, L);
        if (length <= headerBytes || length > maxNal)
            break;
        // What the end of the data leaves of this NAL unit.
        const std::size_t available = std::min<std::size_t>(length, m_size - q - L);
        const bool runsPastEnd = available < length;
        if (available <= headerBytes)
            break;
        const std::uint8_t* nal = head + L;
        // A NAL unit never ends in a zero byte: one that does runs into the
        // zeros a card leaves after the cut.
        if ((nal[0] & 0x80) || (!runsPastEnd && m_bytes->byte(q + L + length - 1) == 0))
            break;
        int type = 0;
        bool slice = false, key = false, firstSlice = false, sameUnit = false;
        const std::uint8_t* payload = nal + headerBytes;
        if (avc) {
            type = nal[0] & 0x1F;
            const int refIdc = (nal[0] >> 5) & 3;
            if (type == 0 || type >= 22 || (type == 5 && refIdc == 0) ||
                ((type == 6 || type == 9 || type == 10 || type == 11 || type == 12) && refIdc != 0))
                break;
            slice = type >= 1 && type <= 5;
            key = type == 5;
            firstSlice = slice && (payload[0] & 0x80);   // first_mb_in_slice == 0
            sameUnit = type == 10 || type == 11 || type == 12;
            if (slice && !sawSlice) {
                picture.ref = refIdc != 0;
                BitReader r(payload, std::min<std::size_t>(available - 1, 32));
                std::uint32_t firstMb = 0, sliceType = 0, pps = 0, frameNum = 0;
                if (!r.ue(firstMb) || !r.ue(sliceType) || sliceType > 9 || !r.ue(pps) || pps > 255)
                    break;
                if (log2MaxFrameNum > 0) {
                    if (!r.bits(log2MaxFrameNum, frameNum))
                        break;
                    picture.frameNum = static_cast<int>(frameNum);
                }
            }
        } else {
            type = (nal[0] >> 1) & 0x3F;
            const int layer = ((nal[0] & 1) << 5) | (nal[1] >> 3);
            const int temporalIdPlus1 = nal[1] & 7;
            if (layer != 0 || temporalIdPlus1 == 0 || (type >= 10 && type <= 15) || (type >= 22 && type <= 31) ||
                type >= 41)
                break;
            slice = type < 32;
            key = type >= 16 && type <= 23;
            firstSlice = slice && (payload[0] & 0x80);   // first_slice_segment_in_pic_flag
            sameUnit = type == 36 || type == 37 || type == 38 || type == 40;
            if (slice && !sawSlice)
                picture.ref = true;
        }
        if (sawSlice && (!slice || firstSlice) && !sameUnit)
            break;   // the next picture, or the data of another track
        if (runsPastEnd) {
            picture.cutOff = slice || !sawSlice;
            break;
        }
        if (!sawSlice && slice && !firstSlice)
            break;   // a picture starts with its first slice
        if (slice) {
            sawSlice = true;
            picture.key = picture.key || key;
        }
        q += L + length;
    }
    if (!sawSlice)
        return false;
    picture.size = q - p;
    return true;
}

bool MdatWalker::cutSampleAt(std::size_t p) const
{
    Picture picture;
    for (const auto& [codec, nalLengthSize] : m_videoLayouts) {
        if (!pictureAt(p, picture, nalLengthSize, codec) && picture.cutOff && chooseVideoTrack(picture, true) >= 0)
            return true;
    }
    if (m_text < 0 || p + 3 > m_size)
        return false;
    const std::uint8_t* h = m_bytes->at(p, 3);
    const std::size_t length = (static_cast<std::size_t>(h[0]) << 8) | h[1];
    if (length < 4 || p + 2 + length <= m_size || length > std::max<std::uint32_t>(m_tracks[m_text].maxSampleBytes, 258))
        return false;
    const std::uint8_t first = h[2];
    if (first < 'A' || first > 'Z')
        return false;
    if (first != 'M' && p + 3 < m_size) {
        // What the cut left of the line: less than its length, a few hundred bytes.
        const std::uint8_t* rest = m_bytes->at(p + 3, m_size - p - 3);
        for (std::size_t i = 0; i < m_size - p - 3; ++i)
            if (rest[i] < 0x20 || rest[i] > 0x7E)
                return false;
    }
    return true;
}

bool MdatWalker::anyPictureAt(std::size_t p, Picture& picture) const
{
    for (const auto& [codec, nalLengthSize] : m_videoLayouts) {
        if (pictureAt(p, picture, nalLengthSize, codec))
            return true;
    }
    return false;
}

bool MdatWalker::lineAt(std::size_t p, std::size_t& size, bool& empty, bool allowEmpty, bool afterLine) const
{
    if (m_text < 0 || p + 2 > m_size)
        return false;
    const std::uint8_t* h = m_bytes->at(p, 2);
    const std::size_t length = (static_cast<std::size_t>(h[0]) << 8) | h[1];
    if (length == 0) {
        // The muxer fills the time between lines with empty samples, right
        // after a line or right before one; zeros elsewhere are not telemetry.
        std::size_t next = 0;
        bool nextEmpty = false;
        if (!allowEmpty || (!(afterLine && m_afterLine) && !lineAt(p + 2, next, nextEmpty, false, false)))
            return false;
        size = 2;
        empty = true;
        return true;
    }
    if (length < 4 || length > std::max<std::uint32_t>(m_tracks[m_text].maxSampleBytes, 258) || p + 2 + length > m_size)
        return false;
    const std::uint8_t* line = m_bytes->at(p + 2, length);
    if (line[0] < 'A' || line[0] > 'Z')
        return false;
    // Acceleration lines are a letter and a few raw bytes; all others are text.
    if (!(line[0] == 'M' && length <= 16)) {
        for (std::size_t i = 1; i < length; ++i) {
            const std::uint8_t c = line[i];
            if ((c < 0x20 || c > 0x7E) && c != '\r' && c != '\n' && c != '\t')
                return false;
        }
    }
    size = 2 + length;
    empty = false;
    return true;
}

int MdatWalker::expectedFrameNum(int track, const Picture& picture) const
{
    const Track& t = m_tracks[track];
    const TrackState& s = m_state[track];
    if (picture.codec != Codec::H264 || t.log2MaxFrameNum == 0 || picture.frameNum < 0)
        return -1;
    if (picture.key)
        return 0;
    if (s.lastFrameNum < 0)
        return -1;
    return (s.lastFrameNum + (s.lastRef ? 1 : 0)) % (1 << t.log2MaxFrameNum);
}

int MdatWalker::chooseVideoTrack(const Picture& picture, bool strict) const
{
    std::vector<int> candidates;
    for (std::size_t i = 0; i < m_tracks.size(); ++i)
        if (m_tracks[i].codec == picture.codec && m_tracks[i].nalLengthSize == picture.nalLengthSize)
            candidates.push_back(static_cast<int>(i));
    if (candidates.empty())
        return -1;
    // The camera's own turn order where the reference shows it, else the
    // track whose next picture is due first (how muxers interleave).
    int predicted = -1;
    if (m_pictures < m_videoOrder.size()) {
        const int k = m_videoOrder[m_pictures];
        if (std::find(candidates.begin(), candidates.end(), k) != candidates.end())
            predicted = k;
    }
    if (predicted < 0) {
        double best = 1e300;
        for (int i : candidates) {
            const double due = m_tracks[i].startSeconds + m_state[i].count * m_tracks[i].sampleSeconds;
            if (due < best - 1e-9) {
                best = due;
                predicted = i;
            }
        }
    }
    // A frame number that only one track expects settles it.
    std::vector<int> matching;
    bool anyKnown = false;
    for (int i : candidates) {
        const int expected = expectedFrameNum(i, picture);
        anyKnown = anyKnown || expected >= 0;
        if (expected < 0 || expected == picture.frameNum)
            matching.push_back(i);
    }
    if (strict && anyKnown && matching.empty())
        return -1;
    if (!matching.empty() && std::find(matching.begin(), matching.end(), predicted) == matching.end())
        return matching.front();
    return predicted;
}

bool MdatWalker::allZero(std::size_t from) const
{
    // Mostly the first byte answers; zeros are read in growing stretches.
    std::size_t stretch = 256;
    for (std::size_t i = from; i < m_size;) {
        const std::size_t n = std::min(stretch, m_size - i);
        const std::uint8_t* d = m_bytes->at(i, n);
        for (std::size_t k = 0; k < n; ++k)
            if (d[k])
                return false;
        i += n;
        stretch = std::min<std::size_t>(stretch * 2, 1u << 20);
    }
    return true;
}

std::size_t MdatWalker::nextZero(std::size_t from, std::size_t to) const
{
    constexpr std::size_t kStretch = 4096;
    for (std::size_t i = from; i < to; i += kStretch) {
        const std::size_t n = std::min(kStretch, to - i);
        const std::uint8_t* d = m_bytes->at(i, n);
        if (const void* z = std::memchr(d, 0, n))
            return i + static_cast<std::size_t>(static_cast<const std::uint8_t*>(z) - d);
    }
    return to;
}

double MdatWalker::clock() const
{
    double t = 0;
    for (std::size_t i = 0; i < m_tracks.size(); ++i)
        if (static_cast<int>(i) != m_text)
            t = std::max(t, m_state[i].lastStart);
    return t;
}

void MdatWalker::takePicture(int track, std::size_t p, const Picture& picture)
{
    TrackState& s = m_state[track];
    s.lastStart = m_tracks[track].startSeconds + s.count * m_tracks[track].sampleSeconds;
    ++s.count;
    if (picture.frameNum >= 0) {
        s.lastFrameNum = picture.frameNum;
        s.lastRef = picture.ref;
    }
    ++m_pictures;
    m_afterLine = false;
    m_result.samples[track].push_back(
        Sample{m_base + p, static_cast<std::uint32_t>(picture.size), picture.key, false, 0});
}

void MdatWalker::takeLine(std::size_t p, std::size_t size, bool empty)
{
    const auto ms = static_cast<std::int64_t>(clock() * 1000.0 + 0.5);
    m_result.samples[m_text].push_back(Sample{m_base + p, static_cast<std::uint32_t>(size), true, empty, ms});
    m_afterLine = !empty;
}

bool MdatWalker::takeAudio(std::size_t from, std::size_t to, bool exact)
{
    const Track& t = m_tracks[m_audio];
    TrackState& s = m_state[m_audio];
    auto& out = m_result.samples[m_audio];
    if (t.codec == Codec::Pcm) {
        if (!t.pcmFrameBytes)
            return false;
        const std::size_t bytes = to - from;
        if (exact && bytes % t.pcmFrameBytes)
            return false;
        const std::size_t whole = bytes - bytes % t.pcmFrameBytes;
        if (!whole)
            return !exact || bytes == 0;
        s.lastStart = t.startSeconds + s.count * t.sampleSeconds;
        s.count += whole / t.pcmFrameBytes;
        out.push_back(Sample{m_base + from, static_cast<std::uint32_t>(whole), true, false, 0});
        return true;
    }
    if (!m_audioFrames)
        return false;
    if (to <= from)
        return false;
    const std::vector<std::uint32_t> frames = m_audioFrames->split(m_bytes->at(from, to - from), to - from, exact);
    if (frames.empty())
        return false;
    std::uint64_t pos = from;
    for (std::uint32_t length : frames) {
        // Past the cut a decoder may still make a frame of garbage; a length
        // the camera never writes gives it away.
        if (!exact && t.maxSampleBytes && (length > t.maxSampleBytes || length < t.minSampleBytes))
            break;
        s.lastStart = t.startSeconds + s.count * t.sampleSeconds;
        ++s.count;
        out.push_back(Sample{m_base + pos, length, true, false, 0});
        pos += length;
    }
    return true;
}

MdatWalker::Result MdatWalker::walk(const std::uint8_t* data, std::size_t size, std::uint64_t fileOffset,
                                    const Progress& progress)
{
    MdatBytes bytes(data, size);
    return walk(bytes, fileOffset, progress);
}

MdatWalker::Result MdatWalker::walk(MdatBytes& data, std::uint64_t fileOffset, const Progress& progress)
{
    m_bytes = &data;
    m_size = data.size();
    m_base = fileOffset;
    m_pictures = 0;
    m_afterLine = false;
    m_state.assign(m_tracks.size(), TrackState{});
    m_result = Result{};
    m_result.samples.resize(m_tracks.size());
    constexpr std::size_t kProgressStep = 8u << 20;
    std::size_t nextReport = kProgressStep;
    std::size_t p = 0;

    auto takeAt = [&](std::size_t q, bool strict) -> std::size_t {
        // A line, or an empty sample and a line, before a picture: those bytes
        // also read as a parameter-set NAL unit; lines have the stricter shape.
        std::size_t lineSize = 0;
        bool empty = false;
        if (lineAt(q, lineSize, empty, true, false)) {
            takeLine(q, lineSize, empty);
            return lineSize;
        }
        Picture picture;
        if (anyPictureAt(q, picture)) {
            const int track = chooseVideoTrack(picture, strict);
            if (track >= 0) {
                takePicture(track, q, picture);
                return picture.size;
            }
        }
        if (lineAt(q, lineSize, empty, true, true)) {
            takeLine(q, lineSize, empty);
            return lineSize;
        }
        return 0;
    };
    // Tests a sample start without taking it.
    auto sampleStartsAt = [&](std::size_t q) -> bool {
        Picture picture;
        std::size_t lineSize = 0;
        bool empty = false;
        return (anyPictureAt(q, picture) && chooseVideoTrack(picture, true) >= 0) ||
               lineAt(q, lineSize, empty, true, false);
    };

    while (p < m_size) {
        if (progress && p >= nextReport) {
            nextReport = p + kProgressStep;
            if (!progress(m_base + p, m_base + m_size)) {
                m_result.cancelled = true;
                break;
            }
        }
        if (const std::size_t taken = takeAt(p, false)) {
            p += taken;
            continue;
        }
        if (m_audio < 0 || allZero(p) || cutSampleAt(p))
            break;
        // Sound runs until the next picture or line; its frames must fill the run.
        m_afterLine = false;
        const std::size_t limit = static_cast<std::size_t>(std::min<std::uint64_t>(m_size, p + m_maxAudioRun));
        std::size_t q = p + 1;
        bool closed = false;
        while (q < limit) {
            if (m_zeroFirstByte && (q = nextZero(q, limit)) == limit)
                break;
            if (sampleStartsAt(q) && takeAudio(p, q, true)) {
                closed = true;
                break;
            }
            ++q;
        }
        if (closed) {
            m_afterLine = false;
            p = q;
            continue;
        }
        // No sample follows: the sound runs into the cut, and maybe into a
        // picture or line the cut left unfinished.
        std::size_t end = m_bytes->trimZeros(p, m_size);
        const std::size_t size = m_size;
        m_size = end;   // the zeros a card leaves after the cut are no data
        for (std::size_t c = std::max<std::size_t>(p, end > m_maxCutSample ? end - m_maxCutSample : 0); c < end; ++c) {
            if (m_zeroFirstByte && (c = nextZero(c, end)) == end)
                break;
            if (cutSampleAt(c)) {
                end = c;
                break;
            }
        }
        m_size = size;
        const std::size_t before = m_result.samples[m_audio].size();
        // No camera writes more sound at a stretch than the limit: what lies
        // beyond it is not handed to the decoder.
        takeAudio(p, std::min(end, limit), false);
        for (std::size_t i = before; i < m_result.samples[m_audio].size(); ++i)
            p += m_result.samples[m_audio][i].size;
        break;
    }
    // A line cut off by the end, or muxer fill before it, would only leave an
    // empty sample at the end.
    if (m_text >= 0) {
        auto& lines = m_result.samples[m_text];
        while (!lines.empty() && lines.back().empty)
            lines.pop_back();
    }
    std::uint64_t used = 0;
    std::uint64_t last = 0;
    for (const auto& track : m_result.samples)
        for (const Sample& s : track) {
            used += s.size;
            last = std::max<std::uint64_t>(last, s.offset + s.size);
        }
    m_result.end = std::max<std::uint64_t>(last, m_base);
    m_result.skippedBytes = m_size - std::min<std::uint64_t>(used, m_size);
    m_bytes = nullptr;
    return m_result;
}
