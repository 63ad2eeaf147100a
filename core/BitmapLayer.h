#pragma once
// A positioned layer that shows a TBitmap32 stretched (nearest neighbour) into its rounded view bounds.

#include "core/Bitmap32.h"
#include "core/Layer.h"

namespace tavrin {

class TBitmapLayer : public TPositionedLayer
{
public:
    using TPositionedLayer::TPositionedLayer;

    // Owned by the layer; created empty. Call Changed() after drawing on it.
    TBitmap32& Bitmap() { return FBitmap; }
    const TBitmap32& Bitmap() const { return FBitmap; }

    // When set, the layer takes the pointer only over pixels whose alpha is not 0.
    bool OpaqueHitOnly = false;

    bool ContainsPoint(int x, int y) const override;
    void Paint(TBitmap32& target, const TRect& exposed) const override;

private:
    TBitmap32 FBitmap;
};

} // namespace tavrin
