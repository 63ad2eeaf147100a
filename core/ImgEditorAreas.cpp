// Image-map areas: drawing rectangles and circles, clicking polygons, dragging and moving areas.
#include "core/ImgEditor.h"

#include "core/EditorView.h"
#include "core/ImgMap.h"
#include "core/LayerCollection.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace tavrin {

namespace {

std::int64_t Distance(int a, int b)
{
    return std::abs(std::int64_t{a} - b);
}

// Creates an area on top and lets `place` size and draw it. When that fails (a bitmap too large to
// allocate) the half-made layer goes again, so no blank area is left behind.
template <class TArea, class TPlace> TArea* CreateArea(TLayerCollection& layers, TPlace place)
{
    TArea* area = layers.Add<TArea>();
    try {
        place(*area);
    } catch (...) {
        layers.Destroy(area);
        throw;
    }
    return area;
}

} // namespace

// A drag is a shape only when it spans 2 image pixels in some direction (and at least 1 in the
// other); the id is spent either way.
// The area uses the raw press and release points: the outline's magnet snapping does not carry over.
void TImgEditor::AddRectArea(TPoint upPos)
{
    if (!FImage) return;
    ++FNextId;
    const int x1 = ViewToImage(FDownPos.X), y1 = ViewToImage(FDownPos.Y);
    const int x2 = ViewToImage(upPos.X), y2 = ViewToImage(upPos.Y);
    if (Distance(x1, x2) < 2 && Distance(y1, y2) < 2) return;
    // A drag straight along one axis would give an area with no pixels: nothing to see or press,
    // yet a line in the markup.
    if (x1 == x2 || y1 == y2) return;
    // PlaceRect sizes the bitmap to the rectangle at once, so the view-sized canvas an area starts
    // on is never allocated.
    auto* area = CreateArea<TMapRectLayer>(Layers(), [&](TMapRectLayer& a) { a.PlaceRect(x1, y1, x2, y2); });
    area->FId = FNextId;
    area->RaiseToTop();
}

void TImgEditor::AddCircleArea(TPoint upPos)
{
    if (!FImage) return;
    ++FNextId;
    const int x1 = ViewToImage(FDownPos.X), y1 = ViewToImage(FDownPos.Y);
    const int x2 = ViewToImage(upPos.X), y2 = ViewToImage(upPos.Y);
    if (std::min(Distance(x1, x2), Distance(y1, y2)) < 2) return;
    auto* area =
        CreateArea<TMapCircleLayer>(Layers(), [&](TMapCircleLayer& a) { a.PlaceCircle(x1, y1, x2, y2); });
    area->FId = FNextId;
    area->RaiseToTop();
}

// Choosing the polygon tool starts a new, empty polygon unless that tool is on already. There is no
// finishing step: the polygon simply stops growing when another tool is chosen.
void TImgEditor::BeginPolygon()
{
    if (!FImage || FToolMode == TToolMode::tmMapPolygon) return;
    const TBitmap32& picture = Picture();
    auto* polygon = CreateArea<TMapPolygonLayer>(
        Layers(), [&](TMapPolygonLayer& p) { p.PrepareCanvas(picture.Width(), picture.Height()); });
    ++FNextId;
    polygon->FId = FNextId;
    FPolygon = polygon;
    FTagArea = polygon;
    polygon->RaiseToTop();
}

void TImgEditor::AddPolygonPoint(int x, int y)
{
    if (!FImage || !FPolygon) return;
    const int ix = ViewToImage(x), iy = ViewToImage(y);
    FPolygon->AddVertex(ix, iy);
    FPolygon->AddPointText(ix, iy);
}

// The area follows the pointer in whole image pixels, measured from where it was at the press. A
// polygon moves its vertices instead of its bounds, so its coords follow it.
void TImgEditor::DragArea(TImageMapLyer* area, int x, int y)
{
    if (!FImage || !area || !IsAreaKind(area->Tag) || !Layers().Contains(area)) return;
    const int dx = ViewToImage(static_cast<float>(std::int64_t{x} - FDownPos.X));
    const int dy = ViewToImage(static_cast<float>(std::int64_t{y} - FDownPos.Y));
    if (auto* polygon = dynamic_cast<TMapPolygonLayer*>(area)) {
        const TPoint now = polygon->Offset();
        polygon->MoveBy(static_cast<int>(std::int64_t{FDownOffset.X} + dx - now.X),
                        static_cast<int>(std::int64_t{FDownOffset.Y} + dy - now.Y));
        return;
    }
    const TFloatBounds& b = FDownBounds;
    area->SetBounds({b.Left + dx, b.Top + dy, b.Right + dx, b.Bottom + dy});
}

void TImgEditor::MoveAreaBy(TImageMapLyer& area, int dx, int dy)
{
    if (auto* polygon = dynamic_cast<TMapPolygonLayer*>(&area)) {
        polygon->MoveBy(dx, dy);
        return;
    }
    const TFloatBounds& b = area.Bounds();
    area.SetBounds({b.Left + dx, b.Top + dy, b.Right + dx, b.Bottom + dy});
}

} // namespace tavrin
