#include "skin/CMemoryDC.h"

#include <QPaintDevice>

namespace {
QRect clipBox(QPainter& target)
{
    if (target.hasClipping())
        return target.clipBoundingRect().toAlignedRect();
    QPaintDevice* dev = target.device();
    return dev ? QRect(0, 0, dev->width(), dev->height()) : QRect();
}
} // namespace

CMemoryDC::CMemoryDC(QPainter& target, const QRect& rect)
    : m_target(target), m_rect(rect.isNull() ? clipBox(target) : rect)
{
    init(target.background().color());
}

CMemoryDC::CMemoryDC(QPainter& target, const QRect& rect, const QColor& fill)
    : m_target(target), m_rect(rect.isNull() ? clipBox(target) : rect)
{
    init(fill);
}

void CMemoryDC::init(const QColor& fill)
{
    const qreal dpr = m_target.device() ? m_target.device()->devicePixelRatioF() : 1.0;
    m_bitmap = QImage((m_rect.size() * dpr), QImage::Format_ARGB32_Premultiplied);
    m_bitmap.setDevicePixelRatio(dpr);
    m_bitmap.fill(fill);
    m_painter.begin(&m_bitmap);
    m_painter.translate(-m_rect.topLeft());
}

CMemoryDC::~CMemoryDC()
{
    m_painter.end();
    m_target.drawImage(m_rect.topLeft(), m_bitmap);
}
