#include "display/CVxBrowser.h"

#include "display/CMapView.h"
#include "display/MapOverlayText.h"
#include "skin/CMemoryDC.h"
#include "skin/CVxButton.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

namespace {
CVxBrowser* s_instance = nullptr;
const QColor kOverlayColour(255, 255, 0);
} // namespace

CVxBrowser::CVxBrowser(const MapConfig& config, int speedUnit)
    : QDialog(nullptr, Qt::Dialog | Qt::FramelessWindowHint), m_speedUnit(speedUnit),
      m_localTime(QDateTime::currentDateTime())
{
    s_instance = this;
    setObjectName(QStringLiteral("CVxBrowser"));
    setModal(false);
    // Closing the main window ends the program even while the map is shown.
    setAttribute(Qt::WA_QuitOnClose, false);
    setAttribute(Qt::WA_OpaquePaintEvent);

    m_font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("Noto Sans CJK KR")});
    m_font.setPixelSize(14);
    m_font.setWeight(QFont::Weight(600));
    m_font.setStyleStrategy(QFont::PreferAntialias);

    // 1-2. Size, map place.
    setFixedSize(kSize);
    m_mapView = new CMapView(config, this);
    m_mapView->setProperty("controlId", kMapControlId);
    m_mapView->setGeometry(kMapRect);
    // 3. The page is loaded once, whatever the network.
    m_mapView->Navigate(config.pageUrl());
    // 4. Close button.
    m_closeButton = new CVxButton(this);
    if (m_closeButton->LoadSkin(141))
        m_closeButton->CreateSkinButton(kCloseCommand, 436, 2, this, QString(), ButtonLayout::Bar);
    connect(m_closeButton, &CVxButton::commandClicked, this, &CVxBrowser::OnCommand);
    // 5. Frame bands.
    const int ids[3] = {526, 527, 528};
    for (int i = 0; i < 3; ++i)
        m_frame[i].Load(this, ids[i]);
    // 6. Centre on the screen.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    hide();
    m_visibleFlag = 0;
}

CVxBrowser::~CVxBrowser()
{
    if (s_instance == this)
        s_instance = nullptr;
}

CVxBrowser* CVxBrowser::instance()
{
    return s_instance;
}

void CVxBrowser::ToggleShown()
{
    if (m_visibleFlag == 1) {
        hide();
        m_visibleFlag = 0;
    } else {
        show();
        raise();
        m_visibleFlag = 1;
    }
}

void CVxBrowser::UpdateOverlay(int speed, int speedUnit, double latitude, double longitude,
                               const QDateTime& localTime)
{
    m_speed = speed;
    m_speedUnit = speedUnit;
    m_latitude = latitude;
    m_longitude = longitude;
    // A fix without a valid date keeps the time shown.
    if (localTime.isValid())
        m_localTime = localTime;
    update(MapOverlayText::kStripRect);
}

void CVxBrowser::SetSpeedUnit(int speedUnit)
{
    if (speedUnit == m_speedUnit)
        return;
    m_speedUnit = speedUnit;
    update(MapOverlayText::kStripRect);
}

void CVxBrowser::ShowPosition(double latitude, double longitude)
{
    m_mapView->ShowPosition(latitude, longitude);
}

void CVxBrowser::ShowTrack(const std::vector<QPointF>& lonLat)
{
    m_mapView->ShowTrack(lonLat);
}

void CVxBrowser::OnCommand(int commandId)
{
    if (commandId == 1 || commandId == 2 || commandId == kCloseCommand)
        hideByUser();
}

void CVxBrowser::hideByUser()
{
    hide();
    m_visibleFlag = 0;
}

void CVxBrowser::accept()
{
    OnCommand(1);
}

void CVxBrowser::reject()
{
    OnCommand(2);
}

void CVxBrowser::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        OnCommand(1);
        break;
    case Qt::Key_Escape:
        OnCommand(2);
        break;
    default:
        QDialog::keyPressEvent(event);
        return;
    }
    event->accept();
}

void CVxBrowser::closeEvent(QCloseEvent* event)
{
    // A close request only hides; the window lives until the program ends.
    event->ignore();
    hideByUser();
}

void CVxBrowser::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && event->position().y() < 30) {
        // The window manager moves it where it can; otherwise follow the
        // pointer ourselves.
        if (windowHandle() && windowHandle()->startSystemMove()) {
            event->accept();
            return;
        }
        m_dragging = true;
        m_dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
        event->accept();
        return;
    }
    QDialog::mousePressEvent(event);
}

void CVxBrowser::mouseMoveEvent(QMouseEvent* event)
{
    if (m_dragging && (event->buttons() & Qt::LeftButton)) {
        move(event->globalPosition().toPoint() - m_dragOffset);
        event->accept();
        return;
    }
    QDialog::mouseMoveEvent(event);
}

void CVxBrowser::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_dragging && event->button() == Qt::LeftButton) {
        m_dragging = false;
        event->accept();
        return;
    }
    QDialog::mouseReleaseEvent(event);
}

void CVxBrowser::paintEvent(QPaintEvent*)
{
    QPainter target(this);
    CMemoryDC dc(target, rect(), Qt::black);
    paintFrame(dc.painter());
    paintOverlay(dc.painter());
}

void CVxBrowser::paintFrame(QPainter& p) const
{
    // Each band bitmap is 45 pixels wide: a 15-pixel left cap, a stretchable
    // 15-pixel middle and a 15-pixel right cap.
    const int w = width();
    const int h = height();
    const int mid = w - 30;
    struct Band {
        const CVxBitmap& bitmap;
        int top, height, sourceHeight;
    };
    const Band bands[3] = {
        {m_frame[0], 0, 70, 70},
        {m_frame[1], 70, h - 200 - 70, 10},
        {m_frame[2], h - 200, 200, 200},
    };
    for (const Band& b : bands) {
        if (b.bitmap.isNull() || b.height <= 0)
            continue;
        b.bitmap.Draw(p, QRect(0, b.top, 15, b.height), QRect(0, 0, 15, b.sourceHeight));
        b.bitmap.Draw(p, QRect(15, b.top, mid, b.height), QRect(15, 0, 15, b.sourceHeight));
        b.bitmap.Draw(p, QRect(w - 15, b.top, 15, b.height), QRect(30, 0, 15, b.sourceHeight));
    }
}

void CVxBrowser::paintOverlay(QPainter& p) const
{
    p.setFont(m_font);
    p.setPen(kOverlayColour);
    p.setBackgroundMode(Qt::TransparentMode);
    if (const auto speed = MapOverlayText::SpeedText(m_speed, m_speedUnit))
        p.drawText(MapOverlayText::kSpeedRect, Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine, *speed);
    p.drawText(MapOverlayText::kTimeRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
               MapOverlayText::TimeText(m_localTime));
    p.drawText(MapOverlayText::kPositionRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
               MapOverlayText::PositionText(m_latitude, m_longitude));
}
