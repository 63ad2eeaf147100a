// Loads one picture file the way the program does (reader chosen by the file's ending) and reports the
// outcome and how much the process's peak resident memory grew while loading:
//   ok <width> <height> <peak growth in KiB>      or      refused <peak growth in KiB> <reason>
#include "ImgLib/PictureFile.h"
#include "ImgLib/PictureFormats.h"
#include "core/Bitmap32.h"

#include <QGuiApplication>

#include <cstdio>
#include <string>
#include <sys/resource.h>

namespace {

long PeakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv); // the metafile readers paint text
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s picture-file\n", argv[0]);
        return 2;
    }
    const std::string path = argv[1];
    const std::string ending = path.size() >= 3 ? path.substr(path.size() - 3) : "";
    const tavrin::TPictureFormat* format = tavrin::PictureFormats().FindByExtension(ending);
    if (!format) {
        std::fprintf(stderr, "no reader for %s\n", path.c_str());
        return 2;
    }
    const long before = PeakKilobytes();
    tavrin::TBitmap32 bitmap;
    const tavrin::TReadResult result = tavrin::ReadPictureFile(path, *format, bitmap);
    const long growth = PeakKilobytes() - before;
    if (result.Ok)
        std::printf("ok %d %d %ld\n", bitmap.Width(), bitmap.Height(), growth);
    else
        std::printf("refused %ld %s\n", growth, result.Error.c_str());
    return 0;
}
