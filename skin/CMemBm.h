#pragma once
// A skin bitmap held once and cut into pieces on every paint (the skin button's
// image strip). A fresh object holds nothing and every field is zero.
#include <QImage>

class QPainter;

class CMemBm {
public:
    CMemBm() = default;
    virtual ~CMemBm();

    // True when a bitmap is held afterwards; a second call keeps the first bitmap.
    bool LoadFromResource(int resourceId);
    void StretchTo(QPainter& target, int x, int y, int w, int h, int sx, int sy, int sw, int sh) const;
    // Harmless on an empty object and when called twice.
    void Release();

    int width = 0;
    int height = 0;
    int planes = 0;
    int bitsPerPixel = 0;
    bool loaded = false;
    const QImage& image() const { return m_image; }

private:
    QImage m_image;
};
