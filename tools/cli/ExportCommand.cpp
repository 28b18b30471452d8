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
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <atomic>
#include <cmath>
#include <csignal>
#include <cstdio>
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

std::optional<DeviceSettings> readSettings(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray data = file.read(DeviceSettings::kSize + 1);
    if (data.size() != DeviceSettings::kSize)
        return std::nullopt;
    return DeviceSettings::FromBytes(data);
}

int runExport(const QStringList& args)
{
    QString path, output, settingsPath, layoutText, preset;
    std::optional<std::uint32_t> from, to;
    int height = 0;
    bool bad = false, copy = false, sized = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == QLatin1String("--from") && hasValue)
            bad = bad || !(from = parseSeconds(args[++i]));
        else if (a == QLatin1String("--to") && hasValue)
            bad = bad || !(to = parseSeconds(args[++i]));
        else if (a == QLatin1String("--layout") && hasValue)
            layoutText = args[++i];
        else if ((a == QLatin1String("-o") || a == QLatin1String("--output")) && hasValue)
            output = args[++i];
        else if (a == QLatin1String("--settings") && hasValue)
            settingsPath = args[++i];
        else if (a == QLatin1String("--copy"))
            copy = true;
        else if (a == QLatin1String("--preset") && hasValue)
            preset = args[++i];
        else if (a == QLatin1String("--height") && hasValue) {
            bool ok = false;
            height = args[++i].toInt(&ok);
            sized = true;
            bad = bad || !ok || height < 16 || height > 4320;
        } else if (path.isEmpty() && !a.startsWith(QLatin1Char('-')))
            path = a;
        else
            bad = true;
    }
    ClipExportRequest request;
    if (copy && (!layoutText.isEmpty() || sized)) {
        std::fprintf(stderr, "export: --copy keeps every picture as the camera recorded it: "
                             "--layout and --height cannot go with it\n");
        return 2;
    }
    request.copy = copy;
    if (layoutText == QLatin1String("side-by-side"))
        request.layout = ClipLayout::SideBySide;
    else if (layoutText == QLatin1String("pip"))
        request.layout = ClipLayout::PictureInPicture;
    else if (layoutText == QLatin1String("front"))
        request.layout = ClipLayout::FrontOnly;
    else
        bad = bad || !copy;
    if (bad || path.isEmpty() || output.isEmpty() || !from || !to || *to <= *from) {
        std::fprintf(stderr, "usage: halcyon-deck-cli %s\n", kUsage);
        return 2;
    }

    DeviceSettings settings = DeviceSettings::Default();
    if (settingsPath.isEmpty())
        settingsPath = findSettingsFile(path);
    if (!settingsPath.isEmpty()) {
        const auto read = readSettings(settingsPath);
        if (!read) {
            std::fprintf(stderr, "export: %s is not a %d-byte settings record\n", qPrintable(settingsPath),
                         DeviceSettings::kSize);
            return 1;
        }
        settings = *read;
    }

    QString error;
    const auto source = TelemetryFileSource::Open(path, &error);
    if (!source) {
        std::fprintf(stderr, "export: %s: %s\n", qPrintable(path), qPrintable(error));
        return 1;
    }
    source->TelemetrySetSpan(0, -1);
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
