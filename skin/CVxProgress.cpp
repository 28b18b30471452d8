#include "skin/CVxProgress.h"

#include "skin/CMemoryDC.h"

#include <QPainter>
#include <cmath>

CVxProgress::CVxProgress(QWidget* parent) : QWidget(parent) {}

void CVxProgress::SetSegments(std::uint32_t s1, std::uint32_t s2, std::uint32_t s3, std::uint32_t s4, std::uint32_t total)
{
    m_s = {s1, s2, s3, s4};
    m_total = total;
}

const std::array<QColor, 4>& CVxProgress::SegmentColours()
{
    static const std::array<QColor, 4> colours{
        QColor(64, 64, 255), QColor(200, 0, 200), QColor(0, 210, 0), QColor(255, 192, 0)};
    return colours;
}

std::array<int, 4> CVxProgress::SegmentWidths(const std::array<std::uint32_t, 4>& s, std::uint32_t total, int width)
{
    std::array<int, 4> w{0, 0, 0, 0};
    if (total == 0)
        return w;
    // Single precision at every step, as the bar has always been measured.
    auto share = [&](std::uint32_t v) {
        const float ratio = float(v) / float(total);
        const float px = ratio * float(width);
        return int(std::trunc(px));
    };
    int x = 0;
    for (int i = 0; i < 3; ++i) {
        w[i] = share(s[i]);
        x += w[i];
    }
    if (share(s[3]) != 0)
        w[3] = width - x;
    return w;
}

void CVxProgress::paintEvent(QPaintEvent*)
{
    QPainter target(this);
    const QRect r = rect();
    CMemoryDC dc(target, r, Qt::black);
    QPainter& p = dc.painter();
    if (m_total == 0)
        return;
    const std::array<int, 4> w = SegmentWidths(m_s, m_total, r.width());
    p.setPen(Qt::black);
    p.drawPolyline(QPolygon({QPoint(r.left(), r.top()), QPoint(r.right(), r.top()), QPoint(r.right(), r.bottom()),
        QPoint(r.left(), r.bottom()), QPoint(r.left(), r.top())}));
    int x = r.left();
    for (int i = 0; i < 4; ++i) {
        if (w[i] != 0)
            p.fillRect(QRect(x, r.top(), w[i], r.height()), SegmentColours()[i]);
        x += w[i];
    }
}
