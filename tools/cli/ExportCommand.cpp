// halcyon-deck-cli export FILE --from S --to S --layout side-by-side|pip|front -o OUT.mp4
//     [--height PX] [--settings __system_ini.cfg] [--preset x264-preset]
// halcyon-deck-cli export FILE --from S --to S --copy -o OUT.mp4
// Writes an incident clip of the range (seconds from the start of the recording)
// with its telemetry inside, its GPX and its hash record beside it, as the
// viewer does, and prints a JSON summary. --copy cuts without re-encoding.
// The camera's time zone and speed unit come from the settings file given, else
// from the one at the card root above the recording, else the camera's defaults.
// Ctrl+C cancels and leaves nothing behind.
#include "config/DeviceConfig.h"
#include "engine/ClipExporter.h"
#include "engine/TelemetryFileSource.h"
#include "incident/ClipHashRecord.h"
#include "incident/IncidentExport.h"
#include "telemetry/RecordingTelemetry.h"
#include "tools/cli/CliCommand.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <atomic>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <QCommandLineParser>
#include <optional>

namespace {

constexpr char kUsage[] = "export FILE --from S --to S (--layout side-by-side|pip|front [--height PX] | --copy) "
                          "-o OUT.mp4 [--settings FILE] [--preset NAME]";

ClipExporter* g_running = nullptr;

std::atomic<bool> g_cancel{false};

void cancelOnSignal(int) // only atomic stores: safe in a signal handler
{
    g_cancel = true;
    if (g_running)
        g_running->Cancel();
}

const char* layoutName(ClipLayout layout)
{
    switch (layout) {
    case ClipLayout::SideBySide:
        return "side-by-side";
    case ClipLayout::PictureInPicture:
        return "pip";
    case ClipLayout::FrontOnly:
        return "front";
    }
    return "";
}

std::optional<std::uint32_t> parseSeconds(const QString& text)
{
    bool ok = false;
    const double s = text.toDouble(&ok);
    if (!ok || !(s >= 0) || s > 4.0e6)
        return std::nullopt;
    return std::uint32_t(std::llround(s * 1000.0));
}

// The camera's settings file at the card root: the recording sits in a
// category folder, possibly under a day folder.
QString findSettingsFile(const QString& recording)
{
    QDir dir = QFileInfo(recording).absoluteDir();
    for (int up = 0; up < 3; ++up) {
        if (dir.exists(QLatin1String(kSettingsFileName)))
            return dir.filePath(QLatin1String(kSettingsFileName));
        if (!dir.cdUp())
            break;
    }
    return {};
}

int runExport(const QStringList& args)
{
    QCommandLineParser parser;
    const QCommandLineOption fromOption(QStringLiteral("from"), QStringLiteral("start of the clip, seconds"),
                                        QStringLiteral("S"));
    const QCommandLineOption toOption(QStringLiteral("to"), QStringLiteral("end of the clip, seconds"),
                                      QStringLiteral("S"));
    const QCommandLineOption layoutOption(QStringLiteral("layout"), QStringLiteral("side-by-side, pip or front"),
                                          QStringLiteral("LAYOUT"));
    const QCommandLineOption outputOption({QStringLiteral("o"), QStringLiteral("output")},
                                          QStringLiteral("the clip to write"), QStringLiteral("OUT.mp4"));
    const QCommandLineOption heightOption(QStringLiteral("height"), QStringLiteral("picture height, 16 to 4320"),
                                          QStringLiteral("PX"));
    const QCommandLineOption settingsOption(QStringLiteral("settings"), QStringLiteral("the camera's settings file"),
                                            QStringLiteral("FILE"));
    const QCommandLineOption presetOption(QStringLiteral("preset"), QStringLiteral("x264 speed preset"),
                                          QStringLiteral("NAME"));
    const QCommandLineOption copyOption(QStringLiteral("copy"),
                                        QStringLiteral("copy every track as recorded, cut at the key pictures around the range"));
    parser.addOptions({fromOption, toOption, layoutOption, outputOption, heightOption, settingsOption, presetOption,
                       copyOption});
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("the recording"));
    if (const auto status = parseCliArguments(parser, "export", QLatin1String(kUsage), args))
        return *status;
    const auto refuse = [](const QString& message) { return cliUsageError("export", QLatin1String(kUsage), message); };

    const QStringList files = parser.positionalArguments();
    if (files.size() != 1)
        return refuse(QStringLiteral("one recording, please"));
    const QString path = files.first();
    const QString output = parser.value(outputOption);
    if (output.isEmpty())
        return refuse(QStringLiteral("no output file (-o)"));
    const std::optional<std::uint32_t> from = parseSeconds(parser.value(fromOption));
    const std::optional<std::uint32_t> to = parseSeconds(parser.value(toOption));
    if (!from || !to)
        return refuse(QStringLiteral("--from and --to take seconds from the start of the recording"));
    if (*to <= *from)
        return refuse(QStringLiteral("the range ends before it starts"));
    ClipExportRequest request;
    const bool copy = parser.isSet(copyOption);
    if (copy && (parser.isSet(layoutOption) || parser.isSet(heightOption))) {
        std::fprintf(stderr, "export: --copy keeps every picture as the camera recorded it: "
                             "--layout and --height cannot go with it\n");
        return 2;
    }
    request.copy = copy;
    const QString layoutText = parser.value(layoutOption);
    if (layoutText == QLatin1String("side-by-side"))
        request.layout = ClipLayout::SideBySide;
    else if (layoutText == QLatin1String("pip"))
        request.layout = ClipLayout::PictureInPicture;
    else if (layoutText == QLatin1String("front"))
        request.layout = ClipLayout::FrontOnly;
    else if (!copy)
        return refuse(QStringLiteral("unknown layout '%1'").arg(layoutText));
    int height = 0;
    if (parser.isSet(heightOption)) {
        bool ok = false;
        height = parser.value(heightOption).toInt(&ok);
        if (!ok || height < 16 || height > 4320)
            return refuse(QStringLiteral("--height takes 16 to 4320 pixels"));
    }
    QString settingsPath = parser.value(settingsOption);
    const QString preset = parser.value(presetOption);

    DeviceSettings settings = DeviceSettings::Default();
    if (settingsPath.isEmpty())
        settingsPath = findSettingsFile(path);
    if (!settingsPath.isEmpty()) {
        QByteArray bytes;
        if (ReadSettingsFile(settingsPath, &bytes) != SettingsFileRead::Read) {
            std::fprintf(stderr, "export: %s is not a %d-byte settings record\n", qPrintable(settingsPath),
                         DeviceSettings::kSize);
            return 1;
        }
        settings = DeviceSettings::FromBytes(bytes);
    }

    QString error;
    const auto source = TelemetryFileSource::Open(path, &error);
    if (!source) {
        std::fprintf(stderr, "export: %s: %s\n", qPrintable(path), qPrintable(error));
        return 1;
    }
    RecordingTelemetry telemetry;
    telemetry.LoadTelemetry(source.get(), nullptr);

    request.source = path;
    request.output = QFileInfo(output).absoluteFilePath();
    request.fromMs = *from;
    request.toMs = *to;
    request.height = height;
    if (!preset.isEmpty())
        request.speedPreset = preset;

    ClipExporter exporter;
    g_running = &exporter;
    std::signal(SIGINT, cancelOnSignal);
    std::signal(SIGTERM, cancelOnSignal);
    QElapsedTimer timer;
    timer.start();
    const ClipExportResult result = IncidentExport::Run(exporter, request, telemetry, settings, {}, &g_cancel);
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    g_running = nullptr;

    QJsonObject summary{{QStringLiteral("source"), path}};
    switch (result.status) {
    case ClipExportResult::Status::Done:
        summary.insert(QStringLiteral("status"), QStringLiteral("done"));
        summary.insert(QStringLiteral("output"), request.output);
        summary.insert(QStringLiteral("gpx"), IncidentExport::GpxPathFor(request.output));
        summary.insert(QStringLiteral("record"), ClipHashRecord::PathFor(request.output));
        summary.insert(QStringLiteral("mode"), IncidentExport::ModeName(request, result.layout));
        if (!request.copy) {
            summary.insert(QStringLiteral("layout"), QLatin1String(layoutName(result.layout)));
            summary.insert(QStringLiteral("width"), result.pictureSize.width());
            summary.insert(QStringLiteral("height"), result.pictureSize.height());
        }
        summary.insert(QStringLiteral("fromMs"), qint64(result.fromMs));
        summary.insert(QStringLiteral("toMs"), qint64(result.toMs));
        summary.insert(QStringLiteral("sound"), result.sound);
        summary.insert(QStringLiteral("settings"), settingsPath.isEmpty() ? QJsonValue() : QJsonValue(settingsPath));
        summary.insert(QStringLiteral("seconds"), std::round(timer.elapsed() / 10.0) / 100.0);
        break;
    case ClipExportResult::Status::Cancelled:
        summary.insert(QStringLiteral("status"), QStringLiteral("cancelled"));
        break;
    case ClipExportResult::Status::Failed:
        summary.insert(QStringLiteral("status"), QStringLiteral("failed"));
        summary.insert(QStringLiteral("message"), result.message);
        std::fprintf(stderr, "export: %s\n", qPrintable(result.message));
        break;
    }
    const QByteArray out = QJsonDocument(summary).toJson(QJsonDocument::Indented);
    std::fwrite(out.constData(), 1, std::size_t(out.size()), stdout);
    std::fflush(stdout);
    return result.status == ClipExportResult::Status::Done ? 0 : 1;
}

const CliCommandRegistration registration({"export", kUsage, runExport});

} // namespace
