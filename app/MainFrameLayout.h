#pragma once
// The main window's layout pass for the normal 1130 × 640 window and for full
// screen, as data: the wiring applies each entry to the control it names.
// Control-bar rows are addressed by their row in the control-bar table;
// other children by control id (410/403 position, 411/404 speed, 412/405
// volume sliders, 438 mute and 439 select-all switches, 458 speed read-out,
// 459 plot, 415 list, 360–364 the category tabs). Entries for the full-screen
// sliders 403–405 are skipped while they do not exist.
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QSize>
#include <array>
#include <optional>
#include <vector>

enum class LayoutVisibility {
    Keep,        // visibility left as it is
    Show,
    Hide,
    ByPlayState, // rows 3, 4, 10, 12: RefreshPlayPause decides
};

struct LayoutEntry {
    int key = 0; // row number, or control id
    std::optional<QPoint> moveTo;
    std::optional<QSize> resizeTo; // the size is kept when empty
    LayoutVisibility visibility = LayoutVisibility::Keep;
};

struct MainFrameLayoutResult {
    QRect captionStripRect;
    QRect positionTimeRect; // of the current mode
    QRect durationTimeRect; // of the current mode
    std::optional<QRect> speedLabelRectFull; // full screen only
    std::vector<LayoutEntry> rows;
    std::vector<LayoutEntry> children;
    int muteSwitchBitmap = 176;
    bool enableSpeedSliderFull = false; // full screen: 404 enabled and repainted
};

struct FullScreenSliderRects {
    QRect position; // 403
    QRect speed;    // 404
    QRect volume;   // 405
};

class MainFrameLayout {
public:
    static QRect PositionSliderRect(); // (50, 459)–(667, 469)
    static QRect SpeedSliderRect();    // (62, 524)–(151, 534)
    static QRect SpeedLabelRect();     // (28, 516)–(56, 542)

    // (0, 0)–(W, 27).
    static QRect CaptionStripRect(QSize client);
    // The rounded window shape: (0, 0)–(W, H) with 12 × 12 corner ellipses.
    static QRegion WindowRegion(QSize client);

    static MainFrameLayoutResult Normal(QSize client);
    // positionSliderFullSize: the current size of slider 403 (kept by the move).
    static MainFrameLayoutResult FullScreen(QSize client, QSize positionSliderFullSize);

    // Visibility of rows 3 (play), 4 (pause), 10 (full-screen play) and 12
    // (full-screen pause), in this order.
    static std::array<LayoutEntry, 4> PlayPauseRows(bool fullScreen, bool running);

    // The rectangle full screen covers: the screen's work area (the screen
    // without panels and docks), or the whole screen when the work area is empty.
    static QRect FullScreenTarget(const QRect& availableGeometry, const QRect& screenGeometry);

    // Sliders 403–405 as created at the first full-screen entry (target in
    // screen coordinates; only its width and bottom are used).
    static FullScreenSliderRects FullScreenSliders(const QRect& target);
};
