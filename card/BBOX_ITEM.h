#pragma once
// One recording entry of a library list. A recording found on the card is two
// separate entries: one in its category's list and one in ALL.
#include "base/CalendarTime.h"

#include <QString>
#include <cstdint>

struct BBOX_ITEM {
    QString name;       // file name with extension, no folder
    QString path;       // full path
    QString type;       // type text of its category
    CalendarTime time;  // creation time, local
    std::int32_t played = 0; // set once started in the current run through the playing list
};
