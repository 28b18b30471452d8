#pragma once
// One paint pass drawn into a hidden image of the painted rectangle's size and
// copied to the target once, when the object goes out of scope. Drawing uses
// the target's logical coordinates: (x, y) lands where it would on the target.
#include <QImage>
#include <QPainter>
#include <QRect>

class CMemoryDC {
public:
    // Without a rectangle the target's clip box is used (its whole device when
    // it has no clip). The buffer starts filled with `fill`, by default the
    // target painter's background colour.
    explicit CMemoryDC(QPainter& target, const QRect& rect = QRect());
    CMemoryDC(QPainter& target, const QRect& rect, const QColor& fill);
    ~CMemoryDC();
    CMemoryDC(const CMemoryDC&) = delete;
    CMemoryDC& operator=(const CMemoryDC&) = delete;

    QPainter& painter() { return m_painter; }
    QPainter* operator->() { return &m_painter; }
    const QRect& rect() const { return m_rect; }

private:
    void init(const QColor& fill);

    QPainter& m_target;
    QRect m_rect;
    QImage m_bitmap;
    QPainter m_painter;
};
