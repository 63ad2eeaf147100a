#include "core/RegionPixels.h"

#include <climits>
#include <utility>

namespace tavrin {

void TRegionPixels::Take(const TBitmap32* picture, const TRect& region)
{
    const long long w = static_cast<long long>(region.Right) - region.Left;
    const long long h = static_cast<long long>(region.Bottom) - region.Top;
    const bool holdable = w > 0 && h > 0 && w <= INT_MAX && h <= INT_MAX;
    FPicture = picture;
    FRegion = region;
    FWidth = holdable ? static_cast<int>(w) : 0;
    FHeight = holdable ? static_cast<int>(h) : 0;
    FOwed = true;
    if (!holdable) // nothing to make: let go of the last region's pixels at once
        FPixels = TBitmap32();
}

const TBitmap32& TRegionPixels::Get() const
{
    if (!FOwed)
        return FPixels;
    FOwed = false;
    FPixels.SetSize(FWidth, FHeight);
    if (FPixels.Empty())
        return FPixels;
    // The region may lie partly or wholly off the picture (a band moved past its edge): what is
    // outside reads as white, and nothing outside the picture is ever read.
    FPixels.Clear(clWhite32);
    if (!FPicture)
        return FPixels;
    const TBitmap32& picture = *FPicture;
    const TRect inside = Intersect(FRegion, {0, 0, picture.Width(), picture.Height()});
    for (int y = inside.Top; y < inside.Bottom; ++y) {
        const TColor32* src = picture.ScanLine(y);
        TColor32* dst = FPixels.ScanLine(y - FRegion.Top);
        for (int x = inside.Left; x < inside.Right; ++x)
            dst[x - FRegion.Left] = src[x] | 0xFF000000u;
    }
    return FPixels;
}

} // namespace tavrin
