// Recovery of recordings cut by power loss: recordings from the project's
// generator and from ffmpeg are cut at chosen points and rebuilt; what was
// written before the cut must come back bit for bit.
#include "engine/ContainerProbe.h"
#include "engine/RecordingFixture.h"
#include "engine/RecoveryDecoder.h"
#include "engine/TelemetryFileSource.h"
#include "mp4/MdatBytes.h"
#include "mp4/Mp4Index.h"
#include "mp4/RecordingRecovery.h"

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/log.h>
}

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

namespace {
struct Packet {
    std::int64_t pos = 0;
    QByteArray data;
    double seconds = 0;
};
struct Stream {
    AVMediaType type = AVMEDIA_TYPE_UNKNOWN;
    double frameSeconds = 0;   // duration of one packet
    std::vector<Packet> packets;
};

// Every packet of every stream as libavformat reads it; empty on failure.
std::vector<Stream> readPackets(const QString& path)
{
    AVFormatContext* raw = nullptr;
    if (avformat_open_input(&raw, path.toUtf8().constData(), nullptr, nullptr) < 0)
        return {};
    std::vector<Stream> streams(raw->nb_streams);
    for (unsigned i = 0; i < raw->nb_streams; ++i)
        streams[i].type = raw->streams[i]->codecpar->codec_type;
    AVPacket* pkt = av_packet_alloc();
    while (av_read_frame(raw, pkt) >= 0) {
        const AVStream* s = raw->streams[pkt->stream_index];
        Stream& st = streams[static_cast<std::size_t>(pkt->stream_index)];
        // The muxer's empty telemetry samples carry no line.
        if (!(st.type == AVMEDIA_TYPE_SUBTITLE && pkt->size == 2 && pkt->data[0] == 0 && pkt->data[1] == 0))
            st.packets.push_back({pkt->pos, QByteArray(reinterpret_cast<const char*>(pkt->data), pkt->size),
                                  pkt->pts * av_q2d(s->time_base)});
        if (pkt->duration > 0)
            st.frameSeconds = pkt->duration * av_q2d(s->time_base);
        av_packet_unref(pkt);
    }
    av_packet_free(&pkt);
    avformat_close_input(&raw);
    return streams;
}

bool run(const QString& program, const QStringList& args, QByteArray* out = nullptr, QByteArray* err = nullptr,
         int* exitCode = nullptr)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit)
        return false;
    if (out)
        *out = p.readAllStandardOutput();
    const QByteArray e = p.readAllStandardError();
    if (err)
        *err = e;
    if (exitCode)
        *exitCode = p.exitCode();
    else if (p.exitCode() != 0)
        qWarning("%s failed: %s", qPrintable(program), e.constData());
    return exitCode || p.exitCode() == 0;
}

QString cli()
{
    return QDir(qEnvironmentVariable("HALCYON_BUILD_DIR")).filePath(QStringLiteral("tools/halcyon-deck-cli"));
}

bool copyCut(const QString& from, const QString& to, qint64 cut, qint64 zeros)
{
    QFile in(from), out(to);
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly))
        return false;
    out.write(in.read(cut));
    out.write(QByteArray(zeros, '\0'));
    return true;
}

// A two-camera recording made by ffmpeg: another encoder setting, frame rate,
// sound rate and interleave than the generator's; telemetry as timed text.
bool makeWithFfmpeg(const QString& path, const QString& srt, int seconds, const QString& frontSize)
{
    QFile subtitles(srt);
    if (!subtitles.open(QIODevice::WriteOnly))
        return false;
    for (int i = 0; i < seconds * 4; ++i) {
        const int ms = i * 250;
        subtitles.write(QStringLiteral("%1\n00:00:%2,%3 --> 00:00:%4,%5\nG$GPRMC,0525%6.00,A,3733.%7,N,12658.%8,E,031.5,090.0,091226,,,A*6C\n\n")
                            .arg(i + 1)
                            .arg(ms / 1000, 2, 10, QLatin1Char('0'))
                            .arg(ms % 1000, 3, 10, QLatin1Char('0'))
                            .arg((ms + 200) / 1000, 2, 10, QLatin1Char('0'))
                            .arg((ms + 200) % 1000, 3, 10, QLatin1Char('0'))
                            .arg(i % 60, 2, 10, QLatin1Char('0'))
                            .arg(1000 + i)
                            .arg(2000 + i)
                            .toLatin1());
    }
    subtitles.close();
    return run(QStringLiteral("ffmpeg"),
               {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-y"), QStringLiteral("-f"),
                QStringLiteral("lavfi"), QStringLiteral("-i"),
                QStringLiteral("testsrc2=size=%1:rate=25").arg(frontSize), QStringLiteral("-f"),
                QStringLiteral("lavfi"), QStringLiteral("-i"), QStringLiteral("testsrc=size=160x120:rate=25"),
                QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                QStringLiteral("sine=frequency=300:sample_rate=44100"), QStringLiteral("-i"), srt,
                QStringLiteral("-map"), QStringLiteral("0"), QStringLiteral("-map"), QStringLiteral("1"),
                QStringLiteral("-map"), QStringLiteral("2"), QStringLiteral("-map"), QStringLiteral("3"),
                QStringLiteral("-c:v"), QStringLiteral("libx264"), QStringLiteral("-preset"),
                QStringLiteral("veryfast"), QStringLiteral("-bf"), QStringLiteral("0"), QStringLiteral("-g"),
                QStringLiteral("25"), QStringLiteral("-c:a"), QStringLiteral("aac"), QStringLiteral("-c:s"),
                QStringLiteral("mov_text"), QStringLiteral("-t"), QString::number(seconds), path});
}

enum class CutAt { InsidePicture, BetweenChunks, InsideTelemetry, ZeroTail };
} // namespace

Q_DECLARE_METATYPE(CutAt)

class RecordingRecoveryTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { av_log_set_level(AV_LOG_QUIET); }

    void recoversEverySampleBeforeTheCut_data()
    {
        QTest::addColumn<QString>("maker");
        QTest::addColumn<CutAt>("cutAt");
        QTest::addColumn<double>("where");   // fraction of the data
        QTest::newRow("generator, inside a picture") << "recgen" << CutAt::InsidePicture << 0.6;
        QTest::newRow("generator, between chunks") << "recgen" << CutAt::BetweenChunks << 0.5;
        QTest::newRow("generator, inside telemetry") << "recgen" << CutAt::InsideTelemetry << 0.45;
        QTest::newRow("generator, zero-filled tail") << "recgen" << CutAt::ZeroTail << 0.7;
        QTest::newRow("generator PCM, inside a picture") << "recgen-pcm" << CutAt::InsidePicture << 0.55;
        QTest::newRow("generator PCM, zero-filled tail") << "recgen-pcm" << CutAt::ZeroTail << 0.3;
        QTest::newRow("ffmpeg, inside a picture") << "ffmpeg" << CutAt::InsidePicture << 0.6;
        QTest::newRow("ffmpeg, between chunks") << "ffmpeg" << CutAt::BetweenChunks << 0.4;
        QTest::newRow("ffmpeg, inside telemetry") << "ffmpeg" << CutAt::InsideTelemetry << 0.5;
        QTest::newRow("ffmpeg, zero-filled tail") << "ffmpeg" << CutAt::ZeroTail << 0.8;
    }

    void recoversEverySampleBeforeTheCut()
    {
        QFETCH(QString, maker);
        QFETCH(CutAt, cutAt);
        QFETCH(double, where);
        const auto [original, reference] = originalAndReference(maker);
        QVERIFY(!original.isEmpty() && !reference.isEmpty());

        // The cut point, from the finished file's own index.
        const auto index = Mp4Index::Read(original);
        QVERIFY(index);
        std::uint64_t dataStart = ~0ull, dataEnd = 0;
        for (const auto& t : index->tracks)
            for (const auto& c : t.chunks) {
                dataStart = std::min(dataStart, c.offset);
                dataEnd = std::max(dataEnd, c.offset + c.bytes);
            }
        const auto target = static_cast<std::uint64_t>(dataStart + (dataEnd - dataStart) * where);
        std::uint64_t cut = 0;
        for (const auto& t : index->tracks) {
            const bool video = t.codec == Mp4Index::Codec::H264;
            const bool text = t.codec == Mp4Index::Codec::Text;
            for (const auto& c : t.chunks) {
                if (c.offset < target || cut)
                    continue;
                if (cutAt == CutAt::BetweenChunks && video)
                    cut = c.offset;
                else if ((cutAt == CutAt::InsidePicture || cutAt == CutAt::ZeroTail) && video)
                    cut = c.offset + t.sampleSize(c.firstSample) / 2;
                else if (cutAt == CutAt::InsideTelemetry && text && c.bytes > 8)
                    cut = c.offset + c.bytes - 5;
            }
        }
        QVERIFY(cut > dataStart);
        const QString cutFile = m_dir.filePath(QStringLiteral("cut-%1.mp4").arg(QTest::currentDataTag()).replace(u' ', u'_'));
        QVERIFY(copyCut(original, cutFile, static_cast<qint64>(cut), cutAt == CutAt::ZeroTail ? 65536 : 0));
        QVERIFY(RecordingRecovery::IsCut(cutFile));

        RecoveryDecoder decoder;
        RecordingRecovery recovery(codecs(decoder));
        const QString out = m_dir.filePath(QStringLiteral("recovered.mp4"));
        QString error;
        std::uint64_t lastDone = 0;
        const auto summary = recovery.Recover(cutFile, reference, out,
                                              [&](std::uint64_t done, std::uint64_t total) {
                                                  lastDone = done;
                                                  return done <= total;
                                              },
                                              &error);
        QVERIFY2(summary, qPrintable(error));
        QVERIFY(lastDone > 0);

        const std::vector<Stream> before = readPackets(original);
        const std::vector<Stream> after = readPackets(out);
        QCOMPARE(after.size(), before.size());
        double videoEnd = 0, audioEnd = 0, audioFrame = 0;
        for (std::size_t i = 0; i < before.size(); ++i) {
            const auto& a = before[i].packets;
            const auto& b = after[i].packets;
            std::size_t complete = 0;
            while (complete < a.size() && a[complete].pos + a[complete].data.size() <= static_cast<qint64>(cut))
                ++complete;
            if (before[i].type == AVMEDIA_TYPE_AUDIO && maker == QLatin1String("recgen-pcm")) {
                // PCM packets end where chunks end, and those differ: compare the sound itself.
                QByteArray whole, recovered;
                for (const auto& p : a)
                    whole += p.data;
                for (const auto& p : b)
                    recovered += p.data;
                QVERIFY(!recovered.isEmpty() && whole.startsWith(recovered));
                audioFrame = 1024.0 / 16000;   // the generator writes PCM in runs of 1024 frames
                audioEnd = recovered.size() / 2.0 / 16000;
                continue;
            }
            QVERIFY2(b.size() <= a.size(), qPrintable(QStringLiteral("stream %1").arg(i)));
            for (std::size_t k = 0; k < b.size(); ++k)
                QVERIFY2(b[k].data == a[k].data, qPrintable(QStringLiteral("stream %1 packet %2").arg(i).arg(k)));
            if (before[i].type == AVMEDIA_TYPE_AUDIO) {
                // Sound may lose the frame the cut fell into, never more.
                QVERIFY2(b.size() + 1 >= complete, qPrintable(QStringLiteral("%1 of %2").arg(b.size()).arg(complete)));
                audioFrame = before[i].frameSeconds;
                audioEnd = b.empty() ? 0 : b.back().seconds + audioFrame;
                continue;
            }
            QCOMPARE(b.size(), complete);
            if (before[i].type == AVMEDIA_TYPE_VIDEO && !b.empty()) {
                QCOMPARE(b.back().seconds, a[b.size() - 1].seconds);
                videoEnd = std::max(videoEnd, b.back().seconds + before[i].frameSeconds);
            }
            if (before[i].type == AVMEDIA_TYPE_SUBTITLE)
                for (std::size_t k = 0; k < b.size(); ++k)
                    QVERIFY2(std::abs(b[k].seconds - a[k].seconds) <= 0.1,
                             qPrintable(QStringLiteral("line %1 at %2 s, was %3 s").arg(k).arg(b[k].seconds).arg(a[k].seconds)));
        }
        if (audioFrame > 0)
            QVERIFY2(std::abs(audioEnd - videoEnd) <= audioFrame + 0.05,
                     qPrintable(QStringLiteral("sound ends at %1 s, pictures at %2 s").arg(audioEnd).arg(videoEnd)));

        // The viewer's readers take the recovered file as they take a finished one.
        const auto probe = ContainerProbe::Read(out, &error);
        QVERIFY2(probe, qPrintable(error));
        const auto expected = ContainerProbe::Read(original);
        QCOMPARE(probe->videoPinCount(), expected->videoPinCount());
        QCOMPARE(probe->videoSize(0), expected->videoSize(0));
        QCOMPARE(probe->audioPinValue(), expected->audioPinValue());
        auto telemetry = TelemetryFileSource::Open(out, &error);
        QVERIFY2(telemetry && telemetry->HasTrack(), qPrintable(error));
    }

    void playsInTheMediaGraph()
    {
        // qtdemux builds the graph from the recovered file: both cameras, sound and telemetry.
        const auto [original, reference] = originalAndReference(QStringLiteral("recgen"));
        const QString cutFile = m_dir.filePath(QStringLiteral("graph-cut.mp4"));
        QVERIFY(copyCut(original, cutFile, QFileInfo(original).size() * 3 / 4, 0));
        const QString out = m_dir.filePath(QStringLiteral("graph.mp4"));
        QByteArray json;
        QVERIFY(run(cli(), {QStringLiteral("recover"), cutFile, QStringLiteral("--reference"), reference,
                            QStringLiteral("-o"), out},
                    &json));
        const QJsonObject summary = QJsonDocument::fromJson(json).object();
        const QJsonArray tracks = summary.value(QStringLiteral("tracks")).toArray();
        QCOMPARE(tracks.size(), 4);
        QCOMPARE(tracks.at(0).toObject().value(QStringLiteral("kind")).toString(), QStringLiteral("video"));
        QVERIFY(tracks.at(0).toObject().value(QStringLiteral("samples")).toInt() > 0);
        QVERIFY(summary.contains(QStringLiteral("bytesSkipped")));
        QByteArray probe;
        QVERIFY(run(cli(), {QStringLiteral("probe"), out}, &probe));
        const QJsonObject o = QJsonDocument::fromJson(probe).object();
        QCOMPARE(o.value(QStringLiteral("videoPins")).toInt(), 2);
        QCOMPARE(o.value(QStringLiteral("audioPins")).toInt(), 1);
        QVERIFY(o.value(QStringLiteral("telemetryLines")).toInt() > 10);
        QVERIFY(o.value(QStringLiteral("durationMs")).toInt() > 1000);
        QCOMPARE(o.value(QStringLiteral("channels")).toArray().at(0).toObject().value(QStringLiteral("width")).toInt(),
                 320);
    }

    void refusesReferenceThatDoesNotFit_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("named");   // what the reason must name
        QTest::newRow("other picture size") << "size" << "H.264 640x360";
        QTest::newRow("other codec") << "hevc" << "H.265";
        QTest::newRow("no telemetry track") << "tracks" << "do not account";
    }

    void refusesReferenceThatDoesNotFit()
    {
        QFETCH(QString, kind);
        QFETCH(QString, named);
        const auto [original, reference] = originalAndReference(QStringLiteral("recgen"));
        const QString cutFile = m_dir.filePath(QStringLiteral("refuse-cut.mp4"));
        QVERIFY(copyCut(original, cutFile, QFileInfo(original).size() / 2, 0));
        QString other = m_dir.filePath(QStringLiteral("other-%1.mp4").arg(kind));
        if (kind == QLatin1String("size"))
            other = m_fixture.make(QFileInfo(other).fileName(), {QStringLiteral("--front"), QStringLiteral("640x360")});
        else if (kind == QLatin1String("tracks"))
            other = m_fixture.make(QFileInfo(other).fileName(), {QStringLiteral("--no-telemetry"),
                                                                 QStringLiteral("--duration"), QStringLiteral("20")});
        else
            QVERIFY(run(QStringLiteral("ffmpeg"),
                        {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-y"), QStringLiteral("-f"),
                         QStringLiteral("lavfi"), QStringLiteral("-i"), QStringLiteral("testsrc=size=320x180:rate=15"),
                         QStringLiteral("-c:v"), QStringLiteral("libx265"), QStringLiteral("-x265-params"),
                         QStringLiteral("log-level=none"), QStringLiteral("-t"), QStringLiteral("1"), other}));
        RecoveryDecoder decoder;
        RecordingRecovery recovery(codecs(decoder));
        QString reason;
        QVERIFY(!recovery.CheckReference(cutFile, other, &reason));
        QVERIFY2(reason.contains(named), qPrintable(reason));
        // Recovering with it is refused as well, and leaves no file behind.
        const QString out = m_dir.filePath(QStringLiteral("refused-%1.mp4").arg(kind));
        reason.clear();
        QVERIFY(!recovery.Recover(cutFile, other, out, {}, &reason));
        QVERIFY2(reason.contains(named), qPrintable(reason));
        QVERIFY(!QFileInfo::exists(out));
        QVERIFY(QDir(m_dir.path()).entryList({QStringLiteral("refused-*")}).isEmpty());
        QVERIFY(recovery.CheckReference(cutFile, reference, &reason));
    }

    void findsNearestFittingReference()
    {
        // Card: INFINITE holds the cut file between a recording of another
        // size (nearest) and a fitting one; EVENT holds another fitting one in
        // its folder of the day, as the camera files them.
        QTemporaryDir card;
        QVERIFY(QDir(card.path()).mkpath(QStringLiteral("INFINITE"))
                && QDir(card.path()).mkpath(QStringLiteral("EVENT/20261209")));
        const QString folder = card.filePath(QStringLiteral("INFINITE"));
        const auto [original, reference] = originalAndReference(QStringLiteral("recgen"));
        const QString cutFile = folder + QStringLiteral("/INF_20261209_052600.mp4");
        QVERIFY(copyCut(original, cutFile, QFileInfo(original).size() / 2, 0));
        const QString other = m_fixture.make(QStringLiteral("wide.mp4"), {QStringLiteral("--front"), QStringLiteral("640x360")});
        QVERIFY(QFile::copy(other, folder + QStringLiteral("/INF_20261209_052500.mp4")));
        QVERIFY(QFile::copy(reference, card.filePath(QStringLiteral("EVENT/20261209/EVT_20261209_052530.mp4"))));
        RecoveryDecoder decoder;
        RecordingRecovery recovery(codecs(decoder));
        QString reason;
        QCOMPARE(recovery.FindReference(cutFile, card.path(), &reason),
                 card.filePath(QStringLiteral("EVENT/20261209/EVT_20261209_052530.mp4")));
        QVERIFY(QFile::copy(reference, folder + QStringLiteral("/INF_20261209_052800.mp4")));
        QCOMPARE(recovery.FindReference(cutFile, card.path(), &reason), folder + QStringLiteral("/INF_20261209_052800.mp4"));
        // Only the unfitting one left: the reason names what differs.
        QVERIFY(QFile::remove(folder + QStringLiteral("/INF_20261209_052800.mp4")));
        QVERIFY(QFile::remove(card.filePath(QStringLiteral("EVENT/20261209/EVT_20261209_052530.mp4"))));
        QVERIFY(recovery.FindReference(cutFile, card.path(), &reason).isEmpty());
        QVERIFY2(reason.contains(QLatin1String("640x360")), qPrintable(reason));
    }

    void offersOnlyCutRecordings_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("cut");
        QTest::newRow("finished recording") << "finished" << false;
        QTest::newRow("random bytes") << "random" << false;
        QTest::newRow("empty file") << "empty" << false;
        QTest::newRow("header only") << "header" << false;
        QTest::newRow("cut recording") << "cut" << true;
        QTest::newRow("cut recording, mdat size 0") << "cut-size0" << true;
    }

    void offersOnlyCutRecordings()
    {
        QFETCH(QString, kind);
        QFETCH(bool, cut);
        const auto [original, reference] = originalAndReference(QStringLiteral("recgen"));
        QString file = m_dir.filePath(QStringLiteral("offer-%1.mp4").arg(kind));
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        if (kind == QLatin1String("random")) {
            QByteArray bytes(200000, '\0');
            for (auto& b : bytes)
                b = static_cast<char>(QRandomGenerator::global()->generate());
            f.write(bytes);
        } else if (kind == QLatin1String("header")) {
            f.write(QByteArray::fromHex("0000001866747970" "69736f6d00000200" "69736f6d6d703431"));
        }
        f.close();
        if (kind == QLatin1String("finished"))
            file = original;
        else if (kind.startsWith(QLatin1String("cut"))) {
            QVERIFY(copyCut(original, file, 100000, 0));
            if (kind == QLatin1String("cut-size0")) {
                // Some cameras never write the size at all.
                QVERIFY(f.open(QIODevice::ReadWrite));
                const qsizetype at = f.read(200).indexOf("mdat");
                QVERIFY(at >= 4);
                f.seek(at - 4);
                f.write(QByteArray(4, '\0'));
                f.close();
            }
        }
        QCOMPARE(RecordingRecovery::IsCut(file), cut);
        if (cut)
            return;
        // The command line refuses it with one line naming why.
        QByteArray err;
        int code = 0;
        QVERIFY(run(cli(), {QStringLiteral("recover"), file, QStringLiteral("-o"), m_dir.filePath(QStringLiteral("x.mp4"))},
                    nullptr, &err, &code));
        QVERIFY(code != 0);
        QVERIFY2(!err.trimmed().isEmpty() && !err.trimmed().contains('\n'), err.constData());
        QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("x.mp4"))));
    }

    // The walk reads the cut file a block at a time where it looks: what it
    // gets must be the file's bytes wherever a look starts and ends, and a
    // file that ends early (a card pulled out) reads as zeros and says so.
    void readsTheFileWhereTheWalkLooks()
    {
        QByteArray content(100000, Qt::Uninitialized);
        for (qsizetype i = 0; i < content.size(); ++i)
            content[i] = static_cast<char>((i * 7919) >> 3);
        QFile file(m_dir.filePath(QStringLiteral("bytes.bin")));
        QVERIFY(file.open(QIODevice::ReadWrite) && file.write(content) == content.size() && file.flush());
        const auto* expected = reinterpret_cast<const std::uint8_t*>(content.constData());
        constexpr std::size_t kOffset = 37;   // the sample data starts anywhere in the file
        MdatBytes bytes(file.handle(), kOffset, content.size() - kOffset, 64);
        // Forward and back, inside a block, across blocks, a long stretch, to the end.
        const std::pair<std::size_t, std::size_t> looks[] = {{0, 1},   {26, 2},       {27, 40},  {5000, 3},
                                                             {90, 1},  {63, 200},     {9999, 1}, {4000, 30000},
                                                             {99962, 1}, {99900, 500}};
        for (const auto& [pos, n] : looks) {
            const std::size_t expectedBytes = std::min(n, bytes.size() - pos);
            QVERIFY2(std::memcmp(bytes.at(pos, n), expected + kOffset + pos, expectedBytes) == 0,
                     qPrintable(QStringLiteral("%1+%2").arg(pos).arg(n)));
        }
        QVERIFY(!bytes.failed());
        QCOMPARE(bytes.trimZeros(0, bytes.size()), bytes.size());
        // The file is shorter than the data it should hold.
        MdatBytes past(file.handle(), kOffset, content.size(), 64);
        QCOMPARE(past.byte(1000), expected[kOffset + 1000]);
        QVERIFY(!past.failed());
        QCOMPARE(past.trimZeros(0, past.size()), content.size() - kOffset);
        QVERIFY(past.failed());
    }

private:
    static RecordingRecovery::Codecs codecs(RecoveryDecoder& decoder)
    {
        return {[&decoder](const QByteArray& config, const std::uint8_t* data, std::size_t size, bool exact) {
                    return decoder.aacFrames(config, data, size, exact);
                },
                &RecoveryDecoder::decodesPicture};
    }

    // A recording and another of the same camera settings (other pictures and drive).
    std::pair<QString, QString> originalAndReference(const QString& maker)
    {
        const QString key = maker;
        if (m_made.contains(key))
            return m_made.value(key);
        std::pair<QString, QString> made;
        if (maker == QLatin1String("ffmpeg")) {
            const QString a = m_dir.filePath(QStringLiteral("ff-original.mp4"));
            const QString b = m_dir.filePath(QStringLiteral("ff-reference.mp4"));
            if (makeWithFfmpeg(a, m_dir.filePath(QStringLiteral("a.srt")), 3, QStringLiteral("320x240")) &&
                makeWithFfmpeg(b, m_dir.filePath(QStringLiteral("b.srt")), 2, QStringLiteral("320x240")))
                made = {a, b};
        } else {
            QStringList extra;
            if (maker == QLatin1String("recgen-pcm"))
                extra << QStringLiteral("--pcm");
            made = {m_fixture.make(maker + QStringLiteral("-original.mp4"), extra + QStringList{QStringLiteral("--noisy")}),
                    m_fixture.make(maker + QStringLiteral("-reference.mp4"),
                                   extra + QStringList{QStringLiteral("--start"), QStringLiteral("20261209060000"),
                                                       QStringLiteral("--duration"), QStringLiteral("2")})};
        }
        m_made.insert(key, made);
        return made;
    }

    RecordingFixture m_fixture;
    QTemporaryDir m_dir;
    QHash<QString, std::pair<QString, QString>> m_made;
};

QTEST_GUILESS_MAIN(RecordingRecoveryTest)
#include "RecordingRecoveryTest.moc"
