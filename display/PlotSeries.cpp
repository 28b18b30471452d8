#include "display/PlotSeries.h"

int RemoveAllSeries(ILinePlot& plot)
{
    const int old = plot.SeriesCount();
    for (int i = old - 1; i >= 0; --i)
        plot.RemoveSeries(i);
    return old;
}

void ReplacePlotSeries(ILinePlot& plot, const std::vector<PlotSeries>& series)
{
    RemoveAllSeries(plot);
    if (plot.IsRangeLocked(PlotAxis::X))
        plot.LockRange(PlotAxis::X, false);
    if (plot.IsRangeLocked(PlotAxis::Y))
        plot.LockRange(PlotAxis::Y, false);
    plot.SetXRange(0.0f, 4.0f);
    plot.SetYRange(0.0f, 255.0f);
    for (const PlotSeries& s : series)
        plot.AddSeries(s.points.data(), static_cast<std::uint32_t>(s.points.size()), s.colour, s.name);
    plot.LockRange(PlotAxis::X, true);
    plot.LockRange(PlotAxis::Y, true);
}
