#pragma once
// The main window's two video windows as plain flags, following the playback
// controller's signals as the window does.
#include "app/PlaybackController.h"

struct FakeVideoArea {
    bool shown = false;
    int placements = 0;

    void Follow(PlaybackController& c)
    {
        QObject::connect(&c, &PlaybackController::recordingOpened, [this] { shown = true; });
        QObject::connect(&c, &PlaybackController::recordingStarted, [this] { ++placements; });
        QObject::connect(&c, &PlaybackController::recordingStopped, [this] { shown = false; });
    }
};
