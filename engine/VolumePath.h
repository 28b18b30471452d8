#pragma once
// The system's sound output as the main window sees it: the mute state and
// volume of the default output, read only (the viewer never changes them).
// The libpulse implementation is PulseVolumePath (halcyon_engine); tests use
// a fake. Every call and every signal is on the UI thread.
#include <QObject>
#include <optional>

class VolumePath : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~VolumePath() override = default;

    // Connects to the sound server, waiting a short bound at most; false when
    // no server answered in time. A slow server may still answer later: the
    // path then reports the state by systemMuteChanged.
    virtual bool OpenVolumePath() = 0;
    // True once the default output, whose mute switch is read, is known.
    virtual bool FindMuteControl() = 0;
    // The default output's mute; false when it is not known.
    virtual bool ReadSystemMute(bool& muted) = 0;
    // The default output's volume as the wave-out query scales it: the 16-bit
    // volume divided by 654 (0 to 100); nothing when it is not known.
    virtual std::optional<int> ReadSystemVolume() = 0;
    virtual void CloseVolumePath() = 0;

signals:
    // The default output's mute changed, or another output became the default,
    // or its state became known after OpenVolumePath returned.
    void systemMuteChanged(bool muted);
};
