#include "engine/SeekCoalescer.h"

#include "engine/PlaybackEngine.h"

SeekCoalescer::SeekCoalescer(PlaybackEngine* engine, int settleBoundMs, QObject* parent)
    : QObject(parent), m_engine(engine)
{
    m_bound.setSingleShot(true);
    m_bound.setInterval(settleBoundMs);
    connect(&m_bound, &QTimer::timeout, this, &SeekCoalescer::onSettled);
    if (m_engine)
        connect(m_engine, &PlaybackEngine::seekSettled, this, &SeekCoalescer::onSettled);
}

void SeekCoalescer::Move(std::int32_t ms)
{
    if (m_inFlight) {
        m_pending = ms;
        m_pendingExact = false;
        return;
    }
    start(ms, false);
}

void SeekCoalescer::Release(std::int32_t ms)
{
    if (m_inFlight) {
        m_pending = ms;
        m_pendingExact = true;
        return;
    }
    start(ms, true);
}

void SeekCoalescer::Reset()
{
    m_bound.stop();
    m_inFlight = false;
    m_pending.reset();
}

void SeekCoalescer::start(std::int32_t ms, bool exact)
{
    if (!m_engine)
        return;
    m_inFlight = m_engine->StartSeekMs(std::chrono::milliseconds(ms), exact);
    m_inFlightExact = exact;
    m_inFlightMs = ms;
    if (m_inFlight)
        m_bound.start();
    else if (exact)
        emit releasedSettled(ms);
}

void SeekCoalescer::onSettled()
{
    if (!m_inFlight)
        return; // a seek of someone else, or of a recording since closed
    m_bound.stop();
    m_inFlight = false;
    if (m_pending) {
        const std::int32_t ms = *m_pending;
        const bool exact = m_pendingExact;
        m_pending.reset();
        start(ms, exact);
        return;
    }
    if (m_inFlightExact)
        emit releasedSettled(m_inFlightMs);
}
