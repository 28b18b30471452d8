// The clip writer: samples of files and of memory into an MP4 whose index
// comes first, read back with the project's index reader; hashes of the bytes
// written and of the sources read; nothing left after a failure or a cancel.
#include "mp4/Mp4ClipWriter.h"
#include "mp4/Mp4Index.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray box(const char* type, const QByteArray& payload)
{
    QByteArray out(4, '\0');
    const quint32 size = quint32(payload.size() + 8);
    for (int i = 0; i < 4; ++i)
        out[i] = char((size >> (24 - 8 * i)) & 0xFF);
    return out + QByteArray(type, 4) + payload;
}

QByteArray handler(const char* type)
{
    return box("hdlr", QByteArray(8, '\0') + QByteArray(type, 4) + QByteArray(12, '\0') + QByteArray("Test", 5));
}

QByteArray sampleDescription(const char* format)
{
    return box("stsd", QByteArray("\0\0\0\0\0\0\0\1", 8) + box(format, QByteArray(6, '\0') + QByteArray("\0\1", 2)));
}

QByteArray sha256(const QByteArray& bytes) { return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex(); }

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

// A "recording" of 64 KiB whose byte i is i * 7 mod 251, and a clip of two
// tracks: pictures at uneven places in it (decode order, B-frame offsets,
// key at 0 and 3) and a data track held in memory that starts 40 ms late.
struct Fixture {
    QTemporaryDir dir;
    QString source = dir.filePath(QStringLiteral("source.mp4"));
    QByteArray sourceBytes;
    std::vector<Mp4ClipWriter::Track> tracks;

    Fixture()
    {
        sourceBytes.resize(65536);
        for (int i = 0; i < sourceBytes.size(); ++i)
            sourceBytes[i] = char(i * 7 % 251);
        QFile f(source);
        f.open(QIODevice::WriteOnly);
        f.write(sourceBytes);
        f.close();

        Mp4ClipWriter::Track video;
        video.hdlr = handler("vide");
        video.stsd = sampleDescription("xvid");
        video.timescale = 90000;
        video.video = true;
        // offset, size, duration, composition offset, key; the first two lie
        // together (one chunk), the others apart and out of file order.
        const struct { std::uint64_t offset; std::uint32_t size; std::int32_t cts; bool key; } pictures[] = {
            {1000, 300, 3000, true}, {1300, 50, 6000, false}, {40000, 70, 0, false},
            {9000, 500, 3000, true}, {20000, 80, 3000, false}};
        for (const auto& p : pictures)
            video.samples.push_back({0, p.offset, p.size, 1, 3000, p.cts, p.key});
        Mp4ClipWriter::Track data;
        data.hdlr = handler("meta");
        data.stsd = sampleDescription("camm");
        data.startMs = 40;
        data.data = QByteArray("abcdefgh");
        data.samples = {{-1, 0, 3, 1, 10, 0, true}, {-1, 3, 5, 1, 20, 0, true}};
        tracks = {video, data};
    }
    QString clip() const { return dir.filePath(QStringLiteral("clip.mp4")); }
};

} // namespace

class Mp4ClipWriterTest : public QObject {
    Q_OBJECT
private slots:
    void writesEverySampleIndexFirstAndReadsBack()
    {
        Fixture f;
        const auto r = Mp4ClipWriter::Write(f.clip(), {{f.source, true}}, f.tracks);
        QCOMPARE(r.status, Mp4ClipWriter::Result::Status::Done);
        const QByteArray clip = readAll(f.clip());
        QCOMPARE(r.output.size, clip.size());
        QCOMPARE(r.output.sha256, sha256(clip));
        QCOMPARE(r.sources[0].sha256, sha256(f.sourceBytes));
        QVERIFY(clip.indexOf("moov") < clip.indexOf("mdat"));

        QString error;
        const auto index = Mp4Index::Read(f.clip(), &error);
        QVERIFY2(index, qPrintable(error));
        QCOMPARE(index->tracks.size(), std::size_t(2));
        const auto pictures = index->tracks[0].samples();
        QCOMPARE(pictures.size(), f.tracks[0].samples.size());
        for (std::size_t i = 0; i < pictures.size(); ++i) {
            const auto& want = f.tracks[0].samples[i];
            QCOMPARE(clip.mid(qsizetype(pictures[i].offset), pictures[i].size),
                     f.sourceBytes.mid(qsizetype(want.offset), want.size));
            QCOMPARE(pictures[i].duration, want.duration);
            QCOMPARE(pictures[i].compositionOffset, want.compositionOffset);
            QCOMPARE(pictures[i].key, want.key);
        }
        // The earliest picture shown (offset 3000 of 90 kHz) starts the track.
        QCOMPARE(index->tracks[0].presentationMs(pictures[0].decodeTime + pictures[0].compositionOffset,
                                                 index->movieTimescale), 0.0);
        const auto data = index->tracks[1].samples();
        QCOMPARE(data.size(), std::size_t(2));
        QCOMPARE(clip.mid(qsizetype(data[1].offset), data[1].size), QByteArray("defgh"));
        QCOMPARE(index->tracks[1].presentationMs(data[0].decodeTime, index->movieTimescale), 40.0);
        QCOMPARE(index->tracks[1].handlerName(), QByteArray("Test"));
        // 5 pictures of 1/30 s, the last shown not the last decoded; the data ends at 40 + 30 ms
        QCOMPARE(Mp4ClipWriter::DurationMs(f.tracks), std::int64_t(167));
    }

    void leavesNothingWhenItCannotFinish_data()
    {
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<bool>("shortSource");
        QTest::addColumn<QString>("message");
        QTest::newRow("cancelled") << true << false << "";
        QTest::newRow("source shorter than its samples") << false << true << "shorter than its index says";
    }
    void leavesNothingWhenItCannotFinish()
    {
        QFETCH(bool, cancel);
        QFETCH(bool, shortSource);
        QFETCH(QString, message);
        Fixture f;
        if (shortSource)
            QFile::resize(f.source, 30000);
        std::atomic<bool> stop{cancel};
        const auto r = Mp4ClipWriter::Write(f.clip(), {{f.source, true}}, f.tracks, &stop);
        QCOMPARE(r.status, cancel ? Mp4ClipWriter::Result::Status::Cancelled : Mp4ClipWriter::Result::Status::Failed);
        QVERIFY2(r.message.contains(message), qPrintable(r.message));
        QCOMPARE(entries(f.dir.path()), QStringList{QStringLiteral("source.mp4")});
    }
};

QTEST_GUILESS_MAIN(Mp4ClipWriterTest)
#include "Mp4ClipWriterTest.moc"
