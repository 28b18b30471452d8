// Picture conversion writes only inside the buffer it was given, for every
// size a camera or a window can have, and keeps the picture's colours.
#include "engine/PictureConverter.h"

#include <QtTest>
#include <vector>

namespace {
constexpr std::size_t kGuard = 4096;
constexpr std::uint8_t kGuardByte = 0xA5;

// An I420 picture: left half red, right half blue, rows padded as decoders pad them.
struct I420 {
    explicit I420(QSize size) : size(size)
    {
        const int cw = (size.width() + 1) / 2, ch = (size.height() + 1) / 2;
        strides = {(size.width() + 31) / 32 * 32, (cw + 31) / 32 * 32, (cw + 31) / 32 * 32};
        y.assign(std::size_t(strides[0]) * size.height(), 0);
        u.assign(std::size_t(strides[1]) * ch, 0);
        v.assign(std::size_t(strides[2]) * ch, 0);
        for (int row = 0; row < size.height(); ++row)
            for (int x = 0; x < size.width(); ++x)
                y[std::size_t(row) * strides[0] + x] = x < size.width() / 2 ? 81 : 41;
        for (int row = 0; row < ch; ++row)
            for (int x = 0; x < cw; ++x) {
                const bool left = x < cw / 2;
                u[std::size_t(row) * strides[1] + x] = left ? 90 : 240;
                v[std::size_t(row) * strides[2] + x] = left ? 240 : 110;
            }
    }
    PictureConverter::Source source() const
    {
        PictureConverter::Source s;
        s.format = PictureConverter::Format::I420;
        s.size = size;
        s.planes[0] = y.data();
        s.planes[1] = u.data();
        s.planes[2] = v.data();
        for (int p = 0; p < 3; ++p)
            s.strides[p] = strides[p];
        return s;
    }
    QSize size;
    std::array<int, 3> strides{};
    std::vector<std::uint8_t> y, u, v;
};

bool reddish(QRgb c) { return qRed(c) > 180 && qGreen(c) < 90 && qBlue(c) < 90; }
bool bluish(QRgb c) { return qRed(c) < 90 && qGreen(c) < 90 && qBlue(c) > 180; }
} // namespace

class PictureConverterTest : public QObject {
    Q_OBJECT
private slots:
    void writesOnlyInsideItsBuffer_data()
    {
        QTest::addColumn<QSize>("source");
        QTest::addColumn<QSize>("target");
        // Grabs and snapshots: native size.
        QTest::newRow("grab 200x112") << QSize(200, 112) << QSize();
        QTest::newRow("grab 98x54") << QSize(98, 54) << QSize();
        QTest::newRow("grab 322x182") << QSize(322, 182) << QSize();
        QTest::newRow("grab 1920x1080") << QSize(1920, 1080) << QSize();
        QTest::newRow("grab 2x2") << QSize(2, 2) << QSize();
        // Window pictures: scaled down to the window.
        QTest::newRow("window 1920x1080 -> 699x388") << QSize(1920, 1080) << QSize(699, 388);
        QTest::newRow("window 1280x720 -> 411x307") << QSize(1280, 720) << QSize(411, 307);
        QTest::newRow("window 200x112 -> 98x54") << QSize(200, 112) << QSize(98, 54);
        QTest::newRow("window 322x182 -> 161x91") << QSize(322, 182) << QSize(161, 91);
        QTest::newRow("window 1920x1080 -> 1x1") << QSize(1920, 1080) << QSize(1, 1);
        QTest::newRow("window 322x182 -> 1x1") << QSize(322, 182) << QSize(1, 1);
        QTest::newRow("window larger than picture") << QSize(200, 112) << QSize(640, 360);
    }

    void writesOnlyInsideItsBuffer()
    {
        QFETCH(QSize, source);
        QFETCH(QSize, target);
        const I420 picture(source);
        const QSize size = PictureConverter::ClampedTarget(source, target);
        const PictureConverter::Layout layout = PictureConverter::DestinationLayout(size);
        QVERIFY(layout.stride >= size.width() * 4);
        QVERIFY(layout.bytes >= std::size_t(layout.stride) * size.height());

        std::vector<std::uint8_t> buffer(layout.bytes + kGuard, kGuardByte);
        PictureConverter converter;
        QVERIFY(converter.ConvertInto(picture.source(), size, buffer.data(), layout.stride));
        for (std::size_t i = layout.bytes; i < buffer.size(); ++i)
            QVERIFY2(buffer[i] == kGuardByte, qPrintable(QStringLiteral("byte %1 past the buffer written").arg(i - layout.bytes)));

        const QImage image = converter.Convert(picture.source(), target);
        QCOMPARE(image.size(), size);
        QCOMPARE(image.format(), QImage::Format_RGB32);
        if (size.width() >= 8) {
            QVERIFY(reddish(image.pixel(1, size.height() / 2)));
            QVERIFY(bluish(image.pixel(size.width() - 2, size.height() / 2)));
            QVERIFY(reddish(image.pixel(1, 0)) && reddish(image.pixel(1, size.height() - 1)));
        }
    }

    // Copies of a converted picture outlive the converter and each other.
    void imageOwnsItsPixels()
    {
        QImage copy;
        {
            PictureConverter converter;
            const I420 picture(QSize(64, 36));
            QImage image = converter.Convert(picture.source(), QSize());
            copy = image;
            image.fill(Qt::green);
        }
        QVERIFY(reddish(copy.pixel(2, 2)));
    }

    void refusesWhatItCannotConvert()
    {
        PictureConverter converter;
        PictureConverter::Source empty;
        QVERIFY(converter.Convert(empty, QSize(10, 10)).isNull());
        const I420 picture(QSize(64, 36));
        PictureConverter::Source noPlanes = picture.source();
        noPlanes.planes[0] = nullptr;
        QVERIFY(converter.Convert(noPlanes, QSize()).isNull());
    }
};

QTEST_GUILESS_MAIN(PictureConverterTest)
#include "PictureConverterTest.moc"
