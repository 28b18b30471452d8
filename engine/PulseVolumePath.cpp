#include "engine/PulseVolumePath.h"

#include <pulse/context.h>
#include <pulse/introspect.h>
#include <pulse/subscribe.h>
#include <pulse/thread-mainloop.h>
#include <pulse/volume.h>

#include "base/LogCategories.h"

#include <algorithm>
#include <chrono>

// Static entry points for libpulse; they run on its thread with its lock held.
struct PulseVolumePath::Callbacks {
    static void onState(pa_context* context, void* data)
    {
        auto* self = static_cast<PulseVolumePath*>(data);
        switch (pa_context_get_state(context)) {
        case PA_CONTEXT_READY:
            pa_context_set_subscribe_callback(context, &Callbacks::onEvent, self);
            if (pa_operation* op = pa_context_subscribe(
                    context, static_cast<pa_subscription_mask_t>(PA_SUBSCRIPTION_MASK_SINK | PA_SUBSCRIPTION_MASK_SERVER),
                    nullptr, nullptr))
                pa_operation_unref(op);
            self->requestServerInfo();
            break;
        case PA_CONTEXT_FAILED:
        case PA_CONTEXT_TERMINATED:
            self->connectionEnded();
            break;
        default:
            break;
        }
    }

    static void onServerInfo(pa_context*, const pa_server_info* info, void* data)
    {
        static_cast<PulseVolumePath*>(data)->takeServerInfo(info);
    }

    static void onSinkInfo(pa_context*, const pa_sink_info* info, int eol, void* data)
    {
        if (eol == 0 && info)
            static_cast<PulseVolumePath*>(data)->takeSinkInfo(info);
    }

    static void onEvent(pa_context*, pa_subscription_event_type_t type, std::uint32_t index, void* data)
    {
        auto* self = static_cast<PulseVolumePath*>(data);
        const unsigned facility = type & PA_SUBSCRIPTION_EVENT_FACILITY_MASK;
        const unsigned kind = type & PA_SUBSCRIPTION_EVENT_TYPE_MASK;
        std::uint32_t followed;
        {
            std::lock_guard lock(self->m_mutex);
            followed = self->m_sinkIndex;
        }
        if (facility == PA_SUBSCRIPTION_EVENT_SERVER)
            self->requestServerInfo(); // the default sink may have changed
        else if (facility == PA_SUBSCRIPTION_EVENT_SINK && index == followed)
            kind == PA_SUBSCRIPTION_EVENT_REMOVE ? self->requestServerInfo() : self->requestSinkInfo(index);
    }
};

PulseVolumePath::PulseVolumePath(int boundMs, QObject* parent) : VolumePath(parent), m_boundMs(boundMs) {}

PulseVolumePath::~PulseVolumePath() { CloseVolumePath(); }

bool PulseVolumePath::OpenVolumePath()
{
    if (m_loop)
        CloseVolumePath();
    m_loop = pa_threaded_mainloop_new();
    if (!m_loop)
        return false;
    pa_threaded_mainloop_lock(m_loop);
    m_context = pa_context_new(pa_threaded_mainloop_get_api(m_loop), "Halcyon Deck");
    bool started = false;
    if (m_context) {
        pa_context_set_state_callback(m_context, &Callbacks::onState, this);
        // Never start a server of our own: the viewer only reads the one in use.
        started = pa_context_connect(m_context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) >= 0;
    }
    pa_threaded_mainloop_unlock(m_loop);
    if (!started || pa_threaded_mainloop_start(m_loop) < 0) {
        qCInfo(vxEngine) << "no sound server to read the system mute from";
        CloseVolumePath();
        return false;
    }

    std::unique_lock lock(m_mutex);
    m_changed.wait_for(lock, std::chrono::milliseconds(m_boundMs), [this] { return m_sinkKnown || m_ended; });
    if (m_sinkKnown)
        m_reported = m_muted;
    const bool ready = m_sinkKnown;
    const bool ended = m_ended;
    lock.unlock();
    if (!ready)
        qCInfo(vxEngine) << (ended ? "the sound server refused the connection"
                                  : "the sound server did not answer in time; its mute state follows when it does");
    return ready;
}

bool PulseVolumePath::FindMuteControl()
{
    std::lock_guard lock(m_mutex);
    return m_sinkKnown;
}

bool PulseVolumePath::ReadSystemMute(bool& muted)
{
    std::lock_guard lock(m_mutex);
    if (!m_sinkKnown)
        return false;
    muted = m_muted;
    return true;
}

std::optional<int> PulseVolumePath::ReadSystemVolume()
{
    std::lock_guard lock(m_mutex);
    if (!m_sinkKnown)
        return std::nullopt;
    const std::uint64_t level16 =
        std::min<std::uint64_t>(0xFFFF, std::uint64_t(m_volume) * 0xFFFF / PA_VOLUME_NORM);
    return static_cast<int>(level16 / 654);
}

QByteArray PulseVolumePath::SinkName() const
{
    std::lock_guard lock(m_mutex);
    return m_sinkKnown ? m_sinkName : QByteArray();
}

void PulseVolumePath::CloseVolumePath()
{
    if (m_loop) {
        pa_threaded_mainloop_lock(m_loop);
        if (m_context) {
            pa_context_set_state_callback(m_context, nullptr, nullptr);
            pa_context_set_subscribe_callback(m_context, nullptr, nullptr);
            pa_context_disconnect(m_context);
            pa_context_unref(m_context);
            m_context = nullptr;
        }
        pa_threaded_mainloop_unlock(m_loop);
        // Joins libpulse's thread: no callback runs after this.
        pa_threaded_mainloop_stop(m_loop);
        pa_threaded_mainloop_free(m_loop);
        m_loop = nullptr;
    }
    std::lock_guard lock(m_mutex);
    m_ended = false;
    m_sinkKnown = false;
    m_sinkName.clear();
    m_sinkIndex = UINT32_MAX;
    m_reported.reset();
}

void PulseVolumePath::requestServerInfo()
{
    if (pa_operation* op = pa_context_get_server_info(m_context, &Callbacks::onServerInfo, this))
        pa_operation_unref(op);
}

void PulseVolumePath::requestSinkInfo(std::uint32_t index)
{
    if (pa_operation* op = pa_context_get_sink_info_by_index(m_context, index, &Callbacks::onSinkInfo, this))
        pa_operation_unref(op);
}

void PulseVolumePath::takeServerInfo(const pa_server_info* info)
{
    const QByteArray name = info && info->default_sink_name ? QByteArray(info->default_sink_name) : QByteArray();
    {
        std::lock_guard lock(m_mutex);
        if (!name.isEmpty() && name == m_sinkName)
            return;
        m_sinkName = name;
        m_sinkIndex = UINT32_MAX;
        m_sinkKnown = false;
    }
    if (name.isEmpty()) {
        // A server without any output: nothing to follow until one appears.
        m_changed.notify_all();
        return;
    }
    if (pa_operation* op = pa_context_get_sink_info_by_name(m_context, name.constData(), &Callbacks::onSinkInfo, this))
        pa_operation_unref(op);
}

void PulseVolumePath::takeSinkInfo(const pa_sink_info* info)
{
    {
        std::lock_guard lock(m_mutex);
        // An answer about a sink that is no longer the default one.
        if (!info->name || m_sinkName != info->name)
            return;
        m_sinkIndex = info->index;
        m_muted = info->mute != 0;
        m_volume = pa_cvolume_avg(&info->volume);
        m_sinkKnown = true;
    }
    m_changed.notify_all();
    QMetaObject::invokeMethod(this, [this] { reportMute(); }, Qt::QueuedConnection);
}

void PulseVolumePath::connectionEnded()
{
    {
        std::lock_guard lock(m_mutex);
        m_ended = true;
        m_sinkKnown = false;
    }
    m_changed.notify_all();
}

void PulseVolumePath::reportMute()
{
    bool muted;
    {
        std::lock_guard lock(m_mutex);
        if (!m_sinkKnown)
            return;
        muted = m_muted;
    }
    if (m_reported == muted)
        return;
    m_reported = muted;
    emit systemMuteChanged(muted);
}
