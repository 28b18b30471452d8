#include "skin/CVxBitmap.h"

#include "skin/SkinImage.h"

#include <QPainter>

void CVxBitmap::Load(QWidget* /*owner*/, int resourceId)
{
    m_bitmap = LoadSkinImage(resourceId);
}

void CVxBitmap::DrawBackground(QPainter& target) const
{
    if (m_bitmap.isNull())
        return;
    target.drawImage(QRect(0, 0, 1130, 640), m_bitmap, m_bitmap.rect());
}

void CVxBitmap::Draw(QPainter& target, const QRect& dest, const QRect& source) const
{
    if (m_bitmap.isNull())
        return;
    const QRect src = source.isNull() ? m_bitmap.rect() : source;
    const QRect dst = dest.size().isEmpty() ? QRect(dest.topLeft(), src.size()) : dest;
    target.drawImage(dst, m_bitmap, src);
}
