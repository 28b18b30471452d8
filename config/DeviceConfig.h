#pragma once
// The two settings records the program keeps (the live record the viewer uses
// and writes to the card, and the working copy the settings pages edit) and
// the rules by which the card's files are read and written. The main window
// owns the one instance; everything runs on the UI thread.
#include "config/DeviceSettings.h"
#include "base/CalendarTime.h"

#include <QString>
#include <optional>

inline constexpr const char* kSettingsFileName = "__system_ini.cfg";
inline constexpr const char* kTimeFileName = "__time_ini.cfg";

// True when the card root names a folder that is there now. A removal clears
// the root; nothing may then be written, least of all to a relative path.
bool CardRootPresent(const QString& cardRoot);

// How a write to the card ended.
enum class CardWrite { Written, NoCard, Failed };

class DeviceConfig {
public:
    DeviceSettings live;
    DeviceSettings working;

    // The live record becomes the default record.
    void ResetDeviceSettings() { live = DeviceSettings::Default(); }
    // True when the 34-byte file was read into the live record. False when it
    // cannot be opened or read (live record unchanged), or when it has another
    // size: then the live record is reset and the file replaced by the default.
    bool ReadDeviceSettings(const QString& path);
    // Replaces the file by the live record. False leaves the old file as it was.
    bool WriteDeviceSettings(const QString& path);

    void CopyLiveToWorking() { working = live; }
    void CopyWorkingToLive() { live = working; }

    // OK of the settings sheet: the working copy goes to the card's settings
    // file and becomes the live record only once it is there, so the viewer
    // never shows settings the card does not hold.
    CardWrite CommitWorking(const QString& cardRoot);
};

// What the user is told when the settings or the clock could not be written.
QString SettingsWriteCaption();
QString SettingsWriteFailureText(CardWrite outcome);
QString TimeWriteCaption();
QString TimeWriteFailureText(CardWrite outcome);

// The camera's clock file "__time_ini.cfg" (29 bytes).
inline constexpr int kDeviceTimeRecordSize = 29;
// The clock value in the file, or nullopt when the file cannot be opened or
// holds fewer than 16 bytes (the caller then shows the PC's local time). Bytes
// a short file does not reach come from the preset 2013-07-15 16:15:24.
std::optional<CalendarTime> ReadDeviceTimeValue(const QString& path);
// The same with the PC's local time in place of nullopt and of values no
// clock can show (month 13, hour 25).
CalendarTime ReadDeviceTimeFile(const QString& path);
// 16 zero bytes, six 16-bit fields, the byte 14. False when it cannot be written.
bool WriteDeviceTimeFile(const QString& path, const CalendarTime& time);
QByteArray DeviceTimeRecordBytes(const CalendarTime& time);
