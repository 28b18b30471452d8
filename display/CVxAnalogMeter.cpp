#include "display/CVxAnalogMeter.h"

#include "base/Trace.h"
#include "config/DeviceSettings.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPixmap>

namespace {

// Stands in for the panel while its bitmap is missing, so the reading stays visible.
constexpr QRgb kPanelFallback = 0xFF363636;

QFont verdana(int pixelSize)
{
    QFont font;
    // Where Verdana is not installed a sans face of the same pixel size takes its place.
    font.setFamilies({QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setWeight(QFont::Normal);
    return font;
}

} // namespace

CVxAnalogMeter::CVxAnalogMeter(QWidget* parent)
    : QWidget(parent)
{
    setProperty("controlId", kControlId);
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(kWidth, kHeight);
}

QString CVxAnalogMeter::UnitLabel(int unit)
{
    return SpeedUnitLabel(unit);
}

void CVxAnalogMeter::SetVelo(int speed, int unit)
{
    TraceLine("SetVelo=%d \r\n", speed);
    m_speed = speed;
    m_unit = unit;
    update();
}

void CVxAnalogMeter::paintEvent(QPaintEvent*)
{
    const QPixmap panel(QStringLiteral(":/bitmaps/598.png"));
    const QSize size = panel.isNull() ? QSize(kWidth, kHeight) : panel.size();
    QImage buffer(size, QImage::Format_ARGB32_Premultiplied);
    buffer.fill(kPanelFallback);
    {
        QPainter p(&buffer);
        if (!panel.isNull())
            p.drawPixmap(0, 0, panel);
        p.setPen(Qt::white);

        const QRect client = rect();
        const int L = client.left(), T = client.top();
        const int R = L + client.width(), B = T + client.height();

        p.setFont(verdana(12));
        p.drawText(QRect(R - 40, T + 10, 40, B - (T + 10)), Qt::AlignLeft | Qt::AlignVCenter, UnitLabel(m_unit));

        const QString value = QString::asprintf("%03d", m_speed);
        const QRect valueRect(L, T, (R - 43) - L, B - T);
        // Four or more digits would run out of the panel at 33 pixels; a smaller
        // size keeps the whole number readable.
        int pixelSize = 33;
        while (pixelSize > 8 && QFontMetrics(verdana(pixelSize)).horizontalAdvance(value) > valueRect.width())
            --pixelSize;
        p.setFont(verdana(pixelSize));
        p.drawText(valueRect, Qt::AlignRight | Qt::AlignVCenter, value);
    }
    QPainter(this).drawImage(0, 0, buffer);
}
