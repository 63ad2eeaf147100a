#pragma once
// The pixels of the selected region, made only when something reads them (save, copy, preview,
// transparent GIF). Choosing a region merely notes the picture and the rectangle: a click on a huge
// picture with no guides copies nothing until the copy is wanted.
//
// The pixels are those the picture has at the moment they are made; whoever is about to replace
// the picture's pixels calls Keep() first, so the region still shows the picture it was taken from.

#include "core/Bitmap32.h"
#include "core/Geometry.h"

namespace tavrin {

class TRegionPixels
{
public:
    // From now on the region is `region` of `picture` (null: no picture, all white). A region of
    // no pixels, or one too large to hold, gives the empty bitmap.
    void Take(const TBitmap32* picture, const TRect& region);

    // The RGB copy of the region: opaque pixels, white where the region lies off the picture.
    const TBitmap32& Get() const;
    operator const TBitmap32&() const { return Get(); } // NOLINT(google-explicit-constructor)
    // Makes the pixels now if they are still owed.
    void Keep() const { (void)Get(); }

    // The size is known without making the pixels.
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    bool Empty() const { return FWidth == 0 || FHeight == 0; }
    TColor32 Pixel(int x, int y) const { return Get().Pixel(x, y); }
    const TColor32* ScanLine(int y) const { return Get().ScanLine(y); }
    const TColor32* Bits() const { return Get().Bits(); }

private:
    const TBitmap32* FPicture = nullptr;
    TRect FRegion;
    int FWidth = 0;
    int FHeight = 0;
    mutable bool FOwed = false;
    mutable TBitmap32 FPixels;
};

} // namespace tavrin
