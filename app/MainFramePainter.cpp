#include "app/MainFramePainter.h"

#include "app/MainFrameTables.h"
#include "app/PlaybackController.h"
#include "display/PlaybackReadoutText.h"

#include <QCoreApplication>
#include <QPainter>

namespace {

// (l, t)-(r, b) with exclusive right and bottom edges.
constexpr QRect R(int l, int t, int r, int b)
{
    return QRect(l, t, r - l, b - t);
}

constexpr QRect kCaptionFrontRect = R(24, 39, 124, 67);
constexpr QRect kCaptionRearRect = R(718, 39, 818, 67);
constexpr QRect kHeaderDateRect = R(735, 409, 835, 432);
constexpr QRect kHeaderNameRect = R(863, 409, 1027, 432);
constexpr QRect kHeaderTypeRect = R(1027, 409, 1101, 432);
constexpr QRect kGReadouts[3] = {R(157, 569, 201, 584), R(157, 586, 201, 601), R(157, 603, 201, 618)};
constexpr QRect kSpeedLabelRect = R(28, 516, 56, 542);

// A colour written as the platform's 0x00BBGGRR.
QColor bgr(std::uint32_t v)
{
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

void drawText(QPainter& dc, const QRect& r, const QString& text, int pixelSize, int weight, std::uint32_t colour,
              Qt::Alignment align)
{
    // "Arial" where it is installed, else the desktop's sans at the same pixel size.
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setWeight(QFont::Weight(weight));
    dc.save();
    dc.setFont(font);
    dc.setPen(bgr(colour));
    dc.setClipRect(r);
    dc.drawText(r, int(align | Qt::TextSingleLine), text);
    dc.restore();
}

void drawSpeedLabel(QPainter& dc, const QRect& r)
{
    drawText(dc, r, QCoreApplication::translate("CVxMainFrame", "재생", "speed label, first line"), 10, 800, 0xFFFFFF, Qt::AlignLeft | Qt::AlignTop);
    drawText(dc, r, QCoreApplication::translate("CVxMainFrame", "속도", "speed label, second line"), 10, 800, 0xFFFFFF, Qt::AlignLeft | Qt::AlignBottom);
}

} // namespace

QRect MainFramePainter::CaptionFrontRect() { return kCaptionFrontRect; }
QRect MainFramePainter::CaptionRearRect() { return kCaptionRearRect; }
QRect MainFramePainter::GReadoutRect(int axis) { return kGReadouts[qBound(0, axis, 2)]; }

void MainFramePainter::LoadBitmaps(QWidget* owner)
{
    m_background.Load(owner, 178);
    for (std::size_t i = 0; i < m_skin.size(); ++i)
        m_skin[i].Load(owner, MainFrameTables::SkinBitmapIds()[i]);
}

void MainFramePainter::paintTimes(QPainter& dc, const PlaybackController& c, const QRect& positionTime,
                                  const QRect& durationTime) const
{
    const bool rp = c.IsRunningOrPaused();
    drawText(dc, durationTime, PlaybackReadoutText::TimeText(rp, c.DurationMs()), 11, 500, 0xC8C8C8,
             Qt::AlignCenter);
    drawText(dc, positionTime, PlaybackReadoutText::TimeText(rp, c.PositionMs()), 11, 500, 0x54B5EF,
             Qt::AlignCenter);
}

void MainFramePainter::PaintNormal(QPainter& dc, const QRect& client, const PlaybackController& c,
                                   const QRect& positionTime, const QRect& durationTime) const
{
    dc.fillRect(client, QColor(0x36, 0x36, 0x36));
    m_background.DrawBackground(dc);
    m_skin[2].Draw(dc, QRect(709, 409, 0, 0));
    m_skin[8].Draw(dc, QRect(10, 0, 0, 0));

    if (const auto g = PlaybackReadoutText::GReadoutAt(c.IsRunningOrPaused(), c.PositionMs(), c.telemetry().gSensorTrack)) {
        const QString labels[3] = {QStringLiteral("X :"), QStringLiteral("Y :"), QStringLiteral("Z :")};
        const std::uint32_t colours[3] = {0xFFFF80, 0x00FF00, 0x0000FF};
        const QString values[3] = {g->x, g->y, g->z};
        for (int i = 0; i < 3; ++i) {
            drawText(dc, kGReadouts[i], labels[i], 11, 400, colours[i], Qt::AlignLeft | Qt::AlignVCenter);
            drawText(dc, kGReadouts[i], values[i], 11, 400, colours[i], Qt::AlignRight | Qt::AlignVCenter);
        }
    }
    drawText(dc, kHeaderDateRect, QCoreApplication::translate("CVxMainFrame", "날 짜"), 12, 400, 0xFFFFFF, Qt::AlignCenter);
    drawText(dc, kHeaderNameRect, QCoreApplication::translate("CVxMainFrame", "파일이름"), 12, 400, 0xFFFFFF, Qt::AlignCenter);
    drawText(dc, kHeaderTypeRect, QCoreApplication::translate("CVxMainFrame", "유형"), 12, 400, 0xFFFFFF, Qt::AlignCenter);
    const QString front = QCoreApplication::translate("CVxMainFrame", "전방영상");
    const QString rear = QCoreApplication::translate("CVxMainFrame", "후방영상");
    const bool swapped = c.swapVideo();
    drawText(dc, kCaptionFrontRect, swapped ? rear : front, 14, 800, 0xC8C8C8, Qt::AlignLeft | Qt::AlignVCenter);
    drawText(dc, kCaptionRearRect, swapped ? front : rear, 14, 800, 0xC8C8C8, Qt::AlignLeft | Qt::AlignVCenter);
    drawSpeedLabel(dc, kSpeedLabelRect);
    paintTimes(dc, c, positionTime, durationTime);
}

void MainFramePainter::PaintFullScreen(QPainter& dc, const QRect& client, const PlaybackController& c,
                                       const QRect& positionTime, const QRect& durationTime,
                                       const QRect& speedLabel) const
{
    const int W = client.width();
    const int H = client.height();
    dc.fillRect(client, Qt::black);
    // Three 15-pixel columns of an image: left and right at their size, the
    // middle one stretched across.
    auto threeColumns = [&](const CVxBitmap& b, int y, int h) {
        if (b.isNull())
            return;
        dc.drawImage(QRect(0, y, 15, h), b.image(), QRect(0, 0, 15, b.size().height()));
        dc.drawImage(QRect(15, y, W - 30, h), b.image(), QRect(15, 0, 15, b.size().height()));
        dc.drawImage(QRect(W - 15, y, 15, h), b.image(), QRect(30, 0, 15, b.size().height()));
    };
    threeColumns(m_skin[4], 0, 70);
    if (!m_skin[5].isNull())
        dc.drawImage(QRect(0, 0, 110, 35), m_skin[5].image());
    threeColumns(m_skin[7], H - 200, 200);
    threeColumns(m_skin[6], 70, H - 270);
    dc.fillRect(QRect(QPoint(9, 69), QPoint(W - 10 - 1, H - 93 - 1)), Qt::black);
    drawText(dc, kCaptionFrontRect, c.swapVideo() ? QCoreApplication::translate("CVxMainFrame", "후방영상")
                                                 : QCoreApplication::translate("CVxMainFrame", "전방영상"), 14, 800,
             0xFFFFFF, Qt::AlignLeft | Qt::AlignVCenter);
    drawSpeedLabel(dc, speedLabel);
    paintTimes(dc, c, positionTime, durationTime);
}
