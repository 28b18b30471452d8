#pragma once
// Horizontal slider drawn from a channel bitmap (3 columns x 2 rows: left cap,
// stretchable middle, right cap; empty row above, filled row below) and a thumb
// bitmap. It posts WM_SLIDER_MOVING while dragged and WM_SLIDER_MOVED on
// release and after every handled key, to its parent, as SliderEvent(id, pos).
#include <QImage>
#include <QWidget>
#include <vector>

class CVxSlider : public QWidget {
    Q_OBJECT
public:
    // Orange with dark edges: it reads on the dark empty channel and on the
    // blue filled one of both window modes.
    static constexpr QRgb kMarkerColour = 0xFFFF8C00; // RGB(255, 140, 0)
    static constexpr QRgb kMarkerEdge = 0xFF000000;

    CVxSlider(QWidget* parent, int controlId, const QRect& rect);

    bool SetChannelBitmap(int resourceId);
    bool SetThumbBitmap(int resourceId);
    void SetRange(int min, int max);
    // Clamped to max, then to min (min wins when min > max). Posts nothing.
    void SetPos(int value);
    int GetPos() const { return m_pos; }
    void Enable(bool flag);
    bool IsEnabled() const { return m_enabled; }
    bool IsDragging() const { return m_dragging; }
    int controlId() const { return m_controlId; }
    int GetMin() const { return m_min; }
    int GetMax() const { return m_max; }
    // Positions to mark on the channel (drawn under the thumb while enabled);
    // ones outside the range are not drawn.
    void SetMarkers(std::vector<int> positions);
    const std::vector<int>& Markers() const { return m_markers; }

    // Thumb centre in client pixels for position p, and the position under a
    // thumb centre x. A range with max == min or a slider no wider than its
    // thumb puts the thumb at the left end and maps every x to min.
    int ThumbCentre(int p) const;
    int PositionAt(int x) const;
    int thumbWidth() const { return m_thumbWidth; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void dragTo(int pointerX);
    void post(int type);

    int m_max = 100;
    int m_min = 0;
    int m_pos = 0;
    int m_page = 20;
    int m_width = 0;
    int m_height = 0;
    int m_thumbWidth = 0;
    int m_thumbHeight = 0;
    int m_mouseOffset = 0;
    bool m_dragging = false;
    bool m_enabled = true;
    int m_controlId = 0;
    QImage m_channel;
    QImage m_thumb;
    std::vector<int> m_markers;
};
