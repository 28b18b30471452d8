// halcyon-deck-cli export as a script would use it, on a tiny generated card.
#include "RecordingFixture.h"

#include <QDir>
#include <QPointF>
#include <map>
#include <QFile>
#include <QJsonDocument>
#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {
QString cliPath() { return QDir(qEnvironmentVariable("HALCYON_BUILD_DIR")).filePath(QStringLiteral("tools/halcyon-deck-cli")); }

struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
    QJsonObject json() const { return QJsonDocument::fromJson(out).object(); }
};

Run run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(120000))
        return {};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

// The packets of every stream as ffprobe reads them: per stream, the SHA-256
// of each packet's bytes in decode order and whether it is a key packet.
struct Packet {
    QByteArray hash;
    bool key = false;
    int size = 0;
};
std::map<int, std::vector<Packet>> packetsOf(const QString& file)
{
    std::map<int, std::vector<Packet>> streams;
    const Run r = run(QStringLiteral("ffprobe"), {"-v", "error", "-show_packets", "-show_data_hash", "sha256",
                                                  "-show_entries", "packet=stream_index,size,flags,data_hash",
                                                  "-of", "compact=p=0:nk=1", file});
    for (const QByteArray& line : r.out.split('\n')) {
        const QList<QByteArray> f = line.split('|'); // stream_index|size|flags|data_hash
        if (f.size() == 4)
            streams[f[0].toInt()].push_back({f[3], f[2].startsWith('K'), f[1].toInt()});
    }
    return streams;
}

// The rows of `telemetry FILE --format csv` without its header.
QList<QByteArray> csvRows(const QString& file)
{
    QList<QByteArray> rows = run(cliPath(), {"telemetry", file, "--format", "csv"}).out.trimmed().split('\n');
    rows.removeFirst();
    return rows;
}

// The positions ExifTool reads from the clip's embedded documents, in order.
QList<QPointF> exiftoolPositions(const QString& file)
{
    const Run r = run(QStringLiteral("exiftool"), {"-ee", "-n", "-j", "-G3", "-GPSLatitude", "-GPSLongitude", file});
    const QJsonObject o = QJsonDocument::fromJson(r.out).array().first().toObject();
    std::map<int, QPointF> byDocument; // "Doc12:GPSLatitude"
    for (auto it = o.begin(); it != o.end(); ++it) {
        const QString key = it.key();
        if (!key.startsWith(QLatin1String("Doc")))
            continue;
        QPointF& p = byDocument[key.mid(3, key.indexOf(QLatin1Char(':')) - 3).toInt()];
        (key.endsWith(QLatin1String("Latitude")) ? p.rx() : p.ry()) = it.value().toDouble();
    }
    QList<QPointF> positions;
    for (const auto& [document, p] : byDocument)
        positions << p;
    return positions;
}

// One line of `verify`.
QByteArray line(const char* state, const QString& path)
{
    return QByteArray(state) + ' ' + path.toUtf8() + '\n';
}

void flipByte(const QString& file, qint64 at)
{
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadWrite));
    f.seek(at);
    char c = 0;
    QVERIFY(f.getChar(&c));
    f.seek(at);
    QVERIFY(f.putChar(char(c ^ 0x01)));
}

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}
} // namespace

class ExportCliTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_out.isValid());
        // a card: the settings record at the root (mi/h, UTC+1 with daylight saving)
        QVERIFY(QDir(m_card.path()).mkpath(QStringLiteral("EVENT/20261209")));
        m_recording = m_fixture.make(QStringLiteral("e.mp4"));
        QVERIFY(!m_recording.isEmpty());
        const QString onCard = m_card.filePath(QStringLiteral("EVENT/20261209/20261209_142557_E01.mp4"));
        QVERIFY(QFile::copy(m_recording, onCard));
        m_recording = onCard;
        m_long = m_fixture.make(QStringLiteral("long.mp4"), {QStringLiteral("--duration"), QStringLiteral("6")});
        QVERIFY(!m_long.isEmpty());
        // Two pictures with B-frames and a key picture every second, and sound, as ffmpeg muxes them.
        const QString bframes = m_fixture.path(QStringLiteral("bframes.mp4"));
        if (run(QStringLiteral("ffmpeg"),
                {"-v", "error", "-y", "-f", "lavfi", "-i", "testsrc=size=320x180:rate=30", "-f", "lavfi", "-i",
                 "testsrc2=size=160x90:rate=30", "-f", "lavfi", "-i", "sine=frequency=440:sample_rate=48000", "-t", "6",
                 "-map", "0", "-map", "1", "-map", "2", "-c:v", "libx264", "-preset", "ultrafast", "-bf", "2", "-g",
                 "30", "-c:a", "aac", bframes})
                .exitCode
            == 0)
            m_bframes = bframes;
        QByteArray settings(34, '\0');
        settings[27] = 13;
        settings[28] = 1;
        settings[29] = 2;
        QFile f(m_card.filePath(QStringLiteral("__system_ini.cfg")));
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(settings) == 34);
    }

    void exportsWithTheCardsSettingsAndPrintsASummary()
    {
        const QString clip = m_out.filePath(QStringLiteral("clip.mp4"));
        const Run r = run(cliPath(), {"export", m_recording, "--from", "0.5", "--to", "2.5", "--layout", "pip", "-o",
                                      clip, "--preset", "ultrafast"});
        QCOMPARE(r.exitCode, 0);
        const QJsonObject s = r.json();
        QCOMPARE(s.value(QLatin1String("status")).toString(), QStringLiteral("done"));
        QCOMPARE(s.value(QLatin1String("layout")).toString(), QStringLiteral("pip"));
        QCOMPARE(s.value(QLatin1String("fromMs")).toInt(), 500);
        QCOMPARE(s.value(QLatin1String("toMs")).toInt(), 2500);
        QCOMPARE(s.value(QLatin1String("width")).toInt(), 320);
        QCOMPARE(s.value(QLatin1String("height")).toInt(), 180);
        QCOMPARE(s.value(QLatin1String("sound")).toBool(), true);
        QCOMPARE(s.value(QLatin1String("settings")).toString(), m_card.filePath(QStringLiteral("__system_ini.cfg")));
        QCOMPARE(s.value(QLatin1String("gpx")).toString(), m_out.filePath(QStringLiteral("clip.gpx")));
        QCOMPARE(s.value(QLatin1String("record")).toString(), m_out.filePath(QStringLiteral("clip.json")));
        QCOMPARE(entries(m_out.path()),
                 (QStringList{QStringLiteral("clip.gpx"), QStringLiteral("clip.json"), QStringLiteral("clip.mp4")}));
    }

    // The lossless cut: from the key pictures around the range, every packet of
    // every track the recording's own, both pictures starting on a key picture.
    void copiesEveryPacketFromTheKeyPicturesAroundTheRange_data()
    {
        QTest::addColumn<QString>("maker");
        QTest::addColumn<int>("fps");
        QTest::newRow("the camera's layout") << "recgen" << 15;
        QTest::newRow("B-frames, another muxer") << "ffmpeg" << 30;
    }
    void copiesEveryPacketFromTheKeyPicturesAroundTheRange()
    {
        QFETCH(QString, maker);
        QFETCH(int, fps);
        const QString recording = maker == QLatin1String("recgen") ? m_long : m_bframes;
        if (recording.isEmpty())
            QSKIP("no ffmpeg here to make a recording with B-frames");
        QTemporaryDir out;
        const QString clip = out.filePath(QStringLiteral("cut.mp4"));
        const Run r = run(cliPath(), {"export", recording, "--from", "1.3", "--to", "3.6", "--copy", "-o", clip});
        QCOMPARE(r.exitCode, 0);
        const QJsonObject s = r.json();
        QCOMPARE(s.value(QLatin1String("mode")).toString(), QStringLiteral("copy"));
        QCOMPARE(s.value(QLatin1String("fromMs")).toInt(), 1000); // a key picture every second
        QCOMPARE(s.value(QLatin1String("toMs")).toInt(), 4000);
        QVERIFY(QFile::exists(out.filePath(QStringLiteral("cut.json"))));

        const auto source = packetsOf(recording);
        const auto cut = packetsOf(clip);
        QCOMPARE(cut.size(), source.size() + (maker == QLatin1String("recgen") ? 1 : 0)); // and the CAMM track
        for (const auto& [stream, packets] : source) {
            std::vector<Packet> got = cut.at(stream);
            // The telemetry track may open with an empty line up to the first one.
            if (!got.empty() && got.front().size == 2 && packets.front().size != 2)
                got.erase(got.begin());
            QVERIFY2(!got.empty(), qPrintable(QStringLiteral("stream %1 is empty").arg(stream)));
            auto at = std::find_if(packets.begin(), packets.end(), [&](const Packet& p) { return p.hash == got[0].hash; });
            QVERIFY(at != packets.end());
            QVERIFY(std::size_t(packets.end() - at) >= got.size());
            for (std::size_t i = 0; i < got.size(); ++i)
                QCOMPARE(got[i].hash, at[std::ptrdiff_t(i)].hash);
            if (stream < 2) // the pictures
                QVERIFY(got.front().key);
        }
        // 3 s of pictures, shown for 3 s (within one picture)
        QCOMPARE(cut.at(0).size(), std::size_t(3 * fps));
        const double seconds = run(QStringLiteral("ffprobe"), {"-v", "error", "-select_streams", "v:0", "-show_entries",
                                                               "stream=duration", "-of", "csv=p=0", clip})
                                   .out.trimmed()
                                   .toDouble();
        QVERIFY2(std::abs(seconds - 3.0) < 1.0 / fps, qPrintable(QString::number(seconds)));
    }

    // Both kinds of clip keep the range's telemetry: the camera's own track
    // re-timed (read back as this program reads a recording) and a CAMM track
    // ExifTool reads.
    void clipsCarryTheirTelemetry_data()
    {
        QTest::addColumn<QStringList>("mode");
        QTest::newRow("copy") << QStringList{"--copy"};
        QTest::newRow("side by side") << QStringList{"--layout", "side-by-side", "--preset", "ultrafast"};
    }
    void clipsCarryTheirTelemetry()
    {
        QFETCH(QStringList, mode);
        QTemporaryDir out;
        const QString clip = out.filePath(QStringLiteral("clip.mp4"));
        const Run r = run(cliPath(), QStringList{"export", m_long, "--from", "2", "--to", "5", "-o", clip} + mode);
        QCOMPARE(r.exitCode, 0);
        const int from = r.json().value(QLatin1String("fromMs")).toInt();
        const int to = r.json().value(QLatin1String("toMs")).toInt();
        QCOMPARE(from, 2000);
        QCOMPARE(to, 5000);

        QList<QByteArray> expected;
        QList<QPointF> positions;
        for (const QByteArray& row : csvRows(m_long)) {
            const QList<QByteArray> f = row.split(',');
            const int ms = f[0].toInt();
            if (ms < from || ms >= to)
                continue;
            expected << QByteArray::number(ms - from) + row.mid(f[0].size());
            if (f[1] == "gps")
                positions << QPointF(f[3].toDouble(), f[4].toDouble());
        }
        QVERIFY(positions.size() >= 3);
        QCOMPARE(csvRows(clip), expected);

        const QList<QPointF> read = exiftoolPositions(clip);
        QCOMPARE(read.size(), positions.size());
        for (qsizetype i = 0; i < read.size(); ++i) {
            QVERIFY(std::abs(read[i].x() - positions[i].x()) < 1e-5);
            QVERIFY(std::abs(read[i].y() - positions[i].y()) < 1e-5);
        }
    }

    // The record beside the clip checks the clip, its GPX and its recording
    // again, and names what changed or went.
    void verifyNamesWhatChanged()
    {
        QTemporaryDir out;
        const QString source = out.filePath(QStringLiteral("20261209_142557_E01.mp4"));
        QVERIFY(QFile::copy(m_recording, source));
        const QString clip = out.filePath(QStringLiteral("clip.mp4"));
        const QString record = out.filePath(QStringLiteral("clip.json"));
        QCOMPARE(run(cliPath(), {"export", source, "--from", "1", "--to", "2", "--copy", "-o", clip}).exitCode, 0);
        Run v = run(cliPath(), {"verify", record});
        QCOMPARE(v.exitCode, 0);
        QCOMPARE(v.out, line("OK", source) + line("OK", clip) + line("OK", out.filePath(QStringLiteral("clip.gpx"))));
        const QJsonObject r = QJsonDocument::fromJson([&] {
                                  QFile f(record);
                                  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
                              }()).object();
        QCOMPARE(r.value(QLatin1String("mode")).toString(), QStringLiteral("copy"));
        QCOMPARE(r.value(QLatin1String("written")).toObject().value(QLatin1String("from")).toString(),
                 QStringLiteral("2026-12-09T14:25:58.000"));
        QCOMPARE(r.value(QLatin1String("outputs")).toArray().first().toObject().value(QLatin1String("path")).toString(),
                 QStringLiteral("clip.mp4"));

        flipByte(clip, QFileInfo(clip).size() / 2);
        v = run(cliPath(), {"verify", record});
        QCOMPARE(v.exitCode, 1);
        QVERIFY2(v.out.contains(line("CHANGED", clip)), v.out.constData());
        QVERIFY(v.out.contains(line("OK", source)));

        flipByte(source, 100);
        v = run(cliPath(), {"verify", record});
        QVERIFY(v.out.contains(line("CHANGED", source)));
        QVERIFY(QFile::remove(source));
        v = run(cliPath(), {"verify", record});
        QCOMPARE(v.exitCode, 1);
        QVERIFY(v.out.contains(line("MISSING", source)));
    }

    // A disk that fills up while the clip is written: the reason is told and
    // no part of the clip stays behind. The small disk is a tmpfs mounted in a
    // private mount namespace of a user namespace (no privileges needed).
    void fullDiskReportsWhyAndLeavesNothing_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::newRow("re-encoded") << "--layout side-by-side --preset ultrafast";
        QTest::newRow("copy") << "--copy";
    }
    void fullDiskReportsWhyAndLeavesNothing()
    {
        QFETCH(QString, mode);
        const QString unshare = QStandardPaths::findExecutable(QStringLiteral("unshare"));
        QTemporaryDir disk;
        if (unshare.isEmpty() || run(unshare, {"-rm", "true"}).exitCode != 0)
            QSKIP("no user namespaces here to mount a small disk in");
        const QString script = QStringLiteral(
            "mount -t tmpfs -o size=16k none \"$1\" || exit 99; \"$2\" export \"$3\" --from 0 --to 3 "
            "$4 -o \"$1/clip.mp4\"; echo \"exit=$?\"; ls -A \"$1\"");
        const Run r = run(unshare, {"-rm", "sh", "-c", script, "sh", disk.path(), cliPath(), m_recording, mode});
        QVERIFY2(r.exitCode == 0, "the small disk could not be mounted");
        const QList<QByteArray> lines = r.out.trimmed().split('\n');
        QCOMPARE(lines.last(), QByteArray("exit=1")); // and nothing listed after it
        const QJsonObject s = QJsonDocument::fromJson(r.out.left(r.out.lastIndexOf("exit="))).object();
        QCOMPARE(s.value(QLatin1String("status")).toString(), QStringLiteral("failed"));
        QVERIFY2(s.value(QLatin1String("message")).toString().contains(QLatin1String("No space left")),
                 r.out.constData());
    }

    void refusesBadArguments_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("no range end") << QStringList{"--from", "0", "--layout", "front"} << 2;
        QTest::newRow("range backwards") << QStringList{"--from", "2", "--to", "1", "--layout", "front"} << 2;
        QTest::newRow("unknown layout") << QStringList{"--from", "0", "--to", "1", "--layout", "quad"} << 2;
        QTest::newRow("negative start") << QStringList{"--from", "-1", "--to", "1", "--layout", "front"} << 2;
        QTest::newRow("a layout with --copy") << QStringList{"--from", "0", "--to", "1", "--copy", "--layout", "front"} << 2;
        QTest::newRow("a height with --copy") << QStringList{"--from", "0", "--to", "1", "--copy", "--height", "360"} << 2;
        QTest::newRow("settings of the wrong size")
            << QStringList{"--from", "0", "--to", "1", "--layout", "front", "--settings", "RECORDING"} << 1;
    }
    void refusesBadArguments()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QTemporaryDir out;
        args.replaceInStrings(QStringLiteral("RECORDING"), m_recording);
        const Run r = run(cliPath(), QStringList{"export", m_recording, "-o", out.filePath(QStringLiteral("c.mp4"))} + args);
        QCOMPARE(r.exitCode, exitCode);
        QCOMPARE(entries(out.path()), QStringList());
        if (args.contains(QStringLiteral("--copy")))
            QVERIFY2(r.err.contains("--layout and --height cannot go with it"), r.err.constData());
    }

private:
    RecordingFixture m_fixture;
    QTemporaryDir m_card;
    QTemporaryDir m_out;
    QString m_recording;
    QString m_long;   // 6 s, a key picture every second
    QString m_bframes;
};

QTEST_GUILESS_MAIN(ExportCliTest)
#include "ExportCliTest.moc"
