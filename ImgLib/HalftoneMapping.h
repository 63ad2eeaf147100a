#pragma once
// Reducing a picture to the halftone palette: every pixel takes the entry nearest by squared RGB distance,
// the lower index on a tie, without dithering. So the higher entry of each colour the table holds twice
// never receives a pixel.

#include "ImgLib/GifIndexedWriter.h"
#include "core/Bitmap32.h"

#include <cstdint>

namespace tavrin {

std::uint8_t NearestHalftoneIndex(TRgb color);

// The picture's pixels as halftone indices, with the whole halftone table as the palette. Alpha is ignored.
// An empty bitmap gives an empty picture.
TIndexedImage ToHalftoneImage(const TBitmap32& bitmap);

} // namespace tavrin
