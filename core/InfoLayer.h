#pragma once
// A guide line: a 2-pixel strip in view space that remembers the image position it stands for.

#include "core/BitmapLayer.h"

namespace tavrin {

class TInfoLayer : public TBitmapLayer
{
public:
    using TBitmapLayer::TBitmapLayer;

    int GuideX = 0; // image x of a vertical guide
    int GuideY = 0; // image y of a horizontal guide
};

} // namespace tavrin
