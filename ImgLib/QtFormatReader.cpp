#include "ImgLib/QtFormatReader.h"

#include "ImgLib/PixelBudget.h"
#include "ImgLib/QtImageBridge.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>

namespace tavrin {

TReadResult ReadWithQt(std::span<const std::uint8_t> data, const char* format, QImage& image)
{
    MatchQtAllocationLimitToBudget();
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data.data()),
                                                     static_cast<qsizetype>(data.size()));
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setDecideFormatFromContent(false);
    reader.setAutoTransform(false);
    const QSize size = reader.size();
    if (size.isValid() && !FitsPixelBudget(size.width(), size.height()))
        return TReadResult::Failure(PictureTooLargeError(size.width(), size.height()));
    QImage decoded;
    if (!reader.read(&decoded) || decoded.isNull())
        return TReadResult::Failure(DamagedFileError(reader.errorString().toStdString()));
    image = std::move(decoded);
    return TReadResult::Success();
}

} // namespace tavrin
