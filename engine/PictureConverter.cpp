#include "engine/PictureConverter.h"

extern "C" {
#include <libavutil/mem.h>
#include <libswscale/swscale.h>
}

namespace {
constexpr int kRowAlignment = 64;
// The widest block the vector code stores at once (AVX-512: 64 bytes), given
// at the end of every row and twice after the last row.
constexpr int kSpare = 64;

AVPixelFormat avFormat(PictureConverter::Format f)
{
    switch (f) {
    case PictureConverter::Format::I420:
        return AV_PIX_FMT_YUV420P;
    case PictureConverter::Format::NV12:
        return AV_PIX_FMT_NV12;
    case PictureConverter::Format::BGRx:
        return AV_PIX_FMT_BGR0;
    }
    return AV_PIX_FMT_NONE;
}

void freeBuffer(void* data) { av_free(data); }
} // namespace

PictureConverter::~PictureConverter()
{
    sws_freeContext(m_context);
    sws_freeContext(m_scaler);
    av_free(m_intermediate);
}

bool PictureConverter::scaleToIntermediate(const Source& source, QSize size)
{
    // Planes laid out as the destination is: aligned rows, a spare tail each.
    const auto planeStride = [](int width) { return (width + kSpare + kRowAlignment - 1) / kRowAlignment * kRowAlignment; };
    const int cw = (size.width() + 1) / 2, ch = (size.height() + 1) / 2;
    const int ys = planeStride(size.width()), cs = planeStride(cw);
    const std::size_t yBytes = std::size_t(ys) * (size.height() + 2), cBytes = std::size_t(cs) * (ch + 2);
    const std::size_t bytes = yBytes + 2 * cBytes;
    if (bytes > m_intermediateBytes) {
        av_free(m_intermediate);
        m_intermediate = static_cast<std::uint8_t*>(av_malloc(bytes));
        m_intermediateBytes = m_intermediate ? bytes : 0;
        if (!m_intermediate)
            return false;
    }
    m_scaler = sws_getCachedContext(m_scaler, source.size.width(), source.size.height(), avFormat(source.format),
                                    size.width(), size.height(), AV_PIX_FMT_YUV420P, SWS_FAST_BILINEAR, nullptr,
                                    nullptr, nullptr);
    if (!m_scaler)
        return false;
    m_scaled = Source{};
    m_scaled.format = Format::I420;
    m_scaled.size = size;
    std::uint8_t* planes[4] = {m_intermediate, m_intermediate + yBytes, m_intermediate + yBytes + cBytes, nullptr};
    const int strides[4] = {ys, cs, cs, 0};
    for (int p = 0; p < 3; ++p) {
        m_scaled.planes[p] = planes[p];
        m_scaled.strides[p] = strides[p];
    }
    return sws_scale(m_scaler, source.planes, source.strides, 0, source.size.height(), planes, strides) > 0;
}

PictureConverter::Layout PictureConverter::DestinationLayout(QSize size)
{
    if (!size.isValid() || size.isEmpty())
        return {};
    const int row = size.width() * 4 + kSpare;
    const int stride = (row + kRowAlignment - 1) / kRowAlignment * kRowAlignment;
    return {stride, static_cast<std::size_t>(stride) * static_cast<std::size_t>(size.height() + 2)};
}

QSize PictureConverter::ClampedTarget(QSize source, QSize target)
{
    if (!target.isValid() || target.isEmpty())
        return source;
    return target.boundedTo(source);
}

bool PictureConverter::ConvertInto(const Source& original, QSize size, std::uint8_t* destination, int stride)
{
    if (original.size.isEmpty() || size.isEmpty() || !destination || !original.planes[0])
        return false;
    const bool scale = size != original.size;
    if (scale && !scaleToIntermediate(original, size))
        return false;
    const Source& source = scale ? m_scaled : original;
    const AVPixelFormat fmt = avFormat(source.format);
    const int w = source.size.width(), h = source.size.height();
    m_context = sws_getCachedContext(m_context, w, h, fmt, w, h, AV_PIX_FMT_BGRA, SWS_BILINEAR, nullptr, nullptr,
                                     nullptr);
    if (!m_context)
        return false;
    std::uint8_t* dst[4] = {destination, nullptr, nullptr, nullptr};
    const int dstStride[4] = {stride, 0, 0, 0};
    return sws_scale(m_context, source.planes, source.strides, 0, h, dst, dstStride) > 0;
}

QImage PictureConverter::Convert(const Source& source, QSize target)
{
    if (!source.size.isValid() || source.size.isEmpty())
        return {};
    const QSize size = ClampedTarget(source.size, target);
    const Layout layout = DestinationLayout(size);
    auto* buffer = static_cast<std::uint8_t*>(av_malloc(layout.bytes));
    if (!buffer)
        return {};
    if (!ConvertInto(source, size, buffer, layout.stride)) {
        av_free(buffer);
        return {};
    }
    // The image owns the buffer from here; copies share it until one is written to.
    return QImage(buffer, size.width(), size.height(), layout.stride, QImage::Format_RGB32, &freeBuffer, buffer);
}
