// Cost of painting one exposed 1920 x 1080 rectangle of the view, by picture size and zoom.
// The figures must not grow with the picture: only the exposed area and the layers over it count.
#include "core/BitmapLayer.h"
#include "core/InfoLayer.h"
#include "core/LayerCollection.h"
#include "core/LayerRenderer.h"
#include "core/RubberbandLayer.h"

#include <benchmark/benchmark.h>

using namespace tavrin;

namespace {

void AddLayers(TLayerCollection& layers, int size, float scale)
{
    for (int i = 0; i < 12; ++i) { // guides across the whole view
        auto* g = layers.Add<TInfoLayer>();
        g->Bitmap().SetSize(2, 1000);
        g->Bitmap().Clear(0x0000FFFF);
        const float at = 40.0f + i * 150.0f;
        g->SetBounds(i % 2 ? TFloatBounds{at, 0, at + 2, size * scale} : TFloatBounds{0, at, size * scale, at + 2});
    }
    for (int i = 0; i < 12; ++i) { // areas and selections in image space
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
    auto* highlight = layers.Add<TBitmapLayer>();
    highlight->SetInImageSpace(true);
    highlight->Bitmap().SetSize(2, 2);
    highlight->Bitmap().Clear(0xFFFF0000);
    highlight->Bitmap().DrawMode = TDrawMode::dmBlend;
    highlight->Bitmap().MasterAlpha = 20;
    highlight->SetBounds({0, 0, 1000, 800});
}

void BM_RenderExposed(benchmark::State& state)
{
    const int size = static_cast<int>(state.range(0));
    const float scale = static_cast<float>(state.range(1)) / 100.0f;
    TBitmap32 picture(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            picture.ScanLine(y)[x] = 0xFF000000u | static_cast<TColor32>(x * 7 + y * 13);
    TLayerCollection layers;
    layers.SetGeometry(TViewGeometry::Make(size, size, scale));
    AddLayers(layers, size, scale);
    TBitmap32 target;
    const TRect exposed{100, 100, 100 + 1920, 100 + 1080};
    for (auto _ : state) {
        RenderView(picture, layers, exposed, target);
        benchmark::DoNotOptimize(target.Bits());
    }
    state.SetLabel(std::to_string(size) + " px, zoom " + std::to_string(state.range(1)) + " %");
}

} // namespace

BENCHMARK(BM_RenderExposed)
    ->ArgsProduct({{2000, 10000}, {20, 100, 370, 3200}})
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
