#include "app/VideoPlacement.h"

#include "app/RectEdges.h"

#include <algorithm>

QRect VideoPlacement::NormalRectA() { return rectFromEdges(9, 68, 708, 456); }
QRect VideoPlacement::NormalRectB() { return rectFromEdges(710, 68, 1121, 375); }

QRect VideoPlacement::FullScreenVideoArea(QSize client)
{
    return rectFromEdges(9, 69, client.width() - 10, client.height() - 93);
}

QRect VideoPlacement::AspectFit(const QRect& area, QSize picture)
{
    if (picture.width() <= 0 || picture.height() <= 0)
        picture = QSize(1280, 720);
    // A client smaller than the frame borders leaves no area; a negative
    // scale would give a mirrored rectangle.
    const int areaWidth = std::max(0, area.width());
    const int areaHeight = std::max(0, area.height());
    const float scale = std::min(static_cast<float>(areaWidth) / static_cast<float>(picture.width()),
                                 static_cast<float>(areaHeight) / static_cast<float>(picture.height()));
    const int w = static_cast<int>(static_cast<float>(picture.width()) * scale);
    const int h = static_cast<int>(static_cast<float>(picture.height()) * scale);
    const int left = (areaWidth - w) / 2 + area.left();
    const int top = (areaHeight - h) / 2 + area.top();
    return QRect(QPoint(left, top), QSize(w, h));
}

VideoWindowPlacement VideoPlacement::Place(bool swapVideo, bool fullScreen, bool runningOrPaused, QSize client,
                                           QSize firstPicture)
{
    VideoWindowPlacement p;
    if (!fullScreen) {
        p.window1 = swapVideo ? NormalRectB() : NormalRectA();
        p.window2 = swapVideo ? NormalRectA() : NormalRectB();
        p.show1 = p.show2 = runningOrPaused;
        return p;
    }
    const QRect area = FullScreenVideoArea(client);
    p.window1 = AspectFit(area, firstPicture);
    p.window2 = AspectFit(area, QSize(1280, 720));
    if (swapVideo) {
        // The rear picture fills the screen whatever the state.
        p.show1 = false;
        p.show2 = true;
    } else {
        p.show1 = runningOrPaused;
        p.show2 = false;
    }
    return p;
}
