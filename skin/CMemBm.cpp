#include "skin/CMemBm.h"

#include "skin/SkinImage.h"

#include <QPainter>

CMemBm::~CMemBm()
{
    Release();
}

bool CMemBm::LoadFromResource(int resourceId)
{
    if (loaded)
        return true;
    QImage img = LoadSkinImage(resourceId);
    if (img.isNull())
        return false;
    m_image = std::move(img);
    width = m_image.width();
    height = m_image.height();
    planes = 1;
    bitsPerPixel = m_image.depth();
    loaded = true;
    return true;
}

void CMemBm::StretchTo(QPainter& target, int x, int y, int w, int h, int sx, int sy, int sw, int sh) const
{
    if (!loaded)
        return;
    target.drawImage(QRect(x, y, w, h), m_image, QRect(sx, sy, sw, sh));
}

void CMemBm::Release()
{
    m_image = QImage();
    width = height = planes = bitsPerPixel = 0;
    loaded = false;
}
