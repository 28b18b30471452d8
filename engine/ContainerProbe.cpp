#include "engine/ContainerProbe.h"

#include "engine/MediaHandles.h"

extern "C" {
#include <libavformat/avformat.h>
}

#include <memory>

namespace {
bool isPcm(AVCodecID id) { return id >= AV_CODEC_ID_FIRST_AUDIO && id < AV_CODEC_ID_ADPCM_IMA_QT; }
} // namespace

int ContainerProbe::videoPinCount() const
{
    int n = 0;
    for (const auto& t : tracks)
        n += t.kind == Kind::Video;
    return n;
}

int ContainerProbe::audioPinValue() const
{
    int v = 0;
    for (const auto& t : tracks)
        if (t.kind == Kind::Audio)
            v += t.pcm ? 1001 : 1;
    return v;
}

QSize ContainerProbe::videoSize(int index) const
{
    int n = 0;
    for (const auto& t : tracks)
        if (t.kind == Kind::Video && n++ == index)
            return t.size;
    return {};
}

std::optional<ContainerProbe> ContainerProbe::Read(const QString& path, QString* error)
{
    AVFormatContext* raw = nullptr;
    const QByteArray local = path.toUtf8();
    const int r = avformat_open_input(&raw, local.constData(), av_find_input_format("mov"), nullptr);
    if (r < 0) {
        char text[AV_ERROR_MAX_STRING_SIZE] = {};
        av_strerror(r, text, sizeof text);
        if (error)
            *error = QStringLiteral("not a readable MP4 file (%1)").arg(QString::fromUtf8(text));
        return std::nullopt;
    }
    AVFormatContextPtr format(raw);
    ContainerProbe probe;
    for (unsigned i = 0; i < raw->nb_streams; ++i) {
        const AVCodecParameters* par = raw->streams[i]->codecpar;
        Track t;
        switch (par->codec_type) {
        case AVMEDIA_TYPE_VIDEO:
            t.kind = Kind::Video;
            t.size = QSize(par->width, par->height);
            break;
        case AVMEDIA_TYPE_AUDIO:
            t.kind = Kind::Audio;
            t.pcm = isPcm(par->codec_id);
            break;
        case AVMEDIA_TYPE_SUBTITLE:
            t.kind = Kind::Text;
            break;
        default:
            break;
        }
        probe.tracks.push_back(t);
    }
    if (raw->duration > 0)
        probe.durationUnits = av_rescale(raw->duration, 10000000, AV_TIME_BASE);
    // An index with no samples at all is what a camera leaves when it was cut
    // off right after writing the header.
    bool anySamples = false;
    for (unsigned i = 0; i < raw->nb_streams; ++i)
        anySamples = anySamples || raw->streams[i]->nb_frames > 0 || raw->streams[i]->duration > 0;
    if (!anySamples) {
        if (error)
            *error = QStringLiteral("the file holds no samples");
        return std::nullopt;
    }
    return probe;
}
