// Times RecordingRecovery::Recover in-process (the tool's start-up left out):
// the work of `halcyon-deck-cli recover CUT --reference REF -o OUT`, check of
// the reference, walk, durable write (temporary file, fdatasync, rename)
// included. OUT is removed before each run, outside the timing. Prints the
// front pictures recovered and, over RUNS warm runs, the median and best wall
// time in ms of the whole (total) and of the part up to the end of the walk
// (read), and the median CPU time of the process during a run (cpu).
//   halcyon-bench-recover CUT REF OUT [RUNS]
#include "engine/RecoveryDecoder.h"
#include "mp4/RecordingRecovery.h"

extern "C" {
#include <libavutil/log.h>
}

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <vector>

namespace {
// CPU time of the process (all its threads) in ms.
double cpuNow()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3
           + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 4) {
        std::fprintf(stderr, "usage: halcyon-bench-recover CUT REF OUT [RUNS]\n");
        return 2;
    }
    const QString cut = QString::fromLocal8Bit(argv[1]);
    const QString reference = QString::fromLocal8Bit(argv[2]);
    const QString out = QString::fromLocal8Bit(argv[3]);
    const int runs = argc > 4 ? std::max(1, std::atoi(argv[4])) : 5;
    av_log_set_level(AV_LOG_QUIET);
    RecoveryDecoder decoder;
    RecordingRecovery recovery({[&decoder](const QByteArray& config, const std::uint8_t* data, std::size_t size,
                                           bool exact) { return decoder.aacFrames(config, data, size, exact); },
                                &RecoveryDecoder::decodesPicture});
    std::vector<double> ms, readMs, cpuMs;
    std::uint64_t pictures = 0;
    // One warm-up run, as the bench scripts time warm runs.
    for (int i = 0; i <= runs; ++i) {
        QString error;
        QFile::remove(out);
        QElapsedTimer timer;
        double read = 0;
        // Recover reports the end of its walk (done == total / 2) before it
        // writes: up to there it has read the cut file (the sample headers,
        // one key picture per camera, which a second thread decodes
        // meanwhile); after it, it writes the new file.
        const auto atWalkEnd = [&](std::uint64_t done, std::uint64_t total) {
            if (done * 2 == total && read == 0)
                read = double(timer.nsecsElapsed()) / 1e6;
            return true;
        };
        const double cpuBefore = cpuNow();
        timer.start();
        const auto summary = recovery.Recover(cut, reference, out, atWalkEnd, &error);
        const double took = double(timer.nsecsElapsed()) / 1e6;
        const double cpu = cpuNow() - cpuBefore;
        if (!summary || summary->tracks.empty()) {
            std::fprintf(stderr, "cannot recover: %s\n", qPrintable(error));
            return 1;
        }
        if (read == 0) {
            std::fprintf(stderr, "the recovery did not report the end of its walk\n");
            return 1;
        }
        pictures = summary->tracks.front().samples;
        if (i > 0) {
            ms.push_back(took);
            readMs.push_back(read);
            cpuMs.push_back(cpu);
        }
    }
    std::sort(ms.begin(), ms.end());
    std::sort(readMs.begin(), readMs.end());
    std::sort(cpuMs.begin(), cpuMs.end());
    std::printf("pictures=%llu total_ms=%.1f total_best_ms=%.1f read_ms=%.1f read_best_ms=%.1f cpu_ms=%.1f\n",
                static_cast<unsigned long long>(pictures), ms[ms.size() / 2], ms.front(), readMs[readMs.size() / 2],
                readMs.front(), cpuMs[cpuMs.size() / 2]);
    return 0;
}
