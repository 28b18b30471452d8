#pragma once
// The main window's position, speed and volume sliders of both modes and its
// sound switch, as the playback controller drives them, and the sliders'
// messages turned into controller calls. The full-screen sliders are made at
// the first full-screen entry and kept. The widgets are the window's children.
// UI thread only.
#include "app/IPlaybackSliders.h"
#include "base/ControlIds.h"

#include <QRect>

class CVxSlider;
class CVxSwitch;
class PlaybackController;
class QWidget;

class MainFrameSliders : public IPlaybackSliders {
public:
    MainFrameSliders(QWidget& owner, PlaybackController& controller);

    // Position 410 and speed 411, disabled until a recording starts.
    void CreateTransport();
    // Volume 412 at the controller's volume, and the sound switch it shows on.
    void CreateVolume(CVxSwitch* soundSwitch);
    // 403, 404, 405 for the full-screen rectangle target; once.
    void CreateFullScreen(const QRect& target);

    // WM_SLIDER_MOVING / WM_SLIDER_MOVED of slider id.
    void OnMoving(int id);
    void OnMoved(int id);

    CVxSlider* position() const { return m_position; }
    CVxSlider* speed() const { return m_speed; }
    CVxSlider* volume() const { return m_volume; }
    CVxSlider* fullPosition() const { return m_fullPosition; }
    CVxSlider* fullSpeed() const { return m_fullSpeed; }
    CVxSlider* fullVolume() const { return m_fullVolume; }

    // IPlaybackSliders
    void SetPositionRange(int maximumMs) override;
    void SetPosition(int ms) override;
    void SetPositionMarkers(const std::vector<int>& ms) override;
    void SetSpeed(int setting) override;
    void SetVolume(int percent) override;
    void EnableTransport(bool enabled) override;
    void SetSoundSwitch(bool soundOn) override;

private:
    CVxSlider* make(ControlId id, const QRect& r, int channel, int thumb, int min, int max, int pos);
    // The slider of id, normal or full screen; null when it does not exist.
    CVxSlider* sliderOf(int id) const;

    QWidget& m_owner;
    PlaybackController& m_controller;
    CVxSlider* m_position = nullptr;     // 410
    CVxSlider* m_fullPosition = nullptr; // 403
    CVxSlider* m_speed = nullptr;        // 411
    CVxSlider* m_fullSpeed = nullptr;    // 404
    CVxSlider* m_volume = nullptr;       // 412
    CVxSlider* m_fullVolume = nullptr;   // 405
    CVxSwitch* m_soundSwitch = nullptr;  // 438
};
