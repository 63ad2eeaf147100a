#pragma once
// Operations on the colour table of a paletted picture before it is saved as a GIF.

#include "ImgLib/GifIndexedWriter.h"

#include <cstdint>
#include <optional>

namespace tavrin {

// Orders the table by use, the most used entry first (entries used equally keep their order), drops the
// entries no pixel uses and renumbers the pixels to match. The picture looks the same afterwards. A table
// already in that order, or with fewer than two entries, is left as it is.
void OptimizeColorTable(TIndexedImage& image);

// The first entry in table order that has `color` and is used by at least one pixel; none when no such
// entry exists.
std::optional<std::uint8_t> FindTransparentIndex(const TIndexedImage& image, TRgb color);

} // namespace tavrin
