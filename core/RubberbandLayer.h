#pragma once
// A rectangle with grips that the pointer moves and resizes: the rectangular selection.

#include "core/Color.h"
#include "core/Layer.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace tavrin {

enum class TBandDragState : std::uint8_t {
    bdNone,
    bdMove,
    bdSizeLeft,
    bdSizeTop,
    bdSizeRight,
    bdSizeBottom,
    bdSizeTopLeft,
    bdSizeTopRight,
    bdSizeBottomLeft,
    bdSizeBottomRight,
};

class TRubberbandLayer : public TPositionedLayer
{
public:
    using TBandChangedEvent = std::function<void(TRubberbandLayer& sender)>;
    // May replace `proposed` before it is applied.
    using TResizeRequestEvent = std::function<void(TRubberbandLayer& sender, const TFloatBounds& atPress,
                                                   TFloatBounds& proposed, TBandDragState, TShiftState)>;

    using TPositionedLayer::TPositionedLayer;

    std::vector<TColor32> FramePattern{clWhite32, clWhite32, clBlack32, clBlack32};
    float FramePatternStep = 1.0f;
    TColor32 GripFrame = clBlack32;
    TColor32 GripFill = clWhite32;
    int GripSize = 3;
    float MinimumWidth = 10;
    float MaximumHeight = 0;
    float MinimumHeight = 10;
    float MaximumWidth = 0;
    TBandChangedEvent OnBandChanged;
    TResizeRequestEvent OnResizeRequest;

    bool Dragging() const { return FDragging; }
    TBandDragState DragState() const { return FDragState; }

    TBandDragState DragStateAt(int x, int y) const;

    bool ContainsPoint(int x, int y) const override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void Paint(TPixelRows target, const TRect& exposed) const override;
    bool PaintsOpaque() const override;
    TRect PaintRect() const override;

protected:
    virtual void ResizeRequest(const TFloatBounds& atPress, TFloatBounds& proposed, TShiftState shift);

private:
    void DragTo(TShiftState shift, int x, int y);
    TCursor ShapeFor(TBandDragState state) const;
    void PaintFrame(const TPixelRows& target, const TRect& r, const TRect& exposed) const;
    void PaintGrip(const TPixelRows& target, int x, int y, const TRect& exposed) const;

    bool FDragging = false;
    TBandDragState FDragState = TBandDragState::bdNone;
    TFloatBounds FBoundsAtPress;
    float FGrabX = 0;
    float FGrabY = 0;
};

} // namespace tavrin
