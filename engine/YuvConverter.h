#pragma once
// Turns a decoded 4:2:0 picture into the 32-bit image a video window paints,
// scaled to the window in the same pass. Colour conversion at full size is
// the main cost of showing video, so only the window's pixels are converted;
// each takes the nearest source sample (the window stretches the result).
#include <QImage>
#include <QSize>
#include <cstdint>

class YuvConverter {
public:
    // planes: Y, U, V of an I420 picture of the given size; target is clamped to it.
    static QImage toRgb32(const std::uint8_t* const planes[3], const int strides[3], QSize source, QSize target);
};
