// Shows one editor window on a generated picture, to try gestures by hand (e.g. under Xvfb).
// Usage: editor_demo [zoom-steps] [screenshot.png]
//   zoom-steps: number of +0.1 zoom steps before showing (e.g. 20 for 300 %)
//   screenshot.png: grab the window after it is shown, write it there and quit
#include "core/InfoLayer.h"
#include "editor/FmEditor.h"
#include "editor/Image32.h"
#include "services/MessageSeamQt.h"

#include <QApplication>
#include <QTimer>

using namespace tavrin;

namespace {

void Paint(TBitmap32& b, int w, int h)
{
    b.SetSize(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool check = ((x / 40) + (y / 40)) % 2 == 0;
            const auto r = static_cast<std::uint8_t>(x * 255 / w), g = static_cast<std::uint8_t>(y * 255 / h);
            b.SetPixel(x, y, MakeColor32(255, r, g, check ? 200 : 120));
        }
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    TQtMessageSeam messages;
    TFmEditor editor(messages);
    editor.setWindowTitle(QStringLiteral("새 그림1"));
    editor.resize(900, 700);
    Paint(editor.Image().Bitmap(), 800, 600);
    editor.Image().BitmapChanged();
    editor.UpdateImageSize();
    TImgEditor& doc = editor.Document();
    doc.FGuideColor = MakeColor(0, 160, 255);
    for (int x : {100, 300, 500}) {
        doc.AddVerticalGuide(2, 600);
        doc.DragGuideStep(x, 0);
    }
    for (int y : {120, 360}) {
        doc.AddHorizontalGuide(2, 800);
        doc.DragGuideStep(0, y);
    }
    doc.FDragGuide = nullptr;
    doc.SetViewSelected(true);
    doc.PressUpdate(TMouseButton::mbLeft, 200, 200, nullptr); // the cell around (200, 200)
    editor.SetToolMode(TToolMode::tmMapRect);
    editor.ImageMouseDown(TMouseButton::mbLeft, 0, 520, 380, nullptr);
    editor.ImageMouseMove(ssLeft, 700, 520, nullptr);
    editor.ImageMouseUp(TMouseButton::mbLeft, 0, 700, 520, nullptr);
    editor.SetToolMode(TToolMode::tmNone);

    const int steps = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 0;
    for (int i = 0; i < steps; ++i)
        editor.ChangeScale(0.1f);
    editor.show();
    if (argc > 2) {
        const QString path = QString::fromLocal8Bit(argv[2]);
        QTimer::singleShot(500, [&editor, &app, path] {
            editor.grab().save(path);
            app.exit(0); // not quit(): that would ask every window to close
        });
    }
    return app.exec();
}
