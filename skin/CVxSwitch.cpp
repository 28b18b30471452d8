#include "skin/CVxSwitch.h"

#include "skin/SkinImage.h"

#include <QMouseEvent>
#include <QPainter>

CVxSwitch::CVxSwitch(QWidget* parent, int controlId, const QRect& rect)
    : QWidget(parent), m_controlId(controlId)
{
    setProperty("controlId", controlId);
    setObjectName(QStringLiteral("switch%1").arg(controlId));
    setGeometry(rect);
    show();
}

void CVxSwitch::SetBitmap(int resourceId)
{
    m_bitmapId = resourceId;
    m_bitmap = LoadSkinImage(resourceId);
    update();
}

void CVxSwitch::SetState(int state)
{
    m_state = state;
    update();
}

void CVxSwitch::paintEvent(QPaintEvent*)
{
    if (m_bitmap.isNull())
        return;
    QPainter p(this);
    const int half = m_bitmap.width() / 2;
    const int sx = m_state != 0 ? 0 : half;
    p.drawImage(QRect(0, 0, half, m_bitmap.height()), m_bitmap, QRect(sx, 0, half, m_bitmap.height()));
}

void CVxSwitch::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_state = m_state != 0 ? 0 : 1;
    repaint();
    emit commandClicked(m_controlId);
}
