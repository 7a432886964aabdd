// The celebration at a stop on a 1920 x 1080 draw screen under a real X server: the frames a
// second it delivers and the processor time it takes while the confetti falls, and the ticks
// of the spin started in the middle of it against those of spins without it.
// Run by bench/celebration_bench.sh under Xvfb.

#include "ui/fonts.h"
#include "ui/memory_policy.h"
#include "drawscreen/celebration_overlay.h"
#include "drawscreen/draw_screen.h"
#include "support/recorded_boxes.h"
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
    const auto connection = QObject::connect(screen.parts().spinTimer, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        if (last >= 0)
            intervals.push_back((now - last) / 1e6);
        if (last >= 0 && (now - last) / 1e6 > 20 && qEnvironmentVariableIsSet("PW_BENCH_VERBOSE"))
            std::printf("slow tick %zu: %.1f ms\n", intervals.size(), (now - last) / 1e6);
        last = now;
    });
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, [&] {
        if (!screen.parts().spinTimer->isActive() && !screen.evening().stopPending())
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
    const auto slow = std::count_if(ms.begin(), ms.end(), [](double v) { return v > 20; });
    std::printf("TICKS %s intervals=%zu mean=%.2f p50=%.2f p99=%.2f max=%.2f over20ms=%d\n", label,
                ms.size(), sum / ms.size(), at(0.5), at(0.99), ms.back(), int(slow));
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

    // The same schedule with and without the celebration, taken in turns so that the load of
    // the machine weighs on both alike: a stop, 2.9 s, the measured spin.
    std::vector<double> plain;
    std::vector<double> after;
    double frames = 0, seconds = 0, cpu = 0;
    for (int i = 0; i < 2 * spins; ++i) {
        const bool celebrating = i % 2 == 1;
        folder.setSetting("zhongjiang_texiao", celebrating ? "1" : "0");
        timedSpin(screen);
        if (screen.parts().celebration->celebrating() != celebrating) {
            std::fprintf(stderr, "the celebration did not follow its setting\n");
            return 1;
        }
        const qint64 paints = screen.parts().celebration->paintCount();
        const double cpuBefore = cpuSeconds();
        QElapsedTimer wall;
        wall.start();
        runFor(2900); // the confetti's three seconds, the heaviest part
        if (celebrating) {
            seconds += wall.nsecsElapsed() / 1e9;
            cpu += cpuSeconds() - cpuBefore;
            frames += screen.parts().celebration->paintCount() - paints;
        }
        // The next spin starts while the text still shows, as an operator would start it.
        const auto t = timedSpin(screen);
        (celebrating ? after : plain)
            .insert((celebrating ? after : plain).end(), t.begin(), t.end());
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
