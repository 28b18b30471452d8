#include "mp4/Mp4ClipWriter.h"

#include "mp4/Mp4Bytes.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <cmath>
#include <limits>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

using Mp4Bytes::box;
using Mp4Bytes::fullBox;
constexpr auto be = Mp4Bytes::appendBe;

namespace {

constexpr qint64 kBlockBytes = 1 << 20;

void matrix(QByteArray& out)
{
    for (std::uint32_t v : {0x00010000u, 0u, 0u, 0u, 0x00010000u, 0u, 0u, 0u, 0x40000000u})
        be(out, v, 4);
}

void put(QByteArray& whole, int at, std::uint64_t v, int width)
{
    for (int i = 0; i < width; ++i)
        whole[at + i] = static_cast<char>((v >> (8 * (width - 1 - i))) & 0xFF);
}

// The recording's tkhd with this clip's track id and duration (in the movie
// time scale), or a plain one for a track that has none.
QByteArray trackHeader(QByteArray tkhd, std::uint32_t id, std::uint64_t duration)
{
    if (tkhd.size() >= 92) {
        const bool v1 = static_cast<std::uint8_t>(tkhd[8]) == 1;
        if (!v1 || tkhd.size() >= 104) {
            tkhd[11] = static_cast<char>(tkhd[11] | 0x03); // enabled, in the movie
            put(tkhd, v1 ? 28 : 20, id, 4);
            if (!v1)
                duration = std::min<std::uint64_t>(duration, 0xFFFFFFFFu);
            put(tkhd, v1 ? 36 : 28, duration, v1 ? 8 : 4);
            return tkhd;
        }
    }
    QByteArray p;
    be(p, 0, 8);                 // creation, modification
    be(p, id, 4);
    be(p, 0, 4);
    be(p, std::min<std::uint64_t>(duration, 0xFFFFFFFFu), 4);
    be(p, 0, 8);
    be(p, 0, 8);                 // layer, group, volume, reserved
    matrix(p);
    be(p, 0, 8);                 // width, height
    return fullBox("tkhd", 0, 3, p);
}

std::uint64_t scaled(std::uint64_t v, std::uint64_t to, std::uint64_t from)
{
    return from ? static_cast<std::uint64_t>(static_cast<long double>(v) * to / from + 0.5L) : 0;
}

// A run of a track's samples that lie one after the other: one chunk of the clip.
struct Chunk {
    std::size_t track = 0;
    std::size_t first = 0, end = 0;  // samples
    int source = -1;
    std::uint64_t from = 0;          // in the source or the track's data
    std::uint64_t bytes = 0;
    std::uint64_t frames = 0;
    std::uint64_t out = 0;           // offset in the clip
};

struct TrackTimes {
    std::uint64_t media = 0;         // media time scale
    std::int64_t mediaStart = 0;     // first shown media time
    std::uint64_t movie = 0;         // movie time scale (ms)
};

TrackTimes timesOf(const Mp4ClipWriter::Track& t)
{
    TrackTimes times;
    // What is shown: from the earliest picture to where the latest ends,
    // which with reordered pictures is not where the last decoded one ends.
    std::int64_t earliest = std::numeric_limits<std::int64_t>::max();
    std::int64_t latest = 0;
    for (const auto& s : t.samples) {
        const std::int64_t shown = static_cast<std::int64_t>(times.media) + s.compositionOffset;
        earliest = std::min(earliest, shown);
        latest = std::max(latest, shown + std::int64_t(s.duration));
        times.media += s.duration;
    }
    times.mediaStart = t.samples.empty() ? 0 : std::clamp<std::int64_t>(earliest, 0, std::int64_t(times.media));
    const std::int64_t shownEnd = std::max(latest, times.mediaStart);
    times.movie = std::uint64_t(std::max<std::int64_t>(t.startMs, 0))
        + scaled(std::uint64_t(shownEnd - times.mediaStart), 1000, t.timescale);
    return times;
}

QByteArray trak(const Mp4ClipWriter::Track& t, std::uint32_t id, const std::vector<Chunk>& chunks, bool largeOffsets)
{
    const TrackTimes times = timesOf(t);
    QByteArray stts, ctts, stss, stsz, stsc, stco;
    std::uint32_t sttsN = 0, cttsN = 0, stssN = 0, stscN = 0;
    std::uint64_t runCount = 0, runDelta = 0;
    std::int64_t cttsCount = 0, cttsValue = 0;
    bool anyOffset = false, negativeOffset = false, allKey = true;
    std::uint64_t frames = 0;
    for (const auto& s : t.samples) {
        anyOffset = anyOffset || s.compositionOffset != 0;
        negativeOffset = negativeOffset || s.compositionOffset < 0;
        allKey = allKey && s.key;
    }
    auto flushStts = [&] {
        if (runCount) {
            be(stts, runCount, 4);
            be(stts, runDelta, 4);
            ++sttsN;
        }
    };
    auto flushCtts = [&] {
        if (cttsCount) {
            be(ctts, std::uint64_t(cttsCount), 4);
            be(ctts, std::uint32_t(cttsValue), 4);
            ++cttsN;
        }
    };
    for (std::size_t i = 0; i < t.samples.size(); ++i) {
        const auto& s = t.samples[i];
        const std::uint32_t n = std::max<std::uint32_t>(1, s.frames);
        const std::uint64_t delta = s.duration / n;
        if (delta != runDelta) {
            flushStts();
            runCount = 0;
            runDelta = delta;
        }
        runCount += n;
        if (anyOffset) {
            if (s.compositionOffset != cttsValue) {
                flushCtts();
                cttsCount = 0;
                cttsValue = s.compositionOffset;
            }
            cttsCount += n;
        }
        if (t.video && !allKey && s.key) {
            be(stss, i + 1, 4);
            ++stssN;
        }
        if (!t.constantSize)
            be(stsz, s.size, 4);
        frames += n;
    }
    flushStts();
    flushCtts();
    std::uint64_t previousPer = 0;
    std::uint32_t chunkNumber = 0;
    for (const Chunk& c : chunks) {
        ++chunkNumber;
        if (c.frames != previousPer) {
            be(stsc, chunkNumber, 4);
            be(stsc, c.frames, 4);
            be(stsc, 1, 4);
            ++stscN;
            previousPer = c.frames;
        }
        be(stco, c.out, largeOffsets ? 8 : 4);
    }
    auto counted = [](std::uint64_t n, const QByteArray& entries) -> QByteArray {
        QByteArray p;
        be(p, n, 4);
        return p + entries;
    };
    QByteArray sizes;
    be(sizes, t.constantSize, 4);
    be(sizes, frames, 4);
    QByteArray stbl = t.stsd + fullBox("stts", 0, 0, counted(sttsN, stts));
    if (anyOffset)
        stbl += fullBox("ctts", negativeOffset ? 1 : 0, 0, counted(cttsN, ctts));
    if (t.video && !allKey)
        stbl += fullBox("stss", 0, 0, counted(stssN, stss));
    stbl += fullBox("stsz", 0, 0, sizes + stsz) + fullBox("stsc", 0, 0, counted(stscN, stsc))
        + fullBox(largeOffsets ? "co64" : "stco", 0, 0, counted(chunks.size(), stco));

    QByteArray dref;
    be(dref, 1, 4);
    dref += fullBox("url ", 0, 1, QByteArray());
    const QByteArray mediaHeader = t.mediaHeader.isEmpty() ? fullBox("nmhd", 0, 0, QByteArray()) : t.mediaHeader;
    const QByteArray minf = box("minf", mediaHeader + box("dinf", fullBox("dref", 0, 0, dref)) + box("stbl", stbl));

    const bool longMedia = times.media > 0xFFFFFFFFu;
    QByteArray mdhd;
    be(mdhd, 0, longMedia ? 16 : 8);
    be(mdhd, t.timescale, 4);
    be(mdhd, times.media, longMedia ? 8 : 4);
    be(mdhd, t.language, 2);
    be(mdhd, 0, 2);
    const QByteArray mdia = box("mdia", fullBox("mdhd", longMedia ? 1 : 0, 0, mdhd) + t.hdlr + minf);

    QByteArray edts;
    if (t.startMs > 0 || times.mediaStart > 0) {
        QByteArray entries;
        std::uint32_t n = 0;
        if (t.startMs > 0) {
            be(entries, std::uint64_t(t.startMs), 8);
            be(entries, ~std::uint64_t(0), 8);
            be(entries, 0x00010000, 4);
            ++n;
        }
        be(entries, times.movie - std::uint64_t(std::max<std::int64_t>(t.startMs, 0)), 8);
        be(entries, std::uint64_t(times.mediaStart), 8);
        be(entries, 0x00010000, 4);
        ++n;
        edts = box("edts", fullBox("elst", 1, 0, counted(n, entries)));
    }
    return box("trak", trackHeader(t.tkhd, id, times.movie) + edts + mdia);
}

QByteArray moovOf(const std::vector<Mp4ClipWriter::Track>& tracks, const std::vector<std::vector<Chunk>>& chunks,
                  bool largeOffsets)
{
    QByteArray traks;
    for (std::size_t i = 0; i < tracks.size(); ++i)
        traks += trak(tracks[i], std::uint32_t(i + 1), chunks[i], largeOffsets);
    QByteArray mvhd;
    be(mvhd, 0, 8);
    be(mvhd, 1000, 4);
    be(mvhd, std::min<std::uint64_t>(std::uint64_t(Mp4ClipWriter::DurationMs(tracks)), 0xFFFFFFFFu), 4);
    be(mvhd, 0x00010000, 4);
    be(mvhd, 0x0100, 2);
    be(mvhd, 0, 10);
    matrix(mvhd);
    be(mvhd, 0, 24);
    be(mvhd, tracks.size() + 1, 4);
    return box("moov", fullBox("mvhd", 0, 0, mvhd) + traks);
}

QByteArray ftyp()
{
    QByteArray p("isom", 4);
    be(p, 0x200, 4);
    p += QByteArray("isomiso2avc1mp41", 16);
    return box("ftyp", p);
}

// The clip's bytes on their way to the file, hashed as they go.
class Output {
public:
    explicit Output(QSaveFile& file) : m_file(file), m_hash(QCryptographicHash::Sha256) { m_buffer.reserve(kBlockBytes); }
    void append(const char* data, qint64 n)
    {
        m_buffer.append(data, n);
        if (m_buffer.size() >= kBlockBytes)
            flush();
    }
    bool flush()
    {
        if (m_failed || m_buffer.isEmpty())
            return !m_failed;
        m_hash.addData(m_buffer);
        errno = 0;
        if (m_file.write(m_buffer) != m_buffer.size()) {
            m_failed = true;
            // The save file keeps no reason of its own for a failed write ("No space left on device").
            m_why = errno ? QString::fromLocal8Bit(std::strerror(errno)) : m_file.errorString();
        }
        m_written += m_buffer.size();
        m_buffer.clear();
        return !m_failed;
    }
    bool failed() const { return m_failed; }
    QString why() const { return m_why; }
    qint64 written() const { return m_written; }
    QByteArray hex() const { return m_hash.result().toHex(); }

private:
    QSaveFile& m_file;
    QCryptographicHash m_hash;
    QByteArray m_buffer;
    qint64 m_written = 0;
    bool m_failed = false;
    QString m_why;
};

// A source's SHA-256 taken on a second thread while this one copies the
// samples out of the same blocks: the two hashes (source and clip) then cost
// the time of one. Blocks are filled here and handed over in turn.
class SourceHash {
public:
    static constexpr int kSlots = 4;
    SourceHash() : m_hash(QCryptographicHash::Sha256)
    {
        for (auto& slot : m_slots)
            slot.resize(std::size_t(kBlockBytes));
        m_thread = std::thread([this] { run(); });
    }
    ~SourceHash() { finish(); }
    // The next block to fill; waits while all are still being hashed.
    char* next()
    {
        std::unique_lock lock(m_mutex);
        m_wake.wait(lock, [this] { return m_given - m_hashed < kSlots; });
        return m_slots[m_given % kSlots].data();
    }
    // The block from next() holds n bytes now.
    void give(qint64 n)
    {
        {
            std::lock_guard lock(m_mutex);
            m_sizes[m_given % kSlots] = n;
            ++m_given;
        }
        m_wake.notify_all();
    }
    QByteArray hex()
    {
        finish();
        return m_hash.result().toHex();
    }

private:
    void finish()
    {
        if (!m_thread.joinable())
            return;
        {
            std::lock_guard lock(m_mutex);
            m_done = true;
        }
        m_wake.notify_all();
        m_thread.join();
    }
    void run()
    {
        for (;;) {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_hashed < m_given || m_done; });
            if (m_hashed == m_given)
                return;
            const std::size_t slot = m_hashed % kSlots;
            const qint64 n = m_sizes[slot];
            lock.unlock();
            m_hash.addData(QByteArrayView(m_slots[slot].data(), n));
            lock.lock();
            ++m_hashed;
            lock.unlock();
            m_wake.notify_all();
        }
    }

    std::vector<char> m_slots[kSlots];
    qint64 m_sizes[kSlots] = {};
    std::size_t m_given = 0, m_hashed = 0;
    bool m_done = false;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    QCryptographicHash m_hash;
    std::thread m_thread;
};

Mp4ClipWriter::Result failed(Mp4ClipWriter::Result r, const QString& why)
{
    r.status = Mp4ClipWriter::Result::Status::Failed;
    r.message = why;
    return r;
}

} // namespace

std::int64_t Mp4ClipWriter::DurationMs(const std::vector<Track>& tracks)
{
    std::uint64_t longest = 0;
    for (const Track& t : tracks)
        longest = std::max(longest, timesOf(t).movie);
    return std::int64_t(longest);
}

Mp4ClipWriter::Result Mp4ClipWriter::Write(const QString& output, const std::vector<Source>& sources,
                                           const std::vector<Track>& tracks, const std::atomic<bool>* cancel,
                                           const Progress& progress)
{
    Result result;
    result.output.path = output;
    for (const Source& s : sources)
        result.sources.push_back(FileDigest{s.path, -1, {}});
    auto cancelled = [&] { return cancel && cancel->load(); };

    // Chunks: runs of samples that follow each other in one file.
    std::vector<std::vector<Chunk>> chunks(tracks.size());
    for (std::size_t ti = 0; ti < tracks.size(); ++ti) {
        const auto& samples = tracks[ti].samples;
        for (std::size_t i = 0; i < samples.size();) {
            Chunk c{ti, i, i + 1, samples[i].source, samples[i].offset, samples[i].size,
                    std::max<std::uint32_t>(1, samples[i].frames), 0};
            if (c.source >= int(sources.size()) || (c.source < 0 && c.from + c.bytes > std::uint64_t(tracks[ti].data.size())))
                return failed(result, QStringLiteral("a sample lies outside its file"));
            std::size_t j = i + 1;
            while (j < samples.size() && samples[j].source == c.source && samples[j].offset == c.from + c.bytes) {
                c.bytes += samples[j].size;
                c.frames += std::max<std::uint32_t>(1, samples[j].frames);
                ++j;
            }
            c.end = j;
            chunks[ti].push_back(c);
            i = j;
        }
    }
    // The clip's order: samples held in memory first (the few telemetry
    // bytes), then each source's in the order they lie there.
    std::vector<Chunk*> order;
    for (auto& list : chunks)
        for (auto& c : list)
            order.push_back(&c);
    std::stable_sort(order.begin(), order.end(), [](const Chunk* a, const Chunk* b) {
        if (a->source != b->source)
            return a->source < b->source;
        return a->source >= 0 && a->from < b->from;
    });
    std::uint64_t payload = 0;
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (i && order[i]->source >= 0 && order[i]->source == order[i - 1]->source
            && order[i]->from < order[i - 1]->from + order[i - 1]->bytes)
            return failed(result, QStringLiteral("samples of %1 overlap").arg(sources[std::size_t(order[i]->source)].path));
        payload += order[i]->bytes;
    }

    const QByteArray head = ftyp();
    const bool largeOffsets = std::uint64_t(head.size()) + std::uint64_t(moovOf(tracks, chunks, true).size()) + 16
            + payload > 0xFFFFFFFFull;
    const int mdatHeader = payload + 8 > 0xFFFFFFFFull ? 16 : 8;
    const std::uint64_t dataStart = std::uint64_t(head.size() + moovOf(tracks, chunks, largeOffsets).size()) + mdatHeader;
    std::uint64_t at = dataStart;
    for (Chunk* c : order) {
        c->out = at;
        at += c->bytes;
    }
    const QByteArray moov = moovOf(tracks, chunks, largeOffsets);

    // What is read: a hashed source whole, the others only where their samples are.
    std::vector<QFile*> files;
    std::vector<std::unique_ptr<QFile>> owned;
    std::uint64_t toRead = 0;
    for (std::size_t i = 0; i < sources.size(); ++i) {
        owned.push_back(std::make_unique<QFile>(sources[i].path));
        QFile& f = *owned.back();
        if (!f.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
            return failed(result, QStringLiteral("cannot read %1: %2").arg(sources[i].path, f.errorString()));
        result.sources[i].size = f.size();
        files.push_back(&f);
        if (sources[i].hash)
            toRead += std::uint64_t(f.size());
    }
    for (const Chunk* c : order) {
        if (c->source >= 0) {
            if (c->from + c->bytes > std::uint64_t(result.sources[std::size_t(c->source)].size))
                return failed(result, QStringLiteral("%1 is shorter than its index says")
                                          .arg(sources[std::size_t(c->source)].path));
            if (!sources[std::size_t(c->source)].hash)
                toRead += c->bytes;
        }
    }

    QSaveFile file(output);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failed(result, QStringLiteral("cannot write %1: %2").arg(output, file.errorString()));
    Output out(file);
    out.append(head.constData(), head.size());
    out.append(moov.constData(), moov.size());
    {
        QByteArray h;
        if (mdatHeader == 16) {
            be(h, 1, 4);
            h += "mdat";
            be(h, payload + 16, 8);
        } else {
            be(h, payload + 8, 4);
            h += "mdat";
        }
        out.append(h.constData(), h.size());
    }

    std::uint64_t done = 0;
    auto report = [&](std::uint64_t n) {
        done += n;
        if (progress && toRead)
            progress(std::min(1.0, double(done) / double(toRead)));
    };
    auto stop = [&](Result r) {
        file.cancelWriting();
        return r;
    };
    QByteArray block(kBlockBytes, Qt::Uninitialized);
    std::size_t next = 0;
    while (next < order.size() && order[next]->source < 0) {
        const Chunk& c = *order[next++];
        out.append(tracks[c.track].data.constData() + c.from, qint64(c.bytes));
    }
    for (std::size_t si = 0; si < sources.size(); ++si) {
        QFile& f = *files[si];
        const std::size_t firstChunk = next;
        while (next < order.size() && order[next]->source == int(si))
            ++next;
        auto readAt = [&](std::uint64_t pos, qint64 n) -> bool {
            return f.seek(qint64(pos)) && f.read(block.data(), n) == n;
        };
        if (!sources[si].hash) {
            for (std::size_t k = firstChunk; k < next; ++k) {
                const Chunk& c = *order[k];
                for (std::uint64_t pos = c.from; pos < c.from + c.bytes;) {
                    if (cancelled())
                        return stop({Result::Status::Cancelled, {}, {}, {}});
                    const qint64 n = qint64(std::min<std::uint64_t>(kBlockBytes, c.from + c.bytes - pos));
                    if (!readAt(pos, n))
                        return stop(failed(result, QStringLiteral("cannot read %1: %2").arg(sources[si].path, f.errorString())));
                    out.append(block.constData(), n);
                    if (out.failed())
                        return stop(failed(result, QStringLiteral("cannot write %1: %2").arg(output, out.why())));
                    pos += std::uint64_t(n);
                    report(std::uint64_t(n));
                }
            }
            continue;
        }
        // One pass over the whole source: every byte into its hash, the
        // samples' bytes into the clip as they pass.
        SourceHash hash;
        const std::uint64_t size = std::uint64_t(result.sources[si].size);
        std::size_t k = firstChunk;
        if (!f.seek(0))
            return stop(failed(result, QStringLiteral("cannot read %1: %2").arg(sources[si].path, f.errorString())));
        for (std::uint64_t pos = 0; pos < size;) {
            if (cancelled())
                return stop({Result::Status::Cancelled, {}, {}, {}});
            const qint64 n = qint64(std::min<std::uint64_t>(kBlockBytes, size - pos));
            char* data = hash.next();
            if (f.read(data, n) != n)
                return stop(failed(result, QStringLiteral("cannot read %1: %2").arg(sources[si].path, f.errorString())));
            const std::uint64_t end = pos + std::uint64_t(n);
            while (k < next && order[k]->from < end) {
                const Chunk& c = *order[k];
                const std::uint64_t a = std::max(c.from, pos);
                const std::uint64_t b = std::min(c.from + c.bytes, end);
                out.append(data + (a - pos), qint64(b - a));
                if (c.from + c.bytes > end)
                    break;
                ++k;
            }
            if (out.failed())
                return stop(failed(result, QStringLiteral("cannot write %1: %2").arg(output, out.why())));
            hash.give(n);
            pos = end;
            report(std::uint64_t(n));
        }
        result.sources[si].sha256 = hash.hex();
    }
    if (!out.flush())
        return stop(failed(result, QStringLiteral("cannot write %1: %2").arg(output, out.why())));
    if (cancelled())
        return stop({Result::Status::Cancelled, {}, {}, {}});
    errno = 0;
    if (!file.commit())
        return failed(result, QStringLiteral("cannot write %1: %2")
                                  .arg(output, errno ? QString::fromLocal8Bit(std::strerror(errno)) : file.errorString()));
    result.output.size = out.written();
    result.output.sha256 = out.hex();
    result.status = Result::Status::Done;
    return result;
}
