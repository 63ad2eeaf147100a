#pragma once
// Mapping a truecolour picture onto a palette with Floyd-Steinberg error diffusion: each pixel takes the
// palette colour nearest (squared RGB distance, ties to the lower index) to its own colour plus the error
// its neighbours passed on, and passes its own error on (7/16 ahead, 3/16, 5/16 and 1/16 on the next row).
// The error a pixel receives is damped beyond 16 levels a channel, so that where no palette colour lies
// beyond the picture's own the error stays near where it arose instead of running on as a streak.
// Rows are walked alternately left to right and right to left, which avoids diagonal worm patterns.

#include "ImgLib/SystemPalette.h"

#include <cstdint>
#include <span>
#include <vector>

namespace tavrin {

class TBitmap32;

// One palette index per pixel, row by row. `palette` holds 1 to 256 colours.
std::vector<std::uint8_t> DiffuseToPalette(const TBitmap32& bitmap, std::span<const TRgb> palette);

// The index of the palette colour nearest to (r, g, b), ties to the lower index.
int NearestPaletteIndex(std::span<const TRgb> palette, int r, int g, int b);

} // namespace tavrin
