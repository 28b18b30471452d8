// Paint cost of the acceleration plot for an hour at 10 Hz (3 x 36,000 points):
// the first paint after a load and a paint after a cursor move, in milliseconds.
//   bench_lineplot_cursor [RUNS]
#include "display/CLinePlot.h"
#include "display/PlotSeries.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;
    CLinePlot plot;
    plot.resize(489, 57);
    QImage target(plot.size(), QImage::Format_RGB32);

    std::vector<double> loadPaint, cursorPaint;
    for (int run = 0; run < runs; ++run) {
        std::vector<PlotSeries> axes(3, {{}, qRgb(0, 255, 0), QStringLiteral("s")});
        for (int i = 0; i < 36000; ++i)
            for (int a = 0; a < 3; ++a)
                axes[a].points.push_back({float(i * 100), float(128 + 60 * std::sin(i * 0.01 * (a + 1) + run))});
        ReplacePlotSeries(plot, axes);

        QElapsedTimer timer;
        timer.start();
        plot.render(&target);
        loadPaint.push_back(double(timer.nsecsElapsed()) / 1e6);

        plot.SetCursor(std::uint32_t(run) * 60000u);
        timer.restart();
        plot.render(&target);
        cursorPaint.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(loadPaint.begin(), loadPaint.end());
    std::sort(cursorPaint.begin(), cursorPaint.end());
    std::printf("plot 489x57, 3 x 36000 points: first paint median %.2f ms; cursor-move paint median %.3f ms (%d runs)\n",
                loadPaint[loadPaint.size() / 2], cursorPaint[cursorPaint.size() / 2], runs);
    return 0;
}
