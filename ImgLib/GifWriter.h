#pragma once
// Saving a truecolour picture as a GIF: one 256-entry palette of the 20 static system colours (entries
// 0-9 and 246-255) and up to 236 colours chosen by octree quantisation of the picture (entries 10-245),
// every pixel mapped to it with Floyd-Steinberg error diffusion, LZW by giflib; no transparency.

#include "ImgLib/GifIndexedWriter.h"
#include "ImgLib/WriteResult.h"

#include <string>

namespace tavrin {

class TBitmap32;

inline constexpr int kQuantizedColorCount = 236;

// The picture reduced to that palette (always 256 entries; unused quantised entries are black).
TIndexedImage QuantizeWithStaticColors(const TBitmap32& bitmap);

// The whole file into `out` (replaced). Sides above 65 535 do not fit the format.
TWriteResult WriteGif(const TBitmap32& bitmap, std::string& out);

} // namespace tavrin
