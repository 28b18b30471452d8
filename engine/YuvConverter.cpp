#include "engine/YuvConverter.h"

#include <algorithm>
#include <vector>

namespace {
// BT.601 limited range, 8-bit fixed point.
struct Tables {
    int y[256], rv[256], gu[256], gv[256], bu[256];
    std::uint8_t clip[1536];
    Tables()
    {
        for (int i = 0; i < 256; ++i) {
            y[i] = 298 * (i - 16);
            rv[i] = 409 * (i - 128);
            gu[i] = -100 * (i - 128);
            gv[i] = -208 * (i - 128);
            bu[i] = 516 * (i - 128);
        }
        for (int i = 0; i < 1536; ++i)
            clip[i] = static_cast<std::uint8_t>(std::clamp(i - 512, 0, 255));
    }
};
const Tables kTables;
} // namespace

QImage YuvConverter::toRgb32(const std::uint8_t* const planes[3], const int strides[3], QSize source, QSize target)
{
    const int sw = source.width(), sh = source.height();
    if (sw <= 0 || sh <= 0 || !planes[0] || !planes[1] || !planes[2])
        return {};
    if (!target.isValid() || target.isEmpty())
        target = source;
    target = target.boundedTo(source);
    const int w = target.width(), h = target.height();
    QImage image(w, h, QImage::Format_RGB32);
    if (image.isNull())
        return {};
    std::vector<int> columns(static_cast<std::size_t>(w));
    for (int x = 0; x < w; ++x)
        columns[static_cast<std::size_t>(x)] = static_cast<int>(static_cast<std::int64_t>(x) * sw / w);
    const std::uint8_t* clip = kTables.clip + 512;
    for (int y = 0; y < h; ++y) {
        const int sy = static_cast<int>(static_cast<std::int64_t>(y) * sh / h);
        const std::uint8_t* yr = planes[0] + static_cast<std::ptrdiff_t>(sy) * strides[0];
        const std::uint8_t* ur = planes[1] + static_cast<std::ptrdiff_t>(sy >> 1) * strides[1];
        const std::uint8_t* vr = planes[2] + static_cast<std::ptrdiff_t>(sy >> 1) * strides[2];
        auto* out = reinterpret_cast<std::uint32_t*>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const int sx = columns[static_cast<std::size_t>(x)];
            const int luma = kTables.y[yr[sx]];
            const int u = ur[sx >> 1], v = vr[sx >> 1];
            const int r = (luma + kTables.rv[v] + 128) >> 8;
            const int g = (luma + kTables.gu[u] + kTables.gv[v] + 128) >> 8;
            const int b = (luma + kTables.bu[u] + 128) >> 8;
            out[x] = 0xFF000000u | (static_cast<std::uint32_t>(clip[r]) << 16) |
                     (static_cast<std::uint32_t>(clip[g]) << 8) | clip[b];
        }
    }
    return image;
}
