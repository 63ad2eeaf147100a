#pragma once
// Image-map areas: layers over the picture that carry the attributes of one HTML area element.

#include "core/BitmapLayer.h"
#include "core/LayerKinds.h"

#include <string>
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

    // The coords attribute text; the base class produces nothing.
    virtual std::string CoordsText() const { return {}; }
};

class TMapRectLayer : public TImageMapLyer
{
public:
    explicit TMapRectLayer(TLayerCollection& owner);
};

class TMapCircleLayer : public TImageMapLyer
{
public:
    explicit TMapCircleLayer(TLayerCollection& owner);
};

class TMapPolygonLayer : public TImageMapLyer
{
public:
    explicit TMapPolygonLayer(TLayerCollection& owner);

    std::vector<std::string> FPoints; // x1, y1, x2, y2, ... as decimal texts
};

} // namespace tavrin
