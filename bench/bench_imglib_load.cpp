// Loading a 6000 x 4000 JPEG and PNG with our readers, beside the codec library's own command-line decoder
// on the same file (djpeg, pngtopnm; each writes its PPM to /dev/null, process start included). Our
// loader should be within 1.25 times the tool's time; the ratios are printed at the end. The PNG is also
// loaded with Qt's own reader (QImageReader on the file, as any Qt program opens it), which our loader
// should not be slower than.
//
// The tools stream their rows out and never hold the picture; a loader must put all 96 MB of it into a
// fresh TBitmap32. BM_NewBitmap shows what that costs alone (on a machine with costly page faults it is
// most of the JPEG figure).
//
// The pictures are made once, into /tmp, with libjpeg (quality 90, 4:2:0) and libpng (level 6).
#include "ImgLib/JpegReader.h"
#include "ImgLib/LargePages.h"
#include "ImgLib/PictureFile.h"
#include "ImgLib/PngReader.h"
#include "core/Bitmap32.h"

#include <QImage>
#include <QImageReader>
#include <QString>

#include <benchmark/benchmark.h>
#include <cstdio>
#include <fcntl.h>
#include <jpeglib.h>
#include <png.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cmath>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

extern char** environ;

using namespace tavrin;

namespace {

constexpr int kWidth = 6000;
constexpr int kHeight = 4000;
const std::string kJpeg = "/tmp/tavrin_bench_6000x4000.jpg";
const std::string kPng = "/tmp/tavrin_bench_6000x4000.png";

// Smooth colour waves with a little noise, so that both codecs work about as hard as on a photo.
std::vector<std::uint8_t> PictureRow(int y)
{
    std::vector<std::uint8_t> row(static_cast<std::size_t>(kWidth) * 3);
    std::uint32_t noise = 2463534242u ^ static_cast<std::uint32_t>(y) * 2654435761u;
    for (int x = 0; x < kWidth; ++x) {
        noise ^= noise << 13;
        noise ^= noise >> 17;
        noise ^= noise << 5;
        const int n = static_cast<int>(noise % 9) - 4;
        row[x * 3 + 0] = static_cast<std::uint8_t>(128 + 90 * std::sin(x / 97.0 + y / 53.0) + n);
        row[x * 3 + 1] = static_cast<std::uint8_t>(128 + 90 * std::sin(x / 61.0 - y / 89.0) + n);
        row[x * 3 + 2] = static_cast<std::uint8_t>(128 + 90 * std::cos((x + y) / 131.0) + n);
    }
    return row;
}

void WriteJpeg()
{
    std::FILE* file = std::fopen(kJpeg.c_str(), "wb");
    jpeg_compress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = kWidth;
    info.image_height = kHeight;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 90, TRUE);
    jpeg_start_compress(&info, TRUE);
    for (int y = 0; y < kHeight; ++y) {
        std::vector<std::uint8_t> row = PictureRow(y);
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::fclose(file);
}

void WritePng()
{
    std::FILE* file = std::fopen(kPng.c_str(), "wb");
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, file);
    png_set_IHDR(png, info, kWidth, kHeight, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 6);
    png_write_info(png, info);
    for (int y = 0; y < kHeight; ++y)
        png_write_row(png, PictureRow(y).data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
}

void EnsurePictures()
{
    static const bool made = [] {
        WriteJpeg();
        WritePng();
        return true;
    }();
    (void)made;
}

void LoadWith(benchmark::State& state, const std::string& path, TPictureReader reader)
{
    EnsurePictures();
    const TPictureFormat format{"", "", reader};
    for (auto _ : state) {
        TBitmap32 bitmap;
        const TReadResult result = ReadPictureFile(path, format, bitmap);
        if (!result.Ok || bitmap.Width() != kWidth) {
            state.SkipWithError(result.Error.c_str());
            break;
        }
        benchmark::DoNotOptimize(bitmap.Bits());
    }
}

void RunTool(benchmark::State& state, std::vector<std::string> arguments)
{
    EnsurePictures();
    std::vector<char*> argv;
    for (std::string& a : arguments)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    for (auto _ : state) {
        pid_t pid = 0;
        int status = 0;
        if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0 ||
            waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError(("cannot run " + arguments[0]).c_str());
            break;
        }
    }
    posix_spawn_file_actions_destroy(&actions);
}

void BM_NewBitmap(benchmark::State& state)
{
    for (auto _ : state) {
        TBitmap32 bitmap(kWidth, kHeight);
        benchmark::DoNotOptimize(bitmap.Bits());
    }
}

void BM_LoadJpeg(benchmark::State& state)
{
    LoadWith(state, kJpeg, ReadJpeg);
}
void BM_Djpeg(benchmark::State& state)
{
    RunTool(state, {"djpeg", "-ppm", kJpeg});
}
void BM_LoadPng(benchmark::State& state)
{
    LoadWith(state, kPng, ReadPng);
}
void BM_QtLoadPng(benchmark::State& state)
{
    EnsurePictures();
    QImageReader::setAllocationLimit(0);
    for (auto _ : state) {
        QImageReader reader(QString::fromStdString(kPng));
        QImage image;
        if (!reader.read(&image) || image.width() != kWidth) {
            state.SkipWithError("Qt cannot read the PNG");
            break;
        }
        benchmark::DoNotOptimize(image.constBits());
    }
}
void BM_Pngtopnm(benchmark::State& state)
{
    RunTool(state, {"pngtopnm", kPng});
}

BENCHMARK(BM_NewBitmap)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);
BENCHMARK(BM_LoadJpeg)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);
BENCHMARK(BM_Djpeg)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);
BENCHMARK(BM_LoadPng)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);
BENCHMARK(BM_QtLoadPng)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);
BENCHMARK(BM_Pngtopnm)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

// Keeps each benchmark's time so that the ratios can be printed after the table.
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

void PrintRatio(const TRatioReporter& reporter, const std::string& ours, const std::string& tool,
                double limit = 1.25)
{
    const auto a = reporter.Times.find(ours + "/min_time:3.000/real_time");
    const auto b = reporter.Times.find(tool + "/min_time:3.000/real_time");
    if (a == reporter.Times.end() || b == reporter.Times.end()) return;
    const double ratio = a->second / b->second;
    std::printf("%-12s %8.1f ms   %-12s %8.1f ms   ratio %.2f  (limit %.2f: %s)\n", ours.c_str(), a->second,
                tool.c_str(), b->second, ratio, limit, ratio <= limit ? "ok" : "TOO SLOW");
}

} // namespace

int main(int argc, char** argv)
{
    RestartWithLargePages(argv); // as the program itself does
    benchmark::Initialize(&argc, argv);
    TRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    PrintRatio(reporter, "BM_LoadJpeg", "BM_Djpeg");
    PrintRatio(reporter, "BM_LoadPng", "BM_Pngtopnm");
    PrintRatio(reporter, "BM_LoadPng", "BM_QtLoadPng", 1.0);
    benchmark::Shutdown();
    return 0;
}
