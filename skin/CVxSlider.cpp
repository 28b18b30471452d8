#include "skin/CVxSlider.h"

#include "base/Messages.h"
#include "skin/CMemoryDC.h"
#include "skin/SkinImage.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>
#include <cstdlib>

CVxSlider::CVxSlider(QWidget* parent, int controlId, const QRect& rect)
    : QWidget(parent), m_controlId(controlId)
{
    setProperty("controlId", controlId);
    setObjectName(QStringLiteral("slider%1").arg(controlId));
    setFocusPolicy(Qt::ClickFocus);
    setGeometry(rect);
    m_width = rect.width();
    m_height = rect.height();
    show();
}

bool CVxSlider::SetChannelBitmap(int resourceId)
{
    m_channel = LoadSkinImage(resourceId);
    m_width = width();
    m_height = height();
    update();
    return !m_channel.isNull();
}

bool CVxSlider::SetThumbBitmap(int resourceId)
{
    m_thumb = LoadSkinImage(resourceId);
    m_thumbWidth = m_thumb.width();
    m_thumbHeight = m_thumb.height();
    update();
    return !m_thumb.isNull();
}

void CVxSlider::SetRange(int min, int max)
{
    m_min = min;
    m_max = max;
}

void CVxSlider::SetPos(int value)
{
    if (value > m_max)
        value = m_max;
    if (value < m_min)
        value = m_min;
    m_pos = value;
    update();
}

void CVxSlider::SetMarkers(std::vector<int> positions)
{
    m_markers = std::move(positions);
    update();
}

void CVxSlider::Enable(bool flag)
{
    m_enabled = flag;
    if (!flag && m_dragging) {
        m_dragging = false;
        if (QWidget::mouseGrabber() == this)
            releaseMouse();
    }
    update();
}

int CVxSlider::ThumbCentre(int p) const
{
    const int span = m_width - m_thumbWidth;
    if (m_max == m_min || span <= 0)
        return m_thumbWidth / 2;
    const double f = double(p - m_min) / double(m_max - m_min);
    return int(std::trunc(f * span)) + m_thumbWidth / 2;
}

int CVxSlider::PositionAt(int x) const
{
    const int span = m_width - m_thumbWidth;
    if (m_max == m_min || span <= 0)
        return m_min;
    const double f = double(x - m_thumbWidth / 2) / double(span);
    return int(std::trunc(m_min + f * double(m_max - m_min)));
}

void CVxSlider::post(int type)
{
    if (QWidget* target = parentWidget())
        QCoreApplication::postEvent(target, new SliderEvent(VxMessage(type), m_controlId, m_pos));
}

void CVxSlider::dragTo(int pointerX)
{
    int x = pointerX - m_mouseOffset;
    const int lo = m_thumbWidth / 2;
    const int hi = m_width - m_thumbWidth / 2;
    if (x > hi)
        x = hi;
    if (x < lo)
        x = lo;
    if (x == ThumbCentre(m_pos))
        return;
    int p = PositionAt(x);
    if (p > m_max)
        p = m_max;
    if (p < m_min)
        p = m_min;
    m_pos = p;
    update();
    post(WM_SLIDER_MOVING);
}

void CVxSlider::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_enabled)
        return;
    setFocus(Qt::MouseFocusReason);
    m_dragging = true;
    const int px = int(event->position().x());
    m_mouseOffset = px - ThumbCentre(m_pos);
    // A press beside the thumb makes the thumb's centre jump to the pointer.
    if (std::abs(m_mouseOffset) > m_thumbWidth / 2)
        m_mouseOffset = 0;
    dragTo(px);
    update();
}

void CVxSlider::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_dragging || !m_enabled)
        return;
    dragTo(int(event->position().x()));
}

void CVxSlider::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_enabled)
        return;
    m_dragging = false;
    update();
    post(WM_SLIDER_MOVED);
}

void CVxSlider::keyPressEvent(QKeyEvent* event)
{
    if (!m_enabled) {
        event->ignore();
        return;
    }
    int p;
    switch (event->key()) {
    case Qt::Key_PageUp: p = m_pos - m_page; break;
    case Qt::Key_PageDown: p = m_pos + m_page; break;
    case Qt::Key_End: p = m_max; break;
    case Qt::Key_Home: p = m_min; break;
    case Qt::Key_Left:
    case Qt::Key_Up: p = m_pos - 1; break;
    case Qt::Key_Right:
    case Qt::Key_Down: p = m_pos + 1; break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    SetPos(p);
    post(WM_SLIDER_MOVED);
}

void CVxSlider::resizeEvent(QResizeEvent* event)
{
    m_width = width();
    m_height = height();
    QWidget::resizeEvent(event);
}

void CVxSlider::paintEvent(QPaintEvent*)
{
    QPainter target(this);
    CMemoryDC dc(target, rect(), Qt::transparent);
    QPainter& p = dc.painter();
    const int W = m_width, H = m_height;
    if (!m_channel.isNull()) {
        const int w3 = m_channel.width() / 3;
        const int h2 = m_channel.height() / 2;
        p.drawImage(QRect(0, 0, w3, H), m_channel, QRect(0, 0, w3, h2));
        p.drawImage(QRect(w3, 0, W - 2 * w3, H), m_channel, QRect(w3, 0, w3, h2));
        p.drawImage(QRect(W - w3, 0, w3, H), m_channel, QRect(2 * w3, 0, w3, h2));
        if (m_enabled) {
            const int c = ThumbCentre(m_pos);
            p.drawImage(QRect(0, 0, w3, H), m_channel, QRect(0, h2, w3, h2));
            const int fill = c - m_thumbWidth / 2;
            if (fill > 0)
                p.drawImage(QRect(w3, 0, fill, H), m_channel, QRect(w3, h2, w3, h2));
        }
    }
    if (m_enabled) {
        for (int marker : m_markers) {
            if (marker < m_min || marker > m_max)
                continue;
            const int x = ThumbCentre(marker);
            p.fillRect(QRect(x - 2, 0, 4, H), QColor::fromRgb(kMarkerEdge));
            p.fillRect(QRect(x - 1, 0, 2, H), QColor::fromRgb(kMarkerColour));
        }
    }
    if (m_enabled && !m_thumb.isNull()) {
        const int c = ThumbCentre(m_pos);
        p.drawImage(QPoint(c - m_thumbWidth / 2, 0), m_thumb);
    }
}
