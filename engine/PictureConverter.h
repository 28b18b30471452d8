#pragma once
// Turns a decoded picture into the 32-bit image a video window paints or a
// snapshot saves, with libswscale. A picture for a smaller window is first
// scaled (bilinear) as 4:2:0 and only then turned into RGB: libswscale's
// vector code covers both of those steps, while its one-pass scale into RGB
// runs several times slower, and only the window's pixels are converted.
//
// libswscale's vector code writes whole blocks of pixels, so it stores past
// the last pixel of a row and past the last row for many picture widths. Its
// destination therefore is never a tightly packed QImage: every row starts on
// a 64-byte boundary and the buffer ends with a spare region, and the QImage
// wraps that buffer. One converter per thread (it keeps a scaling context).
#include <QImage>
#include <QSize>
#include <cstddef>
#include <cstdint>

struct SwsContext;

class PictureConverter {
public:
    enum class Format { I420, NV12, BGRx };

    struct Source {
        Format format = Format::I420;
        QSize size;
        const std::uint8_t* planes[4] = {};
        int strides[4] = {};
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
    QImage Convert(const Source& source, QSize target);
    // The same into a buffer laid out by DestinationLayout(size); size must
    // already be clamped. False when nothing was written.
    bool ConvertInto(const Source& source, QSize size, std::uint8_t* destination, int stride);

    static QSize ClampedTarget(QSize source, QSize target);

private:
    bool scaleToIntermediate(const Source& source, QSize size);

    SwsContext* m_context = nullptr; // into RGB
    SwsContext* m_scaler = nullptr;  // 4:2:0 to a smaller 4:2:0
    std::uint8_t* m_intermediate = nullptr;
    std::size_t m_intermediateBytes = 0;
    Source m_scaled;
};
