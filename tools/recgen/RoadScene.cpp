#include "tools/recgen/RoadScene.h"

extern "C" {
#include <libavutil/frame.h>
}

#include <algorithm>
#include <cmath>
#include <cstring>
#include <tuple>
#include <utility>

namespace {
struct Yuv {
    std::uint8_t y, u, v;
};

// Studio-range BT.601, which the decoders assume for pictures without colour tags.
constexpr Yuv rgb(int r, int g, int b)
{
    return {static_cast<std::uint8_t>(16 + (66 * r + 129 * g + 25 * b + 128) / 256),
            static_cast<std::uint8_t>(128 + (-38 * r - 74 * g + 112 * b + 128) / 256),
            static_cast<std::uint8_t>(128 + (112 * r - 94 * g - 18 * b + 128) / 256)};
}

constexpr Yuv kGrass = rgb(86, 118, 62);
constexpr Yuv kVerge = rgb(120, 112, 88);
constexpr Yuv kAsphalt = rgb(78, 80, 84);
constexpr Yuv kWhite = rgb(232, 232, 226);
constexpr Yuv kYellow = rgb(230, 186, 40);
constexpr Yuv kPole = rgb(150, 152, 156);
constexpr Yuv kLamp = rgb(250, 244, 210);
constexpr Yuv kBonnet = rgb(28, 30, 34);

// The world in metres, camera at the origin 1.3 m above the road, looking
// along the road. The camera drives in the right-hand lane of a two-lane road.
constexpr double kCameraHeight = 1.3;
constexpr double kCentreLine = -5.25;     // yellow, left edge of our side
constexpr double kLaneLine = -1.75;       // white dashes between the lanes
constexpr double kEdgeLine = 1.75;        // white, right edge
constexpr double kLineWidth = 0.15;
constexpr double kVergeWidth = 1.2;
constexpr double kDashLength = 4.0, kDashPeriod = 12.0;
constexpr double kPoleSide = 3.2, kPolePeriod = 30.0, kPoleHeight = 7.0, kPoleWidth = 0.22;
constexpr double kNear = 1.5;             // nothing is drawn closer than this

struct Span {
    int x0, x1;
    Yuv c;
};

void fillRow(AVFrame* f, int y, int x0, int x1, Yuv c)
{
    x0 = std::clamp(x0 & ~1, 0, f->width);
    x1 = std::clamp((x1 + 1) & ~1, 0, f->width);
    if (y < 0 || y >= f->height || x1 <= x0)
        return;
    std::memset(f->data[0] + y * f->linesize[0] + x0, c.y, static_cast<std::size_t>(x1 - x0));
    if ((y & 1) == 0) {
        std::memset(f->data[1] + (y / 2) * f->linesize[1] + x0 / 2, c.u, static_cast<std::size_t>(x1 - x0) / 2);
        std::memset(f->data[2] + (y / 2) * f->linesize[2] + x0 / 2, c.v, static_cast<std::size_t>(x1 - x0) / 2);
    }
}

void fillBox(AVFrame* f, int x0, int y0, int x1, int y1, Yuv c)
{
    for (int y = std::max(0, y0); y < std::min(f->height, y1); ++y)
        fillRow(f, y, x0, x1, c);
}

double wrap(double v, double period)
{
    const double r = std::fmod(v, period);
    return r < 0 ? r + period : r;
}

// Deterministic building heights along the horizon.
int skylineHeight(int block, int unit)
{
    std::uint32_t h = static_cast<std::uint32_t>(block) * 2654435761u;
    h ^= h >> 15;
    return unit * static_cast<int>(1 + h % 5);
}
} // namespace

void RoadScene::jolt(double s, double& shakeX, double& shakeY)
{
    shakeX = shakeY = 0;
    if (s < 0 || s > 0.8)
        return;
    const double ring = std::exp(-s * 7.0);
    shakeY = 0.08 * ring * std::cos(s * 38.0);
    shakeX = 0.04 * ring * std::sin(s * 29.0);
}

void RoadScene::draw(AVFrame* f, const RoadView& view)
{
    const int w = f->width, h = f->height;
    const double focal = 0.9 * w;
    const int shiftX = static_cast<int>(std::lround(view.shakeX * w));
    const double horizon = 0.46 * h + view.shakeY * h;
    const double centreX = w / 2.0 + shiftX;
    // Looking back the world's right appears on the left.
    const double side = view.rear ? -1.0 : 1.0;
    auto screenX = [&](double metres, double scale) { return centreX + side * metres * scale; };

    // Sky: a gradient from deep blue to a pale haze at the horizon.
    const int horizonRow = static_cast<int>(std::floor(horizon));
    for (int y = 0; y < std::min(h, std::max(0, horizonRow)); ++y) {
        const double t = std::clamp(y / std::max(1.0, horizon), 0.0, 1.0);
        fillRow(f, y, 0, w, rgb(static_cast<int>(70 + 120 * t), static_cast<int>(120 + 95 * t),
                                static_cast<int>(200 + 40 * t)));
    }

    // Far skyline, too far away to move.
    const int unit = std::max(2, h / 40);
    const int blockWidth = std::max(4, w / 24);
    for (int i = -1; i * blockWidth < w + blockWidth; ++i) {
        const int block = i + (view.rear ? 97 : 0);
        const int x = i * blockWidth + shiftX;
        const int shade = 150 + 12 * (block & 3);
        fillBox(f, x, horizonRow - skylineHeight(block, unit), x + blockWidth, horizonRow + 1,
                rgb(shade - 20, shade - 10, shade + 10));
    }

    // Ground, row by row: each row is one distance ahead.
    const double travelled = view.rear ? -view.travelledM : view.travelledM;
    for (int y = std::max(0, horizonRow + 1); y < h; ++y) {
        const double below = y + 0.5 - horizon;
        if (below <= 0)
            continue;
        const double scale = below / kCameraHeight;       // pixels per metre at this row
        const double distance = focal / scale;            // metres ahead
        const int lineHalf = std::max(1, static_cast<int>(kLineWidth * scale / 2));
        Span spans[] = {
            {0, w, kGrass},
            {0, 0, kVerge},
            {0, 0, kAsphalt},
            {0, 0, kYellow},
            {0, 0, kWhite},
            {0, 0, kWhite},
        };
        auto between = [&](double a, double b) {
            const double xa = screenX(a, scale), xb = screenX(b, scale);
            return std::pair<int, int>{static_cast<int>(std::min(xa, xb)), static_cast<int>(std::max(xa, xb))};
        };
        std::tie(spans[1].x0, spans[1].x1) = between(kCentreLine - kVergeWidth, kEdgeLine + kVergeWidth);
        std::tie(spans[2].x0, spans[2].x1) = between(kCentreLine, kEdgeLine);
        const int yellow = static_cast<int>(screenX(kCentreLine, scale));
        spans[3].x0 = yellow - lineHalf;
        spans[3].x1 = yellow + lineHalf;
        const int edge = static_cast<int>(screenX(kEdgeLine, scale));
        spans[4].x0 = edge - lineHalf;
        spans[4].x1 = edge + lineHalf;
        if (wrap(distance + travelled, kDashPeriod) < kDashLength) {
            const int lane = static_cast<int>(screenX(kLaneLine, scale));
            spans[5].x0 = lane - lineHalf;
            spans[5].x1 = lane + lineHalf;
        }
        for (const Span& s : spans)
            fillRow(f, y, s.x0, s.x1, s.c);
    }

    // Poles on both sides, the far ones first.
    const double firstPole = std::ceil((travelled + kNear) / kPolePeriod) * kPolePeriod;
    const int poles = 12;
    for (int k = poles - 1; k >= 0; --k) {
        const double distance = firstPole + k * kPolePeriod - travelled;
        const double scale = focal / distance;
        const int bottom = static_cast<int>(horizon + kCameraHeight * scale);
        const int top = static_cast<int>(horizon - (kPoleHeight - kCameraHeight) * scale);
        const int half = std::max(1, static_cast<int>(kPoleWidth * scale / 2));
        for (double metres : {kPoleSide, kCentreLine - kVergeWidth - 1.0}) {
            const int x = static_cast<int>(screenX(metres, scale));
            fillBox(f, x - half, top, x + half, bottom, kPole);
            // The lamp arm reaches over the road.
            const int armEnd = static_cast<int>(screenX(metres + (metres > 0 ? -1.8 : 1.8), scale));
            fillBox(f, std::min(x, armEnd), top, std::max(x, armEnd), top + 2 * half, kPole);
            fillBox(f, armEnd - 2 * half, top + 2 * half, armEnd + 2 * half, top + 3 * half, kLamp);
        }
    }

    // The bonnet at the front, the boot lid behind.
    const int lid = h - h / 14 + static_cast<int>(view.shakeY * h / 3);
    fillBox(f, 0, lid, w, h, kBonnet);
}
