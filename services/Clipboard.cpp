#include "services/Clipboard.h"

#include "ImgLib/PictureFormats.h"
#include "ImgLib/PixelBudget.h"
#include "ImgLib/QtImageBridge.h"
#include "ImgLib/ReadResult.h"
#include "core/Bitmap32.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

#include <memory>
#include <new>
#include <vector>

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

struct TOfferName
{
    const char* Mime;
    const char* Extension; // of the reader in PictureFormats
};

// The names programs give the formats we read, in the order they are tried: the ones every program reads
// first. A reader registered later is also tried under "image/<ext>" and "image/x-<ext>".
constexpr TOfferName kKnownOffers[] = {
    {"image/png", "png"},      {"image/bmp", "bmp"},          {"image/x-bmp", "bmp"},
    {"image/x-ms-bmp", "bmp"}, {"image/x-win-bitmap", "bmp"}, {"image/jpeg", "jpg"},
    {"image/jpg", "jpg"},      {"image/pjpeg", "jpg"},        {"image/gif", "gif"},
    {"image/x-icon", "ico"},   {"image/vnd.microsoft.icon", "ico"},
    {"image/wmf", "wmf"},      {"image/x-wmf", "wmf"},        {"image/emf", "emf"},
    {"image/x-emf", "emf"},
};

struct TOffer
{
    QString Mime; // as the clipboard spells it
    const TPictureFormat* Format;
};

// The offers on the clipboard that one of our readers reads, best first.
std::vector<TOffer> ReadableOffers(const QStringList& offered)
{
    std::vector<TOffer> offers;
    auto add = [&](const QString& mime, const TPictureFormat* format) {
        if (!format) return;
        for (const QString& name : offered)
            if (name.compare(mime, Qt::CaseInsensitive) == 0) {
                for (const TOffer& o : offers)
                    if (o.Mime == name) return;
                offers.push_back({name, format});
                return;
            }
    };
    for (const TOfferName& known : kKnownOffers)
        add(QLatin1String(known.Mime), PictureFormats().FindByExtension(known.Extension));
    for (const TPictureFormat& format : PictureFormats().Formats()) {
        const QString extension = QString::fromStdString(format.Extension);
        add(QStringLiteral("image/") + extension, &format);
        add(QStringLiteral("image/x-") + extension, &format);
    }
    return offers;
}

QString FormatName(const TPictureFormat& format)
{
    return QString::fromStdString(format.Extension).toUpper();
}

TClipboardPicture Unreadable(const TPictureFormat& format, const std::string& reason)
{
    return {TClipboardPicture::TState::Unreadable,
            QStringLiteral("클립보드에 있는 %1 그림을 읽을 수 없습니다.\n%2")
                .arg(FormatName(format), QString::fromStdString(reason))};
}

// The encoded bytes go straight through the format's reader into `out`; nothing else holds the picture.
TClipboardPicture Decode(const QByteArray& bytes, const TPictureFormat& format, TBitmap32& out)
{
    const std::span<const std::uint8_t> data(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                             static_cast<std::size_t>(bytes.size()));
    TReadResult result;
    try {
        result = format.Read(data, out);
    } catch (const std::bad_alloc&) {
        result = TReadResult::Failure(OutOfMemoryError());
    }
    if (!result) return Unreadable(format, result.Error);
    return {TClipboardPicture::TState::Ok, {}};
}

// A picture put on the clipboard inside this process (by us or the toolkit) is a finished QImage, not an
// encoded offer. The platform's view of another program's clipboard is a QInternalMimeData, whose image
// would be decoded by the toolkit's plugins from whatever is offered: never asked for its image.
bool HoldsOwnImage(const QMimeData& data)
{
    return !data.inherits("QInternalMimeData") && data.hasImage();
}

TClipboardPicture TakeOwnImage(const QMimeData& data, TBitmap32& out)
{
    try {
        const QImage image = qvariant_cast<QImage>(data.imageData());
        if (image.isNull()) return {};
        if (!FitsPixelBudget(image.width(), image.height()))
            return {TClipboardPicture::TState::Unreadable,
                    QString::fromStdString(PictureTooLargeError(image.width(), image.height()))};
        out = BitmapOverWhite(image);
    } catch (const std::bad_alloc&) {
        return {TClipboardPicture::TState::Unreadable, QString::fromStdString(OutOfMemoryError())};
    }
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
    for (const TOffer& offer : ReadableOffers(data->formats())) {
        QByteArray bytes;
        try {
            bytes = data->data(offer.Mime);
        } catch (const std::bad_alloc&) {
            return Unreadable(*offer.Format, OutOfMemoryError());
        }
        if (bytes.isEmpty()) continue; // offered but not delivered: the next offer may be
        return Decode(bytes, *offer.Format, out);
    }
    if (HoldsOwnImage(*data)) return TakeOwnImage(*data, out);
    return {};
}

} // namespace tavrin
