#pragma once
#include "engine/IVideoWindow.h"

#include <QImage>

// A video window that only remembers what it was given.
class FakeVideoWindow : public IVideoWindow {
public:
    explicit FakeVideoWindow(int id, QSize size = QSize(320, 180)) : m_id(id), m_size(size) {}
    int controlId() const override { return m_id; }
    void presentFrame(const QImage& frame) override
    {
        last = frame;
        ++frames;
    }
    void repaintFrame() override { ++repaints; }
    void clearFrame() override
    {
        last = QImage();
        ++clears;
    }
    QSize clientSize() const override { return m_size; }
    void resize(QSize size) { m_size = size; }

    QImage last;
    int frames = 0;
    int repaints = 0;
    int clears = 0;

private:
    int m_id;
    QSize m_size;
};
