#include "engine/TelemetryFileSource.h"
#include "engine/RecordingFixture.h"

#include <QFile>
#include <QRegularExpression>
#include <QtTest>
#include <vector>

namespace {
struct Line {
    QByteArray bytes;
    std::int32_t ms;
};

std::vector<Line> readAll(ITelemetrySource& source)
{
    std::vector<Line> lines;
    for (int guard = 0; guard < 100000; ++guard) {
        std::uint8_t buffer[kTelemetryBufferSize + 16];
        std::memset(buffer, 0, sizeof buffer);
        std::memset(buffer + kTelemetryBufferSize, 0xAB, 16);
        std::uint32_t length = kTelemetryBufferSize;
        std::int32_t ms = -1;
        const int r = source.TelemetryReadLine(buffer, &length, &ms);
        for (int i = 0; i < 16; ++i)
            if (buffer[kTelemetryBufferSize + i] != 0xAB)
                qFatal("telemetry line written past the caller's buffer");
        if (r == kTelemetryNoMoreLines)
            break;
        if (r != kTelemetryLineOk)
            continue;
        if (length > kTelemetryBufferSize - 1 || buffer[kTelemetryBufferSize - 1] != 0)
            qFatal("telemetry line longer than 1023 bytes");
        lines.push_back({QByteArray(reinterpret_cast<const char*>(buffer), static_cast<int>(length)), ms});
    }
    return lines;
}

bool checksumValid(const QByteArray& line)
{
    const int dollar = line.indexOf('$'), star = line.indexOf('*');
    if (dollar < 0 || star < 0)
        return false;
    quint8 sum = 0;
    for (int i = dollar + 1; i < star; ++i)
        sum ^= static_cast<quint8>(line[i]);
    return line.mid(star + 1).toUpper() == QByteArray::number(sum, 16).rightJustified(2, '0').toUpper();
}
} // namespace

class TelemetryFileSourceTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY2(QFile::exists(RecordingFixture::tool()), "halcyon-recgen not built"); }

    void readsEveryLineByteExactInTimeOrder()
    {
        const QByteArray binary("M\x80\x40\xC0\x00\xFF\x00\x01", 8);
        const QByteArray longLine(1500, 'x');
        const QString file = m_fixture.make(QStringLiteral("drive.mp4"),
                                            {QStringLiteral("--impact"), QStringLiteral("1"), QStringLiteral("--line"),
                                             QStringLiteral("1210:") + QString::fromLatin1(binary.toHex()),
                                             QStringLiteral("--line"), QStringLiteral("1220:"),
                                             QStringLiteral("--line"),
                                             QStringLiteral("2210:") + QString::fromLatin1(longLine.toHex())});
        QVERIFY(!file.isEmpty());
        QString error;
        auto source = TelemetryFileSource::Open(file, &error);
        QVERIFY2(source, qPrintable(error));
        source->TelemetrySetSpan(0, -1);
        const auto lines = readAll(*source);

        // 3 fixes, 30 acceleration samples, the two added lines; the empty one is skipped.
        QCOMPARE(lines.size(), std::size_t(35));
        int gps = 0, accel = 0;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (i > 0)
                QVERIFY(lines[i].ms >= lines[i - 1].ms);
            if (lines[i].bytes.startsWith("G$GPRMC")) {
                ++gps;
                QVERIFY2(checksumValid(lines[i].bytes), lines[i].bytes.constData());
                QCOMPARE(lines[i].ms % 1000, 0);
            } else if (lines[i].bytes.startsWith('M') && lines[i].bytes.size() == 7) {
                ++accel;
                QCOMPARE(lines[i].ms % 100, 50);
            }
        }
        QCOMPARE(gps, 3);
        QCOMPARE(accel, 30);

        // The impact saturates the sensor; zero and 0xFF bytes come through.
        const auto impact = std::find_if(lines.begin(), lines.end(), [](const Line& l) { return l.ms == 1050; });
        QVERIFY(impact != lines.end());
        QCOMPARE(impact->bytes, QByteArray("M\xFF\x00\xFF\x00\xFF\x0A", 7));
        const auto added = std::find_if(lines.begin(), lines.end(), [](const Line& l) { return l.ms == 1210; });
        QVERIFY(added != lines.end());
        QCOMPARE(added->bytes, binary);
        const auto cut = std::find_if(lines.begin(), lines.end(), [](const Line& l) { return l.ms == 2210; });
        QVERIFY(cut != lines.end());
        QCOMPARE(cut->bytes, longLine.left(kTelemetryBufferSize - 1));

        // Fix times advance one second per line.
        QRegularExpression time(QStringLiteral("^G\\$GPRMC,(\\d{6})\\.000,A,"));
        QStringList times;
        for (const auto& l : lines)
            if (auto m = time.match(QString::fromLatin1(l.bytes)); m.hasMatch())
                times << m.captured(1);
        QCOMPARE(times, (QStringList{QStringLiteral("052501"), QStringLiteral("052502"), QStringLiteral("052503")}));
    }

    void southWestFixesCarryTheirHemisphere()
    {
        const QString file = m_fixture.make(QStringLiteral("sw.mp4"),
                                            {QStringLiteral("--south"), QStringLiteral("--west"),
                                             QStringLiteral("--telemetry-only")});
        auto source = TelemetryFileSource::Open(file);
        QVERIFY(source);
        const auto lines = readAll(*source);
        QVERIFY(!lines.empty());
        QVERIFY2(lines.front().bytes.contains(",S,") && lines.front().bytes.contains(",W,"),
                 lines.front().bytes.constData());
    }

    void recordingWithoutTrackEndsAtOnce()
    {
        const QString file = m_fixture.make(QStringLiteral("quiet.mp4"), {QStringLiteral("--no-telemetry")});
        auto source = TelemetryFileSource::Open(file);
        QVERIFY(source);
        QVERIFY(!source->HasTrack());
        std::uint8_t buffer[kTelemetryBufferSize] = {};
        std::uint32_t length = kTelemetryBufferSize;
        std::int32_t ms = 0;
        QCOMPARE(source->TelemetryReadLine(buffer, &length, &ms), kTelemetryNoMoreLines);
        QCOMPARE(source->TelemetryReadLine(buffer, &length, &ms), kTelemetryNoMoreLines);
    }

    void badFilesFailToOpen_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("truncate");
        QTest::newRow("empty") << QByteArray() << false;
        QTest::newRow("text") << QByteArray("this is not a recording\n") << false;
        QTest::newRow("cut before the index") << QByteArray() << true;
    }
    void badFilesFailToOpen()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, truncate);
        QString file;
        if (truncate) {
            // The index sits at the end; power loss leaves a file without it.
            file = m_fixture.make(QStringLiteral("cut.mp4"), {QStringLiteral("--truncate"), QStringLiteral("20000")});
        } else {
            file = m_fixture.path(QStringLiteral("bad.mp4"));
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content);
        }
        QVERIFY(!file.isEmpty());
        QString error;
        QVERIFY(!TelemetryFileSource::Open(file, &error));
        QVERIFY(!error.isEmpty());
    }

private:
    RecordingFixture m_fixture;
};

QTEST_GUILESS_MAIN(TelemetryFileSourceTest)
#include "TelemetryFileSourceTest.moc"
