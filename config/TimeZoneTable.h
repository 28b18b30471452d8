#pragma once
// The camera's time zones: 25 rows in whole hours from UTC−12 to UTC+12. The
// row number is what the settings record stores (timeZoneIndex); the settings
// page lists the texts and the playback tick turns GPS time into the camera's
// local time with the offsets, so both read this one table.
#include <QString>
#include <optional>

class TimeZoneTable {
public:
    static constexpr int kRowCount = 25;

    // The combo box text of a row; empty for a number that is no row.
    static QString Text(int row);
    // Hours from UTC of a row (row − 12); nullopt for a number that is no row.
    static std::optional<int> OffsetHours(int row);
    // The offset the viewer applies to GPS time: the row's offset plus one hour
    // with daylight saving. A stored number that is no row (the file may hold
    // anything) counts as UTC, so a bad byte cannot push times by days.
    static int LocalOffsetHours(int row, bool daylightSaving);
};
