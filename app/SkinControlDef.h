#pragma once
// One row of the main window's button tables: the button's image strip, its
// command id, its top-left corner in the window, the caption drawn on it (none
// when null) and its tooltip.
struct SkinControlDef {
    int bitmapId;
    int commandId;
    int x;
    int y;
    const char16_t* label;
    const char16_t* tooltip;
};
