#include "core/ViewGeometry.h"

#include "core/RoundEven.h"

#include <algorithm>

namespace tavrin {

namespace {

double Fixed16(long double f) { return RoundEven(f * 65536.0L) / 65536.0; }

} // namespace

TViewGeometry TViewGeometry::Make(int bitmapWidth, int bitmapHeight, float scale)
{
    TViewGeometry g;
    g.Scale = scale;
    g.BitmapWidth = std::max(bitmapWidth, 0);
    g.BitmapHeight = std::max(bitmapHeight, 0);
    if (g.BitmapWidth > 0 && g.BitmapHeight > 0) {
        g.BitmapRect = {0, 0, RoundEven(static_cast<long double>(g.BitmapWidth) * scale),
                        RoundEven(static_cast<long double>(g.BitmapHeight) * scale)};
        g.FactorX = Fixed16(static_cast<long double>(g.BitmapRect.Right) / g.BitmapWidth);
        g.FactorY = Fixed16(static_cast<long double>(g.BitmapRect.Bottom) / g.BitmapHeight);
    } else {
        g.FactorX = g.FactorY = Fixed16(scale);
    }
    return g;
}

} // namespace tavrin
