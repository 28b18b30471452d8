#pragma once
// A video window: shows the newest picture of one camera channel stretched to
// its whole rectangle. The engine hands pictures over on the UI thread.
#include "engine/IVideoWindow.h"

#include <QImage>
#include <QWidget>

class VideoWindow : public QWidget, public IVideoWindow {
    Q_OBJECT
public:
    VideoWindow(int controlId, QWidget* parent = nullptr);

    int controlId() const override { return m_controlId; }
    void presentFrame(const QImage& frame) override;
    void repaintFrame() override;
    QSize clientSize() const override { return size(); }

    const QImage& frame() const { return m_frame; }
    void clearFrame() override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_controlId;
    QImage m_frame;
};
