// halcyon-deck-cli settings show FILE | settings reset FILE: the camera's
// settings record "__system_ini.cfg".
#include "tools/cli/CliCommand.h"

#include "config/DeviceConfig.h"

#include <QCommandLineParser>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>

namespace {

int show(const QString& path)
{
    QByteArray data;
    const SettingsFileRead read = ReadSettingsFile(path, &data);
    if (read == SettingsFileRead::CannotOpen) {
        std::fprintf(stderr, "settings: cannot open %s\n", qPrintable(path));
        return 1;
    }
    if (read == SettingsFileRead::WrongSize) {
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
    const QString usage = QStringLiteral("settings show|reset FILE");
    QCommandLineParser parser;
    parser.addPositionalArgument(QStringLiteral("show|reset"), QStringLiteral("print the record, or write the camera's default"));
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("the settings file"));
    if (const auto status = parseCliArguments(parser, "settings", usage, args))
        return *status;
    const QStringList words = parser.positionalArguments();
    if (words.size() == 2 && words[0] == QLatin1String("show"))
        return show(words[1]);
    if (words.size() == 2 && words[0] == QLatin1String("reset"))
        return reset(words[1]);
    return cliUsageError("settings", usage, QStringLiteral("show or reset, then the file"));
}

const CliCommandRegistration registration({"settings",
                                           "settings show|reset FILE  print or reset a camera settings file",
                                           runSettings});

} // namespace
