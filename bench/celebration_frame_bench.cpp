// One frame of the celebration without a window system: the confetti drawn into the frame, and
// the whole frame (stage restored where the pieces were, pieces, text, the repaint) on a
// full-size parent. bench/celebration_bench.sh gives the same under a real X server; this one
// tells where a frame's time goes.

#include "drawscreen/celebration_overlay.h"
#include "drawscreen/celebration_scene.h"
#include "drawscreen/confetti_drawing.h"

#include <QApplication>
#include <QEvent>
#include <QImage>
#include <QWidget>
#include <benchmark/benchmark.h>

namespace {

// The moments of the burst a frame is taken at: rising, spread out, falling and fading.
constexpr double Moments[] = {0.3, 1.0, 2.0, 2.7};

void BM_ConfettiPieces(benchmark::State& state)
{
    const QSize area(int(state.range(0)), int(state.range(0)) * 9 / 16);
    const CelebrationScene scene(area, 12345);
    QImage frame(area, QImage::Format_RGB32);
    frame.fill(Qt::darkRed);
    size_t moment = 0;
    qint64 pieces = 0;
    for (auto _ : state) {
        const QList<ConfettiPiece> now = scene.piecesAt(Moments[moment++ % std::size(Moments)]);
        for (const ConfettiPiece& piece : now)
            drawConfettiPiece(frame, piece, 1.0);
        pieces += now.size();
    }
    state.counters["pieces"] =
        benchmark::Counter(double(pieces), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_ConfettiPieces)
    ->Name("confetti_pieces")
    ->Arg(1920)
    ->Arg(3840)
    ->Unit(benchmark::kMicrosecond);

void BM_CelebrationFrame(benchmark::State& state)
{
    QWidget stage;
    stage.setGeometry(0, 0, int(state.range(0)), int(state.range(0)) * 9 / 16);
    stage.setStyleSheet(QStringLiteral("background: #802020"));
    auto* overlay = new CelebrationOverlay(&stage);
    qint64 now = 0;
    overlay->setClock([&now] { return now; });
    stage.show();
    QCoreApplication::processEvents();
    for (auto _ : state) {
        // Ten frames a celebration are enough to see its start, middle and end.
        if (!overlay->celebrating() || now > 2900) {
            state.PauseTiming();
            overlay->dismiss();
            now = 0;
            overlay->celebrate(QStringLiteral("一等奖"), QColor(255, 215, 0));
            overlay->advanceFrame(); // the layout and the copy of the stage
            QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
            state.ResumeTiming();
        }
        now += 18;
        overlay->advanceFrame();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
    }
}
BENCHMARK(BM_CelebrationFrame)
    ->Name("celebration_frame")
    ->Arg(1920)
    ->Arg(3840)
    ->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    QApplication app(argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
