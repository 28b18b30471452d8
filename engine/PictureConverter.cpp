#include "engine/PictureConverter.h"

#include <algorithm>
#include <libyuv/convert_argb.h>
#include <libyuv/planar_functions.h>
#include <libyuv/scale.h>
#include <libyuv/scale_argb.h>
#include <libyuv/scale_uv.h>

extern "C" {
#include <libavutil/mem.h>
}

namespace {
constexpr int kRowAlignment = 64;
// The widest block vector code stores at once (AVX-512: 64 bytes), given at
// the end of every row and twice after the last row.
constexpr int kSpare = 64;

int alignedStride(int rowBytes) { return (rowBytes + kSpare + kRowAlignment - 1) / kRowAlignment * kRowAlignment; }

void freeBuffer(void* data) { av_free(data); }
} // namespace

PictureConverter::~PictureConverter() { av_free(m_intermediate); }

bool PictureConverter::scaleToIntermediate(const Source& source, QSize size)
{
    // Planes laid out as the destination is: aligned rows, a spare tail each.
    const int w = size.width(), h = size.height();
    const int cw = (w + 1) / 2, ch = (h + 1) / 2;
    int strides[3] = {};
    std::size_t planeBytes[3] = {};
    switch (source.format) {
    case Format::I420:
        strides[0] = alignedStride(w);
        strides[1] = strides[2] = alignedStride(cw);
        planeBytes[0] = std::size_t(strides[0]) * (h + 2);
        planeBytes[1] = planeBytes[2] = std::size_t(strides[1]) * (ch + 2);
        break;
    case Format::NV12:
        strides[0] = alignedStride(w);
        strides[1] = alignedStride(cw * 2);
        planeBytes[0] = std::size_t(strides[0]) * (h + 2);
        planeBytes[1] = std::size_t(strides[1]) * (ch + 2);
        break;
    case Format::BGRx:
        strides[0] = alignedStride(w * 4);
        planeBytes[0] = std::size_t(strides[0]) * (h + 2);
        break;
    }
    const std::size_t bytes = planeBytes[0] + planeBytes[1] + planeBytes[2];
    if (bytes > m_intermediateBytes) {
        av_free(m_intermediate);
        m_intermediate = static_cast<std::uint8_t*>(av_malloc(bytes));
        m_intermediateBytes = m_intermediate ? bytes : 0;
        if (!m_intermediate)
            return false;
    }
    m_scaled = Source{};
    m_scaled.format = source.format;
    m_scaled.size = size;
    std::uint8_t* planes[3] = {m_intermediate, m_intermediate + planeBytes[0],
                               m_intermediate + planeBytes[0] + planeBytes[1]};
    for (int p = 0; p < 3; ++p) {
        m_scaled.planes[p] = planeBytes[p] ? planes[p] : nullptr;
        m_scaled.strides[p] = strides[p];
    }
    const int sw = source.size.width(), sh = source.size.height();
    const auto* const* in = source.planes;
    const int* is = source.strides;
    switch (source.format) {
    case Format::I420:
        return libyuv::I420Scale(in[0], is[0], in[1], is[1], in[2], is[2], sw, sh, planes[0], strides[0], planes[1],
                                 strides[1], planes[2], strides[2], w, h, libyuv::kFilterBilinear) == 0;
    case Format::NV12:
        return libyuv::NV12Scale(in[0], is[0], in[1], is[1], sw, sh, planes[0], strides[0], planes[1], strides[1], w,
                                 h, libyuv::kFilterBilinear) == 0;
    case Format::BGRx:
        return libyuv::ARGBScale(in[0], is[0], sw, sh, planes[0], strides[0], w, h, libyuv::kFilterBilinear) == 0;
    }
    return false;
}

PictureConverter::Layout PictureConverter::DestinationLayout(QSize size)
{
    if (!size.isValid() || size.isEmpty())
        return {};
    const int stride = alignedStride(size.width() * 4);
    return {stride, static_cast<std::size_t>(stride) * static_cast<std::size_t>(size.height() + 2)};
}

QSize PictureConverter::ClampedTarget(QSize source, QSize target)
{
    if (!target.isValid() || target.isEmpty())
        return source;
    return target.boundedTo(source);
}

bool PictureConverter::ConvertInto(const Source& original, QSize size, std::uint8_t* destination, int stride,
                                   Orientation orientation)
{
    if (original.size.isEmpty() || size.isEmpty() || !destination || !original.planes[0])
        return false;
    if (original.format != Format::BGRx && !original.planes[1])
        return false;
    if (original.format == Format::I420 && !original.planes[2])
        return false;
    const bool scale = size != original.size;
    if (scale && !scaleToIntermediate(original, size))
        return false;
    const Source& s = scale ? m_scaled : original;
    if (!writeRgb(s, destination, stride, orientation.flip))
        return false;
    if (orientation.mirror) {
        for (int y = 0; y < size.height(); ++y) {
            auto* row = reinterpret_cast<std::uint32_t*>(destination + std::size_t(y) * stride);
            std::reverse(row, row + size.width());
        }
    }
    return true;
}

bool PictureConverter::writeRgb(const Source& s, std::uint8_t* destination, int stride, bool flip)
{
    const int w = s.size.width();
    // libyuv writes the rows bottom-up for a negative height: the flip is free.
    const int h = flip ? -s.size.height() : s.size.height();
    // libyuv's "ARGB" is B, G, R, A in memory: QImage's RGB32 on this byte order.
    switch (s.format) {
    case Format::I420:
        return libyuv::I420ToARGB(s.planes[0], s.strides[0], s.planes[1], s.strides[1], s.planes[2], s.strides[2],
                                  destination, stride, w, h) == 0;
    case Format::NV12:
        return libyuv::NV12ToARGB(s.planes[0], s.strides[0], s.planes[1], s.strides[1], destination, stride, w, h) ==
               0;
    case Format::BGRx:
        if (libyuv::ARGBCopy(s.planes[0], s.strides[0], destination, stride, w, h) != 0)
            return false;
        // The fourth byte of BGRx is undefined; an RGB32 image wants it opaque.
        for (int y = 0; y < s.size.height(); ++y) {
            std::uint8_t* row = destination + std::size_t(y) * stride;
            for (int x = 0; x < w; ++x)
                row[x * 4 + 3] = 0xFF;
        }
        return true;
    }
    return false;
}

QImage PictureConverter::Convert(const Source& source, QSize target, Orientation orientation)
{
    if (!source.size.isValid() || source.size.isEmpty())
        return {};
    const QSize size = ClampedTarget(source.size, target);
    const Layout layout = DestinationLayout(size);
    auto* buffer = static_cast<std::uint8_t*>(av_malloc(layout.bytes));
    if (!buffer)
        return {};
    if (!ConvertInto(source, size, buffer, layout.stride, orientation)) {
        av_free(buffer);
        return {};
    }
    // The image owns the buffer from here; copies share it until one is written to.
    return QImage(buffer, size.width(), size.height(), layout.stride, QImage::Format_RGB32, &freeBuffer, buffer);
}
