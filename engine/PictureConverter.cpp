#include "engine/PictureConverter.h"

#include <algorithm>
#include <libyuv/convert_argb.h>
#include <libyuv/scale.h>

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
    const int ys = alignedStride(w), cs = alignedStride((w + 1) / 2);
    const std::size_t yBytes = std::size_t(ys) * (h + 2), cBytes = std::size_t(cs) * ((h + 1) / 2 + 2);
    const std::size_t bytes = yBytes + 2 * cBytes;
    if (bytes > m_intermediateBytes) {
        av_free(m_intermediate);
        m_intermediate = static_cast<std::uint8_t*>(av_malloc(bytes));
        m_intermediateBytes = m_intermediate ? bytes : 0;
        if (!m_intermediate)
            return false;
    }
    std::uint8_t* out[3] = {m_intermediate, m_intermediate + yBytes, m_intermediate + yBytes + cBytes};
    m_scaled = Source{size, {out[0], out[1], out[2]}, {ys, cs, cs}};
    const auto& in = source.planes;
    const auto& is = source.strides;
    return libyuv::I420Scale(in[0], is[0], in[1], is[1], in[2], is[2], source.size.width(), source.size.height(),
                             out[0], ys, out[1], cs, out[2], cs, w, h, libyuv::kFilterBilinear) == 0;
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
    if (original.size.isEmpty() || size.isEmpty() || !destination || !original.planes[0] || !original.planes[1] ||
        !original.planes[2])
        return false;
    const bool scale = size != original.size;
    if (scale && !scaleToIntermediate(original, size))
        return false;
    const Source& s = scale ? m_scaled : original;
    // libyuv's "ARGB" is B, G, R, A in memory: QImage's RGB32 on this byte
    // order. For a negative height it writes the rows bottom-up: the flip is free.
    const int h = orientation.flip ? -size.height() : size.height();
    if (libyuv::I420ToARGB(s.planes[0], s.strides[0], s.planes[1], s.strides[1], s.planes[2], s.strides[2], destination,
                           stride, size.width(), h) != 0)
        return false;
    if (orientation.mirror) {
        for (int y = 0; y < size.height(); ++y) {
            auto* row = reinterpret_cast<std::uint32_t*>(destination + std::size_t(y) * stride);
            std::reverse(row, row + size.width());
        }
    }
    return true;
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
