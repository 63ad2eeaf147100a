#include "core/BitmapLayer.h"

#include "core/PixelBlend.h"
#include "core/PixelStepper.h"
#include "core/PixelRows.h"
#include "core/RoundEven.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace tavrin {

namespace {

// Columns [Start, Start + Length) of the target that show canvas column Source.
struct TColumnRun
{
    int Source;
    int Start;
    int Length;
};

// Columns of one target row that take the same colour.
struct TSpan
{
    int Start;
    int Length;
    TColor32 Color;
    std::uint32_t Weight; // blend weight of Color
};

void MakeOpaque(TColor32* p, int n)
{
    for (int i = 0; i < n; ++i)
        p[i] |= 0xFF000000u;
}

// A fully transparent layer pixel leaves the colour below and makes it opaque: only where the
// target may hold translucent pixels is there anything to do.
void PaintTransparentSpan(const TPixelRows& target, const TRect& exposed, int row, const TSpan& s)
{
    TColor32* out = target.ScanLine(row);
    if (!target.MaybeTranslucent) {
        MakeOpaque(out + s.Start, s.Length);
        return;
    }
    const int vy = row + exposed.Top;
    for (const TRect& r : *target.MaybeTranslucent) {
        if (vy < r.Top || vy >= r.Bottom)
            continue;
        const int from = std::max(s.Start, r.Left - exposed.Left);
        const int to = std::min(s.Start + s.Length, r.Right - exposed.Left);
        if (from < to)
            MakeOpaque(out + from, to - from);
    }
}

void PaintSpans(const TPixelRows& target, const TRect& exposed, int row, const std::vector<TSpan>& spans,
                bool blend)
{
    TColor32* out = target.ScanLine(row);
    for (const TSpan& s : spans) {
        TColor32* p = out + s.Start;
        if (!blend)
            std::fill_n(p, s.Length, s.Color);
        else if (s.Weight == 0)
            PaintTransparentSpan(target, exposed, row, s);
        else if (s.Weight == 255)
            std::fill_n(p, s.Length, s.Color | 0xFF000000u);
        else if (s.Length >= 4)
            BlendSpan(p, s.Length, s.Color, s.Weight);
        else
            BlendSpanPlain(p, s.Length, s.Color, s.Weight);
    }
}

} // namespace

void TBitmapLayer::SetCanvasWindow(int width, int height, TPoint origin, TColor32 fill)
{
    FWindowed = true;
    FCanvasWidth = std::max(width, 0);
    FCanvasHeight = std::max(height, 0);
    FOrigin = origin;
    FFill = fill;
}

const TColor32* TBitmapLayer::StoredPixel(int x, int y) const
{
    const std::int64_t bx = std::int64_t{x} - FOrigin.X, by = std::int64_t{y} - FOrigin.Y;
    if (bx < 0 || by < 0 || bx >= FBitmap.Width() || by >= FBitmap.Height())
        return nullptr;
    return FBitmap.ScanLine(static_cast<int>(by)) + bx;
}

TColor32 TBitmapLayer::CanvasPixel(int x, int y) const
{
    if (!FWindowed)
        return FBitmap.Pixel(x, y);
    if (x < 0 || y < 0 || x >= FCanvasWidth || y >= FCanvasHeight)
        return clTransparent32;
    const TColor32* p = StoredPixel(x, y);
    return p ? *p : FFill;
}

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
    const int bx = RoundEven((x - static_cast<long double>(v.Left)) * CanvasWidth() / w);
    const int by = RoundEven((y - static_cast<long double>(v.Top)) * CanvasHeight() / h);
    return AlphaOf(CanvasPixel(bx, by)) != 0;
}

// Works by runs: per target row each canvas pixel covers a run of columns, neighbouring runs of
// one colour merge into a span, a span the blend leaves unchanged is skipped, and the rest is
// filled or blended once per span. Consecutive target rows from the same canvas row reuse the spans.
void TBitmapLayer::Paint(TPixelRows target, const TRect& exposed) const
{
    const int bw = CanvasWidth(), bh = CanvasHeight();
    if (bw <= 0 || bh <= 0)
        return;
    const TRect dst = RoundedViewBounds();
    const TRect clip = Intersect(dst, exposed);
    if (clip.IsEmpty())
        return;
    const bool blend = FBitmap.DrawMode == TDrawMode::dmBlend;
    if (blend && FBitmap.MasterAlpha == 0)
        return;
    const std::uint8_t master = FBitmap.MasterAlpha;
    const std::int64_t dw = dst.Width(), dh = dst.Height();

    // Column vx shows canvas column (vx - dst.Left) x bw / dw, stepped without a division per column.
    thread_local std::vector<TColumnRun> runs;
    runs.clear();
    TColumnStepper column(clip.Left - dst.Left, bw, dw);
    for (int vx = clip.Left; vx < clip.Right; ++vx, column.Next()) {
        if (!runs.empty() && runs.back().Source == column.Source)
            ++runs.back().Length;
        else
            runs.push_back({column.Source, vx - exposed.Left, 1});
    }

    thread_local std::vector<TSpan> spans;
    int spansRow = -1;
    for (int vy = clip.Top; vy < clip.Bottom; ++vy) {
        const auto sy = static_cast<int>((vy - dst.Top) * std::int64_t{bh} / dh);
        if (sy != spansRow) {
            spans.clear();
            spansRow = sy;
            for (const TColumnRun& r : runs) {
                const TColor32* p = FWindowed ? StoredPixel(r.Source, sy) : FBitmap.ScanLine(sy) + r.Source;
                const TColor32 c = p ? *p : FFill;
                if (!spans.empty() && spans.back().Color == c)
                    spans.back().Length += r.Length;
                else
                    spans.push_back({r.Start, r.Length, c, blend ? BlendWeight(c, master) : 255u});
            }
        }
        PaintSpans(target, exposed, vy - exposed.Top, spans, blend);
    }
}

} // namespace tavrin
