#pragma once
// The acceleration plot below the video: window text "LinePlot", id 459.
// A thin view over LinePlotModel; no mouse interaction.
#include "base/ControlIds.h"
#include "display/ILinePlot.h"
#include "display/LinePlotModel.h"

#include <QWidget>

class CLinePlot : public QWidget, public ILinePlot {
    Q_OBJECT
public:
    static constexpr int kControlId = IdOf(ControlId::LinePlot);

    explicit CLinePlot(QWidget* parent = nullptr);

    int SeriesCount() const override { return m_model.SeriesCount(); }
    void AddSeries(const PlotPoint* points, std::uint32_t count, QRgb colour, const QString& name) override
    {
        m_model.AddSeries(points, count, colour, name);
    }
    bool RemoveSeries(int index) override { return m_model.RemoveSeries(index); }
    bool IsRangeLocked(PlotAxis axis) const override { return m_model.IsRangeLocked(axis); }
    void LockRange(PlotAxis axis, bool locked) override { m_model.LockRange(axis, locked); }
    void SetXRange(float minimum, float maximum) override { m_model.SetXRange(minimum, maximum); }
    void SetYRange(float minimum, float maximum) override { m_model.SetYRange(minimum, maximum); }
    // Both repaint the widget: the playback controller that calls them knows no widget.
    void SetCursor(std::uint32_t value) override
    {
        m_model.SetCursor(value);
        update();
    }
    void RedrawNow() override
    {
        m_model.RedrawNow();
        update();
    }
    void SetMarkers(std::vector<float> xs) override
    {
        m_model.SetMarkers(std::move(xs));
        update();
    }

    const LinePlotModel& model() const { return m_model; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    LinePlotModel m_model;
};
