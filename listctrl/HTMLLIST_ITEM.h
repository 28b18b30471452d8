#pragma once
// One row of the recording list. Plain data without any widget dependency, so
// the recording library can build rows and read them back in core code.
#include "base/CalendarTime.h"

#include <QDateTime>
#include <QRect>
#include <QString>
#include <QtGlobal>

// A row keeps its recording's calendar time as the library holds it.
using HTMLLIST_TIME = CalendarTime;

// Row kinds: only recording rows are ever inserted; 2 marks a row not yet inserted.
constexpr int HTMLLIST_KIND_NONE = 2;
constexpr int HTMLLIST_KIND_RECORDING = 3;

struct HTMLLIST_ITEM {
    int index = -1;       // row number, equal to the row's place in the list
    int height = 0;       // pixels
    int kind = HTMLLIST_KIND_NONE;
    QString text;         // file name, column 2
    QString path;         // full path of the recording, not shown
    HTMLLIST_TIME time;   // column 1
    QString typeText;     // column 3
    int itemData = 0;     // passed on in notifications
    QRect rect;           // where the row was last painted; empty before the first paint
    int ticked = 0;       // 1 when the check box is ticked
    int fixedHeight = 0;  // 1 when the height came with the insertion
    int userData = 0;
};
