#include "incident/IncidentClipPlan.h"

#include "mp4/Mp4Bytes.h"
#include "mp4/Mp4Index.h"
#include "telemetry/CammWriter.h"

#include <algorithm>
#include <cmath>

namespace {

using Sample = Mp4Index::Track::Sample;

bool isVideo(const Mp4Index::Track& t)
{
    return t.codec == Mp4Index::Codec::H264 || t.codec == Mp4Index::Codec::H265;
}

// The camera's telemetry track: timed text named "Telemetry", else the only timed text.
int telemetryTrack(const Mp4Index& index)
{
    int text = -1;
    for (std::size_t i = 0; i < index.tracks.size(); ++i) {
        if (index.tracks[i].codec != Mp4Index::Codec::Text)
            continue;
        if (index.tracks[i].handlerName() == "Telemetry")
            return int(i);
        if (text < 0)
            text = int(i);
    }
    return text;
}

struct Timed {
    const Mp4Index::Track* track = nullptr;
    std::vector<Sample> samples;
    std::uint32_t movieTimescale = 0;
    double shownMs(std::size_t i) const
    {
        return track->presentationMs(samples[i].decodeTime + samples[i].compositionOffset, movieTimescale);
    }
    double endMs() const
    {
        if (samples.empty())
            return 0;
        const Sample& last = samples.back();
        return track->presentationMs(last.decodeTime + last.duration, movieTimescale);
    }
};

Mp4ClipWriter::Track copied(const Timed& t, int source, std::size_t first, std::size_t end, double originMs,
                            double clipEndMs)
{
    const Mp4Index::Track& from = *t.track;
    Mp4ClipWriter::Track out;
    out.tkhd = from.tkhd;
    out.hdlr = from.hdlr;
    out.mediaHeader = from.mediaHeader;
    out.stsd = from.stsd;
    out.timescale = from.timescale;
    out.video = isVideo(from);
    if (from.codec == Mp4Index::Codec::Pcm)
        out.constantSize = from.constantSize;
    double firstShown = clipEndMs;
    for (std::size_t i = first; i < end; ++i) {
        const Sample& s = t.samples[i];
        firstShown = std::min(firstShown, t.shownMs(i));
        out.samples.push_back({source, s.offset, s.size, s.frames, s.duration, s.compositionOffset, s.key});
    }
    out.startMs = end > first ? std::max<std::int64_t>(0, std::llround(firstShown - originMs)) : 0;
    return out;
}

// The telemetry lines shown in [originMs, endMs): copied as stored, each
// lasting until the next, the last until the clip ends; an empty line covers
// the clip's start before the first.
Mp4ClipWriter::Track telemetryOf(const Timed& t, int source, double originMs, double endMs)
{
    std::size_t first = 0;
    while (first < t.samples.size() && t.shownMs(first) < originMs - 0.5)
        ++first;
    std::size_t end = first;
    while (end < t.samples.size() && t.shownMs(end) < endMs - 0.5)
        ++end;
    Mp4ClipWriter::Track out = copied(t, source, first, end, originMs, endMs);
    const double ts = t.track->timescale;
    if (!out.samples.empty()) {
        const double lastMs = t.shownMs(end - 1);
        out.samples.back().duration = std::uint32_t(std::max(1.0, std::round((endMs - lastMs) * ts / 1000.0)));
        if (out.startMs > 0) {
            out.data = QByteArray(2, '\0');
            const Mp4ClipWriter::Sample empty{-1, 0, 2, 1, std::uint32_t(std::llround(double(out.startMs) * ts / 1000.0)),
                                              0, true};
            out.samples.insert(out.samples.begin(), empty);
            out.startMs = 0;
        }
    }
    return out;
}

std::optional<Mp4Index> readIndex(const QString& path, QString* error)
{
    QString why;
    auto index = Mp4Index::Read(path, &why);
    if (!index && error)
        *error = why;
    return index;
}

bool refuse(QString* error, const QString& why)
{
    if (error)
        *error = why;
    return false;
}

} // namespace

std::optional<IncidentClipPlan> IncidentClipPlan::Copy(const QString& source, std::uint32_t fromMs, std::uint32_t toMs,
                                                       QString* error)
{
    const auto index = readIndex(source, error);
    if (!index)
        return std::nullopt;
    const int text = telemetryTrack(*index);
    std::vector<Timed> timed;
    for (const auto& t : index->tracks)
        timed.push_back({&t, t.samples(), index->movieTimescale});

    // Each picture track from its last key picture at or before the start to
    // its first key picture at or after the end.
    struct Cut {
        std::size_t first = 0, end = 0;
    };
    std::vector<Cut> cuts(timed.size());
    double origin = -1, end = -1;
    for (std::size_t i = 0; i < timed.size(); ++i) {
        const Timed& t = timed[i];
        if (!isVideo(*t.track) || t.samples.empty())
            continue;
        std::optional<std::size_t> first;
        for (std::size_t k = 0; k < t.samples.size(); ++k) {
            if (!t.samples[k].key)
                continue;
            if (!first || t.shownMs(k) <= fromMs)
                first = k;
            if (t.shownMs(k) > fromMs)
                break;
        }
        if (!first) {
            refuse(error, QStringLiteral("the recording's picture has no key picture"));
            return std::nullopt;
        }
        std::size_t last = *first + 1;
        while (last < t.samples.size() && !(t.samples[last].key && t.shownMs(last) >= toMs))
            ++last;
        cuts[i] = {*first, last};
        const double startMs = t.shownMs(*first);
        const double endMs = last < t.samples.size() ? t.shownMs(last) : t.endMs();
        origin = origin < 0 ? startMs : std::min(origin, startMs);
        end = std::max(end, endMs);
    }
    if (origin < 0) {
        refuse(error, QStringLiteral("the recording has no picture"));
        return std::nullopt;
    }
    if (fromMs >= std::uint32_t(std::max(0.0, end))) {
        refuse(error, QStringLiteral("the range starts after the recording ends"));
        return std::nullopt;
    }

    IncidentClipPlan plan;
    plan.sources.push_back({source, true});
    plan.fromMs = std::uint32_t(std::llround(origin));
    plan.toMs = std::uint32_t(std::llround(end));
    for (std::size_t i = 0; i < timed.size(); ++i) {
        const Timed& t = timed[i];
        if (t.track->format == Mp4Bytes::tag("camm"))
            continue;   // written anew from the telemetry
        if (int(i) == text) {
            plan.tracks.push_back(telemetryOf(t, 0, origin, end));
            continue;
        }
        if (isVideo(*t.track)) {
            plan.tracks.push_back(copied(t, 0, cuts[i].first, cuts[i].end, origin, end));
            ++plan.pictures;
            continue;
        }
        // Sound and anything else: what starts within the range.
        std::size_t first = 0;
        while (first < t.samples.size() && t.shownMs(first) < origin - 0.5)
            ++first;
        std::size_t last = first;
        while (last < t.samples.size() && t.shownMs(last) < end - 0.5)
            ++last;
        if (last == first)
            continue;
        plan.tracks.push_back(copied(t, 0, first, last, origin, end));
        plan.sound = plan.sound || t.track->handler == Mp4Bytes::tag("soun");
    }
    return plan;
}

std::optional<IncidentClipPlan> IncidentClipPlan::Remux(const QString& encoded, const QString& source,
                                                        std::uint32_t fromMs, std::uint32_t toMs, QString* error)
{
    const auto clip = readIndex(encoded, error);
    if (!clip)
        return std::nullopt;
    const auto recording = readIndex(source, error);
    if (!recording)
        return std::nullopt;
    IncidentClipPlan plan;
    plan.sources = {{encoded, false}, {source, true}};
    plan.fromMs = fromMs;
    plan.toMs = toMs;
    for (const auto& t : clip->tracks) {
        const Timed timed{&t, t.samples(), clip->movieTimescale};
        plan.tracks.push_back(copied(timed, 0, 0, timed.samples.size(), 0, timed.endMs()));
        plan.pictures += isVideo(t) ? 1 : 0;
        plan.sound = plan.sound || t.handler == Mp4Bytes::tag("soun");
    }
    if (const int text = telemetryTrack(*recording); text >= 0) {
        const Mp4Index::Track& t = recording->tracks[std::size_t(text)];
        const Timed timed{&t, t.samples(), recording->movieTimescale};
        plan.tracks.push_back(telemetryOf(timed, 1, fromMs, toMs));
    }
    return plan;
}

void IncidentClipPlan::AddCamm(const RecordingTelemetry& telemetry)
{
    const std::vector<CammWriter::Packet> packets = CammWriter::Packets(telemetry, fromMs, toMs);
    if (packets.empty())
        return;
    Mp4ClipWriter::Track t;
    t.hdlr = CammWriter::Handler();
    t.stsd = CammWriter::SampleDescription();
    t.timescale = 1000;
    t.startMs = packets.front().ms;
    const std::uint32_t clipMs = toMs - fromMs;
    for (std::size_t i = 0; i < packets.size(); ++i) {
        const std::uint32_t next = i + 1 < packets.size() ? packets[i + 1].ms : std::max(clipMs, packets[i].ms + 1);
        t.samples.push_back({-1, std::uint64_t(t.data.size()), std::uint32_t(packets[i].bytes.size()), 1,
                             next - packets[i].ms, 0, true});
        t.data += packets[i].bytes;
    }
    tracks.push_back(std::move(t));
}
