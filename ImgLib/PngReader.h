#pragma once
// PNG files through libpng: palette, greyscale, 16-bit, interlaced and alpha files all load. Transparency is
// composited over white, so the picture is fully opaque.

#include "ImgLib/PictureFormats.h"

namespace tavrin {

TReadResult ReadPng(std::span<const std::uint8_t> data, TBitmap32& out);
// The same from a file, read as it is decoded.
TReadResult ReadPngStream(std::FILE* file, std::int64_t size, TBitmap32& out);
void RegisterPngFormat(TPictureFormatRegistry& registry);

} // namespace tavrin
