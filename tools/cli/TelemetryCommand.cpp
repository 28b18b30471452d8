// halcyon-deck-cli telemetry FILE --format csv|gpx|nmea
// Writes a recording's telemetry to standard output, read by the same code as the viewer.
#include "engine/TelemetryFileSource.h"
#include "library/RecordingTelemetry.h"
#include "library/TelemetryExport.h"
#include "tools/cli/CliCommand.h"

#include <QFileInfo>
#include <cstdio>

namespace {

int runTelemetry(const QStringList& args)
{
    QString path;
    QString format;
    bool unknown = false;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--format") && i + 1 < args.size())
            format = args[++i];
        else if (args[i].startsWith(QLatin1String("--format=")))
            format = args[i].mid(9);
        else if (path.isEmpty() && !args[i].startsWith(QLatin1String("--")))
            path = args[i];
        else
            unknown = true;
    }
    if (unknown || path.isEmpty() || (format != QLatin1String("csv") && format != QLatin1String("gpx") && format != QLatin1String("nmea"))) {
        std::fprintf(stderr, "usage: halcyon-deck-cli telemetry FILE --format csv|gpx|nmea\n");
        return 2;
    }

    QString error;
    const auto source = TelemetryFileSource::Open(path, &error);
    if (!source) {
        std::fprintf(stderr, "telemetry: %s: %s\n", qPrintable(path), qPrintable(error));
        return 1;
    }
    source->TelemetrySetSpan(0, -1);
    RecordingTelemetry telemetry;
    telemetry.LoadTelemetry(source.get(), nullptr);

    QByteArray out;
    if (format == QLatin1String("csv"))
        out = TelemetryToCsv(telemetry);
    else if (format == QLatin1String("gpx"))
        out = TelemetryToGpx(telemetry, QFileInfo(path).fileName());
    else
        out = TelemetryToNmea(telemetry);
    if (std::fwrite(out.constData(), 1, std::size_t(out.size()), stdout) != std::size_t(out.size()) || std::fflush(stdout) != 0) {
        std::fprintf(stderr, "telemetry: cannot write the output\n");
        return 1;
    }
    return 0;
}

const CliCommandRegistration registration({"telemetry", "telemetry FILE --format csv|gpx|nmea", runTelemetry});

} // namespace
