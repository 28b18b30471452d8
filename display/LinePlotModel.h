#pragma once
// The state and the paint pass of the acceleration plot (CLinePlot is its
// widget). Background, grid and lines are rendered once into an image that is
// kept until a series, a range or the size changes; a cursor move only draws
// that image and the cursor line, so 36,000 points per line stay cheap.
#include "display/CPlotData.h"
#include "display/ILinePlot.h"

#include <QImage>
#include <QRect>
#include <functional>
#include <vector>

class QPainter;

class LinePlotModel : public ILinePlot {
public:
    static constexpr QRgb kBackground = 0xFF33589F; // RGB(51, 88, 159)
    static constexpr QRgb kGrid = 0xFF283995;       // RGB(40, 57, 149)
    static constexpr QRgb kCursor = 0xFFFFFF00;     // RGB(255, 255, 0)
    // Orange: apart from the three lines (cyan, green, red) and the yellow
    // cursor, and bright on the blue background.
    static constexpr QRgb kMarker = 0xFFFF8C00;     // RGB(255, 140, 0)

    LinePlotModel() = default;

    // repaint(now): the view should repaint, at once when now is true.
    void SetRepaintRequest(std::function<void(bool now)> repaint) { m_repaint = std::move(repaint); }

    int SeriesCount() const override { return int(series.size()); }
    void AddSeries(const PlotPoint* points, std::uint32_t count, QRgb colour, const QString& name) override;
    bool RemoveSeries(int index) override;
    bool IsRangeLocked(PlotAxis axis) const override { return axis == PlotAxis::X ? xLocked : yLocked; }
    void LockRange(PlotAxis axis, bool locked) override;
    void SetXRange(float minimum, float maximum) override;
    void SetYRange(float minimum, float maximum) override;
    void SetCursor(std::uint32_t value) override { cursor = value; }
    void RedrawNow() override { requestRepaint(true); }
    // Moments to mark, in X units (a vertical line with a notch at the top
    // over the lines); they stay until replaced, independent of the series.
    void SetMarkers(std::vector<float> xs) override;
    const std::vector<float>& Markers() const { return m_markers; }

    // The client rectangle may have changed size.
    void Resize(const QSize& size);
    // The whole paint pass over client (left, top, exclusive right and bottom).
    void Paint(QPainter& painter, const QRect& client);
    // Times the pixels of some series were computed (the cursor must never cause it).
    int PixelPasses() const { return m_pixelPasses; }

    std::vector<CPlotData> series;
    float xMinimum = 0.0f;
    float xMaximum = 4.0f;
    float yMinimum = -127.0f;
    float yMaximum = 128.0f;
    bool xLocked = false;
    bool yLocked = true;
    int divisions = 4;
    int selectedSeries = -1;
    std::uint32_t cursor = 0;
    int cursorIndex = -1;

private:
    void markAllDirty();
    void requestRepaint(bool now = false);
    void renderImage(const QRect& client);

    std::function<void(bool)> m_repaint;
    std::vector<float> m_markers;
    QImage m_image;
    QRect m_imageRect;
    QSize m_size;
    bool m_imageValid = false;
    int m_pixelPasses = 0;
};
