#include "display/MapFixFeed.h"

void MapFixFeed::Reset()
{
    m_positionIndex.reset();
    m_overlay.reset();
}

void MapFixFeed::Tick(IMapPopup& popup, const MapFix& fix, bool offline)
{
    if (!offline && m_positionIndex != fix.index) {
        m_positionIndex = fix.index;
        popup.ShowPosition(fix.latitude, fix.longitude);
    }
    const bool changed = !m_overlay || m_overlay->index != fix.index || m_overlay->speed != fix.speed
        || m_overlay->speedUnit != fix.speedUnit || m_overlay->localTime != fix.localTime
        || m_overlay->localTime.offsetFromUtc() != fix.localTime.offsetFromUtc();
    if (changed) {
        m_overlay = fix;
        popup.UpdateOverlay(fix.speed, fix.speedUnit, fix.latitude, fix.longitude, fix.localTime);
    }
}
