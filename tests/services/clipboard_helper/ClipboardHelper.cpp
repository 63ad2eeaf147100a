// Runs the program's clipboard functions on a real X display for the clipboard round-trip test.
//   clipboard_helper copy W H    puts a W x H test pattern on the clipboard, says "ready", serves it until
//                                another program takes the clipboard (or 30 s pass)
//   clipboard_helper paste FILE  reads the clipboard's picture and writes it to FILE as a binary PPM
#include "core/Bitmap32.h"
#include "services/Clipboard.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QTimer>

#include <cstdio>

using namespace tavrin;

namespace {

TBitmap32 Pattern(int width, int height)
{
    TBitmap32 b(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            b.SetPixel(x, y, MakeColor32(255, static_cast<std::uint8_t>(x * 40), static_cast<std::uint8_t>(y * 50),
                                         static_cast<std::uint8_t>(200 - x * y)));
    return b;
}

bool WritePpm(const TBitmap32& b, const QString& path)
{
    QByteArray ppm = QByteArray("P6\n") + QByteArray::number(b.Width()) + ' ' + QByteArray::number(b.Height()) +
                     "\n255\n";
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) {
            const TColor32 p = b.Pixel(x, y);
            ppm.append(static_cast<char>(RedOf(p))).append(static_cast<char>(GreenOf(p))).append(static_cast<char>(BlueOf(p)));
        }
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(ppm) == ppm.size();
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args[1] == "copy") {
        CopyBitmapToClipboard(Pattern(args[2].toInt(), args[3].toInt()));
        QObject::connect(QGuiApplication::clipboard(), &QClipboard::changed, &app, [](QClipboard::Mode mode) {
            if (mode == QClipboard::Clipboard && !QGuiApplication::clipboard()->ownsClipboard()) QGuiApplication::quit();
        });
        QTimer::singleShot(30000, &app, &QGuiApplication::quit);
        std::printf("ready\n");
        std::fflush(stdout);
        return app.exec();
    }
    if (args.size() == 3 && args[1] == "paste") {
        TBitmap32 pasted;
        if (ReadBitmapFromClipboard(pasted).State != TClipboardPicture::TState::Ok) return 2;
        return WritePpm(pasted, args[2]) ? 0 : 3;
    }
    std::fprintf(stderr, "usage: clipboard_helper copy W H | paste FILE\n");
    return 1;
}
