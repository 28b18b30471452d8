#pragma once
// The sliders and the sound switch as plain values, each clamped to its
// slider's range as the real ones are.
#include "app/IPlaybackSliders.h"

#include <QtGlobal>

class FakePlaybackSliders : public IPlaybackSliders {
public:
    int positionMax = 100;
    int position = 0;
    int speed = 5;
    int volume = 0;
    bool transportEnabled = false;
    bool soundOn = false;
    std::vector<int> markers;

    void SetPositionRange(int maximumMs) override
    {
        positionMax = maximumMs;
        position = qBound(0, position, qMax(0, positionMax));
    }
    void SetPosition(int ms) override { position = qBound(0, ms, qMax(0, positionMax)); }
    void SetPositionMarkers(const std::vector<int>& ms) override { markers = ms; }
    void SetSpeed(int setting) override { speed = qBound(1, setting, 9); }
    void SetVolume(int percent) override { volume = qBound(0, percent, 99); }
    void EnableTransport(bool enabled) override { transportEnabled = enabled; }
    void SetSoundSwitch(bool on) override { soundOn = on; }
};
