// Polygon areas on large pictures: what ten of them hold in memory beside a 6000 x 4000 picture
// (resident set size, printed first), and what one more vertex costs on a 10000 x 10000 picture.
// A polygon keeps a canvas of its own box, so neither figure depends on the picture's size.
#include "core/Bitmap32.h"
#include "core/EditorView.h"
#include "core/ImgEditor.h"
#include "core/ImgMap.h"
#include "core/LayerCollection.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <memory>

using namespace tavrin;

namespace {

class TPlainView : public IEditorView
{
public:
    TPlainView(int width, int height)
    {
        FPicture.SetSize(width, height);
        FPicture.Clear(0xFF406080);
        FLayers.SetGeometry(TViewGeometry::Make(width, height, 1.0f));
    }
    TBitmap32& Bitmap() override { return FPicture; }
    TLayerCollection& Layers() override { return FLayers; }
    float Scale() const override { return 1.0f; }
    int ViewWidth() const override { return FPicture.Width(); }
    int ViewHeight() const override { return FPicture.Height(); }

private:
    TBitmap32 FPicture;
    TLayerCollection FLayers;
};

long ResidentBytes()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * 4096;
}

// A polygon of six vertices within a box of about 300 x 250 pixels at (x, y).
void ClickPolygon(TImgEditor& doc, int x, int y)
{
    doc.FToolMode = TToolMode::tmNone;
    doc.BeginPolygon();
    doc.FToolMode = TToolMode::tmMapPolygon;
    const TPoint corners[] = {{0, 0}, {300, 20}, {280, 250}, {150, 120}, {20, 240}, {60, 100}};
    for (TPoint c : corners)
        doc.AddPolygonPoint(x + c.X, y + c.Y);
}

void ReportMemory()
{
    constexpr int w = 6000, h = 4000;
    const long start = ResidentBytes();
    auto view = std::make_unique<TPlainView>(w, h);
    auto doc = std::make_unique<TImgEditor>();
    doc->AttachView(*view);
    const long withPicture = ResidentBytes();
    for (int i = 0; i < 10; ++i)
        ClickPolygon(*doc, 200 + i * 500, 300 + i * 300);
    const long withPolygons = ResidentBytes();
    const double picture = 4.0 * w * h;
    std::printf("6000 x 4000 picture: %.1f MB resident for the picture (%.3f x 4WH); with ten polygon areas "
                "%.1f MB (%.3f x 4WH); the polygons add %.2f MB\n",
                (withPicture - start) / 1e6, (withPicture - start) / picture, (withPolygons - start) / 1e6,
                (withPolygons - start) / picture, (withPolygons - withPicture) / 1e6);
}

// The sixth vertex of a polygon about 300 x 250 pixels across.
void BM_AddVertexOnHugePicture(benchmark::State& state)
{
    static auto view = std::make_unique<TPlainView>(10000, 10000);
    TImgEditor doc;
    doc.AttachView(*view);
    for (auto _ : state) {
        state.PauseTiming();
        if (doc.FPolygon)
            view->Layers().Destroy(doc.FPolygon);
        doc.FToolMode = TToolMode::tmNone;
        doc.BeginPolygon();
        doc.FToolMode = TToolMode::tmMapPolygon;
        for (TPoint c : {TPoint{4000, 4000}, TPoint{4300, 4020}, TPoint{4280, 4250}, TPoint{4150, 4120}})
            doc.AddPolygonPoint(c.X, c.Y);
        state.ResumeTiming();
        doc.AddPolygonPoint(4020, 4240);
    }
}

} // namespace

BENCHMARK(BM_AddVertexOnHugePicture)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    ReportMemory();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
