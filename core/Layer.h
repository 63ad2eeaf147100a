#pragma once
// Base classes of the layer stack: TCustomLayer (every layer) and TPositionedLayer (a layer with
// bounds). Layers are created by and belong to a TLayerCollection; see LayerCollection.h.

#include "core/Geometry.h"
#include "core/Input.h"
#include "core/PixelRows.h"

#include <array>
#include <functional>

namespace tavrin {

class TLayerCollection;

class TCustomLayer
{
public:
    using TMouseDownEvent = std::function<void(TCustomLayer& sender, TMouseButton, TShiftState, int x, int y)>;

    explicit TCustomLayer(TLayerCollection& owner) : FCollection(owner) {}
    virtual ~TCustomLayer() = default;
    TCustomLayer(const TCustomLayer&) = delete;
    TCustomLayer& operator=(const TCustomLayer&) = delete;

    TLayerCollection& Collection() const { return FCollection; }

    TCursor Cursor = TCursor::crDefault;
    bool AcceptsMouse = true;
    int Tag = 0;
    TMouseDownEvent OnMouseDown;

    bool Visible() const { return FVisible; }
    void SetVisible(bool visible);
    bool IsPressed(TMouseButton b) const { return FPressed[static_cast<int>(b)]; }
    bool AnyButtonPressed() const { return FPressed[0] || FPressed[1] || FPressed[2]; }

    int Index() const;
    void RaiseToTop();

    // X and Y are view pixels.
    virtual bool ContainsPoint(int x, int y) const;
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);

    // Paints into `target`, whose pixel (0, 0) is view pixel (exposed.Left, exposed.Top).
    // Implementations touch only pixels of `exposed` that they cover.
    virtual void Paint(TPixelRows target, const TRect& exposed) const;
    // Whether every pixel the layer paints is opaque (alpha $FF), whatever lies below.
    virtual bool PaintsOpaque() const { return false; }
    // The view rectangle the layer paints into; what a change of the layer must repaint.
    virtual TRect PaintRect() const { return {}; }

    // Schedules a repaint of what the layer covers now.
    void Changed() const;

private:
    friend class TLayerCollection;
    TLayerCollection& FCollection;
    bool FVisible = true;
    std::array<bool, 3> FPressed{};
};

class TPositionedLayer : public TCustomLayer
{
public:
    using TCustomLayer::TCustomLayer;

    const TFloatBounds& Bounds() const { return FBounds; }
    // Never raises an event; only schedules a repaint of the old and the new place.
    virtual void SetBounds(const TFloatBounds& bounds);

    bool InImageSpace() const { return FInImageSpace; }
    void SetInImageSpace(bool value);

    // Bounds in view pixels: mapped through the view when InImageSpace, else Bounds unchanged.
    TFloatBounds ViewBounds() const;
    // ViewBounds with each coordinate rounded, ties to even.
    TRect RoundedViewBounds() const;

    bool ContainsPoint(int x, int y) const override;
    TRect PaintRect() const override { return RoundedViewBounds(); }

private:
    TFloatBounds FBounds{0, 0, 64, 64};
    bool FInImageSpace = false;
};

} // namespace tavrin
