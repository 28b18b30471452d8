#pragma once
// What the recording list tells its parent. The record is delivered
// synchronously (a direct signal connection) and lives only for that call.
#include <QString>

class QObject;

// Notification codes. Code 2 is reserved and never sent.
constexpr int HTMLLIST_SELCHANGED = 1;   // up or down arrow handled
constexpr int HTMLLIST_RCLICK = 3;       // right button went down on a row
constexpr int HTMLLIST_DBLCLK = 4;       // a row was double-clicked
constexpr int HTMLLIST_CHECKCHANGED = 5; // check box changed by right button or space

struct HTMLLIST_NMHDR {
    QObject* hwndFrom = nullptr; // the sending list
    int idFrom = 0;              // its control id (415)
    int code = 0;
};

struct HTMLLIST_NOTIFY {
    HTMLLIST_NMHDR hdr;
    int row = -1;
    QString text;   // the row's file name
    int itemData = 0;
    int ticked = 0;
};
