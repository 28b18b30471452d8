#include "config/DeviceConfig.h"

#include "config/SafeFileWrite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <QCoreApplication>

bool DeviceConfig::ReadDeviceSettings(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const qint64 size = file.size();
    if (size == DeviceSettings::kSize) {
        const QByteArray data = file.read(DeviceSettings::kSize);
        if (data.size() != DeviceSettings::kSize)
            return false; // card pulled mid-read: keep what we had
        live = DeviceSettings::FromBytes(data);
        return true;
    }
    file.close();
    ResetDeviceSettings();
    WriteDeviceSettings(path);
    return false;
}

bool CardRootPresent(const QString& cardRoot)
{
    return !cardRoot.isEmpty() && QDir::isAbsolutePath(cardRoot) && QFileInfo(cardRoot).isDir();
}

CardWrite DeviceConfig::CommitWorking(const QString& cardRoot)
{
    if (!CardRootPresent(cardRoot))
        return CardWrite::NoCard;
    if (!WriteFileReplacing(cardRoot + QLatin1String(kSettingsFileName), working.ToBytes()))
        return CardWrite::Failed;
    live = working;
    return CardWrite::Written;
}

QString SettingsWriteCaption() { return QCoreApplication::translate("DeviceConfig", "설정 저장"); }

QString SettingsWriteFailureText(CardWrite outcome)
{
    switch (outcome) {
    case CardWrite::NoCard:
        return QCoreApplication::translate("DeviceConfig", "SD 카드가 없어 설정을 저장하지 못했습니다.\n카드를 다시 넣은 뒤 설정을 다시 변경하십시오.");
    case CardWrite::Failed:
        return QCoreApplication::translate("DeviceConfig", "설정을 SD 카드에 저장하지 못했습니다.\n카드에는 이전 설정이 그대로 남아 있습니다.");
    case CardWrite::Written: break;
    }
    return {};
}

QString TimeWriteCaption() { return QCoreApplication::translate("DeviceConfig", "시간 저장"); }

QString TimeWriteFailureText(CardWrite outcome)
{
    switch (outcome) {
    case CardWrite::NoCard:
        return QCoreApplication::translate("DeviceConfig", "SD 카드가 없어 시간을 저장하지 못했습니다.");
    case CardWrite::Failed:
        return QCoreApplication::translate("DeviceConfig", "시간을 SD 카드에 저장하지 못했습니다.\n카드에는 이전 시간 파일이 그대로 남아 있습니다.");
    case CardWrite::Written: break;
    }
    return {};
}

bool DeviceConfig::WriteDeviceSettings(const QString& path)
{
    return WriteFileReplacing(path, live.ToBytes());
}

namespace {
QByteArray presetTimeRecord()
{
    CalendarTime t;
    t.year = 2013;
    t.month = 7;
    t.day = 15;
    t.hour = 16;
    t.minute = 15;
    t.second = 24;
    return DeviceTimeRecordBytes(t);
}
} // namespace

QByteArray DeviceTimeRecordBytes(const CalendarTime& time)
{
    QByteArray data(kDeviceTimeRecordSize, '\0');
    auto* p = reinterpret_cast<std::uint8_t*>(data.data());
    const std::uint16_t fields[6] = {time.year, time.month, time.day, time.hour, time.minute, time.second};
    for (int i = 0; i < 6; ++i)
        qToLittleEndian<std::uint16_t>(fields[i], p + 16 + 2 * i);
    p[28] = 14;
    return data;
}

std::optional<CalendarTime> ReadDeviceTimeValue(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray buffer = presetTimeRecord();
    const QByteArray read = file.read(kDeviceTimeRecordSize);
    if (read.size() < 16)
        return std::nullopt;
    buffer.replace(0, read.size(), read);
    const auto* p = reinterpret_cast<const std::uint8_t*>(buffer.constData());
    CalendarTime t;
    t.year = qFromLittleEndian<std::uint16_t>(p + 16);
    t.month = qFromLittleEndian<std::uint16_t>(p + 18);
    t.day = qFromLittleEndian<std::uint16_t>(p + 20);
    t.hour = qFromLittleEndian<std::uint16_t>(p + 22);
    t.minute = qFromLittleEndian<std::uint16_t>(p + 24);
    t.second = qFromLittleEndian<std::uint16_t>(p + 26);
    const QDate date(t.year, t.month, t.day);
    if (date.isValid())
        t.dayOfWeek = std::uint16_t(date.dayOfWeek() % 7);
    return t;
}

CalendarTime ReadDeviceTimeFile(const QString& path)
{
    if (auto t = ReadDeviceTimeValue(path)) {
        if (QDate(t->year, t->month, t->day).isValid() && QTime(t->hour, t->minute, t->second).isValid())
            return *t;
    }
    CalendarTime now = CalendarTime::Now();
    now.milliseconds = 0;
    return now;
}

bool WriteDeviceTimeFile(const QString& path, const CalendarTime& time)
{
    return WriteFileReplacing(path, DeviceTimeRecordBytes(time));
}
