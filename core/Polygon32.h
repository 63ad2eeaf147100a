#pragma once
// A polygon with whole-pixel vertices, drawn into a TBitmap32 without anti-aliasing.
//
// The vertex (x, y) stands on pixel (x, y). The interior is every pixel whose position lies inside
// by the even-odd rule (left edges inside, right edges outside, so touching polygons never share a
// pixel); the outline is the 1-pixel line through the vertices, closed back to the first one. Both
// are blended over the bitmap by the colour's alpha, each pixel once, and only the pixels inside the
// polygon's bounding box are visited, so drawing costs what the polygon covers, not the bitmap's size.

#include "core/Bitmap32.h"
#include "core/Color.h"
#include "core/Geometry.h"

#include <vector>

namespace tavrin {

// `src` over `dst` with straight (non-premultiplied) alpha: over a transparent pixel the result is
// `src` exactly, over an opaque one the alpha-weighted mix.
TColor32 MergePixel(TColor32 src, TColor32 dst);

class TPolygon32
{
  public:
    using TContour = std::vector<TPoint>;

    TPolygon32() { NewLine(); }

    // Starts a new contour; Add appends to the last one.
    void NewLine() { FContours.emplace_back(); }
    void Add(TPoint p) { FContours.back().push_back(p); }
    void Clear();
    // Moves every vertex by (dx, dy); a coordinate that would leave the int range stops at its end.
    void Translate(int dx, int dy);

    const std::vector<TContour>& Contours() const { return FContours; }
    bool HasVertices() const;

    // The pixels the vertices span (Right and Bottom exclusive) within `clip`; empty without vertices.
    TRect PixelBounds(const TRect& clip) const;

    // Even-odd interior. The bitmap's pixel (0, 0) stands on vertex coordinates `origin`, so a
    // bitmap can hold just the part of a larger canvas the polygon covers: the pixels drawn are
    // those a canvas-sized bitmap would get there.
    void DrawFill(TBitmap32& bitmap, TColor32 color, TPoint origin = {}) const;
    // Closed outline; a single vertex is one pixel.
    void DrawEdge(TBitmap32& bitmap, TColor32 color, TPoint origin = {}) const;

  private:
    std::vector<TContour> FContours;
};

} // namespace tavrin
