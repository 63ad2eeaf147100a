#include "ImgLib/QtImageBridge.h"

#include "ImgLib/PixelBudget.h"
#include "core/Bitmap32.h"

#include <QImageReader>
#include <QPainter>

#include <algorithm>
#include <cstring>

namespace tavrin {

QImage WhiteCanvas(int width, int height)
{
    QImage canvas(width, height, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    return canvas;
}

TBitmap32 BitmapFromImage(const QImage& image)
{
    // ARGB32 words are $AARRGGBB, the same as TColor32.
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    TBitmap32 bitmap(argb.width(), argb.height());
    for (int y = 0; y < argb.height(); ++y) {
        const auto* source = reinterpret_cast<const TColor32*>(argb.constScanLine(y));
        std::transform(source, source + argb.width(), bitmap.ScanLine(y),
                       [](TColor32 p) { return p | 0xFF000000u; });
    }
    return bitmap;
}

TBitmap32 BitmapOverWhite(const QImage& image)
{
    if (!image.hasAlphaChannel()) return BitmapFromImage(image);
    QImage canvas = WhiteCanvas(image.width(), image.height());
    QPainter painter(&canvas);
    painter.drawImage(0, 0, image);
    painter.end();
    return BitmapFromImage(canvas);
}

void MatchQtAllocationLimitToBudget()
{
    constexpr std::int64_t kBudgetMegabytes = kPixelBudget * 4 / (1024 * 1024);
    QImageReader::setAllocationLimit(static_cast<int>(kBudgetMegabytes) + 1);
}

} // namespace tavrin
