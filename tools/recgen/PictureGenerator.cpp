#include "tools/recgen/PictureGenerator.h"

extern "C" {
#include <libavutil/frame.h>
}

#include <algorithm>
#include <cstring>

namespace {
// 5 x 7 glyphs, one byte per row, bit 4 is the left column.
struct Glyph {
    char c;
    std::uint8_t rows[7];
};
constexpr Glyph kGlyphs[] = {
    {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}}, {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}}, {'3', {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}},
    {'4', {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}}, {'5', {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}},
    {'6', {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}}, {'7', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}},
    {'8', {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}}, {'9', {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}},
    {':', {0x00, 0x0C, 0x0C, 0x00, 0x0C, 0x0C, 0x00}}, {'-', {0x00, 0x00, 0x00, 0x1F, 0x00, 0x00, 0x00}},
    {'.', {0x00, 0x00, 0x00, 0x00, 0x00, 0x0C, 0x0C}}, {'F', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10}},
    {'R', {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11}}, {'O', {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}},
    {'N', {0x11, 0x19, 0x15, 0x13, 0x11, 0x11, 0x11}}, {'T', {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04}},
    {'E', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}}, {'A', {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
};

const std::uint8_t* glyphRows(char c)
{
    for (const auto& g : kGlyphs)
        if (g.c == c)
            return g.rows;
    return nullptr;
}

void fillRect(AVFrame* f, int x0, int y0, int w, int h, std::uint8_t y, std::uint8_t u, std::uint8_t v)
{
    const int x1 = std::min(f->width, x0 + w), y1 = std::min(f->height, y0 + h);
    for (int yy = y0; yy < y1; ++yy)
        std::memset(f->data[0] + yy * f->linesize[0] + x0, y, x1 - x0);
    for (int yy = y0 / 2; yy < (y1 + 1) / 2; ++yy) {
        std::memset(f->data[1] + yy * f->linesize[1] + x0 / 2, u, (x1 + 1) / 2 - x0 / 2);
        std::memset(f->data[2] + yy * f->linesize[2] + x0 / 2, v, (x1 + 1) / 2 - x0 / 2);
    }
}
} // namespace

ChannelColours PictureGenerator::colours(int channel)
{
    if (channel == 0)
        return {81, 90, 240, 41, 240, 110};   // red over blue
    return {145, 54, 34, 210, 16, 146};        // green over yellow
}

void PictureGenerator::fill(AVFrame* f, int channel, const std::string& caption, std::int64_t frameIndex, bool noisy)
{
    const ChannelColours c = colours(channel);
    const int half = (f->height / 2) & ~1;
    fillRect(f, 0, 0, f->width, half, c.topY, c.topU, c.topV);
    fillRect(f, 0, half, f->width, f->height - half, c.bottomY, c.bottomU, c.bottomV);
    if (noisy)
        addGrain(f, channel, frameIndex);

    // A moving block along the bottom edge shows motion.
    const int block = std::max(4, f->height / 12) & ~1;
    const int travel = std::max(1, f->width - block);
    const int bx = static_cast<int>((frameIndex * 4) % travel) & ~1;
    fillRect(f, bx, f->height - block, block, block, 235, 128, 128);

    drawCaption(f, caption);
}

void PictureGenerator::addGrain(AVFrame* f, int channel, std::int64_t frameIndex)
{
    // Sensor-like grain that changes every frame.
    std::uint32_t state = 0x9e3779b9u * static_cast<std::uint32_t>(frameIndex + 1) + static_cast<std::uint32_t>(channel);
    for (int y = 0; y < f->height; ++y) {
        std::uint8_t* row = f->data[0] + y * f->linesize[0];
        for (int x = 0; x < f->width; ++x) {
            state = state * 1664525u + 1013904223u;
            const int v = row[x] + static_cast<int>((state >> 27) & 31) - 16;
            row[x] = static_cast<std::uint8_t>(std::clamp(v, 16, 235));
        }
    }
}

void PictureGenerator::drawCaption(AVFrame* f, const std::string& caption)
{
    // Camera name and time, white on black.
    const int scale = std::max(1, f->height / 180);
    const int cell = 6 * scale;
    const int x0 = 4 * scale & ~1, y0 = 4 * scale & ~1;
    fillRect(f, x0, y0, static_cast<int>(caption.size()) * cell + 2 * scale, 9 * scale, 16, 128, 128);
    for (std::size_t i = 0; i < caption.size(); ++i) {
        const std::uint8_t* rows = glyphRows(caption[i]);
        if (!rows)
            continue;
        for (int r = 0; r < 7; ++r)
            for (int col = 0; col < 5; ++col)
                if (rows[r] & (0x10 >> col)) {
                    const int px = x0 + scale + static_cast<int>(i) * cell + col * scale;
                    const int py = y0 + scale + r * scale;
                    for (int dy = 0; dy < scale && py + dy < f->height; ++dy)
                        std::memset(f->data[0] + (py + dy) * f->linesize[0] + px, 235,
                                    std::max(0, std::min(scale, f->width - px)));
                }
    }
}
