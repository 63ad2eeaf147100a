#pragma once
// Image-map areas: layers over the picture that carry the attributes of one HTML area element and
// produce its coords text.
//
// Every area is in image space, composed with dmBlend, and takes the pointer only over its drawn
// pixels, so the transparent corners of a circle let presses through.

#include "core/BitmapLayer.h"
#include "core/LayerKinds.h"
#include "core/Polygon32.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tavrin {

// The class name is spelled so on purpose; every area derives from it.
class TImageMapLyer : public TBitmapLayer
{
  public:
    explicit TImageMapLyer(TLayerCollection& owner);

    int FId = 0;
    std::string FMapName;
    TMapShape FShape = TMapShape::msRect;
    std::string FTarget;
    std::string FHref;
    std::string FAlt;
    std::string FShapeName;

    // Bitmap of W x H (cleared when the size changes), Bounds (0, 0, W, H), blended, in image space.
    virtual void PrepareCanvas(int width, int height);

    // The coords attribute text; the base class produces nothing.
    virtual std::string CoordsText() const { return {}; }

  protected:
    // Grey interior, green dotted border, both through not-xor, shown at master alpha 120: on a
    // cleared bitmap the interior becomes $FF7F7F7F and the dots $FFFF7FFF.
    void UseShapeStyle();
};

class TMapRectLayer : public TImageMapLyer
{
  public:
    explicit TMapRectLayer(TLayerCollection& owner);

    // Corners in any order, image pixels. A rectangle less than 2 pixels in both directions only
    // gets its (tiny) bitmap size and is neither placed nor drawn.
    void PlaceRect(int left, int top, int right, int bottom);
    std::string CoordsText() const override; // "left,top,right,bottom"
};

class TMapCircleLayer : public TImageMapLyer
{
  public:
    explicit TMapCircleLayer(TLayerCollection& owner);

    // (left, top) is the press and (right, bottom) the release: the circle fills the square of the
    // drag's smaller side that starts at the press and extends toward the release.
    void PlaceCircle(int left, int top, int right, int bottom);
    std::string CoordsText() const override; // "centre x,centre y,radius"
};

class TMapPolygonLayer : public TImageMapLyer
{
  public:
    explicit TMapPolygonLayer(TLayerCollection& owner);

    std::vector<std::string> FPoints; // x1, y1, x2, y2, ... as decimal texts
    TPolygon32 FVertices;             // the same vertices as one closed contour

    // Redraws the polygon with one more vertex (image pixels) and raises the layer to the top.
    void AddVertex(int x, int y);
    void AddPointText(int x, int y);
    // Every canvas pixel becomes transparent white ($00FFFFFF).
    void ClearCanvas();
    std::string CoordsText() const override; // the vertices, limited to the canvas

    // Moves the polygon by whole image pixels: its vertices and their texts move, so the coords
    // always name the shape drawn; the canvas and the bounds stay where they are.
    void MoveBy(int dx, int dy);
    // How far the polygon has been moved since it began.
    TPoint Offset() const { return FOffset; }

    // The canvas is W x H (the picture's size when the polygon began) and maps onto Bounds, but
    // the bitmap holds only the part the polygon covers; the rest of the canvas reads as the fill
    // (transparent black until the first vertex, transparent white after). So a polygon costs
    // memory and drawing time for its own box, not for the picture.
    void PrepareCanvas(int width, int height) override;

  private:
    void Redraw();

    TPoint FOffset;
};

// The whole number the text denotes: decimal digits with an optional leading '+' or '-', in the
// 64-bit range. Anything else (empty, spaces, hex prefixes, out of range) gives 0.
std::int64_t IntOfText(std::string_view text);

// The items with `separator` between each two; the empty list gives the empty text.
std::string JoinTexts(std::string_view separator, const std::vector<std::string>& list);

} // namespace tavrin
