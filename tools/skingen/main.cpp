// Draws every skin bitmap of the viewer into <out>/bitmaps/<id>.png and writes
// <out>/bitmaps.qrc listing them. Output depends only on this program, so the
// build can regenerate it at any time; no artwork is committed.
//
// Transparent parts are painted in the key colour magenta (255, 0, 255): shapes
// are drawn antialiased on a transparent canvas, then every pixel is either
// made opaque over the skin's base colour or replaced by the key, so no pink
// fringe survives.
#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QTextStream>
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>

namespace {

const QColor kBase(17, 25, 34);
const QColor kGrey(54, 54, 54);
const QColor kPanel(28, 36, 46);
const QColor kBar(30, 38, 48);
const QColor kLine(64, 74, 88);
const QColor kAccent(84, 181, 239);   // blue of the filled channels and highlights
const QColor kAmber(239, 181, 84);
const QColor kKey(255, 0, 255);

std::map<int, QImage> g_images;

QImage canvas(int w, int h, const QColor& fill = Qt::transparent)
{
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(fill);
    return img;
}

// Flatten an ARGB drawing: low alpha becomes the key colour, the rest is
// composed over the base colour and made opaque.
QImage keyed(const QImage& src)
{
    QImage out(src.size(), QImage::Format_RGB32);
    const QImage s = src.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < s.height(); ++y) {
        const QRgb* in = reinterpret_cast<const QRgb*>(s.constScanLine(y));
        QRgb* o = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < s.width(); ++x) {
            const int a = qAlpha(in[x]);
            if (a < 110) {
                o[x] = kKey.rgb();
                continue;
            }
            auto mix = [a](int c, int b) { return (c * a + b * (255 - a)) / 255; };
            int r = mix(qRed(in[x]), kBase.red());
            int g = mix(qGreen(in[x]), kBase.green());
            int b = mix(qBlue(in[x]), kBase.blue());
            if (r == 255 && g == 0 && b == 255)
                g = 1; // never produce the key by accident
            o[x] = qRgb(r, g, b);
        }
    }
    return out;
}

void put(int id, const QImage& img) { g_images[id] = img.convertToFormat(QImage::Format_RGB32); }

// ---------------------------------------------------------------- icons
// Every icon is drawn into a square box of side s centred at c, in colour col.
using Icon = std::function<void(QPainter&, QPointF c, qreal s, const QColor& col)>;

QPolygonF tri(QPointF c, qreal s, bool right)
{
    const qreal h = s / 2;
    if (right)
        return QPolygonF({QPointF(c.x() - h * 0.8, c.y() - h), QPointF(c.x() + h, c.y()), QPointF(c.x() - h * 0.8, c.y() + h)});
    return QPolygonF({QPointF(c.x() + h * 0.8, c.y() - h), QPointF(c.x() - h, c.y()), QPointF(c.x() + h * 0.8, c.y() + h)});
}

void fillPoly(QPainter& p, const QPolygonF& poly, const QColor& col)
{
    p.setPen(Qt::NoPen);
    p.setBrush(col);
    p.drawPolygon(poly);
}

const Icon iconPlay = [](QPainter& p, QPointF c, qreal s, const QColor& col) {
    fillPoly(p, tri(c + QPointF(s * 0.06, 0), s * 0.55, true), col);
};
const Icon iconPause = [](QPainter& p, QPointF c, qreal s, const QColor& col) {
    p.setPen(Qt::NoPen);
    p.setBrush(col);
    const qreal w = s * 0.16, h = s * 0.55;
    p.drawRect(QRectF(c.x() - w * 1.5, c.y() - h / 2, w, h));
    p.drawRect(QRectF(c.x() + w * 0.5, c.y() - h / 2, w, h));
};
const Icon iconStop = [](QPainter& p, QPointF c, qreal s, const QColor& col) {
    p.setPen(Qt::NoPen);
    p.setBrush(col);
    const qreal h = s * 0.42;
    p.drawRect(QRectF(c.x() - h / 2, c.y() - h / 2, h, h));
};
Icon doubleTri(bool right)
{
    return [right](QPainter& p, QPointF c, qreal s, const QColor& col) {
        const qreal d = s * 0.17;
        fillPoly(p, tri(c + QPointF(-d, 0), s * 0.4, right), col);
        fillPoly(p, tri(c + QPointF(d, 0), s * 0.4, right), col);
    };
}
Icon skip(bool next)
{
    return [next](QPainter& p, QPointF c, qreal s, const QColor& col) {
        const qreal h = s * 0.44;
        fillPoly(p, tri(c + QPointF(next ? -s * 0.05 : s * 0.05, 0), h, next), col);
        p.setBrush(col);
        const qreal bx = next ? c.x() + h * 0.5 : c.x() - h * 0.5 - s * 0.08;
        p.drawRect(QRectF(bx, c.y() - h / 2, s * 0.08, h));
    };
}
const Icon iconOpen = [](QPainter& p, QPointF c, qreal s, const QColor& col) {
    const qreal w = s * 0.56, h = s * 0.4;
    QRectF r(c.x() - w / 2, c.y() - h / 2 + s * 0.04, w, h);
    QPainterPath path;
    path.moveTo(r.left(), r.top() - s * 0.08);
    path.lineTo(r.left() + w * 0.38, r.top() - s * 0.08);
    path.lineTo(r.left() + w * 0.48, r.top());
    path.lineTo(r.right(), r.top());
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(col);
    p.drawPath(path);
    p.setBrush(col.darker(160));
    p.drawPolygon(QPolygonF({QPointF(r.left() + w * 0.12, r.top() + h * 0.3), QPointF(r.right() + w * 0.08, r.top() + h * 0.3),
        QPointF(r.right(), r.bottom()), QPointF(r.left(), r.bottom())}));
};
const Icon iconSave = [](QPainter& p, QPointF c, qreal s, const QColor& col) {
    const qreal w = s * 0.52;
    QRectF r(c.x() - w / 2, c.y() - w / 2, w, w);
    p.setPen(Qt::NoPen);
    p.setBrush(col);
    p.drawRoundedRect(r, 1.5, 1.5);
    p.setBrush(kBase);
    p.drawRect(QRectF(r.left() + w * 0.22, r.top(), w * 0.5, w * 0.32));
    p.drawRect(QRectF(r.left() + w * 0.18, r.top() + w * 0.55, w * 0.64, w * 0.34));
};
const Icon iconDelete = [](QPainter& p, QPointF c, qreal s, const QColor& col) {
    const qreal w = s * 0.42;
    p.setPen(Qt::NoPen);
    p.setBrush(col);
    p.drawRect(QRectF(c.x() - w * 0.62, c.y() - w * 0.62, w * 1.24, w * 0.14));
    p.drawRect(QRectF(c.x() - w * 0.18, c.y() - w * 0.78, w * 0.36, w * 0.16));
    p.drawPolygon(QPolygonF({QPointF(c.x() - w * 0.5, c.y() - w * 0.4), QPointF(c.x() + w * 0.5, c.y() - w * 0.4),
        QPointF(c.x() + w * 0.4, c.y() + w * 0.7), QPointF(c.x() - w * 0.4, c.y() + w * 0.7)}));
    p.setBrush(kBase);
    for (int i = -1; i <= 1; ++i)
        p.drawRect(QRectF(c.x() + i * w * 0.25 - w * 0.05, c.y() - w * 0.25, w * 0.1, w * 0.8));
};
const Icon iconSettings = [](QPainter& p, QPointF c, qreal s, const QColor& col) {
    p.setPen(Qt::NoPen);
    p.setBrush(col);
    const qreal r = s * 0.22;
    for (int i = 0; i < 8; ++i) {
        p.save();
        p.translate(c);
        p.rotate(i * 45);
        p.drawRect(QRectF(-r * 0.25, -r * 1.35, r * 0.5, r * 0.6));
        p.restore();
    }
    p.drawEllipse(c, r, r);
    p.setBrush(kBase);
    p.drawEllipse(c, r * 0.42, r * 0.42);
};
const Icon iconMap = [](QPainter& p, QPointF c, qreal s, const QColor& col) {
    const qreal r = s * 0.2;
    QPainterPath pin;
    pin.addEllipse(QPointF(c.x(), c.y() - r * 0.5), r, r);
    QPainterPath tip;
    tip.addPolygon(QPolygonF({QPointF(c.x() - r * 0.85, c.y() - r * 0.1), QPointF(c.x() + r * 0.85, c.y() - r * 0.1),
        QPointF(c.x(), c.y() + r * 1.7)}));
    p.setPen(Qt::NoPen);
    p.setBrush(col);
    p.drawPath(pin.united(tip));
    p.setBrush(kBase);
    p.drawEllipse(QPointF(c.x(), c.y() - r * 0.5), r * 0.4, r * 0.4);
};
void arrow(QPainter& p, QPointF from, QPointF to, const QColor& col, qreal width)
{
    p.setPen(QPen(col, width, Qt::SolidLine, Qt::FlatCap));
    const QLineF l(from, to);
    QLineF head(to, from);
    head.setLength(width * 2.2);
    p.drawLine(from, head.p2());
    const QPointF n(-(to.y() - from.y()), to.x() - from.x());
    const qreal len = std::hypot(n.x(), n.y());
    const QPointF nn = n / len * width * 1.7;
    fillPoly(p, QPolygonF({to, head.p2() + nn, head.p2() - nn}), col);
}
const Icon iconSwap = [](QPainter& p, QPointF c, qreal s, const QColor& col) {
    const qreal d = s * 0.28, w = s * 0.08;
    arrow(p, QPointF(c.x() - d, c.y() - d * 0.45), QPointF(c.x() + d, c.y() - d * 0.45), col, w);
    arrow(p, QPointF(c.x() + d, c.y() + d * 0.45), QPointF(c.x() - d, c.y() + d * 0.45), col, w);
};
Icon mirrorIcon(bool vertical)
{
    return [vertical](QPainter& p, QPointF c, qreal s, const QColor& col) {
        p.save();
        p.translate(c);
        if (vertical)
            p.rotate(90);
        const qreal h = s * 0.3;
        fillPoly(p, QPolygonF({QPointF(-s * 0.06, -h), QPointF(-s * 0.06, h), QPointF(-s * 0.34, h)}), col);
        p.setPen(QPen(col, 1.2));
        p.setBrush(Qt::NoBrush);
        p.drawPolygon(QPolygonF({QPointF(s * 0.06, -h), QPointF(s * 0.06, h), QPointF(s * 0.34, h)}));
        p.setPen(QPen(col, 1, Qt::DashLine));
        p.drawLine(QPointF(0, -h * 1.25), QPointF(0, h * 1.25));
        p.restore();
    };
}
const Icon iconMinimise = [](QPainter& p, QPointF c, qreal s, const QColor& col) {
    p.setPen(Qt::NoPen);
    p.setBrush(col);
    p.drawRect(QRectF(c.x() - s * 0.25, c.y() + s * 0.12, s * 0.5, s * 0.1));
};
const Icon iconFullScreen = [](QPainter& p, QPointF c, qreal s, const QColor& col) {
    p.setPen(QPen(col, std::max<qreal>(1.5, s * 0.08), Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    const qreal h = s * 0.26, k = s * 0.12;
    for (int sx : {-1, 1})
        for (int sy : {-1, 1})
            p.drawPolyline(QPolygonF({QPointF(c.x() + sx * h, c.y() + sy * (h - k)), QPointF(c.x() + sx * h, c.y() + sy * h),
                QPointF(c.x() + sx * (h - k), c.y() + sy * h)}));
};
const Icon iconRestore = [](QPainter& p, QPointF c, qreal s, const QColor& col) {
    p.setPen(QPen(col, std::max<qreal>(1.2, s * 0.07)));
    p.setBrush(Qt::NoBrush);
    const qreal h = s * 0.36;
    p.drawRect(QRectF(c.x() - h * 0.35, c.y() - h * 0.75, h, h));
    p.setBrush(kBase);
    p.drawRect(QRectF(c.x() - h * 0.7, c.y() - h * 0.3, h, h));
};
const Icon iconExit = [](QPainter& p, QPointF c, qreal s, const QColor& col) {
    p.setPen(QPen(col, std::max<qreal>(1.6, s * 0.09), Qt::SolidLine, Qt::RoundCap));
    const qreal h = s * 0.2;
    p.drawLine(c + QPointF(-h, -h), c + QPointF(h, h));
    p.drawLine(c + QPointF(-h, h), c + QPointF(h, -h));
};
// Category tab glyphs.
const Icon iconAll = [](QPainter& p, QPointF c, qreal s, const QColor& col) {
    p.setPen(Qt::NoPen);
    p.setBrush(col);
    const qreal q = s * 0.16;
    for (int i : {-1, 1})
        for (int j : {-1, 1})
            p.drawRect(QRectF(c.x() + (i < 0 ? -q * 1.15 : q * 0.15), c.y() + (j < 0 ? -q * 1.15 : q * 0.15), q, q));
};
const Icon iconContinuous = [](QPainter& p, QPointF c, qreal s, const QColor& col) {
    p.setPen(QPen(col, s * 0.07));
    p.setBrush(Qt::NoBrush);
    const qreal r = s * 0.2;
    p.drawArc(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), 60 * 16, 300 * 16);
    fillPoly(p, QPolygonF({QPointF(c.x() + r * 0.2, c.y() - r * 1.45), QPointF(c.x() + r * 0.95, c.y() - r * 0.85),
        QPointF(c.x() + r * 0.1, c.y() - r * 0.45)}), col);
    p.setBrush(col);
    p.drawEllipse(c, r * 0.3, r * 0.3);
};
const Icon iconEvent = [](QPainter& p, QPointF c, qreal s, const QColor& col) {
    fillPoly(p, QPolygonF({QPointF(c.x() + s * 0.05, c.y() - s * 0.3), QPointF(c.x() - s * 0.17, c.y() + s * 0.04),
        QPointF(c.x() - s * 0.01, c.y() + s * 0.04), QPointF(c.x() - s * 0.07, c.y() + s * 0.3),
        QPointF(c.x() + s * 0.17, c.y() - s * 0.06), QPointF(c.x() + s * 0.01, c.y() - s * 0.06)}), col);
};
const Icon iconManual = [](QPainter& p, QPointF c, qreal s, const QColor& col) {
    p.setPen(QPen(col, s * 0.06));
    p.setBrush(Qt::NoBrush);
    const qreal r = s * 0.23;
    p.drawEllipse(c, r, r);
    p.setPen(Qt::NoPen);
    p.setBrush(col);
    p.drawEllipse(c, r * 0.5, r * 0.5);
};
const Icon iconMotion = [](QPainter& p, QPointF c, qreal s, const QColor& col) {
    p.setPen(QPen(col, s * 0.06, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    for (int i = 1; i <= 3; ++i) {
        const qreal r = s * 0.09 * i;
        p.drawArc(QRectF(c.x() - s * 0.2 - r, c.y() - r, 2 * r, 2 * r), -50 * 16, 100 * 16);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(col);
    p.drawEllipse(QPointF(c.x() - s * 0.2, c.y()), s * 0.05, s * 0.05);
};

// ---------------------------------------------------------------- buttons
struct Look {
    QColor face, faceTop, border, icon;
    qreal shift;
};
// normal, hover, pressed, checked, disabled
const Look kLooks[5] = {
    {QColor(36, 44, 56), QColor(50, 60, 74), QColor(70, 82, 98), QColor(206, 212, 220), 0},
    {QColor(44, 62, 82), QColor(60, 84, 110), kAccent, QColor(255, 255, 255), 0},
    {QColor(20, 26, 34), QColor(26, 34, 44), kAmber, kAmber, 1},
    {QColor(26, 74, 112), QColor(40, 98, 142), kAccent, QColor(255, 255, 255), 0},
    {QColor(40, 40, 40), QColor(46, 46, 46), QColor(60, 60, 60), QColor(96, 96, 96), 0},
};

enum class Shape { Round, Rect };

// A strip of `count` images w x h. iconBox: where the icon sits in each image
// (the whole image when empty).
QImage buttonStrip(int w, int h, int count, Shape shape, const Icon& icon, QRectF iconBox = {}, bool keyCorners = true)
{
    QImage img = canvas(w * count, h);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    for (int k = 0; k < count; ++k) {
        const Look& look = kLooks[k];
        p.save();
        p.translate(k * w, 0);
        QLinearGradient g(0, 0, 0, h);
        g.setColorAt(0, look.faceTop);
        g.setColorAt(1, look.face);
        p.setPen(QPen(look.border, 1));
        p.setBrush(g);
        if (shape == Shape::Round)
            p.drawEllipse(QRectF(1, 1, w - 2, h - 2));
        else
            p.drawRoundedRect(QRectF(0.5, 0.5, w - 1, h - 1), 4, 4);
        if (icon) {
            const QRectF box = iconBox.isEmpty() ? QRectF(0, 0, w, h) : iconBox;
            icon(p, box.center() + QPointF(look.shift, look.shift), std::min(box.width(), box.height()), look.icon);
        }
        p.restore();
    }
    p.end();
    return keyCorners ? keyed(img) : img;
}

// ---------------------------------------------------------------- sliders
// Channel: 3 columns x 2 rows; top row empty groove, bottom row filled.
QImage channel(int w3, int h2, const QColor& fill)
{
    QImage img = canvas(w3 * 3, h2 * 2, kBar);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    for (int row = 0; row < 2; ++row) {
        const QColor c = row == 0 ? QColor(10, 14, 19) : fill;
        const qreal inset = h2 * 0.2;
        QRectF groove(0.5, row * h2 + inset, w3 * 3 - 1, h2 - 2 * inset);
        QLinearGradient g(0, groove.top(), 0, groove.bottom());
        g.setColorAt(0, c.darker(row == 0 ? 100 : 130));
        g.setColorAt(1, c.lighter(row == 0 ? 160 : 115));
        p.setPen(QPen(row == 0 ? kLine : fill.darker(150), 1));
        p.setBrush(g);
        p.drawRoundedRect(groove, groove.height() / 2, groove.height() / 2);
    }
    p.end();
    // The caps round the groove; the middle column must be uniform so it stretches well.
    for (int row = 0; row < 2; ++row)
        for (int y = row * h2; y < (row + 1) * h2; ++y)
            for (int x = w3; x < 2 * w3; ++x)
                img.setPixel(x, y, img.pixel(w3 + w3 / 2, y));
    return img;
}

QImage thumb(int w, int h, const QColor& rim)
{
    QImage img = canvas(w, h);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient g(QPointF(w * 0.4, h * 0.35), std::max(w, h) * 0.7);
    g.setColorAt(0, QColor(250, 252, 255));
    g.setColorAt(1, QColor(150, 160, 174));
    p.setPen(QPen(rim, 1));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(0.5, 0.5, w - 1, h - 1), h / 2.0, h / 2.0);
    p.end();
    return keyed(img);
}

// ---------------------------------------------------------------- switches
QImage speakerSwitch(int w, int h)
{
    QImage img = canvas(w * 2, h);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    for (int half = 0; half < 2; ++half) {
        p.save();
        p.translate(half * w, 0);
        const QColor col = half == 0 ? QColor(220, 226, 232) : QColor(130, 136, 144);
        const qreal s = h;
        const QPointF c(w * 0.36, h / 2.0);
        p.setPen(Qt::NoPen);
        p.setBrush(col);
        p.drawPolygon(QPolygonF({QPointF(c.x() - s * 0.3, c.y() - s * 0.14), QPointF(c.x() - s * 0.12, c.y() - s * 0.14),
            QPointF(c.x() + s * 0.1, c.y() - s * 0.36), QPointF(c.x() + s * 0.1, c.y() + s * 0.36),
            QPointF(c.x() - s * 0.12, c.y() + s * 0.14), QPointF(c.x() - s * 0.3, c.y() + s * 0.14)}));
        if (half == 0) {
            p.setPen(QPen(kAccent, s * 0.08, Qt::SolidLine, Qt::RoundCap));
            p.setBrush(Qt::NoBrush);
            for (int i = 1; i <= 2; ++i) {
                const qreal r = s * 0.17 * i;
                p.drawArc(QRectF(c.x() + s * 0.1 - r, c.y() - r, 2 * r, 2 * r), -45 * 16, 90 * 16);
            }
        } else {
            p.setPen(QPen(QColor(220, 70, 60), s * 0.1, Qt::SolidLine, Qt::RoundCap));
            const QPointF x(c.x() + s * 0.38, c.y());
            const qreal d = s * 0.16;
            p.drawLine(x + QPointF(-d, -d), x + QPointF(d, d));
            p.drawLine(x + QPointF(-d, d), x + QPointF(d, -d));
        }
        p.restore();
    }
    p.end();
    return keyed(img);
}

QImage tickBox(int w, int h)
{
    QImage img = canvas(w * 2, h);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    for (int half = 0; half < 2; ++half) {
        const QRectF box(half * w + w / 2.0 - 6.5, h / 2.0 - 6.5, 13, 13);
        p.setPen(QPen(QColor(170, 180, 192), 1));
        p.setBrush(QColor(10, 14, 19));
        p.drawRoundedRect(box, 2, 2);
        if (half == 1) {
            p.setPen(QPen(kAccent, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.setBrush(Qt::NoBrush);
            p.drawPolyline(QPolygonF({box.topLeft() + QPointF(3, 6.5), box.topLeft() + QPointF(5.5, 9.5), box.topLeft() + QPointF(10, 3.5)}));
        }
    }
    p.end();
    return keyed(img);
}

// ---------------------------------------------------------------- panels
void panel(QPainter& p, const QRectF& r, const QColor& fill, qreal radius = 6, const QColor& border = kLine)
{
    QLinearGradient g(0, r.top(), 0, r.bottom());
    g.setColorAt(0, fill.lighter(118));
    g.setColorAt(1, fill);
    p.setPen(QPen(border, 1));
    p.setBrush(g);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
}

void videoWell(QPainter& p, const QRect& r)
{
    // r is the video rectangle itself; the frame sits one pixel outside.
    p.setPen(QPen(kGrey, 1));
    p.setBrush(QColor(6, 8, 11));
    p.drawRect(QRectF(r).adjusted(-0.5, -0.5, 0.5, 0.5));
    p.setPen(QPen(QColor(26, 32, 40), 1));
    const int step = 24;
    for (int x = r.left() + step; x < r.right(); x += step * 4)
        p.drawLine(QPointF(x + 0.5, r.top() + r.height() / 2.0 - 4), QPointF(x + 0.5, r.top() + r.height() / 2.0 + 4));
    // a faint camera mark in the middle of an empty well
    const QPointF c = QRectF(r).center();
    p.setPen(QPen(QColor(40, 48, 58), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(c.x() - 26, c.y() - 16, 40, 32), 4, 4);
    p.drawPolygon(QPolygonF({QPointF(c.x() + 16, c.y() - 6), QPointF(c.x() + 28, c.y() - 14), QPointF(c.x() + 28, c.y() + 14), QPointF(c.x() + 16, c.y() + 6)}));
}

QImage background()
{
    QImage img = canvas(1130, 640, kBase);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);

    // title strip (the drag area) with a hairline under it
    QLinearGradient title(0, 0, 0, 27);
    title.setColorAt(0, QColor(44, 52, 62));
    title.setColorAt(1, QColor(26, 33, 42));
    p.fillRect(QRect(0, 0, 1130, 27), title);
    p.fillRect(QRect(0, 27, 1130, 1), QColor(10, 14, 19));
    p.fillRect(QRect(0, 28, 1130, 1), QColor(40, 50, 62));

    // caption bars above the two video areas
    panel(p, QRectF(8, 36, 701, 33), kPanel, 5);
    panel(p, QRectF(709, 36, 413, 33), kPanel, 5);
    p.fillRect(QRect(12, 43, 4, 18), kAmber);
    p.fillRect(QRect(713, 43, 4, 18), kAmber);
    videoWell(p, QRect(9, 68, 699, 388));
    videoWell(p, QRect(710, 68, 411, 307));

    // list area: tab row, header (skin image 2 covers it), rows
    panel(p, QRectF(709, 376, 413, 257), kPanel, 5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(13, 19, 26));
    p.drawRect(QRect(709, 432, 413, 200));
    p.setPen(QColor(24, 32, 42));
    for (int y = 452; y < 632; y += 20)
        p.drawLine(710, y, 1121, y);

    // control bar: position slider row, transport buttons, level sliders
    panel(p, QRectF(8, 457, 701, 90), kBar, 6);
    p.setPen(QPen(QColor(44, 54, 66), 1));
    p.drawLine(QPointF(178.5, 482), QPointF(178.5, 540));
    p.drawLine(QPointF(574.5, 482), QPointF(574.5, 540));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(20, 27, 35));
    p.drawRoundedRect(QRectF(24, 484, 134, 26), 4, 4);
    p.drawRoundedRect(QRectF(24, 514, 134, 30), 4, 4);

    // instrument area: speed instrument, g read-outs, acceleration plot
    panel(p, QRectF(8, 550, 701, 83), QColor(24, 31, 40), 6);
    p.setPen(QPen(kLine, 1));
    p.setBrush(QColor(10, 14, 19));
    p.drawRoundedRect(QRectF(16.5, 556.5, 125, 75), 4, 4);
    p.drawRoundedRect(QRectF(150.5, 563.5, 54, 58), 3, 3);
    p.drawRect(QRectF(206.5, 564.5, 490, 58));
    p.setPen(QPen(QColor(28, 38, 50), 1));
    for (int x = 207 + 49; x < 696; x += 49)
        p.drawLine(QPointF(x + 0.5, 565), QPointF(x + 0.5, 622));
    for (int y = 565 + 14; y < 622; y += 14)
        p.drawLine(QPointF(207, y + 0.5), QPointF(696, y + 0.5));
    p.setPen(QPen(QColor(48, 62, 78), 1));
    p.drawLine(QPointF(207, 593.5), QPointF(696, 593.5));

    // outline of the whole window, inside the rounded region
    p.setPen(QPen(kGrey, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(0.5, 0.5, 1129, 639), 6, 6);
    p.end();
    return img;
}

QImage listHeader()
{
    QImage img = canvas(413, 23);
    QPainter p(&img);
    QLinearGradient g(0, 0, 0, 23);
    g.setColorAt(0, QColor(70, 70, 70));
    g.setColorAt(1, kGrey.darker(115));
    p.fillRect(img.rect(), g);
    p.setPen(QColor(90, 90, 90));
    p.drawLine(0, 0, 412, 0);
    p.setPen(QColor(24, 24, 24));
    p.drawLine(0, 22, 412, 22);
    for (int x : {30, 140, 318}) {
        p.setPen(QColor(30, 30, 30));
        p.drawLine(x, 4, x, 18);
        p.setPen(QColor(84, 84, 84));
        p.drawLine(x + 1, 4, x + 1, 18);
    }
    return img;
}

QImage listTicks()
{
    QImage img = canvas(128, 20);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    for (int cell = 0; cell < 4; ++cell) {
        const bool selected = cell % 2 == 0, ticked = cell >= 2;
        const QRect r(cell * 32, 0, 32, 20);
        p.fillRect(r, selected ? QColor(30, 66, 100) : QColor(17, 25, 34));
        const QRectF box(r.left() + 9.5, 3.5, 13, 13);
        p.setPen(QPen(QColor(150, 160, 172), 1));
        p.setBrush(QColor(8, 12, 16));
        p.drawRoundedRect(box, 2, 2);
        if (ticked) {
            p.setPen(QPen(kAccent, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.drawPolyline(QPolygonF({box.topLeft() + QPointF(3, 6.5), box.topLeft() + QPointF(5.5, 9.5), box.topLeft() + QPointF(10, 3.5)}));
        }
    }
    return img;
}

QImage listRows()
{
    QImage img = canvas(383, 40);
    QPainter p(&img);
    p.fillRect(QRect(0, 0, 383, 20), QColor(17, 25, 34));
    p.fillRect(QRect(0, 19, 383, 1), QColor(28, 36, 46));
    QLinearGradient g(0, 20, 0, 40);
    g.setColorAt(0, QColor(38, 82, 122));
    g.setColorAt(1, QColor(28, 62, 96));
    p.fillRect(QRect(0, 20, 383, 20), g);
    p.fillRect(QRect(0, 39, 383, 1), kAccent.darker(140));
    return img;
}

// Three 15-pixel columns: caps at the sides, a uniform middle column.
QImage border(int h, bool top, bool bottom)
{
    QImage img = canvas(45, h, QColor(12, 17, 23));
    QPainter p(&img);
    QLinearGradient g(0, 0, 0, h);
    if (top) {
        g.setColorAt(0, QColor(48, 56, 66));
        g.setColorAt(0.45, QColor(26, 33, 42));
        g.setColorAt(1, QColor(14, 19, 26));
    } else if (bottom) {
        g.setColorAt(0, QColor(14, 19, 26));
        g.setColorAt(0.3, QColor(30, 38, 48));
        g.setColorAt(1, QColor(20, 27, 35));
    } else {
        g.setColorAt(0, QColor(14, 19, 26));
        g.setColorAt(1, QColor(14, 19, 26));
    }
    p.fillRect(img.rect(), g);
    p.setPen(kGrey);
    p.drawLine(0, 0, 0, h - 1);
    p.drawLine(44, 0, 44, h - 1);
    if (top)
        p.drawLine(0, 0, 44, 0), p.fillRect(QRect(0, 68, 45, 2), QColor(54, 54, 54));
    if (bottom) {
        p.drawLine(0, h - 1, 44, h - 1);
        p.fillRect(QRect(0, 106, 45, 1), kGrey);
    }
    return img;
}

QImage logo(int w, int h, bool corner)
{
    QImage img = canvas(w, h, corner ? QColor(0, 0, 0, 0) : QColor(0, 0, 0, 0));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    // the same gradient as the background's title strip, so the logo sits in it seamlessly
    QLinearGradient g(0, 0, 0, corner ? h : 27);
    g.setColorAt(0, QColor(44, 52, 62));
    g.setColorAt(1, corner ? QColor(20, 27, 35) : QColor(26, 33, 42));
    p.fillRect(img.rect(), g);
    // a small horizon mark: sun over a road line
    const qreal cy = h / 2.0 - (corner ? 0 : 4);
    p.setPen(Qt::NoPen);
    p.setBrush(kAmber);
    p.drawPie(QRectF(6, cy - 7, 16, 16), 0, 180 * 16);
    p.fillRect(QRectF(4, cy + 2, 20, 2), kAccent);
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(corner ? 10 : 11);
    f.setBold(true);
    p.setFont(f);
    const int tx = corner ? 24 : 28;
    p.setPen(QColor(226, 232, 238));
    p.drawText(QRectF(tx, cy - 10, w - tx, 20), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("HALCYON"));
    const int ox = QFontMetrics(f).horizontalAdvance(QStringLiteral("HALCYON")) + (corner ? 3 : 6);
    p.setPen(kAccent);
    f.setBold(false);
    p.setFont(f);
    p.drawText(QRectF(tx + ox, cy - 10, w - tx - ox, 20), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("DECK"));
    if (!corner)
        p.fillRect(QRect(0, 27, w, 1), QColor(10, 14, 19)), p.fillRect(QRect(0, 28, w, 8), kBase);
    p.end();
    return img;
}

// The application icon for the desktop: the logo's sun rising over a road
// that runs to the horizon, on a rounded tile. Drawn at each size, not scaled,
// so the small ones stay sharp.
QImage appIcon(int size)
{
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    const qreal margin = s <= 24 ? 0.5 : s * 0.06;
    const QRectF tile(margin, margin, s - 2 * margin, s - 2 * margin);
    QPainterPath rounded;
    rounded.addRoundedRect(tile, s * 0.18, s * 0.18);
    QLinearGradient sky(0, tile.top(), 0, tile.bottom());
    sky.setColorAt(0, QColor(44, 52, 62));
    sky.setColorAt(1, QColor(20, 27, 35));
    p.fillPath(rounded, sky);
    p.setClipPath(rounded);

    const qreal horizon = tile.top() + tile.height() * 0.56;
    const qreal cx = tile.center().x();
    p.setPen(Qt::NoPen);
    p.setBrush(kAmber);
    const qreal sun = tile.width() * 0.26;
    p.drawEllipse(QPointF(cx, horizon), sun, sun);
    p.fillRect(QRectF(tile.left(), horizon, tile.width(), tile.bottom() - horizon), QColor(30, 38, 48));
    QPolygonF road({QPointF(cx - tile.width() * 0.04, horizon), QPointF(cx + tile.width() * 0.04, horizon),
                    QPointF(tile.right() - tile.width() * 0.08, tile.bottom()),
                    QPointF(tile.left() + tile.width() * 0.08, tile.bottom())});
    fillPoly(p, road, QColor(64, 74, 88));
    // the edge lines and the dashes of the middle, wider as they come closer
    const qreal line = std::max(1.0, s / 40);
    p.setPen(QPen(kAccent, line * 1.2, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(road[0], road[3]);
    p.drawLine(road[1], road[2]);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(236, 240, 244));
    const qreal depth = tile.bottom() - horizon;
    for (qreal a : {0.12, 0.34, 0.68}) {
        const qreal top = horizon + depth * a, bottom = horizon + depth * std::min(1.0, a * 1.5 + 0.06);
        const qreal wt = line * (0.4 + a * 1.6), wb = line * (0.4 + a * 2.4);
        p.drawPolygon(QPolygonF({QPointF(cx - wt / 2, top), QPointF(cx + wt / 2, top), QPointF(cx + wb / 2, bottom),
                                 QPointF(cx - wb / 2, bottom)}));
    }
    p.end();
    return img;
}

QImage speedPanel()
{
    QImage img = canvas(122, 72, QColor(10, 14, 19));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, 72);
    g.setColorAt(0, QColor(26, 34, 44));
    g.setColorAt(1, QColor(8, 11, 15));
    p.setPen(QPen(kLine, 1));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(0.5, 0.5, 121, 71), 5, 5);
    // digit well on the left, unit well on the right
    p.setPen(QPen(QColor(36, 46, 58), 1));
    p.setBrush(QColor(6, 9, 12));
    p.drawRoundedRect(QRectF(5.5, 12.5, 73, 48), 3, 3);
    p.setPen(QPen(kAccent.darker(180), 2));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(84, 8, 32, 32), 200 * 16, -220 * 16);
    p.setPen(QPen(kAmber, 2));
    p.drawLine(QPointF(100, 24), QPointF(108, 15));
    return img;
}

QImage plain(int w, int h, const QColor& c)
{
    QImage img = canvas(w, h, c);
    QPainter p(&img);
    p.setPen(kLine);
    p.drawRect(0, 0, w - 1, h - 1);
    return img;
}

void drawAll()
{
    // Resource 128, the windows' icon: the desktop icon, keeping its transparency.
    g_images[128] = appIcon(48);

    // control-bar strips, ButtonLayout 2 (normal, hover, pressed)
    struct B { int id; int w, h; Shape shape; Icon icon; };
    const B bar[] = {
        {142, 42, 42, Shape::Round, iconOpen}, {136, 42, 42, Shape::Round, skip(false)},
        {514, 42, 42, Shape::Round, doubleTri(false)}, {135, 54, 54, Shape::Round, iconPlay},
        {133, 54, 54, Shape::Round, iconPause}, {516, 42, 42, Shape::Round, doubleTri(true)},
        {132, 42, 42, Shape::Round, skip(true)}, {137, 42, 42, Shape::Round, iconStop},
        {113, 42, 42, Shape::Round, skip(false)}, {529, 42, 42, Shape::Round, doubleTri(false)},
        {117, 54, 54, Shape::Round, iconPlay}, {116, 42, 42, Shape::Round, iconStop},
        {115, 54, 54, Shape::Round, iconPause}, {531, 42, 42, Shape::Round, doubleTri(true)},
        {114, 42, 42, Shape::Round, skip(true)},
        {150, 32, 32, Shape::Rect, iconSave}, {151, 32, 32, Shape::Rect, iconDelete},
        {147, 32, 32, Shape::Rect, iconSettings},
        {140, 22, 22, Shape::Rect, iconMinimise}, {145, 22, 22, Shape::Rect, iconFullScreen},
        {157, 22, 22, Shape::Rect, iconRestore}, {141, 22, 22, Shape::Rect, iconExit},
    };
    for (const B& b : bar)
        put(b.id, buttonStrip(b.w, b.h, 3, b.shape, b.icon));
    // caption buttons: the caption is drawn by the button 30 px from the left
    const QRectF iconCell(2, 1, 26, 26);
    put(148, buttonStrip(100, 28, 3, Shape::Rect, iconMap, iconCell));
    put(520, buttonStrip(100, 28, 3, Shape::Rect, iconSwap, iconCell));
    put(521, buttonStrip(100, 28, 3, Shape::Rect, mirrorIcon(false), iconCell));
    put(522, buttonStrip(100, 28, 3, Shape::Rect, mirrorIcon(true), iconCell));
    put(534, buttonStrip(120, 28, 3, Shape::Rect, iconSwap, QRectF(4, 1, 26, 26)));

    // category tabs, ButtonLayout 4 (normal, hover, pressed, checked, disabled)
    const std::pair<int, Icon> tabs[] = {{590, iconAll}, {591, iconContinuous}, {592, iconEvent}, {594, iconManual}, {593, iconMotion}};
    for (const auto& [id, icon] : tabs)
        put(id, buttonStrip(76, 30, 5, Shape::Rect, icon, QRectF(3, 2, 26, 26)));

    // slider channels (3 x 2 cells) and thumbs
    put(155, channel(5, 10, kAccent));
    put(143, channel(5, 10, QColor(96, 200, 120)));
    put(144, channel(5, 10, QColor(96, 200, 120)));
    put(175, channel(5, 10, kAmber));
    put(601, channel(5, 10, kAmber));
    put(463, channel(9, 9, kAccent));
    put(193, thumb(14, 10, kAccent));
    put(464, thumb(14, 9, kAccent));
    put(596, thumb(10, 10, QColor(96, 200, 120)));
    put(595, thumb(10, 10, kAmber));
    put(602, thumb(10, 10, kAmber));

    // switches: left half on / empty, right half off / ticked
    put(176, speakerSwitch(18, 15));
    put(177, speakerSwitch(27, 22));
    put(179, tickBox(30, 23));

    // window images
    put(178, background());
    put(180, listHeader());
    put(526, border(70, true, false));
    put(527, border(10, false, false));
    put(528, border(200, false, true));
    put(603, logo(110, 35, true));
    put(604, logo(130, 36, false));
    put(191, plain(100, 27, kPanel));
    put(192, plain(100, 27, kBar));
    put(158, plain(32, 32, kGrey));

    // recording list
    put(134, listTicks());
    put(138, listRows());

    // speed instrument panel
    put(598, speedPanel());
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: skingen OUTDIR\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out + QStringLiteral("/bitmaps"));
    drawAll();

    QString qrc;
    QTextStream ts(&qrc);
    ts << "<!DOCTYPE RCC><RCC version=\"1.0\">\n<qresource prefix=\"/\">\n";
    for (const auto& [id, img] : g_images) {
        const QString name = QStringLiteral("bitmaps/%1.png").arg(id);
        if (!img.save(out + QLatin1Char('/') + name, "PNG")) {
            std::fprintf(stderr, "skingen: cannot write %s\n", qPrintable(name));
            return 1;
        }
        ts << "  <file>" << name << "</file>\n";
    }
    // The desktop icon, in the hicolor theme's layout, for installing.
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QString dir = out + QStringLiteral("/icons/hicolor/%1x%1/apps").arg(size);
        QDir().mkpath(dir);
        if (!appIcon(size).save(dir + QStringLiteral("/org.halcyondeck.HalcyonDeck.png"), "PNG")) {
            std::fprintf(stderr, "skingen: cannot write the %d px icon\n", size);
            return 1;
        }
    }
    ts << "  <file alias=\"icons/org.halcyondeck.HalcyonDeck.png\">icons/hicolor/256x256/apps/org.halcyondeck.HalcyonDeck.png</file>\n";
    ts << "</qresource>\n</RCC>\n";
    ts.flush();
    QFile f(out + QStringLiteral("/bitmaps.qrc"));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 1;
    f.write(qrc.toUtf8());
    return 0;
}
