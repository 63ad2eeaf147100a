// What the status-bar read-outs add to a drag: one pointer move over a 10000 x 10000 picture (a
// selection being dragged, the view repainted synchronously, then the event loop flushing what
// else changed), with and without the tool panel and status bar following the pointer.
#include "editor/FmEditor.h"
#include "editor/Image32.h"
#include "services/MessageSeamScripted.h"
#include "shell/Readouts.h"
#include "shell/StatusBar.h"
#include "shell/ToolPanel.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QMainWindow>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>

using namespace tavrin;

namespace {

TScriptedMessageSeam gMessages;

struct TFrame
{
    QMainWindow Window;
    TFmEditor* Editor = nullptr;
    TToolPanel* Panel = nullptr;
    TMainStatusBar* Bar = nullptr;
    TColor DialogColor{0x008000};

    TFrame()
    {
        auto* central = new QWidget(&Window);
        auto* row = new QHBoxLayout(central);
        row->setContentsMargins(0, 0, 0, 0);
        Panel = new TToolPanel([this] { return Editor; }, DialogColor, central);
        Editor = new TFmEditor(gMessages, central);
        row->addWidget(Panel);
        row->addWidget(Editor, 1);
        Window.setCentralWidget(central);
        Bar = new TMainStatusBar(&Window);
        Window.setStatusBar(Bar);

        TBitmap32& b = Editor->Image().Bitmap();
        b.SetSize(10000, 10000);
        for (int y = 0; y < b.Height(); ++y) {
            TColor32* line = b.ScanLine(y);
            for (int x = 0; x < b.Width(); ++x)
                line[x] = 0xFF000000u | static_cast<TColor32>(x * 31 + y * 17);
        }
        Editor->Image().BitmapChanged();
        Editor->UpdateImageSize();
        Window.resize(1280, 800);
        Window.show();
        QApplication::processEvents();
        Editor->SetToolMode(TToolMode::tmSelect);
    }
};

TFrame& Frame()
{
    static TFrame frame;
    return frame;
}

void BM_DragMove(benchmark::State& state)
{
    TFrame& f = Frame();
    const bool readouts = state.range(0) != 0;
    f.Editor->OnChangeMousePosition = nullptr;
    f.Editor->OnImgMouseDown = nullptr;
    if (readouts)
        SubscribeReadouts(*f.Editor, *f.Panel, *f.Bar);
    f.Editor->ImageMouseDown(TMouseButton::mbLeft, ssLeft, 100, 100, nullptr);
    int step = 0;
    for (auto _ : state) {
        ++step;
        f.Editor->ImageMouseMove(ssLeft, 300 + step % 400, 200 + step % 300, nullptr);
        QApplication::processEvents(); // whatever the move left to paint, the status bar included
    }
    f.Editor->ImageMouseUp(TMouseButton::mbLeft, ssLeft, 300, 200, nullptr);
    f.Editor->Document().DeleteLastLayer();
    state.SetLabel(readouts ? "with read-outs" : "without read-outs");
}

// Keeps each run's time per move so that the ratio can be printed after the table.
class TRatioReporter : public benchmark::ConsoleReporter
{
public:
    std::map<std::string, double> Seconds;
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration && run.iterations > 0)
                Seconds[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
};

} // namespace

BENCHMARK(BM_DragMove)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond)->MinTime(2.0);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    TRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto without = reporter.Seconds.find("BM_DragMove/0");
    const auto with = reporter.Seconds.find("BM_DragMove/1");
    if (without != reporter.Seconds.end() && with != reporter.Seconds.end() && without->second > 0)
        std::printf("drag move with read-outs / without: %.3f (+%.1f us a move)\n", with->second / without->second,
                    with->second - without->second);
    benchmark::Shutdown();
    return 0;
}
