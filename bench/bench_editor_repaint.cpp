// One synchronous full repaint of the image view during a drag, as every pointer move does:
// a 1920 x 1080 viewport over a 10000 x 10000 picture with guides, selections and areas.
#include "core/ImgMap.h"
#include "core/InfoLayer.h"
#include "editor/FmEditor.h"
#include "editor/Image32.h"
#include "services/MessageSeamScripted.h"

#include <QApplication>
#include <QScrollArea>
#include <QScrollBar>
#include <benchmark/benchmark.h>

using namespace tavrin;

namespace {

TScriptedMessageSeam gMessages;
// Made by the first benchmark, destroyed in main while the application object still exists.
std::unique_ptr<TFmEditor> gEditor;

std::unique_ptr<TFmEditor> MakeEditor()
{
    auto editor = std::make_unique<TFmEditor>(gMessages);
    TBitmap32& b = editor->Image().Bitmap();
    b.SetSize(10000, 10000);
    for (int y = 0; y < b.Height(); ++y) {
        TColor32* row = b.ScanLine(y);
        for (int x = 0; x < b.Width(); ++x)
            row[x] = 0xFF000000u | static_cast<TColor32>(x * 31 + y * 17);
    }
    editor->Image().BitmapChanged();
    editor->UpdateImageSize();
    TImgEditor& doc = editor->Document();
    for (int i = 0; i < 10; ++i) {
        doc.AddVerticalGuide(2, 10000);
        doc.DragGuideStep(40 + i * 150, 0);
        doc.AddHorizontalGuide(2, 10000);
        doc.DragGuideStep(0, 30 + i * 90);
    }
    doc.FDragGuide = nullptr;
    for (int i = 0; i < 10; ++i) {
        auto* band = doc.CreateSelectionBand();
        band->SetVisible(true);
        const float x = 30.0f + i * 80;
        band->SetBounds({x, x, x + 400, x + 250});
        doc.FDownPos = {static_cast<int>(x) + 50, static_cast<int>(x) + 20};
        doc.AddRectArea({static_cast<int>(x) + 350, static_cast<int>(x) + 220});
    }
    // Size the window so that the scroll box shows 1920 x 1080.
    editor->resize(1920 + 40 + 20, 1080 + 40 + 20);
    editor->show();
    QApplication::processEvents();
    return editor;
}

void BM_FullRepaintDuringDrag(benchmark::State& state)
{
    if (!gEditor)
        gEditor = MakeEditor();
    TFmEditor* editor = gEditor.get();
    editor->ChangeScale(0);
    const float target = static_cast<float>(state.range(0)) / 100.0f;
    editor->ChangeScale(target - 1.0f);
    QApplication::processEvents();
    editor->ScrollBox().horizontalScrollBar();
    for (auto _ : state)
        editor->Image().repaint();
    state.SetLabel("zoom " + std::to_string(editor->GetScalePercent()) + " %, viewport " +
                   std::to_string(editor->ScrollBox().viewport()->width()) + " x " +
                   std::to_string(editor->ScrollBox().viewport()->height()));
}

} // namespace

BENCHMARK(BM_FullRepaintDuringDrag)->Arg(20)->Arg(100)->Arg(800)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    gEditor.reset(); // a window must go before the application object
    return 0;
}
