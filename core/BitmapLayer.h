#pragma once
// A positioned layer that shows a TBitmap32 stretched (nearest neighbour) into its rounded view bounds.
//
// A subclass may keep only a window of a larger canvas in the bitmap: the layer then maps the whole
// canvas onto its bounds, and every canvas pixel outside the window reads as one fill colour. It
// paints and takes the pointer exactly as a bitmap of the canvas's full size would.

#include "core/Bitmap32.h"
#include "core/Geometry.h"
#include "core/Layer.h"

#include <array>
#include <cstdint>
#include <vector>

namespace tavrin {

class TBitmapLayer : public TPositionedLayer
{
public:
    using TPositionedLayer::TPositionedLayer;

    // Owned by the layer; created empty. Call Changed() after drawing on it.
    TBitmap32& Bitmap() { return FBitmap; }
    const TBitmap32& Bitmap() const { return FBitmap; }

    // The canvas the layer shows: the bitmap itself unless a subclass keeps only a window of it.
    int CanvasWidth() const { return FWindowed ? FCanvasWidth : FBitmap.Width(); }
    int CanvasHeight() const { return FWindowed ? FCanvasHeight : FBitmap.Height(); }
    // Canvas pixel (x, y); outside the canvas transparent black.
    TColor32 CanvasPixel(int x, int y) const;

    // When set, the layer takes the pointer only over pixels whose alpha is not 0.
    bool OpaqueHitOnly = false;

    bool ContainsPoint(int x, int y) const override;
    void Paint(TPixelRows target, const TRect& exposed) const override;
    bool PaintsOpaque() const override { return FBitmap.DrawMode == TDrawMode::dmBlend; }

    // Columns of one target row that take the same colour (what a row is painted from).
    struct TSpan
    {
        int Start;
        int Length;
        TColor32 Color;
        std::uint32_t Weight; // blend weight of Color
    };

protected:
    // From now on the bitmap holds the canvas pixels from `origin` on; the rest of the
    // width x height canvas reads as `fill`.
    void SetCanvasWindow(int width, int height, TPoint origin, TColor32 fill);
    TPoint CanvasOrigin() const { return FOrigin; }

private:
    // The bitmap pixel that canvas pixel (x, y) reads, or null for the fill.
    const TColor32* StoredPixel(int x, int y) const;

    // Columns [Start, Start + Length) of the target that show canvas column Source.
    struct TColumnRun
    {
        int Source;
        int Start;
        int Length;
    };
    // The runs of the last paint and what they were worked out from: a view painted in bands of
    // rows asks for the same columns once per band. Only the numbers decide, so a stale entry can
    // never be wrong. Painting happens on one thread.
    const std::vector<TColumnRun>& ColumnRuns(int canvasWidth, const TRect& dst, const TRect& clip,
                                              int exposedLeft) const;
    void RowSpans(int sy, const std::vector<TColumnRun>& runs, bool blend, std::uint8_t master,
                  std::vector<TSpan>& spans) const;

    mutable std::vector<TColumnRun> FRuns;
    mutable std::array<int, 7> FRunsKey{};

    TBitmap32 FBitmap;
    bool FWindowed = false;
    int FCanvasWidth = 0;
    int FCanvasHeight = 0;
    TPoint FOrigin;
    TColor32 FFill = clTransparent32;
};

} // namespace tavrin
