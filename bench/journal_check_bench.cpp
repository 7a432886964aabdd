// The check of a journal's chain that runs on a thread of its own after the first frame: its
// processor and wall time over the journal given, best of three.
// Usage: bench_journal_check <journal>

#include "journal/journal_reader.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <ctime>

namespace {
double cpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_journal_check <journal>\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    double bestCpu = 1e12;
    double bestWall = 1e12;
    for (int i = 0; i < 3; ++i) {
        const double cpu = cpuMs();
        QElapsedTimer wall;
        wall.start();
        if (firstModifiedLine(path) != 0) {
            std::fprintf(stderr, "the journal's chain is broken\n");
            return 1;
        }
        bestCpu = std::min(bestCpu, cpuMs() - cpu);
        bestWall = std::min(bestWall, wall.nsecsElapsed() / 1e6);
    }
    std::printf("JOURNAL_CHECK cpu_ms=%.0f wall_ms=%.0f\n", bestCpu, bestWall);
    return 0;
}
