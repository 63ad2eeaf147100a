#pragma once
// BMP files through Qt's reader: 1, 4, 8, 16, 24 and 32 bits per pixel, RLE-compressed and bit-field files.
// The colours are kept exactly as the file stores them; an alpha channel is ignored, not composited.

#include "ImgLib/PictureFormats.h"

namespace tavrin {

TReadResult ReadBmp(std::span<const std::uint8_t> data, TBitmap32& out);
void RegisterBmpFormat(TPictureFormatRegistry& registry);

} // namespace tavrin
