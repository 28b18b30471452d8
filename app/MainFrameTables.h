#pragma once
// The main window's button tables, created in row order: the control bar (27
// rows, ButtonLayout::Bar) and the category tabs (5 rows, ButtonLayout::Tab),
// and the nine skin bitmaps the window paints, in index order.
//
// Control-bar rows 0-7 are the normal window's transport buttons, rows 8-14
// those of the full-screen bar; rows 3/4, 10/12 and 23/24 share a place and
// show one at a time. Row r of the tab table selects recording category r.
#include "app/SkinControlDef.h"

#include <array>

class MainFrameTables {
public:
    static const std::array<SkinControlDef, 27>& ControlBar();
    static const std::array<SkinControlDef, 5>& CategoryTabs();
    static const std::array<int, 9>& SkinBitmapIds();
};
