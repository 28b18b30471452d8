#include "incident/ClipHashRecord.h"

#include "telemetry/GpsFixReadout.h"
#include "telemetry/TelemetryExport.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

namespace {

// The camera names a recording after the moment it started, on its own clock.
std::optional<QDateTime> cameraStart(const QString& source)
{
    static const QRegularExpression stamp(QStringLiteral("(\\d{8})_(\\d{6})"));
    const QRegularExpressionMatch m = stamp.match(QFileInfo(source).fileName());
    if (!m.hasMatch())
        return std::nullopt;
    const QDateTime start = QDateTime::fromString(m.captured(1) + m.captured(2), QStringLiteral("yyyyMMddHHmmss"));
    if (!start.isValid())
        return std::nullopt;
    return start;
}

QJsonObject rangeJson(const ClipHashRecord::Range& r, const std::optional<QDateTime>& start)
{
    QJsonObject o{{QStringLiteral("fromMs"), qint64(r.fromMs)}, {QStringLiteral("toMs"), qint64(r.toMs)}};
    const QString format = QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz");
    o.insert(QStringLiteral("from"), start ? QJsonValue(start->addMSecs(r.fromMs).toString(format)) : QJsonValue());
    o.insert(QStringLiteral("to"), start ? QJsonValue(start->addMSecs(r.toMs).toString(format)) : QJsonValue());
    return o;
}

QJsonValue positionAt(const RecordingTelemetry& telemetry, std::uint32_t ms)
{
    const auto i = GpsFixReadout::FindFixIndex(telemetry.gpsTimes, ms);
    if (!i)
        return QJsonValue();
    const CVxGPSTrace& fix = telemetry.gpsTrack[*i];
    const QDateTime utc = FixDateTimeUtc(fix);
    return QJsonObject{{QStringLiteral("ms"), qint64(fix.timeStamp)},
                       {QStringLiteral("utc"), utc.isValid() ? QJsonValue(utc.toString(Qt::ISODate)) : QJsonValue()},
                       {QStringLiteral("latitude"), DecimalLatitude(fix)},
                       {QStringLiteral("longitude"), DecimalLongitude(fix)}};
}

QJsonArray filesJson(const std::vector<ClipHashRecord::File>& files)
{
    QJsonArray a;
    for (const auto& f : files)
        a.append(QJsonObject{{QStringLiteral("path"), f.path},
                             {QStringLiteral("size"), f.size},
                             {QStringLiteral("sha256"), QString::fromLatin1(f.sha256)}});
    return a;
}

} // namespace

QByteArray ClipHashRecord::ToJson(const RecordingTelemetry& telemetry) const
{
    const std::optional<QDateTime> start = sources.empty() ? std::nullopt : cameraStart(sources.front().path);
    QJsonObject o;
    o.insert(QStringLiteral("program"), QStringLiteral("Halcyon Deck"));
    o.insert(QStringLiteral("version"), QStringLiteral(HALCYON_VERSION));
    o.insert(QStringLiteral("created"), QDateTime::currentDateTimeUtc().toString(Qt::ISODate));
    o.insert(QStringLiteral("mode"), mode);
    o.insert(QStringLiteral("requested"), rangeJson(requested, start));
    o.insert(QStringLiteral("written"), rangeJson(written, start));
    // The last fix shown in the clip: the one before the range's end.
    const std::uint32_t lastMs = written.toMs > written.fromMs ? written.toMs - 1 : written.toMs;
    o.insert(QStringLiteral("positions"), QJsonObject{{QStringLiteral("start"), positionAt(telemetry, written.fromMs)},
                                                     {QStringLiteral("end"), positionAt(telemetry, lastMs)}});
    o.insert(QStringLiteral("sources"), filesJson(sources));
    o.insert(QStringLiteral("outputs"), filesJson(outputs));
    return QJsonDocument(o).toJson(QJsonDocument::Indented);
}

QString ClipHashRecord::PathFor(const QString& clipPath)
{
    const QFileInfo info(clipPath);
    return info.dir().filePath(info.completeBaseName() + QStringLiteral(".json"));
}

std::optional<ClipHashRecord::File> ClipHashRecord::Hash(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return std::nullopt;
    QCryptographicHash hash(QCryptographicHash::Sha256);
    QByteArray block(1 << 20, Qt::Uninitialized);
    qint64 size = 0;
    for (;;) {
        const qint64 n = f.read(block.data(), block.size());
        if (n < 0)
            return std::nullopt;
        if (n == 0)
            break;
        hash.addData(QByteArrayView(block.constData(), n));
        size += n;
    }
    return File{path, size, hash.result().toHex()};
}

std::optional<std::vector<ClipHashRecord::Check>> ClipHashRecord::Verify(const QString& recordPath, QString* error)
{
    auto fail = [&](const QString& why) -> std::optional<std::vector<Check>> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    QFile file(recordPath);
    if (!file.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot read %1: %2").arg(recordPath, file.errorString()));
    QJsonParseError parse;
    const QJsonDocument doc = QJsonDocument::fromJson(file.read(16 << 20), &parse);
    if (!doc.isObject())
        return fail(QStringLiteral("%1 is not a clip record: %2").arg(recordPath, parse.errorString()));
    const QJsonObject o = doc.object();
    if (!o.value(QStringLiteral("sources")).isArray() || !o.value(QStringLiteral("outputs")).isArray())
        return fail(QStringLiteral("%1 is not a clip record: it lists no sources and outputs").arg(recordPath));
    const QDir beside = QFileInfo(recordPath).absoluteDir();
    std::vector<Check> checks;
    for (const char* list : {"sources", "outputs"}) {
        const bool outputs = QLatin1String(list) == QLatin1String("outputs");
        for (const QJsonValue& v : o.value(QLatin1String(list)).toArray()) {
            const QJsonObject f = v.toObject();
            const QString named = f.value(QStringLiteral("path")).toString();
            const QString path = outputs ? beside.filePath(named) : named;
            Check check{State::Missing, path};
            if (!named.isEmpty() && QFileInfo(path).isFile()) {
                const auto now = Hash(path);
                const bool same = now && now->size == f.value(QStringLiteral("size")).toInteger(-1)
                    && now->sha256 == f.value(QStringLiteral("sha256")).toString().toLatin1();
                check.state = now ? (same ? State::Ok : State::Changed) : State::Missing;
            }
            checks.push_back(check);
        }
    }
    return checks;
}
