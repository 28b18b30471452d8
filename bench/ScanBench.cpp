// Times ScanCard on a card folder: bench_scan ROOT [RUNS]. Prints the number
// of recordings and the median and best wall time of the runs in ms.
#include "card/RecordingLibrary.h"
#include "card/SystemDriveProvider.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_scan ROOT [RUNS]\n");
        return 2;
    }
    const QString root = SystemDriveProvider::NormalizeRoot(QString::fromLocal8Bit(argv[1]));
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    RecordingLibrary library;
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        library.ScanCard(root);
        ms.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("recordings=%d entries=%d median_ms=%.2f best_ms=%.2f\n", library.RecordingCount(CategoryAll),
                library.RecordingCount(0) + library.RecordingCount(1) + library.RecordingCount(2)
                    + library.RecordingCount(3) + library.RecordingCount(4),
                ms[ms.size() / 2], ms.front());
    return 0;
}
