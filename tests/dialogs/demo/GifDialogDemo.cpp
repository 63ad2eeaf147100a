// Not a test: the transparent GIF dialog on a picture file, to look at and try by hand.
//   gif_dialog_demo picture.jpg [left top right bottom]
#include "ImgLib/PictureFile.h"
#include "core/Bitmap32.h"
#include "dialogs/FmGIF.h"
#include "services/MessageSeamQt.h"

#include <QApplication>
#include <QFileInfo>

#include <cstdio>

using namespace tavrin;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: gif_dialog_demo picture [left top right bottom]\n");
        return 2;
    }
    const std::string path = argv[1];
    const TPictureFormat* format =
        PictureFormats().FindByExtension(QFileInfo(argv[1]).suffix().toLower().toStdString());
    TBitmap32 picture;
    if (!format || !ReadPictureFile(path, *format, picture)) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    TBitmap32 region = picture;
    if (argc >= 6) {
        const int left = std::atoi(argv[2]), top = std::atoi(argv[3]);
        region.SetSize(std::atoi(argv[4]) - left, std::atoi(argv[5]) - top);
        for (int y = 0; y < region.Height(); ++y)
            for (int x = 0; x < region.Width(); ++x)
                region.SetPixel(x, y, picture.Pixel(left + x, top + y));
    }
    TQtMessageSeam messages;
    TFmGIF dialog(messages);
    dialog.SetImage(region);
    return dialog.exec();
}
