#pragma once
// The speed read-out at the lower left: three digits and the unit, drawn over
// panel bitmap 598 (122 x 72).
#include "base/ControlIds.h"

#include <QString>
#include <QWidget>

class CVxAnalogMeter : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 122;
    static constexpr int kHeight = 72;
    static constexpr int kControlId = IdOf(ControlId::SpeedMeter);

    explicit CVxAnalogMeter(QWidget* parent = nullptr);

    // speed already in the display unit; unit is the camera's SpeedUnit code.
    void SetVelo(int speed, int unit);
    int speed() const { return m_speed; }
    int unit() const { return m_unit; }

    // "km/h" for 0 and 1, "mi/h" for 2, "knots" for 3; empty above (digits only).
    static QString UnitLabel(int unit);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_speed = 0;
    int m_unit = 0;
};
