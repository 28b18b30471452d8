#include "display/CPlotData.h"

#include <algorithm>

CPlotData::CPlotData(const PlotPoint* source, std::uint32_t pointCount, QRgb lineColour, const QString& seriesName)
    : name(seriesName)
    , points(source && pointCount ? std::vector<PlotPoint>(source, source + pointCount) : std::vector<PlotPoint>())
    , pixels(points.size())
    , count(static_cast<std::uint32_t>(points.size()))
    , colour(lineColour)
{
    if (points.empty())
        return;
    xMinimum = xMaximum = points.front().x;
    yMinimum = yMaximum = points.front().y;
    for (const PlotPoint& p : points) {
        xMinimum = std::min(xMinimum, p.x);
        xMaximum = std::max(xMaximum, p.x);
        yMinimum = std::min(yMinimum, p.y);
        yMaximum = std::max(yMaximum, p.y);
    }
}
