// The view's renderer beside Qt's own nearest-neighbour drawImage and a plain memcpy of the output,
// in one run: a 1920 x 1080 exposed rectangle of a 2000^2 and a 10000^2 picture at zoom 0.2, 1, 3.7
// and 32, the picture alone and with 37 typical layers (12 guides, 12 areas, 12 selection bands,
// the highlight). At the end a table gives the medians (or single runs) and the ratios.
#include "core/BitmapLayer.h"
#include "core/InfoLayer.h"
#include "core/LayerCollection.h"
#include "core/LayerRenderer.h"
#include "core/PixelBlend.h"
#include "core/RubberbandLayer.h"

#include <QImage>
#include <QPainter>
#include <QRegion>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

using namespace tavrin;

namespace {

constexpr int kViewWidth = 1920, kViewHeight = 1080;
const TRect kExposed{100, 100, 100 + kViewWidth, 100 + kViewHeight};

const TBitmap32& Picture(int size)
{
    static std::map<int, std::unique_ptr<TBitmap32>> pictures;
    auto& p = pictures[size];
    if (!p) {
        p = std::make_unique<TBitmap32>(size, size);
        for (int y = 0; y < size; ++y) {
            TColor32* row = p->ScanLine(y);
            for (int x = 0; x < size; ++x)
                row[x] = 0xFF000000u | static_cast<TColor32>(x * 7 + y * 13);
        }
    }
    return *p;
}

float ZoomOf(const benchmark::State& state) { return static_cast<float>(state.range(1)) / 10.0f; }

void AddTypicalLayers(TLayerCollection& layers, int size, float scale)
{
    for (int i = 0; i < 12; ++i) { // guides across the whole view, canvas pixels with alpha 0
        auto* g = layers.Add<TInfoLayer>();
        g->Bitmap().SetSize(2, 1000);
        g->Bitmap().Clear(0x0000FFFF);
        const float at = 140.0f + i * 150.0f;
        g->SetBounds(i % 2 ? TFloatBounds{at, 0, at + 2, size * scale} : TFloatBounds{0, at, size * scale, at + 2});
    }
    auto* highlight = layers.Add<TBitmapLayer>();
    highlight->SetInImageSpace(true);
    highlight->Bitmap().SetSize(2, 2);
    highlight->Bitmap().Clear(0xFFFF0000);
    highlight->Bitmap().DrawMode = TDrawMode::dmBlend;
    highlight->Bitmap().MasterAlpha = 20;
    highlight->SetBounds({0, 0, 1000, 800});
    for (int i = 0; i < 12; ++i) { // rectangle areas and selection bands in image space
        auto* a = layers.Add<TBitmapLayer>();
        a->SetInImageSpace(true);
        a->Bitmap().SetSize(300, 200);
        a->Bitmap().Clear(0xFF7F7F7F);
        a->Bitmap().DrawMode = TDrawMode::dmBlend;
        a->Bitmap().MasterAlpha = 120;
        const float x = 50.0f + i * 60.0f;
        a->SetBounds({x, x, x + 300, x + 200});
        auto* band = layers.Add<TRubberbandLayer>();
        band->SetInImageSpace(true);
        band->SetBounds({x + 20, x + 40, x + 200, x + 150});
    }
}

// The renderer as it was before runs, spans and the cache: one pixel at a time, a full clear first.
namespace before {

void PaintPicture(const TBitmap32& picture, const TViewGeometry& g, const TRect& exposed, TBitmap32& target)
{
    const TRect dst = g.BitmapRect;
    const TRect clip = Intersect(dst, exposed);
    if (clip.IsEmpty())
        return;
    const std::int64_t dw = dst.Width(), dh = dst.Height();
    const std::int64_t bw = picture.Width(), bh = picture.Height();
    std::vector<int> columns(static_cast<std::size_t>(clip.Width()));
    for (int vx = clip.Left; vx < clip.Right; ++vx)
        columns[static_cast<std::size_t>(vx - clip.Left)] = static_cast<int>((vx - dst.Left) * bw / dw);
    int lastRow = -1;
    const TColor32* lastOut = nullptr;
    for (int vy = clip.Top; vy < clip.Bottom; ++vy) {
        const auto sy = static_cast<int>((vy - dst.Top) * bh / dh);
        TColor32* out = target.ScanLine(vy - exposed.Top) + (clip.Left - exposed.Left);
        if (sy == lastRow) {
            std::copy(lastOut, lastOut + clip.Width(), out);
            continue;
        }
        const TColor32* src = picture.ScanLine(sy);
        for (std::size_t i = 0; i < columns.size(); ++i)
            out[i] = src[columns[i]] | 0xFF000000u;
        lastRow = sy;
        lastOut = out;
    }
}

void PaintBitmapLayer(const TBitmapLayer& layer, TBitmap32& target, const TRect& exposed)
{
    const TBitmap32& bitmap = layer.Bitmap();
    const TRect dst = layer.RoundedViewBounds();
    const TRect clip = Intersect(dst, exposed);
    if (bitmap.Empty() || clip.IsEmpty())
        return;
    const bool blend = bitmap.DrawMode == TDrawMode::dmBlend;
    const std::int64_t dw = dst.Width(), dh = dst.Height();
    const std::int64_t bw = bitmap.Width(), bh = bitmap.Height();
    std::vector<int> columns(static_cast<std::size_t>(clip.Width()));
    for (int vx = clip.Left; vx < clip.Right; ++vx)
        columns[static_cast<std::size_t>(vx - clip.Left)] = static_cast<int>((vx - dst.Left) * bw / dw);
    for (int vy = clip.Top; vy < clip.Bottom; ++vy) {
        const TColor32* src = bitmap.ScanLine(static_cast<int>((vy - dst.Top) * bh / dh));
        TColor32* out = target.ScanLine(vy - exposed.Top) + (clip.Left - exposed.Left);
        for (std::size_t i = 0; i < columns.size(); ++i)
            out[i] = blend ? BlendPixel(src[columns[i]], out[i], bitmap.MasterAlpha) : src[columns[i]];
    }
}

void Render(const TBitmap32& picture, const TLayerCollection& layers, const TRect& exposed, TBitmap32& target)
{
    target.Clear(clWhite32);
    PaintPicture(picture, layers.Geometry(), exposed, target);
    for (int i = 0; i < layers.Count(); ++i) {
        const TCustomLayer* layer = layers.Items(i);
        if (!layer->Visible())
            continue;
        if (const auto* b = dynamic_cast<const TBitmapLayer*>(layer))
            PaintBitmapLayer(*b, target, exposed);
        else
            layer->Paint(target, exposed);
    }
}

} // namespace before

void Label(benchmark::State& state)
{
    state.SetLabel(std::to_string(state.range(0)) + " px, zoom " + std::to_string(ZoomOf(state)).substr(0, 4));
}

// The picture alone, sampled afresh: the first paint after a zoom or a new picture.
void BM_Picture(benchmark::State& state)
{
    const int size = static_cast<int>(state.range(0));
    TLayerCollection layers;
    layers.SetGeometry(TViewGeometry::Make(size, size, ZoomOf(state)));
    const TBitmap32& picture = Picture(size);
    TBitmap32 target(kViewWidth, kViewHeight);
    for (auto _ : state) {
        RenderViewInto(picture, layers, kExposed, target);
        benchmark::DoNotOptimize(target.Bits());
    }
    Label(state);
}

// Qt's nearest-neighbour drawImage of the same picture into the same rectangle of a 32-bit RGB image,
// with the same background fill where the picture leaves room. The label says how many pixels of the
// picture's part Qt left untouched (a sign that it gave up rather than drew).
void BM_QtDrawImage(benchmark::State& state)
{
    const int size = static_cast<int>(state.range(0));
    const TBitmap32& picture = Picture(size);
    const QImage source(reinterpret_cast<const uchar*>(picture.Bits()), size, size, size * 4, QImage::Format_RGB32);
    const TRect shown = TViewGeometry::Make(size, size, ZoomOf(state)).BitmapRect;
    const QRectF whole(-kExposed.Left, -kExposed.Top, shown.Width(), shown.Height());
    const QRect covered = whole.toRect() & QRect(0, 0, kViewWidth, kViewHeight);
    const QRegion free = QRegion(0, 0, kViewWidth, kViewHeight) - covered;
    constexpr QRgb kUntouched = 0xFF010203u;
    QImage target(kViewWidth, kViewHeight, QImage::Format_RGB32);
    target.fill(kUntouched);
    for (auto _ : state) {
        QPainter painter(&target);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        for (const QRect& r : free)
            painter.fillRect(r, Qt::white);
        painter.drawImage(whole, source);
        painter.end();
        benchmark::DoNotOptimize(target.constBits());
    }
    long untouched = 0;
    for (int y = covered.top(); y <= covered.bottom(); ++y)
        for (int x = covered.left(); x <= covered.right(); ++x)
            untouched += target.pixel(x, y) == kUntouched;
    Label(state);
    state.SetLabel(std::to_string(size) + " px, zoom " + std::to_string(ZoomOf(state)).substr(0, 4) +
                   (untouched ? ", Qt left " + std::to_string(untouched) + " px undrawn" : std::string()));
}

void BM_Memcpy(benchmark::State& state)
{
    std::vector<TColor32> from(static_cast<std::size_t>(kViewWidth) * kViewHeight, 0xFF123456u), to(from.size());
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size() * sizeof(TColor32));
        benchmark::DoNotOptimize(to.data());
    }
}

// The picture sampled afresh and the 37 layers over it.
void BM_PictureAndLayers(benchmark::State& state)
{
    const int size = static_cast<int>(state.range(0));
    TLayerCollection layers;
    layers.SetGeometry(TViewGeometry::Make(size, size, ZoomOf(state)));
    AddTypicalLayers(layers, size, ZoomOf(state));
    const TBitmap32& picture = Picture(size);
    TBitmap32 target(kViewWidth, kViewHeight);
    for (auto _ : state) {
        RenderViewInto(picture, layers, kExposed, target);
        benchmark::DoNotOptimize(target.Bits());
    }
    Label(state);
}

// The same before the change (see namespace before).
void BM_BeforePictureAndLayers(benchmark::State& state)
{
    const int size = static_cast<int>(state.range(0));
    TLayerCollection layers;
    layers.SetGeometry(TViewGeometry::Make(size, size, ZoomOf(state)));
    AddTypicalLayers(layers, size, ZoomOf(state));
    const TBitmap32& picture = Picture(size);
    TBitmap32 target(kViewWidth, kViewHeight);
    for (auto _ : state) {
        before::Render(picture, layers, kExposed, target);
        benchmark::DoNotOptimize(target.Bits());
    }
    Label(state);
}

// A repaint during a drag: the picture from the cache (a copy) and the 37 layers.
void BM_DragRepaint(benchmark::State& state)
{
    const int size = static_cast<int>(state.range(0));
    TLayerCollection layers;
    layers.SetGeometry(TViewGeometry::Make(size, size, ZoomOf(state)));
    AddTypicalLayers(layers, size, ZoomOf(state));
    TBitmap32 target(kViewWidth, kViewHeight);
    TPictureCache cache;
    const TBitmap32& picture = Picture(size);
    for (auto _ : state) {
        RenderViewInto(picture, layers, kExposed, target, clWhite32, &cache);
        benchmark::DoNotOptimize(target.Bits());
    }
    Label(state);
}

const std::vector<std::vector<int64_t>> kCases = {{2000, 10000}, {2, 10, 37, 320}};

// Keeps each benchmark's time per iteration (the median when repeated) for the table.
class TCollectingReporter : public benchmark::ConsoleReporter
{
public:
    std::map<std::string, double> Millis;

    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (!run.error_occurred && (single || median))
                Millis[run.run_name.function_name + "/" + run.run_name.args] = ToMillis(run);
        }
        ConsoleReporter::ReportRuns(runs);
    }

private:
    static double ToMillis(const Run& run)
    {
        return run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e3;
    }
};

void PrintTable(const std::map<std::string, double>& ms)
{
    const auto get = [&](const std::string& name, const std::string& args) {
        const auto it = ms.find(name + "/" + args);
        return it == ms.end() ? -1.0 : it->second;
    };
    const double copy = get("BM_Memcpy", "");
    std::printf("\nCPU ms per 1920 x 1080 paint (medians when repeated); memcpy of the output %.3f ms\n", copy);
    std::printf("%-7s %-5s %9s %9s %8s %9s %9s %9s %8s %9s %8s\n", "size", "zoom", "picture", "Qt", "pic/Qt",
                "pic/copy", "+layers", "layers", "drag", "before", "speedup");
    for (int64_t size : kCases[0])
        for (int64_t zoom : kCases[1]) {
            const std::string args = std::to_string(size) + "/" + std::to_string(zoom);
            const double pic = get("BM_Picture", args), qt = get("BM_QtDrawImage", args);
            const double all = get("BM_PictureAndLayers", args), drag = get("BM_DragRepaint", args);
            const double old = get("BM_BeforePictureAndLayers", args);
            std::printf("%-7lld %-5.1f %9.3f %9.3f %7.2fx %8.2fx %9.3f %9.3f %8.3f %9.3f %7.2fx\n",
                        static_cast<long long>(size), static_cast<double>(zoom) / 10.0, pic, qt, pic / qt, pic / copy,
                        all, all - pic, drag, old, old / all);
        }
    std::printf("picture: sampled afresh; +layers: the same with 37 layers; layers: what they add; "
                "drag: picture from the cache plus the layers;\nbefore: picture and layers the way they were "
                "painted before (one pixel at a time); speedup: before / +layers\n");
}

} // namespace

BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Picture)->ArgsProduct(kCases)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QtDrawImage)->ArgsProduct(kCases)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PictureAndLayers)->ArgsProduct(kCases)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BeforePictureAndLayers)->ArgsProduct(kCases)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DragRepaint)->ArgsProduct(kCases)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    TCollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    PrintTable(reporter.Millis);
    benchmark::Shutdown();
    return 0;
}
