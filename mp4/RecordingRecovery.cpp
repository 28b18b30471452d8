#include "mp4/RecordingRecovery.h"

#include "mp4/MdatBytes.h"
#include "mp4/MdatWalker.h"
#include "mp4/Mp4IndexWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <atomic>
#include <memory>
#include <thread>
#include <unistd.h>

namespace {
using Codec = Mp4Index::Codec;

// The first bytes of a cut file are enough to tell whether a reference fits.
constexpr std::uint64_t kTrialBytes = 16u << 20;
constexpr int kMaxCandidates = 16;

bool isVideo(Codec c) { return c == Codec::H264 || c == Codec::H265; }

bool fail(QString* error, const QString& text)
{
    if (error)
        *error = text;
    return false;
}

class CodecAudioFrames : public MdatWalker::AudioFrames {
public:
    CodecAudioFrames(const RecordingRecovery::Codecs& codecs, QByteArray config)
        : m_codecs(codecs), m_config(std::move(config))
    {
    }
    std::vector<std::uint32_t> split(const std::uint8_t* data, std::size_t size, bool exact) override
    {
        return m_codecs.aacFrames ? m_codecs.aacFrames(m_config, data, size, exact) : std::vector<std::uint32_t>{};
    }

private:
    const RecordingRecovery::Codecs& m_codecs;
    QByteArray m_config;
};

QString trackName(const Mp4Index& index, std::size_t i)
{
    return QStringLiteral("track %1 (%2)").arg(i + 1).arg(index.tracks[i].describe());
}

QString trackList(const Mp4Index& index)
{
    QStringList names;
    for (const auto& t : index.tracks)
        names << t.describe();
    return names.join(QStringLiteral(", "));
}

// Why recovery cannot work from this reference's layout; empty when it can.
QString layoutProblem(const Mp4Index& index)
{
    int audio = 0, text = 0;
    for (std::size_t i = 0; i < index.tracks.size(); ++i) {
        const Mp4Index::Track& t = index.tracks[i];
        if (t.codec == Codec::Unknown)
            return QStringLiteral("its %1 is of a kind recovery does not know").arg(trackName(index, i));
        if (isVideo(t.codec) && (t.nalLengthSize < 1 || t.nalLengthSize > 4))
            return QStringLiteral("its %1 has an unusable NAL length size").arg(trackName(index, i));
        if (isVideo(t.codec) && t.reordered)
            return QStringLiteral("its %1 stores pictures out of display order (B-frames)").arg(trackName(index, i));
        if (t.codec == Codec::Pcm && !t.constantSize)
            return QStringLiteral("its %1 has no constant frame size").arg(trackName(index, i));
        if (t.codec != Codec::Text && !t.sampleDelta)
            return QStringLiteral("its %1 has no sample duration").arg(trackName(index, i));
        audio += t.codec == Codec::Aac || t.codec == Codec::Pcm;
        text += t.codec == Codec::Text;
    }
    if (audio > 1)
        return QStringLiteral("it has more than one sound track");
    if (text > 1)
        return QStringLiteral("it has more than one telemetry track");
    return {};
}

struct WalkPlan {
    std::vector<MdatWalker::Track> tracks;
    std::vector<int> videoOrder;
    std::uint64_t maxAudioRun = 0;
    std::uint32_t maxPicture = 0;
    std::uint32_t largestSample = 0;   // as the reference stores them
};

WalkPlan planFor(const Mp4Index& index)
{
    WalkPlan plan;
    struct Placed {
        std::uint64_t offset;
        int track;
        std::uint64_t bytes;
    };
    std::vector<Placed> chunks, pictures;
    for (std::size_t i = 0; i < index.tracks.size(); ++i) {
        const Mp4Index::Track& t = index.tracks[i];
        MdatWalker::Track w;
        w.codec = t.codec;
        w.nalLengthSize = t.nalLengthSize;
        if (t.codec == Codec::H264)
            w.log2MaxFrameNum = MdatWalker::h264Log2MaxFrameNum(t.codecConfig);
        w.sampleSeconds = static_cast<double>(t.sampleDelta) / t.timescale;
        if (t.hasEdit)
            w.startSeconds = -static_cast<double>(t.editMediaTime) / t.timescale;
        std::uint32_t largest = t.constantSize, smallest = t.constantSize;
        if (!t.constantSize && !t.sizes.empty()) {
            largest = *std::max_element(t.sizes.begin(), t.sizes.end());
            smallest = *std::min_element(t.sizes.begin(), t.sizes.end());
        }
        if (t.codec == Codec::Pcm)
            w.pcmFrameBytes = t.constantSize;
        else
            plan.largestSample = std::max(plan.largestSample, largest);
        if (isVideo(t.codec)) {
            // Pictures of a busier scene are larger; a bound keeps sound bytes
            // from passing as a NAL length.
            w.maxSampleBytes = std::max<std::uint32_t>(std::min<std::uint64_t>(std::uint64_t(largest) * 4, 1u << 30),
                                                       2u << 20);
            plan.maxPicture = std::max(plan.maxPicture, w.maxSampleBytes);
        } else if (t.codec == Codec::Aac) {
            w.maxSampleBytes = std::max<std::uint32_t>(largest * 2, 64);
            w.minSampleBytes = smallest / 2;
        } else if (t.codec == Codec::Text) {
            w.maxSampleBytes = largest;
        }
        plan.tracks.push_back(w);
        for (const auto& c : t.chunks) {
            chunks.push_back({c.offset, static_cast<int>(i), c.bytes});
            if (isVideo(t.codec)) {
                std::uint64_t at = c.offset;
                for (std::uint32_t k = 0; k < c.samples && pictures.size() < 200000; ++k) {
                    pictures.push_back({at, static_cast<int>(i), 0});
                    at += t.sampleSize(c.firstSample + k);
                }
            }
        }
    }
    std::sort(pictures.begin(), pictures.end(), [](const Placed& a, const Placed& b) { return a.offset < b.offset; });
    for (const auto& p : pictures)
        plan.videoOrder.push_back(p.track);
    // The longest stretch of sound the camera writes between other samples.
    std::sort(chunks.begin(), chunks.end(), [](const Placed& a, const Placed& b) { return a.offset < b.offset; });
    std::uint64_t run = 0, runEnd = 0;
    for (const auto& c : chunks) {
        const Codec codec = index.tracks[c.track].codec;
        if (codec == Codec::Aac || codec == Codec::Pcm) {
            run = (run && c.offset == runEnd) ? run + c.bytes : c.bytes;
            runEnd = c.offset + c.bytes;
            plan.maxAudioRun = std::max(plan.maxAudioRun, run);
        } else {
            run = 0;
        }
    }
    plan.maxAudioRun = plan.maxAudioRun * 2 + 16384;
    return plan;
}

QByteArray audioConfig(const Mp4Index& index)
{
    for (const auto& t : index.tracks)
        if (t.codec == Codec::Aac)
            return t.codecConfig;
    return {};
}

bool isRecordingName(const QString& name) { return name.endsWith(QLatin1String(".mp4"), Qt::CaseInsensitive); }

// Candidates ordered by how near their names are to the cut file's name.
QStringList nearestByName(const QStringList& paths, const QString& cutName)
{
    struct Named {
        QString name, path;
    };
    std::vector<Named> all;
    for (const auto& p : paths)
        all.push_back({QFileInfo(p).fileName(), p});
    std::sort(all.begin(), all.end(), [](const Named& a, const Named& b) { return a.name < b.name; });
    const auto at = std::lower_bound(all.begin(), all.end(), cutName,
                                     [](const Named& a, const QString& n) { return a.name < n; });
    std::ptrdiff_t before = (at - all.begin()) - 1, after = at - all.begin();
    QStringList out;
    while (before >= 0 || after < static_cast<std::ptrdiff_t>(all.size())) {
        if (before >= 0)
            out << all[static_cast<std::size_t>(before--)].path;
        if (after < static_cast<std::ptrdiff_t>(all.size()))
            out << all[static_cast<std::size_t>(after++)].path;
    }
    return out;
}

QStringList recordingsIn(const QDir& dir, const QString& except)
{
    QStringList out;
    for (const QFileInfo& f : dir.entryInfoList(QDir::Files | QDir::Readable, QDir::Name))
        if (isRecordingName(f.fileName()) && f.absoluteFilePath() != except)
            out << f.absoluteFilePath();
    return out;
}

// The cut file, open for reading. Its samples are read where a walk looks
// (their headers), and copied from file to file by the kernel: the pictures
// themselves never pass through this process.
struct CutFile {
    QFile file;
    Mp4Index::CutLayout layout;

    bool open(const QString& path, QString* error)
    {
        auto layoutFound = Mp4Index::FindCut(path, error);
        if (!layoutFound)
            return false;
        layout = *layoutFound;
        file.setFileName(path);
        if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
            return fail(error, QStringLiteral("cannot open %1").arg(path));
        if (layout.fileSize <= layout.dataStart)
            return fail(error, QStringLiteral("the recording holds no sample data"));
        return true;
    }
    std::size_t sampleBytes() const { return static_cast<std::size_t>(layout.fileSize - layout.dataStart); }
    // The first n bytes of the sample data.
    std::unique_ptr<MdatBytes> samples(std::size_t n)
    {
        return std::make_unique<MdatBytes>(file.handle(), layout.dataStart, std::min(n, sampleBytes()));
    }
};

// The reference's tracks against the cut data; an empty string when they fit.
// A key picture of a video track, read from the cut file.
struct KeyPicture {
    std::size_t track = 0;
    std::vector<std::uint8_t> bytes;
};

// The reference's tracks against the cut data as a walk over its start sees
// them; an empty string when they fit. keys: the first key picture of each
// video track, to decode.
QString walkMismatch(const Mp4Index& reference, CutFile& cut, const RecordingRecovery::Codecs& codecs,
                     std::vector<KeyPicture>& keys)
{
    if (QString problem = layoutProblem(reference); !problem.isEmpty())
        return problem;
    const WalkPlan plan = planFor(reference);
    CodecAudioFrames audio(codecs, audioConfig(reference));
    MdatWalker walker(plan.tracks, plan.videoOrder, plan.maxAudioRun, &audio);
    const std::size_t trial = static_cast<std::size_t>(std::min<std::uint64_t>(cut.sampleBytes(), kTrialBytes));
    const std::unique_ptr<MdatBytes> bytes = cut.samples(trial);
    const MdatWalker::Result r = walker.walk(*bytes, cut.layout.dataStart);
    if (bytes->failed())
        return QStringLiteral("the cut recording cannot be read");
    std::size_t found = 0;
    for (const auto& s : r.samples)
        found += s.size();
    if (!found)
        return QStringLiteral("the cut recording's data does not begin with a sample of its tracks (%1)")
            .arg(trackList(reference));
    // The walk stops short of the data's end only by a sample the cut (or
    // the end of the trial) crossed, and the zeros after a cut.
    const std::size_t dataEnd = trial == cut.sampleBytes() ? bytes->trimZeros(0, trial) : trial;
    const std::uint64_t slack = trial < cut.sampleBytes() ? plan.maxAudioRun + plan.maxPicture + 65536
                                                          : plan.maxAudioRun + 2ull * plan.largestSample + 4096;
    if (r.end + slack < cut.layout.dataStart + dataEnd)
        return QStringLiteral("its tracks (%1) do not account for the cut recording's data from byte %2 on")
            .arg(trackList(reference))
            .arg(r.end);
    keys.clear();
    for (std::size_t i = 0; i < reference.tracks.size(); ++i) {
        if (!isVideo(reference.tracks[i].codec) || !codecs.decodesPicture)
            continue;
        const auto key = std::find_if(r.samples[i].begin(), r.samples[i].end(),
                                      [](const MdatWalker::Sample& s) { return s.key; });
        if (key == r.samples[i].end())
            continue;
        KeyPicture picture{i, std::vector<std::uint8_t>(key->size)};
        if (::pread(cut.file.handle(), picture.bytes.data(), key->size, static_cast<off_t>(key->offset))
            != static_cast<ssize_t>(key->size))
            return QStringLiteral("the cut recording cannot be read");
        keys.push_back(std::move(picture));
    }
    return {};
}

// Whether the reference's sample descriptions decode the key pictures; an
// empty string when they do.
QString decodeMismatch(const Mp4Index& reference, const std::vector<KeyPicture>& keys,
                       const RecordingRecovery::Codecs& codecs)
{
    for (const KeyPicture& key : keys) {
        const Mp4Index::Track& t = reference.tracks[key.track];
        QString why;
        if (!codecs.decodesPicture(t.codec == Codec::H265, t.codecConfig, key.bytes.data(), key.bytes.size(), &why))
            return QStringLiteral("its %1 does not decode the cut recording's pictures: %2")
                .arg(trackName(reference, key.track), why);
    }
    return {};
}

QString mismatch(const Mp4Index& reference, CutFile& cut, const RecordingRecovery::Codecs& codecs)
{
    std::vector<KeyPicture> keys;
    QString why = walkMismatch(reference, cut, codecs, keys);
    return why.isEmpty() ? decodeMismatch(reference, keys, codecs) : why;
}

// Opens the cut file and reads the reference's index; false and the reason when either fails.
bool openBoth(const QString& cutPath, const QString& referencePath, CutFile& cut, std::optional<Mp4Index>& reference,
              QString* reason)
{
    if (!cut.open(cutPath, reason))
        return false;
    QString why;
    reference = Mp4Index::Read(referencePath, &why);
    if (!reference)
        return fail(reason, QStringLiteral("the reference %1 cannot be used: %2").arg(referencePath, why));
    return true;
}

bool doesNotFit(const QString& referencePath, const QString& why, QString* reason)
{
    return fail(reason, QStringLiteral("the reference %1 does not fit: %2").arg(referencePath, why));
}
} // namespace

RecordingRecovery::RecordingRecovery(Codecs codecs) : m_codecs(std::move(codecs)) {}

bool RecordingRecovery::IsCut(const QString& path) { return Mp4Index::FindCut(path).has_value(); }

bool RecordingRecovery::CheckReference(const QString& cutPath, const QString& referencePath, QString* reason)
{
    CutFile cut;
    std::optional<Mp4Index> reference;
    if (!openBoth(cutPath, referencePath, cut, reference, reason))
        return false;
    const QString why = mismatch(*reference, cut, m_codecs);
    return why.isEmpty() || doesNotFit(referencePath, why, reason);
}

QString RecordingRecovery::FindReference(const QString& cutPath, const QString& cardRoot, QString* reason)
{
    const QFileInfo cutInfo(cutPath);
    const QString cutFull = cutInfo.absoluteFilePath();
    QStringList candidates = nearestByName(recordingsIn(cutInfo.absoluteDir(), cutFull), cutInfo.fileName());
    if (!cardRoot.isEmpty()) {
        // The camera keeps its recordings in category folders with a folder per
        // day below them ("EVENT/20261209/…"): the card is searched that deep.
        QStringList elsewhere;
        QStringList level{QDir(cardRoot).absolutePath()};
        for (int depth = 0; depth <= 2 && !level.isEmpty(); ++depth) {
            QStringList below;
            for (const QString& dir : level) {
                if (dir != cutInfo.absolutePath())
                    elsewhere += recordingsIn(QDir(dir), cutFull);
                for (const QFileInfo& d : QDir(dir).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
                    below << d.absoluteFilePath();
            }
            level = below;
        }
        candidates += nearestByName(elsewhere, cutInfo.fileName());
    }
    QString firstReason;
    int tried = 0;
    for (const QString& candidate : candidates) {
        if (tried >= kMaxCandidates)
            break;
        if (IsCut(candidate))
            continue;
        ++tried;
        QString why;
        if (CheckReference(cutPath, candidate, &why))
            return candidate;
        if (firstReason.isEmpty())
            firstReason = why;
    }
    fail(reason, firstReason.isEmpty() ? QStringLiteral("no finished recording lies beside it or on the card")
                                       : QStringLiteral("no finished recording fits; nearest: %1").arg(firstReason));
    return {};
}

std::optional<RecordingRecovery::Summary> RecordingRecovery::Recover(const QString& cutPath,
                                                                     const QString& referencePath,
                                                                     const QString& outPath, const Progress& progress,
                                                                     QString* error)
{
    const QString outFull = QFileInfo(outPath).absoluteFilePath();
    if (outFull == QFileInfo(cutPath).absoluteFilePath() || outFull == QFileInfo(referencePath).absoluteFilePath()) {
        fail(error, QStringLiteral("the recovered recording must go to a new file"));
        return std::nullopt;
    }
    CutFile cut;
    std::optional<Mp4Index> reference;
    if (!openBoth(cutPath, referencePath, cut, reference, error))
        return std::nullopt;
    std::vector<KeyPicture> keys;
    if (const QString why = walkMismatch(*reference, cut, m_codecs, keys); !why.isEmpty()) {
        doesNotFit(referencePath, why, error);
        return std::nullopt;
    }
    // Decoding a key picture of each camera takes about as long as reading
    // the whole recording: it runs on a thread of its own while the data is
    // walked and copied, and the new file is kept only when they decode.
    QString decodeProblem;
    std::atomic<bool> decoded = false;
    std::jthread decoding([&] {
        decodeProblem = decodeMismatch(*reference, keys, m_codecs);
        decoded = true;
    });
    const std::uint64_t walkBytes = cut.sampleBytes();
    // Walking and writing each take about one pass over the data.
    const std::uint64_t total = walkBytes * 2;
    const WalkPlan plan = planFor(*reference);
    CodecAudioFrames audio(m_codecs, audioConfig(*reference));
    MdatWalker walker(plan.tracks, plan.videoOrder, plan.maxAudioRun, &audio);
    const std::unique_ptr<MdatBytes> bytes = cut.samples(cut.sampleBytes());
    const MdatWalker::Result walked = walker.walk(
        *bytes, cut.layout.dataStart,
        [&](std::uint64_t done, std::uint64_t) { return !progress || progress(done - cut.layout.dataStart, total); });
    if (walked.cancelled || (progress && !progress(walkBytes, total))) {
        fail(error, QStringLiteral("cancelled"));
        return std::nullopt;
    }
    if (bytes->failed()) {
        fail(error, QStringLiteral("cannot read %1").arg(cutPath));
        return std::nullopt;
    }
    std::size_t found = 0;
    for (const auto& s : walked.samples)
        found += s.size();
    if (!found) {
        fail(error, QStringLiteral("no sample could be recovered"));
        return std::nullopt;
    }

    Mp4IndexWriter index(*reference, walked.samples);
    const QByteArray ftyp = cut.layout.ftyp.isEmpty() ? reference->ftyp : cut.layout.ftyp;
    const std::uint64_t dataBytes = walked.end - cut.layout.dataStart;
    const std::uint64_t mdatPayload = dataBytes + (index.needsEmptySample() ? 2 : 0);
    const std::uint64_t probeMoov = static_cast<std::uint64_t>(index.moov(0, 0, 0, false).size());
    const bool large = ftyp.size() + probeMoov + 16 + mdatPayload > 0xFFFFFFFFull;
    const std::uint64_t mdatHeader = mdatPayload + 8 > 0xFFFFFFFFull ? 16 : 8;
    const std::uint64_t moovSize = static_cast<std::uint64_t>(index.moov(0, 0, 0, large).size());
    const std::uint64_t newDataStart = static_cast<std::uint64_t>(ftyp.size()) + moovSize + mdatHeader;
    const QByteArray moov = index.moov(cut.layout.dataStart, newDataStart, newDataStart + dataBytes, large);

    QSaveFile out(outPath);
    if (!out.open(QIODevice::WriteOnly)) {
        fail(error, QStringLiteral("cannot create %1: %2").arg(outPath, out.errorString()));
        return std::nullopt;
    }
    QByteArray header;
    if (mdatHeader == 16) {
        header.append("\0\0\0\1mdat", 8);
        for (int i = 7; i >= 0; --i)
            header.append(static_cast<char>(((mdatPayload + 16) >> (8 * i)) & 0xFF));
    } else {
        for (int i = 3; i >= 0; --i)
            header.append(static_cast<char>(((mdatPayload + 8) >> (8 * i)) & 0xFF));
        header.append("mdat", 4);
    }
    bool ok = out.write(ftyp) == ftyp.size() && out.write(moov) == moov.size() && out.write(header) == header.size();
    constexpr std::uint64_t kBlock = 8u << 20;
    std::vector<std::uint8_t> fallback;
    for (std::uint64_t done = 0; ok && done < dataBytes && !(decoded && !decodeProblem.isEmpty()); done += kBlock) {
        const std::uint64_t n = std::min(kBlock, dataBytes - done);
        ok = out.flush();
        // The kernel copies the sample data from file to file; plain writes
        // where it cannot (another file system, an old kernel).
        loff_t from = static_cast<loff_t>(cut.layout.dataStart + done);
        std::uint64_t copied = 0;
        while (copied < n) {
            const ssize_t r = ::copy_file_range(cut.file.handle(), &from, out.handle(), nullptr, n - copied, 0);
            if (r <= 0)
                break;
            copied += static_cast<std::uint64_t>(r);
        }
        if (copied)
            ok = out.seek(out.pos() + static_cast<qint64>(copied));
        if (ok && copied < n) {
            if (fallback.empty())
                fallback.resize(kBlock);
            const std::size_t rest = static_cast<std::size_t>(n - copied);
            ok = ::pread(cut.file.handle(), fallback.data(), rest, static_cast<off_t>(from))
                     == static_cast<ssize_t>(rest)
                 && out.write(reinterpret_cast<const char*>(fallback.data()), static_cast<qint64>(rest))
                        == static_cast<qint64>(rest);
        }
        if (ok && progress && !progress(walkBytes + done + n, total)) {
            out.cancelWriting();
            fail(error, QStringLiteral("cancelled"));
            return std::nullopt;
        }
    }
    if (ok && index.needsEmptySample())
        ok = out.write("\0\0", 2) == 2;
    decoding.join();
    if (!decodeProblem.isEmpty()) {
        out.cancelWriting();
        doesNotFit(referencePath, decodeProblem, error);
        return std::nullopt;
    }
    if (!ok || !out.commit()) {
        fail(error, QStringLiteral("cannot write %1: %2").arg(outPath, out.errorString()));
        return std::nullopt;
    }

    Summary summary;
    summary.reference = referencePath;
    summary.bytesRecovered = 0;
    const auto timings = index.timings();
    for (std::size_t i = 0; i < reference->tracks.size(); ++i) {
        const Mp4Index::Track& t = reference->tracks[i];
        TrackSummary s;
        s.kind = isVideo(t.codec) ? QStringLiteral("video")
                 : t.codec == Codec::Text ? QStringLiteral("telemetry")
                                          : QStringLiteral("audio");
        s.codec = t.describe();
        s.samples = timings[i].samples;
        s.durationMs = timings[i].durationMs;
        summary.tracks.push_back(s);
        for (const auto& sample : walked.samples[i])
            if (!sample.empty)
                summary.bytesRecovered += sample.size;
    }
    summary.bytesSkipped = walkBytes - std::min<std::uint64_t>(walkBytes, summary.bytesRecovered);
    return summary;
}
