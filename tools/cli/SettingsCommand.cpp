// halcyon-deck-cli settings show FILE | settings reset FILE: the camera's
// settings record "__system_ini.cfg".
#include "tools/cli/CliCommand.h"

#include "config/DeviceConfig.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>

namespace {

int show(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "settings: cannot open %s\n", qPrintable(path));
        return 1;
    }
    // Only read: the viewer's rule of replacing a wrong-sized file is for the card scan.
    const QByteArray data = file.read(DeviceSettings::kSize + 1);
    if (data.size() != DeviceSettings::kSize) {
        std::fprintf(stderr, "settings: %s is not a %d-byte settings record\n", qPrintable(path), DeviceSettings::kSize);
        return 1;
    }
    const DeviceSettings s = DeviceSettings::FromBytes(data);
    const QJsonObject out{
        {QStringLiteral("sensitivity"), QJsonArray{s.sensitivity[0], s.sensitivity[1], s.sensitivity[2]}},
        {QStringLiteral("quality"), s.quality},
        {QStringLiteral("drivingMode"), s.drivingMode},
        {QStringLiteral("parkingMode"), s.parkingMode},
        {QStringLiteral("motionSensitivity"), s.motionSensitivity},
        {QStringLiteral("timeZoneIndex"), s.timeZoneIndex},
        {QStringLiteral("daylightSaving"), s.daylightSaving},
        {QStringLiteral("speedUnit"), s.speedUnit},
        {QStringLiteral("memoryMode"), s.memoryMode},
        {QStringLiteral("localOffsetHours"), s.LocalOffsetHours()},
        {QStringLiteral("bytes"), QString::fromLatin1(data.toHex(' '))},
    };
    const QByteArray text = QJsonDocument(out).toJson(QJsonDocument::Indented);
    std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
    return 0;
}

int reset(const QString& path)
{
    DeviceConfig config;
    config.ResetDeviceSettings();
    if (!config.WriteDeviceSettings(path)) {
        std::fprintf(stderr, "settings: cannot write %s (the old file is unchanged)\n", qPrintable(path));
        return 1;
    }
    return 0;
}

int runSettings(const QStringList& args)
{
    if (args.size() == 2 && args[0] == QLatin1String("show"))
        return show(args[1]);
    if (args.size() == 2 && args[0] == QLatin1String("reset"))
        return reset(args[1]);
    std::fprintf(stderr, "usage: halcyon-deck-cli settings show|reset FILE\n");
    return 2;
}

const CliCommandRegistration registration({"settings",
                                           "settings show|reset FILE  print or reset a camera settings file",
                                           runSettings});

} // namespace
