#include "ImgLib/IcoReader.h"

#include "ImgLib/QtFormatReader.h"
#include "ImgLib/QtImageBridge.h"
#include "core/Bitmap32.h"

namespace tavrin {

TReadResult ReadIco(std::span<const std::uint8_t> data, TBitmap32& out)
{
    QImage image;
    if (ReadWithQt(data, "ico", image))
        out = BitmapOverWhite(image);
    else
        out = TBitmap32();
    return TReadResult::Success();
}

void RegisterIcoFormat(TPictureFormatRegistry& registry)
{
    registry.Register({"아이콘", "ico", &ReadIco});
}

} // namespace tavrin
