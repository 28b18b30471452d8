#include "display/MapOverlayText.h"
#include <QCoreApplication>

std::optional<QString> MapOverlayText::SpeedText(int speed, int speedUnit)
{
    switch (speedUnit) {
    case 1:
        return QString::asprintf("%d km/h", speed);
    case 2:
        return QString::asprintf("%d mph", speed);
    case 3:
        return QString::asprintf("%d knots", speed);
    default:
        return std::nullopt;
    }
}

QString MapOverlayText::TimeText(const QDateTime& localTime)
{
    const QDate d = localTime.date();
    const QTime t = localTime.time();
    return QString::asprintf("%d/%02d/%02d %02d:%02d", d.year(), d.month(), d.day(), t.hour(), t.minute());
}

QString MapOverlayText::PositionText(double latitude, double longitude)
{
    return QCoreApplication::translate("MapOverlayText", "위도:") + QString::asprintf("%0.6f", latitude) + QCoreApplication::translate("MapOverlayText", "  경도:")
        + QString::asprintf("%0.6f", longitude);
}
