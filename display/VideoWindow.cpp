#include "display/VideoWindow.h"

#include <QPainter>

VideoWindow::VideoWindow(int controlId, QWidget* parent) : QWidget(parent), m_controlId(controlId)
{
    setObjectName(QStringLiteral("videoWindow%1").arg(controlId));
    setProperty("controlId", controlId);
    // Every pixel is painted from the frame; nothing behind needs drawing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void VideoWindow::presentFrame(const QImage& frame)
{
    m_frame = frame;
    update();
}

void VideoWindow::repaintFrame() { update(); }

void VideoWindow::clearFrame()
{
    m_frame = QImage();
    update();
}

void VideoWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (m_frame.isNull()) {
        painter.fillRect(rect(), Qt::black);
        return;
    }
    // The aspect ratio is not kept: the picture fills the window.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawImage(rect(), m_frame);
}
