// halcyon-deck-cli telemetry FILE --format csv|gpx|nmea|impacts [--threshold G]
// Writes a recording's telemetry to standard output, read by the same code as the viewer;
// "impacts" gives the moments of impact the viewer marks, as JSON.
#include "engine/TelemetryFileSource.h"
#include "telemetry/RecordingTelemetry.h"
#include "telemetry/TelemetryExport.h"
#include "tools/cli/CliCommand.h"

#include <QCommandLineParser>
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
    QCommandLineParser parser;
    const QCommandLineOption formatOption(QStringLiteral("format"), QStringLiteral("csv, gpx, nmea or impacts"),
                                          QStringLiteral("FORMAT"));
    const QCommandLineOption thresholdOption(
        QStringLiteral("threshold"), QStringLiteral("impacts: the acceleration that counts, in g"), QStringLiteral("G"));
    parser.addOptions({formatOption, thresholdOption});
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("the recording"));
    if (const auto status = parseCliArguments(parser, "telemetry", QLatin1String(kUsage), args))
        return *status;
    const auto refuse = [](const QString& message) {
        return cliUsageError("telemetry", QLatin1String(kUsage), message);
    };
    const QStringList files = parser.positionalArguments();
    if (files.size() != 1)
        return refuse(QStringLiteral("one recording, please"));
    const QString path = files.first();
    const QString format = parser.value(formatOption);
    const QStringList formats{QStringLiteral("csv"), QStringLiteral("gpx"), QStringLiteral("nmea"),
                              QStringLiteral("impacts")};
    if (!formats.contains(format))
        return refuse(QStringLiteral("unknown format '%1'").arg(format));
    double threshold = ImpactDetector::kDefaultThresholdG;
    if (parser.isSet(thresholdOption)) {
        bool ok = false;
        threshold = parser.value(thresholdOption).toDouble(&ok);
        if (!ok || !(threshold > 0))
            return refuse(QStringLiteral("--threshold takes a number of g above 0"));
    }

    QString error;
    const auto source = TelemetryFileSource::Open(path, &error);
    if (!source) {
        std::fprintf(stderr, "telemetry: %s: %s\n", qPrintable(path), qPrintable(error));
        return 1;
    }
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
