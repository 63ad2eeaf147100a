#include "core/Bitmap32.h"

#include <algorithm>
#include <utility>

namespace tavrin {

TBitmap32::TBitmap32(const TBitmap32& other) { *this = other; }

TBitmap32::TBitmap32(TBitmap32&& other) noexcept { *this = std::move(other); }

TBitmap32& TBitmap32::operator=(const TBitmap32& other)
{
    ++FVersion;
    if (this != &other) {
        FWidth = other.FWidth;
        FHeight = other.FHeight;
        FPixels = other.FPixels;
        DrawMode = other.DrawMode;
        MasterAlpha = other.MasterAlpha;
        FCanvas.Pen = other.FCanvas.Pen;
        FCanvas.Brush = other.FCanvas.Brush;
    }
    return *this;
}

TBitmap32& TBitmap32::operator=(TBitmap32&& other) noexcept
{
    ++FVersion;
    ++other.FVersion;
    if (this != &other) {
        FWidth = std::exchange(other.FWidth, 0);
        FHeight = std::exchange(other.FHeight, 0);
        FPixels = std::move(other.FPixels);
        other.FPixels.clear();
        DrawMode = other.DrawMode;
        MasterAlpha = other.MasterAlpha;
        FCanvas.Pen = other.FCanvas.Pen;
        FCanvas.Brush = other.FCanvas.Brush;
    }
    return *this;
}

void TBitmap32::SetSize(int width, int height)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == FWidth && height == FHeight)
        return;
    ++FVersion;
    FWidth = width;
    FHeight = height;
    FPixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), clTransparent32);
}

TColor32 TBitmap32::Pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= FWidth || y >= FHeight)
        return clTransparent32;
    return ScanLine(y)[x];
}

void TBitmap32::SetPixel(int x, int y, TColor32 c)
{
    if (x < 0 || y < 0 || x >= FWidth || y >= FHeight)
        return;
    ScanLine(y)[x] = c;
}

void TBitmap32::Clear(TColor32 c)
{
    ++FVersion;
    std::fill(FPixels.begin(), FPixels.end(), c);
}

void TBitmap32::FillRect(int x1, int y1, int x2, int y2, TColor32 c)
{
    x1 = std::max(x1, 0);
    y1 = std::max(y1, 0);
    x2 = std::min(x2, FWidth);
    y2 = std::min(y2, FHeight);
    if (x1 >= x2 || y1 >= y2)
        return; // wholly outside, or empty
    for (int y = y1; y < y2; ++y)
        std::fill(ScanLine(y) + x1, ScanLine(y) + x2, c);
}

} // namespace tavrin
