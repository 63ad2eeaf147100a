#pragma once
// Paints an exposed rectangle of the view: white (or the given) background, the picture with
// nearest-neighbour sampling into its bitmap rectangle, then every visible layer bottom to top.
// The cost depends on the exposed area and on the layers that overlap it, never on the size of
// the picture or on the zoom.

#include "core/Bitmap32.h"
#include "core/Geometry.h"
#include "core/PixelRows.h"
#include "core/ViewGeometry.h"

#include <cstdint>

namespace tavrin {

class TLayerCollection;

// The picture's scaled pixels for one zoom and one stretch of the view (usually what is visible),
// so that a repaint that changed only layers costs a copy. Whatever a zoom, a scroll or a change of
// the picture makes new is sampled again; the rest is kept.
class TPictureCache
{
public:
    // Forget everything; the next paint samples afresh.
    void Reset();

    // Makes sure the cache holds view rectangle `want` of the picture (inside its bitmap rectangle),
    // keeping the pixels it has for `keep` as well where they are still valid.
    void Ensure(const TBitmap32& picture, const TViewGeometry& g, const TRect& want, const TRect& keep);

    // View pixel (x, y), which must lie inside the rectangle Ensure was given.
    const TColor32* At(int viewX, int viewY) const
    {
        return FPixels.ScanLine(viewY - FRect.Top) + (viewX - FRect.Left);
    }
    const TRect& Rect() const { return FRect; }

private:
    bool Matches(const TBitmap32& picture, const TViewGeometry& g) const;

    TBitmap32 FPixels;
    TRect FRect;
    const TBitmap32* FPicture = nullptr;
    const TColor32* FBits = nullptr;
    std::uint64_t FVersion = 0;
    int FWidth = 0;
    int FHeight = 0;
    TRect FBitmapRect;
};

// Paints `exposed` into `target`, whose pixel (0, 0) is view pixel (exposed.Left, exposed.Top)
// and which is at least as large. With a cache, the picture's pixels come from it; `keep` is the
// part of the view the cache should go on holding (the visible part; empty: only `exposed`).
void RenderViewInto(const TBitmap32& picture, const TLayerCollection& layers, const TRect& exposed,
                    TPixelRows target, TColor32 background = clWhite32, TPictureCache* cache = nullptr,
                    const TRect& keep = {});

// `target` is sized to the exposed rectangle (its pixels are kept when the size is unchanged) and
// receives view pixel (exposed.Left + i, exposed.Top + j) at (i, j). The picture mapping is the
// collection's geometry.
void RenderView(const TBitmap32& picture, const TLayerCollection& layers, const TRect& exposed,
                TBitmap32& target, TColor32 background = clWhite32);

} // namespace tavrin
