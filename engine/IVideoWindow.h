#pragma once
// A video window as the engine sees it. Implemented by the video-window widget;
// every call is made on the UI thread (the engine queues frames across).
#include <QImage>
#include <QSize>

class IVideoWindow {
public:
    virtual ~IVideoWindow() = default;
    virtual int controlId() const = 0;
    // Keep the frame and paint it stretched to the whole window.
    virtual void presentFrame(const QImage& frame) = 0;
    // Paint the kept frame again (RepaintFirst/RepaintAll).
    virtual void repaintFrame() = 0;
    // Forget the kept frame and paint the background: the window has no
    // picture of the recording now open.
    virtual void clearFrame() {}
    virtual QSize clientSize() const = 0;
};
