#pragma once
// Device-independent bitmaps embedded in metafile records.

#include "ImgLib/WmfParams.h"

#include <QImage>

#include <cstdint>
#include <span>

namespace tavrin {

// The bitmap as a QImage, top row first, or a null image when it cannot be read. `paletteIndices` means the
// colour table holds indices into a palette the metafile does not carry; such bitmaps are not drawn.
QImage DibToImage(std::span<const std::uint8_t> dib, bool paletteIndices);

// A DIBCREATEPATTERNBRUSH record's pattern: style, colour usage, then the bitmap.
QImage DibPattern(const TWmfParams& p);

} // namespace tavrin
