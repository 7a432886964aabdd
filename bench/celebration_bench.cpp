// The celebration at a stop on a 1920 x 1080 draw screen under a real X server: the frames a
// second it delivers and the processor time it takes while the confetti falls, and the ticks
// of the spin started in the middle of it against those of spins without it.
// Run by bench/celebration_bench.sh under Xvfb.

#include "app/fonts.h"
#include "app/memory_policy.h"
#include "drawscreen/celebration_overlay.h"
#include "drawscreen/draw_screen.h"
#include "support/test_support.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <vector>

namespace {

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Runs the event loop for a while, waiting for events as the program does.
void runFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Tick intervals of one spin started now, run by the event loop to its stop, in ms.
std::vector<double> timedSpin(DrawScreen& screen)
{
    std::vector<double> intervals;
    QElapsedTimer clock;
    clock.start();
    qint64 last = -1;
    const auto connection = QObject::connect(screen.spinTimer, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        if (last >= 0)
            intervals.push_back((now - last) / 1e6);
        last = now;
    });
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, [&] {
        if (!screen.spinTimer->isActive())
            loop.quit();
    });
    check.start(50);
    screen.startButtonClick();
    loop.exec();
    QObject::disconnect(connection);
    return intervals;
}

void printTicks(const char* label, std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    double sum = 0;
    for (double v : ms)
        sum += v;
    const auto at = [&](double f) { return ms[std::min(ms.size() - 1, size_t(f * ms.size()))]; };
    std::printf("TICKS %s intervals=%zu mean=%.2f p50=%.2f p99=%.2f max=%.2f\n", label, ms.size(),
                sum / ms.size(), at(0.5), at(0.99), ms.back());
}

} // namespace

int main(int argc, char** argv)
{
    keepPictureBuffersInHeap();
    QApplication app(argc, argv);
    installFontSubstitutions();
    TestProgramFolder folder;
    folder.setSetting("kongzhimoshi", "1");
    RecordedBoxes boxes;
    DrawScreen screen;
    screen.setGeometry(0, 0, 1920, 1080);
    screen.show();
    runFor(1500);
    const int spins = argc > 1 ? std::atoi(argv[1]) : 4;

    folder.setSetting("zhongjiang_texiao", "0");
    std::vector<double> plain;
    for (int i = 0; i < spins; ++i) {
        const auto t = timedSpin(screen);
        plain.insert(plain.end(), t.begin(), t.end());
        runFor(300);
    }

    folder.setSetting("zhongjiang_texiao", "1");
    std::vector<double> after;
    double frames = 0, seconds = 0, cpu = 0;
    for (int i = 0; i < spins; ++i) {
        timedSpin(screen); // ends in a celebration
        if (!screen.celebration->isVisible()) {
            std::fprintf(stderr, "no celebration after the stop\n");
            return 1;
        }
        // The confetti's three seconds, the heaviest part.
        const qint64 paints = screen.celebration->paintCount();
        const double cpuBefore = cpuSeconds();
        QElapsedTimer wall;
        wall.start();
        runFor(2900);
        seconds += wall.nsecsElapsed() / 1e9;
        cpu += cpuSeconds() - cpuBefore;
        frames += screen.celebration->paintCount() - paints;
        // The next spin starts while the text still shows, as an operator would start it.
        const auto t = timedSpin(screen);
        after.insert(after.end(), t.begin(), t.end());
        runFor(300);
    }
    std::printf("CELEBRATION frames_per_s=%.1f cpu_percent=%.1f seconds=%.1f\n", frames / seconds,
                100 * cpu / seconds, seconds);
    printTicks("without", plain);
    printTicks("after", after);
    if (!boxes.boxes().isEmpty())
        std::printf("note: %lld message boxes came up\n",
                    static_cast<long long>(boxes.boxes().size()));
    return 0;
}
