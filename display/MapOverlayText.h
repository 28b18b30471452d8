#pragma once
// The three texts of the map pop-up's overlay strip and where they go.
#include <QDateTime>
#include <QRect>
#include <QString>
#include <optional>

class MapOverlayText {
public:
    // The strip repainted on each fix, (7, 367)-(453, 431).
    static constexpr QRect kStripRect{7, 367, 446, 64};
    // Speed, right-aligned: (7, 367)-(137, 399).
    static constexpr QRect kSpeedRect{7, 367, 130, 32};
    // Date and time, left-aligned: (167, 367)-(453, 399).
    static constexpr QRect kTimeRect{167, 367, 286, 32};
    // Position, left-aligned: (167, 399)-(453, 431).
    static constexpr QRect kPositionRect{167, 399, 286, 32};

    // "12 km/h", "12 mph", "12 knots" for units 1, 2, 3; nothing for any other.
    static std::optional<QString> SpeedText(int speed, int speedUnit);
    // "2015/04/21 09:05" from the date and wall-clock time as given.
    static QString TimeText(const QDateTime& localTime);
    // "위도:37.566500  경도:126.978000", decimal points whatever the locale.
    static QString PositionText(double latitude, double longitude);
};
