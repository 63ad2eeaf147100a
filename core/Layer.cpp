#include "core/Layer.h"

#include "core/LayerCollection.h"
#include "core/RoundEven.h"

namespace tavrin {

void TCustomLayer::SetVisible(bool visible)
{
    if (FVisible == visible)
        return;
    FVisible = visible;
    Changed();
}

int TCustomLayer::Index() const { return FCollection.IndexOf(this); }

void TCustomLayer::RaiseToTop() { FCollection.RaiseToTop(this); }

bool TCustomLayer::ContainsPoint(int, int) const { return false; }

void TCustomLayer::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (OnMouseDown)
        OnMouseDown(*this, button, shift, x, y);
}

void TCustomLayer::MouseMove(TShiftState, int, int) { FCollection.SetPointerShape(Cursor); }

void TCustomLayer::MouseUp(TMouseButton, TShiftState, int, int)
{
    FCollection.SetPointerShape(TCursor::crDefault);
}

void TCustomLayer::Paint(TPixelRows, const TRect&) const {}

void TCustomLayer::Changed() const { FCollection.Invalidate(PaintRect()); }

void TPositionedLayer::SetBounds(const TFloatBounds& bounds)
{
    if (bounds == FBounds)
        return;
    Changed();
    FBounds = bounds;
    Changed();
}

void TPositionedLayer::SetInImageSpace(bool value)
{
    if (value == FInImageSpace)
        return;
    Changed();
    FInImageSpace = value;
    Changed();
}

TFloatBounds TPositionedLayer::ViewBounds() const
{
    if (!FInImageSpace)
        return FBounds;
    const TViewGeometry& g = Collection().Geometry();
    return {static_cast<float>(g.ImageToViewX(FBounds.Left)), static_cast<float>(g.ImageToViewY(FBounds.Top)),
            static_cast<float>(g.ImageToViewX(FBounds.Right)), static_cast<float>(g.ImageToViewY(FBounds.Bottom))};
}

TRect TPositionedLayer::RoundedViewBounds() const
{
    const TFloatBounds v = ViewBounds();
    return {RoundEven(v.Left), RoundEven(v.Top), RoundEven(v.Right), RoundEven(v.Bottom)};
}

bool TPositionedLayer::ContainsPoint(int x, int y) const
{
    const TFloatBounds v = ViewBounds();
    return v.Left <= x && x < v.Right && v.Top <= y && y < v.Bottom;
}

} // namespace tavrin
