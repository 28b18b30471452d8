#include "incident/IncidentExport.h"

#include "telemetry/GpsFixReadout.h"
#include "telemetry/TelemetryExport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>

namespace {

QString captionText(const CVxGPSTrace& fix, const DeviceSettings& settings)
{
    const GpsFixReadoutValues v = GpsFixReadout::Compute(GpsFixReadout::FieldsOf(fix), settings.timeZoneIndex,
                                                         settings.daylightSaving != 0, settings.speedUnit);
    const QString when = v.localTime.isValid() ? v.localTime.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                                               : QStringLiteral("----------  --:--:--");
    QString speed = QString::number(v.speed);
    if (const QString unit = SpeedUnitLabel(settings.speedUnit); !unit.isEmpty())
        speed += QLatin1Char(' ') + unit;
    return when + QStringLiteral("   ") + speed + QLatin1Char('\n') + QString::number(v.latitude, 'f', 6)
        + QStringLiteral(", ") + QString::number(v.longitude, 'f', 6);
}

} // namespace

std::pair<std::uint32_t, std::uint32_t> IncidentExport::DefaultRange(std::uint32_t positionMs, std::uint32_t durationMs,
                                                                     const std::vector<Impact>& impacts)
{
    const auto distance = [positionMs](const Impact& i) {
        return i.timeMs > positionMs ? i.timeMs - positionMs : positionMs - i.timeMs;
    };
    const Impact* nearest = nullptr;
    for (const Impact& impact : impacts)
        if (impact.timeMs < durationMs && (!nearest || distance(impact) < distance(*nearest)))
            nearest = &impact;
    if (nearest) {
        const std::uint32_t at = nearest->timeMs;
        const std::uint32_t from = at > kImpactBeforeMs ? at - kImpactBeforeMs : 0;
        const std::uint32_t to = std::uint32_t(std::min<std::uint64_t>(std::uint64_t(at) + kImpactAfterMs, durationMs));
        return {from, to};
    }
    const std::uint32_t position = std::min(positionMs, durationMs);
    const std::uint32_t from = position > kDefaultMarginMs ? position - kDefaultMarginMs : 0;
    const std::uint32_t to = std::uint32_t(std::min<std::uint64_t>(std::uint64_t(position) + kDefaultMarginMs, durationMs));
    return {from, to};
}

std::vector<ClipCaption> IncidentExport::Captions(const RecordingTelemetry& telemetry, std::uint32_t fromMs,
                                                  std::uint32_t toMs, const DeviceSettings& settings)
{
    std::vector<ClipCaption> captions;
    const auto first = GpsFixReadout::FindFixIndex(telemetry.gpsTimes, fromMs);
    if (!first)
        return captions;
    captions.push_back({fromMs, captionText(telemetry.gpsTrack[*first], settings)});
    for (std::size_t i = *first + 1; i < telemetry.gpsTrack.size(); ++i) {
        const std::uint32_t at = telemetry.gpsTrack[i].timeStamp;
        if (at >= toMs)
            break;
        if (at > fromMs)
            captions.push_back({at, captionText(telemetry.gpsTrack[i], settings)});
    }
    return captions;
}

QByteArray IncidentExport::RangeGpx(const RecordingTelemetry& telemetry, std::uint32_t fromMs, std::uint32_t toMs,
                                    const QString& trackName)
{
    RecordingTelemetry range;
    for (const CVxGPSTrace& fix : telemetry.gpsTrack) {
        if (fix.timeStamp >= fromMs && fix.timeStamp <= toMs)
            range.gpsTrack.push_back(fix);
    }
    return TelemetryToGpx(range, trackName);
}

QString IncidentExport::GpxPathFor(const QString& clipPath)
{
    const QFileInfo info(clipPath);
    return info.dir().filePath(info.completeBaseName() + QStringLiteral(".gpx"));
}

ClipExportResult IncidentExport::Run(IClipEncoder& encoder, ClipExportRequest request,
                                     const RecordingTelemetry& telemetry, const DeviceSettings& settings,
                                     const IClipEncoder::Progress& progress)
{
    request.captions = Captions(telemetry, request.fromMs, request.toMs, settings);
    ClipExportResult result = encoder.Export(request, progress);
    if (result.status != ClipExportResult::Status::Done)
        return result;
    QSaveFile gpx(GpxPathFor(request.output));
    bool written = gpx.open(QIODevice::WriteOnly);
    written = written
        && gpx.write(RangeGpx(telemetry, result.fromMs, result.toMs, QFileInfo(request.source).fileName())) >= 0;
    if (!written || !gpx.commit()) {
        const QString why = gpx.errorString();
        gpx.cancelWriting();
        QFile::remove(request.output);
        result.status = ClipExportResult::Status::Failed;
        result.message = QStringLiteral("cannot write %1: %2").arg(gpx.fileName(), why);
    }
    return result;
}
