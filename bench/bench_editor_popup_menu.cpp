// Opening the editor's context menu after a right press on a picture without guides, so the region
// is the whole picture: the press takes the region, the menu opens and paints once, including the
// preview's thumbnail of the region. Compared with a plain menu of the same captions opened and
// painted the same way; the ratio is printed at the end.
#include "editor/EditorPopupMenu.h"
#include "editor/FmEditor.h"
#include "editor/Image32.h"
#include "services/MessageSeamScripted.h"

#include <QApplication>
#include <QMenu>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <map>

using namespace tavrin;

namespace {

TScriptedMessageSeam gMessages;
std::map<int, std::unique_ptr<TFmEditor>> gEditors; // by picture side; destroyed in main
std::map<std::string, double> gMeanMs;

TFmEditor& EditorOf(int side)
{
    auto& editor = gEditors[side];
    if (!editor) {
        editor = std::make_unique<TFmEditor>(gMessages);
        TBitmap32& b = editor->Image().Bitmap();
        b.SetSize(side, side);
        for (int y = 0; y < side; ++y) {
            TColor32* row = b.ScanLine(y);
            for (int x = 0; x < side; ++x)
                row[x] = 0xFF000000u | static_cast<TColor32>(x * 31 + y * 17);
        }
        editor->Image().BitmapChanged();
        editor->UpdateImageSize();
        editor->resize(800, 600);
        editor->show();
        QApplication::processEvents();
    }
    return *editor;
}

// Opens `menu`, paints it once as its first expose would and closes it; returns the time taken.
template <typename Before> double OpenAndPaintMs(QMenu& menu, Before before)
{
    const auto start = std::chrono::steady_clock::now();
    before();
    menu.popup(QPoint(100, 100));
    (void)menu.grab(); // one full paint, as the first expose gives

    const auto end = std::chrono::steady_clock::now();
    menu.hide();
    QApplication::processEvents();
    return std::chrono::duration<double, std::milli>(end - start).count();
}

void Record(benchmark::State& state, const std::string& name, double totalMs)
{
    gMeanMs[name] = totalMs / static_cast<double>(state.iterations());
}

void BM_EditorMenuAfterRightPress(benchmark::State& state)
{
    const int side = static_cast<int>(state.range(0));
    TFmEditor& editor = EditorOf(side);
    double total = 0;
    for (auto _ : state) {
        const double ms = OpenAndPaintMs(editor.PopupMenu(), [&] {
            editor.ImageMouseDown(TMouseButton::mbRight, 0, 10, 10, nullptr);
            editor.ImageMouseUp(TMouseButton::mbRight, 0, 10, 10, nullptr);
        });
        state.SetIterationTime(ms / 1000.0);
        total += ms;
    }
    const auto& region = editor.Document().FSelBitmap;
    state.SetLabel("region " + std::to_string(region.Width()) + " x " + std::to_string(region.Height()));
    Record(state, "editor " + std::to_string(side), total);
}

void BM_PlainMenuSameCaptions(benchmark::State& state)
{
    QMenu menu;
    for (const char* caption : {"이미지맵 태그 생성", "이미지 저장(&S)", "투명 GIF로 저장(&G)", "작업 취소(&C)", "test"})
        menu.addAction(QString::fromUtf8(caption));
    menu.addMenu(QStringLiteral("색상 복사"))->addAction(QStringLiteral("HTML 방식"));
    double total = 0;
    for (auto _ : state) {
        const double ms = OpenAndPaintMs(menu, [] {});
        state.SetIterationTime(ms / 1000.0);
        total += ms;
    }
    Record(state, "plain", total);
}

} // namespace

BENCHMARK(BM_EditorMenuAfterRightPress)->Arg(100)->Arg(10000)->UseManualTime()->Iterations(8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainMenuSameCaptions)->UseManualTime()->Iterations(50)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (gMeanMs.count("plain") && gMeanMs["plain"] > 0)
        for (const auto& [name, ms] : gMeanMs)
            if (name != "plain")
                std::printf("%s: %.1f ms per opening, %.1f x a plain menu (%.2f ms)\n", name.c_str(), ms,
                            ms / gMeanMs["plain"], gMeanMs["plain"]);
    gEditors.clear(); // windows go before the application object
    return 0;
}
