#include "display/CLinePlot.h"
#include "display/PlotSeries.h"

#include <QTest>
#include <array>
#include <vector>

namespace {
// Series as the telemetry load hands them over: x 0..4 grown to fit, y 0..255, both locked.
void loadLike(CLinePlot& plot, const std::vector<std::vector<PlotPoint>>& lines)
{
    const QRgb colours[] = {qRgb(128, 255, 255), qRgb(0, 255, 0), qRgb(255, 0, 0)};
    std::vector<PlotSeries> series;
    for (std::size_t i = 0; i < lines.size(); ++i)
        series.push_back({lines[i], colours[i % 3], QString::number(i)});
    ReplacePlotSeries(plot, series);
}

std::vector<PlotPoint> ramp(int n, float step, float y)
{
    std::vector<PlotPoint> p;
    for (int i = 0; i < n; ++i)
        p.push_back({float(i) * step, y});
    return p;
}

QList<int> cursorColumns(const QImage& image)
{
    QList<int> columns;
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            if (image.pixel(x, y) == LinePlotModel::kCursor) {
                columns << x;
                break;
            }
        }
    }
    return columns;
}

QImage shot(CLinePlot& plot) { return plot.grab().toImage().convertToFormat(QImage::Format_RGB32); }
} // namespace

class LinePlotTest : public QObject {
    Q_OBJECT
private slots:
    void withoutSeriesShowsBackgroundAndGridOnly()
    {
        CLinePlot plot;
        plot.resize(200, 100);
        const QImage image = shot(plot);
        // step 25: lines at 100 (below the client), 75, 50, 25 and 0
        for (int y : {0, 25, 50, 75})
            QCOMPARE(image.pixel(100, y), LinePlotModel::kGrid);
        for (int y : {1, 24, 26, 74, 76, 99})
            QCOMPARE(image.pixel(100, y), LinePlotModel::kBackground);
        QCOMPARE(image.pixel(199, 75), LinePlotModel::kGrid);
        QVERIFY(cursorColumns(image).isEmpty());
    }

    void drawsEachSeriesInItsColour()
    {
        CLinePlot plot;
        plot.resize(200, 100);
        // y 64 of 0..255 at height 100: row 100 - trunc(25.1) = 75; y 200: row 100 - trunc(78.4) = 22
        loadLike(plot, {ramp(11, 1000, 64), ramp(11, 1000, 0), ramp(11, 1000, 200)});
        const QImage image = shot(plot);
        QCOMPARE(image.pixel(100, 75), qRgb(128, 255, 255));
        QCOMPARE(image.pixel(100, 22), qRgb(255, 0, 0));
        QCOMPARE(image.pixel(100, 23), LinePlotModel::kBackground);
    }

    void cursorStandsOnTheFirstSampleAfterIt_data()
    {
        QTest::addColumn<QList<uint>>("cursors");
        QTest::addColumn<int>("column");
        // 11 samples at 0, 1000 .. 10000 over 200 pixels: sample i at column 20 i
        QTest::newRow("between samples") << QList<uint>{2500} << 60;
        QTest::newRow("on a sample") << QList<uint>{3000} << 80;
        QTest::newRow("at zero") << QList<uint>{0} << 20;
        QTest::newRow("beyond the last sample keeps the line") << QList<uint>{8500, 20000} << 180;
    }
    void cursorStandsOnTheFirstSampleAfterIt()
    {
        QFETCH(QList<uint>, cursors);
        QFETCH(int, column);
        CLinePlot plot;
        plot.resize(200, 100);
        loadLike(plot, {ramp(11, 1000, 64), ramp(11, 1000, 100), ramp(11, 1000, 200)});
        QImage image;
        for (uint c : cursors) {
            plot.SetCursor(c);
            image = shot(plot);
        }
        QCOMPARE(cursorColumns(image), QList<int>{column});
        // from T + 2 down to the last row above B - 1
        QVERIFY(image.pixel(column, 1) != LinePlotModel::kCursor);
        QCOMPARE(image.pixel(column, 2), LinePlotModel::kCursor);
        QCOMPARE(image.pixel(column, 98), LinePlotModel::kCursor);
        QVERIFY(image.pixel(column, 99) != LinePlotModel::kCursor);
    }

    void marksMomentsOverTheLinesAndUnderTheCursor()
    {
        CLinePlot plot;
        plot.resize(200, 100);
        // the red line runs along row 100 - 200 * 100 / 255 = 22
        loadLike(plot, {ramp(11, 1000, 64), ramp(11, 1000, 100), ramp(11, 1000, 200)});
        plot.SetMarkers({2500, 6000});
        plot.SetCursor(5000); // on the sample at 6000
        const QImage image = shot(plot);
        for (int y : {10, 22, 50, 75, 99}) {
            QCOMPARE(image.pixel(50, y), LinePlotModel::kMarker);
            QCOMPARE(image.pixel(51, y), LinePlotModel::kMarker);
        }
        QCOMPARE(image.pixel(49, 40), LinePlotModel::kBackground);
        QCOMPARE(image.pixel(52, 40), LinePlotModel::kBackground);
        QCOMPARE(image.pixel(48, 0), LinePlotModel::kMarker); // the notch at the top
        QCOMPARE(image.pixel(48, 10), LinePlotModel::kBackground);
        QCOMPARE(image.pixel(121, 50), LinePlotModel::kMarker);
        QCOMPARE(image.pixel(120, 50), LinePlotModel::kCursor); // the cursor stays visible
        // apart from every line and from the background
        for (QRgb other : {qRgb(128, 255, 255), qRgb(0, 255, 0), qRgb(255, 0, 0), LinePlotModel::kBackground})
            QVERIFY(qAbs(qRed(other) - 255) + qAbs(qGreen(other) - 140) + qAbs(qBlue(other) - 0) >= 140);

        plot.SetMarkers({});
        QCOMPARE(shot(plot).pixel(50, 40), LinePlotModel::kBackground);
    }

    void noCursorLineWhereTheKeptIndexDoesNotExist()
    {
        CLinePlot plot;
        plot.resize(200, 100);
        loadLike(plot, {ramp(11, 1000, 64), ramp(11, 1000, 100), ramp(11, 1000, 200)});
        plot.SetCursor(8500);
        QCOMPARE(cursorColumns(shot(plot)), QList<int>{180});
        // a shorter recording with the cursor beyond all its samples: index 10 is not one of its 3
        loadLike(plot, {ramp(3, 1000, 64), ramp(3, 1000, 100), ramp(3, 1000, 200)});
        plot.SetCursor(9500);
        QVERIFY(cursorColumns(shot(plot)).isEmpty());
        // series without samples
        loadLike(plot, {{}, {}, {}});
        QVERIFY(cursorColumns(shot(plot)).isEmpty());
    }

    void unlockedAddsWidenButNeverNarrow()
    {
        LinePlotModel plot;
        plot.LockRange(PlotAxis::Y, false);
        const std::vector<PlotPoint> wide{{-10, -300}, {100, 400}};
        const std::vector<PlotPoint> narrow{{10, 0}, {50, 1}};
        const std::vector<PlotPoint> right{{20, 0}, {120, 1}};
        plot.AddSeries(wide.data(), 2, 0, QStringLiteral("a"));
        plot.AddSeries(narrow.data(), 2, 0, QStringLiteral("b"));
        QCOMPARE((std::array<float, 4>{plot.xMinimum, plot.xMaximum, plot.yMinimum, plot.yMaximum}),
                 (std::array<float, 4>{-10, 100, -300, 400}));
        plot.AddSeries(right.data(), 2, 0, QStringLiteral("c"));
        QCOMPARE(plot.xMaximum, 120.0f);
        QCOMPARE(plot.xMinimum, -10.0f);
    }

    void lockedAddsAndSettersLeaveTheRanges()
    {
        CLinePlot plot;
        plot.resize(200, 100);
        plot.LockRange(PlotAxis::X, true);
        const std::vector<PlotPoint> far{{-1e9f, 1e9f}, {2, 100}, {1e9f, -1e9f}};
        plot.AddSeries(far.data(), 3, qRgb(0, 255, 0), QStringLiteral("far"));
        plot.SetXRange(5, 6);
        plot.SetYRange(5, 6);
        const LinePlotModel& m = plot.model();
        QCOMPARE((std::array<float, 4>{m.xMinimum, m.xMaximum, m.yMinimum, m.yMaximum}),
                 (std::array<float, 4>{0, 4, -127, 128}));
        // the line crosses the client and is cut at its edges
        const QImage image = shot(plot);
        int green = 0;
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 200; ++x)
                green += image.pixel(x, y) == qRgb(0, 255, 0);
        QVERIFY(green > 0);
    }

    void removingMovesTheSelection()
    {
        CLinePlot plot;
        plot.resize(200, 100);
        loadLike(plot, {ramp(11, 1000, 64), ramp(6, 2000, 100), ramp(11, 1000, 200)});
        QCOMPARE(plot.model().selectedSeries, 2);
        QVERIFY(!plot.RemoveSeries(3));
        QVERIFY(!plot.RemoveSeries(-1));
        QVERIFY(plot.RemoveSeries(0));
        QCOMPARE(plot.model().selectedSeries, 1);
        // the cursor now takes its pixel from the selected (third) line: index from series 0
        // (the 6-sample line, 2000 apart) is 2 at cursor 2500, and sample 2 of the selected line is at 40
        plot.SetCursor(2500);
        QCOMPARE(cursorColumns(shot(plot)), QList<int>{40});
        QVERIFY(plot.RemoveSeries(1));
        QVERIFY(plot.RemoveSeries(0));
        QCOMPARE(plot.model().selectedSeries, 0);
        QVERIFY(cursorColumns(shot(plot)).isEmpty());
    }

    void cursorMovesDoNotRecomputePixels()
    {
        CLinePlot plot;
        plot.resize(600, 120);
        std::vector<PlotPoint> hour;
        for (int i = 0; i < 36000; ++i)
            hour.push_back({float(i) * 100, float((i * 7) % 256)});
        loadLike(plot, {hour, hour, hour});
        shot(plot);
        const int passes = plot.model().PixelPasses();
        QCOMPARE(passes, 3);
        for (uint c = 0; c < 3600000; c += 300000) {
            plot.SetCursor(c);
            shot(plot);
        }
        QCOMPARE(plot.model().PixelPasses(), passes);
        plot.resize(500, 120);
        shot(plot);
        QCOMPARE(plot.model().PixelPasses(), passes + 3);
    }
};

QTEST_MAIN(LinePlotTest)
#include "LinePlotTest.moc"
