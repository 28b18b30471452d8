#pragma once
// Paints the main window from its skin bitmaps and the playback state: the
// normal window (background, list header, captions, g read-outs, times) and
// full screen (the stretched frame around the picture). The window paints
// through it into its off-screen buffer; it keeps the skin bitmaps.
#include "skin/CVxBitmap.h"

#include <QRect>
#include <QString>
#include <array>

class PlaybackController;
class QPainter;
class QWidget;

class MainFramePainter {
public:
    // Where the normal window's changing texts are, for partial repaints.
    static QRect CaptionFrontRect(); // (24, 39)-(124, 67)
    static QRect CaptionRearRect();  // (718, 39)-(818, 67)
    static QRect GReadoutRect(int axis); // 0 X, 1 Y, 2 Z

    // Background bitmap 178 and the nine skin bitmaps.
    void LoadBitmaps(QWidget* owner);

    // client: the window's rectangle; positionTime / durationTime: the time
    // read-outs of the mode being painted.
    void PaintNormal(QPainter& dc, const QRect& client, const PlaybackController& playback,
                     const QRect& positionTime, const QRect& durationTime) const;
    void PaintFullScreen(QPainter& dc, const QRect& client, const PlaybackController& playback,
                         const QRect& positionTime, const QRect& durationTime, const QRect& speedLabel) const;

private:
    void paintTimes(QPainter& dc, const PlaybackController& playback, const QRect& positionTime,
                    const QRect& durationTime) const;

    CVxBitmap m_background;
    std::array<CVxBitmap, 9> m_skin;
};
