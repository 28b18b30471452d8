#pragma once
// The main window's two video windows as plain flags.
#include "app/IVideoArea.h"

class FakeVideoArea : public IVideoArea {
public:
    bool shown = false;
    int placements = 0;

    void ShowVideoWindows(bool show) override { shown = show; }
    void PlaceVideoWindows() override { ++placements; }
};
