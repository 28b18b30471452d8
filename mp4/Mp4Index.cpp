#include "mp4/Mp4Index.h"

#include "mp4/Mp4Bytes.h"

#include <QFile>
#include <algorithm>
#include <map>

using namespace Mp4Bytes;

namespace {
constexpr std::uint32_t fourcc(const char (&s)[5]) { return Mp4Bytes::tag(s); }

QString fourccText(std::uint32_t v)
{
    QString s;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const char c = static_cast<char>((v >> shift) & 0xFF);
        s += (c >= 0x20 && c < 0x7F) ? QChar::fromLatin1(c) : QChar(u'?');
    }
    return s;
}

bool fail(QString* error, const QString& text)
{
    if (error)
        *error = text;
    return false;
}

// Reads the descriptor length of an esds (1–4 bytes, 7 bits each).
bool descriptorLength(Span& s, std::uint32_t& length)
{
    length = 0;
    for (int i = 0; i < 4; ++i) {
        std::uint8_t b = 0;
        if (!s.u8(b))
            return false;
        length = (length << 7) | (b & 0x7F);
        if (!(b & 0x80))
            return true;
    }
    return true;
}

QByteArray audioSpecificConfig(Span esds)
{
    std::uint32_t versionFlags = 0, length = 0;
    std::uint8_t tagByte = 0;
    if (!esds.u32(versionFlags) || !esds.u8(tagByte) || tagByte != 3 || !descriptorLength(esds, length))
        return {};
    std::uint16_t esId = 0;
    std::uint8_t flags = 0;
    if (!esds.u16(esId) || !esds.u8(flags))
        return {};
    if (flags & 0x80 && !esds.skip(2))
        return {};
    if (flags & 0x40) {
        std::uint8_t urlLength = 0;
        if (!esds.u8(urlLength) || !esds.skip(urlLength))
            return {};
    }
    if (flags & 0x20 && !esds.skip(2))
        return {};
    if (!esds.u8(tagByte) || tagByte != 4 || !descriptorLength(esds, length) || !esds.skip(13))
        return {};
    if (!esds.u8(tagByte) || tagByte != 5 || !descriptorLength(esds, length) || length > esds.size)
        return {};
    return QByteArray(reinterpret_cast<const char*>(esds.data), static_cast<qsizetype>(length));
}

void readSampleEntry(Span stsd, Mp4Index::Track& t)
{
    std::uint32_t versionFlags = 0, count = 0;
    if (!stsd.u32(versionFlags) || !stsd.u32(count) || count < 1)
        return;
    Box entry;
    if (!nextBox(stsd, entry))
        return;
    t.format = entry.type;
    Span body = entry.payload;
    switch (t.format) {
    case fourcc("avc1"):
    case fourcc("avc3"):
    case fourcc("hvc1"):
    case fourcc("hev1"): {
        const bool avc = t.format == fourcc("avc1") || t.format == fourcc("avc3");
        std::uint16_t w = 0, h = 0;
        if (!body.skip(24) || !body.u16(w) || !body.u16(h) || !body.skip(50))
            return;
        t.width = w;
        t.height = h;
        Box config;
        if (!findBox(body, avc ? fourcc("avcC") : fourcc("hvcC"), config))
            return;
        t.codecConfig = config.payload.bytes();
        const std::size_t lengthByte = avc ? 4 : 21;
        if (config.payload.size <= lengthByte)
            return;
        t.nalLengthSize = (config.payload.data[lengthByte] & 3) + 1;
        t.codec = avc ? Mp4Index::Codec::H264 : Mp4Index::Codec::H265;
        return;
    }
    case fourcc("tx3g"):
    case fourcc("text"):
        t.codec = Mp4Index::Codec::Text;
        return;
    default:
        break;
    }
    std::uint16_t version = 0, channels = 0, bits = 0;
    std::uint32_t rate = 0;
    if (!body.skip(8) || !body.u16(version) || !body.skip(6) || !body.u16(channels) || !body.u16(bits) ||
        !body.skip(4) || !body.u32(rate))
        return;
    t.channels = channels;
    t.sampleRate = rate >> 16;
    if (version == 1 && !body.skip(16))
        return;
    if (version == 2) {
        // The QuickTime v2 layout carries the true rate as a double and the channel count after it.
        std::uint64_t rateBits = 0;
        std::uint32_t sizeOfStruct = 0, ch = 0;
        if (!body.u32(sizeOfStruct) || !body.u64(rateBits) || !body.u32(ch) || !body.skip(20))
            return;
        double r = 0;
        std::memcpy(&r, &rateBits, sizeof r);
        t.sampleRate = static_cast<std::uint32_t>(r);
        t.channels = static_cast<int>(ch);
    }
    if (t.format == fourcc("mp4a")) {
        Box esds, wave;
        if (findBox(body, fourcc("esds"), esds) ||
            (findBox(body, fourcc("wave"), wave) && findBox(wave.payload, fourcc("esds"), esds)))
            t.codecConfig = audioSpecificConfig(esds.payload);
        if (!t.codecConfig.isEmpty())
            t.codec = Mp4Index::Codec::Aac;
        return;
    }
    static const std::uint32_t pcm[] = {fourcc("sowt"), fourcc("twos"), fourcc("lpcm"), fourcc("ipcm"),
                                        fourcc("raw "), fourcc("in24"), fourcc("in32"), fourcc("fl32"),
                                        fourcc("fl64")};
    if (std::find(std::begin(pcm), std::end(pcm), t.format) != std::end(pcm))
        t.codec = Mp4Index::Codec::Pcm;
}

bool readSampleTables(Span stbl, Mp4Index::Track& t, QString* error)
{
    Box stts, stsz, stsc, stco, stss, ctts;
    const bool co64 = !findBox(stbl, fourcc("stco"), stco) && findBox(stbl, fourcc("co64"), stco);
    if (!findBox(stbl, fourcc("stts"), stts) || !findBox(stbl, fourcc("stsz"), stsz) ||
        !findBox(stbl, fourcc("stsc"), stsc) || !stco.payload.data)
        return fail(error, QStringLiteral("a track lacks its sample tables"));
    std::uint32_t vf = 0, n = 0;
    // stts: the most common delta is the camera's sample duration.
    Span s = stts.payload;
    std::map<std::uint32_t, std::uint64_t> deltas;
    if (s.u32(vf) && s.u32(n))
        for (std::uint32_t i = 0; i < n; ++i) {
            std::uint32_t count = 0, delta = 0;
            if (!s.u32(count) || !s.u32(delta))
                break;
            deltas[delta] += count;
            t.timeToSample.emplace_back(count, delta);
        }
    for (const auto& [delta, count] : deltas)
        if (!t.sampleDelta || count > deltas[t.sampleDelta])
            t.sampleDelta = delta;
    // stsz
    s = stsz.payload;
    std::uint32_t constant = 0, count = 0;
    if (!s.u32(vf) || !s.u32(constant) || !s.u32(count))
        return fail(error, QStringLiteral("unreadable sample sizes"));
    t.sampleCount = count;
    t.constantSize = constant;
    if (!constant) {
        if (s.size / 4 < count)
            return fail(error, QStringLiteral("unreadable sample sizes"));
        t.sizes.resize(count);
        for (auto& v : t.sizes)
            s.u32(v);
    }
    // ctts
    if (findBox(stbl, fourcc("ctts"), ctts)) {
        s = ctts.payload;
        if (s.u32(vf) && s.u32(n))
            for (std::uint32_t i = 0; i < n; ++i) {
                std::uint32_t c = 0, offset = 0;
                if (!s.u32(c) || !s.u32(offset))
                    break;
                t.reordered = t.reordered || (c && offset);
                t.compositionOffsets.emplace_back(c, static_cast<std::int32_t>(offset));
            }
    }
    // stss
    if (findBox(stbl, fourcc("stss"), stss)) {
        s = stss.payload;
        if (s.u32(vf) && s.u32(n) && s.size / 4 >= n) {
            t.syncSamples.resize(n);
            for (auto& v : t.syncSamples)
                s.u32(v);
        }
        if (t.syncSamples.empty())
            t.syncSamples.push_back(0);   // a table without entries: no sync sample at all
    }
    // Chunk offsets and the samples each chunk holds.
    s = stco.payload;
    if (!s.u32(vf) || !s.u32(n) || s.size / (co64 ? 8 : 4) < n)
        return fail(error, QStringLiteral("unreadable chunk offsets"));
    t.chunks.resize(n);
    for (auto& c : t.chunks) {
        if (co64)
            s.u64(c.offset);
        else {
            std::uint32_t o = 0;
            s.u32(o);
            c.offset = o;
        }
    }
    s = stsc.payload;
    std::uint32_t runs = 0;
    if (!s.u32(vf) || !s.u32(runs) || s.size / 12 < runs)
        return fail(error, QStringLiteral("unreadable sample-to-chunk table"));
    std::vector<std::pair<std::uint32_t, std::uint32_t>> table(runs);
    for (auto& [first, per] : table) {
        std::uint32_t sdi = 0;
        s.u32(first);
        s.u32(per);
        s.u32(sdi);
    }
    std::uint64_t sample = 0;
    for (std::size_t r = 0; r < table.size(); ++r) {
        const std::uint64_t first = table[r].first;
        const std::uint64_t last = r + 1 < table.size() ? table[r + 1].first : t.chunks.size() + 1;
        if (first < 1 || last < first)
            return fail(error, QStringLiteral("unreadable sample-to-chunk table"));
        for (std::uint64_t c = first; c < last && c <= t.chunks.size(); ++c) {
            Mp4Index::Chunk& chunk = t.chunks[c - 1];
            chunk.firstSample = static_cast<std::uint32_t>(sample);
            chunk.samples = table[r].second;
            if (sample + chunk.samples > t.sampleCount)
                return fail(error, QStringLiteral("chunks hold more samples than the track has"));
            if (t.constantSize)
                chunk.bytes = std::uint64_t(chunk.samples) * t.constantSize;
            else
                for (std::uint32_t k = 0; k < chunk.samples; ++k)
                    chunk.bytes += t.sizes[sample + k];
            sample += chunk.samples;
        }
    }
    return true;
}

bool readEdit(Span edts, Mp4Index::Track& t)
{
    Box elst;
    if (!findBox(edts, fourcc("elst"), elst))
        return false;
    Span s = elst.payload;
    std::uint32_t vf = 0, n = 0;
    if (!s.u32(vf) || !s.u32(n))
        return false;
    const bool v1 = (vf >> 24) == 1;
    for (std::uint32_t i = 0; i < n; ++i) {
        std::uint64_t duration = 0;
        std::int64_t media = 0;
        if (v1) {
            std::uint64_t m = 0;
            if (!s.u64(duration) || !s.u64(m))
                return false;
            media = static_cast<std::int64_t>(m);
        } else {
            std::uint32_t d = 0, m = 0;
            if (!s.u32(d) || !s.u32(m))
                return false;
            duration = d;
            media = static_cast<std::int32_t>(m);
        }
        if (!s.skip(4))
            return false;
        if (media < 0)
            t.editEmpty += static_cast<std::int64_t>(duration);
        else {
            t.editMediaTime = media;
            t.hasEdit = true;
            return true;
        }
    }
    t.hasEdit = t.editEmpty > 0;
    return t.hasEdit;
}
} // namespace

std::vector<Mp4Index::Track::Sample> Mp4Index::Track::samples() const
{
    std::vector<Sample> out;
    const bool pcmChunks = codec == Codec::Pcm && constantSize;
    out.reserve(pcmChunks ? chunks.size() : sampleCount);
    std::size_t sttsRun = 0, cttsRun = 0;
    std::uint32_t sttsLeft = timeToSample.empty() ? 0 : timeToSample[0].first;
    std::uint32_t cttsLeft = compositionOffsets.empty() ? 0 : compositionOffsets[0].first;
    std::int64_t time = 0;
    std::size_t nextSync = 0;
    // Advances the run tables by one sample; its delta and offset.
    auto step = [&](std::uint64_t index, std::uint32_t& delta, std::int32_t& offset, bool& key) {
        while (sttsLeft == 0 && sttsRun + 1 < timeToSample.size())
            sttsLeft = timeToSample[++sttsRun].first;
        delta = sttsRun < timeToSample.size() ? timeToSample[sttsRun].second : sampleDelta;
        if (sttsLeft)
            --sttsLeft;
        while (cttsLeft == 0 && cttsRun + 1 < compositionOffsets.size())
            cttsLeft = compositionOffsets[++cttsRun].first;
        offset = cttsLeft ? compositionOffsets[cttsRun].second : 0;
        if (cttsLeft)
            --cttsLeft;
        key = syncSamples.empty();
        while (nextSync < syncSamples.size() && syncSamples[nextSync] < index + 1)
            ++nextSync;
        if (nextSync < syncSamples.size() && syncSamples[nextSync] == index + 1)
            key = true;
    };
    for (const Chunk& chunk : chunks) {
        if (pcmChunks) {
            Sample s;
            s.offset = chunk.offset;
            s.size = static_cast<std::uint32_t>(chunk.bytes);
            s.frames = chunk.samples;
            s.decodeTime = time;
            for (std::uint32_t k = 0; k < chunk.samples; ++k) {
                std::uint32_t delta = 0;
                std::int32_t offset = 0;
                bool key = true;
                step(chunk.firstSample + k, delta, offset, key);
                s.duration += delta;
            }
            time += s.duration;
            out.push_back(s);
            continue;
        }
        std::uint64_t offset = chunk.offset;
        for (std::uint32_t k = 0; k < chunk.samples; ++k) {
            const std::uint64_t index = chunk.firstSample + k;
            Sample s;
            s.offset = offset;
            s.size = sampleSize(index);
            s.decodeTime = time;
            step(index, s.duration, s.compositionOffset, s.key);
            time += s.duration;
            offset += s.size;
            out.push_back(s);
        }
    }
    return out;
}

double Mp4Index::Track::presentationMs(std::int64_t mediaTime, std::uint32_t movieTimescale) const
{
    const double empty = movieTimescale ? double(editEmpty) * 1000.0 / movieTimescale : 0.0;
    return empty + double(mediaTime - (hasEdit ? editMediaTime : 0)) * 1000.0 / timescale;
}

QByteArray Mp4Index::Track::handlerName() const
{
    // box header, version and flags, pre_defined, handler type, three reserved words
    constexpr int kNameAt = 8 + 4 + 4 + 4 + 12;
    if (hdlr.size() <= kNameAt)
        return {};
    QByteArray name = hdlr.mid(kNameAt);
    // A QuickTime handler gives its name as a Pascal string.
    if (!name.isEmpty() && static_cast<std::uint8_t>(name[0]) == name.size() - 1)
        name = name.mid(1);
    const qsizetype end = name.indexOf('\0');
    return end >= 0 ? name.left(end) : name;
}

QString Mp4Index::Track::describe() const
{
    switch (codec) {
    case Codec::H264:
    case Codec::H265:
        return QStringLiteral("%1 %2x%3").arg(codec == Codec::H264 ? QStringLiteral("H.264") : QStringLiteral("H.265"))
            .arg(width)
            .arg(height);
    case Codec::Aac:
        return QStringLiteral("AAC %1 Hz %2 ch").arg(sampleRate).arg(channels);
    case Codec::Pcm:
        return QStringLiteral("PCM %1 Hz %2 ch").arg(sampleRate).arg(channels);
    case Codec::Text:
        return QStringLiteral("telemetry text");
    case Codec::Unknown:
        break;
    }
    return QStringLiteral("unknown '%1'").arg(fourccText(format));
}

std::optional<Mp4Index> Mp4Index::ParseMoov(const std::uint8_t* data, std::size_t size, QString* error)
{
    Mp4Index index;
    const Span moov{data, size};
    Box mvhd;
    if (!findBox(moov, fourcc("mvhd"), mvhd)) {
        fail(error, QStringLiteral("the index has no movie header"));
        return std::nullopt;
    }
    index.mvhd = mvhd.whole.bytes();
    Span m = mvhd.payload;
    std::uint32_t vf = 0;
    m.u32(vf);
    m.skip((vf >> 24) == 1 ? 16 : 8);
    m.u32(index.movieTimescale);
    Span rest = moov;
    Box trak;
    while (nextBox(rest, trak)) {
        if (trak.type != fourcc("trak"))
            continue;
        Track t;
        Box tkhd, edts, mdia, mdhd, hdlr, minf, dinf, stbl, stsd;
        if (!findBox(trak.payload, fourcc("tkhd"), tkhd) || !findBox(trak.payload, fourcc("mdia"), mdia) ||
            !findBox(mdia.payload, fourcc("mdhd"), mdhd) || !findBox(mdia.payload, fourcc("hdlr"), hdlr) ||
            !findBox(mdia.payload, fourcc("minf"), minf) || !findBox(minf.payload, fourcc("stbl"), stbl) ||
            !findBox(stbl.payload, fourcc("stsd"), stsd)) {
            fail(error, QStringLiteral("a track of the index is incomplete"));
            return std::nullopt;
        }
        t.tkhd = tkhd.whole.bytes();
        t.mdhd = mdhd.whole.bytes();
        t.hdlr = hdlr.whole.bytes();
        t.stsd = stsd.whole.bytes();
        if (findBox(minf.payload, fourcc("dinf"), dinf))
            t.dinf = dinf.whole.bytes();
        for (const char* h : {"vmhd", "smhd", "nmhd", "gmhd", "sthd"}) {
            Box header;
            if (findBox(minf.payload, tag(h), header)) {
                t.mediaHeader = header.whole.bytes();
                break;
            }
        }
        Span h = hdlr.payload;
        h.skip(8);
        h.u32(t.handler);
        Span md = mdhd.payload;
        md.u32(vf);
        md.skip((vf >> 24) == 1 ? 16 : 8);
        md.u32(t.timescale);
        if (findBox(trak.payload, fourcc("edts"), edts))
            readEdit(edts.payload, t);
        readSampleEntry(stsd.payload, t);
        if (!readSampleTables(stbl.payload, t, error))
            return std::nullopt;
        if (!t.timescale) {
            fail(error, QStringLiteral("a track has no time scale"));
            return std::nullopt;
        }
        index.tracks.push_back(std::move(t));
    }
    if (index.tracks.empty() || !index.movieTimescale) {
        fail(error, QStringLiteral("the index holds no tracks"));
        return std::nullopt;
    }
    return index;
}

std::optional<Mp4Index> Mp4Index::Read(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        fail(error, QStringLiteral("cannot open %1").arg(path));
        return std::nullopt;
    }
    const std::uint64_t fileSize = static_cast<std::uint64_t>(file.size());
    std::uint64_t pos = 0;
    QByteArray ftyp;
    while (pos + 8 <= fileSize) {
        file.seek(static_cast<qint64>(pos));
        std::uint8_t header[16] = {};
        const qint64 got = file.read(reinterpret_cast<char*>(header), 16);
        if (got < 8)
            break;
        std::uint64_t size = readBe(header, 4);
        const std::uint32_t type = static_cast<std::uint32_t>(readBe(header + 4, 4));
        std::uint64_t headerSize = 8;
        if (size == 1) {
            if (got < 16)
                break;
            size = readBe(header + 8, 8);
            headerSize = 16;
        } else if (size == 0)
            size = fileSize - pos;
        if (size < headerSize || size > fileSize - pos)
            break;
        if (type == fourcc("ftyp") && size < 4096) {
            file.seek(static_cast<qint64>(pos));
            ftyp = file.read(static_cast<qint64>(size));
        } else if (type == fourcc("moov")) {
            if (size > (1u << 30)) {
                fail(error, QStringLiteral("the index of %1 is too large").arg(path));
                return std::nullopt;
            }
            file.seek(static_cast<qint64>(pos + headerSize));
            const QByteArray moov = file.read(static_cast<qint64>(size - headerSize));
            auto index = ParseMoov(reinterpret_cast<const std::uint8_t*>(moov.constData()),
                                   static_cast<std::size_t>(moov.size()), error);
            if (index)
                index->ftyp = ftyp;
            return index;
        }
        pos += size;
    }
    fail(error, QStringLiteral("%1 has no index (moov)").arg(path));
    return std::nullopt;
}

std::optional<Mp4Index::CutLayout> Mp4Index::FindCut(const QString& path, QString* reason)
{
    auto refuse = [&](const QString& text) {
        fail(reason, text);
        return std::nullopt;
    };
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return refuse(QStringLiteral("cannot open %1").arg(path));
    CutLayout cut;
    cut.fileSize = static_cast<std::uint64_t>(file.size());
    std::uint64_t pos = 0;
    bool sawMdat = false;
    while (pos + 8 <= cut.fileSize) {
        file.seek(static_cast<qint64>(pos));
        std::uint8_t header[16] = {};
        const qint64 got = file.read(reinterpret_cast<char*>(header), 16);
        std::uint64_t size = readBe(header, 4);
        const std::uint32_t type = static_cast<std::uint32_t>(readBe(header + 4, 4));
        std::uint64_t headerSize = 8;
        if (size == 1 && got >= 16) {
            size = readBe(header + 8, 8);
            headerSize = 16;
        }
        if (pos == 0 && type != fourcc("ftyp"))
            return refuse(QStringLiteral("not an MP4 recording (no ftyp at the start)"));
        if (type == fourcc("moov"))
            return refuse(QStringLiteral("the recording has its index (moov): it is not cut"));
        if (type == fourcc("mdat")) {
            sawMdat = true;
            cut.dataStart = pos + headerSize;
            // A size of 0 or past the end: the camera never came back to finish the box.
            if (size == 0 || size > cut.fileSize - pos)
                return cut;
        } else if (type == fourcc("ftyp")) {
            if (size < 8 || size > 4096)
                return refuse(QStringLiteral("not an MP4 recording (bad ftyp)"));
            file.seek(0);
            cut.ftyp = file.read(static_cast<qint64>(size));
        } else if (sawMdat && size == 0 && type == 0) {
            return cut;   // zeros where the next box would start: the card's preallocated tail
        }
        if (size < headerSize)
            return refuse(QStringLiteral("not an MP4 recording (broken box at byte %1)").arg(pos));
        pos += size;
    }
    if (sawMdat && pos >= cut.fileSize)
        return cut;
    return refuse(QStringLiteral("not an unfinished recording (no sample data)"));
}
