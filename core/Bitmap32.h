#pragma once
// A 32-bit raster of TColor32 pixels, row by row, top row first.
//
// Invariants the layers rely on:
//  - after any change of size every pixel is transparent black ($00000000);
//  - setting the size it already has changes nothing and keeps the pixels;
//  - reading a pixel outside the bitmap yields $00000000.

#include "core/Canvas32.h"
#include "core/Color.h"
#include "core/LargeBlockAllocator.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tavrin {

enum class TDrawMode : std::uint8_t { dmOpaque, dmBlend };

class TBitmap32
{
public:
    TBitmap32() = default;
    TBitmap32(int width, int height) { SetSize(width, height); }
    // Copies take pixels, size and drawing state; each bitmap keeps a canvas on itself.
    TBitmap32(const TBitmap32& other);
    TBitmap32(TBitmap32&& other) noexcept;
    TBitmap32& operator=(const TBitmap32& other);
    TBitmap32& operator=(TBitmap32&& other) noexcept;

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    bool Empty() const { return FWidth == 0 || FHeight == 0; }

    // Sizes of 0 or less give an empty bitmap.
    void SetSize(int width, int height);
    void SetWidth(int width) { SetSize(width, FHeight); }
    void SetHeight(int height) { SetSize(FWidth, height); }

    TDrawMode DrawMode = TDrawMode::dmOpaque;
    std::uint8_t MasterAlpha = 255;

    // Bounds-checked access: outside reads give transparent black, outside writes are ignored.
    TColor32 Pixel(int x, int y) const;
    void SetPixel(int x, int y, TColor32 c);

    // Unchecked row access for loops that have clipped already.
    TColor32* ScanLine(int y)
    {
        ++FVersion;
        return FPixels.data() + static_cast<std::size_t>(y) * FWidth;
    }
    const TColor32* ScanLine(int y) const { return FPixels.data() + static_cast<std::size_t>(y) * FWidth; }
    TColor32* Bits()
    {
        ++FVersion;
        return FPixels.data();
    }
    const TColor32* Bits() const { return FPixels.data(); }

    void Clear(TColor32 c);
    // Pixels of [x1, x2) x [y1, y2), clipped to the bitmap, become exactly c.
    void FillRect(int x1, int y1, int x2, int y2, TColor32 c);

    TCanvas32& Canvas()
    {
        ++FVersion;
        return FCanvas;
    }

    // Changes whenever the pixels may have changed: every writable access counts, so a cache of
    // what the bitmap shows can tell whether it is still valid.
    std::uint64_t Version() const { return FVersion; }

private:
    int FWidth = 0;
    int FHeight = 0;
    std::vector<TColor32, TLargeBlockAllocator<TColor32>> FPixels;
    std::uint64_t FVersion = 0;
    TCanvas32 FCanvas{*this};
};

} // namespace tavrin
