#include "services/Clipboard.h"

#include "ImgLib/PixelBudget.h"
#include "ImgLib/QtImageBridge.h"
#include "ImgLib/ReadResult.h"
#include "core/Bitmap32.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QMimeData>

#include <memory>
#include <new>

namespace tavrin {
namespace {

QImage ImageOf(const TBitmap32& bitmap)
{
    QImage image(bitmap.Width(), bitmap.Height(), QImage::Format_RGB32);
    for (int y = 0; y < bitmap.Height(); ++y) {
        const TColor32* source = bitmap.ScanLine(y);
        auto* target = reinterpret_cast<TColor32*>(image.scanLine(y));
        for (int x = 0; x < bitmap.Width(); ++x)
            target[x] = source[x] | 0xFF000000u;
    }
    return image;
}

// Encoded offers, the ones every program reads first. Qt's own in-process image comes last.
constexpr const char* kPreferredFormats[] = {"image/png", "image/bmp", "image/x-bmp", "image/x-MS-bmp",
                                             "image/jpeg", "image/tiff", "image/x-icon", "image/gif"};

TClipboardPicture TooLarge(qint64 width, qint64 height)
{
    return {TClipboardPicture::TState::TooLarge, QString::fromStdString(PictureTooLargeError(width, height))};
}

// Decodes one encoded offer; its header is checked against the budget first.
TClipboardPicture Decode(const QByteArray& bytes, QImage& image)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    if (!reader.canRead()) return {};
    const QSize size = reader.size();
    if (size.isValid() && !FitsPixelBudget(size.width(), size.height())) return TooLarge(size.width(), size.height());
    MatchQtAllocationLimitToBudget();
    if (!reader.read(&image)) return {};
    return {TClipboardPicture::TState::Ok, {}};
}

} // namespace

void CopyBitmapToClipboard(const TBitmap32& bitmap)
{
    auto data = std::make_unique<QMimeData>();
    data->setImageData(ImageOf(bitmap)); // Qt offers image/png, image/bmp and its other writers on request
    QGuiApplication::clipboard()->setMimeData(data.release());
}

void CopyTextToClipboard(const QString& text)
{
    QGuiApplication::clipboard()->setText(text);
}

TClipboardPicture ReadBitmapFromClipboard(TBitmap32& out)
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data) return {};
    try {
        QImage image;
        const QStringList offered = data->formats();
        for (const char* format : kPreferredFormats) {
            if (!offered.contains(QLatin1String(format))) continue;
            const TClipboardPicture decoded = Decode(data->data(QLatin1String(format)), image);
            if (decoded.State == TClipboardPicture::TState::TooLarge) return decoded;
            if (decoded.State == TClipboardPicture::TState::Ok) break;
        }
        if (image.isNull() && data->hasImage()) image = qvariant_cast<QImage>(data->imageData());
        if (image.isNull()) return {};
        if (!FitsPixelBudget(image.width(), image.height())) return TooLarge(image.width(), image.height());
        out = BitmapOverWhite(image);
    } catch (const std::bad_alloc&) {
        return {};
    }
    return {TClipboardPicture::TState::Ok, {}};
}

} // namespace tavrin
