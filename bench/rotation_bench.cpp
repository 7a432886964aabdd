// Throughput of the picture turn against Qt's own nearest-pixel transform, on the shipped
// pointer and on two large pictures, at several angles. Both are measured in the same run, one
// after the other for each case, and the run ends with a table of the ratios.

#include "rotatingimage/rotate_bitmap.h"

#include <QImage>
#include <QTransform>
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr QRgb Background = 0xfff0f0f0;
const std::vector<long double> Angles = {17, 45, 90, 160, -20000};

// A picture whose pixels all differ, so that no shortcut for flat areas flatters either side.
QImage noisePicture(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    uint32_t state = 0x9e3779b9u;
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            state = state * 1664525u + 1013904223u;
            row[x] = state | 0xff000000u;
        }
    }
    return image;
}

struct Picture
{
    std::string name;
    QImage image;
};

std::vector<Picture> pictures()
{
    QImage pointer(QStringLiteral(PW_ASSETS_DIR "/pic/指针.png"));
    if (pointer.isNull()) {
        std::fprintf(stderr, "cannot read the pointer picture under %s\n", PW_ASSETS_DIR);
        std::exit(1);
    }
    return {{"pointer" + std::to_string(pointer.width()) + "x" + std::to_string(pointer.height()),
             pointer.convertToFormat(QImage::Format_ARGB32)},
            {"700x700", noisePicture(700, 700)},
            {"1400x1400", noisePicture(1400, 1400)}};
}

std::string angleText(long double angle)
{
    return std::to_string(static_cast<long long>(angle));
}

void setThroughput(benchmark::State& state, const QImage& picture)
{
    // Source pixels per second: the same count for both sides, so the ratio is one of times.
    state.SetItemsProcessed(state.iterations() * int64_t(picture.width()) * picture.height());
}

void turnOurs(benchmark::State& state, const QImage& image, long double angle)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(rotateBitmap(image, Background, angle));
    setThroughput(state, image);
}

void turnQt(benchmark::State& state, const QImage& image, long double angle)
{
    // Qt turns clockwise for a positive angle; the negated angle is the same turn.
    const QTransform turn = QTransform().rotate(-double(angle));
    for (auto _ : state)
        benchmark::DoNotOptimize(image.transformed(turn, Qt::FastTransformation));
    setThroughput(state, image);
}

// The case's name as registered, without the suffix the timing mode adds.
std::string caseName(std::string name)
{
    const std::string suffix = "/real_time";
    if (name.size() > suffix.size() &&
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
        name.resize(name.size() - suffix.size());
    return name;
}

// Collects items/s of every case while printing as usual, for the ratio table at the end.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    std::map<std::string, double> itemsPerSecond;

    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            const auto it = run.counters.find("items_per_second");
            if (run.run_type == Run::RT_Iteration && !run.error_occurred &&
                it != run.counters.end())
                itemsPerSecond[caseName(run.benchmark_name())] = it->second;
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

} // namespace

int main(int argc, char** argv)
{
    const std::vector<Picture> all = pictures();
    for (const Picture& picture : all) {
        for (const long double angle : Angles) {
            const std::string suffix = "/" + picture.name + "/" + angleText(angle);
            const QImage image = picture.image;
            benchmark::RegisterBenchmark(("ours" + suffix).c_str(), turnOurs, image, angle)
                ->UseRealTime() // Qt may spread a large transform over several threads
                ->Unit(benchmark::kMicrosecond);
            benchmark::RegisterBenchmark(("qt" + suffix).c_str(), turnQt, image, angle)
                ->UseRealTime()
                ->Unit(benchmark::kMicrosecond);
        }
    }

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    std::printf("\nThroughput ratio ours/Qt (above 1: ours is faster)\n\n");
    std::printf("| picture | angle | ours Mpixel/s | Qt Mpixel/s | ours/Qt |\n");
    std::printf("|---|---|---|---|---|\n");
    double logSum = 0;
    int count = 0;
    std::string summary;
    for (const Picture& picture : all) {
        double pictureLogSum = 0;
        int pictureCount = 0;
        for (const long double angle : Angles) {
            const std::string suffix = "/" + picture.name + "/" + angleText(angle);
            const auto ours = reporter.itemsPerSecond.find("ours" + suffix);
            const auto qt = reporter.itemsPerSecond.find("qt" + suffix);
            if (ours == reporter.itemsPerSecond.end() || qt == reporter.itemsPerSecond.end())
                continue; // filtered out of this run
            const double ratio = ours->second / qt->second;
            pictureLogSum += std::log(ratio);
            ++pictureCount;
            std::printf("| %s | %s | %.1f | %.1f | %.2f |\n", picture.name.c_str(),
                        angleText(angle).c_str(), ours->second / 1e6, qt->second / 1e6, ratio);
        }
        if (pictureCount > 0)
            summary += "RATIO_GEOMEAN " + picture.name + " " +
                       std::to_string(std::exp(pictureLogSum / pictureCount)) + "\n";
        logSum += pictureLogSum;
        count += pictureCount;
    }
    if (count > 0)
        std::printf("\n%sRATIO_GEOMEAN all %f\n", summary.c_str(), std::exp(logSum / count));
    return 0;
}
