#pragma once
// One row of the recording list. Plain data without any widget dependency, so
// the recording library can build rows and read them back in core code.
#include <QDateTime>
#include <QRect>
#include <QString>
#include <QtGlobal>

// Calendar fields of a recording's time, in the order the camera software
// keeps them (day of week 0 = Sunday).
struct HTMLLIST_TIME {
    quint16 wYear = 0;
    quint16 wMonth = 0;
    quint16 wDayOfWeek = 0;
    quint16 wDay = 0;
    quint16 wHour = 0;
    quint16 wMinute = 0;
    quint16 wSecond = 0;
    quint16 wMilliseconds = 0;

    static HTMLLIST_TIME fromDateTime(const QDateTime& dt)
    {
        HTMLLIST_TIME t;
        if (!dt.isValid())
            return t;
        const QDate d = dt.date();
        const QTime tm = dt.time();
        t.wYear = quint16(d.year());
        t.wMonth = quint16(d.month());
        t.wDayOfWeek = quint16(d.dayOfWeek() % 7);
        t.wDay = quint16(d.day());
        t.wHour = quint16(tm.hour());
        t.wMinute = quint16(tm.minute());
        t.wSecond = quint16(tm.second());
        t.wMilliseconds = quint16(tm.msec());
        return t;
    }
};

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
