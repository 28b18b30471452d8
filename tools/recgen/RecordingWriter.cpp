#include "tools/recgen/RecordingWriter.h"

#include "tools/recgen/PictureGenerator.h"
#include "tools/recgen/RoadScene.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
}

#include <algorithm>
#include <cmath>
#include <ctime>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {
struct FormatCloser {
    void operator()(AVFormatContext* c) const
    {
        if (c && c->pb)
            avio_closep(&c->pb);
        avformat_free_context(c);
    }
};
struct CodecCloser {
    void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct FrameFree {
    void operator()(AVFrame* f) const { av_frame_free(&f); }
};
struct PacketFree {
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};
using FormatPtr = std::unique_ptr<AVFormatContext, FormatCloser>;
using CodecPtr = std::unique_ptr<AVCodecContext, CodecCloser>;
using FramePtr = std::unique_ptr<AVFrame, FrameFree>;
using PacketPtr = std::unique_ptr<AVPacket, PacketFree>;

// The timed-text sample description every tx3g track carries.
const std::uint8_t kTextSampleEntry[] = {
    0x00, 0x00, 0x00, 0x00, 0x01, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x12, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00,
    0x00, 0x12, 'f',  't',  'a',  'b',  0x00, 0x01, 0x00, 0x01, 0x05, 'S',  'e',  'r',  'i',  'f',
};

std::string averr(int code)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

struct Output {
    AVFormatContext* fmt = nullptr;
    std::string error;

    bool write(AVPacket* pkt)
    {
        const int r = av_interleaved_write_frame(fmt, pkt);
        if (r < 0 && error.empty())
            error = "write failed: " + averr(r);
        return r >= 0;
    }
};

struct VideoChannel {
    int index = 0;      // 0 front, 1 rear
    int width = 0, height = 0, fps = 30, kbps = 0;
    CodecPtr codec;
    AVStream* stream = nullptr;
    FramePtr frame;
    std::int64_t next = 0;   // frames sent

    std::string open(AVFormatContext* fmt, const std::string& preset)
    {
        const AVCodec* enc = avcodec_find_encoder_by_name("libx264");
        if (!enc)
            return "libx264 encoder missing";
        codec.reset(avcodec_alloc_context3(enc));
        codec->width = width;
        codec->height = height;
        codec->pix_fmt = AV_PIX_FMT_YUV420P;
        codec->time_base = {1, fps};
        codec->framerate = {fps, 1};
        codec->gop_size = fps;
        codec->max_b_frames = 0;
        codec->bit_rate = static_cast<std::int64_t>(kbps) * 1000;
        codec->rc_max_rate = codec->bit_rate * 3 / 2;
        codec->rc_buffer_size = static_cast<int>(codec->bit_rate);
        // One encoder thread: frame threads under rate pressure give different output from
        // run to run. The demo card makes two recordings at a time instead.
        codec->thread_count = 1;
        if (fmt->oformat->flags & AVFMT_GLOBALHEADER)
            codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        av_opt_set(codec->priv_data, "preset", preset.c_str(), 0);
        av_opt_set(codec->priv_data, "x264-params", "sliced-threads=0:lookahead-threads=1", 0);
        int r = avcodec_open2(codec.get(), enc, nullptr);
        if (r < 0)
            return "cannot open H.264 encoder: " + averr(r);
        stream = avformat_new_stream(fmt, nullptr);
        avcodec_parameters_from_context(stream->codecpar, codec.get());
        stream->time_base = codec->time_base;
        stream->avg_frame_rate = {fps, 1};
        av_dict_set(&stream->metadata, "handler_name", index == 0 ? "FrontVideo" : "RearVideo", 0);
        frame.reset(av_frame_alloc());
        frame->format = AV_PIX_FMT_YUV420P;
        frame->width = width;
        frame->height = height;
        if (av_frame_get_buffer(frame.get(), 0) < 0)
            return "out of memory";
        return {};
    }

    double nextTime() const { return static_cast<double>(next) / fps; }
};

bool drain(AVCodecContext* codec, AVStream* stream, Output& out)
{
    PacketPtr pkt(av_packet_alloc());
    while (avcodec_receive_packet(codec, pkt.get()) == 0) {
        av_packet_rescale_ts(pkt.get(), codec->time_base, stream->time_base);
        pkt->stream_index = stream->index;
        if (!out.write(pkt.get()))
            return false;
    }
    return true;
}

std::string caption(int channel, std::int64_t utc)
{
    const std::time_t t = static_cast<std::time_t>(utc);
    std::tm tm{};
    gmtime_r(&t, &tm);
    char text[64];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &tm);
    return std::string(channel == 0 ? "FRONT " : "REAR ") + text;
}
} // namespace

std::string writeRecording(const RecordingOptions& o)
{
    av_log_set_level(AV_LOG_ERROR);
    const bool wantVideo = !o.telemetryOnly;
    const bool wantAudio = o.audio && !o.telemetryOnly;
    const bool wantTelemetry = o.telemetry || o.telemetryOnly;
    const std::int64_t durationMs = std::llround(o.durationSec * 1000.0);

    AVFormatContext* raw = nullptr;
    // PCM has no sample entry in the ISO flavour of the muxer; the QuickTime
    // flavour carries it, and readers of the recordings take both.
    int r = avformat_alloc_output_context2(&raw, nullptr, o.pcm ? "mov" : "mp4", o.path.c_str());
    if (r < 0 || !raw)
        return "cannot create muxer: " + averr(r);
    FormatPtr fmt(raw);
    fmt->flags |= AVFMT_FLAG_BITEXACT;
    Output out{fmt.get(), {}};

    std::vector<std::unique_ptr<VideoChannel>> video;
    CodecPtr audio;
    AVStream* audioStream = nullptr;
    AVStream* textStream = nullptr;

    auto addAudio = [&]() -> std::string {
        const AVCodec* enc = avcodec_find_encoder(o.pcm ? AV_CODEC_ID_PCM_S16LE : AV_CODEC_ID_AAC);
        if (!enc)
            return "audio encoder missing";
        audio.reset(avcodec_alloc_context3(enc));
        audio->sample_rate = o.pcm ? 16000 : 22050;
        audio->sample_fmt = o.pcm ? AV_SAMPLE_FMT_S16 : AV_SAMPLE_FMT_FLTP;
        av_channel_layout_default(&audio->ch_layout, 1);
        audio->bit_rate = o.pcm ? 0 : 64000;
        audio->time_base = {1, audio->sample_rate};
        audio->flags |= AV_CODEC_FLAG_BITEXACT;
        if (fmt->oformat->flags & AVFMT_GLOBALHEADER)
            audio->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        const int rr = avcodec_open2(audio.get(), enc, nullptr);
        if (rr < 0)
            return "cannot open audio encoder: " + averr(rr);
        audioStream = avformat_new_stream(fmt.get(), nullptr);
        avcodec_parameters_from_context(audioStream->codecpar, audio.get());
        audioStream->time_base = audio->time_base;
        av_dict_set(&audioStream->metadata, "handler_name", "Sound", 0);
        return {};
    };

    if (wantAudio && o.audioFirst)
        if (auto e = addAudio(); !e.empty())
            return e;
    if (wantVideo) {
        const int channels = o.oneVideo ? 1 : 2;
        for (int k = 0; k < channels; ++k) {
            auto ch = std::make_unique<VideoChannel>();
            ch->index = k;
            ch->width = k == 0 ? o.frontWidth : o.rearWidth;
            ch->height = k == 0 ? o.frontHeight : o.rearHeight;
            ch->fps = k == 0 ? o.fps : (o.rearFps > 0 ? o.rearFps : o.fps);
            ch->kbps = k == 0 ? o.frontKbps : o.rearKbps;
            if (auto e = ch->open(fmt.get(), o.preset); !e.empty())
                return e;
            video.push_back(std::move(ch));
        }
    }
    if (wantAudio && !o.audioFirst)
        if (auto e = addAudio(); !e.empty())
            return e;

    std::vector<TelemetrySample> lines;
    if (wantTelemetry) {
        lines = DriveModel(o.drive).samples(durationMs);
        for (const auto& extra : o.extraLines)
            lines.push_back(extra);
        std::stable_sort(lines.begin(), lines.end(),
                         [](const TelemetrySample& a, const TelemetrySample& b) { return a.ms < b.ms; });
        textStream = avformat_new_stream(fmt.get(), nullptr);
        textStream->codecpar->codec_type = AVMEDIA_TYPE_SUBTITLE;
        textStream->codecpar->codec_id = AV_CODEC_ID_MOV_TEXT;
        textStream->codecpar->codec_tag = MKTAG('t', 'x', '3', 'g');
        textStream->codecpar->extradata =
            static_cast<std::uint8_t*>(av_mallocz(sizeof kTextSampleEntry + AV_INPUT_BUFFER_PADDING_SIZE));
        std::copy(std::begin(kTextSampleEntry), std::end(kTextSampleEntry), textStream->codecpar->extradata);
        textStream->codecpar->extradata_size = sizeof kTextSampleEntry;
        textStream->time_base = {1, 1000};
        av_dict_set(&textStream->metadata, "handler_name", "Telemetry", 0);
    }

    if (!(fmt->oformat->flags & AVFMT_NOFILE)) {
        r = avio_open(&fmt->pb, o.path.c_str(), AVIO_FLAG_WRITE);
        if (r < 0)
            return "cannot create " + o.path + ": " + averr(r);
    }
    AVDictionary* muxOptions = nullptr;
    r = avformat_write_header(fmt.get(), &muxOptions);
    av_dict_free(&muxOptions);
    if (r < 0)
        return "cannot write header: " + averr(r);

    PacketPtr pkt(av_packet_alloc());
    FramePtr audioFrame;
    std::int64_t audioSamples = 0;
    const std::int64_t audioTotal = audio ? durationMs * audio->sample_rate / 1000 : 0;
    const int audioChunk = audio ? (audio->frame_size > 0 ? audio->frame_size : 1024) : 0;
    if (audio) {
        audioFrame.reset(av_frame_alloc());
        audioFrame->format = audio->sample_fmt;
        audioFrame->nb_samples = audioChunk;
        av_channel_layout_copy(&audioFrame->ch_layout, &audio->ch_layout);
        audioFrame->sample_rate = audio->sample_rate;
        if (av_frame_get_buffer(audioFrame.get(), 0) < 0)
            return "out of memory";
    }
    std::size_t nextLine = 0;

    // Feed the streams in time order so the muxer interleaves them evenly.
    for (;;) {
        double tVideo = 1e18, tAudio = 1e18, tText = 1e18;
        VideoChannel* nextVideo = nullptr;
        for (auto& ch : video) {
            if (ch->next * 1000 / ch->fps < durationMs && ch->nextTime() < tVideo) {
                tVideo = ch->nextTime();
                nextVideo = ch.get();
            }
        }
        if (audio && audioSamples < audioTotal)
            tAudio = static_cast<double>(audioSamples) / audio->sample_rate;
        if (nextLine < lines.size())
            tText = lines[nextLine].ms / 1000.0;
        const double t = std::min({tVideo, tAudio, tText});
        if (t >= 1e17)
            break;
        if (t == tVideo && nextVideo) {
            VideoChannel& ch = *nextVideo;
            if (av_frame_make_writable(ch.frame.get()) < 0)
                return "out of memory";
            const std::int64_t second = ch.next / ch.fps;
            const std::string text = caption(ch.index, o.drive.startUtc + second);
            if (o.road) {
                const double at = static_cast<double>(ch.next) / ch.fps;
                RoadView view;
                view.travelledM = DriveModel::distanceAt(o.drive.driveOffsetSec + at);
                view.rear = ch.index == 1;
                if (o.drive.impactAtSec >= 0)
                    RoadScene::jolt(at - o.drive.impactAtSec, view.shakeX, view.shakeY);
                RoadScene::draw(ch.frame.get(), view);
                if (o.noisy)
                    PictureGenerator::addGrain(ch.frame.get(), ch.index, ch.next);
                PictureGenerator::drawCaption(ch.frame.get(), text);
            } else {
                PictureGenerator::fill(ch.frame.get(), ch.index, text, o.still ? 0 : ch.next, o.noisy);
            }
            ch.frame->pts = ch.next++;
            if (avcodec_send_frame(ch.codec.get(), ch.frame.get()) < 0 ||
                !drain(ch.codec.get(), ch.stream, out))
                return out.error.empty() ? "video encoding failed" : out.error;
        } else if (t == tAudio) {
            if (av_frame_make_writable(audioFrame.get()) < 0)
                return "out of memory";
            const int n = static_cast<int>(std::min<std::int64_t>(audioChunk, audioTotal - audioSamples));
            for (int i = 0; i < audioChunk; ++i) {
                const double s = i < n ? 0.2 * std::sin(2.0 * M_PI * 440.0 * (audioSamples + i) / audio->sample_rate)
                                       : 0.0;
                if (audio->sample_fmt == AV_SAMPLE_FMT_S16)
                    reinterpret_cast<std::int16_t*>(audioFrame->data[0])[i] = static_cast<std::int16_t>(s * 32767);
                else
                    reinterpret_cast<float*>(audioFrame->data[0])[i] = static_cast<float>(s);
            }
            audioFrame->pts = audioSamples;
            audioSamples += audioChunk;
            if (avcodec_send_frame(audio.get(), audioFrame.get()) < 0 || !drain(audio.get(), audioStream, out))
                return out.error.empty() ? "audio encoding failed" : out.error;
        } else {
            const TelemetrySample& line = lines[nextLine++];
            const std::size_t n = std::min<std::size_t>(line.bytes.size(), 0xFFFF);
            if (av_new_packet(pkt.get(), static_cast<int>(n + 2)) < 0)
                return "out of memory";
            pkt->data[0] = static_cast<std::uint8_t>(n >> 8);
            pkt->data[1] = static_cast<std::uint8_t>(n & 0xFF);
            std::copy_n(line.bytes.data(), n, pkt->data + 2);
            const std::int64_t nextMs = nextLine < lines.size() ? lines[nextLine].ms : durationMs;
            // Short samples, as the camera writes them: the muxer fills the gaps with empty ones.
            pkt->pts = pkt->dts = line.ms;
            pkt->duration = std::max<std::int64_t>(1, std::min<std::int64_t>(nextMs - line.ms, 20));
            pkt->flags |= AV_PKT_FLAG_KEY;
            av_packet_rescale_ts(pkt.get(), {1, 1000}, textStream->time_base);
            pkt->stream_index = textStream->index;
            if (!out.write(pkt.get()))
                return out.error;
        }
    }
    for (auto& ch : video) {
        avcodec_send_frame(ch->codec.get(), nullptr);
        if (!drain(ch->codec.get(), ch->stream, out))
            return out.error;
    }
    if (audio) {
        avcodec_send_frame(audio.get(), nullptr);
        if (!drain(audio.get(), audioStream, out))
            return out.error;
    }
    r = av_write_trailer(fmt.get());
    if (r < 0)
        return "cannot finish file: " + averr(r);
    avio_closep(&fmt->pb);

    struct stat st {};
    if (o.truncateAt >= 0 && ::stat(o.path.c_str(), &st) == 0 && st.st_size > o.truncateAt &&
        ::truncate(o.path.c_str(), o.truncateAt) != 0)
        return "cannot truncate " + o.path;
    return {};
}
