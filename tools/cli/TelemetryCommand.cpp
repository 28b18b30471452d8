// halcyon-deck-cli telemetry FILE --format csv|gpx|nmea|impacts [--threshold G]
// Writes a recording's telemetry to standard output, read by the same code as the viewer;
// "impacts" gives the moments of impact the viewer marks, as JSON.
#include "engine/TelemetryFileSource.h"
#include "telemetry/RecordingTelemetry.h"
#include "telemetry/TelemetryExport.h"
#include "tools/cli/CliCommand.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>
#include <cstdio>

namespace {

constexpr char kUsage[] = "telemetry FILE --format csv|gpx|nmea|impacts [--threshold G]";

QByteArray impactsJson(const RecordingTelemetry& telemetry)
{
    QJsonArray list;
    for (const Impact& impact : telemetry.impacts)
        list.append(QJsonObject{{QStringLiteral("timeMs"), qint64(impact.timeMs)},
                                {QStringLiteral("peakG"), std::round(impact.peakG * 100.0) / 100.0}});
    return QJsonDocument(QJsonObject{{QStringLiteral("thresholdG"), telemetry.impactThresholdG},
                                     {QStringLiteral("impacts"), list}})
        .toJson(QJsonDocument::Indented);
}

int runTelemetry(const QStringList& args)
{
    QString path;
    QString format;
    double threshold = ImpactDetector::kDefaultThresholdG;
    bool unknown = false;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--format") && i + 1 < args.size())
            format = args[++i];
        else if (args[i].startsWith(QLatin1String("--format=")))
            format = args[i].mid(9);
        else if (args[i] == QLatin1String("--threshold") && i + 1 < args.size()) {
            bool ok = false;
            threshold = args[++i].toDouble(&ok);
            unknown = unknown || !ok || !(threshold > 0);
        }
        else if (path.isEmpty() && !args[i].startsWith(QLatin1String("--")))
            path = args[i];
        else
            unknown = true;
    }
    const QStringList formats{QStringLiteral("csv"), QStringLiteral("gpx"), QStringLiteral("nmea"),
                              QStringLiteral("impacts")};
    if (unknown || path.isEmpty() || !formats.contains(format)) {
        std::fprintf(stderr, "usage: halcyon-deck-cli %s\n", kUsage);
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
    telemetry.impactThresholdG = threshold;
    telemetry.LoadTelemetry(source.get(), nullptr);

    QByteArray out;
    if (format == QLatin1String("csv"))
        out = TelemetryToCsv(telemetry);
    else if (format == QLatin1String("gpx"))
        out = TelemetryToGpx(telemetry, QFileInfo(path).fileName());
    else if (format == QLatin1String("nmea"))
        out = TelemetryToNmea(telemetry);
    else
        out = impactsJson(telemetry);
    if (std::fwrite(out.constData(), 1, std::size_t(out.size()), stdout) != std::size_t(out.size()) || std::fflush(stdout) != 0) {
        std::fprintf(stderr, "telemetry: cannot write the output\n");
        return 1;
    }
    return 0;
}

const CliCommandRegistration registration({"telemetry", kUsage, runTelemetry});

} // namespace
