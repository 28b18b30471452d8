#include "engine/TelemetryFileSource.h"

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
}

#include "base/LogCategories.h"
#include <algorithm>
#include <cstring>


namespace {
bool isTelemetryHandler(const AVStream* st)
{
    const AVDictionaryEntry* e = av_dict_get(st->metadata, "handler_name", nullptr, 0);
    return e && std::strcmp(e->value, "Telemetry") == 0;
}
} // namespace

std::unique_ptr<TelemetryFileSource> TelemetryFileSource::Open(const QString& path, QString* error)
{
    auto fail = [&](const QString& reason) -> std::unique_ptr<TelemetryFileSource> {
        if (error)
            *error = reason;
        return nullptr;
    };
    const AVInputFormat* mp4 = av_find_input_format("mov");
    AVFormatContext* raw = nullptr;
    const QByteArray local = path.toUtf8();
    const int r = avformat_open_input(&raw, local.constData(), mp4, nullptr);
    if (r < 0) {
        char text[AV_ERROR_MAX_STRING_SIZE] = {};
        av_strerror(r, text, sizeof text);
        return fail(QStringLiteral("cannot open %1 as MP4: %2").arg(path, QString::fromUtf8(text)));
    }
    std::unique_ptr<TelemetryFileSource> source(new TelemetryFileSource);
    source->m_format.reset(raw);
    source->m_packet.reset(av_packet_alloc());
    if (!source->m_packet)
        return fail(QStringLiteral("out of memory"));

    // The camera names its track; a timed-text track of another name is taken
    // only when no track carries the name.
    int fallback = -1;
    for (unsigned i = 0; i < raw->nb_streams; ++i) {
        AVStream* st = raw->streams[i];
        st->discard = AVDISCARD_ALL;
        if (st->codecpar->codec_type != AVMEDIA_TYPE_SUBTITLE)
            continue;
        if (isTelemetryHandler(st) && source->m_stream < 0)
            source->m_stream = static_cast<int>(i);
        else if (st->codecpar->codec_id == AV_CODEC_ID_MOV_TEXT && fallback < 0)
            fallback = static_cast<int>(i);
    }
    if (source->m_stream < 0)
        source->m_stream = fallback;
    if (source->m_stream >= 0)
        raw->streams[source->m_stream]->discard = AVDISCARD_DEFAULT;
    else
        source->m_finished = true;
    return source;
}

TelemetryFileSource::~TelemetryFileSource() = default;


void TelemetryFileSource::TelemetrySetSpan(std::int32_t start, std::int32_t end)
{
    m_spanStart = start;
    m_spanEnd = end;
}

bool TelemetryFileSource::Rewind()
{
    if (m_stream < 0)
        return false;
    if (av_seek_frame(m_format.get(), m_stream, 0, AVSEEK_FLAG_BACKWARD) < 0)
        return false;
    m_finished = false;
    return true;
}

int TelemetryFileSource::TelemetryReadLine(std::uint8_t* buffer, std::uint32_t* length, std::int32_t* timestampMs)
{
    if (m_finished || !buffer || !length)
        return kTelemetryNoMoreLines;
    const std::uint32_t capacity = std::min<std::uint32_t>(*length, kTelemetryBufferSize);
    AVStream* st = m_format->streams[m_stream];
    AVPacket* pkt = m_packet.get();
    for (;;) {
        const int r = av_read_frame(m_format.get(), pkt);
        if (r < 0) {
            // End of file, a cut-off file or a read error: in each case there is nothing more to give.
            if (r != AVERROR_EOF)
                qCDebug(vxEngine) << "telemetry read ended with error" << r;
            m_finished = true;
            return kTelemetryNoMoreLines;
        }
        if (pkt->stream_index != m_stream || pkt->size < 2) {
            av_packet_unref(pkt);
            continue;
        }
        const std::uint32_t declared = (static_cast<std::uint32_t>(pkt->data[0]) << 8) | pkt->data[1];
        std::uint32_t n = std::min<std::uint32_t>(declared, static_cast<std::uint32_t>(pkt->size - 2));
        const std::int64_t when = pkt->pts != AV_NOPTS_VALUE ? pkt->pts : pkt->dts;
        const std::int64_t ms = when == AV_NOPTS_VALUE ? 0 : av_rescale_q(when, st->time_base, AVRational{1, 1000});
        if (n == 0 || ms < m_spanStart) {
            av_packet_unref(pkt);
            continue;
        }
        if (m_spanEnd >= 0 && ms > m_spanEnd) {
            av_packet_unref(pkt);
            m_finished = true;
            return kTelemetryNoMoreLines;
        }
        // One byte of the caller's buffer stays zero so a text line always ends.
        n = std::min(n, capacity > 0 ? capacity - 1 : 0);
        std::memcpy(buffer, pkt->data + 2, n);
        *length = n;
        if (timestampMs)
            *timestampMs = static_cast<std::int32_t>(ms);
        av_packet_unref(pkt);
        return kTelemetryLineOk;
    }
}
