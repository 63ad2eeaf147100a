#pragma once
// Decoding with one of Qt's image readers, with the pixel budget checked against the header first.

#include "ImgLib/ReadResult.h"

#include <QImage>

#include <cstdint>
#include <span>

namespace tavrin {

class TBitmap32;

// Decodes `data` with Qt's reader for `format` ("bmp", "ico") into `image`; the first image of the file.
TReadResult ReadWithQt(std::span<const std::uint8_t> data, const char* format, QImage& image);

// The same straight into `out`, made opaque. Where Qt decodes to 32 bits a pixel it decodes into `out`'s
// own pixels, so that the picture is held once, not twice.
TReadResult ReadWithQt(std::span<const std::uint8_t> data, const char* format, TBitmap32& out);

} // namespace tavrin
