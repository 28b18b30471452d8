#include "engine/ClipExporter.h"

#include "engine/ContainerProbe.h"
#include "engine/MediaHandles.h"

#include <gst/gst.h>

#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QPoint>
#include <QTemporaryFile>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>

Q_LOGGING_CATEGORY(lcClip, "vx.engine.clip")

namespace {

constexpr int kPadsTimeoutMs = 10000;
// A graph that delivers no picture for this long has stalled (a broken file).
// HALCYON_EXPORT_STALL_MS overrides it for runs under valgrind.
constexpr int kStallTimeoutMs = 20000;

int stallTimeoutMs()
{
    bool ok = false;
    const int ms = qEnvironmentVariableIntValue("HALCYON_EXPORT_STALL_MS", &ok);
    return ok && ms > 0 ? ms : kStallTimeoutMs;
}
constexpr int kBusPollMs = 100;


int even(double v) { return std::max(2, int(std::lround(v / 2.0)) * 2); }

struct Geometry {
    QSize output;
    QSize front;
    QSize rear;      // empty: the rear picture is not used
    QPoint rearAt;
};

Geometry layOut(ClipLayout layout, QSize front, QSize rear, int height)
{
    Geometry g;
    const int h = even(height > 0 ? height : front.height());
    g.front = QSize(even(double(front.width()) * h / front.height()), h);
    g.output = g.front;
    if (layout == ClipLayout::SideBySide) {
        g.rear = QSize(even(double(rear.width()) * h / rear.height()), h);
        g.rearAt = QPoint(g.front.width(), 0);
        g.output = QSize(g.front.width() + g.rear.width(), h);
    } else if (layout == ClipLayout::PictureInPicture) {
        const int w = even(g.front.width() / 3.0);
        g.rear = QSize(w, even(double(w) * rear.height() / rear.width()));
        const int margin = even(h / 30.0);
        g.rearAt = QPoint(g.front.width() - w - margin, margin);
    }
    return g;
}

// What the streaming threads share with the exporting thread. It outlives the
// pipeline (declared before it), so the probes never see it destroyed.
struct Shared {
    const std::vector<ClipCaption>* captions = nullptr;
    std::uint32_t fromMs = 0;
    GstElement* overlay = nullptr;
    std::atomic<std::uint32_t> seekSeqnum{GST_SEQNUM_INVALID};
    std::atomic<std::int64_t> writtenNs{-1};
    int shownCaption = -1; // streaming thread of the overlay only
    std::mutex padsMutex;
    bool noMorePads = false;
};

// Buffers the demuxer pushes before our seek belong to the start of the file:
// they are dropped, so the encoder and the muxer see only the range.
GstPadProbeReturn dropBeforeSeek(GstPad* pad, GstPadProbeInfo* info, gpointer data)
{
    auto* shared = static_cast<Shared*>(data);
    const std::uint32_t wanted = shared->seekSeqnum.load();
    if (wanted == GST_SEQNUM_INVALID)
        return GST_PAD_PROBE_DROP;
    GstEventPtr segment(gst_pad_get_sticky_event(pad, GST_EVENT_SEGMENT, 0));
    if (!segment || gst_event_get_seqnum(segment.get()) != wanted)
        return GST_PAD_PROBE_DROP;
    (void)info;
    return GST_PAD_PROBE_OK;
}

void onPadAdded(GstElement*, GstPad* pad, gpointer data)
{
    gst_pad_add_probe(pad, GST_PAD_PROBE_TYPE_BUFFER, dropBeforeSeek, data, nullptr);
}

void onNoMorePads(GstElement*, gpointer data)
{
    auto* shared = static_cast<Shared*>(data);
    std::lock_guard lock(shared->padsMutex);
    shared->noMorePads = true;
}

// Sets the overlay's text for the picture about to be drawn: the caption of
// its position in the recording. Runs on the overlay's streaming thread,
// before the overlay's own handling of the same buffer.
GstPadProbeReturn captionForPicture(GstPad* pad, GstPadProbeInfo* info, gpointer data)
{
    auto* shared = static_cast<Shared*>(data);
    GstBuffer* buffer = GST_PAD_PROBE_INFO_BUFFER(info);
    GstEventPtr event(gst_pad_get_sticky_event(pad, GST_EVENT_SEGMENT, 0));
    if (!buffer || !event || !GST_BUFFER_PTS_IS_VALID(buffer))
        return GST_PAD_PROBE_OK;
    const GstSegment* segment = nullptr;
    gst_event_parse_segment(event.get(), &segment);
    const guint64 running = gst_segment_to_running_time(segment, GST_FORMAT_TIME, GST_BUFFER_PTS(buffer));
    if (running == GST_CLOCK_TIME_NONE)
        return GST_PAD_PROBE_OK;
    shared->writtenNs = std::int64_t(running);
    const std::uint64_t positionMs = shared->fromMs + running / GST_MSECOND;
    const auto& captions = *shared->captions;
    const auto after = std::upper_bound(captions.begin(), captions.end(), positionMs,
                                        [](std::uint64_t p, const ClipCaption& c) { return p < c.positionMs; });
    const int index = after == captions.begin() ? (captions.empty() ? -1 : 0) : int(after - captions.begin()) - 1;
    if (index != shared->shownCaption) {
        shared->shownCaption = index;
        const QByteArray text = index >= 0 ? captions[std::size_t(index)].text.toUtf8() : QByteArray();
        g_object_set(shared->overlay, "text", text.constData(), nullptr);
    }
    return GST_PAD_PROBE_OK;
}

QString messageText(GstMessage* message)
{
    GError* error = nullptr;
    gchar* debug = nullptr;
    gst_message_parse_error(message, &error, &debug);
    QString text = error ? QString::fromUtf8(error->message) : QStringLiteral("unknown error");
    qCWarning(lcClip) << "export error from" << GST_OBJECT_NAME(GST_MESSAGE_SRC(message)) << text << debug;
    // The elements put the reason of a failed write ("No space left on
    // device") only into the debug text.
    const QString details = QString::fromUtf8(debug ? debug : "");
    const qsizetype at = details.indexOf(QLatin1String("system error: "));
    if (at >= 0)
        text += QStringLiteral(": ") + details.mid(at + 14).section(QLatin1Char('\n'), 0, 0).trimmed();
    if (error)
        g_error_free(error);
    g_free(debug);
    return text;
}

enum class Sound { None, Aac, Pcm };

QString pipelineText(const Geometry& g, bool rear, Sound sound, const ClipExportRequest& r, bool x264)
{
    const int fontPx = std::max(8, g.output.height() / 28);
    QString d = QStringLiteral(
                    "filesrc name=src ! qtdemux name=demux "
                    "compositor name=mix background=black sink_0::xpos=0 sink_0::ypos=0 %1 "
                    "! video/x-raw,format=I420,width=%2,height=%3 "
                    "! textoverlay name=caption valignment=bottom halignment=left line-alignment=left shaded-background=true "
                    "wait-text=false auto-resize=false xpad=%4 ypad=%4 font-desc=\"Sans Bold %5px\" ")
                    .arg(rear ? QStringLiteral("sink_1::xpos=%1 sink_1::ypos=%2").arg(g.rearAt.x()).arg(g.rearAt.y())
                              : QString())
                    .arg(g.output.width())
                    .arg(g.output.height())
                    .arg(std::max(4, fontPx / 2))
                    .arg(fontPx);
    if (x264)
        d += QStringLiteral("! x264enc speed-preset=%1 pass=qual quantizer=23 key-int-max=60 ").arg(r.speedPreset);
    else
        d += QStringLiteral("! openh264enc complexity=low bitrate=%1 ").arg(g.output.width() * g.output.height() * 4);
    d += QStringLiteral("! h264parse ! queue ! mp4mux name=mux faststart=true ! filesink name=sink async=false ");
    const QString queue = QStringLiteral("queue max-size-buffers=0 max-size-bytes=0 max-size-time=5000000000");
    auto picture = [&](int index, QSize size) {
        return QStringLiteral("demux.video_%1 ! %2 ! avdec_h264 ! videoconvert ! videoscale "
                              "! video/x-raw,format=I420,width=%3,height=%4,pixel-aspect-ratio=1/1 ! mix.sink_%1 ")
            .arg(index)
            .arg(queue)
            .arg(size.width())
            .arg(size.height());
    };
    d += picture(0, g.front);
    if (rear)
        d += picture(1, g.rear);
    // The decoder is named rather than plugged by decodebin: a bin that plugs
    // while the seek flushes it fails to start its decoder (measured).
    if (sound != Sound::None)
        d += QStringLiteral("demux.audio_0 ! %1 ! %2audioconvert ! audioresample "
                            "! avenc_aac bitrate=128000 ! aacparse ! queue ! mux. ")
                 .arg(queue, sound == Sound::Aac ? QStringLiteral("aacparse ! avdec_aac ! ") : QString());
    return d;
}

// The permissions a new file of this process gets (a temporary file is made
// private; the finished clip is an ordinary file).
QFileDevice::Permissions ordinaryFilePermissions()
{
    unsigned mask = 022;
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : status.readAll().split('\n')) {
            if (line.startsWith("Umask:"))
                mask = line.mid(6).trimmed().toUInt(nullptr, 8);
        }
    }
    const unsigned mode = 0666 & ~mask;
    QFileDevice::Permissions p;
    if (mode & 0400)
        p |= QFileDevice::ReadOwner | QFileDevice::ReadUser;
    if (mode & 0200)
        p |= QFileDevice::WriteOwner | QFileDevice::WriteUser;
    if (mode & 0040)
        p |= QFileDevice::ReadGroup;
    if (mode & 0020)
        p |= QFileDevice::WriteGroup;
    if (mode & 0004)
        p |= QFileDevice::ReadOther;
    if (mode & 0002)
        p |= QFileDevice::WriteOther;
    return p;
}

ClipExportResult failed(ClipExportResult r, const QString& why)
{
    r.status = ClipExportResult::Status::Failed;
    r.message = why;
    return r;
}

} // namespace

QStringList ClipExporter::MissingElements()
{
    if (!gst_is_initialized())
        gst_init(nullptr, nullptr);
    QStringList missing;
    for (const char* name : {"filesrc", "qtdemux", "avdec_h264", "videoconvert", "videoscale", "compositor",
                             "textoverlay", "h264parse", "mp4mux", "filesink", "avdec_aac", "audioconvert",
                             "audioresample", "avenc_aac", "aacparse", "queue"}) {
        if (!GstElementFactoryPtr(gst_element_factory_find(name)))
            missing << QString::fromLatin1(name);
    }
    if (!GstElementFactoryPtr(gst_element_factory_find("x264enc")) &&
        !GstElementFactoryPtr(gst_element_factory_find("openh264enc")))
        missing << QStringLiteral("x264enc");
    return missing;
}

ClipExportResult ClipExporter::Export(const ClipExportRequest& request, const Progress& progress)
{
    using Status = ClipExportResult::Status;
    ClipExportResult result;
    result.layout = request.layout;
    if (m_cancel) {
        result.status = Status::Cancelled;
        return result;
    }
    const QStringList missing = MissingElements();
    if (!missing.isEmpty())
        return failed(result, QStringLiteral("GStreamer elements missing: %1").arg(missing.join(QStringLiteral(", "))));

    QString error;
    const std::optional<ContainerProbe> probe = ContainerProbe::Read(request.source, &error);
    if (!probe)
        return failed(result, error);
    if (probe->videoPinCount() < 1)
        return failed(result, QStringLiteral("the recording has no picture"));
    const QFileInfo sourceInfo(request.source);
    const QFileInfo outputInfo(request.output);
    if (outputInfo.exists() && outputInfo.canonicalFilePath() == sourceInfo.canonicalFilePath())
        return failed(result, QStringLiteral("the clip would overwrite the recording"));
    const QDir folder = outputInfo.absoluteDir();
    if (!folder.exists())
        return failed(result, QStringLiteral("the folder %1 does not exist").arg(folder.path()));

    const bool rear = probe->videoPinCount() >= 2 && request.layout != ClipLayout::FrontOnly;
    result.layout = rear ? request.layout : ClipLayout::FrontOnly;
    Sound sound = Sound::None;
    for (const auto& t : probe->tracks) {
        if (t.kind == ContainerProbe::Kind::Audio && sound == Sound::None)
            sound = t.pcm ? Sound::Pcm : Sound::Aac;
    }
    result.sound = sound != Sound::None;
    const std::uint32_t durationMs = std::uint32_t(std::min<std::int64_t>(probe->durationUnits / 10000, UINT32_MAX));
    result.fromMs = std::min(request.fromMs, durationMs);
    result.toMs = std::min(request.toMs, durationMs);
    if (result.toMs <= result.fromMs)
        return failed(result, QStringLiteral("the range %1 to %2 ms holds no picture of the recording (%3 ms long)")
                                  .arg(request.fromMs)
                                  .arg(request.toMs)
                                  .arg(durationMs));
    const QSize frontSize = probe->videoSize(0);
    const QSize rearSize = rear ? probe->videoSize(1) : QSize();
    if (frontSize.isEmpty() || (rear && rearSize.isEmpty()))
        return failed(result, QStringLiteral("the recording does not give its picture size"));
    const Geometry geometry = layOut(result.layout, frontSize, rearSize, request.height);
    result.pictureSize = geometry.output;

    // The muxer writes the picture data to a side file and copies it behind the
    // index at the end; both live beside the output so that a full disk shows
    // where the user is writing, and both go away with these objects.
    const QString stem = folder.filePath(QStringLiteral(".") + outputInfo.fileName());
    QTemporaryFile partial(stem + QStringLiteral(".XXXXXX.part"));
    QTemporaryFile sideFile(stem + QStringLiteral(".XXXXXX.mdat"));
    if (!partial.open() || !sideFile.open())
        return failed(result, QStringLiteral("cannot write in %1: %2")
                                  .arg(folder.path(), partial.isOpen() ? sideFile.errorString() : partial.errorString()));
    partial.close();
    sideFile.close();

    Shared shared;
    shared.captions = &request.captions;
    shared.fromMs = result.fromMs;

    const bool x264 = GstElementFactoryPtr(gst_element_factory_find("x264enc")) != nullptr;
    const QString description = pipelineText(geometry, rear, sound, request, x264);
    GError* parseError = nullptr;
    GstPipelinePtr pipeline(gst_parse_launch(description.toUtf8().constData(), &parseError));
    if (parseError) {
        const QString why = QString::fromUtf8(parseError->message);
        g_error_free(parseError);
        return failed(result, QStringLiteral("cannot build the export graph: %1").arg(why));
    }
    if (!pipeline)
        return failed(result, QStringLiteral("cannot build the export graph"));
    GstBin* bin = GST_BIN(pipeline.get());
    GstElementPtr src(gst_bin_get_by_name(bin, "src"));
    GstElementPtr demux(gst_bin_get_by_name(bin, "demux"));
    GstElementPtr overlay(gst_bin_get_by_name(bin, "caption"));
    GstElementPtr mux(gst_bin_get_by_name(bin, "mux"));
    GstElementPtr sink(gst_bin_get_by_name(bin, "sink"));
    if (!src || !demux || !overlay || !mux || !sink)
        return failed(result, QStringLiteral("cannot build the export graph"));
    g_object_set(src.get(), "location", QFile::encodeName(request.source).constData(), nullptr);
    g_object_set(sink.get(), "location", QFile::encodeName(partial.fileName()).constData(), nullptr);
    g_object_set(mux.get(), "faststart-file", QFile::encodeName(sideFile.fileName()).constData(), nullptr);
    shared.overlay = overlay.get();
    g_signal_connect(demux.get(), "pad-added", G_CALLBACK(onPadAdded), &shared);
    g_signal_connect(demux.get(), "no-more-pads", G_CALLBACK(onNoMorePads), &shared);
    {
        GstPadPtr overlayPad(gst_element_get_static_pad(overlay.get(), "video_sink"));
        gst_pad_add_probe(overlayPad.get(), GST_PAD_PROBE_TYPE_BUFFER, captionForPicture, &shared, nullptr);
    }

    GstBusPtr bus(gst_element_get_bus(pipeline.get()));
    auto takeError = [&](int waitMs) -> std::optional<QString> {
        GstMessagePtr m(gst_bus_timed_pop_filtered(bus.get(), GstClockTime(waitMs) * GST_MSECOND, GST_MESSAGE_ERROR));
        if (m)
            return messageText(m.get());
        return std::nullopt;
    };

    if (gst_element_set_state(pipeline.get(), GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE) {
        const auto why = takeError(0);
        return failed(result, why.value_or(QStringLiteral("cannot open %1").arg(request.source)));
    }
    // The seek needs the demuxer's tracks; it has them once it announced its pads.
    for (int waited = 0;; waited += kBusPollMs) {
        {
            std::lock_guard lock(shared.padsMutex);
            if (shared.noMorePads)
                break;
        }
        if (const auto why = takeError(kBusPollMs))
            return failed(result, *why);
        if (m_cancel) {
            result.status = Status::Cancelled;
            return result;
        }
        if (waited >= std::max(kPadsTimeoutMs, stallTimeoutMs()))
            return failed(result, QStringLiteral("the recording's tracks did not open"));
    }
    GstEvent* seek = gst_event_new_seek(1.0, GST_FORMAT_TIME, GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE),
                                        GST_SEEK_TYPE_SET, GstClockTime(result.fromMs) * GST_MSECOND,
                                        GST_SEEK_TYPE_SET, GstClockTime(result.toMs) * GST_MSECOND);
    const std::uint32_t seqnum = gst_util_seqnum_next();
    gst_event_set_seqnum(seek, seqnum);
    shared.seekSeqnum = seqnum;
    if (!gst_element_send_event(demux.get(), seek)) {
        const auto why = takeError(0);
        return failed(result, why.value_or(QStringLiteral("cannot go to %1 ms in the recording").arg(result.fromMs)));
    }
    if (gst_element_set_state(pipeline.get(), GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) {
        const auto why = takeError(0);
        return failed(result, why.value_or(QStringLiteral("the export graph would not run")));
    }

    // The caller learns that encoding has begun even when a short range ends
    // before the first poll reports written pictures.
    if (progress)
        progress(0.0);
    const double rangeNs = double(result.toMs - result.fromMs) * GST_MSECOND;
    const auto stallLimit = std::chrono::milliseconds(stallTimeoutMs());
    std::int64_t lastWritten = -1;
    auto lastChange = std::chrono::steady_clock::now();
    for (;;) {
        GstMessagePtr m(gst_bus_timed_pop_filtered(bus.get(), GstClockTime(kBusPollMs) * GST_MSECOND,
                                                GstMessageType(GST_MESSAGE_ERROR | GST_MESSAGE_EOS)));
        if (m && GST_MESSAGE_TYPE(m.get()) == GST_MESSAGE_ERROR)
            return failed(result, messageText(m.get()));
        // A cancel that arrives while the last pictures are written still wins:
        // the user asked for no clip, so none is renamed into place.
        if (m_cancel) {
            result.status = Status::Cancelled;
            return result;
        }
        if (m)
            break; // end of stream: the muxer has written its index
        const std::int64_t written = shared.writtenNs.load();
        const auto now = std::chrono::steady_clock::now();
        if (written != lastWritten) {
            lastWritten = written;
            lastChange = now;
            if (progress && written >= 0)
                progress(std::clamp(double(written) / rangeNs, 0.0, 1.0));
        } else if (now - lastChange > stallLimit) {
            return failed(result, QStringLiteral("the recording stopped delivering pictures"));
        }
    }
    gst_element_set_state(pipeline.get(), GST_STATE_NULL);
    if (QFileInfo(partial.fileName()).size() <= 0)
        return failed(result, QStringLiteral("nothing was written"));
    QFile::setPermissions(partial.fileName(), ordinaryFilePermissions());
    if (std::rename(QFile::encodeName(partial.fileName()).constData(), QFile::encodeName(request.output).constData())
        != 0)
        return failed(result, QStringLiteral("cannot rename the finished clip to %1: %2")
                                  .arg(request.output, QString::fromLocal8Bit(std::strerror(errno))));
    if (progress)
        progress(1.0);
    result.status = Status::Done;
    return result;
}
