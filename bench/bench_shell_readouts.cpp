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

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>

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

TFrame* gFrame = nullptr; // made in main, gone before the application object

TFrame& Frame() { return *gFrame; }

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

// The read-outs alone: a pointer move with no button down (nothing to drag, the view is not
// repainted) and the status bar's flush of the panels it changed.
void BM_ReadoutsAlone(benchmark::State& state)
{
    TFrame& f = Frame();
    SubscribeReadouts(*f.Editor, *f.Panel, *f.Bar);
    int step = 0;
    for (auto _ : state) {
        ++step;
        f.Editor->ImageMouseMove(0, 300 + step % 400, 200 + step % 300, nullptr);
        QApplication::processEvents();
    }
}

// Keeps each run's CPU time per move (the machine is shared: wall time mostly measures the others)
// so that the ratio can be printed after the table.
class TRatioReporter : public benchmark::ConsoleReporter
{
public:
    std::map<int, double> Micros; // by argument: 0 without, 1 with read-outs
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            const std::string name = run.benchmark_name();
            if (run.run_type == Run::RT_Iteration && run.iterations > 0 && name.rfind("BM_DragMove/", 0) == 0)
            {
                const int arg = name.at(12) - '0';
                const double t = run.GetAdjustedCPUTime();
                Micros[arg] = Micros.count(arg) ? std::min(Micros[arg], t) : t; // best of the repetitions
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

} // namespace

BENCHMARK(BM_DragMove)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond)->MinTime(1.0)->Repetitions(4);
BENCHMARK(BM_ReadoutsAlone)->Unit(benchmark::kMicrosecond)->MinTime(1.0);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    auto frame = std::make_unique<TFrame>();
    gFrame = frame.get();
    TRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    if (reporter.Micros.count(0) && reporter.Micros.count(1) && reporter.Micros[0] > 0)
        std::printf("drag move, CPU time with read-outs / without: %.3f (%+.1f us a move)\n",
                    reporter.Micros[1] / reporter.Micros[0], reporter.Micros[1] - reporter.Micros[0]);
    std::fflush(stdout);
    frame.reset();
    benchmark::Shutdown();
    return 0;
}
