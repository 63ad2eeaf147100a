// Saving a 6000 x 4000 region the way the save command does (encode, write through the replacement routine,
// which syncs the file to disk), beside a reference writer on the same picture in the same run:
//   JPEG  against cjpeg -quality 100 -sample 1x1 (goal: at most 1.1 times its time)
//   PNG   against Qt's PNG writer at zlib's default level, on this picture and on a photo-like one, both
//         encoded into memory (goal: at most 0.25 times its wall time and 1.05 times its file size), and
//         the fastest setting (for the clipboard) beside it
//   GIF   against ImageMagick convert -colors 256 -dither FloydSteinberg (goal: at most 0.5 times, and a
//         PSNR against the original no more than 0.5 dB below ImageMagick's; both PSNRs are printed)
// The tools read a PPM of the picture from /tmp and write their file to /tmp, process start included; they do
// not sync their files to disk, which our save does (on this machine's virtual disk that alone takes
// about 15 ms a megabyte), so the encoders are also timed alone, into memory.
#include "ImgLib/JpegWriter.h"
#include "ImgLib/PngWriter.h"
#include "core/Bitmap32.h"
#include "services/ImgFunSave.h"
#include "services/MessageSeam.h"

#include <QBuffer>
#include <QFile>
#include <QImage>

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

extern char** environ;

using namespace tavrin;

namespace {

constexpr int kWidth = 6000;
constexpr int kHeight = 4000;
const std::string kPpm = "/tmp/tavrin_bench_save_6000x4000.ppm";
const std::string kOut = "/tmp/tavrin_bench_save_out";

class TNoMessages final : public IMessageSeam
{
public:
    TMsgButton Show(const TMessage&) override { return TMsgButton::Ok; }
};

// Smooth colour waves with a little noise, as a photograph gives the codecs to do.
const TBitmap32& Picture()
{
    static const TBitmap32 picture = [] {
        TBitmap32 b(kWidth, kHeight);
        std::uint32_t noise = 2463534242u;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                noise ^= noise << 13;
                noise ^= noise >> 17;
                noise ^= noise << 5;
                const int n = static_cast<int>(noise % 9) - 4;
                b.ScanLine(y)[x] = MakeColor32(255, static_cast<std::uint8_t>(128 + 90 * std::sin(x / 97.0 + y / 53.0) + n),
                                               static_cast<std::uint8_t>(128 + 90 * std::sin(x / 61.0 - y / 89.0) + n),
                                               static_cast<std::uint8_t>(128 + 90 * std::cos((x + y) / 131.0) + n));
            }
        std::string ppm = "P6\n" + std::to_string(kWidth) + " " + std::to_string(kHeight) + "\n255\n";
        ppm.reserve(ppm.size() + static_cast<std::size_t>(kWidth) * kHeight * 3);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                const TColor32 p = b.ScanLine(y)[x];
                ppm += static_cast<char>(RedOf(p));
                ppm += static_cast<char>(GreenOf(p));
                ppm += static_cast<char>(BlueOf(p));
            }
        QFile f(QString::fromStdString(kPpm));
        if (f.open(QIODevice::WriteOnly)) f.write(ppm.data(), static_cast<qint64>(ppm.size()));
        return b;
    }();
    return picture;
}

// A 4000 x 3000 picture with the texture of a photograph: smooth value noise over five octaves (large
// shapes down to fine detail of a few pixels, the channels correlated as in natural scenes) and sensor
// noise on top.
const TBitmap32& Photo()
{
    static const TBitmap32 photo = [] {
        constexpr int w = 4000, h = 3000;
        std::uint32_t seed = 88172645u;
        const auto next = [&seed] {
            seed ^= seed << 13;
            seed ^= seed >> 17;
            seed ^= seed << 5;
            return seed;
        };
        std::vector<float> value(static_cast<std::size_t>(w) * h * 3, 0.0f);
        for (int cell : {640, 160, 40, 10, 3}) {
            const int gw = w / cell + 2, gh = h / cell + 2;
            std::vector<float> lattice(static_cast<std::size_t>(gw) * gh * 3);
            for (float& v : lattice)
                v = static_cast<float>(next() % 1000) / 1000.0f - 0.5f;
            const float amplitude = 40.0f + 0.1f * cell;
            for (int y = 0; y < h; ++y) {
                const int gy = y / cell;
                const float fy = static_cast<float>(y % cell) / cell;
                for (int x = 0; x < w; ++x) {
                    const int gx = x / cell;
                    const float fx = static_cast<float>(x % cell) / cell;
                    for (int c = 0; c < 3; ++c) {
                        const auto at = [&](int i, int j) {
                            return lattice[(static_cast<std::size_t>(j) * gw + i) * 3 + c];
                        };
                        const float top = at(gx, gy) + (at(gx + 1, gy) - at(gx, gy)) * fx;
                        const float bottom = at(gx, gy + 1) + (at(gx + 1, gy + 1) - at(gx, gy + 1)) * fx;
                        // mostly shared between the channels: a colour photo is mostly brightness
                        const float shared = lattice[(static_cast<std::size_t>(gy) * gw + gx) * 3];
                        value[(static_cast<std::size_t>(y) * w + x) * 3 + c] +=
                            amplitude *
                            (0.4f * (top + (bottom - top) * fy) + 0.6f * shared * (c == 0 ? 1.0f : 0.9f));
                    }
                }
            }
        }
        TBitmap32 b(w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                std::uint8_t rgb[3];
                for (int c = 0; c < 3; ++c) {
                    const float v = 128.0f + value[(static_cast<std::size_t>(y) * w + x) * 3 + c] +
                                    static_cast<float>(static_cast<int>(next() % 7) - 3);
                    rgb[c] = static_cast<std::uint8_t>(std::clamp(v, 0.0f, 255.0f));
                }
                b.ScanLine(y)[x] = MakeColor32(255, rgb[0], rgb[1], rgb[2]);
            }
        return b;
    }();
    return photo;
}

QImage ImageOf(const TBitmap32& b)
{
    QImage image(b.Width(), b.Height(), QImage::Format_RGB32);
    for (int y = 0; y < b.Height(); ++y)
        std::copy(b.ScanLine(y), b.ScanLine(y) + b.Width(), reinterpret_cast<TColor32*>(image.scanLine(y)));
    return image;
}

QImage PictureImage()
{
    return ImageOf(Picture());
}

void SaveAs(benchmark::State& state, const char* extension)
{
    const TBitmap32& picture = Picture();
    TNoMessages messages;
    const QString path = QString::fromStdString(kOut + "_ours." + extension);
    for (auto _ : state) {
        const TSaveResult r = SaveBitmapByExtension(picture, path, messages);
        if (!r.Saved()) {
            state.SkipWithError(r.Message.toStdString().c_str());
            break;
        }
    }
}

void RunTool(benchmark::State& state, std::vector<std::string> arguments)
{
    Picture();
    std::vector<char*> argv;
    for (std::string& a : arguments)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    // The tool's own processor time: on a machine shared with other work the wall clock says little.
    const auto childCpuMs = [] {
        rusage usage{};
        getrusage(RUSAGE_CHILDREN, &usage);
        return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
               (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
    };
    const double before = childCpuMs();
    for (auto _ : state) {
        pid_t pid = 0;
        int status = 0;
        if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0 ||
            waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError(("cannot run " + arguments[0]).c_str());
            break;
        }
    }
    state.counters["cpu_ms"] = (childCpuMs() - before) / static_cast<double>(state.iterations());
}

std::string Magick()
{
    return ::access("/usr/bin/convert", X_OK) == 0 ? "/usr/bin/convert" : "convert";
}

// The encoders alone, into memory: what the save costs before the file is written and synced to disk.
// The file's size is a counter ("bytes").
void EncodeWith(benchmark::State& state, TWriteResult (*encode)(const TBitmap32&, std::string&),
                const TBitmap32& picture = Picture())
{
    std::string bytes;
    for (auto _ : state) {
        if (!encode(picture, bytes).Ok) {
            state.SkipWithError("encoding failed");
            break;
        }
        benchmark::DoNotOptimize(bytes.data());
    }
    state.counters["bytes"] = static_cast<double>(bytes.size());
}
void BM_EncodeJpeg(benchmark::State& state)
{
    EncodeWith(state, [](const TBitmap32& b, std::string& out) { return WriteJpeg(b, out); });
}
void BM_EncodePng(benchmark::State& state)
{
    EncodeWith(state, [](const TBitmap32& b, std::string& out) { return WritePng(b, out); });
}
void BM_EncodePngFastest(benchmark::State& state)
{
    EncodeWith(state,
               [](const TBitmap32& b, std::string& out) { return WritePng(b, out, TPngSpeed::psFastest); });
}
void BM_EncodePhotoPng(benchmark::State& state)
{
    EncodeWith(
        state, [](const TBitmap32& b, std::string& out) { return WritePng(b, out); }, Photo());
}
void BM_EncodePhotoPngFastest(benchmark::State& state)
{
    EncodeWith(
        state, [](const TBitmap32& b, std::string& out) { return WritePng(b, out, TPngSpeed::psFastest); },
        Photo());
}

// Qt's PNG writer into memory. Qt maps a quality q to a zlib level; without one it uses zlib's default, 6.
void QtEncodeWith(benchmark::State& state, const TBitmap32& picture)
{
    const QImage image = ImageOf(picture);
    QByteArray bytes;
    for (auto _ : state) {
        bytes.clear();
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!image.save(&buffer, "PNG")) {
            state.SkipWithError("Qt could not write the PNG");
            break;
        }
    }
    state.counters["bytes"] = static_cast<double>(bytes.size());
}
void BM_QtEncodePng(benchmark::State& state)
{
    QtEncodeWith(state, Picture());
}
void BM_QtEncodePhotoPng(benchmark::State& state)
{
    QtEncodeWith(state, Photo());
}

void BM_SaveJpeg(benchmark::State& state)
{
    SaveAs(state, "jpg");
}
void BM_Cjpeg(benchmark::State& state)
{
    RunTool(state, {"cjpeg", "-quality", "100", "-sample", "1x1", "-outfile", kOut + "_cjpeg.jpg", kPpm});
}
void BM_SavePng(benchmark::State& state)
{
    SaveAs(state, "png");
}
void BM_QtPng(benchmark::State& state)
{
    const QImage image = PictureImage();
    const QString path = QString::fromStdString(kOut + "_qt.png");
    for (auto _ : state)
        if (!image.save(path, "PNG")) {
            state.SkipWithError("Qt could not write the PNG");
            break;
        }
}
void BM_SaveGif(benchmark::State& state)
{
    SaveAs(state, "gif");
}
void BM_MagickGif(benchmark::State& state)
{
    RunTool(state, {Magick(), kPpm, "-dither", "FloydSteinberg", "-colors", "256", kOut + "_magick.gif"});
}

BENCHMARK(BM_EncodeJpeg)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
BENCHMARK(BM_EncodePng)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime()->MinTime(2);
BENCHMARK(BM_EncodePngFastest)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime()
    ->MinTime(2);
BENCHMARK(BM_QtEncodePng)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
BENCHMARK(BM_EncodePhotoPng)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime()
    ->MinTime(2);
BENCHMARK(BM_EncodePhotoPngFastest)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime()
    ->MinTime(2);
BENCHMARK(BM_QtEncodePhotoPng)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
BENCHMARK(BM_SaveJpeg)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
BENCHMARK(BM_Cjpeg)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
BENCHMARK(BM_SavePng)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime()->MinTime(2);
BENCHMARK(BM_QtPng)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
BENCHMARK(BM_SaveGif)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_MagickGif)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

// Keeps each benchmark's figures for the verdicts: with repetitions those of its median row (the mean,
// deviation and variation rows are no times to compare), else those of its one run.
class TRatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.error_occurred) continue;
            const std::string& name = run.run_name.function_name;
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.run_type == Run::RT_Aggregate ? !median : FromMedian.count(name) > 0) continue;
            if (median) FromMedian.insert(name);
            Times[name] = run.GetAdjustedRealTime();
            const auto tool = run.counters.find("cpu_ms");
            CpuTimes[name] =
                tool != run.counters.end() ? static_cast<double>(tool->second) : run.GetAdjustedCPUTime();
            const auto bytes = run.counters.find("bytes");
            if (bytes != run.counters.end()) Bytes[name] = bytes->second;
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> Times;
    std::map<std::string, double> CpuTimes; // ours: this process; a tool: its process
    std::map<std::string, double> Bytes;    // the encoded file's size, where the benchmark counts it
    std::set<std::string> FromMedian;
};

// The verdict is on processor time, or on the wall time where ours works on every core.
void PrintRatio(const TRatioReporter& reporter, const std::string& ours, const std::string& tool, double goal,
                bool byWall = false)
{
    const auto a = reporter.Times.find(ours);
    const auto b = reporter.Times.find(tool);
    if (a == reporter.Times.end() || b == reporter.Times.end()) return;
    const double ratio = a->second / b->second;
    const double cpuOurs = reporter.CpuTimes.at(ours), cpuTool = reporter.CpuTimes.at(tool);
    std::printf(
        "%-13s %8.1f ms   %-13s %8.1f ms   wall ratio %.2f   processor time %.1f / %.1f ms, ratio %.2f"
        "  (goal %.2f: %s)\n",
        ours.c_str(), a->second, tool.c_str(), b->second, ratio, cpuOurs, cpuTool, cpuOurs / cpuTool, goal,
        (byWall ? ratio : cpuOurs / cpuTool) <= goal ? "ok" : "MISSED");
}

// Our PNG beside Qt's: wall time (the encoder works on every core) and file size, both as ratios.
void PrintPngGoal(const TRatioReporter& reporter, const std::string& ours, const std::string& qt,
                  double timeGoal, double sizeGoal)
{
    if (!reporter.Times.count(ours) || !reporter.Times.count(qt) || !reporter.Bytes.count(ours) ||
        !reporter.Bytes.count(qt))
        return;
    const double time = reporter.Times.at(ours) / reporter.Times.at(qt);
    const double size = reporter.Bytes.at(ours) / reporter.Bytes.at(qt);
    std::printf("%-24s %8.1f ms %10.0f bytes   %-19s %8.1f ms %10.0f bytes   time ratio %.3f (goal %.2f: %s)"
                "   size ratio %.3f (goal %.2f: %s)\n",
                ours.c_str(), reporter.Times.at(ours), reporter.Bytes.at(ours), qt.c_str(),
                reporter.Times.at(qt), reporter.Bytes.at(qt), time, timeGoal,
                time <= timeGoal ? "ok" : "MISSED", size, sizeGoal, size <= sizeGoal ? "ok" : "MISSED");
}

// Peak signal-to-noise ratio of a saved file against the picture, in dB.
double Psnr(const std::string& path)
{
    const QImage image = QImage(QString::fromStdString(path)).convertToFormat(QImage::Format_RGB32);
    if (image.size() != QSize(kWidth, kHeight)) return 0;
    const TBitmap32& b = Picture();
    double sum = 0;
    for (int y = 0; y < kHeight; ++y) {
        const auto* row = reinterpret_cast<const TColor32*>(image.constScanLine(y));
        for (int x = 0; x < kWidth; ++x) {
            const TColor32 p = row[x], q = b.ScanLine(y)[x];
            for (int shift : {16, 8, 0}) {
                const double d = static_cast<int>((p >> shift) & 0xFF) - static_cast<int>((q >> shift) & 0xFF);
                sum += d * d;
            }
        }
    }
    const double mse = sum / (3.0 * kWidth * kHeight);
    return 10 * std::log10(255.0 * 255.0 / mse);
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    TRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    PrintRatio(reporter, "BM_SaveJpeg", "BM_Cjpeg", 1.1);
    PrintRatio(reporter, "BM_SavePng", "BM_QtPng", 0.25, true);
    PrintRatio(reporter, "BM_SaveGif", "BM_MagickGif", 0.5);
    std::printf("Without writing the file (encoding into memory only):\n");
    PrintRatio(reporter, "BM_EncodeJpeg", "BM_Cjpeg", 1.1);
    std::printf("PNG beside Qt's writer, both into memory (wall time on every core):\n");
    PrintPngGoal(reporter, "BM_EncodePng", "BM_QtEncodePng", 0.25, 1.05);
    PrintPngGoal(reporter, "BM_EncodePhotoPng", "BM_QtEncodePhotoPng", 0.25, 1.05);
    std::printf("The fastest setting (no size goal):\n");
    PrintPngGoal(reporter, "BM_EncodePngFastest", "BM_QtEncodePng", 0.25, 10);
    PrintPngGoal(reporter, "BM_EncodePhotoPngFastest", "BM_QtEncodePhotoPng", 0.25, 10);
    if (reporter.Times.count("BM_SaveGif") && reporter.Times.count("BM_MagickGif")) {
        const double ours = Psnr(kOut + "_ours.gif"), magick = Psnr(kOut + "_magick.gif");
        std::printf("GIF PSNR: ours %.2f dB, ImageMagick %.2f dB, difference %+.2f dB (goal >= -0.50: %s)\n", ours,
                    magick, ours - magick, ours - magick >= -0.5 ? "ok" : "MISSED");
    }
    benchmark::Shutdown();
    return 0;
}
