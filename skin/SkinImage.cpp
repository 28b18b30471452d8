#include "skin/SkinImage.h"

QString SkinBitmapPath(int resourceId)
{
    return QStringLiteral(":/bitmaps/%1.png").arg(resourceId);
}

QImage LoadSkinImage(int resourceId)
{
    QImage src(SkinBitmapPath(resourceId));
    if (src.isNull())
        return {};
    QImage img = src.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = qRgb(255, 0, 255);
    for (int y = 0; y < img.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            if ((line[x] & 0xFFFFFF) == (key & 0xFFFFFF))
                line[x] = 0;
    }
    return img.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}
