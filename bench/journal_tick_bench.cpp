// What the journal adds to a stop tick on the user-interface thread: the time of recording one
// announcement, while the writer thread flushes each batch. Run it with slow_flush_shim
// preloaded to give every flush 20 ms; the goal is a p99 below 0.2 ms. Announcements come
// every 2 ms, far faster than spins stop, so the writer is always busy and batches pile up.
// Prints "JOURNAL_TICK p50=… p99=… max=… ms".

#include "draw/prize_draw.h"
#include "journal/journal.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 3000;
    QTemporaryDir dir;
    Journal journal(dir.filePath(JournalFileName), QDateTime::currentDateTime());
    journal.recordStart("0", 0);
    const QString prize = QStringLiteral("特等奖：笔记本电脑");
    std::vector<double> ms;
    ms.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        Announcement a;
        a.mode = "3";
        a.drawn = 16560 + i % 11857;
        a.angle = -a.drawn;
        a.slot = 1 + i % 8;
        a.seed = static_cast<uint32_t>(i) * 2654435761u;
        const auto begin = std::chrono::steady_clock::now();
        journal.recordWin(a, prize);
        const auto end = std::chrono::steady_clock::now();
        ms.push_back(std::chrono::duration<double, std::milli>(end - begin).count());
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    const auto flushStart = std::chrono::steady_clock::now();
    journal.waitUntilWritten();
    const double drain =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - flushStart)
            .count();
    std::sort(ms.begin(), ms.end());
    const auto at = [&](double f) { return ms[static_cast<size_t>(f * (ms.size() - 1))]; };
    std::printf("JOURNAL_TICK p50=%.4f p99=%.4f max=%.4f drain_ms=%.1f ms\n", at(0.5), at(0.99),
                ms.back(), drain);
    return 0;
}
