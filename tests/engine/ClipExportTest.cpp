// Incident clips through the real GStreamer encoder, on tiny generated
// recordings (320x180 front, 160x90 rear, 15 frames a second, 3 s), checked
// with ffprobe/ffmpeg as a phone's player would see them.
#include "RecordingFixture.h"
#include "engine/ClipExporter.h"
#include "engine/TelemetryFileSource.h"
#include "incident/IncidentExport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <cmath>

Q_DECLARE_METATYPE(ClipLayout)

namespace {
constexpr double kFrameSeconds = 1.0 / 15.0;

QByteArray run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitCode() != 0) {
        qWarning("%s failed: %s", qPrintable(program), p.readAllStandardError().constData());
        return {};
    }
    return p.readAllStandardOutput();
}

// One picture of a video stream at a time, scaled to w x h, as RGB bytes.
QByteArray picture(const QString& file, double seconds, int stream, int w, int h)
{
    return run(QStringLiteral("ffmpeg"),
               {"-v", "error", "-ss", QString::number(seconds, 'f', 3), "-i", file, "-map",
                QStringLiteral("0:v:%1").arg(stream), "-frames:v", "1", "-vf",
                QStringLiteral("scale=%1:%2:flags=area").arg(w).arg(h), "-f", "rawvideo", "-pix_fmt", "rgb24", "-"});
}

// Rows [top, bottom) of columns [left, left + w) of an RGB picture w0 wide.
QByteArray crop(const QByteArray& rgb, int w0, int left, int w, int top, int bottom)
{
    QByteArray out;
    for (int y = top; y < bottom; ++y)
        out += rgb.mid((y * w0 + left) * 3, w * 3);
    return out;
}

double psnr(const QByteArray& a, const QByteArray& b)
{
    if (a.size() != b.size() || a.isEmpty())
        return 0;
    double sum = 0;
    for (int i = 0; i < a.size(); ++i) {
        const double d = double(quint8(a[i])) - double(quint8(b[i]));
        sum += d * d;
    }
    const double mse = sum / a.size();
    return mse == 0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 / mse);
}

double meanDifference(const QByteArray& a, const QByteArray& b)
{
    if (a.size() != b.size() || a.isEmpty())
        return -1;
    double sum = 0;
    for (int i = 0; i < a.size(); ++i)
        sum += std::abs(int(quint8(a[i])) - int(quint8(b[i])));
    return sum / a.size();
}

// The top-level boxes of an MP4 in file order.
QStringList boxes(const QString& file)
{
    QFile f(file);
    QStringList list;
    if (!f.open(QIODevice::ReadOnly))
        return list;
    qint64 at = 0;
    while (at + 8 <= f.size()) {
        f.seek(at);
        const QByteArray head = f.read(16);
        quint64 size = qFromBigEndian<quint32>(head.constData());
        if (size == 1 && head.size() == 16)
            size = qFromBigEndian<quint64>(head.constData() + 8);
        list << QString::fromLatin1(head.mid(4, 4));
        if (size < 8)
            break;
        at += qint64(size);
    }
    return list;
}

QStringList leftovers(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

RecordingTelemetry telemetryOf(const QString& file)
{
    RecordingTelemetry t;
    auto source = TelemetryFileSource::Open(file);
    t.LoadTelemetry(source.get(), nullptr);
    return t;
}
} // namespace

class ClipExportTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY2(ClipExporter::MissingElements().isEmpty(), qPrintable(ClipExporter::MissingElements().join(u' ')));
        m_moving = m_fixture.make(QStringLiteral("moving.mp4"));
        m_still = m_fixture.make(QStringLiteral("still.mp4"), {QStringLiteral("--still")});
        QVERIFY(!m_moving.isEmpty() && !m_still.isEmpty());
    }

    void writesEachLayoutAsAPlayableClipWithItsGpx_data()
    {
        QTest::addColumn<ClipLayout>("layout");
        QTest::addColumn<int>("height");
        QTest::addColumn<QSize>("size");
        QTest::newRow("side by side") << ClipLayout::SideBySide << 0 << QSize(640, 180);
        QTest::newRow("side by side, lower") << ClipLayout::SideBySide << 120 << QSize(428, 120);
        QTest::newRow("picture in picture") << ClipLayout::PictureInPicture << 0 << QSize(320, 180);
        QTest::newRow("front only") << ClipLayout::FrontOnly << 0 << QSize(320, 180);
    }
    void writesEachLayoutAsAPlayableClipWithItsGpx()
    {
        QFETCH(ClipLayout, layout);
        QFETCH(int, height);
        QFETCH(QSize, size);
        QTemporaryDir out;
        ClipExportRequest request;
        request.source = m_moving;
        request.output = out.filePath(QStringLiteral("clip.mp4"));
        request.fromMs = 500;
        request.toMs = 2500;
        request.layout = layout;
        request.height = height;
        request.speedPreset = QStringLiteral("ultrafast");
        ClipExporter exporter;
        double lastProgress = -1;
        const ClipExportResult r = IncidentExport::Run(exporter, request, telemetryOf(m_moving), DeviceSettings{},
                                                       [&](double f) { lastProgress = f; });
        QVERIFY2(r.status == ClipExportResult::Status::Done, qPrintable(r.message));
        QCOMPARE(r.pictureSize, size);
        QCOMPARE(lastProgress, 1.0);

        const QJsonObject probe = QJsonDocument::fromJson(
                                      run(QStringLiteral("ffprobe"), {"-v", "error", "-show_streams", "-show_format",
                                                                      "-of", "json", request.output}))
                                      .object();
        QStringList codecs;
        for (const QJsonValue& s : probe.value(QLatin1String("streams")).toArray()) {
            const QJsonObject stream = s.toObject();
            codecs << stream.value(QLatin1String("codec_name")).toString();
            if (stream.value(QLatin1String("codec_type")).toString() == QLatin1String("video")) {
                QCOMPARE(stream.value(QLatin1String("width")).toInt(), size.width());
                QCOMPARE(stream.value(QLatin1String("height")).toInt(), size.height());
            }
        }
        // then the telemetry: the camera's own track and the CAMM track
        QCOMPARE(codecs, (QStringList{QStringLiteral("h264"), QStringLiteral("aac"), QStringLiteral("mov_text"), QString()}));
        const double duration = probe.value(QLatin1String("format")).toObject().value(QLatin1String("duration")).toString().toDouble();
        QVERIFY2(std::abs(duration - 2.0) <= kFrameSeconds, qPrintable(QString::number(duration)));
        // the index before the pictures, so that playing starts before the whole file is read
        const QStringList order = boxes(request.output);
        QVERIFY2(order.indexOf(QLatin1String("moov")) >= 0 && order.indexOf(QLatin1String("moov")) < order.indexOf(QLatin1String("mdat")),
                 qPrintable(order.join(u' ')));

        // fixes at 1000 and 2000 ms lie in the range
        QFile gpx(out.filePath(QStringLiteral("clip.gpx")));
        QVERIFY(gpx.open(QIODevice::ReadOnly));
        QCOMPARE(gpx.readAll().count("<trkpt"), 2);
        QCOMPARE(leftovers(out.path()),
                 (QStringList{QStringLiteral("clip.gpx"), QStringLiteral("clip.json"), QStringLiteral("clip.mp4")}));
    }

    void firstPictureShowsFrontLeftAndRearRightAtTheStart()
    {
        QTemporaryDir out;
        ClipExportRequest request;
        request.source = m_moving;
        request.output = out.filePath(QStringLiteral("clip.mp4"));
        request.fromMs = 1000;
        request.toMs = 2000;
        request.speedPreset = QStringLiteral("ultrafast");
        ClipExporter exporter;
        const ClipExportResult r = exporter.Export(request, {});
        QVERIFY2(r.status == ClipExportResult::Status::Done, qPrintable(r.message));

        // each half 32 x 18; the lower third carries the burned-in readings
        const QByteArray clip = picture(request.output, 0, 0, 64, 18);
        const QByteArray front = picture(m_moving, 1.0, 0, 32, 18);
        const QByteArray rear = picture(m_moving, 1.0, 1, 32, 18);
        const double left = psnr(crop(clip, 64, 0, 32, 0, 12), crop(front, 32, 0, 32, 0, 12));
        const double right = psnr(crop(clip, 64, 32, 32, 0, 12), crop(rear, 32, 0, 32, 0, 12));
        QVERIFY2(left >= 30 && right >= 30, qPrintable(QStringLiteral("%1 / %2 dB").arg(left).arg(right)));
        // the comparison tells the cameras apart
        QVERIFY(psnr(crop(clip, 64, 0, 32, 0, 12), crop(rear, 32, 0, 32, 0, 12)) < 20);
    }

    void burnsInReadingsThatAdvanceWithTheClock()
    {
        QTemporaryDir out;
        ClipExportRequest request;
        request.source = m_still;
        request.output = out.filePath(QStringLiteral("clip.mp4"));
        request.fromMs = 200;
        request.toMs = 2800;
        request.layout = ClipLayout::FrontOnly;
        request.speedPreset = QStringLiteral("ultrafast");
        ClipExporter exporter;
        const ClipExportResult r = IncidentExport::Run(exporter, request, telemetryOf(m_still), DeviceSettings{});
        QVERIFY2(r.status == ClipExportResult::Status::Done, qPrintable(r.message));

        // the lower quarter of the picture, at 0.3 s and 1.7 s of the recording
        // (the fixes of 0 s and 1 s); the recording itself does not change there
        auto band = [](const QByteArray& rgb) { return crop(rgb, 320, 0, 320, 135, 180); };
        const QByteArray early = band(picture(request.output, 0.1, 0, 320, 180));
        const QByteArray late = band(picture(request.output, 1.5, 0, 320, 180));
        const QByteArray source = band(picture(m_still, 0.3, 0, 320, 180));
        QCOMPARE(meanDifference(source, band(picture(m_still, 1.7, 0, 320, 180))), 0.0);
        QVERIFY2(meanDifference(early, source) > 3, qPrintable(QString::number(meanDifference(early, source))));
        QVERIFY2(meanDifference(late, early) > 0.5, qPrintable(QString::number(meanDifference(late, early))));
    }

    void cancelLeavesNothing()
    {
        QTemporaryDir out;
        ClipExportRequest request;
        request.source = m_moving;
        request.output = out.filePath(QStringLiteral("clip.mp4"));
        request.toMs = 3000;
        ClipExporter exporter;
        const ClipExportResult r = IncidentExport::Run(exporter, request, telemetryOf(m_moving), DeviceSettings{},
                                                       [&](double) { exporter.Cancel(); });
        QCOMPARE(r.status, ClipExportResult::Status::Cancelled);
        QCOMPARE(leftovers(out.path()), QStringList());
    }

    void refusesWhatItCannotDoAndTouchesNothing_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("output");
        QTest::addColumn<uint>("from");
        QTest::addColumn<QString>("reason");
        QTest::newRow("no such folder") << "MOVING" << "OUT/missing/clip.mp4" << 0u << "does not exist";
        QTest::newRow("onto the recording itself") << "MOVING" << "MOVING" << 0u << "overwrite the recording";
        QTest::newRow("range past the end") << "MOVING" << "OUT/clip.mp4" << 5000u << "holds no picture";
        QTest::newRow("not a recording") << "JUNK" << "OUT/clip.mp4" << 0u << "";
    }
    void refusesWhatItCannotDoAndTouchesNothing()
    {
        QFETCH(QString, source);
        QFETCH(QString, output);
        QFETCH(uint, from);
        QFETCH(QString, reason);
        QTemporaryDir out;
        const QString junk = out.filePath(QStringLiteral("junk.mp4"));
        QFile j(junk);
        QVERIFY(j.open(QIODevice::WriteOnly) && j.write("not a recording") > 0);
        j.close();
        auto expand = [&](QString s) {
            return s.replace(QLatin1String("MOVING"), m_moving).replace(QLatin1String("JUNK"), junk).replace(QLatin1String("OUT"), out.path());
        };
        const QByteArray before = [&] {
            QFile f(m_moving);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }();
        ClipExportRequest request;
        request.source = expand(source);
        request.output = expand(output);
        request.fromMs = from;
        request.toMs = from + 1000;
        ClipExporter exporter;
        const ClipExportResult r = exporter.Export(request, {});
        QCOMPARE(r.status, ClipExportResult::Status::Failed);
        QVERIFY(!r.message.isEmpty());
        QVERIFY2(r.message.contains(reason), qPrintable(r.message));
        QCOMPARE(leftovers(out.path()), QStringList{QStringLiteral("junk.mp4")});
        QFile after(m_moving);
        QVERIFY(after.open(QIODevice::ReadOnly));
        QVERIFY(after.readAll() == before);
    }

private:
    RecordingFixture m_fixture;
    QString m_moving;
    QString m_still;
};

QTEST_GUILESS_MAIN(ClipExportTest)
#include "ClipExportTest.moc"
