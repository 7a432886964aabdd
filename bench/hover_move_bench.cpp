// Mouse moves over the pointer of a full-size draw screen, as the operator's hand gives them
// when it passes over or drags it: each move re-centres the wheel, repaints and writes the
// pointer's place to the settings file. Run with bench/slow_flush_shim preloaded, every flush
// takes 20 ms; the goals: at least 100 moves a second, and the write adds < 0.2 ms p99.

#include "datafiles/settings_file.h"
#include "drawscreen/draw_screen.h"
#include "rotatingimage/rotating_image.h"
#include "support/recorded_boxes.h"
#include "support/test_support.h"

#include <QApplication>
#include <QMouseEvent>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point begin)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - begin).count();
}

double percentile(std::vector<double> ms, double fraction)
{
    std::sort(ms.begin(), ms.end());
    return ms[std::min(ms.size() - 1, size_t(fraction * double(ms.size())))];
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TestProgramFolder folder;
    RecordedBoxes boxes;
    DrawScreen screen;
    screen.setGeometry(0, 0, 1920, 1080);
    screen.show();
    QCoreApplication::processEvents();
    const int moves = qEnvironmentVariableIntValue("PW_BENCH_MOVES") > 0
                          ? qEnvironmentVariableIntValue("PW_BENCH_MOVES")
                          : 1000;

    // Moves over the pointer, each handled and painted as the event loop would.
    std::vector<double> moveMs;
    const auto all = Clock::now();
    for (int i = 0; i < moves; ++i) {
        const QPointF at(100 + i % 50, 100 + i % 30);
        QMouseEvent event(QEvent::MouseMove, at, screen.parts().pointerImage->mapToGlobal(at),
                          Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        const auto begin = Clock::now();
        QApplication::sendEvent(screen.parts().pointerImage, &event);
        QCoreApplication::processEvents();
        moveMs.push_back(msSince(begin));
    }
    const double movesPerSecond = moves / (msSince(all) / 1000);

    // The write each of them makes, alone.
    std::vector<double> writeMs;
    const SettingsFile settings;
    for (int i = 0; i < moves; ++i) {
        const auto begin = Clock::now();
        settings.writePlace("zhizhen_left", 376 + i % 7, "zhizhen_top", 88);
        writeMs.push_back(msSince(begin));
    }

    const double moveP99 = percentile(moveMs, 0.99);
    const double writeP99 = percentile(writeMs, 0.99);
    std::printf("HOVER_MOVE moves_per_s=%.0f move_p50=%.3f move_p99=%.3f write_p50=%.3f "
                "write_p99=%.3f boxes=%lld\n",
                movesPerSecond, percentile(moveMs, 0.5), moveP99, percentile(writeMs, 0.5),
                writeP99, static_cast<long long>(boxes.boxes().size()));
    std::printf("goal: >= 100 moves/s: %s; write < 0.2 ms p99: %s\n",
                movesPerSecond >= 100 ? "met" : "NOT met", writeP99 < 0.2 ? "met" : "NOT met");
    return 0;
}
