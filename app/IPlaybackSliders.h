#pragma once
// The position, speed and volume sliders and the sound switch as the playback
// controller sees them. Each call covers the normal slider and its full-screen
// twin (403, 404, 405) once that exists; every slider clamps to its own range
// and repaints. The window implements it; UI thread only.
#include <vector>

class IPlaybackSliders {
public:
    virtual ~IPlaybackSliders() = default;
    // Position sliders 410 / 403: range 0..maximumMs.
    virtual void SetPositionRange(int maximumMs) = 0;
    virtual void SetPosition(int ms) = 0;
    // Marks on both position sliders (the moments of impact), in ms; empty clears them.
    virtual void SetPositionMarkers(const std::vector<int>& ms) = 0;
    // Speed sliders 411 / 404: the setting 1..9.
    virtual void SetSpeed(int setting) = 0;
    // Volume sliders 412 / 405: 0..99.
    virtual void SetVolume(int percent) = 0;
    // The position and speed sliders of both modes (the volume sliders stay usable).
    virtual void EnableTransport(bool enabled) = 0;
    // Sound switch 438: true shows sound on.
    virtual void SetSoundSwitch(bool soundOn) = 0;
};
