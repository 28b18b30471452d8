#pragma once
// Seeks for a dragged position slider. A drag sends a position per mouse
// move, far more often than a 1080p graph can seek; queued one after another
// the seeks make the picture trail the thumb by seconds and block the UI
// thread. Here at most one seek is in flight: positions that arrive meanwhile
// replace each other, and only the latest is sought once the graph has
// settled. Moves seek to the nearest key frame (fast); the release seeks to
// the exact position. UI thread only.
#include <QObject>
#include <QTimer>
#include <cstdint>
#include <optional>

class PlaybackEngine;

class SeekCoalescer : public QObject {
    Q_OBJECT
public:
    // A seek that has not settled within settleBoundMs counts as settled, so
    // that a graph that never answers cannot hold the slider for good.
    explicit SeekCoalescer(PlaybackEngine* engine, int settleBoundMs = 2000, QObject* parent = nullptr);

    // The thumb is at ms while the button is held.
    void Move(std::int32_t ms);
    // The thumb was let go at ms: the picture there, exactly.
    void Release(std::int32_t ms);
    // Forget what is pending (the recording closes or another starts).
    void Reset();
    bool InFlight() const { return m_inFlight; }

signals:
    // The exact seek of a release has settled: its picture is shown.
    void releasedSettled(std::int32_t ms);

private:
    void onSettled();
    void start(std::int32_t ms, bool exact);

    PlaybackEngine* m_engine;
    QTimer m_bound;
    bool m_inFlight = false;
    bool m_inFlightExact = false;
    std::int32_t m_inFlightMs = 0;
    std::optional<std::int32_t> m_pending;
    bool m_pendingExact = false;
};
