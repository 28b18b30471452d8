#pragma once
// The volume path on libpulse (PulseAudio, or PipeWire's pulse server): one
// connection on libpulse's own thread, following the default sink's mute and
// volume through sink and server change events; a change of the default sink
// makes the new one the followed sink.
//
// Threading: libpulse calls back on its own thread; those callbacks only
// store the sink's state under m_mutex and queue a call to this object on the
// UI thread, which emits the signal. The UI thread waits for the server only
// in OpenVolumePath, and only up to the bound given.
#include "engine/VolumePath.h"

#include <QByteArray>
#include <condition_variable>
#include <cstdint>
#include <mutex>

struct pa_threaded_mainloop;
struct pa_context;
struct pa_server_info;
struct pa_sink_info;

class PulseVolumePath : public VolumePath {
    Q_OBJECT
public:
    static constexpr int kDefaultBoundMs = 300;

    explicit PulseVolumePath(int boundMs = kDefaultBoundMs, QObject* parent = nullptr);
    ~PulseVolumePath() override;

    bool OpenVolumePath() override;
    bool FindMuteControl() override;
    bool ReadSystemMute(bool& muted) override;
    std::optional<int> ReadSystemVolume() override;
    void CloseVolumePath() override;

    // The sink followed now (for traces and tests); empty when none.
    QByteArray SinkName() const;

private:
    struct Callbacks;
    friend struct Callbacks;
    void requestServerInfo();
    void requestSinkInfo(std::uint32_t index);
    void takeServerInfo(const pa_server_info* info);
    void takeSinkInfo(const pa_sink_info* info);
    void connectionEnded();
    void reportMute();

    int m_boundMs;
    pa_threaded_mainloop* m_loop = nullptr;
    pa_context* m_context = nullptr;

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_ended = false;     // the connection failed or the server went away
    bool m_sinkKnown = false; // the default sink's state has been read
    QByteArray m_sinkName;
    std::uint32_t m_sinkIndex = UINT32_MAX;
    bool m_muted = false;
    std::uint32_t m_volume = 0; // average of the channels, libpulse units
    // UI thread only: the last mute value signalled.
    std::optional<bool> m_reported;
};
