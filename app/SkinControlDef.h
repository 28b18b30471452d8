#pragma once
// One row of the main window's button tables: the button's image strip, its
// command id, its top-left corner in the window, the caption drawn on it (none
// when null) and its tooltip. The texts are UTF-8, marked for lupdate in the
// tables and translated where the buttons are made.
struct SkinControlDef {
    int bitmapId;
    int commandId;
    int x;
    int y;
    const char* label;
    const char* tooltip;
};
