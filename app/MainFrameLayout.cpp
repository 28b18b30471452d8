#include "app/MainFrameLayout.h"

#include "app/RectEdges.h"
#include "base/ControlIds.h"

#include <QPainterPath>

namespace {


// Table positions of the window-control rows (minimise, full screen,
// previous size, exit); the layout moves them back there in the normal window.
constexpr int kWindowRowY = 5;
const QPoint kRow22(1051, kWindowRowY);
const QPoint kRow23(1076, kWindowRowY);
const QPoint kRow24(1076, kWindowRowY);
const QPoint kRow25(1101, kWindowRowY);

LayoutEntry show(int key) { return {key, std::nullopt, std::nullopt, LayoutVisibility::Show}; }
LayoutEntry hide(int key) { return {key, std::nullopt, std::nullopt, LayoutVisibility::Hide}; }
LayoutEntry byPlayState(int key) { return {key, std::nullopt, std::nullopt, LayoutVisibility::ByPlayState}; }
LayoutEntry move(int key, QPoint to, LayoutVisibility v) { return {key, to, std::nullopt, v}; }
LayoutEntry place(int key, QRect r, LayoutVisibility v) { return {key, r.topLeft(), r.size(), v}; }

} // namespace

QRect MainFrameLayout::PositionSliderRect() { return rectFromEdges(50, 459, 667, 469); }
QRect MainFrameLayout::SpeedSliderRect() { return rectFromEdges(62, 524, 151, 534); }
QRect MainFrameLayout::SpeedLabelRect() { return rectFromEdges(28, 516, 56, 542); }

QRect MainFrameLayout::CaptionStripRect(QSize client) { return rectFromEdges(0, 0, client.width(), 27); }

QRegion MainFrameLayout::WindowRegion(QSize client)
{
    QPainterPath path;
    path.addRoundedRect(QRectF(0, 0, client.width(), client.height()), 6.0, 6.0);
    return QRegion(path.toFillPolygon().toPolygon(), Qt::WindingFill);
}

MainFrameLayoutResult MainFrameLayout::Normal(QSize client)
{
    MainFrameLayoutResult r;
    r.captionStripRect = CaptionStripRect(client);
    const QRect slider = PositionSliderRect();
    r.positionTimeRect = rectFromEdges(slider.left() - 40, slider.top() - 2, slider.left(),
                                       exclusiveBottom(slider) + 2);
    r.durationTimeRect = rectFromEdges(exclusiveRight(slider), slider.top() - 2, exclusiveRight(slider) + 40,
                                       exclusiveBottom(slider) + 2);

    for (int row : {0, 1, 2, 5, 6, 7, 15, 16, 17, 18, 19, 20, 21})
        r.rows.push_back(show(row));
    for (int row : {8, 9, 11, 13, 14})
        r.rows.push_back(hide(row));
    for (int row : {3, 4, 10, 12})
        r.rows.push_back(byPlayState(row));
    r.rows.push_back(move(22, kRow22, LayoutVisibility::Keep));
    r.rows.push_back(move(23, kRow23, LayoutVisibility::Show));
    r.rows.push_back(move(24, kRow24, LayoutVisibility::Hide));
    r.rows.push_back(move(25, kRow25, LayoutVisibility::Keep));
    r.rows.push_back(hide(26));

    r.children = {
        show(IdOf(ControlId::PositionSlider)),
        hide(IdOf(ControlId::FullPositionSlider)),
        show(IdOf(ControlId::LinePlot)),
        move(IdOf(ControlId::SpeedSlider), QPoint(62, 524), LayoutVisibility::Show),
        move(IdOf(ControlId::VolumeSlider), QPoint(62, 492), LayoutVisibility::Show),
        hide(IdOf(ControlId::FullSpeedSlider)),
        hide(IdOf(ControlId::FullVolumeSlider)),
        place(IdOf(ControlId::MuteSwitch), QRect(QPoint(34, 489), QSize(18, 15)), LayoutVisibility::Keep),
        show(IdOf(ControlId::SelectAllSwitch)),
        show(IdOf(ControlId::SpeedMeter)),
        show(IdOf(ControlId::RecordingList)),
    };
    for (int category = 0; category < 5; ++category)
        r.children.push_back(show(IdOf(CategoryCommand(category))));
    r.muteSwitchBitmap = 176;
    return r;
}

MainFrameLayoutResult MainFrameLayout::FullScreen(QSize client, QSize positionSliderFullSize)
{
    const int W = client.width();
    const int H = client.height();
    MainFrameLayoutResult r;
    r.captionStripRect = CaptionStripRect(client);
    r.speedLabelRectFull = rectFromEdges(60, H - 44, 89, H - 17);

    for (int row : {0, 1, 2, 5, 6, 7, 15, 16, 17, 18, 19, 20, 21})
        r.rows.push_back(hide(row));
    r.rows.push_back(move(8, QPoint(200, H - 72), LayoutVisibility::Show));
    r.rows.push_back(move(9, QPoint(250, H - 72), LayoutVisibility::Show));
    r.rows.push_back(move(10, QPoint(300, H - 78), LayoutVisibility::ByPlayState));
    r.rows.push_back(move(12, QPoint(300, H - 78), LayoutVisibility::ByPlayState));
    r.rows.push_back(move(13, QPoint(364, H - 72), LayoutVisibility::Show));
    r.rows.push_back(move(14, QPoint(414, H - 72), LayoutVisibility::Show));
    r.rows.push_back(move(11, QPoint(464, H - 72), LayoutVisibility::Show));
    r.rows.push_back(byPlayState(3));
    r.rows.push_back(byPlayState(4));
    r.rows.push_back(move(22, QPoint(W - 72, kRow22.y()), LayoutVisibility::Show));
    r.rows.push_back(move(23, QPoint(W - 49, kRow23.y()), LayoutVisibility::Hide));
    r.rows.push_back(move(24, QPoint(W - 49, kRow24.y()), LayoutVisibility::Show));
    r.rows.push_back(move(25, QPoint(W - 27, kRow25.y()), LayoutVisibility::Show));
    r.rows.push_back(move(26, QPoint(W - 167, H - 65), LayoutVisibility::Show));

    const QRect slider(QPoint(67, H - 91), positionSliderFullSize);
    r.positionTimeRect = rectFromEdges(slider.left() - 60, slider.top(), slider.left(), exclusiveBottom(slider));
    r.durationTimeRect = rectFromEdges(exclusiveRight(slider), slider.top(), exclusiveRight(slider) + 60,
                                       exclusiveBottom(slider));

    r.children = {
        hide(IdOf(ControlId::LinePlot)),
        hide(IdOf(ControlId::PositionSlider)),
        move(IdOf(ControlId::FullPositionSlider), slider.topLeft(), LayoutVisibility::Show),
        hide(IdOf(ControlId::SpeedSlider)),
        place(IdOf(ControlId::FullSpeedSlider), QRect(QPoint(92, H - 35), QSize(88, 10)), LayoutVisibility::Show),
        place(IdOf(ControlId::MuteSwitch), QRect(QPoint(57, H - 73), QSize(27, 22)), LayoutVisibility::Keep),
        hide(IdOf(ControlId::VolumeSlider)),
        place(IdOf(ControlId::FullVolumeSlider), QRect(QPoint(92, H - 67), QSize(88, 10)), LayoutVisibility::Show),
        hide(IdOf(ControlId::SelectAllSwitch)),
        hide(IdOf(ControlId::SpeedMeter)),
        hide(IdOf(ControlId::RecordingList)),
    };
    for (int category = 0; category < 5; ++category)
        r.children.push_back(hide(IdOf(CategoryCommand(category))));
    r.muteSwitchBitmap = 177;
    r.enableSpeedSliderFull = true;
    return r;
}

std::array<LayoutEntry, 4> MainFrameLayout::PlayPauseRows(bool fullScreen, bool running)
{
    auto visible = [](bool v) { return v ? LayoutVisibility::Show : LayoutVisibility::Hide; };
    const bool normal = !fullScreen;
    return {{
        {3, std::nullopt, std::nullopt, visible(normal && !running)},
        {4, std::nullopt, std::nullopt, visible(normal && running)},
        {10, std::nullopt, std::nullopt, visible(fullScreen && !running)},
        {12, std::nullopt, std::nullopt, visible(fullScreen && running)},
    }};
}

QRect MainFrameLayout::FullScreenTarget(const QRect& availableGeometry, const QRect& screenGeometry)
{
    return availableGeometry.isEmpty() ? screenGeometry : availableGeometry;
}

FullScreenSliderRects MainFrameLayout::FullScreenSliders(const QRect& target)
{
    const int bottom = exclusiveBottom(target);
    return {
        rectFromEdges(67, bottom - 83, target.width() - 68, bottom - 74),
        SpeedSliderRect(),
        rectFromEdges(62, 492, 151, 502),
    };
}
