#include "display/LinePlotModel.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

// trunc toward zero, kept inside int so that far-off points of a locked range
// stay representable; the clip rectangle cuts them anyway.
int truncToPixel(double v)
{
    if (std::isnan(v))
        return 0;
    constexpr double kLimit = 1 << 28;
    return static_cast<int>(std::trunc(std::clamp(v, -kLimit, kLimit)));
}

} // namespace

void LinePlotModel::markAllDirty()
{
    for (CPlotData& s : series)
        s.dirty = true;
    m_imageValid = false;
}

void LinePlotModel::requestRepaint(bool now)
{
    if (m_repaint)
        m_repaint(now);
}

void LinePlotModel::AddSeries(const PlotPoint* points, std::uint32_t count, QRgb colour, const QString& name)
{
    series.emplace_back(points, count, colour, name);
    const CPlotData& added = series.back();
    selectedSeries = int(series.size()) - 1;
    cursor = 0;
    m_imageValid = false;
    if (added.count > 0) {
        if (!xLocked) {
            xMinimum = std::min(xMinimum, added.xMinimum);
            xMaximum = std::max(xMaximum, added.xMaximum);
            markAllDirty();
        }
        if (!yLocked) {
            yMinimum = std::min(yMinimum, added.yMinimum);
            yMaximum = std::max(yMaximum, added.yMaximum);
            markAllDirty();
        }
    }
    requestRepaint();
}

bool LinePlotModel::RemoveSeries(int index)
{
    if (index < 0 || index >= int(series.size()))
        return false;
    series.erase(series.begin() + index);
    if (selectedSeries >= index)
        selectedSeries = std::max(0, std::min(selectedSeries - 1, int(series.size()) - 1));
    m_imageValid = false;
    requestRepaint();
    return true;
}

void LinePlotModel::LockRange(PlotAxis axis, bool locked)
{
    bool& lock = axis == PlotAxis::X ? xLocked : yLocked;
    if (lock == locked)
        return;
    lock = locked;
    requestRepaint();
}

void LinePlotModel::SetXRange(float minimum, float maximum)
{
    if (xLocked || (minimum == xMinimum && maximum == xMaximum))
        return;
    xMinimum = minimum;
    xMaximum = maximum;
    markAllDirty();
    requestRepaint();
}

void LinePlotModel::SetYRange(float minimum, float maximum)
{
    if (yLocked || (minimum == yMinimum && maximum == yMaximum))
        return;
    yMinimum = minimum;
    yMaximum = maximum;
    markAllDirty();
    requestRepaint();
}

void LinePlotModel::SetMarkers(std::vector<float> xs)
{
    if (xs == m_markers)
        return;
    m_markers = std::move(xs);
    m_imageValid = false;
    requestRepaint();
}

void LinePlotModel::Resize(const QSize& size)
{
    // Qt repeats resize events of the same size (grabbing a hidden widget does).
    if (size == m_size)
        return;
    m_size = size;
    markAllDirty();
    requestRepaint();
}

void LinePlotModel::renderImage(const QRect& client)
{
    const int L = client.left(), T = client.top();
    const int R = L + client.width(), B = T + client.height();
    if (m_image.size() != client.size())
        m_image = QImage(client.size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    QPainter p(&m_image);
    p.translate(-L, -T);
    p.fillRect(client, QColor::fromRgb(kBackground));
    if (L < R) {
        p.setPen(QPen(QColor::fromRgb(kGrid), 1));
        const float step = float(B - T) / float(divisions);
        for (int i = 0; i <= divisions; ++i) {
            const int y = int(std::trunc(float(B) - float(i) * step));
            p.drawLine(L, y, R - 1, y);
        }
        p.setClipRect(client);
        const double xs = double(R - L) / (double(xMaximum) - double(xMinimum));
        const double ys = double(B - T) / (double(yMaximum) - double(yMinimum));
        for (CPlotData& s : series) {
            if (s.dirty) {
                for (std::uint32_t i = 0; i < s.count; ++i) {
                    const PlotPoint& pt = s.points[i];
                    s.pixels[i] = QPoint(truncToPixel((double(pt.x) - xMinimum) * xs) + L,
                                         B - truncToPixel((double(pt.y) - yMinimum) * ys));
                }
                s.dirty = false;
                ++m_pixelPasses;
            }
            if (s.count > 0) {
                p.setPen(QPen(QColor::fromRgb(s.colour), 1));
                p.drawPolyline(s.pixels.data(), int(s.count));
            }
        }
        const QColor marker = QColor::fromRgb(kMarker);
        for (float m : m_markers) {
            const int x = truncToPixel((double(m) - xMinimum) * xs) + L;
            p.fillRect(QRect(x, T, 2, B - T), marker);
            const QPoint notch[3] = {{x - 3, T}, {x + 4, T}, {x + 1, T + 4}};
            p.setPen(Qt::NoPen);
            p.setBrush(marker);
            p.drawPolygon(notch, 3);
        }
    }
    m_imageRect = client;
    m_imageValid = true;
}

void LinePlotModel::Paint(QPainter& painter, const QRect& client)
{
    const bool anyDirty = std::any_of(series.begin(), series.end(), [](const CPlotData& s) { return s.dirty; });
    if (!m_imageValid || anyDirty || m_imageRect != client)
        renderImage(client);
    painter.save();
    painter.drawImage(client.topLeft(), m_image);

    const int L = client.left(), T = client.top();
    const int R = L + client.width(), B = T + client.height();
    if (L < R && !series.empty()) {
        const CPlotData& first = series.front();
        const float at = static_cast<float>(cursor);
        for (std::uint32_t i = 0; i < first.count; ++i) {
            if (first.points[i].x > at) {
                cursorIndex = int(i);
                break;
            }
        }
        // A kept index that the selected line does not have (a shorter new
        // recording, or no samples at all) draws no cursor line.
        if (selectedSeries >= 0 && selectedSeries < int(series.size()) && cursorIndex >= 0
            && cursorIndex < int(series[selectedSeries].count)) {
            const int x = series[selectedSeries].pixels[cursorIndex].x();
            painter.setPen(QPen(QColor::fromRgb(kCursor), 1));
            painter.setClipRect(client);
            painter.drawLine(x, T + 2, x, B - 2);
        }
    }
    painter.restore();
}
