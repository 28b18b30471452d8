#pragma once
// Calendar time in eight unsigned 16-bit fields, as recordings, list rows and
// the camera's clock file carry it. All zero means "no time".
#include <QDateTime>
#include <cstdint>

struct CalendarTime {
    std::uint16_t year = 0;
    std::uint16_t month = 0;
    std::uint16_t dayOfWeek = 0; // 0 = Sunday
    std::uint16_t day = 0;
    std::uint16_t hour = 0;
    std::uint16_t minute = 0;
    std::uint16_t second = 0;
    std::uint16_t milliseconds = 0;

    bool isNull() const { return year == 0 && month == 0 && day == 0; }
    bool operator==(const CalendarTime&) const = default;

    // Local time of the machine.
    static CalendarTime FromDateTime(const QDateTime& local)
    {
        CalendarTime t;
        if (!local.isValid())
            return t;
        const QDate d = local.date();
        const QTime tm = local.time();
        t.year = std::uint16_t(d.year());
        t.month = std::uint16_t(d.month());
        t.dayOfWeek = std::uint16_t(d.dayOfWeek() % 7);
        t.day = std::uint16_t(d.day());
        t.hour = std::uint16_t(tm.hour());
        t.minute = std::uint16_t(tm.minute());
        t.second = std::uint16_t(tm.second());
        t.milliseconds = std::uint16_t(tm.msec());
        return t;
    }
    static CalendarTime Now() { return FromDateTime(QDateTime::currentDateTime()); }
};
