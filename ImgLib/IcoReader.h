#pragma once
// Icon files through Qt's reader: the first icon of the file drawn over white. A damaged icon fails with
// the reason, as every reader does.

#include "ImgLib/PictureFormats.h"

namespace tavrin {

TReadResult ReadIco(std::span<const std::uint8_t> data, TBitmap32& out);
void RegisterIcoFormat(TPictureFormatRegistry& registry);

} // namespace tavrin
