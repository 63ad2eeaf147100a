#pragma once
// Decoding with one of Qt's image readers, with the pixel budget checked against the header first.

#include "ImgLib/ReadResult.h"

#include <QImage>

#include <cstdint>
#include <span>

namespace tavrin {

// Decodes `data` with Qt's reader for `format` ("bmp", "ico") into `image`; the first image of the file.
TReadResult ReadWithQt(std::span<const std::uint8_t> data, const char* format, QImage& image);

} // namespace tavrin
