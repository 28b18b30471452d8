#pragma once
// One line of the acceleration plot: a copy of the caller's points, their
// extremes and the screen pixels computed from them for the plot's ranges.
#include "display/ILinePlot.h"

#include <QPoint>
#include <QRgb>
#include <QString>
#include <cstdint>
#include <vector>

class CPlotData {
public:
    CPlotData() = default;
    CPlotData(const PlotPoint* source, std::uint32_t pointCount, QRgb lineColour, const QString& seriesName);
    virtual ~CPlotData() = default;
    CPlotData(const CPlotData&) = default;
    CPlotData& operator=(const CPlotData&) = default;
    CPlotData(CPlotData&&) = default;
    CPlotData& operator=(CPlotData&&) = default;

    QString name;
    std::vector<PlotPoint> points;
    std::vector<QPoint> pixels;
    std::uint32_t count = 0;
    QRgb colour = 0;
    // Pixels must be recomputed before the next draw.
    bool dirty = true;
    float xMinimum = 0;
    float xMaximum = 0;
    float yMinimum = 0;
    float yMaximum = 0;
};
