#pragma once
// The two video windows of the main window (ids 401, 402) as the playback
// controller sees them. The window implements it; UI thread only.
class IVideoArea {
public:
    virtual ~IVideoArea() = default;
    // Shows or hides video windows 1 and 2 (3 and 4 stay hidden).
    virtual void ShowVideoWindows(bool show) = 0;
    // Places windows 1 and 2 for the mode, the swap flag and the play state,
    // which the window reads back from the controller.
    virtual void PlaceVideoWindows() = 0;
};
