#include "ImgLib/QtFormatReader.h"

#include "ImgLib/PixelBudget.h"
#include "ImgLib/QtImageBridge.h"
#include "core/Bitmap32.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>

namespace tavrin {

namespace {

// A Qt reader over `data`, with the pixel budget checked against the size its header claims.
class TQtDecoder
{
  public:
    TQtDecoder(std::span<const std::uint8_t> data, const char* format)
    {
        MatchQtAllocationLimitToBudget();
        FBuffer.setData(QByteArray::fromRawData(reinterpret_cast<const char*>(data.data()),
                                                static_cast<qsizetype>(data.size())));
        FBuffer.open(QIODevice::ReadOnly);
        FReader.setDevice(&FBuffer);
        FReader.setFormat(format);
        FReader.setDecideFormatFromContent(false);
        FReader.setAutoTransform(false);
    }

    TReadResult CheckSize()
    {
        const QSize size = FReader.size();
        if (size.isValid() && !FitsPixelBudget(size.width(), size.height()))
            return TReadResult::Failure(PictureTooLargeError(size.width(), size.height()));
        return TReadResult::Success();
    }

    TReadResult Read(QImage& into)
    {
        if (!FReader.read(&into) || into.isNull())
            return TReadResult::Failure(DamagedFileError(FReader.errorString().toStdString()));
        return TReadResult::Success();
    }

    QImageReader& Reader() { return FReader; }

  private:
    QBuffer FBuffer;
    QImageReader FReader;
};

} // namespace

TReadResult ReadWithQt(std::span<const std::uint8_t> data, const char* format, QImage& image)
{
    TQtDecoder decoder(data, format);
    if (TReadResult r = decoder.CheckSize(); !r) return r;
    QImage decoded;
    if (TReadResult r = decoder.Read(decoded); !r) return r;
    image = std::move(decoded);
    return TReadResult::Success();
}

TReadResult ReadWithQt(std::span<const std::uint8_t> data, const char* format, TBitmap32& out)
{
    TQtDecoder decoder(data, format);
    if (TReadResult r = decoder.CheckSize(); !r) return r;
    const QSize size = decoder.Reader().size();
    const QImage::Format pixelFormat = decoder.Reader().imageFormat();
    TBitmap32 bitmap;
    QImage decoded;
    // Qt's readers decode into the image they are given when its size and format are what they need.
    if (size.isValid() && (pixelFormat == QImage::Format_RGB32 || pixelFormat == QImage::Format_ARGB32)) {
        bitmap.SetSize(size.width(), size.height());
        decoded = ImageOnBitmap(bitmap, pixelFormat);
    }
    if (TReadResult r = decoder.Read(decoded); !r) return r;
    if (!bitmap.Empty() && decoded.constBits() == reinterpret_cast<const uchar*>(bitmap.Bits())) {
        decoded = QImage();
        MakeOpaque(bitmap);
    } else {
        bitmap = TBitmap32();
        bitmap = BitmapFromImage(decoded);
    }
    out = std::move(bitmap);
    return TReadResult::Success();
}

} // namespace tavrin
