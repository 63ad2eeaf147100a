#include "dialogs/GifPreview.h"

#include "core/RoundEven.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <vector>

namespace tavrin {
namespace {

// The largest size of a w x h picture that fits the control with its aspect ratio kept.
QSize FittedSize(int w, int h, QSize control)
{
    if (w <= 0 || h <= 0 || control.width() <= 0 || control.height() <= 0) return {};
    const double scale = std::min(double(control.width()) / w, double(control.height()) / h);
    return {std::max(1, int(RoundEven(w * scale))), std::max(1, int(RoundEven(h * scale)))};
}

// Nearest neighbour: destination pixel d takes source pixel floor((d + 0.5) * source / destination).
std::vector<int> SourcePositions(int source, int destination)
{
    std::vector<int> positions(static_cast<std::size_t>(destination));
    for (int d = 0; d < destination; ++d)
        positions[d] =
            std::min(source - 1, int((2 * std::int64_t(d) + 1) * source / (2 * std::int64_t(destination))));
    return positions;
}

} // namespace

TGifPreview::TGifPreview(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TGifPreview::SetPicture(const TIndexedImage* picture)
{
    FPicture = picture;
    Rescale();
    update();
}

void TGifPreview::Rescale()
{
    FScaled = QImage();
    if (!FPicture || FPicture->Empty()) return;
    const QSize size = FittedSize(FPicture->Width, FPicture->Height, this->size());
    if (size.isEmpty()) return;
    std::vector<QRgb> colours(256, qRgb(0, 0, 0));
    for (std::size_t i = 0; i < FPicture->Palette.size() && i < 256; ++i)
        colours[i] = qRgb(FPicture->Palette[i].R, FPicture->Palette[i].G, FPicture->Palette[i].B);
    const std::vector<int> columns = SourcePositions(FPicture->Width, size.width());
    const std::vector<int> rows = SourcePositions(FPicture->Height, size.height());
    FScaled = QImage(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        const std::uint8_t* source =
            FPicture->Indices.data() + std::size_t(rows[y]) * std::size_t(FPicture->Width);
        auto* line = reinterpret_cast<QRgb*>(FScaled.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            line[x] = colours[source[columns[x]]];
    }
}

QRect TGifPreview::PictureRect() const
{
    return FScaled.isNull() ? QRect() : QRect(QPoint(0, 0), FScaled.size());
}

TColor TGifPreview::BackgroundColor() const
{
    const QColor c = palette().color(backgroundRole());
    return MakeColor(std::uint8_t(c.red()), std::uint8_t(c.green()), std::uint8_t(c.blue()));
}

TColor TGifPreview::ColorAt(int x, int y) const
{
    if (!PictureRect().contains(x, y)) return BackgroundColor();
    const QRgb p = FScaled.pixel(x, y);
    return MakeColor(std::uint8_t(qRed(p)), std::uint8_t(qGreen(p)), std::uint8_t(qBlue(p)));
}

void TGifPreview::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(backgroundRole()));
    if (!FScaled.isNull()) painter.drawImage(0, 0, FScaled);
}

void TGifPreview::resizeEvent(QResizeEvent*)
{
    Rescale();
}

void TGifPreview::mousePressEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    if (OnMouseDown) OnMouseDown(event->button(), p.x(), p.y());
}

} // namespace tavrin
