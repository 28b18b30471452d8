#include "engine/PlaybackGraph.h"

#include "engine/ContainerProbe.h"
#include "engine/IVideoWindow.h"
#include "engine/MediaHandles.h"
#include "engine/PictureConverter.h"

#include <gst/app/gstappsink.h>
#include <gst/gst.h>
#include <gst/video/video.h>

#include "base/LogCategories.h"
#include <chrono>
#include <thread>


namespace {
// The UI thread waits for the graph: a recording that is not ready in 2 s
// counts as unplayable, and a seek that has not settled in 1 s is left to
// finish on its own (the position reads the old place until it has).
constexpr int kPrerollTimeoutMs = 2000;
constexpr int kSeekTimeoutMs = 1000;
constexpr const char* kSeekRefused = "halcyon-seek-refused";

// Under valgrind the graph runs some twenty times slower; HALCYON_GRAPH_WAIT_SCALE
// stretches the waits for such runs (never set for the viewer).
int scaledWait(int ms)
{
    static const int scale = std::max(1, qEnvironmentVariableIntValue("HALCYON_GRAPH_WAIT_SCALE"));
    return ms * scale;
}
constexpr std::int64_t kNsPerUnit = 100;

// Converts one decoded picture into a 32-bit image of the given size (the
// native size when target is invalid).
QImage convertSample(GstSample* sample, QSize target, PictureConverter::Orientation orientation,
                     PictureConverter& converter)
{
    GstVideoInfo info;
    GstCaps* caps = gst_sample_get_caps(sample);
    GstBuffer* buffer = gst_sample_get_buffer(sample);
    if (!caps || !buffer || !gst_video_info_from_caps(&info, caps))
        return {};
    // The renderers ask for I420.
    if (GST_VIDEO_INFO_FORMAT(&info) != GST_VIDEO_FORMAT_I420)
        return {};
    PictureConverter::Source source;
    source.size = QSize(GST_VIDEO_INFO_WIDTH(&info), GST_VIDEO_INFO_HEIGHT(&info));
    if (source.size.isEmpty())
        return {};
    GstVideoFrame frame;
    if (!gst_video_frame_map(&frame, &info, buffer, GST_MAP_READ))
        return {};
    for (guint p = 0; p < 3; ++p) {
        source.planes[p] = static_cast<const std::uint8_t*>(GST_VIDEO_FRAME_PLANE_DATA(&frame, p));
        source.strides[p] = GST_VIDEO_FRAME_PLANE_STRIDE(&frame, p);
    }
    QImage image = converter.Convert(source, target, orientation);
    gst_video_frame_unmap(&frame);
    return image;
}

GstElement* make(const char* factory, const QString& name)
{
    return gst_element_factory_make(factory, name.toUtf8().constData());
}
} // namespace

// What a renderer keeps: the newest sample (for capture) and the size the
// window wants. Touched by the channel's streaming thread and the UI thread.
struct ChannelSink {
    PlaybackGraph* graph = nullptr;
    int index = 0;
    mutable std::mutex mutex;
    GstSamplePtr last;
    std::atomic<std::uint32_t> target{0};
    std::atomic<std::uint64_t> rendered{0};
    // Bit 0 mirror, bit 1 flip: applied while converting, so that a picture
    // shown upright costs no extra copy.
    std::atomic<std::uint8_t> orientation{0};
    PictureConverter::Orientation Orientation() const
    {
        const std::uint8_t o = orientation.load();
        return {(o & 1) != 0, (o & 2) != 0};
    }
    // Used on the channel's streaming thread only.
    PictureConverter converter;

    void take(GstSample* sample)
    {
        const std::uint32_t t = target.load();
        QImage image = convertSample(sample, QSize(static_cast<int>(t >> 16), static_cast<int>(t & 0xFFFF)),
                                     Orientation(), converter);
        {
            std::lock_guard lock(mutex);
            last.reset(sample);
        }
        if (!image.isNull())
            graph->deliver(index, image);
    }

    static GstFlowReturn onSample(GstAppSink* sink, gpointer self)
    {
        auto* c = static_cast<ChannelSink*>(self);
        if (GstSample* s = gst_app_sink_pull_sample(sink)) {
            c->rendered.fetch_add(1);
            c->take(s);
        }
        return GST_FLOW_OK;
    }
    static GstFlowReturn onPreroll(GstAppSink* sink, gpointer self)
    {
        auto* c = static_cast<ChannelSink*>(self);
        if (GstSample* s = gst_app_sink_pull_preroll(sink))
            c->take(s);
        return GST_FLOW_OK;
    }
};

// Runs on whichever thread posts the message.
struct BusHandler {
    static GstBusSyncReply onMessage(GstBus*, GstMessage* message, gpointer data)
    {
        // A handler that drops a message owns it.
        const GstMessagePtr owned(message);
        static_cast<PlaybackGraph*>(data)->handleBusMessage(message);
        return GST_BUS_DROP;
    }
};

PlaybackGraph::PlaybackGraph(int count, const std::array<IVideoWindow*, 4>& windows)
    : channelCount(count), videoWindow(windows), valid(true)
{
}

PlaybackGraph::~PlaybackGraph() { Teardown(); }

void PlaybackGraph::deliver(int channel, const QImage& frame)
{
    if (m_frameSink)
        m_frameSink(channel, frame);
}

bool PlaybackGraph::Build(const QString& file, QString* error)
{
    if (built || filterGraph)
        Teardown();
    path = file;

    // The track list decides the graph's shape; a file that is not a complete
    // MP4 stops here, before any streaming thread exists.
    const auto probe = ContainerProbe::Read(path, error);
    if (!probe)
        return false;

    filterGraph = gst_pipeline_new("filter graph");
    m_fileSource = make("filesrc", QStringLiteral("file source"));
    source = make("qtdemux", QStringLiteral("VORovadaZovavEvuzaz"));
    if (!filterGraph || !m_fileSource || !source) {
        if (error)
            *error = QStringLiteral("the MP4 source cannot be created");
        if (m_fileSource)
            gst_object_unref(m_fileSource);
        if (source)
            gst_object_unref(source);
        m_fileSource = source = nullptr;
        return false;
    }
    gst_bin_add_many(GST_BIN(filterGraph), m_fileSource, source, nullptr);
    g_object_set(m_fileSource, "location", path.toUtf8().constData(), nullptr);
    if (!gst_element_link(m_fileSource, source)) {
        if (error)
            *error = QStringLiteral("the MP4 source cannot be linked");
        return false;
    }
    gst_bus_set_sync_handler(GstBusPtr(gst_pipeline_get_bus(GST_PIPELINE(filterGraph))).get(), &BusHandler::onMessage,
                             this, nullptr);

    // The telemetry reader works on the file directly; its absence is not an error.
    telemetry = TelemetryFileSource::Open(path);

    videoPinCount = probe->videoPinCount();
    audioPinValue = probe->audioPinValue();
    if (videoPinCount == 0) {
        // Nothing to show: the graph stays with its source alone and never runs.
        durationCache = probe->durationUnits;
        state = EngineState::Stopped;
        built = true;
        return true;
    }
    const bool single = videoPinCount == 1;
    if (!buildAudio(single, error))
        return false;
    const int channels = single ? 1 : std::min({channelCount, videoPinCount, 4});
    for (int k = 1; k <= channels; ++k)
        if (!buildChannel(k, single, error))
            return false;
    durationCache = 0;
    g_signal_connect(source, "pad-added", G_CALLBACK(&PlaybackGraph::onPadAdded), this);

    // Preroll: the graph is ready and stopped with the first picture of each channel.
    const GstStateChangeReturn r = gst_element_set_state(filterGraph, GST_STATE_PAUSED);
    if (r == GST_STATE_CHANGE_FAILURE || !waitForSettled(scaledWait(kPrerollTimeoutMs))) {
        std::lock_guard lock(m_messageMutex);
        if (error)
            *error = m_errorText.isEmpty() ? QStringLiteral("the graph did not get ready") : m_errorText;
        return false;
    }
    state = EngineState::Stopped;
    durationCache = Duration();
    if (durationCache <= 0)
        durationCache = probe->durationUnits;
    const QSize native = probe->videoSize(0);
    nativeWidth = native.width();
    nativeHeight = native.height();
    if (m_sinks[0]) {
        std::lock_guard lock(m_sinks[0]->mutex);
        if (m_sinks[0]->last) {
            GstVideoInfo info;
            if (GstCaps* caps = gst_sample_get_caps(m_sinks[0]->last.get()); caps && gst_video_info_from_caps(&info, caps)) {
                nativeWidth = GST_VIDEO_INFO_WIDTH(&info);
                nativeHeight = GST_VIDEO_INFO_HEIGHT(&info);
            }
        }
    }
    built = true;
    return true;
}

bool PlaybackGraph::buildAudio(bool single, QString* error)
{
    const int a = audioPinValue;
    if (a <= 0)
        return true;
    if (a < 1000) {
        audioDecoder = make("avdec_aac", single ? QStringLiteral("COREAAC AUDIO") : QStringLiteral("CoreAAC Decoder"));
        if (!audioDecoder) {
            if (error)
                *error = QStringLiteral("the AAC decoder cannot be created");
            return false;
        }
        gst_bin_add(GST_BIN(filterGraph), audioDecoder);
    }
    // A machine without a usable sound output still shows the pictures.
    GstElement* sink = nullptr;
    if (!m_preferredAudioSink.isEmpty()) {
        // The output found for an earlier recording: probing every kind of
        // sound output again costs a good part of the time to the first picture.
        sink = make(m_preferredAudioSink.constData(), QStringLiteral("DirectSound Audio Renderer"));
        if (sink && m_preferredAudioSink == "fakesink")
            g_object_set(sink, "sync", TRUE, nullptr);
        if (sink && gst_element_set_state(sink, GST_STATE_READY) == GST_STATE_CHANGE_FAILURE) {
            gst_element_set_state(sink, GST_STATE_NULL);
            gst_object_unref(sink);
            sink = nullptr;
        }
    }
    if (!sink) {
        sink = make(m_audioSinkFactory.constData(), QStringLiteral("DirectSound Audio Renderer"));
        if (sink && gst_element_set_state(sink, GST_STATE_READY) != GST_STATE_CHANGE_FAILURE && GST_IS_BIN(sink)) {
            // An automatic sink holds the output it chose as its only child.
            GstIterator* it = gst_bin_iterate_elements(GST_BIN(sink));
            GValue item = G_VALUE_INIT;
            if (gst_iterator_next(it, &item) == GST_ITERATOR_OK) {
                GstElementFactory* f = gst_element_get_factory(GST_ELEMENT(g_value_get_object(&item)));
                if (f)
                    m_chosenAudioSink = gst_plugin_feature_get_name(GST_PLUGIN_FEATURE(f));
                g_value_unset(&item);
            }
            gst_iterator_free(it);
        }
    }
    if (!sink || GST_STATE(sink) < GST_STATE_READY) {
        qCInfo(vxEngine) << "no audio renderer; playing without sound";
        if (sink) {
            gst_element_set_state(sink, GST_STATE_NULL);
            gst_object_unref(sink);
        }
        return true;
    }
    GstElement* queue = make("queue", QStringLiteral("audio queue"));
    GstElement* convert = make("audioconvert", QStringLiteral("audio converter"));
    GstElement* resample = make("audioresample", QStringLiteral("audio resampler"));
    GstElement* tempo = make("scaletempo", QStringLiteral("tempo"));
    GstElement* convert2 = make("audioconvert", QStringLiteral("tempo converter"));
    GstElement* volume = make("volume", QStringLiteral("volume"));
    if (!queue || !convert || !resample || !tempo || !convert2 || !volume) {
        for (GstElement* e : {queue, convert, resample, tempo, convert2, volume, sink})
            if (e) {
                gst_element_set_state(e, GST_STATE_NULL);
                gst_object_unref(e);
            }
        qCInfo(vxEngine) << "audio elements missing; playing without sound";
        return true;
    }
    audioRenderer = sink;
    m_volume = volume;
    gst_bin_add_many(GST_BIN(filterGraph), queue, convert, resample, tempo, convert2, volume, sink, nullptr);
    const bool linked = audioDecoder ? gst_element_link_many(queue, audioDecoder, convert, resample, tempo, convert2,
                                                             volume, sink, nullptr)
                                     : gst_element_link_many(queue, convert, resample, tempo, convert2, volume, sink,
                                                             nullptr);
    if (!linked) {
        qCInfo(vxEngine) << "audio chain does not link; playing without sound";
        return true;
    }
    m_audioEntry = queue;
    m_audioUsable = true;
    return true;
}

bool PlaybackGraph::buildChannel(int k, bool single, QString* error)
{
    const int i = k - 1;
    GstElement* queue = make("queue", QStringLiteral("video queue %1").arg(k));
    decoder[i] = make("avdec_h264", QStringLiteral("FFDShow Decoder%1").arg(k));
    converter[i] = make("videoconvert", QStringLiteral("Color Space Convertor %1").arg(k));
    renderer[i] = make("appsink", single ? QStringLiteral("Mixing Renderer9") : QStringLiteral("Mixing Renderer9-%1").arg(k));
    if (!queue || !decoder[i] || !converter[i] || !renderer[i]) {
        for (GstElement* e : {queue, decoder[i], converter[i], renderer[i]})
            if (e)
                gst_object_unref(e);
        decoder[i] = converter[i] = renderer[i] = nullptr;
        if (error)
            *error = QStringLiteral("the video chain of channel %1 cannot be created").arg(k);
        return false;
    }
    // Every picture is shown, even one a few milliseconds late (the first ones
    // after a start often are, and the decoder would answer by throwing away
    // the next ones it decoded); the renderer still lets go of one that is
    // badly late. Up to double speed, the fastest this viewer plays, two HD
    // pictures keep up without skipping.
    g_object_set(decoder[i], "qos", FALSE, nullptr);
    // Bounded buffering: enough to ride over a slow frame, little enough to start fast.
    g_object_set(queue, "max-size-buffers", 8u, "max-size-time", guint64(0), "max-size-bytes", 0u, nullptr);
    const GstCapsPtr caps(gst_caps_from_string("video/x-raw,format=I420"));
    g_object_set(renderer[i], "caps", caps.get(), "sync", TRUE, "wait-on-eos", FALSE, "enable-last-sample", FALSE,
                 "max-buffers", 2u, "qos", TRUE, "max-lateness", gint64(40 * GST_MSECOND), nullptr);

    auto sink = std::make_unique<ChannelSink>();
    sink->graph = this;
    sink->index = k;
    GstAppSinkCallbacks callbacks{};
    callbacks.new_preroll = &ChannelSink::onPreroll;
    callbacks.new_sample = &ChannelSink::onSample;
    gst_app_sink_set_callbacks(GST_APP_SINK(renderer[i]), &callbacks, sink.get(), nullptr);
    m_sinks[i] = std::move(sink);
    SetOrientation(k, m_presetOrientation[i].first, m_presetOrientation[i].second);
    // The first picture arrives during the preroll: it must already fit its window.
    if (videoWindow[i])
        SetTargetSize(k, videoWindow[i]->clientSize());

    gst_bin_add_many(GST_BIN(filterGraph), queue, decoder[i], converter[i], renderer[i], nullptr);
    const bool linked = gst_element_link_many(queue, decoder[i], converter[i], renderer[i], nullptr);
    if (!linked) {
        if (error)
            *error = QStringLiteral("the video chain of channel %1 does not link").arg(k);
        return false;
    }
    m_videoEntry[i] = queue;
    return true;
}

void PlaybackGraph::onPadAdded(GstElement*, GstPad* pad, void* data)
{
    auto* self = static_cast<PlaybackGraph*>(data);
    gchar* name = gst_pad_get_name(pad);
    const QByteArray padName(name);
    g_free(name);
    GstElement* entry = nullptr;
    if (padName.startsWith("video_")) {
        // The k-th picture track feeds decoder k.
        bool ok = false;
        const int n = padName.mid(6).toInt(&ok);
        if (ok && n >= 0 && n < 4)
            entry = self->m_videoEntry[n];
    } else if (padName.startsWith("audio_") && self->m_audioUsable && !self->m_audioLinked.exchange(true)) {
        entry = self->m_audioEntry;
    }
    if (!entry)
        return;
    const GstPadPtr sinkPad(gst_element_get_static_pad(entry, "sink"));
    if (sinkPad && !gst_pad_is_linked(sinkPad.get()) && gst_pad_link(pad, sinkPad.get()) != GST_PAD_LINK_OK)
        qCWarning(vxEngine) << "cannot link" << padName;
}

void PlaybackGraph::handleBusMessage(GstMessage* message)
{
    switch (GST_MESSAGE_TYPE(message)) {
    case GST_MESSAGE_ERROR: {
        GError* err = nullptr;
        gchar* debug = nullptr;
        gst_message_parse_error(message, &err, &debug);
        const QString text = QString::fromUtf8(err ? err->message : "unknown error");
        qCWarning(vxEngine) << "graph error from" << GST_OBJECT_NAME(GST_MESSAGE_SRC(message)) << text << debug;
        g_clear_error(&err);
        g_free(debug);
        {
            std::lock_guard lock(m_messageMutex);
            if (m_errorText.isEmpty())
                m_errorText = text;
        }
        m_failed = true;
        if (built && m_errorSink)
            m_errorSink(text);
        break;
    }
    case GST_MESSAGE_EOS:
        m_atEnd = true;
        break;
    case GST_MESSAGE_ASYNC_DONE:
        if (GST_MESSAGE_SRC(message) == GST_OBJECT(filterGraph) && m_seekInFlight.exchange(false) && m_settledSink)
            m_settledSink();
        break;
    case GST_MESSAGE_APPLICATION:
        // A refused seek settles at once: the picture stays where it was.
        if (gst_message_has_name(message, kSeekRefused) && m_seekInFlight.exchange(false) && m_settledSink)
            m_settledSink();
        break;
    default:
        break;
    }
}

bool PlaybackGraph::waitForSettled(int timeoutMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (m_failed)
            return false;
        GstState current, pending;
        const GstStateChangeReturn r = gst_element_get_state(filterGraph, &current, &pending, 20 * GST_MSECOND);
        if (r == GST_STATE_CHANGE_SUCCESS || r == GST_STATE_CHANGE_NO_PREROLL)
            return !m_failed;
        if (r == GST_STATE_CHANGE_FAILURE || std::chrono::steady_clock::now() >= deadline)
            return false;
    }
}

void PlaybackGraph::Teardown()
{
    if (filterGraph) {
        // Stopping joins every streaming thread, so no callback runs after this.
        gst_element_set_state(filterGraph, GST_STATE_NULL);
        gst_bus_set_sync_handler(GstBusPtr(gst_pipeline_get_bus(GST_PIPELINE(filterGraph))).get(), nullptr, nullptr,
                                 nullptr);
        gst_object_unref(filterGraph);
    }
    filterGraph = nullptr;
    source = audioDecoder = audioRenderer = m_volume = m_fileSource = m_audioEntry = nullptr;
    renderer = decoder = converter = m_videoEntry = {};
    for (auto& s : m_sinks)
        s.reset();
    telemetry.reset();
    m_audioUsable = false;
    m_audioLinked = false;
    m_atEnd = false;
    m_failed = false;
    m_seekInFlight = false;
    if (state != EngineState::NoMedia)
        state = EngineState::Stopped;
    built = false;
}

bool PlaybackGraph::Play()
{
    if (!filterGraph)
        return false;
    return gst_element_set_state(filterGraph, GST_STATE_PLAYING) != GST_STATE_CHANGE_FAILURE;
}

bool PlaybackGraph::PauseGraph()
{
    if (!filterGraph)
        return false;
    if (gst_element_set_state(filterGraph, GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE)
        return false;
    return waitForSettled(scaledWait(kSeekTimeoutMs));
}

bool PlaybackGraph::Seek(std::int64_t units, double newRate)
{
    if (!filterGraph || videoPinCount == 0)
        return false;
    const std::int64_t duration = Duration();
    units = std::max<std::int64_t>(0, units);
    m_atEnd = false;
    const auto flags = static_cast<GstSeekFlags>(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE);
    if (!gst_element_seek(filterGraph, newRate, GST_FORMAT_TIME, flags, GST_SEEK_TYPE_SET, units * kNsPerUnit,
                          GST_SEEK_TYPE_NONE, GST_CLOCK_TIME_NONE))
        return false;
    m_appliedRate = newRate;
    // The position is stale until the flushing seek has prerolled again.
    waitForSettled(scaledWait(kSeekTimeoutMs));
    if (duration > 0 && units >= duration)
        m_atEnd = true;
    return true;
}

bool PlaybackGraph::StartSeek(std::int64_t units, double newRate, bool exact)
{
    if (!filterGraph || videoPinCount == 0)
        return false;
    const std::int64_t duration = Duration();
    units = std::max<std::int64_t>(0, units);
    if (duration > 0)
        units = std::min(units, duration);
    m_atEnd = false;
    const auto flags = static_cast<GstSeekFlags>(
        GST_SEEK_FLAG_FLUSH | (exact ? GST_SEEK_FLAG_ACCURATE : GST_SEEK_FLAG_KEY_UNIT | GST_SEEK_FLAG_SNAP_NEAREST));
    m_seekInFlight = true;
    m_appliedRate = newRate;
    // A flushing seek waits for the decoders to let go of what they hold,
    // tens of milliseconds for 1080p: it runs on a GStreamer pool thread so
    // that the UI thread does not. That thread touches only the pipeline (the
    // call holds a reference to it); a refused seek is reported through the
    // bus, whose handler is gone once this graph is torn down.
    auto* seek = gst_event_new_seek(newRate, GST_FORMAT_TIME, flags, GST_SEEK_TYPE_SET, units * kNsPerUnit,
                                    GST_SEEK_TYPE_NONE, GST_CLOCK_TIME_NONE);
    gst_element_call_async(
        filterGraph,
        [](GstElement* pipeline, gpointer data) {
            auto* event = static_cast<GstEvent*>(data);
            if (!gst_element_send_event(pipeline, gst_event_ref(event)))
                gst_element_post_message(pipeline, gst_message_new_application(
                                                       GST_OBJECT(pipeline), gst_structure_new_empty(kSeekRefused)));
        },
        seek, [](gpointer data) { gst_event_unref(static_cast<GstEvent*>(data)); });
    return true;
}

std::optional<std::int64_t> PlaybackGraph::Position()
{
    if (!filterGraph || videoPinCount == 0)
        return std::nullopt;
    if (m_atEnd)
        return Duration();
    gint64 ns = 0;
    if (!gst_element_query_position(filterGraph, GST_FORMAT_TIME, &ns) || ns < 0)
        return std::nullopt;
    return ns / kNsPerUnit;
}

std::int64_t PlaybackGraph::Duration()
{
    if (durationCache > 0)
        return durationCache;
    gint64 ns = 0;
    if (filterGraph && videoPinCount > 0 && gst_element_query_duration(filterGraph, GST_FORMAT_TIME, &ns) && ns > 0)
        return ns / kNsPerUnit;
    return 0;
}

bool PlaybackGraph::Grab(int channel, QImage& picture) const
{
    if (channel < 1 || channel > 4 || !m_sinks[channel - 1])
        return false;
    GstSamplePtr sample;
    {
        std::lock_guard lock(m_sinks[channel - 1]->mutex);
        if (!m_sinks[channel - 1]->last)
            return false;
        sample.reset(gst_sample_ref(m_sinks[channel - 1]->last.get()));
    }
    PictureConverter converter;
    const QImage image = convertSample(sample.get(), QSize(), m_sinks[channel - 1]->Orientation(), converter);
    if (image.isNull())
        return false;
    picture = image;
    return true;
}

void PlaybackGraph::SetTargetSize(int channel, QSize size)
{
    if (channel < 1 || channel > 4 || !m_sinks[channel - 1])
        return;
    const std::uint32_t packed = size.isValid() && !size.isEmpty()
                                     ? (static_cast<std::uint32_t>(std::min(size.width(), 0xFFFF)) << 16) |
                                           static_cast<std::uint32_t>(std::min(size.height(), 0xFFFF))
                                     : 0u;
    m_sinks[channel - 1]->target = packed;
}

void PlaybackGraph::SetGain(double gain)
{
    if (m_volume)
        g_object_set(m_volume, "volume", gain, nullptr);
}

bool PlaybackGraph::HasOrientationControl(int channel) const
{
    // The front camera's picture is never turned; the others can be mirrored and flipped.
    return channel >= 2 && channel <= 4 && m_sinks[channel - 1];
}

void PlaybackGraph::PresetOrientation(int channel, bool mirror, bool flip)
{
    if (channel >= 1 && channel <= 4)
        m_presetOrientation[static_cast<std::size_t>(channel - 1)] = {mirror, flip};
}

void PlaybackGraph::SetOrientation(int channel, bool mirror, bool flip)
{
    if (!HasOrientationControl(channel))
        return;
    m_sinks[channel - 1]->orientation = static_cast<std::uint8_t>((mirror ? 1 : 0) | (flip ? 2 : 0));
}

std::uint64_t PlaybackGraph::FramesRendered(int channel) const
{
    if (channel < 1 || channel > 4 || !m_sinks[channel - 1])
        return 0;
    return m_sinks[channel - 1]->rendered.load();
}

std::uint64_t PlaybackGraph::FramesDropped(int channel) const
{
    if (channel < 1 || channel > 4 || !renderer[channel - 1])
        return 0;
    // The renderer counts the pictures it let go because they came too late.
    GstStructure* stats = nullptr;
    g_object_get(renderer[channel - 1], "stats", &stats, nullptr);
    guint64 dropped = 0;
    if (stats) {
        gst_structure_get_uint64(stats, "dropped", &dropped);
        gst_structure_free(stats);
    }
    return dropped;
}
