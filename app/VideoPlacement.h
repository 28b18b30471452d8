#pragma once
// Where the front and rear video windows (ids 401, 402) sit and whether they
// show, in the normal window and in full screen. Windows 605 and 606 stay
// hidden with an empty rectangle.
#include <QRect>
#include <QSize>

struct VideoWindowPlacement {
    QRect window1;
    QRect window2;
    bool show1 = false;
    bool show2 = false;
};

class VideoPlacement {
public:
    static QRect NormalRectA(); // (9, 68)–(708, 456)
    static QRect NormalRectB(); // (710, 68)–(1121, 375)

    // F = (9, 69)–(W − 10, H − 93) of the client size.
    static QRect FullScreenVideoArea(QSize client);

    // The picture scaled by the smaller of the two single-precision ratios,
    // truncated, centred in area. A picture without a size (the first frame
    // could not be grabbed) counts as 1280 × 720.
    static QRect AspectFit(const QRect& area, QSize picture);

    // firstPicture: the size measured when the recording started; the second
    // channel is always fitted as 1280 × 720.
    static VideoWindowPlacement Place(bool swapVideo, bool fullScreen, bool runningOrPaused, QSize client,
                                      QSize firstPicture);
};
