#pragma once
// A volume path for tests: the system state comes from plain fields, a system
// change is simulated with setSystemMute, and every call is recorded by name.
// The interface has no way to change the system, so no test can see one asked.
#include "engine/VolumePath.h"

#include <QStringList>

class FakeVolumePath : public VolumePath {
public:
    using VolumePath::VolumePath;

    bool openResult = true;
    bool findResult = true;
    bool readResult = true;
    bool systemMuted = false;
    std::optional<int> systemVolume = 50;
    QStringList calls;

    bool OpenVolumePath() override
    {
        calls << QStringLiteral("OpenVolumePath");
        return openResult;
    }
    bool FindMuteControl() override
    {
        calls << QStringLiteral("FindMuteControl");
        return findResult;
    }
    bool ReadSystemMute(bool& muted) override
    {
        calls << QStringLiteral("ReadSystemMute");
        if (readResult)
            muted = systemMuted;
        return readResult;
    }
    std::optional<int> ReadSystemVolume() override
    {
        calls << QStringLiteral("ReadSystemVolume");
        return systemVolume;
    }
    void CloseVolumePath() override { calls << QStringLiteral("CloseVolumePath"); }

    // The system's mute changed (the real path reports it on the UI thread too).
    void setSystemMute(bool muted)
    {
        systemMuted = muted;
        emit systemMuteChanged(muted);
    }
};
