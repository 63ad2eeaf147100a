// Runs the program's clipboard functions on a real X display for the clipboard round-trip test.
//   clipboard_helper copy W H    puts a W x H test pattern on the clipboard, says "ready", serves it until
//                                another program takes the clipboard (or 30 s pass)
//   clipboard_helper paste FILE  reads the clipboard's picture and writes it to FILE as a binary PPM (not
//                                written when FILE is "-"); prints "ok W H KIB", "none KIB" or
//                                "refused KIB" and the reason on the next line, KIB being how much the
//                                peak resident memory grew while reading; exits 0, 2 (no picture) or 4
//                                (refused)
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

// A field of /proc/self/status in KiB ("VmRSS", "VmHWM").
long StatusKilobytes(const char* field)
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(QByteArray(field) + ':')) return line.mid(qstrlen(field) + 1).trimmed().split(' ')[0].toLong();
    return -1;
}

// The peak resident memory starts again from the present. The kernel keeps the peak across exec, so
// without this a child of a large test process would start with its parent's peak.
void ResetPeak()
{
    QFile clear("/proc/self/clear_refs");
    if (clear.open(QIODevice::WriteOnly)) clear.write("5");
}

int Paste(const QString& path)
{
    TBitmap32 pasted;
    ResetPeak();
    const long before = StatusKilobytes("VmRSS");
    const TClipboardPicture read = ReadBitmapFromClipboard(pasted);
    const long growth = StatusKilobytes("VmHWM") - before;
    switch (read.State) {
    case TClipboardPicture::TState::Ok:
        std::printf("ok %d %d %ld\n", pasted.Width(), pasted.Height(), growth);
        return path == "-" || WritePpm(pasted, path) ? 0 : 3;
    case TClipboardPicture::TState::NoPicture:
        std::printf("none %ld\n", growth);
        return 2;
    case TClipboardPicture::TState::Unreadable:
        break;
    }
    std::printf("refused %ld\n%s\n", growth, read.Detail.toUtf8().constData());
    return 4;
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
    if (args.size() == 3 && args[1] == "paste") return Paste(args[2]);
    std::fprintf(stderr, "usage: clipboard_helper copy W H | paste FILE\n");
    return 1;
}
