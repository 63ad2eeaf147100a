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

using TSpan = TBitmapLayer::TSpan;

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

// Column vx shows canvas column (vx - dst.Left) x bw / dw, stepped without a division per column.
const std::vector<TBitmapLayer::TColumnRun>& TBitmapLayer::ColumnRuns(int canvasWidth, const TRect& dst,
                                                                      const TRect& clip, int exposedLeft) const
{
    const std::array<int, 7> key{1, canvasWidth, dst.Left, dst.Right, clip.Left, clip.Right, exposedLeft};
    if (key == FRunsKey)
        return FRuns;
    FRuns.clear();
    TColumnStepper column(clip.Left - dst.Left, canvasWidth, dst.Width());
    for (int vx = clip.Left; vx < clip.Right; ++vx, column.Next()) {
        if (!FRuns.empty() && FRuns.back().Source == column.Source)
            ++FRuns.back().Length;
        else
            FRuns.push_back({column.Source, vx - exposedLeft, 1});
    }
    FRunsKey = key;
    return FRuns;
}

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

// Canvas row `sy` over the columns of `runs` (one run per canvas column) as spans of one colour.
void TBitmapLayer::RowSpans(int sy, const std::vector<TColumnRun>& runs, bool blend, std::uint8_t master,
                            std::vector<TSpan>& spans) const
{
    const int first = runs.front().Source, last = runs.back().Source + 1; // canvas columns [first, last)
    // Columns [lo, hi) read stored pixels from `stored` (canvas column lo); the rest read the fill.
    int lo = last, hi = last;
    const TColor32* stored = nullptr;
    const int by = sy - (FWindowed ? FOrigin.Y : 0);
    if (by >= 0 && by < FBitmap.Height()) {
        const int ox = FWindowed ? FOrigin.X : 0;
        lo = std::clamp(ox, first, last);
        hi = std::clamp(ox + FBitmap.Width(), lo, last);
        stored = FBitmap.ScanLine(by) + (lo - ox);
        if (lo == hi)
            lo = hi = last;
    }
    const auto startOf = [&](int x) {
        return x < last ? runs[static_cast<std::size_t>(x - first)].Start : runs.back().Start + runs.back().Length;
    };
    for (int x = first; x < last;) {
        const TColor32 c = x >= lo && x < hi ? stored[x - lo] : FFill;
        int end = x;
        while (end < last) {
            if (end < lo || end >= hi) { // the fill, up to the stored pixels or to the end
                if (FFill != c)
                    break;
                end = end < lo ? lo : last;
            } else {
                const TColor32* p = stored + (end - lo);
                while (end < hi && *p == c) {
                    ++end;
                    ++p;
                }
                if (end < hi)
                    break;
            }
        }
        const int start = startOf(x);
        spans.push_back({start, startOf(end) - start, c, blend ? BlendWeight(c, master) : 255u});
        x = end;
    }
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
    const std::int64_t dh = dst.Height();
    const std::vector<TColumnRun>& runs = ColumnRuns(bw, dst, clip, exposed.Left);

    // Zoomed in or at 1 every canvas column of the clip has exactly one run, in order, so a row's
    // spans follow from stretches of equal canvas pixels, found by a tight scan of the row.
    const bool runPerColumn = dst.Width() >= bw;
    thread_local std::vector<TSpan> spans;
    int spansRow = -1;
    for (int vy = clip.Top; vy < clip.Bottom; ++vy) {
        const auto sy = static_cast<int>((vy - dst.Top) * std::int64_t{bh} / dh);
        if (sy != spansRow) {
            spans.clear();
            spansRow = sy;
            if (runPerColumn)
                RowSpans(sy, runs, blend, master, spans);
            else
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
