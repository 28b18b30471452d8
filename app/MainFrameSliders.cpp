#include "app/MainFrameSliders.h"

#include "app/MainFrameLayout.h"
#include "app/PlaybackController.h"
#include "skin/CVxSlider.h"
#include "skin/CVxSwitch.h"

MainFrameSliders::MainFrameSliders(QWidget& owner, PlaybackController& controller)
    : m_owner(owner), m_controller(controller)
{
}

CVxSlider* MainFrameSliders::make(ControlId id, const QRect& r, int channel, int thumb, int min, int max, int pos)
{
    auto* s = new CVxSlider(&m_owner, IdOf(id), r);
    s->SetChannelBitmap(channel);
    s->SetThumbBitmap(thumb);
    s->SetRange(min, max);
    s->SetPos(pos);
    return s;
}

void MainFrameSliders::CreateTransport()
{
    m_position = make(ControlId::PositionSlider, MainFrameLayout::PositionSliderRect(), 155, 193, 0, 100, 0);
    m_position->Enable(false);
    m_speed = make(ControlId::SpeedSlider, MainFrameLayout::SpeedSliderRect(), 143, 596, 1, 9, m_controller.speedSetting());
    m_speed->Enable(false);
}

void MainFrameSliders::CreateVolume(CVxSwitch* soundSwitch)
{
    m_soundSwitch = soundSwitch;
    m_volume = make(ControlId::VolumeSlider, QRect(62, 492, 151 - 62, 502 - 492), 175, 595, 0, 99, m_controller.volumePercent());
}

void MainFrameSliders::CreateFullScreen(const QRect& target)
{
    if (m_fullPosition)
        return;
    const PlaybackController& c = m_controller;
    const FullScreenSliderRects r = MainFrameLayout::FullScreenSliders(target);
    m_fullPosition = make(ControlId::FullPositionSlider, r.position, 463, 464, 0, c.durationMs(), 0);
    m_fullPosition->Enable(m_position->IsEnabled());
    m_fullPosition->SetMarkers(m_position->Markers());
    m_fullSpeed = make(ControlId::FullSpeedSlider, r.speed, 144, 596, 1, 9, c.speedSetting());
    m_fullSpeed->Enable(false);
    m_fullVolume = make(ControlId::FullVolumeSlider, r.volume, 601, 602, 0, 99, c.volumePercent());
    for (CVxSlider* s : {m_fullPosition, m_fullSpeed, m_fullVolume})
        s->show();
}

CVxSlider* MainFrameSliders::sliderOf(int id) const
{
    switch (ControlId(id)) {
    case ControlId::PositionSlider: return m_position;
    case ControlId::FullPositionSlider: return m_fullPosition;
    case ControlId::SpeedSlider: return m_speed;
    case ControlId::FullSpeedSlider: return m_fullSpeed;
    case ControlId::VolumeSlider: return m_volume;
    case ControlId::FullVolumeSlider: return m_fullVolume;
    default: return nullptr;
    }
}

void MainFrameSliders::OnMoving(int id)
{
    CVxSlider* from = sliderOf(id);
    switch (ControlId(id)) {
    case ControlId::PositionSlider:
    case ControlId::FullPositionSlider:
        if (from)
            m_controller.PositionSliderMoving(from->GetPos());
        break;
    case ControlId::VolumeSlider:
    case ControlId::FullVolumeSlider:
        // Only the normal slider writes the volume trace line.
        if (from)
            m_controller.VolumeSliderMoving(from->GetPos(), ControlId(id) == ControlId::VolumeSlider);
        break;
    default:
        break;
    }
}

void MainFrameSliders::OnMoved(int id)
{
    CVxSlider* from = sliderOf(id);
    switch (ControlId(id)) {
    case ControlId::PositionSlider:
    case ControlId::FullPositionSlider:
        if (from)
            m_controller.PositionSliderReleased(from->GetPos());
        break;
    case ControlId::SpeedSlider:
    case ControlId::FullSpeedSlider:
        m_controller.SpeedSliderMoved(from ? from->GetPos() : m_controller.speedSetting());
        break;
    default:
        break;
    }
}

void MainFrameSliders::SetPositionRange(int maximumMs)
{
    for (CVxSlider* s : {m_position, m_fullPosition})
        if (s)
            s->SetRange(0, maximumMs);
}

void MainFrameSliders::SetPosition(int ms)
{
    for (CVxSlider* s : {m_position, m_fullPosition})
        if (s)
            s->SetPos(ms);
}

void MainFrameSliders::SetPositionMarkers(const std::vector<int>& ms)
{
    for (CVxSlider* s : {m_position, m_fullPosition})
        if (s)
            s->SetMarkers(ms);
}

void MainFrameSliders::SetSpeed(int setting)
{
    for (CVxSlider* s : {m_speed, m_fullSpeed})
        if (s)
            s->SetPos(setting);
}

void MainFrameSliders::SetVolume(int percent)
{
    for (CVxSlider* s : {m_volume, m_fullVolume})
        if (s)
            s->SetPos(percent);
}

void MainFrameSliders::EnableTransport(bool enabled)
{
    for (CVxSlider* s : {m_position, m_speed, m_fullPosition, m_fullSpeed}) {
        if (s) {
            s->Enable(enabled);
            s->update();
        }
    }
}

void MainFrameSliders::SetSoundSwitch(bool soundOn)
{
    if (!m_soundSwitch)
        return;
    m_soundSwitch->SetState(soundOn ? 1 : 0);
    m_soundSwitch->update();
}
