#pragma once
// JPEG files through libjpeg-turbo. Greyscale, colour and CMYK/YCCK files load; the picture is drawn at full
// size, fully opaque. Damaged or truncated files are errors, never partly grey pictures.

#include "ImgLib/PictureFormats.h"

namespace tavrin {

TReadResult ReadJpeg(std::span<const std::uint8_t> data, TBitmap32& out);
void RegisterJpegFormat(TPictureFormatRegistry& registry);

} // namespace tavrin
