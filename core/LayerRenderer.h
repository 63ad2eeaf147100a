#pragma once
// Paints an exposed rectangle of the view: white (or the given) background, the picture with
// nearest-neighbour sampling into its bitmap rectangle, then every visible layer bottom to top.
// The cost depends on the exposed area and on the layers that overlap it, never on the size of
// the picture or on the zoom.

#include "core/Bitmap32.h"
#include "core/Geometry.h"

namespace tavrin {

class TLayerCollection;

// `target` is sized to the exposed rectangle (its pixels are kept when the size is unchanged) and
// receives view pixel (exposed.Left + i, exposed.Top + j) at (i, j). The picture mapping is the
// collection's geometry.
void RenderView(const TBitmap32& picture, const TLayerCollection& layers, const TRect& exposed,
                TBitmap32& target, TColor32 background = clWhite32);

} // namespace tavrin
