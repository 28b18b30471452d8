#pragma once
// Rectangles of the window's geometry are written as (left, top)–(right, bottom)
// with right and bottom exclusive; QRect's right()/bottom() are inclusive, so
// every such rectangle is built and read through these two helpers.
#include <QRect>

inline QRect rectFromEdges(int left, int top, int right, int bottom)
{
    return QRect(QPoint(left, top), QSize(right - left, bottom - top));
}

inline int exclusiveRight(const QRect& r) { return r.x() + r.width(); }
inline int exclusiveBottom(const QRect& r) { return r.y() + r.height(); }
