#include "ImgLib/IcoReader.h"

#include "ImgLib/PictureSignature.h"
#include "ImgLib/QtFormatReader.h"
#include "ImgLib/QtImageBridge.h"
#include "core/Bitmap32.h"

namespace tavrin {

TReadResult ReadIco(std::span<const std::uint8_t> data, TBitmap32& out)
{
    // Qt would read any format it knows here, whatever it is told.
    if (!HasIcoSignature(data))
        return TReadResult::Failure(data.size() < 6 ? TruncatedFileError() : WrongFormatError("ICO"));
    QImage image;
    if (TReadResult r = ReadWithQt(data, "ico", image); !r) return r;
    out = BitmapOverWhite(image);
    return TReadResult::Success();
}

void RegisterIcoFormat(TPictureFormatRegistry& registry)
{
    registry.Register({"아이콘", "ico", &ReadIco});
}

} // namespace tavrin
