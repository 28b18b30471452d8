#pragma once
// The camera's settings record "__system_ini.cfg": 34 bytes, 16-bit fields
// little-endian. The bytes the viewer does not interpret are kept so that a
// rewrite hands them back to the camera unchanged.
#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>

enum class SpeedUnit : std::uint8_t { Kmh = 1, Mph = 2, Knots = 3 };
// The unit as the speed read-out and the exported clips label it; a code of 0
// reads as km/h, as the camera's read-out does, and an unknown code has none.
QString SpeedUnitLabel(int speedUnit);

enum class MemoryMode : std::uint8_t { Driving = 1, Normal = 2, Recording = 3 };

struct DeviceSettings {
    static constexpr int kSize = 34;

    std::array<std::uint8_t, 16> reserved0{};           // offset 0
    std::array<std::uint16_t, 3> sensitivity{5, 5, 5};  // offsets 16, 18, 20; only [0] is shown
    std::uint8_t quality = 3;                            // 22
    std::uint8_t drivingMode = 1;                        // 23
    std::uint8_t parkingMode = 1;                        // 24
    std::uint8_t motionSensitivity = 2;                  // 25
    std::uint8_t reserved26 = 0;                         // 26
    std::uint8_t timeZoneIndex = 21;                     // 27, GMT+09:00
    std::uint8_t daylightSaving = 0;                     // 28
    std::uint8_t speedUnit = 1;                          // 29, a SpeedUnit code (kept raw: the file may hold others)
    std::uint8_t reserved30 = 0;                         // 30
    std::uint8_t memoryMode = 2;                         // 31, a MemoryMode code
    std::uint8_t reserved32 = 0;                         // 32
    std::uint8_t reserved33 = 14;                        // 33

    // The default-constructed record is the camera's default record.
    static DeviceSettings Default() { return {}; }
    // data must hold exactly kSize bytes; anything else yields the default record.
    static DeviceSettings FromBytes(const QByteArray& data);
    QByteArray ToBytes() const;

    // GPS (UTC) time plus this many hours is the local time the viewer shows
    // (the time-zone row's offset, plus one hour with daylight saving).
    int LocalOffsetHours() const;

    bool operator==(const DeviceSettings&) const = default;
};

enum class SettingsFileRead { Read, CannotOpen, WrongSize };
// Reads the record at path into *bytes without ever changing the file: the
// rule of replacing a wrong-sized file belongs to the card the viewer shows,
// not to a tool that only looks at one.
SettingsFileRead ReadSettingsFile(const QString& path, QByteArray* bytes);
