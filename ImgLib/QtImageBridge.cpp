#include "ImgLib/QtImageBridge.h"

#include "ImgLib/PixelBudget.h"
#include "core/Bitmap32.h"

#include <QImageReader>
#include <QList>
#include <QPainter>

#include <algorithm>
#include <array>
#include <cstring>

namespace tavrin {

QImage WhiteCanvas(int width, int height)
{
    QImage canvas(width, height, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    return canvas;
}

QImage ImageOnBitmap(TBitmap32& bitmap, QImage::Format format)
{
    return QImage(reinterpret_cast<uchar*>(bitmap.Bits()), bitmap.Width(), bitmap.Height(),
                  static_cast<qsizetype>(bitmap.Width()) * 4, format);
}

void MakeOpaque(TBitmap32& bitmap)
{
    TColor32* p = bitmap.Bits();
    std::transform(p, p + static_cast<std::size_t>(bitmap.Width()) * bitmap.Height(), p,
                   [](TColor32 c) { return c | 0xFF000000u; });
}

namespace {

constexpr int kStripRows = 256;

void CopyOpaque(const TColor32* source, int width, TColor32* target)
{
    std::transform(source, source + width, target, [](TColor32 p) { return p | 0xFF000000u; });
}

} // namespace

TBitmap32 BitmapFromImage(const QImage& image)
{
    // ARGB32 and RGB32 words are $AARRGGBB, the same as TColor32. Colour-table images are looked up
    // directly; other formats are converted a strip at a time, so that no second picture-sized image is made.
    TBitmap32 bitmap(image.width(), image.height());
    if (image.format() == QImage::Format_ARGB32 || image.format() == QImage::Format_RGB32) {
        for (int y = 0; y < image.height(); ++y)
            CopyOpaque(reinterpret_cast<const TColor32*>(image.constScanLine(y)), image.width(),
                       bitmap.ScanLine(y));
    } else if (image.format() == QImage::Format_Indexed8) {
        std::array<TColor32, 256> colors;
        colors.fill(clBlack32); // indices beyond a short table are black, as Qt draws them
        const QList<QRgb> table = image.colorTable();
        for (qsizetype i = 0; i < std::min<qsizetype>(table.size(), 256); ++i)
            colors[static_cast<std::size_t>(i)] = table[i] | 0xFF000000u;
        const int width = image.width();
        for (int y = 0; y < image.height(); ++y) {
            const uchar* source = image.constScanLine(y);
            TColor32* target = bitmap.ScanLine(y);
            for (int x = 0; x < width; ++x)
                target[x] = colors[source[x]];
        }
    } else {
        for (int top = 0; top < image.height(); top += kStripRows) {
            const QImage strip = image.copy(0, top, image.width(), std::min(kStripRows, image.height() - top))
                                     .convertToFormat(QImage::Format_ARGB32);
            for (int y = 0; y < strip.height(); ++y)
                CopyOpaque(reinterpret_cast<const TColor32*>(strip.constScanLine(y)), strip.width(),
                           bitmap.ScanLine(top + y));
        }
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
