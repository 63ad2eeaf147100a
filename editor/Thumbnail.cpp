#include "editor/Thumbnail.h"

#include "core/Bitmap32.h"
#include "core/RoundEven.h"

#include <QPainter>

namespace tavrin {

QSize ThumbnailSize(int maxWidth, int maxHeight, int width, int height)
{
    if (maxWidth <= 0 || maxHeight <= 0)
        return {0, 0};
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width <= maxWidth && height <= maxHeight)
        return {width, height};
    int w = width, h = height, cw = width, ch = height;
    // Each step sets one side to the box; two steps always reach a fit, the bound is a safety net.
    for (int step = 0; step < 8 && (step == 0 || w > maxWidth || h > maxHeight); ++step) {
        if (h < w && w > maxWidth) {
            w = maxWidth;
            h = RoundEven(static_cast<long double>(maxWidth) * ch / cw);
        } else {
            h = maxHeight;
            w = ch == 0 ? 0 : RoundEven(static_cast<long double>(maxHeight) * cw / ch);
        }
        cw = w;
        ch = h;
    }
    return {std::min(w, maxWidth), std::min(h, maxHeight)};
}

namespace {

// Opaque RGB32 pixels, whatever alpha the source carried.
QImage Opaque(QImage image)
{
    if (image.format() != QImage::Format_RGB32)
        image = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            row[x] |= 0xFF000000u;
    }
    return image;
}

} // namespace

QImage MakeThumbnail(int maxWidth, int maxHeight, const QImage& source, bool keepSize)
{
    const QSize size = ThumbnailSize(maxWidth, maxHeight, source.width(), source.height());
    QImage dest;
    if (size.isEmpty())
        dest = QImage(); // a side of 0: nothing to draw
    else if (size != source.size())
        // Qt's smooth shrink of an RGB32 image is an area average at any factor (within one level).
        dest = Opaque(source.convertToFormat(QImage::Format_RGB32)
                          .scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    else
        dest = Opaque(source.copy());
    if (keepSize)
        return dest.isNull() ? QImage(size, QImage::Format_RGB32) : dest;
    QImage padded(std::max(maxWidth, 0), std::max(maxHeight, 0), QImage::Format_RGB32);
    padded.fill(Qt::white);
    if (!dest.isNull()) {
        QPainter painter(&padded);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(0, 0, dest);
    }
    return padded;
}

QImage ImageView(const TBitmap32& bitmap)
{
    if (bitmap.Empty())
        return {};
    return QImage(reinterpret_cast<const uchar*>(bitmap.Bits()), bitmap.Width(), bitmap.Height(),
                  static_cast<qsizetype>(bitmap.Width()) * 4, QImage::Format_RGB32);
}

QImage MakeThumbnail(int maxWidth, int maxHeight, const TBitmap32& source, bool keepSize)
{
    return MakeThumbnail(maxWidth, maxHeight, ImageView(source), keepSize);
}

} // namespace tavrin
