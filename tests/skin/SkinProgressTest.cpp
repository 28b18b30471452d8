#include "skin/CVxProgress.h"

#include <QImage>
#include <QTest>

using Segs = std::array<std::uint32_t, 4>;
using Widths = std::array<int, 4>;
Q_DECLARE_METATYPE(Segs)
Q_DECLARE_METATYPE(Widths)

class SkinProgressTest : public QObject {
    Q_OBJECT
private slots:
    void segmentWidths_data();
    void segmentWidths();
    void drawsSegmentsInTheirColours();
    void totalZeroDrawsBlackOnly();
};

void SkinProgressTest::segmentWidths_data()
{
    QTest::addColumn<Segs>("segments");
    QTest::addColumn<unsigned>("total");
    QTest::addColumn<int>("width");
    QTest::addColumn<Widths>("expected");
    QTest::newRow("75/10/5/10 on 200") << Segs{75, 10, 5, 10} << 100u << 200 << Widths{150, 20, 10, 20};
    QTest::newRow("total 0") << Segs{75, 10, 5, 10} << 0u << 200 << Widths{0, 0, 0, 0};
    // thirds truncate; the fourth closes the gap to the right edge
    QTest::newRow("rounding loss goes to the fourth") << Segs{33, 33, 33, 1} << 100u << 100 << Widths{33, 33, 33, 1};
    QTest::newRow("quarters of 101 px") << Segs{1, 1, 1, 1} << 4u << 101 << Widths{25, 25, 25, 26};
    QTest::newRow("fourth share 0 leaves the rest") << Segs{1, 1, 1, 0} << 3u << 100 << Widths{33, 33, 33, 0};
    QTest::newRow("all in one") << Segs{0, 0, 0, 100} << 100u << 200 << Widths{0, 0, 0, 200};
}

void SkinProgressTest::segmentWidths()
{
    QFETCH(Segs, segments);
    QFETCH(unsigned, total);
    QFETCH(int, width);
    QFETCH(Widths, expected);
    QCOMPARE(CVxProgress::SegmentWidths(segments, total, width), expected);
}

void SkinProgressTest::drawsSegmentsInTheirColours()
{
    CVxProgress bar;
    bar.resize(200, 20);
    bar.SetSegments(75, 10, 5, 10, 100);
    const QImage img = bar.grab().toImage();
    const auto& c = CVxProgress::SegmentColours();
    struct Span { int from, to, colour; };
    for (const Span& s : {Span{0, 149, 0}, Span{150, 169, 1}, Span{170, 179, 2}, Span{180, 199, 3}}) {
        QCOMPARE(img.pixelColor(s.from, 10), c[s.colour]);
        QCOMPARE(img.pixelColor(s.to, 10), c[s.colour]);
    }
}

void SkinProgressTest::totalZeroDrawsBlackOnly()
{
    CVxProgress bar;
    bar.resize(200, 20);
    bar.SetSegments(75, 10, 5, 10, 0);
    const QImage img = bar.grab().toImage();
    for (int x = 0; x < 200; x += 7)
        QCOMPARE(img.pixelColor(x, 10), QColor(Qt::black));
}

QTEST_MAIN(SkinProgressTest)
#include "SkinProgressTest.moc"
