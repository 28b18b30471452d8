#include "incident/IncidentExport.h"

#include "incident/ClipHashRecord.h"
#include "incident/IncidentClipPlan.h"
#include "telemetry/GpsFixReadout.h"
#include "telemetry/TelemetryExport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QCryptographicHash>
#include <QStringList>
#include <QTemporaryFile>
#include <memory>
#include <optional>
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

// The acceleration on each axis in g, signed, as "x +0.00 g  y -0.02 g  z +1.00 g".
QString gText(const CVxGSensorInfo& g)
{
    return QString::asprintf("x %+.2f g  y %+.2f g  z %+.2f g", GSensorG(g.x), GSensorG(g.y), GSensorG(g.z));
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
    // A new caption at the start and wherever a fix or an acceleration sample
    // arrives within the range.
    std::vector<std::uint32_t> times{fromMs};
    for (const CVxGPSTrace& fix : telemetry.gpsTrack)
        if (fix.timeStamp > fromMs && fix.timeStamp < toMs)
            times.push_back(fix.timeStamp);
    for (const CVxGSensorInfo& g : telemetry.gSensorTrack)
        if (g.timeStamp > fromMs && g.timeStamp < toMs)
            times.push_back(g.timeStamp);
    std::sort(times.begin(), times.end());
    times.erase(std::unique(times.begin(), times.end()), times.end());
    std::size_t nextG = 0;
    for (const std::uint32_t at : times) {
        while (nextG < telemetry.gSensorTrack.size() && telemetry.gSensorTrack[nextG].timeStamp <= at)
            ++nextG;
        QStringList lines;
        if (const auto fix = GpsFixReadout::FindFixIndex(telemetry.gpsTimes, at))
            lines << captionText(telemetry.gpsTrack[*fix], settings);
        if (nextG > 0)
            lines << gText(telemetry.gSensorTrack[nextG - 1]);
        if (lines.isEmpty())
            continue;
        const QString text = lines.join(QLatin1Char('\n'));
        if (captions.empty() || captions.back().text != text)
            captions.push_back({at, text});
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

QString IncidentExport::ModeName(const ClipExportRequest& request, ClipLayout used)
{
    if (request.copy)
        return QStringLiteral("copy");
    switch (used) {
    case ClipLayout::SideBySide:
        return QStringLiteral("side-by-side");
    case ClipLayout::PictureInPicture:
        return QStringLiteral("pip");
    case ClipLayout::FrontOnly:
        break;
    }
    return QStringLiteral("front");
}

ClipExportResult IncidentExport::Run(IClipEncoder& encoder, ClipExportRequest request,
                                     const RecordingTelemetry& telemetry, const DeviceSettings& settings,
                                     const IClipEncoder::Progress& progress, const std::atomic<bool>* cancel)
{
    using Status = ClipExportResult::Status;
    ClipExportResult result;
    result.layout = request.layout;
    auto failed = [&](const QString& why) {
        result.status = Status::Failed;
        result.message = why;
        return result;
    };
    auto cancelled = [&] {
        result.status = Status::Cancelled;
        result.message.clear();
        return result;
    };
    const QFileInfo outputInfo(request.output);
    if (outputInfo.exists() && outputInfo.canonicalFilePath() == QFileInfo(request.source).canonicalFilePath())
        return failed(QStringLiteral("the clip would overwrite the recording"));

    // Encoded pictures go to a hidden file beside the clip first; the clip is
    // written from it with the telemetry added.
    QString plannedError;
    std::optional<IncidentClipPlan> plan;
    std::unique_ptr<QTemporaryFile> encoded;
    if (request.copy) {
        plan = IncidentClipPlan::Copy(request.source, request.fromMs, request.toMs, &plannedError);
        if (!plan)
            return failed(plannedError);
        result.layout = plan->pictures >= 2 ? ClipLayout::SideBySide : ClipLayout::FrontOnly;
        result.sound = plan->sound;
    } else {
        encoded = std::make_unique<QTemporaryFile>(outputInfo.dir().filePath(QStringLiteral(".") + outputInfo.fileName()
                                                                            + QStringLiteral(".XXXXXX.encoded.mp4")));
        if (!encoded->open())
            return failed(QStringLiteral("cannot write in %1: %2").arg(outputInfo.dir().path(), encoded->errorString()));
        encoded->close();
        ClipExportRequest toEncode = request;
        toEncode.output = encoded->fileName();
        toEncode.captions = Captions(telemetry, request.fromMs, request.toMs, settings);
        // The encoding is the long part: its progress is the export's.
        result = encoder.Export(toEncode, progress);
        if (result.status != Status::Done)
            return result;
        if (cancel && cancel->load())
            return cancelled();
        plan = IncidentClipPlan::Remux(encoded->fileName(), request.source, result.fromMs, result.toMs, &plannedError);
        if (!plan)
            return failed(plannedError);
    }
    plan->AddCamm(telemetry);
    result.fromMs = plan->fromMs;
    result.toMs = plan->toMs;
    const Mp4ClipWriter::Result written = Mp4ClipWriter::Write(request.output, plan->sources, plan->tracks, cancel,
                                                               request.copy ? progress : IClipEncoder::Progress());
    encoded.reset();
    if (written.status == Mp4ClipWriter::Result::Status::Cancelled)
        return cancelled();
    if (written.status != Mp4ClipWriter::Result::Status::Done)
        return failed(written.message);

    // The GPX and the record; without them the clip goes again.
    const QString gpxPath = GpxPathFor(request.output);
    const QString recordPath = ClipHashRecord::PathFor(request.output);
    auto removeAll = [&] {
        QFile::remove(request.output);
        QFile::remove(gpxPath);
    };
    auto save = [&](const QString& path, const QByteArray& bytes) -> QString {
        QSaveFile f(path);
        bool ok = f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
        if (ok && f.commit())
            return {};
        const QString why = QStringLiteral("cannot write %1: %2").arg(path, f.errorString());
        f.cancelWriting();
        return why;
    };
    const QByteArray gpx = RangeGpx(telemetry, result.fromMs, result.toMs, QFileInfo(request.source).fileName());
    if (const QString why = save(gpxPath, gpx); !why.isEmpty()) {
        removeAll();
        return failed(why);
    }
    ClipHashRecord record;
    record.mode = ModeName(request, result.layout);
    record.requested = {request.fromMs, request.toMs};
    record.written = {result.fromMs, result.toMs};
    for (std::size_t i = 0; i < plan->sources.size(); ++i) {
        if (plan->sources[i].hash)
            record.sources.push_back({QFileInfo(written.sources[i].path).absoluteFilePath(), written.sources[i].size,
                                      written.sources[i].sha256});
    }
    record.outputs.push_back({outputInfo.fileName(), written.output.size, written.output.sha256});
    record.outputs.push_back({QFileInfo(gpxPath).fileName(), gpx.size(),
                              QCryptographicHash::hash(gpx, QCryptographicHash::Sha256).toHex()});
    if (cancel && cancel->load()) {
        removeAll();
        return cancelled();
    }
    if (const QString why = save(recordPath, record.ToJson(telemetry)); !why.isEmpty()) {
        removeAll();
        return failed(why);
    }
    result.status = Status::Done;
    result.message.clear();
    return result;
}
