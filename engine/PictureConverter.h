#pragma once
// Turns a decoded picture into the 32-bit image a video window paints or a
// snapshot saves, with libyuv. The renderers take the decoders' pictures as
// I420 (4:2:0 planes). A picture for a smaller window is first scaled
// (bilinear) as 4:2:0 and only then turned into RGB, so only the window's
// pixels are converted. libyuv's vector code covers every width
// (libswscale's RGB output fell back to scalar code for odd widths, and its
// conversion cost as much as half the decoding of a 720p picture).
//
// Vector code may store whole blocks of pixels, so a destination is never a
// tightly packed QImage: every row starts on a 64-byte boundary, the buffer
// ends with a spare region, and the QImage wraps that buffer. One converter
// per thread (it keeps its scaling buffer).
#include <QImage>
#include <QSize>
#include <cstddef>
#include <cstdint>

class PictureConverter {
public:
    // An I420 picture: Y, U and V planes.
    struct Source {
        QSize size;
        const std::uint8_t* planes[3] = {};
        int strides[3] = {};
    };

    // How the picture is turned on its way: mirrored left to right, flipped upside down.
    // ({} is upright.)
    struct Orientation {
        bool mirror;
        bool flip;
    };

    // Row length and total size of a destination buffer for a picture of this size.
    struct Layout {
        int stride = 0;
        std::size_t bytes = 0;
    };
    static Layout DestinationLayout(QSize size);

    PictureConverter() = default;
    ~PictureConverter();
    PictureConverter(const PictureConverter&) = delete;
    PictureConverter& operator=(const PictureConverter&) = delete;

    // Converts to target, clamped to the source size (an invalid target keeps
    // the source size). A null image when the source cannot be converted.
    QImage Convert(const Source& source, QSize target, Orientation orientation = {});
    // The same into a buffer laid out by DestinationLayout(size); size must
    // already be clamped. False when nothing was written.
    bool ConvertInto(const Source& source, QSize size, std::uint8_t* destination, int stride,
                     Orientation orientation = {});

    static QSize ClampedTarget(QSize source, QSize target);

private:
    bool scaleToIntermediate(const Source& source, QSize size);

    std::uint8_t* m_intermediate = nullptr;
    std::size_t m_intermediateBytes = 0;
    Source m_scaled;
};
