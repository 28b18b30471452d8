#pragma once
// What the telemetry loader needs of the acceleration plot, so that the core
// does not know the widget. CLinePlot and LinePlotModel implement it.
#include <QRgb>
#include <QString>
#include <cstdint>
#include <vector>

struct PlotPoint {
    float x = 0;
    float y = 0;
};

enum class PlotAxis { X, Y };

class ILinePlot {
public:
    virtual ~ILinePlot() = default;
    virtual int SeriesCount() const = 0;
    // Copies count points; selects the new series and puts the cursor at 0.
    virtual void AddSeries(const PlotPoint* points, std::uint32_t count, QRgb colour, const QString& name) = 0;
    virtual bool RemoveSeries(int index) = 0;
    virtual bool IsRangeLocked(PlotAxis axis) const = 0;
    virtual void LockRange(PlotAxis axis, bool locked) = 0;
    virtual void SetXRange(float minimum, float maximum) = 0;
    virtual void SetYRange(float minimum, float maximum) = 0;
    virtual void SetCursor(std::uint32_t value) = 0;
    // Moments to mark, in X units; they stay until replaced (an empty list clears them).
    virtual void SetMarkers(std::vector<float> xs) = 0;
    // Paint now rather than when the event loop comes round.
    virtual void RedrawNow() = 0;
};
