#pragma once
// Skin bitmaps live in the resource system as ":/bitmaps/<id>.png". Magenta
// (255, 0, 255) is their transparent key; loading turns it into alpha 0 so
// that every later draw is a plain QPainter::drawImage.
#include <QImage>
#include <QString>

QString SkinBitmapPath(int resourceId);
// A null image when the resource does not exist.
QImage LoadSkinImage(int resourceId);
