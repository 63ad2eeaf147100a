#pragma once
// Rows of 32-bit pixels that someone else owns: a TBitmap32, or the memory of a window's backing
// store. The renderer and the layers paint through it, so a view can be painted in place.

#include "core/Bitmap32.h"
#include "core/Color.h"

#include "core/Geometry.h"

#include <cstddef>
#include <vector>

namespace tavrin {

struct TPixelRows
{
    TColor32* Bits = nullptr;
    int Width = 0;
    int Height = 0;
    std::ptrdiff_t Stride = 0; // in pixels

    TPixelRows() = default;
    TPixelRows(TColor32* bits, int width, int height, std::ptrdiff_t stride)
        : Bits(bits), Width(width), Height(height), Stride(stride)
    {
    }
    // Implicit on purpose: whatever paints into a bitmap paints into its rows.
    TPixelRows(TBitmap32& bitmap) // NOLINT(google-explicit-constructor)
        : Bits(bitmap.Bits()), Width(bitmap.Width()), Height(bitmap.Height()), Stride(bitmap.Width())
    {
    }

    // The view rectangles where a pixel may be less than opaque; everywhere else the alpha byte is
    // $FF. Null when nothing is known. Painting a fully transparent layer pixel makes the pixel
    // below opaque without changing its colour, so a layer can skip such pixels where they already are.
    const std::vector<TRect>* MaybeTranslucent = nullptr;

    bool Empty() const { return Width <= 0 || Height <= 0; }
    TColor32* ScanLine(int y) const { return Bits + static_cast<std::ptrdiff_t>(y) * Stride; }
};

} // namespace tavrin
