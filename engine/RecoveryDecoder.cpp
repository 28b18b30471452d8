#include "engine/RecoveryDecoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/mem.h>
}

#include <cstring>

namespace {
void setExtradata(AVCodecContext* c, const QByteArray& config)
{
    c->extradata = static_cast<std::uint8_t*>(av_mallocz(static_cast<std::size_t>(config.size()) +
                                                         AV_INPUT_BUFFER_PADDING_SIZE));
    if (!c->extradata)
        return;
    std::memcpy(c->extradata, config.constData(), static_cast<std::size_t>(config.size()));
    c->extradata_size = static_cast<int>(config.size());
}

AVPacketPtr packetOf(const std::uint8_t* data, std::size_t size)
{
    AVPacketPtr packet(av_packet_alloc());
    if (!packet || size > (1u << 30) || av_new_packet(packet.get(), static_cast<int>(size)) < 0)
        return nullptr;
    std::memcpy(packet->data, data, size);
    return packet;
}

QString averr(int code)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return QString::fromUtf8(text);
}
} // namespace

RecoveryDecoder::RecoveryDecoder() = default;
RecoveryDecoder::~RecoveryDecoder() = default;

bool RecoveryDecoder::openAac(const QByteArray& config)
{
    if (m_aac && config == m_config)
        return true;
    m_aac.reset();
    const AVCodec* codec = avcodec_find_decoder(AV_CODEC_ID_AAC);
    if (!codec)
        return false;
    AVCodecContextPtr c(avcodec_alloc_context3(codec));
    if (!c)
        return false;
    setExtradata(c.get(), config);
    c->err_recognition |= AV_EF_EXPLODE;
    if (avcodec_open2(c.get(), codec, nullptr) < 0)
        return false;
    m_aac = std::move(c);
    m_config = config;
    return true;
}

std::vector<int> RecoveryDecoder::decodeRun(const std::uint8_t* data, std::size_t size, bool& clean)
{
    clean = false;
    std::vector<int> left;
    avcodec_flush_buffers(m_aac.get());
    auto packet = packetOf(data, size);
    AVFramePtr frame(av_frame_alloc());
    if (!packet || !frame || avcodec_send_packet(m_aac.get(), packet.get()) < 0)
        return left;
    // A packet of several frames is decoded frame by frame; each frame reports
    // the bytes that were left when its decoding began.
    int r = 0;
    while ((r = avcodec_receive_frame(m_aac.get(), frame.get())) == 0) {
        if (!left.empty() && frame->pkt_size >= left.back())
            return {};
        left.push_back(frame->pkt_size);
        av_frame_unref(frame.get());
    }
    clean = r == AVERROR(EAGAIN);
    return left;
}

std::vector<std::uint32_t> RecoveryDecoder::aacFrames(const QByteArray& config, const std::uint8_t* data,
                                                      std::size_t size, bool exact)
{
    if (!size || !openAac(config))
        return {};
    bool clean = false;
    const std::vector<int> left = decodeRun(data, size, clean);
    std::vector<std::uint32_t> lengths;
    for (std::size_t i = 0; i + 1 < left.size(); ++i)
        lengths.push_back(static_cast<std::uint32_t>(left[i] - left[i + 1]));
    if (clean && !left.empty())
        lengths.push_back(static_cast<std::uint32_t>(left.back()));
    if (exact) {
        std::uint64_t sum = 0;
        for (auto l : lengths)
            sum += l;
        return clean && sum == size ? lengths : std::vector<std::uint32_t>{};
    }
    if (clean || left.empty())
        return lengths;
    // Decoding broke off after a frame whose end is not known: it ends at the
    // shortest prefix of what was left that still decodes one frame.
    std::size_t start = size - static_cast<std::size_t>(left.back());
    std::size_t low = 1, high = static_cast<std::size_t>(left.back());
    while (low < high) {
        const std::size_t mid = low + (high - low) / 2;
        bool midClean = false;
        if (!decodeRun(data + start, mid, midClean).empty())
            high = mid;
        else
            low = mid + 1;
    }
    bool lastClean = false;
    if (decodeRun(data + start, low, lastClean).size() == 1 && lastClean)
        lengths.push_back(static_cast<std::uint32_t>(low));
    return lengths;
}

bool RecoveryDecoder::decodesPicture(bool hevc, const QByteArray& config, const std::uint8_t* sample,
                                     std::size_t size, QString* why)
{
    auto refuse = [&](const QString& text) {
        if (why)
            *why = text;
        return false;
    };
    const AVCodec* codec = avcodec_find_decoder(hevc ? AV_CODEC_ID_HEVC : AV_CODEC_ID_H264);
    if (!codec)
        return refuse(QStringLiteral("no decoder"));
    AVCodecContextPtr c(avcodec_alloc_context3(codec));
    if (!c)
        return refuse(QStringLiteral("out of memory"));
    setExtradata(c.get(), config);
    c->thread_count = 1;
    c->err_recognition |= AV_EF_EXPLODE | AV_EF_CAREFUL | AV_EF_BITSTREAM;
    int r = avcodec_open2(c.get(), codec, nullptr);
    if (r < 0)
        return refuse(QStringLiteral("the sample description does not open: %1").arg(averr(r)));
    auto packet = packetOf(sample, size);
    AVFramePtr frame(av_frame_alloc());
    if (!packet || !frame)
        return refuse(QStringLiteral("out of memory"));
    packet->flags |= AV_PKT_FLAG_KEY;
    r = avcodec_send_packet(c.get(), packet.get());
    if (r < 0)
        return refuse(QStringLiteral("the picture does not decode: %1").arg(averr(r)));
    avcodec_send_packet(c.get(), nullptr);
    r = avcodec_receive_frame(c.get(), frame.get());
    if (r < 0)
        return refuse(QStringLiteral("the picture does not decode: %1").arg(averr(r)));
    if (frame->decode_error_flags)
        return refuse(QStringLiteral("the picture decodes with errors"));
    return true;
}
