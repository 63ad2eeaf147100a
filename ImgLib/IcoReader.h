#pragma once
// Icon files through Qt's reader: the first icon of the file drawn over white. A damaged icon is not an
// error: the result is then whatever could be drawn, normally an empty picture.

#include "ImgLib/PictureFormats.h"

namespace tavrin {

TReadResult ReadIco(std::span<const std::uint8_t> data, TBitmap32& out);
void RegisterIcoFormat(TPictureFormatRegistry& registry);

} // namespace tavrin
