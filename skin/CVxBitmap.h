#pragma once
// A window's background or source image, loaded once when the window creates
// its client area and kept for the window's life. A missing resource leaves
// the object empty; drawing from it then draws nothing.
#include <QImage>
#include <QRect>

class QPainter;
class QWidget;

class CVxBitmap {
public:
    CVxBitmap() = default;
    virtual ~CVxBitmap() = default;

    void Load(QWidget* owner, int resourceId);
    // Stretches the whole bitmap onto (0, 0)-(1130, 640).
    void DrawBackground(QPainter& target) const;
    // Block transfer of `source` (the whole bitmap when null) to `dest`
    // (the source size at dest's top-left when dest has no size).
    void Draw(QPainter& target, const QRect& dest, const QRect& source = QRect()) const;

    bool isNull() const { return m_bitmap.isNull(); }
    QSize size() const { return m_bitmap.size(); }
    const QImage& image() const { return m_bitmap; }

private:
    QImage m_bitmap;
};
