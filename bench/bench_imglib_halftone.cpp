// Reducing a 4000 x 3000 picture (12 Mpx) to the halftone palette, as the transparent GIF dialog does when it
// opens, beside Qt's own conversion to the same fixed table (QImage::convertToFormat to Indexed8; it picks by
// a different distance, so it is a reference for speed only). Goal: a few hundred milliseconds at most. The
// one-time build of the lookup cells is timed separately and printed first.
#include "ImgLib/HalftoneMapping.h"

#include <QImage>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>

using namespace tavrin;

namespace {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;

// Smooth colour waves with a little noise, so that neighbouring pixels seldom repeat, as in a photo.
const TBitmap32& Picture()
{
    static const TBitmap32 picture = [] {
        TBitmap32 b(kWidth, kHeight);
        std::uint32_t noise = 2463534242u;
        for (int y = 0; y < kHeight; ++y) {
            TColor32* row = b.ScanLine(y);
            for (int x = 0; x < kWidth; ++x) {
                noise ^= noise << 13;
                noise ^= noise >> 17;
                noise ^= noise << 5;
                const int n = static_cast<int>(noise % 9) - 4;
                row[x] =
                    MakeColor32(255, static_cast<std::uint8_t>(128 + 90 * std::sin(x / 97.0 + y / 53.0) + n),
                                static_cast<std::uint8_t>(128 + 90 * std::sin(x / 61.0 - y / 89.0) + n),
                                static_cast<std::uint8_t>(128 + 90 * std::cos((x + y) / 131.0) + n));
            }
        }
        return b;
    }();
    return picture;
}

void BM_ToHalftone(benchmark::State& state)
{
    const TBitmap32& picture = Picture();
    for (auto _ : state) {
        TIndexedImage image = ToHalftoneImage(picture);
        benchmark::DoNotOptimize(image.Indices.data());
    }
}

void BM_QtIndexed8(benchmark::State& state)
{
    const TBitmap32& picture = Picture();
    const QImage source(reinterpret_cast<const uchar*>(picture.Bits()), kWidth, kHeight, kWidth * 4,
                        QImage::Format_RGB32);
    QList<QRgb> table;
    for (const TRgb c : HalftonePalette())
        table.push_back(qRgb(c.R, c.G, c.B));
    for (auto _ : state) {
        QImage indexed = source.convertToFormat(QImage::Format_Indexed8, table, Qt::ThresholdDither);
        benchmark::DoNotOptimize(indexed.constBits());
    }
}

BENCHMARK(BM_ToHalftone)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
BENCHMARK(BM_QtIndexed8)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

class TRatioReporter : public benchmark::ConsoleReporter
{
  public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (!run.error_occurred) Times[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> Times;
};

} // namespace

int main(int argc, char** argv)
{
    const auto start = std::chrono::steady_clock::now();
    benchmark::DoNotOptimize(NearestHalftoneIndex({1, 2, 3}));
    const std::chrono::duration<double, std::milli> build = std::chrono::steady_clock::now() - start;
    std::printf("lookup cells built on first use in %.1f ms\n", build.count());
    Picture();

    benchmark::Initialize(&argc, argv);
    TRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto ours = reporter.Times.find("BM_ToHalftone/min_time:2.000/real_time");
    const auto qt = reporter.Times.find("BM_QtIndexed8/min_time:2.000/real_time");
    if (ours != reporter.Times.end() && qt != reporter.Times.end())
        std::printf(
            "halftone 12 Mpx: ours %.1f ms, Qt %.1f ms, ratio %.2f (goal: ours at most a few hundred ms)\n",
            ours->second, qt->second, ours->second / qt->second);
    benchmark::Shutdown();
    return 0;
}
