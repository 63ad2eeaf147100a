#include "core/ImgMap.h"

namespace tavrin {

TImageMapLyer::TImageMapLyer(TLayerCollection& owner) : TBitmapLayer(owner)
{
    OpaqueHitOnly = true;
    AcceptsMouse = true;
}

TMapRectLayer::TMapRectLayer(TLayerCollection& owner) : TImageMapLyer(owner)
{
    Tag = lkMapShape;
    FShape = TMapShape::msRect;
    FShapeName = "rect";
}

TMapCircleLayer::TMapCircleLayer(TLayerCollection& owner) : TImageMapLyer(owner)
{
    Tag = lkMapShape;
    FShape = TMapShape::msCircle;
    FShapeName = "circle";
}

TMapPolygonLayer::TMapPolygonLayer(TLayerCollection& owner) : TImageMapLyer(owner)
{
    Tag = lkMapPolygon;
    FShape = TMapShape::msPolygon;
    FShapeName = "polygon";
}

} // namespace tavrin
