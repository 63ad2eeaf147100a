#pragma once
// Where the picture shows in the view: drawn at the view's top-left corner into
// (0, 0, RoundEven(width x Scale), RoundEven(height x Scale)). Image-space layers map through the
// factor bitmap-rectangle size / bitmap size, held in 16.16 fixed point like the picture's mapping.

#include "core/Geometry.h"

namespace tavrin {

struct TViewGeometry
{
    float Scale = 1.0f;
    int BitmapWidth = 0;
    int BitmapHeight = 0;
    TRect BitmapRect;      // view pixels covered by the picture
    double FactorX = 1.0;  // view pixels per image pixel, 16.16-exact
    double FactorY = 1.0;

    static TViewGeometry Make(int bitmapWidth, int bitmapHeight, float scale);

    double ImageToViewX(double x) const { return x * FactorX + BitmapRect.Left; }
    double ImageToViewY(double y) const { return y * FactorY + BitmapRect.Top; }
};

} // namespace tavrin
