#include "core/BitmapLayer.h"

#include "core/PixelBlend.h"
#include "core/RoundEven.h"

#include <cstdint>
#include <vector>

namespace tavrin {

bool TBitmapLayer::ContainsPoint(int x, int y) const
{
    if (!TPositionedLayer::ContainsPoint(x, y))
        return false;
    if (!OpaqueHitOnly)
        return true;
    const TFloatBounds v = ViewBounds();
    const int w = RoundEven(static_cast<long double>(v.Right) - v.Left);
    const int h = RoundEven(static_cast<long double>(v.Bottom) - v.Top);
    if (w < 1 || h < 1)
        return false;
    const int bx = RoundEven((x - static_cast<long double>(v.Left)) * FBitmap.Width() / w);
    const int by = RoundEven((y - static_cast<long double>(v.Top)) * FBitmap.Height() / h);
    return AlphaOf(FBitmap.Pixel(bx, by)) != 0;
}

void TBitmapLayer::Paint(TBitmap32& target, const TRect& exposed) const
{
    if (FBitmap.Empty())
        return;
    const TRect dst = RoundedViewBounds();
    const TRect clip = Intersect(dst, exposed);
    if (clip.IsEmpty())
        return;
    const bool blend = FBitmap.DrawMode == TDrawMode::dmBlend;
    if (blend && FBitmap.MasterAlpha == 0)
        return;
    const std::int64_t dw = dst.Width(), dh = dst.Height();
    const std::int64_t bw = FBitmap.Width(), bh = FBitmap.Height();
    // Source column of every painted column, once per paint rather than once per pixel.
    thread_local std::vector<int> columns;
    columns.resize(static_cast<std::size_t>(clip.Width()));
    for (int vx = clip.Left; vx < clip.Right; ++vx)
        columns[static_cast<std::size_t>(vx - clip.Left)] = static_cast<int>((vx - dst.Left) * bw / dw);
    const std::uint8_t master = FBitmap.MasterAlpha;
    for (int vy = clip.Top; vy < clip.Bottom; ++vy) {
        const TColor32* src = FBitmap.ScanLine(static_cast<int>((vy - dst.Top) * bh / dh));
        TColor32* out = target.ScanLine(vy - exposed.Top) + (clip.Left - exposed.Left);
        if (!blend) {
            for (std::size_t i = 0; i < columns.size(); ++i)
                out[i] = src[columns[i]];
            continue;
        }
        for (std::size_t i = 0; i < columns.size(); ++i)
            out[i] = BlendPixel(src[columns[i]], out[i], master);
    }
}

} // namespace tavrin
