#include "config/DeviceSettings.h"

#include "config/TimeZoneTable.h"

#include <QFile>
#include <QtEndian>

SettingsFileRead ReadSettingsFile(const QString& path, QByteArray* bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return SettingsFileRead::CannotOpen;
    // One byte more than a record shows a file that is too long.
    *bytes = file.read(DeviceSettings::kSize + 1);
    return bytes->size() == DeviceSettings::kSize ? SettingsFileRead::Read : SettingsFileRead::WrongSize;
}

DeviceSettings DeviceSettings::FromBytes(const QByteArray& data)
{
    DeviceSettings s;
    if (data.size() != kSize)
        return s;
    const auto* p = reinterpret_cast<const std::uint8_t*>(data.constData());
    for (int i = 0; i < 16; ++i)
        s.reserved0[i] = p[i];
    for (int i = 0; i < 3; ++i)
        s.sensitivity[i] = qFromLittleEndian<std::uint16_t>(p + 16 + 2 * i);
    s.quality = p[22];
    s.drivingMode = p[23];
    s.parkingMode = p[24];
    s.motionSensitivity = p[25];
    s.reserved26 = p[26];
    s.timeZoneIndex = p[27];
    s.daylightSaving = p[28];
    s.speedUnit = p[29];
    s.reserved30 = p[30];
    s.memoryMode = p[31];
    s.reserved32 = p[32];
    s.reserved33 = p[33];
    return s;
}

QByteArray DeviceSettings::ToBytes() const
{
    QByteArray data(kSize, '\0');
    auto* p = reinterpret_cast<std::uint8_t*>(data.data());
    for (int i = 0; i < 16; ++i)
        p[i] = reserved0[i];
    for (int i = 0; i < 3; ++i)
        qToLittleEndian<std::uint16_t>(sensitivity[i], p + 16 + 2 * i);
    p[22] = quality;
    p[23] = drivingMode;
    p[24] = parkingMode;
    p[25] = motionSensitivity;
    p[26] = reserved26;
    p[27] = timeZoneIndex;
    p[28] = daylightSaving;
    p[29] = speedUnit;
    p[30] = reserved30;
    p[31] = memoryMode;
    p[32] = reserved32;
    p[33] = reserved33;
    return data;
}

int DeviceSettings::LocalOffsetHours() const
{
    return TimeZoneTable::LocalOffsetHours(timeZoneIndex, daylightSaving != 0);
}

QString SpeedUnitLabel(int speedUnit)
{
    switch (speedUnit) {
    case 0:
    case 1:
        return QStringLiteral("km/h");
    case 2:
        return QStringLiteral("mi/h");
    case 3:
        return QStringLiteral("knots");
    default:
        return {};
    }
}
