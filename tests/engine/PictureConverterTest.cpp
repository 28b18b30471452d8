// Picture conversion writes only inside the buffer it was given, for every
// size a camera or a window can have, and keeps the picture's colours.
#include "engine/PictureConverter.h"

#include <QtTest>
#include <algorithm>
#include <cstdlib>
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

    // The rear cameras' pictures are mirrored and flipped while they are
    // converted: the corners land where they should, and nothing is written
    // before or after the buffer (a flip writes its rows bottom-up).
    void turnsThePictureInsideItsBuffer_data()
    {
        QTest::addColumn<bool>("mirror");
        QTest::addColumn<bool>("flip");
        QTest::addColumn<QSize>("target");
        for (const QSize target : {QSize(), QSize(161, 91)}) {
            const QString size = target.isValid() ? QStringLiteral(" scaled") : QStringLiteral(" native");
            QTest::newRow(qPrintable(QStringLiteral("mirror") + size)) << true << false << target;
            QTest::newRow(qPrintable(QStringLiteral("flip") + size)) << false << true << target;
            QTest::newRow(qPrintable(QStringLiteral("both") + size)) << true << true << target;
        }
    }

    void turnsThePictureInsideItsBuffer()
    {
        QFETCH(bool, mirror);
        QFETCH(bool, flip);
        QFETCH(QSize, target);
        // Left red, right blue; the bottom half grey.
        I420 picture(QSize(322, 182));
        for (int row = 91; row < 182; ++row)
            std::fill_n(picture.y.begin() + std::ptrdiff_t(row) * picture.strides[0], 322, std::uint8_t(128));
        for (int row = 46; row < 91; ++row) {
            std::fill_n(picture.u.begin() + std::ptrdiff_t(row) * picture.strides[1], 161, std::uint8_t(128));
            std::fill_n(picture.v.begin() + std::ptrdiff_t(row) * picture.strides[2], 161, std::uint8_t(128));
        }
        const QSize size = PictureConverter::ClampedTarget(picture.size, target);
        const PictureConverter::Layout layout = PictureConverter::DestinationLayout(size);
        std::vector<std::uint8_t> buffer(kGuard + layout.bytes + kGuard, kGuardByte);
        std::uint8_t* destination = buffer.data() + kGuard;
        PictureConverter converter;
        QVERIFY(converter.ConvertInto(picture.source(), size, destination, layout.stride, {mirror, flip}));
        for (std::size_t i = 0; i < kGuard; ++i) {
            QVERIFY2(buffer[i] == kGuardByte, "written before the buffer");
            QVERIFY2(buffer[kGuard + layout.bytes + i] == kGuardByte, "written past the buffer");
        }
        const QImage image(destination, size.width(), size.height(), layout.stride, QImage::Format_RGB32);
        const auto grey = [](QRgb c) { return std::abs(qRed(c) - qBlue(c)) < 30 && std::abs(qRed(c) - qGreen(c)) < 30; };
        const int top = 2, bottom = size.height() - 3, left = 2, right = size.width() - 3;
        const int colourRow = flip ? bottom : top, greyRow = flip ? top : bottom;
        QVERIFY(mirror ? bluish(image.pixel(left, colourRow)) : reddish(image.pixel(left, colourRow)));
        QVERIFY(mirror ? reddish(image.pixel(right, colourRow)) : bluish(image.pixel(right, colourRow)));
        QVERIFY(grey(image.pixel(left, greyRow)) && grey(image.pixel(right, greyRow)));
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
