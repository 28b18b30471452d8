#pragma once
// Loading a recording's curves into the acceleration plot. The plot's ranges
// start at X 0..4 and Y 0..255 for every recording, grow to the new points and
// are then locked, so the cursor and the markers never rescale the curves.
#include "display/ILinePlot.h"

#include <QRgb>
#include <QString>
#include <vector>

struct PlotSeries {
    std::vector<PlotPoint> points;
    QRgb colour = 0;
    QString name;
};

// Removes every series; returns how many there were.
int RemoveAllSeries(ILinePlot& plot);

// The old series go and series come in, in order (none: an empty plot with the
// starting ranges).
void ReplacePlotSeries(ILinePlot& plot, const std::vector<PlotSeries>& series);
