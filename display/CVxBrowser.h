#pragma once
// The map pop-up: a frameless 460 x 440 window with the map page (control
// 600) and, below it, the overlay strip with speed, local date and time and
// position in yellow. Created hidden; the map command shows and hides it;
// the close button (command 460), Enter, Escape and a close request only hide
// it. Dragging by the top 30 pixels moves it.
#include "display/IMapPopup.h"
#include "display/MapConfig.h"
#include "skin/CVxBitmap.h"

#include <QDateTime>
#include <QDialog>
#include <QFont>

class CMapView;
class CVxButton;

class CVxBrowser : public QDialog, public IMapPopup {
    Q_OBJECT
public:
    static constexpr int kMapControlId = 600;
    static constexpr int kCloseCommand = 460;
    static constexpr QSize kSize{460, 440};
    static constexpr QRect kMapRect{7, 33, 446, 317};

    // Creates the window hidden (no parent) and loads the map page. The one
    // instance is reachable through instance() until it is destroyed.
    explicit CVxBrowser(const MapConfig& config, int speedUnit = 1);
    ~CVxBrowser() override;
    static CVxBrowser* instance();

    // IMapPopup
    void ToggleShown() override;
    bool IsShownByUser() const override { return m_visibleFlag != 0; }
    void UpdateOverlay(int speed, int speedUnit, double latitude, double longitude,
                       const QDateTime& localTime) override;
    void ShowPosition(double latitude, double longitude) override;
    void ShowTrack(const std::vector<QPointF>& lonLat) override;

    void SetSpeedUnit(int speedUnit) override;
    // Commands 1 (Enter), 2 (Escape) and 460 (close button) hide the window.
    void OnCommand(int commandId);

    CMapView* mapView() const { return m_mapView; }
    CVxButton* closeButton() const { return m_closeButton; }
    const QFont& overlayFont() const { return m_font; }
    int speed() const { return m_speed; }
    double latitude() const { return m_latitude; }
    double longitude() const { return m_longitude; }
    QDateTime localTime() const { return m_localTime; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

public slots:
    void accept() override;
    void reject() override;

private:
    void hideByUser();
    void paintFrame(QPainter& p) const;
    void paintOverlay(QPainter& p) const;

    CMapView* m_mapView = nullptr;
    CVxButton* m_closeButton = nullptr;
    CVxBitmap m_frame[3]; // 526 top, 527 middle, 528 bottom band
    QFont m_font;
    int m_speed = 0;
    int m_speedUnit = 1;
    // A fixed start position (single-precision values) until the first fix.
    double m_latitude = 35.26123809814453;
    double m_longitude = 128.61709594726562;
    QDateTime m_localTime;
    int m_visibleFlag = 1;
    bool m_dragging = false;
    QPoint m_dragOffset;
};
