#include "display/CLinePlot.h"

#include <QPainter>
#include <QResizeEvent>

CLinePlot::CLinePlot(QWidget* parent)
    : QWidget(parent)
{
    setWindowTitle(QStringLiteral("LinePlot"));
    setObjectName(QStringLiteral("LinePlot"));
    setProperty("controlId", kControlId);
    // Every pixel is painted by the paint pass: no background erase.
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_model.SetRepaintRequest([this](bool now) {
        if (now)
            repaint();
        else
            update();
    });
}

void CLinePlot::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    m_model.Paint(painter, rect());
}

void CLinePlot::resizeEvent(QResizeEvent* event)
{
    m_model.Resize(event->size());
    QWidget::resizeEvent(event);
}
